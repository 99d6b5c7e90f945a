// The exchange with the score server: the submission's encoding and its check value, the game
// line both ways, and the replies the game reads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scores/ranking.h"
#include "scores/score_protocol.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// The check value added up the slow way: every byte after encoding plus its whole position.
std::uint32_t CheckOf(const std::vector<std::uint8_t>& encoded, std::uint32_t key) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < encoded.size(); ++i) sum += encoded[i] + i + key;
  return static_cast<std::uint32_t>(sum);
}

TEST(ScoreEncodingTest, GameLineIsEncodedInPlaceByteForByte) {
  const std::string line = GameLine(2, "Bo", 0, 1, 0);
  EXPECT_EQ(line, "2|Bo|0|1|0|");
  EXPECT_EQ(GameLine(1, "Ann", 4200, 7, 1), "1|Ann|4200|7|1|");

  // The key's low byte and the position move each byte; the buffer itself changes.
  std::vector<std::uint8_t> bytes = Bytes(line);
  const std::uint32_t key = 0x1234FF;  // low byte 0xFF: byte 0 becomes '2' + 0 + 0xFF + 2 = '3'
  const std::uint32_t check = EncodeForServer(bytes.data(), bytes.size(), key);
  ASSERT_EQ(bytes.size(), 11u);
  EXPECT_EQ(bytes[0], static_cast<std::uint8_t>('2' + 1));
  EXPECT_EQ(bytes[1], static_cast<std::uint8_t>('|' + 1 + 1));
  EXPECT_NE(bytes, Bytes(line));
  EXPECT_EQ(check, CheckOf(bytes, key));
}

TEST(ScoreEncodingTest, EncodedBytesMayBeNulAndTheLengthIsKept) {
  // A byte that encodes to 0: at position 0 with key 0, 254 + 0 + 0 + 2 = 256.
  std::vector<std::uint8_t> bytes = {254, 'a', 'b'};
  const std::uint32_t check = EncodeForServer(bytes.data(), bytes.size(), 0);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(check, CheckOf(bytes, 0));
  EXPECT_EQ(DecodeFromClient(bytes.data(), bytes.size(), 0), check);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{254, 'a', 'b'}));
}

TEST(ScoreEncodingTest, PositionsPast255WrapInTheByteButNotInTheCheckValue) {
  // At position 256 the byte gains 0 (256 mod 256) while the check value gains the whole 256.
  std::vector<std::uint8_t> bytes(300, 'x');
  const std::uint32_t key = kSubmissionKey;
  const std::uint32_t check = EncodeForServer(bytes.data(), bytes.size(), key);
  EXPECT_EQ(bytes[256], bytes[0]);
  EXPECT_EQ(bytes[257], bytes[1]);
  EXPECT_EQ(check, CheckOf(bytes, key));
  std::uint64_t wrappedSum = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) wrappedSum += bytes[i] + (i & 0xFF) + key;
  EXPECT_NE(check, static_cast<std::uint32_t>(wrappedSum));
}

TEST(ScoreEncodingTest, DecodingRestoresTheTextAndAnswersTheSameCheckValue) {
  std::string summary = "Score: 12,345\r\nDungeon: 7\r\n";
  for (int i = 0; i < 40; ++i) summary += "LANTERNS\r\n";
  for (const std::uint32_t key : {0u, 48879u, 0xFFFFFFFFu, kSubmissionKey}) {
    std::vector<std::uint8_t> bytes = Bytes(summary);
    const std::uint32_t sent = EncodeForServer(bytes.data(), bytes.size(), key);
    EXPECT_EQ(DecodeFromClient(bytes.data(), bytes.size(), key), sent) << key;
    EXPECT_EQ(bytes, Bytes(summary)) << key;
  }
  // The wrong key reads neither the text nor the check value.
  std::vector<std::uint8_t> bytes = Bytes(summary);
  const std::uint32_t sent = EncodeForServer(bytes.data(), bytes.size(), 48879);
  EXPECT_NE(DecodeFromClient(bytes.data(), bytes.size(), 48878), sent);
  EXPECT_NE(bytes, Bytes(summary));
}

TEST(GameLineTest, ReadsBackWhatTheGameSendsAndRejectsTheRest) {
  SubmittedGame game;
  ASSERT_TRUE(ParseGameLine(GameLine(1, "Ann", 4200, 7, 1), game));
  EXPECT_EQ(game.mode, 1);
  EXPECT_EQ(game.name, "Ann");
  EXPECT_EQ(game.score, 4200);
  EXPECT_EQ(game.dungeon, 7);
  EXPECT_EQ(game.bosses, 1);
  ASSERT_TRUE(ParseGameLine("0||0|1|0|", game));
  EXPECT_EQ(game.name, "");
  ASSERT_TRUE(ParseGameLine("2|O'Brien \"<b>\"; --|2147483647|25|25|", game));
  EXPECT_EQ(game.name, "O'Brien \"<b>\"; --");
  EXPECT_EQ(game.score, 2147483647);

  for (const char* bad :
       {"", "1|Ann|4200|7|1", "1|Ann|4200|7|1|x", "1|Ann|4200|7|1||", "1|A|nn|4200|7|1|", "3|Ann|4200|7|1|",
        "-1|Ann|4200|7|1|", "1|Ann|-5|7|1|", "1|Ann|4200|0|1|", "1|Ann|4200|26|1|", "1|Ann|4200|7|-1|",
        "1|Ann|4200|7|26|", "1|Ann|2147483648|7|1|", "1|Ann|42x|7|1|", "1|Ann| 42|7|1|", "1|Ann||7|1|",
        "1|Twenty characters!!!|1|7|1|", "1|Tab\there|1|7|1|", "1|caf\xC3\xA9|1|7|1|"}) {
    EXPECT_FALSE(ParseGameLine(bad, game)) << bad;
  }
  EXPECT_FALSE(ParseGameLine(std::string_view("1|A\0n|1|7|1|", 12), game));
  EXPECT_TRUE(ParseGameLine("1|Nineteen characters|1|7|1|", game));
}

