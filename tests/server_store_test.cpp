// The score server's stores, SQLite and PostgreSQL alike: ranking and listing, texts kept byte for
// byte whatever they hold, submissions arriving together, a reopened database, and a table made
// before entries could be hidden; an SQLite file left whole by a clean stop.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

class StoreTest : public ::testing::TestWithParam<Backend> {
 protected:
  StoreTest() : db_(GetParam()) {}
  void SetUp() override {
    REQUIRE_DATABASE(db_);
    store_ = db_.Open();
    ASSERT_NE(store_, nullptr);
  }
  Placement Add(int mode, const std::string& name, std::int32_t score,
                const std::string& summary = "Score\r\n") {
    Submission submission;
    submission.game = Game(mode, name, score);
    submission.summary = summary;
    submission.address = "127.0.0.1";
    submission.submittedAt = 1700000000;
    Placement placement;
    EXPECT_TRUE(store_->Submit(submission, placement)) << name;
    return placement;
  }
  std::vector<std::string> TopNames(int mode, int limit) { return testing::TopNames(*store_, mode, limit); }

  TestDatabase db_;
  std::unique_ptr<ScoreStore> store_;
};

TEST_P(StoreTest, RanksBestFirstWithEqualScoresInSubmissionOrder) {
  EXPECT_EQ(Add(1, "Ann", 500).rank, 1);
  EXPECT_EQ(Add(1, "Bob", 900).rank, 1);
  EXPECT_EQ(Add(1, "Cy", 500).rank, 3);  // ties Ann, so goes below her
  EXPECT_EQ(Add(1, "Di", 700).rank, 2);
  EXPECT_EQ(Add(2, "Wiz", 10).rank, 1);  // each difficulty ranks on its own
  EXPECT_EQ(Add(1, "Ed", 0).rank, 5);

  EXPECT_EQ(TopNames(1, 100), (std::vector<std::string>{"Bob", "Di", "Ann", "Cy", "Ed"}));
  EXPECT_EQ(TopNames(1, 2), (std::vector<std::string>{"Bob", "Di"}));
  EXPECT_EQ(TopNames(2, 100), (std::vector<std::string>{"Wiz"}));
  EXPECT_TRUE(TopNames(0, 100).empty());

  std::vector<ListEntry> entries;
  ASSERT_TRUE(store_->Top(2, 1, entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].score, 10);
  EXPECT_EQ(entries[0].dungeon, 5);
  EXPECT_EQ(entries[0].bosses, 1);
  StoredEntry stored;
  ASSERT_EQ(store_->Entry(entries[0].id, stored), Lookup::Found);
  EXPECT_EQ(stored.mode, 2);
  EXPECT_EQ(stored.name, "Wiz");
  EXPECT_EQ(stored.submittedAt, 1700000000);
  EXPECT_EQ(store_->Entry(entries[0].id + 1000, stored), Lookup::Missing);
}

TEST_P(StoreTest, TextsComeBackByteForByteAndSummariesByNameAndScore) {
  const std::vector<std::string> names = {
      "O'Brien", "\"; DROP TABLE x;--", "Robert'); --", "<script>x</script>", "%_\\ 100% *", ""};
  for (std::size_t i = 0; i < names.size(); ++i) {
    Add(0, names[i], 1000 + static_cast<std::int32_t>(i),
        "Name " + names[i] + "\r\n<b>bold</b> caf\xC3\xA9\r\n");
  }
  Add(1, "O'Brien", 1000, "a later game with the same name and score");
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string summary;
    ASSERT_EQ(store_->SummaryOf(names[i], 1000 + static_cast<std::int32_t>(i), summary), Lookup::Found)
        << names[i];
    EXPECT_EQ(summary, "Name " + names[i] + "\r\n<b>bold</b> caf\xC3\xA9\r\n");
  }
  std::string summary;
  EXPECT_EQ(store_->SummaryOf("O'Brien", 999, summary), Lookup::Missing);
  EXPECT_EQ(store_->SummaryOf("o'brien", 1000, summary), Lookup::Missing);
  EXPECT_EQ(store_->SummaryOf("%", 1002, summary), Lookup::Missing);  // no pattern matching
  std::vector<std::string> listed = TopNames(0, 100);
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
            std::set<std::string>(names.begin(), names.end()));
}

