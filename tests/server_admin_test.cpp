// The operator's side of the score server: hidden entries left out of all that players see and
// shown again, deleted ones, the commands' answers and exit statuses, player text that cannot
// forge lines on the operator's terminal, a backup taken while submissions go on, changes made by
// another connection noticed, and one server per SQLite folder.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "server/admin_commands.h"
#include "server/folder_lock.h"
#include "server/server_log.h"
#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

struct Ran {
  int status = -1;
  std::string out, err;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

class AdminTest : public ::testing::TestWithParam<Backend> {
 protected:
  AdminTest() : db_(GetParam()) {}
  void SetUp() override {
    REQUIRE_DATABASE(db_);
    store_ = db_.Open();
    ASSERT_NE(store_, nullptr);
  }
  std::int64_t Add(int mode, const std::string& name, std::int32_t score, const std::string& summary = "S",
                   const std::string& address = "127.0.0.1") {
    Submission submission;
    submission.game = Game(mode, name, score);
    submission.summary = summary;
    submission.address = address;
    submission.submittedAt = 1700000000;
    Placement placement;
    EXPECT_TRUE(store_->Submit(submission, placement)) << name;
    return placement.id;
  }
  Ran Run(const std::vector<std::string>& words) {
    char *out = nullptr, *err = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* outFile = open_memstream(&out, &outSize);
    std::FILE* errFile = open_memstream(&err, &errSize);
    Ran ran;
    ran.status = RunAdminCommand(*store_, words, outFile, errFile);
    std::fclose(outFile);
    std::fclose(errFile);
    ran.out.assign(out, outSize);
    ran.err.assign(err, errSize);
    std::free(out);
    std::free(err);
    return ran;
  }
  std::vector<std::string> TopNames(int mode) { return testing::TopNames(*store_, mode, 100); }

  TestDatabase db_;
  std::unique_ptr<ScoreStore> store_;
};

TEST_P(AdminTest, AHiddenEntryLeavesAllThatPlayersSeeUntilShownAgain) {
  Add(1, "Ann", 900);
  const std::int64_t bob = Add(1, "Bob", 800, "Bob's game", "10.1.2.3");
  Add(1, "Cy", 700);
  const std::int64_t eve = Add(0, "Eve", 600, "first game");
  Add(2, "Eve", 600, "second game");

  const std::string id = std::to_string(bob);
  Ran ran = Run({"admin", "hide", id});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "entry " + id + " hidden\n");
  EXPECT_EQ(Run({"admin", "hide", std::to_string(eve)}).status, 0);

  EXPECT_EQ(TopNames(1), (std::vector<std::string>{"Ann", "Cy"}));
  Submission later;
  later.game = Game(1, "Di", 750);
  Placement placement;
  ASSERT_TRUE(store_->Submit(later, placement));
  EXPECT_EQ(placement.rank, 2);  // Bob's 800 above it no longer counts
  StoredEntry entry;
  EXPECT_EQ(store_->Entry(bob, entry), Lookup::Missing);
  std::string summary;
  EXPECT_EQ(store_->SummaryOf("Bob", 800, summary), Lookup::Missing);
  // The summary of the same name and score is the next shown entry's.
  ASSERT_EQ(store_->SummaryOf("Eve", 600, summary), Lookup::Found);
  EXPECT_EQ(summary, "second game");
  EXPECT_TRUE(TopNames(0).empty());

  // The operator still sees it, marked, with everything stored.
  std::vector<AdminEntry> listed;
  ASSERT_TRUE(store_->ListForAdmin(1, 100, listed));
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(listed[1].entry.id, bob);
  EXPECT_TRUE(listed[1].hidden);
  EXPECT_EQ(listed[1].address, "10.1.2.3");
  EXPECT_EQ(listed[1].entry.summary, "Bob's game");
  EXPECT_FALSE(listed[0].hidden);
  std::vector<StoredEntry> all;
  ASSERT_TRUE(store_->All(all));
  EXPECT_EQ(all.size(), 6u);

  EXPECT_EQ(Run({"admin", "hide", id}).status, 0);  // hiding again changes nothing
  ran = Run({"admin", "unhide", id});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "entry " + id + " unhidden\n");
  EXPECT_EQ(TopNames(1), (std::vector<std::string>{"Ann", "Bob", "Di", "Cy"}));
  EXPECT_EQ(store_->Entry(bob, entry), Lookup::Found);
  EXPECT_EQ(entry.name, "Bob");
  ASSERT_EQ(store_->SummaryOf("Bob", 800, summary), Lookup::Found);
  EXPECT_EQ(summary, "Bob's game");
}

