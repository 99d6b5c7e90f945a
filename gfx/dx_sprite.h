// A sprite: draws one cell of a tile sheet at a position, with a scale and a translucency level.
#pragma once

#include "gfx/dx_tile.h"

namespace spellcrypt {

class CDXSprite {
 public:
  CDXSprite() = default;
  // Frees the sheet only when the sprite loaded it itself.
  virtual ~CDXSprite();
  CDXSprite(const CDXSprite&) = delete;
  CDXSprite& operator=(const CDXSprite&) = delete;

  // Loads a sheet of `frames` equal cells across the image. -1 no path, -2 a sheet is already set,
  // -3 the file cannot be loaded; 1 on success.
  int Create(CDXScreen* screen, const char* path, int frames, int placement = kPlacementAny);
  // Draws from a sheet owned elsewhere. -1 no sheet, -2 a sheet is already set; 1 on success.
  int Attach(CDXTile* sheet);
  // Forgets the sheet (freeing it when owned).
  void Release();

  void SetPos(int x, int y) {
    x_ = x;
    y_ = y;
  }
  int X() const { return x_; }
  int Y() const { return y_; }
  void SetFrame(int frame) { frame_ = frame; }
  int Frame() const { return frame_; }
  void SetScale(float scale) { scale_ = scale; }
  float Scale() const { return scale_; }
  void SetTranslucency(int level) { translucency_ = level; }
  int Translucency() const { return translucency_; }
  CDXTile* Sheet() const { return sheet_; }
  bool OwnsSheet() const { return ownsSheet_; }

  // Draws the current cell at the position minus the view offset.
  int Draw(CDXSurface* dest, int viewX, int viewY, int mode);

 private:
  int x_ = 0;
  int y_ = 0;
  int frame_ = 0;
  float scale_ = 1.0f;
  int translucency_ = 0;
  CDXTile* sheet_ = nullptr;
  bool ownsSheet_ = false;
};

}  // namespace spellcrypt
