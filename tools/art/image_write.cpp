// Writers for the game's picture files.
#include "tools/art/image_write.h"

#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace spellcrypt::art {

namespace {

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0)); }

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

}  // namespace

RgbImage Flatten(const Canvas& c, const Color& background) {
  RgbImage img{c.width(), c.height(), {}};
  img.rgb.reserve(static_cast<size_t>(img.w) * img.h * 3);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const Color p = c.Get(x, y);
      const Color o = Mix(background, {p.r, p.g, p.b, 1}, p.a);
      img.rgb.push_back(Byte(o.r));
      img.rgb.push_back(Byte(o.g));
      img.rgb.push_back(Byte(o.b));
    }
  return img;
}

RgbImage Keyed(const Canvas& c, std::uint32_t key) {
  RgbImage img{c.width(), c.height(), {}};
  img.rgb.reserve(static_cast<size_t>(img.w) * img.h * 3);
  const std::uint8_t kr = (key >> 16) & 0xFF;
  const std::uint8_t kg = (key >> 8) & 0xFF;
  const std::uint8_t kb = key & 0xFF;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const Color p = c.Get(x, y);
      std::uint8_t r = kr, g = kg, b = kb;
      if (p.a >= 0.5) {
        r = Byte(p.r);
        g = Byte(p.g);
        b = Byte(p.b);
        if (r == kr && g == kg && b == kb) b = static_cast<std::uint8_t>(b > 0 ? b - 1 : 1);
      }
      img.rgb.push_back(r);
      img.rgb.push_back(g);
      img.rgb.push_back(b);
    }
  return img;
}

bool WriteBmp(const std::string& path, const RgbImage& img) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(img.w) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(img.h);
  std::vector<std::uint8_t> out;
  out.reserve(54 + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + pixelBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(img.w), 4);
  PutLe(out, static_cast<std::uint32_t>(img.h), 4);  // positive: bottom-up rows
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // no compression
  PutLe(out, pixelBytes, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = img.h - 1; y >= 0; --y) {
    const std::uint8_t* row = &img.rgb[static_cast<size_t>(y) * img.w * 3];
    for (int x = 0; x < img.w; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3]);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(img.w) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

bool WriteJpeg(const std::string& path, const RgbImage& img, int quality) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(img.w);
  cinfo.image_height = static_cast<JDIMENSION>(img.h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.write_JFIF_header = TRUE;
  // Full-resolution colour: keyed edges and thin gold lines stay clean.
  for (int i = 0; i < cinfo.num_components; ++i) {
    cinfo.comp_info[i].h_samp_factor = 1;
    cinfo.comp_info[i].v_samp_factor = 1;
  }
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&img.rgb[static_cast<size_t>(cinfo.next_scanline) * img.w * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
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
