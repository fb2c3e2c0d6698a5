#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "tests/engine/EngineTestSupport.h"

namespace {

// Checks everything that must hold of a record between commands, given unchanged settings.
void CheckInvariants(CShoeEngine& e) {
    const int n = e.m_nHandCount;
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 66);

    // Results: filled exactly for the hands entered; runs rebuilt from them match the tracker.
    std::vector<int> runs;
    int last = SIDE_NONE;
    for (int i = 0; i < 66; ++i) {
        const CCellRecord& c = e.m_ResultCell[i];
        if (i < n) {
            ASSERT_EQ(c.m_bShow, 1);
            ASSERT_EQ(c.m_nValue, 0);
            ASSERT_TRUE(c.m_nSide == SIDE_BANKER || c.m_nSide == SIDE_PLAYER ||
                        c.m_nSide == SIDE_TIE);
            if (c.m_nSide != SIDE_TIE) {
                if (c.m_nSide == last)
                    ++runs.back();
                else
                    runs.push_back(1);
                last = c.m_nSide;
            }
        } else {
            ASSERT_EQ(c, CCellRecord{}) << "result cell " << i;
        }
    }
    ASSERT_EQ(Runs(e), runs);
    ASSERT_EQ(e.m_nLastSide, last);
    for (int i = e.m_nRunIndex + 1; i < 66; ++i) ASSERT_EQ(e.m_nRunLen[i], 0);

    // Settled hands: the value is plus or minus the stake by the result, 0 exactly when no bet.
    long long score = 0, total = 0;
    for (int i = 0; i < 4; ++i) ASSERT_EQ(e.m_nStake[i], 0);
    for (int i = 4; i < n; ++i) {
        const CCellRecord& a = e.m_AdviceCell[i];
        const int r = e.m_ResultCell[i].m_nSide;
        const int s = e.m_nStake[i];
        ASSERT_GE(s, 0);
        ASSERT_LE(s, 300);
        ASSERT_EQ(a.m_bShow, 1);
        if (r == SIDE_TIE || a.m_nSide == SIDE_PAUSE) {
            ASSERT_EQ(s, 0);
        }
        ASSERT_EQ(a.m_nValue, r == SIDE_TIE ? 0 : (a.m_nSide == r ? s : -s)) << "hand " << i;
        ASSERT_EQ(a.m_nValue != 0, s != 0);
        score += a.m_nValue;
        total += std::abs(a.m_nValue);
    }
    ASSERT_EQ(e.m_nScore, n >= 4 ? score : 0);
    ASSERT_EQ(e.m_nYield, score == 0 ? 0 : static_cast<int>(score * 100 / total));

    // The pending advice: shown while the shoe goes on, emptied once it is over.
    const bool over = e.IsShoeOver();
    if (n >= 4 && n < 66) {
        const CCellRecord& p = e.m_AdviceCell[n];
        ASSERT_EQ(p.m_nValue, 0);
        if (over) {
            ASSERT_EQ(p.m_nSide, SIDE_NONE);
        } else {
            ASSERT_TRUE(p.m_nSide == SIDE_BANKER || p.m_nSide == SIDE_PLAYER ||
                        p.m_nSide == SIDE_PAUSE);
            if (p.m_nSide == SIDE_PAUSE) {
                ASSERT_EQ(e.m_nStake[n], 0);
            }
        }
    }
    for (int i = std::max(n + 1, 4); i < 66; ++i) ASSERT_EQ(e.m_AdviceCell[i], CCellRecord{});
}

ShoeSettings RandomSettings(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto extreme = [&](int usual) {
        switch (pick(0, 9)) {
            case 0:
                return 0;
            case 1:
                return INT32_MAX;
            case 2:
                return -pick(1, 5);
            default:
                return usual;
        }
    };
    ShoeSettings s;
    s.m_nWinStopMoney = extreme(pick(1, 60));
    s.m_nLossStopMoney = extreme(pick(1, 300));
    s.m_nWinStopNum = extreme(pick(1, 6));
    s.m_nDangerous1 = extreme(pick(1, 12));
    s.m_nDangerous2 = extreme(pick(1, 50));
    s.m_nAfterWinStop = pick(0, 2);
    return s;
}

// Random sequences of Banker, Player, Tie, Back and Clear under random settings, including zero,
// negative and extreme thresholds in all three after-stop modes.
TEST(Model, RandomCommandSequencesKeepTheRecordSound) {
    std::mt19937 rng(7);
    for (int sequence = 0; sequence < 400; ++sequence) {
        const ShoeSettings s = RandomSettings(rng);
        CShoeEngine e(s);
        e.ResetShoe();
        std::vector<CShoeEngine> before;  // the record before each hand still in the shoe
        for (int step = 0; step < 150; ++step) {
            const int command = std::uniform_int_distribution<int>(0, 19)(rng);
            SCOPED_TRACE("sequence " + std::to_string(sequence) + " step " + std::to_string(step));
            if (command < 17) {
                const int side = command < 8 ? SIDE_BANKER : command < 15 ? SIDE_PLAYER : SIDE_TIE;
                const CShoeEngine prior = e;
                const bool over = e.IsShoeOver();
                const int recorded = e.RecordHand(side);
                ASSERT_EQ(recorded, over ? 0 : 1);
                if (recorded) {
                    before.push_back(prior);
                } else {
                    ASSERT_TRUE(e == prior);  // a finished shoe refuses the hand, changing nothing
                }
            } else if (command < 19) {
                e.Back();
                if (!before.empty()) {
                    ASSERT_TRUE(e == before.back());
                    before.pop_back();
                }
            } else {
                e.ResetShoe();
                before.clear();
            }
            CheckInvariants(e);
        }
    }
}

}  // namespace
