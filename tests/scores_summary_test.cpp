// The end-of-game summary's lines (which are wrapped, in what order, with what numbers), the
// validation key of a copied summary, and the meanings of a summary's strong words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/run_record.h"
#include "scores/game_summary.h"
#include "scores/strong_words.h"
#include "scores/validation_key.h"
#include "tests/test_support.h"
#include "words/string_list.h"

namespace spellcrypt {
namespace {

// Records each call: "L:" for a line as it is, "T:" for wrapped text.
class RecordedLines : public ISummaryLines {
 public:
  void AddLine(const std::string& text) override { calls.push_back("L:" + text); }
  void AddText(const std::string& text) override { calls.push_back("T:" + text); }
  std::vector<std::string> calls;
};

TEST(GameSummaryTest, OnScreenSummaryOfAPlayedGame) {
  RunRecord record;
  record.score = 12345678;
  record.dungeon = 7;
  record.bossesSlain = 2;
  record.monstersVanquished = 1000;
  record.oraclesSummoned = 3;
  // Five words of 3, 3, 4, 5 and 8 letters.
  record.wordsByLength[0] = 2;
  record.wordsByLength[1] = 1;
  record.wordsByLength[2] = 1;
  record.wordsByLength[5] = 1;
  record.totalWords = 5;
  record.totalLetters = 23;
  record.strongestDamage = 1500;
  StringList treasures, strongWords;
  treasures.Add("Dungeon 1 cleared.\r\nA silver comb.");
  treasures.Add("Dungeon 2 cleared.\r\nA cup of gold.");
  strongWords.Add("GRAPE");
  strongWords.Add("LANTERNS");

  RecordedLines lines;
  AppendGameSummary(lines, {record, treasures, strongWords, "Wizard", "Sunday, December 06 2026"}, false);
  const std::vector<std::string> expected = {
      "T:Score: 12,345,678",
      "L:Dungeon: 7",
      "L:Difficulty Mode: Wizard",
      "T:Date: Sunday, December 06 2026",
      "L:Bosses Slain: 2",
      "L:Monsters Vanquished: 1,000",
      "L:Oracles Summoned: 3",
      "L:",
      "L:- Word Statistics -",
      "L:",
      "T:3 letter words made: 2",
      "T:4 letter words made: 1",
      "T:5 letter words made: 1",
      "T:6 letter words made: 0",
      "T:7 letter words made: 0",
      "T:8 letter words made: 1",
      "L:",
      "L:Total words created: 5",
      "L:Average word length: 4",
      "T:Strongest Word: 1,500 damage",
      "L:",
      "L:- Treasures Found -",
      "L:",
      "T:Dungeon 1 cleared.\r\nA silver comb.",
      "T:Dungeon 2 cleared.\r\nA cup of gold.",
      "L:",
      "L:- strong words used -",
      "L:",
      "T:GRAPE",
      "T:LANTERNS",
  };
  EXPECT_EQ(lines.calls, expected);

  // Stored with a high score, the treasure section is left out and nothing else changes.
  RecordedLines stored;
  AppendGameSummary(stored, {record, treasures, strongWords, "Wizard", "Sunday, December 06 2026"}, true);
  std::vector<std::string> withoutTreasures = expected;
  withoutTreasures.erase(withoutTreasures.begin() + 21, withoutTreasures.begin() + 26);
  EXPECT_EQ(stored.calls, withoutTreasures);
}

TEST(GameSummaryTest, AGameWithoutWordsTreasuresOrDate) {
  RunRecord record;
  record.dungeon = 1;
  const StringList none;
  RecordedLines screen;
  AppendGameSummary(screen, {record, none, none, "Unknown", ""}, false);
  const std::vector<std::string> tail = {"L:Total words created: 0",   "L:Average word length: None",
                                         "T:Strongest Word: 0 damage", "L:",
                                         "L:No treasure found.",       "L:"};
  ASSERT_EQ(screen.calls.size(), 23u);
  EXPECT_EQ(screen.calls[0], "T:Score: 0");
  EXPECT_EQ(screen.calls[3], "T:Date: Unknown");
  EXPECT_EQ(std::vector<std::string>(screen.calls.end() - 6, screen.calls.end()), tail);

  // Stored, it ends with the empty line after the strongest word: no treasure line, no heading.
  RecordedLines stored;
  AppendGameSummary(stored, {record, none, none, "Unknown", ""}, true);
  EXPECT_EQ(stored.calls.size(), 21u);
  EXPECT_EQ(stored.calls.back(), "L:");
}

TEST(ValidationKeyTest, HashPlusThreeTimesTheLength) {
  EXPECT_EQ(ValidationKey(""), 0u);
  EXPECT_EQ(ValidationKey("abc"), 2052u);
  // Bytes above 0x7F enter sign-extended: "a" then 0xE9 hashes to 0xFFFFFE6D.
  EXPECT_EQ(ValidationKey("a\xE9"), 0xFFFFFE6Du + 6u);
  EXPECT_NE(ValidationKey("caf\xE9"), ValidationKey("cafe"));
  // The sum wraps at 2^32: 0xFF hashes to 0xFFFFFFFF.
  EXPECT_EQ(ValidationKey("\xFF"), 2u);
}

TEST(ValidationKeyTest, TheKeyLineFollowsAnEmptyLine) {
  EXPECT_EQ(SummaryWithKey("abc"), "abc\r\nValidation key: 2052\r\n");
  const std::string summary = "Score: 10\r\nDungeon: 1\r\n";
  const std::string copied = SummaryWithKey(summary);
  EXPECT_EQ(copied, summary + "\r\nValidation key: " + std::to_string(ValidationKey(summary)) + "\r\n");
  EXPECT_NE(ValidationKey(summary), ValidationKey("Score: 11\r\nDungeon: 1\r\n"));
}

// The summary screen's other page: each strong word in capitals, its senses under it, an inflected
// word with its base and a derived one with the word it comes from; words the file lacks say so.
TEST(GameSummaryTest, TheStrongWordsWithTheirMeanings) {
  testing::TempDir dir;
  const std::string path = dir.Path() + "/meanings.dat";
  Meaning mouse{"mouse", false, {PartOfSpeech::Noun, "any of numerous small rodents"}, std::nullopt};
  Meaning crowd{"crowd",
                false,
                {PartOfSpeech::Noun, "a large number of things or people considered together"},
                Sense{PartOfSpeech::Verb, "cause to herd, drive, or crowd together"}};
  Meaning packager{"package",
                   true,
                   {PartOfSpeech::Noun, "a collection of things wrapped or boxed together"},
                   std::nullopt};
  testing::WriteBytes(path, EncodeMeanings({{"crowds", crowd}, {"mice", mouse}, {"packager", packager}}));

  const std::string summary =
      "Score: 5\r\n\r\n- strong words used -\r\n\r\nCROWDS\r\nZYXWV\r\nPACKAGER\r\nMICE\r\n";
  MeaningsOnDemand meanings(path);
  RecordedLines out;
  AppendStrongWordMeanings(out, StrongWordsOf(summary), meanings);
  EXPECT_EQ(out.calls, (std::vector<std::string>{
                           "L:- meanings of the strong words -",
                           "L:",
                           "L:CROWDS",
                           "T:(crowd) noun: a large number of things or people considered together",
                           "T:verb: cause to herd, drive, or crowd together",
                           "L:",
                           "L:ZYXWV",
                           "T:(no meaning known)",
                           "L:",
                           "L:PACKAGER",
                           "T:(from package) noun: a collection of things wrapped or boxed together",
                           "L:",
                           "L:MICE",
                           "T:(mouse) noun: any of numerous small rodents",
                           "L:",
                       }));

  // A game without strong words, and a meanings file that cannot be read: a note, never a crash.
  RecordedLines none;
  AppendStrongWordMeanings(none, StrongWordsOf("Score: 5\r\n"), meanings);
  ASSERT_EQ(none.calls.size(), 3u);
  EXPECT_EQ(none.calls[2].rfind("T:No strong words in this game", 0), 0u);
  MeaningsOnDemand missing(dir.Path() + "/nothing.dat");
  RecordedLines unread;
  AppendStrongWordMeanings(unread, {"crowds"}, missing);
  EXPECT_EQ(unread.calls.back(), "T:The word meanings could not be read (data/meanings.dat).");
}

}  // namespace
}  // namespace spellcrypt
