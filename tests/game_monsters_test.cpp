// Monsters: who comes in which dungeon (weights by depth and difficulty, bosses near a
// dungeon's end, the Evil Dragon last), how each comes (life, staff, music, armour tip), the
// attacks on their timer, and the death sequence with its healing, rewards, books and bonus.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/text_util.h"
#include "game/monster_table.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"

namespace spellcrypt {
namespace {

using testing::GameRig;
using testing::PostedMessage;

TEST(MonsterChoiceTest, OrdinaryWeightsGrowWithDepthAndKidmodeNeverMeetsTheSuccubus) {
  auto weights = [](int dungeon, int mode) {
    int w[kMonsterTypes];
    OrdinaryWeights(dungeon, mode, w);
    std::map<int, int> present;
    for (int i = 0; i < kMonsterTypes; ++i) {
      if (w[i] != 0) present[i] = w[i];
    }
    return present;
  };
  using W = std::map<int, int>;
  EXPECT_EQ(weights(1, 1), (W{{kRat, 20}, {kSpider, 20}, {kSkeleton, 20}}));
  EXPECT_EQ(weights(2, 1), (W{{kRat, 20}, {kSpider, 20}, {kSkeleton, 20}, {kNightWolf, 20}}));
  EXPECT_EQ(weights(6, 1), (W{{kRat, 20},
                              {kSpider, 20},
                              {kSkeleton, 20},
                              {kNightWolf, 20},
                              {kSnake, 23},
                              {kAquaMan, 26},
                              {kSuccubus, 29},
                              {kTurtle, 32}}));
  EXPECT_EQ(weights(6, 0), (W{{kRat, 20},
                              {kSpider, 20},
                              {kSkeleton, 20},
                              {kNightWolf, 20},
                              {kSnake, 23},
                              {kAquaMan, 26},
                              {kTurtle, 29}}));
  const W deepest = weights(25, 2);
  EXPECT_EQ(deepest.size(), 16u);
  EXPECT_EQ(deepest.at(kCyclops), 20 + 3 * 12);
  EXPECT_EQ(deepest.count(kZombie), 0u);
  const W deepestKid = weights(25, 0);
  EXPECT_EQ(deepestKid.count(kSuccubus), 0u);
  EXPECT_EQ(deepestKid.at(kCyclops), deepest.at(kCyclops) - 3);
  EXPECT_EQ(deepestKid.at(kTurtle), deepest.at(kTurtle) - 3);
  EXPECT_EQ(deepestKid.at(kAquaMan), deepest.at(kAquaMan));

  testing::LogCapture log;
  EXPECT_STREQ(MonsterType(kMonsterTypes).name, "Spider");
  EXPECT_EQ(log.Count("Monster out of range"), 1);
}

TEST(MonsterChoiceTest, BossesComeOnlyAmongADungeonsLastTwoAndNeverTwice) {
  MersenneTwister random;
  SimpleGenerator picker;
  random.Seed(3);
  picker.Seed(3);
  std::map<int, std::set<int>> bossesByDungeon;
  std::map<int, int> dungeonsWithBoss;
  constexpr int kTrials = 400;
  for (int mode = 0; mode <= 2; ++mode) {
    for (int dungeon = 1; dungeon <= 25; ++dungeon) {
      for (int trial = 0; trial < kTrials; ++trial) {
        MonsterChoice choice;
        choice.dungeon = dungeon;
        choice.mode = mode;
        int bosses = 0;
        for (int left = 6; left >= 1; --left) {
          choice.monstersLeft = left;
          const int type = ChooseMonster(choice, random, picker);
          ASSERT_TRUE(type >= 0 && type < kMonsterTypes);
          if (mode == 0) {
            ASSERT_NE(type, kSuccubus);
          }
          if (MonsterType(type).isBoss == 0) {
            ASSERT_NE(type, kZombie);
            continue;
          }
          ++bosses;
          ASSERT_TRUE(choice.bossMet);
          ASSERT_LE(left, 2) << "dungeon " << dungeon;
          bossesByDungeon[dungeon].insert(type);
          if (dungeon == 25) {
            ASSERT_EQ(type, kEvilDragon);
            ASSERT_EQ(left, 1);
          }
        }
        ASSERT_LE(bosses, 1);
        if (dungeon <= 3) {
          ASSERT_EQ(bosses, 0);
        }
        if (dungeon == 25) {
          ASSERT_EQ(bosses, 1);
        }
        dungeonsWithBoss[dungeon] += bosses;
      }
    }
  }
  for (int d = 4; d <= 24; ++d) {
    const std::set<int> expected = d <= 7    ? std::set<int>{kBossGhoulSeer, kBossGrizzly}
                                   : d <= 16 ? std::set<int>{kStoneGiant, kMaimedFace}
                                             : std::set<int>{kDragon, kFireTortoise};
    EXPECT_EQ(bossesByDungeon[d], expected) << "dungeon " << d;
    // One chance in two at each of the last two: three dungeons in four have a boss.
    EXPECT_NEAR(dungeonsWithBoss[d] / (3.0 * kTrials), 0.75, 0.06) << "dungeon " << d;
  }
}

class MonsterFightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig = std::make_unique<GameRig>(words, 21);
    ASSERT_TRUE(rig->StartGame(1));
    rig->events.Forget();
  }
  // The monster in front becomes this one, fighting, with this much life.
  void Face(int type, int life) {
    MonsterRecord& m = rig->game.monster.record;
    m = MonsterType(type);
    m.life = m.maxLife = life;
    rig->game.monster.state = kMonsterFighting;
    rig->game.monster.bar.Show(1.0f);
    rig->game.monster.bar.shown = 1.0f;
  }
  // A spell has taken its last life.
  void Drop() {
    rig->game.monster.record.life = 0;
    rig->game.monster.bar.target = 0.0f;
  }
  // Kills it where it stands and lets the bar drain: the death sequence runs.
  void Kill() {
    const std::size_t before = rig->events.dead.size();
    Drop();
    for (int i = 0; i < 1000 && rig->events.dead.size() == before; ++i) rig->game.UpdateMonster(1.0f);
    ASSERT_EQ(rig->events.dead.size(), before + 1);
  }
  std::vector<PostedMessage> Posts(GameMessage message) const { return rig->events.PostsOf(message); }

