// A tile sheet: an image cut into a grid of equal cells, numbered in reading order.
#pragma once

#include <vector>

#include "gfx/dx_surface.h"

namespace spellcrypt {

class CDXTile : public CDXSurface {
 public:
  CDXTile() = default;
  ~CDXTile() override = default;

  // Loads the image and lays out the cells (w or h 0: one row of `count` cells across the image).
  // 1 on success, 0 or negative on failure.
  int Create(CDXScreen* screen, const char* path, int cellWidth, int cellHeight, int cellCount,
             int placement = kPlacementAny);
  // Lays out cells over the pixels the surface already holds.
  void LayOutCells(int cellWidth, int cellHeight, int cellCount);

  // The cell's rectangle; an out-of-range index gives an empty rectangle.
  DXRect CellRect(int cell) const;
  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  int CellCount() const { return static_cast<int>(cells_.size()); }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

  int DrawCell(CDXSurface* dest, int x, int y, int cell, int mode, int translucency = 0, float scale = 1.0f);

 private:
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<DXRect> cells_;
};

}  // namespace spellcrypt
