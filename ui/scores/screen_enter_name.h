// The name entry after a game: a local high score, or a name for the internet rankings.
#pragma once

namespace spellcrypt {

enum class NameFor { LocalTable = 0, Internet = 1 };

// Opens the name entry with its prompt at the current input level. False when it could not start.
bool OpenNameEntry(const char* prompt, NameFor purpose);

// The name a high score is kept under when the entry is left empty.
constexpr const char* kNamelessHero = "Mystery Wizard";

}  // namespace spellcrypt
