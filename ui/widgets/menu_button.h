// A menu button: a button with the menu's click and highlight sounds that carries out its command.
#pragma once

#include "ui/widgets/button.h"

namespace spellcrypt {

// Commands of the menu buttons.
enum MenuCommand : int {
  kCmdNone = 0,
  kCmdPlay = 1,
  kCmdJumble = 3,
  kCmdLastWord = 4,
  kCmdQuit = 6,
  kCmdOptions = 7,
  kCmdHelp = 11,
  kCmdHelpBack = 12,
  kCmdHallOfFame = 13,
  kCmdPause = 22,
  kCmdGameQuit = 23,
  kCmdQuitYes = 24,
  kCmdQuitNo = 25,
  kCmdPauseContinue = 26,
  kCmdVisitWebSite = 29,
  kCmdRestartYes = 30,
  kCmdRestartNo = 31,
};

class CMenuBut : public CThingButton {
 public:
  // Escape closes the continue and quit questions through their "no" buttons; a click of this
  // button carries out its command.
  void HandleInput(int type, const InputEvent* event) override;
  void PlayClickSound() override;
  void PlayHighlightSound() override;
};

// Carries out a menu command; false for a number the menu does not know.
bool RunMenuCommand(int command);

}  // namespace spellcrypt
