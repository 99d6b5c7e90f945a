// The strong words of a summary and their meanings.
#include "scores/strong_words.h"

#include <optional>

namespace spellcrypt {

namespace {

constexpr std::size_t kMostStrongWords = 100;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::vector<std::string> StrongWordsOf(std::string_view summary) {
  std::vector<std::string> words;
  bool listing = false;
  std::size_t at = 0;
  while (at < summary.size() && words.size() < kMostStrongWords) {
    std::size_t end = summary.find('\n', at);
    if (end == std::string_view::npos) end = summary.size();
    std::string_view line = summary.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line == "- strong words used -") {
      listing = true;
    } else if (listing && !line.empty()) {
      std::string word;
      for (const char c : line) {
        const char lower = Lower(c);
        if (lower < 'a' || lower > 'z') {
          word.clear();
          break;
        }
        word += lower;
      }
      if (word.empty() || word.size() > kMaxMeaningWord) break;
      words.push_back(word);
    }
  }
  return words;
}

std::vector<std::string> SenseLines(std::string_view word, const Meaning& meaning) {
  // The word a derived word was made from, or the base form of an inflected one.
  std::string from;
  if (meaning.derived) {
    from = "(from " + meaning.base + ") ";
  } else if (meaning.base != word) {
    from = "(" + meaning.base + ") ";
  }
  std::vector<std::string> lines;
  lines.push_back(from + PartOfSpeechName(meaning.first.pos) + ": " + meaning.first.gloss);
  if (meaning.second) {
    lines.push_back(std::string(PartOfSpeechName(meaning.second->pos)) + ": " + meaning.second->gloss);
  }
  return lines;
}

void AppendStrongWordMeanings(ISummaryLines& out, const std::vector<std::string>& words,
                              MeaningsOnDemand& meanings) {
  out.AddLine("- meanings of the strong words -");
  out.AddLine("");
  if (words.empty()) {
    out.AddText(
        "No strong words in this game: words of five letters or more are listed here with "
        "their meanings.");
    return;
  }
  if (!meanings.Available()) {
    out.AddText("The word meanings could not be read (data/meanings.dat).");
    return;
  }
  for (const std::string& word : words) {
    std::string shown;
    for (const char c : word) shown += Upper(c);
    out.AddLine(shown);
    const std::optional<Meaning> meaning = meanings.Find(word);
    if (!meaning) {
      out.AddText("(no meaning known)");
    } else {
      for (const std::string& line : SenseLines(word, *meaning)) out.AddText(line);
    }
    out.AddLine("");
  }
}

}  // namespace spellcrypt
