#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/ShoeEngine.h"
#include "sim/RandomTest.h"

namespace {

bool Same(const RandomTestResult& a, const RandomTestResult& b) {
    return a.totalWin == b.totalWin && a.firstLossRun == b.firstLossRun &&
           a.shoesPlayed == b.shoesPlayed && a.handsPlayed == b.handsPlayed &&
           a.lastRun == b.lastRun && a.lastShoe == b.lastShoe && a.cancelled == b.cancelled;
}

TEST(RandomTest, NothingToPlay) {
    const ShoeSettings s;
    for (const auto& [runs, shoes] : {std::pair{0, 5}, {-3, 5}, {5, 0}, {5, -1}}) {
        const RandomTestResult r = RunRandomTest(s, {runs, shoes, 1, 2});
        EXPECT_TRUE(Same(r, RandomTestResult{})) << runs << " x " << shoes;
    }
}

// Settings that end every shoe before its first hand: every shoe scores 0, nothing goes
// negative, so all runs x shoes are played without a single hand.
TEST(RandomTest, ShoesOverAtOnce) {
    ShoeSettings s;
    s.m_nWinStopNum = 0;
    const RandomTestResult r = RunRandomTest(s, {7, 11, 3, 2});
    EXPECT_EQ(r.totalWin, 0);
    EXPECT_EQ(r.firstLossRun, 0);
    EXPECT_EQ(r.shoesPlayed, 77);
    EXPECT_EQ(r.handsPlayed, 0);
}

// The parallel test equals the plain one-thread loop, whatever the thread count, also when a
// run spans several blocks of work.
TEST(RandomTest, SameResultOnAnyNumberOfThreads) {
    const ShoeSettings s;
    for (const RandomTestOptions o :
         {RandomTestOptions{50, 20, 7, 0}, RandomTestOptions{3, 50000, 9, 0},
          RandomTestOptions{200, 300, 11, 0}}) {
        const RandomTestResult plain = RunRandomTestSequential(s, o);
        for (const int threads : {1, 2, 3}) {
            RandomTestOptions withThreads = o;
            withThreads.threads = threads;
            EXPECT_TRUE(Same(RunRandomTest(s, withThreads), plain))
                << o.runs << " x " << o.shoes << " on " << threads << " threads";
        }
    }
}

// The test stops after the first run whose own sum is negative even while the total is still
// positive, and that run counts in the total.
TEST(RandomTest, StopsOnFirstNegativeRun) {
    const ShoeSettings s;
    bool sawStopWithPositiveTotal = false;
    for (std::uint64_t seed = 1; seed <= 300 && !sawStopWithPositiveTotal; ++seed) {
        const RandomTestOptions o{20, 3, seed, 1};
        const RandomTestResult r = RunRandomTestSequential(s, o);
        // Recompute the runs one by one.
        CShoeEngine engine(s);
        std::int64_t total = 0, firstLoss = 0, lastRunSum = 0;
        for (int run = 1; run <= o.runs && firstLoss == 0; ++run) {
            lastRunSum = 0;
            for (int shoe = 1; shoe <= o.shoes; ++shoe)
                lastRunSum += PlayRandomShoe(engine, seed, run, shoe);
            total += lastRunSum;
            if (total < 0 || lastRunSum < 0) firstLoss = run;
        }
        ASSERT_EQ(r.totalWin, total);
        ASSERT_EQ(r.firstLossRun, firstLoss);
        ASSERT_EQ(r.shoesPlayed, (firstLoss ? firstLoss : o.runs) * o.shoes);
        if (firstLoss > 1 && total >= 0) {
            EXPECT_LT(lastRunSum, 0);
            sawStopWithPositiveTotal = true;
        }
    }
    EXPECT_TRUE(sawStopWithPositiveTotal);
}

TEST(RandomTest, CancelReportsWhatWasPlayed) {
    const ShoeSettings s;
    int calls = 0;
    const RandomTestResult r = RunRandomTest(s, {1, 1000000, 5, 1}, [&](double fraction) {
        EXPECT_GT(fraction, 0.0);
        EXPECT_LT(fraction, 1.0);
        return ++calls < 2;
    });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(r.shoesPlayed, 2 * 32768);
    EXPECT_EQ(r.lastRun, 1);
    EXPECT_EQ(r.lastShoe, 2 * 32768);
    EXPECT_EQ(r.firstLossRun, 0);
    EXPECT_GT(r.handsPlayed, r.shoesPlayed);
}

TEST(RandomTest, TotalShownSaturates) {
    RandomTestResult r;
    r.totalWin = 5'000'000'000;
    EXPECT_EQ(r.TotalWinShown(), INT32_MAX);
    r.totalWin = -5'000'000'000;
    EXPECT_EQ(r.TotalWinShown(), INT32_MIN);
    r.totalWin = -12;
    EXPECT_EQ(r.TotalWinShown(), -12);
}

// A fixed seed pins the whole test: a change in the engine's behaviour shows here as a changed
// number.
TEST(RandomTest, PinnedSeed) {
    const ShoeSettings s;
    const RandomTestResult r = RunRandomTest(s, {1, 10000, 20261211, 2});
    EXPECT_EQ(r.shoesPlayed, 10000);
    EXPECT_EQ(r.totalWin, -1370);
    EXPECT_EQ(r.handsPlayed, 303095);
    EXPECT_EQ(r.firstLossRun, 1);
}

// The random shoes are fair and independent of the seed: mean hands per shoe and mean score
// from two seeds agree within their standard errors.
TEST(RandomTest, MeansStableAcrossSeeds) {
    const ShoeSettings s;
    struct Stats {
        double meanHands, varHands, meanScore, varScore;
    };
    auto measure = [&](std::uint64_t seed) {
        const int n = 40000;
        CShoeEngine engine(s);
        double sh = 0, shh = 0, ss = 0, sss = 0;
        int banker = 0, hands = 0;
        for (int shoe = 1; shoe <= n; ++shoe) {
            const double score = PlayRandomShoe(engine, seed, 1, shoe);
            const double h = engine.m_nHandCount;
            for (int i = 0; i < engine.m_nHandCount; ++i)
                banker += engine.m_ResultCell[i].m_nSide == SIDE_BANKER;
            hands += engine.m_nHandCount;
            sh += h, shh += h * h, ss += score, sss += score * score;
        }
        // Banker and player each come out half the time.
        EXPECT_NEAR(static_cast<double>(banker) / hands, 0.5, 4 * 0.5 / std::sqrt(hands));
        return Stats{sh / n, (shh - sh * sh / n) / (n - 1) / n, ss / n,
                     (sss - ss * ss / n) / (n - 1) / n};
    };
    const Stats a = measure(1), b = measure(2);
    EXPECT_NEAR(a.meanHands, b.meanHands, 4 * std::sqrt(a.varHands + b.varHands));
    EXPECT_NEAR(a.meanScore, b.meanScore, 4 * std::sqrt(a.varScore + b.varScore));
    EXPECT_GT(a.meanHands, 5);
}

}  // namespace
