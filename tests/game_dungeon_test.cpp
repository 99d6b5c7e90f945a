// Dungeons: whole dungeons played with the rules alone (deal, casts, kills, rewards, the next
// monster, the clear and the next dungeon, to the win), the tiles kept at a dungeon's end by
// difficulty and carried over, the scenery and the map, and the book with its pages.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "game/dungeon.h"
#include "game/monster_table.h"
#include "game/run_record.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

using testing::GameRig;
using testing::GameWordList;

#define REQUIRE_WORD_LIST(list)                                   \
  Dictionary* list = GameWordList();                              \
  if (list == nullptr) {                                          \
    SKIP_UNLESS_CI("the generated word list has not been built"); \
  }

TEST(DungeonPlayTest, ADungeonOfSixFightsIsClearedAndTheNextOneEntered) {
  REQUIRE_WORD_LIST(words);
  GameRig rig(*words, 2024);
  ASSERT_TRUE(rig.StartGame(1));
  ASSERT_TRUE(rig.PlayUntil([&] { return rig.game.cleared; }, 240000));
  const std::uint32_t clearedAt = rig.clock.Ms();
  EXPECT_EQ(rig.events.shown.size(), 6u);
  EXPECT_EQ(rig.events.dead.size(), 6u);
  EXPECT_EQ(rig.game.player.record.monstersVanquished, 6);
  EXPECT_EQ(rig.game.player.record.monstersLeft, 0);
  EXPECT_GT(rig.game.player.record.score, 0);
  ASSERT_EQ(rig.game.player.treasures.Count(), 1);
  // The treasures list keeps the whole message, which the summary prints.
  const std::string cleared = rig.game.player.treasures[0];
  EXPECT_EQ(cleared.rfind("Dungeon 1 cleared.\r\n", 0), 0u) << cleared;
  EXPECT_GT(cleared.size(), std::string("Dungeon 1 cleared.\r\n").size());
  ASSERT_FALSE(rig.events.messages.empty());
  EXPECT_EQ(rig.events.messages.back().text, cleared);
  EXPECT_EQ(rig.events.messages.back().style, MessageStyle::Timed);
  EXPECT_EQ(rig.events.messages.back().ms, 4500u);
  EXPECT_TRUE(rig.events.Played("sound\\complete.ogg"));
  EXPECT_EQ(rig.events.playerBars.back(), false);
  EXPECT_FALSE(rig.game.CanLeave());

  ASSERT_TRUE(rig.RunUntil([&] { return !rig.events.left.empty(); }, 6000));
  EXPECT_GE(rig.clock.Ms() - clearedAt, Game::kClearedMs);
  EXPECT_EQ(rig.events.left[0], std::make_pair(1, false));
  EXPECT_EQ(rig.game.player.record.dungeon, 2);
  EXPECT_EQ(rig.game.player.record.monstersLeft, 6);

  // The map's continue: the second dungeon is entered with no word used yet.
  ASSERT_TRUE(rig.WaitForMonster());
  EXPECT_EQ(rig.events.entering, (std::vector<int>{1, 2}));
  EXPECT_EQ(rig.game.player.usedWords.Count(), 0);
  EXPECT_EQ(rig.events.shown.size(), 7u);
}

