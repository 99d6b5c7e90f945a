// Strict UTF-8 reading.
#include "server/utf8.h"

namespace spellcrypt::server {

bool NextCodePoint(std::string_view text, std::size_t& at, std::uint32_t& point) {
  if (at >= text.size()) return false;
  const auto c = static_cast<unsigned char>(text[at]);
  if (c < 0x80) {
    point = c;
    ++at;
    return true;
  }
  // The sequence's length and the smallest code point it may carry (no overlong forms).
  std::size_t length;
  std::uint32_t value, least;
  if ((c & 0xE0) == 0xC0) {
    length = 2, value = c & 0x1F, least = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    length = 3, value = c & 0x0F, least = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    length = 4, value = c & 0x07, least = 0x10000;
  } else {
    return false;
  }
  if (at + length > text.size()) return false;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  point = value;
  at += length;
  return true;
}

}  // namespace spellcrypt::server
