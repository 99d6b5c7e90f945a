// Writers for the game's picture files.
#include "tools/art/image_write.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gfx/image_writer.h"

namespace spellcrypt::art {

namespace {

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0)); }

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return false;
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

std::uint32_t Pack(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
}

}  // namespace

DXImage Flatten(const Canvas& c, const Color& background) {
  DXImage img{c.width(), c.height(), {}};
  img.pixels.reserve(static_cast<size_t>(img.width) * img.height);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Color p = c.Get(x, y);
      const Color o = Mix(background, {p.r, p.g, p.b, 1}, p.a);
      img.pixels.push_back(Pack(Byte(o.r), Byte(o.g), Byte(o.b)));
    }
  return img;
}

DXImage Keyed(const Canvas& c, std::uint32_t key) {
  DXImage img{c.width(), c.height(), {}};
  img.pixels.reserve(static_cast<size_t>(img.width) * img.height);
  key &= 0xFFFFFF;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Color p = c.Get(x, y);
      std::uint32_t rgb = key;
      if (p.a >= 0.5) {
        const std::uint8_t b = Byte(p.b);
        rgb = Pack(Byte(p.r), Byte(p.g), b);
        if (rgb == key) rgb = (rgb & ~0xFFu) | static_cast<std::uint8_t>(b > 0 ? b - 1 : 1);
      }
      img.pixels.push_back(rgb);
    }
  return img;
}

bool WriteBmp(const std::string& path, const DXImage& img) {
  return WriteBytes(path, EncodeBmp(img.pixels.data(), img.width, img.height, img.width));
}

bool WriteJpeg(const std::string& path, const DXImage& img, int quality) {
  return WriteBytes(path, EncodeJpeg(img.pixels.data(), img.width, img.height, img.width, quality,
                                     JpegColour::kFullResolution));
}

bool WritePng(const std::string& path, const Canvas& c) {
  cairo_surface_flush(c.surface());
  return cairo_surface_write_to_png(c.surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool MakeDirectories(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return !ec;
}

}  // namespace spellcrypt::art
