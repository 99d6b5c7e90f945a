// The player: a new run by difficulty, healing and hurting, the low-life warning, the poison key,
// and the fall: its message and sound, the board emptied, the end of the game three seconds later,
// and nothing the dead can still do.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/keys.h"
#include "game/monster_table.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"

namespace spellcrypt {
namespace {

using testing::GameRig;
using testing::LoadWords;

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadWords(words, {"cat", "tab", "bat"});
    rig = std::make_unique<GameRig>(words, 31);
    ASSERT_TRUE(rig->StartGame(1));
    rig->events.Forget();
  }
  // Mr Bomb strikes every 700 ms.
  void FaceBomb() {
    MonsterRecord& m = rig->game.monster.record;
    m = MonsterType(kMrBomb);
    m.life = m.maxLife = 1000;
    rig->game.monster.attackTimer.SetInterval(700);
  }
  int Life() const { return rig->game.player.record.life; }

  Dictionary words;
  std::unique_ptr<GameRig> rig;
};

TEST_F(PlayerTest, ANewRunStartsOverByDifficulty) {
  PlayerRun& player = rig->game.player;
  player.record.score = 5000;
  player.record.totalWords = 9;
  player.record.staffFraction = 0.5f;
  player.usedWords.Add("cat");
  player.strongWords.Add("stone");
  player.treasures.Add("You find a shiny goblet.");
  player.carried.push_back(BoardTile{});
  player.dead = true;
  struct Case {
    int mode, life, dungeon;
  };
  for (const Case& c : {Case{0, 25, 1}, Case{1, 15, 1}, Case{2, 15, 4}}) {
    rig->game.NewRun(c.mode);
    EXPECT_EQ(rig->game.Difficulty(), c.mode);
    EXPECT_EQ(player.record.life, c.life);
    EXPECT_EQ(player.record.maxLife, c.life);
    EXPECT_EQ(player.record.dungeon, c.dungeon);
    EXPECT_EQ(player.record.monstersLeft, 6);
    EXPECT_EQ(player.record.score, 0);
    EXPECT_EQ(player.record.totalWords, 0);
    EXPECT_EQ(player.record.staffFraction, 0.0f);
    EXPECT_EQ(player.usedWords.Count() + player.strongWords.Count() + player.treasures.Count(), 0);
    EXPECT_EQ(player.weights.Count(), 0);
    EXPECT_TRUE(player.carried.empty());
    EXPECT_FALSE(player.dead);
  }
  rig->game.NewRun(7);
  EXPECT_EQ(rig->game.Difficulty(), 1);
}

TEST_F(PlayerTest, LifeStaysWithinItsBarAndTheDeadCannotBeHealed) {
  PlayerRun& player = rig->game.player;
  EXPECT_FALSE(player.Heal(3));  // already full
  EXPECT_EQ(Life(), 15);
  EXPECT_TRUE(player.Hurt(20));
  EXPECT_EQ(Life(), 0);
  EXPECT_FALSE(player.Heal(7));
  EXPECT_EQ(Life(), 0);
  EXPECT_FALSE(player.Hurt(1));
  EXPECT_EQ(Life(), 0);
  EXPECT_FALSE(player.IsAlive());
}

TEST_F(PlayerTest, TheWarningSoundsBelowEighteenHundredthsOfTheBarAndStopsAboveIt) {
  FaceBomb();
  rig->game.player.record.life = 4;
  ASSERT_TRUE(rig->RunUntil([&] { return Life() == 3; }, 1000));
  rig->Frame();
  EXPECT_TRUE(rig->events.lowLife.empty());  // 3 is above 2.7
  ASSERT_TRUE(rig->RunUntil([&] { return Life() == 2; }, 1000));
  EXPECT_EQ(rig->events.lowLife, std::vector<bool>{true});
  rig->game.monster.attackTimer.SetInterval(100000);

  // The potion key drinks the first potion: 7 of 15, and the warning stops with the next update.
  rig->SetRack("A  ", {kTileNormal, kTileOracle, kTilePotion});
  const int potion = rig->RackTile(2)->id;
  rig->Type("2");
  EXPECT_EQ(Life(), 7);
  EXPECT_TRUE(rig->events.Played("sound\\health.wav"));
  ASSERT_FALSE(rig->events.retired.empty());
  EXPECT_EQ(rig->events.retired.back().id, potion);
  EXPECT_EQ(rig->events.retired.back().exit.deleteAfterMs, 1000u);
  EXPECT_EQ(rig->RackTile(2), nullptr);
  rig->Frame();
  EXPECT_EQ(rig->events.lowLife, (std::vector<bool>{true, false}));

  // Without a potion the key says so.
  rig->Type("`");
  EXPECT_EQ(rig->events.LastMessage(), "You don't have a health potion to drink!");
  EXPECT_EQ(Life(), 7);
}

