// The word list.
#pragma once

namespace spellcrypt {

class Dictionary {
 public:
  // Loads the word list file. (The anagram index arrives with the words subsystem.)
  bool Load(const char* path);
};

}  // namespace spellcrypt
