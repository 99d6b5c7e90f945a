// Small image files built in memory for the decoder tests, the fuzz seeds and the benchmarks.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/binary_io.h"
#include "tests/test_support.h"

namespace spellcrypt::testimg {

using Bytes = std::vector<std::uint8_t>;

// A stored pixel or palette index of 8, 16, 24 or 32 bits, little-endian.
inline void PutPixel(ByteWriter& w, std::uint32_t v, int bits) {
  if (bits == 16) {
    w.U16(static_cast<std::uint16_t>(v));
  } else if (bits == 24) {
    w.U16(static_cast<std::uint16_t>(v));
    w.U8(static_cast<std::uint8_t>(v >> 16));
  } else if (bits == 32) {
    w.U32(v);
  } else {
    w.U8(static_cast<std::uint8_t>(v));
  }
}

// A recognisable test pattern: every pixel differs from its neighbours.
inline std::uint32_t Pattern(int x, int y) {
  return static_cast<std::uint32_t>(((x * 37 + y * 11) & 0xFF) << 16 | ((x * 5 + y * 53) & 0xFF) << 8 |
                                    ((x * 19 + y * 7 + 3) & 0xFF));
}

// A Windows bitmap. `rows` holds the pixel data exactly as stored (already padded, bottom row
// first unless topDown); `palette` entries are 0x00RRGGBB.
struct Bmp {
  int width = 0;
  int height = 0;
  int bits = 24;
  std::uint32_t compression = 0;
  bool topDown = false;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> palette;
  Bytes rows;
};

inline Bytes Build(const Bmp& bmp) {
  ByteWriter b;
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(bmp.palette.size()) * 4;
  b.Bytes("BM", 2);
  b.U32(offset + static_cast<std::uint32_t>(bmp.rows.size()));
  b.U32(0);
  b.U32(offset);
  b.U32(40);
  b.I32(bmp.width);
  b.I32(bmp.topDown ? -bmp.height : bmp.height);
  b.U16(1);
  b.U16(static_cast<std::uint16_t>(bmp.bits));
  b.U32(bmp.compression);
  b.U32(static_cast<std::uint32_t>(bmp.rows.size()));
  b.U32(2835);
  b.U32(2835);
  b.U32(bmp.coloursUsed);
  b.U32(0);
  for (std::uint32_t c : bmp.palette) b.U32(c & 0xFFFFFF);  // blue, green, red, 0
  b.Bytes(bmp.rows.data(), bmp.rows.size());
  return std::move(b.Data());
}

// Uncompressed rows, bottom row first, each padded to 4 bytes; value(x, y) gives the stored value
// (palette index, 16-bit 555 value or 0x00RRGGBB).
inline Bytes BmpRows(int width, int height, int bits, const std::function<std::uint32_t(int, int)>& value) {
  ByteWriter rows;
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = rows.Size();
    for (int x = 0; x < width; ++x) PutPixel(rows, value(x, y), bits);
    while ((rows.Size() - start) % 4 != 0) rows.U8(0);
  }
  return std::move(rows.Data());
}

inline std::vector<std::uint32_t> GreyPalette(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) {
    const std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (n > 1 ? n - 1 : 1));
    p.push_back(v << 16 | v << 8 | v);
  }
  return p;
}

// The Targa 2.0 footer (no extension or developer area) that recognition looks for.
inline void AppendTgaFooter(ByteWriter& b) {
  b.U32(0);                          // extension area offset
  b.U32(0);                          // developer area offset
  b.Bytes("TRUEVISION-XFILE.", 18);  // with its closing zero
}
inline void AppendTgaFooter(Bytes& b) {
  ByteWriter footer;
  AppendTgaFooter(footer);
  b.insert(b.end(), footer.Data().begin(), footer.Data().end());
}

// A Targa 2.0 file with its footer. `data` is the pixel data as stored.
struct Tga {
  int type = 2;
  int width = 0;
  int height = 0;
  int bits = 24;
  bool topDown = true;
  int mapType = 0;
  int mapFirst = 0;
  int mapLength = 0;
  int mapBits = 24;
  Bytes map;
  Bytes data;
};

inline Bytes Build(const Tga& t) {
  ByteWriter b;
  b.U8(0);  // no image identifier
  b.U8(static_cast<std::uint8_t>(t.mapType));
  b.U8(static_cast<std::uint8_t>(t.type));
  b.U16(static_cast<std::uint16_t>(t.mapFirst));
  b.U16(static_cast<std::uint16_t>(t.mapLength));
  b.U8(static_cast<std::uint8_t>(t.mapBits));
  b.U32(0);  // x and y origin
  b.U16(static_cast<std::uint16_t>(t.width));
  b.U16(static_cast<std::uint16_t>(t.height));
  b.U8(static_cast<std::uint8_t>(t.bits));
  b.U8(t.topDown ? 0x20 : 0x00);
  b.Bytes(t.map.data(), t.map.size());
  b.Bytes(t.data.data(), t.data.size());
  AppendTgaFooter(b);
  return std::move(b.Data());
}

