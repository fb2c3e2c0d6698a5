#include "sim/TestStats.h"

#include <cmath>
#include <tuple>

namespace {

// Two-sided 95% point of the normal distribution.
constexpr double kZ95 = 1.959963984540054;

// Strict orders of the marked shoes; the position breaks ties, so merging in any order keeps
// the same shoe.
bool Worse(const MarkedShoe& a, const MarkedShoe& b) {
    return std::tie(a.netCents, a.score) != std::tie(b.netCents, b.score)
               ? std::tie(a.netCents, a.score) < std::tie(b.netCents, b.score)
               : std::tie(a.run, a.shoe) < std::tie(b.run, b.shoe);
}

bool Better(const MarkedShoe& a, const MarkedShoe& b) {
    return std::tie(a.netCents, a.score) != std::tie(b.netCents, b.score)
               ? std::tie(a.netCents, a.score) > std::tie(b.netCents, b.score)
               : std::tie(a.run, a.shoe) < std::tie(b.run, b.shoe);
}

unsigned __int128 Magnitude(__int128 x) {
    return x < 0 ? -static_cast<unsigned __int128>(x) : static_cast<unsigned __int128>(x);
}

}  // namespace

void CTestStats::Moments::Add(std::int64_t x) {
    sum += x;
    const unsigned __int128 m = Magnitude(x);
    squares += m * m;
}

Estimate CTestStats::Moments::Estimated(std::int64_t n, double scale) const {
    using U = unsigned __int128;
    Estimate e;
    if (n <= 0) return e;
    // Shift by q, the mean truncated to an integer: sum = q n + r with |r| < n. The sum of the
    // squared deviations from q is small whatever the size of the figures, and computing it in
    // arithmetic modulo 2^128 gives it exactly even when the sum of squares itself wrapped.
    const __int128 q = sum / n;
    const __int128 r = sum - q * n;
    const U uq = static_cast<U>(q);
    const U shifted = squares - 2 * uq * static_cast<U>(sum) + static_cast<U>(n) * uq * uq;
    const long double count = static_cast<long double>(n);
    const long double rest = static_cast<long double>(r);
    e.mean = e.low = e.high =
        static_cast<double>((static_cast<long double>(q) + rest / count) / scale);
    if (n < 2) return e;
    // Deviations from the mean = deviations from q - n (mean - q)^2.
    long double spread = static_cast<long double>(shifted) - rest * rest / count;
    if (spread < 0) spread = 0;
    const long double variance = spread / (count - 1);
    e.sd = static_cast<double>(std::sqrt(variance) / scale);
    e.se = static_cast<double>(std::sqrt(variance / count) / scale);
    e.low = e.mean - kZ95 * e.se;
    e.high = e.mean + kZ95 * e.se;
    return e;
}

void CTestStats::Add(const ShoeOutcome& shoe, std::int64_t run, std::int64_t shoeIndex) {
    const MarkedShoe mark{shoe.score, shoe.netCents, run, shoeIndex};
    if (m_nShoes == 0) {
        m_worst = m_best = mark;
    } else {
        if (Worse(mark, m_worst)) m_worst = mark;
        if (Better(mark, m_best)) m_best = mark;
    }
    ++m_nShoes;
    m_nHands += shoe.hands;
    m_nBanker += shoe.banker;
    m_nPlayer += shoe.player;
    m_nTie += shoe.tie;
    m_nWon += shoe.netCents > 0;
    m_nLost += shoe.netCents < 0;
    m_commissionCents += shoe.commissionCents;
    m_score.Add(shoe.score);
    m_yuan.Add(shoe.netCents);
}

void CTestStats::Merge(const CTestStats& other) {
    if (other.m_nShoes == 0) return;
    if (m_nShoes == 0) {
        *this = other;
        return;
    }
    if (Worse(other.m_worst, m_worst)) m_worst = other.m_worst;
    if (Better(other.m_best, m_best)) m_best = other.m_best;
    m_nShoes += other.m_nShoes;
    m_nHands += other.m_nHands;
    m_nBanker += other.m_nBanker;
    m_nPlayer += other.m_nPlayer;
    m_nTie += other.m_nTie;
    m_nWon += other.m_nWon;
    m_nLost += other.m_nLost;
    m_commissionCents += other.m_commissionCents;
    m_score.sum += other.m_score.sum;
    m_score.squares += other.m_score.squares;
    m_yuan.sum += other.m_yuan.sum;
    m_yuan.squares += other.m_yuan.squares;
}

double CTestStats::HandsPerShoe() const {
    return m_nShoes == 0 ? 0.0 : static_cast<double>(m_nHands) / static_cast<double>(m_nShoes);
}
