#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestSupport.h"

namespace {

struct AdviceCase {
    const char* hands;
    int alarmOff;
    int alarmOn;
};

// Advice for the hand after `hands`, with the alarm off and with it on from the first hand.
TEST(AdviseSide, WorkedExamples) {
    const AdviceCase cases[] = {
        {"BBBB", SIDE_BANKER, SIDE_BANKER},      // rule 1
        {"BPBP", SIDE_PAUSE, SIDE_PAUSE},        // rule 5
        {"BBBPB", SIDE_BANKER, SIDE_BANKER},     // rule 2
        {"BBBPBB", SIDE_PLAYER, SIDE_PLAYER},    // rule 3
        {"BBPPB", SIDE_PLAYER, SIDE_PLAYER},     // rule 4
        {"BBBPBBB", SIDE_PAUSE, SIDE_PAUSE},     // rule 5
        {"BBBPBBBP", SIDE_BANKER, SIDE_PLAYER},  // rule 6
        {"BPBPPBBB", SIDE_BANKER, SIDE_PLAYER},  // rule 8
        {"BPBPBPBP", SIDE_BANKER, SIDE_PLAYER},  // rule 9
        {"PBBBPBPB", SIDE_BANKER, SIDE_PLAYER},  // rule 10
        {"TTTT", SIDE_PAUSE, SIDE_PAUSE},        // no runs at all
        {"BPPPPP", SIDE_PLAYER, SIDE_PLAYER},    // rule 1 on a player run
    };
    for (const AdviceCase& c : cases) {
        SCOPED_TRACE(c.hands);
        const int next = static_cast<int>(std::string(c.hands).size());
        for (const bool alarm : {false, true}) {
            ShoeSettings s = NoStops();
            s.m_nDangerous1 = alarm ? 0 : 1000000;
            CShoeEngine e(s);
            Play(e, c.hands);
            EXPECT_EQ(e.m_AdviceCell[next].m_nSide, alarm ? c.alarmOn : c.alarmOff)
                << "alarm " << alarm;
        }
    }
}

// With only three runs (k = 2) the alarm leaves rules 6 to 8 alone; with four it turns them over.
TEST(AdviseSide, AlarmNeedsFourRuns) {
    ShoeSettings s = NoStops();
    s.m_nDangerous1 = 0;
    CShoeEngine e(s);
    Play(e, "BBBPPPPBBB");  // runs 3 4 3: k = 2, rule 8 gives banker
    EXPECT_EQ(e.m_AdviceCell[10].m_nSide, SIDE_BANKER);
    Play(e, "PBBBPPPPBBB");  // runs 1 3 4 3: k = 3, rule 8 turned over
    EXPECT_EQ(e.m_AdviceCell[11].m_nSide, SIDE_PLAYER);
}

TEST(AdviseSide, OutOfRangeIsNone) {
    ShoeSettings s;
    CShoeEngine e(s);
    e.ResetShoe();
    EXPECT_EQ(e.AdviseSide(), SIDE_NONE);  // h = 0
    e.m_nHandCount = 2;
    EXPECT_EQ(e.AdviseSide(), SIDE_NONE);
}

// One row per hand of the shoe B B B P B B B P B B B P with the default settings.
struct WorkedRow {
    int hand;
    int settled;  // settled value of the hand's advice (0 also for no advice)
    int score;
    const char* runs;
    int nextSide;
    int nextStake;
    int danger;
    int cycles;
};

std::string RunsText(const CShoeEngine& e) {
    std::string s;
    for (const int len : Runs(e)) s += (s.empty() ? "" : " ") + std::to_string(len);
    return s;
}

void CheckRows(const char* hands, const WorkedRow* rows, std::size_t count) {
    ShoeSettings s;
    CShoeEngine e(s);
    e.ResetShoe();
    for (std::size_t i = 0; i < count; ++i) {
        const WorkedRow& r = rows[i];
        SCOPED_TRACE("hand " + std::to_string(r.hand));
        ASSERT_EQ(e.RecordHand(SideOf(hands[r.hand])), 1);
        if (r.hand >= 4) {
            EXPECT_EQ(e.m_AdviceCell[r.hand].m_nValue, r.settled);
        }
        EXPECT_EQ(e.m_nScore, r.score);
        EXPECT_EQ(RunsText(e), r.runs);
        if (r.hand >= 3) {
            EXPECT_EQ(e.m_AdviceCell[r.hand + 1].m_nSide, r.nextSide);
            EXPECT_EQ(e.m_nStake[r.hand + 1], r.nextStake);
        }
        EXPECT_EQ(e.m_nDangerCount, r.danger);
        EXPECT_EQ(e.m_nWinCycles, r.cycles);
    }
}

TEST(NextStake, TwelveHandShoe) {
    const WorkedRow rows[] = {
        {0, 0, 0, "1", 0, 0, 0, 0},
        {1, 0, 0, "2", 0, 0, 0, 0},
        {2, 0, 0, "3", 0, 0, 0, 0},
        {3, 0, 0, "3 1", SIDE_PAUSE, 0, 0, 0},
        {4, 0, 0, "3 1 1", SIDE_BANKER, 1, 0, 0},
        {5, 1, 1, "3 1 2", SIDE_PLAYER, 2, 1, 0},
        {6, -2, -1, "3 1 3", SIDE_PAUSE, 0, 2, 0},
        {7, 0, -1, "3 1 3 1", SIDE_BANKER, 2, 2, 0},
        {8, 2, 1, "3 1 3 1 1", SIDE_BANKER, 4, 3, 0},
        {9, 4, 5, "3 1 3 1 2", SIDE_PLAYER, 1, 0, 1},
        {10, -1, 4, "3 1 3 1 3", SIDE_BANKER, 2, 1, 1},
        {11, -2, 2, "3 1 3 1 3 1", SIDE_BANKER, 3, 2, 1},
    };
    CheckRows("BBBPBBBPBBBP", rows, std::size(rows));
}

// A tie as hand 10 settles to 0, finds the won cycle again without counting it twice, and
// repeats the tie hand's advice.
TEST(NextStake, TieAfterWonCycle) {
    const WorkedRow rows[] = {
        {0, 0, 0, "1", 0, 0, 0, 0},
        {1, 0, 0, "2", 0, 0, 0, 0},
        {2, 0, 0, "3", 0, 0, 0, 0},
        {3, 0, 0, "3 1", SIDE_PAUSE, 0, 0, 0},
        {4, 0, 0, "3 1 1", SIDE_BANKER, 1, 0, 0},
        {5, 1, 1, "3 1 2", SIDE_PLAYER, 2, 1, 0},
        {6, -2, -1, "3 1 3", SIDE_PAUSE, 0, 2, 0},
        {7, 0, -1, "3 1 3 1", SIDE_BANKER, 2, 2, 0},
        {8, 2, 1, "3 1 3 1 1", SIDE_BANKER, 4, 3, 0},
        {9, 4, 5, "3 1 3 1 2", SIDE_PLAYER, 1, 0, 1},
        {10, 0, 5, "3 1 3 1 2", SIDE_PLAYER, 1, 0, 1},
    };
    CheckRows("BBBPBBBPBBT", rows, std::size(rows));
    ShoeSettings s;
    CShoeEngine e(s);
    Play(e, "BBBPBBBPBBT");
    EXPECT_EQ(e.m_nStake[10], 0);
}

// Sets up hand h = 10 just entered with bets b (hand 8) and a (hand 9) settled, then runs the
// stake rule.
struct StakeCase {
    const char* name;
    int b;        // settled value of the bet before the last (0: no such bet)
    int a;        // settled value of the last bet
    int stake;    // expected stake for hand 11
    bool forced;  // the forced stop set the won cycles past the limit
};

TEST(NextStake, ProgressionTable) {
    const StakeCase cases[] = {
        {"no bet yet", 0, 0, 1, false},
        {"one bet won", 0, 3, 2, false},
        {"one bet lost", 0, -3, 2, false},
        {"won then lost, X = 0", 2, -2, 2, false},
        {"lost then won doubles", -5, 7, 14, false},
        {"lost then won 80", -1, 80, 160, false},
        {"lost then won 151 is capped", -1, 151, 300, false},
        {"lost twice, X = 2", -1, -2, 3, false},
        {"lost twice, X = 5", -1, -5, 7, false},
        {"lost twice, X = 60", -44, -60, 80, false},
        {"lost twice, X = 61 forces a stop", -1, -61, 120, true},
        {"lost twice, X = 80 forces a stop", -60, -80, 120, true},
        {"lost twice, X = 81", -1, -81, 160, true},
        {"lost twice, X = 201", -1, -201, 300, true},
        {"lost twice, X = 300", -1, -300, 300, true},
        {"lost twice, X = 301 starts over", -1, -301, 1, false},
        {"won then lost, X = 10", 5, -15, 14, false},
    };
    for (const StakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ShoeSettings s;
        CShoeEngine e(s);
        e.ResetShoe();
        e.m_nHandCount = 10;
        for (int i = 0; i <= 10; ++i) {
            e.m_ResultCell[i] = {1, 0, SIDE_BANKER};
            if (i >= 4) e.m_AdviceCell[i] = {1, 0, SIDE_PAUSE};
        }
        auto bet = [&](int hand, int value) {
            e.m_AdviceCell[hand] = {1, value, value > 0 ? SIDE_BANKER : SIDE_PLAYER};
            e.m_nStake[hand] = value > 0 ? value : -value;
        };
        if (c.b != 0) bet(8, c.b);
        if (c.a != 0) bet(9, c.a);
        e.RebuildDerivedState();
        e.NextStake();
        EXPECT_EQ(e.m_nStake[11], c.stake);
        EXPECT_EQ(e.m_nWinCycles, c.forced ? s.m_nWinStopNum + 1 : 0);
    }
}

// A forced stop at the largest won-cycle limit still ends the shoe, without overflowing.
TEST(NextStake, ForcedStopAtLargestLimit) {
    ShoeSettings s;
    s.m_nWinStopNum = INT32_MAX;
    CShoeEngine e(s);
    e.ResetShoe();
    e.m_nHandCount = 10;
    e.m_AdviceCell[8] = {1, -1, SIDE_PLAYER};
    e.m_nStake[8] = 1;
    e.m_AdviceCell[9] = {1, -70, SIDE_PLAYER};
    e.m_nStake[9] = 70;
    e.RebuildDerivedState();
    e.NextStake();
    EXPECT_EQ(e.m_nStake[11], 120);
    EXPECT_EQ(e.m_nWinCycles, INT32_MAX);
    EXPECT_EQ(e.IsShoeOver(), 1);
}

// A cycle that loses every bet climbs the progression and is stopped after the loss of 80.
TEST(NextStake, LosingCycleClimbsThenForcesStop) {
    ShoeSettings s = NoStops();
    s.m_nWinStopNum = 4;
    CShoeEngine e(s);
    e.ResetShoe();
    std::vector<int> stakes;
    // Always enter the side opposite to a bet, and banker on a pause.
    while (!e.IsShoeOver()) {
        const int k = e.m_nHandCount;
        const int advised = k >= 4 ? e.m_AdviceCell[k].m_nSide : SIDE_NONE;
        if (advised == SIDE_BANKER || advised == SIDE_PLAYER) stakes.push_back(e.m_nStake[k]);
        e.RecordHand(advised == SIDE_BANKER ? SIDE_PLAYER : SIDE_BANKER);
    }
    const std::vector<int> expected = {1, 2, 3, 4, 5, 7, 10, 14, 18, 24, 32, 44, 60, 80};
    EXPECT_EQ(stakes, expected);
    EXPECT_EQ(e.m_nWinCycles, 5);
    EXPECT_EQ(e.m_nStake[e.m_nHandCount], 120);
}

// Two won bets close a cycle; a pause right after them finds it again without a second count.
TEST(NextStake, WonCycleCountedOnce) {
    ShoeSettings s = NoStops();
    CShoeEngine e(s);
    // B B B P B | B (banker 1 won) -> player 2; then follow the advice to win again.
    Play(e, "BBBPBB");
    ASSERT_EQ(e.m_AdviceCell[6].m_nSide, SIDE_PLAYER);
    e.m_nDangerCount = 5;
    e.RecordHand(SIDE_PLAYER);  // player 2 won: cycle won
    EXPECT_EQ(e.m_nWinCycles, 1);
    EXPECT_EQ(e.m_nDangerCount, 0);
    EXPECT_EQ(e.m_nStake[7], 1);
    const int side7 = e.m_AdviceCell[7].m_nSide;
    e.RecordHand(SIDE_TIE);  // tie: same two won bets, no second count, advice repeated
    EXPECT_EQ(e.m_nWinCycles, 1);
    EXPECT_EQ(e.m_nStake[8], 1);
    EXPECT_EQ(e.m_AdviceCell[8].m_nSide, side7);
}

}  // namespace
