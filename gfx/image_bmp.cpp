// Windows bitmaps: uncompressed 8, 16, 24 and 32 bits per pixel, and 8-bit run-length encoding.
#include <algorithm>
#include <cstring>

#include "gfx/image_bytes.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::size_t kFileHeaderSize = 14;

struct BmpHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::size_t pixelOffset = 0;
  std::uint32_t palette[256] = {};
  std::size_t paletteSize = 0;
};

bool ReadHeader(const ImageBytes& file, BmpHeader& h) {
  if (!file.Has(0, kFileHeaderSize + 40)) return false;
  const std::uint32_t infoSize = file.Le32(14);
  // The 40-byte information header, or one of its longer successors (their extra fields unused).
  if (infoSize < 40 || !file.Has(kFileHeaderSize, infoSize)) return false;
  h.pixelOffset = file.Le32(10);
  h.width = static_cast<std::int32_t>(file.Le32(18));
  h.height = static_cast<std::int32_t>(file.Le32(22));
  h.bitCount = file.Le16(28);
  h.compression = file.Le32(30);
  const std::uint32_t coloursUsed = file.Le32(46);
  h.topDown = h.height < 0;
  if (h.topDown) h.height = -h.height;  // 64 bits: even INT32_MIN negates safely
  if (!ImageSizeAllowed(h.width, h.height)) return false;

  const bool plain = h.compression == kBiRgb &&
                     (h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32);
  const bool rle8 = h.compression == kBiRle8 && h.bitCount == 8 && !h.topDown;
  if (!plain && !rle8) return false;

  if (h.bitCount == 8) {
    h.paletteSize = coloursUsed == 0 ? 256 : coloursUsed;
    if (h.paletteSize > 256) return false;
    const std::size_t at = kFileHeaderSize + infoSize;
    if (!file.Has(at, h.paletteSize * 4)) return false;
    for (std::size_t i = 0; i < h.paletteSize; ++i) {
      h.palette[i] = PackRgb(file.U8(at + i * 4 + 2), file.U8(at + i * 4 + 1), file.U8(at + i * 4));
    }
  }
  return file.Has(h.pixelOffset, 0);
}

// Turns palette indices into pixels; an index past the palette refuses the picture.
bool MapIndices(const BmpHeader& h, const std::uint8_t* index, std::size_t count, std::uint32_t* out) {
  for (std::size_t i = 0; i < count; ++i) {
    if (index[i] >= h.paletteSize) return false;
    out[i] = h.palette[index[i]];
  }
  return true;
}

bool DecodePlain(const ImageBytes& file, const BmpHeader& h, DXImage& out) {
  const std::size_t stride = static_cast<std::size_t>((h.width * h.bitCount + 31) / 32 * 4);
  if (!file.Has(h.pixelOffset, stride * static_cast<std::size_t>(h.height))) return false;
  const std::size_t width = static_cast<std::size_t>(h.width);
  for (std::int64_t row = 0; row < h.height; ++row) {
    const std::uint8_t* s = file.At(h.pixelOffset + static_cast<std::size_t>(row) * stride);
    const std::int64_t y = h.topDown ? row : h.height - 1 - row;
    std::uint32_t* d = out.pixels.data() + static_cast<std::size_t>(y) * width;
    switch (h.bitCount) {
      case 8:
        if (!MapIndices(h, s, width, d)) return false;
        break;
      case 16:
        for (std::size_t x = 0; x < width; ++x)
          d[x] = Widen555(static_cast<std::uint32_t>(s[2 * x] | s[2 * x + 1] << 8));
        break;
      default: {
        const std::size_t step = static_cast<std::size_t>(h.bitCount / 8);
        for (std::size_t x = 0; x < width; ++x, s += step) d[x] = PackRgb(s[2], s[1], s[0]);
        break;
      }
    }
  }
  return true;
}

// 8-bit run-length encoding. Pixels that end-of-line, end-of-picture or delta codes skip keep
// palette index 0. Many writers encode each row with its padding to four bytes, so a run may reach
// past the picture's right edge into that padding: those pixels are dropped. Runs or deltas past
// the padded row, codes that would write past the picture, and data that ends before the last
// row is finished refuse the picture.
bool DecodeRle8(const ImageBytes& file, const BmpHeader& h, DXImage& out) {
  const int width = static_cast<int>(h.width);
  const int height = static_cast<int>(h.height);
  const int padded = (width + 3) / 4 * 4;  // the row as stored, padding included
  std::vector<std::uint8_t> index(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  std::size_t p = h.pixelOffset;
  int x = 0;
  int y = 0;  // counted from the bottom row, as the file stores them
  // How many of `count` pixels from column x lie inside the picture rather than in the padding.
  auto inside = [&](int count) { return static_cast<std::size_t>(std::min(count, width - x)); };
  auto row = [&](int r) { return index.data() + static_cast<std::size_t>(height - 1 - r) * width; };
  for (;;) {
    if (!file.Has(p, 2)) {
      if (y < height) return false;
      break;
    }
    const int count = file.U8(p);
    const int code = file.U8(p + 1);
    p += 2;
    if (count > 0) {  // a run of one index
      if (y >= height || count > padded - x) return false;
      if (x < width) std::memset(row(y) + x, code, inside(count));
      x += count;
    } else if (code == 0) {  // end of line
      x = 0;
      if (y < height) ++y;
    } else if (code == 1) {  // end of picture
      break;
    } else if (code == 2) {  // delta: move right and up
      if (!file.Has(p, 2)) return false;
      x += file.U8(p);
      y += file.U8(p + 1);
      p += 2;
      if (x > padded || y >= height) return false;
    } else {  // an absolute run of `code` indices, padded to an even length
      if (y >= height || code > padded - x || !file.Has(p, static_cast<std::size_t>(code))) return false;
      if (x < width) std::memcpy(row(y) + x, file.At(p), inside(code));
      x += code;
      p += static_cast<std::size_t>(code + (code & 1));
    }
  }
  return MapIndices(h, index.data(), index.size(), out.pixels.data());
}

}  // namespace

bool RecogniseBmp(const ImageProbe& probe) {
  return probe.head.Has(0, 2) && probe.head.U8(0) == 'B' && probe.head.U8(1) == 'M';
}

bool DecodeBmp(const ImageBytes& file, DXImage& out) {
  BmpHeader h;
  if (!ReadHeader(file, h)) return false;
  if (!StartImage(out, h.width, h.height)) return false;
  return h.compression == kBiRle8 ? DecodeRle8(file, h, out) : DecodePlain(file, h, out);
}

}  // namespace spellcrypt
