// Life bar easing.
#include "game/gauge.h"

#include "base/math_util.h"

namespace spellcrypt {

void EaseFill(float& shown, float target, float rate, float delta) {
  shown = Lerp(shown, target, delta * rate);
  Approach(shown, target, delta * 0.0005f * rate);
}

}  // namespace spellcrypt
