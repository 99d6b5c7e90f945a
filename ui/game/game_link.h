// The widgets' links to the game: a tile's click, the submit bar, the jumble and recall buttons,
// the quit button's question, and the score display.
#pragma once

namespace spellcrypt {

class CTile;

void BoardTileClicked(CTile* tile);
void BoardSubmitWord();
void BoardJumble();
void BoardRecallLastWord();
// Whether the board allows leaving the game now (false without a board).
bool BoardCanLeave();
// The player's total score; false when there is no game to ask.
bool PlayerTotalScore(long long& score);

}  // namespace spellcrypt
