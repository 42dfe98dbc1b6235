// Arithmetic of qreal numbers: moves, comparison, addition, subtraction,
// multiplication, division, and the exact conversions from and to long and
// double.
//
// Every operation unpacks its operands into the 64-bit-limb working form of
// qwork.h, works there and stores the result once. The rounding rules are
// those of the 16-bit word arithmetic the format was designed around:
//   - a sum of equal-signed operands is rounded half up (in magnitude) on the
//     top bit of the extra word below the mantissa;
//   - a true difference is truncated (bits shifted below the extra word
//     during alignment are lost);
//   - products and quotients are formed exactly down to the extra word and
//     rounded half up on its top bit.

#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

typedef unsigned __int128 u128;

namespace qwork {

bool Normalize(QWORK& w)
{
    int i = kLimbs - 1;
    while (i >= 0 && w.m[i] == 0)
        --i;
    if (i < 0)
        return true;
    int n = (kLimbs - 1 - i) * 64 + __builtin_clzll(w.m[i]);
    if (n) {
        ShiftUp(w.m, n);
        w.nExp -= n;
    }
    return false;
}

}  // namespace qwork

namespace {

// Adds one unit in the last place to a normalised mantissa whose round bit
// is set; a carry out of the top turns it into 1.000... one place higher.
inline void RoundUp(QWORK& w)
{
    uint64_t c = (w.m[0] & kMantMask) + kUnit;
    w.m[0] = c;
    if (c != 0)
        return;
    for (int i = 1; i < kLimbs; ++i) {
        if (++w.m[i] != 0)
            return;
    }
    w.m[kLimbs - 1] = kTopBit;
    ++w.nExp;
}

// Rounds a normalised working number on its round bit and clears the bits
// below the mantissa.
inline void RoundMant(QWORK& w)
{
    if (w.m[0] & kRoundBit)
        RoundUp(w);
    w.m[0] &= kMantMask;
}

inline int CompareMant(const uint64_t* a, const uint64_t* b)
{
    for (int i = kLimbs - 1; i >= 0; --i) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    }
    return 0;
}

// a + b + carry, with the carry out.
inline uint64_t AddCarry(uint64_t a, uint64_t b, unsigned char& c)
{
#if defined(__x86_64__)
    unsigned long long r;
    c = _addcarry_u64(c, a, b, &r);
    return r;
#else
    u128 t = u128(a) + b + c;
    c = (unsigned char)(t >> 64);
    return uint64_t(t);
#endif
}

// a - b - borrow, with the borrow out.
inline uint64_t SubBorrow(uint64_t a, uint64_t b, unsigned char& c)
{
#if defined(__x86_64__)
    unsigned long long r;
    c = _subborrow_u64(c, a, b, &r);
    return r;
#else
    uint64_t d = a - b - c;
    c = (a < b) || (a - b < c);
    return d;
#endif
}

// Adds two mantissas; returns the carry out of the top.
inline uint64_t AddMant(uint64_t* r, const uint64_t* a, const uint64_t* b)
{
    unsigned char c = 0;
#pragma GCC unroll 6
    for (int i = 0; i < kLimbs; ++i)
        r[i] = AddCarry(a[i], b[i], c);
    return c;
}

// r = a - b for a >= b.
inline void SubMant(uint64_t* r, const uint64_t* a, const uint64_t* b)
{
    unsigned char c = 0;
#pragma GCC unroll 6
    for (int i = 0; i < kLimbs; ++i)
        r[i] = SubBorrow(a[i], b[i], c);
}

constexpr int kZeroSum = -100000;