  Dictionary words;
  std::unique_ptr<GameRig> rig;
};

TEST_F(MonsterFightTest, EachNewMonsterComesWithItsLifeMusicStaffAndTip) {
  PlayerRun& player = rig->game.player;
  player.record.staffFraction = 0.10f;
  int seenThirty = 0;
  std::set<int> types;
  for (int round = 0; round < 600; ++round) {
    player.SetDungeon(4 + round % 21);
    player.record.monstersLeft = 1 + round % 6;
    player.record.bossMet = 0;
    rig->events.Forget();
    rig->game.NextEncounter();
    ASSERT_EQ(rig->events.shown.size(), 1u);
    const MonsterRecord& m = rig->events.shown[0];
    const MonsterRecord& type = MonsterType(m.index);
    types.insert(m.index);
    ASSERT_GE(m.maxLife, type.lifeMin);
    ASSERT_LE(m.maxLife, type.lifeMax);
    ASSERT_EQ(m.life, m.maxLife - static_cast<int>(0.10f * static_cast<float>(m.maxLife)));
    if (m.maxLife == 30) {
      ++seenThirty;
      EXPECT_EQ(m.life, 27);
      EXPECT_EQ(rig->game.monster.Label(), std::string(m.name) + " (27 of 30)");
    }
    EXPECT_TRUE(rig->game.monster.IsActive());
    // Of the monsters' names only AquaMan's starts with a vowel sound.
    const std::string article = std::string(m.name) == "AquaMan" ? "an " : "a ";
    EXPECT_EQ(rig->events.LastMessage(), "You are attacked by " + article + m.name + "!\r\n");
    if (type.encounterIsMusic) {
      EXPECT_EQ(rig->events.music, std::vector<std::string>{type.encounterSound});
    } else {
      EXPECT_TRUE(rig->events.music.empty());
      EXPECT_EQ(rig->events.musicStops, 1);
      EXPECT_TRUE(rig->events.Played("sound\\encounter2.ogg"));
    }
    const auto tips = Posts(GameMessage::ShowTip);
    if (type.armor > 3) {
      ASSERT_EQ(tips.size(), 1u) << m.name;
      EXPECT_EQ(tips[0].value, 2);
      EXPECT_EQ(tips[0].delayMs, 1200u);
    } else {
      EXPECT_TRUE(tips.empty()) << m.name;
    }
  }
  EXPECT_GT(seenThirty, 0);
  for (int armoured : {kTurtle, kStoneGiant, kFireTortoise}) EXPECT_EQ(types.count(armoured), 1u);
}

