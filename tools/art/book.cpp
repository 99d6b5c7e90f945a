#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeBook(PictureSet&) {}
}  // namespace spellcrypt::art
