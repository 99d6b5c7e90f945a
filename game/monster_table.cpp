// The monster table and the choice of the next monster.
#include "game/monster_table.h"

#include <array>
#include <cstring>

#include "base/log.h"
#include "base/text_util.h"
#include "words/letter_table.h"

namespace spellcrypt {

namespace {

struct TypeRow {
  const char* name;
  const char* image;  // under "graphics\character\"
  int lifeMin, lifeMax;
  int rewardMin, rewardMax;
  int killBonus;
  int x, y;  // 0, 0: bottom centre at (109, 187)
  bool boss;
  std::uint8_t armor;
};

constexpr TypeRow kRows[kMonsterTypes] = {
    {"Rat", "Rat.bmp", 3, 4, 0, 1, 100, 0, 0, false, 0},
    {"Spider", "Spider.bmp", 7, 11, 0, 1, 500, 0, 0, false, 0},
    {"Skeleton", "Skeleton.bmp", 9, 13, 1, 1, 1000, 41, 22, false, 0},
    {"Night Wolf", "wolf.bmp", 11, 16, 1, 1, 1100, 0, 0, false, 0},
    {"Snake", "snake.bmp", 12, 17, 1, 1, 600, 23, 133, false, 0},
    {"AquaMan", "monster1.bmp", 15, 20, 1, 1, 2000, 0, 0, false, 0},
    {"Succubus", "succubus.bmp", 20, 26, 1, 2, 2500, 0, 0, false, 0},
    {"Zombie", "Zombie.bmp", 26, 30, 1, 2, 2000, 0, 0, false, 0},
    {"Mr Bomb", "bomb.bmp", 1, 1, 1, 1, 1000, 0, 0, false, 0},
    {"Cyclops", "cyclops.bmp", 40, 50, 2, 2, 2500, 0, 0, false, 0},
    {"Glop", "frog.bmp", 15, 20, 1, 1, 900, 0, 0, false, 0},
    {"Grizzly", "grizzly.bmp", 25, 35, 1, 2, 2500, 0, 0, false, 0},
    {"Death Touch", "hand_ani.bmp", 10, 10, 1, 2, 1200, 0, 0, false, 0},
    {"Mystic Cobra", "cobra.bmp", 17, 22, 1, 1, 1500, 0, 0, false, 0},
    {"Ghoul Seer", "ghoul.bmp", 26, 30, 1, 2, 2500, 0, 0, false, 0},
    {"Horror Squirrel", "squirrel.bmp", 3, 5, 1, 1, 100, 0, 0, false, 0},
    {"Turtle", "turtle.bmp", 7, 10, 1, 1, 1000, 0, 0, false, 4},
    {"Ghoul Seer", "ghoul.bmp", 26, 34, 1, 2, 2200, 0, 0, true, 0},
    {"Grizzly", "grizzly.bmp", 25, 30, 1, 2, 2000, 0, 0, true, 0},
    {"Maimed Face", "head.bmp", 47, 54, 2, 2, 5000, 41, 35, true, 0},
    {"Stone Giant", "stone.bmp", 41, 46, 2, 2, 5000, 0, 0, true, 4},
    {"Dragon", "dragon.bmp", 80, 95, 3, 3, 10000, 26, 24, true, 0},
    {"Fire Tortoise", "turtle_big_red.bmp", 60, 68, 3, 3, 10000, 0, 0, true, 4},
    {"Evil Dragon", "dragon.bmp", 125, 125, 3, 3, 25000, 26, 24, true, 0},
};

std::array<MonsterRecord, kMonsterTypes> BuildTable() {
  std::array<MonsterRecord, kMonsterTypes> table{};
  for (int i = 0; i < kMonsterTypes; ++i) {
    const TypeRow& row = kRows[i];
    MonsterRecord& m = table[static_cast<std::size_t>(i)];
    m.index = i;
    CopyText(m.name, sizeof m.name, row.name);
    CopyText(m.image, sizeof m.image, std::string("graphics\\character\\") + row.image);
    m.lifeMin = row.lifeMin;
    m.lifeMax = row.lifeMax;
    m.rewardTilesMin = row.rewardMin;
    m.rewardTilesMax = row.rewardMax;
    m.killBonus = row.killBonus;
    m.x = row.x;
    m.y = row.y;
    m.isBoss = row.boss ? 1 : 0;
    m.armor = row.armor;
    if (row.boss) {
      CopyText(m.encounterSound, sizeof m.encounterSound, kBossMusic);
      m.encounterIsMusic = 1;
    }
  }
  MonsterRecord& bomb = table[kMrBomb];
  bomb.attackDelayMin = bomb.attackDelayMax = 700;
  CopyText(bomb.encounterSound, sizeof bomb.encounterSound, "sound\\clock.ogg");
  bomb.encounterIsMusic = 1;
  MonsterRecord& hand = table[kDeathTouch];
  hand.attackDelayMin = hand.attackDelayMax = 2000;
  hand.frames = 3;
  hand.attackAnim = MonsterAnim{0, 2, 4, 200};
  MonsterRecord& squirrel = table[kHorrorSquirrel];
  squirrel.attackDelayMin = 700;
  squirrel.attackDelayMax = 800;
  return table;
}

const std::array<MonsterRecord, kMonsterTypes>& Table() {
  static const std::array<MonsterRecord, kMonsterTypes> table = BuildTable();
  return table;
}

// Ordinary monsters that join the choice deeper down, in the order they join.
struct Joiner {
  int index;
  int afterDungeon;  // joins when the dungeon is above this
  bool kidmode;      // joins in Kidmode too
};
constexpr Joiner kJoiners[] = {
    {kNightWolf, 1, true},       {kSnake, 2, true},   {kAquaMan, 3, true},    {kSuccubus, 4, false},
    {kTurtle, 5, true},          {kGlop, 6, true},    {kDeathTouch, 8, true}, {kMysticCobra, 10, true},
    {kHorrorSquirrel, 12, true}, {kMrBomb, 14, true}, {kGhoulSeer, 16, true}, {kGrizzly, 18, true},
    {kCyclops, 21, true},
};

int PickIndex(const int weights[kMonsterTypes], SimpleGenerator& picker) {
  LetterTable table;
  for (int i = 0; i < kMonsterTypes; ++i) {
    if (weights[i] > 0) table.SetWeight(i, weights[i]);
  }
  return table.Pick(picker);
}

}  // namespace

std::span<const MonsterRecord> MonsterTable() { return Table(); }

const MonsterRecord& MonsterType(int index) {
  if (index < 0 || index >= kMonsterTypes) {
    LogError("Monster out of range");
    return Table()[kSpider];
  }
  return Table()[static_cast<std::size_t>(index)];
}

const MonsterRecord& TreasureRecord() {
  static const MonsterRecord treasure = [] {
    MonsterRecord m;
    CopyText(m.name, sizeof m.name, "Treasure");
    CopyText(m.image, sizeof m.image, "graphics\\character\\Treasure.bmp");
    m.frames = 6;
    m.x = 76;
    m.y = 146;
    m.idleAnim = MonsterAnim{0, 5, 4, 180};
    return m;
  }();
  return treasure;
}

bool BossComes(const MonsterChoice& choice, MersenneTwister& random) {
  if (choice.bossMet) return false;
  if (choice.monstersLeft == 1 && choice.dungeon == kLastDungeon) return true;
  return choice.monstersLeft <= 2 && choice.dungeon >= 4 && choice.dungeon <= 24 && random.Below(2) == 0;
}

int ChooseBoss(int dungeon, SimpleGenerator& random) {
  if (dungeon == kLastDungeon) return kEvilDragon;
  int weights[kMonsterTypes] = {};
  if (dungeon <= 7) {
    weights[kBossGhoulSeer] = weights[kBossGrizzly] = 1;
  } else if (dungeon <= 16) {
    weights[kStoneGiant] = weights[kMaimedFace] = 1;
  } else {
    weights[kDragon] = weights[kFireTortoise] = 1;
  }
  return PickIndex(weights, random);
}

void OrdinaryWeights(int dungeon, int mode, int weights[kMonsterTypes]) {
  for (int i = 0; i < kMonsterTypes; ++i) weights[i] = 0;
  weights[kRat] = weights[kSpider] = weights[kSkeleton] = 20;
  int next = 20;
  for (const Joiner& j : kJoiners) {
    if (dungeon <= j.afterDungeon || (mode == 0 && !j.kidmode)) continue;
    weights[j.index] = next;
    next += 3;
  }
}

int ChooseMonster(MonsterChoice& choice, MersenneTwister& random, SimpleGenerator& picker) {
  if (BossComes(choice, random)) {
    choice.bossMet = true;
    return ChooseBoss(choice.dungeon, picker);
  }
  int weights[kMonsterTypes];
  OrdinaryWeights(choice.dungeon, choice.mode, weights);
  return PickIndex(weights, picker);
}

}  // namespace spellcrypt
