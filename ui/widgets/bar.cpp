// Fill bars.
#include "ui/widgets/bar.h"

#include "app/globals.h"
#include "gfx/dx_screen.h"

namespace spellcrypt {

void CBar::Draw() {
  if (follow != nullptr) {
    target = follow->target;
    shown = follow->shown;
  } else {
    EaseFill(shown, target, rate, GetGlobals().delta);
  }
  CDXScreen* display = GetGlobals().display;
  if (hidden || display == nullptr || !HasImage()) return;
  CDXTile* sheet = image.Sheet();
  const DXRect cell = sheet->CellRect(Frame());
  const float fraction = shown < 0.0f ? 0.0f : (shown > 1.0f ? 1.0f : shown);
  DXRect part = cell;
  part.right = cell.left + static_cast<int>(static_cast<float>(cell.Width()) * fraction);
  if (part.Empty()) return;
  sheet->Draw(display->GetBack(), static_cast<int>(x), static_cast<int>(y), part,
              transparent ? kDrawKeyed : kDrawOpaque);
}

}  // namespace spellcrypt