TEST(DungeonPlayTest, AWholeGameCanBeWonWithTheRulesAlone) {
  REQUIRE_WORD_LIST(words);
  for (int mode : {1, 2}) {
    GameRig rig(*words, 77 + static_cast<std::uint32_t>(mode));
    rig.choosePage = [](int left, int right) { return left == kPageCurse ? right : left; };
    ASSERT_TRUE(rig.StartGame(mode));
    ASSERT_TRUE(rig.PlayUntil([&] { return rig.won; }, 3600000))
        << "mode " << mode << ": fell in dungeon " << rig.game.player.record.dungeon;
    std::vector<int> expected;
    for (int d = mode == 2 ? 4 : 1; d <= 25; ++d) expected.push_back(d);
    EXPECT_EQ(rig.events.entering, expected);
    ASSERT_FALSE(rig.events.left.empty());
    EXPECT_EQ(rig.events.left.back(), std::make_pair(25, true));
    EXPECT_EQ(rig.events.left.size(), expected.size());
    EXPECT_TRUE(rig.events.gameOvers.empty());
    const RunRecord& run = rig.game.player.record;
    EXPECT_EQ(run.monstersVanquished, 6 * static_cast<int>(expected.size()));
    EXPECT_GE(run.bossesSlain, 1);
    EXPECT_EQ(rig.events.shown.back().index, kEvilDragon);
    EXPECT_FALSE(rig.pagesTaken.empty());
    EXPECT_EQ(rig.game.player.treasures.Count(), static_cast<int>(expected.size()));
    EXPECT_EQ(rig.game.player.treasures.Strings().back(), "Dungeon 25 cleared.\r\nYou've killed everything!");
    EXPECT_TRUE(rig.game.player.carried.empty());
    EXPECT_GT(run.totalWords, 0);
    EXPECT_GT(run.score, 0);
    if (mode == 2) {
      for (const auto& t : rig.events.added) EXPECT_NE(t.tile.type, kTileOracle);
    }
  }
}

struct KeptCase {
  int mode;
  std::vector<int> keptSlots;  // rack slots still holding a tile when the next dungeon is dealt
};

class DungeonEndTest : public ::testing::TestWithParam<KeptCase> {
 protected:
  Dictionary words;
};

TEST_P(DungeonEndTest, NormalTilesGoAndSpecialTilesStayByDifficultyThenComeBackAtTheirSlots) {
  const KeptCase& c = GetParam();
  GameRig rig(words, 9);
  ASSERT_TRUE(rig.StartGame(c.mode));
  const int dungeon = rig.game.player.record.dungeon;
  // Slots: 0 A normal, 1 oracle, 2 B +10, 3 C x3 dealt, 4 oracle, 5 potion, 6 D x2, 7 oracle,
  // 8 refresh, 9 E normal; the +10 B waits in the word row.
  rig.SetRack("A BC  D  E", {kTileNormal, kTileOracle, kTilePlus10, kTileDealtTriple, kTileOracle,
                             kTilePotion, kTileDouble, kTileOracle, kTileRefresh, kTileNormal});
  rig.Type("B");
  ASSERT_EQ(rig.Word(), "B");
  rig.game.player.record.monstersLeft = 0;
  rig.game.monster.state = kMonsterDead;

  // Each tile by its rack slot (its home, for the one in the word row).
  std::map<int, int> slotOf;
  slotOf[rig.WordTile(0)->id] = 2;
  for (int slot = 0; slot < 10; ++slot) {
    if (const BoardTile* t = rig.RackTile(slot)) slotOf[t->id] = slot;
  }
  rig.events.Forget();
  rig.game.NextEncounter();
  ASSERT_TRUE(rig.game.cleared);
  std::map<int, std::uint32_t> goneAfter;
  for (const auto& gone : rig.events.retired) goneAfter[slotOf.at(gone.id)] = gone.exit.deleteAfterMs;
  // The dealt letters leave first, after 2000 ms (the x3 C is a dealt tile too).
  EXPECT_EQ(goneAfter[0], 2000u);
  EXPECT_EQ(goneAfter[3], 2000u);
  EXPECT_EQ(goneAfter[9], 2000u);
  for (int slot : {1, 2, 4, 5, 6, 7, 8}) {
    const bool kept = std::find(c.keptSlots.begin(), c.keptSlots.end(), slot) != c.keptSlots.end();
    EXPECT_EQ(goneAfter.count(slot) == 0, kept) << "slot " << slot;
    if (!kept && c.mode == 2) {
      EXPECT_EQ(goneAfter[slot], 600u) << "slot " << slot;
    }
    if (!kept && c.mode != 2) {
      EXPECT_EQ(goneAfter[slot], 1000u) << "slot " << slot;
    }
  }

  // When the message ends the kept tiles are carried over; the map leads into the next dungeon.
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.events.left.empty(); }, 6000));
  EXPECT_EQ(rig.events.left[0], std::make_pair(dungeon, false));
  EXPECT_EQ(rig.events.carried.size(), c.keptSlots.size());
  std::vector<int> carriedSlots;
  for (const BoardTile& t : rig.game.player.carried) carriedSlots.push_back(t.lowerSlot);
  EXPECT_EQ(carriedSlots, c.keptSlots);
  EXPECT_EQ(rig.game.board.CountAll(), 0);

  ASSERT_TRUE(rig.WaitForMonster());
  EXPECT_TRUE(rig.game.player.carried.empty());
  EXPECT_EQ(rig.game.board.CountAll(), static_cast<int>(c.keptSlots.size()) + 8);
  for (int slot : c.keptSlots) {
    const BoardTile* t = rig.RackTile(slot);
    ASSERT_NE(t, nullptr) << slot;
    EXPECT_TRUE(IsSpecialTile(t->type));
  }
  if (!c.keptSlots.empty()) {
    EXPECT_EQ(rig.RackTile(2)->letter, 'B');
  }
}

