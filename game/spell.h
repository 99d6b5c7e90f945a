// A spell's damage and score: the base values by word length, the tiles' additions and then their
// multiplications, the score bonus of a strong spell, secret words and the player's mind level.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace spellcrypt {

struct SecretWord;

struct Spell {
  std::int32_t damage = 0;
  std::int32_t score = 0;
};

// Base damage and score of a word of n letters (0 below 3 letters).
std::int32_t BaseDamage(int letters);
std::int32_t BaseScore(int letters);

struct SpellInputs {
  int letters = 0;             // the word's length
  std::span<const int> tiles;  // the types of the tiles spelling it
  bool kidmode = false;        // base damage doubled
  const SecretWord* secret = nullptr;
  std::int32_t mindLevel = 0;
};

// Worked in 64 bits and held at the largest 32-bit value, so that no pile of multipliers, pages
// and secret words can wrap a spell round to a negative number.
Spell ComputeSpell(const SpellInputs& in);

// Adds without wrapping: the sum held within the 32-bit range.
std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b);

}  // namespace spellcrypt
