// The meanings generator's base-form finder and WordNet reader, against WordNet itself (its
// exception lists and lemmas) and against a small lexicon written here; and the built meanings file
// against the generator's choices for the words of dealt racks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/random.h"
#include "game/letter_draw.h"
#include "tests/game_test_support.h"
#include "tools/meanings/base_form.h"
#include "tools/meanings/choose_meaning.h"
#include "tools/meanings/wordnet.h"
#include "words/dictionary.h"
#include "words/letter_table.h"
#include "words/meanings.h"

namespace spellcrypt {
namespace {

// The database is read once for all tests.
const WordNet& Database() {
  static const WordNet* wordnet = [] {
    auto* loaded = new WordNet();
    std::string error;
    if (!LoadWordNet(SPELLCRYPT_WORDNET_DIR, loaded, &error)) ADD_FAILURE() << error;
    return loaded;
  }();
  return *wordnet;
}

// Whether the finder gives that base with that part of speech for the word.
::testing::AssertionResult HasBase(const std::string& word, const std::string& base, PartOfSpeech pos) {
  std::string found;
  for (const BaseForm& form : FindBaseForms(word, Database().lexicon)) {
    if (form.base == base && form.pos == pos) return ::testing::AssertionSuccess();
    found += " " + form.base + "/" + PartOfSpeechName(form.pos);
  }
  return ::testing::AssertionFailure() << word << " -> " << base << " not found; found:" << found;
}

TEST(BaseForms, IrregularFormsFromTheExceptionLists) {
  EXPECT_TRUE(HasBase("mice", "mouse", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("geese", "goose", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("children", "child", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("wolves", "wolf", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("went", "go", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("ran", "run", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("written", "write", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("better", "good", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("worst", "bad", PartOfSpeech::Adjective));
}

TEST(BaseForms, RegularInflections) {
  EXPECT_TRUE(HasBase("crowds", "crowd", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("boxes", "box", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("churches", "church", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("ponies", "pony", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("tried", "try", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("baked", "bake", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("jumping", "jump", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("making", "make", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("carries", "carry", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("taller", "tall", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("nicest", "nice", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("happiest", "happy", PartOfSpeech::Adjective));
  // Doubled consonants.
  EXPECT_TRUE(HasBase("stopped", "stop", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("running", "run", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("bigger", "big", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("hottest", "hot", PartOfSpeech::Adjective));
  // Adverbs WordNet lacks, read as their adjectives.
  EXPECT_TRUE(HasBase("backwardly", "backward", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("botanically", "botanical", PartOfSpeech::Adjective));
  // Latin plurals.
  EXPECT_TRUE(HasBase("nebulae", "nebula", PartOfSpeech::Noun));
}

TEST(BaseForms, BritishSpellings) {
  EXPECT_TRUE(HasBase("colour", "colour", PartOfSpeech::Noun));  // WordNet has this one itself
  EXPECT_TRUE(HasBase("grey", "grey", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("travelled", "travel", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("theatre", "theatre", PartOfSpeech::Noun));
  // British spellings WordNet lacks, found under the American ones.
  EXPECT_TRUE(HasBase("barycentre", "barycenter", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("colourfast", "colorfast", PartOfSpeech::Adjective));
  EXPECT_TRUE(HasBase("radicalise", "radicalize", PartOfSpeech::Verb));
  EXPECT_TRUE(HasBase("apnoea", "apnea", PartOfSpeech::Noun));
  EXPECT_TRUE(HasBase("palaeoliths", "paleolith", PartOfSpeech::Noun));
  // A Latin plural is not a British spelling: "maculae" is no "macule".
  EXPECT_FALSE(HasBase("maculae", "macule", PartOfSpeech::Noun));
  const std::vector<std::string> spellings = AmericanSpellings("colour");
  EXPECT_NE(std::find(spellings.begin(), spellings.end(), "color"), spellings.end());
  EXPECT_TRUE(AmericanSpellings("cat").empty());
  EXPECT_TRUE(AmericanSpellings("our").empty());  // never at the start of a word
}

// A lexicon of a few words shows the order of the forms and when derived words are tried.
TEST(BaseForms, OrderAndDerivedWordsOnASmallLexicon) {
  Lexicon lexicon;
  lexicon.AddLemma("saw", PartOfSpeech::Noun);
  lexicon.AddLemma("saw", PartOfSpeech::Verb);
  lexicon.AddLemma("see", PartOfSpeech::Verb);
  lexicon.AddException("saw", "see", PartOfSpeech::Verb);
  lexicon.AddLemma("package", PartOfSpeech::Verb);
  lexicon.AddLemma("packager", PartOfSpeech::Noun);
  lexicon.AddLemma("burn", PartOfSpeech::Verb);
  lexicon.AddLemma("quick", PartOfSpeech::Adjective);
  lexicon.AddLemma("fast", PartOfSpeech::Adverb);

  const std::vector<BaseForm> saw = FindBaseForms("saw", lexicon);
  ASSERT_EQ(saw.size(), 3u);
  EXPECT_EQ(saw[0], (BaseForm{"saw", PartOfSpeech::Noun, BaseRoute::Lemma, false}));
  EXPECT_EQ(saw[1], (BaseForm{"saw", PartOfSpeech::Verb, BaseRoute::Lemma, false}));
  EXPECT_EQ(saw[2], (BaseForm{"see", PartOfSpeech::Verb, BaseRoute::Exception, false}));

  // A word WordNet has is never read as derived from another.
  const std::vector<BaseForm> packager = FindBaseForms("packager", lexicon);
  ASSERT_EQ(packager.size(), 1u);
  EXPECT_EQ(packager[0].route, BaseRoute::Lemma);
  const std::vector<BaseForm> packagers = FindBaseForms("packagers", lexicon);
  ASSERT_EQ(packagers.size(), 1u);
  EXPECT_EQ(packagers[0].base, "packager");

  lexicon.AddLemma("wrap", PartOfSpeech::Verb);
  EXPECT_EQ(FindBaseForms("wrappers", lexicon),
            (std::vector<BaseForm>{{"wrap", PartOfSpeech::Verb, BaseRoute::Derived, false}}));
  EXPECT_EQ(FindBaseForms("unburned", lexicon),
            (std::vector<BaseForm>{{"burn", PartOfSpeech::Verb, BaseRoute::Derived, false}}));
  EXPECT_EQ(FindBaseForms("quickly", lexicon),
            (std::vector<BaseForm>{{"quick", PartOfSpeech::Adjective, BaseRoute::Adverb, false}}));
  EXPECT_TRUE(FindBaseForms("fastly", lexicon).empty());  // "fast" is no adjective here
  EXPECT_TRUE(FindBaseForms("zzz", lexicon).empty());
  EXPECT_TRUE(FindBaseForms("", lexicon).empty());
  EXPECT_TRUE(FindBaseForms("s", lexicon).empty());
}

TEST(WordNetReader, IndexLinesAndGlosses) {
  std::string lemma;
  std::vector<std::uint32_t> synsets;
  ASSERT_TRUE(ParseIndexLine(
      "dog n 7 5 @ ~ #m #p %p 7 1 02084071 10114209 10023039 09886220 07676602 03901548 02710044  ", &lemma,
      &synsets));
  EXPECT_EQ(lemma, "dog");
  EXPECT_EQ(synsets,
            (std::vector<std::uint32_t>{2084071, 10114209, 10023039, 9886220, 7676602, 3901548, 2710044}));
  EXPECT_FALSE(ParseIndexLine("  1 This software and database is being provided", &lemma, &synsets));
  EXPECT_FALSE(ParseIndexLine("dog n 7 5 @ ~ 7 1 02084071", &lemma, &synsets));  // fewer synsets than counted
  EXPECT_FALSE(ParseIndexLine("dog n x 0 1 1 02084071", &lemma, &synsets));

  EXPECT_EQ(
      ShortGloss(
          "a member of the genus Canis (probably descended from the common wolf) that has been "
          "domesticated by man since prehistoric times; occurs in many breeds; \"the dog barked all night\""),
      "a member of the genus Canis that has been domesticated by man since prehistoric times");
  EXPECT_EQ(
      ShortGloss("a large number of things or people considered together; \"a crowd of insects assembled\""),
      "a large number of things or people considered together");
  EXPECT_EQ(ShortGloss("(of a dog) short-haired"), "(of a dog) short-haired");  // short: remarks stay
  EXPECT_EQ(ShortGloss("\"only an example\""), "");
}

TEST(WordNetReader, TheDatabaseHasSensesGlossesAndCounts) {
  const WordNet& wordnet = Database();
  const int noun = static_cast<int>(PartOfSpeech::Noun);
  ASSERT_TRUE(wordnet.senses[noun].count("dog"));
  const std::uint32_t firstDog = wordnet.senses[noun].at("dog").front();
  EXPECT_EQ(firstDog, 2084071u);
  EXPECT_NE(wordnet.glosses[noun].at(firstDog).find("genus Canis"), std::string::npos);
  EXPECT_GT(wordnet.uses[noun].at("dog"), 0u);
  // Lemmas of several words, run together as the game spells them.
  EXPECT_TRUE(wordnet.lexicon.IsLemma("airbag", PartOfSpeech::Noun));
  EXPECT_EQ(wordnet.Displayed("airbag"), "air bag");
  EXPECT_EQ(wordnet.Displayed("dog"), "dog");
}

// Racks dealt from the game's own letter weights, the words a player could cast from them, and for
// each the meaning the game reads from the built file: it is the one the generator chooses, and a
// word the generator finds nothing for has none in the file.
TEST(MeaningsFile, TheWordsOfDealtRacksHaveTheMeaningsTheGeneratorChose) {
  const std::string data = std::string(SPELLCRYPT_BIN_DIR) + "/data/";
  Dictionary* words = testing::GameWordList();
  ASSERT_NE(words, nullptr);
  LetterTable fresh;
  ASSERT_TRUE(fresh.LoadFile(data + "master_word_list.lft"));
  Meanings file;
  ASSERT_TRUE(file.Load(data + "meanings.dat"));

  SimpleGenerator random;
  random.Seed(20261209);
  LetterTable weights = fresh;
  LetterSource source{weights, fresh, random};
  int casts = 0, withMeaning = 0, derived = 0;
  for (int rack = 0; rack < 150; ++rack) {
    std::string letters;
    for (int i = 0; i < 8; ++i) letters += static_cast<char>(DrawLetter(source, true) - 'A' + 'a');
    words->FindWords(letters, nullptr);
    const std::vector<std::string> found = words->results.Strings();
    if (found.empty()) continue;
    // A short word, and the longest the rack spells, as players cast both kinds.
    for (const std::string& word :
         {found[static_cast<std::size_t>(random.Next()) % found.size()], found.back()}) {
      ++casts;
      Meaning chosen;
      const bool has = MeaningOf(Database(), word, &chosen);
      const std::optional<Meaning> read = file.Find(word);
      ASSERT_EQ(read.has_value(), has) << word << " from " << letters;
      if (!has) continue;
      ++withMeaning;
      if (chosen.derived) ++derived;
      EXPECT_EQ(*read, chosen) << word << " from " << letters;
    }
  }
  EXPECT_GE(casts, 250);
  // The coverage the file was made for: most words a player casts have a meaning.
  EXPECT_GE(withMeaning * 100, casts * 80) << withMeaning << " of " << casts;
  EXPECT_LT(derived * 10, withMeaning);
}

}  // namespace
}  // namespace spellcrypt