INSTANTIATE_TEST_SUITE_P(ByDifficulty, DungeonEndTest,
                         ::testing::Values(KeptCase{0, {1, 2, 4, 5, 6, 8}}, KeptCase{1, {1, 2, 5, 6, 8}},
                                           KeptCase{2, {}}));

TEST(DungeonEndLastTest, TheLastDungeonClearedWinsTheGame) {
  Dictionary words;
  GameRig rig(words, 4);
  ASSERT_TRUE(rig.StartGame(1));
  rig.SetRack(" ", {kTileOracle});
  rig.game.player.SetDungeon(25);
  rig.game.player.record.monstersLeft = 0;
  rig.game.monster.state = kMonsterDead;
  rig.game.NextEncounter();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.events.left.empty(); }, 6000));
  EXPECT_EQ(rig.events.left.back(), std::make_pair(25, true));
  EXPECT_TRUE(rig.won);
  EXPECT_TRUE(rig.game.player.carried.empty());
  EXPECT_EQ(rig.game.player.record.dungeon, 25);
  rig.Run(3000);
  EXPECT_EQ(rig.events.entering, std::vector<int>{1});
}

TEST(SceneryTest, EachDungeonHasItsBackgroundAndFires) {
  const std::map<int, int> backgrounds = {{1, 5},  {3, 5},  {4, 2},  {6, 2},  {7, 3},  {9, 3},
                                          {10, 4}, {12, 4}, {13, 5}, {16, 5}, {17, 6}, {20, 6},
                                          {21, 7}, {24, 7}, {25, 8}, {27, 8}, {28, 5}, {0, 5}};
  for (const auto& [dungeon, background] : backgrounds) {
    const DungeonScenery s = SceneryFor(dungeon);
    EXPECT_EQ(s.background, background) << dungeon;
    EXPECT_EQ(s.image, "graphics\\dungeon\\dungeon" + std::to_string(background) + ".bmp");
  }
  for (int d : {1, 2, 3, 13, 14, 15, 16}) {
    const DungeonScenery s = SceneryFor(d);
    ASSERT_EQ(s.fireCount, 2) << d;
    EXPECT_EQ(s.fireImage, "graphics\\dungeon\\dungeon5_fire.bmp");
    EXPECT_EQ(s.fires[0].x, 7);
    EXPECT_EQ(s.fires[1].x, 135);
    EXPECT_EQ(s.fires[1].y, 30);
  }
  EXPECT_EQ(SceneryFor(18).fireImage, "graphics\\dungeon\\dungeon6_fire.bmp");
  EXPECT_EQ(SceneryFor(18).fires[0].x, 117);
  EXPECT_EQ(SceneryFor(25).fires[0].y, 5);
  for (int d : {4, 8, 11, 22}) EXPECT_EQ(SceneryFor(d).fireCount, 0) << d;
  EXPECT_EQ(MapPieceImage(24), "graphics\\map\\map_line_25.bmp");
}

