// A sheet of every monster in the fight window, for judging them the way a player meets them: each
// picture read back from the written files and set at its place over the window's dungeon room.
#pragma once

#include <string>

namespace spellcrypt::art {

// Writes PREFIX_1x.png and PREFIX_2x.png (the same sheet doubled, nearest neighbour) from the
// pictures already written under `runtimeDir`.
bool WriteMonsterSheet(const std::string& runtimeDir, const std::string& prefix);

}  // namespace spellcrypt::art
