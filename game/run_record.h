// The player's run record: the 35 four-byte fields kept whole in the saved game.
#pragma once

#include <cstdint>

#include "base/binary_io.h"

namespace spellcrypt {

struct RunRecord {
  std::int32_t dungeon = 0;  // 1..25
  std::int32_t maxLife = 0;
  std::int32_t life = 0;
  std::int32_t monstersLeft = 0;  // counting the current one; 6 at a dungeon's start
  std::int32_t bossesSlain = 0;
  std::int32_t reserved1 = 0;
  std::int32_t mode = 0;  // the difficulty, written just before saving
  std::int32_t strongestDamage = 0;
  std::int32_t totalWords = 0;
  std::int32_t totalLetters = 0;
  std::int32_t monstersVanquished = 0;
  std::int32_t wordsByLength[6] = {};  // words of 3..8 letters
  std::int32_t oraclesSummoned = 0;
  std::int32_t reserved2 = 0;
  std::int32_t score = 0;
  char oracleWord[16] = {};  // terminated
  std::int32_t bossMet = 0;
  std::int32_t mindLevel = 0;
  std::int32_t bonusPages = 0;
  float staffFraction = 0.0f;  // 0..0.99
  std::int32_t luckLevel = 0;
  std::int32_t lastBookDungeon = 0;
  std::int32_t reserved3[5] = {};
};

constexpr int kRunRecordSize = 140;

void EncodeRunRecord(const RunRecord& record, ByteWriter& out);
// Reads exactly kRunRecordSize bytes as they are (the oracle word may lack its end: the reader
// checks); false (record untouched) when they are not there.
bool DecodeRunRecord(ByteReader& in, RunRecord& record);

}  // namespace spellcrypt