// The body of qadd1 on mantissas: r = x + y (bSame) or x - y, x the operand
// of larger magnitude and y nDiff places below it (0 <= nDiff). Returns the
// exponent change of the normalised result against x, or kZeroSum.
// Unless bWide, the aligned y keeps only what reaches its extra word, a sum
// is rounded half up on the extra word's top bit and a difference truncated.
int AddMagnitudes(const uint64_t* x, const uint64_t* y, int nDiff, bool bSame, bool bWide, uint64_t* r)
{
    uint64_t t[kLimbs];
    if (nDiff > 0) {
        ShiftDownCopy(y, t, nDiff);
        if (!bWide)
            t[0] &= kWorkMask;  // what falls below the extra word is lost
        y = t;
    }
    int nAdjust = 0;
    if (bSame) {
        if (AddMant(r, x, y)) {
            ShiftDown(r, 1);
            r[kLimbs - 1] |= kTopBit;
            nAdjust = 1;
        }
        if (!bWide) {
            if (r[0] & kRoundBit) {
                unsigned char c = 0;
                r[0] = AddCarry(r[0] & kMantMask, kUnit, c);
                for (int i = 1; i < kLimbs; ++i)
                    r[i] = AddCarry(r[i], 0, c);
                if (c) {
                    r[kLimbs - 1] = kTopBit;
                    ++nAdjust;
                }
            }
            r[0] &= kMantMask;
        }
        return nAdjust;
    }
    SubMant(r, x, y);
    if (!(r[kLimbs - 1] & kTopBit)) {
        int i = kLimbs - 1;
        while (i >= 0 && r[i] == 0)
            --i;
        if (i < 0)
            return kZeroSum;
        int n = (kLimbs - 1 - i) * 64 + __builtin_clzll(r[i]);
        ShiftUp(r, n);
        nAdjust = -n;
    }
    if (!bWide)
        r[0] &= kMantMask;  // a true difference truncates
    return nAdjust;
}

// Outcome of the shared add/subtract body.
enum AddResult {
    kAddValue,    // c holds a normalised, rounded value (exponent unchecked)
    kAddZero      // the result is +0
};

// qadd1: c = a + b on working numbers with unbounded exponents; both nonzero.
// bWide keeps all 384 bits (truncated) instead of the rounding rules of the
// stored format. c may be a or b.
AddResult AddWork(const QWORK& a, const QWORK& b, QWORK& c, bool bWide = false)
{
    const QWORK* pBase = &a;
    const QWORK* pOther = &b;
    if (b.nExp > a.nExp) {
        pBase = &b;
        pOther = &a;
    }
    int nDiff = pBase->nExp - pOther->nExp;
    if (nDiff > (bWide ? 385 : 337)) {
        c = *pBase;
        return kAddValue;
    }
    if (nDiff == 0) {
        int nCmp = CompareMant(a.m, b.m);
        if (nCmp == 0) {
            if (a.nSign != b.nSign)
                return kAddZero;
            c = a;
            ++c.nExp;
            return kAddValue;
        }
        if (nCmp < 0) {
            pBase = &b;
            pOther = &a;
        }
    }
    uint64_t r[kLimbs];
    int nAdjust = AddMagnitudes(pBase->m, pOther->m, nDiff, a.nSign == b.nSign, bWide, r);
    if (nAdjust == kZeroSum)
        return kAddZero;
    c.nSign = pBase->nSign;
    c.nExp = pBase->nExp + nAdjust;
    std::memcpy(c.m, r, sizeof r);
    return kAddValue;
}

