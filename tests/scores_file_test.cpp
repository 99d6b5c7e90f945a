// The high-score table: order among equal scores, who qualifies, the file's bytes, files of an
// older layout, damaged files and failed saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "scores/ranking.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

// Bytes from a hex dump ("78 00 00 00 ..."); spaces and line breaks are ignored.
std::vector<std::uint8_t> FromHex(std::string_view hex) {
  std::vector<std::uint8_t> out;
  std::string digits;
  for (char c : hex) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  }
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

// A file with two records, written by an outside tool: Morgana (dungeon 12, 123456 points, 3
// bosses, a two-line summary) and a nameless 500 in dungeon 2 whose empty summary is a lone NUL
// (L = 1).
constexpr std::string_view kReferenceFile =
    "78 00 00 00 0c 00 00 00 40 e2 01 00 03 00 00 00"
    "4d 6f 72 67 61 6e 61 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 1e 00 00 00 00 00 00 00 53 63 6f 72"
    "65 3a 20 31 32 33 2c 34 35 36 0d 0a 44 75 6e 67"
    "65 6f 6e 3a 20 31 32 0d 0a 00 02 00 00 00 f4 01"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 01 00 00 00 00 00"
    "00 00 00";

void PutI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t GetI32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(bytes.at(at + static_cast<std::size_t>(i))) << (8 * i);
  return static_cast<std::int32_t>(v);
}

std::vector<std::uint8_t> Header(std::uint32_t recordSize) {
  std::vector<std::uint8_t> bytes(4);
  PutI32(bytes, 0, recordSize);
  return bytes;
}

// Appends one record laid out by hand; summaryLength -1 means the summary's size plus its NUL.
void AppendRecord(std::vector<std::uint8_t>& bytes, std::int32_t score, const std::string& name,
                  const std::string& summary = "", std::int64_t summaryLength = -1) {
  const std::size_t at = bytes.size();
  bytes.resize(at + 120, 0);
  PutI32(bytes, at + 0, 1);  // dungeon
  PutI32(bytes, at + 4, static_cast<std::uint32_t>(score));
  PutI32(bytes, at + 8, 0);  // bosses
  std::memcpy(&bytes[at + 12], name.data(), std::min<std::size_t>(name.size(), 100));
  PutI32(bytes, at + 112,
         static_cast<std::uint32_t>(summaryLength < 0 ? static_cast<std::int64_t>(summary.size()) + 1
                                                      : summaryLength));
  bytes.insert(bytes.end(), summary.begin(), summary.end());
  if (summaryLength < 0) bytes.push_back(0);
}

std::vector<std::string> Names(const CRanking& ranking) {
  std::vector<std::string> names;
  for (int i = 0; i < ranking.Count(); ++i) names.push_back(ranking.EntryAt(i)->name);
  return names;
}

class ScoreFileTest : public testing::HeadlessFixture {
 protected:
  ScoreFileTest() : HeadlessFixture(false) {}
  int DamageLines() const { return testing::CountLines(platform_, "is damaged"); }
  CRanking ranking;
};

TEST_F(ScoreFileTest, ReadsAndWritesTheReferenceFileByteForByte) {
  const std::vector<std::uint8_t> reference = FromHex(kReferenceFile);
  ASSERT_EQ(reference.size(), 275u);
  ASSERT_TRUE(ranking.Load(dir_.Write("scores_normal.dat", reference)));
  ASSERT_EQ(ranking.Count(), 2);
  const CScoreObject* first = ranking.EntryAt(0);
  EXPECT_EQ(first->name, "Morgana");
  EXPECT_EQ(first->dungeon, 12);
  EXPECT_EQ(first->score, 123456);
  EXPECT_EQ(first->bosses, 3);
  EXPECT_EQ(first->summary, "Score: 123,456\r\nDungeon: 12\r\n");
  const CScoreObject* second = ranking.EntryAt(1);
  EXPECT_EQ(second->name, "");
  EXPECT_EQ(second->dungeon, 2);
  EXPECT_EQ(second->score, 500);
  EXPECT_EQ(second->summary, "");
  EXPECT_EQ(ranking.EntryAt(2), nullptr);
  EXPECT_EQ(ranking.EntryAt(-1), nullptr);

  // Built afresh, in the other order, the same table saves to exactly those bytes.
  CRanking fresh;
  fresh.AddScore(500, 2, "", 0);
  fresh.AddScore(123456, 12, "Morgana", 3, "Score: 123,456\r\nDungeon: 12\r\n");
  ASSERT_TRUE(fresh.Save("out.dat", 12));
  EXPECT_EQ(testing::ReadBytes(dir_.File("out.dat")), reference);
}

