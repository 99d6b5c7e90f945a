// The meanings file: any bytes may come from a damaged or hostile data folder. Loading checks every
// size and offset; whatever loads must answer lookups and format lines without reading outside its
// bytes, and a refused file must find nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "words/meanings.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  Meanings meanings;
  const bool loaded = meanings.LoadBytes(std::vector<std::uint8_t>(data, data + size), "fuzz");
  // Words to look up: the file's own word list region is unknown here, so try common words, the
  // empty word and pieces of the input.
  std::vector<std::string> words = {"", "a", "crowd", "mice", "zzzzzzzz", "packager"};
  for (std::size_t at = 0; at + 8 <= size && words.size() < 40; at += 97) {
    words.emplace_back(reinterpret_cast<const char*>(data + at), 1 + data[at] % 8);
  }
  for (const std::string& word : words) {
    const std::optional<Meaning> meaning = meanings.Find(word);
    if (!loaded && meaning) __builtin_trap();
    if (meaning) {
      for (const std::size_t width : {0u, 1u, 12u, 70u}) {
        if (FormatMeaning(word, *meaning, width).size() > width) __builtin_trap();
      }
    }
  }
  return 0;
}
