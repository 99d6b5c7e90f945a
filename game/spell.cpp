// Spell damage and score.
#include "game/spell.h"

#include <algorithm>
#include <limits>

#include "game/tile_types.h"
#include "words/secret_words.h"

namespace spellcrypt {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();

std::int32_t Clamp32(std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, kMin, kMax)); }

// Words of 3..8 letters; longer ones (only the oracle can lay them) have their own rule.
constexpr std::int32_t kDamage[] = {3, 6, 10, 20, 40, 60};
constexpr std::int32_t kScore[] = {100, 300, 1000, 2000, 3000, 5000};

}  // namespace

std::int32_t BaseDamage(int letters) {
  if (letters < 3) return 0;
  return letters <= 8 ? kDamage[letters - 3] : 100;
}

std::int32_t BaseScore(int letters) {
  if (letters < 3) return 0;
  if (letters <= 8) return kScore[letters - 3];
  return Clamp32(static_cast<std::int64_t>(letters) * ((letters / 2) * 50));
}

std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b) {
  return Clamp32(static_cast<std::int64_t>(a) + b);
}

Spell ComputeSpell(const SpellInputs& in) {
  std::int64_t d = BaseDamage(in.letters);
  if (in.kidmode) d *= 2;
  for (int type : in.tiles) d += TileTypeOf(type).add;
  for (int type : in.tiles) d = std::min<std::int64_t>(d * TileTypeOf(type).mult, kMax);
  std::int64_t s = BaseScore(in.letters);
  if (d > 30) s += d * 80 - 2400;
  if (in.secret != nullptr) {
    d += in.secret->extraDamage;
    s += in.secret->extraPoints;
  }
  d += in.mindLevel;
  return Spell{Clamp32(d), Clamp32(s)};
}

}  // namespace spellcrypt
