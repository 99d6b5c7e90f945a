// The weighted picker (its file, its draws, its stored form) and the stored form of word lists.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/binary_io.h"
#include "base/text_util.h"
#include "tests/words_test_support.h"
#include "words/letter_table.h"
#include "words/string_list.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

class LetterTableTest : public testing::WordsTest {
 protected:
  int ReinstallBoxes() const {
    int n = 0;
    for (const std::string& box : platform.messageBoxes) {
      n += box == "Error|Unable to load the wordlist's .lft file.  Reinstall!\r\n" ? 1 : 0;
    }
    return n;
  }
  ScratchDir dir;
  LetterTable table;
  SimpleGenerator random;
};

TEST_F(LetterTableTest, LoadFileReadsOneWeightPerLetterLine) {
  std::string text;
  for (int i = 0; i < 26; ++i)
    text += std::string(1, static_cast<char>('A' + i)) + "|" + std::to_string(26 - i) + "\r\n";
  ASSERT_TRUE(table.LoadFile(dir.Write("list.lft", "# weights\n" + text)));
  ASSERT_EQ(table.Count(), 26);
  EXPECT_EQ(table.GetWeight(0), 26);
  EXPECT_EQ(table.GetWeight(25), 1);
  EXPECT_EQ(ReinstallBoxes(), 0);

  // A second load replaces the table; odd numbers read as far as they are numbers.
  ASSERT_TRUE(table.LoadFile(dir.Write("odd.lft", "A|7x\nB|\nC| -3\nD|abc\nE|99999999999")));
  ASSERT_EQ(table.Count(), 4);
  EXPECT_EQ(table.GetWeight(0), 7);
  EXPECT_EQ(table.GetWeight(1), -3);
  EXPECT_EQ(table.GetWeight(2), 0);
  EXPECT_EQ(table.GetWeight(3), 2147483647);
}

TEST_F(LetterTableTest, WordListNamesItsTableWhateverTheCase) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  dir.Write("lists/mine.lft", "A|3\nB|4\n");
  EXPECT_TRUE(table.LoadFile(LetterTable::PathFor("lists\\Mine.txt")));
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.GetWeight(1), 4);
  std::filesystem::current_path(before);
}

TEST_F(LetterTableTest, TablePathChangesOnlyTheFileNamesExtension) {
  EXPECT_EQ(LetterTable::PathFor("data\\master_word_list.txt"), "data\\master_word_list.lft");
  EXPECT_EQ(LetterTable::PathFor("..\\lists\\mine.txt"), "..\\lists\\mine.lft");
  EXPECT_EQ(LetterTable::PathFor("./lists.d/mine"), "./lists.d/mine.lft");
  EXPECT_EQ(LetterTable::PathFor("words.big.txt"), "words.lft");
}

TEST_F(LetterTableTest, TableWithoutWeightsAsksForReinstall) {
  EXPECT_FALSE(table.LoadFile(dir.Write("empty.lft", "A\nB|\nC\n")));
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(ReinstallBoxes(), 1);
  EXPECT_EQ(table.Pick(random), 0);  // an empty table still answers

  EXPECT_FALSE(table.LoadFile(dir.Path() + "/missing.lft"));
  EXPECT_EQ(LogLinesWith("Couldn't open " + dir.Path() + "/missing.lft.."), 1);
  EXPECT_EQ(ReinstallBoxes(), 2);
}

TEST_F(LetterTableTest, PickNeverChoosesAWeightOfZero) {
  table.SetWeight(2, 5);
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(table.GetWeight(0), 0);
  random.Seed(7);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(table.Pick(random), 2);

  // The draw 32767 gives r = 1.0, which no running total exceeds.
  std::uint32_t seed = 0;
  for (;; ++seed) {
    SimpleGenerator probe;
    probe.Seed(seed);
    if (probe.Next() == 32767) break;
  }
  random.Seed(seed);
  EXPECT_EQ(table.Pick(random), 2);

  LetterTable zero;
  zero.SetWeight(0, 0);
  zero.SetWeight(1, 0);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(zero.Pick(random), 0);
}

TEST_F(LetterTableTest, PickFollowsTheWeightsAndTheirChanges) {
  table.SetWeight(0, 1);
  table.SetWeight(1, 3);
  random.Seed(99);
  int counts[2] = {};
  for (int i = 0; i < 8000; ++i) ++counts[table.Pick(random)];
  EXPECT_NEAR(counts[1] / 8000.0, 0.75, 0.03);

  // Changing a weight takes effect at the next pick.
  table.AddWeight(0, -1);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(table.Pick(random), 1);
  table.AddWeight(4, 1000000);
  EXPECT_EQ(table.Count(), 5);
  int high = 0;
  for (int i = 0; i < 500; ++i) high += table.Pick(random) == 4 ? 1 : 0;
  EXPECT_GT(high, 490);

  table.SetWeight(-1, 5);
  table.SetWeight(LetterTable::kMaxEntries, 5);
  EXPECT_EQ(table.Count(), 5);
  EXPECT_EQ(table.GetWeight(-1), 0);
  EXPECT_EQ(table.GetWeight(99), 0);
}

