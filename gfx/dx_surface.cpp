// Surfaces of 32-bit pixels in memory.
#include "gfx/dx_surface.h"

#include <algorithm>

#include "gfx/dx_screen.h"

namespace spellcrypt {

CDXSurface::~CDXSurface() {
  if (screen_ != nullptr) screen_->Unregister(this);
}

int CDXSurface::Create(CDXScreen* /*screen*/, const char* path, int placement) {
  // Image decoding arrives with the image loaders; until then every load fails.
  path_ = path != nullptr ? path : "";
  placement_ = placement;
  return -1;
}

int CDXSurface::CreateBlank(CDXScreen* screen, int width, int height, int placement) {
  if (width <= 0 || height <= 0) return -1;
  Assign(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0));
  placement_ = placement;
  if (screen != nullptr && screen_ == nullptr) {
    screen_ = screen;
    screen->Register(this);
  }
  return 1;
}

void CDXSurface::Assign(int width, int height, std::vector<std::uint32_t> pixels) {
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
  ResetClipRect();
}

void CDXSurface::SetColorKey(std::uint32_t rgb) {
  key_ = rgb & 0xFFFFFFu;
  hasKey_ = true;
}

void CDXSurface::SetColorKeyFromCorner() {
  if (!HasImage()) return;
  SetColorKey(pixels_[0]);
}

int CDXSurface::Fill(std::uint32_t raw) {
  if (!HasImage()) return -1;
  std::fill(pixels_.begin(), pixels_.end(), raw);
  return 0;
}

int CDXSurface::ReloadImage() { return -1; }

int CDXSurface::Lock() { return ++lockCount_ > 0 ? 0 : -1; }
int CDXSurface::Unlock() {
  if (lockCount_ > 0) --lockCount_;
  return 0;
}

std::uint32_t CDXSurface::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void CDXSurface::WritePixel(int x, int y, std::uint32_t raw) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = raw;
}

void CDXSurface::SetClipRect(const DXRect& rect) {
  clip_.left = std::max(0, rect.left);
  clip_.top = std::max(0, rect.top);
  clip_.right = std::min(width_, rect.right);
  clip_.bottom = std::min(height_, rect.bottom);
}

void CDXSurface::ResetClipRect() { clip_ = DXRect{0, 0, width_, height_}; }

int CDXSurface::TextXY(int /*x*/, int /*y*/, std::uint32_t /*rgb*/, const char* /*text*/) {
  return 0;  // The built-in debug font arrives with the drawing code.
}

int CDXSurface::Draw(CDXSurface* /*dest*/, int /*x*/, int /*y*/, const DXRect& /*source*/, int /*mode*/,
                     int /*translucency*/, float /*scale*/) {
  return -1;  // The draw modes arrive with the drawing code.
}

}  // namespace spellcrypt
