// Recognising a JPEG picture (with a JFIF header). The codec is libjpeg on the desktop
// (image_jpeg_libjpeg.cpp) and stb_image in the browser (image_jpeg_stb.cpp).
#include <cstring>

#include "gfx/image_bytes.h"

namespace spellcrypt {

bool RecogniseJpeg(const ImageProbe& probe) {
  const ImageBytes& h = probe.head;
  return probe.fileSize >= 10 && h.Has(0, 10) && h.U8(0) == 0xFF && h.U8(2) == 0xFF &&
         std::memcmp(h.At(6), "JFIF", 4) == 0;
}

}  // namespace spellcrypt