// The field layout itself is checked against the reference file above.
TEST_F(ScoreFileTest, OverlongNamesAndSummariesAreCutToTheirFields) {
  ranking.AddScore(-7, 25, std::string(150, 'n'), -2, std::string(70000, 's'));
  ASSERT_TRUE(ranking.Save("scores_hard.dat", 0));
  const std::vector<std::uint8_t> bytes = testing::ReadBytes(dir_.File("scores_hard.dat"));
  ASSERT_EQ(bytes.size(), 4u + 120 + 65536);
  EXPECT_EQ(GetI32(bytes, 4 + 4), -7);
  EXPECT_EQ(GetI32(bytes, 4 + 8), -2);
  EXPECT_EQ(bytes[4 + 12 + 98], 'n');
  EXPECT_EQ(bytes[4 + 12 + 99], 0);
  EXPECT_EQ(GetI32(bytes, 4 + 112), 65536);
  EXPECT_EQ(bytes.back(), 0);
  ASSERT_TRUE(ranking.Load("scores_hard.dat"));
  EXPECT_EQ(ranking.EntryAt(0)->name, std::string(99, 'n'));
  EXPECT_EQ(ranking.EntryAt(0)->summary, std::string(65535, 's'));
}

TEST_F(ScoreFileTest, EqualScoresKeepTheirOrderThroughLoadSortAndSave) {
  std::vector<std::uint8_t> bytes = Header(120);
  AppendRecord(bytes, 500, "first 500");
  AppendRecord(bytes, 700, "first 700");
  AppendRecord(bytes, 500, "second 500");
  AppendRecord(bytes, 700, "second 700");
  ASSERT_TRUE(ranking.Load(dir_.Write("scores_easy.dat", bytes)));
  const std::vector<std::string> loaded = {"first 700", "second 700", "first 500", "second 500"};
  EXPECT_EQ(Names(ranking), loaded);

  // A newcomer that only ties goes below the older entries.
  ranking.AddScore(700, 1, "new 700", 0);
  ranking.Sort();
  const std::vector<std::string> sorted = {"first 700", "second 700", "new 700", "first 500", "second 500"};
  EXPECT_EQ(Names(ranking), sorted);
  ASSERT_TRUE(ranking.Save("scores_easy.dat", 12));
  ASSERT_TRUE(ranking.Load("scores_easy.dat"));
  EXPECT_EQ(Names(ranking), sorted);
}

TEST_F(ScoreFileTest, QualifyingNeedsToBeatTheLastPlaceOfAFullTable) {
  for (int i = 0; i < 11; ++i) ranking.AddScore(1000 + i, 1, "p" + std::to_string(i), 0);
  EXPECT_TRUE(ranking.Qualifies(1, 12));  // a free place
  ranking.AddScore(500, 1, "last", 0);
  EXPECT_FALSE(ranking.Qualifies(500, 12));
  EXPECT_TRUE(ranking.Qualifies(501, 12));
  EXPECT_FALSE(ranking.Qualifies(1005, 3));

  // The 13th score is saved as one of 12: the old last place leaves the file, not the memory.
  ranking.AddScore(600, 1, "newcomer", 0);
  ASSERT_TRUE(ranking.Save("scores_normal.dat", 12));
  EXPECT_EQ(ranking.Count(), 13);
  EXPECT_EQ(ranking.EntryAt(12)->name, "last");
  ASSERT_TRUE(ranking.Load("scores_normal.dat"));
  EXPECT_EQ(ranking.Count(), 12);
  EXPECT_EQ(ranking.EntryAt(11)->name, "newcomer");
}

TEST_F(ScoreFileTest, OlderLayoutsReadWithZeroPastTheirRecordSize) {
  // 100-byte records: the numbers and 88 bytes of name, no summary length.
  std::vector<std::uint8_t> bytes = Header(100);
  for (const char* name : {"Old Tom", "Old Ann"}) {
    const std::size_t at = bytes.size();
    bytes.resize(at + 100, 0);
    PutI32(bytes, at + 0, 4);
    PutI32(bytes, at + 4, name[4] == 'T' ? 300 : 400);
    PutI32(bytes, at + 8, 1);
    std::memcpy(&bytes[at + 12], name, std::strlen(name));
  }
  ASSERT_TRUE(ranking.Load(dir_.Write("old.dat", bytes)));
  ASSERT_EQ(ranking.Count(), 2);
  EXPECT_EQ(ranking.EntryAt(0)->name, "Old Ann");
  EXPECT_EQ(ranking.EntryAt(0)->score, 400);
  EXPECT_EQ(ranking.EntryAt(1)->bosses, 1);
  EXPECT_EQ(ranking.EntryAt(1)->summary, "");

  // A name filling all 88 bytes it has is still terminated by the zeroes past the record.
  std::vector<std::uint8_t> full = Header(100);
  full.resize(104, 'x');
  PutI32(full, 4, 1);
  ASSERT_TRUE(ranking.Load(dir_.Write("full.dat", full)));
  EXPECT_EQ(ranking.EntryAt(0)->name, std::string(88, 'x'));

  // 8-byte records: dungeon and score only.
  std::vector<std::uint8_t> tiny = Header(8);
  tiny.resize(12);
  PutI32(tiny, 4, 5);
  PutI32(tiny, 8, 77);
  ASSERT_TRUE(ranking.Load(dir_.Write("tiny.dat", tiny)));
  ASSERT_EQ(ranking.Count(), 1);
  EXPECT_EQ(ranking.EntryAt(0)->score, 77);
  EXPECT_EQ(ranking.EntryAt(0)->bosses, 0);
  EXPECT_EQ(ranking.EntryAt(0)->name, "");
  EXPECT_EQ(DamageLines(), 0);
}

