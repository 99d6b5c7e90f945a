// The widgets' links to the gameplay objects (the tile board, the player, the book screen, the
// difficulty chooser and the high scores). Until those are built each link says so in the log.
#pragma once

namespace spellcrypt {

class CThing;
class CTile;

// The thing named "board"; logs "Couldn't find tile board object" when there is none.
CThing* FindBoard();

void BoardTileClicked(CTile* tile);
void BoardSubmitWord();
void BoardJumble();
void BoardRecallLastWord();
// Whether the board allows leaving the game now (false without a board).
bool BoardCanLeave();
// The player's total score; false when there is no player to ask.
bool PlayerTotalScore(long long& score);

// Title "play": the continue question when a saved game exists, else the difficulty chooser.
void StartPlay();
// Title "hall of fame".
void OpenHighScores();
// The book of upgrades, when its icon has finished flying.
bool OpenBookScreen();
// Answers of the game's questions and the pause popup.
void OpenPausePopup();
void OpenQuitQuestion();
void SaveAndLeaveGame();
void ContinueSavedGame();
void OpenDifficultyChooser();

}  // namespace spellcrypt
