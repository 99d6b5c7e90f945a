// The strong words of a game's summary (the words of five letters or more the player cast), read
// back from the summary's text, and listed with their meanings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scores/game_summary.h"
#include "words/meanings.h"

namespace spellcrypt {

// The words a summary lists under "- strong words used -", in lower case: one per line, letters
// only, the list ending at the first line that is not a word (at most 100 words).
std::vector<std::string> StrongWordsOf(std::string_view summary);

// One line per sense: "noun: a large number of things or people considered together"; the first
// one starts with the base when the definition is another word's: "(mouse) noun: ..." for "mice",
// "(from package) noun: ..." for "packager".
std::vector<std::string> SenseLines(std::string_view word, const Meaning& meaning);

// The strong words, each in capitals as the summary shows it, with its senses' lines (wrapped) under
// it, or a line saying that none is known; a note instead when there are no words, or no meanings.
void AppendStrongWordMeanings(ISummaryLines& out, const std::vector<std::string>& words,
                              MeaningsOnDemand& meanings);

}  // namespace spellcrypt
