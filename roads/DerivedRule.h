#pragma once

#include <optional>
#include <span>

// Marks of the derived roads.
enum class RoadColour : int {
    Red = 1,
    Blue = 2,
};

// The derived roads by their distance k: each compares a big-road column with the one k columns
// before it.
inline constexpr int kBigEyeBoy = 1;
inline constexpr int kSmallRoad = 2;
inline constexpr int kCockroachPig = 3;
inline constexpr int kDerivedRoads = 3;

// True when the big-road cell in logical column `column`, row `row` (both counted from 1) is at or
// after the start of derived road `k`: row 2 of column k + 1, or the first cell of column k + 2
// when column k + 1 has a single cell.
constexpr bool DerivedRoadCovers(int k, int column, int row) {
    return column > k + 1 || (column == k + 1 && row >= 2);
}

// The mark derived road `k` adds for the big-road cell in logical column `column`, row `row` (both
// from 1), or nullopt when the cell comes before the road's start. `lengths[j - 1]` is the number
// of cells in big-road column j. Only the columns before `column` are read, so the lengths of a
// shoe in progress serve, and so does a cell that is only being considered (the preview).
//
// A cell in row 1 opens a new column: red when columns column-1 and column-1-k are equally long.
// A lower cell looks at column column-k: red when it reaches this row, blue when it stops just
// one row short, red when it is shorter still.
std::optional<RoadColour> DerivedMark(std::span<const int> lengths, int k, int column, int row);
