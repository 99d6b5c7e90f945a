// Drawing the letter of a new tile from the player's letter weights: a Q only once a U is on the
// board, each drawn letter ten times rarer until the weights are reloaded, and for the deal a
// balance of vowels and consonants. Every draw ends, however worn the weights are.
#pragma once

#include "base/random.h"
#include "words/letter_table.h"

namespace spellcrypt {

// A, E, I, O, U (Y is not a vowel).
bool IsVowel(char letter);

struct LetterSource {
  LetterTable& weights;      // the player's weights, worn down by every draw
  const LetterTable& fresh;  // what a reload restores
  SimpleGenerator& random;
};

// One letter 'A'..'Z'. When nothing drawable is left (every weight worn to 0, or only a Q while no
// U is on the board) the weights are reloaded once; a table empty even then still deals a letter.
char DrawLetter(LetterSource& source, bool uOnBoard);

enum class LetterKind { Any, NoVowel, NoConsonant };

// The deal's draw: a letter of the rejected kind has its weight set to three times its (already
// divided) weight and is drawn again. When only the rejected kind has weight left, the weights are
// reloaded once, and then the draw is taken as it comes.
char DrawBalancedLetter(LetterSource& source, LetterKind accept, bool uOnBoard);

// What the deal asks for next: pendingDeal tiles still to deal (this one included), vowelsDealt
// so far.
LetterKind DealBalance(int pendingDeal, int vowelsDealt);

}  // namespace spellcrypt
