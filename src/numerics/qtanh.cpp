// Hyperbolic tangent.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qtanh(const unsigned short* x, unsigned short* y)
{
    if (x[1] == 0) {
        SetZero(y);
        return 0;
    }
    bool bNegative = x[0] != 0;
    qreal a, t;
    qmov(x, a);
    a[0] = 0;
    if (a[1] < QEXPBIAS) {
        // |x| < 1: x / (1 + x^2 / (3 + x^2 / (5 + ... + x^2 / 77))), from the
        // innermost level outwards.
        QWORK wa, x2, wt, k;
        Unpack(a, wa);
        WorkMul(wa, wa, x2);
        WorkFromInt(77, wt);
        for (int n = 75; n >= 1; n -= 2) {
            WorkDiv(wt, x2, wt);
            WorkFromInt(uint64_t(n), k);
            WorkAdd(k, wt, wt, false);
        }
        WorkDiv(wt, wa, wt);
        RoundPack(wt, t, "qtanh");
    } else if (a[1] >= QEXPBIAS + 7) {
        // |x| >= 128: e^-2|x| < 2^-369, so tanh x rounds to +-1. Going
        // through e^|x| would also report a spurious overflow for huge x.
        qmov(qone, t);
    } else {
        // (e^|x| - e^-|x|) / (e^|x| + e^-|x|)
        qreal e, ei, num;
        qexp(a, e);
        qdiv(e, qone, ei);
        qsub(ei, e, num);
        qadd(ei, e, t);
        qdiv(t, num, t);
    }
    if (bNegative)
        t[0] = 0xFFFF;
    qmov(t, y);
    return 0;
}
