// The random shoe test with the default settings on one and on two worker threads.
#include <benchmark/benchmark.h>

#include <string>

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

// The whole random test in the coin game (0) and the card game (1), on one and on two worker
// threads, with the default settings; the two games measured side by side in the same run.
void BM_RandomTestGame(benchmark::State& state) {
    const ShoeSettings settings;
    RandomTestOptions options;
    options.shoes = 1 << 18;
    options.game = state.range(0) == 0 ? Game::Coin : Game::Cards;
    options.threads = static_cast<int>(state.range(1));
    std::int64_t shoes = 0;
    for (auto _ : state) {
        ++options.seed;
        const RandomTestResult r = RunRandomTest(settings, options);
        shoes += r.shoesPlayed;
        benchmark::DoNotOptimize(r.stats);
    }
    state.SetLabel(std::string(GameName(options.game)));
    state.counters["shoes_per_second"] =
        benchmark::Counter(static_cast<double>(shoes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomTestGame)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->ArgNames({"game", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
