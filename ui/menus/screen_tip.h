// Quick tips: a panel that slides in from the left the first time a game feature comes up, and
// slides out to the right when the player has read it.
#pragma once

#include "ui/framework/screen.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {

constexpr int kTipCount = 6;

class ScreenTip : public Screen {
 public:
  // savedLevel is the input level to return to when the tip is gone.
  ScreenTip(int tipNumber, int levelToRestore);
  // Hands the input level back (unless another tip is still showing).
  ~ScreenTip() override;

  bool Start() override;
  // The OK button, Enter or Escape send the panel out and close the tip half a second later.
  bool HandleInput(int type, const InputEvent* event) override;
  // Keeps the picture and the OK button on the sliding panel.
  void Update() override;

  int tip;
  int savedLevel;

 private:
  CThingSprite panel_;
  CThingSprite picture_;
  CMenuBut ok_;
  bool leaving_ = false;
};

// Shows quick tip `tip` unless it was shown before (true then, and nothing happens). level is the
// input level to return to afterwards; -1 means the current one.
bool ShowTip(int tip, int level);

}  // namespace spellcrypt
