// Targa pictures (2.0, with the footer): colour-mapped, true-colour and grey, raw or run-length
// encoded.
#include <cstring>

#include "gfx/image_bytes.h"

namespace spellcrypt {

namespace {

constexpr char kFooterSignature[] = "TRUEVISION-XFILE";
constexpr std::size_t kHeaderSize = 18;

enum TgaKind { kColourMapped = 1, kTrueColour = 2, kGrey = 3 };
constexpr int kRunLengthBit = 8;

struct TgaPicture {
  int kind = 0;
  int bytesPerPixel = 0;
  int bitsPerPixel = 0;
  std::uint32_t palette[256] = {};
  int paletteFirst = 0;
  int paletteEnd = 0;  // one past the last index the colour map defines
};

std::uint32_t ReadColour(const std::uint8_t* s, int bits) {
  if (bits <= 16) return Widen555(static_cast<std::uint32_t>(s[0] | s[1] << 8));
  return PackRgb(s[2], s[1], s[0]);  // 24 bits, or 32 with the alpha byte dropped
}

// One pixel from its file bytes; false for an index the colour map does not hold.
bool ReadPixel(const TgaPicture& t, const std::uint8_t* s, std::uint32_t& out) {
  switch (t.kind) {
    case kColourMapped:
      if (s[0] < t.paletteFirst || s[0] >= t.paletteEnd) return false;
      out = t.palette[s[0]];
      return true;
    case kGrey:
      out = PackRgb(s[0], s[0], s[0]);
      return true;
    default:
      out = ReadColour(s, t.bitsPerPixel);
      return true;
  }
}

}  // namespace

bool RecogniseTga(const ImageProbe& probe) {
  if (probe.tail.size < kHeaderSize || !probe.head.Has(16, 1)) return false;
  const int bits = probe.head.U8(16);
  return std::memcmp(probe.tail.At(probe.tail.size - kHeaderSize), kFooterSignature, 16) == 0 &&
         (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

bool DecodeTga(const ImageBytes& file, DXImage& out) {
  if (!file.Has(0, kHeaderSize)) return false;
  const int mapType = file.U8(1);
  const int type = file.U8(2);
  const int mapFirst = file.Le16(3);
  const int mapLength = file.Le16(5);
  const int mapBits = file.U8(7);
  const int width = file.Le16(12);
  const int height = file.Le16(14);
  const bool topDown = (file.U8(17) & 0x20) != 0;
  const bool runLength = (type & kRunLengthBit) != 0;

  TgaPicture t;
  t.kind = type & ~kRunLengthBit;
  t.bitsPerPixel = file.U8(16);
  t.bytesPerPixel = (t.bitsPerPixel + 7) / 8;
  if (t.kind < kColourMapped || t.kind > kGrey || type > 11) return false;
  const bool depthOk = t.kind == kTrueColour ? (t.bitsPerPixel == 15 || t.bitsPerPixel == 16 ||
                                                t.bitsPerPixel == 24 || t.bitsPerPixel == 32)
                                             : t.bitsPerPixel == 8;
  if (!depthOk || mapType > 1 || (t.kind == kColourMapped && mapType != 1)) return false;
  if (!ImageSizeAllowed(width, height)) return false;

  std::size_t p = kHeaderSize + file.U8(0);  // past the image identification field
  if (mapType == 1) {
    if (mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) return false;
    const std::size_t entryBytes = static_cast<std::size_t>((mapBits + 7) / 8);
    const std::size_t mapBytes = entryBytes * static_cast<std::size_t>(mapLength);
    if (!file.Has(p, mapBytes)) return false;
    if (t.kind == kColourMapped) {
      // An 8-bit index reaches only 256 entries: a map reaching further is not a picture we read.
      if (mapFirst + mapLength > 256) return false;
      for (int i = 0; i < mapLength; ++i) {
        t.palette[mapFirst + i] = ReadColour(file.At(p + static_cast<std::size_t>(i) * entryBytes), mapBits);
      }
      t.paletteFirst = mapFirst;
      t.paletteEnd = mapFirst + mapLength;
    }
    p += mapBytes;
  }

  if (!file.Has(p, 0)) return false;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const std::size_t bpp = static_cast<std::size_t>(t.bytesPerPixel);
  // A raw picture must be all there; a packed one can at best hold 128 pixels per packet.
  if (!runLength && !file.Has(p, count * bpp)) return false;
  if (runLength && (file.size - p) * 128 < count) return false;
  if (!StartImage(out, width, height)) return false;

  auto put = [&](std::size_t k, std::uint32_t pixel) {
    const std::size_t row = k / static_cast<std::size_t>(width);
    const std::size_t y = topDown ? row : static_cast<std::size_t>(height) - 1 - row;
    out.pixels[y * static_cast<std::size_t>(width) + k % static_cast<std::size_t>(width)] = pixel;
  };
  std::size_t k = 0;
  while (k < count) {
    std::size_t run = 1;
    bool repeat = false;
    if (runLength) {
      if (!file.Has(p, 1)) return false;
      const int packet = file.U8(p++);
      run = static_cast<std::size_t>((packet & 0x7F) + 1);
      repeat = (packet & 0x80) != 0;
      if (run > count - k) return false;  // a packet past the end of the picture
    }
    const std::size_t bytes = repeat ? bpp : run * bpp;
    if (!file.Has(p, bytes)) return false;
    for (std::size_t i = 0; i < run; ++i) {
      std::uint32_t pixel = 0;
      if (!ReadPixel(t, file.At(p + (repeat ? 0 : i * bpp)), pixel)) return false;
      put(k++, pixel);
    }
    p += bytes;
  }
  return true;
}

}  // namespace spellcrypt
