// Whole random shoes played to their end through RecordHand with the default settings and no
// observer, as the simulations play them.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/ShoeEngine.h"

namespace {

// splitmix64: one 64-bit draw gives 64 fair coin flips.
std::uint64_t Next(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void BM_RandomShoe(benchmark::State& state) {
    const ShoeSettings settings;
    CShoeEngine engine(settings);
    engine.m_bSimulating = 1;
    std::uint64_t seed = 1;
    std::int64_t hands = 0;
    for (auto _ : state) {
        engine.ResetShoe();
        std::uint64_t bits = Next(seed);
        int left = 64;
        while (!engine.IsShoeOver()) {
            if (left == 0) {
                bits = Next(seed);
                left = 64;
            }
            engine.RecordHand((bits & 1) ? SIDE_PLAYER : SIDE_BANKER);
            bits >>= 1;
            --left;
        }
        hands += engine.m_nHandCount;
        benchmark::DoNotOptimize(engine.m_nScore);
    }
    state.counters["hands_per_shoe"] =
        benchmark::Counter(static_cast<double>(hands) / static_cast<double>(state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomShoe);

}  // namespace
