// A sprite thing: a thing with an image, a position, fades, scaling, motion, frame animation,
// and the hover and press tracking every clickable widget is built on.
#pragma once

#include <cstdint>

#include "app/globals.h"
#include "base/timing.h"
#include "gfx/dx_sprite.h"
#include "ui/framework/thing.h"

namespace spellcrypt {

// Animation modes of a sprite's frame strip.
enum AnimMode : int {
  kAnimNone = 0,
  kAnimLoop = 1,
  kAnimPingPong = 2,
  kAnimPingPongOnce = 3,
  kAnimPlayOnce = 4,
};

// Move styles: ease toward the target, or travel at a constant speed.
constexpr int kMoveEase = 0;
constexpr int kMoveSteady = 1;

constexpr std::uint32_t kMagenta = 0xFF00FF;

class CThingSprite : public CThing {
 public:
  CThingSprite();
  ~CThingSprite() override;

  // Animation messages: MsgAnimLoopStart and MsgAnimMode.
  void HandleMessage(const Message& message) override;
  void Draw() override;
  // Hover tracking, fade, scale, motion, animation, life.
  void Update() override;
  void RestoreSurfaces() override;
  // Press tracking.
  void HandleInput(int type, const InputEvent* event) override;
  // Whether the point lies on the sprite's current frame (right and bottom edges excluded).
  virtual bool HitTest(int px, int py);

  void SetPosition(float px, float py) {
    x = px;
    y = py;
  }
  void SetPosition(int px, int py) {
    x = static_cast<float>(px);
    y = static_cast<float>(py);
  }
  // Loads a strip of `frames` equal frames; logs "Error loading %s." and answers false on failure.
  bool LoadImage(const char* path, int frames, bool isTransparent, std::uint32_t key);
  bool LoadImage(const char* path, bool isTransparent, std::uint32_t key) {
    return LoadImage(path, 1, isTransparent, key);
  }
  // Draws from a sheet owned elsewhere (the letter tiles).
  bool AttachImage(CDXTile* shared, bool isTransparent, std::uint32_t key);
  bool HasImage() const { return image.Sheet() != nullptr; }
  // The picture itself, to draw into (the high-score table); null without one.
  CDXTile* Picture() const { return image.Sheet(); }
  // Size of one frame; 0 without an image.
  int Width() const;
  int Height() const;
  int FrameCount() const;
  int Frame() const { return image.Frame(); }
  void SetFrame(int frame) { image.SetFrame(frame); }
  // Where the sprite would stand centred on the screen.
  struct Point {
    int x;
    int y;
  };
  Point Centre() const;

  void SetLife(std::uint32_t ms);
  void SetMouseAware(bool aware);
  // Style kMoveEase: speedOrTime is the easing fraction per delta unit. Any other style: the trip
  // takes speedOrTime delta units at a constant speed.
  void MoveTo(int tx, int ty, float speedOrTime, int style);
  void FadeTo(float target, float rate);
  void ScaleTo(float target, float rate);
  void SetPressed(bool isPressed);
  // Frames first..last in an animation mode, frameMs apart, from the first frame.
  void Animate(int first, int last, int mode, std::uint32_t frameMs);
  // Whether the pointer thing stands on the sprite (false without a pointer).
  bool PointerInside();

  float x = 0.0f;
  float y = 0.0f;
  float scale = 1.0f;
  bool transparent = false;
  std::uint32_t colourKey = kMagenta;
  IntervalTimer lifeTimer{GameClock()};
  bool mortal = false;
  float heading = 0.0f;
  float speed = 0.0f;
  bool hidden = false;
  bool mouseAware = false;
  bool hovering = false;
  bool moving = false;
  int targetX = 0;
  int targetY = 0;
  float translucency = 0.0f;
  float scaleTarget = 1.0f;
  float scaleRate = 0.0f;
  bool scaling = false;
  bool fading = false;
  float fadeTarget = 0.0f;
  float fadeRate = 0.0f;
  bool pressed = false;
  int moveStyle = kMoveSteady;
  IntervalTimer animTimer{GameClock(), 333};
  int animMode = kAnimNone;
  int lastFrame = 0;
  int loopStart = 0;
  bool animForward = true;
  bool dieAtEnd = false;
  bool keyboardSelectable = false;
  // A popup's default answer: Enter or Space presses it when no button has the keyboard focus
  // and the pointer highlights none of the popup's buttons. Always the answer that loses nothing.
  bool enterDefault = false;
  int loadOption = 2;

 protected:
  // Draws the current frame at (int x, int y) in the mode the scale and translucency call for.
  void DrawImage();
  void TrackHover();
  void StepAnimation();
  // Steps of the sprite update after hover tracking.
  void UpdateFade();
  void UpdateScale();
  void UpdateMotion();
  void UpdateLife();

  CDXSprite image;

 private:
  // A sprite without an image would otherwise write the same warning every frame.
  bool warnedNoHeight_ = false;
  bool warnedNoMouse_ = false;
};

}  // namespace spellcrypt
