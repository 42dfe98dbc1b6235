// Circular sine and cosine, and reduction by multiples of pi.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

typedef unsigned __int128 u128;

constexpr int kWide = 8;  // limbs of the exact reduction

inline void HalfPi(unsigned short* p)
{
    qmov(qpi, p);
    --p[1];
}

// m = m * 2^n for a kWide-limb integer, 0 <= n < 64.
void WideShiftUp(uint64_t* m, int n)
{
    if (n == 0)
        return;
    for (int i = kWide - 1; i > 0; --i)
        m[i] = (m[i] << n) | (m[i - 1] >> (64 - n));
    m[0] <<= n;
}

// The reduced argument with the 336-bit pi/2 held exactly:
//   z = |x| - k (pi/2),  k = q,      when bOdd is false,
//   z = k (pi/2) - |x|,  k = q + 1,  when bOdd is true,
// formed as one exact integer difference and rounded once. The only error
// left is k times that of pi/2 itself. Returns false when q is too large
// for the exact product (q >= 2^48); z may come out slightly negative when
// the quotient that gave q was rounded up to a whole number.
bool ReduceExact(const unsigned short* a, const unsigned short* q, bool bOdd, unsigned short* z)
{
    uint64_t k = 0;
    if (q[1] != 0) {
        int nBits = int(q[1]) - QEXPBIAS + 1;
        if (nBits > 48)
            return false;
        k = (uint64_t(q[3]) << 48 | uint64_t(q[4]) << 32 | uint64_t(q[5]) << 16 | uint64_t(q[6])) >> (64 - nBits);
    }
    if (bOdd)
        ++k;
    qreal pio2;
    HalfPi(pio2);
    QWORK wa, wp;
    Unpack(a, wa);
    Unpack(pio2, wp);
    int e0 = wa.nExp < wp.nExp ? wa.nExp : wp.nExp;
    int nShiftA = wa.nExp - e0, nShiftP = wp.nExp - e0;
    if (nShiftA > 63 || nShiftP > 63)
        return false;
    // A = |x| and P = k pi/2 as integers in units of 2^(e0 - bias - 383).
    uint64_t A[kWide] = {0}, P[kWide] = {0};
    for (int i = 0; i < kLimbs; ++i)
        A[i] = wa.m[i];
    WideShiftUp(A, nShiftA);
    uint64_t c = 0;
    for (int i = 0; i < kLimbs; ++i) {
        u128 t = u128(k) * wp.m[i] + c;
        P[i] = uint64_t(t);
        c = uint64_t(t >> 64);
    }
    P[kLimbs] = c;
    WideShiftUp(P, nShiftP);
    // D = A - P (or P - A), as a magnitude and a sign.
    const uint64_t* pMinuend = bOdd ? P : A;
    const uint64_t* pSubtrahend = bOdd ? A : P;
    uint64_t D[kWide];
    uint64_t borrow = 0;
    for (int i = 0; i < kWide; ++i) {
        uint64_t x = pMinuend[i], y = pSubtrahend[i];
        D[i] = x - y - borrow;
        borrow = (x < y) || (x - y < borrow);
    }
    int nSign = 0;
    if (borrow) {
        nSign = 1;
        uint64_t carry = 1;
        for (int i = 0; i < kWide; ++i) {
            u128 t = u128(~D[i]) + carry;
            D[i] = uint64_t(t);
            carry = uint64_t(t >> 64);
        }
    }
    int nTop = kWide - 1;
    while (nTop >= 0 && D[nTop] == 0)
        --nTop;
    if (nTop < 0) {
        SetZero(z);
        return true;
    }
    // Bring the leading bit to bit 383 of a working mantissa.
    int nLead = nTop * 64 + 63 - __builtin_clzll(D[nTop]);
    QWORK w;
    w.nSign = nSign;
    w.nExp = e0 + (nLead - 383);
    int nDown = nLead - 383;
    for (int i = 0; i < kLimbs; ++i) {
        if (nDown >= 0) {
            int s = i * 64 + nDown;
            int l = s >> 6, r = s & 63;
            uint64_t lo = l < kWide ? D[l] : 0;
            uint64_t hi = l + 1 < kWide ? D[l + 1] : 0;
            w.m[i] = r ? (lo >> r) | (hi << (64 - r)) : lo;
        } else {
            w.m[i] = i < kWide ? D[i] : 0;
        }
    }
    if (nDown < 0)
        ShiftUp(w.m, -nDown);
    RoundPack(w, z, "qsin");
    return true;
}

