#include "tools/meanings/wordnet.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <unordered_set>

namespace spellcrypt {

namespace {

// Definitions longer than this lose their remarks in parentheses.
constexpr std::size_t kLongDefinition = 80;

struct PartFiles {
  PartOfSpeech pos;
  const char* name;  // index.<name>, data.<name>
  const char* exceptions;
};

constexpr PartFiles kParts[] = {
    {PartOfSpeech::Noun, "noun", "noun.exc"},
    {PartOfSpeech::Verb, "verb", "verb.exc"},
    {PartOfSpeech::Adjective, "adj", "adj.exc"},
    {PartOfSpeech::Adverb, "adv", "adv.exc"},
};

// "air_bag" and "tally-ho" as the game spells them; the lemma unchanged when it has no joins.
std::string RunTogether(std::string_view lemma) {
  std::string joined;
  for (char c : lemma)
    if (c != '_' && c != '-') joined.push_back(c);
  return joined;
}

bool IsGameWord(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find(' ', start), line.size());
    fields.push_back(line.substr(start, end - start));
    at = end;
  }
  return fields;
}

bool ToNumber(std::string_view text, std::uint32_t* value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool ReadLines(const std::filesystem::path& path, std::vector<std::string>* lines, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path.string() + " cannot be read (install the package wordnet-base)";
    return false;
  }
  lines->clear();
  for (std::string line; std::getline(in, line);) lines->push_back(std::move(line));
  return true;
}

std::string Located(const std::filesystem::path& path, std::size_t line, const char* problem) {
  return path.string() + ", line " + std::to_string(line + 1) + ": " + problem;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  const std::size_t end = text.find_last_not_of(' ');
  return text.substr(start, end - start + 1);
}

}  // namespace

std::string WordNet::Displayed(const std::string& lemma) const {
  const auto found = written.find(lemma);
  return found == written.end() ? lemma : found->second;
}

bool ParseIndexLine(std::string_view line, std::string* lemma, std::vector<std::uint32_t>* synsets) {
  if (line.empty() || line[0] == ' ') return false;
  // lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset...
  const std::vector<std::string_view> fields = Fields(line);
  std::uint32_t synsetCount = 0, pointerCount = 0;
  if (fields.size() < 4 || !ToNumber(fields[2], &synsetCount) || !ToNumber(fields[3], &pointerCount))
    return false;
  const std::size_t first = 4 + std::size_t{pointerCount} + 2;
  if (synsetCount == 0 || fields.size() != first + synsetCount) return false;
  lemma->assign(fields[0]);
  synsets->clear();
  for (std::size_t i = first; i < fields.size(); ++i) {
    std::uint32_t offset = 0;
    if (!ToNumber(fields[i], &offset)) return false;
    synsets->push_back(offset);
  }
  return true;
}

std::string ShortGloss(std::string_view gloss) {
  std::string_view definition = gloss.substr(0, gloss.find('"'));
  definition = definition.substr(0, definition.find("; "));
  definition = Trimmed(definition);
  while (!definition.empty() &&
         (definition.back() == ';' || definition.back() == ':' || definition.back() == ','))
    definition = Trimmed(definition.substr(0, definition.size() - 1));
  std::string text(definition);
  if (text.size() > kLongDefinition) {
    std::string shorter;
    int depth = 0;
    for (char c : text) {
      if (c == '(') ++depth;
      if (depth == 0) shorter.push_back(c);
      if (c == ')' && depth > 0) --depth;
    }
    // The blanks on both sides of a remark become one.
    std::string joined;
    for (char c : shorter)
      if (!(c == ' ' && !joined.empty() && joined.back() == ' ')) joined.push_back(c);
    while (!joined.empty() && joined.back() == ' ') joined.pop_back();
    if (depth == 0 && !joined.empty()) text = joined;
  }
  return text;
}

