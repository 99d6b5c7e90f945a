// The progress map between dungeons: the lines of the dungeons cleared, the next one fading in,
// the hovering arrow, then on into the dungeon.
#pragma once

namespace spellcrypt {

// Opens the map for the player's current dungeon. False when it could not be built.
bool OpenMap();

}  // namespace spellcrypt
