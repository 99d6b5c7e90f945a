// Shared body of the image decoder fuzz targets: decode, then check that what came out is a
// picture of the size it claims with nothing but colour in its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/dx_image.h"

namespace spellcrypt {

inline int FuzzImageDecoder(const std::uint8_t* data, std::size_t size, int format) {
  DXImage image;
  if (!DecodeImage(data, size, format, image)) {
    if (!image.pixels.empty() || image.width != 0 || image.height != 0)
      std::abort();  // refusal leaves nothing
    return 0;
  }
  if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide || image.height > kMaxImageSide ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
    std::abort();
  }
  for (std::uint32_t p : image.pixels) {
    if ((p & 0xFF000000u) != 0) std::abort();
  }
  return 0;
}

}  // namespace spellcrypt
