// The ending.
#include "ui/menus/screen_win.h"

#include <new>

#include "app/globals.h"
#include "ui/framework/screen.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_sprite.h"
#include "ui/game/game_screen.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kTextInMs = 5500;
constexpr std::uint32_t kTextOutMs = 11000;
constexpr std::uint32_t kFinishMs = 12500;
constexpr int kLayer = 100;

class ScreenWin : public Screen {
 public:
  bool Start() override {
    Screen::Start();
    background_.SetName("ending");
    if (!background_.LoadImage("graphics\\ending.jpg", false, kMagenta)) return false;
    background_.layer = kLayer - 1;
    if (!background_.AddToList(nullptr)) return false;
    text_.SetName("ending_text");
    text_.LoadImage("graphics\\ending_text.jpg", false, kMagenta);
    text_.SetPosition(145, 126);
    text_.layer = kLayer;
    text_.translucency = 255.0f;
    if (!text_.AddToList(nullptr)) return false;
    CGlobals& g = GetGlobals();
    g.PostMessage(MsgEndingTextIn, kTextInMs, this, 0);
    g.PostMessage(MsgEndingTextOut, kTextOutMs, this, 0);
    g.PostMessage(MsgEndingFinish, kFinishMs, this, 0);
    PlayMusicOnce("sound\\ending.ogg");
    return true;
  }

  void HandleMessage(const Message& message) override {
    switch (message.type) {
      case MsgEndingTextIn:
        text_.FadeTo(0.0f, 0.014f);
        break;
      case MsgEndingTextOut:
        text_.FadeTo(255.0f, 0.04f);
        break;
      case MsgEndingFinish:
        EndOfGame();
        break;
      case MsgEndingClose:
        Close();
        break;
      default:
        break;
    }
    Screen::HandleMessage(message);
  }

  bool HandleInput(int, const InputEvent*) override { return false; }

 private:
  CThingSprite background_;
  CThingSprite text_;
};

}  // namespace

bool OpenWinScreen() {
  auto* ending = new (std::nothrow) ScreenWin();
  return ending != nullptr && ending->StartOrClose();
}

}  // namespace spellcrypt
