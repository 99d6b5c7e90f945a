#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeEnding(PictureSet&) {}
}  // namespace spellcrypt::art
