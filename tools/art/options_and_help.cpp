#include "tools/art/picture_set.h"
namespace spellcrypt::art {
void MakeOptionsAndHelp(PictureSet&) {}
}  // namespace spellcrypt::art
