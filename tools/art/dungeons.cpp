#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeDungeons(PictureSet&) {}
}  // namespace spellcrypt::art
