// Word-list loader: any bytes load without running past the text; on a list in key order every
// word is found again, and the oracle's fast search agrees with the plain subset search.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "tests/words_plain_search.h"
#include "words/dictionary.h"
#include "words/word_key.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Dictionary dictionary;
  dictionary.LoadText(text, "fuzz");

  const auto& entries = dictionary.Entries();
  bool ordered = true;
  for (std::size_t i = 1; i < entries.size() && ordered; ++i) {
    ordered = CompareKeys(entries[i - 1].key, entries[i].key) <= 0;
  }
  for (const DictEntry& e : entries) {
    if (e.key.size() + e.word.size() + 2 > Dictionary::kMaxLineLength) __builtin_trap();
    if (ordered && e.key == MakeKey(e.word) && !dictionary.IsWord(e.word)) __builtin_trap();
  }

  // Racks from the text itself: its first letters, and the letters of its entries.
  // (At most 10 letters: the plain search tries every subset.)
  std::string rack(text.substr(0, 4));
  for (std::size_t i = 0; i < entries.size() && rack.size() < 10; ++i) rack += entries[i].word.substr(0, 2);
  rack.resize(std::min<std::size_t>(rack.size(), 10));
  StringList exclude;
  dictionary.FindWords(rack, nullptr);
  for (int i = 0; i < dictionary.results.Count(); i += 2) exclude.Add(dictionary.results[i]);
  dictionary.FindWords(rack, &exclude);
  if (ordered && dictionary.results.Strings() != testing::PlainFindWords(entries, rack, &exclude)) {
    __builtin_trap();
  }
  return 0;
}
