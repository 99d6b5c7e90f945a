// The program's version text and the web address its visit button opens, defined once.
#pragma once

namespace spellcrypt {

// Sent with score requests and shown on the title screen as "v 2.05".
constexpr const char* kVersionText = "2.05";

// Host and path, no scheme: the CMake cache variable SPELLCRYPT_WEB_ADDRESS.
extern const char* const kWebAddress;

}  // namespace spellcrypt
