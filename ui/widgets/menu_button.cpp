// Menu buttons.
#include "ui/widgets/menu_button.h"

#include "base/assets.h"
#include "base/keys.h"
#include "ui/framework/sound.h"
#include "ui/menus/game_popups.h"

namespace spellcrypt {

void CMenuBut::PlayClickSound() { PlayEffect(asset::kClickSound); }
void CMenuBut::PlayHighlightSound() { PlayEffect("sound\\highlight.wav"); }

void CMenuBut::HandleInput(int type, const InputEvent* event) {
  CThingButton::HandleInput(type, event);
  if (!InputAllowed() || event == nullptr) return;
  if (type == InputChar && event->key == vk::Escape) {
    // Escape backs out of the two questions of the game without answering them.
    if (command == kCmdRestartYes) CloseContinueQuestion();
    if (command == kCmdQuitNo) CloseQuitQuestion();
  } else if (type == InputClicked && event->senderId == id) {
    RunMenuCommand(command);
  }
}

}  // namespace spellcrypt
