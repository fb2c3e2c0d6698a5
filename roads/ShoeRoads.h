#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "roads/DerivedRule.h"
#include "roads/Road.h"

// What every scoreboard counts about a shoe.
struct RoadCounts {
    int banker = 0;
    int player = 0;
    int tie = 0;
    int longestBanker = 0;  // longest banker run; ties inside a run do not break it
    int longestPlayer = 0;
    int runs = 0;  // columns of the big road

    int Hands() const { return banker + player + tie; }
    // Share of all hands, in percent; 0 for an empty shoe.
    double Share(int count) const { return Hands() ? 100.0 * count / Hands() : 0.0; }

    friend bool operator==(const RoadCounts&, const RoadCounts&) = default;
};

// The road maps of one shoe, built hand by hand from its results: the bead plate, the big road,
// the big eye boy, the small road and the cockroach pig, what each derived road would add on a
// banker or a player hand next, and the counts. A hand costs constant time; Back rebuilds the
// shoe without its last hand by replaying it, as the shoe record does.
class CShoeRoads {
public:
    // Rows of the bead plate: hand i is drawn in column i / 6, row i % 6.
    static constexpr int kBeadRows = 6;

    void Clear();
    // Adds one hand: SIDE_BANKER, SIDE_PLAYER or SIDE_TIE. Any other value is refused (false).
    bool Add(int side);
    // Takes the last hand back. False on an empty shoe.
    bool Back();
    // Clears the roads and adds `sides` in order (refused values are skipped).
    void Rebuild(std::span<const int> sides);

    // The bead plate: every hand's side in the order entered, ties included.
    const std::vector<int>& Hands() const { return m_nHands; }
    // Banker and player hands, ties marked on the cell before them.
    const CRoad& BigRoad() const { return m_bigRoad; }
    // Ties before the first banker or player hand. They are marked on that hand's cell too, once
    // it comes.
    int LeadingTies() const { return m_nLeadingTies; }
    // Derived road k: kBigEyeBoy, kSmallRoad or kCockroachPig.
    const CRoad& Derived(int k) const { return m_derived[static_cast<std::size_t>(k - 1)]; }
    // The mark derived road k would add if the next hand were `side` (banker or player);
    // nullopt when that hand would not reach the road's start yet.
    std::optional<RoadColour> Preview(int side, int k) const;
    const RoadCounts& Counts() const { return m_counts; }

    friend bool operator==(const CShoeRoads&, const CShoeRoads&) = default;

private:
    std::vector<int> m_nHands;
    CRoad m_bigRoad;
    std::array<CRoad, kDerivedRoads> m_derived;
    int m_nLeadingTies = 0;
    RoadCounts m_counts;
};
