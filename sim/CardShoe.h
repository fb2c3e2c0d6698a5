#pragma once

#include <array>
#include <cstdint>

#include "ShoeRandom.h"
#include "Side.h"

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

    int Cards() const { return playerCount + bankerCount; }
    friend bool operator==(const Coup&, const Coup&) = default;
};

// Value of the player's third card in BankerDraws when the player stood on two cards.
inline constexpr int kPlayerStood = -1;

// The player draws a third card on a two-card total of 0 to 5 (and no natural on the table).
constexpr bool PlayerDraws(int playerTotal) {
    return playerTotal <= 5;
}

// Whether the banker draws on his two-card total, given the player's third card (0 to 9) or
// kPlayerStood; the naturals are settled before this is asked.
constexpr bool BankerDraws(int bankerTotal, int playerThird) {
    // Bit p (0..9) of row t: the banker on t draws when the player's third card was p; bit 10:
    // he draws when the player stood.
    constexpr std::uint16_t kStood = 1u << 10;
    constexpr std::uint16_t kRows[10] = {
        0x7FF,               // 0: always
        0x7FF,               // 1: always
        0x7FF,               // 2: always
        0x7FF & ~(1u << 8),  // 3: unless the player's third card is 8
        0x0FC | kStood,      // 4: on 2 to 7
        0x0F0 | kStood,      // 5: on 4 to 7
        0x0C0,               // 6: on 6 or 7 (stands when the player stood)
        0x000,               // 7: never
        0x000,               // 8: natural
        0x000,               // 9: natural
    };
    if (bankerTotal < 0 || bankerTotal > 9 || playerThird < kPlayerStood || playerThird > 9)
        return false;
    const int bit = playerThird == kPlayerStood ? 10 : playerThird;
    return (kRows[bankerTotal] >> bit) & 1u;
}

// Plays one coup from the cards in `cards`, in the order they leave the shoe: player, banker,
// player, banker, then the third cards as the rules call for them. Reads at most six cards;
// Cards() of the result tells how many were used.
constexpr Coup JudgeCoup(const std::uint8_t* cards) {
    auto mod10 = [](int sum) { return sum >= 10 ? sum - 10 : sum; };
    Coup coup;
    coup.player = {cards[0], cards[2], 0};
    coup.banker = {cards[1], cards[3], 0};
    coup.playerCount = coup.bankerCount = 2;
    int p = mod10(cards[0] + cards[2]);
    int b = mod10(cards[1] + cards[3]);
    int next = 4;
    if (p < 8 && b < 8) {
        int third = kPlayerStood;
        if (PlayerDraws(p)) {
            third = cards[next++];
            coup.player[2] = static_cast<std::uint8_t>(third);
            coup.playerCount = 3;
            p = mod10(p + third);
        }
        if (BankerDraws(b, third)) {
            coup.banker[2] = cards[next++];
            coup.bankerCount = 3;
            b = mod10(b + coup.banker[2]);
        }
    }
    coup.playerTotal = static_cast<std::uint8_t>(p);
    coup.bankerTotal = static_cast<std::uint8_t>(b);
    coup.winner = p > b ? SIDE_PLAYER : b > p ? SIDE_BANKER : SIDE_TIE;
    return coup;
}

// An 8-deck shoe for one simulated shoe, shuffled from the shoe's own stream, so the same
// (seed, run, shoe) always deals the same cards. The shuffle is a Fisher-Yates done lazily: a
// position gets its card when the deal first reaches it (at most one coup ahead), so a shoe that
// the adviser ends early costs only the cards it used.
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
    Coup DealCoup();
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
    // A uniform draw from 0 to range - 1 (range 1 to 65536): Lemire's multiply-shift on 16 bits
    // of the stream, with rejection, so no value is favoured.
    std::uint32_t DrawBelow(std::uint32_t range);
    // Gives positions up to `end` (exclusive, at most kCards) their cards.
    void ShuffleTo(int end);

    CShoeRandom m_random;
    std::uint64_t m_bits = 0;  // unused 16-bit chunks of the last 64-bit draw
    int m_chunks = 0;
    int m_shuffled = 0;  // positions before this one hold their final card
    int m_next = 0;      // position of the next card to deal
    int m_burned = 0;
    bool m_cutOut = false;
    bool m_over = false;
    std::array<std::uint8_t, kCards> m_cards;
};
