// The 24 monster types, the treasure chest shown after a kill, and the choice of the next monster
// for a dungeon: bosses near a dungeon's end, otherwise a weighted pick that widens with depth.
#pragma once

#include <span>

#include "base/random.h"
#include "game/monster_record.h"

namespace spellcrypt {

constexpr int kMonsterTypes = 24;
constexpr int kLastDungeon = 25;
constexpr int kMonstersPerDungeon = 6;

enum MonsterIndex : int {
  kRat = 0,
  kSpider = 1,
  kSkeleton = 2,
  kNightWolf = 3,
  kSnake = 4,
  kAquaMan = 5,
  kSuccubus = 6,
  kZombie = 7,
  kMrBomb = 8,
  kCyclops = 9,
  kGlop = 10,
  kGrizzly = 11,
  kDeathTouch = 12,
  kMysticCobra = 13,
  kGhoulSeer = 14,
  kHorrorSquirrel = 15,
  kTurtle = 16,
  kBossGhoulSeer = 17,
  kBossGrizzly = 18,
  kMaimedFace = 19,
  kStoneGiant = 20,
  kDragon = 21,
  kFireTortoise = 22,
  kEvilDragon = 23,
};

// Every type shares these sounds.
constexpr const char* kMonsterAttackSound = "sound\\skeleton_attack.wav";
constexpr const char* kMonsterPainSound = "sound\\skeleton_pain.wav";
constexpr const char* kMonsterDeathSound = "sound\\skeleton_die.ogg";
// Bosses arrive to this music.
constexpr const char* kBossMusic = "sound\\dragon_music.ogg";

std::span<const MonsterRecord> MonsterTable();
// The type's record; logs "Monster out of range" and answers the Spider's for an index outside it.
const MonsterRecord& MonsterType(int index);
// The chest shown where a killed monster stood.
const MonsterRecord& TreasureRecord();

// What the dungeon asks of the next monster.
struct MonsterChoice {
  int dungeon = 1;
  int monstersLeft = kMonstersPerDungeon;  // counting the one to choose
  bool bossMet = false;                    // a boss already came in this dungeon
  int mode = 1;                            // 0 Kidmode, 1 Normal, 2 Wizard
};

// Whether the next monster is a boss (draws from the generator only where chance decides).
bool BossComes(const MonsterChoice& choice, MersenneTwister& random);
// The boss of a dungeon (one of two, at even chance, but the Evil Dragon in the last).
int ChooseBoss(int dungeon, SimpleGenerator& random);
// The weights of the ordinary monsters for a dungeon and mode, by type (0 for types not in it).
void OrdinaryWeights(int dungeon, int mode, int weights[kMonsterTypes]);
// The next monster's type; sets bossMet when it is a boss.
int ChooseMonster(MonsterChoice& choice, MersenneTwister& random, SimpleGenerator& picker);

}  // namespace spellcrypt
