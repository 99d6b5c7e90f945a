// The word list: loading (good and bad lines), IsWord at the edges of the list, FindWords with
// repeated letters and excluded words, and the generated list itself.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/words_test_support.h"
#include "words/dictionary.h"
#include "words/secret_words.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

const std::string kGeneratedList = std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt";

class DictionaryTest : public testing::WordsTest {
 protected:
  std::vector<std::string> Results() const { return dictionary.results.Strings(); }
  Dictionary dictionary;
};

TEST_F(DictionaryTest, IsWordSearchesOnlyTheKeyGroup) {
  dictionary.LoadText("act act\nact cat\naelpp apple\n", "test");
  EXPECT_TRUE(dictionary.IsWord("cat"));
  EXPECT_TRUE(dictionary.IsWord("act"));
  EXPECT_TRUE(dictionary.IsWord("apple"));
  EXPECT_FALSE(dictionary.IsWord("tac"));  // its key is there, the word is not
  EXPECT_FALSE(dictionary.IsWord("ape"));
  EXPECT_FALSE(dictionary.IsWord(""));
  EXPECT_EQ(ErrorLines(), 0);
}

TEST_F(DictionaryTest, IsWordAtTheEdgesOfTheList) {
  Dictionary empty;
  EXPECT_FALSE(empty.IsWord("cat"));
  empty.FindWords("tacos", nullptr);
  EXPECT_EQ(empty.results.Count(), 0);

  // Lists of every length up to 40 (keys bce..bcx, then bde..bdx; every third key with a second,
  // anagram entry), searched for each word and for keys before, between and after the groups.
  for (int n = 1; n <= 40; ++n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
      const std::string key = {'b', static_cast<char>('c' + i / 20), static_cast<char>('e' + i % 20)};
      text += key + " " + key + "\n";
      if (i % 3 == 0) text += key + " " + std::string(key.rbegin(), key.rend()) + "\n";
    }
    Dictionary d;
    d.LoadText(text, "edges");
    for (const DictEntry& e : d.Entries()) EXPECT_TRUE(d.IsWord(e.word)) << n << " " << e.word;
    EXPECT_FALSE(d.IsWord("aaa")) << n;   // before the first key
    EXPECT_FALSE(d.IsWord("zzzz")) << n;  // after the last
    EXPECT_FALSE(d.IsWord("bcez")) << n;  // between bce and bcf
    EXPECT_FALSE(d.IsWord("bcy")) << n;   // between bcx and bde
    EXPECT_FALSE(d.IsWord("ceb")) << n;   // a key that is there, a word that is not
  }
  EXPECT_EQ(ErrorLines(), 0);
}

TEST_F(DictionaryTest, FindWordsExcludesRepeatsAndListedWords) {
  dictionary.LoadText("act act\nact cat\nacrt cart\nat at\n", "test");
  StringList used;
  used.Add("act");
  dictionary.FindWords("tac", &used);
  EXPECT_EQ(Results(), (std::vector<std::string>{"cat"}));
  EXPECT_EQ(dictionary.exclude, &used);

  dictionary.FindWords("ta", nullptr);
  EXPECT_TRUE(Results().empty());

  dictionary.FindWords("aact", nullptr);  // a, c, t is a subset twice over
  EXPECT_EQ(Results(), (std::vector<std::string>{"act", "cat"}));

  dictionary.FindWords("tcar", nullptr);
  EXPECT_EQ(Results(), (std::vector<std::string>{"act", "cat", "cart"}));
  EXPECT_EQ(dictionary.results.Longest(), "cart");
}

