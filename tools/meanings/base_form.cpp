#include "tools/meanings/base_form.h"

#include <algorithm>

namespace spellcrypt {

namespace {

constexpr std::size_t kShortestBase = 2;

std::uint8_t Bit(PartOfSpeech pos) { return static_cast<std::uint8_t>(1u << static_cast<int>(pos)); }

bool EndsWith(std::string_view word, std::string_view ending) {
  return word.size() >= ending.size() && word.substr(word.size() - ending.size()) == ending;
}

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// A regular ending and what replaces it in the base form.
struct Rule {
  PartOfSpeech pos;
  std::string_view ending;
  std::string_view replacement;
};

constexpr Rule kRules[] = {
    {PartOfSpeech::Noun, "s", ""},          {PartOfSpeech::Noun, "ses", "s"},
    {PartOfSpeech::Noun, "xes", "x"},       {PartOfSpeech::Noun, "zes", "z"},
    {PartOfSpeech::Noun, "ches", "ch"},     {PartOfSpeech::Noun, "shes", "sh"},
    {PartOfSpeech::Noun, "men", "man"},     {PartOfSpeech::Noun, "ies", "y"},
    {PartOfSpeech::Noun, "ae", "a"},        {PartOfSpeech::Verb, "s", ""},
    {PartOfSpeech::Verb, "ies", "y"},       {PartOfSpeech::Verb, "es", "e"},
    {PartOfSpeech::Verb, "es", ""},         {PartOfSpeech::Verb, "ed", "e"},
    {PartOfSpeech::Verb, "ed", ""},         {PartOfSpeech::Verb, "ied", "y"},
    {PartOfSpeech::Verb, "ing", "e"},       {PartOfSpeech::Verb, "ing", ""},
    {PartOfSpeech::Verb, "ying", "ie"},     {PartOfSpeech::Adjective, "er", ""},
    {PartOfSpeech::Adjective, "est", ""},   {PartOfSpeech::Adjective, "er", "e"},
    {PartOfSpeech::Adjective, "est", "e"},  {PartOfSpeech::Adjective, "ier", "y"},
    {PartOfSpeech::Adjective, "iest", "y"},
};

// Endings after which a short base doubles its last consonant: "stopped", "running", "bigger".
constexpr std::pair<PartOfSpeech, std::string_view> kDoublingEndings[] = {
    {PartOfSpeech::Verb, "ed"},
    {PartOfSpeech::Verb, "ing"},
    {PartOfSpeech::Adjective, "er"},
    {PartOfSpeech::Adjective, "est"},
};

// Adverbs in -ly and the adjective endings they come from: "quickly" <- "quick", "happily" <-
// "happy", "gently" <- "gentle", "basically" <- "basic", "fully" <- "full", "truly" <- "true".
constexpr std::pair<std::string_view, std::string_view> kAdverbEndings[] = {
    {"ly", ""}, {"ily", "y"}, {"ly", "le"}, {"ally", ""}, {"lly", "ll"}, {"uly", "ue"},
};

// British spellings and their American ones; each change is tried alone, at each place it fits.
constexpr std::pair<std::string_view, std::string_view> kBritishSpellings[] = {
    {"our", "or"},  {"ise", "ize"},    {"isa", "iza"}, {"yse", "yze"},   {"tre", "ter"},
    {"ogue", "og"}, {"ence", "ense"},  {"ae", "e"},    {"oe", "e"},      {"ll", "l"},
    {"mme", "m"},   {"eable", "able"}, {"ough", "ow"}, {"grey", "gray"},
};

// Suffixes that make a new word of another and the base they leave: "packager" <- "package",
// "hackable" <- "hack", "notifier" <- "notify", "lankness" <- "lank", "cashless" <- "cash".
constexpr Rule kDerivingSuffixes[] = {
    {PartOfSpeech::Verb, "er", ""},
    {PartOfSpeech::Verb, "er", "e"},
    {PartOfSpeech::Verb, "ier", "y"},
    {PartOfSpeech::Noun, "er", ""},
    {PartOfSpeech::Verb, "able", ""},
    {PartOfSpeech::Verb, "able", "e"},
    {PartOfSpeech::Verb, "iable", "y"},
    {PartOfSpeech::Adjective, "ness", ""},
    {PartOfSpeech::Adjective, "iness", "y"},
    {PartOfSpeech::Noun, "less", ""},
    {PartOfSpeech::Noun, "ful", ""},
    {PartOfSpeech::Noun, "ism", ""},
    {PartOfSpeech::Adjective, "ism", ""},
    {PartOfSpeech::Noun, "ist", ""},
    {PartOfSpeech::Adjective, "ist", ""},
    {PartOfSpeech::Noun, "y", ""},
    {PartOfSpeech::Verb, "y", ""},
    {PartOfSpeech::Verb, "y", "e"},
    {PartOfSpeech::Noun, "ly", ""},
    {PartOfSpeech::Verb, "ly", "le"},
    {PartOfSpeech::Noun, "ish", ""},
    // Words made of nouns: "kickiest" <- "kick", "jokily" <- "joke", "pincered" <- "pincer",
    // "guesting" <- "guest", "lordling" <- "lord".
    {PartOfSpeech::Noun, "ier", ""},
    {PartOfSpeech::Noun, "iest", ""},
    {PartOfSpeech::Noun, "ier", "e"},
    {PartOfSpeech::Noun, "iest", "e"},
    {PartOfSpeech::Noun, "ily", ""},
    {PartOfSpeech::Noun, "ily", "e"},
    {PartOfSpeech::Noun, "ed", ""},
    {PartOfSpeech::Noun, "ed", "e"},
    {PartOfSpeech::Noun, "ied", "y"},
    {PartOfSpeech::Noun, "ing", ""},
    {PartOfSpeech::Noun, "ling", ""},
    {PartOfSpeech::Verb, "ling", ""},
};
// Endings after which the base doubles its last consonant: "drubber" <- "drub", "hittable" <- "hit".
constexpr std::pair<PartOfSpeech, std::string_view> kDerivingDoubled[] = {
    {PartOfSpeech::Verb, "er"},  {PartOfSpeech::Verb, "able"}, {PartOfSpeech::Noun, "y"},
    {PartOfSpeech::Verb, "y"},   {PartOfSpeech::Noun, "ier"},  {PartOfSpeech::Noun, "iest"},
    {PartOfSpeech::Noun, "ily"}, {PartOfSpeech::Noun, "ed"},   {PartOfSpeech::Noun, "ing"},
};
// Prefixes taken off a word whose rest is a word: "redialed" <- "dial", "unburned" <- "burn".
constexpr std::string_view kPrefixes[] = {"re",  "un",  "pre",   "non",   "mis", "dis", "over", "under",
                                          "out", "sub", "super", "inter", "de",  "co",  "anti", "semi"};
constexpr std::size_t kShortestDerivedBase = 3;

class Finder {
 public:
  Finder(const Lexicon& lexicon, std::vector<BaseForm>* found) : lexicon_(lexicon), found_(found) {}

