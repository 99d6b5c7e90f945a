// Casting: what a spell is worth (length, bonus tiles, difficulty, secret words, the mind), every
// refusal with its message and sound, the hit and the kill as the player hears and reads them,
// armour, used and strong words, and numbers too large for a spell.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "base/keys.h"
#include "base/text_util.h"
#include "game/monster_table.h"
#include "game/spell.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"
#include "words/secret_words.h"

namespace spellcrypt {
namespace {

using testing::GameRig;
using testing::LoadWords;

Spell Compute(int letters, std::vector<int> tiles, bool kidmode = false, const char* secret = nullptr,
              int mind = 0) {
  static const SecretWordManager secrets;
  SpellInputs in;
  in.letters = letters;
  in.tiles = tiles;
  in.kidmode = kidmode;
  in.secret = secret != nullptr ? secrets.Find(secret) : nullptr;
  in.mindLevel = mind;
  return ComputeSpell(in);
}

TEST(SpellTest, DamageAndScoreByLengthTilesAndDifficulty) {
  // Lengths 3..8 without bonus tiles; longer words (only the oracle lays them) have their own rule.
  const int damage[] = {3, 6, 10, 20, 40, 60};
  const int score[] = {100, 300, 1000, 2000, 3000 + 40 * 80 - 2400, 5000 + 60 * 80 - 2400};
  for (int n = 3; n <= 8; ++n) {
    const Spell s = Compute(n, std::vector<int>(static_cast<std::size_t>(n), kTileNormal));
    EXPECT_EQ(s.damage, damage[n - 3]) << n;
    EXPECT_EQ(s.score, score[n - 3]) << n;
  }
  EXPECT_EQ(Compute(9, {}).damage, 100);
  EXPECT_EQ(Compute(9, {}).score, 9 * (4 * 50) + 100 * 80 - 2400);
  EXPECT_EQ(Compute(12, {}).score, 12 * (6 * 50) + 100 * 80 - 2400);

  // STONE with a +10 and a x2: (10 + 10) x 2.
  EXPECT_EQ(Compute(5, {kTilePlus10, 0, 0, kTileDouble, 0}).damage, 40);
  EXPECT_EQ(Compute(5, {kTilePlus10, 0, 0, kTileDouble, 0}).score, 1800);
  // Kidmode doubles the base: 20 is not above 30, so the score stays 1000.
  EXPECT_EQ(Compute(5, {0, 0, 0, 0, 0}, true).damage, 20);
  EXPECT_EQ(Compute(5, {0, 0, 0, 0, 0}, true).score, 1000);
  EXPECT_EQ(Compute(6, {0, 0, kTileTriple, 0, 0, 0}).damage, 60);
  EXPECT_EQ(Compute(6, {0, 0, kTileTriple, 0, 0, 0}).score, 4400);
  // Additions before multiplications, whatever the order of the tiles.
  EXPECT_EQ(Compute(3, {kTileDouble, kTilePlus10, 0}).damage, 26);
  EXPECT_EQ(Compute(3, {kTilePlus20, kTileDealtTriple, kTileDealtDouble}).damage, (3 + 20) * 6);
  // Exactly 30 earns no bonus points.
  EXPECT_EQ(Compute(6, {kTilePlus10, 0, 0, 0, 0, 0}).score, 2000);
  EXPECT_EQ(Compute(5, {kTileBonus, 0, 0, 0, 0}).damage, 10);

  // A secret word's extra and the mind come after the score bonus is decided.
  const Spell death = Compute(5, {0, 0, 0, 0, 0}, false, "death", 2);
  EXPECT_EQ(death.damage, 10 + 100 + 2);
  EXPECT_EQ(death.score, 1000 + 1000);
  const Spell treasure = Compute(8, {}, false, "treasure");
  EXPECT_EQ(treasure.damage, 160);
  EXPECT_EQ(treasure.score, 5000 + 60 * 80 - 2400 + 5000);
}

TEST(SpellTest, HugeSpellsHoldAtTheLargestNumber) {
  std::vector<int> triples(16, kTileTriple);  // 100 x 3^16 is past 2^31
  const Spell s = Compute(16, triples);
  EXPECT_EQ(s.damage, INT_MAX);
  EXPECT_EQ(s.score, INT_MAX);
  const Spell mind = Compute(8, {}, true, "treasure", INT_MAX);
  EXPECT_EQ(mind.damage, INT_MAX);
  EXPECT_GT(mind.score, 0);
  EXPECT_EQ(SaturatingAdd(INT_MAX - 1, 5), INT_MAX);
  EXPECT_EQ(SaturatingAdd(INT_MIN + 1, -5), INT_MIN);
}

class CastingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadWords(words,
              {"stone", "notes", "stones", "cat", "act", "tab", "ball", "rat", "death", "hell", "tone"});
    Begin(1);
  }
  void Begin(int mode) {
    rig.reset();
    rig = std::make_unique<GameRig>(words, 11);
    ASSERT_TRUE(rig->StartGame(mode));
    Face(kSkeleton, 100);
    rig->events.Forget();
  }
  // The monster in front becomes this one, with this much life.
  void Face(int type, int life) {
    MonsterRecord& m = rig->game.monster.record;
    m = MonsterType(type);
    m.life = m.maxLife = life;
  }
  // The rack, and the keys typed; what that showed and played is forgotten.
  void Spell(std::string_view rack, const std::vector<int>& types, std::string_view keys) {
    rig->SetRack(rack, types);
    rig->Type(keys);
    rig->events.sounds.clear();
    rig->events.messages.clear();
    rig->events.added.clear();
    rig->events.retired.clear();
    rig->events.hits.clear();
  }
  void Cast() { rig->game.HandleChar(vk::Enter); }
  const MonsterRecord& Monster() const { return rig->game.monster.record; }
  const RunRecord& Run() const { return rig->game.player.record; }

