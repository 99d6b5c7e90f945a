// PNG and BMP writers. PNG data goes into stored deflate blocks: screenshots need to be exact
// and quick to write, not small.
#include "gfx/image_writer.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "base/text_util.h"
#include "gfx/dx_surface.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

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

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
  PutBe32(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::uint32_t* pixels, int width, int height, int pitch) {
  std::vector<std::uint8_t> out;
  if (pixels == nullptr || width <= 0 || height <= 0) return out;
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
  std::vector<std::uint8_t> z = {0x78, 0x01};
  std::size_t done = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - done);
    z.push_back(done + n == raw.size() ? 1 : 0);
    PutLe(z, static_cast<std::uint32_t>(n), 2);
    PutLe(z, static_cast<std::uint32_t>(~n & 0xFFFF), 2);
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
             raw.begin() + static_cast<std::ptrdiff_t>(done + n));
    done += n;
  } while (done < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, b << 16 | a);

  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.assign(signature, signature + 8);
  std::vector<std::uint8_t> header;
  PutBe32(header, static_cast<std::uint32_t>(width));
  PutBe32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, no filter set, no interlace
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height, int pitch) {
  std::vector<std::uint8_t> out;
  if (pixels == nullptr || width <= 0 || height <= 0) return out;
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + imageSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(width), 4);
  PutLe(out, static_cast<std::uint32_t>(height), 4);
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // uncompressed
  PutLe(out, imageSize, 4);
  PutLe(out, 2835, 4);  // 72 dots per inch
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::uint32_t* s = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      out.push_back(static_cast<std::uint8_t>(s[x]));
      out.push_back(static_cast<std::uint8_t>(s[x] >> 8));
      out.push_back(static_cast<std::uint8_t>(s[x] >> 16));
    }
    out.resize(out.size() + (stride - static_cast<std::uint32_t>(width) * 3), 0);
  }
  return out;
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
