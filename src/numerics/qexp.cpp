// Exponential function.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qexp(const unsigned short* x, unsigned short* y)
{
    if (x[1] == 0) {
        qmov(qone, y);
        return 0;
    }
    if (x[1] >= QEXPBIAS + 15) {
        // |x| >= 32768: far outside the range either way.
        if (x[0] == 0) {
            mtherr("qexp", 3);
            SetHuge(y, 0);
        } else {
            SetZero(y);
        }
        return 0;
    }
    // n = floor(x / ln 2 + 1/2), so that |r| <= ln 2 / 2 below.
    qreal t, r;
    qdiv(qlog2, x, t);
    qadd(qhalf, t, t);
    qfloor(t, t);
    long n;
    qifrac(t, &n, r);
    // r = x - n C1 - n C2. n has at most 16 bits and C1 32, so n C1 is exact
    // and so is x - n C1; only the tiny n C2 is rounded.
    qreal q;
    ltoq(&n, q);
    qmul(q, C1, t);
    qsub(t, x, r);
    qmul(q, C2, t);
    qsub(t, r, r);
    // e^r = (1 + th) / (1 - th), th = tanh(r / 2).
    if (r[1] != 0)
        --r[1];
    qtanh(r, t);
    qadd(t, qone, q);
    qsub(t, qone, r);
    qdiv(r, q, t);
    long nExp = long(t[1]) + n;
    if (nExp > QEXPMAX) {
        mtherr("qexp", 3);
        SetHuge(y, 0);
        return 0;
    }
    if (nExp <= 0) {
        SetZero(y);
        return 0;
    }
    qmov(t, y);
    y[1] = (unsigned short)nExp;
    return 0;
}
