// The board: the deal (its pace, the vowel balance, a Q only beside a U, the dealt multipliers),
// letter weights wearing down and coming back, reward tiles by level, a full board, and the moves
// between the rack and the word row.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/letter_draw.h"
#include "game/reward.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"

namespace spellcrypt {
namespace {

using testing::EnglishLetters;
using testing::GameRig;
using testing::LoadWords;
using testing::ManualClock;
using testing::OnlyLetters;
using testing::RecordingEvents;

// A board with its events and a letter source, without a game around it.
struct LoneBoard {
  LoneBoard() { fresh = EnglishLetters(), weights = fresh; }
  LetterSource Source() { return LetterSource{weights, fresh, random}; }
  BoardTile* Put(char letter, int lowerSlot, int type = kTileNormal) {
    BoardTile tile;
    tile.letter = letter;
    tile.type = type;
    tile.lowerSlot = lowerSlot;
    BoardModel::LowerSlotPosition(lowerSlot, tile.x, tile.y);
    board.PlaceTile(tile, TileArrival::Placed);
    return board.Lower(lowerSlot);
  }
  std::string Upper() const { return board.GetCurrentWord(); }

  testing::LogCapture log;
  ManualClock clock;
  RecordingEvents events{clock};
  BoardModel board{events};
  SimpleGenerator random;
  LetterTable fresh;
  LetterTable weights;
};

class DealTest : public ::testing::Test {
 protected:
  Dictionary words;
};

TEST_F(DealTest, EightTilesArrive150MsApartOnceTheDungeonIsEnteredAndThenTheMonsterComes) {
  GameRig rig(words, 7);
  rig.game.NewRun(1);
  const std::uint32_t entered = rig.clock.Ms();
  rig.EnterDungeon();
  EXPECT_EQ(rig.events.entering, std::vector<int>{1});
  ASSERT_TRUE(rig.WaitForMonster());

  ASSERT_EQ(rig.events.added.size(), 8u);
  EXPECT_GE(rig.events.added[0].atMs, entered + Game::kEnterMs);
  for (std::size_t i = 1; i < 8; ++i) {
    EXPECT_EQ(rig.events.added[i].atMs - rig.events.added[i - 1].atMs, 150u) << "tile " << i;
  }
  for (int slot = 0; slot < 8; ++slot) {
    const BoardTile* tile = rig.RackTile(slot);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(rig.events.added[static_cast<std::size_t>(slot)].arrival, TileArrival::Placed);
  }
  EXPECT_EQ(rig.events.SoundCount("sound\\highlight.wav"), 8);
  // The monster comes with the last tile, and the first tip is asked for.
  ASSERT_EQ(rig.events.shown.size(), 1u);
  const auto tips = rig.events.PostsOf(GameMessage::ShowTip);
  ASSERT_FALSE(tips.empty());
  EXPECT_EQ(tips.front().postedAt, rig.events.added.back().atMs);
  EXPECT_EQ(tips.front().delayMs, 1200u);
  EXPECT_EQ(tips.front().value, 0);
}

// Thousands of seeded deals on an emptied board, as a refresh deals them: the vowel balance, a Q
// only once a U lies on the board, and Q, Z and X dealt as multipliers.
void CheckDeals(const LetterTable& letters, int deals, bool reloadEachDeal) {
  Dictionary words;
  GameRig rig(words, 1234, letters);
  ASSERT_TRUE(rig.StartGame(1));
  int qDealt = 0;
  int qWithoutU = 0;
  rig.events.onTileAdded = [&](const BoardTile& tile, TileArrival) {
    if (tile.letter != 'Q') return;
    ++qDealt;
    if (!rig.game.board.HasLetter('U', true)) ++qWithoutU;
  };
  std::map<int, int> vowelCounts;
  for (int deal = 0; deal < deals; ++deal) {
    rig.game.board.Clear();
    rig.game.player.record.life = rig.game.player.record.maxLife;  // the monster keeps attacking
    if (reloadEachDeal) rig.game.player.weights = letters;
    rig.events.added.clear();
    rig.game.board.StartDeal();
    for (int step = 0; step < 9; ++step) rig.Frame(150);
    ASSERT_EQ(rig.events.added.size(), 8u) << "deal " << deal;
    std::string dealt;
    for (const auto& e : rig.events.added) {
      dealt.push_back(e.tile.letter);
      const char c = e.tile.letter;
      const int expected =
          c == 'Q' || c == 'Z' ? kTileDealtTriple : (c == 'X' ? kTileDealtDouble : kTileNormal);
      ASSERT_EQ(e.tile.type, expected) << dealt;
    }
    int vowels = 0;
    for (std::size_t i = 0; i < dealt.size(); ++i) {
      const bool vowel = IsVowel(dealt[i]);
      if (vowel) {
        ASSERT_LT(vowels, 3) << "a vowel after three: " << dealt;
      }
      if (i == 6) {
        ASSERT_TRUE(vowels >= 1 || vowel) << "the seventh must be a vowel: " << dealt;
      }
      if (i == 7) {
        ASSERT_TRUE(vowels >= 2 || vowel) << "the eighth must be a vowel: " << dealt;
      }
      vowels += vowel ? 1 : 0;
    }
    ++vowelCounts[vowels];
  }
  EXPECT_EQ(qWithoutU, 0);
  EXPECT_EQ(vowelCounts.size(), 2u);  // two or three vowels, both seen
  EXPECT_GT(vowelCounts[2], 0);
  EXPECT_GT(vowelCounts[3], 0);
  if (letters.GetWeight('Q' - 'A') > 100) {
    EXPECT_GT(qDealt, 0);
  }
}

TEST_F(DealTest, EveryDealHoldsTwoOrThreeVowelsAndNoQWithoutAU) { CheckDeals(EnglishLetters(), 2500, true); }

TEST_F(DealTest, WornWeightsReloadThemselvesAndTheBalanceHolds) { CheckDeals(EnglishLetters(), 1500, false); }

TEST_F(DealTest, AQHeavyTableDealsItsQsOnlyBesideAU) {
  LetterTable letters = OnlyLetters("QUAETRS", 10);
  letters.SetWeight('Q' - 'A', 5000);
  CheckDeals(letters, 800, true);
}

TEST_F(DealTest, DrawingEndsOnTablesThatCannotKeepTheirRules) {
  // Consonants only: the deal cannot balance, yet every deal ends with eight tiles.
  LoneBoard b;
  for (const char* table : {"BCDFG", "AEIOU", "Q", ""}) {
    b.fresh = OnlyLetters(table);
    b.weights = b.fresh;
    for (int deal = 0; deal < 50; ++deal) {
      b.board.Clear();
      b.board.StartDeal();
      LetterSource source = b.Source();
      while (b.board.pendingDeal > 0) {
        --b.board.pendingDeal;
        ASSERT_GE(b.board.AddNewTile(
                      true, source, [](char) { return kTileNormal; }, TileArrival::Placed),
                  0);
      }
      EXPECT_EQ(b.board.CountAll(), 8);
      // A table of only Q never deals a Q while no U lies there.
      if (std::string(table) == "Q") {
        EXPECT_FALSE(b.board.HasLetter('Q', true) && !b.board.HasLetter('U', true));
      }
    }
  }
}

TEST_F(DealTest, EachDrawnLetterWearsItsWeightTenfoldUntilTheWeightsAreReloaded) {
  LoneBoard b;
  b.fresh = OnlyLetters("E", 500);
  b.weights = b.fresh;
  LetterSource source = b.Source();
  EXPECT_EQ(DrawLetter(source, false), 'E');
  EXPECT_EQ(b.weights.GetWeight('E' - 'A'), 50);
  EXPECT_EQ(DrawLetter(source, false), 'E');
  EXPECT_EQ(b.weights.GetWeight('E' - 'A'), 5);
  EXPECT_EQ(DrawLetter(source, false), 'E');
  EXPECT_EQ(b.weights.GetWeight('E' - 'A'), 0);
  // Nothing is left: the fresh weights come back and the draw goes on.
  EXPECT_EQ(DrawLetter(source, false), 'E');
  EXPECT_EQ(b.weights.GetWeight('E' - 'A'), 50);

  // Only a Q left while no U lies on the board: reloaded too.
  b.fresh = OnlyLetters("QT", 100);
  b.weights = OnlyLetters("Q", 100);
  EXPECT_EQ(DrawLetter(source, false), 'T');
  EXPECT_EQ(b.weights.GetWeight('Q' - 'A'), 100);
  EXPECT_EQ(b.weights.GetWeight('T' - 'A'), 10);
  b.weights.SetWeight('T' - 'A', 0);
  EXPECT_EQ(DrawLetter(source, true), 'Q');
}

TEST(RewardTest, TheWeightsOfEachLevelAndWizardsLackOfOracles) {
  // Choices: bonus, +10, oracle, x2, potion, x3, +20, refresh.
  const int expected[9][kRewardChoices] = {
      {30, 4, 4, 10, 2, 0, 0, 0},  {30, 4, 4, 10, 2, 5, 0, 0},  {30, 9, 1, 3, 2, 5, 0, 0},
      {30, 9, 1, 3, 2, 5, 5, 0},   {30, 9, 1, 6, 1, 10, 10, 0}, {30, 9, 1, 6, 1, 10, 10, 5},
      {30, 9, 1, 2, 1, 12, 12, 6}, {30, 9, 1, 2, 1, 15, 15, 7}, {30, 9, 1, 2, 1, 18, 18, 8},
  };
  for (int level = 0; level <= 8; ++level) {
    for (int mode = 0; mode <= 2; ++mode) {
      int w[kRewardChoices];
      RewardWeights(level, mode, w);
      for (int i = 0; i < kRewardChoices; ++i) {
        EXPECT_EQ(w[i], mode == 2 && i == 2 ? 0 : expected[level][i]) << "level " << level << " choice " << i;
      }
    }
  }
  EXPECT_EQ(RewardLevel(4, 0), 0);
  EXPECT_EQ(RewardLevel(5, 0), 1);
  EXPECT_EQ(RewardLevel(24, 1), 5);
  EXPECT_EQ(RewardLevel(25, 6), 8);
}

TEST(RewardTest, DrawnTypesFollowTheWeights) {
  SimpleGenerator random;
  random.Seed(99);
  // Level 0: bonus 30, +10 4, oracle 4, x2 10, potion 2 (of 50).
  std::map<int, int> seen;
  constexpr int kDraws = 50000;
  for (int i = 0; i < kDraws; ++i) ++seen[ChooseRewardType(1, 0, 1, random)];
  const std::map<int, double> share = {
      {kTileBonus, 0.6}, {kTilePlus10, 0.08}, {kTileOracle, 0.08}, {kTileDouble, 0.2}, {kTilePotion, 0.04}};
  EXPECT_EQ(seen.size(), share.size());
  for (const auto& [type, p] : share) EXPECT_NEAR(seen[type] / double(kDraws), p, 0.01) << "type " << type;

  // Deep with luck, every kind comes; in Wizard mode never an oracle.
  std::map<int, int> deep;
  for (int i = 0; i < kDraws; ++i) {
    ++deep[ChooseRewardType(25, 3, 1, random)];
    EXPECT_NE(ChooseRewardType(25, 3, 2, random), kTileOracle);
    EXPECT_NE(ChooseRewardType(1, 0, 2, random), kTileOracle);
  }
  EXPECT_EQ(deep.size(), 8u);
}

class RewardTileTest : public ::testing::Test {
 protected:
  Dictionary words;
};

TEST_F(RewardTileTest, BonusQZAndXBecomeMultipliersAndActionTilesCarryNoLetter) {
  for (const char* letter : {"Z", "Q", "X", "E"}) {
    GameRig rig(words, 5, OnlyLetters(letter));
    ASSERT_TRUE(rig.StartGame(1));
    std::map<int, int> types;
    for (int round = 0; round < 300; ++round) {
      rig.SetRack("U");  // a Q needs its U
      rig.events.Forget();
      rig.game.AddRewardTile();
      ASSERT_EQ(rig.events.added.size(), 1u);
      const auto& added = rig.events.added[0];
      EXPECT_EQ(added.arrival, TileArrival::Reward);
      EXPECT_TRUE(rig.events.Played("sound\\blip.wav"));
      const BoardTile& tile = *rig.RackTile(1);
      ++types[tile.type];
      if (IsActionTile(tile.type)) {
        EXPECT_EQ(tile.letter, ' ');
        EXPECT_EQ(tile.Label(), ' ');
        const int tip = tile.type == kTileOracle ? 3 : (tile.type == kTilePotion ? 5 : 4);
        const auto tips = rig.events.PostsOf(GameMessage::ShowTip);
        ASSERT_EQ(tips.size(), 1u);
        EXPECT_EQ(tips[0].value, tip);
        EXPECT_EQ(tips[0].delayMs, 1200u);
      } else {
        EXPECT_EQ(tile.letter, letter[0]);
        EXPECT_TRUE(rig.events.PostsOf(GameMessage::ShowTip).empty());
        if (letter[0] == 'Q' || letter[0] == 'Z') {
          EXPECT_NE(tile.type, kTileBonus);
        }
        if (letter[0] == 'X') {
          EXPECT_NE(tile.type, kTileBonus);
        }
      }
    }
    if (letter[0] == 'E') {
      EXPECT_GT(types[kTileBonus], 0);
    }
    if (letter[0] == 'X') {
      EXPECT_GT(types[kTileDouble], 0);
    }
    if (letter[0] != 'X' && letter[0] != 'E') {
      EXPECT_GT(types[kTileTriple], 0);
    }
    EXPECT_GT(types[kTileOracle] + types[kTilePotion], 0);
  }
}

TEST_F(RewardTileTest, AFullBoardHasNoRoomForAReward) {
  GameRig rig(words, 3);
  ASSERT_TRUE(rig.StartGame(1));
  rig.SetRack("ABCDEFGHIJKLMNOP");
  rig.events.Forget();
  rig.game.AddRewardTile();
  EXPECT_TRUE(rig.events.added.empty());
  EXPECT_FALSE(rig.events.Played("sound\\blip.wav"));
  EXPECT_EQ(rig.log.Count("Out of tile room"), 1);

  // Fifteen on the board (one of them in the word row): the reward takes the last free slot.
  rig.SetRack("ABCDEFGHIJKLMNO");
  rig.Type("a");
  rig.events.Forget();
  rig.game.AddRewardTile();
  ASSERT_EQ(rig.events.added.size(), 1u);
  EXPECT_EQ(rig.events.added[0].tile.lowerSlot, 0);
  EXPECT_EQ(rig.game.board.CountAll(), 16);
}

TEST(BoardMoveTest, UpAndBackHomeWithGapsClosedOnlyWhenAsked) {
  LoneBoard b;
  const std::string letters = "STONEXY";
  for (int i = 0; i < 7; ++i) b.Put(letters[static_cast<std::size_t>(i)], i + 2);
  for (int slot : {2, 3, 4, 5, 6}) b.board.MoveTileToUpper(b.board.Lower(slot), 0.05f);
  EXPECT_EQ(b.Upper(), "STONE");
  EXPECT_EQ(b.board.Upper(2)->homeSlot, 4);
  EXPECT_EQ(b.events.moves.back().speed, 0.05f);
  EXPECT_EQ(b.events.moves.back().tile.x, 207 + 4 * 52);
  EXPECT_EQ(b.events.moves.back().tile.y, 65);

  // The O from the middle goes home and the N and E close up behind the T.
  b.events.moves.clear();
  b.board.MoveTileToLower(b.board.Upper(2), true);
  EXPECT_EQ(b.Upper(), "STNE");
  EXPECT_EQ(b.board.Lower(4)->letter, 'O');
  EXPECT_EQ(b.board.Upper(2)->upperSlot, 2);
  EXPECT_EQ(b.board.Upper(4), nullptr);
  ASSERT_EQ(b.events.moves.size(), 3u);  // the O home, then the N and the E one step left
  EXPECT_EQ(b.events.moves[1].tile.letter, 'N');
  EXPECT_EQ(b.events.moves[1].tile.x, 207 + 2 * 52);

  // Without closing up: the last letter leaves, nothing else moves.
  b.events.moves.clear();
  b.board.MoveTileToLower(b.board.Upper(3), false);
  EXPECT_EQ(b.Upper(), "STN");
  EXPECT_EQ(b.events.moves.size(), 1u);

  // A home taken meanwhile: the first free rack slot instead.
  b.Put('Q', 2, kTileDealtTriple);
  b.board.MoveTileToLower(b.board.Upper(0), true);
  EXPECT_EQ(b.board.Lower(0)->letter, 'S');

  // The Y goes up and home to the second line of the rack.
  b.board.MoveTileToUpper(b.board.Lower(8));
  b.board.MoveTileToLower(b.board.Upper(2), false);
  EXPECT_EQ(b.board.Lower(8)->letter, 'Y');
  EXPECT_EQ(b.events.moves.back().tile.x, 207);
  EXPECT_EQ(b.events.moves.back().tile.y, 155 + 53);

  // A tile without a home goes to the first free slot rather than staying stuck.
  b.board.Upper(0)->homeSlot = -1;
  b.board.MoveTileToLower(b.board.Upper(0), true);
  EXPECT_EQ(b.board.Lower(1)->letter, 'T');
  EXPECT_EQ(b.Upper(), "N");
}

TEST(BoardMoveTest, AGlideAtSpeedZeroGoesAtTheDefaultSpeed) {
  LoneBoard b;
  b.Put('A', 0);
  b.board.MoveTileToUpper(b.board.Lower(0), 0.0f);
  ASSERT_EQ(b.events.moves.size(), 1u);
  EXPECT_FLOAT_EQ(b.events.moves[0].speed, 0.09f);
  b.board.MoveTileToLower(b.board.Upper(0), true);
  EXPECT_FLOAT_EQ(b.events.moves[1].speed, 0.09f);
}

TEST(BoardMoveTest, MovesThatCannotHappenAreLoggedAndSkipped) {
  LoneBoard b;
  b.board.MoveTileToUpper(nullptr);
  EXPECT_EQ(b.log.Count("ERROR - "), 1);
  EXPECT_EQ(b.log.Count("MoveTileToUpper got a null"), 1);
  EXPECT_EQ(b.board.GetLowerTileByLetter('A'), nullptr);
  EXPECT_EQ(b.board.GetSpecialLowerTileByLetter('A'), nullptr);
  EXPECT_EQ(b.board.GetNormalLowerTileByLetter('A'), nullptr);
  EXPECT_EQ(b.log.Count("GetLowerTileByLetter failed!"), 1);
  EXPECT_EQ(b.log.Count("GetSpecialLowerTileByLetter failed!"), 1);
  EXPECT_EQ(b.log.Count("GetNormalLowerTileByLetter failed!"), 1);

  // A full rack, and a word-row tile whose home is taken: it stays where it is.
  for (int i = 0; i < 16; ++i) b.Put(static_cast<char>('A' + i), i);
  b.board.MoveTileToUpper(b.board.Lower(3));
  b.Put('Z', 3);
  b.board.MoveTileToLower(b.board.Upper(0), true);
  EXPECT_EQ(b.Upper(), "D");
  EXPECT_EQ(b.log.Count("Error finding buttom row slot, aborting move."), 1);
}

TEST(BoardMoveTest, CompactingTheRackKeepsTheOrderAndAnswersTheFirstFreeSlot) {
  LoneBoard b;
  b.Put('C', 2);
  b.Put('A', 5);
  b.Put('T', 9);
  EXPECT_EQ(b.board.CompactLowerRow(), 3);
  EXPECT_EQ(b.board.GetRackLetters(), "CAT");
  EXPECT_EQ(b.board.Lower(2)->lowerSlot, 2);
  EXPECT_EQ(b.board.Lower(2)->letter, 'T');
  for (int i = 3; i < 16; ++i) b.Put('E', i);
  EXPECT_EQ(b.board.CompactLowerRow(), -1);
}

}  // namespace
}  // namespace spellcrypt
