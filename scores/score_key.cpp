// The submission key comes from the build, so changing it recompiles this file only.
#include "scores/score_protocol.h"

namespace spellcrypt {

const std::uint32_t kSubmissionKey = SPELLCRYPT_SCORE_KEY;

}  // namespace spellcrypt
