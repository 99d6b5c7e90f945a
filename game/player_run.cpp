// The player's run.
#include "game/player_run.h"

#include <algorithm>

#include "game/monster_table.h"
#include "game/spell.h"

namespace spellcrypt {

void PlayerRun::NewRun(int mode) {
  carried.clear();
  record = RunRecord{};
  usedWords.Clear();
  strongWords.Clear();
  treasures.Clear();
  weights.Clear();
  record.dungeon = mode == 2 ? kWizardFirstDungeon : 1;
  record.maxLife = record.life = mode == 0 ? kKidmodeLife : kStartingLife;
  SetDungeon(record.dungeon);
  dead = false;
  warning = false;
  bar = Gauge{};
}

void PlayerRun::SetDungeon(int d) {
  record.dungeon = d;
  record.monstersLeft = kMonstersPerDungeon;
  record.bossMet = 0;
}

bool PlayerRun::Heal(int n) {
  if (record.life == 0) return false;
  const int before = record.life;
  record.life = std::clamp(SaturatingAdd(record.life, n), 0, std::max(0, record.maxLife));
  bar.target =
      record.maxLife > 0 ? static_cast<float>(record.life) / static_cast<float>(record.maxLife) : 0.0f;
  return record.life != before;
}

void PlayerRun::RecordWord(const std::string& word, int damage) {
  record.totalWords = SaturatingAdd(record.totalWords, 1);
  record.totalLetters = SaturatingAdd(record.totalLetters, static_cast<std::int64_t>(word.size()));
  record.strongestDamage = std::max(record.strongestDamage, damage);
  const std::size_t n = word.size();
  if (n >= 3 && n <= 8) record.wordsByLength[n - 3] = SaturatingAdd(record.wordsByLength[n - 3], 1);
}

void PlayerRun::AddScore(std::int64_t points) {
  record.score = std::max(0, SaturatingAdd(record.score, points));
}

}  // namespace spellcrypt
