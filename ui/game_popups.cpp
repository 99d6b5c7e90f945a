// Help popup, and the closing of the game's popups.
#include "ui/game_popups.h"

#include <initializer_list>

#include "app/globals.h"
#include "ui/layers.h"
#include "ui/menu_button.h"
#include "ui/thing_list.h"

namespace spellcrypt {

namespace {

void KillAll(std::initializer_list<const char*> names) {
  CGlobals& g = GetGlobals();
  for (const char* name : names) g.things->KillByName(name);
  g.inputLevel = input_level::kPlaying;
}

}  // namespace

void OpenHelpPopup() {
  CGlobals& g = GetGlobals();
  g.inputLevel = input_level::kPopup;
  auto* picture = new CThingSprite();
  picture->SetName("helpbg");
  picture->LoadImage("graphics\\help_screen.jpg", false, kMagenta);
  picture->SetPosition(0, 0);
  picture->layer = layer::kPopupPicture;
  g.things->Add(picture);

  auto* back = new CMenuBut();
  back->SetName("help_go_back");
  back->SetOverImage("graphics\\continue_over.bmp", false);
  back->SetPosition(260, 410);
  back->layer = layer::kPopupButton;
  back->command = kCmdHelpBack;
  g.things->Add(back);
}

void CloseHelpPopup() { KillAll({"helpbg", "help_go_back"}); }
void CloseContinueQuestion() { KillAll({"restart", "restart_yes", "restart_no"}); }
void CloseQuitQuestion() { KillAll({"giveup", "quit_yes", "quit_no"}); }
void ClosePausePopup() { KillAll({"paused_bg", "paused_con"}); }

}  // namespace spellcrypt
