// The saved game's bytes and their checks.
#include "game/saved_game.h"

#include <cmath>
#include <cstring>
#include <set>

#include "base/binary_io.h"
#include "game/monster_table.h"
#include "game/tile_types.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

constexpr std::uint8_t kVersion[4] = {0xCD, 0xCC, 0x8C, 0x3F};  // the float 1.1
constexpr std::int32_t kListsHeader = 16;
constexpr int kMaxTiles = 16;  // a board never holds more: a deal or a reward stops at 16
constexpr int kMaxLetterWeights = 26;

void EncodeTile(const BoardTile& t, ByteWriter& out) {
  out.U8(static_cast<std::uint8_t>(t.letter));
  const char label[4] = {t.Label(), '\0', '\0', '\0'};
  out.Bytes(label, sizeof label);
  out.I32(t.lowerSlot);
  out.I32(t.homeSlot);
  out.I32(t.upperSlot);
  out.I32(t.type);
  out.F32(t.x);
  out.F32(t.y);
}

bool Terminated(const char* text, std::size_t size) { return std::memchr(text, '\0', size) != nullptr; }

bool InSlots(int slot) { return slot >= 0 && slot < 16; }

// Why a tile record cannot be played, or null.
const char* TileProblem(const BoardTile& t) {
  if (!IsTileType(t.type)) return "a tile of an unknown type";
  const bool letterOk = (t.letter >= 'A' && t.letter <= 'Z') || (t.letter == ' ' && IsActionTile(t.type));
  if (!letterOk) return "a tile without a letter";
  if (t.upperSlot != -1 && !InSlots(t.upperSlot)) return "a tile outside the word row";
  if (t.upperSlot == -1 && !InSlots(t.lowerSlot)) return "a tile outside the rack";
  if (t.homeSlot != -1 && !InSlots(t.homeSlot)) return "a tile with no home in the rack";
  if (!std::isfinite(t.x) || !std::isfinite(t.y)) return "a tile with no place on screen";
  return nullptr;
}

const char* RunProblem(const RunRecord& r) {
  if (r.dungeon < 1 || r.dungeon > kLastDungeon) return "a dungeon outside 1..25";
  if (r.mode < 0 || r.mode > 2) return "an unknown difficulty";
  if (r.maxLife < 1 || r.life < 1 || r.life > r.maxLife) return "no life to go on with";
  // A game is saved only while it fights one of the dungeon's monsters.
  if (r.monstersLeft < 1 || r.monstersLeft > kMonstersPerDungeon)
    return "a dungeon with no monster or too many";
  if (!(r.staffFraction >= 0.0f && r.staffFraction < 1.0f)) return "a staff outside 0..0.99";
  if (r.score < 0 || r.mindLevel < 0 || r.luckLevel < 0 || r.bonusPages < 0 || r.bossesSlain < 0) {
    return "a negative score or level";
  }
  if (r.lastBookDungeon < 0 || r.lastBookDungeon > kLastDungeon) return "a book found outside the dungeons";
  if (!Terminated(r.oracleWord, sizeof r.oracleWord)) return "an oracle word without its end";
  return nullptr;
}

const char* MonsterProblem(const MonsterRecord& m) {
  if (m.index < 0 || m.index >= kMonsterTypes) return "a monster outside the table";
  if (m.savedState < 0 || m.savedState > 2) return "a monster in an unknown state";
  if (m.maxLife < 0 || m.life < 0 || m.life > m.maxLife) return "a monster's life outside its range";
  if (m.frames < 1 || m.frames > 64) return "a monster picture without frames";
  if (m.attackDelayMin < 0 || m.attackDelayMax < m.attackDelayMin || m.attackDelayMax > 600000) {
    return "a monster attacking at no sane pace";
  }
  if (m.attackDamage < 0 || m.attackDamage > 1000) return "a monster hitting beyond reason";
  if (m.rewardTilesMin < 0 || m.rewardTilesMax < m.rewardTilesMin || m.rewardTilesMax > 16) {
    return "a monster with an impossible reward";
  }
  if (!std::isfinite(m.lungeSpeed) || m.lungeSpeed < 0.0f || m.lungeSpeed > 10.0f) return "a monster's lunge";
  if (m.x < -640 || m.x > 640 || m.y < -480 || m.y > 480) return "a monster placed off the screen";
  for (const MonsterAnim* a : {&m.idleAnim, &m.attackAnim}) {
    if (a->first < 0 || a->last < a->first || a->last >= m.frames || a->frameMs < 1)
      return "a monster's animation";
  }
  if (!Terminated(m.name, sizeof m.name) || !Terminated(m.image, sizeof m.image) ||
      !Terminated(m.encounterSound, sizeof m.encounterSound)) {
    return "a monster text without its end";
  }
  return nullptr;
}

}  // namespace

