// PCX pictures, version 5 with run-length encoding: one 8-bit plane with the 256-colour palette at
// the end of the file, or three 8-bit planes (red, green and blue lines).
#include "gfx/image_bytes.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteTrailer = 769;  // the marker byte 12, then 256 RGB entries
constexpr int kPaletteMarker = 12;

}  // namespace

bool RecognisePcx(const ImageProbe& probe) {
  return probe.head.Has(0, 3) && probe.head.U8(0) == 10 && probe.head.U8(1) == 5 && probe.head.U8(2) == 1;
}

bool DecodePcx(const ImageBytes& file, DXImage& out) {
  if (!file.Has(0, kHeaderSize)) return false;
  const int bits = file.U8(3);
  const std::int64_t width = static_cast<std::int64_t>(file.Le16(8)) - file.Le16(4) + 1;
  const std::int64_t height = static_cast<std::int64_t>(file.Le16(10)) - file.Le16(6) + 1;
  const int planes = file.U8(65);
  const std::size_t lineBytes = file.Le16(66);
  if (bits != 8 || (planes != 1 && planes != 3)) return false;
  if (!ImageSizeAllowed(width, height) || lineBytes < static_cast<std::size_t>(width)) return false;

  std::size_t dataEnd = file.size;
  std::uint32_t palette[256] = {};
  if (planes == 1) {
    if (!file.Has(kHeaderSize, kPaletteTrailer)) return false;
    dataEnd = file.size - kPaletteTrailer;
    if (file.U8(dataEnd) != kPaletteMarker) return false;
    for (std::size_t i = 0; i < 256; ++i) {
      const std::size_t at = dataEnd + 1 + i * 3;
      palette[i] = PackRgb(file.U8(at), file.U8(at + 1), file.U8(at + 2));
    }
  }

  // Every line holds each plane's bytes in turn. A run byte gives at most 63 bytes for two, so
  // a picture needing more than that from the data at hand is refused before memory is taken.
  const std::size_t lineTotal = lineBytes * static_cast<std::size_t>(planes);
  const std::size_t total = lineTotal * static_cast<std::size_t>(height);
  if (total > (dataEnd - kHeaderSize) * 32) return false;
  std::vector<std::uint8_t> lines(total);
  std::size_t p = kHeaderSize;
  std::size_t n = 0;
  while (n < total) {
    if (p >= dataEnd) return false;  // the picture ends early
    std::size_t run = 1;
    std::uint8_t value = file.U8(p++);
    if (value >= 192) {
      run = value & 0x3F;
      if (p >= dataEnd) return false;
      value = file.U8(p++);
    }
    if (run > total - n) return false;  // a run past the end of the picture
    for (std::size_t i = 0; i < run; ++i) lines[n++] = value;
  }

  if (!StartImage(out, width, height)) return false;
  const std::size_t w = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    const std::uint8_t* line = lines.data() + y * lineTotal;
    std::uint32_t* d = out.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      d[x] = planes == 1 ? palette[line[x]] : PackRgb(line[x], line[lineBytes + x], line[2 * lineBytes + x]);
    }
  }
  return true;
}

}  // namespace spellcrypt
