#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/EngineTestSupport.h"

namespace {

// Records what the engine asks of the window.
struct RecordingObserver : CShoeObserver {
    std::vector<int> cells;  // +index for result cells, -(index + 1) for advice cells
    int shoeOver = 0;
    int scoreChanged = 0;
    void CellChanged(Grid grid, int index) override {
        cells.push_back(grid == Grid::Result ? index : -(index + 1));
    }
    void ScoreChanged() override { ++scoreChanged; }
    void ShoeOver() override { ++shoeOver; }
};

TEST(ResetShoe, EmptiesRecordButKeepsSettingsAndSimulating) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBBPBBBPBBBPTTB");
    e.m_bSimulating = 1;
    e.ResetShoe();
    CShoeEngine fresh(s);
    fresh.m_bSimulating = 1;
    EXPECT_EQ(e, fresh);
    EXPECT_EQ(&e.Settings(), &s);
}

TEST(TrackRun, TiesNeitherBreakNorLengthenRuns) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBTBPP");
    EXPECT_EQ(Runs(e), (std::vector<int>{3, 2}));
    EXPECT_EQ(e.m_nLastSide, SIDE_PLAYER);
    Play(e, "BPB");
    EXPECT_EQ(Runs(e), (std::vector<int>{1, 1, 1}));
    Play(e, "TTT");
    EXPECT_EQ(e.m_nLastSide, SIDE_NONE);
    EXPECT_EQ(e.m_nRunLen[0], 0);
}

TEST(RecordHand, FirstFourHandsOnlyRecorded) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBB");
    EXPECT_EQ(e.m_nHandCount, 3);
    EXPECT_EQ(e.m_AdviceCell[4], CCellRecord{});
    e.RecordHand(SIDE_BANKER);
    EXPECT_EQ(e.m_nScore, 0);
    EXPECT_EQ(e.m_nYield, 0);
    EXPECT_EQ(e.m_AdviceCell[4], (CCellRecord{1, 0, SIDE_BANKER}));
    EXPECT_EQ(e.m_nStake[4], 1);
}

// Hand 4 gets the advice banker 1 after B B B B; settle it against each result.
TEST(SettleAdvice, WonLostTie) {
    struct Case {
        char result;
        int value;
        int stakeAfter;
    };
    for (const Case c : {Case{'B', 1, 1}, Case{'P', -1, 1}, Case{'T', 0, 0}}) {
        SCOPED_TRACE(c.result);
        ShoeSettings s;
        CShoeEngine e(s);
        Play(e, std::string("BBBB") + c.result);
        EXPECT_EQ(e.m_AdviceCell[4].m_nValue, c.value);
        EXPECT_EQ(e.m_AdviceCell[4].m_nSide, SIDE_BANKER);
        EXPECT_EQ(e.m_nStake[4], c.stakeAfter);
        EXPECT_EQ(e.m_nDangerCount, c.result == 'T' ? 0 : 1);
    }
}

TEST(SettleAdvice, PauseSettlesToZeroAndIsNoDanger) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BPBP");  // pause advised for hand 4
    ASSERT_EQ(e.m_AdviceCell[4].m_nSide, SIDE_PAUSE);
    ASSERT_EQ(e.m_nStake[4], 0);
    e.RecordHand(SIDE_BANKER);
    EXPECT_EQ(e.m_AdviceCell[4].m_nValue, 0);
    EXPECT_EQ(e.m_nDangerCount, 0);
}

TEST(UpdateScore, ScoreAndYield) {
    struct Case {
        std::vector<int> values;
        int score;
        int yield;
    };
    const Case cases[] = {
        {{1, 2, -1}, 2, 50}, {{-1, -2}, -3, -100}, {{1, -1}, 0, 0},
        {{1, -2}, -1, -33},  {{0, 0, 3}, 3, 100},
    };
    for (const Case& c : cases) {
        ShoeSettings s;
        CShoeEngine e(s);
        e.ResetShoe();
        int k = 3;
        for (const int v : c.values) e.m_AdviceCell[++k] = {1, v, SIDE_BANKER};
        e.m_nHandCount = k;
        e.RebuildDerivedState();
        e.UpdateScore();
        EXPECT_EQ(e.m_nScore, c.score);
        EXPECT_EQ(e.m_nYield, c.yield);
    }
}

