// The program's version text, defined once.
#pragma once

namespace spellcrypt {

// Sent with score requests and shown on the title screen as "v 2.05".
constexpr const char* kVersionText = "2.05";

}  // namespace spellcrypt
