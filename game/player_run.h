// The player's run: the run record (life, dungeon, score, upgrades, statistics), the word lists,
// the letter weights and the tiles carried from one dungeon to the next.
#pragma once

#include <string>
#include <vector>

#include "game/board_tile.h"
#include "game/gauge.h"
#include "game/run_record.h"
#include "words/letter_table.h"
#include "words/string_list.h"

namespace spellcrypt {

class PlayerRun {
 public:
  static constexpr int kStartingLife = 15;
  static constexpr int kKidmodeLife = 25;
  static constexpr int kWizardFirstDungeon = 4;

  // A new game in a difficulty: everything emptied, life and first dungeon by difficulty.
  void NewRun(int mode);
  // Dungeon d begins: six monsters to meet, no boss met yet.
  void SetDungeon(int d);
  // Life up (or down for a negative n), held within 0..maxLife. The dead stay dead: at 0 life
  // nothing changes. Answers whether life changed.
  bool Heal(int n);
  bool Hurt(int n) { return Heal(-n); }
  // The warning sounds below this.
  float LowLifeThreshold() const { return 0.18f * static_cast<float>(record.maxLife); }
  bool LifeIsLow() const { return static_cast<float>(record.life) < LowLifeThreshold(); }
  // One more cast word in the statistics (the computed damage, even if armour stopped it).
  void RecordWord(const std::string& word, int damage);
  void AddScore(std::int64_t points);
  bool IsAlive() const { return record.life > 0; }

  RunRecord record;
  StringList usedWords;
  StringList strongWords;
  StringList treasures;
  LetterTable weights;
  std::vector<BoardTile> carried;
  bool dead = false;     // the fall has begun
  bool warning = false;  // the low-life warning is sounding
  Gauge bar;             // the life bar
};

}  // namespace spellcrypt
