// The difficulty chooser.
#include "ui/game/screen_choose_diff.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/difficulty.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/game.h"
#include "ui/framework/layers.h"
#include "ui/game/game_view.h"
#include "ui/game/screen_map.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {

namespace {

constexpr int kChooserX = 53;
constexpr int kChooserY = 103;
constexpr int kBackgroundLayer = 10;
constexpr int kButtonLayer = 12;

class ScreenChooseDiff : public Screen {
 public:
  bool Start() override;
  bool HandleInput(int type, const InputEvent* event) override;

 private:
  void Select(int mode);
  void Enter();
  void Back();

  CThingSprite background_;
  CMenuBut modes_[3];  // "Easy", "Normal", "Wizard"
  CMenuBut enter_;
  CMenuBut back_;
};

struct ModeButton {
  const char* name;
  const char* picture;
  int dx;
};
constexpr ModeButton kModes[3] = {{"Easy", "graphics\\choose_easy.jpg", 17},
                                  {"Normal", "graphics\\choose_normal.bmp", 186},
                                  {"Wizard", "graphics\\choose_wizard.bmp", 353}};

bool ScreenChooseDiff::Start() {
  Screen::Start();
  background_.LoadImage("graphics\\choose_screen.jpg", false, kMagenta);
  background_.SetPosition(kChooserX, kChooserY);
  background_.layer = kBackgroundLayer;
  if (!background_.AddToList(nullptr)) return false;
  for (int i = 0; i < 3; ++i) {
    CMenuBut& button = modes_[i];
    button.SetName(kModes[i].name);
    // Only the chosen difficulty shows its picture at rest; the others show it under the pointer.
    button.SetOverImage(kModes[i].picture, false);
    button.SetPosition(kChooserX + kModes[i].dx, kChooserY + 71);
    button.layer = kButtonLayer;
    if (!button.AddToList(this)) return false;
  }
  struct Plain {
    CMenuBut& button;
    const char* picture;
    int dx, dy;
  };
  for (const Plain& p : {Plain{enter_, "graphics\\choose_enter.jpg", 175, 216},
                         Plain{back_, "graphics\\choose_back.jpg", 222, 254}}) {
    p.button.SetOverImage(p.picture, false);
    p.button.SetPosition(kChooserX + p.dx, kChooserY + p.dy);
    p.button.layer = kButtonLayer;
    if (!p.button.AddToList(this)) return false;
  }
  Select(GetApp()->settings->mode);
  return true;
}

void ScreenChooseDiff::Select(int mode) {
  if (!IsDifficulty(mode)) mode = static_cast<int>(Difficulty::Normal);
  GetApp()->settings->mode = mode;
  for (int i = 0; i < 3; ++i) modes_[i].SetNormalImage(i == mode ? kModes[i].picture : "");
}

void ScreenChooseDiff::Enter() {
  CGlobals& g = GetGlobals();
  g.inputLevel = input_level::kPlaying;
  g.PostMessage(MsgCloseTitle, 0, nullptr, 0);
  if (Game* game = TheGame()) {
    game->NewRun(GetApp()->settings->mode);
    game->monster.Reset();
  }
  g.CancelAllMessages();
  Close();
  if (!OpenMap()) {
    ShowMessageBox("Serious error", "Unable to initialize the progress map.  Reinstall!",
                   MessageBoxIcon::Error);
    LogError("Unable to init the map");
  }
}

void ScreenChooseDiff::Back() {
  GetGlobals().inputLevel = input_level::kPlaying;
  Close();
}

bool ScreenChooseDiff::HandleInput(int type, const InputEvent* event) {
  if (event == nullptr) return false;
  if (type == InputChar && event->key == vk::Escape) {
    Back();
    return true;
  }
  if (type != InputClicked) return false;
  for (int i = 0; i < 3; ++i) {
    if (event->senderId == modes_[i].id) Select(i);
  }
  if (event->senderId == enter_.id) Enter();
  if (event->senderId == back_.id) Back();
  return false;
}

}  // namespace

bool OpenDifficultyChooser() {
  GetGlobals().inputLevel = input_level::kPopup;
  auto* chooser = new (std::nothrow) ScreenChooseDiff();
  if (chooser == nullptr || !chooser->StartOrClose()) {
    LogError("Unable to init the difficulty chooser");
    return false;
  }
  return true;
}

}  // namespace spellcrypt
