// The player's hands on the board: clicks and keys moving tiles, the eight-letter limit, jumble,
// recalling the last word, and the oracle, potion and refresh tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

class ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadWords(words,
              {"stone", "notes", "tones", "onset", "stoned", "tone", "note", "ball", "all", "cat", "act"});
    rig = std::make_unique<GameRig>(words, 41);
    ASSERT_TRUE(rig->StartGame(1));
    rig->events.Forget();
  }
  void Click(BoardTile* tile) {
    ASSERT_NE(tile, nullptr);
    rig->game.ClickTile(tile->id);
  }
  std::string Rack() const { return rig->game.board.GetRackLetters(); }

  Dictionary words;
  std::unique_ptr<GameRig> rig;
};

TEST_F(ActionsTest, ClickingMovesATileUpAndAWordRowTileHomeClosingTheGap) {
  rig->SetRack("STONEX");
  for (int slot : {0, 1, 2, 3, 4}) Click(rig->RackTile(slot));
  EXPECT_EQ(rig->Word(), "STONE");
  EXPECT_EQ(rig->events.SoundCount("sound\\tile_move.wav"), 5);
  EXPECT_TRUE(rig->events.LastSubmit());

  Click(rig->WordTile(1));
  EXPECT_EQ(rig->Word(), "SONE");
  EXPECT_EQ(rig->RackTile(1)->letter, 'T');
  EXPECT_TRUE(rig->events.Played("sound\\tile_move_back.wav"));
  EXPECT_FALSE(rig->events.LastSubmit());

  // Backspace takes only the last letter.
  rig->game.HandleChar(vk::Backspace);
  EXPECT_EQ(rig->Word(), "SON");
  EXPECT_EQ(rig->RackTile(4)->letter, 'E');
  rig->game.HandleChar(vk::Backspace);
  rig->game.HandleChar(vk::Backspace);
  rig->game.HandleChar(vk::Backspace);
  rig->game.HandleChar(vk::Backspace);
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(Rack(), "STONEX");
}

TEST_F(ActionsTest, LowerCasePrefersTheNormalTileAndShiftTheBonusTile) {
  rig->SetRack("EEAA", {kTilePlus10, kTileNormal, kTileNormal, kTileDouble});
  rig->Type("e");
  EXPECT_EQ(rig->WordTile(0)->type, kTileNormal);
  rig->Type("E");
  EXPECT_EQ(rig->WordTile(1)->type, kTilePlus10);
  rig->Type("A");
  EXPECT_EQ(rig->WordTile(2)->type, kTileDouble);
  rig->Type("a");
  EXPECT_EQ(rig->WordTile(3)->type, kTileNormal);
  // Only bonus tiles left: lower case takes them too; a letter not there does nothing.
  rig->SetRack("E", {kTilePlus20});
  rig->Type("ez");
  EXPECT_EQ(rig->Word(), "E");
}

TEST_F(ActionsTest, TheNinthLetterIsTooDangerous) {
  rig->SetRack("ABCDEFGHIJ");
  rig->Type("abcdefgh");
  EXPECT_EQ(rig->Word(), "ABCDEFGH");
  rig->events.Forget();
  rig->Type("i");
  EXPECT_EQ(rig->Word(), "ABCDEFGH");
  EXPECT_EQ(rig->events.LastMessage(), "Anything more than eight letters would be too\ndangerous a spell!");
  EXPECT_EQ(rig->events.SoundCount("sound\\bad_word.wav"), 1);
  Click(rig->RackTile(9));
  EXPECT_EQ(rig->Word(), "ABCDEFGH");
  EXPECT_EQ(rig->events.SoundCount("sound\\bad_word.wav"), 2);
}

TEST_F(ActionsTest, EscapeEmptiesTheWordRowElseAsksToQuitAndF1AsksForHelp) {
  rig->SetRack("CAT");
  rig->Type("cat");
  EXPECT_EQ(rig->game.HandleKeyDown(vk::Escape), BoardKey::None);
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(Rack(), "CAT");
  EXPECT_EQ(rig->game.HandleKeyDown(vk::Escape), BoardKey::PressQuit);
  EXPECT_EQ(rig->game.HandleKeyDown(vk::F1), BoardKey::PressHelp);
  EXPECT_EQ(rig->game.HandleKeyDown(vk::Left), BoardKey::None);
}

