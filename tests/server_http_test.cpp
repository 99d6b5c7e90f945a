// The score server over HTTP: the game's own requests and its parsers of the replies, submissions
// that must be refused (and stored nowhere), the rate limit, many clients at once, and the web
// pages, driven by httplib's client and by curl.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <thread>

#include "scores/ranking.h"
#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

constexpr const char* kSummary =
    "Score: 4,200\r\nDungeon: 7\r\nDifficulty Mode: Normal\r\nDate: Sunday, December 06 2026\r\n\r\n"
    "- strong words used -\r\n\r\nLANTERNS\r\n";

class HttpTest : public ::testing::TestWithParam<Backend> {
 protected:
  HttpTest() : db_(GetParam()) {}
  void SetUp() override {
    REQUIRE_DATABASE(db_);
    store_ = db_.Open();
    ASSERT_NE(store_, nullptr);
  }
  void Serve(ServiceOptions options = RunningServer::Quiet()) {
    server_ = std::make_unique<RunningServer>(*store_, std::move(options));
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->Port());
  }
  httplib::Result Post(const std::string& path, const std::string& form, httplib::Headers headers = {}) {
    return client_->Post(path.c_str(), headers, form, "application/x-www-form-urlencoded");
  }
  std::size_t Stored() {
    std::vector<StoredEntry> all;
    EXPECT_TRUE(store_->All(all));
    return all.size();
  }

  TestDatabase db_;
  std::unique_ptr<ScoreStore> store_;
  std::unique_ptr<RunningServer> server_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_P(HttpTest, TheGamesOwnRequestsSubmitListAndFetchASummary) {
  Serve();
  // The game's HTTP/1.0 framing: the answer comes whole and the server closes the connection.
  std::string answer =
      Exchange(server_->Port(),
               GameRequest("splcryp/submit.php", SubmissionForm(Game(1, "Ann", 4200, 7, 1), kSummary)));
  EXPECT_EQ(answer.rfind("HTTP/1.", 0), 0u) << answer;
  EXPECT_EQ(SubmitReplyMessage(BodyOf(answer)), "Your score of 4,200 is #1 of the Normal rankings.");
  answer = Exchange(server_->Port(),
                    GameRequest("splcryp/submit.php", SubmissionForm(Game(1, "Bo", 1234567), "")));
  EXPECT_EQ(SubmitReplyMessage(BodyOf(answer)), "Your score of 1,234,567 is #1 of the Normal rankings.");
  answer =
      Exchange(server_->Port(), GameRequest("splcryp/submit.php", SubmissionForm(Game(1, "Cy", 4200), "")));
  EXPECT_EQ(SubmitReplyMessage(BodyOf(answer)), "Your score of 4,200 is #3 of the Normal rankings.");
  Exchange(server_->Port(), GameRequest("splcryp/submit.php", SubmissionForm(Game(2, "Wiz", 9, 1, 0), "")));

  // The lists, read by the game's parser.
  answer = Exchange(server_->Port(), GameRequest("splcryp/getscores.php", "version=2%2E05"));
  CRanking lists[3];
  std::string message;
  EXPECT_TRUE(ParseScoreLists(BodyOf(answer), lists, message));
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(lists[0].Count(), 0);
  ASSERT_EQ(lists[1].Count(), 3);
  EXPECT_EQ(lists[1].EntryAt(0)->name, "Bo");
  EXPECT_EQ(lists[1].EntryAt(1)->name, "Ann");
  EXPECT_EQ(lists[1].EntryAt(1)->score, 4200);
  EXPECT_EQ(lists[1].EntryAt(1)->dungeon, 7);
  EXPECT_EQ(lists[1].EntryAt(1)->bosses, 1);
  EXPECT_EQ(lists[1].EntryAt(2)->name, "Cy");
  ASSERT_EQ(lists[2].Count(), 1);

  // One entry's summary, exactly as stored.
  answer =
      Exchange(server_->Port(), GameRequest("splcryp/getscores.php", "version=2%2E05&name=Ann&score=4200"));
  EXPECT_EQ(BodyOf(answer), kSummary);
  const auto missing = Post("/splcryp/getscores.php", "version=2.05&name=Ann&score=1");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
}