TEST_F(MonsterFightTest, AttacksFollowTheTimerAndStopWithTheFall) {
  Face(kSkeleton, 50);
  rig->game.monster.attackTimer.SetInterval(4000);
  const int life = rig->game.player.record.life;
  rig->Run(3990);
  EXPECT_EQ(rig->game.player.record.life, life);
  rig->Run(30);
  EXPECT_EQ(rig->game.player.record.life, life - 1);
  EXPECT_EQ(rig->events.SoundCount("sound\\skeleton_attack.wav"), 1);
  EXPECT_EQ(rig->events.lunges, std::vector<bool>{true});
  rig->Run(4000);
  EXPECT_EQ(rig->game.player.record.life, life - 2);

  // Mr Bomb strikes every 700 ms.
  Face(kMrBomb, 1);
  rig->game.monster.attackTimer.SetInterval(700);
  rig->Run(2100 + 10);
  EXPECT_EQ(rig->game.player.record.life, life - 5);

  // A dying monster attacks no more (and the next one waits for its own timer).
  const int attacks = rig->events.SoundCount("sound\\skeleton_attack.wav");
  Drop();
  rig->Run(3000);
  EXPECT_EQ(rig->events.SoundCount("sound\\skeleton_attack.wav"), attacks);
  EXPECT_EQ(rig->events.dead.size(), 1u);
}

TEST_F(MonsterFightTest, TheDeathSequenceHealsRewardsAndPaysTheBonus) {
  Face(kCyclops, 45);
  PlayerRun& player = rig->game.player;
  // The poison key takes 12 down to 2 of 15, below 0.18 x 15: the warning sounds. It is a cheat
  // of -DEBUG only: a slip of the finger beside '1' and '2' does nothing otherwise.
  player.record.life = 12;
  rig->game.HandleChar('8');
  EXPECT_EQ(player.record.life, 12);
  EXPECT_TRUE(rig->events.lowLife.empty());
  rig->game.allowCheats = true;
  rig->game.HandleChar('8');
  ASSERT_EQ(rig->events.lowLife, std::vector<bool>{true});
  rig->events.Forget();
  Drop();
  rig->Frame();
  EXPECT_EQ(rig->events.falling, 1);
  EXPECT_EQ(rig->events.lowLife, std::vector<bool>{false});
  EXPECT_FLOAT_EQ(rig->game.monster.bar.rate, 0.1f);
  ASSERT_TRUE(rig->RunUntil([&] { return !rig->events.dead.empty(); }, 2000));
  const std::uint32_t deathAt = rig->clock.Ms();

  EXPECT_EQ(rig->events.dead, std::vector<std::int32_t>{2500});
  EXPECT_EQ(player.record.life, 9);
  EXPECT_TRUE(rig->events.Played("sound\\success.ogg"));
  EXPECT_GE(rig->events.musicStops, 1);
  EXPECT_EQ(rig->game.monster.state, kMonsterDead);
  EXPECT_FALSE(rig->game.monster.bar.present);
  EXPECT_EQ(player.record.monstersLeft, 5);
  EXPECT_EQ(player.record.monstersVanquished, 1);
  EXPECT_EQ(player.record.bossesSlain, 0);
  EXPECT_EQ(player.record.score, 2500);

  const auto rewards = Posts(GameMessage::RewardTile);
  ASSERT_EQ(rewards.size(), 2u);  // the Cyclops always leaves two, and the board has room
  EXPECT_EQ(rewards[0].delayMs, 700u);
  EXPECT_EQ(rewards[1].delayMs, 1400u);
  const auto next = Posts(GameMessage::PlayerEvent);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].delayMs, 2100u + 1100u);
  EXPECT_TRUE(Posts(GameMessage::BookFound).empty());

  // The tiles arrive, then the next monster.
  const int tiles = rig->game.board.CountAll();
  ASSERT_TRUE(rig->RunUntil([&] { return rig->events.shown.size() == 1; }, 4000));
  EXPECT_GE(rig->clock.Ms() - deathAt, 3200u);
  EXPECT_LT(rig->clock.Ms() - deathAt, 3200u + testing::GameRig::kFrameMs);
  EXPECT_EQ(rig->game.board.CountAll(), tiles + 2);
  EXPECT_TRUE(rig->game.monster.IsActive());
}

