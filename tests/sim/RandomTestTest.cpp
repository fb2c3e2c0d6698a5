#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "engine/ShoeEngine.h"
#include "sim/RandomTest.h"

namespace {

bool Same(const RandomTestResult& a, const RandomTestResult& b) {
    return a.totalWin == b.totalWin && a.firstLossRun == b.firstLossRun &&
           a.shoesPlayed == b.shoesPlayed && a.handsPlayed == b.handsPlayed &&
           a.lastRun == b.lastRun && a.lastShoe == b.lastShoe && a.cancelled == b.cancelled &&
           a.game == b.game && a.stats == b.stats;
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
          RandomTestOptions{200, 300, 11, 0}, RandomTestOptions{40000, 1, 13, 0},
          RandomTestOptions{5, 4096, 17, 0}}) {
        const RandomTestResult plain = RunRandomTestSequential(s, o);
        for (const int threads : {1, 2, 3, 16}) {
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

// The shoes [0, n) of a test, added up one by one as the plain loop would: the total and hands.
std::pair<std::int64_t, std::int64_t> FirstShoes(const ShoeSettings& s, const RandomTestOptions& o,
                                                 std::int64_t n) {
    CShoeEngine engine(s);
    std::int64_t total = 0, hands = 0;
    for (std::int64_t g = 0; g < n; ++g) {
        total += PlayRandomShoe(engine, o.seed, g / o.shoes + 1, g % o.shoes + 1);
        hands += engine.m_nHandCount;
    }
    return {total, hands};
}

// A cancel stops the test between blocks; it reports the shoes played in order up to then, with
// the part of the run in progress, exactly as the plain loop would have added them up.
TEST(RandomTest, CancelReportsWhatWasPlayed) {
    const ShoeSettings s;
    for (const int threads : {1, 2, 5}) {
        SCOPED_TRACE(threads);
        const RandomTestOptions o{3, 400000, 5, threads};
        int calls = 0;
        const RandomTestResult r = RunRandomTest(s, o, [&](double fraction) {
            EXPECT_GE(fraction, 0.0);
            EXPECT_LT(fraction, 1.0);
            return fraction == 0.0 || ++calls < 2;
        });
        ASSERT_TRUE(r.cancelled);
        EXPECT_GT(r.shoesPlayed, 0);
        EXPECT_LT(r.shoesPlayed, o.shoes);  // still in the first run
        EXPECT_EQ(r.lastRun, 1);
        EXPECT_EQ(r.lastShoe, r.shoesPlayed);
        const auto [total, hands] = FirstShoes(s, o, r.shoesPlayed);
        // The run in progress is the first losing run once its shoes are below zero.
        EXPECT_EQ(r.firstLossRun, total < 0 ? 1 : 0);
        EXPECT_EQ(r.totalWin, total);
        EXPECT_EQ(r.handsPlayed, hands);
    }
    // The plain test cancels between shoes.
    int shoes = 0;
    const RandomTestOptions o{4, 3, 5, 1};
    const RandomTestResult r = RunRandomTestSequential(s, o, [&] { return ++shoes > 7; });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.shoesPlayed, 7);
    EXPECT_EQ(r.lastRun, 3);
    EXPECT_EQ(r.lastShoe, 1);
    EXPECT_EQ(r.totalWin, FirstShoes(s, o, 7).first);
}

// Cancelled inside a run whose shoes so far are below zero, the test names that run as its
// first losing run, after runs that closed above zero and with a closed losing run alike.
TEST(RandomTest, CancelInsideALosingRunNamesIt) {
    const ShoeSettings s;
    struct Case {
        std::int64_t runs, shoes;
    };
    for (const Case c : {Case{1, 20}, Case{5, 6}}) {
        bool found = false;
        for (std::uint64_t seed = 1; seed < 200 && !found; ++seed) {
            const RandomTestOptions o{c.runs, c.shoes, seed, 1};
            // Stop after shoe 3 of the last run, once the shoes of that run so far are negative.
            const std::int64_t before = (c.runs - 1) * c.shoes;
            const std::int64_t stopAt = before + 3;
            const RandomTestResult full = RunRandomTestSequential(s, o, [] { return false; });
            if (full.firstLossRun != 0 && full.firstLossRun < c.runs) continue;
            const std::int64_t inRun =
                FirstShoes(s, o, stopAt).first - FirstShoes(s, o, before).first;
            if (inRun >= 0) continue;
            SCOPED_TRACE(testing::Message() << "seed " << seed << " runs " << c.runs);
            int shoes = 0;
            const RandomTestResult r =
                RunRandomTestSequential(s, o, [&] { return ++shoes > stopAt; });
            ASSERT_TRUE(r.cancelled);
            EXPECT_EQ(r.shoesPlayed, stopAt);
            EXPECT_EQ(r.firstLossRun, c.runs);
            found = true;
        }
        EXPECT_TRUE(found) << "no seed loses early in its last run";
    }
}

// A seed whose test loses in its first few runs of one shoe each.
std::uint64_t SeedLosingEarly(const ShoeSettings& s) {
    for (std::uint64_t seed = 1;; ++seed) {
        const RandomTestResult r = RunRandomTestSequential(s, {20, 1, seed, 1});
        if (r.firstLossRun > 0 && r.firstLossRun <= 10) return seed;
    }
}

// The test ends within a small, fixed amount of work after its first losing run, whatever the
// number of runs and threads: one thread plays not a shoe more, and many threads no more than the
// blocks they may run ahead. Memory is bounded the same way.
TEST(RandomTest, FirstLossEndsTheTestAtOnce) {
    const ShoeSettings s;
    const std::uint64_t seed = SeedLosingEarly(s);
    const RandomTestResult plain = RunRandomTestSequential(s, {20, 1, seed, 1});
    for (const int threads : {1, 4, 64}) {
        SCOPED_TRACE(threads);
        const RandomTestOptions o{100'000'000'000, 1, seed, threads};
        const RandomTestResult r = RunRandomTest(s, o);
        EXPECT_TRUE(Same(r, plain));
        if (threads == 1) {
            EXPECT_EQ(r.shoesSimulated, plain.shoesPlayed);
        } else {
            // Two blocks of 4096 shoes per worker at the most.
            EXPECT_LE(r.shoesSimulated, 2 * threads * 4096);
        }
    }
    // A negative run found when the blocks are added up, as it spans several, ends it as well.
    const RandomTestOptions spanning{1'000'000, 20'000, 12, 2};
    const RandomTestResult r = RunRandomTest(s, spanning);
    ASSERT_GT(r.firstLossRun, 0);
    EXPECT_TRUE(Same(r, RunRandomTestSequential(s, spanning)));
    EXPECT_LE(r.shoesSimulated, r.shoesPlayed + 2 * 2 * 4096);
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

// The statistics of the shoes [0, n) of a test of `o`'s game, added one by one.
CTestStats StatsOfFirstShoes(const ShoeSettings& s, const RandomTestOptions& o, std::int64_t n) {
    CShoeEngine engine(s);
    CTestStats stats;
    for (std::int64_t g = 0; g < n; ++g) {
        const std::int64_t run = g / o.shoes + 1, shoe = g % o.shoes + 1;
        stats.Add(PlayShoe(o.game, engine, o.seed, run, shoe), run, shoe);
    }
    return stats;
}

// In either game the statistics cover exactly the shoes the totals count: a whole test, one that
// stops at its first losing run (part way through a block, or spanning several), and a cancelled
// one, on any number of threads.
TEST(RandomTest, StatisticsCoverTheShoesCounted) {
    const ShoeSettings s;
    for (const Game game : {Game::Coin, Game::Cards}) {
        SCOPED_TRACE(GameName(game));
        std::uint64_t losing = 1;
        while (RunRandomTestSequential(s, {20, 1, losing, 1, game}).firstLossRun == 0) ++losing;
        for (const RandomTestOptions o :
             {RandomTestOptions{1, 5000, 3, 0, game}, RandomTestOptions{20, 1, losing, 0, game},
              RandomTestOptions{1000, 300, 11, 0, game}, RandomTestOptions{3, 9000, 12, 0, game}}) {
            SCOPED_TRACE(testing::Message() << o.runs << " x " << o.shoes << " seed " << o.seed);
            const RandomTestResult plain = RunRandomTestSequential(s, o);
            EXPECT_EQ(plain.game, game);
            EXPECT_EQ(plain.stats, StatsOfFirstShoes(s, o, plain.shoesPlayed));
            EXPECT_EQ(plain.stats.Shoes(), plain.shoesPlayed);
            EXPECT_EQ(plain.stats.Hands(), plain.handsPlayed);
            EXPECT_EQ(plain.stats.TotalScore(), plain.totalWin);
            for (const int threads : {1, 2, 3}) {
                RandomTestOptions withThreads = o;
                withThreads.threads = threads;
                EXPECT_TRUE(Same(RunRandomTest(s, withThreads), plain)) << threads << " threads";
            }
        }
        // Cancelled after the second block is added up: the shoes counted, the open run's too.
        const RandomTestOptions o{2, 300000, 5, 2, game};
        int calls = 0;
        const RandomTestResult r =
            RunRandomTest(s, o, [&](double fraction) { return fraction == 0.0 || ++calls < 2; });
        ASSERT_TRUE(r.cancelled);
        EXPECT_EQ(r.stats, StatsOfFirstShoes(s, o, r.shoesPlayed));
        EXPECT_EQ(r.stats.TotalScore(), r.totalWin);
    }
}

// The coin game has no ties and no commission, and its money is the score in base units.
TEST(RandomTest, CoinStatisticsAreTheScoreInYuan) {
    const ShoeSettings s;
    const double unit = CShoeEngine(s).BaseUnit();
    ASSERT_GT(unit, 1);
    const RandomTestResult r = RunRandomTest(s, {1, 3000, 8, 2});
    const CTestStats& st = r.stats;
    EXPECT_EQ(st.TieHands(), 0);
    EXPECT_EQ(st.BankerHands() + st.PlayerHands(), r.handsPlayed);
    EXPECT_EQ(st.CommissionYuan(), 0.0);
    EXPECT_EQ(st.NetYuan(), static_cast<double>(r.totalWin) * unit);
    EXPECT_NEAR(st.Yuan().mean, st.Score().mean * unit, 1e-9);
    EXPECT_NEAR(st.Yuan().se, st.Score().se * unit, 1e-9);
}

// A fixed seed of the card game pins its figures: a change in the dealing, the drawing rules,
// the engine or the money shows here as a changed number.
TEST(RandomTest, PinnedCardsSeed) {
    const ShoeSettings s;
    const RandomTestResult r = RunRandomTest(s, {1, 10000, 20261211, 2, Game::Cards});
    const CTestStats& st = r.stats;
    EXPECT_EQ(r.shoesPlayed, 10000);
    EXPECT_EQ(r.totalWin, 2286);
    EXPECT_EQ(r.handsPlayed, 331435);
    EXPECT_EQ(r.firstLossRun, 0);
    EXPECT_EQ(st.BankerHands(), 152362);
    EXPECT_EQ(st.TieHands(), 31422);
    EXPECT_EQ(st.NetYuan(), -2296050.0);
    EXPECT_EQ(st.CommissionYuan(), 2524650.0);
    EXPECT_EQ(st.ShoesWon(), 9304);
    EXPECT_EQ(st.ShoesLost(), 696);
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