TEST_F(DictionaryTest, LoadKeepsFileOrderAndLineEnds) {
  ScratchDir dir;
  // CR LF ends, then a last line without a line end: it keeps its last letter.
  const std::string path = dir.Write("list.txt", "act act\r\nact cat\r\naelpp apple");
  ASSERT_TRUE(dictionary.Load(path.c_str()));
  ASSERT_EQ(dictionary.Count(), 3);
  EXPECT_EQ(dictionary.Entries()[1].key, "act");
  EXPECT_EQ(dictionary.Entries()[1].word, "cat");
  EXPECT_EQ(dictionary.Entries()[2].word, "apple");
  EXPECT_TRUE(dictionary.IsWord("apple"));
  EXPECT_EQ(ErrorLines(), 0);

  EXPECT_FALSE(dictionary.Load((dir.Path() + "/missing.txt").c_str()));
  EXPECT_FALSE(dictionary.Load(dir.Path().c_str()));  // a folder
  EXPECT_EQ(dictionary.Count(), 3);
}

TEST_F(DictionaryTest, BadLinesAreSkippedAndNamed) {
  const std::string tooLong = "a " + std::string(252, 'a');  // 254 bytes before the line end
  const std::string longest = "a " + std::string(251, 'a');  // 253 bytes: fits with its LF
  dictionary.LoadText("act act\nnospace\n" + tooLong + "\n" + longest + "\nacrt cart\n\n", "bad.txt");
  ASSERT_EQ(dictionary.Count(), 3);
  EXPECT_EQ(dictionary.Entries()[1].word, std::string(251, 'a'));
  EXPECT_EQ(ErrorLinesWith("Word list bad.txt, line 2: no space between key and word; line skipped."), 1);
  EXPECT_EQ(ErrorLinesWith("Word list bad.txt, line 3: longer than 254 bytes; line skipped."), 1);
  EXPECT_EQ(ErrorLinesWith("line 6: no space"), 1);
  EXPECT_EQ(ErrorLines(), 3 + 1);  // and the list is out of order at line 4 (a after act)

  // A flood of bad lines names the first ten and counts the rest.
  Dictionary flooded;
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "junk\n";
  platform.debugLines.clear();
  flooded.LoadText(text, "junk.txt");
  EXPECT_EQ(flooded.Count(), 0);
  EXPECT_EQ(ErrorLines(), 11);
  EXPECT_EQ(ErrorLinesWith("Word list junk.txt: 990 more bad lines skipped."), 1);
}

TEST_F(DictionaryTest, ListOutOfOrderLoadsWithOneError) {
  dictionary.LoadText("act act\naelpp apple\nact cat\nabc cab\nxyz zyx\n", "unsorted.txt");
  EXPECT_EQ(dictionary.Count(), 5);
  EXPECT_EQ(ErrorLines(), 1);
  EXPECT_EQ(ErrorLinesWith("Word list unsorted.txt is out of key order at line 3"), 1);
}

TEST_F(DictionaryTest, GeneratedListLoadsCleanlyAndHoldsTheSecretWords) {
  ASSERT_TRUE(dictionary.Load(kGeneratedList.c_str()));
  EXPECT_GT(dictionary.Count(), 100000);
  EXPECT_EQ(ErrorLines(), 0);
  for (const SecretWord& secret : SecretWordManager::Table()) {
    for (std::string_view name : secret.names) {
      if (name.empty()) continue;
      EXPECT_TRUE(dictionary.IsWord(name)) << name;
    }
  }
  EXPECT_TRUE(dictionary.IsWord(dictionary.Entries().front().word));
  EXPECT_TRUE(dictionary.IsWord(dictionary.Entries().back().word));
  EXPECT_TRUE(dictionary.IsWord("wizard"));
  EXPECT_FALSE(dictionary.IsWord("wizardd"));
  EXPECT_FALSE(dictionary.IsWord("Wizard"));
  for (const DictEntry& e : dictionary.Entries()) {
    ASSERT_GE(e.word.size(), 3u);
    ASSERT_LE(e.word.size(), 16u);
  }

  dictionary.FindWords("dragonsx", nullptr);
  EXPECT_EQ(dictionary.results.Longest().size(), 7u);  // dragons
  EXPECT_TRUE(dictionary.results.Contains("dragon"));
  EXPECT_FALSE(dictionary.results.Contains("dragoons"));
}

}  // namespace
}  // namespace spellcrypt