  Dictionary words;
  std::unique_ptr<GameRig> rig;
};

TEST_F(CastingTest, AWordTooShortIsRefusedAndItsTilesStayInTheWordRow) {
  Spell("AT", {}, "at");
  Cast();
  EXPECT_EQ(rig->events.LastMessage(), "That word is too small to do damage!");
  EXPECT_TRUE(rig->events.Played("sound\\bad_word.wav"));
  EXPECT_EQ(rig->Word(), "AT");
  EXPECT_EQ(Monster().life, 100);
  EXPECT_EQ(rig->game.player.usedWords.Count(), 0);
}

TEST_F(CastingTest, AnUnknownWordFizzlesAndItsTilesGoHome) {
  Spell("XSTE", {}, "set");
  Cast();
  EXPECT_EQ(rig->events.LastMessage(), "The spell fizzles.\n\n(that doesn't appear to be a valid word)");
  EXPECT_EQ(rig->events.SoundCount("sound\\bad_word.wav"), 1);
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(rig->game.board.GetRackLetters(), "XSTE");
  EXPECT_EQ(Monster().life, 100);
  EXPECT_EQ(Run().totalWords, 0);
  EXPECT_FALSE(rig->events.LastSubmit());
}

TEST_F(CastingTest, AWordUsedInThisDungeonIsRefusedButComesBackInTheNext) {
  Spell("CAT", {}, "cat");
  EXPECT_TRUE(rig->events.LastSubmit());
  Cast();
  EXPECT_EQ(Monster().life, 97);
  rig->Type("cat");
  EXPECT_FALSE(rig->events.LastSubmit());
  Cast();
  EXPECT_EQ(rig->events.LastMessage(), "You've already used that word!");
  EXPECT_TRUE(rig->events.Played("sound\\bad_word.wav"));
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(Monster().life, 97);

  // The next dungeon's board forgets the words used.
  rig->game.player.SetDungeon(2);
  rig->game.ResetForDungeon();
  ASSERT_TRUE(rig->WaitForMonster());
  Face(kSkeleton, 100);
  Spell("CAT", {}, "cat");
  EXPECT_TRUE(rig->events.LastSubmit());
  Cast();
  EXPECT_EQ(Monster().life, 97);
}

TEST_F(CastingTest, WithoutAFightingMonsterEnterOnlyUpdatesTheButton) {
  Spell("CAT", {}, "cat");
  rig->events.Forget();
  rig->game.monster.state = kMonsterDead;
  Cast();
  EXPECT_TRUE(rig->events.sounds.empty());
  EXPECT_TRUE(rig->events.messages.empty());
  EXPECT_EQ(rig->events.submit, std::vector<bool>{true});
  EXPECT_EQ(rig->Word(), "CAT");
}

