// The generated word list as a player meets it: everyday words in American, British, Canadian and
// Australian spelling are all there, and no slur or strong profanity is, neither to cast nor from the
// oracle. Also the reading of the removal sources (the package's rated list and our two word files).
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/words_test_support.h"
#include "tools/wordlist/word_filter.h"
#include "words/dictionary.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

const std::string kGeneratedList = std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt";

// Pairs first (the game takes words of three letters or more, so "axe" stands without "ax").
const char* const kEverydayWords[] = {
    "colour", "color", "grey", "gray", "armour", "armor", "axe", "axes", "centre", "center", "theatre",
    "theater", "favour", "favor", "realise", "realize", "travelled", "traveled", "catalogue", "catalog",
    "honour", "honor", "neighbour", "neighbor", "labour", "labor", "humour", "humor", "flavour", "flavor",
    "behaviour", "behavior", "metre", "meter", "litre", "liter", "fibre", "fiber", "defence", "defense",
    "offence", "offense", "licence", "license", "analyse", "analyze", "organise", "organize", "apologise",
    "apologize", "cheque", "check", "tyre", "tire", "plough", "plow", "programme", "program", "jewellery",
    "jewelry", "cosy", "cozy", "mould", "mold", "moustache", "mustache", "pyjamas", "pajamas", "aluminium",
    "aluminum", "sceptic", "skeptic", "woollen", "woolen", "traveller", "traveler", "cancelled", "canceled",
    "modelling", "modeling", "aeroplane", "airplane", "manoeuvre", "maneuver", "storey", "story", "kerb",
    "curb", "sombre", "somber", "saviour", "savior", "rumour", "rumor", "harbour", "harbor", "sabre", "saber",
    "spectre", "specter", "calibre", "caliber", "draught", "draft", "enrol", "enroll", "fulfil", "fulfill",
    "skilful", "skillful", "judgement", "judgment", "ageing", "aging", "mum", "mom",
    // Words holding a removed word inside them: only whole words are ever removed.
    "mishit", "cocoon", "raccoon", "spicy", "squawk", "scrap", "document", "niggle", "twattle", "dyked",
    "dike", "faggoting", "pissoir", "polliwog", "sauerkraut", "swanky", "assess", "grasshopper", "therapist",
    // Mild words stay.
    "damn", "hell", "crap"};

class WordListTest : public testing::WordsTest {
 protected:
  // Reads the removed words from the same files the generator read; empty, or what went wrong.
  std::string LoadRemoved() {
    std::string error;
    const RemovalSources sources{.packageList = SPELLCRYPT_WORD_FILTER_LIST,
                                 .removedWords = SPELLCRYPT_REMOVED_WORDS,
                                 .keptWords = SPELLCRYPT_KEPT_WORDS};
    return LoadRemovedWords(sources, &removed, &error) ? std::string() : error;
  }

  Dictionary dictionary;
  std::set<std::string> removed;
};

TEST_F(WordListTest, EverydayWordsInEverySpellingAreInTheList) {
  ASSERT_TRUE(dictionary.Load(kGeneratedList.c_str()));
  for (const char* word : kEverydayWords) EXPECT_TRUE(dictionary.IsWord(word)) << word;
  EXPECT_GE(std::size(kEverydayWords), 100u);
}

// The manifest states the list's size ("114,798 lines (about 2.2 MB)"); it must follow the list.
TEST_F(WordListTest, ManifestGivesTheListsSize) {
  ASSERT_TRUE(dictionary.Load(kGeneratedList.c_str()));
  std::ifstream manifest(std::string(SPELLCRYPT_SOURCE_DIR) + "/tools/manifest/words.tsv");
  std::string line;
  std::string size;
  while (std::getline(manifest, line)) {
    if (line.rfind("data/master_word_list.txt\t", 0) != 0) continue;
    std::istringstream fields(line);
    for (int i = 0; i < 3; ++i) std::getline(fields, size, '\t');
  }
  std::string digits;
  for (char c : size.substr(0, size.find(' '))) {
    if (c != ',') digits += c;
  }
  EXPECT_EQ(digits, std::to_string(dictionary.Count())) << "tools/manifest/words.tsv says " << size;
}

TEST_F(WordListTest, RemovedWordsCanBeNeitherCastNorFoundByTheOracle) {
  // Without the sources the build has failed already, unless they went away since. CI never skips.
  if (const std::string error = LoadRemoved(); !error.empty()) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") FAIL() << error;
    GTEST_SKIP() << error;
  }
  ASSERT_TRUE(dictionary.Load(kGeneratedList.c_str()));
  EXPECT_GT(removed.size(), 500u);  // the package's list is read, not just our own files
  for (const char* word : kEverydayWords) EXPECT_EQ(removed.count(word), 0u) << word;

  int racks = 0;
  for (const std::string& word : removed) {
    EXPECT_FALSE(dictionary.IsWord(word)) << word;
    // A rack of exactly the word's letters: the oracle spells the longest word it finds there.
    if (word.size() < 3 || word.size() > 16) continue;
    ++racks;
    dictionary.FindWords(word, nullptr);
    for (const std::string& found : dictionary.results.Strings()) {
      EXPECT_EQ(removed.count(found), 0u) << "the oracle found \"" << found << "\" in " << word;
    }
  }
  EXPECT_GT(racks, 500);
}

