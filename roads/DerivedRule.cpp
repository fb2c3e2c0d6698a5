#include "roads/DerivedRule.h"

std::optional<RoadColour> DerivedMark(std::span<const int> lengths, int k, int column, int row) {
    if (k < 1 || row < 1 || !DerivedRoadCovers(k, column, row)) return std::nullopt;
    if (static_cast<std::size_t>(column - 1) > lengths.size()) return std::nullopt;
    auto length = [&](int c) { return lengths[static_cast<std::size_t>(c - 1)]; };
    if (row == 1) {
        return length(column - 1) == length(column - 1 - k) ? RoadColour::Red : RoadColour::Blue;
    }
    const int left = length(column - k);
    return left == row - 1 ? RoadColour::Blue : RoadColour::Red;
}