// Shared body of qadd and qsub: c = b + a, or c = b - a when bSubtract.
void qadd1(const unsigned short* a, const unsigned short* b, unsigned short* c, bool bSubtract)
{
    int nSignA = (a[0] != 0) ^ bSubtract, nSignB = b[0] != 0;
    int ea = a[1], eb = b[1];
    if (ea == 0) {
        // x + 0 is x; a zero result keeps the sign of b.
        if (eb == 0)
            SetZero(c, b[0] ? 0xFFFF : 0);
        else
            qmov(b, c);
        return;
    }
    if (eb == 0) {
        qmov(a, c);
        c[0] = nSignA ? 0xFFFF : 0;
        return;
    }
    const unsigned short* pBase = a;
    const unsigned short* pOther = b;
    int nSign = nSignA;
    if (eb > ea) {
        pBase = b;
        pOther = a;
        nSign = nSignB;
    }
    int nDiff = int(pBase[1]) - int(pOther[1]);
    if (nDiff > 337) {
        qmov(pBase, c);
        c[0] = nSign ? 0xFFFF : 0;
        return;
    }
    uint64_t x[kLimbs], y[kLimbs], r[kLimbs];
    LoadMant(pBase, x);
    LoadMant(pOther, y);
    if (!(x[kLimbs - 1] & y[kLimbs - 1] & kTopBit)) {
        // An operand without its leading bit (an array that never held a
        // number): take the slow road through its normalised value.
        QWORK wa, wb, wc;
        Unpack(a, wa);
        Unpack(b, wb);
        wa.nSign = nSignA;
        if (WorkIsZero(wa) || WorkIsZero(wb)) {
            const QWORK& w = WorkIsZero(wa) ? wb : wa;
            if (WorkIsZero(w))
                SetZero(c);
            else
                Pack(w, c);
            return;
        }
        if (AddWork(wa, wb, wc) == kAddZero || wc.nExp <= 0) {
            SetZero(c);
        } else if (wc.nExp > QEXPMAX) {
            mtherr("qadd", 3);
            SetHuge(c, wc.nSign);
        } else {
            Pack(wc, c);
        }
        return;
    }
    if (nDiff == 0) {
        int nCmp = CompareMant(x, y);
        if (nCmp == 0) {
            if (nSignA != nSignB) {
                SetZero(c);
                return;
            }
            // x + x: the exponent goes up by one.
            if (ea + 1 > QEXPMAX) {
                mtherr("qadd", 3);
                SetHuge(c, nSignA);
                return;
            }
            qmov(a, c);
            c[0] = nSignA ? 0xFFFF : 0;
            c[1] = (unsigned short)(ea + 1);
            return;
        }
        if (nCmp < 0) {
            std::swap(x, y);
            nSign = nSignB;
        }
    }
    int nAdjust = AddMagnitudes(x, y, nDiff, nSignA == nSignB, false, r);
    if (nAdjust == kZeroSum) {
        SetZero(c);
        return;
    }
    int nExp = int(pBase[1]) + nAdjust;
    if (nExp > QEXPMAX) {
        mtherr("qadd", 3);
        SetHuge(c, nSign);
        return;
    }
    if (nExp <= 0) {
        SetZero(c);
        return;
    }
    c[0] = nSign ? 0xFFFF : 0;
    c[1] = (unsigned short)nExp;
    c[2] = 0;
    StoreLimb(r[5], c + 3);
    StoreLimb(r[4], c + 7);
    StoreLimb(r[3], c + 11);
    StoreLimb(r[2], c + 15);
    StoreLimb(r[1], c + 19);
    c[23] = (unsigned short)(r[0] >> 48);
}

// mulm: exact product of two mantissas, p has 12 limbs.
inline void MulMant(const uint64_t* a, const uint64_t* b, uint64_t* p)
{
    for (int i = 0; i < kLimbs; ++i)
        p[i] = 0;
    for (int i = 0; i < kLimbs; ++i) {
        uint64_t ai = a[i];
        if (ai == 0) {
            p[i + kLimbs] = 0;
            continue;
        }
        uint64_t c = 0;
#pragma GCC unroll 6
        for (int j = 0; j < kLimbs; ++j) {
            u128 t = u128(ai) * b[j] + p[i + j] + c;
            p[i + j] = uint64_t(t);
            c = uint64_t(t >> 64);
        }
        p[i + kLimbs] = c;
    }
}

