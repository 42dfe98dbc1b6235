// Inverse tangent and the angle of a point.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qatn(const unsigned short* x, unsigned short* y)
{
    if (x[1] == 0) {
        SetZero(y);
        return 0;
    }
    bool bNegative = x[0] != 0;
    qreal a, y0, xr, t;
    qmov(x, a);
    a[0] = 0;
    // Reduce to |x'| <= tan(pi/8).
    if (qcmp(a, qt3p8) > 0) {
        qmov(qpi, y0);
        --y0[1];  // pi/2
        qdiv(a, qone, xr);
        xr[0] = 0xFFFF;
    } else if (qcmp(a, qtp8) <= 0) {
        SetZero(y0);
        qmov(a, xr);
    } else {
        qmov(qpi, y0);
        y0[1] -= 2;  // pi/4
        qreal num, den;
        qsub(qone, a, num);
        qadd(qone, a, den);
        qdiv(den, num, xr);
    }
    if (xr[1] != 0) {
        // arctan x' = x' / (1 + x'^2 / (3 + 4 x'^2 / (5 + 9 x'^2 / (7 + ...)))),
        // from the 74th level (149 + ...) outwards.
        QWORK wx, x2, wt, k, num;
        Unpack(xr, wx);
        WorkMul(wx, wx, x2);
        WorkFromInt(149, wt);
        for (uint64_t n = 74; n >= 1; --n) {
            WorkFromInt(n * n, k);
            WorkMul(k, x2, num);
            WorkDiv(wt, num, wt);
            WorkFromInt(2 * n - 1, k);
            WorkAdd(k, wt, wt, false);
        }
        RoundPack(wt, t, "qatn");
        qdiv(t, xr, t);
        qadd(t, y0, t);
    } else {
        qmov(y0, t);
    }
    if (bNegative && t[1] != 0)
        t[0] ^= 0xFFFF;
    qmov(t, y);
    return 0;
}

int qatn2(const unsigned short* y, const unsigned short* x, unsigned short* z)
{
    qreal t;
    if (x[1] <= 1) {
        // x zero or nearly so.
        if (y[0] != 0) {
            qmov(qpi, t);
            --t[1];
            t[0] = 0xFFFF;
        } else if (y[1] < 2) {
            SetZero(t);
        } else {
            qmov(qpi, t);
            --t[1];
        }
        qmov(t, z);
        return 0;
    }
    if (y[1] > 1) {
        if (int(y[1]) - int(x[1]) > 340) {
            // |y / x| beyond 2^339: the angle is +-pi/2 to every bit, and the
            // quotient itself could overflow.
            qmov(qpi, t);
            --t[1];
            t[0] = y[0] ? 0xFFFF : 0;
            qmov(t, z);
            return 0;
        }
        qdiv(x, y, t);
        qatn(t, t);
        if (x[0] != 0) {
            if (y[0] == 0)
                qadd(qpi, t, t);
            else
                qsub(qpi, t, t);
        }
        qmov(t, z);
        return 0;
    }
    // y zero or nearly so.
    if (x[0] != 0)
        qmov(qpi, t);
    else
        SetZero(t);
    qmov(t, z);
    return 0;
}
