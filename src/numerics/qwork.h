#pragma once

// Working form of a qreal inside the library (not part of the public
// interface). The 16-bit word format is what callers store; the arithmetic
// runs on 64-bit limbs:
//
//   m[5] ... m[0]   384 bits, m[5] most significant; a normalised value has
//                   bit 63 of m[5] set. Bits 383..48 are the 336-bit mantissa
//                   (words 3..23), bits 47..32 the extra word that catches the
//                   bits shifted out of the mantissa and the low half of
//                   products and quotients; its top bit (bit 47 of m[0])
//                   decides rounding. Bits 31..0 lie below the extra word.
//   nExp            biased exponent as an int, so that a result may leave the
//                   stored range while it is formed and be checked once.

#include <cstdint>
#include <cstring>

#include "numerics/qlib.h"

struct QWORK {
    int nSign;       // 0 positive, 1 negative
    int nExp;        // biased exponent; 0 with a zero mantissa is zero
    uint64_t m[6];   // mantissa limbs, least significant first
};

namespace qwork {

constexpr int kLimbs = 6;
constexpr uint64_t kTopBit = 0x8000000000000000ull;
constexpr uint64_t kUnit = 1ull << 48;        // one unit in the last place, in m[0]
constexpr uint64_t kRoundBit = 1ull << 47;    // top bit of the extra word
constexpr uint64_t kMantMask = ~(kUnit - 1);  // mantissa bits of m[0]
constexpr uint64_t kWorkMask = ~0ull << 32;   // mantissa and extra word bits of m[0]

inline bool IsZero(const unsigned short* a)
{
    return a[1] == 0;
}

// Four words, most significant first, as one limb and back. The words sit
// in memory in their own order, so a limb is the little-endian load with its
// four 16-bit lanes reversed.
inline uint64_t LoadLimb(const unsigned short* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    v = (v << 32) | (v >> 32);
    return ((v & 0x0000FFFF0000FFFFull) << 16) | ((v >> 16) & 0x0000FFFF0000FFFFull);
}

inline void StoreLimb(uint64_t v, unsigned short* p)
{
    v = (v << 32) | (v >> 32);
    v = ((v & 0x0000FFFF0000FFFFull) << 16) | ((v >> 16) & 0x0000FFFF0000FFFFull);
    std::memcpy(p, &v, sizeof v);
}

// Mantissa words 3..23 into limbs; the extra word and the bits below it zero.
inline void LoadMant(const unsigned short* a, uint64_t* m)
{
    m[5] = LoadLimb(a + 3);
    m[4] = LoadLimb(a + 7);
    m[3] = LoadLimb(a + 11);
    m[2] = LoadLimb(a + 15);
    m[1] = LoadLimb(a + 19);
    m[0] = uint64_t(a[23]) << 48;
}

// normlz: shifts the mantissa up until bit 383 is set and lowers the
// exponent by the shift. Returns true when the mantissa is all zero.
bool Normalize(QWORK& w);

// qmovz: a stored number into working form; a zero gets a zero mantissa.
// A nonzero number always has its leading bit set; one that does not (an
// array that never held a number) is normalised here, so that no routine
// divides by a mantissa whose top limb is not the leading one.
inline void Unpack(const unsigned short* a, QWORK& w)
{
    w.nSign = a[0] != 0;
    w.nExp = a[1];
    if (a[1] == 0) {
        for (int i = 0; i < kLimbs; ++i)
            w.m[i] = 0;
        return;
    }
    LoadMant(a, w.m);
    if (!(w.m[kLimbs - 1] & kTopBit) && (Normalize(w) || w.nExp <= 0)) {
        w.nExp = 0;
        for (int i = 0; i < kLimbs; ++i)
            w.m[i] = 0;
    }
}

// Writes sign, exponent and the 336 mantissa bits; the caller has rounded
// and range-checked the exponent (1 ... QEXPMAX).
inline void Pack(const QWORK& w, unsigned short* c)
{
    c[0] = w.nSign ? 0xFFFF : 0;
    c[1] = (unsigned short)w.nExp;
    c[2] = 0;
    StoreLimb(w.m[5], c + 3);
    StoreLimb(w.m[4], c + 7);
    StoreLimb(w.m[3], c + 11);
    StoreLimb(w.m[2], c + 15);
    StoreLimb(w.m[1], c + 19);
    c[23] = (unsigned short)(w.m[0] >> 48);
}

// A small positive integer as a working number (exact).
inline void WorkFromInt(uint64_t n, QWORK& w)
{
    int s = __builtin_clzll(n);
    w.nSign = 0;
    w.nExp = QEXPBIAS + 63 - s;
    w.m[5] = n << s;
    w.m[4] = w.m[3] = w.m[2] = w.m[1] = w.m[0] = 0;
}

inline bool WorkIsZero(const QWORK& w)
{
    return (w.m[0] | w.m[1] | w.m[2] | w.m[3] | w.m[4] | w.m[5]) == 0;
}

// A zero with the given sign word (all other words cleared).
inline void SetZero(unsigned short* c, unsigned short nSignWord = 0)
{
    c[0] = nSignWord;
    for (int i = 1; i < NQ; ++i)
        c[i] = 0;
}

// The largest magnitude with the given sign.
inline void SetHuge(unsigned short* c, int nSign)
{
    c[0] = nSign ? 0xFFFF : 0;
    c[1] = QEXPMAX;
    c[2] = 0;
    for (int i = 3; i < NQ; ++i)
        c[i] = 0xFFFF;
}

inline bool MantIsZero(const uint64_t* m)
{
    return (m[0] | m[1] | m[2] | m[3] | m[4] | m[5]) == 0;
}

// d = m shifted down by n bits, 0 < n < 384 (bits falling off the bottom
// are lost). d may be m.
inline void ShiftDownCopy(const uint64_t* m, uint64_t* d, int n)
{
    int q = n >> 6, r = n & 63;
    // (hi << 1) << (63 - r) is hi << (64 - r), and 0 for r == 0.
    for (int i = 0; i < kLimbs; ++i) {
        uint64_t lo = i + q < kLimbs ? m[i + q] : 0;
        uint64_t hi = i + q + 1 < kLimbs ? m[i + q + 1] : 0;
        d[i] = (lo >> r) | ((hi << 1) << (63 - r));
    }
}

// Shifts the 384-bit mantissa down by n >= 0 bits.
inline void ShiftDown(uint64_t* m, int n)
{
    if (n <= 0)
        return;
    if (n >= 64 * kLimbs) {
        for (int i = 0; i < kLimbs; ++i)
            m[i] = 0;
        return;
    }
    ShiftDownCopy(m, m, n);
}

// Shifts the 384-bit mantissa up by n >= 0 bits.
inline void ShiftUp(uint64_t* m, int n)
{
    if (n <= 0)
        return;
    if (n >= 64 * kLimbs) {
        for (int i = 0; i < kLimbs; ++i)
            m[i] = 0;
        return;
    }
    int q = n >> 6, r = n & 63;
    for (int i = kLimbs - 1; i >= 0; --i) {
        uint64_t hi = i - q >= 0 ? m[i - q] : 0;
        uint64_t lo = i - q - 1 >= 0 ? m[i - q - 1] : 0;
        m[i] = (hi << r) | ((lo >> 1) >> (63 - r));
    }
}


// Rounds a normalised working number on the top bit of its extra word
// (half up in magnitude) and stores it, checking the range: a result above
// QEXPMAX reports overflow under pName and stores the largest magnitude; a
// result at or below 0 stores +0 silently.
void RoundPack(QWORK& w, unsigned short* c, const char* pName);

// Full-precision operations on working numbers with an unbounded exponent,
// for routines that combine several products before a single range check
// (complex multiplication and division). Results are rounded to 336 bits
// like qadd/qmul/qdiv, but never overflow. With bWide they keep all 384
// bits instead (truncated), for intermediate results that need more than
// the stored precision.
void WorkAdd(const QWORK& a, const QWORK& b, QWORK& c, bool bSubtract, bool bWide = false);
void WorkMul(const QWORK& a, const QWORK& b, QWORK& c);
void WorkDiv(const QWORK& a, const QWORK& b, QWORK& c, bool bWide = false);  // c = b / a; a nonzero
// c = a * b kept to all 384 bits (truncated, not rounded to 336): for chains
// of products whose result is rounded once at the end.
void WorkMulWide(const QWORK& a, const QWORK& b, QWORK& c);

// 2z (1 + z^2/3 + z^4/5 + ...) = ln((1 + z) / (1 - z)) for |z| <= 1/3.
void LogSeries(const unsigned short* z, unsigned short* y);
// ln(1 + u) without the rounding of 1 + u for small u; u > -1.
void LogOnePlus(const unsigned short* u, unsigned short* y);

// ln x for a working number x > 0, to the full 384 bits (qpow.cpp).
void WideLog(const QWORK& x, QWORK& r);

// Internal constants (qconst.cpp).
extern const qreal qsq0;
extern const qreal qsq1;
extern const qreal qsq2;

}  // namespace qwork
