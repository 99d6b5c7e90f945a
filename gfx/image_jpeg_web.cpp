// JPEG pictures in the page: the browser's decoder, ahead of time. The pictures are found again by
// their bytes (FNV-1a of the whole file, and its length), the same key on both sides.
#include "gfx/image_jpeg_web.h"

#include <emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/log.h"
#include "gfx/image_bytes.h"
#include "gfx/image_writer.h"

// clang-format off
// `then` is the C function to call afterwards, as its index in the function table.
EM_JS(void, spellcrypt_decode_ahead, (const char* folder, int then), {
  const keyOf = function(bytes) {
    let hash = 2166136261;
    for (let i = 0; i < bytes.length; i++) hash = Math.imul(hash ^ bytes[i], 16777619) >>> 0;
    return hash + ":" + bytes.length;
  };
  const found = [];
  const walk = function(dir) {
    for (const name of FS.readdir(dir)) {
      if (name == "." || name == "..") continue;
      const path = dir + "/" + name;
      if (FS.isDir(FS.stat(path).mode)) walk(path);
      else if (name.toLowerCase().endsWith(".jpg")) found.push(path);
    }
  };
  walk(UTF8ToString(folder));
  const pictures = new Map();
  Module.spellcryptPictures = pictures;
  const decode = function(path) {
    const bytes = FS.readFile(path);
    const options = {colorSpaceConversion: "none", premultiplyAlpha: "none"};
    return createImageBitmap(new Blob([bytes], {type: "image/jpeg"}), options).then(function(bitmap) {
      const canvas = typeof OffscreenCanvas == "function" ? new OffscreenCanvas(bitmap.width, bitmap.height)
                                                          : document.createElement("canvas");
      canvas.width = bitmap.width;
      canvas.height = bitmap.height;
      const context = canvas.getContext("2d");
      context.drawImage(bitmap, 0, 0);
      pictures.set(keyOf(bytes), context.getImageData(0, 0, bitmap.width, bitmap.height));
      bitmap.close();
    }).catch(function(error) {
      console.error("The browser could not decode " + path + ": " + error);
    });
  };
  Promise.all(found.map(decode)).then(function() { getWasmTableEntry(then)(); });
});

EM_JS(int, spellcrypt_decoded_size, (const char* key, int* width, int* height), {
  const picture = Module.spellcryptPictures ? Module.spellcryptPictures.get(UTF8ToString(key)) : null;
  if (!picture) return 0;
  HEAP32[width >> 2] = picture.width;
  HEAP32[height >> 2] = picture.height;
  return 1;
});

EM_JS(void, spellcrypt_decoded_copy, (const char* key, std::uint8_t* rgba), {
  HEAPU8.set(Module.spellcryptPictures.get(UTF8ToString(key)).data, rgba);
});
// clang-format on

namespace spellcrypt {

void DecodePicturesAhead(const char* folder, void (*then)()) {
  spellcrypt_decode_ahead(folder, static_cast<int>(reinterpret_cast<std::intptr_t>(then)));
}

bool DecodeJpeg(const ImageBytes& file, DXImage& out) {
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < file.size; ++i) hash = (hash ^ file.data[i]) * 16777619u;
  const std::string key = std::to_string(hash) + ":" + std::to_string(file.size);
  int width = 0;
  int height = 0;
  if (spellcrypt_decoded_size(key.c_str(), &width, &height) == 0) {
    Log("This JPEG picture is not among the ones the page decoded.");
    return false;
  }
  if (!ImageSizeAllowed(width, height) || !StartImage(out, width, height)) return false;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  spellcrypt_decoded_copy(key.c_str(), rgba.data());
  const std::uint8_t* s = rgba.data();
  for (std::uint32_t& px : out.pixels) {
    px = PackRgb(s[0], s[1], s[2]);
    s += 4;
  }
  return true;
}

std::vector<std::uint8_t> EncodeJpeg(const std::uint32_t*, int, int, int, int, JpegColour) {
  Log("Writing JPEG files is not part of the browser edition.");
  return {};
}

}  // namespace spellcrypt
