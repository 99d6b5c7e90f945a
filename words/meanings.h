// What a word means: a short definition (and often a second one) for each word of the word list,
// made at build time from WordNet and kept in data/meanings.dat. The file is read at the first
// lookup, never at start-up; a missing or damaged file is logged and the game goes on without
// meanings.
//
// The file, all numbers little-endian:
//   header, 40 bytes
//     0   8 bytes  magic "SCMEANS" and a zero byte
//     8   u32      format version (kMeaningsVersion)
//     12  u32      word count W
//     16  u32      record count R (a base form with its senses, shared by the words made from it)
//     20  u32      token count T (the distinct blank-separated pieces of the definitions)
//     24  u32      text bytes (the words, then the base forms that are not words themselves)
//     28  u32      token text bytes
//     32  u32      definition bytes
//     36  u32      size of the whole file
//   then, back to back:
//     (W + 1) x u32  where each word starts in the text; word i ends where word i + 1 starts. The
//                    words are in strictly ascending byte order, so one binary search finds any.
//     W x u32        the record of each word
//     R x 16 bytes   records: u32 base form offset in the text, u8 its length, u8 first part of
//                    speech, u8 second part of speech (kNoSecondSense when there is one sense only),
//                    u8 flags (1: the word is derived from the base form), u32 first definition
//                    offset, u32 second definition offset
//     (T + 1) x u32  where each token starts in the token text, as for the words
//     token text     the tokens, most frequent first
//     definitions    each one: its token count, then its token numbers; every number is unsigned
//                    LEB128 (7 bits a byte, low bits first). The tokens are joined by blanks.
//     text           the words and base forms, without separators
// Many inflections share a base form and many base forms share a definition (synonyms), so records
// and definitions are stored once each; coding definitions as token numbers makes them about a
// third of their text's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

enum class PartOfSpeech : std::uint8_t { Noun, Verb, Adjective, Adverb };

// "noun", "verb", "adjective", "adverb".
const char* PartOfSpeechName(PartOfSpeech pos);

struct Sense {
  PartOfSpeech pos = PartOfSpeech::Noun;
  std::string gloss;  // the definition alone, without the dictionary's example sentences

  bool operator==(const Sense&) const = default;
};

struct Meaning {
  std::string base;  // the word the definition is for: "mouse" for "mice", "crowd" for "crowd"
  // The word is not a form of the base but a word made from it ("packager" from "package",
  // "unburned" from "burn"): the definition is the base's, a clue to the word's meaning.
  bool derived = false;
  Sense first;
  std::optional<Sense> second;

  bool operator==(const Meaning&) const = default;
};

inline constexpr char kMeaningsMagic[8] = {'S', 'C', 'M', 'E', 'A', 'N', 'S', '\0'};
inline constexpr std::uint32_t kMeaningsVersion = 1;
inline constexpr std::size_t kMeaningsHeaderSize = 40;
inline constexpr std::size_t kMeaningsRecordSize = 16;
inline constexpr std::uint8_t kNoSecondSense = 0xFF;
inline constexpr std::uint8_t kDerivedFlag = 1;
// Longest word, base form and definition (in tokens) a file may hold.
inline constexpr std::size_t kMaxMeaningWord = 255;
inline constexpr std::uint32_t kMaxGlossTokens = 255;

class Meanings {
 public:
  // Replaces what was loaded. False, with a log line naming the file and the fault, when the file
  // cannot be read or is not a whole meanings file of this version; nothing is kept then.
  bool Load(std::string_view path);
  // The same over the bytes of a file; name is used in the log lines.
  bool LoadBytes(std::vector<std::uint8_t> bytes, std::string_view name);

  // The meaning of a lower-case word, or nothing when the file has none (or none was loaded).
  std::optional<Meaning> Find(std::string_view word) const;

  bool Loaded() const { return !bytes_.empty(); }
  std::size_t WordCount() const { return wordCount_; }

 private:
  struct Section {
    std::size_t at = 0;
    std::size_t size = 0;
  };
  std::uint32_t U32At(std::size_t at) const;
  std::string_view Word(std::size_t index) const;
  bool DecodeGloss(std::uint32_t offset, std::string* out) const;
  // Why the bytes are not a valid file, or nullptr.
  const char* Check();

  std::vector<std::uint8_t> bytes_;
  std::size_t wordCount_ = 0;
  std::size_t recordCount_ = 0;
  std::size_t tokenCount_ = 0;
  Section wordStarts_, wordRecords_, records_, tokenStarts_, tokenText_, glosses_, text_;
};

// A meanings file read at its first lookup, once: when it is missing or damaged that is logged once
// and every lookup finds nothing.
class MeaningsOnDemand {
 public:
  explicit MeaningsOnDemand(std::string path) : path_(std::move(path)) {}
  std::optional<Meaning> Find(std::string_view word);
  // Whether the file has been read successfully (reading it if that has not been tried yet).
  bool Available();

 private:
  std::string path_;
  bool tried_ = false;
  Meanings meanings_;
};

// "crowd: a large number of things or people considered together" ("packager, from package: put into
// a box" for a derived word), cut at a blank to at most width characters, ending with "..." when
// cut (a word longer than the width is cut mid-word).
std::string FormatMeaning(std::string_view word, const Meaning& meaning, std::size_t width);

// One word's meaning as the generator hands it to EncodeMeanings.
struct WordMeaning {
  std::string word;
  Meaning meaning;
};

// The bytes of a meanings file holding these words (in any order; a word given twice keeps its first
// meaning). Words, base forms and definitions must fit the limits above; longer ones are cut.
std::vector<std::uint8_t> EncodeMeanings(const std::vector<WordMeaning>& words);

}  // namespace spellcrypt
