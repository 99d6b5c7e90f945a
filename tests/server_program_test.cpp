// The server program itself: its request log, and a SIGTERM in the middle of a stream of
// submissions that loses none of those it answered; a restart serves them all.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <set>
#include <thread>

#include "scores/ranking.h"
#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

class ProgramTest : public ::testing::TestWithParam<Backend> {
 protected:
  ProgramTest() : db_(GetParam()) {}
  void SetUp() override { REQUIRE_DATABASE(db_); }
  TestDatabase db_;
  spellcrypt::testing::TempDir dir_;
};

TEST_P(ProgramTest, StopsOnSigtermWithoutLosingAnAnsweredSubmission) {
  const std::string log = dir_.File("server.log");
  std::set<std::string> answered;
  {
    Program program(db_.ProgramOptions(), log);
    std::mutex lock;
    std::atomic<bool> stopping{false};
    std::atomic<int> count{0};
    std::vector<std::thread> players;
    for (int t = 0; t < 4; ++t) {
      players.emplace_back([&, t] {
        // Like the game: a new connection for every request, until the server is gone.
        for (int i = 0; i < 2000; ++i) {
          const std::string name = "S" + std::to_string(t) + "-" + std::to_string(i);
          const std::string reply = BodyOf(Exchange(
              program.Port(),
              GameRequest("splcryp/submit.php", SubmissionForm(Game(1, name, i), "summary " + name))));
          if (reply.rfind("msg|Your score", 0) == 0) {
            std::lock_guard<std::mutex> hold(lock);
            answered.insert(name);
            ++count;
          } else if (stopping) {
            return;
          }
        }
      });
    }
    while (count < 100) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stopping = true;
    const int status = program.Stop(SIGTERM);
    for (std::thread& player : players) player.join();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  ASSERT_GE(answered.size(), 100u);

  std::unique_ptr<ScoreStore> store = db_.Open();
  ASSERT_NE(store, nullptr);
  std::vector<StoredEntry> all;
  ASSERT_TRUE(store->All(all));
  std::multiset<std::string> stored;
  for (const StoredEntry& e : all) stored.insert(e.name);
  for (const std::string& name : answered) EXPECT_EQ(stored.count(name), 1u) << name;
  // A submission may be stored while its answer was cut off, but never twice.
  EXPECT_EQ(std::set<std::string>(stored.begin(), stored.end()).size(), stored.size());
  store.reset();

  // The log has a line per request: time, address, method, path, status, bytes, duration; and one
  // line at start-up with the settings in effect.
  const std::string text = spellcrypt::testing::ReadText(log);
  // "2026-12-09T03:05:39.007Z 127.0.0.1 POST /splcryp/submit.php 200 55 3.1ms": digits where the
  // pattern has 9.
  const auto shaped = [](std::string_view line, std::string_view pattern) {
    if (line.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (pattern[i] == '9' ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != pattern[i])
        return false;
    }
    return true;
  };
  bool found = false;
  for (std::size_t at = 0, end; at < text.size() && !found; at = end + 1) {
    end = std::min(text.find('\n', at), text.size());
    const std::string_view line = std::string_view(text).substr(at, end - at);
    const std::size_t tail = line.find(" 200 ");
    if (tail == std::string_view::npos || line.size() < tail + 8) continue;
    // Bytes and time vary in width: check their shape apart.
    const std::string_view head = line.substr(0, tail + 5);
    const std::string_view rest = line.substr(tail + 5);
    const std::size_t space = rest.find(' ');
    found = shaped(head, "9999-99-99T99:99:99.999Z 127.0.0.1 POST /splcryp/submit.php 200 ") &&
            space != std::string_view::npos && space > 0 && rest.size() > space + 4 &&
            rest.substr(rest.size() - 2) == "ms" && rest[rest.size() - 4] == '.' &&
            std::all_of(rest.begin(), rest.begin() + static_cast<long>(space), ::isdigit);
  }
  EXPECT_TRUE(found) << text.substr(0, 2000);
  EXPECT_NE(text.find("Z spellcrypt-server: serving on http://127.0.0.1:"), std::string::npos);
  EXPECT_NE(
      text.find(
          "rate 0 a minute per address, 32 requests at once, 10 s per request, 32 connections per address"),
      std::string::npos);
  EXPECT_NE(text.find("finishing the requests under way"), std::string::npos);

  // Started again on the same data, it lists what it had.
  Program again(db_.ProgramOptions(), log);
  httplib::Client client("127.0.0.1", again.Port());
  const auto lists =
      client.Post("/splcryp/getscores.php", "version=2.05", "application/x-www-form-urlencoded");
  ASSERT_TRUE(lists);
  CRanking rankings[3];
  std::string message;
  ParseScoreLists(lists->body, rankings, message);
  EXPECT_EQ(rankings[1].Count(), static_cast<int>(std::min<std::size_t>(kGameListLength, stored.size())));
  EXPECT_TRUE(WIFEXITED(again.Stop(SIGINT)));
}

TEST_P(ProgramTest, OperatorCommandsWorkBesideTheRunningServer) {
  Program program(db_.ProgramOptions(), dir_.File("server.log"));
  const auto submit = [&](const std::string& name, std::int32_t score) {
    return BodyOf(Exchange(program.Port(), GameRequest("splcryp/submit.php",
                                                       SubmissionForm(Game(1, name, score), "Score\r\n"))));
  };
  ASSERT_EQ(submit("Cheat", 2147483647).rfind("msg|Your score", 0), 0u);
  ASSERT_EQ(submit("Ann", 500).rfind("msg|Your score", 0), 0u);
  const auto lists = [&] {
    return BodyOf(Exchange(program.Port(), GameRequest("splcryp/getscores.php", "version=2.05")));
  };
  const auto page = [&] { return BodyOf(Exchange(program.Port(), "GET /?mode=1 HTTP/1.0\r\n\r\n")); };
  ASSERT_NE(lists().find("add|Cheat|"), std::string::npos);
  ASSERT_NE(page().find("Cheat"), std::string::npos);

  const auto command = [&](std::vector<std::string> words, std::string& out) {
    std::vector<std::string> args = db_.ProgramOptions();
    args.insert(args.end(), words.begin(), words.end());
    std::string err;
    const int status = RunToEnd(args, out, err);
    EXPECT_TRUE(status == 0 || !err.empty()) << "a failure says why";
    return status;
  };
  std::string out;
  ASSERT_EQ(command({"admin", "list"}, out), 0);
  const std::size_t at = out.find("\tCheat\t");
  ASSERT_NE(at, std::string::npos) << out;
  const std::string id =
      out.substr(out.rfind('\n', at) + 1, out.find('\t', out.rfind('\n', at) + 1) - out.rfind('\n', at) - 1);

  // Hidden: gone from the lists and the page, at once on SQLite (the server sees the file change)
  // and within a second on PostgreSQL (where each process keeps its lists that long).
  ASSERT_EQ(command({"admin", "hide", id}, out), 0);
  const auto hidden = std::chrono::steady_clock::now();
  while (lists().find("add|Cheat|") != std::string::npos &&
         std::chrono::steady_clock::now() - hidden < std::chrono::seconds(3)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - hidden).count();
  EXPECT_LT(seconds, GetParam() == Backend::Sqlite ? 0.1 : 1.5);
  EXPECT_EQ(page().find("Cheat"), std::string::npos);
  EXPECT_EQ(submit("Bo", 400), "msg|Your score of 400 is #2 of the Normal rankings.\n");

  ASSERT_EQ(command({"admin", "unhide", id}, out), 0);
  ASSERT_EQ(command({"admin", "delete", id}, out), 0);
  EXPECT_EQ(command({"admin", "delete", id}, out), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(GetParam() == Backend::Sqlite ? 0 : 1100));
  EXPECT_EQ(lists().find("add|Cheat|"), std::string::npos);
  EXPECT_NE(lists().find("add|Ann|500|"), std::string::npos);

  // A backup taken while it serves: SQLite's own online copy; PostgreSQL names its own tool.
  const std::string copy = dir_.File("backup.sqlite");
  if (GetParam() == Backend::Sqlite) {
    ASSERT_EQ(command({"backup", copy}, out), 0);
    EXPECT_NE(out.find("backed up 2 entries to " + copy), std::string::npos) << out;
    std::string error;
    std::unique_ptr<ScoreStore> restored = OpenSqliteStore(copy, error);
    ASSERT_NE(restored, nullptr) << error;
    EXPECT_EQ(TopNames(*restored, 1, 10), (std::vector<std::string>{"Ann", "Bo"}));
  } else {
    std::string err;
    EXPECT_EQ(RunToEnd({"--postgres", db_.ProgramOptions()[1], "backup", copy}, out, err), 1);
    EXPECT_NE(err.find("pg_dump"), std::string::npos) << err;
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, ProgramTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

}  // namespace
}  // namespace spellcrypt::server::testing