TEST_P(StoreTest, SubmissionsArrivingTogetherAreEachStoredOnceAndKeptAfterReopening) {
  constexpr int kThreads = 8, kEach = 50;
  std::vector<std::thread> threads;
  std::vector<std::vector<Placement>> placements(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        Submission submission;
        submission.game = Game(t % 3, "T" + std::to_string(t) + "-" + std::to_string(i), (i * 37 + t) % 500);
        submission.summary = submission.game.name;
        Placement placement;
        if (store_->Submit(submission, placement)) placements[t].push_back(placement);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::set<std::int64_t> ids;
  for (const auto& mine : placements) {
    EXPECT_EQ(mine.size(), static_cast<std::size_t>(kEach));
    for (const Placement& p : mine) {
      ids.insert(p.id);
      EXPECT_GE(p.rank, 1);
    }
  }
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(kThreads * kEach));

  store_.reset();
  store_ = db_.Open();
  ASSERT_NE(store_, nullptr);
  std::vector<StoredEntry> all;
  ASSERT_TRUE(store_->All(all));
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
  std::set<std::string> names;
  for (const StoredEntry& e : all) {
    names.insert(e.name);
    EXPECT_EQ(e.summary, e.name);
    EXPECT_EQ(ids.count(e.id), 1u);
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kThreads * kEach));
  // Each difficulty ranks the whole of it, best first.
  for (int mode = 0; mode < 3; ++mode) {
    std::vector<ListEntry> top;
    ASSERT_TRUE(store_->Top(mode, 1000, top));
    for (std::size_t i = 1; i < top.size(); ++i) {
      EXPECT_TRUE(top[i - 1].score > top[i].score ||
                  (top[i - 1].score == top[i].score && top[i - 1].id < top[i].id));
    }
  }
}

// The table as the stores made it before entries could be hidden.
constexpr const char* kSqliteTableBeforeHiding =
    "CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, mode INTEGER NOT NULL, name TEXT NOT NULL,"
    " score INTEGER NOT NULL, dungeon INTEGER NOT NULL, bosses INTEGER NOT NULL, summary TEXT NOT NULL,"
    " submitted_at INTEGER NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX entries_rank ON entries (mode, score DESC, id);"
    "CREATE INDEX entries_name_score ON entries (name, score, id);";
constexpr const char* kPostgresTableBeforeHiding =
    "CREATE TABLE entries (id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY, mode SMALLINT NOT NULL,"
    " name TEXT NOT NULL, score INTEGER NOT NULL, dungeon INTEGER NOT NULL, bosses INTEGER NOT NULL,"
    " summary TEXT NOT NULL, submitted_at BIGINT NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX entries_rank ON entries (mode, score DESC, id);"
    "CREATE INDEX entries_name_score ON entries (name, score, id);";
constexpr const char* kOldRows =
    "INSERT INTO entries (mode, name, score, dungeon, bosses, summary, submitted_at, address) VALUES"
    " (1, 'Old', 300, 4, 1, 'old game', 1600000000, '10.0.0.1'),"
    " (1, 'Older', 200, 3, 0, 'older game', 1500000000, '10.0.0.2');";