TEST_F(ScoreFileTest, MissingEmptyAndUnreadableFiles) {
  platform_.debugLines.clear();
  ranking.AddScore(1, 1, "stale", 0);
  EXPECT_FALSE(ranking.Load("scores_normal.dat"));
  EXPECT_EQ(ranking.Count(), 0);
  EXPECT_TRUE(platform_.debugLines.empty());

  ASSERT_TRUE(ranking.Load(dir_.Write("header.dat", Header(120))));
  EXPECT_EQ(ranking.Count(), 0);

  fs::create_directories(dir_.File("folder.dat"));
  EXPECT_FALSE(ranking.Load("folder.dat"));
  EXPECT_TRUE(testing::SawLine(platform_, "ERROR - ") &&
              testing::SawLine(platform_, "Error opening folder.dat"));
}

// Each damaged file loads the records before the damage and logs one line saying so.
TEST_F(ScoreFileTest, DamagedFilesKeepTheRecordsBeforeTheDamage) {
  std::vector<std::uint8_t> good = Header(120);
  AppendRecord(good, 900, "kept", "its summary");
  AppendRecord(good, 800, "also kept");

  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int kept;
  };
  std::vector<Case> cases;
  auto with = [&](auto add) {
    std::vector<std::uint8_t> bytes = good;
    add(bytes);
    return bytes;
  };
  cases.push_back({"three bytes", {0x78, 0, 0}, 0});
  cases.push_back({"empty file", {}, 0});
  for (std::uint32_t size : {0u, 121u, 0x80000000u}) {
    std::vector<std::uint8_t> bytes = good;
    PutI32(bytes, 0, size);
    cases.push_back({"record size", bytes, 0});
  }
  cases.push_back({"name without NUL", with([](auto& b) {
                     AppendRecord(b, 950, "");
                     std::memset(&b[b.size() - 121 + 12], 'z', 100);
                   }),
                   2});
  cases.push_back({"summary past the end", with([](auto& b) { AppendRecord(b, 950, "x", "short", 7); }), 2});
  for (std::int64_t length : {0x80000000ll, 0xFFFFFFFFll, 0x7FFFFFFFll, 65537ll}) {
    cases.push_back({"summary length",
                     with([&](auto& b) { AppendRecord(b, 950, "x", std::string(70000, 'y'), length); }), 2});
  }
  cases.push_back({"last record cut short", with([](auto& b) { b.resize(b.size() + 119, 0); }), 2});
  std::vector<std::uint8_t> ones = Header(1);
  ones.resize(4 + 1500, 7);
  cases.push_back({"endless one-byte records", ones, CRanking::kMaxFileRecords});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform_.debugLines.clear();
    EXPECT_FALSE(ranking.Load(dir_.Write("damaged.dat", c.bytes)));
    EXPECT_EQ(ranking.Count(), c.kept);
    EXPECT_EQ(DamageLines(), 1);
    if (c.kept == 2) {
      EXPECT_EQ(ranking.EntryAt(0)->summary, "its summary");
      EXPECT_EQ(ranking.EntryAt(1)->name, "also kept");
    }
  }
  // The next save writes what was kept as a sound file.
  ASSERT_TRUE(ranking.Save("damaged.dat", 12));
  EXPECT_TRUE(ranking.Load("damaged.dat"));
  EXPECT_EQ(ranking.Count(), 12);
}

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileWhole) {
  ranking.AddScore(100, 1, "old", 0);
  ASSERT_TRUE(ranking.Save("scores_normal.dat", 12));
  const std::vector<std::uint8_t> before = testing::ReadBytes(dir_.File("scores_normal.dat"));

  // The replacement cannot be written beside the file.
  fs::create_directories(dir_.File("scores_normal.dat.tmp"));
  ranking.AddScore(200, 1, "new", 0);
  EXPECT_FALSE(ranking.Save("scores_normal.dat", 12));
  EXPECT_EQ(testing::ReadBytes(dir_.File("scores_normal.dat")), before);
  EXPECT_TRUE(testing::SawLine(platform_, "Error opening scores_normal.dat for writing"));

  EXPECT_FALSE(ranking.Save("no/such/folder/scores.dat", 12));
  EXPECT_FALSE(fs::exists(dir_.File("no")));
}

}  // namespace
}  // namespace spellcrypt
