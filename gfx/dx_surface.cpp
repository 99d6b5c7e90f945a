// Surfaces of 32-bit pixels in memory: loading, colour keys, pixel access and the draw modes.
#include "gfx/dx_surface.h"

#include <algorithm>
#include <cmath>

#include "gfx/debug_font.h"
#include "gfx/dx_blit.h"
#include "gfx/dx_image.h"
#include "gfx/dx_screen.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kPixelMask = 0x00FFFFFFu;

// What each sprite draw mode does.
struct DrawModeStyle {
  int mode;
  bool keyed;
  bool blended;
  bool stretched;
};
constexpr DrawModeStyle kDrawModes[] = {
    {kDrawOpaque, false, false, false},         {kDrawTranslucent, false, true, false},
    {kDrawScaled, false, false, true},          {kDrawKeyed, true, false, false},
    {kDrawKeyedTranslucent, true, true, false}, {kDrawKeyedScaled, true, false, true},
};

const DrawModeStyle* StyleFor(int mode) {
  for (const DrawModeStyle& s : kDrawModes) {
    if (s.mode == mode) return &s;
  }
  return nullptr;
}

}  // namespace

CDXSurface::~CDXSurface() {
  if (screen_ != nullptr) screen_->Unregister(this);
}

void CDXSurface::JoinScreen(CDXScreen* screen) {
  if (screen == screen_) return;
  if (screen_ != nullptr) screen_->Unregister(this);
  screen_ = screen;
  if (screen_ != nullptr) screen_->Register(this);
}

int CDXSurface::Create(CDXScreen* screen, const char* path, int placement, int format) {
  DXImage image;
  const int result = ReadImageFile(path, format, image);
  if (result < 1) return result;
  Assign(image.width, image.height, std::move(image.pixels));
  path_ = path;
  placement_ = placement;
  JoinScreen(screen);
  return 1;
}

int CDXSurface::CreateBlank(CDXScreen* screen, int width, int height, int placement) {
  // The same bounds as pictures from files: draw arithmetic relies on sides of at most 16384.
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      static_cast<std::int64_t>(width) * height > kMaxImagePixels) {
    return -1;
  }
  Assign(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0));
  path_.clear();
  placement_ = placement;
  JoinScreen(screen);
  return 1;
}

void CDXSurface::Assign(int width, int height, std::vector<std::uint32_t> pixels) {
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
  ResetClipRect();
}

void CDXSurface::SetColorKey(std::uint32_t rgb) {
  key_ = rgb & kPixelMask;
  hasKey_ = true;
}

void CDXSurface::SetColorKeyFromCorner() {
  if (!HasImage()) return;
  SetColorKey(pixels_[0]);
}

int CDXSurface::Fill(std::uint32_t raw) {
  if (!HasImage()) return -1;
  std::fill(pixels_.begin(), pixels_.end(), raw & kPixelMask);
  return 0;
}

int CDXSurface::ReloadImage() {
  if (!HasImage() || path_.empty()) return -1;
  DXImage image;
  const int result = ReadImageFile(path_.c_str(), kImageRecognise, image);
  if (result < 1) return result;
  const int w = std::min(width_, image.width);
  const int h = std::min(height_, image.height);
  for (int y = 0; y < h; ++y) {
    std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width, w,
                pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_);
  }
  return 1;
}

int CDXSurface::Lock() {
  if (!HasImage()) return -1;
  ++lockCount_;
  return 0;
}

int CDXSurface::Unlock() {
  if (lockCount_ == 0) return -1;
  --lockCount_;
  return 0;
}

std::uint32_t CDXSurface::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void CDXSurface::WritePixel(int x, int y, std::uint32_t raw) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      raw & kPixelMask;
}

void CDXSurface::SetClipRect(const DXRect& rect) {
  clip_.left = std::clamp(rect.left, 0, width_);
  clip_.top = std::clamp(rect.top, 0, height_);
  clip_.right = std::clamp(rect.right, clip_.left, width_);
  clip_.bottom = std::clamp(rect.bottom, clip_.top, height_);
}

void CDXSurface::ResetClipRect() { clip_ = DXRect{0, 0, width_, height_}; }

int CDXSurface::TextXY(int x, int y, std::uint32_t rgb, const char* text) {
  if (!HasImage()) return -1;
  DrawDebugText(pixels_.data(), width_, clip_, x, y, rgb & kPixelMask, text);
  return 0;
}

int CDXSurface::Draw(CDXSurface* dest, int x, int y, const DXRect& source, int mode, int translucency,
                     float scale) {
  const DrawModeStyle* style = StyleFor(mode);
  if (style == nullptr || dest == nullptr || !HasImage() || !dest->HasImage()) return -1;
  BlitPlan plan;
  if (!PlanBlit(clip_, source, dest->clip_, x, y, style->stretched ? scale : 1.0f, plan)) return 0;
  BlitStyle how;
  how.keyed = style->keyed && hasKey_;  // without a key every pixel is drawn
  how.key = key_;
  how.blended = style->blended;
  how.translucency = static_cast<std::uint32_t>(std::clamp(translucency, 0, 256));  // above 256 counts as 256
  RunBlit(plan, BlitPixels{pixels_.data(), width_, dest->pixels_.data(), dest->width_}, how);
  return 1;
}

}  // namespace spellcrypt
