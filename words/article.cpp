// The indefinite article: the first letter decides, but for the words whose first sound is not
// their first letter's.
#include "words/article.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace spellcrypt {

namespace {

// Words that start with a vowel letter but a consonant sound ("a unicorn", "a euro", "a one").
constexpr std::string_view kVowelLetterConsonantSound[] = {
    "uni", "use", "usu", "uti", "ute", "uri", "ure", "uro", "ubi", "uku", "ufo", "eu", "ewe", "one", "once"};
// Words that start with a silent h ("an hour", "an honest man").
constexpr std::string_view kSilentH[] = {"honest", "honor", "honour", "hour", "heir", "herb"};

bool StartsWithAny(const std::string& word, const auto& prefixes) {
  for (std::string_view prefix : prefixes) {
    if (word.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

}  // namespace

const char* IndefiniteArticle(std::string_view word) {
  // Numbers said with a vowel first: eight, eleven, eighteen.
  const auto digit = [&word](std::size_t i) {
    return i < word.size() && std::isdigit(static_cast<unsigned char>(word[i]));
  };
  if (digit(0)) {
    if (word[0] == '8') return "an";
    const bool elevenOrEighteen = word.size() >= 2 && word[0] == '1' && (word[1] == '1' || word[1] == '8');
    return elevenOrEighteen && !digit(2) ? "an" : "a";
  }
  std::size_t letters = 0;
  while (letters < word.size() && std::isalpha(static_cast<unsigned char>(word[letters]))) ++letters;
  if (letters == 0) return "a";
  // A letter said on its own, as in "X-ray" or an initialism such as "MRI": its name's sound.
  const bool initialism =
      letters == 1 ||
      (letters <= 5 && std::all_of(word.begin(), word.begin() + static_cast<long>(letters),
                                   [](char c) { return std::isupper(static_cast<unsigned char>(c)); }));
  if (initialism) {
    const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return std::string_view("AEFHILMNORSX").find(first) != std::string_view::npos ? "an" : "a";
  }
  std::string lower(word.substr(0, letters));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (StartsWithAny(lower, kSilentH)) return "an";
  if (StartsWithAny(lower, kVowelLetterConsonantSound)) return "a";
  return IsVowel(lower[0]) ? "an" : "a";
}

}  // namespace spellcrypt
