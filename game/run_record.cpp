// The run record's bytes, field by field, little-endian.
#include "game/run_record.h"

namespace spellcrypt {

namespace {

// One walk over the fields serves both directions.
template <typename Io, typename Record>
void Fields(Io& io, Record& r) {
  io.I32(r.dungeon);
  io.I32(r.maxLife);
  io.I32(r.life);
  io.I32(r.monstersLeft);
  io.I32(r.bossesSlain);
  io.I32(r.reserved1);
  io.I32(r.mode);
  io.I32(r.strongestDamage);
  io.I32(r.totalWords);
  io.I32(r.totalLetters);
  io.I32(r.monstersVanquished);
  for (auto& n : r.wordsByLength) io.I32(n);
  io.I32(r.oraclesSummoned);
  io.I32(r.reserved2);
  io.I32(r.score);
  io.Bytes(r.oracleWord, sizeof r.oracleWord);
  io.I32(r.bossMet);
  io.I32(r.mindLevel);
  io.I32(r.bonusPages);
  io.F32(r.staffFraction);
  io.I32(r.luckLevel);
  io.I32(r.lastBookDungeon);
  for (auto& n : r.reserved3) io.I32(n);
}

}  // namespace

void EncodeRunRecord(const RunRecord& record, ByteWriter& out) { Fields(out, record); }

bool DecodeRunRecord(ByteReader& in, RunRecord& record) {
  if (in.Remaining() < static_cast<std::size_t>(kRunRecordSize)) return false;
  RunRecord read;
  Fields(in, read);
  record = read;
  return true;
}

}  // namespace spellcrypt
