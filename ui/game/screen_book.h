// The book of upgrades found after a boss: two different pages, one to take.
#pragma once

namespace spellcrypt {

// Opens the book (input level 500). False when it could not be built.
bool OpenBookScreen();

}  // namespace spellcrypt
