// The words the word list leaves out: slurs and strong profanity. They come from the English list of
// the npm package cuss (installed at a pinned version by scripts/word_filter.sh), which rates each
// word 0 to 2 by how likely it is meant as profanity, and from two committed files of our own:
//   removed_words.txt  further words to leave out (forms the package lists only in the base form,
//                      words it rates lower)
//   kept_words.txt     words the package rates 2 that the list keeps (harmless or mild words)
// The removed set is: the package's words rated 2, less the kept words, plus the removed words.
// Only whole words are ever matched. The generator and the tests share this code.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

// The package's rating for words that are likely meant as profanity.
inline constexpr int kLikelyProfanity = 2;

struct RatedWord {
  std::string word;
  int rating = 0;
};

// Reads the package's list: one object literal with a "word: rating," line per entry (keys of
// several words or with digits are quoted). Fails, naming the line, on anything else inside it, so
// that a change of the package's layout stops the build instead of removing nothing.
bool ParseRatedWords(std::string_view text, std::vector<RatedWord>* words, std::string* error);

// Reads one of our word files: words of the letters a-z separated by blanks; '#' starts a comment.
bool ParseWordFile(std::string_view text, std::vector<std::string>* words, std::string* error);

struct RemovalSources {
  std::filesystem::path packageList;  // cuss's index.js
  std::filesystem::path removedWords;
  std::filesystem::path keptWords;
};

// The whole removed set, from the three files. Fails if a file is missing or malformed, if a kept
// word is not one the package rates 2 (a typo, or a word the package dropped), or if a word is both
// kept and removed.
bool LoadRemovedWords(const RemovalSources& sources, std::set<std::string>* words, std::string* error);

}  // namespace spellcrypt
