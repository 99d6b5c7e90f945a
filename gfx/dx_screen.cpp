// The display over the platform's window: one memory back surface, presented once per frame.
#include "gfx/dx_screen.h"

#include <algorithm>

#include "platform/platform.h"

namespace spellcrypt {

CDXScreen::CDXScreen(IPlatform& platform) : platform_(platform) {}

CDXScreen::~CDXScreen() {
  // Surfaces still alive outlive the screen only by mistake; make them forget it.
  for (CDXSurface* surface : surfaces_) surface->screen_ = nullptr;
}

int CDXScreen::CreateFullScreen(int width, int height, int depth) {
  if (width <= 0 || height <= 0) return -1;
  if (!platform_.SetFullscreen(true)) return -2;
  back_.Assign(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0));
  fullScreen_ = true;
  depth_ = depth;
  created_ = true;
  return 0;
}

int CDXScreen::CreateWindowed(int width, int height) {
  if (width <= 0 || height <= 0) return -1;
  platform_.SetFullscreen(false);
  back_.Assign(width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0));
  fullScreen_ = false;
  depth_ = 0;
  created_ = true;
  return 0;
}

int CDXScreen::ChangeVideoMode(int width, int height, int depth) {
  const int result = depth == 0 ? CreateWindowed(width, height) : CreateFullScreen(width, height, depth);
  if (result < 0) return result;
  for (CDXSurface* surface : surfaces_) {
    if (!surface->Path().empty()) surface->ReloadImage();
  }
  return 0;
}

bool CDXScreen::Flip(int /*wait*/, int /*wholeSurface*/, int showRate) {
  const std::uint32_t now = platform_.TickCount();
  if (lastFlip_ != 0) accumulatedMs_ += now - lastFlip_;
  lastFlip_ = now;
  ++frames_;
  if (accumulatedMs_ > 1000) {
    fps_ = static_cast<int>(static_cast<std::uint64_t>(frames_) * 1000 / accumulatedMs_);
    frames_ = 0;
    accumulatedMs_ = 0;
  }
  if (showRate) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS = %d", fps_);
    back_.TextXY(10, 20, 0x00FFF0, text);
  }
  if (created_ && back_.HasImage()) {
    platform_.Present(back_.Pixels(), back_.Width(), back_.Height(), back_.Pitch());
  }
  return false;
}

bool CDXScreen::SaveScreenshot(const char* /*path*/) const {
  return false;  // The screenshot writer comes with the image file formats.
}

void CDXScreen::Register(CDXSurface* surface) {
  if (std::find(surfaces_.begin(), surfaces_.end(), surface) == surfaces_.end()) surfaces_.push_back(surface);
}

void CDXScreen::Unregister(CDXSurface* surface) {
  surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
}

}  // namespace spellcrypt
