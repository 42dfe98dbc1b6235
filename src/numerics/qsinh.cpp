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
        QWORK wa, x2, term, sum, k, wt;
        Unpack(a, wa);
        WorkMul(wa, wa, x2);
        WorkFromInt(1, term);
        Unpack(qzero, sum);
        for (uint64_t n = 2;; n += 2) {
            WorkFromInt(n * (n + 1), k);
            WorkMul(x2, term, term);
            WorkDiv(k, term, term);
            WorkAdd(term, sum, sum, false);
            if (WorkIsZero(term) || QEXPBIAS - term.nExp >= 336)
                break;
        }
        WorkMul(wa, sum, wt);
        WorkAdd(wa, wt, wt, false);
        RoundPack(wt, t, "qsinh");
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
