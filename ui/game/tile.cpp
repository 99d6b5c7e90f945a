// Letter tiles, drawing and clicking.
#include "ui/game/tile.h"

#include "app/app.h"
#include "app/globals.h"
#include "gfx/dx_screen.h"
#include "ui/framework/layers.h"
#include "ui/game/game_link.h"

namespace spellcrypt {

namespace {
constexpr int kLetterTop = 8;
}  // namespace

CTile::CTile() {
  SetName("Tile");
  layer = layer::kTile;
  CAppGlo* app = GetApp();
  AttachImage(app != nullptr && app->tileImages ? &app->tileImages->tiles : nullptr, false, 0xFFFFFF);
  SetFrame(2);
}

void CTile::Draw() {
  if (level < GetGlobals().inputLevel) return;
  CThingSprite::Draw();
  CDXScreen* display = GetGlobals().display;
  CAppGlo* app = GetApp();
  if (hidden || scale != 1.0f || display == nullptr || app == nullptr) return;
  app->bigFont.DrawInBox(static_cast<int>(x), static_cast<int>(y) + kLetterTop, Width(), label,
                         display->GetBack(), 1);
}

void CTile::HandleInput(int inputType, const InputEvent* event) {
  CThingSprite::HandleInput(inputType, event);
  if (inputType != InputMouseDown || level < GetGlobals().inputLevel || mortal || !PointerInside()) return;
  BoardTileClicked(this);
}

}  // namespace spellcrypt
