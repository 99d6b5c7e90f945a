// The monster record's 828 bytes, at the offsets the saved game has always used.
#include "game/monster_record.h"

namespace spellcrypt {

namespace {

template <typename Io, typename Record>
void Fields(Io& io, Record& r) {
  io.I32(r.index);
  io.I32(r.maxLife);
  io.I32(r.life);
  io.I32(r.attackDelayMin);
  io.I32(r.attackDelayMax);
  io.I32(r.attackDamage);
  io.Bytes(r.name, sizeof r.name);  // 24
  io.F32(r.lungeSpeed);             // 76
  io.I32(r.lifeMin);
  io.I32(r.lifeMax);
  io.Bytes(r.encounterSound, sizeof r.encounterSound);  // 88
  io.U8(r.encounterIsMusic);                            // 216
}

template <typename Io, typename Record>
void MoreFields(Io& io, Record& r) {
  io.I32(r.rewardTilesMin);  // 220
  io.I32(r.rewardTilesMax);
  io.I32(r.killBonus);
  io.I32(r.isBoss);
  io.I32(r.savedState);  // 236
  io.U8(r.armor);        // 240
}

template <typename Io, typename Record>
void LastFields(Io& io, Record& r) {
  io.Bytes(r.image, sizeof r.image);  // 496
  io.I32(r.frames);                   // 752
  io.I32(r.x);
  io.I32(r.y);
  for (auto* anim : {&r.idleAnim, &r.attackAnim}) {  // 764, 780
    io.I32(anim->first);
    io.I32(anim->last);
    io.I32(anim->mode);
    io.I32(anim->frameMs);
  }
}

}  // namespace

void EncodeMonsterRecord(const MonsterRecord& record, ByteWriter& out) {
  const std::uint8_t zeros[255] = {};
  Fields(out, record);
  out.Bytes(zeros, 3);
  MoreFields(out, record);
  out.Bytes(zeros, 255);
  LastFields(out, record);
  out.Bytes(zeros, 32);
}

bool DecodeMonsterRecord(ByteReader& in, MonsterRecord& record) {
  if (in.Remaining() < static_cast<std::size_t>(kMonsterRecordSize)) return false;
  MonsterRecord read;
  Fields(in, read);
  in.Skip(3);
  MoreFields(in, read);
  in.Skip(255);
  LastFields(in, read);
  in.Skip(32);
  record = read;
  return true;
}

}  // namespace spellcrypt