TEST(BookTest, TwoDifferentPagesAreOfferedAndEveryPageCanBeFound) {
  SimpleGenerator random;
  std::set<int> offered;
  std::set<std::pair<int, int>> pairs;
  for (std::uint32_t seed = 0; seed < 5000; ++seed) {
    random.Seed(seed);
    int left = -1;
    int right = -1;
    ChooseBookPages(random, left, right);
    ASSERT_GE(left, 0);
    ASSERT_LT(left, kBookPages);
    ASSERT_GE(right, 0);
    ASSERT_LT(right, kBookPages);
    ASSERT_NE(left, right);
    offered.insert(left);
    offered.insert(right);
    pairs.emplace(left, right);
  }
  EXPECT_EQ(offered.size(), 5u);
  // The scrambled walk over 0..5 has six strides, so six pairs can be offered.
  EXPECT_EQ(pairs.size(), 6u);
  EXPECT_EQ(BookPageImage(kPageCurse), "graphics/book/page_curse.jpg");
  EXPECT_EQ(BookPageImage(kPageLife), "graphics/book/page_life.jpg");
}

TEST(BookTest, EachPageGrantsItsGiftWithItsWords) {
  RunRecord run;
  run.maxLife = 15;
  run.life = 10;
  EXPECT_EQ(ApplyPage(run, kPageLife), "Max life raised by 5.  (It's now 20.)");
  EXPECT_EQ(run.life, 15);
  EXPECT_EQ(ApplyPage(run, kPagePower), "Your mind becomes stronger. (level 1)");
  EXPECT_EQ(ApplyPage(run, kPagePower), "Your mind becomes stronger. (level 2)");
  EXPECT_EQ(ApplyPage(run, kPageBonus), "You receive 25,000 points!");
  EXPECT_EQ(run.score, 25000);
  EXPECT_EQ(run.bonusPages, 1);
  EXPECT_EQ(ApplyPage(run, kPageLuck), "You feel your luck improving. (level 1)");
  EXPECT_EQ(run.luckLevel, 1);
  EXPECT_EQ(ApplyPage(run, kPageCurse), "Your staff glows crimson.\r\n(Enemy life now reduced by 5%)");
  EXPECT_EQ(ApplyPage(run, 5), "");
  EXPECT_EQ(ApplyPage(run, -1), "");

  // Eighteen curses make 90%; the staff never reaches the whole life.
  RunRecord cursed;
  std::string text;
  for (int i = 0; i < 18; ++i) text = ApplyPage(cursed, kPageCurse);
  EXPECT_EQ(text, "Your staff glows crimson.\r\n(Enemy life now reduced by 90%)");
  for (int i = 0; i < 10; ++i) {
    text = ApplyPage(cursed, kPageCurse);
    EXPECT_LT(cursed.staffFraction, 1.0f);
  }
  EXPECT_FLOAT_EQ(cursed.staffFraction, 0.99f);
  EXPECT_EQ(text, "Your staff glows crimson.\r\n(Enemy life now reduced by 99%)");
}

TEST(BookTest, ABossesBookIsReadAndTheNextMonsterComesWhenItCloses) {
  Dictionary words;
  GameRig rig(words, 12);
  rig.choosePage = [](int, int) { return kPageLife; };
  ASSERT_TRUE(rig.StartGame(1));
  PlayerRun& player = rig.game.player;
  player.SetDungeon(9);
  player.record.lastBookDungeon = 0;
  MonsterRecord& m = rig.game.monster.record;
  m = MonsterType(kStoneGiant);
  m.life = 0;
  m.maxLife = 45;
  rig.game.monster.bar.target = 0.0f;
  rig.events.Forget();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.pagesTaken.empty(); }, 5000));
  EXPECT_EQ(player.record.maxLife, 20);
  EXPECT_EQ(rig.events.LastMessage(), "Max life raised by 5.  (It's now 20.)");
  EXPECT_FLOAT_EQ(player.bar.target, static_cast<float>(player.record.life) / 20.0f);
  EXPECT_EQ(player.record.lastBookDungeon, 9);
  const std::uint32_t readAt = rig.clock.Ms();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.events.shown.empty(); }, 3000));
  EXPECT_GE(rig.clock.Ms() - readAt, 2200u);
  EXPECT_EQ(player.record.monstersLeft, 5);
}

}  // namespace
}  // namespace spellcrypt
