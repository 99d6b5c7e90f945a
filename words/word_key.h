// Word keys: a word's letters sorted into ascending byte order, so that anagrams share a key. The
// word list is kept in key order; the list generator and the dictionary share these two helpers.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace spellcrypt {

// The word's bytes sorted ascending, as unsigned bytes.
inline std::string MakeKey(std::string_view word) {
  std::string key(word);
  std::sort(key.begin(), key.end(),
            [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
  return key;
}

// Key order: byte by byte as unsigned bytes over the common length; on a tie the shorter key first.
// Negative, zero or positive like strcmp. (std::string_view compares exactly this way.)
inline int CompareKeys(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace spellcrypt