TEST(WordFilter, ReadsThePackagesRatedListAndRefusesAnotherLayout) {
  const std::string list =
      "/**\n * Map of English profane words to a rating of sureness.\n */\n"
      "export const cuss = {\n"
      "  aaa: 2,\n"
      "  'two words': 2,\n"
      "  b4d: 1,\n"
      "\n"
      "  \"zzz\": 0\n"
      "}\n";
  std::vector<RatedWord> words;
  std::string error;
  ASSERT_TRUE(ParseRatedWords(list, &words, &error)) << error;
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[0].word, "aaa");
  EXPECT_EQ(words[0].rating, 2);
  EXPECT_EQ(words[1].word, "two words");
  EXPECT_EQ(words[2].word, "b4d");
  EXPECT_EQ(words[2].rating, 1);
  EXPECT_EQ(words[3].word, "zzz");
  EXPECT_EQ(words[3].rating, 0);

  // A changed layout stops the build rather than removing nothing.
  EXPECT_FALSE(ParseRatedWords("export const cuss = {\n  aaa: 2,\n  bbb = 2,\n}\n", &words, &error));
  EXPECT_EQ(error, "line 3 is not a \"word: rating\" entry");
  EXPECT_FALSE(ParseRatedWords("export const cuss = {\n  aaa: two,\n}\n", &words, &error));
  EXPECT_FALSE(ParseRatedWords("export const cuss = {\n  'aaa: 2,\n}\n", &words, &error));
  EXPECT_FALSE(ParseRatedWords("export const cuss = {\n  aaa: 2,\n", &words, &error));  // never closed
  EXPECT_FALSE(ParseRatedWords("export const cuss = {\n}\n", &words, &error));          // empty
  EXPECT_FALSE(ParseRatedWords("export default ['aaa']\n", &words, &error));

  std::vector<std::string> ours;
  ASSERT_TRUE(ParseWordFile("# comment\naaa bbb  # more\n\n\tccc\r\n", &ours, &error)) << error;
  EXPECT_EQ(ours, (std::vector<std::string>{"aaa", "bbb", "ccc"}));
  EXPECT_FALSE(ParseWordFile("aaa\nColour\n", &ours, &error));
  EXPECT_EQ(error, "line 2: \"Colour\" is not a word of the letters a-z");
  EXPECT_FALSE(ParseWordFile("don't\n", &ours, &error));
}

TEST(WordFilter, RemovesRatedWordsLessKeptPlusOurOwn) {
  ScratchDir dir;
  const RemovalSources sources{
      .packageList = dir.Write("index.js",
                               "export const cuss = {\n  aaa: 2,\n  bbb: 2,\n  ccc: 1,\n  "
                               "'d d': 2,\n  e5e: 2,\n  fff: 0\n}\n"),
      .removedWords = dir.Write("removed.txt", "ccc ggg\n"),
      .keptWords = dir.Write("kept.txt", "bbb\n")};
  std::set<std::string> words;
  std::string error;
  ASSERT_TRUE(LoadRemovedWords(sources, &words, &error)) << error;
  EXPECT_EQ(words, (std::set<std::string>{"aaa", "ccc", "ggg"}));

  // Keeping a word the package does not rate 2 is a typo or a stale entry.
  dir.Write("kept.txt", "bbb ccc\n");
  EXPECT_FALSE(LoadRemovedWords(sources, &words, &error));
  EXPECT_NE(error.find("\"ccc\" is not a word the package rates 2"), std::string::npos) << error;
  dir.Write("kept.txt", "aaa\n");
  dir.Write("removed.txt", "aaa\n");
  EXPECT_FALSE(LoadRemovedWords(sources, &words, &error));
  EXPECT_EQ(error, "\"aaa\" is both kept and removed");

  RemovalSources missing = sources;
  missing.packageList = dir.File("absent.js");
  EXPECT_FALSE(LoadRemovedWords(missing, &words, &error));
  EXPECT_NE(error.find("scripts/deps.sh"), std::string::npos) << error;
  missing = sources;
  missing.keptWords = dir.File("absent.txt");
  EXPECT_FALSE(LoadRemovedWords(missing, &words, &error));
  EXPECT_TRUE(words.empty());
}

}  // namespace
}  // namespace spellcrypt
