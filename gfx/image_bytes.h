// Bounds-checked reading of file bytes for the image decoders: a read outside the data gives 0,
// so a decoder that forgets a check reads nothing it should not; decoders still check with Has()
// to refuse short files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/dx_image.h"

namespace spellcrypt {

struct ImageBytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;

  bool Has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
  std::uint8_t U8(std::size_t offset) const { return offset < size ? data[offset] : 0; }
  std::uint16_t Le16(std::size_t o) const { return static_cast<std::uint16_t>(U8(o) | U8(o + 1) << 8); }
  std::uint32_t Le32(std::size_t o) const {
    return static_cast<std::uint32_t>(Le16(o)) | static_cast<std::uint32_t>(Le16(o + 2)) << 16;
  }
  std::uint16_t Be16(std::size_t o) const { return static_cast<std::uint16_t>(U8(o) << 8 | U8(o + 1)); }
  std::uint32_t Be32(std::size_t o) const {
    return static_cast<std::uint32_t>(Be16(o)) << 16 | static_cast<std::uint32_t>(Be16(o + 2));
  }
  const std::uint8_t* At(std::size_t offset) const { return data + offset; }
};

// The first 256 and the last 64 bytes of a file: what recognition looks at.
struct ImageProbe {
  ImageBytes head;
  ImageBytes tail;
  std::size_t fileSize = 0;
};

// Sizes every decoder accepts: positive, at most kMaxImageSide a side and kMaxImagePixels in all.
inline bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

// Sizes the picture and its pixels (black); false when the size is not allowed.
inline bool StartImage(DXImage& out, std::int64_t width, std::int64_t height) {
  if (!ImageSizeAllowed(width, height)) return false;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.assign(static_cast<std::size_t>(width * height), 0);
  return true;
}

inline std::uint32_t PackRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

// 15/16-bit pixels: five bits a channel, x1555, each channel times 8.
inline std::uint32_t Widen555(std::uint32_t v) {
  return PackRgb(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
}

// The per-format recognisers and decoders.
bool RecogniseBmp(const ImageProbe& probe);
bool RecognisePsd(const ImageProbe& probe);
bool RecogniseTga(const ImageProbe& probe);
bool RecognisePcx(const ImageProbe& probe);
bool RecogniseJpeg(const ImageProbe& probe);
bool DecodeBmp(const ImageBytes& file, DXImage& out);
bool DecodePsd(const ImageBytes& file, DXImage& out);
bool DecodeTga(const ImageBytes& file, DXImage& out);
bool DecodePcx(const ImageBytes& file, DXImage& out);
bool DecodeJpeg(const ImageBytes& file, DXImage& out);

}  // namespace spellcrypt
