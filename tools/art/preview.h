// Mock screens for looking at the pictures together before the game can draw them: the pictures
// placed where the game places them, and text set with the bitmap fonts the way the game packs
// and draws them.
#pragma once

#include <string>

#include "tools/art/picture_set.h"

namespace spellcrypt::art {

// Writes preview_*.png into `dir` from the pictures already written under `runtimeDir`.
bool WritePreviews(const std::string& runtimeDir, const std::string& dir);

}  // namespace spellcrypt::art
