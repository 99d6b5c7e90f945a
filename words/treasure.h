// Treasure texts: the sentence the player finds when a dungeon is cleared, either a fixed one for
// the dungeon or one built from word lists. Stateless; the sentence goes into the caller's buffer.
#pragma once

#include <cstddef>

#include "base/random.h"

namespace spellcrypt {

// Buffers handed to the treasure functions hold at least this many characters.
constexpr std::size_t kTreasureTextSize = 128;

// Each draws from the Mersenne generator it is given.
const char* RandomAdjective(MersenneTwister& random);
const char* RandomNoun(MersenneTwister& random);
const char* RandomVerb(MersenneTwister& random);
// A random sentence such as "You find a shiny goblet." into buffer; returns buffer.
const char* RandomTreasure(MersenneTwister& random, char* buffer, std::size_t size);
// The treasure of the given dungeon: "You've killed everything!" for the last one; else one time in
// four the dungeon's own sentence (dungeons 1 to 20), otherwise a random one. Returns the buffer or
// a fixed text.
const char* TreasureSentence(MersenneTwister& random, char* buffer, std::size_t size, int dungeon);

}  // namespace spellcrypt
