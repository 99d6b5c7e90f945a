// Sliders.
#include "ui/widgets/slider.h"

#include "app/globals.h"
#include "base/log.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {

CSlider::CSlider() { mouseAware = true; }

float CSlider::Value() const {
  if (trackLength == 0) return 0.0f;
  return (y - static_cast<float>(trackTop)) / static_cast<float>(trackLength);
}

void CSlider::NoteMove() {
  const int nx = static_cast<int>(x);
  const int ny = static_cast<int>(y);
  if (nx != lastX || ny != lastY) {
    moved = true;
    lastX = nx;
    lastY = ny;
  }
}

void CSlider::SetValue(float fraction) {
  SetPressed(false);
  y = static_cast<float>(trackTop + static_cast<int>(static_cast<float>(trackLength) * fraction));
  x = static_cast<float>(trackX);
  NoteMove();
}

bool CSlider::TrackHit(int px, int py) {
  if (Height() <= 0) {
    Log("Can't check against %s, has no height.", name);
    return false;
  }
  return px >= trackX && px < trackX + Width() && py >= trackTop && py < trackTop + trackLength + Height();
}

void CSlider::Update() {
  CThingSprite::Update();
  const CThingMouse* mouse = GetGlobals().mouse;
  if (!pressed || mouse == nullptr) return;
  float ny = mouse->y + static_cast<float>(dragStartY - dragMouseY);
  const float top = static_cast<float>(trackTop);
  const float bottom = static_cast<float>(trackTop + trackLength);
  if (ny < top) ny = top;
  if (ny > bottom) ny = bottom;
  y = ny;
  NoteMove();
}

void CSlider::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  const CThingMouse* mouse = GetGlobals().mouse;
  if (!InputAllowed() || mouse == nullptr) return;
  const int mouseY = static_cast<int>(mouse->y);
  if (type == InputPressBegin) {
    dragStartY = static_cast<int>(y);
    dragMouseY = mouseY;
  } else if (type == InputMouseDown && !pressed && TrackHit(static_cast<int>(mouse->x), mouseY)) {
    // A press on the track beside the knob jumps the knob there.
    SetValue(static_cast<float>(mouseY - trackTop) / static_cast<float>(trackLength + Height()));
  }
}

}  // namespace spellcrypt
