#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/CardShoe.h"

namespace {

constexpr double kBanker = 0.458597;  // published 8-deck probabilities of one coup
constexpr double kPlayer = 0.446247;
constexpr double kTie = 0.095156;

// Cards of each value in an 8-deck shoe: 10, J, Q and K count 0.
constexpr std::array<std::uint64_t, 10> kShoeCounts = {128, 32, 32, 32, 32, 32, 32, 32, 32, 32};

// Every sequence of six card values drawn from a full 8-deck shoe without replacement, weighted by
// the number of card orders that give it, is judged by JudgeCoup and by the table the simulations
// deal with. A coup that uses fewer than six cards is counted once per continuation, and the
// continuations' weights add up to the cards left, so each outcome gets its exact share of
// 416 x 415 x ... x 411.
TEST(CardShoe, EnumerationGivesThePublishedProbabilities) {
    std::array<std::uint64_t, 10> left = kShoeCounts;
    std::array<std::uint8_t, 6> cards{};
    std::array<std::uint64_t, 4> judged{}, packed{};  // weights by winner side
    std::uint64_t disagreements = 0;
    auto walk = [&](auto& self, int depth, std::uint64_t w) -> void {
        if (depth == 6) {
            const Coup coup = JudgeCoup(cards.data());
            const unsigned quick = PackedCoup(cards.data());
            judged[coup.winner] += w;
            packed[quick & 3] += w;
            disagreements +=
                (quick & 3) != coup.winner || (quick >> 2) != static_cast<unsigned>(coup.Cards());
            return;
        }
        for (int v = 0; v < 10; ++v) {
            if (left[v] == 0) continue;
            cards[depth] = static_cast<std::uint8_t>(v);
            const std::uint64_t ways = left[v]--;
            self(self, depth + 1, w * ways);
            ++left[v];
        }
    };
    walk(walk, 0, 1);

    EXPECT_EQ(disagreements, 0u);
    const std::uint64_t total = 416ull * 415 * 414 * 413 * 412 * 411;
    for (const auto* weight : {&judged, &packed}) {
        ASSERT_EQ((*weight)[SIDE_NONE], 0u);
        ASSERT_EQ((*weight)[SIDE_BANKER] + (*weight)[SIDE_PLAYER] + (*weight)[SIDE_TIE], total);
        auto sixDecimals = [&](int side) {
            return std::round(static_cast<double>((*weight)[side]) / static_cast<double>(total) *
                              1e6);
        };
        EXPECT_EQ(sixDecimals(SIDE_BANKER), std::round(kBanker * 1e6));
        EXPECT_EQ(sixDecimals(SIDE_PLAYER), std::round(kPlayer * 1e6));
        EXPECT_EQ(sixDecimals(SIDE_TIE), std::round(kTie * 1e6));
    }
}

// The banker's drawing matrix as the rules state it. Columns: the player stood, then the player's
// third card 0 to 9. D draws, S stands.
TEST(CardShoe, BankerDrawingMatrix) {
    const std::array<std::string, 10> rows = {
        "D DDDDDDDDDD",  // 0
        "D DDDDDDDDDD",  // 1
        "D DDDDDDDDDD",  // 2
        "D DDDDDDDDSD",  // 3: not on an 8
        "D SSDDDDDDSS",  // 4: on 2 to 7
        "D SSSSDDDDSS",  // 5: on 4 to 7
        "S SSSSSSDDSS",  // 6: on 6 and 7 only
        "S SSSSSSSSSS",  // 7
        "S SSSSSSSSSS",  // 8 (a natural never gets here)
        "S SSSSSSSSSS",  // 9
    };
    for (int total = 0; total < 10; ++total) {
        SCOPED_TRACE("banker total " + std::to_string(total));
        EXPECT_EQ(BankerDraws(total, kPlayerStood), rows[total][0] == 'D');
        for (int third = 0; third < 10; ++third)
            EXPECT_EQ(BankerDraws(total, third), rows[total][2 + third] == 'D')
                << "third " << third;
        EXPECT_EQ(PlayerDraws(total), total <= 5);
    }
}

// Whole coups from chosen cards, dealt player, banker, player, banker, then the third cards.
TEST(CardShoe, CoupsFromChosenCards) {
    struct Case {
        const char* name;
        std::array<std::uint8_t, 6> cards;
        int winner, player, banker, used;
    };
    const Case cases[] = {
        {"player natural 8 beats banker 7", {4, 3, 4, 4, 9, 9}, SIDE_PLAYER, 8, 7, 4},
        {"banker natural 9 ends the coup before the player's draw",
         {1, 4, 1, 5, 9, 9},
         SIDE_BANKER,
         2,
         9,
         4},
        {"two naturals 8 tie", {4, 4, 4, 4, 1, 1}, SIDE_TIE, 8, 8, 4},
        {"totals wrap past 10: 9 + 9 is a natural 8", {9, 5, 9, 5, 1, 1}, SIDE_PLAYER, 8, 0, 4},
        {"6 and 7 both stand", {3, 3, 3, 4, 1, 1}, SIDE_BANKER, 6, 7, 4},
        {"player stands on 7, banker draws on 5", {3, 2, 4, 3, 3, 9}, SIDE_BANKER, 7, 8, 5},
        {"player stands on 6, banker stands on 6", {0, 3, 6, 3, 9, 9}, SIDE_TIE, 6, 6, 4},
        {"banker on 3 stands on the player's 8", {1, 1, 1, 2, 8, 5}, SIDE_BANKER, 0, 3, 5},
        {"banker on 3 draws on the player's 9", {1, 1, 1, 2, 9, 5}, SIDE_BANKER, 1, 8, 6},
        {"banker on 6 draws on the player's 7", {2, 3, 3, 3, 7, 1}, SIDE_BANKER, 2, 7, 6},
        {"banker on 6 stands on the player's 5", {0, 3, 0, 3, 5, 1}, SIDE_BANKER, 5, 6, 5},
        {"a drawn 8 is no natural: the banker's 7 stands",
         {0, 3, 0, 4, 8, 9},
         SIDE_PLAYER,
         8,
         7,
         5},
        {"banker on 7 stands after the player drew", {0, 3, 0, 4, 7, 9}, SIDE_TIE, 7, 7, 5},
        {"player draws to a tie with a drawn banker", {0, 0, 0, 0, 5, 5}, SIDE_TIE, 5, 5, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Coup coup = JudgeCoup(c.cards.data());
        EXPECT_EQ(coup.winner, c.winner);
        EXPECT_EQ(coup.playerTotal, c.player);
        EXPECT_EQ(coup.bankerTotal, c.banker);
        EXPECT_EQ(coup.Cards(), c.used);
    }
}

std::vector<Coup> DealWholeShoe(CCardShoe& shoe) {
    std::vector<Coup> coups;
    while (!shoe.Over()) coups.push_back(shoe.DealCoup());
    return coups;
}

// Card values of a coup in the order they left the shoe.
std::vector<int> InDealOrder(const Coup& coup) {
    std::vector<int> cards = {coup.player[0], coup.banker[0], coup.player[1], coup.banker[1]};
    if (coup.playerCount == 3) cards.push_back(coup.player[2]);
    if (coup.bankerCount == 3) cards.push_back(coup.banker[2]);
    return cards;
}

TEST(CardShoe, SameShoeNumberDealsTheSameCards) {
    CCardShoe a(7, 3, 11), b(7, 3, 11);
    const std::vector<Coup> coups = DealWholeShoe(a);
    EXPECT_EQ(DealWholeShoe(b), coups);
    // Dealing only the winners takes the same cards.
    CCardShoe quick(7, 3, 11), full(7, 3, 11);
    while (!full.Over()) {
        ASSERT_EQ(quick.DealWinner(), full.DealCoup().winner);
        ASSERT_EQ(quick.Dealt(), full.Dealt());
        ASSERT_EQ(quick.Over(), full.Over());
    }
    EXPECT_EQ(quick.DealWinner(), SIDE_NONE);
    // Looking at every card first changes nothing that is dealt.
    CCardShoe peeked(7, 3, 11);
    for (int i = CCardShoe::kCards - 1; i >= 0; --i) peeked.Peek(i);
    EXPECT_EQ(DealWholeShoe(peeked), coups);
    // Any other seed, run or shoe deals another shoe.
    for (const auto& [seed, run, shoe] :
         {std::array<std::int64_t, 3>{8, 3, 11}, {7, 4, 11}, {7, 3, 12}, {7, 11, 3}}) {
        CCardShoe other(static_cast<std::uint64_t>(seed), run, shoe);
        EXPECT_NE(DealWholeShoe(other), coups) << seed << " " << run << " " << shoe;
    }
}

// Every shoe holds the eight decks, is dealt from the top after the burn without skipping or
// repeating a card, and ends one coup after the coup that brought out the cut card.
TEST(CardShoe, BurnDealAndCutCard) {
    std::array<int, 12> burns{};
    for (std::int64_t n = 1; n <= 400; ++n) {
        SCOPED_TRACE("shoe " + std::to_string(n));
        CCardShoe shoe(5, 1, n);
        std::array<std::uint64_t, 10> counts{};
        for (int i = 0; i < CCardShoe::kCards; ++i) ++counts[shoe.Peek(i)];
        ASSERT_EQ(counts, kShoeCounts);

        const int first = shoe.Peek(0);
        ASSERT_EQ(shoe.Burned(), 1 + (first == 0 ? 10 : first));
        ++burns[shoe.Burned()];
        ASSERT_EQ(shoe.Dealt(), shoe.Burned());

        int position = shoe.Burned();
        int coupsAfterCut = -1;
        while (!shoe.Over()) {
            ASSERT_FALSE(coupsAfterCut >= 1) << "a coup was dealt after the last one";
            const bool cutBefore = shoe.CutCardOut();
            const Coup coup = shoe.DealCoup();
            for (const int card : InDealOrder(coup)) ASSERT_EQ(card, shoe.Peek(position++));
            ASSERT_EQ(shoe.Dealt(), position);
            // The cut card comes out with the coup that deals the first card behind it.
            const bool dealtBehindCut = position > CCardShoe::kCutPosition;
            ASSERT_EQ(shoe.CutCardOut(), dealtBehindCut);
            if (cutBefore) ++coupsAfterCut;
            if (!cutBefore && dealtBehindCut) coupsAfterCut = 0;
        }
        EXPECT_EQ(coupsAfterCut, 1);
        EXPECT_LE(shoe.Dealt(), CCardShoe::kCards);
        const Coup none = shoe.DealCoup();
        EXPECT_EQ(none.winner, SIDE_NONE);
        EXPECT_EQ(shoe.Dealt(), position);
    }
    for (int burned = 2; burned <= 11; ++burned) EXPECT_GT(burns[burned], 0) << burned;
    EXPECT_EQ(CCardShoe(5, 1, 1).Peek(CCardShoe::kCards), -1);
}

// Coups dealt from many seeded shoes as the simulations deal them come out banker, player and tie
// in the published shares, each within 4 standard errors; and the first card of a shoe is a 0 in
// 128 of 416.
TEST(CardShoe, DealtFrequenciesMatchTheProbabilities) {
    constexpr int kShoes = 250000;
    std::array<std::int64_t, 4> wins{};
    std::int64_t firstZero = 0;
    for (int n = 1; n <= kShoes; ++n) {
        CCardShoe shoe(2024, 1, n);
        firstZero += shoe.Burned() == 11;
        while (!shoe.Over()) ++wins[shoe.DealWinner()];
    }
    const double coups =
        static_cast<double>(wins[SIDE_BANKER] + wins[SIDE_PLAYER] + wins[SIDE_TIE]);
    ASSERT_EQ(wins[SIDE_NONE], 0);
    auto withinFourSe = [](double hits, double trials, double p) {
        const double se = std::sqrt(p * (1 - p) / trials);
        EXPECT_NEAR(hits / trials, p, 4 * se) << "expected " << p << " over " << trials;
    };
    withinFourSe(static_cast<double>(wins[SIDE_BANKER]), coups, kBanker);
    withinFourSe(static_cast<double>(wins[SIDE_PLAYER]), coups, kPlayer);
    withinFourSe(static_cast<double>(wins[SIDE_TIE]), coups, kTie);
    withinFourSe(static_cast<double>(firstZero), kShoes, 128.0 / 416.0);
}

}  // namespace
