#include "QRandom.h"

namespace qtest {

void QRandom::Real(unsigned short* x, int nLo, int nHi, int nSign)
{
    x[0] = nSign > 0 ? 0 : (nSign < 0 ? 0xFFFF : (Coin() ? 0xFFFF : 0));
    x[1] = (unsigned short)(QEXPBIAS + Int(nLo, nHi));
    x[2] = 0;
    for (int i = 3; i < NQ; ++i)
        x[i] = (unsigned short)m_rng();
    x[3] |= 0x8000;
}

void QRandom::Uniform(unsigned short* x, double dLo, double dHi)
{
    // lo + (hi - lo) * u with u a random 336-bit fraction in [0, 1).
    qreal u, lo, span;
    Real(u, 0, 0, 1);    // [1, 2)
    qsub(qone, u, u);    // [0, 1), exact
    etoq(&dLo, lo);
    double dSpan = dHi - dLo;
    etoq(&dSpan, span);
    qmul(span, u, u);
    qadd(lo, u, x);
}

}  // namespace qtest