TEST_F(LetterTableTest, StoredFormRoundTripsAndRefusesLies) {
  table.SetWeight(0, 8);
  table.SetWeight(2, -4);
  ByteWriter out;
  table.Save(out);
  EXPECT_EQ(out.Data(),
            (std::vector<std::uint8_t>{3, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF}));
  LetterTable loaded;
  loaded.SetWeight(7, 1);
  ByteReader in(out.Data());
  ASSERT_TRUE(loaded.Load(in));
  EXPECT_EQ(loaded.Count(), 3);
  EXPECT_EQ(loaded.GetWeight(2), -4);
  EXPECT_EQ(in.Remaining(), 0u);

  for (const std::vector<std::uint8_t>& bad :
       {std::vector<std::uint8_t>{4, 0, 0, 0, 1, 0, 0, 0}, std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF},
        std::vector<std::uint8_t>{1, 0}}) {
    ByteReader damaged(bad);
    EXPECT_FALSE(loaded.Load(damaged));
    EXPECT_EQ(loaded.Count(), 0);
  }
  EXPECT_EQ(ErrorLinesWith("Letter weights in the saved data are damaged"), 3);
}

class StringListTest : public testing::WordsTest {};

TEST_F(StringListTest, StoredBytesOfCatAndApple) {
  StringList list;
  list.Add("cat");
  list.Add("apple");
  ByteWriter out;
  list.Save(out);
  const std::vector<std::uint8_t> expected = {2,   0, 0, 0, 3, 0,   0,   0,   'c', 'a',
                                              't', 5, 0, 0, 0, 'a', 'p', 'p', 'l', 'e'};
  EXPECT_EQ(out.Data(), expected);

  StringList loaded;
  loaded.Add("old");
  ByteReader in(out.Data());
  ASSERT_TRUE(loaded.Load(in));
  EXPECT_EQ(loaded.Strings(), (std::vector<std::string>{"cat", "apple"}));
  EXPECT_TRUE(loaded.Contains("apple"));
  EXPECT_FALSE(loaded.Contains("app"));
  EXPECT_EQ(loaded.Last(), "apple");
}

TEST_F(StringListTest, StoredFormThatLiesIsRefused) {
  auto le = [](std::uint32_t v) {
    ByteWriter w;
    w.U32(v);
    return w.Data();
  };
  auto join = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> bytes;
    for (const auto& p : parts) bytes.insert(bytes.end(), p.begin(), p.end());
    return bytes;
  };
  const std::vector<std::uint8_t> word = {'w', 'o', 'r', 'd'};
  const std::vector<std::vector<std::uint8_t>> lies = {
      join({le(1000000), le(4), word}),                               // more words than bytes
      join({le(2), le(4), word, le(5), word}),                        // a length past the end
      join({le(1), le(0xFFFFFFFF), word}),                            // an absurd length
      join({le(1), le(2048), std::vector<std::uint8_t>(2048, 'x')}),  // too long for the buffer
      {1, 0, 0},                                                      // cut inside the count
  };
  for (const auto& bytes : lies) {
    StringList list;
    list.Add("stale");
    ByteReader in(bytes);
    EXPECT_FALSE(list.Load(in));
    EXPECT_EQ(list.Count(), 0);
  }
  EXPECT_EQ(ErrorLines(), 5);

  // 2047 bytes is the longest string the stored form holds.
  StringList longest;
  const std::vector<std::uint8_t> stored = join({le(1), le(2047), std::vector<std::uint8_t>(2047, 'x')});
  ByteReader in(stored);
  ASSERT_TRUE(longest.Load(in));
  EXPECT_EQ(longest[0].size(), 2047u);
}

TEST_F(StringListTest, LongestIsTheLastNonEmptyString) {
  StringList list;
  EXPECT_EQ(list.Longest(), "");
  EXPECT_EQ(list.Last(), "");
  EXPECT_EQ(ErrorLines(), 0);
  list.Add("");
  list.Add("");
  EXPECT_EQ(list.Longest(), "");
  EXPECT_EQ(ErrorLinesWith("Couldn't find longest word.."), 1);
  list.Add("cat");
  list.Add("cart");
  list.Add("");
  EXPECT_EQ(list.Longest(), "cart");
  EXPECT_EQ(list.Last(), "");
}

}  // namespace
}  // namespace spellcrypt
