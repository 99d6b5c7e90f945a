// The monster of the current encounter as the rules see it: its record, its state and its bar.
#pragma once

#include <string>

#include "base/timing.h"
#include "game/gauge.h"
#include "game/monster_record.h"

namespace spellcrypt {

enum MonsterPhase : int { kMonsterNone = 0, kMonsterFighting = 1, kMonsterDead = 2 };

struct MonsterState {
  explicit MonsterState(IClock& clock) : attackTimer(clock) {}

  // The record back to the defaults, no fight.
  void Reset() {
    record = MonsterRecord{};
    state = kMonsterNone;
    falling = false;
  }
  bool IsActive() const { return state == kMonsterFighting; }
  // "Skeleton (9 of 13)"
  std::string Label() const;
  float LifeFraction() const;

  MonsterRecord record;
  int state = kMonsterNone;
  bool falling = false;  // killed, the bar draining
  IntervalTimer attackTimer;
  Gauge bar;
};

}  // namespace spellcrypt
