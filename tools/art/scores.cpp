#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeScores(PictureSet&) {}
}  // namespace spellcrypt::art
