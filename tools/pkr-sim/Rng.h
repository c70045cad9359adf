// Deterministic pseudo-random numbers for the simulator (xoshiro256**, seeded through
// splitmix64). The standard library's distributions differ between implementations, so every
// draw goes through this class to keep a seed's output identical on every platform.
#pragma once

#include <cstdint>

namespace pkrsim {

class CRng {
public:
    explicit CRng(uint64_t seed) noexcept {
        for (uint64_t& word : m_state) {
            seed += 0x9E3779B97F4A7C15ull;
            uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    uint64_t Next() noexcept {
        const uint64_t result = Rotl(m_state[1] * 5, 7) * 9;
        const uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = Rotl(m_state[3], 45);
        return result;
    }

    // Uniform in [0, n); n must be positive. The modulo bias is far below anything a hand
    // history could show.
    uint32_t Below(uint32_t n) noexcept { return static_cast<uint32_t>((Next() >> 32) % n); }
    // Uniform in [low, high].
    int Between(int low, int high) noexcept {
        return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1)));
    }
    // Uniform in [0, 1).
    double Real() noexcept {
        return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
    }
    double Real(double low, double high) noexcept { return low + (high - low) * Real(); }
    bool Chance(double probability) noexcept { return Real() < probability; }

    // A seed for an independent stream, so one table's hands do not depend on another's.
    uint64_t Fork() noexcept { return Next() ^ 0xD1B54A32D192ED03ull; }

private:
    static uint64_t Rotl(uint64_t x, int k) noexcept { return (x << k) | (x >> (64 - k)); }
    uint64_t m_state[4] = {};
};

}  // namespace pkrsim
