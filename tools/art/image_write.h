// Writing the game's picture files: 24-bit Windows bitmaps, JFIF pictures, and PNG for looking.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/dx_image.h"
#include "tools/art/canvas.h"

namespace spellcrypt::art {

// The pictures are 0x00RRGGBB pixels, top row first, as the game decodes them; the game's own
// encoders write them.

// Flattens the canvas onto a background colour (for opaque pictures).
DXImage Flatten(const Canvas& c, const Color& background);
// Pixels at least half covered keep their colour; the rest become the key. No kept pixel is left
// equal to the key, so nothing but the background turns transparent.
DXImage Keyed(const Canvas& c, std::uint32_t key);

// 24-bit uncompressed, 40-byte information header, bottom-up rows. True on success.
bool WriteBmp(const std::string& path, const DXImage& img);
// Baseline JPEG with the JFIF header, colour kept at full resolution.
bool WriteJpeg(const std::string& path, const DXImage& img, int quality);
// Cairo's PNG, with the canvas's alpha, for looking at (the game's PNG writer keeps no alpha).
bool WritePng(const std::string& path, const Canvas& c);

bool MakeDirectories(const std::string& path);

}  // namespace spellcrypt::art