TEST_P(AdminTest, DeleteRemovesAnEntryAndMissingOrBadIdsAreRefused) {
  const std::int64_t ann = Add(1, "Ann", 900);
  Add(1, "Bob", 800);
  const std::string id = std::to_string(ann);
  Ran ran = Run({"admin", "delete", id});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "entry " + id + " deleted\n");
  EXPECT_EQ(TopNames(1), (std::vector<std::string>{"Bob"}));
  std::vector<AdminEntry> listed;
  ASSERT_TRUE(store_->ListForAdmin(1, 100, listed));
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].entry.name, "Bob");

  for (const char* action : {"delete", "hide", "unhide"}) {
    ran = Run({"admin", action, id});
    EXPECT_EQ(ran.status, 1) << action;
    EXPECT_EQ(ran.err, "no entry " + id + "\n") << action;
    EXPECT_EQ(ran.out, "") << action;
  }
  EXPECT_EQ(Run({"admin", "hide", "999999999999"}).err, "no entry 999999999999\n");

  const std::vector<std::vector<std::string>> bad = {
      {},
      {"admin"},
      {"admin", "list", "extra"},
      {"admin", "show", "1"},
      {"admin", "hide"},
      {"admin", "hide", "0"},
      {"admin", "hide", "-3"},
      {"admin", "hide", "+3"},
      {"admin", "hide", "3x"},
      {"admin", "hide", " 3"},
      {"admin", "hide", ""},
      {"admin", "delete", "99999999999999999999"},
      {"admin", "delete", "9223372036854775808"},
      {"admin", "delete", "1", "2"},
      {"backup"},
      {"backup", ""},
      {"list"},
  };
  for (const auto& words : bad) {
    ran = Run(words);
    std::string joined;
    for (const std::string& word : words) joined += "[" + word + "]";
    EXPECT_EQ(ran.status, 2) << joined;
    EXPECT_EQ(ran.err.rfind("usage: spellcrypt-server [options] admin list\n", 0), 0u) << joined << ran.err;
    EXPECT_EQ(ran.out, "") << joined;
  }
  ASSERT_TRUE(store_->ListForAdmin(1, 100, listed));
  EXPECT_EQ(listed.size(), 1u);
}

TEST_P(AdminTest, ListShowsEveryDifficultyWithPlayerTextThatCannotForgeLines) {
  const std::int64_t kid = Add(0, "Kid", 50);
  const std::int64_t evil = Add(1, "Tab\there\nforged\tline\x1b[2J", 900, "S", "10.0.0.1\r\nX");
  const std::int64_t hidden = Add(1, "Rude", 950);
  const std::int64_t c1 = Add(1,
                              "C1\xC2\x9B"
                              "31m back\\slash caf\xC3\xA9 \xE2\x80\xAE",
                              100);
  const std::int64_t wizard = Add(2, "Wiz", 7);
  ASSERT_EQ(store_->SetHidden(hidden, true), Lookup::Found);

  const Ran ran = Run({"admin", "list"});
  ASSERT_EQ(ran.status, 0) << ran.err;
  for (const char c : ran.out) EXPECT_TRUE(c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20);
  const std::vector<std::string> lines = Lines(ran.out);
  ASSERT_EQ(lines.size(), 6u) << ran.out;
  EXPECT_EQ(lines[0], "id\tdifficulty\tplace\tname\tscore\tdungeon\tbosses\tdate\taddress\tstate");
  for (const std::string& line : lines) EXPECT_EQ(Fields(line).size(), 10u) << line;
  const std::string date = "\t5\t1\t2023-11-14T22:13:20Z\t";
  EXPECT_EQ(lines[1], std::to_string(kid) + "\tKidmode\t1\tKid\t50" + date + "127.0.0.1\tshown");
  EXPECT_EQ(lines[2], std::to_string(hidden) + "\tNormal\t-\tRude\t950" + date + "127.0.0.1\thidden");
  EXPECT_EQ(lines[3], std::to_string(evil) + "\tNormal\t1\tTab\\x09here\\x0Aforged\\x09line\\x1B[2J\t900" +
                          date + "10.0.0.1\\x0D\\x0AX\tshown");
  EXPECT_EQ(lines[4], std::to_string(c1) +
                          "\tNormal\t2\tC1\\xC2\\x9B31m back\\x5Cslash caf\xC3\xA9 \\xE2\\x80\\xAE\t100" +
                          date + "127.0.0.1\tshown");
  EXPECT_EQ(lines[5], std::to_string(wizard) + "\tWizard\t1\tWiz\t7" + date + "127.0.0.1\tshown");

  // Bytes that only look like UTF-8 (PostgreSQL would not keep them) are escaped one by one; whole
  // characters go through.
  EXPECT_EQ(TerminalText("caf\xE9"), "caf\\xE9");                              // Latin-1
  EXPECT_EQ(TerminalText("\xC0\xAF"), "\\xC0\\xAF");                           // overlong '/'
  EXPECT_EQ(TerminalText("\xED\xA0\x80"), "\\xED\\xA0\\x80");                  // a surrogate
  EXPECT_EQ(TerminalText("\xE2\x82"), "\\xE2\\x82");                           // cut short
  EXPECT_EQ(TerminalText("\xF0\x9F\x90\x89 \x7F"), "\xF0\x9F\x90\x89 \\x7F");  // a dragon, DEL
  EXPECT_EQ(TerminalText("\xE2\x80\xA8"), "\\xE2\\x80\\xA8");                  // line separator
}

