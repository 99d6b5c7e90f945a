// The one clipping routine every draw goes through, and the row loops of the draw modes.
#pragma once

#include <cstdint>

#include "gfx/dx_types.h"

namespace spellcrypt {

// A draw after clipping: the destination rectangle still to be written, and where its pixels come
// from. Source positions are 16.16 fixed point relative to the clipped source rectangle's corner,
// so stretched draws step through the source by fractions and plain ones by exactly one pixel.
struct BlitPlan {
  DXRect dest;
  int sourceLeft = 0;
  int sourceTop = 0;
  std::uint32_t u0 = 0;  // source column of dest.left
  std::uint32_t v0 = 0;  // source row of dest.top
  std::uint32_t du = 0;  // per destination column
  std::uint32_t dv = 0;  // per destination row
  bool stretched = false;
};

// Clips a draw of `source` to position (x, y). The source rectangle is first cut to the source's
// clip rectangle (the destination moves with a cut left or top edge); then the destination
// rectangle (the source's size times `scale`, grown or shrunk about the centre of where it would
// have been drawn at scale 1) is cut to the destination's clip rectangle, and the source is
// trimmed to match. A scale of exactly 1 is a plain draw. False when nothing is left to draw.
bool PlanBlit(const DXRect& sourceClip, DXRect source, const DXRect& destClip, int x, int y, float scale,
              BlitPlan& plan);

// Blends one pixel: each channel becomes s + ((d - s) * t) >> 8, for t in 0..256.
inline std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d, std::uint32_t t) {
  // s + floor((d - s) t / 256) equals floor((s (256 - t) + d t) / 256), which lets red and blue
  // share one multiplication: neither sum can reach the next channel's bits.
  const std::uint32_t inv = 256 - t;
  const std::uint32_t rb = (((s & 0xFF00FFu) * inv + (d & 0xFF00FFu) * t) >> 8) & 0xFF00FFu;
  const std::uint32_t g = (((s & 0x00FF00u) * inv + (d & 0x00FF00u) * t) >> 8) & 0x00FF00u;
  return rb | g;
}

// The pixel work of one draw mode over one clipped plan; pitches in pixels.
struct BlitPixels {
  const std::uint32_t* source;  // the source surface's pixel at (0, 0)
  int sourcePitch;
  std::uint32_t* dest;  // the destination surface's pixel at (0, 0)
  int destPitch;
};
struct BlitStyle {
  bool keyed = false;
  std::uint32_t key = 0;
  bool blended = false;
  std::uint32_t translucency = 0;  // 0..256
};
void RunBlit(const BlitPlan& plan, const BlitPixels& pixels, const BlitStyle& style);

}  // namespace spellcrypt