TEST_F(ActionsTest, JumbleShufflesLettersAndPutsActionTilesBehindThem) {
  std::map<std::string, int> orders;
  for (int round = 0; round < 400; ++round) {
    rig->SetRack("AB CD E", {0, 0, kTileOracle, 0, kTilePotion, kTileRefresh, 0});
    // A gap in the rack, closed by the jumble.
    rig->game.board.MoveTileToUpper(rig->RackTile(1));
    rig->game.board.RemoveTile(rig->WordTile(0), TileExit{});
    rig->events.Forget();
    rig->Type(" ");
    EXPECT_TRUE(rig->events.Played("sound\\click.wav"));
    EXPECT_EQ(rig->events.LastMessage(), "Tiles re-arranged!");
    std::string order;
    for (int slot = 0; slot < 6; ++slot) {
      const BoardTile* tile = rig->RackTile(slot);
      ASSERT_NE(tile, nullptr);
      ASSERT_EQ(tile->lowerSlot, slot);
      order.push_back(IsActionTile(tile->type) ? '*' : tile->letter);
    }
    ASSERT_EQ(order.substr(3), "***") << order;
    std::string letters = order.substr(0, 3);
    std::sort(letters.begin(), letters.end());
    ASSERT_EQ(letters, "ACE");
    ++orders[order];
  }
  EXPECT_EQ(orders.size(), 6u);  // every order of the three letters comes

  // An empty rack: nothing to shuffle, nothing said.
  rig->SetRack("");
  rig->events.Forget();
  rig->game.JumbleTiles();
  EXPECT_TRUE(rig->events.messages.empty());
}

TEST_F(ActionsTest, RecallPutsTheLastWordBackEvenWithALetterShort) {
  rig->Type("1");
  EXPECT_EQ(rig->events.SoundCount("sound\\bad_word.wav"), 1);

  rig->SetRack("BALLX");
  rig->Type("ball");
  rig->game.HandleChar(vk::Enter);
  ASSERT_EQ(rig->game.player.usedWords.Last(), "ball");
  // One L is gone: the other letters come up and the missing one is skipped.
  rig->SetRack("XLAB");
  rig->Type("x");
  rig->Type("~");
  EXPECT_EQ(rig->Word(), "BAL");
  EXPECT_EQ(rig->log.Count("GetLowerTileByLetter failed!"), 1);
  EXPECT_EQ(rig->log.Count("MoveTileToUpper got a null"), 1);

  // A letter missing altogether: nothing moves.
  rig->SetRack("XAL");
  rig->Type("x");
  rig->Type("1");
  EXPECT_EQ(rig->Word(), "X");
}

TEST_F(ActionsTest, TheOracleSpellsTheLongestWordButLeavesTheCastToThePlayer) {
  rig->SetRack("XDENOTS ", {0, 0, 0, 0, 0, 0, 0, kTileOracle});
  rig->Type("xd");
  const int oracle = rig->RackTile(7)->id;
  rig->events.Forget();
  rig->game.HandleChar(vk::Tab);
  EXPECT_TRUE(rig->events.Played("sound\\oracle.ogg"));
  EXPECT_EQ(rig->Word(), "STONED");
  EXPECT_STREQ(rig->game.player.record.oracleWord, "STONED");
  EXPECT_EQ(rig->game.player.record.oraclesSummoned, 1);
  EXPECT_TRUE(rig->events.LastSubmit());
  ASSERT_EQ(rig->events.retired.size(), 1u);
  EXPECT_EQ(rig->events.retired[0].id, oracle);
  EXPECT_FLOAT_EQ(rig->events.retired[0].exit.shrinkRate, 0.01f);
  EXPECT_EQ(rig->events.retired[0].exit.deleteAfterMs, 1000u);
  EXPECT_FLOAT_EQ(rig->events.moves.back().speed, 0.02f);
  EXPECT_EQ(rig->game.player.usedWords.Count(), 0);

  // Cast, it is not a strong word; a used word is never offered again.
  rig->game.HandleChar(vk::Enter);
  EXPECT_TRUE(rig->game.player.usedWords.Contains("stoned"));
  EXPECT_EQ(rig->game.player.strongWords.Count(), 0);
  rig->SetRack("DENOTS ", {0, 0, 0, 0, 0, 0, kTileOracle});
  rig->game.HandleChar(vk::Tab);
  EXPECT_EQ(rig->Word().size(), 5u);
}

TEST_F(ActionsTest, AFailedOracleSummonsFourTilesAndIsUsedUpAllTheSame) {
  rig->SetRack("XQZ ", {0, 0, 0, kTileOracle});
  rig->events.Forget();
  Click(rig->RackTile(3));
  EXPECT_EQ(rig->events.LastMessage(), "The Oracle has failed!\r\nIt has summoned more tiles!");
  EXPECT_EQ(rig->events.added.size(), 4u);
  EXPECT_EQ(rig->game.board.CountAll(), 3 + 4);
  EXPECT_EQ(rig->game.player.record.oraclesSummoned, 1);

  // With room for two only, two come.
  rig->SetRack("XQZXQZXQZXQZX ", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kTileOracle});
  rig->events.Forget();
  rig->Type("\t");
  EXPECT_EQ(rig->events.added.size(), 2u);
  EXPECT_EQ(rig->log.Count("Out of tile room"), 2);
  EXPECT_EQ(rig->game.board.CountAll(), 15);
  EXPECT_EQ(rig->game.player.record.oraclesSummoned, 2);

  rig->Type("\t");
  EXPECT_EQ(rig->events.LastMessage(), "Cast failed, you don't have an Oracle tile!");
}

