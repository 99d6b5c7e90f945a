// Reading UTF-8 strictly, for the checks of what players send and the escaping of what the server
// prints: one code point at a time, refusing overlong forms, surrogates and points past U+10FFFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace spellcrypt::server {

// Reads the code point that starts at text[at] and moves `at` past it; false (at unchanged) when
// the bytes there are not a whole, valid sequence.
bool NextCodePoint(std::string_view text, std::size_t& at, std::uint32_t& point);

}  // namespace spellcrypt::server
