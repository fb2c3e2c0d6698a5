#include "sim/ShoeSpeed.h"

#include <algorithm>
#include <cstdint>

#include "sim/RandomTest.h"

double MeasureSecondsPerShoe(const ShoeSettings& settings, int threads,
                             std::chrono::milliseconds sample) {
    using Clock = std::chrono::steady_clock;
    // Blocks of one run each, doubled until the sample time is used: a fast machine is not
    // measured on a block too small to time, and a slow one does not wait long.
    std::int64_t shoes = 1000;
    std::int64_t played = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    for (std::uint64_t seed = 1; elapsed < sample; ++seed) {
        const RandomTestResult r = RunRandomTest(settings, {1, shoes, seed, threads});
        played += std::max<std::int64_t>(r.shoesPlayed, 1);
        elapsed = Clock::now() - start;
        shoes *= 2;
    }
    return std::chrono::duration<double>(elapsed).count() / static_cast<double>(played);
}
