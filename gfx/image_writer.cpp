// PNG and BMP writers. PNG data goes into stored deflate blocks: screenshots need to be exact
// and quick to write, not small.
#include "gfx/image_writer.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "base/binary_io.h"
#include "base/text_util.h"
#include "gfx/dx_surface.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

// A chunk: its length and type, the body, and the CRC of type and body, all big-endian.
void PutChunk(ByteWriter& out, const char* type, const std::vector<std::uint8_t>& body) {
  out.U32Be(static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.Size();
  out.Bytes(type, 4);
  out.Bytes(body.data(), body.size());
  out.U32Be(Crc32(out.Data().data() + start, out.Size() - start));
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::uint32_t* pixels, int width, int height, int pitch) {
  if (pixels == nullptr || width <= 0 || height <= 0) return {};
  // The raw scanlines: filter type 0, then red, green, blue.
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 3 + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const std::uint32_t* s = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      raw.push_back(static_cast<std::uint8_t>(s[x] >> 16));
      raw.push_back(static_cast<std::uint8_t>(s[x] >> 8));
      raw.push_back(static_cast<std::uint8_t>(s[x]));
    }
  }
  // A zlib stream of stored blocks of at most 65535 bytes, with its Adler-32 sum.
  ByteWriter z;
  z.U8(0x78);
  z.U8(0x01);
  std::size_t done = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - done);
    z.U8(done + n == raw.size() ? 1 : 0);
    z.U16(static_cast<std::uint16_t>(n));
    z.U16(static_cast<std::uint16_t>(~n));
    z.Bytes(raw.data() + done, n);
    done += n;
  } while (done < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  z.U32Be(b << 16 | a);

  ByteWriter out;
  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.Bytes(signature, 8);
  ByteWriter header;
  header.U32Be(static_cast<std::uint32_t>(width));
  header.U32Be(static_cast<std::uint32_t>(height));
  const std::uint8_t kind[5] = {8, 2, 0, 0, 0};  // 8 bits, truecolour, deflate, no filter set, no interlace
  header.Bytes(kind, 5);
  PutChunk(out, "IHDR", header.Data());
  PutChunk(out, "IDAT", z.Data());
  PutChunk(out, "IEND", {});
  return std::move(out.Data());
}

std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height, int pitch) {
  if (pixels == nullptr || width <= 0 || height <= 0) return {};
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  ByteWriter out;
  out.Data().reserve(54 + imageSize);
  out.Bytes("BM", 2);
  out.U32(54 + imageSize);
  out.U32(0);
  out.U32(54);  // where the pixels start
  out.U32(40);  // the information header's size
  out.I32(width);
  out.I32(height);  // positive: bottom row first
  out.U16(1);
  out.U16(24);
  out.U32(0);  // uncompressed
  out.U32(imageSize);
  out.U32(2835);  // 72 dots per inch
  out.U32(2835);
  out.U32(0);
  out.U32(0);
  const std::uint8_t padding[3] = {};
  for (int y = height - 1; y >= 0; --y) {
    const std::uint32_t* s = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      out.U8(static_cast<std::uint8_t>(s[x]));
      out.U8(static_cast<std::uint8_t>(s[x] >> 8));
      out.U8(static_cast<std::uint8_t>(s[x] >> 16));
    }
    out.Bytes(padding, stride - static_cast<std::uint32_t>(width) * 3);
  }
  return std::move(out.Data());
}

bool SaveImageFile(const char* path, const std::uint32_t* pixels, int width, int height, int pitch) {
  if (path == nullptr) return false;
  const std::string name(path);
  std::vector<std::uint8_t> file;
  if (EndsWith(name, ".bmp")) {
    file = EncodeBmp(pixels, width, height, pitch);
  } else if (EndsWith(name, ".jpg") || EndsWith(name, ".jpeg")) {
    file = EncodeJpeg(pixels, width, height, pitch, 90);
  } else {
    file = EncodePng(pixels, width, height, pitch);
  }
  return !file.empty() && WriteFileAtomically(name, file.data(), file.size());
}

bool SaveSurfaceImage(const CDXSurface& surface, const char* path) {
  if (!surface.HasImage()) return false;
  return SaveImageFile(path, surface.Pixels(), surface.Width(), surface.Height(), surface.Pitch());
}

}  // namespace spellcrypt
