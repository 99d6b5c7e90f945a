// Sprite things: drawing, hit testing, hover and press tracking, and the per-frame update.
#include "ui/framework/thing_sprite.h"

#include <cmath>

#include "app/globals.h"
#include "base/log.h"
#include "base/math_util.h"
#include "gfx/dx_screen.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {

CThingSprite::CThingSprite() = default;
CThingSprite::~CThingSprite() = default;

void CThingSprite::HandleMessage(const Message& message) {
  if (message.type == MsgAnimLoopStart) {
    loopStart = message.value;
  } else if (message.type == MsgAnimMode) {
    animMode = message.value;
    animForward = true;
  }
}

bool CThingSprite::LoadImage(const char* path, int frames, bool isTransparent, std::uint32_t key) {
  image.Release();
  if (frames < 1) frames = 1;
  CDXScreen* display = GlobalsExist() ? GetGlobals().display : nullptr;
  if (image.Create(display, path, frames, loadOption) < 1) {
    LogError("Error loading %s.", path != nullptr ? path : "");
    return false;
  }
  lastFrame = frames - 1;
  image.SetFrame(0);
  transparent = isTransparent;
  colourKey = key;
  if (transparent) image.Sheet()->SetColorKey(key);
  warnedNoHeight_ = false;
  return true;
}

bool CThingSprite::AttachImage(CDXTile* shared, bool isTransparent, std::uint32_t key) {
  image.Release();
  if (image.Attach(shared) < 1) {
    Log("Error attaching tile to sprite %s.", name);
    return false;
  }
  transparent = isTransparent;
  colourKey = key;
  lastFrame = shared->CellCount() - 1;
  if (transparent) shared->SetColorKey(key);
  warnedNoHeight_ = false;
  return true;
}

int CThingSprite::Width() const { return image.Sheet() != nullptr ? image.Sheet()->CellWidth() : 0; }
int CThingSprite::Height() const { return image.Sheet() != nullptr ? image.Sheet()->CellHeight() : 0; }
int CThingSprite::FrameCount() const { return image.Sheet() != nullptr ? image.Sheet()->CellCount() : 0; }

CThingSprite::Point CThingSprite::Centre() const {
  const CGlobals& g = GetGlobals();
  return Point{g.width / 2 - Width() / 2, g.height / 2 - Height() / 2};
}

void CThingSprite::SetLife(std::uint32_t ms) {
  lifeTimer.SetInterval(ms);
  mortal = true;
}

void CThingSprite::SetMouseAware(bool aware) {
  mouseAware = aware;
  hovering = false;
}

void CThingSprite::MoveTo(int tx, int ty, float speedOrTime, int style) {
  moveStyle = style;
  targetX = tx;
  targetY = ty;
  moving = true;
  if (style == kMoveEase) {
    speed = speedOrTime;
    return;
  }
  const float dx = static_cast<float>(tx - static_cast<int>(x));
  const float dy = static_cast<float>(ty - static_cast<int>(y));
  const int distance = static_cast<int>(std::sqrt(dx * dx + dy * dy));
  // A trip of no time at all arrives at once rather than dividing by zero.
  speed =
      speedOrTime > 0.0f ? static_cast<float>(distance) / speedOrTime : static_cast<float>(distance) + 1.0f;
}

void CThingSprite::FadeTo(float target, float rate) {
  fadeTarget = target;
  fadeRate = rate;
  fading = true;
}

void CThingSprite::ScaleTo(float target, float rate) {
  scaleTarget = target;
  scaleRate = rate;
  scaling = true;
}

void CThingSprite::SetPressed(bool isPressed) {
  if (pressed == isPressed) return;
  pressed = isPressed;
  HandleInput(isPressed ? InputPressBegin : InputPressEnd, nullptr);
}

bool CThingSprite::HitTest(int px, int py) {
  if (Height() <= 0) {
    if (!warnedNoHeight_) Log("Can't check against %s, has no height.", name);
    warnedNoHeight_ = true;
    return false;
  }
  const int left = static_cast<int>(x);
  const int top = static_cast<int>(y);
  return px >= left && px < left + Width() && py >= top && py < top + Height();
}

bool CThingSprite::PointerInside() {
  const CThingMouse* mouse = GetGlobals().mouse;
  if (mouse == nullptr) return false;
  return HitTest(static_cast<int>(mouse->x), static_cast<int>(mouse->y));
}

void CThingSprite::HandleInput(int type, const InputEvent* /*event*/) {
  if (!mouseAware || !InputAllowed()) return;
  if (type == InputMouseDown && !pressed && PointerInside()) {
    SetPressed(true);
  } else if (type == InputMouseUp && pressed) {
    SetPressed(false);
  }
}

