#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "engine/Settings.h"
#include "platform/FileAccess.h"
#include "sim/RandomTest.h"

// A search over a grid of win-stop and stop-loss pairs around a starting pair.
struct SearchOptions {
    std::int32_t win = 29;        // W0, the starting win-stop
    std::int32_t loss = 292;      // L0, the starting stop-loss
    std::int32_t winRadius = 10;  // the win-stop runs from W0 - winRadius to W0 + winRadius
    std::int32_t lossRadius =
        10;                 // the stop-loss runs from L0 + lossRadius down to L0 - lossRadius
    std::int64_t runs = 1;  // random test at every point: runs x shoes
    std::int64_t shoes = 1;
    std::uint64_t seed = 0;        // every point plays the same shoes (common random numbers)
    int threads = 0;               // worker threads; 0 uses every core
    std::filesystem::path folder;  // where the ranking file goes
};

// The work a search will do, shown before it starts.
struct SearchEstimate {
    std::int64_t gridPoints = 0;  // 0 for a negative radius
    std::string shoes;            // grid points x runs x shoes, in full (it may pass 64 bits)
    float minutes = 0;            // at `secondsPerShoe`
};
// The shoe count, and the minutes at `secondsPerShoe` (the program's traditional figure of 0.05
// by default; the window passes this machine's measured speed).
SearchEstimate EstimateSearch(const SearchOptions& options, double secondsPerShoe = 0.05);

// "最优参数记录表_<L0>_<W0>.ini" in the options' folder.
std::filesystem::path RankingFilePath(const SearchOptions& options);

// What the search found.
struct SearchResult {
    std::int32_t bestWin = 0;  // the pair ranked first; 0 and 0 when nothing was ranked
    std::int32_t bestLoss = 0;
    float bestAverage = 0;  // its average units won per shoe
    float bestYield = 0;    // its average as a percentage of its stop-loss
    std::int64_t gridPoints = 0;
    std::int64_t pointsDone = 0;
    bool cancelled = false;
    std::filesystem::path file;
    FileResult fileError;  // the first failure to write the ranking file, if any
    // The last point tested, with its test, so a caller can show it.
    std::int32_t lastWin = 0;
    std::int32_t lastLoss = 0;
    RandomTestResult lastTest;
};

// Called after each block of grid points with the fraction done; returning false cancels. A
// cancelled search leaves the ranking file as far as it got.
using SearchProgress = std::function<bool(double fraction)>;

// Runs the random test at every grid point (stop-loss outer and descending, win-stop inner and
// ascending), ranks the six best pairs by yield into the ranking file, and reports the best.
// `base` supplies the other six settings; it is not changed.
SearchResult RunSearch(const ShoeSettings& base, const SearchOptions& options,
                       const SearchProgress& progress = {});

// The six-row ranking, kept in grid order: a pair enters at the first rank whose yield it beats
// strictly, moving the rows below it down one rank.
class CRanking {
public:
    static constexpr int kRows = 6;

    // Offers a pair; returns the rank (1 to 6) it took, or 0. Only pairs whose test never went
    // negative (firstLossRun 0) are ranked.
    int Offer(std::int32_t win, std::int32_t loss, float average, float yield,
              std::int64_t firstLossRun);

    // Row text of rank 1 to 6, if filled.
    const std::optional<std::string>& Row(int rank) const { return m_rows[rank - 1]; }
    float Threshold(int rank) const { return m_yield[rank - 1]; }

private:
    std::array<float, kRows> m_yield{};
    std::array<std::optional<std::string>, kRows> m_rows;
};

// Average units per shoe, and the yield of that average on the stop-loss, as the ranking uses
// them (single precision).
float SearchAverage(std::int64_t totalWin, std::int64_t runs, std::int64_t shoes);
float SearchYield(float average, std::int32_t loss);

// The window's texts around a search (UTF-8): the question before it starts, and the report.
std::string SearchQuestionText(const SearchOptions& options, const SearchEstimate& estimate);
std::string SearchReportText(const SearchOptions& options, const SearchResult& result);
