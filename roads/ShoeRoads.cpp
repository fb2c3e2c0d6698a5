#include "roads/ShoeRoads.h"

#include <algorithm>

#include "engine/Side.h"

void CShoeRoads::Clear() {
    m_nHands.clear();
    m_bigRoad.Clear();
    for (CRoad& road : m_derived) road.Clear();
    m_nLeadingTies = 0;
    m_counts = {};
}

bool CShoeRoads::Add(int side) {
    if (side != SIDE_BANKER && side != SIDE_PLAYER && side != SIDE_TIE) return false;
    m_nHands.push_back(side);
    if (side == SIDE_TIE) {
        ++m_counts.tie;
        if (!m_bigRoad.AddTie()) ++m_nLeadingTies;
        return true;
    }

    const bool first = m_bigRoad.Empty();
    m_bigRoad.Add(side);
    if (first) {
        for (int i = 0; i < m_nLeadingTies; ++i) m_bigRoad.AddTie();
    }
    const int column = m_bigRoad.Columns();
    const int row = m_bigRoad.Lengths().back();
    for (int k = 1; k <= kDerivedRoads; ++k) {
        if (const auto mark = DerivedMark(m_bigRoad.Lengths(), k, column, row))
            m_derived[static_cast<std::size_t>(k - 1)].Add(static_cast<int>(*mark));
    }

    if (side == SIDE_BANKER) {
        ++m_counts.banker;
        m_counts.longestBanker = std::max(m_counts.longestBanker, row);
    } else {
        ++m_counts.player;
        m_counts.longestPlayer = std::max(m_counts.longestPlayer, row);
    }
    m_counts.runs = column;
    return true;
}

bool CShoeRoads::Back() {
    if (m_nHands.empty()) return false;
    const std::vector<int> hands(m_nHands.begin(), m_nHands.end() - 1);
    Rebuild(hands);
    return true;
}

void CShoeRoads::Rebuild(std::span<const int> sides) {
    Clear();
    for (const int side : sides) Add(side);
}

std::optional<RoadColour> CShoeRoads::Preview(int side, int k) const {
    if (side != SIDE_BANKER && side != SIDE_PLAYER) return std::nullopt;
    if (k < 1 || k > kDerivedRoads) return std::nullopt;
    const std::span<const int> lengths = m_bigRoad.Lengths();
    // The next hand would extend the last column when it repeats its side, or open a new one.
    // The rule reads only the columns before the cell's own, which are all complete either way.
    const bool repeats = !m_bigRoad.Empty() && m_bigRoad.Cells().back().mark == side;
    const int column = m_bigRoad.Columns() + (repeats ? 0 : 1);
    const int row = repeats ? lengths.back() + 1 : 1;
    return DerivedMark(lengths, k, column, row);
}
