#include "roads/Road.h"

void CRoad::Clear() {
    m_cells.clear();
    m_nLength.clear();
    m_nFirst.clear();
    m_used.clear();
    m_nWidth = 0;
    m_bTail = false;
}

std::span<const CRoad::Cell> CRoad::Column(int c) const {
    if (c < 0 || c >= Columns()) return {};
    const auto i = static_cast<std::size_t>(c);
    return std::span<const Cell>(m_cells).subspan(static_cast<std::size_t>(m_nFirst[i]),
                                                  static_cast<std::size_t>(m_nLength[i]));
}

bool CRoad::Occupied(int column, int row) const {
    if (column < 0 || row < 0 || row >= kRows) return false;
    const auto c = static_cast<std::size_t>(column);
    return c < m_used.size() && (m_used[c] >> row & 1u);
}

void CRoad::Place(int column, int row) {
    const auto c = static_cast<std::size_t>(column);
    if (c >= m_used.size()) m_used.resize(c + 1, 0);
    m_used[c] = static_cast<std::uint8_t>(m_used[c] | 1u << row);
    if (column + 1 > m_nWidth) m_nWidth = column + 1;
}

void CRoad::Add(int mark) {
    Cell cell;
    cell.mark = mark;
    if (m_cells.empty() || m_cells.back().mark != mark) {
        // A new run starts at the top of the column after the previous run's first cell. Only
        // when a tail already runs along the top row there does it move further right.
        int column =
            m_cells.empty() ? 0 : m_cells[static_cast<std::size_t>(m_nFirst.back())].column + 1;
        while (Occupied(column, 0)) ++column;
        cell.column = column;
        m_nFirst.push_back(static_cast<int>(m_cells.size()));
        m_nLength.push_back(1);
        m_bTail = false;
    } else {
        const Cell& last = m_cells.back();
        if (!m_bTail && last.row + 1 < kRows && !Occupied(last.column, last.row + 1)) {
            cell.column = last.column;
            cell.row = last.row + 1;
        } else {
            m_bTail = true;
            int column = last.column + 1;
            while (Occupied(column, last.row)) ++column;
            cell.column = column;
            cell.row = last.row;
        }
        ++m_nLength.back();
    }
    Place(cell.column, cell.row);
    m_cells.push_back(cell);
}

bool CRoad::AddTie() {
    if (m_cells.empty()) return false;
    ++m_cells.back().ties;
    return true;
}
