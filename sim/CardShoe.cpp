#include "sim/CardShoe.h"

namespace {

// The eight decks in a fixed order, before the shuffle: per deck and suit A, 2 to 9, then 10, J,
// Q and K, which count 0.
constexpr auto kOrderedShoe = [] {
    std::array<std::uint8_t, CCardShoe::kCards> cards{};
    int i = 0;
    for (int suit = 0; suit < 4 * CCardShoe::kDecks; ++suit)
        for (int rank = 1; rank <= 13; ++rank)
            cards[i++] = static_cast<std::uint8_t>(rank < 10 ? rank : 0);
    return cards;
}();

}  // namespace

static_assert(CCardShoe::kCards % 4 == 0, "the shuffle gives out positions four at a time");

CCardShoe::CCardShoe(std::uint64_t seed, std::int64_t run, std::int64_t shoe)
    : m_random(seed, run, shoe, CShoeRandom::kCardStream), m_cards(kOrderedShoe) {
    ShuffleFour();
    const int first = m_cards[0];
    m_burned = 1 + (first == 0 ? 10 : first);
    m_next = m_burned;
    // The first coup's cards; from then on each coup shuffles what the one before it took.
    while (m_shuffled < m_next + kMaxCoupCards) ShuffleFour();
}

int CCardShoe::Peek(int position) {
    if (position < 0 || position >= kCards) return -1;
    while (m_shuffled <= position) ShuffleFour();
    return m_cards[position];
}