// Forms the normalised product mantissa of a and b in r and returns the
// shift of the binary point relative to Ea + Eb - bias (0 or 1 for
// normalised operands).
int MulProduct(const QWORK& a, const QWORK& b, uint64_t* r, bool bSingleWord)
{
    if (bSingleWord) {
        // mulin: the multiplier is the one 16-bit word at the top of a.
        uint64_t w = a.m[kLimbs - 1] >> 48;
        uint64_t p[kLimbs + 1];
        uint64_t c = 0;
        for (int j = 0; j < kLimbs; ++j) {
            u128 t = u128(w) * b.m[j] + c;
            p[j] = uint64_t(t);
            c = uint64_t(t >> 64);
        }
        p[kLimbs] = c;
        if (c == 0) {
            // Only an unnormalised multiplier word gets here.
            std::memcpy(r, p, kLimbs * sizeof(uint64_t));
            QWORK t;
            std::memcpy(t.m, r, sizeof t.m);
            t.nExp = 0;
            if (Normalize(t)) {
                std::memset(r, 0, kLimbs * sizeof(uint64_t));
                return 0;
            }
            std::memcpy(r, t.m, sizeof t.m);
            return -15 + t.nExp;  // binary point of w*B sits 15 + 383 bits up
        }
        int s = __builtin_clzll(c);
        for (int i = 0; i < kLimbs; ++i)
            r[i] = s ? (p[i + 1] << s) | (p[i] >> (64 - s)) : p[i + 1];
        // Top bit of w*B is bit 447 - s; 1.0 of the product is bit 398.
        return 447 - s - 398;
    }
    uint64_t p[2 * kLimbs];
    MulMant(a.m, b.m, p);
    if (p[2 * kLimbs - 1] & kTopBit) {
        std::memcpy(r, p + kLimbs, kLimbs * sizeof(uint64_t));
        return 1;
    }
    for (int i = 0; i < kLimbs; ++i)
        r[i] = (p[kLimbs + i] << 1) | (p[kLimbs + i - 1] >> 63);
    if (!(r[kLimbs - 1] & kTopBit)) {
        // Unnormalised operands: bring the leading bit up the slow way.
        QWORK t;
        std::memcpy(t.m, p + kLimbs, sizeof t.m);
        t.nExp = 0;
        if (Normalize(t)) {
            std::memset(r, 0, kLimbs * sizeof(uint64_t));
            return 0;
        }
        std::memcpy(r, t.m, sizeof t.m);
        return 1 + t.nExp;
    }
    return 0;
}

inline bool HasSingleWord(const QWORK& w)
{
    return (w.m[kLimbs - 1] & 0x0000FFFFFFFFFFFFull) == 0 && (w.m[0] | w.m[1] | w.m[2] | w.m[3] | w.m[4]) == 0;
}

// mdnorm and the range checks shared by multiplication and division: w is
// normalised with exponent nExp; nExp0 is the exponent before the
// normalising shift.
void FinishProduct(QWORK& w, int nExp0, unsigned short* c, const char* pName)
{
    if (nExp0 == 0 && w.nExp < nExp0)
        mtherr("mdnorm", 4);
    RoundMant(w);
    if (w.nExp > QEXPMAX) {
        // Overflow found while normalising or rounding is reported by
        // mdnorm, overflow already in the exponent sum by the caller;
        // either way the result is the largest magnitude.
        mtherr(nExp0 <= QEXPMAX ? "mdnorm" : pName, 3);
        SetHuge(c, w.nSign);
        return;
    }
    if (w.nExp <= 0) {
        SetZero(c);
        return;
    }
    Pack(w, c);
}

void MulCommon(const unsigned short* a, const unsigned short* b, unsigned short* c, bool bWordOnly,
               const char* pName)
{
    if (a[1] == 0 || b[1] == 0) {
        SetZero(c);
        return;
    }
    QWORK wa, wb, wc;
    Unpack(a, wa);
    Unpack(b, wb);
    wc.nSign = wa.nSign ^ wb.nSign;
    int nExp0 = wa.nExp + wb.nExp - QEXPBIAS;
    int nShift;
    if (bWordOnly || HasSingleWord(wa))
        nShift = MulProduct(wa, wb, wc.m, true);
    else if (HasSingleWord(wb))
        nShift = MulProduct(wb, wa, wc.m, true);
    else
        nShift = MulProduct(wa, wb, wc.m, false);
    if (MantIsZero(wc.m)) {
        SetZero(c);
        return;
    }
    wc.nExp = nExp0 + nShift;
    FinishProduct(wc, nExp0, c, pName);
}

