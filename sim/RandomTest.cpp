#include "sim/RandomTest.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <vector>

#include "engine/ShoeEngine.h"
#include "sim/BlockScheduler.h"
#include "sim/ShoeRandom.h"

namespace {

// Shoes in one block of work: a few milliseconds on one core. Small enough that the first losing
// run, a cancel or a signal is acted on at once; large enough that handing out blocks costs
// nothing measurable.
constexpr std::int64_t kBlockShoes = 4096;

struct Tally {
    std::int64_t sum = 0;  // units won
    std::int64_t hands = 0;
    CTestStats stats;  // of the same shoes

    Tally& operator+=(const Tally& t) {
        sum += t.sum;
        hands += t.hands;
        stats.Merge(t.stats);
        return *this;
    }
};

// What a block of shoes gave, cut at the ends of the runs in it. Shoes are numbered by a global
// index, (run - 1) x shoes per run + (shoe - 1).
//
// The test stops after the first run whose own sum is negative: the running total can turn
// negative only in such a run, since it is never negative before one. So a block can stop on
// its own at a negative run that begins and ends in it.
struct BlockTally {
    Tally head;                    // shoes of the run that began before the block
    bool headEnds = false;         // that run ends in the block
    Tally body;                    // runs begun and ended in the block, up to a negative one
    std::int64_t negativeRun = 0;  // that negative run (from 1); 0 when there is none
    Tally tail;                    // the run begun in the block that goes on after it
    std::int64_t played = 0;       // shoes played, from the block's first
    bool stopped = false;          // `stop` ended the block early
};

// Plays the shoes [begin, end) on `engine`, asking `stop` before each one.
template <typename Stop>
BlockTally PlayBlock(CShoeEngine& engine, Game game, std::uint64_t seed, std::int64_t perRun,
                     std::int64_t begin, std::int64_t end, const Stop& stop) {
    BlockTally b;
    bool inHead = begin % perRun != 0;
    Tally run;
    for (std::int64_t g = begin; g < end; ++g) {
        if (stop()) {
            b.stopped = true;
            break;
        }
        const std::int64_t runIndex = g / perRun;
        const ShoeOutcome shoe = PlayShoe(game, engine, seed, runIndex + 1, g % perRun + 1);
        run.sum += shoe.score;
        run.hands += shoe.hands;
        run.stats.Add(shoe, runIndex + 1, g % perRun + 1);
        ++b.played;
        if ((g + 1) % perRun != 0) continue;
        if (inHead) {
            b.head = run;
            b.headEnds = true;
            inHead = false;
        } else {
            b.body += run;
            if (run.sum < 0) {
                b.negativeRun = runIndex + 1;
                return b;
            }
        }
        run = {};
    }
    (inHead ? b.head : b.tail) = run;
    return b;
}

// Adds the blocks up in order into the result, as one thread playing shoe after shoe would.
class CTestTotals {
public:
    CTestTotals(std::int64_t perRun, RandomTestResult& result)
        : m_nPerRun(perRun), m_result(result) {}

    // Adds the block of shoes [begin, begin + b.played); false when the test ends in it.
    bool Add(const BlockTally& b, std::int64_t begin) {
        m_open += b.head;
        if (b.headEnds) {
            const bool negative = m_open.sum < 0;
            Close(begin / m_nPerRun + 1, negative);
            if (negative) return false;
        }
        // The body is whole runs, which close together at the last of them.
        m_open += b.body;
        const std::int64_t lastRun =
            b.negativeRun != 0 ? b.negativeRun : (begin + b.played) / m_nPerRun;
        if (lastRun > m_nClosedRuns) Close(lastRun, b.negativeRun != 0);
        if (b.negativeRun != 0) return false;
        m_open += b.tail;
        return true;
    }