TEST_P(AdminTest, ABackupTakenWhileSubmissionsGoOnIsAWholeDatabase) {
  spellcrypt::testing::TempDir elsewhere;
  const std::string file = elsewhere.File("copy.sqlite");
  if (GetParam() == Backend::Postgres) {
    const Ran ran = Run({"backup", file});
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find("pg_dump"), std::string::npos) << ran.err;
    EXPECT_FALSE(std::filesystem::exists(file));
    return;
  }
  for (int i = 0; i < 200; ++i) Add(i % 3, "Before" + std::to_string(i), i);
  elsewhere.Write("copy.sqlite", "an older file, replaced whole");
  std::atomic<bool> stop{false};
  std::atomic<int> committed{200};
  std::thread submitter([&] {
    for (int i = 0; !stop; ++i) {
      Submission submission;
      submission.game = Game(i % 3, "During" + std::to_string(i), i);
      submission.summary = std::string(2000, 'x');  // some pages to copy
      Placement placement;
      if (store_->Submit(submission, placement)) ++committed;
    }
  });
  while (committed < 300) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const int before = committed;
  const Ran ran = Run({"backup", file});
  const int after = committed;
  stop = true;
  submitter.join();
  ASSERT_EQ(ran.status, 0) << ran.err;
  long long copied = -1;
  ASSERT_EQ(std::sscanf(ran.out.c_str(), "backed up %lld entries to ", &copied), 1) << ran.out;
  EXPECT_EQ(ran.out, "backed up " + std::to_string(copied) + " entries to " + file + "\n");
  EXPECT_GE(copied, before);
  // One more at most: the submitter may not have counted the last one the copy took.
  EXPECT_LE(copied, after + 1);

  // The copy stands alone (no log beside it) and reads as a whole database.
  const std::vector<std::string> left = {"copy.sqlite"};
  std::vector<std::string> files;
  for (const auto& item : std::filesystem::directory_iterator(elsewhere.Path()))
    files.push_back(item.path().filename().string());
  EXPECT_EQ(files, left);
  sqlite3* copy = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &copy, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  const auto text = [copy](const char* sql) {
    sqlite3_stmt* s = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(copy, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
      value = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    return value;
  };
  EXPECT_EQ(text("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(text("PRAGMA journal_mode"), "delete");
  EXPECT_EQ(text("SELECT count(*) FROM entries"), std::to_string(copied));
  // Everything committed before it began is in it, and nothing half-written.
  EXPECT_EQ(text("SELECT count(*) FROM entries WHERE name LIKE 'Before%'"), "200");
  EXPECT_EQ(text("SELECT count(*) FROM entries WHERE name LIKE 'During%' AND length(summary) <> 2000"), "0");
  sqlite3_close(copy);

  // Where it cannot go: nothing written, an exit status of 1.
  const Ran nowhere = Run({"backup", elsewhere.File("no/such/folder/copy.sqlite")});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("cannot back up"), std::string::npos) << nowhere.err;
  const Ran itself = Run({"backup", db_.ProgramOptions()[1] + "/scores.sqlite"});
  EXPECT_EQ(itself.status, 1);
  std::vector<ListEntry> top;
  EXPECT_TRUE(store_->Top(0, 10, top));
  EXPECT_EQ(top.size(), 10u);
}

TEST_P(AdminTest, ChangesCommittedThroughAnotherConnectionAreNoticedOnce) {
  const std::int64_t ann = Add(1, "Ann", 900);
  store_->ChangedElsewhere();
  EXPECT_FALSE(store_->ChangedElsewhere());
  std::unique_ptr<ScoreStore> other = db_.Open();  // another process, as far as the file can tell
  ASSERT_NE(other, nullptr);
  store_->ChangedElsewhere();
  EXPECT_FALSE(store_->ChangedElsewhere());
  ASSERT_EQ(other->SetHidden(ann, true), Lookup::Found);
  const bool sqlite = GetParam() == Backend::Sqlite;
  EXPECT_EQ(store_->ChangedElsewhere(), sqlite);
  EXPECT_FALSE(store_->ChangedElsewhere());
  EXPECT_TRUE(TopNames(1).empty());
  Submission submission;
  submission.game = Game(1, "Bob", 5);
  Placement placement;
  ASSERT_TRUE(other->Submit(submission, placement));
  EXPECT_EQ(store_->ChangedElsewhere(), sqlite);
  EXPECT_FALSE(store_->ChangedElsewhere());
}

INSTANTIATE_TEST_SUITE_P(Stores, AdminTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

// The child takes the folder's lock, says whether it got it, and holds it until killed.
pid_t HoldInChild(const std::string& folder, char& said) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    std::string error;
    std::unique_ptr<FolderLock> lock = FolderLock::Take(folder, error);
    const char answer = lock != nullptr ? 'y' : 'n';
    if (::write(ready[1], &answer, 1) != 1) _exit(1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  said = 0;
  if (::read(ready[0], &said, 1) != 1) said = 0;
  ::close(ready[0]);
  return child;
}

TEST(FolderLock, OneServerAtATimeUntilTheHolderIsGoneHoweverItEnds) {
  spellcrypt::testing::TempDir dir;
  char said = 0;
  const pid_t child = HoldInChild(dir.Path(), said);
  ASSERT_GT(child, 0);
  ASSERT_EQ(said, 'y');
  std::string error;
  EXPECT_EQ(FolderLock::Take(dir.Path(), error), nullptr);
  EXPECT_EQ(error,
            "another spellcrypt-server is using " + dir.Path() + " (process " + std::to_string(child) + ")");
  EXPECT_EQ(spellcrypt::testing::ReadText(dir.File("scores.lock")), std::to_string(child) + "\n");

  // Killed, it lets go.
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  error.clear();
  std::unique_ptr<FolderLock> mine = FolderLock::Take(dir.Path(), error);
  ASSERT_NE(mine, nullptr) << error;
  EXPECT_EQ(spellcrypt::testing::ReadText(dir.File("scores.lock")), std::to_string(::getpid()) + "\n");
  // Held here, it is refused to another process, and to this one too.
  const pid_t second = HoldInChild(dir.Path(), said);
  ASSERT_GT(second, 0);
  EXPECT_EQ(said, 'n');
  ::kill(second, SIGKILL);
  ::waitpid(second, nullptr, 0);
  EXPECT_EQ(FolderLock::Take(dir.Path(), error), nullptr);
  EXPECT_NE(error.find("(process " + std::to_string(::getpid()) + ")"), std::string::npos) << error;

  // Released when destroyed.
  mine.reset();
  EXPECT_EQ(spellcrypt::testing::ReadText(dir.File("scores.lock")), "");
  mine = FolderLock::Take(dir.Path(), error);
  EXPECT_NE(mine, nullptr) << error;
  mine.reset();

  EXPECT_EQ(FolderLock::Take(dir.File("missing"), error), nullptr);
  EXPECT_EQ(error.rfind("cannot open " + dir.File("missing") + "/scores.lock: ", 0), 0u) << error;
}

}  // namespace
}  // namespace spellcrypt::server::testing
