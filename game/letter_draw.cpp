// Letter draws.
#include "game/letter_draw.h"

namespace spellcrypt {

namespace {

constexpr int kQ = 'Q' - 'A';

bool Drawable(int index, bool uOnBoard) { return index != kQ || uOnBoard; }

// Whether some letter of the accepted kind could still be drawn.
bool AnyDrawable(const LetterTable& weights, LetterKind accept, bool uOnBoard) {
  for (int i = 0; i < 26 && i < weights.Count(); ++i) {
    if (weights.GetWeight(i) <= 0 || !Drawable(i, uOnBoard)) continue;
    const bool vowel = IsVowel(static_cast<char>('A' + i));
    if (accept == LetterKind::Any || (accept == LetterKind::NoVowel && !vowel) ||
        (accept == LetterKind::NoConsonant && vowel)) {
      return true;
    }
  }
  return false;
}

bool Rejected(char letter, LetterKind accept) {
  if (accept == LetterKind::NoVowel) return IsVowel(letter);
  if (accept == LetterKind::NoConsonant) return !IsVowel(letter);
  return false;
}

// Restores the weights when nothing of the wanted kind is left; true when a draw of that kind can
// happen now.
bool EnsureDrawable(LetterSource& source, LetterKind accept, bool uOnBoard) {
  if (AnyDrawable(source.weights, accept, uOnBoard)) return true;
  source.weights = source.fresh;
  return AnyDrawable(source.weights, accept, uOnBoard);
}

}  // namespace

bool IsVowel(char letter) {
  switch (letter) {
    case 'A':
    case 'E':
    case 'I':
    case 'O':
    case 'U':
      return true;
    default:
      return false;
  }
}

char DrawLetter(LetterSource& source, bool uOnBoard) {
  if (!EnsureDrawable(source, LetterKind::Any, uOnBoard)) {
    // A table without a single usable weight: it still deals, never a Q without its U.
    const int index = source.weights.Pick(source.random);
    return index == kQ && !uOnBoard ? 'U' : static_cast<char>('A' + (index >= 0 && index < 26 ? index : 0));
  }
  int index = source.weights.Pick(source.random);
  while (!Drawable(index, uOnBoard) || index < 0 || index >= 26) index = source.weights.Pick(source.random);
  source.weights.SetWeight(index, source.weights.GetWeight(index) / 10);
  return static_cast<char>('A' + index);
}

char DrawBalancedLetter(LetterSource& source, LetterKind accept, bool uOnBoard) {
  if (accept != LetterKind::Any && !EnsureDrawable(source, accept, uOnBoard)) accept = LetterKind::Any;
  char letter = DrawLetter(source, uOnBoard);
  while (Rejected(letter, accept)) {
    const int index = letter - 'A';
    source.weights.SetWeight(index, source.weights.GetWeight(index) * 3);
    // Worn down to nothing of the wanted kind: take what comes.
    if (!AnyDrawable(source.weights, accept, uOnBoard)) break;
    letter = DrawLetter(source, uOnBoard);
  }
  return letter;
}

LetterKind DealBalance(int pendingDeal, int vowelsDealt) {
  if (pendingDeal >= 2) return vowelsDealt <= 2 ? LetterKind::Any : LetterKind::NoVowel;
  if (vowelsDealt < 2) return LetterKind::NoConsonant;
  return vowelsDealt == 2 ? LetterKind::Any : LetterKind::NoVowel;
}

}  // namespace spellcrypt