TEST_P(HttpTest, SubmissionsThatDoNotReadAreRefusedAndStoreNothing) {
  Serve();
  const std::string good = SubmissionForm(Game(1, "Ann", 4200), kSummary);
  const auto replace = [](std::string form, const std::string& field, const std::string& value) {
    const std::size_t at = form.find(field + "=");
    const std::size_t end = form.find('&', at);
    return form.replace(at, (end == std::string::npos ? form.size() : end) - at, field + "=" + value);
  };
  // The encoded line with one byte changed keeps its check value, which no longer matches.
  std::string tampered = good;
  const std::size_t data = tampered.find("data=") + 5;
  tampered[data] = tampered[data] == 'A' ? 'B' : 'A';
  // Each refusal says which part was wrong, in a line the game shows.
  const std::string record = "the game's record does not match its check value.";
  const std::string version = "This version of Spellcrypt cannot send scores to this server.";
  const std::string notText = "the game summary holds bytes that are not text.";
  const std::string badName = "the name must be at most 19 plain characters.";
  struct Bad {
    std::string why, form, says;
  };
  const std::vector<Bad> bad = {
      {"wrong data check", replace(good, "datacrc", "12345"), record},
      {"wrong extra check", replace(good, "extracrc", "1"),
       "the game summary does not match its check value."},
      {"check not a number", replace(good, "datacrc", "12x"), record},
      {"check past 32 bits", replace(good, "datacrc", "99999999999"), record},
      {"tampered data", tampered, record},
      {"another key", SubmissionForm(Game(1, "Ann", 4200), kSummary, kSubmissionKey + 1), record},
      {"unknown version", SubmissionForm(Game(1, "Ann", 4200), kSummary, kSubmissionKey, "9.99"), version},
      {"no version", good.substr(good.find('&') + 1), version},
      {"no data", std::string(good).replace(good.find("&data="), 6, "&nodata="),
       "the game's record is missing."},
      {"no extra", good.substr(0, good.find("&extra=")), "the game summary is missing."},
      {"mode 3", SubmissionForm(Game(3, "Ann", 4200), kSummary), "the difficulty is not one of the three."},
      {"negative score", SubmissionForm(Game(1, "Ann", -1), kSummary),
       "the score must be a number of 0 or more."},
      {"dungeon 26", SubmissionForm(Game(1, "Ann", 1, 26), kSummary), "the dungeon must be 1 to 25."},
      {"bosses 26", SubmissionForm(Game(1, "Ann", 1, 25, 26), kSummary),
       "the bosses beaten must be 0 to 25."},
      {"name of 20", SubmissionForm(Game(1, std::string(20, 'n'), 1), kSummary), badName},
      {"bar in name", SubmissionForm(Game(1, "A|1|1|1|1", 1), kSummary),
       "the game's record is not in the game's form."},
      {"control in name", SubmissionForm(Game(1, "A\x1b[2J", 1), kSummary), badName},
      {"NUL in summary", SubmissionForm(Game(1, "Ann", 1), std::string("a\0b", 3)), notText},
      {"bad UTF-8 summary", SubmissionForm(Game(1, "Ann", 1), "caf\xE9"), notText},
      {"summary past 64 KiB", SubmissionForm(Game(1, "Ann", 1), std::string(64 * 1024, 'x')),
       "the game summary is longer than 64 KiB."},
      {"a field twice", good + "&data=" + good.substr(good.find("data=") + 5, 10),
       "the field \"data\" was sent twice."},
      {"version twice", "version=2.05&" + good, "the field \"version\" was sent twice."},
      {"not a form", "\x01\x02garbage==&&=%%%zz", version},
      {"empty", "", version},
  };
  for (const auto& [why, form, says] : bad) {
    const auto reply = Post("/splcryp/submit.php", form);
    ASSERT_TRUE(reply) << why;
    EXPECT_EQ(reply->status, 400) << why;
    EXPECT_EQ(reply->body.rfind("msg|", 0), 0u) << why << ": " << reply->body;
    const std::string message = SubmitReplyMessage(reply->body);
    EXPECT_TRUE(message == says || message == "Score refused: " + says) << why << ": " << message;
  }
  // Larger than any submission: refused before it is read, with a line the game shows.
  const auto huge = Post("/splcryp/submit.php", good + "&pad=" + std::string(300 * 1024, 'x'));
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->status, 413);
  EXPECT_EQ(SubmitReplyMessage(huge->body), "That request is too large for the score server.");
  EXPECT_EQ(Stored(), 0u);

  // The untouched form is taken, also with a summary of exactly 64 KiB - 1 bytes.
  const auto taken = Post("/splcryp/submit.php", good);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->status, 200);
  const auto longest =
      Post("/splcryp/submit.php", SubmissionForm(Game(1, "Ann", 1), std::string(64 * 1024 - 1, 'x')));
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->status, 200) << longest->body;
  EXPECT_EQ(Stored(), 2u);
}

