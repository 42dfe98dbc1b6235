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

// qmovz: a stored number into working form; a zero gets a zero mantissa.
inline void Unpack(const unsigned short* a, QWORK& w)
{
    w.nSign = a[0] != 0;
    w.nExp = a[1];
    if (a[1] == 0) {
        for (int i = 0; i < kLimbs; ++i)
            w.m[i] = 0;
        return;
    }
    const unsigned short* p = a + 3;
    for (int i = kLimbs - 1; i > 0; --i, p += 4)
        w.m[i] = (uint64_t(p[0]) << 48) | (uint64_t(p[1]) << 32) | (uint64_t(p[2]) << 16) | uint64_t(p[3]);
    w.m[0] = uint64_t(p[0]) << 48;
}

// Writes sign, exponent and the 336 mantissa bits; the caller has rounded
// and range-checked the exponent (1 ... QEXPMAX).
inline void Pack(const QWORK& w, unsigned short* c)
{
    c[0] = w.nSign ? 0xFFFF : 0;
    c[1] = (unsigned short)w.nExp;
    c[2] = 0;
    unsigned short* p = c + 3;
    for (int i = kLimbs - 1; i > 0; --i, p += 4) {
        uint64_t v = w.m[i];
        p[0] = (unsigned short)(v >> 48);
        p[1] = (unsigned short)(v >> 32);
        p[2] = (unsigned short)(v >> 16);
        p[3] = (unsigned short)v;
    }
    p[0] = (unsigned short)(w.m[0] >> 48);
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

// Shifts the 384-bit mantissa down by n >= 0 bits (bits falling off the
// bottom are lost).
void ShiftDown(uint64_t* m, int n);
// Shifts the 384-bit mantissa up by n >= 0 bits.
void ShiftUp(uint64_t* m, int n);

// normlz: shifts the mantissa up until bit 383 is set and lowers the
// exponent by the shift. Returns true when the mantissa is all zero.
bool Normalize(QWORK& w);

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

// Internal constants (qconst.cpp).
extern const qreal qsq0;
extern const qreal qsq1;
extern const qreal qsq2;

}  // namespace qwork
