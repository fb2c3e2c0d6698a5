#pragma once

#include <cstdint>

#include "sim/ShoeGame.h"

// A per-shoe figure estimated from the shoes of a test.
struct Estimate {
    double mean = 0;  // mean per shoe
    double sd = 0;    // sample standard deviation of one shoe (0 with fewer than two shoes)
    double se = 0;    // standard error of the mean
    double low = 0;   // 95% confidence interval of the mean (normal approximation)
    double high = 0;
};

// A shoe singled out by the statistics, with where it was played so it can be dealt again.
struct MarkedShoe {
    int score = 0;
    std::int64_t netCents = 0;
    std::int64_t run = 0;  // run and shoe (from 1) as given to Add; 0 and 0 while no shoe was added
    std::int64_t shoe = 0;

    double NetYuan() const { return static_cast<double>(netCents) / 100.0; }
    friend bool operator==(const MarkedShoe&, const MarkedShoe&) = default;
};

// Statistics of the shoes of a test, coin or cards, in a fixed amount of memory whatever their
// number. Every sum is an exact integer (scores in units, money in cents, 128 bits), so
// accumulators filled by different threads merge into exactly the figures one thread would have,
// in any order.
class CTestStats {
public:
    void Add(const ShoeOutcome& shoe, std::int64_t run = 0, std::int64_t shoeIndex = 0);
    void Merge(const CTestStats& other);

    std::int64_t Shoes() const { return m_nShoes; }
    std::int64_t Hands() const { return m_nHands; }
    std::int64_t BankerHands() const { return m_nBanker; }
    std::int64_t PlayerHands() const { return m_nPlayer; }
    std::int64_t TieHands() const { return m_nTie; }
    double HandsPerShoe() const;

    std::int64_t TotalScore() const { return static_cast<std::int64_t>(m_score.sum); }
    Estimate Score() const { return m_score.Estimated(m_nShoes, 1.0); }
    double NetYuan() const { return static_cast<double>(m_yuan.sum) / 100.0; }
    Estimate Yuan() const { return m_yuan.Estimated(m_nShoes, 100.0); }
    double CommissionYuan() const { return static_cast<double>(m_commissionCents) / 100.0; }

    // Shoes that ended with money won, lost and even at the table.
    std::int64_t ShoesWon() const { return m_nWon; }
    std::int64_t ShoesLost() const { return m_nLost; }
    std::int64_t ShoesEven() const { return m_nShoes - m_nWon - m_nLost; }

    // The shoes with the least and the most money won; equal money is ordered by score, then by
    // the earlier run and shoe.
    const MarkedShoe& Worst() const { return m_worst; }
    const MarkedShoe& Best() const { return m_best; }

    friend bool operator==(const CTestStats&, const CTestStats&) = default;

private:
    // Exact sum, and sum of squares modulo 2^128, of one integer figure.
    struct Moments {
        __int128 sum = 0;
        unsigned __int128 squares = 0;  // wraps harmlessly: only differences of it are used

        void Add(std::int64_t x);
        // The estimate in the figure's own unit divided by `scale`.
        Estimate Estimated(std::int64_t n, double scale) const;
        friend bool operator==(const Moments&, const Moments&) = default;
    };

    std::int64_t m_nShoes = 0;
    std::int64_t m_nHands = 0;
    std::int64_t m_nBanker = 0;
    std::int64_t m_nPlayer = 0;
    std::int64_t m_nTie = 0;
    std::int64_t m_nWon = 0;
    std::int64_t m_nLost = 0;
    __int128 m_commissionCents = 0;
    Moments m_score;
    Moments m_yuan;  // in cents
    MarkedShoe m_worst;
    MarkedShoe m_best;
};
