// Reading Princeton's WordNet 3.0 database as Debian's package wordnet-base installs it
// (/usr/share/wordnet): the index of each part of speech (lemma -> its synsets, most frequent sense
// first), the data files (synset -> gloss), the exception lists (irregular forms) and the sense
// counts of cntlist.rev (how often each sense was met in WordNet's tagged texts).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tools/meanings/base_form.h"

namespace spellcrypt {

struct WordNet {
  Lexicon lexicon;
  // By part of speech: lemma -> its synsets (offsets in the data file), most frequent sense first.
  std::unordered_map<std::string, std::vector<std::uint32_t>> senses[kPartOfSpeechCount];
  // By part of speech: synset offset -> the whole gloss, examples included.
  std::unordered_map<std::uint32_t, std::string> glosses[kPartOfSpeechCount];
  // By part of speech: lemma -> how often its senses were met in the tagged texts.
  std::unordered_map<std::string, std::uint32_t> uses[kPartOfSpeechCount];
  // Lemmas of several words or with hyphens are listed as the game spells them, run together
  // ("airbag" for "air_bag", "tallyho" for "tally-ho"); this keeps how WordNet writes them.
  std::unordered_map<std::string, std::string> written;

  // How WordNet writes a lemma, blanks for its underscores: "air bag" for "airbag".
  std::string Displayed(const std::string& lemma) const;
};

// Reads the whole database from the folder. Fails, naming the file and line, when a file is
// missing or a line is not what WordNet writes. Lemmas of several words ("ice_cream") or with
// hyphens are kept run together (the game's words are letters a-z only; those with other
// characters are left out); when the run-together spelling is a lemma of its own, its own senses
// come first.
bool LoadWordNet(const std::filesystem::path& folder, WordNet* wordnet, std::string* error);

// One line of an index file: "dog n 7 5 @ ~ #m #p %p 7 1 02084071 10114209 ...". False when it is
// no index line (the licence lines at the top start with blanks).
bool ParseIndexLine(std::string_view line, std::string* lemma, std::vector<std::uint32_t>* synsets);

// The definition of a gloss, the shortest useful form of it: the examples in quotes and what
// follows the first "; " go, and so do remarks in parentheses when the definition is long.
// "a member of the genus Canis (probably descended from the common wolf) that has been domesticated
// by man since prehistoric times; occurs in many breeds; \"the dog barked all night\"" gives "a member
// of the genus Canis that has been domesticated by man since prehistoric times". Empty when the
// gloss holds examples only.
std::string ShortGloss(std::string_view gloss);

}  // namespace spellcrypt
