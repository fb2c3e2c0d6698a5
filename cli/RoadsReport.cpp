#include "cli/RoadsReport.h"

#include <fmt/format.h>
#include <cmath>
#include <vector>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kDerivedKeys[kDerivedRoads] = {"big_eye_boy", "small_road", "cockroach_pig"};
constexpr const char* kDerivedNames[kDerivedRoads] = {"big eye boy", "small road", "cockroach pig"};

const char* SideLetter(int side) {
    return side == SIDE_BANKER ? "B" : side == SIDE_PLAYER ? "P" : "T";
}

const char* ColourName(RoadColour colour) {
    return colour == RoadColour::Red ? "red" : "blue";
}

Json ColourJson(const std::optional<RoadColour>& colour) {
    return colour ? Json(ColourName(*colour)) : Json(nullptr);
}

// Percent with two decimals, so that the figures read as they are shown.
double Percent(double share) {
    return std::round(share * 100.0) / 100.0;
}

// The six drawn rows of a road; `letter` gives each cell's character.
template <typename Letter>
std::string Drawing(const CRoad& road, Letter letter) {
    std::vector<std::string> rows(CRoad::kRows, std::string(road.Width(), '.'));
    for (const CRoad::Cell& cell : road.Cells()) rows[cell.row][cell.column] = letter(cell);
    std::string text;
    for (const std::string& row : rows) text += "  " + row + '\n';
    return text;
}

}  // namespace

CShoeRoads RoadsOfRecord(const CShoeEngine& engine) {
    CShoeRoads roads;
    for (int i = 0; i < engine.m_nHandCount; ++i) roads.Add(engine.m_ResultCell[i].m_nSide);
    return roads;
}

Json RoadsJson(const CShoeRoads& roads) {
    Json beads = Json::array();
    const std::vector<int>& hands = roads.Hands();
    for (std::size_t i = 0; i < hands.size(); ++i) {
        if (i % CShoeRoads::kBeadRows == 0) beads.push_back(Json::array());
        beads.back().push_back(SideLetter(hands[i]));
    }

    Json big = Json::array();
    for (int c = 0; c < roads.BigRoad().Columns(); ++c) {
        Json column = Json::array();
        for (const CRoad::Cell& cell : roads.BigRoad().Column(c))
            column.push_back(Json{{"side", SideLetter(cell.mark)}, {"ties", cell.ties}});
        big.push_back(std::move(column));
    }

    Json j;
    j["bead_plate"] = std::move(beads);
    j["big_road"] = std::move(big);
    j["ties_before_first"] = roads.LeadingTies();
    for (int k = 1; k <= kDerivedRoads; ++k) {
        Json road = Json::array();
        const CRoad& derived = roads.Derived(k);
        for (int c = 0; c < derived.Columns(); ++c) {
            Json column = Json::array();
            for (const CRoad::Cell& cell : derived.Column(c))
                column.push_back(ColourName(static_cast<RoadColour>(cell.mark)));
            road.push_back(std::move(column));
        }
        j[kDerivedKeys[k - 1]] = std::move(road);
    }
    Json preview;
    for (const auto& [name, side] : {std::pair{"banker", SIDE_BANKER}, {"player", SIDE_PLAYER}}) {
        Json marks;
        for (int k = 1; k <= kDerivedRoads; ++k)
            marks[kDerivedKeys[k - 1]] = ColourJson(roads.Preview(side, k));
        preview[name] = std::move(marks);
    }
    j["preview"] = std::move(preview);

    const RoadCounts& n = roads.Counts();
    j["counts"] = Json{{"hands", n.Hands()},
                       {"banker", n.banker},
                       {"player", n.player},
                       {"tie", n.tie},
                       {"banker_share", Percent(n.Share(n.banker))},
                       {"player_share", Percent(n.Share(n.player))},
                       {"tie_share", Percent(n.Share(n.tie))},
                       {"longest_banker", n.longestBanker},
                       {"longest_player", n.longestPlayer},
                       {"runs", n.runs}};
    return Json{{"roads", std::move(j)}};
}

std::string RoadsText(const CShoeRoads& roads) {
    std::string text = "bead plate (B banker, P player, T tie)\n";
    std::vector<std::string> beads(CShoeRoads::kBeadRows);
    const std::vector<int>& hands = roads.Hands();
    for (std::size_t i = 0; i < hands.size(); ++i)
        beads[i % CShoeRoads::kBeadRows] += SideLetter(hands[i]);
    for (const std::string& row : beads) text += "  " + row + '\n';

    text += "big road (lower case: ties marked on the cell)\n";
    text += Drawing(roads.BigRoad(), [](const CRoad::Cell& cell) {
        const char letter = cell.mark == SIDE_BANKER ? 'B' : 'P';
        return cell.ties ? static_cast<char>(letter - 'A' + 'a') : letter;
    });
    for (int k = 1; k <= kDerivedRoads; ++k) {
        text += fmt::format("{} (R red, B blue)\n", kDerivedNames[k - 1]);
        text += Drawing(roads.Derived(k), [](const CRoad::Cell& cell) {
            return static_cast<RoadColour>(cell.mark) == RoadColour::Red ? 'R' : 'B';
        });
    }

    for (const auto& [name, side] : {std::pair{"banker", SIDE_BANKER}, {"player", SIDE_PLAYER}}) {
        text += fmt::format("if {} next:", name);
        for (int k = 1; k <= kDerivedRoads; ++k) {
            const auto mark = roads.Preview(side, k);
            text += fmt::format("{} {} {}", k == 1 ? "" : ",", kDerivedNames[k - 1],
                                mark ? ColourName(*mark) : "-");
        }
        text += '\n';
    }
    const RoadCounts& n = roads.Counts();
    text += fmt::format(
        "hands {}: banker {} ({:.1f}%), player {} ({:.1f}%), tie {} ({:.1f}%); longest banker "
        "run {}, longest player run {}; {} runs\n",
        n.Hands(), n.banker, n.Share(n.banker), n.player, n.Share(n.player), n.tie, n.Share(n.tie),
        n.longestBanker, n.longestPlayer, n.runs);
    return text;
}
