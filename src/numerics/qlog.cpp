// Natural logarithm.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qlog(const unsigned short* x, unsigned short* y)
{
    if (x[0] != 0) {
        // Negative, -0 included.
        mtherr("qlog", 1);
        SetZero(y);
        return 0;
    }
    if (x[1] == 0) {
        mtherr("qlog", 2);
        SetHuge(y, 1);
        return 0;
    }
    // x = m 2^k with m in [sqrt(2)/2, sqrt(2)).
    qreal m, t;
    qmov(x, m);
    long k = long(m[1]) - (QEXPBIAS - 1);
    m[1] = QEXPBIAS - 1;  // m in [1/2, 1)
    qmov(qsqrt2, t);
    --t[1];
    if (qcmp(m, t) < 0) {
        ++m[1];
        --k;
    }
    // z = (m - 1) / (m + 1); ln m = 2z (1 + z^2/3 + z^4/5 + ...). m - 1 is
    // exact, so ln m keeps its relative accuracy near x = 1.
    qreal z, z2, num, den, term, pw, sum, d;
    qsub(qone, m, num);
    qadd(qone, m, den);
    qdiv(den, num, z);
    qmul(z, z, z2);
    // The terms after the leading 1 are summed on their own (their sum is
    // below 0.01), so that rounding in the sum costs a fraction of an ulp of
    // the whole; the series stops when a term falls 336 places below 1.
    SetZero(sum);
    qmov(qone, pw);
    if (z[1] != 0) {
        for (long n = 3;; n += 2) {
            qmul(z2, pw, pw);
            ltoq(&n, d);
            qdiv(d, pw, term);
            qadd(term, sum, sum);
            if (term[1] == 0 || QEXPBIAS - int(term[1]) >= 336)
                break;
        }
    }
    // ln m = 2z + 2z S
    qmul(z, sum, t);
    qadd(z, t, t);
    if (t[1] != 0)
        ++t[1];
    // ln x = ln m + k C2 + k C1, the small part first.
    if (k != 0) {
        qreal kq;
        ltoq(&k, kq);
        qmul(kq, C2, d);
        qadd(d, t, t);
        qmul(kq, C1, d);
        qadd(d, t, t);
    }
    qmov(t, y);
    return 0;
}
