#pragma once

#include <array>
#include <cstdint>

#include "engine/Side.h"
#include "sim/ShoeRandom.h"

// One coup of punto banco as dealt: the cards of each hand in the order they were drawn, the
// totals and the winner. Card values are 0 to 9 (A = 1, 10 and court cards = 0).
struct Coup {
    std::uint8_t winner = SIDE_NONE;  // SIDE_BANKER, SIDE_PLAYER or SIDE_TIE
    std::uint8_t playerTotal = 0;
    std::uint8_t bankerTotal = 0;
    std::uint8_t playerCount = 0;  // 2 or 3
    std::uint8_t bankerCount = 0;  // 2 or 3
    std::array<std::uint8_t, 3> player{};
    std::array<std::uint8_t, 3> banker{};

    constexpr int Cards() const { return playerCount + bankerCount; }
    friend bool operator==(const Coup&, const Coup&) = default;
};

// Value of the player's third card in BankerDraws when the player stood on two cards.
inline constexpr int kPlayerStood = -1;

// The player draws a third card on a two-card total of 0 to 5 (and no natural on the table).
constexpr bool PlayerDraws(int playerTotal) {
    return playerTotal <= 5;
}

// The banker's drawing matrix by his two-card total: bit p (0 to 9) is set when he draws on the
// player's third card p, bit 10 when he draws after the player stood.
inline constexpr int kStoodBit = 10;
inline constexpr std::array<std::uint16_t, 10> kBankerDrawRows = {
    0x7FF,                      // 0: always
    0x7FF,                      // 1: always
    0x7FF,                      // 2: always
    0x7FF & ~(1u << 8),         // 3: unless the player's third card is 8
    0x0FC | (1u << kStoodBit),  // 4: on 2 to 7, or when the player stood
    0x0F0 | (1u << kStoodBit),  // 5: on 4 to 7, or when the player stood
    0x0C0,                      // 6: on 6 or 7 only
    0x000,                      // 7: never
    0x000,                      // 8: a natural
    0x000,                      // 9: a natural
};

// Whether the banker draws on his two-card total, given the player's third card (0 to 9) or
// kPlayerStood; the naturals are settled before this is asked.
constexpr bool BankerDraws(int bankerTotal, int playerThird) {
    if (bankerTotal < 0 || bankerTotal > 9 || playerThird < kPlayerStood || playerThird > 9)
        return false;
    const int bit = playerThird == kPlayerStood ? kStoodBit : playerThird;
    return (kBankerDrawRows[bankerTotal] >> bit) & 1u;
}

// Plays one coup from the cards in `cards`, in the order they leave the shoe: player, banker,
// player, banker, then the third cards as the rules call for them. Reads at most six cards;
// Cards() of the result tells how many it used.
constexpr Coup JudgeCoup(const std::uint8_t* cards) {
    auto lastDigit = [](int sum) { return sum >= 10 ? sum - 10 : sum; };
    Coup coup;
    coup.player = {cards[0], cards[2], 0};
    coup.banker = {cards[1], cards[3], 0};
    coup.playerCount = coup.bankerCount = 2;
    int p = lastDigit(cards[0] + cards[2]);
    int b = lastDigit(cards[1] + cards[3]);
    int next = 4;
    if (p < 8 && b < 8) {  // a natural on either side ends the coup
        int third = kPlayerStood;
        if (PlayerDraws(p)) {
            third = cards[next++];
            coup.player[2] = static_cast<std::uint8_t>(third);
            coup.playerCount = 3;
            p = lastDigit(p + third);
        }
        if (BankerDraws(b, third)) {
            coup.banker[2] = cards[next++];
            coup.bankerCount = 3;
            b = lastDigit(b + coup.banker[2]);
        }
    }
    coup.playerTotal = static_cast<std::uint8_t>(p);
    coup.bankerTotal = static_cast<std::uint8_t>(b);
    coup.winner = p > b ? SIDE_PLAYER : b > p ? SIDE_BANKER : SIDE_TIE;
    return coup;
}

namespace coup_rules {

// Every coup's winner and length by the last digits of the player's and the banker's first two
// cards and the next two cards of the shoe, the only facts the rules look at: bits 0-1 hold the
// winner's side code, bits 2-4 the number of cards used. Built from JudgeCoup.
inline constexpr auto kCoupByDigits = [] {
    std::array<std::uint8_t, 10000> table{};
    for (int player = 0; player < 10; ++player)
        for (int banker = 0; banker < 10; ++banker)
            for (int fifth = 0; fifth < 10; ++fifth)
                for (int sixth = 0; sixth < 10; ++sixth) {
                    const std::uint8_t cards[6] = {
                        static_cast<std::uint8_t>(player), static_cast<std::uint8_t>(banker), 0, 0,
                        static_cast<std::uint8_t>(fifth),  static_cast<std::uint8_t>(sixth)};
                    const Coup coup = JudgeCoup(cards);
                    table[((player * 10 + banker) * 10 + fifth) * 10 + sixth] =
                        static_cast<std::uint8_t>(coup.winner | coup.Cards() << 2);
                }
    return table;
}();

// The last digit of a sum of two card values (0 to 18), looked up: the comparison would become a
// branch that goes either way at random.
inline constexpr std::array<std::uint8_t, 19> kLastDigit = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                            0, 1, 2, 3, 4, 5, 6, 7, 8};

}  // namespace coup_rules

