// JPEG pictures in the browser edition, through stb_image (header-only, from Debian's libstb-dev):
// the web build has no libjpeg. Decoded to 24-bit colour at their own size; a damaged picture is
// refused. Writing JPEG files (test pictures only) is not part of the browser edition.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

#include <memory>

#include "base/log.h"
#include "gfx/image_bytes.h"
#include "gfx/image_writer.h"

namespace spellcrypt {

bool DecodeJpeg(const ImageBytes& file, DXImage& out) {
  if (file.size > static_cast<std::size_t>(INT32_MAX)) return false;
  int width = 0;
  int height = 0;
  int channels = 0;
  if (stbi_info_from_memory(file.data, static_cast<int>(file.size), &width, &height, &channels) == 0) {
    return false;
  }
  if (!ImageSizeAllowed(width, height)) return false;
  std::unique_ptr<stbi_uc, void (*)(void*)> rgb(
      stbi_load_from_memory(file.data, static_cast<int>(file.size), &width, &height, &channels, 3),
      stbi_image_free);
  if (rgb == nullptr || !StartImage(out, width, height)) {
    return false;
  }
  const stbi_uc* s = rgb.get();
  for (std::uint32_t& px : out.pixels) {
    px = PackRgb(s[0], s[1], s[2]);
    s += 3;
  }
  return true;
}

std::vector<std::uint8_t> EncodeJpeg(const std::uint32_t*, int, int, int, int, JpegColour) {
  Log("Writing JPEG files is not part of the browser edition.");
  return {};
}

}  // namespace spellcrypt
