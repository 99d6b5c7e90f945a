// The word list: loading, the anagram-group search behind IsWord, and the oracle's word finder.
#include "words/dictionary.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <unordered_set>

#include "base/log.h"
#include "platform/files.h"
#include "words/word_key.h"

namespace spellcrypt {

namespace {

// Bad lines are named one by one up to this many; the rest are only counted.
constexpr int kMaxReportedLines = 10;
// The search halves its range each step; this bound only guards against a broken comparison.
constexpr int kMaxSearchSteps = 10000;

// Letter masks: bit 0 for a ... 25 for z, and one bit for every other byte.
constexpr std::uint32_t kOtherByte = 1u << 31;
constexpr std::uint32_t LetterBit(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? (1u << (c - 'a')) : kOtherByte;
}
// Anagram groups up to this size look for repeated words by comparing; larger ones use a set.
constexpr std::uint32_t kSmallGroup = 32;

bool IsSortedKey(std::string_view key) {
  for (std::size_t i = 1; i < key.size(); ++i) {
    if (static_cast<unsigned char>(key[i - 1]) > static_cast<unsigned char>(key[i])) return false;
  }
  return true;
}

// The first 8 bytes of a key, big-endian, zero-padded. Ordered as the keys are wherever they differ.
std::uint64_t PackPrefix(std::string_view key) {
  std::uint64_t packed = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    packed = (packed << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  }
  return packed;
}

// Whether the sorted key is the word's own key (the same letters). balance is all zero before and
// after.
bool IsKeyOf(std::string_view key, std::string_view word, std::array<int, 256>& balance) {
  if (key.size() != word.size()) return false;
  for (char c : word) ++balance[static_cast<unsigned char>(c)];
  bool same = true;
  for (char c : key) same = --balance[static_cast<unsigned char>(c)] >= 0 && same;
  for (char c : word) balance[static_cast<unsigned char>(c)] = 0;
  for (char c : key) balance[static_cast<unsigned char>(c)] = 0;
  return same;
}

// Whether a sorted key can be spelt from the counted letters.
bool Spells(std::string_view key, const std::array<std::uint32_t, 256>& available) {
  std::size_t i = 0;
  while (i < key.size()) {
    const auto c = static_cast<unsigned char>(key[i]);
    std::size_t run = 1;
    while (i + run < key.size() && static_cast<unsigned char>(key[i + run]) == c) ++run;
    if (available[c] < run) return false;
    i += run;
  }
  return true;
}

}  // namespace

bool Dictionary::Load(const char* path) {
  if (path == nullptr) return false;
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  LoadText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
  return true;
}

void Dictionary::LoadText(std::string_view text, const char* name) {
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  entries_.reserve(entries_.size() + lines);
  keyPrefixes_.reserve(entries_.size() + lines);
  int lineNumber = 0;
  int badLines = 0;
  bool orderReported = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++lineNumber;
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = next;
    // CR LF and LF both end a line; a last line without a line end keeps all its letters.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const char* problem = nullptr;
    std::size_t space = std::string_view::npos;
    if (line.size() + 1 > kMaxLineLength) {
      problem = "longer than 254 bytes";
    } else if ((space = line.find(' ')) == std::string_view::npos) {
      problem = "no space between key and word";
    }
    if (problem != nullptr) {
      if (++badLines <= kMaxReportedLines) {
        LogError("Word list %s, line %d: %s; line skipped.", name, lineNumber, problem);
      }
      continue;
    }
    const std::string_view key = line.substr(0, space);
    if (!orderReported && !entries_.empty() && CompareKeys(entries_.back().key, key) > 0) {
      // The searches assume key order; a list out of order loads but misses words.
      LogError("Word list %s is out of key order at line %d (\"%.*s\" after \"%s\").", name, lineNumber,
               static_cast<int>(key.size()), key.data(), entries_.back().key.c_str());
      orderReported = true;
      ordered_ = false;
    }
    entries_.push_back(DictEntry{std::string(key), std::string(line.substr(space + 1))});
    keyPrefixes_.push_back(PackPrefix(key));
  }
  if (badLines > kMaxReportedLines) {
    LogError("Word list %s: %d more bad lines skipped.", name, badLines - kMaxReportedLines);
  }
  IndexGroups();
}

