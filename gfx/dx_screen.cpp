// The display over the platform's window: one memory back surface, presented once per frame.
#include "gfx/dx_screen.h"

#include <algorithm>
#include <cstdio>

#include "gfx/dx_image.h"
#include "gfx/image_writer.h"
#include "platform/platform.h"

namespace spellcrypt {

namespace {

// The frame-rate overlay's colour, 0x00FFF0 as the platform writes colours (blue, green, red).
constexpr std::uint32_t kRateColour = Rgb(0xF0, 0xFF, 0x00);

}  // namespace

CDXScreen::CDXScreen(IPlatform& platform) : platform_(platform) {}

CDXScreen::~CDXScreen() {
  // Surfaces still alive outlive the screen only by mistake; make them forget it.
  for (CDXSurface* surface : surfaces_) surface->screen_ = nullptr;
}

int CDXScreen::CreateBack(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return -1;
  back_.Assign(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0));
  return 0;
}

int CDXScreen::CreateFullScreen(int width, int height, int depth) {
  if (depth != 0 && depth != 32) return -3;  // the frame is 32 bits a pixel whatever the desktop
  if (CreateBack(width, height) < 0) return -1;
  // Desktop full screen: the frame is scaled to the desktop, the video mode stays as it is.
  if (!platform_.SetFullscreen(true)) return -2;
  fullScreen_ = true;
  depth_ = depth;
  created_ = true;
  return 0;
}

int CDXScreen::CreateWindowed(int width, int height) {
  if (CreateBack(width, height) < 0) return -1;
  platform_.SetFullscreen(false);
  fullScreen_ = false;
  depth_ = 0;
  created_ = true;
  return 0;
}

int CDXScreen::ChangeVideoMode(int width, int height, int depth) {
  // The window keeps the size the player gave it; the frame stays at the game's size.
  if (depth == 0) {
    const int result = CreateWindowed(width, height);
    if (result < 0) return result;
  } else {
    const int result = CreateFullScreen(width, height, depth);
    if (result < 0) return result;
  }
  // Pictures come back from their files; blank surfaces (the font sheets) are rebuilt by their owners.
  for (CDXSurface* surface : surfaces_) {
    if (!surface->Path().empty()) surface->ReloadImage();
  }
  return 0;
}

bool CDXScreen::Flip(int /*wait*/, int /*wholeSurface*/, int showRate) {
  const std::uint32_t now = platform_.TickCount();
  if (counting_) accumulatedMs_ += now - lastFlip_;
  counting_ = true;
  lastFlip_ = now;
  ++frames_;
  if (accumulatedMs_ > 1000) {
    fps_ = static_cast<int>(static_cast<std::uint64_t>(frames_) * 1000 / accumulatedMs_);
    frames_ = 0;
    accumulatedMs_ = 0;
  }
  if (showRate != 0) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS = %d", fps_);
    back_.TextXY(10, 20, kRateColour, text);
  }
  if (created_ && back_.HasImage()) {
    platform_.Present(back_.Pixels(), back_.Width(), back_.Height(), back_.Pitch());
  }
  return false;  // memory surfaces are never lost
}

bool CDXScreen::SaveScreenshot(const char* path) const { return SaveSurfaceImage(back_, path); }

void CDXScreen::Register(CDXSurface* surface) {
  if (std::find(surfaces_.begin(), surfaces_.end(), surface) == surfaces_.end()) surfaces_.push_back(surface);
}

void CDXScreen::Unregister(CDXSurface* surface) {
  surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
}

}  // namespace spellcrypt
