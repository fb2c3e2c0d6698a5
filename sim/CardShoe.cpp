#include "CardShoe.h"

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

CCardShoe::CCardShoe(std::uint64_t seed, std::int64_t run, std::int64_t shoe)
    : m_random(seed, run, shoe, CShoeRandom::kCardStream), m_cards(kOrderedShoe) {
    ShuffleTo(1);
    const int first = m_cards[0];
    m_burned = 1 + (first == 0 ? 10 : first);
    m_next = m_burned;
}

std::uint32_t CCardShoe::DrawBelow(std::uint32_t range) {
    for (;;) {
        if (m_chunks == 0) {
            m_bits = m_random.Next64();
            m_chunks = 4;
        }
        const std::uint32_t product = static_cast<std::uint32_t>(m_bits & 0xFFFF) * range;
        m_bits >>= 16;
        --m_chunks;
        // The low half of the product is below 2^16 mod range for exactly the surplus of draws
        // that would favour the small results; those are drawn again. Checking against range
        // first keeps the division off the common path.
        const std::uint32_t low = product & 0xFFFF;
        if (low >= range || low >= (0x10000u - range) % range) return product >> 16;
    }
}

void CCardShoe::ShuffleTo(int end) {
    if (end > kCards) end = kCards;
    for (; m_shuffled < end; ++m_shuffled) {
        const std::uint32_t pick =
            static_cast<std::uint32_t>(m_shuffled) + DrawBelow(kCards - m_shuffled);
        const std::uint8_t card = m_cards[pick];
        m_cards[pick] = m_cards[m_shuffled];
        m_cards[m_shuffled] = card;
    }
}

Coup CCardShoe::DealCoup() {
    if (m_over) return Coup{};
    // No coup starts after card kCutPosition + kMaxCoupCards, so six cards are always there.
    ShuffleTo(m_next + kMaxCoupCards);
    const Coup coup = JudgeCoup(&m_cards[m_next]);
    m_next += coup.Cards();
    if (m_cutOut) {
        m_over = true;
    } else if (m_next > kCutPosition) {
        m_cutOut = true;
    }
    return coup;
}

int CCardShoe::Peek(int position) {
    if (position < 0 || position >= kCards) return -1;
    ShuffleTo(position + 1);
    return m_cards[position];
}