TEST_F(ActionsTest, WithoutAFightingMonsterOracleAndRefreshOnlyRefuse) {
  rig->SetRack("AB  ", {0, 0, kTileOracle, kTileRefresh});
  rig->game.monster.state = kMonsterDead;
  rig->events.Forget();
  Click(rig->RackTile(2));
  Click(rig->RackTile(3));
  EXPECT_EQ(rig->events.sounds, (std::vector<std::string>{"sound\\bad_word.wav", "sound\\bad_word.wav"}));
  EXPECT_EQ(rig->game.board.CountAll(), 4);
  EXPECT_EQ(rig->game.player.record.oraclesSummoned, 0);
  // The potion needs no monster.
  rig->SetRack(" ", {kTilePotion});
  rig->game.player.record.life = 3;
  Click(rig->RackTile(0));
  EXPECT_EQ(rig->game.player.record.life, 8);
  EXPECT_EQ(rig->events.LastMessage(), "You drink a potion: +5 life.");
  // Near full life it says what it really gave.
  rig->SetRack(" ", {kTilePotion});
  rig->game.player.record.life = rig->game.player.record.maxLife - 2;
  Click(rig->RackTile(0));
  EXPECT_EQ(rig->events.LastMessage(), "You drink a potion: +2 life.");
}

TEST_F(ActionsTest, RefreshSendsTheDealtTilesAwayAndDealsEightNew) {
  rig->SetRack("STONXE  ",
               {0, kTilePlus10, 0, kTileDealtTriple, kTileDealtDouble, 0, kTilePotion, kTileRefresh});
  rig->Type("se");  // one in the word row
  rig->game.player.weights.Clear();
  const int refresh = rig->RackTile(7)->id;
  rig->events.Forget();
  Click(rig->RackTile(7));
  EXPECT_EQ(rig->game.player.weights.Count(), 26);  // reloaded
  EXPECT_EQ(rig->events.sounds, (std::vector<std::string>{"sound\\health.wav", "sound\\spell1.wav"}));
  ASSERT_EQ(rig->events.retired.size(), 6u);
  EXPECT_EQ(rig->events.retired[0].id, refresh);
  EXPECT_EQ(rig->events.retired[0].exit.deleteAfterMs, 1200u);
  for (std::size_t i = 1; i < 6; ++i) {
    EXPECT_TRUE(rig->events.retired[i].exit.flyUp);
    EXPECT_FLOAT_EQ(rig->events.retired[i].exit.shrinkTo, 0.05f);
    EXPECT_EQ(rig->events.retired[i].exit.deleteAfterMs, 2000u);
  }
  // The +10 T and the potion stay, in the rack.
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(rig->game.board.CountAll(), 2);
  EXPECT_EQ(rig->RackTile(1)->type, kTilePlus10);
  EXPECT_EQ(rig->RackTile(6)->type, kTilePotion);
  EXPECT_FALSE(rig->game.CanLeave());

  ASSERT_TRUE(rig->RunUntil([&] { return rig->game.board.pendingDeal == 0; }, 2000));
  EXPECT_EQ(rig->game.board.CountAll(), 10);
  EXPECT_EQ(rig->events.added.size(), 8u);
  EXPECT_EQ(rig->events.shown.size(), 0u);  // the monster in front stays
  EXPECT_TRUE(rig->game.CanLeave());
}

TEST_F(ActionsTest, ARefreshDealEndingAfterAKillCallsNoExtraMonster) {
  rig->SetRack("CAT ", {0, 0, 0, kTileRefresh});
  MonsterRecord& m = rig->game.monster.record;
  m = MonsterType(kRat);
  m.life = m.maxLife = 1;
  Click(rig->RackTile(3));
  // The new tiles are being dealt when the rat dies.
  rig->Frame();
  rig->Frame();
  rig->SetRack("CAT");
  rig->game.board.pendingDeal = 6;
  rig->Type("cat");
  rig->game.HandleChar(vk::Enter);
  ASSERT_EQ(rig->game.monster.record.life, 0);
  rig->events.Forget();
  ASSERT_TRUE(rig->RunUntil([&] { return rig->game.player.record.monstersLeft == 5; }, 2000));
  ASSERT_TRUE(rig->RunUntil([&] { return rig->game.board.pendingDeal == 0; }, 2000));
  EXPECT_TRUE(rig->events.shown.empty());
  // The next monster comes with the death sequence's own message, alone.
  ASSERT_TRUE(rig->RunUntil([&] { return !rig->events.shown.empty(); }, 4000));
  rig->Run(3000);
  EXPECT_EQ(rig->events.shown.size(), 1u);
  EXPECT_EQ(rig->game.player.record.monstersLeft, 5);
}

}  // namespace
}  // namespace spellcrypt
