// A life bar's fill as the rules keep it: the shown fraction eases toward the target each frame.
// The monster's death and the player's fall wait for their bars to drain, so the rules keep the
// same numbers the screen draws.
#pragma once

namespace spellcrypt {

// One frame of delta steps: shown = Lerp(shown, target, delta * rate), then a small fixed step so
// that it always arrives. The screen's fill bars ease the same way.
void EaseFill(float& shown, float target, float rate, float delta);

struct Gauge {
  bool present = false;  // the bar is on screen
  float target = 1.0f;
  float shown = 0.0f;
  float rate = 0.05f;

  // A new bar, filling from empty toward the fraction.
  void Show(float fraction) {
    present = true;
    target = fraction;
    shown = 0.0f;
    rate = 0.05f;
  }
  void Remove() { present = false; }
  void Step(float delta) { EaseFill(shown, target, rate, delta); }
};

}  // namespace spellcrypt
