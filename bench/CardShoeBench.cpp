// The card game: coups dealt and judged alone, and whole shoes played through the engine in the
// card game and in the coin game, with the default settings.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "CardShoe.h"
#include "ShoeEngine.h"
#include "ShoeGame.h"

namespace {

// Whole card shoes dealt coup by coup to the last one, without the engine: with the full coup
// (cards and totals, DealCoup) or only its winner as the simulations deal (DealWinner).
void BM_CardCoups(benchmark::State& state) {
    const bool winnersOnly = state.range(0) != 0;
    std::int64_t shoe = 0;
    std::int64_t coups = 0;
    for (auto _ : state) {
        CCardShoe cards(1, 1, ++shoe);
        while (!cards.Over()) {
            if (winnersOnly) {
                benchmark::DoNotOptimize(cards.DealWinner());
            } else {
                const Coup coup = cards.DealCoup();
                benchmark::DoNotOptimize(coup);
            }
            ++coups;
        }
    }
    state.SetLabel(winnersOnly ? "DealWinner" : "DealCoup");
    state.counters["coups_per_second"] =
        benchmark::Counter(static_cast<double>(coups), benchmark::Counter::kIsRate);
    state.counters["coups_per_shoe"] =
        benchmark::Counter(static_cast<double>(coups) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_CardCoups)->Arg(0)->Arg(1)->ArgName("winners_only");

// One shoe of the given game played through the engine's hand pipeline, money counted.
void BM_GameShoe(benchmark::State& state) {
    const Game game = static_cast<Game>(state.range(0));
    const ShoeSettings settings;
    CShoeEngine engine(settings);
    std::int64_t shoe = 0;
    std::int64_t hands = 0;
    for (auto _ : state) {
        const ShoeOutcome o = PlayShoe(game, engine, 1, 1, ++shoe);
        benchmark::DoNotOptimize(o.netCents);
        hands += o.hands;
    }
    state.SetLabel(std::string(GameName(game)));
    state.counters["shoes_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["hands_per_shoe"] =
        benchmark::Counter(static_cast<double>(hands) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_GameShoe)
    ->Arg(static_cast<int>(Game::Coin))
    ->Arg(static_cast<int>(Game::Cards))
    ->ArgName("game");

}  // namespace
