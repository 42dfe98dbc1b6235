// Square root.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qsqrt(const unsigned short* x, unsigned short* y)
{
    if (x[1] == 0) {
        qmov(x, y);  // +0 and -0 are their own roots
        return 0;
    }
    if (x[0] != 0) {
        mtherr("qsqrt", 1);
        SetZero(y);
        return 0;
    }
    // x = a 2^p with a in [1/2, 1).
    qreal a, s, t;
    qmov(x, a);
    int p = int(a[1]) - (QEXPBIAS - 1);
    a[1] = QEXPBIAS - 1;
    // First approximation qsq0 + qsq1 a + qsq2 a^2, good to about 8 bits.
    qmul(qsq2, a, s);
    qadd(qsq1, s, s);
    qmul(a, s, s);
    qadd(qsq0, s, s);
    if (p & 1)
        qmul(qsqrt2, s, s);
    // Give it half the power: sqrt(2^p) = 2^(p/2), or 2^((p-1)/2) sqrt 2.
    int h = (p >= 0 ? p : p - 1) / 2;
    s[1] = (unsigned short)(int(s[1]) + h);
    // Heron's rule doubles the correct bits each step: 8 steps take the
    // first approximation well past 336 bits.
    qreal x0;
    qmov(x, x0);
    for (int i = 0; i < 8; ++i) {
        qdiv(s, x0, t);
        qadd(t, s, s);
        --s[1];
    }
    qmov(s, y);
    return 0;
}
