// The display: the 640x480 back surface every frame is drawn into, presented through the
// platform's window once per frame, and the list of surfaces made for it.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/dx_surface.h"

namespace spellcrypt {

class IPlatform;

class CDXScreen {
 public:
  explicit CDXScreen(IPlatform& platform);
  virtual ~CDXScreen();
  CDXScreen(const CDXScreen&) = delete;
  CDXScreen& operator=(const CDXScreen&) = delete;

  // 0 on success, negative on failure.
  int CreateFullScreen(int width, int height, int depth);
  int CreateWindowed(int width, int height);
  // depth 0 means windowed. Re-creates the back surface and reloads every surface from its file.
  // The window is not resized: it keeps the size the player gave it, the frame is scaled into it.
  int ChangeVideoMode(int width, int height, int depth);
  // Counts the frame, draws "FPS = n" with showRate, presents the back surface. True when
  // surfaces were lost (never, with memory surfaces).
  bool Flip(int wait = 0, int wholeSurface = 0, int showRate = 0);

  CDXSurface* GetBack() { return &back_; }
  bool IsFullScreen() const { return fullScreen_; }
  int Fps() const { return fps_; }

  // Writes the back surface to an image file (".bmp" as a bitmap, anything else as PNG).
  bool SaveScreenshot(const char* path) const;

  // Surfaces join the list when created and leave it when destroyed.
  void Register(CDXSurface* surface);
  void Unregister(CDXSurface* surface);
  const std::vector<CDXSurface*>& Surfaces() const { return surfaces_; }

 private:
  int CreateBack(int width, int height);

  IPlatform& platform_;
  CDXSurface back_;
  bool created_ = false;
  bool fullScreen_ = false;
  int depth_ = 0;
  std::vector<CDXSurface*> surfaces_;
  // Frame counter.
  bool counting_ = false;
  std::uint32_t lastFlip_ = 0;
  std::uint32_t accumulatedMs_ = 0;
  int frames_ = 0;
  int fps_ = 0;
};

}  // namespace spellcrypt
