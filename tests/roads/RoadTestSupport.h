#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/Side.h"
#include "roads/Road.h"
#include "roads/ShoeRoads.h"

// Side of a hand letter used in test tables: B, P, T.
inline int SideOf(char c) {
    return c == 'B' ? SIDE_BANKER : c == 'P' ? SIDE_PLAYER : SIDE_TIE;
}

inline std::vector<int> SidesOf(std::string_view hands) {
    std::vector<int> sides;
    for (const char c : hands) sides.push_back(SideOf(c));
    return sides;
}

inline CShoeRoads RoadsOf(std::string_view hands) {
    CShoeRoads roads;
    for (const char c : hands) roads.Add(SideOf(c));
    return roads;
}

// Letter of a big-road mark (B, P) or a derived-road mark (R, B).
inline char MarkLetter(int mark, bool bigRoad) {
    if (bigRoad) return mark == SIDE_BANKER ? 'B' : mark == SIDE_PLAYER ? 'P' : '?';
    return mark == static_cast<int>(RoadColour::Red)    ? 'R'
           : mark == static_cast<int>(RoadColour::Blue) ? 'B'
                                                        : '?';
}

// The logical columns of a road, separated by spaces; a big-road cell with ties is followed by
// their count ("B2B P": a banker cell with two ties, a banker cell, a player cell).
inline std::string ColumnsText(const CRoad& road, bool bigRoad) {
    std::string text;
    for (int c = 0; c < road.Columns(); ++c) {
        if (c) text += ' ';
        for (const CRoad::Cell& cell : road.Column(c)) {
            text += MarkLetter(cell.mark, bigRoad);
            if (cell.ties) text += std::to_string(cell.ties);
        }
    }
    return text;
}

// The road as drawn: six rows of Width() letters, '.' where no cell is drawn.
inline std::vector<std::string> Picture(const CRoad& road, bool bigRoad) {
    std::vector<std::string> rows(CRoad::kRows, std::string(road.Width(), '.'));
    for (const CRoad::Cell& cell : road.Cells())
        rows[cell.row][cell.column] = MarkLetter(cell.mark, bigRoad);
    return rows;
}

inline char PreviewLetter(const CShoeRoads& roads, int side, int k) {
    const auto mark = roads.Preview(side, k);
    return mark ? MarkLetter(static_cast<int>(*mark), false) : '-';
}

// The preview for banker then player, one letter per derived road: "RRB BBR".
inline std::string PreviewText(const CShoeRoads& roads) {
    std::string text;
    for (const int side : {SIDE_BANKER, SIDE_PLAYER}) {
        if (!text.empty()) text += ' ';
        for (int k = 1; k <= kDerivedRoads; ++k) text += PreviewLetter(roads, side, k);
    }
    return text;
}
