#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/roads/LiteralRoads.h"
#include "tests/roads/RoadTestSupport.h"

namespace {

void ExpectSame(const CShoeRoads& roads, const LiteralRoads& literal) {
    ASSERT_EQ(roads.Hands(), literal.hands);
    ASSERT_EQ(ColumnsOf(roads.BigRoad()), literal.bigRoad);
    ASSERT_EQ(roads.LeadingTies(), literal.leadingTies);
    for (int k = 1; k <= kDerivedRoads; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(ColumnsOf(roads.Derived(k)), literal.derived[k - 1]);
        ASSERT_EQ(roads.Preview(SIDE_BANKER, k), literal.preview[0][k - 1]);
        ASSERT_EQ(roads.Preview(SIDE_PLAYER, k), literal.preview[1][k - 1]);
    }
    ASSERT_EQ(roads.Counts(), literal.counts);
}

// Random shoes, from choppy to streaky, with ties and an occasional Back: after every step the
// roads built hand by hand equal the roads built from scratch, cell for cell and drawn position
// for drawn position, preview and counts included.
TEST(Property, IncrementalMatchesFromScratch) {
    std::mt19937 rng(7031);
    int tails = 0;  // big-road cells drawn off their own column, to show the shoes reach that
    for (int shoe = 0; shoe < 400; ++shoe) {
        const double repeat = std::uniform_real_distribution<double>(0.2, 0.9)(rng);
        const int length = std::uniform_int_distribution<int>(0, 90)(rng);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        CShoeRoads roads;
        std::vector<int> hands;
        int last = SIDE_BANKER;
        for (int step = 0; step < length; ++step) {
            if (!hands.empty() && unit(rng) < 0.05) {
                ASSERT_TRUE(roads.Back());
                hands.pop_back();
            } else {
                int side = SIDE_TIE;
                if (unit(rng) >= 0.1) {
                    side = unit(rng) < repeat ? last : SIDE_BANKER + SIDE_PLAYER - last;
                    last = side;
                }
                ASSERT_TRUE(roads.Add(side));
                hands.push_back(side);
            }
            SCOPED_TRACE(testing::Message() << "shoe " << shoe << " step " << step);
            ExpectSame(roads, BuildLiteralRoads(hands));
        }
        for (int c = 0; c < roads.BigRoad().Columns(); ++c) {
            const auto run = roads.BigRoad().Column(c);
            for (const CRoad::Cell& cell : run) tails += cell.column != run.front().column;
        }
        CShoeRoads rebuilt;
        rebuilt.Rebuild(hands);
        ASSERT_EQ(rebuilt, roads);
    }
    EXPECT_GT(tails, 0);
}

}  // namespace
