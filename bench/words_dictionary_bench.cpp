// The word list on the generated data: loading, word checks, and the oracle's search on full racks
// (the fast search, and the plain subset-by-subset search it replaces, for comparison).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/words_plain_search.h"
#include "words/dictionary.h"

namespace {

using spellcrypt::Dictionary;

const std::string kWordList = std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt";
constexpr const char* kDistinctRack = "aeilnorstdcmpugh";
constexpr const char* kRepeatedRack = "eeeeaaaassttrrnn";

const Dictionary& Loaded() {
  static const Dictionary* dictionary = [] {
    auto* d = new Dictionary();
    if (!d->Load(kWordList.c_str())) std::fprintf(stderr, "cannot read %s\n", kWordList.c_str());
    return d;
  }();
  return *dictionary;
}

void BM_WordsLoad(benchmark::State& state) {
  for (auto _ : state) {
    Dictionary dictionary;
    benchmark::DoNotOptimize(dictionary.Load(kWordList.c_str()));
    state.counters["entries"] = dictionary.Count();
  }
}
BENCHMARK(BM_WordsLoad)->Unit(benchmark::kMillisecond);

// Half words of the list, half the same words with one letter changed (mostly not words).
void BM_WordsIsWord(benchmark::State& state) {
  const Dictionary& dictionary = Loaded();
  std::mt19937 generator(7);
  std::vector<std::string> queries;
  for (int i = 0; i < 4096; ++i) {
    std::string word = dictionary.Entries()[generator() % dictionary.Entries().size()].word;
    if (i % 2 == 1) word[generator() % word.size()] = static_cast<char>('a' + generator() % 26);
    queries.push_back(word);
  }
  std::size_t i = 0;
  int found = 0;
  for (auto _ : state) {
    found += dictionary.IsWord(queries[i++ & 4095]) ? 1 : 0;
  }
  benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_WordsIsWord)->Unit(benchmark::kNanosecond);

void FindWords(benchmark::State& state, const char* rack) {
  Dictionary& dictionary = const_cast<Dictionary&>(Loaded());
  for (auto _ : state) {
    dictionary.FindWords(rack, nullptr);
  }
  state.counters["words"] = dictionary.results.Count();
}
void BM_WordsFindWordsDistinct(benchmark::State& state) { FindWords(state, kDistinctRack); }
void BM_WordsFindWordsRepeated(benchmark::State& state) { FindWords(state, kRepeatedRack); }
BENCHMARK(BM_WordsFindWordsDistinct)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WordsFindWordsRepeated)->Unit(benchmark::kMicrosecond);

void PlainFindWords(benchmark::State& state, const char* rack) {
  const Dictionary& dictionary = Loaded();
  std::size_t words = 0;
  for (auto _ : state) {
    words = spellcrypt::testing::PlainFindWords(dictionary.Entries(), rack, nullptr).size();
  }
  state.counters["words"] = static_cast<double>(words);
}
void BM_WordsPlainFindWordsDistinct(benchmark::State& state) { PlainFindWords(state, kDistinctRack); }
void BM_WordsPlainFindWordsRepeated(benchmark::State& state) { PlainFindWords(state, kRepeatedRack); }
BENCHMARK(BM_WordsPlainFindWordsDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordsPlainFindWordsRepeated)->Unit(benchmark::kMillisecond);

}  // namespace
