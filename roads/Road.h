#pragma once

#include <cstdint>
#include <span>
#include <vector>

// One road drawn as at the tables: marks fill a column of six rows top to bottom, a change of
// mark starts the next column, and a run that reaches the bottom row, or meets a cell below it,
// turns right along its row (the dragon tail). The big road and the three derived roads are all
// kept this way; only their marks differ.
//
// The road keeps its logical columns (the runs) apart from where their cells are drawn, because
// the derived roads are read from the runs. Adding a cell costs constant time.
class CRoad {
public:
    static constexpr int kRows = 6;

    struct Cell {
        int mark = 0;    // side code in the big road, RoadColour in a derived road
        int ties = 0;    // ties marked on the cell (big road only)
        int column = 0;  // drawn column from the left, 0-based
        int row = 0;     // drawn row from the top, 0..5

        friend bool operator==(const Cell&, const Cell&) = default;
    };

    void Clear();
    // Adds a cell with `mark`: below the last one when the mark repeats, else in a new column.
    void Add(int mark);
    // Marks a tie on the last cell. False (and nothing changed) when the road is empty.
    bool AddTie();

    bool Empty() const { return m_cells.empty(); }
    // Every cell in the order added.
    const std::vector<Cell>& Cells() const { return m_cells; }
    // Number of logical columns (runs).
    int Columns() const { return static_cast<int>(m_nLength.size()); }
    // Cells of logical column `c` (0-based), in order.
    std::span<const Cell> Column(int c) const;
    // Length of every logical column, oldest first.
    std::span<const int> Lengths() const { return m_nLength; }
    // Drawn columns in use: one past the rightmost drawn cell, 0 when empty.
    int Width() const { return m_nWidth; }
    // True when a cell is drawn at (column, row).
    bool Occupied(int column, int row) const;

    friend bool operator==(const CRoad& a, const CRoad& b) { return a.m_cells == b.m_cells; }

private:
    void Place(int column, int row);

    std::vector<Cell> m_cells;
    std::vector<int> m_nLength;        // length of each logical column
    std::vector<int> m_nFirst;         // index in m_cells of each logical column's first cell
    std::vector<std::uint8_t> m_used;  // per drawn column, one bit per occupied row
    int m_nWidth = 0;
    bool m_bTail = false;  // the current run has turned right
};
