// The small popups over the title and the game: groups of list-owned things created by name and
// removed by name. Each raises the input level to 100 while it is open and sets it to 0 again.
#pragma once

namespace spellcrypt {

// The full-screen help picture with its back button.
void OpenHelpPopup();
void CloseHelpPopup();
// "Would you like to continue the last game you were playing?" (commands 30 and 31).
void OpenContinueQuestion();
// "Would you like to stop playing?" over the game (commands 24 and 25).
void OpenQuitQuestion();
// "The game is paused." (command 26 closes it).
void OpenPausePopup();
void CloseContinueQuestion();
void CloseQuitQuestion();
void ClosePausePopup();

}  // namespace spellcrypt
