// Fuzzes the decoder of Photoshop pictures on its own, whatever the file's signature.
#include "fuzz/gfx_image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return spellcrypt::FuzzImageDecoder(data, size, spellcrypt::kImagePsd);
}
