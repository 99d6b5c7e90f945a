// Small image files built in memory for the decoder tests, the fuzz seeds and the benchmarks.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace spellcrypt::testimg {

using Bytes = std::vector<std::uint8_t>;

inline void Le(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Be(Bytes& b, std::uint32_t v, int n) {
  for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

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
  Bytes b = {'B', 'M'};
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(bmp.palette.size()) * 4;
  Le(b, offset + static_cast<std::uint32_t>(bmp.rows.size()), 4);
  Le(b, 0, 4);
  Le(b, offset, 4);
  Le(b, 40, 4);
  Le(b, static_cast<std::uint32_t>(bmp.width), 4);
  Le(b, static_cast<std::uint32_t>(bmp.topDown ? -bmp.height : bmp.height), 4);
  Le(b, 1, 2);
  Le(b, static_cast<std::uint32_t>(bmp.bits), 2);
  Le(b, bmp.compression, 4);
  Le(b, static_cast<std::uint32_t>(bmp.rows.size()), 4);
  Le(b, 2835, 4);
  Le(b, 2835, 4);
  Le(b, bmp.coloursUsed, 4);
  Le(b, 0, 4);
  for (std::uint32_t c : bmp.palette) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
    b.push_back(static_cast<std::uint8_t>(c >> 16));
    b.push_back(0);
  }
  Append(b, bmp.rows);
  return b;
}

// Uncompressed rows, bottom row first, each padded to 4 bytes; value(x, y) gives the stored value
// (palette index, 16-bit 555 value or 0x00RRGGBB).
inline Bytes BmpRows(int width, int height, int bits, const std::function<std::uint32_t(int, int)>& value) {
  Bytes rows;
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = rows.size();
    for (int x = 0; x < width; ++x) Le(rows, value(x, y), bits / 8);
    while ((rows.size() - start) % 4 != 0) rows.push_back(0);
  }
  return rows;
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
inline void AppendTgaFooter(Bytes& b) {
  Le(b, 0, 4);
  Le(b, 0, 4);
  const char signature[] = "TRUEVISION-XFILE.";
  b.insert(b.end(), signature, signature + 18);  // with its closing zero
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
  Bytes b;
  b.push_back(0);
  b.push_back(static_cast<std::uint8_t>(t.mapType));
  b.push_back(static_cast<std::uint8_t>(t.type));
  Le(b, static_cast<std::uint32_t>(t.mapFirst), 2);
  Le(b, static_cast<std::uint32_t>(t.mapLength), 2);
  b.push_back(static_cast<std::uint8_t>(t.mapBits));
  Le(b, 0, 4);
  Le(b, static_cast<std::uint32_t>(t.width), 2);
  Le(b, static_cast<std::uint32_t>(t.height), 2);
  b.push_back(static_cast<std::uint8_t>(t.bits));
  b.push_back(t.topDown ? 0x20 : 0x00);
  Append(b, t.map);
  Append(b, t.data);
  AppendTgaFooter(b);
  return b;
}

// A PCX file: header, the run-length data as given, and for one plane the 256-colour palette.
inline Bytes BuildPcx(int width, int height, int planes, int lineBytes, const Bytes& data,
                      const std::vector<std::uint32_t>& palette = {}) {
  Bytes b = {10, 5, 1, 8};
  Le(b, 0, 2);
  Le(b, 0, 2);
  Le(b, static_cast<std::uint32_t>(width - 1), 2);
  Le(b, static_cast<std::uint32_t>(height - 1), 2);
  Le(b, 72, 2);
  Le(b, 72, 2);
  b.resize(65, 0);
  b.push_back(static_cast<std::uint8_t>(planes));
  Le(b, static_cast<std::uint32_t>(lineBytes), 2);
  Le(b, 1, 2);
  b.resize(128, 0);
  Append(b, data);
  if (planes == 1) {
    b.push_back(12);
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
      b.push_back(static_cast<std::uint8_t>(c >> 16));
      b.push_back(static_cast<std::uint8_t>(c >> 8));
      b.push_back(static_cast<std::uint8_t>(c));
    }
  }
  return b;
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
  Bytes b = {'8', 'B', 'P', 'S'};
  Be(b, 1, 2);
  b.resize(b.size() + 6, 0);
  Be(b, static_cast<std::uint32_t>(channels), 2);
  Be(b, static_cast<std::uint32_t>(height), 4);
  Be(b, static_cast<std::uint32_t>(width), 4);
  Be(b, static_cast<std::uint32_t>(depth), 2);
  Be(b, static_cast<std::uint32_t>(mode), 2);
  Be(b, 0, 4);  // colour mode data
  Be(b, 4, 4);  // image resources: four bytes of nothing
  Be(b, 0, 4);
  Be(b, 0, 4);  // layers and masks
  Be(b, static_cast<std::uint32_t>(compression), 2);
  Append(b, data);
  return b;
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