TEST(RecordHand, SixtySixthHandEndsShoe) {
    ShoeSettings s = NoStops();
    RecordingObserver obs;
    CShoeEngine e(s, &obs);
    e.ResetShoe();
    for (int i = 0; i < 65; ++i) e.RecordHand(SIDE_TIE);
    EXPECT_EQ(obs.shoeOver, 0);
    obs.cells.clear();
    EXPECT_EQ(e.RecordHand(SIDE_TIE), 1);
    EXPECT_EQ(e.m_nHandCount, 66);
    EXPECT_EQ(obs.shoeOver, 1);
    // Hand 65 writes its result and settles; there is no advice cell after it.
    EXPECT_EQ(obs.cells, (std::vector<int>{65, -66}));
    // A further click is refused and records nothing.
    const CShoeEngine before = e;
    EXPECT_EQ(e.RecordHand(SIDE_BANKER), 0);
    EXPECT_EQ(e, before);
    EXPECT_EQ(obs.shoeOver, 2);
}

TEST(RecordHand, SimulatingSilencesOnlyTheEndOfHandNotice) {
    ShoeSettings s;
    s.m_nWinStopMoney = 1;
    RecordingObserver obs;
    CShoeEngine e(s, &obs);
    e.m_bSimulating = 1;
    Play(e, "BBBBB");  // banker 1 won: score 1 reaches the win-stop
    EXPECT_EQ(e.m_nScore, 1);
    EXPECT_EQ(obs.shoeOver, 0);
    EXPECT_EQ(e.m_AdviceCell[5], (CCellRecord{1, 0, SIDE_NONE}));  // pending advice emptied
    EXPECT_EQ(e.RecordHand(SIDE_BANKER), 0);  // a refused click still tells the user
    EXPECT_EQ(obs.shoeOver, 1);
    EXPECT_GT(obs.scoreChanged, 0);
}

TEST(RecordHand, PauseOverridesComputedStake) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBBPBBB");  // rule 5: pause for hand 7 although the rule computed a stake
    EXPECT_EQ(e.m_AdviceCell[7].m_nSide, SIDE_PAUSE);
    EXPECT_EQ(e.m_nStake[7], 0);
}

TEST(Money, BaseUnitAndCommission) {
    struct Case {
        int min, max, unit;
    };
    for (const Case c : {Case{200, 20000, 100}, Case{50, 20000, 50}, Case{150, 30000, 150}}) {
        ShoeSettings s;
        s.m_nXXLimitMoney = c.min;
        s.m_nSXLimitMoney = c.max;
        EXPECT_EQ(CShoeEngine(s).BaseUnit(), c.unit);
    }
    ShoeSettings s;
    CShoeEngine e(s);
    e.ResetShoe();
    EXPECT_EQ(e.ComputeCommission(), 0);
    e.m_nHandCount = 8;
    e.m_AdviceCell[4] = {1, 7, SIDE_BANKER};
    e.m_AdviceCell[5] = {1, 5, SIDE_BANKER};
    e.m_AdviceCell[6] = {1, -3, SIDE_BANKER};  // a loss on banker pays no commission
    e.m_AdviceCell[7] = {1, 9, SIDE_PLAYER};   // nor a win on player
    EXPECT_EQ(e.ComputeCommission(), 60);      // 12 units x 100 yuan x 5%

    // With the largest table limits the amount passes 32 bits and is still exact.
    s.m_nXXLimitMoney = s.m_nSXLimitMoney = INT32_MAX;
    e.m_AdviceCell[4] = {1, 19800, SIDE_BANKER};
    e.m_AdviceCell[5] = {1, 0, SIDE_BANKER};
    EXPECT_EQ(e.ComputeCommission(), 10630043820LL);  // 19800 x 10737418 yuan x 5%
}

}  // namespace