    // The test was cancelled after the shoes [0, end): they count, the open run's too. A run in
    // progress that is already below zero, or that took the total below zero, is the first losing
    // run: a negative total beside "no losing run" would contradict itself.
    void Cancel(std::int64_t end) {
        m_result.cancelled = true;
        const bool losing = m_open.sum < 0 || m_result.totalWin + m_open.sum < 0;
        m_result.totalWin += m_open.sum;
        m_result.handsPlayed += m_open.hands;
        m_result.stats.Merge(m_open.stats);
        m_open = {};
        m_result.shoesPlayed = end;
        if (end % m_nPerRun != 0) {
            m_result.lastRun = end / m_nPerRun + 1;
            m_result.lastShoe = end % m_nPerRun;
            if (losing) m_result.firstLossRun = m_result.lastRun;
        }
    }

private:
    // Adds the open shoes to the figures, closing the runs up to `run` (from 1); a negative run
    // ends the test.
    void Close(std::int64_t run, bool negative) {
        m_result.totalWin += m_open.sum;
        m_result.handsPlayed += m_open.hands;
        m_result.stats.Merge(m_open.stats);
        m_open = {};
        m_nClosedRuns = run;
        m_result.shoesPlayed = run * m_nPerRun;
        m_result.lastRun = run;
        m_result.lastShoe = m_nPerRun;
        if (negative) m_result.firstLossRun = run;
    }

    const std::int64_t m_nPerRun;
    RandomTestResult& m_result;
    Tally m_open;  // shoes of the run in progress
    std::int64_t m_nClosedRuns = 0;
};

// runs x shoes; counts beyond 2^63 cannot finish in any case, so they saturate.
std::int64_t TotalShoes(const RandomTestOptions& o) {
    return o.runs > std::numeric_limits<std::int64_t>::max() / o.shoes
               ? std::numeric_limits<std::int64_t>::max()
               : o.runs * o.shoes;
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
                                         const RandomTestOptions& options,
                                         const std::function<bool()>& stop) {
    RandomTestResult result;
    result.game = options.game;
    if (options.runs <= 0 || options.shoes <= 0) return result;
    CShoeEngine engine(settings);
    const BlockTally b = PlayBlock(engine, options.game, options.seed, options.shoes, 0,
                                   TotalShoes(options), [&] { return stop && stop(); });
    CTestTotals totals(options.shoes, result);
    if (totals.Add(b, 0) && b.stopped) totals.Cancel(b.played);
    result.shoesSimulated = b.played;
    return result;
}

RandomTestResult RunRandomTest(const ShoeSettings& settings, const RandomTestOptions& options,
                               const TestProgress& progress) {
    RandomTestResult result;
    result.game = options.game;
    if (options.runs <= 0 || options.shoes <= 0) return result;
    const std::int64_t total = TotalShoes(options);
    const std::int64_t blocks = (total - 1) / kBlockShoes + 1;
    CBlockScheduler scheduler(blocks, CBlockScheduler::WorkerCount(options.threads));
    std::vector<BlockTally> slots(scheduler.Window());
    std::atomic<std::int64_t> simulated{0};

    CTestTotals totals(options.shoes, result);
    std::int64_t done = 0;  // shoes added up, in order from the first
    bool ended = false;
    scheduler.Run(
        [&](std::int64_t block) {
            const std::int64_t begin = block * kBlockShoes;
            CShoeEngine engine(settings);
            BlockTally& b = slots[scheduler.Slot(block)];
            b = PlayBlock(engine, options.game, options.seed, options.shoes, begin,
                          std::min(total, begin + kBlockShoes),
                          [&] { return scheduler.Abandoned(block); });
            simulated += b.played;
            if (b.negativeRun != 0) scheduler.EndAfter(block);
        },
        [&](std::int64_t block) {
            const BlockTally& b = slots[scheduler.Slot(block)];
            ended = !totals.Add(b, block * kBlockShoes);
            done = block * kBlockShoes + b.played;
            return !ended;
        },
        [&] {
            return !progress || progress(static_cast<double>(done) / static_cast<double>(total));
        });
    if (!ended && done < total) totals.Cancel(done);
    result.shoesSimulated = simulated;
    return result;
}
