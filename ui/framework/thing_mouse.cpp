// The pointer thing.
#include "ui/framework/thing_mouse.h"

#include "app/globals.h"
#include "platform/platform.h"
#include "ui/framework/layers.h"

namespace spellcrypt {

CThingMouse::CThingMouse() {
  SetName("Mouse");
  layer = layer::kPointer;
  SetPosition(-5000, -5000);
  SetFrame(2);
}

void CThingMouse::Update() {
  CGlobals& g = GetGlobals();
  if (g.colourDepth != 0) {
    int px = 0;
    int py = 0;
    g.platform->GetPointerPos(px, py);
    SetPosition(px, py);
  }
  CThingSprite::Update();
}

}  // namespace spellcrypt
