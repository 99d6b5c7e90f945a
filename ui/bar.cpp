// Fill bars.
#include "ui/bar.h"

#include "app/globals.h"
#include "base/math_util.h"
#include "gfx/dx_screen.h"

namespace spellcrypt {

void CBar::Draw() {
  const float delta = GetGlobals().delta;
  shown = Lerp(shown, target, delta * rate);
  Approach(shown, target, delta * 0.0005f * rate);
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
