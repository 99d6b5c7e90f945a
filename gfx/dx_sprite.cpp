// Sprites: one cell of a tile sheet at a position.
#include "gfx/dx_sprite.h"

namespace spellcrypt {

CDXSprite::~CDXSprite() { Release(); }

int CDXSprite::Create(CDXScreen* screen, const char* path, int frames, int placement) {
  if (path == nullptr || path[0] == '\0') return -1;
  if (sheet_ != nullptr) return -2;
  auto* sheet = new CDXTile();
  if (sheet->Create(screen, path, 0, 0, frames, placement) < 1) {
    delete sheet;
    return -3;
  }
  sheet_ = sheet;
  ownsSheet_ = true;
  return 1;
}

int CDXSprite::Attach(CDXTile* sheet) {
  if (sheet == nullptr) return -1;
  if (sheet_ != nullptr) return -2;
  sheet_ = sheet;
  ownsSheet_ = false;
  return 1;
}

void CDXSprite::Release() {
  if (ownsSheet_) delete sheet_;
  sheet_ = nullptr;
  ownsSheet_ = false;
}

int CDXSprite::Draw(CDXSurface* dest, int viewX, int viewY, int mode) {
  if (sheet_ == nullptr) return -1;
  return sheet_->DrawCell(dest, x_ - viewX, y_ - viewY, frame_, mode, translucency_, scale_);
}

}  // namespace spellcrypt
