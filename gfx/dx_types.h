// Shared display types: rectangles, draw modes, memory placements, pixel helpers.
#pragma once

#include <cstdint>

namespace spellcrypt {

// Right and bottom are exclusive.
struct DXRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// Sprite draw modes.
enum DrawMode : int {
  kDrawOpaque = 0,
  kDrawTranslucent = 1,
  kDrawScaled = 3,
  kDrawKeyed = 100,
  kDrawKeyedTranslucent = 101,
  kDrawKeyedScaled = 103,
};

// Where a surface lives. Every surface is in system memory here; the values are kept because
// callers pass them through and retry "in system memory" after a failed load.
constexpr int kPlacementVideo = 0;
constexpr int kPlacementSystem = 1;
constexpr int kPlacementAny = 2;

// Surfaces hold 32-bit pixels 0x00RRGGBB.
constexpr std::uint32_t Rgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
         static_cast<std::uint32_t>(b & 0xFF);
}

}  // namespace spellcrypt
