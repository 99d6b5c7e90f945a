// The oracle's search written the slow, obvious way: every subset of the sorted letters (smaller
// subsets first, positions in lexicographic order), one binary search per subset, a linear
// "already there?" test per word. The dictionary's fast search must agree with it word for word.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "words/dictionary.h"
#include "words/word_key.h"

namespace spellcrypt::testing {

// The binary search over the keys, and the step back to the first entry of the group; -1 if absent.
inline int PlainSearch(const std::vector<DictEntry>& entries, const std::string& key) {
  const int n = static_cast<int>(entries.size());
  if (n == 0) return -1;
  int low = 0;
  int high = n;
  int i = (n - 1) / 2;
  int steps = 0;
  for (;;) {
    ++steps;
    if (entries[static_cast<std::size_t>(i)].key == key) break;
    if (std::abs(high - low) <= 1) return -1;
    if (CompareKeys(key, entries[static_cast<std::size_t>(i)].key) < 0) {
      high = i;
      i = low + (i - low) / 2;
    } else {
      low = i;
      i = i + (high - i) / 2;
    }
    if (steps > 10000) return -1;
  }
  while (i > 0 && entries[static_cast<std::size_t>(i - 1)].key == key) --i;
  return i;
}

inline std::vector<std::string> PlainFindWords(const std::vector<DictEntry>& entries,
                                               std::string_view letters, const StringList* exclude) {
  std::vector<std::string> results;
  const std::string k = MakeKey(letters);
  const int n = static_cast<int>(k.size());
  if (n < 3) return results;
  auto contains = [](const std::vector<std::string>& list, const std::string& word) {
    for (const std::string& s : list) {
      if (s == word) return true;
    }
    return false;
  };
  for (int size = 3; size <= n; ++size) {
    std::vector<int> positions(static_cast<std::size_t>(size));
    for (int j = 0; j < size; ++j) positions[static_cast<std::size_t>(j)] = j;
    for (;;) {
      std::string text;
      for (int p : positions) text.push_back(k[static_cast<std::size_t>(p)]);
      int i = PlainSearch(entries, text);
      if (i >= 0) {
        for (; i < static_cast<int>(entries.size()) && entries[static_cast<std::size_t>(i)].key == text;
             ++i) {
          const std::string& word = entries[static_cast<std::size_t>(i)].word;
          if (exclude != nullptr && exclude->Contains(word)) continue;
          if (contains(results, word)) continue;
          results.push_back(word);
        }
      }
      // Next choice of positions in lexicographic order.
      int j = size - 1;
      while (j >= 0 && positions[static_cast<std::size_t>(j)] == n - size + j) --j;
      if (j < 0) break;
      ++positions[static_cast<std::size_t>(j)];
      for (int m = j + 1; m < size; ++m) {
        positions[static_cast<std::size_t>(m)] = positions[static_cast<std::size_t>(m - 1)] + 1;
      }
    }
  }
  return results;
}

}  // namespace spellcrypt::testing
