// Word meanings: the file written and read back, damaged files refused without a crash, the
// on-demand reader, the formatted line, and lookups in the generated file.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/binary_io.h"
#include "platform/files.h"
#include "tests/words_test_support.h"
#include "words/meanings.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

const std::string kGeneratedMeanings = std::string(SPELLCRYPT_BIN_DIR) + "/data/meanings.dat";

Meaning MakeMeaning(std::string base, PartOfSpeech pos, std::string gloss, bool derived = false) {
  Meaning meaning;
  meaning.base = std::move(base);
  meaning.derived = derived;
  meaning.first = {pos, std::move(gloss)};
  return meaning;
}

std::vector<WordMeaning> SampleWords() {
  Meaning crowd =
      MakeMeaning("crowd", PartOfSpeech::Noun, "a large number of things or people considered together");
  crowd.second = Sense{PartOfSpeech::Noun, "an informal body of friends"};
  return {
      {"mice", MakeMeaning("mouse", PartOfSpeech::Noun, "any of numerous small rodents")},
      {"crowds", crowd},
      {"crowd", crowd},
      {"packager", MakeMeaning("package", PartOfSpeech::Verb, "put into a box", true)},
      {"ran", MakeMeaning("run", PartOfSpeech::Verb, "move fast by using one's feet")},
      {"ran", MakeMeaning("run", PartOfSpeech::Verb, "a second meaning is ignored")},
      {"gently", MakeMeaning("gentle", PartOfSpeech::Adjective, "soft and mild;  not harsh")},
  };
}

class MeaningsTest : public testing::WordsTest {
 protected:
  std::vector<std::uint8_t> Sample() const { return EncodeMeanings(SampleWords()); }
  // The same bytes with a u32 overwritten.
  static std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at,
                                           std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
  }
  // Loads the bytes, expecting them refused with one error line and nothing found afterwards.
  void ExpectRefused(std::vector<std::uint8_t> bytes, const char* why) {
    Meanings meanings;
    ASSERT_TRUE(meanings.LoadBytes(Sample(), "good"));
    const int errorsBefore = ErrorLines();
    EXPECT_FALSE(meanings.LoadBytes(std::move(bytes), "bad")) << why;
    EXPECT_EQ(ErrorLines(), errorsBefore + 1) << why;
    EXPECT_FALSE(meanings.Loaded()) << why;
    EXPECT_FALSE(meanings.Find("crowd")) << why;
  }
};

TEST_F(MeaningsTest, WordsComeBackWithTheirMeanings) {
  Meanings meanings;
  ASSERT_TRUE(meanings.LoadBytes(Sample(), "sample"));
  EXPECT_EQ(meanings.WordCount(), 6u);  // "ran" once
  for (const WordMeaning& entry : SampleWords()) {
    if (entry.meaning.first.gloss == "a second meaning is ignored") continue;
    EXPECT_EQ(meanings.Find(entry.word), entry.meaning) << entry.word;
  }
  EXPECT_EQ(meanings.Find("mice")->base, "mouse");
  EXPECT_EQ(meanings.Find("gently")->first.gloss, "soft and mild;  not harsh");  // blanks kept as they were
  EXPECT_TRUE(meanings.Find("packager")->derived);
  for (const char* absent : {"", "a", "crow", "crowdz", "zzz", "mic", "micey"})
    EXPECT_FALSE(meanings.Find(absent)) << absent;
  EXPECT_EQ(ErrorLines(), 0);
}

TEST_F(MeaningsTest, SharedMeaningsAreStoredOnce) {
  std::vector<WordMeaning> many;
  const Meaning shared =
      MakeMeaning("walk", PartOfSpeech::Verb, "use one's feet to advance; advance by steps");
  for (const char* word : {"walk", "walks", "walked", "walking"}) many.push_back({word, shared});
  const std::size_t four = EncodeMeanings(many).size();
  many.push_back({"walker", shared});
  const std::size_t five = EncodeMeanings(many).size();
  // One more word costs its text and two offsets, not another record or definition.
  EXPECT_EQ(five - four, std::string("walker").size() + 8);
}

TEST_F(MeaningsTest, AnEmptyFileLoadsAndFindsNothing) {
  Meanings meanings;
  EXPECT_TRUE(meanings.LoadBytes(EncodeMeanings({}), "empty"));
  EXPECT_FALSE(meanings.Find("crowd"));
}