TEST_P(HttpTest, EachAddressMaySubmitOnlySoOftenAMinute) {
  ServiceOptions options = RunningServer::Quiet();
  options.submissionsPerMinute = 3;
  options.trustForwardedFor = true;
  Serve(options);
  for (int i = 0; i < 3; ++i) {
    const auto reply = Post("/splcryp/submit.php", SubmissionForm(Game(0, "Ann", i), ""));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
  }
  const auto refused = Post("/splcryp/submit.php", SubmissionForm(Game(0, "Ann", 9), ""));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 429);
  EXPECT_EQ(SubmitReplyMessage(refused->body).find("Too many scores"), 0u);
  // Behind a proxy on the same machine, the player's own address counts.
  const auto proxied = Post("/splcryp/submit.php", SubmissionForm(Game(0, "Bo", 9), ""),
                            {{"X-Forwarded-For", "1.2.3.4, 203.0.113.9"}});
  ASSERT_TRUE(proxied);
  EXPECT_EQ(proxied->status, 200);
  // Downloads are not limited.
  const auto lists = Post("/splcryp/getscores.php", "version=2.05");
  ASSERT_TRUE(lists);
  EXPECT_EQ(lists->status, 200);
  EXPECT_EQ(Stored(), 4u);
}

TEST_P(HttpTest, ManyClientsAtOnceAreEachStoredOnce) {
  Serve();
  constexpr int kThreads = 8, kEach = 50;
  std::vector<std::thread> threads;
  std::atomic<int> answered{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      httplib::Client client("127.0.0.1", server_->Port());
      for (int i = 0; i < kEach; ++i) {
        const auto reply = client.Post(
            "/splcryp/submit.php",
            SubmissionForm(Game(t % 3, "P" + std::to_string(t) + "x" + std::to_string(i), t * 1000 + i),
                           "game " + std::to_string(i)),
            "application/x-www-form-urlencoded");
        if (reply && reply->status == 200) ++answered;
        // Lists read while the others write.
        if (i % 10 == 0)
          client.Post("/splcryp/getscores.php", "version=2.05", "application/x-www-form-urlencoded");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(answered, kThreads * kEach);
  std::vector<StoredEntry> all;
  ASSERT_TRUE(store_->All(all));
  std::set<std::string> names;
  for (const StoredEntry& e : all) names.insert(e.name);
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kThreads * kEach));
  // The lists seen after the last submission include it.
  const auto lists = Post("/splcryp/getscores.php", "version=2.05");
  ASSERT_TRUE(lists);
  EXPECT_NE(lists->body.find("add|P7x49|7049|"), std::string::npos);
}

