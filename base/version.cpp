// The web address comes from the build, so changing it recompiles this file only.
#include "base/version.h"

namespace spellcrypt {

const char* const kWebAddress = SPELLCRYPT_WEB_ADDRESS;

}  // namespace spellcrypt