TEST_F(MeaningsTest, DamagedFilesAreRefused) {
  const std::vector<std::uint8_t> good = Sample();
  for (std::size_t size :
       {std::size_t{0}, std::size_t{7}, kMeaningsHeaderSize - 1, kMeaningsHeaderSize, good.size() - 1}) {
    ExpectRefused(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)),
                  "truncated");
  }
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0);
  ExpectRefused(longer, "a byte too many");
  std::vector<std::uint8_t> magic = good;
  magic[0] = 'X';
  ExpectRefused(magic, "magic");
  ExpectRefused(Patched(good, 8, kMeaningsVersion + 1), "version");
  // Counts that would wrap a 32-bit size around, and counts that do not add up.
  ExpectRefused(Patched(good, 12, 0xFFFFFFFFu), "word count");
  ExpectRefused(Patched(good, 16, 0x10000000u), "record count");
  ExpectRefused(Patched(good, 20, 0x3FFFFFFFu), "token count");
  ExpectRefused(Patched(good, 32, 0xFFFFFFF0u), "definition bytes");
}

TEST_F(MeaningsTest, OffsetsOutsideTheirPartsAreRefused) {
  const std::vector<std::uint8_t> good = Sample();
  Meanings probe;
  ASSERT_TRUE(probe.LoadBytes(good, "sample"));
  ByteReader header(good.data() + 12, 28);
  std::uint32_t words = 0, records = 0, tokens = 0;
  header.U32(words);
  header.U32(records);
  header.U32(tokens);
  const std::size_t wordStarts = kMeaningsHeaderSize;
  const std::size_t wordRecords = wordStarts + (words + 1) * 4;
  const std::size_t recordTable = wordRecords + words * 4;
  const std::size_t tokenStarts = recordTable + records * kMeaningsRecordSize;

  ExpectRefused(Patched(good, wordStarts + 4, 0xFFFFFFF0u), "a word start past the text");
  ExpectRefused(Patched(good, wordStarts + 8, 1), "word starts going backwards");
  ExpectRefused(Patched(good, wordStarts + 4, 0), "an empty word");
  ExpectRefused(Patched(good, wordRecords, records), "a word's record past the table");
  ExpectRefused(Patched(good, recordTable, 0x00FFFFFFu), "a base form past the text");
  ExpectRefused(Patched(good, recordTable + 8, 0x7FFFFFFFu), "a definition past the definitions");
  std::vector<std::uint8_t> pos = good;
  pos[recordTable + 5] = 4;
  ExpectRefused(pos, "an unknown part of speech");
  std::vector<std::uint8_t> flags = good;
  flags[recordTable + 7] = 0x80;
  ExpectRefused(flags, "unknown flags");
  ExpectRefused(Patched(good, tokenStarts + tokens * 4, 0xFFFFFFFFu), "a token past the token text");
  // The first word, "crowd", made "zrowd": it then sorts after "crowds".
  std::uint32_t textBytes = 0;
  ByteReader(good.data() + 24, 4).U32(textBytes);
  std::vector<std::uint8_t> order = good;
  ASSERT_EQ(order[good.size() - textBytes], 'c');
  order[good.size() - textBytes] = 'z';
  ExpectRefused(order, "words out of order");
}

