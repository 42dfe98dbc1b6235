// Powers.

#include <cmath>

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

// log2 |x| in double precision, x nonzero.
double Log2Abs(const unsigned short* x)
{
    double dMant = (double(x[3]) * 65536.0 + double(x[4])) * 65536.0 + double(x[5]);
    return double(int(x[1]) - QEXPBIAS) + std::log2(dMant / 140737488355328.0);  // 2^47
}

}  // namespace

namespace qwork {

// ln x for x > 0 in a working number, carried to the full 384 bits of the
// working form. x^y = e^(y ln x) magnifies the relative error of ln x by
// |y ln x|, so the 336-bit logarithm (good to a few ulps) would cost up to
// about 50 ulps of the power; this one costs a fraction of one. Same method
// as qlog: x = m 2^k, ln m from the series in z = (m - 1)/(m + 1).
void WideLog(const QWORK& x, QWORK& r)
{
    QWORK wm = x;
    wm.nSign = 0;
    long k = long(x.nExp) - (QEXPBIAS - 1);
    wm.nExp = QEXPBIAS - 1;
    // m in [sqrt(2)/2, sqrt(2)): which side of sqrt(2)/2 only needs the
    // leading bits.
    QWORK wr = wm;
    qreal m, h;
    RoundPack(wr, m, "qlog");
    qmov(qsqrt2, h);
    --h[1];
    if (qcmp(m, h) < 0) {
        ++wm.nExp;
        --k;
    }
    QWORK one, num, den, z, z2, pw, term, sum, d, t;
    Unpack(qone, one);
    WorkAdd(one, wm, num, true, true);
    WorkAdd(one, wm, den, false, true);
    WorkDiv(den, num, z, true);
    Unpack(qzero, sum);
    if (!MantIsZero(z.m)) {
        WorkMulWide(z, z, z2);
        pw = one;
        for (long n = 3;; n += 2) {
            qreal nq;
            ltoq(&n, nq);
            Unpack(nq, d);
            WorkMulWide(z2, pw, pw);
            WorkDiv(d, pw, term, true);
            WorkAdd(term, sum, sum, false, true);
            if (MantIsZero(term.m) || QEXPBIAS - term.nExp >= 384)
                break;
        }
    }
    WorkMulWide(z, sum, t);
    WorkAdd(z, t, t, false, true);
    if (!MantIsZero(t.m))
        ++t.nExp;
    if (k != 0) {
        qreal kq;
        ltoq(&k, kq);
        QWORK wk, c;
        Unpack(kq, wk);
        Unpack(C2, c);
        WorkMulWide(wk, c, d);
        WorkAdd(d, t, t, false, true);
        Unpack(C1, c);
        WorkMulWide(wk, c, d);  // exact: k has 16 bits, C1 32
        WorkAdd(d, t, t, false, true);
    }
    r = t;
}

}  // namespace qwork

