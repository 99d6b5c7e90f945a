// Builds the game's word meanings from WordNet 3.0 (Debian's package wordnet-base).
//
//   make_meanings <wordnet folder> <word list> <output file>
//
// For each word of the game's word list ("key word" lines) it finds the base forms WordNet lists
// the word under (base_form.h), takes the one used most often in WordNet's tagged texts (the word
// itself counts four times over an inflection it could also be: "boring" stays an adjective,
// "running" is the verb "run"), and keeps the definitions of its first two senses, or of its first
// sense and the first sense of its next base form when it has one sense only. It writes the
// meanings file (words/meanings.h) and prints how many words have a meaning, and samples of those
// that have none. The output depends only on the input files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tools/meanings/base_form.h"
#include "tools/meanings/wordnet.h"
#include "words/meanings.h"

namespace fs = std::filesystem;
using namespace spellcrypt;

namespace {

// The words a player casts are 3 to 8 letters long (the coverage the game cares about most).
constexpr std::size_t kShortestCast = 3;
constexpr std::size_t kLongestCast = 8;
constexpr std::uint32_t kOwnFormWeight = 4;
constexpr std::size_t kSamplesShown = 24;

std::uint32_t Weight(const WordNet& wordnet, const BaseForm& form) {
  const auto& uses = wordnet.uses[static_cast<int>(form.pos)];
  const auto found = uses.find(form.base);
  const std::uint32_t count = (found == uses.end() ? 0 : found->second) + 1;
  return form.route == BaseRoute::Lemma && !form.respelled ? count * kOwnFormWeight : count;
}

// The definitions of a base form's senses, in sense order, the empty ones left out.
std::vector<std::string> Definitions(const WordNet& wordnet, const BaseForm& form, std::size_t most) {
  std::vector<std::string> definitions;
  const int p = static_cast<int>(form.pos);
  const auto senses = wordnet.senses[p].find(form.base);
  if (senses == wordnet.senses[p].end()) return definitions;
  for (std::uint32_t synset : senses->second) {
    if (definitions.size() == most) break;
    const auto gloss = wordnet.glosses[p].find(synset);
    if (gloss == wordnet.glosses[p].end()) continue;
    std::string definition = ShortGloss(gloss->second);
    if (!definition.empty() &&
        std::find(definitions.begin(), definitions.end(), definition) == definitions.end())
      definitions.push_back(std::move(definition));
  }
  return definitions;
}

bool MeaningOf(const WordNet& wordnet, const std::string& word, Meaning* meaning) {
  std::vector<BaseForm> forms = FindBaseForms(word, wordnet.lexicon);
  std::stable_sort(forms.begin(), forms.end(), [&](const BaseForm& a, const BaseForm& b) {
    return Weight(wordnet, a) > Weight(wordnet, b);
  });
  for (std::size_t i = 0; i < forms.size(); ++i) {
    std::vector<std::string> definitions = Definitions(wordnet, forms[i], 2);
    if (definitions.empty()) continue;
    meaning->base = wordnet.Displayed(forms[i].base);
    meaning->derived = forms[i].route == BaseRoute::Derived;
    meaning->first = {forms[i].pos, definitions[0]};
    meaning->second.reset();
    if (definitions.size() > 1) {
      meaning->second = Sense{forms[i].pos, definitions[1]};
      return true;
    }
    for (std::size_t j = i + 1; j < forms.size() && !meaning->second; ++j) {
      if (forms[j].base != forms[i].base) continue;
      std::vector<std::string> other = Definitions(wordnet, forms[j], 1);
      if (!other.empty() && other[0] != definitions[0]) meaning->second = Sense{forms[j].pos, other[0]};
    }
    return true;
  }
  return false;
}

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