TEST_F(CastingTest, AHitUsesUpTheBonusTilesSendsTheRestHomeAndCountsTheWord) {
  // S is a +10, N a x2: 40 damage, 1800 points.
  Spell("STONE", {kTilePlus10, kTileNormal, kTileNormal, kTileDouble, kTileNormal}, "STONE");
  const int sId = rig->WordTile(0)->id;
  const int nId = rig->WordTile(3)->id;
  Cast();
  EXPECT_EQ(rig->events.LastMessage(),
            "You cast the spell \"stone\".\r\nYou hit the Skeleton for 40 damage.\r\n(worth 1,800 points)");
  EXPECT_EQ(rig->events.messages.back().style, MessageStyle::Highlighted);
  EXPECT_EQ(rig->events.sounds, (std::vector<std::string>{"sound\\spell1.wav", "sound\\skeleton_pain.wav"}));
  ASSERT_EQ(rig->events.hits.size(), 1u);
  EXPECT_EQ(rig->events.hits[0], std::make_pair(40, 13));
  EXPECT_EQ(Monster().life, 60);
  EXPECT_FLOAT_EQ(rig->game.monster.bar.target, 0.6f);
  EXPECT_EQ(Run().score, 1800);

  ASSERT_EQ(rig->events.retired.size(), 2u);
  for (const auto& gone : rig->events.retired) {
    EXPECT_TRUE(gone.id == sId || gone.id == nId);
    EXPECT_EQ(gone.exit.shrinkTo, 0.0f);
    EXPECT_FLOAT_EQ(gone.exit.shrinkRate, 0.02f);
    EXPECT_EQ(gone.exit.deleteAfterMs, 1000u);
  }
  EXPECT_EQ(rig->Word(), "");
  EXPECT_EQ(rig->RackTile(1)->letter, 'T');
  EXPECT_EQ(rig->RackTile(2)->letter, 'O');
  EXPECT_EQ(rig->RackTile(4)->letter, 'E');
  EXPECT_EQ(rig->game.board.CountAll(), 3);

  EXPECT_TRUE(rig->game.player.usedWords.Contains("stone"));
  EXPECT_TRUE(rig->game.player.strongWords.Contains("stone"));
  EXPECT_EQ(Run().totalWords, 1);
  EXPECT_EQ(Run().totalLetters, 5);
  EXPECT_EQ(Run().strongestDamage, 40);
  EXPECT_EQ(Run().wordsByLength[2], 1);
}

TEST_F(CastingTest, KidmodeDoublesTheBaseAndATripleTilesSixLetters) {
  Begin(0);
  Spell("STONE", {}, "stone");
  Cast();
  EXPECT_EQ(Monster().life, 80);
  EXPECT_EQ(Run().score, 1000);

  Begin(1);
  Spell("STONES", {0, 0, kTileTriple, 0, 0, 0}, "STONES");
  Cast();
  EXPECT_EQ(Monster().life, 40);
  EXPECT_EQ(Run().score, 4400);
  EXPECT_EQ(Run().wordsByLength[3], 1);
}

TEST_F(CastingTest, ArmourStopsShortWordsButTheWordAndItsTilesAreSpent) {
  Face(kTurtle, 10);
  Spell("CAT", {kTilePlus10, kTileDouble, kTileNormal}, "CAT");
  Cast();
  EXPECT_EQ(rig->events.LastMessage(),
            "You cast the spell \"cat\".\r\nUh oh, it bounced off the Turtle's armor!\r\nTry a longer word!");
  EXPECT_EQ(rig->events.sounds, std::vector<std::string>{"sound/plink.wav"});
  EXPECT_EQ(rig->events.hits, (std::vector<std::pair<std::int32_t, int>>{{0, 0}}));
  EXPECT_EQ(Monster().life, 10);
  EXPECT_EQ(Run().score, 0);
  EXPECT_EQ(rig->events.retired.size(), 2u);
  EXPECT_TRUE(rig->game.player.usedWords.Contains("cat"));
  // The statistic keeps the damage the spell would have done.
  EXPECT_EQ(Run().strongestDamage, 26);

  // Four letters get through.
  Spell("TONE", {}, "tone");
  Cast();
  EXPECT_EQ(Monster().life, 4);
}

