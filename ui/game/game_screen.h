// The game screen: the named things of a game (background, board, submit bar, score, buttons),
// built when a game starts or continues and removed when it ends; and the small popups over it.
#pragma once

namespace spellcrypt {

// Builds the game screen and starts play: from the saved game at saveFile, or (null) the board of
// the player's current dungeon. Deletes "autosave.sav" afterwards, used or not.
void BuildGameScreen(const char* saveFile);
// The player and monster remove their bars and pictures, the message line empties, and the game
// screen's things go.
void RemoveGameScreen();

// Title "play": the continue question when a usable saved game exists, else the difficulty chooser.
void StartPlay();
// The continue question's yes: a fresh run and monster, then the saved game on a new game screen.
void ContinueSavedGame();
// The quit question's yes: save, fresh run, music off, back to the title. When the game cannot be
// saved the player is told and stays in the game.
void SaveAndLeaveGame();
// Saves the game in play as the quit question's yes would, but stays in it: for a browser tab
// that is hidden and may be closed. False when no game can be left now or saving failed.
bool KeepGameForLater();

// The end of a game (after the fall, or after the last dungeon): what follows the game.
void EndOfGame();

}  // namespace spellcrypt
