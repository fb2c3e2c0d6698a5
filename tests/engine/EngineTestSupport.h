#pragma once

#include <string_view>
#include <vector>

#include "engine/ShoeEngine.h"

// Side of a hand letter used in test tables: B, P, T.
inline int SideOf(char c) {
    return c == 'B' ? SIDE_BANKER : c == 'P' ? SIDE_PLAYER : SIDE_TIE;
}

// Records every hand of `hands` (B/P/T letters) into a freshly reset engine.
inline void Play(CShoeEngine& engine, std::string_view hands) {
    engine.ResetShoe();
    for (const char c : hands) engine.RecordHand(SideOf(c));
}

inline std::vector<int> Runs(const CShoeEngine& e) {
    if (e.m_nLastSide == SIDE_NONE) return {};
    return {e.m_nRunLen.begin(), e.m_nRunLen.begin() + e.m_nRunIndex + 1};
}

// Settings under which no stop rule fires in a short test shoe.
inline ShoeSettings NoStops() {
    ShoeSettings s;
    s.m_nWinStopMoney = s.m_nLossStopMoney = s.m_nWinStopNum = s.m_nDangerous2 = 1000000;
    return s;
}
