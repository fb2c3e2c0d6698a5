#include "sim/RandomTest.h"

#include <algorithm>
#include <limits>
#include <thread>
#include <vector>

#include "engine/ShoeEngine.h"
#include "sim/ShoeRandom.h"

namespace {

// Shoes one worker plays between two progress reports (about 25 ms of work).
constexpr std::int64_t kShoesPerWorkerBlock = 32768;

struct RunTally {
    std::int64_t sum = 0;
    std::int64_t hands = 0;
};

// Plays the shoes with global indices [begin, end) (index = run x shoes + shoe, from 0) and adds
// each shoe's score and hands to the tally of its run, tallies[0] being run `firstRun`.
void PlaySpan(const ShoeSettings& settings, std::uint64_t seed, std::int64_t shoesPerRun,
              std::int64_t begin, std::int64_t end, std::int64_t firstRun,
              std::vector<RunTally>& tallies) {
    CShoeEngine engine(settings);
    for (std::int64_t g = begin; g < end; ++g) {
        const std::int64_t run = g / shoesPerRun;
        const int score = PlayRandomShoe(engine, seed, run + 1, g % shoesPerRun + 1);
        RunTally& tally = tallies[static_cast<std::size_t>(run - firstRun)];
        tally.sum += score;
        tally.hands += engine.m_nHandCount;
    }
}

int WorkerCount(int requested) {
    if (requested > 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

}  // namespace

std::int32_t RandomTestResult::TotalWinShown() const {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(totalWin, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

int PlayRandomShoe(CShoeEngine& engine, std::uint64_t seed, std::int64_t run, std::int64_t shoe) {
    CShoeRandom coin(seed, run, shoe);
    engine.m_bSimulating = 1;
    engine.ResetShoe();
    while (!engine.IsShoeOver()) engine.RecordHand(coin.NextSide());
    return engine.m_nScore;
}

std::string RandomShoeLetters(const ShoeSettings& settings, std::uint64_t seed, std::int64_t run,
                              std::int64_t shoe) {
    CShoeEngine engine(settings);
    PlayRandomShoe(engine, seed, run, shoe);
    return engine.ResultLetters(engine.m_nHandCount);
}

RandomTestResult RunRandomTestSequential(const ShoeSettings& settings,
                                         const RandomTestOptions& options) {
    RandomTestResult result;
    if (options.runs <= 0 || options.shoes <= 0) return result;
    CShoeEngine engine(settings);
    for (std::int64_t run = 1; run <= options.runs; ++run) {
        std::int64_t sum = 0;
        for (std::int64_t shoe = 1; shoe <= options.shoes; ++shoe) {
            sum += PlayRandomShoe(engine, options.seed, run, shoe);
            result.handsPlayed += engine.m_nHandCount;
        }
        result.totalWin += sum;
        result.shoesPlayed += options.shoes;
        result.lastRun = run;
        result.lastShoe = options.shoes;
        if (result.totalWin < 0 || sum < 0) {
            result.firstLossRun = run;
            break;
        }
    }
    return result;
}

RandomTestResult RunRandomTest(const ShoeSettings& settings, const RandomTestOptions& options,
                               const TestProgress& progress) {
    RandomTestResult result;
    if (options.runs <= 0 || options.shoes <= 0) return result;
    const std::int64_t perRun = options.shoes;
    // Shoe counts beyond 2^63 cannot finish in any case; saturate rather than overflow.
    const std::int64_t total = options.runs > std::numeric_limits<std::int64_t>::max() / perRun
                                   ? std::numeric_limits<std::int64_t>::max()
                                   : options.runs * perRun;
    const int workers = WorkerCount(options.threads);
    const std::int64_t block = kShoesPerWorkerBlock * workers;

    // The run in progress at the start of the current block, carried over block boundaries.
    RunTally open;
    std::int64_t done = 0;  // global index of the next shoe to play
    while (done < total) {
        const std::int64_t end = total - done > block ? done + block : total;
        const std::int64_t firstRun = done / perRun;
        const std::size_t runsInBlock = static_cast<std::size_t>((end - 1) / perRun - firstRun + 1);

        // Split the block into one contiguous span per worker; each keeps its own tallies.
        std::vector<std::vector<RunTally>> tallies(workers, std::vector<RunTally>(runsInBlock));
        {
            std::vector<std::jthread> threads;
            const std::int64_t span = (end - done + workers - 1) / workers;
            for (int w = 1; w < workers; ++w) {
                const std::int64_t b = std::min(end, done + span * w);
                const std::int64_t e = std::min(end, b + span);
                if (b < e) {
                    threads.emplace_back([&, b, e, w] {
                        PlaySpan(settings, options.seed, perRun, b, e, firstRun, tallies[w]);
                    });
                }
            }
            PlaySpan(settings, options.seed, perRun, done, std::min(end, done + span), firstRun,
                     tallies[0]);
        }

        // Close the runs in order, exactly as a single thread would have met them.
        for (std::size_t j = 0; j < runsInBlock; ++j) {
            for (const auto& worker : tallies) {
                open.sum += worker[j].sum;
                open.hands += worker[j].hands;
            }
            const std::int64_t run = firstRun + static_cast<std::int64_t>(j) + 1;  // from 1
            if (run * perRun > end) break;  // this run goes on in the next block
            result.totalWin += open.sum;
            result.handsPlayed += open.hands;
            result.shoesPlayed += perRun;
            result.lastRun = run;
            result.lastShoe = perRun;
            const bool negative = result.totalWin < 0 || open.sum < 0;
            open = {};
            if (negative) {
                result.firstLossRun = run;
                return result;
            }
        }
        done = end;

        if (done < total && progress &&
            !progress(static_cast<double>(done) / static_cast<double>(total))) {
            // Report the shoes of the unfinished run as well: they were played.
            result.cancelled = true;
            result.totalWin += open.sum;
            result.handsPlayed += open.hands;
            const std::int64_t inOpenRun = done % perRun;
            result.shoesPlayed += inOpenRun;
            if (inOpenRun > 0) {
                result.lastRun = done / perRun + 1;
                result.lastShoe = inOpenRun;
            }
            return result;
        }
    }
    return result;
}
