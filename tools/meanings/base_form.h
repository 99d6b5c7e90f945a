// The base forms of a word that WordNet lists it under: "mouse" for "mice", "stop" for "stopped",
// "happy" for "happily", "color" for "colours". WordNet lists lemmas (a noun in the singular, a verb
// in its plain form, an adjective in its plain degree) and the irregular forms of each part of
// speech in its exception lists; the regular inflections are undone here by rule. The generator of
// the meanings file and the tests share this code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "words/meanings.h"

namespace spellcrypt {

inline constexpr int kPartOfSpeechCount = 4;

// What the finder knows of WordNet: its lemmas and exception lists, by part of speech.
class Lexicon {
 public:
  void AddLemma(std::string_view lemma, PartOfSpeech pos);
  // An irregular form and one of its base forms ("geese" -> "goose"); a form may have several.
  void AddException(std::string_view form, std::string_view base, PartOfSpeech pos);
  bool IsLemma(std::string_view word, PartOfSpeech pos) const;
  const std::vector<std::string>& ExceptionBases(std::string_view form, PartOfSpeech pos) const;

 private:
  std::unordered_map<std::string, std::uint8_t> lemmas_;  // a bit for each part of speech
  std::unordered_map<std::string, std::vector<std::string>> exceptions_[kPartOfSpeechCount];
};

// How a base form was found.
enum class BaseRoute : std::uint8_t {
  Lemma,       // the word itself
  Exception,   // an exception list: "ran" -> "run"
  Inflection,  // a regular ending undone: "crowds" -> "crowd", "tried" -> "try", "bigger" -> "big"
  Adverb,      // an adverb in -ly WordNet lacks, read as its adjective: "brightly" -> "bright"
  Derived,     // a word WordNet lacks made from one it has: "packager" -> "package", "unburned" ->
               // "burn", "hackable" -> "hack"; its meaning is only related to the base's
};

struct BaseForm {
  std::string base;
  PartOfSpeech pos = PartOfSpeech::Noun;
  BaseRoute route = BaseRoute::Lemma;
  bool respelled = false;  // found under the American spelling ("colours" -> "color")

  bool operator==(const BaseForm&) const = default;
};

// Every base form the lexicon has for the (lower-case) word, each (base, part of speech) once: the
// word itself first, then exceptions, then inflections, then adverbs read as adjectives (tried only
// when the word is no adverb of WordNet's). A British spelling WordNet lacks is looked up under the
// American one. Only when none of those is found, the words it may be derived from (a common suffix
// or prefix taken off, after a plural's "s").
std::vector<BaseForm> FindBaseForms(std::string_view word, const Lexicon& lexicon);

// The American spellings of a British one, one change each ("colour" -> "color", "centre" ->
// "center", "realise" -> "realize"); empty when none applies.
std::vector<std::string> AmericanSpellings(std::string_view word);

}  // namespace spellcrypt
