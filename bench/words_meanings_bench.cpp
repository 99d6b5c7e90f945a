// Word meanings on the generated file: the first load (reading and checking the whole file) and one
// lookup (a binary search and the definitions decoded).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "words/meanings.h"

namespace {

using spellcrypt::Meanings;

const std::string kMeanings = std::string(SPELLCRYPT_BIN_DIR) + "/data/meanings.dat";
const std::string kWordList = std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt";

void BM_MeaningsFirstLoad(benchmark::State& state) {
  for (auto _ : state) {
    Meanings meanings;
    benchmark::DoNotOptimize(meanings.Load(kMeanings));
    state.counters["words"] = static_cast<double>(meanings.WordCount());
  }
}
BENCHMARK(BM_MeaningsFirstLoad)->Unit(benchmark::kMillisecond);

// Every 97th word of the word list, most with a meaning, some without.
void BM_MeaningsFind(benchmark::State& state) {
  Meanings meanings;
  std::vector<std::uint8_t> list;
  if (!meanings.Load(kMeanings) || !spellcrypt::ReadWholeFile(kWordList, list)) {
    state.SkipWithError("the generated meanings or word list are missing");
    return;
  }
  std::vector<std::string> words;
  const std::string text(list.begin(), list.end());
  std::size_t line = 0;
  for (std::size_t at = 0; at < text.size(); ++line) {
    const std::size_t end = text.find('\n', at);
    const std::size_t blank = text.find(' ', at);
    if (line % 97 == 0 && blank < end) words.push_back(text.substr(blank + 1, end - blank - 1));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  std::size_t next = 0, found = 0;
  for (auto _ : state) {
    const auto meaning = meanings.Find(words[next]);
    found += meaning ? 1 : 0;
    benchmark::DoNotOptimize(meaning);
    next = (next + 1) % words.size();
  }
  state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MeaningsFind)->Unit(benchmark::kNanosecond);

}  // namespace
