// The high-score screen: one table at a time, chosen by the difficulty tabs; a click on a row
// shows that entry's stored summary.
#pragma once

namespace spellcrypt {

class CWordRank;

// Opens the high-score screen (input level 100); fromGame: opened at the end of a game, so that
// its back button leads on to the title.
bool OpenHighScores(bool fromGame);
// The table the open high-score screen shows (the local one or an internet ranking); null while
// none is open.
const CWordRank* ShownScores();

}  // namespace spellcrypt
