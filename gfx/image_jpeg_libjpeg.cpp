// JPEG pictures through libjpeg (the desktop's codec), decoded to 24-bit colour at their own size.
// Also writes JPEG files, for test pictures and benchmarks.
#include <csetjmp>
#include <cstdlib>
#include <cstring>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <jpeglib.h>
#include <jerror.h>  // the message codes
// clang-format on

#include "gfx/image_bytes.h"
#include "gfx/image_writer.h"

namespace spellcrypt {

namespace {

// libjpeg's own error handler ends the program; ours jumps back to the decoder, which refuses
// the picture. Warnings that mean picture data was lost or guessed (a file cut short, a bad code,
// a broken scan) refuse it too: a damaged picture is not shown half grey. Warnings about bytes
// libjpeg skipped without losing any picture data let the picture through.
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

bool HarmlessWarning(int code) {
  switch (code) {
    case JWRN_EXTRANEOUS_DATA:  // stray bytes before a marker, skipped
    case JWRN_JFIF_MAJOR:       // a JFIF revision libjpeg does not know; we read nothing of it
    case JWRN_BOGUS_ICC:        // a broken colour profile, which we never read
      return true;
    default:
      return false;
  }
}

void OnJpegMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  ++info->err->num_warnings;
  if (!HarmlessWarning(info->err->msg_code)) std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Keeps libjpeg's working memory (whole-image buffers of progressive pictures) within bounds.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

// Everything that must survive a jump lives outside the function that sets the jump point.
struct JpegDecode {
  jpeg_decompress_struct info;
  JpegError error;
  std::vector<std::uint8_t> row;
};

bool RunDecode(const ImageBytes& file, DXImage& out, JpegDecode& d) {
  if (setjmp(d.error.jump) != 0) return false;
  jpeg_create_decompress(&d.info);
  d.info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&d.info, file.data, static_cast<unsigned long>(file.size));
  if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
  if (!ImageSizeAllowed(d.info.image_width, d.info.image_height)) return false;
  d.info.out_color_space = JCS_RGB;  // grey pictures exist too
  jpeg_start_decompress(&d.info);
  if (d.info.output_components != 3 || !StartImage(out, d.info.output_width, d.info.output_height))
    return false;
  d.row.resize(static_cast<std::size_t>(out.width) * 3);
  while (d.info.output_scanline < d.info.output_height) {
    const std::size_t y = d.info.output_scanline;
    JSAMPROW rows[1] = {d.row.data()};
    if (jpeg_read_scanlines(&d.info, rows, 1) != 1) return false;
    std::uint32_t* px = out.pixels.data() + y * static_cast<std::size_t>(out.width);
    const std::uint8_t* s = d.row.data();
    for (int x = 0; x < out.width; ++x, s += 3) px[x] = PackRgb(s[0], s[1], s[2]);
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

struct JpegEncode {
  jpeg_compress_struct info;
  JpegError error;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> row;
};

bool RunEncode(const std::uint32_t* pixels, int width, int height, int pitch, int quality, JpegColour colour,
               JpegEncode& e) {
  if (setjmp(e.error.jump) != 0) return false;
  jpeg_create_compress(&e.info);
  jpeg_mem_dest(&e.info, &e.buffer, &e.size);
  e.info.image_width = static_cast<JDIMENSION>(width);
  e.info.image_height = static_cast<JDIMENSION>(height);
  e.info.input_components = 3;
  e.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.info);
  if (colour == JpegColour::kFullResolution) {
    for (int i = 0; i < e.info.num_components; ++i) {
      e.info.comp_info[i].h_samp_factor = 1;
      e.info.comp_info[i].v_samp_factor = 1;
    }
  }
  jpeg_set_quality(&e.info, quality, TRUE);
  jpeg_start_compress(&e.info, TRUE);
  e.row.resize(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* s = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      e.row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(s[x] >> 16);
      e.row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(s[x] >> 8);
      e.row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(s[x]);
    }
    JSAMPROW rows[1] = {e.row.data()};
    jpeg_write_scanlines(&e.info, rows, 1);
  }
  jpeg_finish_compress(&e.info);
  return true;
}

}  // namespace

bool DecodeJpeg(const ImageBytes& file, DXImage& out) {
  JpegDecode d{};
  d.info.err = jpeg_std_error(&d.error.manager);
  d.error.manager.error_exit = OnJpegError;
  d.error.manager.emit_message = OnJpegMessage;
  const bool ok = RunDecode(file, out, d);
  jpeg_destroy_decompress(&d.info);
  return ok;
}

std::vector<std::uint8_t> EncodeJpeg(const std::uint32_t* pixels, int width, int height, int pitch,
                                     int quality, JpegColour colour) {
  std::vector<std::uint8_t> file;
  if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
    return file;
  JpegEncode e{};
  e.info.err = jpeg_std_error(&e.error.manager);
  e.error.manager.error_exit = OnJpegError;
  if (RunEncode(pixels, width, height, pitch, quality, colour, e) && e.buffer != nullptr)
    file.assign(e.buffer, e.buffer + e.size);
  jpeg_destroy_compress(&e.info);
  std::free(e.buffer);
  return file;
}

}  // namespace spellcrypt
