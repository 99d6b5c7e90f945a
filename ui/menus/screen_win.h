// The ending after the last dungeon: the picture, a text fading in and out to its music, then
// what follows every game.
#pragma once

namespace spellcrypt {

// Opens the ending. False when it could not start.
bool OpenWinScreen();

}  // namespace spellcrypt
