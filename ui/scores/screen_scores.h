// The high-score screen: one table at a time, chosen by the difficulty tabs; a click on a row
// shows that entry's stored summary.
#pragma once

namespace spellcrypt {

// Opens the high-score screen (input level 100); fromGame: opened at the end of a game, so that
// its back button leads on to the title.
bool OpenHighScores(bool fromGame);

}  // namespace spellcrypt
