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

LiteralScore LiteralScoreUpTo(const CShoeEngine& e, int k) {
    int score = 0, total = 0;
    for (int i = 4; i <= k; ++i) {
        score += e.m_AdviceCell[i].m_nValue;
        total += std::abs(e.m_AdviceCell[i].m_nValue);
    }
    return {score, score == 0 ? 0 : score * 100 / total};
}
