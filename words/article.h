// "a" or "an" before a word, by the sound the word begins with: "an elfish pill", "a useful
// spoon", "an honest man", "a one-eyed frog", "an X-ray", "a Q-Tip".
#pragma once

#include <string_view>

namespace spellcrypt {

const char* IndefiniteArticle(std::string_view word);

}  // namespace spellcrypt
