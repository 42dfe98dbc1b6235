// Natural logarithm.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace qwork {

void LogSeries(const unsigned short* z, unsigned short* y)
{
    // 2z (1 + z^2/3 + z^4/5 + ...): the terms after the leading 1 are summed
    // on their own (their sum is below 0.04 for |z| <= 1/3), so that
    // rounding in the sum costs a fraction of an ulp of the whole; the
    // series stops when a term falls 336 places below 1.
    QWORK wz, z2, term, pw, sum, d, t;
    Unpack(z, wz);
    Unpack(qzero, sum);
    if (!WorkIsZero(wz)) {
        WorkMul(wz, wz, z2);
        WorkFromInt(1, pw);
        for (uint64_t n = 3;; n += 2) {
            WorkMul(z2, pw, pw);
            WorkFromInt(n, d);
            WorkDiv(d, pw, term);
            WorkAdd(term, sum, sum, false);
            if (WorkIsZero(term) || QEXPBIAS - term.nExp >= 336)
                break;
        }
    }
    WorkMul(wz, sum, t);
    WorkAdd(wz, t, t, false);
    if (!WorkIsZero(t))
        ++t.nExp;
    RoundPack(t, y, "qlog");
}

void LogOnePlus(const unsigned short* u, unsigned short* y)
{
    qreal a;
    qmov(u, a);
    a[0] = 0;
    if (u[1] == 0 || qcmp(a, qhalf) >= 0) {
        qadd(qone, u, a);
        qlog(a, y);
        return;
    }
    // ln(1 + u) = 2 artanh(u / (2 + u)), without ever forming 1 + u.
    qreal z;
    qadd(qtwo, u, a);
    qdiv(a, u, z);
    LogSeries(z, y);
}

}  // namespace qwork

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
    qreal z, num, den, d;
    qsub(qone, m, num);
    qadd(qone, m, den);
    qdiv(den, num, z);
    LogSeries(z, t);
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
