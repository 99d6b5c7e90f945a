#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeMap(PictureSet&) {}
}  // namespace spellcrypt::art