TEST_P(HttpTest, PagesShowPlayersTextsAsText) {
  Serve();
  const std::string script = "<script>x</script>";
  ASSERT_EQ(Post("/splcryp/submit.php",
                 SubmissionForm(Game(2, script, 1234567), "<img src=x onerror=alert(1)>\r\n"))
                ->status,
            200);
  ASSERT_EQ(Post("/splcryp/submit.php", SubmissionForm(Game(2, "O'Brien & \"Co\"", 5), ""))->status, 200);
  const auto page = client_->Get("/?mode=2");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'none'"), std::string::npos);
  EXPECT_NE(page->body.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(page->body.find("<script"), std::string::npos);
  EXPECT_NE(page->body.find("O&#39;Brien &amp; &quot;Co&quot;"), std::string::npos);
  EXPECT_NE(page->body.find("1,234,567"), std::string::npos);
  for (const char* tab : {"href=\"/?mode=0\">Kidmode", "href=\"/?mode=1\">Normal", "class=\"current\""}) {
    EXPECT_NE(page->body.find(tab), std::string::npos) << tab;
  }
  // The entry's own page, reached by its link.
  const std::size_t link = page->body.find("/entry?id=");
  ASSERT_NE(link, std::string::npos);
  const std::string href = page->body.substr(link, page->body.find('"', link) - link);
  const auto entry = client_->Get(href.c_str());
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->status, 200);
  EXPECT_NE(entry->body.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
  EXPECT_EQ(entry->body.find("<img"), std::string::npos);
  EXPECT_NE(entry->body.find("Wizard"), std::string::npos);

  // Normal without a mode; the empty lists say so; unknown pages and entries are 404.
  const auto normal = client_->Get("/");
  ASSERT_TRUE(normal);
  EXPECT_NE(normal->body.find("No hero has inscribed"), std::string::npos);
  for (const char* path : {"/?mode=3", "/?mode=", "/entry?id=999999", "/entry?id=x", "/entry", "/nothing"}) {
    const auto reply = client_->Get(path);
    ASSERT_TRUE(reply) << path;
    EXPECT_EQ(reply->status, 404) << path;
  }
}

TEST_P(HttpTest, CurlSubmitsAndReadsThePage) {
  if (std::system("command -v curl >/dev/null 2>&1") != 0) SKIP_UNLESS_CI("curl is not installed");
  Serve();
  spellcrypt::testing::TempDir dir;
  const std::string form = dir.Write("form", SubmissionForm(Game(0, "Curly Sue", 77, 3, 0), kSummary));
  const std::string base = "http://127.0.0.1:" + std::to_string(server_->Port());
  const auto run = [](const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while (pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (pipe != nullptr) pclose(pipe);
    return output;
  };
  EXPECT_EQ(run("curl -s --http1.0 --data-binary @" + form + " " + base + "/splcryp/submit.php"),
            "msg|Your score of 77 is #1 of the Kidmode rankings.\n");
  const std::string page = run("curl -s '" + base + "/?mode=0'");
  EXPECT_NE(page.find(">Curly Sue</a>"), std::string::npos);
}

TEST_P(HttpTest, EncodedNulBytesArriveWhole) {
  Serve();
  // A summary whose encoded bytes hold a NUL: the form carries it as %00 and the server must decode
  // it as a byte of its own, or the check value would not match. The byte at position p encodes to
  // NUL when it equals -(p + key + 2) mod 256; put a letter where that happens.
  std::string summary;
  for (std::uint32_t p = 0; p < 600 && summary.empty(); ++p) {
    const auto wanted = static_cast<char>(static_cast<std::uint8_t>(0u - (p + kSubmissionKey + 2u)));
    if (wanted >= 'a' && wanted <= 'z') summary = std::string(p, '-') + wanted + " and the rest\n";
  }
  ASSERT_FALSE(summary.empty());
  std::string encoded = summary;
  EncodeForServer(reinterpret_cast<std::uint8_t*>(encoded.data()), encoded.size(), kSubmissionKey);
  ASSERT_NE(encoded.find('\0'), std::string::npos);
  const std::string name = "'; DROP TABLE x;--";
  const std::string form = SubmissionForm(Game(1, name, 1234), summary);
  ASSERT_NE(form.find("%00"), std::string::npos);
  const std::string answer = BodyOf(Exchange(server_->Port(), GameRequest("splcryp/submit.php", form)));
  EXPECT_EQ(answer.rfind("msg|Your score of", 0), 0u) << answer;
  std::string stored;
  EXPECT_EQ(store_->SummaryOf(name, 1234, stored), Lookup::Found);
  EXPECT_EQ(stored, summary);
}

INSTANTIATE_TEST_SUITE_P(Stores, HttpTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

}  // namespace
}  // namespace spellcrypt::server::testing
