// The word list: every word stored under its key (its letters sorted), the list kept in key order so
// that one binary search finds all anagrams of a key. Answers "is this a word?" for each cast and
// "which words can these letters spell?" for the oracle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "words/string_list.h"

namespace spellcrypt {

struct DictEntry {
  std::string key;   // the word's letters in ascending byte order
  std::string word;  // lower case
};

class Dictionary {
 public:
  // Word-list lines, the line end included, are at most this long.
  static constexpr std::size_t kMaxLineLength = 254;

  // Appends the entries of a word-list file ("key word" per line, in key order). False when the
  // file cannot be read. Bad lines are skipped and logged; a list out of key order still loads,
  // with one error line naming the first line out of order.
  bool Load(const char* path);
  // The same over a word-list text already in memory; name is used in the log lines.
  void LoadText(std::string_view text, const char* name);

  // Whether the (lower-case) word is in the list.
  bool IsWord(std::string_view word) const;
  // Fills results with every word of 3 letters or more that a subset of the letters spells, each
  // once, none of those in exclude (when given): shorter words first, words of one length in key
  // order, anagrams in list order.
  void FindWords(std::string_view letters, StringList* exclude);

  const std::vector<DictEntry>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }

  StringList results;             // the words found by the last FindWords
  StringList* exclude = nullptr;  // not owned; words the last FindWords left out

 private:
  // A run of adjacent entries sharing a key that a subset of letters can spell: the key is sorted and
  // has 3 letters or more. Letter sets as bit masks (bit 0 for a ... 25 for z, 31 for any other
  // byte): the letters the key holds, holds twice or more, three times or more. Keys with another
  // byte or a letter four times need the full count check.
  struct Group {
    std::uint32_t first;
    std::uint32_t count;
    std::uint32_t twice;
    std::uint32_t thrice;
    std::uint32_t length;
    bool fullCheck;
  };

  // The first entry of the group whose key is key, or -1.
  int FindKey(std::string_view key) const;
  // Key order between key and entry i's key, on the packed prefixes first.
  int CompareWithEntry(std::string_view key, std::uint64_t keyPrefix, std::size_t i) const;
  void IndexGroups();
  // The excluded words' entries, sorted (for a list whose words all stand under their own key).
  std::vector<std::uint32_t> ExcludedEntries() const;

  std::vector<DictEntry> entries_;
  // The first 8 bytes of each key, big-endian and zero-padded: most search steps compare these.
  std::vector<std::uint64_t> keyPrefixes_;
  // The oracle's index, rebuilt after each load: one mask of letters per group, scanned in one pass,
  // and the groups themselves.
  std::vector<std::uint32_t> groupMasks_;
  std::vector<Group> groups_;
  // Every key is sorted, in key order, and the key of its own word: a word then lives in one group
  // only, which spares FindWords a set of the words it found.
  bool ordered_ = true;
  bool ownKeys_ = true;
};

}  // namespace spellcrypt
