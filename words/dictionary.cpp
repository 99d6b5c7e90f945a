#include "words/dictionary.h"

#include "app/log.h"

namespace spellcrypt {

bool Dictionary::Load(const char* path) {
  Log("The word list %s is not read yet: the dictionary arrives with the words subsystem.", path);
  return true;
}

}  // namespace spellcrypt
