// Secret-word lookup and the treasure sentences found when a dungeon is cleared.
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/random.h"
#include "tests/words_test_support.h"
#include "words/article.h"
#include "words/secret_words.h"
#include "words/treasure.h"

namespace spellcrypt {
namespace {

TEST(SecretWordsTest, FindMatchesWholeNamesOnly) {
  SecretWordManager secrets;
  const SecretWord* rat = secrets.Find("rat");
  const SecretWord* rats = secrets.Find("rats");
  ASSERT_NE(rat, nullptr);
  ASSERT_NE(rats, nullptr);
  EXPECT_NE(rat, rats);
  EXPECT_EQ(rat->emitTime, 1000);
  EXPECT_EQ(rats->emitTime, 3000);

  const SecretWord* death = secrets.Find("death");
  ASSERT_NE(death, nullptr);
  EXPECT_EQ(death->extraDamage, 100);
  EXPECT_TRUE(death->picture.empty());
  EXPECT_EQ(death->SoundPath(), "sound\\teleport.ogg");

  // The four names of one entry lead to it; case, parts and empty names match nothing.
  EXPECT_EQ(secrets.Find("mirel"), secrets.Find("japan"));
  EXPECT_EQ(secrets.Find("Japan"), nullptr);
  EXPECT_EQ(secrets.Find("spide"), nullptr);
  EXPECT_EQ(secrets.Find("spiderss"), nullptr);
  EXPECT_EQ(secrets.Find(""), nullptr);
  EXPECT_EQ(secrets.Find("cat"), nullptr);

  EXPECT_EQ(secrets.Find("quib")->PicturePath(), "graphics\\character\\treasure.bmp");
  EXPECT_EQ(secrets.Find("fireball")->PicturePath(), "graphics\\fireball.bmp");
  EXPECT_EQ(secrets.Find("vantok")->PicturePath(), "");

  // Every name is a lower-case word of the table, found at its own entry.
  std::set<std::string_view> names;
  for (const SecretWord& entry : SecretWordManager::Table()) {
    for (std::string_view name : entry.names) {
      if (name.empty()) continue;
      EXPECT_TRUE(names.insert(name).second) << name;
      EXPECT_EQ(secrets.Find(name), &entry) << name;
    }
  }
  EXPECT_EQ(names.size(), 24u);
}

class TreasureTest : public testing::WordsTest {
 protected:
  void SetUp() override {
    WordsTest::SetUp();
    GetGlobals().mersenne.Seed(4242);
  }
  std::string Sentence(int dungeon) {
    std::memset(buffer, 'x', sizeof buffer);
    return TreasureSentence(GetGlobals().mersenne, buffer, sizeof buffer, dungeon);
  }
  char buffer[kTreasureTextSize];
};

// The words of a random sentence after its opening ("You find a", "You pickup a", "You discover a",
// or "an" where the next word starts with a vowel sound)
// with the opening's verb first, e.g. {"pickup", "wet", "wet", "frog"}; empty if it is not one.
std::vector<std::string> RandomSentenceWords(const std::string& s) {
  if (s.rfind("You ", 0) != 0 || s.size() < 6 || s.back() != '.') return {};
  std::vector<std::string> words;
  std::string word;
  for (char c : s.substr(4, s.size() - 5) + " ") {
    if (c == ' ') {
      if (word.empty()) return {};
      words.push_back(word);
      word.clear();
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '-') {
      word.push_back(c);
    } else {
      return {};
    }
  }
  // The words of the lists that start with a vowel sound take "an".
  static const std::set<std::string> kVowelSound = {"elfish", "apple", "underwear", "egg", "elf"};
  if (words.size() < 4 || words[1] != (kVowelSound.count(words[2]) ? "an" : "a")) return {};
  words.erase(words.begin() + 1);
  const std::size_t n = words.size();
  const bool fits = (words[0] == "find" && (n == 3 || n == 4)) || (words[0] == "pickup" && n == 4) ||
                    (words[0] == "discover" && n == 3);
  return fits ? words : std::vector<std::string>{};
}

TEST_F(TreasureTest, LastDungeonAndDungeonsWithoutOwnSentence) {
  for (int i = 0; i < 200; ++i) ASSERT_EQ(Sentence(25), "You've killed everything!");
  for (int dungeon : {21, 22, 23, 24, 0, 26}) {
    for (int i = 0; i < 100; ++i) {
      const std::string s = Sentence(dungeon);
      ASSERT_FALSE(RandomSentenceWords(s).empty()) << s;
    }
  }
}

TEST_F(TreasureTest, OwnSentenceComesOneTimeInFour) {
  int own = 0;
  for (int i = 0; i < 4000; ++i) own += Sentence(1) == "You find a silver apple!" ? 1 : 0;
  EXPECT_NEAR(own, 1000, 90);
  std::set<std::string> powerWords;
  for (int i = 0; i < 2000; ++i) {
    const std::string s = Sentence(2);
    if (s.rfind("You learn a new power word: ", 0) == 0) powerWords.insert(s.substr(28));
  }
  EXPECT_EQ(powerWords,
            (std::set<std::string>{"SPIDER", "RAT", "DUNGEON", "ZORBLE", "DEATH", "HEDGE", "VANTOK"}));
  bool sawFixed20 = false;
  for (int i = 0; i < 200 && !sawFixed20; ++i) sawFixed20 = Sentence(20) == "You are credit approved.";
  EXPECT_TRUE(sawFixed20);
}

TEST_F(TreasureTest, RandomSentencesTakeEveryShape) {
  int shapes[5] = {};
  bool sameAdjectives = false;
  for (int i = 0; i < 3000; ++i) {
    const std::string s = RandomTreasure(GetGlobals().mersenne, buffer, sizeof buffer);
    const std::vector<std::string> words = RandomSentenceWords(s);
    ASSERT_FALSE(words.empty()) << s;
    if (words[0] == "pickup") {
      ++shapes[0];
      sameAdjectives = sameAdjectives || words[1] == words[2];
    } else if (words[0] == "discover") {
      ++shapes[1];
    } else if (words.size() == 4) {
      ++shapes[2];  // adjective, verb, noun
    } else {
      ++shapes[3];  // adjective and noun, or verb and noun
    }
    // The article fits the word after it (RandomSentenceWords checks each).
    EXPECT_EQ(s.find(" a elfish "), std::string::npos) << s;
    if (s.find(" an elfish ") != std::string::npos) ++shapes[4];
  }
  EXPECT_NEAR(shapes[0], 500, 90);
  EXPECT_NEAR(shapes[1], 500, 90);
  EXPECT_NEAR(shapes[2], 500, 90);
  EXPECT_NEAR(shapes[3], 1500, 120);
  EXPECT_GT(shapes[4], 0);
  EXPECT_TRUE(sameAdjectives);

  // A small buffer gets a cut sentence, never an overflow.
  char small[8];
  EXPECT_EQ(std::strlen(RandomTreasure(GetGlobals().mersenne, small, sizeof small)), 7u);
}

TEST(IndefiniteArticleTest, FollowsTheSoundTheWordStartsWith) {
  const std::pair<const char*, const char*> cases[] = {
      {"elfish", "an"},     {"apple", "an"},   {"egg", "an"},      {"ugly", "an"},     {"underwear", "an"},
      {"hairy", "a"},       {"frog", "a"},     {"unicorn", "a"},   {"useful", "a"},    {"usual", "a"},
      {"euro", "a"},        {"European", "a"}, {"one-eyed", "a"},  {"ukulele", "a"},   {"honest", "an"},
      {"hour", "an"},       {"heir", "an"},    {"hotel", "a"},     {"hairbrush", "a"}, {"X-ray", "an"},
      {"Q-Tip", "a"},       {"MRI", "an"},     {"UFO", "a"},       {"FBI", "an"},      {"Apple", "an"},
      {"Hour", "an"},       {"", "a"},         {"11th", "an"},     {"110", "a"},       {"2nd", "a"},
      {"18-wheeler", "an"}, {"8-ball", "an"},  {"umbrella", "an"}, {"urn", "an"},
  };
  for (const auto& [word, article] : cases) EXPECT_STREQ(IndefiniteArticle(word), article) << word;
}

}  // namespace
}  // namespace spellcrypt
