#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeTips(PictureSet&) {}
}  // namespace spellcrypt::art
