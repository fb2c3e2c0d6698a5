#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/LiteralStrategy.h"

namespace {

ShoeSettings RandomSettings(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    ShoeSettings s;
    s.m_nWinStopMoney = pick(0, 8) == 0 ? INT32_MAX : pick(0, 60);
    s.m_nLossStopMoney = pick(0, 8) == 0 ? INT32_MAX : pick(0, 400);
    s.m_nWinStopNum = pick(0, 8) == 0 ? INT32_MAX : pick(0, 6);
    s.m_nDangerous1 = pick(0, 15);
    s.m_nDangerous2 = pick(0, 8) == 0 ? INT32_MAX : pick(0, 50);
    s.m_nAfterWinStop = pick(0, 2);
    return s;
}

// Checks the stake, counters, score and yield that the engine produced for hand h against the
// plain walks over the cells.
void CheckAgainstLiteral(const CShoeEngine& before, const CShoeEngine& after, int side) {
    const int h = before.m_nHandCount;
    const LiteralScore score = LiteralScoreUpTo(after, h);
    ASSERT_EQ(after.m_nScore, score.score);
    ASSERT_EQ(after.m_nYield, score.yield);
    if (h < 3 || h > 64) return;
    int danger = before.m_nDangerCount;
    const int advised = h > 3 ? before.m_AdviceCell[h].m_nSide : SIDE_NONE;
    if (side != SIDE_TIE && (advised == SIDE_BANKER || advised == SIDE_PLAYER)) ++danger;
    const LiteralStake lit = LiteralNextStake(after, h, danger, before.m_nWinCycles);
    ASSERT_EQ(after.m_nDangerCount, lit.danger);
    ASSERT_EQ(after.m_nWinCycles, lit.cycles);
    const int next = after.m_AdviceCell[h + 1].m_nSide;
    if (next == SIDE_PAUSE) {
        ASSERT_EQ(after.m_nStake[h + 1], 0);
    } else if (next != SIDE_NONE) {
        ASSERT_EQ(after.m_nStake[h + 1], lit.stake);
    } else {  // emptied by the stop test: either value may have been stored
        ASSERT_TRUE(after.m_nStake[h + 1] == 0 || after.m_nStake[h + 1] == lit.stake);
    }
}

// Random shoes with ties under random settings: the incremental engine agrees with the plain
// walks at every hand, and Back after n + 1 hands gives exactly the record after n hands.
TEST(Property, IncrementalMatchesLiteralAndBackUndoesOneHand) {
    std::mt19937 rng(20261211);
    for (int shoe = 0; shoe < 600; ++shoe) {
        const ShoeSettings s = shoe % 3 == 0 ? ShoeSettings{} : RandomSettings(rng);
        CShoeEngine e(s);
        e.ResetShoe();
        std::vector<CShoeEngine> history{e};
        while (!e.IsShoeOver()) {
            const int r = std::uniform_int_distribution<int>(0, 9)(rng);
            const int side = r < 1 ? SIDE_TIE : r < 5 ? SIDE_BANKER : SIDE_PLAYER;
            const CShoeEngine before = e;
            ASSERT_EQ(e.RecordHand(side), 1);
            SCOPED_TRACE("shoe " + std::to_string(shoe) + " hand " +
                         std::to_string(e.m_nHandCount));
            CheckAgainstLiteral(before, e, side);
            history.push_back(e);
            CShoeEngine undone = e;
            ASSERT_EQ(undone.Back(), 1);
            ASSERT_TRUE(undone == history[history.size() - 2]);
        }
        // Repeated Back walks down to an empty shoe, then does nothing.
        for (std::size_t n = history.size() - 1; n > 0; --n) {
            e.Back();
            ASSERT_TRUE(e == history[n - 1]);
        }
        EXPECT_EQ(e.Back(), 0);
    }
}

// Back replays with the settings as they are now: a stricter win-stop ends the replay early.
TEST(Back, StricterSettingsEndReplayEarly) {
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBBPBBBPBBBPB");
    ASSERT_EQ(e.m_nHandCount, 13);
    s.m_nWinStopMoney = 5;  // reached after hand 9
    e.Back();
    EXPECT_EQ(e.m_nHandCount, 10);
    EXPECT_EQ(e.m_nScore, 5);
    EXPECT_EQ(e.IsShoeOver(), 1);
}

// Back on a shoe that ended reopens it one hand earlier with the advice that hand had.
TEST(Back, ReopensEndedShoe) {
    ShoeSettings s;
    s.m_nWinStopMoney = 5;
    CShoeEngine e(s);
    Play(e, "BBBPBBBPBB");
    ASSERT_EQ(e.IsShoeOver(), 1);
    e.Back();
    EXPECT_EQ(e.m_nHandCount, 9);
    EXPECT_EQ(e.IsShoeOver(), 0);
    EXPECT_EQ(e.m_AdviceCell[9], (CCellRecord{1, 0, SIDE_BANKER}));
    EXPECT_EQ(e.m_nStake[9], 4);
}

}  // namespace
