// The validation key of a game summary: a checksum by which a copied or printed summary can later
// be tested for edits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace spellcrypt {

// HashString of the text plus three times its length in bytes, modulo 2^32.
std::uint32_t ValidationKey(std::string_view text);
// The text followed by "\r\nValidation key: <key>\r\n", the key taken over the text alone.
std::string SummaryWithKey(std::string_view text);

}  // namespace spellcrypt