// 128-by-64-bit division; requires hi < d.
inline uint64_t Div128(uint64_t hi, uint64_t lo, uint64_t d, uint64_t& rem)
{
#if defined(__x86_64__)
    uint64_t q, r;
    __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d));
    rem = r;
    return q;
#else
    u128 n = (u128(hi) << 64) | lo;
    rem = uint64_t(n % d);
    return uint64_t(n / d);
#endif
}

// divm: q = floor(u * 2^384 / v) in 7 limbs (q[6] is 0 or 1), v normalised.
void DivMant(const uint64_t* u, const uint64_t* v, uint64_t* q)
{
    // R holds the running remainder: u (less v when u >= v) in R[6..11],
    // followed by the six zero limbs of the dividend's low half.
    uint64_t R[2 * kLimbs + 1];
    for (int i = 0; i < kLimbs; ++i)
        R[i] = 0;
    R[2 * kLimbs] = 0;
    q[kLimbs] = 0;
    if (CompareMant(u, v) >= 0) {
        SubMant(R + kLimbs, u, v);
        q[kLimbs] = 1;
    } else {
        for (int i = 0; i < kLimbs; ++i)
            R[kLimbs + i] = u[i];
    }
    if ((v[0] | v[1] | v[2] | v[3] | v[4]) == 0) {
        // Divisor of one limb (every one-word divisor lands here): short
        // division of the remainder by d, limb by limb. The remainder is
        // below d * 2^320, so the top quotient limb is zero and the other
        // six are the quotient.
        uint64_t d = v[kLimbs - 1];
        uint64_t rem = R[2 * kLimbs - 1];
        for (int i = 2 * kLimbs - 2; i >= kLimbs - 1; --i)
            q[i - kLimbs + 1] = Div128(rem, R[i], d, rem);
        return;
    }
    // Knuth's algorithm D with six divisor limbs, in place: quotient limb j
    // comes from the window R[j .. j+6]. Every quotient limb is exact, so
    // the rounding bit below the mantissa is exact too.
    const uint64_t v1 = v[kLimbs - 1], v2 = v[kLimbs - 2];
    for (int j = kLimbs - 1; j >= 0; --j) {
        uint64_t* w = R + j;
        uint64_t qhat, rhat;
        bool bRhatOverflow = false;
        if (w[kLimbs] >= v1) {
            qhat = ~0ull;
            u128 t = u128(w[kLimbs - 1]) + v1;
            rhat = uint64_t(t);
            bRhatOverflow = (t >> 64) != 0;
        } else {
            qhat = Div128(w[kLimbs], w[kLimbs - 1], v1, rhat);
        }
        while (!bRhatOverflow && u128(qhat) * v2 > ((u128(rhat) << 64) | w[kLimbs - 2])) {
            --qhat;
            u128 t = u128(rhat) + v1;
            rhat = uint64_t(t);
            bRhatOverflow = (t >> 64) != 0;
        }
        // w -= qhat * v
        uint64_t carry = 0;
        unsigned char borrow = 0;
#pragma GCC unroll 6
        for (int i = 0; i < kLimbs; ++i) {
            u128 p = u128(qhat) * v[i] + carry;
            carry = uint64_t(p >> 64);
            w[i] = SubBorrow(w[i], uint64_t(p), borrow);
        }
        w[kLimbs] = SubBorrow(w[kLimbs], carry, borrow);
        if (borrow) {
            // qhat was one too large: add v back.
            --qhat;
            unsigned char c = 0;
#pragma GCC unroll 6
            for (int i = 0; i < kLimbs; ++i)
                w[i] = AddCarry(w[i], v[i], c);
            w[kLimbs] += c;
        }
        q[j] = qhat;
    }
}

