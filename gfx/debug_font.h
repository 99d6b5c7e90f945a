// The small built-in font of the debug overlay (the frame-rate line): 5x7 glyphs in 6x8 cells.
#pragma once

#include <cstdint>

#include "gfx/dx_types.h"

namespace spellcrypt {

constexpr int kDebugFontAdvance = 6;
constexpr int kDebugFontLineHeight = 8;

// Draws printable ASCII in one colour, transparent background, inside `clip`; a line feed starts
// a new line, other bytes leave a blank cell. Returns the width of the longest line drawn.
int DrawDebugText(std::uint32_t* pixels, int pitch, const DXRect& clip, int x, int y, std::uint32_t colour,
                  const char* text);

}  // namespace spellcrypt