void Dictionary::IndexGroups() {
  groups_.clear();
  groupMasks_.clear();
  groups_.reserve(entries_.size());
  groupMasks_.reserve(entries_.size());
  ownKeys_ = true;
  std::array<int, 256> balance{};
  const std::size_t n = entries_.size();
  std::size_t i = 0;
  while (i < n) {
    const std::string& key = entries_[i].key;
    std::size_t j = i + 1;
    while (j < n && entries_[j].key == key) ++j;
    // A key that is not sorted or shorter than 3 letters is never the text of a subset.
    if (key.size() >= 3 && IsSortedKey(key)) {
      Group group{static_cast<std::uint32_t>(i),
                  static_cast<std::uint32_t>(j - i),
                  0,
                  0,
                  static_cast<std::uint32_t>(key.size()),
                  false};
      std::uint32_t mask = 0;
      // The key is sorted, so each letter's copies stand in one run.
      for (std::size_t r = 0; r < key.size();) {
        const auto c = static_cast<unsigned char>(key[r]);
        std::size_t run = 1;
        while (r + run < key.size() && static_cast<unsigned char>(key[r + run]) == c) ++run;
        const std::uint32_t bit = LetterBit(c);
        mask |= bit;
        if (run >= 2) group.twice |= bit;
        if (run >= 3) group.thrice |= bit;
        if (run >= 4 || bit == kOtherByte) group.fullCheck = true;
        r += run;
      }
      groupMasks_.push_back(mask);
      groups_.push_back(group);
      for (std::size_t e = i; ownKeys_ && e < j; ++e) ownKeys_ = IsKeyOf(key, entries_[e].word, balance);
    }
    i = j;
  }
}

int Dictionary::CompareWithEntry(std::string_view key, std::uint64_t keyPrefix, std::size_t i) const {
  if (keyPrefix != keyPrefixes_[i]) return keyPrefix < keyPrefixes_[i] ? -1 : 1;
  return CompareKeys(key, entries_[i].key);
}

int Dictionary::FindKey(std::string_view key) const {
  const int n = Count();
  if (n == 0) return -1;
  const std::uint64_t prefix = PackPrefix(key);
  int low = 0;
  int high = n;
  int i = (n - 1) / 2;
  for (int steps = 1;; ++steps) {
    const int order = CompareWithEntry(key, prefix, static_cast<std::size_t>(i));
    if (order == 0) break;
    if (std::abs(high - low) <= 1) return -1;
    if (order < 0) {
      high = i;
      i = low + (i - low) / 2;
    } else {
      low = i;
      i = i + (high - i) / 2;
    }
    if (steps > kMaxSearchSteps) {
      Log("Failed!");
      return -1;
    }
  }
  while (i > 0 && CompareWithEntry(key, prefix, static_cast<std::size_t>(i - 1)) == 0) --i;
  return i;
}

bool Dictionary::IsWord(std::string_view word) const {
  const std::string key = MakeKey(word);
  int i = FindKey(key);
  if (i < 0) return false;
  for (; i < Count() && entries_[static_cast<std::size_t>(i)].key == key; ++i) {
    if (entries_[static_cast<std::size_t>(i)].word == word) return true;
  }
  return false;
}

