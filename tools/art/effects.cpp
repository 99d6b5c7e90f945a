#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeEffects(PictureSet&) {}
}  // namespace spellcrypt::art
