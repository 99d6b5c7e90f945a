// A surface: one image of 32-bit pixels with a clip rectangle and an optional colour key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/dx_types.h"

namespace spellcrypt {

class CDXScreen;

class CDXSurface {
 public:
  CDXSurface() = default;
  // Releases the pixels and leaves the screen's list of surfaces.
  virtual ~CDXSurface();
  CDXSurface(const CDXSurface&) = delete;
  CDXSurface& operator=(const CDXSurface&) = delete;

  // Loads an image file (format 0: recognised by content). 1 on success; -1 when the file cannot
  // be read, -2 when it cannot be decoded. A failed load leaves the surface as it was.
  int Create(CDXScreen* screen, const char* path, int placement = kPlacementAny, int format = 0);
  // An empty (black) surface. 1 on success.
  int CreateBlank(CDXScreen* screen, int width, int height, int placement = kPlacementAny);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool HasImage() const { return !pixels_.empty(); }
  std::uint32_t* Pixels() { return pixels_.data(); }
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  int Pitch() const { return width_; }  // in pixels
  const std::string& Path() const { return path_; }
  int Placement() const { return placement_; }
  CDXScreen* Screen() const { return screen_; }

  // The key is a raw pixel value; with 32-bit pixels that is the RGB value itself.
  void SetColorKey(std::uint32_t rgb);
  void SetColorKeyFromCorner();
  bool HasColorKey() const { return hasKey_; }
  std::uint32_t ColorKey() const { return key_; }

  int Fill(std::uint32_t raw);
  // Reads the image file again into the surface without changing its size (a picture of another
  // size fills the part they share). 1 on success, negative without a file or when it fails.
  int ReloadImage();

  // Pixels live in memory and are never lost; the lock count only keeps locks and unlocks paired.
  int Lock();
  int Unlock();
  int LockCount() const { return lockCount_; }
  // Outside the surface ReadPixel gives 0 and WritePixel does nothing.
  std::uint32_t ReadPixel(int x, int y) const;
  void WritePixel(int x, int y, std::uint32_t raw);

  const DXRect& ClipRect() const { return clip_; }
  // The rectangle is cut to the surface; one that misses it leaves nothing to draw into.
  void SetClipRect(const DXRect& rect);
  void ResetClipRect();

  // Debug text in a small built-in font, transparent background, inside the clip rectangle.
  int TextXY(int x, int y, std::uint32_t rgb, const char* text);

  // Draws the source rectangle of this surface onto dest at (x, y) in one of the draw modes.
  // translucency is 0..256 (modes 1 and 101), scale the factor of modes 3 and 103.
  // Returns 1 when drawn, 0 when clipped away, -1 when either surface has no image or the mode is
  // unknown.
  int Draw(CDXSurface* dest, int x, int y, const DXRect& source, int mode, int translucency = 0,
           float scale = 1.0f);

 protected:
  // Replaces the pixels (used by the loaders and by the screen for its back surface).
  void Assign(int width, int height, std::vector<std::uint32_t> pixels);
  // Joins the screen's list of surfaces (leaving any other screen's).
  void JoinScreen(CDXScreen* screen);

 private:
  friend class CDXScreen;
  CDXScreen* screen_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  DXRect clip_;
  bool hasKey_ = false;
  std::uint32_t key_ = 0;
  std::string path_;
  int placement_ = kPlacementAny;
  int lockCount_ = 0;
};

}  // namespace spellcrypt
