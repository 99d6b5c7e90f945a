// One monster: a type of the monster table, and (as a copy) the monster of the current encounter.
// The saved game keeps it as an 828-byte record.
#pragma once

#include <cstdint>

#include "base/binary_io.h"

namespace spellcrypt {

// The sprite animation of an idle or attacking monster: frames first..last, mode (0 none, 1 loop,
// 4 once forward), ms per frame.
struct MonsterAnim {
  std::int32_t first = 0;
  std::int32_t last = 0;
  std::int32_t mode = 0;
  std::int32_t frameMs = 500;
};

struct MonsterRecord {
  std::int32_t index = 0;
  std::int32_t maxLife = 0;
  std::int32_t life = 0;
  std::int32_t attackDelayMin = 4000;  // ms
  std::int32_t attackDelayMax = 4000;
  std::int32_t attackDamage = 1;
  char name[52] = {};
  float lungeSpeed = 0.05f;
  std::int32_t lifeMin = 0;
  std::int32_t lifeMax = 0;
  char encounterSound[128] = "sound\\encounter2.ogg";
  std::uint8_t encounterIsMusic = 0;
  std::int32_t rewardTilesMin = 1;
  std::int32_t rewardTilesMax = 1;
  std::int32_t killBonus = 100;
  std::int32_t isBoss = 0;
  std::int32_t savedState = 0;  // the monster's state when the game was saved
  std::uint8_t armor = 0;       // words shorter than this do nothing
  char image[256] = {};
  std::int32_t frames = 1;
  std::int32_t x = 0;  // both 0: the sprite's bottom centre stands at (109, 187)
  std::int32_t y = 0;
  MonsterAnim idleAnim{0, 0, 0, 500};
  MonsterAnim attackAnim{0, 0, 0, 100};
};

constexpr int kMonsterRecordSize = 828;

void EncodeMonsterRecord(const MonsterRecord& record, ByteWriter& out);
// Reads exactly kMonsterRecordSize bytes as they are (texts may lack their end: the reader checks);
// false, record untouched, when short.
bool DecodeMonsterRecord(ByteReader& in, MonsterRecord& record);

}  // namespace spellcrypt
