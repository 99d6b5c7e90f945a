// The Mersenne generator and the scrambled sequence.
#include "base/random.h"

namespace spellcrypt {

void MersenneTwister::Seed(std::uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kWords; ++i) state_[i] = 69069u * state_[i - 1];
  index_ = kWords;
}

std::uint32_t MersenneTwister::Next() {
  constexpr int kShift = 397;
  constexpr std::uint32_t kMatrix = 0x9908B0DFu;
  constexpr std::uint32_t kUpper = 0x80000000u;
  constexpr std::uint32_t kLower = 0x7FFFFFFFu;
  if (index_ >= kWords) {
    if (index_ == kWords + 1) Seed(4357);
    auto twist = [&](int i, int next, int far) {
      std::uint32_t y = (state_[i] & kUpper) | (state_[next] & kLower);
      state_[i] = state_[far] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    };
    int i = 0;
    for (; i < kWords - kShift; ++i) twist(i, i + 1, i + kShift);
    for (; i < kWords - 1; ++i) twist(i, i + 1, i + kShift - kWords);
    twist(kWords - 1, 0, kShift - 1);
    index_ = 0;
  }
  std::uint32_t y = state_[index_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

int MersenneTwister::Below(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(Next() % static_cast<std::uint32_t>(n));
}

int MersenneTwister::Range(int a, int b) {
  if (a == b) return a;
  return a + Below(b - a + 1);
}

// The 53 primes up to 241, then the first prime from each hundred of 5000..9900 (6211 standing
// for 6200), then from each 500 of 10000..24500 (16033 standing for 16000).
const int RandomSequence::kPrimes[133] = {
    2,     3,     5,     7,     11,    13,    17,    19,    23,    29,    31,    37,    41,    43,    47,
    53,    59,    61,    67,    71,    73,    79,    83,    89,    97,    101,   103,   107,   109,   113,
    127,   131,   137,   139,   149,   151,   157,   163,   167,   173,   179,   181,   191,   193,   197,
    199,   211,   223,   227,   229,   233,   239,   241,   5003,  5101,  5209,  5303,  5407,  5501,  5623,
    5701,  5801,  5903,  6007,  6101,  6211,  6301,  6421,  6521,  6607,  6701,  6803,  6907,  7001,  7103,
    7207,  7307,  7411,  7507,  7603,  7703,  7817,  7901,  8009,  8101,  8209,  8311,  8419,  8501,  8609,
    8707,  8803,  8923,  9001,  9103,  9203,  9311,  9403,  9511,  9601,  9719,  9803,  9901,  10007, 10501,
    11003, 11503, 12007, 12503, 13001, 13513, 14009, 14503, 15013, 15511, 16033, 16519, 17011, 17509, 18013,
    18503, 19001, 19501, 20011, 20507, 21001, 21503, 22003, 22501, 23003, 23509, 24001, 24509};

void RandomSequence::Start(int n, SimpleGenerator& generator) {
  // Outside 1..24509 there is no prime to walk; clamp so that Next still ends.
  if (n < 1) n = 1;
  if (n > kPrimes[132]) n = kPrimes[132];
  n_ = n;
  const std::uint32_t r1 = static_cast<std::uint32_t>(generator.Next());
  const std::uint32_t r2 = static_cast<std::uint32_t>(generator.Next());
  const std::uint32_t r3 = static_cast<std::uint32_t>(generator.Next());
  const std::uint32_t un = static_cast<std::uint32_t>(n);
  step_ = (un * ((r1 % 13 + 1) * un + r2 % 7 + 1) + r3 % 5 + 1) & 0x3FFFFFFFu;
  prime_ = kPrimes[132];
  for (int p : kPrimes) {
    if (p >= n) {
      prime_ = p;
      break;
    }
  }
  if (step_ % static_cast<std::uint32_t>(prime_) == 0) step_ += 1;
  position_ = 0;
  count_ = 0;
}

int RandomSequence::Next(bool restart) {
  if (restart) {
    position_ = 0;
    count_ = 0;
  }
  if (prime_ == 0 || count_ == prime_) return -1;
  const std::uint32_t p = static_cast<std::uint32_t>(prime_);
  const std::uint32_t step = step_ % p;
  do {
    ++count_;
    position_ = static_cast<int>((static_cast<std::uint32_t>(position_) + step) % p);
  } while (position_ >= n_);
  return position_;
}

}  // namespace spellcrypt
