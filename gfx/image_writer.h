// Writing pictures: PNG and BMP for screenshots and for looking at any surface, JPEG for test
// pictures. Pixels are 0x00RRGGBB with a pitch in pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace spellcrypt {

class CDXSurface;

std::vector<std::uint8_t> EncodePng(const std::uint32_t* pixels, int width, int height, int pitch);
// 24 bits per pixel, bottom row first, as Windows writes them.
std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height, int pitch);
// How a JPEG keeps colour: at half resolution each way (libjpeg's usual, smaller files), or at full
// resolution, which keeps thin coloured lines and keyed edges clean.
enum class JpegColour { kHalfResolution, kFullResolution };
// A baseline JPEG with the JFIF header; quality 1..100; empty on failure.
std::vector<std::uint8_t> EncodeJpeg(const std::uint32_t* pixels, int width, int height, int pitch,
                                     int quality, JpegColour colour = JpegColour::kHalfResolution);

// Writes the pixels to a file whose name picks the format: ".bmp", ".jpg"/".jpeg", else PNG.
bool SaveImageFile(const char* path, const std::uint32_t* pixels, int width, int height, int pitch);
// Writes a surface's pixels the same way; false for a surface without an image.
bool SaveSurfaceImage(const CDXSurface& surface, const char* path);

}  // namespace spellcrypt
