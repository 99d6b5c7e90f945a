// The rankings' pages in a real browser (headless Chromium): every tab and an entry's page are
// drawn (the pictures are kept in the build folder's server-pages/ to look at), and a name that
// holds a script tag reaches the page as text, not as an element.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "scores/strong_words.h"
#include "server/web_page.h"
#include "tests/server_test_support.h"
#include "words/meanings.h"

namespace spellcrypt::server::testing {
namespace {

std::string Run(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}

// Chromium with a profile of its own, nothing fetched but the page.
std::string Chromium(const std::string& profile, const std::string& what, const std::string& url) {
  return Run(
      "chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync --hide-scrollbars "
      "--user-data-dir=" +
      profile + " --window-size=900,1000 " + what + " '" + url + "' 2>/dev/null");
}

TEST(ServerPagesTest, ChromiumDrawsEveryTabAndShowsAScriptNameAsText) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0) SKIP_UNLESS_CI("chromium is not installed");
  TestDatabase db(Backend::Sqlite);
  std::unique_ptr<ScoreStore> store = db.Open();
  ASSERT_NE(store, nullptr);
  RunningServer server(*store);
  httplib::Client client("127.0.0.1", server.Port());
  const char* names[] = {"Morgana",  "Sir Lexicon", "Quill", "Tess the Bold", "O'Hara", "Vowelbane",
                         "Grimoire", "Anagrammar",  "Wren",  "Dusk & Ember",  "Pip",    "Zed"};
  for (int mode = 0; mode < 3; ++mode) {
    for (int i = 0; i < 12; ++i) {
      const std::int32_t score = (12 - i) * (12 - i) * 9137 * (mode + 1) + i * 71;
      const std::string summary =
          "Score: " + std::to_string(score) + "\r\nDungeon: " + std::to_string(25 - i) +
          "\r\nDifficulty Mode: Normal\r\n\r\n- strong words used -\r\n\r\nLANTERNS\r\nGRIMOIRE\r\n";
      ASSERT_EQ(client
                    .Post("/splcryp/submit.php",
                          SubmissionForm(Game(mode, names[i], score, 25 - i, (12 - i) / 3), summary),
                          "application/x-www-form-urlencoded")
                    ->status,
                200);
    }
  }
  ASSERT_EQ(client
                .Post("/splcryp/submit.php",
                      SubmissionForm(Game(2, "<script>x</script>", 7, 2, 0), "<script>alert(1)</script>\r\n"),
                      "application/x-www-form-urlencoded")
                ->status,
            200);

  spellcrypt::testing::TempDir profile;
  const std::filesystem::path pictures =
      std::filesystem::path(SPELLCRYPT_BIN_DIR).parent_path() / "server-pages";
  std::filesystem::create_directories(pictures);
  const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
  for (int mode = 0; mode < 3; ++mode) {
    const std::filesystem::path picture = pictures / ("rankings-" + std::to_string(mode) + ".png");
    std::filesystem::remove(picture);
    Chromium(profile.Path(), "--screenshot=" + picture.string(), base + "/?mode=" + std::to_string(mode));
    ASSERT_TRUE(std::filesystem::exists(picture)) << picture;
    EXPECT_GT(std::filesystem::file_size(picture), 10000u) << picture;
  }
  const std::filesystem::path entry = pictures / "entry.png";
  std::filesystem::remove(entry);
  Chromium(profile.Path(), "--screenshot=" + entry.string(), base + "/entry?id=1");
  EXPECT_TRUE(std::filesystem::exists(entry));

  // The page as the browser built it: the name is a text node, and no script element exists.
  const std::string dom = Chromium(profile.Path(), "--dump-dom", base + "/?mode=2");
  EXPECT_NE(dom.find("Morgana"), std::string::npos) << dom.substr(0, 400);
  EXPECT_NE(dom.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(dom.find("<script"), std::string::npos);
}

// An entry's page lists its strong words with their meanings, read from the same meanings file the
// game reads; a definition is text, never markup, whatever it holds.
TEST(ServerPagesTest, AnEntrysStrongWordsComeWithTheirMeaningsEscaped) {
  EXPECT_EQ(StrongWordsOf("Score: 5\r\n- strong words used -\r\n\r\nLANTERNS\r\n grimoire \r\n"),
            (std::vector<std::string>{"lanterns", "grimoire"}));
  EXPECT_EQ(StrongWordsOf("LANTERNS\n- strong words used -\nQUILL\nnot a word!\nWREN\n"),
            std::vector<std::string>{"quill"});
  EXPECT_TRUE(StrongWordsOf("Score: 5\r\nLANTERNS\r\n").empty());

  Meaning lantern;
  lantern.base = "lantern";
  lantern.first = {PartOfSpeech::Noun, "light in a <b>transparent</b> case & \"handle\""};
  Meaning grimoire;
  grimoire.base = "grimoire";
  grimoire.first = {PartOfSpeech::Noun, "a book of spells <script>alert(1)</script>"};
  grimoire.second = Sense{PartOfSpeech::Verb, "to read one"};
  Meanings meanings;
  ASSERT_TRUE(meanings.LoadBytes(EncodeMeanings({{"lanterns", lantern}, {"grimoire", grimoire}}), "test"));

  TestDatabase db(Backend::Sqlite);
  std::unique_ptr<ScoreStore> store = db.Open();
  ASSERT_NE(store, nullptr);
  ServiceOptions options = RunningServer::Quiet();
  options.meanings = &meanings;
  RunningServer server(*store, options);
  httplib::Client client("127.0.0.1", server.Port());
  const std::string summary =
      "Score: 77\r\n\r\n- strong words used -\r\n\r\nLANTERNS\r\nGRIMOIRE\r\nXYZZY\r\n";
  ASSERT_EQ(client
                .Post("/splcryp/submit.php", SubmissionForm(Game(1, "Wren", 77, 3, 0), summary),
                      "application/x-www-form-urlencoded")
                ->status,
            200);
  auto page = client.Get("/entry?id=1");
  ASSERT_TRUE(page);
  ASSERT_EQ(page->status, 200);
  const std::string& html = page->body;
  EXPECT_NE(
      html.find("<dt>lanterns</dt><dd>(lantern) <i>noun</i> light in a &lt;b&gt;transparent&lt;/b&gt; case "
                "&amp; &quot;handle&quot;</dd>"),
      std::string::npos)
      << html;
  EXPECT_NE(
      html.find("<dt>grimoire</dt><dd><i>noun</i> a book of spells &lt;script&gt;alert(1)&lt;/script&gt;; "
                "<i>verb</i> to read one</dd>"),
      std::string::npos)
      << html;
  EXPECT_EQ(html.find("xyzzy</dt>"), std::string::npos);

  if (std::system("command -v chromium >/dev/null 2>&1") != 0) SKIP_UNLESS_CI("chromium is not installed");
  spellcrypt::testing::TempDir profile;
  const std::string dom = Chromium(profile.Path(), "--dump-dom",
                                   "http://127.0.0.1:" + std::to_string(server.Port()) + "/entry?id=1");
  EXPECT_NE(dom.find("a book of spells &lt;script&gt;"), std::string::npos) << dom.substr(0, 600);
  EXPECT_EQ(dom.find("<script"), std::string::npos);
  EXPECT_EQ(dom.find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace spellcrypt::server::testing
