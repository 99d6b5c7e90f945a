// Whole games played by the bot through the real program, checked as a player would check them:
// the log holds no error, the score file and the summary agree with the run, the monsters met are
// the ones each dungeon may hold, and a game saved in the middle of a fight resumes that fight.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "base/text_util.h"
#include "tests/bot/bot.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

// The monsters by the first dungeon they may be met in; written out here from the design of the
// dungeons, apart from the game's table. (The Succubus never comes in Kidmode.)
const std::map<int, int> kFirstDungeon = {
    {0, 1},  {1, 1},  {2, 1},   {3, 2},   {4, 3},  {5, 4},   {6, 5},   {16, 6},
    {10, 7}, {12, 9}, {13, 11}, {15, 13}, {8, 15}, {14, 17}, {11, 19}, {9, 22},
};
// The bosses: two for each span of dungeons, and the Evil Dragon alone in the last.
bool BossBelongs(int index, int dungeon) {
  if (dungeon == 25) return index == 23;
  if (dungeon >= 4 && dungeon <= 7) return index == 17 || index == 18;
  if (dungeon >= 8 && dungeon <= 16) return index == 19 || index == 20;
  if (dungeon >= 17 && dungeon <= 24) return index == 21 || index == 22;
  return false;
}

struct ScoreRecord {
  int dungeon = -1;
  int score = -1;
  int bosses = -1;
  std::string name;
};
// The first record of a score file, read from its bytes.
ScoreRecord FirstRecord(const std::string& path) {
  ScoreRecord record;
  const std::vector<std::uint8_t> bytes = testing::ReadBytes(path);
  if (bytes.size() < 124) return record;
  auto i32 = [&](std::size_t at) {
    std::int32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  record.dungeon = i32(4);
  record.score = i32(8);
  record.bosses = i32(12);
  record.name.assign(reinterpret_cast<const char*>(bytes.data() + 16),
                     strnlen(reinterpret_cast<const char*>(bytes.data() + 16), 100));
  return record;
}

class BotGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LinkGameData(dir_.Path())) SKIP_UNLESS_CI("the generated pictures and data are not built");
  }

  BotGame Play(const BotPlan& plan, std::uint32_t seed) {
    BotGame game = PlayBotGame(plan, dir_.Path(), seed);
    EXPECT_EQ(game.exitCode, 0);
    EXPECT_TRUE(game.record.done) << "the bot was stuck in \"" << game.record.phase << "\"";
    EXPECT_EQ(game.log.find("ERROR"), std::string::npos) << game.log;
    // The bot spells only words the dictionary holds from letters on the rack: the game takes each.
    for (const std::string& refused : game.record.refused) ADD_FAILURE() << "refused: " << refused;
    return game;
  }

  // The monsters met, dungeon by dungeon, against what each dungeon may hold.
  static void CheckMonsters(const BotRecord& record, int mode) {
    std::map<int, std::vector<MonsterMet>> byDungeon;
    for (const MonsterMet& m : record.monsters) byDungeon[m.dungeon].push_back(m);
    // From the first dungeon (the fourth in Wizard) to the last reached, none skipped.
    ASSERT_FALSE(byDungeon.empty());
    EXPECT_EQ(byDungeon.begin()->first, mode == 2 ? 4 : 1);
    EXPECT_EQ(byDungeon.rbegin()->first, record.finalDungeon);
    EXPECT_EQ(static_cast<int>(byDungeon.size()), byDungeon.rbegin()->first - byDungeon.begin()->first + 1);
    for (const auto& [dungeon, met] : byDungeon) {
      int bosses = 0;
      std::set<int> left;
      for (const MonsterMet& m : met) {
        SCOPED_TRACE("dungeon " + std::to_string(dungeon) + ", monster " + std::to_string(m.index) +
                     " with " + std::to_string(m.monstersLeft) + " left");
        EXPECT_TRUE(left.insert(m.monstersLeft).second) << "met twice";
        EXPECT_GE(m.monstersLeft, 1);
        EXPECT_LE(m.monstersLeft, 6);
        if (m.boss) {
          ++bosses;
          EXPECT_TRUE(BossBelongs(m.index, dungeon));
          EXPECT_LE(m.monstersLeft, 2) << "bosses come at a dungeon's end";
        } else {
          const auto first = kFirstDungeon.find(m.index);
          ASSERT_NE(first, kFirstDungeon.end()) << "not an ordinary monster";
          EXPECT_GE(dungeon, first->second);
          if (mode == 0) {
            EXPECT_NE(m.index, 6) << "no Succubus in Kidmode";
          }
          EXPECT_FALSE(dungeon == 25 && m.monstersLeft == 1) << "the Evil Dragon ends the last dungeon";
        }
      }
      EXPECT_LE(bosses, 1);
      if (dungeon < 4) {
        EXPECT_EQ(bosses, 0);
      }
      if (dungeon == 25 && left.count(1) != 0) {
        EXPECT_EQ(bosses, 1);
      }
      // Every dungeon left behind was fought to its sixth monster.
      if (dungeon < record.finalDungeon) {
        EXPECT_EQ(met.size(), 6u) << "dungeon " << dungeon;
      }
    }
  }

  // The summary's first line, the score file's first record and the run all tell the same score.
  void CheckScores(const BotRecord& record, const char* file, const std::string& name) {
    ASSERT_FALSE(record.summary.empty());
    EXPECT_EQ(record.summary[0], "Score: " + FormatThousands(record.finalScore, 0));
    const auto dungeonLine = std::find(record.summary.begin(), record.summary.end(),
                                       "Dungeon: " + std::to_string(record.finalDungeon));
    EXPECT_NE(dungeonLine, record.summary.end());
    if (record.finalScore <= 0) return;
    const ScoreRecord stored = FirstRecord(dir_.File(file));
    EXPECT_EQ(stored.score, record.finalScore);
    EXPECT_EQ(stored.dungeon, record.finalDungeon);
    EXPECT_EQ(stored.bosses, record.finalBosses);
    EXPECT_EQ(stored.name, name);
    EXPECT_TRUE(record.highScoreRowSeen);
  }

  testing::TempDir dir_;
};