// Runs SQL on the test's database as any other program would.
bool RunSql(Backend backend, const TestDatabase& db, const std::string& sql) {
  const std::string where = db.ProgramOptions()[1];
  if (backend == Backend::Sqlite) {
    sqlite3* file = nullptr;
    const bool ok = sqlite3_open((where + "/scores.sqlite").c_str(), &file) == SQLITE_OK &&
                    sqlite3_exec(file, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    EXPECT_TRUE(ok) << sqlite3_errmsg(file);
    sqlite3_close(file);
    return ok;
  }
  PGconn* conn = PQconnectdb(where.c_str());
  PGresult* result = PQexec(conn, sql.c_str());
  const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
  EXPECT_TRUE(ok) << PQerrorMessage(conn);
  PQclear(result);
  PQfinish(conn);
  return ok;
}

TEST_P(StoreTest, ATableMadeBeforeEntriesCouldBeHiddenKeepsItsEntriesAndHidesThem) {
  store_.reset();
  ASSERT_TRUE(RunSql(GetParam(), db_, "DROP TABLE entries"));
  ASSERT_TRUE(RunSql(
      GetParam(), db_,
      std::string(GetParam() == Backend::Sqlite ? kSqliteTableBeforeHiding : kPostgresTableBeforeHiding) +
          kOldRows));
  store_ = db_.Open();
  ASSERT_NE(store_, nullptr);
  EXPECT_EQ(TopNames(1, 100), (std::vector<std::string>{"Old", "Older"}));
  EXPECT_EQ(Add(1, "New", 250).rank, 2);
  std::vector<ListEntry> top;
  ASSERT_TRUE(store_->Top(1, 1, top));
  ASSERT_EQ(store_->SetHidden(top[0].id, true), Lookup::Found);
  EXPECT_EQ(TopNames(1, 100), (std::vector<std::string>{"New", "Older"}));
  std::vector<AdminEntry> listed;
  ASSERT_TRUE(store_->ListForAdmin(1, 100, listed));
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_TRUE(listed[0].hidden);
  EXPECT_EQ(listed[0].address, "10.0.0.1");
  EXPECT_EQ(listed[0].entry.summary, "old game");
  // Opened again, the table is left as it is.
  store_.reset();
  store_ = db_.Open();
  ASSERT_NE(store_, nullptr);
  EXPECT_EQ(TopNames(1, 100), (std::vector<std::string>{"New", "Older"}));
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

// A clean stop folds the write-ahead log into the database file, even after lists were read through
// connections of their own: the file copied alone, as a plain copy of the folder takes it, holds
// every entry.
TEST(SqliteStoreFile, AfterACleanCloseTheFileAloneHoldsEveryEntry) {
  spellcrypt::testing::TempDir dir, elsewhere;
  std::string error;
  std::unique_ptr<ScoreStore> store = OpenSqliteStore(dir.File("scores.sqlite"), error);
  ASSERT_NE(store, nullptr) << error;
  for (int i = 0; i < 30; ++i) {
    Submission submission;
    submission.game = Game(i % 3, "P" + std::to_string(i), i * 10);
    Placement placement;
    ASSERT_TRUE(store->Submit(submission, placement));
  }
  // Readers on several threads at once, so the pool keeps several connections.
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&store] {
      for (int i = 0; i < 20; ++i) {
        std::vector<ListEntry> entries;
        EXPECT_TRUE(store->Top(i % 3, 100, entries));
      }
    });
  }
  for (std::thread& reader : readers) reader.join();
  store.reset();

  std::filesystem::copy_file(dir.File("scores.sqlite"), elsewhere.File("scores.sqlite"));
  sqlite3* copy = nullptr;
  ASSERT_EQ(sqlite3_open_v2(elsewhere.File("scores.sqlite").c_str(), &copy, SQLITE_OPEN_READWRITE, nullptr),
            SQLITE_OK);
  sqlite3_stmt* count = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(copy, "SELECT count(*) FROM entries", -1, &count, nullptr), SQLITE_OK)
      << sqlite3_errmsg(copy);
  ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(count, 0), 30);
  sqlite3_finalize(count);
  sqlite3_close(copy);
  // The log is emptied, not merely copied back.
  EXPECT_FALSE(std::filesystem::exists(dir.File("scores.sqlite-wal")) &&
               std::filesystem::file_size(dir.File("scores.sqlite-wal")) > 0);
}

}  // namespace
}  // namespace spellcrypt::server::testing
