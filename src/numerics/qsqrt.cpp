// Square root.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

double ToDouble(const unsigned short* x)
{
    double d;
    qtoe(x, &d);
    return d;
}

}  // namespace

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
    // First approximation qsq0 + qsq1 a + qsq2 a^2, good to about 8 bits,
    // then 8 steps of Heron's rule y <- (y + a/y) / 2, each doubling the
    // correct bits. The first five run in double precision: from 8 bits
    // they reach the 53 of a double after three, and there is nothing for
    // the wider words to add until then. The last three, at full
    // precision, take 53 bits to 106, 212 and 424.
    static const double dS0 = ToDouble(qsq0), dS1 = ToDouble(qsq1), dS2 = ToDouble(qsq2);
    double dA, dY;
    qtoe(a, &dA);
    dY = dS0 + dS1 * dA + dS2 * dA * dA;
    if (p & 1) {
        // An odd power leaves sqrt(2a) to take: the start is scaled by sqrt 2.
        dY *= 1.4142135623730951;
        dA *= 2;
        ++a[1];
    }
    for (int i = 0; i < 5; ++i)
        dY = (dY + dA / dY) / 2;
    etoq(&dY, s);
    // Heron's rule on a (or 2a), whose root lies in [1/2, sqrt 2); the
    // power of two comes back at the end.
    for (int i = 0; i < 3; ++i) {
        qdiv(s, a, t);
        qadd(t, s, s);
        --s[1];
    }
    // sqrt(2^p) = 2^(p/2), or 2^((p-1)/2) sqrt 2 (the sqrt 2 is in s).
    int h = (p >= 0 ? p : p - 1) / 2;
    s[1] = (unsigned short)(int(s[1]) + h);
    qmov(s, y);
    return 0;
}
