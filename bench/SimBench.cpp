// The random shoe test with the default settings on one and on two worker threads.
#include <benchmark/benchmark.h>

#include "sim/RandomTest.h"

namespace {

void BM_RandomTest(benchmark::State& state) {
    const ShoeSettings settings;
    RandomTestOptions options;
    options.shoes = 1 << 18;
    options.threads = static_cast<int>(state.range(0));
    std::int64_t shoes = 0;
    for (auto _ : state) {
        ++options.seed;
        const RandomTestResult r = RunRandomTest(settings, options);
        shoes += r.shoesPlayed;
        benchmark::DoNotOptimize(r.totalWin);
    }
    state.counters["shoes_per_second"] =
        benchmark::Counter(static_cast<double>(shoes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomTest)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