TEST_F(MeaningsTest, DefinitionsWithBadTokensAreNotShown) {
  // Every byte of the definitions set to a bad token number, or to a number that never ends: the
  // words still load (definitions are decoded at lookup) but find nothing.
  std::vector<std::uint8_t> bytes = Sample();
  ByteReader header(bytes.data() + 28, 8);
  std::uint32_t tokenBytes = 0, glossBytes = 0;
  header.U32(tokenBytes);
  header.U32(glossBytes);
  std::uint32_t textBytes = 0;
  ByteReader(bytes.data() + 24, 4).U32(textBytes);
  const std::size_t glossEnd = bytes.size() - textBytes;
  for (std::uint8_t fill : {std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
    std::vector<std::uint8_t> damaged = bytes;
    std::fill(damaged.begin() + static_cast<std::ptrdiff_t>(glossEnd - glossBytes),
              damaged.begin() + static_cast<std::ptrdiff_t>(glossEnd), fill);
    Meanings meanings;
    ASSERT_TRUE(meanings.LoadBytes(std::move(damaged), "tokens"));
    for (const WordMeaning& entry : SampleWords()) EXPECT_FALSE(meanings.Find(entry.word)) << entry.word;
  }
}

TEST_F(MeaningsTest, MissingFileIsLoggedOnceAndFindsNothing) {
  ScratchDir dir;
  MeaningsOnDemand onDemand(dir.Path() + "/no_such_meanings.dat");
  EXPECT_EQ(ErrorLines(), 0);  // nothing is read before the first lookup
  EXPECT_FALSE(onDemand.Find("crowd"));
  EXPECT_FALSE(onDemand.Find("mice"));
  EXPECT_FALSE(onDemand.Available());
  EXPECT_EQ(ErrorLinesWith("no_such_meanings.dat"), 1);

  const std::string path = dir.Path() + "/meanings.dat";
  const std::vector<std::uint8_t> bytes = Sample();
  ASSERT_TRUE(WriteFileAtomically(path, bytes.data(), bytes.size()));
  MeaningsOnDemand present(path);
  ASSERT_TRUE(present.Find("mice"));
  EXPECT_EQ(present.Find("mice")->base, "mouse");
}

TEST_F(MeaningsTest, FormattedLinesAreCutAtABlank) {
  const Meaning crowd =
      MakeMeaning("crowd", PartOfSpeech::Noun, "a large number of things or people considered together");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 200),
            "crowd: a large number of things or people considered together");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 61),
            "crowd: a large number of things or people considered together");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 60), "crowd: a large number of things or people considered...");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 20), "crowd: a large...");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 17), "crowd: a large...");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 10), "crowd...");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 3), "cro");
  EXPECT_EQ(FormatMeaning("crowd", crowd, 0), "");
  const Meaning comma = MakeMeaning("x", PartOfSpeech::Noun, "one, two, three");
  EXPECT_EQ(FormatMeaning("x", comma, 14), "x: one, two...");
  const Meaning packager = MakeMeaning("package", PartOfSpeech::Verb, "put into a box", true);
  EXPECT_EQ(FormatMeaning("packager", packager, 80), "packager, from package: put into a box");
  for (std::size_t width = 0; width < 70; ++width)
    EXPECT_LE(FormatMeaning("crowd", crowd, width).size(), width);
}

// The generated file: real words, their forms, and the words a player casts most.
TEST_F(MeaningsTest, GeneratedFileHasTheCommonWords) {
  if (!std::filesystem::exists(kGeneratedMeanings))
    GTEST_SKIP() << kGeneratedMeanings << " was not generated";
  Meanings meanings;
  ASSERT_TRUE(meanings.Load(kGeneratedMeanings));
  EXPECT_GT(meanings.WordCount(), 90000u);
  EXPECT_LE(std::filesystem::file_size(kGeneratedMeanings), 4u * 1024 * 1024);
  struct Case {
    const char* word;
    const char* base;
    PartOfSpeech pos;
    const char* glossPart;
  };
  const Case cases[] = {
      {"crowd", "crowd", PartOfSpeech::Noun, "large number of things or people"},
      {"mice", "mouse", PartOfSpeech::Noun, "rodent"},
      {"geese", "goose", PartOfSpeech::Noun, "bird"},
      {"went", "go", PartOfSpeech::Verb, ""},
      {"stopped", "stop", PartOfSpeech::Verb, ""},
      {"happiest", "happy", PartOfSpeech::Adjective, ""},
      {"theatres", "theatre", PartOfSpeech::Noun, ""},
      {"nebulae", "nebula", PartOfSpeech::Noun, ""},
      {"dragon", "dragon", PartOfSpeech::Noun, ""},
      {"wizard", "wizard", PartOfSpeech::Noun, ""},
      {"spell", "spell", PartOfSpeech::Noun, "magic"},
  };
  for (const Case& c : cases) {
    const std::optional<Meaning> meaning = meanings.Find(c.word);
    ASSERT_TRUE(meaning) << c.word;
    EXPECT_EQ(meaning->base, c.base) << c.word;
    EXPECT_FALSE(meaning->derived) << c.word;
    EXPECT_EQ(meaning->first.pos, c.pos) << c.word;
    EXPECT_NE(meaning->first.gloss.find(c.glossPart), std::string::npos)
        << c.word << ": " << meaning->first.gloss;
    // Definitions only: no example sentences, no dangling separators.
    EXPECT_EQ(meaning->first.gloss.find('"'), std::string::npos) << c.word;
    EXPECT_NE(meaning->first.gloss.back(), ';') << c.word;
  }
  EXPECT_FALSE(meanings.Find("xyzzy"));
  EXPECT_EQ(ErrorLines(), 0);
}

}  // namespace
}  // namespace spellcrypt
