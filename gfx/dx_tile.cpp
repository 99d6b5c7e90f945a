// Tile sheets: cell layout over a surface.
#include "gfx/dx_tile.h"

namespace spellcrypt {

int CDXTile::Create(CDXScreen* screen, const char* path, int cellWidth, int cellHeight, int cellCount,
                    int placement) {
  const int result = CDXSurface::Create(screen, path, placement);
  if (result < 1) return result;
  LayOutCells(cellWidth, cellHeight, cellCount);
  return 1;
}

void CDXTile::LayOutCells(int cellWidth, int cellHeight, int cellCount) {
  cellWidth_ = cellWidth;
  cellHeight_ = cellHeight;
  cells_.clear();
  (void)cellCount;  // The full layout rule arrives with the drawing code.
}

DXRect CDXTile::CellRect(int cell) const {
  if (cell < 0 || cell >= CellCount()) return DXRect{};
  return cells_[static_cast<std::size_t>(cell)];
}

int CDXTile::DrawCell(CDXSurface* dest, int x, int y, int cell, int mode, int translucency, float scale) {
  return Draw(dest, x, y, CellRect(cell), mode, translucency, scale);
}

}  // namespace spellcrypt
