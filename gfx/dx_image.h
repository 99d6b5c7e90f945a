// Pictures from image files: the decoded form, the formats the game reads, and the loader that
// recognises a file by its content (a bitmap named ".jpg" still loads as a bitmap).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace spellcrypt {

class CDXScreen;
class CDXSurface;

// A decoded picture: 0x00RRGGBB pixels, rows top first, no padding.
struct DXImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Format codes callers may pass; 0 recognises the format from the file's content.
enum ImageFormat : int {
  kImageRecognise = 0,
  kImageBmp = 1,
  kImagePsd = 2,
  kImageTga = 3,
  kImagePcx = 4,
  kImageJpeg = 5,
};

// Pictures beyond these are refused before any pixel memory is taken.
constexpr int kMaxImageSide = 16384;
constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 25;

// Which format the bytes are in (checked in the order Targa, bitmap, Photoshop, PCX, JPEG), or 0.
int RecogniseImage(const std::uint8_t* data, std::size_t size);
// Decodes the bytes in the given format (0: recognise). False when the picture is refused; `out`
// is then empty.
bool DecodeImage(const std::uint8_t* data, std::size_t size, int format, DXImage& out);
// Reads and decodes a file the game names: 1 on success, -1 when the file cannot be read, -2 when
// it is not a picture we decode. An unrecognised format is reported on the debugger output.
int ReadImageFile(const char* path, int format, DXImage& out);
// A new surface holding the picture, or null.
std::unique_ptr<CDXSurface> LoadImageFile(CDXScreen* screen, const char* path, int placement, int format);

}  // namespace spellcrypt