int qpowi(const unsigned short* x, const unsigned short* y, unsigned short* z)
{
    long n;
    qreal frac;
    qifrac(y, &n, frac);
    bool bNegative = x[0] != 0 && (n & 1);

    // |x| == 2: set the exponent directly.
    if (x[1] == QEXPBIAS + 1 && x[3] == 0x8000) {
        bool bPowerOfTwo = true;
        for (int i = 4; i < NQ; ++i)
            bPowerOfTwo &= x[i] == 0;
        if (bPowerOfTwo) {
            long nExp = QEXPBIAS + n;
            if (nExp > QEXPMAX) {
                mtherr("qpowi", 3);
                SetHuge(z, bNegative);
            } else if (nExp <= 0) {
                SetZero(z);
            } else {
                qmov(qone, z);
                z[1] = (unsigned short)nExp;
                z[0] = bNegative ? 0xFFFF : 0;
            }
            return 0;
        }
    }
    if (n == 2147483647L || n == -2147483647L) {
        // |y| >= 2^31: not a job for repeated squaring.
        qpow(x, y, z);
        return 0;
    }
    if (x[1] == 0) {
        if (n > 0) {
            SetZero(z);
        } else if (n < 0) {
            // 0 to a negative power is a pole, not a number.
            mtherr("qpowi", 2);
            SetHuge(z, 0);
        } else {
            qmov(qone, z);
        }
        return 0;
    }
    unsigned long nAbs = n < 0 ? 0UL - (unsigned long)n : (unsigned long)n;
    // Settle results far outside the range from the exponents, so that an
    // intermediate power neither reports an overflow the result does not
    // have nor misses one it does.
    double dLog2 = double(nAbs) * Log2Abs(x);
    if (n < 0)
        dLog2 = -dLog2;
    if (dLog2 > 16642.0) {
        mtherr("qpowi", 3);
        SetHuge(z, bNegative);
        return 0;
    }
    if (dLog2 < -16642.0) {
        SetZero(z);
        return 0;
    }
    // Square and multiply on |x| over the bits of |n|. The chain runs on
    // 384-bit working numbers and is rounded once at the end: rounding every
    // product to 336 bits would let the error grow in proportion to n.
    QWORK b, r;
    Unpack(x, b);
    b.nSign = 0;
    Unpack(qone, r);
    while (nAbs) {
        if (nAbs & 1)
            WorkMulWide(b, r, r);
        nAbs >>= 1;
        if (nAbs)
            WorkMulWide(b, b, b);
    }
    if (n < 0) {
        QWORK one;
        Unpack(qone, one);
        WorkDiv(r, one, r);
    }
    r.nSign = bNegative ? 1 : 0;
    RoundPack(r, z, "qpowi");
    return 0;
}

int qpow(const unsigned short* x, const unsigned short* y, unsigned short* z)
{
    qreal f;
    qfloor(y, f);
    if (qcmp(f, y) == 0) {
        const long nMaxWhole = 415031;
        qreal a, m;
        qmov(y, a);
        a[0] = 0;
        ltoq(&nMaxWhole, m);
        if (qcmp(a, m) <= 0) {
            qpowi(x, y, z);
            return 0;
        }
    }
    if (x[1] == 0) {
        // 0^y for y not a small whole number: 0 for y > 0, a pole for y < 0.
        if (y[0] == 0) {
            SetZero(z);
        } else {
            mtherr("qpow", 2);
            SetHuge(z, 0);
        }
        return 0;
    }
    if (x[0] != 0) {
        // ln of a negative number: reported by qlog, which gives 0, so the
        // result is e^0.
        qreal t;
        qlog(x, t);
        qmul(y, t, t);
        qexp(t, z);
        return 0;
    }
    // e^(y ln x) with y ln x = t kept to 384 bits: e^t = e^th (1 + tl),
    // th = t rounded to 336 bits and tl = t - th below its last place.
    QWORK wx, wl, wy, t;
    Unpack(x, wx);
    WideLog(wx, wl);
    Unpack(y, wy);
    WorkMulWide(wy, wl, t);
    qreal th, e, d;
    if (MantIsZero(t.m)) {
        qmov(qone, z);
        return 0;
    }
    if (t.nExp >= QEXPBIAS + 15) {
        // Far outside the range: qexp gives the overflow or the zero.
        qmov(qone, th);
        th[1] = QEXPBIAS + 15;
        th[0] = t.nSign ? 0xFFFF : 0;
        qexp(th, z);
        return 0;
    }
    QWORK wh = t;
    RoundPack(wh, th, "qpow");
    Unpack(th, wh);
    QWORK wlo;
    WorkAdd(wh, t, wlo, true, true);
    qexp(th, e);
    if (!MantIsZero(wlo.m) && wlo.nExp > 0) {
        wlo.m[0] &= ~((1ull << 48) - 1);
        RoundPack(wlo, d, "qpow");
        qmul(e, d, d);
        qadd(d, e, e);
    }
    qmov(e, z);
    return 0;
}
