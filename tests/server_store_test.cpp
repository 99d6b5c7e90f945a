// The score server's stores, SQLite and PostgreSQL alike: ranking and listing, texts kept byte for
// byte whatever they hold, submissions arriving together, and a reopened database.
#include <gtest/gtest.h>

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
  std::vector<std::string> TopNames(int mode, int limit) {
    std::vector<ListEntry> entries;
    EXPECT_TRUE(store_->Top(mode, limit, entries));
    std::vector<std::string> names;
    for (const ListEntry& e : entries) names.push_back(e.name);
    return names;
  }

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

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

}  // namespace
}  // namespace spellcrypt::server::testing