  // Adds the base when it is a lemma of that part of speech, else its first American spelling that
  // is one. True when one was added or was there already.
  bool Try(const std::string& base, PartOfSpeech pos, BaseRoute route) {
    if (base.size() < kShortestBase) return false;
    if (lexicon_.IsLemma(base, pos)) return Add(base, pos, route, false);
    for (const std::string& spelling : AmericanSpellings(base))
      if (lexicon_.IsLemma(spelling, pos)) return Add(spelling, pos, route, true);
    return false;
  }

 private:
  bool Add(const std::string& base, PartOfSpeech pos, BaseRoute route, bool respelled) {
    const bool known = std::any_of(found_->begin(), found_->end(), [&](const BaseForm& form) {
      return form.base == base && form.pos == pos;
    });
    if (!known) found_->push_back({base, pos, route, respelled});
    return true;
  }

  const Lexicon& lexicon_;
  std::vector<BaseForm>* found_;
};

constexpr PartOfSpeech kAllParts[] = {PartOfSpeech::Noun, PartOfSpeech::Verb, PartOfSpeech::Adjective,
                                      PartOfSpeech::Adverb};

std::vector<BaseForm> CollectBaseForms(std::string_view word, const Lexicon& lexicon, bool derived);

void FindDerivedBases(std::string_view word, const Lexicon& lexicon, Finder* finder) {
  // The word, and the word less a plural's ending: "soothers" is "soother" made from "soothe".
  std::vector<std::string> stems = {std::string(word)};
  if (EndsWith(word, "s") && !EndsWith(word, "ss")) stems.emplace_back(word.substr(0, word.size() - 1));
  if (EndsWith(word, "ies")) stems.push_back(std::string(word.substr(0, word.size() - 3)) + "y");
  for (const std::string& stem : stems) {
    for (const Rule& rule : kDerivingSuffixes) {
      if (!EndsWith(stem, rule.ending) || stem.size() < rule.ending.size() + kShortestDerivedBase) continue;
      std::string base = stem.substr(0, stem.size() - rule.ending.size());
      base.append(rule.replacement);
      finder->Try(base, rule.pos, BaseRoute::Derived);
    }
    for (const auto& [pos, ending] : kDerivingDoubled) {
      if (!EndsWith(stem, ending) || stem.size() < ending.size() + kShortestDerivedBase + 1) continue;
      const std::string_view doubled = std::string_view(stem).substr(0, stem.size() - ending.size());
      const char last = doubled.back();
      if (last == doubled[doubled.size() - 2] && !IsVowel(last))
        finder->Try(std::string(doubled.substr(0, doubled.size() - 1)), pos, BaseRoute::Derived);
    }
  }
  for (std::string_view prefix : kPrefixes) {
    if (!EndsWith(word.substr(0, prefix.size()), prefix) ||
        word.size() < prefix.size() + kShortestDerivedBase)
      continue;
    for (const BaseForm& form : CollectBaseForms(word.substr(prefix.size()), lexicon, false))
      if (form.base.size() >= kShortestDerivedBase) finder->Try(form.base, form.pos, BaseRoute::Derived);
  }
}

}  // namespace

void Lexicon::AddLemma(std::string_view lemma, PartOfSpeech pos) { lemmas_[std::string(lemma)] |= Bit(pos); }

void Lexicon::AddException(std::string_view form, std::string_view base, PartOfSpeech pos) {
  exceptions_[static_cast<int>(pos)][std::string(form)].emplace_back(base);
}

bool Lexicon::IsLemma(std::string_view word, PartOfSpeech pos) const {
  const auto found = lemmas_.find(std::string(word));
  return found != lemmas_.end() && (found->second & Bit(pos)) != 0;
}

const std::vector<std::string>& Lexicon::ExceptionBases(std::string_view form, PartOfSpeech pos) const {
  static const std::vector<std::string> kNone;
  const auto& forms = exceptions_[static_cast<int>(pos)];
  const auto found = forms.find(std::string(form));
  return found == forms.end() ? kNone : found->second;
}

std::vector<std::string> AmericanSpellings(std::string_view word) {
  std::vector<std::string> spellings;
  for (const auto& [british, american] : kBritishSpellings) {
    // Never at the very start: "our", "ounce" and "aesthetic" keep their first letters.
    for (std::size_t at = word.find(british, 1); at != std::string_view::npos;
         at = word.find(british, at + 1)) {
      // A Latin plural ("nebulae") ends in "ae" or "oe", as do "canoe" and "aloe": never respelled.
      if (british.size() == 2 && british[1] == 'e' && at + 2 == word.size()) continue;
      std::string spelling(word.substr(0, at));
      spelling.append(american);
      spelling.append(word.substr(at + british.size()));
      if (std::find(spellings.begin(), spellings.end(), spelling) == spellings.end())
        spellings.push_back(spelling);
    }
  }
  return spellings;
}

std::vector<BaseForm> FindBaseForms(std::string_view word, const Lexicon& lexicon) {
  return CollectBaseForms(word, lexicon, true);
}

namespace {

std::vector<BaseForm> CollectBaseForms(std::string_view word, const Lexicon& lexicon, bool derived) {
  std::vector<BaseForm> found;
  Finder finder(lexicon, &found);
  const std::string whole(word);
  for (PartOfSpeech pos : kAllParts) finder.Try(whole, pos, BaseRoute::Lemma);
  for (PartOfSpeech pos : kAllParts)
    for (const std::string& base : lexicon.ExceptionBases(word, pos))
      finder.Try(base, pos, BaseRoute::Exception);

  for (const Rule& rule : kRules) {
    if (!EndsWith(word, rule.ending)) continue;
    std::string base(word.substr(0, word.size() - rule.ending.size()));
    base.append(rule.replacement);
    finder.Try(base, rule.pos, BaseRoute::Inflection);
  }
  for (const auto& [pos, ending] : kDoublingEndings) {
    if (!EndsWith(word, ending) || word.size() < ending.size() + 3) continue;
    const std::string_view stem = word.substr(0, word.size() - ending.size());
    const char last = stem.back();
    if (last == stem[stem.size() - 2] && !IsVowel(last))
      finder.Try(std::string(stem.substr(0, stem.size() - 1)), pos, BaseRoute::Inflection);
  }

  if (!lexicon.IsLemma(word, PartOfSpeech::Adverb) && EndsWith(word, "ly")) {
    for (const auto& [ending, replacement] : kAdverbEndings) {
      if (!EndsWith(word, ending)) continue;
      std::string base(word.substr(0, word.size() - ending.size()));
      base.append(replacement);
      if (finder.Try(base, PartOfSpeech::Adjective, BaseRoute::Adverb)) break;
    }
  }
  if (derived && found.empty()) FindDerivedBases(word, lexicon, &finder);
  return found;
}

}  // namespace

}  // namespace spellcrypt