TEST_F(CastingTest, TheKillingSpellNamesTheBonusWhichIsPaidWhenTheMonsterHasFallen) {
  Face(kSkeleton, 40);
  Spell("STONE", {kTilePlus10, 0, 0, kTileDouble, 0}, "STONE");
  Cast();
  EXPECT_EQ(rig->events.LastMessage(),
            "You cast the spell \"stone\".\r\nYou hit the Skeleton for 40 damage.\r\n(worth 1,800 points + "
            "1,000 bonus)");
  EXPECT_EQ(rig->events.sounds, std::vector<std::string>{"sound\\skeleton_die.ogg"});
  EXPECT_EQ(rig->events.killed, 1);
  EXPECT_EQ(Monster().life, 0);
  EXPECT_EQ(Run().score, 1800);

  // While it falls, it cannot be killed (or scored on) again.
  Spell("CAT", {}, "cat");
  Cast();
  EXPECT_EQ(rig->events.killed, 1);
  EXPECT_EQ(Run().score, 1800);
  EXPECT_EQ(rig->game.player.usedWords.Count(), 1);

  ASSERT_TRUE(rig->RunUntil([&] { return !rig->events.dead.empty(); }, 3000));
  EXPECT_EQ(rig->events.dead, std::vector<std::int32_t>{1000});
  EXPECT_EQ(Run().score, 2800);
}

TEST_F(CastingTest, BigNumbersAreShownInGroupsAndTheScoreHoldsAtItsLimit) {
  Face(kSkeleton, 2000000000);
  rig->game.player.record.mindLevel = 1234567;
  rig->game.player.record.score = INT_MAX - 500;
  Spell("STONES", {kTileTriple, 0, 0, 0, 0, 0}, "STONES");
  Cast();
  EXPECT_EQ(
      rig->events.LastMessage(),
      "You cast the spell \"stones\".\r\nYou hit the Skeleton for 1,234,627 damage.\r\n(worth 4,400 points)");
  EXPECT_EQ(rig->events.hits[0].second, Game::kMaxSparks);
  EXPECT_EQ(Run().score, INT_MAX);
  EXPECT_EQ(Monster().life, 2000000000 - 1234627);
}

TEST_F(CastingTest, LongWordsAreStrongUnlessTheOracleLaidThem) {
  CopyText(rig->game.player.record.oracleWord, sizeof rig->game.player.record.oracleWord, "NOTES");
  Spell("NOTES", {}, "notes");
  Cast();
  Spell("TONE", {}, "tone");
  Cast();
  Spell("STONE", {}, "stone");
  Cast();
  EXPECT_EQ(rig->game.player.strongWords.Strings(), std::vector<std::string>{"stone"});
  EXPECT_EQ(rig->game.player.usedWords.Count(), 3);
}

TEST_F(CastingTest, SecretWordsAddTheirExtraAndTheirEffects) {
  Spell("RAT", {}, "rat");
  Cast();
  EXPECT_EQ(Monster().life, 97);  // the rat adds no damage
  EXPECT_EQ(Run().score, 100 + 1000);
  EXPECT_EQ(rig->events.secretEffects, std::vector<std::string>{"rat"});
  EXPECT_EQ(rig->events.added.size(), 1u);  // its free tile, at once
  EXPECT_EQ(rig->events.added[0].arrival, TileArrival::Reward);
  EXPECT_EQ(rig->events.sounds.back(), "sound\\teleport.ogg");

  Face(kSkeleton, 500);
  rig->events.Forget();
  Spell("DEATH", {}, "death");
  Cast();
  EXPECT_EQ(Monster().life, 500 - 110);
  EXPECT_TRUE(rig->events.secretEffects.empty());
  EXPECT_TRUE(rig->events.Played("sound\\teleport.ogg"));

  Face(kSkeleton, 100);
  rig->events.Forget();
  Spell("HELL", {}, "hell");
  Cast();
  EXPECT_EQ(rig->events.LastMessage(), "You unleash the evils of hell!");
  EXPECT_EQ(rig->events.secretEffects, std::vector<std::string>{"hell"});
  EXPECT_EQ(Monster().life, 100 - 16);

  // A secret word not in the word list fizzles and nothing happens.
  rig->events.Forget();
  Spell("DUCK", {}, "duck");
  Cast();
  EXPECT_TRUE(rig->events.secretEffects.empty());
  EXPECT_FALSE(rig->events.Played("sound\\teleport.ogg"));
  EXPECT_TRUE(rig->events.added.empty());
}

TEST_F(CastingTest, ASecretWordsTilesOnAFullBoardAreLostWithALine) {
  // "rat" with 14 more tiles on the board: its one tile has no room.
  Spell("RATEEEEEEEEEEEEE", {}, "rat");
  Cast();
  EXPECT_EQ(rig->log.Count("Out of tile room"), 1);
  EXPECT_EQ(rig->events.secretEffects, std::vector<std::string>{"rat"});
}

}  // namespace
}  // namespace spellcrypt