void Report(const char* what, const BotGame& game) {
  const BotRecord& r = game.record;
  std::printf(
      "%s: dungeon %d, score %d, %d casts, %d monsters, %d potions, %d oracles, %u s of play, %d frames\n",
      what, r.finalDungeon, r.finalScore, r.casts, static_cast<int>(r.monsters.size()), r.potions, r.oracles,
      game.virtualMs / 1000, game.frames);
}

// A player who finds only three-letter words and takes his time dies in the first dungeons.
TEST_F(BotGameTest, ASlowNormalPlayerFalls) {
  BotPlan plan;
  plan.difficulty = 1;
  plan.name = "Slow Bot";
  plan.maxLetters = 3;
  plan.thinkMs = 6000;
  const BotGame game = Play(plan, 11);
  Report("normal", game);
  const BotRecord& r = game.record;
  EXPECT_FALSE(r.won);
  EXPECT_GT(r.casts, 20);
  EXPECT_GE(r.finalDungeon, 2);
  CheckMonsters(r, 1);
  CheckScores(r, "scores_normal.dat", plan.name);
}

// Kidmode, played well, through all 25 dungeons to the Evil Dragon and the ending.
TEST_F(BotGameTest, AKidmodeGameIsWonThroughAllTwentyFiveDungeons) {
  BotPlan plan;
  plan.difficulty = 0;
  plan.name = "Kid Bot";
  plan.thinkMs = 1000;
  const BotGame game = Play(plan, 7);
  Report("kidmode", game);
  const BotRecord& r = game.record;
  EXPECT_TRUE(r.won);
  EXPECT_EQ(r.finalDungeon, 25);
  EXPECT_EQ(r.monsters.size(), 150u);
  ASSERT_FALSE(r.monsters.empty());
  EXPECT_EQ(r.monsters.back().index, 23) << "the Evil Dragon comes last";
  CheckMonsters(r, 0);
  CheckScores(r, "scores_easy.dat", plan.name);
  EXPECT_GT(r.finalBosses, 10);
}

// Wizard: the same bot as long as it lasts.
TEST_F(BotGameTest, AWizardGameIsPlayedToItsEnd) {
  BotPlan plan;
  plan.difficulty = 2;
  plan.name = "Wizard Bot";
  plan.thinkMs = 1500;
  const BotGame game = Play(plan, 23);
  Report("wizard", game);
  const BotRecord& r = game.record;
  EXPECT_GT(r.casts, 10);
  EXPECT_EQ(r.oracles, 0) << "no oracle tiles in Wizard";
  CheckMonsters(r, 2);
  CheckScores(r, "scores_hard.dat", plan.name);
}

// Quit with the game saved in the middle of a fight, a word half spelled; continued from the
// title, it is the same monster with the same life, and the game goes on to its end.
TEST_F(BotGameTest, AGameQuitInAFightIsContinuedInThatFight) {
  BotPlan plan;
  plan.difficulty = 1;
  plan.name = "Saver Bot";
  plan.quitAfterCasts = 9;
  plan.maxLetters = 3;
  plan.thinkMs = 6000;
  const BotGame game = Play(plan, 31);
  Report("saved and continued", game);
  const BotRecord& r = game.record;
  EXPECT_TRUE(r.saved);
  EXPECT_TRUE(r.resumedSameFight);
  EXPECT_FALSE(fs::exists(dir_.File("autosave.sav"))) << "the continued game's file is gone";
  CheckMonsters(r, 1);
  CheckScores(r, "scores_normal.dat", plan.name);
}

}  // namespace
}  // namespace spellcrypt