bool LoadWordNet(const std::filesystem::path& folder, WordNet* wordnet, std::string* error) {
  std::vector<std::string> lines;
  std::string lemma;
  std::vector<std::uint32_t> synsets;
  std::unordered_set<std::string> plain;  // lemmas written as the game spells them
  for (const PartFiles& part : kParts) {
    const int p = static_cast<int>(part.pos);
    const std::filesystem::path index = folder / (std::string("index.") + part.name);
    if (!ReadLines(index, &lines, error)) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty() || lines[i][0] == ' ') continue;
      if (!ParseIndexLine(lines[i], &lemma, &synsets)) {
        *error = Located(index, i, "not an index line");
        return false;
      }
      const std::string joined = RunTogether(lemma);
      if (!IsGameWord(joined)) continue;
      wordnet->lexicon.AddLemma(joined, part.pos);
      auto& senses = wordnet->senses[p][joined];
      if (joined == lemma) {
        plain.insert(lemma);
        senses.insert(senses.begin(), synsets.begin(), synsets.end());
      } else {
        senses.insert(senses.end(), synsets.begin(), synsets.end());
        std::string written = lemma;
        std::replace(written.begin(), written.end(), '_', ' ');
        wordnet->written.emplace(joined, std::move(written));
      }
    }

    // data.<part>: "02084071 05 n 03 dog 0 ... | gloss".
    const std::filesystem::path data = folder / (std::string("data.") + part.name);
    if (!ReadLines(data, &lines, error)) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty() || lines[i][0] == ' ') continue;
      const std::size_t bar = lines[i].find(" | ");
      std::uint32_t offset = 0;
      if (bar == std::string::npos || !ToNumber(std::string_view(lines[i]).substr(0, 8), &offset)) {
        *error = Located(data, i, "not a synset line");
        return false;
      }
      wordnet->glosses[p][offset] = std::string(Trimmed(std::string_view(lines[i]).substr(bar + 3)));
    }

    // <part>.exc: "geese goose", a form and its base forms.
    const std::filesystem::path exceptions = folder / part.exceptions;
    if (!ReadLines(exceptions, &lines, error)) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::vector<std::string_view> fields = Fields(lines[i]);
      if (fields.empty()) continue;
      if (fields.size() < 2) {
        *error = Located(exceptions, i, "a form without its base");
        return false;
      }
      if (!IsGameWord(fields[0])) continue;
      for (std::size_t f = 1; f < fields.size(); ++f)
        if (IsGameWord(fields[f])) wordnet->lexicon.AddException(fields[0], fields[f], part.pos);
    }
  }

  std::erase_if(wordnet->written, [&](const auto& entry) { return plain.count(entry.first) != 0; });

  // cntlist.rev: "dog%1:05:00:: 1 42", a sense key (lemma%type:...), its sense number and count.
  // The type is 1 noun, 2 verb, 3 adjective, 4 adverb, 5 adjective satellite.
  const std::filesystem::path counts = folder / "cntlist.rev";
  if (!ReadLines(counts, &lines, error)) return false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string_view> fields = Fields(lines[i]);
    if (fields.empty()) continue;
    const std::size_t percent = fields[0].find('%');
    std::uint32_t count = 0;
    if (fields.size() != 3 || percent == std::string_view::npos || percent + 1 >= fields[0].size() ||
        !ToNumber(fields[2], &count)) {
      *error = Located(counts, i, "not a sense count line");
      return false;
    }
    const std::string_view key = fields[0].substr(0, percent);
    if (!IsGameWord(key)) continue;
    static constexpr int kPartOfType[] = {-1, 0, 1, 2, 3, 2};
    const int type = fields[0][percent + 1] - '0';
    if (type < 1 || type > 5) {
      *error = Located(counts, i, "an unknown part of speech");
      return false;
    }
    wordnet->uses[kPartOfType[type]][std::string(key)] += count;
  }
  return true;
}

}  // namespace spellcrypt
