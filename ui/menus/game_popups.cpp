// The help popup, the continue and quit questions and the pause popup: named things over the
// title or the game, opened with the input level at 100 and closed by name.
#include "ui/menus/game_popups.h"

#include <initializer_list>

#include "app/app.h"
#include "app/globals.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"
#include "ui/widgets/big_message.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

namespace {

void KillAll(std::initializer_list<const char*> names) {
  CGlobals& g = GetGlobals();
  for (const char* name : names) g.things->KillByName(name);
  g.inputLevel = input_level::kPlaying;
}

// The small popups share one background; their buttons stand relative to it.
constexpr const char* kPopupPicture = "graphics\\popup.jpg";
constexpr int kPopupX = 130;
constexpr int kPopupY = 143;

CMenuBut* AddButton(const char* name, const char* normal, const char* over, int dx, int dy, int command) {
  auto* button = new CMenuBut();
  button->SetName(name);
  if (normal != nullptr) button->SetNormalImage(normal);
  button->SetOverImage(over, false);
  button->SetPosition(kPopupX + dx, kPopupY + dy);
  button->layer = layer::kPopupButton;
  button->command = command;
  GetGlobals().things->Add(button);
  return button;
}

enum class Default { kYes, kNo };

// The question's two answers; Enter presses `answer` unless the pointer highlights the other.
void AddYesNo(const char* yes, const char* no, int yesCommand, int noCommand, Default answer) {
  CMenuBut* yesButton = AddButton(yes, "graphics\\yes.bmp", "graphics\\yes_over.bmp", 66, 123, yesCommand);
  CMenuBut* noButton = AddButton(no, "graphics\\no.bmp", "graphics\\no_over.bmp", 213, 123, noCommand);
  (answer == Default::kYes ? yesButton : noButton)->enterDefault = true;
}

// A popup background with texts written into it (sticky once written), until it is removed.
CBigMessage* AddBigMessage(const char* name) {
  auto* message = new CBigMessage();
  message->SetName(name);
  message->LoadImage(kPopupPicture, false, kMagenta);
  message->SetPosition(kPopupX, kPopupY);
  GetGlobals().things->Add(message);
  return message;
}

}  // namespace

void OpenContinueQuestion() {
  CGlobals& g = GetGlobals();
  g.inputLevel = input_level::kPopup;
  auto* text = new CTextBox();
  text->SetName("restart");
  text->LoadImage(kPopupPicture, false, kMagenta);
  text->SetPosition(kPopupX, kPopupY);
  if (CAppGlo* app = GetApp()) text->SetFont(&app->summaryFont);
  text->SetArea(20, 20, text->Width() - 40, text->Height() - 40);
  text->layer = layer::kGameButton;
  text->AddText("Would you like to continue the last game you were playing?");
  g.things->Add(text);
  // Yes keeps the saved game, so it is the default.
  AddYesNo("restart_yes", "restart_no", kCmdRestartYes, kCmdRestartNo, Default::kYes);
}

void OpenQuitQuestion() {
  GetGlobals().inputLevel = input_level::kPopup;
  CBigMessage* question = AddBigMessage("giveup");
  question->WriteTextAt(17, 25, "Would you like to stop playing?");
  question->WriteTextAt(17, 65, "Your game will be saved.");
  question->SetSticky(true);
  AddYesNo("quit_yes", "quit_no", kCmdQuitYes, kCmdQuitNo, Default::kNo);
}

void OpenPausePopup() {
  GetGlobals().inputLevel = input_level::kPopup;
  CBigMessage* paused = AddBigMessage("paused_bg");
  paused->WriteTextAt(90, 45, "The game is paused.");
  paused->SetSticky(true);
  AddButton("paused_con", "graphics\\popup_continue.bmp", "graphics\\popup_continue_over.bmp", 139, 124,
            kCmdPauseContinue)
      ->enterDefault = true;
}

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
  back->enterDefault = true;
  g.things->Add(back);
}

void CloseHelpPopup() { KillAll({"helpbg", "help_go_back"}); }
void CloseContinueQuestion() { KillAll({"restart", "restart_yes", "restart_no"}); }
void CloseQuitQuestion() { KillAll({"giveup", "quit_yes", "quit_no"}); }
void ClosePausePopup() { KillAll({"paused_bg", "paused_con"}); }

}  // namespace spellcrypt
