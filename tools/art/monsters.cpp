#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeMonsters(PictureSet&) {}
}  // namespace spellcrypt::art
