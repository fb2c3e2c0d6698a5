#include "tests/engine/LiteralStrategy.h"

#include <cstdint>
#include <cstdlib>

LiteralStake LiteralNextStake(const CShoeEngine& e, int h, int danger, int cycles) {
    auto value = [&](int i) { return e.m_AdviceCell[i].m_nValue; };
    int c = 4;
    if (h >= 5) {
        bool waiting = false;
        for (int i = 4; i <= h - 1; ++i) {
            if (value(i) > 0 && !waiting) {
                waiting = true;
            } else if (value(i) > 0) {
                waiting = false;
                for (int j = i + 1; j <= h; ++j) {
                    if (value(j) != 0) {
                        c = j;
                        break;
                    }
                }
            } else if (value(i) < 0) {
                waiting = false;
            }
        }
    }
    int a = -1, b = -1;
    for (int i = h; i >= c; --i) {
        if (e.m_nStake[i] == 0) continue;
        if (a < 0) {
            a = i;
        } else {
            b = i;
            break;
        }
    }
    LiteralStake out{1, danger, cycles};
    if (a < 0) {
        out.stake = 1;
    } else if (b < 0) {
        out.stake = 2;
    } else {
        const int A = value(a), B = value(b);
        if (B > 0 && A > 0) {
            out.stake = 1;
            out.danger = 0;
            if (e.m_ResultCell[h].m_nSide != SIDE_TIE && e.m_AdviceCell[h].m_nSide != SIDE_PAUSE)
                ++out.cycles;
        } else if (B < 0 && A > 0) {
            out.stake = 2 * A;
        } else {
            const int x = B < 0 ? std::abs(A) : std::abs(A + B);
            out.stake = 1;
            for (int j = 0; j <= 18; ++j) {
                if (x <= g_nProgression[j]) {
                    out.stake = g_nProgression[j + 1];
                    break;
                }
            }
            if (out.stake > 100) {
                const int limit = e.Settings().m_nWinStopNum;
                out.cycles = limit < INT32_MAX ? limit + 1 : limit;
            }
        }
    }
    if (out.stake > 300) out.stake = 300;
    return out;
}

int LiteralAdviseSide(const CShoeEngine& e, int h, int danger) {
    const int k = e.m_nRunIndex;
    if (k < 0 || h < 3 || h > 66) return SIDE_NONE;
    auto run = [&](int back) { return k >= back ? e.m_nRunLen[k - back] : 0; };
    const int L0 = run(0), L1 = run(1), L2 = run(2), L3 = run(3), L4 = run(4);
    const int S = e.m_nLastSide;
    const int O = S == SIDE_BANKER ? SIDE_PLAYER : SIDE_BANKER;
    int side;
    if (L0 >= 4) {
        side = S;  // rule 1
    } else if (k >= 2 && L2 >= 2 && L1 == 1 && L0 == 1) {
        side = S;  // rule 2
    } else if (k >= 2 && L1 == 1 && L0 == 2) {
        side = O;  // rule 3
    } else if (k >= 2 && L1 == 2 && L0 == 1) {
        side = O;  // rule 4
    } else if (h < 7) {
        side = SIDE_PAUSE;  // rule 5
    } else if (k >= 2 && L1 >= 3 && L0 == 1) {
        side = O;  // rule 6
    } else if (k >= 2 && L1 >= 2 && L0 == 2) {
        side = O;  // rule 7
    } else if (k >= 2 && L1 >= 1 && L0 == 3) {
        side = S;  // rule 8
    } else if (k >= 4 && L4 == 1 && L3 == 1 && L2 == 1 && L1 == 1 && L0 == 1) {
        side = O;  // rule 9
    } else if (k >= 4 && L4 >= 2 && L3 == 1 && L2 == 1 && L1 == 1 && L0 == 1) {
        side = S;  // rule 10
    } else {
        side = SIDE_PAUSE;  // rule 11
    }
    const bool a = L1 >= 1 && L0 == 3;
    const bool b = L1 >= 2 && L0 == 2;
    const bool c = L1 >= 3 && L0 == 1;
    const bool d = L3 >= 1 && L2 == 1 && L1 == 1 && L0 == 1;
    if (danger >= e.Settings().m_nDangerous1 && k >= 3 && (a || b || c || d)) {
        if (side == SIDE_BANKER) {
            side = SIDE_PLAYER;
        } else if (side == SIDE_PLAYER) {
            side = SIDE_BANKER;
        }
    }
    return side;
}

LiteralScore LiteralScoreUpTo(const CShoeEngine& e, int k) {
    int score = 0, total = 0;
    for (int i = 4; i <= k; ++i) {
        score += e.m_AdviceCell[i].m_nValue;
        total += std::abs(e.m_AdviceCell[i].m_nValue);
    }
    return {score, score == 0 ? 0 : score * 100 / total};
}