void CThingSprite::TrackHover() {
  if (!InputAllowed()) return;
  if (GetGlobals().mouse == nullptr) {
    if (!warnedNoMouse_) Log("Mouse dead, can't process mouse messages inside sprite.");
    warnedNoMouse_ = true;
    return;
  }
  const bool inside = PointerInside();
  if (inside && !hovering) {
    hovering = true;
    HandleInput(InputMouseEnter, nullptr);
  } else if (!inside && hovering) {
    HandleInput(InputMouseLeave, nullptr);
    hovering = false;
  }
}

void CThingSprite::UpdateFade() {
  if (!fading) return;
  translucency = Lerp(translucency, fadeTarget, fadeRate * GetGlobals().delta);
  Approach(translucency, fadeTarget, 0.001f);
  if (translucency == fadeTarget) fading = false;
}

void CThingSprite::Animate(int first, int last, int mode, std::uint32_t frameMs) {
  SetFrame(first);
  loopStart = first;
  lastFrame = last;
  animMode = mode;
  animForward = true;
  animTimer.SetInterval(frameMs);
}

void CThingSprite::UpdateScale() {
  if (!scaling) return;
  scale = Lerp(scale, scaleTarget, scaleRate * GetGlobals().delta);
  Approach(scale, scaleTarget, 0.005f);
  if (scale == scaleTarget) scaling = false;
}

void CThingSprite::UpdateMotion() {
  const float delta = GetGlobals().delta;
  if (moving) {
    const float tx = static_cast<float>(targetX);
    const float ty = static_cast<float>(targetY);
    if (moveStyle == kMoveEase) {
      x = Lerp(x, tx, speed * delta);
      y = Lerp(y, ty, speed * delta);
      Approach(x, tx, 0.03f);
      Approach(y, ty, 0.03f);
    } else {
      Approach(x, tx, speed * delta);
      Approach(y, ty, speed * delta);
    }
    // Arrival clears the speed too, so free motion never follows a finished move.
    if (static_cast<int>(x) == targetX && static_cast<int>(y) == targetY) {
      moving = false;
      speed = 0.0f;
    }
  } else if (speed != 0.0f) {
    x += std::sin(heading) * speed * delta;
    y += std::cos(heading) * speed * delta;
  }
}

void CThingSprite::StepAnimation() {
  if (!HasImage() || !animTimer.IsReady()) return;
  const int frame = image.Frame();
  const int count = FrameCount();
  auto finish = [this] {
    animMode = kAnimNone;
    animForward = true;
    if (dieAtEnd) dead = true;
  };
  switch (animMode) {
    case kAnimLoop: {
      int next = frame + 1;
      if (next > lastFrame || next > count - 1) next = loopStart;
      image.SetFrame(next);
      break;
    }
    case kAnimPingPong:
    case kAnimPingPongOnce:
      if (animForward) {
        if (frame + 1 > lastFrame) {
          animForward = false;
          image.SetFrame(frame - 1);
        } else {
          image.SetFrame(frame + 1);
        }
      } else if (animMode == kAnimPingPongOnce && frame - 1 < 0) {
        finish();  // the frame keeps its value
      } else if (animMode == kAnimPingPong && frame - 1 < loopStart) {
        animForward = true;
        image.SetFrame(loopStart + 1);
      } else {
        image.SetFrame(frame - 1);
      }
      break;
    case kAnimPlayOnce: {
      const int next = frame + 1;
      if (next >= lastFrame || next >= count) {
        image.SetFrame(next < count ? next : count - 1);
        finish();
      } else {
        image.SetFrame(next);
      }
      break;
    }
    default:
      break;
  }
}

void CThingSprite::UpdateLife() {
  if (mortal && lifeTimer.IsReady()) dead = true;
}

void CThingSprite::Update() {
  if (mouseAware) TrackHover();
  UpdateFade();
  UpdateScale();
  UpdateMotion();
  StepAnimation();
  UpdateLife();
}

void CThingSprite::DrawImage() {
  CDXScreen* display = GetGlobals().display;
  if (hidden || display == nullptr || !HasImage() || Width() == 0) return;
  image.SetPos(static_cast<int>(x), static_cast<int>(y));
  image.SetScale(scale);
  const int alpha = static_cast<int>(translucency);
  image.SetTranslucency(alpha);
  int mode;
  // The choice is made on the level itself: a sprite just starting to fade (0 < level < 1) is
  // already translucent, drawn at natural size, even though its whole-number level is still 0.
  if (scale == 1.0f || translucency != 0.0f) {
    if (alpha == 255) return;  // fully faded out
    mode = alpha == 0 ? kDrawOpaque : kDrawTranslucent;
  } else {
    mode = kDrawScaled;
  }
  if (transparent) mode += kDrawKeyed;
  image.Draw(display->GetBack(), 0, 0, mode);
}

void CThingSprite::Draw() { DrawImage(); }

void CThingSprite::RestoreSurfaces() {
  if (transparent && HasImage()) image.Sheet()->SetColorKey(colourKey);
}

}  // namespace spellcrypt
