// The random generators, pinned against sequences computed independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/globals.h"
#include "base/random.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

TEST(MersenneTwisterTest, UnseededGeneratorUsesSeed4357) {
  MersenneTwister mt;
  const std::uint32_t expected[] = {3510405877u, 4290933890u, 2191955339u, 564929546u, 152112058u};
  for (std::uint32_t value : expected) EXPECT_EQ(mt.Next(), value);
}

TEST(MersenneTwisterTest, SeedingUsesThe69069Recurrence) {
  MersenneTwister mt;
  mt.Seed(12345);
  EXPECT_EQ(mt.Next(), 2505241820u);
  EXPECT_EQ(mt.Next(), 4267588480u);
  EXPECT_EQ(mt.Next(), 2524958330u);
}

TEST(MersenneTwisterTest, SecondBlockAfter624Outputs) {
  MersenneTwister mt;
  mt.Seed(4357);
  std::uint32_t value = 0;
  for (int i = 0; i < 625; ++i) value = mt.Next();
  EXPECT_EQ(value, 2222118351u);
  for (int i = 625; i < 1000; ++i) value = mt.Next();
  EXPECT_EQ(value, 1309179303u);
}

TEST(SimpleGeneratorTest, ClassicSequenceWithinRange) {
  SimpleGenerator g;
  g.Seed(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int value : expected) EXPECT_EQ(g.Next(), value);
  for (int i = 0; i < 100000; ++i) {
    const int v = g.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
}

class RandomHelpersTest : public testing::HeadlessFixture {
 protected:
  RandomHelpersTest() : HeadlessFixture(false) {}
};

TEST_F(RandomHelpersTest, RandomDrawsModuloNAndZeroDrawsNothing) {
  GetGlobals().mersenne.Seed(4357);
  EXPECT_EQ(Random(0), 0);  // no draw
  EXPECT_EQ(Random(100), static_cast<int>(3510405877u % 100));
  EXPECT_EQ(Random(-5), 0);
}

TEST_F(RandomHelpersTest, RandomRangeWithEqualEndsConsumesNothing) {
  GetGlobals().mersenne.Seed(4357);
  EXPECT_EQ(RandomRange(3, 3), 3);
  EXPECT_EQ(RandomRange(0, 9), static_cast<int>(3510405877u % 10));
  for (int i = 0; i < 1000; ++i) {
    const int v = RandomRange(-2, 2);
    ASSERT_GE(v, -2);
    ASSERT_LE(v, 2);
  }
}

TEST_F(RandomHelpersTest, SequenceOfOneYieldsZeroThenEnds) {
  RandomSequence seq;
  seq.Start(1, GetGlobals().simpleRandom);
  EXPECT_EQ(seq.Next(), 0);
  EXPECT_EQ(seq.Next(), -1);
  EXPECT_EQ(seq.Next(), -1);
}

TEST_F(RandomHelpersTest, SequencesArePermutationsEndingWithZero) {
  for (int n : {2, 6, 53, 241, 242, 300, 5003, 6200, 16000, 24509}) {
    RandomSequence seq;
    seq.Start(n, GetGlobals().simpleRandom);
    std::vector<int> seen;
    for (int v = seq.Next(); v != -1; v = seq.Next()) seen.push_back(v);
    ASSERT_EQ(static_cast<int>(seen.size()), n) << "n = " << n;
    EXPECT_EQ(seen.back(), 0) << "n = " << n;
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < n; ++i) ASSERT_EQ(seen[static_cast<std::size_t>(i)], i) << "n = " << n;
  }
}

TEST_F(RandomHelpersTest, RestartReplaysTheSameOrder) {
  RandomSequence seq;
  seq.Start(6, GetGlobals().simpleRandom);
  std::vector<int> first;
  for (int v = seq.Next(); v != -1; v = seq.Next()) first.push_back(v);
  std::vector<int> second{seq.Next(true)};
  for (int v = seq.Next(); v != -1; v = seq.Next()) second.push_back(v);
  EXPECT_EQ(first, second);
}

TEST_F(RandomHelpersTest, ModulusIsTheSmallestTablePrimeNotBelowN) {
  const std::pair<int, int> cases[] = {{1, 2},       {6, 7},       {241, 241},     {242, 5003},
                                       {6200, 6211}, {6204, 6211}, {16000, 16033}, {24509, 24509}};
  for (const auto& [n, prime] : cases) {
    RandomSequence seq;
    seq.Start(n, GetGlobals().simpleRandom);
    EXPECT_EQ(seq.Modulus(), prime) << "n = " << n;
  }
}

TEST(RandomSequenceTableTest, HoldsOneHundredThirtyThreeAscendingPrimes) {
  const int* begin = RandomSequence::kPrimes;
  const int* end = begin + 133;
  EXPECT_TRUE(std::is_sorted(begin, end));
  EXPECT_EQ(std::set<int>(begin, end).size(), 133u);
  for (const int* p = begin; p != end; ++p) {
    for (int d = 2; d * d <= *p; ++d) ASSERT_NE(*p % d, 0) << *p << " is not prime";
  }
}

}  // namespace
}  // namespace spellcrypt
