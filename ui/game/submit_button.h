// The submit bar of the game screen: flashes when pressed, pulses while the spelled word can be
// cast, and asks the tile board to cast it.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CSubmitBut : public CThingSprite {
 public:
  // One run up and down the frames, 50 ms a step.
  void Flash();
  // Up and down the frames until stopped, 100 ms a step.
  void Pulse();
  void StopAnimation();

  // Runs the flash or pulse instead of the sprite update.
  void Update() override;
  void HandleInput(int type, const InputEvent* event) override;

  int mode = 0;  // 0 idle, 1 flash, 2 pulse
  bool forward = true;

 private:
  void Start(int newMode, std::uint32_t stepMs);
};

}  // namespace spellcrypt
