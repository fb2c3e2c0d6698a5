#pragma once

#include <cstdint>

#include "engine/Side.h"

// Random stream of one simulated shoe. The stream depends only on (seed, run, shoe) and the game,
// so a test gives the same shoes however its work is split between threads.
class CShoeRandom {
public:
    // Keys of the two games' streams: the same shoe of the same test draws independent bits in
    // the coin game and in the card game.
    static constexpr std::uint64_t kCoinStream = 0x6A09E667F3BCC909ull;
    static constexpr std::uint64_t kCardStream = 0xBB67AE8584CAA73Bull;

    CShoeRandom(std::uint64_t seed, std::int64_t run, std::int64_t shoe,
                std::uint64_t stream = kCoinStream)
        : m_state(Mix(Mix(seed ^ stream) ^ static_cast<std::uint64_t>(run)) ^
                  (static_cast<std::uint64_t>(shoe) * 0x9E3779B97F4A7C15ull)) {}

    // SIDE_BANKER or SIDE_PLAYER, one chance in two each.
    int NextSide() {
        if (m_left == 0) {
            m_bits = Next();
            m_left = 64;
        }
        const int odd = static_cast<int>(m_bits & 1);
        m_bits >>= 1;
        --m_left;
        return odd ? SIDE_PLAYER : SIDE_BANKER;
    }

    // 64 fresh uniform bits (not shared with NextSide).
    std::uint64_t Next64() { return Next(); }

private:
    // splitmix64 finaliser: a bijective 64-bit mix with good avalanche.
    static std::uint64_t Mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // splitmix64 step: each call yields 64 independent fair bits.
    std::uint64_t Next() { return Mix(m_state += 0x9E3779B97F4A7C15ull); }

    std::uint64_t m_state;
    std::uint64_t m_bits = 0;
    int m_left = 0;
};