// A PCX file: header, the run-length data as given, and for one plane the 256-colour palette.
inline Bytes BuildPcx(int width, int height, int planes, int lineBytes, const Bytes& data,
                      const std::vector<std::uint32_t>& palette = {}) {
  ByteWriter b;
  const std::uint8_t start[4] = {10, 5, 1, 8};  // maker, version, run-length, bits per plane
  b.Bytes(start, 4);
  b.U16(0);
  b.U16(0);
  b.U16(static_cast<std::uint16_t>(width - 1));
  b.U16(static_cast<std::uint16_t>(height - 1));
  b.U16(72);
  b.U16(72);
  b.Data().resize(65, 0);
  b.U8(static_cast<std::uint8_t>(planes));
  b.U16(static_cast<std::uint16_t>(lineBytes));
  b.U16(1);
  b.Data().resize(128, 0);
  b.Bytes(data.data(), data.size());
  if (planes == 1) {
    b.U8(12);
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
      b.U8(static_cast<std::uint8_t>(c >> 16));
      b.U8(static_cast<std::uint8_t>(c >> 8));
      b.U8(static_cast<std::uint8_t>(c));
    }
  }
  return std::move(b.Data());
}

// Run-length encodes PCX bytes the simple way: every byte of 192 or more, and every repeat,
// becomes a run.
inline Bytes PackPcx(const Bytes& raw) {
  Bytes out;
  for (std::size_t i = 0; i < raw.size();) {
    std::size_t n = 1;
    while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63) ++n;
    if (n > 1 || raw[i] >= 192) out.push_back(static_cast<std::uint8_t>(192 | n));
    out.push_back(raw[i]);
    i += n;
  }
  return out;
}

// A Photoshop RGB file with 8-bit channels; `data` follows the compression field as given.
inline Bytes BuildPsd(int width, int height, int channels, int compression, const Bytes& data, int mode = 3,
                      int depth = 8) {
  ByteWriter b;
  b.Bytes("8BPS", 4);
  b.U16Be(1);
  for (int i = 0; i < 6; ++i) b.U8(0);  // reserved
  b.U16Be(static_cast<std::uint16_t>(channels));
  b.U32Be(static_cast<std::uint32_t>(height));
  b.U32Be(static_cast<std::uint32_t>(width));
  b.U16Be(static_cast<std::uint16_t>(depth));
  b.U16Be(static_cast<std::uint16_t>(mode));
  b.U32Be(0);  // colour mode data
  b.U32Be(4);  // image resources: four bytes of nothing
  b.U32Be(0);
  b.U32Be(0);  // layers and masks
  b.U16Be(static_cast<std::uint16_t>(compression));
  b.Bytes(data.data(), data.size());
  return std::move(b.Data());
}

// Channel planes of the test pattern: red, green, blue, then alpha 255 for any more.
inline Bytes PsdPlanes(int width, int height, int channels) {
  Bytes b;
  for (int c = 0; c < channels; ++c) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        b.push_back(c < 3 ? static_cast<std::uint8_t>(Pattern(x, y) >> (16 - 8 * c)) : 0xFF);
      }
    }
  }
  return b;
}

inline std::vector<std::uint32_t> PatternPixels(int width, int height) {
  std::vector<std::uint32_t> p;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) p.push_back(Pattern(x, y));
  }
  return p;
}

// Good pictures double as the fuzz targets' seeds: SPELLCRYPT_WRITE_FUZZ_SEEDS=1 writes them into
// fuzz/corpus/<target>/ and fuzz/corpus/image_loader_fuzz/ (gfx_fuzz_seeds_test checks them).
inline const Bytes& Seed(const char* target, const std::string& name, const Bytes& file) {
  if (std::getenv("SPELLCRYPT_WRITE_FUZZ_SEEDS") == nullptr) return file;
  for (const char* dir : {target, "image_loader_fuzz"}) {
    const std::filesystem::path folder =
        std::filesystem::path(SPELLCRYPT_SOURCE_DIR) / "fuzz" / "corpus" / dir;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  return file;
}

// The shared scratch folder (removed with the test; File(name) gives a path inside it).
using TempDir = testing::TempDir;

}  // namespace spellcrypt::testimg
