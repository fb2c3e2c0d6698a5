#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "sim/ShoeRandom.h"
#include "sim/TestStats.h"

namespace {

ShoeOutcome Shoe(int score, std::int64_t netCents, int hands = 0, int banker = 0, int player = 0,
                 int tie = 0, std::int64_t commissionCents = 0) {
    ShoeOutcome o;
    o.score = score;
    o.netCents = netCents;
    o.hands = hands;
    o.banker = banker;
    o.player = player;
    o.tie = tie;
    o.commissionCents = commissionCents;
    return o;
}

TEST(TestStats, Empty) {
    const CTestStats stats;
    EXPECT_EQ(stats.Shoes(), 0);
    EXPECT_EQ(stats.HandsPerShoe(), 0);
    const Estimate e = stats.Yuan();
    EXPECT_EQ(e.mean, 0);
    EXPECT_EQ(e.sd, 0);
    EXPECT_EQ(e.low, 0);
    EXPECT_EQ(stats.Worst(), MarkedShoe{});
}

// Eight shoes with scores 2 4 4 4 5 5 7 9: mean 5, sum of squared deviations 32.
TEST(TestStats, FiguresOfASmallTest) {
    CTestStats stats;
    const int scores[] = {2, 4, 4, 4, 5, 5, 7, 9};
    for (int i = 0; i < 8; ++i) {
        // Money: score x 100 yuan less 1.25 yuan commission, so the yuan figures are the score's
        // x 100 shifted by 1.25; the shoe with score 5 loses money once.
        const std::int64_t cents = i == 4 ? -1000 : scores[i] * 10000 - 125;
        stats.Add(Shoe(scores[i], cents, 40 + i, 20, 17, 3 + i, 125), 1, i + 1);
    }
    EXPECT_EQ(stats.Shoes(), 8);
    EXPECT_EQ(stats.TotalScore(), 40);
    const Estimate score = stats.Score();
    EXPECT_DOUBLE_EQ(score.mean, 5);
    EXPECT_DOUBLE_EQ(score.sd, std::sqrt(32.0 / 7));
    EXPECT_DOUBLE_EQ(score.se, std::sqrt(32.0 / 7 / 8));
    EXPECT_DOUBLE_EQ(score.low, 5 - 1.959963984540054 * score.se);
    EXPECT_DOUBLE_EQ(score.high, 5 + 1.959963984540054 * score.se);

    EXPECT_EQ(stats.HandsPerShoe(), (40 * 8 + 28) / 8.0);
    EXPECT_EQ(stats.Hands(), 40 * 8 + 28);
    EXPECT_EQ(stats.BankerHands(), 160);
    EXPECT_EQ(stats.PlayerHands(), 136);
    EXPECT_EQ(stats.TieHands(), 3 * 8 + 28);
    EXPECT_DOUBLE_EQ(stats.CommissionYuan(), 10.0);
    EXPECT_EQ(stats.ShoesWon(), 7);
    EXPECT_EQ(stats.ShoesLost(), 1);
    EXPECT_EQ(stats.ShoesEven(), 0);

    // Yuan: the reference two-pass formula over the same shoes.
    std::vector<double> yuan;
    for (int i = 0; i < 8; ++i) yuan.push_back(i == 4 ? -10.0 : scores[i] * 100 - 1.25);
    double mean = 0, squares = 0;
    for (const double y : yuan) mean += y / 8;
    for (const double y : yuan) squares += (y - mean) * (y - mean);
    EXPECT_DOUBLE_EQ(stats.Yuan().mean, mean);
    EXPECT_DOUBLE_EQ(stats.Yuan().sd, std::sqrt(squares / 7));
    EXPECT_DOUBLE_EQ(stats.NetYuan(), mean * 8);

    EXPECT_EQ(stats.Worst(), (MarkedShoe{5, -1000, 1, 5}));
    EXPECT_EQ(stats.Best(), (MarkedShoe{9, 89875, 1, 8}));
}

TEST(TestStats, SharesAndMarkedShoes) {
    CTestStats stats;
    stats.Add(Shoe(0, 0), 1, 1);
    stats.Add(Shoe(1, -500), 1, 2);   // score won, money lost: money decides
    stats.Add(Shoe(-3, -500), 2, 1);  // equal money: the lower score is worse
    stats.Add(Shoe(-3, -500), 2, 2);  // an equal shoe later does not replace it
    stats.Add(Shoe(2, 500), 3, 1);
    stats.Add(Shoe(4, 500), 3, 2);  // equal money: the higher score is better
    stats.Add(Shoe(0, 0), 3, 3);
    EXPECT_EQ(stats.ShoesWon(), 2);
    EXPECT_EQ(stats.ShoesLost(), 3);
    EXPECT_EQ(stats.ShoesEven(), 2);
    EXPECT_EQ(stats.Worst(), (MarkedShoe{-3, -500, 2, 1}));
    EXPECT_EQ(stats.Best(), (MarkedShoe{4, 500, 3, 2}));
}

// Accumulators filled part by part and merged in any order give exactly the figures of one
// accumulator that saw every shoe, as a test split over threads needs.
TEST(TestStats, MergeIsExactInAnyOrder) {
    CShoeRandom random(3, 1, 1, CShoeRandom::kCardStream);
    std::vector<ShoeOutcome> shoes;
    for (int i = 0; i < 1000; ++i) {
        const std::uint64_t r = random.Next64();
        // Duplicates of money and score on purpose, so the marked shoes need the tie-break.
        const int score = static_cast<int>(r % 21) - 10;
        shoes.push_back(Shoe(score, score * 9500 - static_cast<int>((r >> 8) % 3) * 100,
                             static_cast<int>((r >> 16) % 66), static_cast<int>((r >> 24) % 30),
                             static_cast<int>((r >> 32) % 30), static_cast<int>((r >> 40) % 6),
                             static_cast<std::int64_t>((r >> 48) % 700)));
    }
    CTestStats whole;
    for (int i = 0; i < 1000; ++i) whole.Add(shoes[i], i / 100 + 1, i % 100 + 1);

    for (const int parts : {1, 2, 3, 7, 1000}) {
        std::vector<CTestStats> partial(parts);
        for (int i = 0; i < 1000; ++i)
            partial[i * parts / 1000].Add(shoes[i], i / 100 + 1, i % 100 + 1);
        CTestStats forward, backward;
        for (int p = 0; p < parts; ++p) forward.Merge(partial[p]);
        for (int p = parts - 1; p >= 0; --p) backward.Merge(partial[p]);
        EXPECT_EQ(forward, whole) << parts << " parts";
        EXPECT_EQ(backward, whole) << parts << " parts, merged backwards";
    }
    CTestStats withEmpty = whole;
    withEmpty.Merge(CTestStats{});
    EXPECT_EQ(withEmpty, whole);
}

// Large figures with a small spread keep their spread: the sums are exact and the variance is
// taken around the mean, not from the raw sum of squares.
TEST(TestStats, SpreadSurvivesALargeMean) {
    struct Case {
        const char* name;
        std::int64_t base;  // cents
        int shoes;
    };
    const Case cases[] = {
        {"a billion yuan a shoe", 100'000'000'000, 1000},
        // 4e18 squared is 1.6e37: forty of them pass 2^128 and the sum of squares wraps.
        {"squares past 128 bits", 4'000'000'000'000'000'000, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestStats stats;
        for (int i = 0; i < c.shoes; ++i) stats.Add(Shoe(0, c.base + (i % 2) * 200));
        // Half the shoes at base, half at base + 2 yuan: deviations of 1 yuan from the mean.
        const double n = c.shoes;
        EXPECT_DOUBLE_EQ(stats.Yuan().sd, std::sqrt(n / (n - 1)));
        EXPECT_DOUBLE_EQ(stats.Yuan().mean, static_cast<double>(c.base) / 100 + 1);
    }
}

}  // namespace
