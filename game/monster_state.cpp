// The current monster's label and life.
#include "game/monster_state.h"

#include <cstdio>

namespace spellcrypt {

std::string MonsterState::Label() const {
  char text[96];
  std::snprintf(text, sizeof text, "%s (%d of %d)", record.name, record.life, record.maxLife);
  return text;
}

float MonsterState::LifeFraction() const {
  return record.maxLife > 0 ? static_cast<float>(record.life) / static_cast<float>(record.maxLife) : 0.0f;
}

}  // namespace spellcrypt