TEST_F(MonsterFightTest, ACrowdedBoardGetsEachRewardOnlyHalfTheTime) {
  int posted = 0;
  int none = 0;
  int both = 0;
  for (int trial = 0; trial < 300; ++trial) {
    rig->SetRack("ABCDEFGHIJK");  // 11 tiles
    Face(kCyclops, 45);
    rig->game.player.record.monstersLeft = 6;
    rig->events.Forget();
    Kill();
    const int n = static_cast<int>(Posts(GameMessage::RewardTile).size());
    posted += n;
    none += n == 0 ? 1 : 0;
    both += n == 2 ? 1 : 0;
    rig->events.queue.clear();
  }
  EXPECT_NEAR(posted / 600.0, 0.5, 0.08);
  EXPECT_GT(none, 0);
  EXPECT_GT(both, 0);

  for (int trial = 0; trial < 50; ++trial) {
    rig->SetRack("ABCDEFGHIJ");  // 10 tiles
    Face(kCyclops, 45);
    rig->game.player.record.monstersLeft = 6;
    rig->events.Forget();
    Kill();
    ASSERT_EQ(Posts(GameMessage::RewardTile).size(), 2u);
    rig->events.queue.clear();
  }
}

TEST_F(MonsterFightTest, ADungeonsLastKillGivesNoTilesInWizardModeOrInTheLastDungeon) {
  struct Case {
    int mode, dungeon, left;
    std::size_t rewards;
  };
  for (const Case& c : {Case{1, 10, 1, 2}, Case{0, 10, 1, 2}, Case{2, 10, 1, 0}, Case{2, 10, 2, 2},
                        Case{1, 25, 1, 0}, Case{1, 25, 2, 2}}) {
    rig.reset();
    rig = std::make_unique<GameRig>(words, 5);
    ASSERT_TRUE(rig->StartGame(c.mode));
    rig->game.player.SetDungeon(c.dungeon);
    rig->game.player.record.monstersLeft = c.left;
    Face(kCyclops, 45);
    rig->events.Forget();
    Kill();
    EXPECT_EQ(Posts(GameMessage::RewardTile).size(), c.rewards)
        << "mode " << c.mode << " dungeon " << c.dungeon << " left " << c.left;
  }
}

TEST_F(MonsterFightTest, DungeonTwentyFivesSixthIsTheEvilDragonAndGivesNoTiles) {
  PlayerRun& player = rig->game.player;
  player.SetDungeon(25);
  player.record.lastBookDungeon = 24;
  for (int left = 6; left >= 1; --left) {
    player.record.monstersLeft = left;
    rig->events.Forget();
    rig->game.NextEncounter();
    ASSERT_EQ(rig->events.shown.size(), 1u);
    EXPECT_EQ(rig->events.shown[0].index == kEvilDragon, left == 1);
  }
  rig->events.Forget();
  Kill();
  EXPECT_TRUE(Posts(GameMessage::RewardTile).empty());
  EXPECT_EQ(rig->events.dead, std::vector<std::int32_t>{25000});
  EXPECT_EQ(player.record.bossesSlain, 1);
  // No book in the last dungeon unless three have passed since the last one.
  EXPECT_TRUE(Posts(GameMessage::BookFound).empty());
  EXPECT_EQ(Posts(GameMessage::PlayerEvent).size(), 1u);
}

TEST_F(MonsterFightTest, ABossLeavesABookTwiceInThreeOrAlwaysAfterThreeDungeonsWithout) {
  PlayerRun& player = rig->game.player;
  int books = 0;
  constexpr int kTrials = 600;
  for (int trial = 0; trial < kTrials; ++trial) {
    player.SetDungeon(10);
    player.record.lastBookDungeon = 8;
    Face(kStoneGiant, 45);
    rig->events.Forget();
    Kill();
    const auto book = Posts(GameMessage::BookFound);
    const auto next = Posts(GameMessage::PlayerEvent);
    ASSERT_EQ(book.size() + next.size(), 1u);
    if (!book.empty()) {
      ++books;
      EXPECT_EQ(book[0].delayMs, 700u + 2 * 700u);  // after the two rewards' turns
      EXPECT_EQ(player.record.lastBookDungeon, 10);
    } else {
      EXPECT_EQ(player.record.lastBookDungeon, 8);
    }
    rig->events.queue.clear();
  }
  EXPECT_NEAR(books / double(kTrials), 2.0 / 3.0, 0.06);
  EXPECT_EQ(player.record.bossesSlain, kTrials);

  for (int trial = 0; trial < 50; ++trial) {
    player.SetDungeon(25);
    player.record.lastBookDungeon = 22;
    Face(kEvilDragon, 125);
    rig->events.Forget();
    Kill();
    ASSERT_EQ(Posts(GameMessage::BookFound).size(), 1u);
    rig->events.queue.clear();
  }
  // An ordinary monster never leaves a book.
  player.SetDungeon(10);
  player.record.lastBookDungeon = 0;
  Face(kCyclops, 45);
  rig->events.Forget();
  Kill();
  EXPECT_TRUE(Posts(GameMessage::BookFound).empty());
}

}  // namespace
}  // namespace spellcrypt
