// Writing the game's picture files: 24-bit Windows bitmaps, JFIF pictures, and PNG for looking.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/canvas.h"

namespace spellcrypt::art {

// Plain 24-bit pixels, top row first.
struct RgbImage {
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes a pixel
};

// Flattens the canvas onto a background colour (for opaque pictures).
RgbImage Flatten(const Canvas& c, const Color& background);
// Pixels at least half covered keep their colour; the rest become the key. No kept pixel is left
// equal to the key, so nothing but the background turns transparent.
RgbImage Keyed(const Canvas& c, std::uint32_t key);

// 24-bit uncompressed, 40-byte information header, bottom-up rows. True on success.
bool WriteBmp(const std::string& path, const RgbImage& img);
// Baseline JPEG with the JFIF header.
bool WriteJpeg(const std::string& path, const RgbImage& img, int quality);
bool WritePng(const std::string& path, const Canvas& c);

bool MakeDirectories(const std::string& path);

}  // namespace spellcrypt::art