// Normalised quotient mantissa of b / a; returns its exponent shift
// relative to Eb - Ea + bias (0, or -1 when the quotient is below 1).
int DivQuotient(const QWORK& a, const QWORK& b, uint64_t* r)
{
    uint64_t q[kLimbs + 1];
    DivMant(b.m, a.m, q);
    if (q[kLimbs]) {
        for (int i = 0; i < kLimbs; ++i)
            r[i] = (q[i] >> 1) | (q[i + 1] << 63);
        return 0;
    }
    std::memcpy(r, q, kLimbs * sizeof(uint64_t));
    if (r[kLimbs - 1] & kTopBit)
        return -1;
    // Unnormalised operands only.
    QWORK t;
    std::memcpy(t.m, r, sizeof t.m);
    t.nExp = 0;
    if (Normalize(t)) {
        std::memset(r, 0, kLimbs * sizeof(uint64_t));
        return 0;
    }
    std::memcpy(r, t.m, sizeof t.m);
    return -1 + t.nExp;
}

}  // namespace

namespace qwork {

void RoundPack(QWORK& w, unsigned short* c, const char* pName)
{
    RoundMant(w);
    if (w.nExp > QEXPMAX) {
        mtherr(pName, 3);
        SetHuge(c, w.nSign);
        return;
    }
    if (w.nExp <= 0) {
        SetZero(c);
        return;
    }
    Pack(w, c);
}

void WorkAdd(const QWORK& a, const QWORK& b, QWORK& c, bool bSubtract, bool bWide)
{
    QWORK wa = a;
    if (bSubtract)
        wa.nSign ^= 1;
    if (MantIsZero(wa.m)) {
        c = b;
        return;
    }
    if (MantIsZero(b.m)) {
        c = wa;
        return;
    }
    if (AddWork(wa, b, c, bWide) == kAddZero) {
        c.nSign = 0;
        c.nExp = 0;
        std::memset(c.m, 0, sizeof c.m);
    }
}

void WorkMul(const QWORK& a, const QWORK& b, QWORK& c)
{
    if (MantIsZero(a.m) || MantIsZero(b.m)) {
        c.nSign = 0;
        c.nExp = 0;
        std::memset(c.m, 0, sizeof c.m);
        return;
    }
    int nSign = a.nSign ^ b.nSign;
    int nExp0 = a.nExp + b.nExp - QEXPBIAS;
    int nShift;
    if (HasSingleWord(a))
        nShift = MulProduct(a, b, c.m, true);
    else if (HasSingleWord(b))
        nShift = MulProduct(b, a, c.m, true);
    else
        nShift = MulProduct(a, b, c.m, false);
    c.nSign = nSign;
    c.nExp = nExp0 + nShift;
    RoundMant(c);
}

void WorkMulWide(const QWORK& a, const QWORK& b, QWORK& c)
{
    if (MantIsZero(a.m) || MantIsZero(b.m)) {
        c.nSign = 0;
        c.nExp = 0;
        std::memset(c.m, 0, sizeof c.m);
        return;
    }
    int nSign = a.nSign ^ b.nSign;
    int nExp0 = a.nExp + b.nExp - QEXPBIAS;
    int nShift;
    if (HasSingleWord(a))
        nShift = MulProduct(a, b, c.m, true);
    else if (HasSingleWord(b))
        nShift = MulProduct(b, a, c.m, true);
    else
        nShift = MulProduct(a, b, c.m, false);
    c.nSign = nSign;
    c.nExp = nExp0 + nShift;
}

void WorkDiv(const QWORK& a, const QWORK& b, QWORK& c, bool bWide)
{
    if (MantIsZero(b.m)) {
        c.nSign = 0;
        c.nExp = 0;
        std::memset(c.m, 0, sizeof c.m);
        return;
    }
    int nSign = a.nSign ^ b.nSign;
    int nExp0 = b.nExp - a.nExp + QEXPBIAS;
    int nShift = DivQuotient(a, b, c.m);
    c.nSign = nSign;
    c.nExp = nExp0 + nShift;
    if (!bWide)
        RoundMant(c);
}

}  // namespace qwork