TEST_F(PlayerTest, ThePoisonKeyCostsTenLifeEvenWithoutAnEightOnTheBoard) {
  rig->SetRack("CAT");
  rig->Type("8");  // without -DEBUG: nothing
  EXPECT_EQ(Life(), 15);
  EXPECT_EQ(rig->events.LastMessage(), "");
  rig->game.allowCheats = true;
  rig->Type("8");
  EXPECT_EQ(Life(), 5);
  EXPECT_EQ(rig->events.LastMessage(), "You drink some poison!");
  EXPECT_EQ(rig->Word(), "");
}

TEST_F(PlayerTest, TheFallEndsTheGameThreeSecondsLaterAndTheDeadDoNothing) {
  rig->SetRack("CATB ", {0, 0, 0, 0, kTilePotion});
  rig->Type("ca");
  FaceBomb();
  rig->game.player.record.life = 3;
  ASSERT_TRUE(rig->RunUntil([&] { return Life() == 0; }, 5000));
  EXPECT_EQ(rig->events.lowLife, std::vector<bool>{true});

  // Nothing answers between the last blow and the fall.
  rig->events.Forget();
  rig->Type("t");
  rig->game.HandleChar(vk::Enter);
  rig->game.ClickTile(rig->RackTile(3)->id);
  rig->game.JumbleTiles();
  rig->game.NextEncounter();
  rig->Type("2");
  EXPECT_EQ(rig->Word(), "CA");
  EXPECT_TRUE(rig->events.sounds.empty());
  EXPECT_TRUE(rig->events.messages.empty());
  EXPECT_TRUE(rig->events.shown.empty());

  ASSERT_TRUE(rig->RunUntil([&] { return rig->game.player.dead; }, 3000));
  const std::uint32_t fellAt = rig->clock.Ms();
  EXPECT_EQ(rig->events.LastMessage(), "You fall to the ground...");
  EXPECT_EQ(rig->events.messages.back().style, MessageStyle::Highlighted);
  EXPECT_TRUE(rig->events.Played("sound\\die.ogg"));
  EXPECT_GE(rig->events.musicStops, 1);
  EXPECT_EQ(rig->events.lowLife, std::vector<bool>{false});
  ASSERT_EQ(rig->events.retired.size(), 5u);
  for (const auto& gone : rig->events.retired) EXPECT_EQ(gone.exit.deleteAfterMs, 600u);
  EXPECT_EQ(rig->game.board.CountAll(), 0);
  EXPECT_FALSE(rig->game.CanLeave());

  // The monster strikes no more; the game ends 3000 ms after the fall, once.
  const int attacks = rig->events.SoundCount("sound\\skeleton_attack.wav");
  rig->Run(2985 - GameRig::kFrameMs);
  EXPECT_TRUE(rig->events.gameOvers.empty());
  rig->Run(2 * GameRig::kFrameMs);
  ASSERT_EQ(rig->events.gameOvers.size(), 1u);
  EXPECT_GE(rig->events.gameOvers[0] - fellAt, 3000u);
  rig->Run(5000);
  EXPECT_EQ(rig->events.gameOvers.size(), 1u);
  EXPECT_EQ(rig->events.SoundCount("sound\\skeleton_attack.wav"), attacks);

  // A kill's messages arriving now meet nobody and bring nothing; a potion heals nobody.
  rig->events.Forget();
  rig->game.NextEncounter();
  rig->game.AddRewardTile();
  rig->game.board.StartDeal();
  rig->Run(2000);
  EXPECT_TRUE(rig->events.shown.empty());
  EXPECT_TRUE(rig->events.added.empty());
  EXPECT_FALSE(rig->game.cleared);
  EXPECT_FALSE(rig->game.player.Heal(5));
}

}  // namespace
}  // namespace spellcrypt
