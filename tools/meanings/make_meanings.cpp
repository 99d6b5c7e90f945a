// Builds the game's word meanings from WordNet 3.0 (Debian's package wordnet-base).
//
//   make_meanings <wordnet folder> <word list> <output file>
//
// For each word of the game's word list ("key word" lines) it keeps the meaning choose_meaning.h
// chooses, writes the meanings file (words/meanings.h) and prints how many words have a meaning,
// and samples of those that have none. The output depends only on the input files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tools/meanings/choose_meaning.h"
#include "tools/meanings/wordnet.h"
#include "words/meanings.h"

namespace fs = std::filesystem;
using namespace spellcrypt;

namespace {

// The words a player casts are 3 to 8 letters long (the coverage the game cares about most).
constexpr std::size_t kShortestCast = 3;
constexpr std::size_t kLongestCast = 8;
constexpr std::size_t kSamplesShown = 24;
// A rough kind of a word without a meaning, for the report.
std::string KindOf(const std::string& word) {
  static const char* const kEndings[] = {"ness", "less", "ful", "ly",  "ing",  "ed",
                                         "er",   "est",  "ism", "ist", "able", "s"};
  for (const char* ending : kEndings) {
    const std::string e = ending;
    if (word.size() > e.size() + 2 && word.compare(word.size() - e.size(), e.size(), e) == 0) return "-" + e;
  }
  return "other";
}

struct Tally {
  std::size_t words = 0;
  std::size_t covered = 0;
  void Count(bool found) {
    ++words;
    if (found) ++covered;
  }
  double Percent() const {
    return words == 0 ? 0.0 : 100.0 * static_cast<double>(covered) / static_cast<double>(words);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <wordnet folder> <word list> <output file>\n", argv[0]);
    return 2;
  }
  WordNet wordnet;
  std::string error;
  if (!LoadWordNet(argv[1], &wordnet, &error)) {
    std::fprintf(stderr, "make_meanings: %s\n", error.c_str());
    return 1;
  }
  std::ifstream list(argv[2]);
  if (!list) {
    std::fprintf(stderr, "make_meanings: %s cannot be read\n", argv[2]);
    return 1;
  }

  std::vector<WordMeaning> meanings;
  Tally all, castable;
  std::map<std::string, std::vector<std::string>> missingByKind;
  std::size_t castableMissing = 0;
  for (std::string key, word; list >> key >> word;) {
    Meaning meaning;
    const bool found = MeaningOf(wordnet, word, &meaning);
    const bool isCastable = word.size() >= kShortestCast && word.size() <= kLongestCast;
    all.Count(found);
    if (isCastable) castable.Count(found);
    if (found) {
      meanings.push_back({word, std::move(meaning)});
    } else if (isCastable) {
      ++castableMissing;
      missingByKind[KindOf(word)].push_back(word);
    }
  }
  if (all.words == 0) {
    std::fprintf(stderr, "make_meanings: %s holds no words\n", argv[2]);
    return 1;
  }

  const std::vector<std::uint8_t> bytes = EncodeMeanings(meanings);
  const fs::path output = argv[3];
  const fs::path temporary = output.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "make_meanings: %s cannot be written\n", temporary.string().c_str());
      return 1;
    }
  }
  std::error_code ec;
  fs::rename(temporary, output, ec);
  if (ec) {
    std::fprintf(stderr, "make_meanings: %s cannot be written\n", output.string().c_str());
    return 1;
  }

  std::printf(
      "Word meanings: %zu of %zu words (%.1f%%); %zu of %zu words of %zu to %zu letters (%.1f%%); %zu "
      "bytes\n",
      all.covered, all.words, all.Percent(), castable.covered, castable.words, kShortestCast, kLongestCast,
      castable.Percent(), bytes.size());
  std::printf("Words of %zu to %zu letters without a meaning, by ending (%zu):\n", kShortestCast,
              kLongestCast, castableMissing);
  for (const auto& [kind, words] : missingByKind) {
    std::printf("  %-6s %6zu:", kind.c_str(), words.size());
    // Spread the samples over the list rather than showing its alphabetical start.
    const std::size_t step = std::max<std::size_t>(1, words.size() / kSamplesShown);
    for (std::size_t i = 0; i < words.size() && i / step < kSamplesShown; i += step)
      std::printf(" %s", words[i].c_str());
    std::printf("\n");
  }
  return 0;
}