// ---- Moves, sign, comparison ----

int qmov(const unsigned short* a, unsigned short* b)
{
    // Copied in the same pieces as Pack writes and LoadMant reads (three
    // words, five groups of four, one word), so that a number copied and
    // then read at once is forwarded straight from the stores.
    if (a == b)
        return 0;
    uint64_t m[5];
    for (int i = 0; i < 5; ++i)
        std::memcpy(&m[i], a + 3 + 4 * i, sizeof m[i]);
    unsigned short w0 = a[0], w1 = a[1], w2 = a[2], w23 = a[23];
    b[0] = w0;
    b[1] = w1;
    b[2] = w2;
    for (int i = 0; i < 5; ++i)
        std::memcpy(b + 3 + 4 * i, &m[i], sizeof m[i]);
    b[23] = w23;
    return 0;
}

int qclear(unsigned short* a)
{
    SetZero(a);
    return 0;
}

int qneg(unsigned short* a)
{
    a[0] = (unsigned short)~a[0];
    return 0;
}

int qabs(unsigned short* a)
{
    a[0] = 0;
    return 0;
}

int qinfin(unsigned short* a)
{
    a[1] = QEXPMAX;
    a[2] = 0;
    for (int i = 3; i < NQ; ++i)
        a[i] = 0xFFFF;
    return 0;
}

int qcmp(const unsigned short* a, const unsigned short* b)
{
    if (a[1] <= 336 && b[1] <= 336) {
        // Both tiny or zero: the sign of the difference decides, so that
        // +0 and -0 compare equal.
        qreal d;
        qsub(b, a, d);
        if (d[1] == 0)
            return 0;
        return d[0] ? -1 : 1;
    }
    bool bNegA = a[0] != 0, bNegB = b[0] != 0;
    if (bNegA != bNegB)
        return bNegA ? -1 : 1;
    for (int i = 1; i < NQ; ++i) {
        if (a[i] != b[i]) {
            bool bLarger = a[i] > b[i];
            return (bLarger != bNegA) ? 1 : -1;
        }
    }
    return 0;
}

// ---- Arithmetic ----

int qadd(const unsigned short* a, const unsigned short* b, unsigned short* c)
{
    qadd1(a, b, c, false);
    return 0;
}

int qsub(const unsigned short* a, const unsigned short* b, unsigned short* c)
{
    qadd1(a, b, c, true);
    return 0;
}

int qmul(const unsigned short* a, const unsigned short* b, unsigned short* c)
{
    MulCommon(a, b, c, false, "qmul");
    return 0;
}

int qmuli(const unsigned short* a, const unsigned short* b, unsigned short* c)
{
    MulCommon(a, b, c, true, "qmuli");
    return 0;
}

int qdiv(const unsigned short* a, const unsigned short* b, unsigned short* c)
{
    if (b[1] == 0) {
        SetZero(c);  // 0 / x, and 0 / 0, give +0 without a report
        return 0;
    }
    QWORK wa, wb, wc;
    Unpack(a, wa);
    Unpack(b, wb);
    int nSign = wa.nSign ^ wb.nSign;
    if (wa.nExp == 0) {
        mtherr("qdiv", 2);
        SetHuge(c, nSign);
        return 0;
    }
    int nExp0 = wb.nExp - wa.nExp + QEXPBIAS;
    int nShift = DivQuotient(wa, wb, wc.m);
    if (MantIsZero(wc.m)) {
        SetZero(c);
        return 0;
    }
    wc.nSign = nSign;
    wc.nExp = nExp0 + nShift;
    FinishProduct(wc, nExp0, c, "qdiv");
    return 0;
}

// ---- Conversions from and to long and double ----

