// Hyperbolic sine and cosine.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qsinh(const unsigned short* x, unsigned short* y)
{
    if (x[1] <= 1) {
        SetZero(y);
        return 0;
    }
    bool bNegative = x[0] != 0;
    qreal a, t;
    qmov(x, a);
    a[0] = 0;
    if (a[1] >= QEXPBIAS - 1) {
        // |x| >= 1/2: (e^|x| - e^-|x|) / 2 with the sign of x.
        qreal e;
        qexp(a, e);
        qdiv(e, qone, t);
        qsub(t, e, t);
        if (t[1] > 1)
            --t[1];
        else
            SetZero(t);
    } else {
        // x (1 + x^2/3! + x^4/5! + ...) until a term falls 336 places below
        // the sum (which lies in [1, 1.05)); the terms after the 1 are summed
        // on their own and x + x S formed at the end.
        qreal x2, term, sum, k;
        qmul(a, a, x2);
        qmov(qone, term);
        SetZero(sum);
        for (long n = 2;; n += 2) {
            long nDen = n * (n + 1);
            ltoq(&nDen, k);
            qmul(x2, term, term);
            qdiv(k, term, term);
            qadd(term, sum, sum);
            if (term[1] == 0 || QEXPBIAS - int(term[1]) >= 336)
                break;
        }
        qmul(a, sum, t);
        qadd(a, t, t);
    }
    if (bNegative && t[1] != 0)
        t[0] = 0xFFFF;
    qmov(t, y);
    return 0;
}

int qcosh(const unsigned short* x, unsigned short* y)
{
    // (e^x + e^-x) / 2, formed from |x| so that both signs agree exactly.
    qreal a, e, t;
    qmov(x, a);
    a[0] = 0;
    qexp(a, e);
    qdiv(e, qone, t);
    qadd(t, e, t);
    if (t[1] > 1)
        --t[1];
    qmov(t, y);
    return 0;
}
