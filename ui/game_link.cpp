// Links from the widgets to gameplay. The tile board, the player, the saved game, the book screen,
// the difficulty chooser and the high-score screen are not built yet: each link finds what it can
// and logs plainly what is missing.
#include "ui/game_link.h"

#include "app/globals.h"
#include "base/log.h"
#include "ui/thing_list.h"

namespace spellcrypt {

namespace {
void NotYet(const char* what) { Log("%s is not available yet.", what); }
}  // namespace

CThing* FindBoard() {
  CThing* board = GetGlobals().things->FindByName("board");
  if (board == nullptr) Log("Couldn't find tile board object");
  return board;
}

void BoardTileClicked(CTile* /*tile*/) {
  if (FindBoard() != nullptr) NotYet("Clicking tiles on the board");
}

void BoardSubmitWord() {
  if (FindBoard() != nullptr) NotYet("Casting the spelled word");
}

void BoardJumble() {
  if (FindBoard() != nullptr) NotYet("Jumbling the rack");
}

void BoardRecallLastWord() {
  if (FindBoard() != nullptr) NotYet("Recalling the last word");
}

bool BoardCanLeave() {
  if (FindBoard() != nullptr) NotYet("Leaving a game");
  return false;
}

bool PlayerTotalScore(long long& score) {
  score = 0;
  return false;
}

void StartPlay() { NotYet("Playing a game"); }
void OpenHighScores() { NotYet("The hall of fame"); }

bool OpenBookScreen() {
  NotYet("The book screen");
  return false;
}

void OpenPausePopup() { NotYet("The pause popup"); }
void OpenQuitQuestion() { NotYet("The quit question"); }
void SaveAndLeaveGame() { NotYet("Saving and leaving a game"); }
void ContinueSavedGame() { NotYet("Continuing a saved game"); }
void OpenDifficultyChooser() { NotYet("The difficulty chooser"); }

}  // namespace spellcrypt