int ltoq(const long* n, unsigned short* x)
{
    long v = *n;
    if (v == 0) {
        SetZero(x);
        return 0;
    }
    QWORK w;
    w.nSign = v < 0;
    uint64_t nMag = v < 0 ? 0 - uint64_t(v) : uint64_t(v);
    std::memset(w.m, 0, sizeof w.m);
    w.m[kLimbs - 1] = nMag;
    w.nExp = QEXPBIAS + 63;
    Normalize(w);
    Pack(w, x);
    return 0;
}

int etoq(const double* d, unsigned short* x)
{
    uint64_t nBits;
    std::memcpy(&nBits, d, sizeof nBits);
    int nSign = int(nBits >> 63);
    int nField = int((nBits >> 52) & 0x7FF);
    uint64_t nFrac = nBits & 0x000FFFFFFFFFFFFFull;
    if (nField == 0x7FF) {
        // Not finite: an infinity becomes the largest magnitude, a NaN zero.
        if (nFrac == 0) {
            mtherr("etoq", 3);
            SetHuge(x, nSign);
        } else {
            mtherr("etoq", 1);
            SetZero(x);
        }
        return 0;
    }
    if (nField == 0 && nFrac == 0) {
        SetZero(x, nSign ? 0xFFFF : 0);
        return 0;
    }
    QWORK w;
    w.nSign = nSign;
    std::memset(w.m, 0, sizeof w.m);
    if (nField == 0) {
        // Subnormal: nFrac * 2^-1074, normalised here.
        w.m[kLimbs - 1] = nFrac;
        w.nExp = QEXPBIAS + 63 - 1074;
        Normalize(w);
    } else {
        w.m[kLimbs - 1] = kTopBit | (nFrac << 11);
        w.nExp = nField + (QEXPBIAS - 1023);
    }
    Pack(w, x);
    return 0;
}

int qtoe(const unsigned short* x, double* d)
{
    uint64_t nSignBit = x[0] ? (1ull << 63) : 0;
    if (x[1] == 0) {
        std::memcpy(d, &nSignBit, sizeof nSignBit);
        return 0;
    }
    QWORK w;
    Unpack(x, w);
    Normalize(w);
    int nField = w.nExp - (QEXPBIAS - 1023);
    // The double's significand is the mantissa shifted down by nShift bits,
    // 331 for a normal double and more for a subnormal one.
    int nShift;
    if (nField >= 1) {
        nShift = 384 - 53;
    } else {
        if (w.nExp <= (QEXPBIAS - 1023) - 53) {
            std::memcpy(d, &nSignBit, sizeof nSignBit);
            return 0;
        }
        nShift = 384 - 53 + (1 - nField);
        nField = 0;
    }
    // Round to nearest, ties to even, using every bit below.
    uint64_t m[kLimbs];
    std::memcpy(m, w.m, sizeof m);
    int nHalf = nShift - 1;
    bool bHalf = (m[nHalf >> 6] >> (nHalf & 63)) & 1;
    bool bSticky = false;
    for (int i = 0; i < (nHalf >> 6); ++i)
        bSticky |= m[i] != 0;
    bSticky |= (m[nHalf >> 6] & ((1ull << (nHalf & 63)) - 1)) != 0;
    ShiftDown(m, nShift);
    uint64_t nSig = m[0];
    if (bHalf && (bSticky || (nSig & 1)))
        ++nSig;
    uint64_t nBits;
    if (nField == 0) {
        // A subnormal that rounds up to 2^52 becomes the smallest normal,
        // which the plain bit pattern already says.
        nBits = nSig;
    } else {
        if (nSig >> 53) {
            nSig >>= 1;
            ++nField;
        }
        if (nField >= 0x7FF) {
            mtherr("qtoe", 3);
            nBits = (uint64_t(0x7FE) << 52) | 0x000FFFFFFFFFFFFFull;
        } else {
            nBits = (uint64_t(nField) << 52) | (nSig & 0x000FFFFFFFFFFFFFull);
        }
    }
    nBits |= nSignBit;
    std::memcpy(d, &nBits, sizeof nBits);
    return 0;
}
