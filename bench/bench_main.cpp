// The benchmark executable: every bench/*.cpp registers its benchmarks; this is the one main.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
