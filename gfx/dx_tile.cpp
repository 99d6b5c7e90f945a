// Tile sheets: cell layout over a surface.
#include "gfx/dx_tile.h"

namespace spellcrypt {

namespace {

// More cells than this is no picture the game has; it keeps a bad count from taking memory.
constexpr int kMaxCells = 65536;

}  // namespace

int CDXTile::Create(CDXScreen* screen, const char* path, int cellWidth, int cellHeight, int cellCount,
                    int placement) {
  const int result = CDXSurface::Create(screen, path, placement);
  if (result < 1) return result;
  LayOutCells(cellWidth, cellHeight, cellCount);
  return 1;
}

void CDXTile::LayOutCells(int cellWidth, int cellHeight, int cellCount) {
  cells_.clear();
  columns_ = 0;
  rows_ = 0;
  int n = cellCount < 0 ? 0 : cellCount;
  if (cellWidth <= 0 || cellHeight <= 0) {
    // One row of equal cells across the image.
    cellHeight = Height();
    cellWidth = Width() / (n == 0 ? 1 : n);
  }
  cellWidth_ = cellWidth;
  cellHeight_ = cellHeight;
  if (cellWidth <= 0 || cellHeight <= 0) return;  // an image narrower than its cell count: no cells
  columns_ = Width() / cellWidth;
  rows_ = Height() / cellHeight;
  if (n == 0) n = columns_ * rows_;
  if (n > kMaxCells) n = kMaxCells;
  cells_.reserve(static_cast<std::size_t>(n));
  // Reading order from the top left; a cell that would not fit the width starts the next row.
  // Cells past the bottom of the image keep their places and draw nothing.
  int x = 0;
  int y = 0;
  for (int i = 0; i < n; ++i) {
    cells_.push_back(DXRect{x, y, x + cellWidth, y + cellHeight});
    x += cellWidth;
    if (Width() - cellWidth < x) {
      x = 0;
      y += cellHeight;
    }
  }
}

DXRect CDXTile::CellRect(int cell) const {
  if (cell < 0 || cell >= CellCount()) return DXRect{};
  return cells_[static_cast<std::size_t>(cell)];
}

int CDXTile::DrawCell(CDXSurface* dest, int x, int y, int cell, int mode, int translucency, float scale) {
  if (cell < 0 || cell >= CellCount()) return -1;
  return Draw(dest, x, y, cells_[static_cast<std::size_t>(cell)], mode, translucency, scale);
}

}  // namespace spellcrypt
