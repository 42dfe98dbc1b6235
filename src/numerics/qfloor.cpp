// Whole and fractional parts.

#include <cstring>

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

int qfloor(const unsigned short* a, unsigned short* b)
{
    if (a[1] == 0) {
        SetZero(b);
        return 0;
    }
    bool bNegative = a[0] != 0;
    if (a[1] < QEXPBIAS) {
        // |a| < 1
        if (bNegative) {
            qmov(qone, b);
            qneg(b);
        } else {
            SetZero(b);
        }
        return 0;
    }
    qreal t;
    qmov(a, t);
    t[0] = bNegative ? 0xFFFF : 0;
    // Mantissa bits below the units bit; none once E reaches 16975.
    int nBits = (QEXPBIAS + 335) - int(a[1]);
    bool bCleared = false;
    int i = NQ - 1;
    for (; nBits >= 16; nBits -= 16, --i) {
        bCleared |= t[i] != 0;
        t[i] = 0;
    }
    if (nBits > 0) {
        bCleared |= (t[i] & ~bmask[nBits]) != 0;
        t[i] &= bmask[nBits];
    }
    if (bNegative && bCleared)
        qsub(qone, t, t);
    qmov(t, b);
    return 0;
}

int qifrac(const unsigned short* x, long* n, unsigned short* f)
{
    if (x[1] < QEXPBIAS) {
        // |x| < 1, zero included: no integer part, the fraction is x itself.
        *n = 0;
        qmov(x, f);
        return 0;
    }
    bool bNegative = x[0] != 0;
    QWORK w;
    Unpack(x, w);
    int nIntBits = int(x[1]) - QEXPBIAS + 1;
    long nValue;
    if (nIntBits > 31)
        nValue = 2147483647L;
    else
        nValue = long(w.m[kLimbs - 1] >> (64 - nIntBits));
    *n = bNegative ? -nValue : nValue;
    // The fraction of |x|: drop the integer bits off the top and normalise.
    if (nIntBits >= 336) {
        SetZero(f);
        return 0;
    }
    ShiftUp(w.m, nIntBits);
    w.nSign = 0;
    w.nExp = QEXPBIAS - 1;
    if (Normalize(w) || w.nExp <= 0) {
        SetZero(f);
        return 0;
    }
    Pack(w, f);
    return 0;
}
