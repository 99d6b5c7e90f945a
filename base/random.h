// The game's random generators. Their owners (the global state object in the game, the test in a
// test) hold the instances and hand them to whoever draws, so every draw can be seeded.
#pragma once

#include <cstdint>

namespace spellcrypt {

// MT19937 with the 1998 seeding (word i = 69069 x word i-1), which differs from std::mt19937's.
// An unseeded generator seeds itself with 4357 on first use.
class MersenneTwister {
 public:
  void Seed(std::uint32_t seed);
  std::uint32_t Next();
  // 0..n-1; 0 without drawing when n is 0 (or negative).
  int Below(int n);
  // a..b, both ends included; a without drawing when a equals b.
  int Range(int a, int b);

 private:
  static constexpr int kWords = 624;
  std::uint32_t state_[kWords] = {};
  int index_ = kWords + 1;  // kWords + 1 means "never seeded"
};

// The small generator behind SimpleRandom: 0..32767, the same recurrence as the classic C library's.
class SimpleGenerator {
 public:
  void Seed(std::uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_ = 1;
};

// Visits 0..n-1 once each in a scrambled order, 0 last, then -1. Works for 1 <= n <= 24509.
class RandomSequence {
 public:
  // Draws three numbers from the generator to scramble the walk.
  void Start(int n, SimpleGenerator& generator);
  int Next(bool restart = false);

  // Exposed for tests: the prime table and the chosen modulus.
  static const int kPrimes[133];
  int Modulus() const { return prime_; }

 private:
  int n_ = 0;
  std::uint32_t step_ = 1;
  int prime_ = 0;
  int position_ = 0;
  int count_ = 0;
};

}  // namespace spellcrypt
