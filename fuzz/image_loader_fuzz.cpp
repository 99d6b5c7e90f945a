// Fuzzes the whole image loader: recognition by content, then whichever decoder it picks.
#include "fuzz/gfx_image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return spellcrypt::FuzzImageDecoder(data, size, spellcrypt::kImageRecognise);
}
