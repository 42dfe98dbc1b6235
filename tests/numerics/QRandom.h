#pragma once

// Random qreal arguments for the accuracy tests: full random mantissas with
// exponents spread evenly over a range, from a fixed seed so that every run
// checks the same numbers.

#include <cstdint>
#include <random>

#include "numerics/qlib.h"

namespace qtest {

class QRandom {
public:
    explicit QRandom(uint64_t nSeed = 0x5eed1e55u) : m_rng(nSeed) {}

    // |x| in [2^nLo, 2^(nHi+1)) with the exponent uniform in [nLo, nHi];
    // nSign: +1 positive, -1 negative, 0 either.
    void Real(unsigned short* x, int nLo, int nHi, int nSign = 0);

    // Uniform in [dLo, dHi) with a full 336-bit mantissa (dLo < dHi).
    void Uniform(unsigned short* x, double dLo, double dHi);

    int Int(int nLo, int nHi) { return std::uniform_int_distribution<int>(nLo, nHi)(m_rng); }
    bool Coin() { return (m_rng() & 1) != 0; }
    uint64_t Bits() { return m_rng(); }

private:
    std::mt19937_64 m_rng;
};

}  // namespace qtest
