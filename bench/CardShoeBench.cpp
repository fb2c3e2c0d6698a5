// The card game: coups dealt and judged alone, and whole shoes played through the engine in the
// card game and in the coin game, with the default settings.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "engine/ShoeEngine.h"
#include "sim/CardShoe.h"
#include "sim/ShoeGame.h"

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

// CPU time of the calling thread, in seconds: time the thread spent waiting for a core does not
// count.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The same comparison with the two games taking turns, 1000 shoes each, so that both meet the
// same load on a shared machine. cards_speed_ratio is the card game's shoes per second as a share
// of the coin game's.
void BM_CardsAgainstCoin(benchmark::State& state) {
    constexpr int kTurn = 1000;
    const ShoeSettings settings;
    CShoeEngine engine(settings);
    std::int64_t shoe = 0;
    double coin = 0, cards = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        for (int i = 0; i < kTurn; ++i)
            benchmark::DoNotOptimize(PlayShoe(Game::Coin, engine, 1, 1, shoe + i).netCents);
        const double middle = ThreadSeconds();
        for (int i = 0; i < kTurn; ++i)
            benchmark::DoNotOptimize(PlayShoe(Game::Cards, engine, 1, 1, shoe + i).netCents);
        coin += middle - start;
        cards += ThreadSeconds() - middle;
        shoe += kTurn;
    }
    const double shoes = static_cast<double>(shoe);
    state.counters["coin_ns_per_shoe"] = coin / shoes * 1e9;
    state.counters["cards_ns_per_shoe"] = cards / shoes * 1e9;
    state.counters["cards_speed_ratio"] = coin / cards;
}
BENCHMARK(BM_CardsAgainstCoin)->Unit(benchmark::kMillisecond);

}  // namespace
