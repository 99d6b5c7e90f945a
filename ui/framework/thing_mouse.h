// The pointer thing: its position is the mouse position every hit test uses.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CThingMouse : public CThingSprite {
 public:
  CThingMouse();
  // In full screen the position is polled from the platform every frame; windowed, the window's
  // pointer-move events set it.
  void Update() override;
};

}  // namespace spellcrypt
