// The title page.
#include "ui/menus/screen_title.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/assets.h"
#include "base/log.h"
#include "base/timing.h"
#include "ui/framework/layers.h"
#include "ui/framework/sound.h"

namespace spellcrypt {

namespace {

struct TitleButton {
  CMenuBut ScreenTitle::*member;
  const char* picture;
  int x;
  int y;
  int command;
};

}  // namespace

ScreenTitle::ScreenTitle() {
  CAppGlo* app = GetApp();
  if (app != nullptr && std::strcmp(app->wordListPath, asset::kWordList) != 0) {
    wordList_ = std::make_unique<CTextBox>();
  }
}

bool ScreenTitle::Start() {
  Screen::Start();
  CAppGlo& app = *GetApp();
  const CGlobals& g = GetGlobals();

  background_.LoadImage("graphics\\title_screen.jpg", false, kMagenta);
  background_.layer = layer::kBackground;
  if (!background_.AddToList(nullptr)) return false;

  // The table order is also the order the arrow keys visit the buttons in.
  static const TitleButton kButtons[] = {
      {&ScreenTitle::play_, "graphics\\title_play.bmp", 522, 208, kCmdPlay},
      {&ScreenTitle::options_, "graphics\\title_options.bmp", 477, 247, kCmdOptions},
      {&ScreenTitle::instructions_, "graphics\\title_instruct.bmp", 420, 287, kCmdHelp},
      {&ScreenTitle::hallOfFame_, "graphics\\title_hall.bmp", 389, 328, kCmdHallOfFame},
      {&ScreenTitle::visit_, "graphics\\title_visit.bmp", 383, 368, kCmdVisitWebSite},
      {&ScreenTitle::quit_, "graphics\\title_quit.bmp", 523, 407, kCmdQuit},
  };
  for (const TitleButton& b : kButtons) {
    CMenuBut& button = this->*b.member;
    // Only a highlight picture: the button is invisible until the pointer is on it.
    button.SetOverImage(b.picture, false);
    button.SetPosition(b.x, b.y);
    button.layer = layer::kTitleButton;
    button.command = b.command;
    if (!button.AddToList(nullptr)) return false;
  }

  logo_.SetNormalImage("graphics\\title_logo.jpg");
  logo_.SetOverImage("graphics\\title_logo.jpg", false);
  logo_.SetPosition(33, 367);
  logo_.layer = layer::kTitleButton;
  logo_.command = kCmdVisitWebSite;
  logo_.playHighlightSound = false;
  logo_.keyboardSelectable = false;
  logo_.translucency = 256.0f;
  logo_.FadeTo(0.0f, 0.02f);
  if (!logo_.AddToList(nullptr)) return false;

  spiders_.SetName("spiders");
  spiders_.layer = layer::kTitleSpiders;
  spiders_.style = kSpidersCrawl;
  if (!spiders_.AddToList(nullptr)) return false;

  char line[300];
  version_.SetFont(&app.smallFont);
  version_.SetArea(574, 457, g.width, g.height);
  version_.layer = layer::kTitleText;
  std::snprintf(line, sizeof line, "v %s", app.versionText);
  version_.AddLine(line);
  if (!version_.AddToList(this)) return false;

  if (wordList_) {
    wordList_->SetFont(&app.smallFont);
    wordList_->SetArea(80, 410, g.width, g.height);
    wordList_->layer = layer::kTitleText;
    std::snprintf(line, sizeof line, "Using wordlist %s.", app.wordListPath);
    wordList_->AddLine(line);
    if (!wordList_->AddToList(this)) return false;
  }

  if (!app.soundManager->HasMusic()) PlayMusicFile(asset::kTitleMusic);
  ResetDelta();
  return true;
}

void ScreenTitle::HandleMessage(const Message& message) {
  if (message.type == MsgCloseTitle) Close();
  Screen::HandleMessage(message);
}

bool ScreenTitle::HandleInput(int /*type*/, const InputEvent* /*event*/) { return false; }

bool GoToTitle() {
  GetGlobals().inputLevel = 0;
  auto* title = new (std::nothrow) ScreenTitle();
  if (title == nullptr || !title->Start()) {
    LogError("Unable to open the title screen.");
    return false;
  }
  return true;
}

}  // namespace spellcrypt
