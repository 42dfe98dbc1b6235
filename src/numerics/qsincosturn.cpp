// Sine and cosine of an angle in degrees or grads, reduced in its own unit.
//
// 540 degrees is exactly one and a half turns, but 540 * pi/180 in radians
// is not exactly 3 pi, so sin(540) computed after the conversion comes out
// as a rounding residue of about 1e-101 instead of 0, and tan(270) as a huge
// finite number instead of a pole. Here the angle is reduced modulo the turn
// while it is still a number of degrees (or grads), where that is exact,
// and folded into the first half quadrant [0, 45] degrees before the one
// rounding conversion to radians. Multiples of a quarter turn thus give
// exact zeros and ones, 45 degrees (50 grads) exactly equal sine and cosine,
// and 30 degrees an exact half.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

typedef unsigned __int128 u128;

namespace {

void FromLong(long n, unsigned short* x)
{
    ltoq(&n, x);
}

// n mod nModulus for a whole number n >= 1, from its mantissa limbs: exact
// for any size of n.
long WholeModulo(const unsigned short* n, long nModulus)
{
    QWORK w;
    Unpack(n, w);
    // The leading bit of the 384-bit mantissa stands for 2^nTop.
    const int nTop = w.nExp - QEXPBIAS;
    uint64_t nLimbScale = 0;  // 2^64 mod nModulus
    nLimbScale = uint64_t((u128(1) << 64) % u128(nModulus));
    if (nTop < 383)
        ShiftDown(w.m, 383 - nTop);  // n is whole: only zeros fall off
    uint64_t nRest = 0;
    for (int i = kLimbs - 1; i >= 0; --i)
        nRest = uint64_t((u128(nRest) * nLimbScale + w.m[i] % uint64_t(nModulus)) % u128(nModulus));
    // Beyond 2^383 the limbs stand for the value divided by 2^(nTop - 383).
    for (int k = 383; k < nTop; ++k)
        nRest = (nRest * 2) % uint64_t(nModulus);
    return long(nRest);
}

// r = a mod nTurn for a >= 0, exact: the whole part is reduced as an
// integer and the fraction, which is exact too, added back.
void ReduceToTurn(const unsigned short* a, long nTurn, unsigned short* r)
{
    qreal turn;
    FromLong(nTurn, turn);
    if (qcmp(a, turn) < 0) {
        qmov(a, r);
        return;
    }
    qreal whole, fraction, rest;
    qfloor(a, whole);
    qsub(whole, a, fraction);
    FromLong(WholeModulo(whole, nTurn), rest);
    qadd(fraction, rest, r);
}

// sin and cos of u in [0, nTurn/8] (u in the angle's unit).
void FirstOctant(const unsigned short* u, long nTurn, unsigned short* s, unsigned short* c)
{
    qreal eighth, twelfth, toRadians, x;
    FromLong(nTurn / 8, eighth);
    if (u[1] == 0) {
        SetZero(s);
        qmov(qone, c);
        return;
    }
    qreal turn;
    FromLong(nTurn, turn);
    qdiv(turn, qpi, toRadians);
    qadd(toRadians, toRadians, toRadians);  // 2 pi / turn
    qmul(u, toRadians, x);
    qsin(x, s);
    if (qcmp(u, eighth) == 0) {
        qmov(s, c);  // sin = cos: tan is exactly 1
        return;
    }
    qcos(x, c);
    if (nTurn % 12 == 0) {
        FromLong(nTurn / 12, twelfth);
        if (qcmp(u, twelfth) == 0)
            qmov(qhalf, s);  // sin 30 degrees
    }
}

}  // namespace

int qsincosturn(const unsigned short* x, long nTurn, unsigned short* s, unsigned short* c)
{
    qreal a, r, quarter, t, s0, c0;
    qmov(x, a);
    qabs(a);
    ReduceToTurn(a, nTurn, r);

    // Quadrant q and the angle t within it, then folded into [0, 1/8 turn].
    const long nQuarter = nTurn / 4;
    FromLong(nQuarter, quarter);
    int q = 0;
    qmov(r, t);
    while (q < 3 && qcmp(t, quarter) >= 0) {
        qsub(quarter, t, t);
        ++q;
    }
    qreal eighth;
    FromLong(nTurn / 8, eighth);
    if (qcmp(t, eighth) > 0) {
        qsub(t, quarter, t);
        FirstOctant(t, nTurn, c0, s0);
    } else {
        FirstOctant(t, nTurn, s0, c0);
    }

    // Rotate by q quarter turns: (s, c) -> (c, -s) per quarter.
    switch (q) {
    case 0: qmov(s0, s); qmov(c0, c); break;
    case 1: qmov(c0, s); qmov(s0, c); qneg(c); break;
    case 2: qmov(s0, s); qneg(s); qmov(c0, c); qneg(c); break;
    default: qmov(c0, s); qneg(s); qmov(s0, c); break;
    }
    if (x[0] != 0)
        qneg(s);
    // Exact zeros are plain zeros, whatever sign the rotation gave them.
    if (s[1] == 0)
        SetZero(s);
    if (c[1] == 0)
        SetZero(c);
    return 0;
}
