#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/Settings.h"

class CShoeEngine;

// What the random test is asked to do.
struct RandomTestOptions {
    std::int64_t runs = 1;   // number of runs; 0 or less plays nothing
    std::int64_t shoes = 1;  // shoes per run; 0 or less plays nothing
    std::uint64_t seed = 0;  // the whole test is reproducible from this
    int threads = 0;         // worker threads; 0 uses every core
};

// What it found.
struct RandomTestResult {
    std::int64_t totalWin = 0;      // units won (negative: lost) over all shoes played
    std::int64_t firstLossRun = 0;  // the run (from 1) after which the test went negative; 0 never
    std::int64_t shoesPlayed = 0;
    std::int64_t handsPlayed = 0;
    std::int64_t lastRun = 0;  // run and shoe (from 1) of the last shoe played; 0 when none
    std::int64_t lastShoe = 0;
    bool cancelled = false;

    // The total as the 32-bit field shows it: clamped to the range of a signed 32-bit number.
    std::int32_t TotalWinShown() const;
};

// Called between blocks of work with the fraction done (0 to 1); returning false cancels. A
// cancelled test reports the shoes it played.
using TestProgress = std::function<bool(double fraction)>;

// Plays runs x shoes random shoes of banker and player hands (no ties) through the engine under
// `settings`, stopping after the first run whose own sum, or the running total, is negative.
RandomTestResult RunRandomTest(const ShoeSettings& settings, const RandomTestOptions& options,
                               const TestProgress& progress = {});

// The same test on the calling thread only; no progress, no cancel. Used where many small tests
// run side by side (the parameter search).
RandomTestResult RunRandomTestSequential(const ShoeSettings& settings,
                                         const RandomTestOptions& options);

// Plays shoe `shoe` of run `run` (both from 1) of a test with `seed` on `engine` from a reset to
// its end, with m_bSimulating set. Returns the shoe's score.
int PlayRandomShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run, std::int64_t shoe);

// The hand letters (Z for banker, X for player) of that shoe under `settings`, to replay it.
std::string RandomShoeLetters(const ShoeSettings& settings, std::uint64_t seed, std::int64_t run,
                              std::int64_t shoe);
