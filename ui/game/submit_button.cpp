// The submit bar.
#include "ui/game/submit_button.h"

#include "app/globals.h"
#include "ui/game/game_link.h"

namespace spellcrypt {

namespace {
constexpr int kIdle = 0;
constexpr int kFlash = 1;
constexpr int kPulse = 2;
}  // namespace

void CSubmitBut::Start(int newMode, std::uint32_t stepMs) {
  SetFrame(0);
  mode = newMode;
  forward = true;
  animTimer.SetInterval(stepMs);
}

void CSubmitBut::Flash() { Start(kFlash, 50); }
void CSubmitBut::Pulse() { Start(kPulse, 100); }

void CSubmitBut::StopAnimation() {
  SetFrame(0);
  mode = kIdle;
  forward = true;
}

void CSubmitBut::Update() {
  if (mode == kIdle || !animTimer.IsReady()) return;
  const int last = FrameCount() - 1;
  if (forward) {
    SetFrame(Frame() + 1);
    if (Frame() >= last) forward = false;
  } else {
    SetFrame(Frame() - 1);
    if (Frame() <= 0) {
      if (mode == kFlash) {
        mode = kIdle;
      } else {
        forward = true;
      }
    }
  }
}

void CSubmitBut::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  if (type != InputMouseDown || level < GetGlobals().inputLevel || !PointerInside()) return;
  Flash();
  BoardSubmitWord();
}

}  // namespace spellcrypt
