#include "tests/roads/LiteralRoads.h"

#include <algorithm>

#include "engine/Side.h"

namespace {

using Columns = LiteralRoads::Columns;

// Draws whole runs onto a grid: a run starts at the top of the column after the previous run's
// start (further right while that top is taken), goes down while it can, then right.
void Draw(Columns& columns) {
    std::vector<std::array<bool, CRoad::kRows>> grid;
    auto taken = [&](int column, int row) {
        return column < static_cast<int>(grid.size()) && grid[column][row];
    };
    int start = -1;
    for (auto& run : columns) {
        int column = start + 1;
        while (taken(column, 0)) ++column;
        start = column;
        int row = 0;
        bool turned = false;
        for (std::size_t i = 0; i < run.size(); ++i) {
            if (i > 0) {
                if (!turned && row + 1 < CRoad::kRows && !taken(column, row + 1)) {
                    ++row;
                } else {
                    turned = true;
                    ++column;
                    while (taken(column, row)) ++column;
                }
            }
            if (column >= static_cast<int>(grid.size())) grid.resize(column + 1);
            grid[column][row] = true;
            run[i].column = column;
            run[i].row = row;
        }
    }
}

// The marks of derived road k over the finished big road, read cell by cell.
std::vector<int> DerivedMarks(const Columns& big, int k) {
    auto has = [&](int column, int row) {  // both from 1
        return column >= 1 && column <= static_cast<int>(big.size()) &&
               static_cast<int>(big[column - 1].size()) >= row;
    };
    auto length = [&](int column) { return static_cast<int>(big[column - 1].size()); };
    std::vector<int> marks;
    for (int c = 1; c <= static_cast<int>(big.size()); ++c) {
        for (int r = 1; r <= length(c); ++r) {
            const bool started = c > k + 1 || (c == k + 1 && r >= 2);
            if (!started) continue;
            bool red;
            if (r == 1) {
                red = length(c - 1) == length(c - 1 - k);
            } else if (has(c - k, r)) {
                red = true;
            } else {
                red = !has(c - k, r - 1);
            }
            marks.push_back(static_cast<int>(red ? RoadColour::Red : RoadColour::Blue));
        }
    }
    return marks;
}

Columns Group(const std::vector<int>& marks) {
    Columns columns;
    for (const int m : marks) {
        if (columns.empty() || columns.back().back().mark != m) columns.emplace_back();
        columns.back().push_back({m, 0, 0, 0});
    }
    return columns;
}

// Everything but the preview.
LiteralRoads Build(const std::vector<int>& hands) {
    LiteralRoads roads;
    for (const int side : hands) {
        if (side != SIDE_BANKER && side != SIDE_PLAYER && side != SIDE_TIE) continue;
        roads.hands.push_back(side);
        if (side == SIDE_TIE) {
            if (roads.bigRoad.empty())
                ++roads.leadingTies;
            else
                ++roads.bigRoad.back().back().ties;
            continue;
        }
        if (roads.bigRoad.empty() || roads.bigRoad.back().back().mark != side) {
            roads.bigRoad.emplace_back();
        }
        roads.bigRoad.back().push_back({side, 0, 0, 0});
    }
    if (!roads.bigRoad.empty()) roads.bigRoad.front().front().ties += roads.leadingTies;
    Draw(roads.bigRoad);
    for (int k = 1; k <= kDerivedRoads; ++k) {
        Columns& road = roads.derived[k - 1];
        road = Group(DerivedMarks(roads.bigRoad, k));
        Draw(road);
    }

    RoadCounts& n = roads.counts;
    n.banker = static_cast<int>(std::count(hands.begin(), hands.end(), SIDE_BANKER));
    n.player = static_cast<int>(std::count(hands.begin(), hands.end(), SIDE_PLAYER));
    n.tie = static_cast<int>(std::count(hands.begin(), hands.end(), SIDE_TIE));
    for (const auto& run : roads.bigRoad) {
        int& longest = run.front().mark == SIDE_BANKER ? n.longestBanker : n.longestPlayer;
        longest = std::max(longest, static_cast<int>(run.size()));
    }
    n.runs = static_cast<int>(roads.bigRoad.size());
    return roads;
}

std::size_t CellCount(const Columns& columns) {
    std::size_t n = 0;
    for (const auto& c : columns) n += c.size();
    return n;
}

}  // namespace

LiteralRoads BuildLiteralRoads(const std::vector<int>& hands) {
    LiteralRoads roads = Build(hands);
    // The preview: build the shoe again with the next hand and see what each road gained.
    for (const int side : {SIDE_BANKER, SIDE_PLAYER}) {
        std::vector<int> next = hands;
        next.push_back(side);
        const LiteralRoads after = Build(next);
        for (int k = 1; k <= kDerivedRoads; ++k) {
            auto& slot = roads.preview[side == SIDE_BANKER ? 0 : 1][k - 1];
            const Columns& grown = after.derived[k - 1];
            if (CellCount(grown) > CellCount(roads.derived[k - 1]))
                slot = static_cast<RoadColour>(grown.back().back().mark);
        }
    }
    return roads;
}

LiteralRoads::Columns ColumnsOf(const CRoad& road) {
    Columns columns;
    for (int c = 0; c < road.Columns(); ++c) {
        const auto cells = road.Column(c);
        columns.emplace_back(cells.begin(), cells.end());
    }
    return columns;
}
