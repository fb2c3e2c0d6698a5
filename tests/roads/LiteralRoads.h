#pragma once

#include <array>
#include <optional>
#include <vector>

#include "roads/Road.h"
#include "roads/ShoeRoads.h"

// The roads of a whole shoe worked out from scratch, the plain way: the big road's runs first,
// then each derived road by looking at the cells of the finished big road, then the drawing of
// every road on a grid. Tests hold the incremental CShoeRoads against it.
struct LiteralRoads {
    using Columns = std::vector<std::vector<CRoad::Cell>>;

    std::vector<int> hands;
    Columns bigRoad;
    int leadingTies = 0;
    std::array<Columns, kDerivedRoads> derived;
    // preview[0] for a banker hand next, [1] for a player hand; one entry per derived road.
    std::array<std::array<std::optional<RoadColour>, kDerivedRoads>, 2> preview;
    RoadCounts counts;
};

LiteralRoads BuildLiteralRoads(const std::vector<int>& hands);

// The logical columns of a road with their cells, for comparison with LiteralRoads.
LiteralRoads::Columns ColumnsOf(const CRoad& road);
