// A fill bar: its picture is shown from the left up to a fraction that glides toward its target.
#pragma once

#include "game/gauge.h"
#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CBar : public CThingSprite {
 public:
  void Draw() override;
  // A fraction 0..1 of the picture's width.
  void SetTarget(float fraction) { target = fraction; }

  float target = 1.0f;
  float shown = 0.0f;
  float rate = 0.05f;
  // A life bar shows the rules' own fill (their deaths wait for it to drain) instead of its own.
  const Gauge* follow = nullptr;
};

}  // namespace spellcrypt
