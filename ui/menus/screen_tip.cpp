// Quick tips.
#include "ui/menus/screen_tip.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "ui/framework/layers.h"
#include "ui/framework/sound.h"

namespace spellcrypt {

namespace {

struct TipEntry {
  const char* picture;
  int pictureX;
  int pictureY;
  int panelX;  // 0, 0: centred
  int panelY;
};

constexpr TipEntry kTips[kTipCount] = {
    {"graphics\\tips\\tip_game_start.jpg", 22, 75, 0, 0}, {"graphics\\tips\\tip_highscore.jpg", 20, 72, 0, 0},
    {"graphics\\tips\\tip_tough.jpg", 24, 85, 0, 0},      {"graphics\\tips\\tip_oracle.jpg", 22, 78, 0, 0},
    {"graphics\\tips\\tip_refresh.jpg", 17, 81, 0, 0},    {"graphics\\tips\\tip_life.jpg", 58, 95, 0, 0},
};

constexpr int kOkX = 180;
constexpr int kOkY = 188;

// The tip screens open or about to open, other than `except`.
ScreenTip* OtherTip(const ScreenTip* except) {
  CGlobals& g = GetGlobals();
  for (Screen* screen : g.screens) {
    auto* tip = dynamic_cast<ScreenTip*>(screen);
    if (tip != nullptr && tip != except && !tip->closed) return tip;
  }
  for (Screen* screen : g.pendingScreens) {
    auto* tip = dynamic_cast<ScreenTip*>(screen);
    if (tip != nullptr && tip != except && !tip->closed) return tip;
  }
  return nullptr;
}

}  // namespace

ScreenTip::ScreenTip(int tipNumber, int levelToRestore) : tip(tipNumber), savedLevel(levelToRestore) {}

ScreenTip::~ScreenTip() {
  // Two tips can come up together; the level goes back only when the last of them is gone.
  if (GlobalsExist() && OtherTip(this) == nullptr) GetGlobals().inputLevel = savedLevel;
}

bool ScreenTip::Start() {
  Screen::Start();
  if (tip < 0 || tip >= kTipCount) return false;
  const TipEntry& entry = kTips[tip];
  panel_.LoadImage("graphics\\tips\\tip_bg.bmp", true, kMagenta);
  panel_.layer = layer::kTip;
  CThingSprite::Point place{entry.panelX, entry.panelY};
  if (place.x == 0 && place.y == 0) place = panel_.Centre();
  panel_.SetPosition(-panel_.Width(), place.y);
  panel_.MoveTo(place.x, place.y, 0.04f, kMoveEase);
  if (!panel_.AddToList(nullptr)) return false;

  picture_.LoadImage(entry.picture, true, kMagenta);
  picture_.layer = layer::kTip + 1;
  if (!picture_.AddToList(nullptr)) return false;

  ok_.SetOverImage("graphics\\tips\\tip_ok.jpg", false);
  ok_.layer = layer::kTip + 2;
  if (!ok_.AddToList(this)) return false;
  Update();
  PlayEffect("sound\\tip_start.ogg");
  return true;
}

void ScreenTip::Update() {
  if (tip < 0 || tip >= kTipCount) return;
  const TipEntry& entry = kTips[tip];
  ok_.SetPosition(panel_.x + static_cast<float>(kOkX), panel_.y + static_cast<float>(kOkY));
  picture_.SetPosition(panel_.x + static_cast<float>(entry.pictureX),
                       panel_.y + static_cast<float>(entry.pictureY));
}

bool ScreenTip::HandleInput(int type, const InputEvent* event) {
  if (leaving_ || event == nullptr) return false;
  const bool ok = (type == InputClicked && event->senderId == ok_.id) ||
                  (type == InputChar && (event->key == vk::Enter || event->key == vk::Escape));
  if (!ok) return false;
  leaving_ = true;
  PlayEffect("sound\\tip_end.ogg");
  CGlobals& g = GetGlobals();
  panel_.MoveTo(g.width + 1000, static_cast<int>(panel_.y), 0.03f, kMoveEase);
  g.PostMessage(MsgCloseScreen, 500, this, 0);
  return false;
}

bool ShowTip(int tip, int level) {
  CAppGlo* app = GetApp();
  if (app == nullptr || !app->settings) return false;
  if (tip < 0 || tip >= kTipCount) {
    LogError("There is no quick tip %d.", tip);
    return false;
  }
  std::uint8_t& shown = app->settings->tipShown[tip];
  if (shown != 0) return true;
  CGlobals& g = GetGlobals();
  // The level to go back to is the one before the tip; a tip that comes while another is showing
  // goes back to where that one will.
  if (level == -1) {
    const ScreenTip* other = OtherTip(nullptr);
    level = other != nullptr ? other->savedLevel : g.inputLevel;
  }
  shown = 1;
  g.inputLevel = input_level::kTip;
  auto* screen = new (std::nothrow) ScreenTip(tip, level);
  if (screen == nullptr) return false;
  return screen->Start();
}

}  // namespace spellcrypt