std::vector<std::uint8_t> EncodeSavedGame(const SavedGame& game) {
  ByteWriter out;
  out.Bytes(kVersion, sizeof kVersion);
  out.I32(static_cast<std::int32_t>(game.tiles.size()));
  for (const BoardTile& t : game.tiles) EncodeTile(t, out);
  out.I32(kListsHeader);
  const std::uint8_t nothing[16] = {};
  out.Bytes(nothing, sizeof nothing);
  game.weights.Save(out);
  game.usedWords.Save(out);
  game.treasures.Save(out);
  game.strongWords.Save(out);
  out.I32(kRunRecordSize);
  EncodeRunRecord(game.run, out);
  EncodeMonsterRecord(game.monster, out);
  return out.Data();
}

SaveCheck DecodeSavedGame(const std::vector<std::uint8_t>& bytes, SavedGame& game, std::string& why) {
  if (bytes.size() < sizeof kVersion || std::memcmp(bytes.data(), kVersion, sizeof kVersion) != 0) {
    why = "not a saved game of this version";
    return SaveCheck::OlderVersion;
  }
  auto damaged = [&why](const char* what) {
    why = what;
    return SaveCheck::Damaged;
  };
  ByteReader in(bytes);
  in.Skip(sizeof kVersion);
  SavedGame read;
  std::int32_t count = 0;
  if (!in.I32(count)) return damaged("the file ends before its tiles");
  if (count < 0 || count > kMaxTiles || static_cast<std::size_t>(count) * kTileRecordSize > in.Remaining()) {
    return damaged("a tile count the file cannot hold");
  }
  std::set<int> lowerTaken;
  std::set<int> upperTaken;
  for (std::int32_t i = 0; i < count; ++i) {
    BoardTile t;
    std::uint8_t letter = 0;
    in.U8(letter);
    t.letter = static_cast<char>(letter);
    in.Skip(4);  // the label: the letter again, then nothing the game reads
    in.I32(t.lowerSlot);
    in.I32(t.homeSlot);
    in.I32(t.upperSlot);
    in.I32(t.type);
    in.F32(t.x);
    in.F32(t.y);
    if (const char* problem = TileProblem(t)) return damaged(problem);
    std::set<int>& row = t.upperSlot != -1 ? upperTaken : lowerTaken;
    if (!row.insert(t.upperSlot != -1 ? t.upperSlot : t.lowerSlot).second)
      return damaged("two tiles on one slot");
    read.tiles.push_back(t);
  }
  std::int32_t header = 0;
  if (!in.I32(header) || header != kListsHeader || !in.Skip(16)) return damaged("the word lists' header");
  if (!read.weights.Load(in) || read.weights.Count() > kMaxLetterWeights)
    return damaged("the letter weights");
  for (int i = 0; i < read.weights.Count(); ++i) {
    if (read.weights.GetWeight(i) < 0) return damaged("a negative letter weight");
  }
  if (!read.usedWords.Load(in) || !read.treasures.Load(in) || !read.strongWords.Load(in)) {
    return damaged("the word lists");
  }
  std::int32_t runSize = 0;
  if (!in.I32(runSize) || runSize != kRunRecordSize) return damaged("the run record's size");
  if (!DecodeRunRecord(in, read.run)) return damaged("the file ends inside the run record");
  if (const char* problem = RunProblem(read.run)) return damaged(problem);
  if (!DecodeMonsterRecord(in, read.monster)) return damaged("the file ends inside the monster");
  if (const char* problem = MonsterProblem(read.monster)) return damaged(problem);
  game = std::move(read);
  return SaveCheck::Ok;
}

bool IsSaveUsable(std::string_view path) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  std::uint8_t head[4] = {};
  const bool ok = std::fread(head, 1, sizeof head, f) == sizeof head && std::memcmp(head, kVersion, 4) == 0;
  std::fclose(f);
  return ok;
}

bool WriteSavedGame(std::string_view path, const SavedGame& game) {
  const std::vector<std::uint8_t> bytes = EncodeSavedGame(game);
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace spellcrypt