// sin(|x| + nOffset pi/2), with the sign of x when bOdd function: the body
// of both qsin (offset 0) and qcos (offset 1, since cos x = sin(pi/2 + |x|)).
void SinQuadrant(const unsigned short* x, int nOffset, unsigned short* y)
{
    bool bNegative = nOffset == 0 && x[0] != 0;
    qreal a, pio2, quot, q, z;
    qmov(x, a);
    a[0] = 0;
    HalfPi(pio2);
    // |x| / (pi/2) = q + f with q whole; j = q mod 8 picks the quadrant.
    qdiv(pio2, a, quot);
    qfloor(quot, q);
    long j = 0;
    if (q[1] != 0) {
        // q - 8 floor(q / 8); dividing and multiplying by 8 only moves the
        // exponent, so j is exact whenever q is.
        qreal r, e;
        qmov(q, r);
        if (q[1] >= QEXPBIAS + 3) {
            qmov(q, e);
            e[1] -= 3;
            qfloor(e, e);
            e[1] += 3;
            qsub(e, q, r);
        }
        qifrac(r, &j, e);
    }
    j += nOffset;
    bool bOdd = (j & 1) != 0;
    // z = f pi/2, or pi/2 - z in the odd quadrants.
    if (q[1] == 0 && !bOdd) {
        qmov(a, z);
    } else if (!ReduceExact(a, q, bOdd, z)) {
        // Beyond 2^48 quarter turns the product q pi/2 no longer fits the
        // exact reduction; the error now grows with |x| anyway.
        qreal f;
        qsub(q, quot, f);
        qmul(f, pio2, z);
        if (bOdd)
            qsub(z, pio2, z);
    }
    // sin z = z (1 - z^2/3! + z^4/5! - ...) until a term falls 336 places
    // below the sum (which lies in [2/pi, 1]). The terms after the 1 are
    // summed on their own, the positive and the negative ones apart: every
    // step is then a rounded addition, where mixing them would make half of
    // them truncating subtractions whose errors all lean the same way.
    QWORK wz, z2, term, plus, minus, k, wt;
    qreal t;
    Unpack(z, wz);
    WorkMul(wz, wz, z2);
    WorkFromInt(1, term);
    Unpack(qzero, plus);
    Unpack(qzero, minus);
    if (!WorkIsZero(wz)) {
        for (uint64_t n = 2;; n += 2) {
            WorkFromInt(n * (n + 1), k);
            WorkMul(z2, term, term);
            WorkDiv(k, term, term);
            if (n & 2)
                WorkAdd(term, minus, minus, false);
            else
                WorkAdd(term, plus, plus, false);
            if (WorkIsZero(term) || (QEXPBIAS - 1) - term.nExp >= 336)
                break;
        }
    }
    WorkAdd(minus, plus, plus, true);
    WorkMul(wz, plus, wt);
    WorkAdd(wz, wt, wt, false);
    if (WorkIsZero(wt))
        SetZero(t);
    else
        RoundPack(wt, t, "qsin");
    // Quadrants 2 and 3 (mod 4) are negative; so is sin of a negative x.
    if (t[1] != 0 && (bNegative != ((j & 2) != 0)))
        t[0] = (unsigned short)~t[0];
    qmov(t, y);
}

}  // namespace

int qsin(const unsigned short* x, unsigned short* y)
{
    if (x[1] == 0) {
        SetZero(y);
        return 0;
    }
    SinQuadrant(x, 0, y);
    return 0;
}

int qcos(const unsigned short* x, unsigned short* y)
{
    // cos x = sin(pi/2 - x) = sin(pi/2 + |x|): the quadrant moves by one and
    // the reduction stays exact.
    if (x[1] == 0) {
        qmov(qone, y);
        return 0;
    }
    SinQuadrant(x, 1, y);
    return 0;
}

int qredpi(const unsigned short* x, unsigned short* y)
{
    // n = trunc(|x / pi| + 1/2), the multiple of pi nearest to x.
    qreal t, n;
    qdiv(qpi, x, t);
    t[0] = 0;
    qadd(qhalf, t, t);
    qfloor(t, n);
    if (n[1] == 0) {
        qmov(x, y);
        return 0;
    }
    qmul(qpi, n, t);
    t[0] = x[0];
    qsub(t, x, y);
    return 0;
}
