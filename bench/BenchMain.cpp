// The one entry point of lokavo_bench; every other file of bench/ only registers benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
