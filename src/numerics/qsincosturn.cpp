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

// 2 pi / nTurn, formed once for the last turn asked for (360 or 400).
const unsigned short* RadiansPerUnit(long nTurn)
{
    static long s_nTurn = 0;
    static qreal s_factor;
    if (nTurn != s_nTurn) {
        qreal turn;
        FromLong(nTurn, turn);
        qdiv(turn, qpi, s_factor);
        qadd(s_factor, s_factor, s_factor);
        s_nTurn = nTurn;
    }
    return s_factor;
}

// sin and cos of u in [0, nTurn/8] (u in the angle's unit); a null
// destination is not computed.
void FirstOctant(const unsigned short* u, long nTurn, unsigned short* s, unsigned short* c)
{
    if (u[1] == 0) {
        if (s != nullptr)
            SetZero(s);
        if (c != nullptr)
            qmov(qone, c);
        return;
    }
    qreal eighth, twelfth, x, sine;
    FromLong(nTurn / 8, eighth);
    FromLong(nTurn / 12, twelfth);
    qmul(u, RadiansPerUnit(nTurn), x);
    if (qcmp(u, eighth) == 0) {
        qsin(x, sine);  // sin = cos: tan is exactly 1
        if (s != nullptr)
            qmov(sine, s);
        if (c != nullptr)
            qmov(sine, c);
        return;
    }
    if (s != nullptr) {
        if (nTurn % 12 == 0 && qcmp(u, twelfth) == 0)
            qmov(qhalf, s);  // sin 30 degrees
        else
            qsin(x, s);
    }
    if (c != nullptr)
        qcos(x, c);
}

}  // namespace

int qsincosturn(const unsigned short* x, long nTurn, unsigned short* s, unsigned short* c)
{
    qreal a, r, quarter, eighth, t, s0, c0;
    qmov(x, a);
    qabs(a);
    ReduceToTurn(a, nTurn, r);

    // Quadrant q and the angle t within it, then folded into [0, 1/8 turn].
    FromLong(nTurn / 4, quarter);
    FromLong(nTurn / 8, eighth);
    int q = 0;
    qmov(r, t);
    while (q < 3 && qcmp(t, quarter) >= 0) {
        qsub(quarter, t, t);
        ++q;
    }
    const bool bFolded = qcmp(t, eighth) > 0;
    if (bFolded)
        qsub(t, quarter, t);

    // Rotating by q quarter turns takes (s, c) to (c, -s) per quarter: an odd
    // q swaps the roles, and so does the fold. Only what is asked for is
    // computed.
    const bool bNeedS0 = (s != nullptr && q % 2 == 0) || (c != nullptr && q % 2 == 1);
    const bool bNeedC0 = (s != nullptr && q % 2 == 1) || (c != nullptr && q % 2 == 0);
    if (bFolded)
        FirstOctant(t, nTurn, bNeedC0 ? c0 : nullptr, bNeedS0 ? s0 : nullptr);
    else
        FirstOctant(t, nTurn, bNeedS0 ? s0 : nullptr, bNeedC0 ? c0 : nullptr);

    const bool bNegativeS = (q >= 2) != (x[0] != 0);
    const bool bNegativeC = q == 1 || q == 2;
    if (s != nullptr) {
        qmov(q % 2 == 0 ? s0 : c0, s);
        if (bNegativeS)
            qneg(s);
        if (s[1] == 0)
            SetZero(s);  // exact zeros are plain zeros, whatever the sign
    }
    if (c != nullptr) {
        qmov(q % 2 == 0 ? c0 : s0, c);
        if (bNegativeC)
            qneg(c);
        if (c[1] == 0)
            SetZero(c);
    }
    return 0;
}
