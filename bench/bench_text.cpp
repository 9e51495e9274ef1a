// Text benchmarks are being written.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
