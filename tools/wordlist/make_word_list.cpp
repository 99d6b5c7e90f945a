// Builds the game's word list and its letter table from Debian's SCOWL word lists.
//
//   make_word_list <scowl folder> <output folder> <cuss list> <removed words> <kept words>
//
// Reads SCOWL's english, american, british, canadian and australian word lists of sizes up to 70, so
// that a player may spell "colour" or "color", "grey" or "gray", "axe" or "ax", "realise" or
// "realize". The british, canadian and australian lists hold only the spellings peculiar to those
// countries (about 4,000 more words). SCOWL's variant lists (variant_*, british_z and the like) stay
// out: they add rarer or alternative forms, and every common spelling of the three countries is in
// their main lists already. It keeps the words of 3 to 16 lower-case letters a-z, leaves out slurs
// and strong profanity (word_filter.h: the npm package cuss and our own two lists), adds every secret
// word so that each can be cast (a secret word is never left out), and writes
//   master_word_list.txt  "key word" lines (key = the word's letters sorted), in key order, LF ends
//   master_word_list.lft  "A|w" ... "Z|w": letter frequencies of that list, E scaled to 127, each >= 1
// The output depends only on the input files, so the files are the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/wordlist/word_filter.h"
#include "words/secret_words.h"
#include "words/word_key.h"

namespace fs = std::filesystem;
using spellcrypt::MakeKey;

namespace {

constexpr int kLargestListSize = 70;
constexpr std::size_t kShortestWord = 3;
constexpr std::size_t kLongestWord = 16;
constexpr double kWeightOfE = 127.0;
const char* const kListFamilies[] = {"english-words.", "american-words.", "british-words.", "canadian-words.",
                                     "australian-words."};

bool IsPlayable(const std::string& word) {
  if (word.size() < kShortestWord || word.size() > kLongestWord) return false;
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// "english-words.35" and the like, of size 70 or less.
bool IsWantedList(const std::string& name) {
  for (const char* family : kListFamilies) {
    const std::string prefix = family;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string size = name.substr(prefix.size());
    if (size.empty() || size.size() > 3 ||
        !std::all_of(size.begin(), size.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    return std::stoi(size) <= kLargestListSize;
  }
  return false;
}

bool WriteReplacing(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) return false;
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr,
                 "usage: %s <scowl folder> <output folder> <cuss list> <removed words> <kept words>\n",
                 argv[0]);
    return 2;
  }
  const fs::path scowl = argv[1];
  const fs::path output = argv[2];
  const spellcrypt::RemovalSources sources{
      .packageList = argv[3], .removedWords = argv[4], .keptWords = argv[5]};

  std::set<std::string> removed;
  std::string error;
  if (!spellcrypt::LoadRemovedWords(sources, &removed, &error)) {
    std::fprintf(stderr, "make_word_list: %s\n", error.c_str());
    return 1;
  }

  std::vector<fs::path> lists;
  std::error_code ec;
  for (fs::directory_iterator it(scowl, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsWantedList(it->path().filename().string())) lists.push_back(it->path());
  }
  if (lists.empty()) {
    std::fprintf(stderr, "make_word_list: no SCOWL word lists in %s (install the Debian package scowl)\n",
                 scowl.string().c_str());
    return 1;
  }
  std::sort(lists.begin(), lists.end());

  std::set<std::string> words;
  for (const fs::path& list : lists) {
    std::ifstream in(list, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (IsPlayable(line)) words.insert(line);
    }
  }
  std::size_t leftOut = 0;
  for (const std::string& word : removed) leftOut += words.erase(word);
  for (const spellcrypt::SecretWord& secret : spellcrypt::SecretWordManager::Table()) {
    for (std::string_view name : secret.names) {
      const std::string word(name);
      if (word.empty()) continue;
      if (!IsPlayable(word)) {
        std::fprintf(stderr, "make_word_list: secret word \"%s\" is not a playable word\n", word.c_str());
        return 1;
      }
      if (removed.count(word)) {
        std::printf(
            "make_word_list: secret word \"%s\" is in the removed words; kept, as every secret word\n",
            word.c_str());
      }
      words.insert(word);
    }
  }

  // Key order is plain byte order with the shorter key first, which is how std::string compares;
  // anagrams sharing a key follow in alphabetical order.
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(words.size());
  long long letterCounts[26] = {};
  for (const std::string& word : words) {
    entries.emplace_back(MakeKey(word), word);
    for (char c : word) ++letterCounts[c - 'a'];
  }
  std::sort(entries.begin(), entries.end());

  std::string list;
  list.reserve(entries.size() * 20);
  for (const auto& [key, word] : entries) {
    list += key;
    list += ' ';
    list += word;
    list += '\n';
  }

  std::string table;
  const double scale = kWeightOfE / static_cast<double>(letterCounts['e' - 'a']);
  for (int i = 0; i < 26; ++i) {
    const long long weight = std::max(1LL, std::llround(static_cast<double>(letterCounts[i]) * scale));
    table += static_cast<char>('A' + i);
    table += '|';
    table += std::to_string(weight);
    table += '\n';
  }

  fs::create_directories(output, ec);
  if (!WriteReplacing(output / "master_word_list.txt", list) ||
      !WriteReplacing(output / "master_word_list.lft", table)) {
    std::fprintf(stderr, "make_word_list: cannot write into %s\n", output.string().c_str());
    return 1;
  }
  std::printf("make_word_list: %zu words from %zu lists, %zu left out as slurs or strong profanity\n",
              entries.size(), lists.size(), leftOut);
  return 0;
}
