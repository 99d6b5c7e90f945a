// Photoshop pictures: version 1, RGB colour mode, 8 bits a channel, raw or PackBits channel data.
// Red, green and blue come from the first three channels (missing ones are 0); alpha is dropped.
#include <algorithm>
#include <cstring>

#include "gfx/image_bytes.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kHeaderSize = 26;
constexpr int kMaxChannels = 24;
constexpr int kRgbMode = 3;
constexpr int kColourChannels = 3;
enum PsdCompression { kRaw = 0, kPackBits = 1 };

// Unpacks one PackBits row; false unless it gives exactly `width` bytes from exactly its data.
bool UnpackRow(const std::uint8_t* s, std::size_t length, std::uint8_t* row, std::size_t width) {
  std::size_t p = 0;
  std::size_t n = 0;
  while (p < length) {
    const int header = static_cast<std::int8_t>(s[p++]);
    if (header >= 0) {
      const std::size_t count = static_cast<std::size_t>(header) + 1;
      if (count > length - p || count > width - n) return false;
      std::memcpy(row + n, s + p, count);
      p += count;
      n += count;
    } else if (header != -128) {
      const std::size_t count = static_cast<std::size_t>(1 - header);
      if (p >= length || count > width - n) return false;
      std::memset(row + n, s[p++], count);
      n += count;
    }
  }
  return n == width;
}

// Skips one length-prefixed section; false when it claims more than the file holds.
bool SkipSection(const ImageBytes& file, std::size_t& p) {
  if (!file.Has(p, 4)) return false;
  const std::size_t length = file.Be32(p);
  p += 4;
  if (!file.Has(p, length)) return false;
  p += length;
  return true;
}

}  // namespace

bool RecognisePsd(const ImageProbe& probe) {
  return probe.head.Has(0, 4) && std::memcmp(probe.head.At(0), "8BPS", 4) == 0;
}

bool DecodePsd(const ImageBytes& file, DXImage& out) {
  if (!file.Has(0, kHeaderSize + 2)) return false;
  const int channels = file.Be16(12);
  const std::int64_t height = file.Be32(14);
  const std::int64_t width = file.Be32(18);
  if (file.Be16(4) != 1 || file.Be16(22) != 8 || file.Be16(24) != kRgbMode) return false;
  if (channels < 1 || channels > kMaxChannels || !ImageSizeAllowed(width, height)) return false;

  std::size_t p = kHeaderSize;
  for (int section = 0; section < 3; ++section) {  // colour mode data, resources, layers and masks
    if (!SkipSection(file, p)) return false;
  }
  if (!file.Has(p, 2)) return false;
  const int compression = file.Be16(p);
  p += 2;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const int used = std::min(channels, kColourChannels);
  const std::size_t plane = w * h;

  std::vector<std::uint8_t> row(w);
  auto store = [&](int channel, std::size_t y, const std::uint8_t* values) {
    const int shift = 16 - 8 * channel;
    std::uint32_t* d = out.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) d[x] |= static_cast<std::uint32_t>(values[x]) << shift;
  };

  if (compression == kRaw) {
    if (!file.Has(p, plane * static_cast<std::size_t>(used))) return false;
    if (!StartImage(out, width, height)) return false;
    for (int c = 0; c < used; ++c) {
      for (std::size_t y = 0; y < h; ++y) store(c, y, file.At(p + c * plane + y * w));
    }
    return true;
  }
  if (compression != kPackBits) return false;

  // One 16-bit packed length per row of every channel, then the rows in the same order.
  const std::size_t rows = h * static_cast<std::size_t>(channels);
  if (!file.Has(p, rows * 2)) return false;
  const std::size_t table = p;
  p += rows * 2;
  // PackBits gives at most 128 bytes for two, so a lying size is refused before memory is taken.
  if ((file.size - p) * 64 < plane * static_cast<std::size_t>(used)) return false;
  if (!StartImage(out, width, height)) return false;
  for (int c = 0; c < used; ++c) {
    for (std::size_t y = 0; y < h; ++y) {
      const std::size_t length = file.Be16(table + (static_cast<std::size_t>(c) * h + y) * 2);
      if (!file.Has(p, length) || !UnpackRow(file.At(p), length, row.data(), w)) return false;
      store(c, y, row.data());
      p += length;
    }
  }
  return true;
}

}  // namespace spellcrypt
