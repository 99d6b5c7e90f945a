// The image loader: reads a file whole, recognises its format by content and decodes it.
#include "gfx/dx_image.h"

#include <algorithm>

#include "base/log.h"
#include "gfx/dx_surface.h"
#include "gfx/image_bytes.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

struct ImageDecoder {
  int format;
  bool (*recognise)(const ImageProbe&);
  bool (*decode)(const ImageBytes&, DXImage&);
};

// In the order recognition asks them: the Targa footer first, since any file may start with
// bytes that look like another format's signature.
constexpr ImageDecoder kDecoders[] = {
    {kImageTga, RecogniseTga, DecodeTga},    {kImageBmp, RecogniseBmp, DecodeBmp},
    {kImagePsd, RecognisePsd, DecodePsd},    {kImagePcx, RecognisePcx, DecodePcx},
    {kImageJpeg, RecogniseJpeg, DecodeJpeg},
};

const ImageDecoder* DecoderFor(int format) {
  for (const ImageDecoder& d : kDecoders) {
    if (d.format == format) return &d;
  }
  return nullptr;
}

}  // namespace

int RecogniseImage(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) return kImageRecognise;
  ImageProbe probe;
  probe.fileSize = size;
  probe.head = ImageBytes{data, std::min<std::size_t>(size, 256)};
  const std::size_t tail = std::min<std::size_t>(size, 64);
  probe.tail = ImageBytes{data + (size - tail), tail};
  for (const ImageDecoder& d : kDecoders) {
    if (d.recognise(probe)) return d.format;
  }
  return kImageRecognise;
}

bool DecodeImage(const std::uint8_t* data, std::size_t size, int format, DXImage& out) {
  out = DXImage{};
  if (data == nullptr) return false;
  if (format == kImageRecognise) format = RecogniseImage(data, size);
  const ImageDecoder* decoder = DecoderFor(format);
  if (decoder == nullptr) return false;
  if (decoder->decode(ImageBytes{data, size}, out)) return true;
  out = DXImage{};
  return false;
}

int ReadImageFile(const char* path, int format, DXImage& out) {
  out = DXImage{};
  std::vector<std::uint8_t> file;
  if (path == nullptr || !ReadWholeFile(path, file)) return -1;
  if (format == kImageRecognise) {
    format = RecogniseImage(file.data(), file.size());
    if (format == kImageRecognise) {
      DebugOut("Error: CDXImage - Unsupported Image type.");
      return -2;
    }
  }
  return DecodeImage(file.data(), file.size(), format, out) ? 1 : -2;
}

std::unique_ptr<CDXSurface> LoadImageFile(CDXScreen* screen, const char* path, int placement, int format) {
  auto surface = std::make_unique<CDXSurface>();
  if (surface->Create(screen, path, placement, format) < 1) return nullptr;
  return surface;
}

}  // namespace spellcrypt
