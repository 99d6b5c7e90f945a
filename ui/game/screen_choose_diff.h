// The difficulty chooser: Kidmode, Normal or Wizard, then into the map of the first dungeon.
#pragma once

#include "ui/framework/screen.h"

namespace spellcrypt {

// Opens the chooser over the title (input level 100). False when it could not start.
bool OpenDifficultyChooser();

}  // namespace spellcrypt
