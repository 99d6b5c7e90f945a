// The options page: full screen, sound, music and word-meaning switches, and the resets of the quick tips and
// the local high scores.
#pragma once

#include "ui/framework/screen.h"
#include "ui/widgets/check_box.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {

class ScreenOptions : public Screen {
 public:
  ScreenOptions();
  // Back to the title or the game: input level 0.
  ~ScreenOptions() override;

  bool Start() override;
  // Answers to its own questions, closed notices, and the display coming back after a switch.
  void HandleMessage(const Message& message) override;
  bool HandleInput(int type, const InputEvent* event) override;

 private:
  CThingSprite background_;
  CCheckBox fullscreen_;
  CCheckBox sound_;
  CCheckBox music_;
  CCheckBox meanings_;
  CMenuBut resetTips_;
  CMenuBut resetScores_;
  CMenuBut back_;
};

}  // namespace spellcrypt