class ScoreListsTest : public testing::HeadlessFixture {
 protected:
  ScoreListsTest() : HeadlessFixture(false) {}
  CRanking lists_[3];
  std::string message_ = "old";
};

TEST_F(ScoreListsTest, LinesGoToTheListTheirDiffPicked) {
  const std::string reply =
      "add|Early|10|1|0\n"  // before any DIFF: mode 0
      "DIFF|2\r\n"
      "add|Wiz|300|20|5\r\n"
      "DIFF|5\n"  // bad: the index stays 2
      "add|After|200|9|1\n"
      "Add|Ignored|1|1|1\n"
      "ADD|Ignored|1|1|1\n"
      "DIFF|1\n"
      "add|Ann|4200|7|1|extra\n"
      "msg|Welcome back\n"
      "DIFF|0\n"
      "add|Last|5|1|0";  // no LF after the last line
  EXPECT_TRUE(ParseScoreLists(reply, lists_, message_));
  EXPECT_EQ(message_, "Welcome back");
  ASSERT_EQ(lists_[0].Count(), 2);
  EXPECT_EQ(lists_[0].EntryAt(0)->name, "Early");
  EXPECT_EQ(lists_[0].EntryAt(1)->name, "Last");
  ASSERT_EQ(lists_[2].Count(), 2);
  EXPECT_EQ(lists_[2].EntryAt(0)->name, "Wiz");
  EXPECT_EQ(lists_[2].EntryAt(0)->score, 300);
  EXPECT_EQ(lists_[2].EntryAt(0)->dungeon, 20);
  EXPECT_EQ(lists_[2].EntryAt(0)->bosses, 5);
  EXPECT_EQ(lists_[2].EntryAt(1)->name, "After");
  ASSERT_EQ(lists_[1].Count(), 1);
  EXPECT_EQ(lists_[1].EntryAt(0)->score, 4200);
  EXPECT_TRUE(lists_[1].EntryAt(0)->summary.empty());
  EXPECT_EQ(testing::CountLines(platform_, "Bad data encountered while parsing internet scores"), 1);

  // A second reply replaces the lists.
  EXPECT_FALSE(ParseScoreLists("DIFF|1\nadd|Solo|1|1|0\n", lists_, message_));
  EXPECT_EQ(lists_[0].Count() + lists_[2].Count(), 0);
  EXPECT_EQ(lists_[1].Count(), 1);
  EXPECT_EQ(message_, "Welcome back");
}

TEST_F(ScoreListsTest, OddFieldsReadAsZeroOrAreCutToWhatARecordHolds) {
  const std::string longName(300, 'n');
  const std::string reply = "add|" + longName +
                            "|99999999999|-99999999999|x\n"
                            "add\n"
                            "add|Half|12abc| 7|+3\n" +
                            std::string("add|Nul\0name|1|1|1\n", 19) +
                            "msg|first\r\n"
                            "msg|\n";
  EXPECT_TRUE(ParseScoreLists(reply, lists_, message_));
  EXPECT_EQ(message_, "");  // an empty msg clears the message
  ASSERT_EQ(lists_[0].Count(), 4);
  const CScoreObject* cut = lists_[0].EntryAt(0);
  EXPECT_EQ(cut->name, std::string(99, 'n'));
  EXPECT_EQ(cut->score, 2147483647);
  EXPECT_EQ(cut->dungeon, -2147483647 - 1);
  EXPECT_EQ(cut->bosses, 0);
  const CScoreObject* empty = lists_[0].EntryAt(1);
  EXPECT_EQ(empty->name, "");
  EXPECT_EQ(empty->score + empty->dungeon + empty->bosses, 0);
  const CScoreObject* half = lists_[0].EntryAt(2);
  EXPECT_EQ(half->score, 12);
  EXPECT_EQ(half->dungeon, 7);
  EXPECT_EQ(half->bosses, 3);
  EXPECT_EQ(lists_[0].EntryAt(3)->name, "Nul");
}

TEST(SubmitReplyTest, TheLastMsgLineCountsAndNoneIsAnError) {
  EXPECT_EQ(
      SubmitReplyMessage("msg|one\nnoise\r\nmsg|Your score of 12,345 is #7 of the Normal rankings.\r\n"),
      "Your score of 12,345 is #7 of the Normal rankings.");
  EXPECT_EQ(SubmitReplyMessage("msg|no line end"), "no line end");
  EXPECT_EQ(SubmitReplyMessage(""), "Error!");
  EXPECT_EQ(SubmitReplyMessage("<html>502 Bad Gateway</html>\nMsg|not this\n"), "Error!");
}

}  // namespace
}  // namespace spellcrypt
