// Benchmark runner: every bench/*.cpp registers its benchmarks with this one main.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
