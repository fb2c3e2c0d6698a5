#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace {

// A shoe with hand 19 entered (m_nHandCount 20), advice pending for hand 20, and the win-stop
// reached.
struct StopFixture {
    ShoeSettings s;
    CShoeEngine e{s};
    StopFixture(int mode, int lastValue, int runLength) {
        s.m_nAfterWinStop = mode;
        e.ResetShoe();
        e.m_nHandCount = 20;
        e.m_nScore = s.m_nWinStopMoney;
        e.m_AdviceCell[19] = {1, lastValue, SIDE_BANKER};
        e.m_AdviceCell[20] = {1, 0, SIDE_BANKER};
        e.m_nRunIndex = 2;
        e.m_nRunLen[2] = runLength;
    }
};

TEST(IsShoeOver, AfterStopModes) {
    struct Case {
        const char* name;
        int mode, lastValue, run;
        int over;
    };
    const Case cases[] = {
        {"mode 0 stops at once", 0, 3, 6, 1},
        {"mode 2 goes on after a won hand", 2, 3, 1, 0},
        {"mode 2 goes on after a tie or pause", 2, 0, 1, 0},
        {"mode 2 stops after a lost hand", 2, -3, 6, 1},
        {"mode 1 goes on while a won hand lengthens a long run", 1, 3, 4, 0},
        {"mode 1 stops on a short run", 1, 3, 3, 1},
        {"mode 1 stops after a lost hand", 1, -3, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StopFixture f(c.mode, c.lastValue, c.run);
        EXPECT_EQ(f.e.IsShoeOver(), c.over);
        // The pending advice is emptied only when the shoe is over; its show flag stays.
        EXPECT_EQ(f.e.m_AdviceCell[20], (CCellRecord{1, 0, c.over ? SIDE_NONE : SIDE_BANKER}));
        // Asking again changes nothing.
        const CShoeEngine after = f.e;
        EXPECT_EQ(f.e.IsShoeOver(), c.over);
        EXPECT_EQ(f.e, after);
    }
}

TEST(IsShoeOver, EachStopRule) {
    struct Case {
        const char* name;
        void (*setup)(ShoeSettings&, CShoeEngine&);
        int over;
    };
    const Case cases[] = {
        {"nothing fires", [](ShoeSettings&, CShoeEngine&) {}, 0},
        {"win-stop", [](ShoeSettings& s, CShoeEngine& e) { e.m_nScore = s.m_nWinStopMoney; }, 1},
        {"just below win-stop",
         [](ShoeSettings& s, CShoeEngine& e) { e.m_nScore = s.m_nWinStopMoney - 1; }, 0},
        {"stop-loss", [](ShoeSettings& s, CShoeEngine& e) { e.m_nScore = -s.m_nLossStopMoney; }, 1},
        {"just above stop-loss",
         [](ShoeSettings& s, CShoeEngine& e) { e.m_nScore = 1 - s.m_nLossStopMoney; }, 0},
        {"won cycles", [](ShoeSettings& s, CShoeEngine& e) { e.m_nWinCycles = s.m_nWinStopNum; },
         1},
        {"danger", [](ShoeSettings& s, CShoeEngine& e) { e.m_nDangerCount = s.m_nDangerous2; }, 1},
        {"full shoe", [](ShoeSettings&, CShoeEngine& e) { e.m_nHandCount = 66; }, 1},
        {"most negative stop-loss ends at once",
         [](ShoeSettings& s, CShoeEngine&) { s.m_nLossStopMoney = INT32_MIN; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShoeSettings s;
        CShoeEngine e(s);
        e.ResetShoe();
        e.m_nHandCount = 10;
        c.setup(s, e);
        EXPECT_EQ(e.IsShoeOver(), c.over);
    }
}

// A full shoe is over in every mode, even after a won hand on a long run.
TEST(IsShoeOver, FullShoeAlwaysOver) {
    for (const int mode : {0, 1, 2}) {
        StopFixture f(mode, 5, 10);
        f.e.m_nScore = 0;
        f.e.m_nHandCount = 66;
        EXPECT_EQ(f.e.IsShoeOver(), 1) << "mode " << mode;
    }
}

// The held-back stops need more than four hands; at four the pending cell 4 is emptied, below
// that no cell is touched.
TEST(IsShoeOver, ExceptionsNeedFiveHands) {
    for (const int mode : {1, 2}) {
        ShoeSettings s;
        s.m_nAfterWinStop = mode;
        s.m_nWinStopMoney = 0;
        CShoeEngine e(s);
        e.ResetShoe();
        e.m_nHandCount = 4;
        e.m_nRunLen[0] = 4;
        e.m_AdviceCell[4] = {1, 0, SIDE_BANKER};
        EXPECT_EQ(e.IsShoeOver(), 1);
        EXPECT_EQ(e.m_AdviceCell[4].m_nSide, SIDE_NONE);

        e.ResetShoe();
        const CShoeEngine empty = e;
        EXPECT_EQ(e.IsShoeOver(), 1);  // a threshold already met by an empty shoe
        EXPECT_EQ(e, empty);
    }
}

// Changing a setting can let a finished shoe go on: nothing about "over" is stored.
TEST(IsShoeOver, NotLatched) {
    ShoeSettings s;
    s.m_nWinStopMoney = 1;
    CShoeEngine e(s);
    Play(e, "BBBBB");
    ASSERT_EQ(e.IsShoeOver(), 1);
    s.m_nWinStopMoney = 29;
    EXPECT_EQ(e.IsShoeOver(), 0);
    EXPECT_EQ(e.RecordHand(SIDE_BANKER), 1);
}

}  // namespace
