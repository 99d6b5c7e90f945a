#include "tools/wordlist/word_filter.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace spellcrypt {

namespace {

bool IsLowerWord(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Calls take(line, number) for each line; stops early when take returns false.
template <typename Take>
bool ForEachLine(std::string_view text, Take take) {
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!take(line, ++number)) return false;
  }
  return true;
}

// "word: 2," or "'two words': 1," (the last entry has no comma).
bool ParseEntry(std::string_view line, RatedWord* entry) {
  std::string_view key;
  if (!line.empty() && (line.front() == '\'' || line.front() == '"')) {
    const std::size_t close = line.find(line.front(), 1);
    if (close == std::string_view::npos) return false;
    key = line.substr(1, close - 1);
    line.remove_prefix(close + 1);
  } else {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    key = line.substr(0, colon);
    line.remove_prefix(colon);
  }
  if (key.empty() || line.empty() || line.front() != ':') return false;
  line = Trim(line.substr(1));
  if (!line.empty() && line.back() == ',') line.remove_suffix(1);
  if (line.size() != 1 || line[0] < '0' || line[0] > '9') return false;
  entry->word = std::string(key);
  entry->rating = line[0] - '0';
  return true;
}

bool ReadFile(const std::filesystem::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return !in.bad();
}

bool ReadWordFile(const std::filesystem::path& path, std::vector<std::string>* words, std::string* error) {
  std::string text;
  if (!ReadFile(path, &text)) {
    *error = "cannot read " + path.string();
    return false;
  }
  if (ParseWordFile(text, words, error)) return true;
  *error = path.string() + ", " + *error;
  return false;
}

}  // namespace

bool ParseRatedWords(std::string_view text, std::vector<RatedWord>* words, std::string* error) {
  words->clear();
  enum class Where { kBefore, kInside, kAfter } where = Where::kBefore;
  const bool read = ForEachLine(text, [&](std::string_view raw, int number) {
    const std::string_view line = Trim(raw);
    if (where == Where::kBefore) {
      if (!line.empty() && line.back() == '{') where = Where::kInside;
      return true;
    }
    if (where == Where::kAfter || line.empty()) return true;
    if (line == "}" || line == "};") {
      where = Where::kAfter;
      return true;
    }
    RatedWord entry;
    if (!ParseEntry(line, &entry)) {
      *error = "line " + std::to_string(number) + " is not a \"word: rating\" entry";
      return false;
    }
    words->push_back(std::move(entry));
    return true;
  });
  if (!read) return false;
  if (where != Where::kAfter || words->empty()) {
    *error = "no list of rated words found";
    return false;
  }
  return true;
}

bool ParseWordFile(std::string_view text, std::vector<std::string>* words, std::string* error) {
  words->clear();
  return ForEachLine(text, [&](std::string_view line, int number) {
    line = line.substr(0, line.find('#'));
    std::istringstream in{std::string(line)};
    std::string word;
    while (in >> word) {
      if (!IsLowerWord(word)) {
        *error = "line " + std::to_string(number) + ": \"" + word + "\" is not a word of the letters a-z";
        return false;
      }
      words->push_back(word);
    }
    return true;
  });
}

bool LoadRemovedWords(const RemovalSources& sources, std::set<std::string>* words, std::string* error) {
  words->clear();
  std::string text;
  if (!ReadFile(sources.packageList, &text)) {
    *error = "cannot read " + sources.packageList.string() + " (run bash scripts/deps.sh to install it)";
    return false;
  }
  std::vector<RatedWord> rated;
  if (!ParseRatedWords(text, &rated, error)) {
    *error = sources.packageList.string() + ", " + *error;
    return false;
  }
  std::set<std::string> likely;
  for (const RatedWord& entry : rated) {
    // Keys of several words, or spelled with digits, can never be in the word list.
    if (entry.rating >= kLikelyProfanity && IsLowerWord(entry.word)) likely.insert(entry.word);
  }

  std::vector<std::string> removed;
  std::vector<std::string> kept;
  if (!ReadWordFile(sources.removedWords, &removed, error) ||
      !ReadWordFile(sources.keptWords, &kept, error)) {
    return false;
  }
  const std::set<std::string> removedSet(removed.begin(), removed.end());
  const std::set<std::string> keptSet(kept.begin(), kept.end());
  for (const std::string& word : keptSet) {
    if (likely.erase(word) == 0) {
      *error = sources.keptWords.string() + ": \"" + word + "\" is not a word the package rates " +
               std::to_string(kLikelyProfanity);
      return false;
    }
    if (removedSet.count(word)) {
      *error = "\"" + word + "\" is both kept and removed";
      return false;
    }
  }
  likely.insert(removedSet.begin(), removedSet.end());
  *words = std::move(likely);
  return true;
}

}  // namespace spellcrypt
