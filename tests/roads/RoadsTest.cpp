#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/roads/RoadTestSupport.h"

namespace {

using Rows = std::vector<std::string>;

// The big road on known shoes: where the ties go, how runs fill their columns, and where a run
// that cannot go down any further turns.
TEST(BigRoad, KnownShoes) {
    struct Case {
        const char* name;
        const char* hands;
        const char* columns;
        int leadingTies;
        Rows picture;
    };
    const Case cases[] = {
        {"ties at the start go on the first cell",
         "TTBPB",
         "B2 P B",
         2,
         {"BPB", "...", "...", "...", "...", "..."}},
        {"ties stack on one cell",
         "BTTTPTB",
         "B3 P1 B",
         0,
         {"BPB", "...", "...", "...", "...", "..."}},
        {"leading ties and later ties add up",
         "TBTTBP",
         "B3B P",
         1,
         {"BP", "B.", "..", "..", "..", ".."}},
        {"a shoe of ties only has no cell", "TTT", "", 3, {"", "", "", "", "", ""}},
        {"alternating hands",
         "BPBPBP",
         "B P B P B P",
         0,
         {"BPBPBP", "......", "......", "......", "......", "......"}},
        {"a dragon longer than six turns right",
         "BBBBBBBBB",
         "BBBBBBBBB",
         0,
         {"B...", "B...", "B...", "B...", "B...", "BBBB"}},
        {"a tail below makes the next run turn one row higher",
         "BBBBBBBBPPPPPPPB",
         "BBBBBBBB PPPPPPP B",
         0,
         {"BPB.", "BP..", "BP..", "BP..", "BPPP", "BBB."}},
        // Tails stacked up to the second row: the sixth run turns along the top row, so the
        // seventh starts in the first column whose top is free.
        {"stacked tails push a run past the top-row tail",
         "BBBBBBBPPPPPPBBBBBPPPPBBBPPB",
         "BBBBBBB PPPPPP BBBBB PPPP BBB PP B",
         0,
         {"BPBPBPPB", "BPBPBB..", "BPBPP...", "BPBB....", "BPP.....", "BB......"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CShoeRoads roads = RoadsOf(c.hands);
        EXPECT_EQ(ColumnsText(roads.BigRoad(), true), c.columns);
        EXPECT_EQ(roads.LeadingTies(), c.leadingTies);
        EXPECT_EQ(Picture(roads.BigRoad(), true), c.picture);
        EXPECT_EQ(roads.Hands(), SidesOf(c.hands));  // the bead plate keeps every hand
    }
}

// Where each derived road starts and the colour of its first mark. A derived road starts at row
// 2 of column k + 1, or at column k + 2 when column k + 1 has one cell.
TEST(DerivedRoads, StartAndFirstMark) {
    struct Case {
        const char* hands;
        int k;
        const char* columns;
    };
    const Case cases[] = {
        {"BP", kBigEyeBoy, ""},        {"BBP", kBigEyeBoy, ""},
        {"BPP", kBigEyeBoy, "B"},    // column 1 stops one row short of row 2
        {"BBPP", kBigEyeBoy, "R"},   // column 1 reaches row 2
        {"BBPB", kBigEyeBoy, "B"},   // columns 2 and 1 differ in length
        {"BPB", kBigEyeBoy, "R"},    // columns 2 and 1 are equally long
        {"BTPTB", kBigEyeBoy, "R"},  // ties change nothing
        {"BPB", kSmallRoad, ""},       {"BPBB", kSmallRoad, "B"},
        {"BPBP", kSmallRoad, "R"},     {"BBPPBB", kSmallRoad, "R"},
        {"BPBP", kCockroachPig, ""},   {"BPBPP", kCockroachPig, "B"},
        {"BPBPB", kCockroachPig, "R"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hands) + " k=" + std::to_string(c.k));
        EXPECT_EQ(ColumnsText(RoadsOf(c.hands).Derived(c.k), false), c.columns);
    }
}

// Worked shoes: every mark of the three derived roads and the preview.
TEST(DerivedRoads, WorkedShoes) {
    struct Case {
        const char* name;
        const char* hands;
        const char* bigEyeBoy;
        const char* smallRoad;
        const char* cockroachPig;
        const char* preview;  // banker then player: big eye boy, small road, cockroach pig
    };
    const Case cases[] = {
        // Big road columns of 2, 1, 3, 2 and 1 cells.
        {"mixed runs", "BBPBBBPPB", "BB R B R B", "R BBBB", "RR", "RRB BBR"},
        // Every column has one cell: each new column repeats the pattern (red), and a second
        // cell would stop one row below a column of one (blue).
        {"alternating", "BPBPBPBPBPBP", "RRRRRRRRRR", "RRRRRRRRR", "RRRRRRRR", "RRR BBB"},
        // Columns of 2 and 3 in turn: the big eye boy and the cockroach pig see the change of
        // length, the small road sees the same length every time.
        {"columns of two and three", "BBPPPBBPPP", "R BB R B R B", "RRRR", "R B", "BRB RBR"},
        // The cockroach pig never starts: column 4 is never reached.
        {"a dragon", "BPBBBBBBBB", "R B RRRRRR", "B RRRRRR", "", "RR- BB-"},
        {"no derived road yet", "BTTP", "", "", "", "R-- B--"},
        {"empty shoe", "", "", "", "", "--- ---"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CShoeRoads roads = RoadsOf(c.hands);
        EXPECT_EQ(ColumnsText(roads.Derived(kBigEyeBoy), false), c.bigEyeBoy);
        EXPECT_EQ(ColumnsText(roads.Derived(kSmallRoad), false), c.smallRoad);
        EXPECT_EQ(ColumnsText(roads.Derived(kCockroachPig), false), c.cockroachPig);
        EXPECT_EQ(PreviewText(roads), c.preview);
    }
}

// A derived road is drawn like the big road: ten reds in one column turn right at the bottom.
TEST(DerivedRoads, LongColumnHasADragonTail) {
    const CShoeRoads roads = RoadsOf("BPBPBPBPBPBP");
    EXPECT_EQ(Picture(roads.Derived(kBigEyeBoy), false),
              (Rows{"R....", "R....", "R....", "R....", "R....", "RRRRR"}));
}

// A full shoe of 66 hands with ties, a dragon of seven in the big road and one of ten blues in
// the small road, pinned whole.
TEST(ShoeRoads, FullShoe) {
    const char* hands = "TBPPBTBBBPBPPPTBBPBBBBBBBPPTPBPBBPPPBTPBBPPBPBBBTPPPPBPBTBBPPBPBPB";
    ASSERT_EQ(std::string(hands).size(), 66u);
    const CShoeRoads roads = RoadsOf(hands);
    EXPECT_EQ(roads.Hands(), SidesOf(hands));
    EXPECT_EQ(roads.LeadingTies(), 1);
    EXPECT_EQ(ColumnsText(roads.BigRoad(), true),
              "B1 PP B1BBB P B PPP1 BB P BBBBBBB PP1P B P BB PPP B1 P BB PP B P BBB1 PPPP B P "
              "B1BB PP B P B P B");
    EXPECT_EQ(Picture(roads.BigRoad(), true), (Rows{
                                                  "BPBPBPBPBPBPBPBPBPBPBPBPBPBPBPB",
                                                  ".PB..PB.BP..BP..BP..BP..BP.....",
                                                  "..B..P..BP...P......BP..B......",
                                                  "..B.....B............P.........",
                                                  "........B......................",
                                                  "........BB.....................",
                                              }));
    EXPECT_EQ(ColumnsText(roads.Derived(kBigEyeBoy), false),
              "BB R B R BB R B R B R BBB RRRRR B RR BB R BB R BBB R BB RR B R B R B RR BBB R B "
              "R B R BB RRR");
    EXPECT_EQ(ColumnsText(roads.Derived(kSmallRoad), false),
              "B RR BBBB R BBBB R B RRRR BB R BBBBBB R BBBBBBBBBB R BB RR BBBB R BBBBB RR");
    EXPECT_EQ(Picture(roads.Derived(kSmallRoad), false), (Rows{
                                                             "BRBRBRBRBRBRBRBRBRBR",
                                                             ".RB.B..RB.B.B.BRB.BR",
                                                             "..B.B..R..B.B...B.B.",
                                                             "..B.B..R..B.B...B.B.",
                                                             "..........B.B.....B.",
                                                             "..........B.BBBBB...",
                                                         }));
    EXPECT_EQ(ColumnsText(roads.Derived(kCockroachPig), false),
              "R B RR BBB RRR B RRR B R BB R B R BB R B R B R BBB R B R BBB RR B R B RR BBB R "
              "BB R");
    EXPECT_EQ(PreviewText(roads), "BBB RRR");
    EXPECT_EQ(roads.Counts(), (RoadCounts{32, 27, 7, 7, 4, 31}));
}

TEST(Counts, HandsSharesAndLongestRuns) {
    struct Case {
        const char* hands;
        RoadCounts counts;
    };
    const Case cases[] = {
        {"", {0, 0, 0, 0, 0, 0}},
        {"TT", {0, 0, 2, 0, 0, 0}},
        {"TTBPB", {2, 1, 2, 1, 1, 3}},
        {"BBBTBPPT", {4, 2, 2, 4, 2, 2}},  // a tie inside a run does not break it
        {"PPPBPPPPPB", {2, 8, 0, 1, 5, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hands);
        EXPECT_EQ(RoadsOf(c.hands).Counts(), c.counts);
    }
    const RoadCounts counts = RoadsOf("BBBTBPPT").Counts();
    EXPECT_DOUBLE_EQ(counts.Share(counts.banker), 50.0);
    EXPECT_DOUBLE_EQ(counts.Share(counts.tie), 25.0);
    EXPECT_DOUBLE_EQ(RoadCounts{}.Share(0), 0.0);
}

// Only banker, player and tie enter the roads; Back takes the last hand away, tie or not.
TEST(ShoeRoads, RefusesOtherSidesAndBacksOneHand) {
    CShoeRoads roads;
    EXPECT_FALSE(roads.Back());
    EXPECT_FALSE(roads.Add(SIDE_NONE));
    EXPECT_FALSE(roads.Add(SIDE_PAUSE));
    EXPECT_EQ(roads, CShoeRoads{});

    roads = RoadsOf("TBBPT");
    ASSERT_TRUE(roads.Back());
    EXPECT_EQ(roads, RoadsOf("TBBP"));
    ASSERT_TRUE(roads.Back());
    EXPECT_EQ(roads, RoadsOf("TBB"));
    roads.Rebuild(SidesOf("T"));
    ASSERT_TRUE(roads.Back());
    EXPECT_EQ(roads, CShoeRoads{});
}

}  // namespace