// The coup dealt from `cards` as JudgeCoup plays it, packed: the winner's side code in bits 0-1,
// the number of cards used in bits 2-4. A few loads and no branch, for the simulations: whether
// a hand draws is a coin flip to the processor, and every mispredicted branch costs more than
// the lookup.
inline unsigned PackedCoup(const std::uint8_t* cards) {
    using coup_rules::kLastDigit;
    const unsigned player = kLastDigit[cards[0] + cards[2]];
    const unsigned banker = kLastDigit[cards[1] + cards[3]];
    return coup_rules::kCoupByDigits[((player * 10 + banker) * 10 + cards[4]) * 10 + cards[5]];
}

// An 8-deck shoe for one simulated shoe, shuffled from the shoe's own stream, so the same
// (seed, run, shoe) always deals the same cards. The shuffle is a Fisher-Yates done lazily: a
// position gets its card when the deal comes near it (at most nine cards are shuffled and not yet
// dealt), so a shoe that the adviser ends early costs only the cards it used.
//
// On construction the first card is turned and burned with as many more as its value (10 for a
// 0). The cut card lies kBehindCut cards from the end; the coup during which it comes out is the
// last but one of the shoe.
class CCardShoe {
public:
    static constexpr int kDecks = 8;
    static constexpr int kCards = 52 * kDecks;
    static constexpr int kBehindCut = 14;
    static constexpr int kCutPosition = kCards - kBehindCut;  // first card behind the cut card
    static constexpr int kMaxCoupCards = 6;

    CCardShoe(std::uint64_t seed, std::int64_t run, std::int64_t shoe);

    // Deals and judges the next coup. On a shoe that is over it deals nothing and returns a coup
    // whose winner is SIDE_NONE.
    Coup DealCoup() {
        if (m_over) return Coup{};
        Refill();
        const Coup coup = JudgeCoup(&m_cards[m_next]);
        Advance(coup.Cards());
        return coup;
    }
    // Deals the next coup as DealCoup does (the same cards leave the shoe) and returns only its
    // winner, read from a table: what the simulations need, at a fraction of the work.
    int DealWinner() {
        if (m_over) return SIDE_NONE;
        Refill();
        const unsigned coup = PackedCoup(&m_cards[m_next]);
        Advance(static_cast<int>(coup >> 2));
        return static_cast<int>(coup & 3);
    }
    // The last coup of the shoe has been dealt.
    bool Over() const { return m_over; }
    // The cut card has come out: at most one more coup follows.
    bool CutCardOut() const { return m_cutOut; }
    // Cards taken from the shoe so far, the burn included.
    int Dealt() const { return m_next; }
    // Cards the burn took, the turned card included (2 to 11).
    int Burned() const { return m_burned; }
    // The card at `position` (0 from the top of the shoe), -1 outside the shoe. Shuffles up to it
    // if need be, which changes nothing that is dealt.
    int Peek(int position);

private:
    // Gives the next four positions their cards, one 16-bit piece of a 64-bit draw each.
    void ShuffleFour();
    // Moves past a coup of `cards` cards. The coup after the one that brought out the cut card
    // (with the first card behind it) is the last.
    void Advance(int cards) {
        m_next += cards;
        if (m_cutOut) {
            m_over = true;
        } else if (m_next > kCutPosition) {
            m_cutOut = true;
        }
    }
    // Makes sure the next coup's six cards are shuffled (no coup starts after card
    // kCutPosition + kMaxCoupCards, so they are always there). They were for the coup before,
    // which took at most six, so two blocks of four are enough; written out, since a loop costs
    // more to set up here.
    void Refill() {
        if (m_shuffled < m_next + kMaxCoupCards) {
            ShuffleFour();
            if (m_shuffled < m_next + kMaxCoupCards) ShuffleFour();
        }
    }

    CShoeRandom m_random;
    int m_shuffled = 0;  // positions before this one hold their final card (a multiple of 4)
    int m_next = 0;      // position of the next card to deal
    int m_burned = 0;
    bool m_cutOut = false;
    bool m_over = false;
    std::array<std::uint8_t, kCards> m_cards;
};

inline void CCardShoe::ShuffleFour() {
    // Lemire's multiply-shift: the high half of piece x range is uniform on 0 to range - 1 once
    // the products whose low half falls below 2^16 mod range are drawn again. Only a low half
    // below range can be one of them, so the division is rarely reached.
    auto place = [this](std::uint32_t piece) {
        const std::uint32_t i = static_cast<std::uint32_t>(m_shuffled++);
        const std::uint32_t range = kCards - i;
        std::uint32_t product = piece * range;
        if ((product & 0xFFFF) < range) {
            const std::uint32_t threshold = (0x10000u - range) % range;
            while ((product & 0xFFFF) < threshold)
                product = static_cast<std::uint32_t>(m_random.Next64() & 0xFFFF) * range;
        }
        const std::uint32_t pick = i + (product >> 16);
        const std::uint8_t card = m_cards[pick];
        m_cards[pick] = m_cards[i];
        m_cards[i] = card;
    };
    // Written out four times rather than looped: a loop's exit is mispredicted too often here.
    const std::uint64_t bits = m_random.Next64();
    place(static_cast<std::uint32_t>(bits & 0xFFFF));
    place(static_cast<std::uint32_t>((bits >> 16) & 0xFFFF));
    place(static_cast<std::uint32_t>((bits >> 32) & 0xFFFF));
    place(static_cast<std::uint32_t>(bits >> 48));
}
