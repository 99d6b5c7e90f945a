// The meaning the generator keeps for a word: of the base forms WordNet lists the word under, the
// one used most often in WordNet's tagged texts (the word itself counts four times over an
// inflection it could also be: "boring" stays an adjective, "running" is the verb "run"), with the
// definitions of its first two senses, or of its first sense and the first sense of its next base
// form when it has one sense only.
#pragma once

#include <string>

#include "tools/meanings/wordnet.h"
#include "words/meanings.h"

namespace spellcrypt {

// False when no base form of the word has a definition.
bool MeaningOf(const WordNet& wordnet, const std::string& word, Meaning* meaning);

}  // namespace spellcrypt