std::vector<std::uint32_t> Dictionary::ExcludedEntries() const {
  std::vector<std::uint32_t> excluded;
  if (exclude == nullptr) return excluded;
  for (const std::string& word : exclude->Strings()) {
    const std::string key = MakeKey(word);
    for (int i = FindKey(key); i >= 0 && i < Count() && entries_[static_cast<std::size_t>(i)].key == key;
         ++i) {
      if (entries_[static_cast<std::size_t>(i)].word == word)
        excluded.push_back(static_cast<std::uint32_t>(i));
    }
  }
  std::sort(excluded.begin(), excluded.end());
  return excluded;
}

// Every subset of the letters that is a key gives its group, smaller subsets first and subsets of
// one size in key order. Instead of looking each subset up, one pass over the groups keeps those
// whose letters the rack holds; ordering them by length (stable, so key order stays) gives the
// same words in the same order.
void Dictionary::FindWords(std::string_view letters, StringList* excludeList) {
  exclude = excludeList;
  results.Clear();
  if (letters.size() < 3) return;

  std::array<std::uint32_t, 256> available{};
  for (char ch : letters) ++available[static_cast<unsigned char>(ch)];
  std::uint32_t once = 0;
  std::uint32_t twice = 0;
  std::uint32_t thrice = 0;
  for (int c = 0; c < 256; ++c) {
    const std::uint32_t bit = LetterBit(static_cast<unsigned char>(c));
    if (available[static_cast<std::size_t>(c)] >= 1) once |= bit;
    if (available[static_cast<std::size_t>(c)] >= 2) twice |= bit;
    if (available[static_cast<std::size_t>(c)] >= 3) thrice |= bit;
  }

  // The groups the letters spell, then their order by length (a counting sort keeps key order).
  std::vector<std::uint32_t> found;
  std::array<std::uint32_t, kMaxLineLength + 1> perLength{};
  for (std::size_t g = 0; g < groupMasks_.size(); ++g) {
    if ((groupMasks_[g] & ~once) != 0) continue;
    const Group& group = groups_[g];
    if (group.fullCheck ? !Spells(entries_[group.first].key, available)
                        : ((group.twice & ~twice) | (group.thrice & ~thrice)) != 0) {
      continue;
    }
    found.push_back(static_cast<std::uint32_t>(g));
    ++perLength[group.length];
  }
  std::uint32_t start = 0;
  for (std::uint32_t& count : perLength) {
    const std::uint32_t n = count;
    count = start;
    start += n;
  }
  std::vector<std::uint32_t> ordered(found.size());
  for (std::uint32_t g : found) ordered[perLength[groups_[g].length]++] = g;

  results.Reserve(found.size() * 2);
  if (ordered_ && ownKeys_) {
    // Each word lives in one group: repeats can only sit side by side in it.
    const std::vector<std::uint32_t> excluded = ExcludedEntries();
    std::unordered_set<std::string_view> inLargeGroup;
    for (std::uint32_t g : ordered) {
      const Group& group = groups_[g];
      inLargeGroup.clear();
      for (std::uint32_t e = group.first; e < group.first + group.count; ++e) {
        if (!excluded.empty() && std::binary_search(excluded.begin(), excluded.end(), e)) continue;
        const std::string& word = entries_[e].word;
        bool repeat = false;
        if (group.count > kSmallGroup) {
          repeat = !inLargeGroup.insert(word).second;
        } else {
          for (std::uint32_t earlier = group.first; earlier < e && !repeat; ++earlier) {
            repeat = entries_[earlier].word == word;
          }
        }
        if (!repeat) results.Add(word);
      }
    }
    return;
  }
  std::unordered_set<std::string_view> excludedWords;
  if (exclude != nullptr) excludedWords.insert(exclude->Strings().begin(), exclude->Strings().end());
  std::unordered_set<std::string_view> added;
  for (std::uint32_t g : ordered) {
    const Group& group = groups_[g];
    for (std::uint32_t e = group.first; e < group.first + group.count; ++e) {
      const std::string& word = entries_[e].word;
      if (excludedWords.count(word) != 0 || !added.insert(word).second) continue;
      results.Add(word);
    }
  }
}

}  // namespace spellcrypt
