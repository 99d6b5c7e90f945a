// A button: normal, highlight and pressed pictures, click and highlight sounds, and a command that
// is broadcast as InputClicked one click delay after the press.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/dx_tile.h"
#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

// Visual states of a button.
constexpr int kButtonNormal = 0;
constexpr int kButtonHighlighted = 1;
constexpr int kButtonPressed = 2;

class CThingButton : public CThingSprite {
 public:
  CThingButton();

  void Update() override;
  void HandleInput(int type, const InputEvent* event) override;
  // Pressed as by a click (sound, pressed picture); the command follows one click delay later.
  void Press();
  virtual void PlayClickSound() {}
  virtual void PlayHighlightSound() {}

  // Loads the picture at once when the button has none yet, so it has a size for hit testing.
  void SetNormalImage(const char* path);
  void SetOverImage(const char* path, bool isTransparent);
  void SetPressedImage(const char* path);
  // 0 normal (hidden without a normal picture), 1 highlighted (hidden without a highlight
  // picture), 2 pressed.
  void SetVisualState(int state);
  void SetClickDelay(std::uint32_t ms) { clickTimer.SetInterval(ms); }

  int visualState = kButtonNormal;
  char overImage[128] = "";
  char pressedImage[128] = "";
  char normalImage[128] = "";
  IntervalTimer clickTimer{GameClock(), 250};
  bool clicking = false;
  int command = 0;
  bool playHighlightSound = true;
  bool noRehighlight = false;
  bool overTransparent = false;
  bool normalTransparent = false;  // the normal picture is keyed magenta too

 private:
  // Shows the highlight: state 1 with the highlight picture loaded.
  void Highlight();
  // Shows the picture of a visual state. Each picture is read from its file once and kept, so that
  // hovering a button does not decode its picture again every time.
  void ShowPicture(int state);

  std::unique_ptr<CDXTile> pictures_[3];
};

}  // namespace spellcrypt
