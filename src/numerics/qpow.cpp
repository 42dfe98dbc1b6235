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
    qreal b, r;
    qmov(x, b);
    b[0] = 0;
    qmov(qone, r);
    while (nAbs) {
        if (nAbs & 1)
            qmul(b, r, r);
        nAbs >>= 1;
        if (nAbs)
            qmul(b, b, b);
    }
    if (n < 0) {
        if (r[1] == 0) {
            mtherr("qpowi", 3);
            SetHuge(z, bNegative);
            return 0;
        }
        qdiv(r, qone, r);
    }
    if (bNegative && r[1] != 0)
        r[0] = 0xFFFF;
    qmov(r, z);
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
    // e^(y ln x); a negative x is reported by qlog.
    qreal t;
    qlog(x, t);
    qmul(y, t, t);
    qexp(t, z);
    return 0;
}
