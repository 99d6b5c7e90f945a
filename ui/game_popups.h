// The small popups over the title and the game: groups of list-owned things created by name and
// removed by name. Each raises the input level to 100 while it is open and sets it to 0 again.
#pragma once

namespace spellcrypt {

// The full-screen help picture with its back button.
void OpenHelpPopup();
void CloseHelpPopup();
void CloseContinueQuestion();
void CloseQuitQuestion();
void ClosePausePopup();

}  // namespace spellcrypt
