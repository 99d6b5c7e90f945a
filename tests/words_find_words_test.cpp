// The oracle's fast search against the plain subset-by-subset search: same words, same order, on
// the generated list and on a list with odd keys.
#include <string>
#include <vector>

#include "base/random.h"
#include "tests/words_plain_search.h"
#include "tests/words_test_support.h"
#include "words/dictionary.h"

namespace spellcrypt {
namespace {

using testing::PlainFindWords;

class FindWordsTest : public testing::WordsTest {
 protected:
  // A rack of n letters drawn with the letter frequencies of English words (vowels often repeat).
  std::string RandomRack(int n) {
    static const char kPool[] =
        "aaaaaaaabbcccddddeeeeeeeeeeeeffgghhhhhhiiiiiiijkllllmmnnnnnnnooooooooppqrrrrrrsssssstttttttttuuuvwwx"
        "yyz";
    std::string rack;
    for (int i = 0; i < n; ++i) rack.push_back(kPool[Random(static_cast<int>(sizeof kPool) - 1)]);
    return rack;
  }
  void ExpectSameAsPlain(Dictionary& dictionary, const std::string& rack, StringList* exclude) {
    dictionary.FindWords(rack, exclude);
    ASSERT_EQ(dictionary.results.Strings(), PlainFindWords(dictionary.Entries(), rack, exclude))
        << "rack " << rack;
  }
};

TEST_F(FindWordsTest, FastSearchMatchesThePlainSearchOnTheGeneratedList) {
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Load((std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt").c_str()));
  GetGlobals().mersenne.Seed(20240611);
  int nonEmpty = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string rack = RandomRack(Random(12));
    // Every fourth search leaves out a few of the words it would find, as the used-word list does.
    StringList used;
    if (round % 4 == 0) {
      dictionary.FindWords(rack, nullptr);
      for (int i = 0; i < dictionary.results.Count(); i += 3) used.Add(dictionary.results[i]);
      used.Add("zzz");
    }
    ExpectSameAsPlain(dictionary, rack, round % 4 == 0 ? &used : nullptr);
    nonEmpty += dictionary.results.Count() > 0 ? 1 : 0;
  }
  EXPECT_GT(nonEmpty, 1500);
  // Full racks: sixteen different letters, and sixteen with many repeats.
  ExpectSameAsPlain(dictionary, "abcdeilmnoprstuy", nullptr);
  ExpectSameAsPlain(dictionary, "eeeeaaaassttrrnn", nullptr);
  EXPECT_GT(dictionary.results.Count(), 50);
  for (int round = 0; round < 4; ++round) ExpectSameAsPlain(dictionary, RandomRack(16), nullptr);
}

TEST_F(FindWordsTest, OddKeysAndDuplicateWords) {
  // Keys in order, but with an unsorted key (never the text of a subset), capitals and bytes past
  // 127, a short key, and the same word twice in one group and under a second key.
  Dictionary dictionary;
  dictionary.LoadText(
      "Tac Tac\nab ab\nabt bat\nabt bat\nabt tab\nact act\nact cat\nacty tacy\nat at\naty cat\ncat cat\n"
      "tt\xa9\xc3 w\xa9\n\xc3\xa9tt \xc3\xa9tt\n",
      "odd");
  EXPECT_EQ(ErrorLines(), 0);
  for (const std::string rack :
       {"tac", "batcy", "yatcab", "Tac", "T a c", "aatt\xc3\xa9", "tt\xa9\xc3", "cabbage", "", "ab"}) {
    ExpectSameAsPlain(dictionary, rack, nullptr);
  }
  dictionary.FindWords("tacyb", nullptr);
  EXPECT_EQ(dictionary.results.Strings(), (std::vector<std::string>{"bat", "tab", "act", "cat", "tacy"}));
}

}  // namespace
}  // namespace spellcrypt
