// Complex exponential, logarithm, power, and the circular and hyperbolic
// functions built on them.

#include <cmath>

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

inline bool IsZeroQ(const unsigned short* a)
{
    return a[1] == 0;
}

// cosh y and sinh y from one exponential. For |y| < 1/2 sinh comes from its
// series instead, since (e^y - e^-y) / 2 would cancel away its leading bits.
void CoshSinh(const unsigned short* y, unsigned short* ch, unsigned short* sh)
{
    if (IsZeroQ(y)) {
        qmov(qone, ch);
        SetZero(sh);
        return;
    }
    qreal e, ei, c, s;
    qexp(y, e);
    qdiv(e, qone, ei);
    qadd(ei, e, c);
    if (c[1] > 1)
        --c[1];
    if (y[1] < QEXPBIAS - 1) {
        qsinh(y, s);
    } else {
        qsub(ei, e, s);
        if (s[1] > 1)
            --s[1];
        else
            SetZero(s);
    }
    qmov(c, ch);
    qmov(s, sh);
}

// The stored result of a routine that computed into temporaries, so that
// the destination may alias the source.
inline void Store(const unsigned short* re, const unsigned short* im, qcmplx* w)
{
    qmov(re, w->r);
    qmov(im, w->i);
}

}  // namespace

int qcexp(const qcmplx* z, qcmplx* w)
{
    qreal e, re, im;
    if (IsZeroQ(z->r))
        qmov(qone, e);
    else
        qexp(z->r, e);
    if (IsZeroQ(z->i)) {
        qmov(e, re);
        SetZero(im);
    } else {
        qreal c, s;
        qcos(z->i, c);
        qsin(z->i, s);
        qmul(e, c, re);
        qmul(e, s, im);
    }
    Store(re, im, w);
    return 0;
}

int qclog(const qcmplx* z, qcmplx* w)
{
    qcmplx m;
    qreal re, im;
    qcabs(z, &m);
    qlog(m.r, re);
    qatn2(z->i, z->r, im);
    Store(re, im, w);
    return 0;
}

int qcpow(const qcmplx* z, const qcmplx* w, qcmplx* r)
{
    if (IsZeroQ(z->r) && IsZeroQ(z->i)) {
        // 0^w: 0 for Re w > 0, a pole for Re w < 0; 0^0 is 1, and 0 to a
        // purely imaginary power is reported and given as 1.
        if (!IsZeroQ(w->r)) {
            if (w->r[0] == 0) {
                SetZero(r->r);
            } else {
                mtherr("qcpow", 1);
                SetHuge(r->r, 0);
            }
        } else {
            if (!IsZeroQ(w->i))
                mtherr("qcpow", 1);
            qmov(qone, r->r);
        }
        SetZero(r->i);
        return 0;
    }
    if (IsZeroQ(w->i) && !IsZeroQ(w->r) && IsZeroQ(z->i) && z->r[0] != 0) {
        // A negative real number to a real power p/q with q odd has the real
        // value (-1)^p |z|^(p/q): the cube root of -8 is -2, and (-8)^(2/3)
        // is 4. Other real powers keep the principal (complex) value.
        double dW;
        qtoe(w->r, &dW);
        if (std::floor(2 * dW) != 2 * dW) {
            for (int q = 3; q < 100; q += 2) {
                double dP = dW * q;
                double dRound = std::nearbyint(dP);
                if (std::fabs(dP - dRound) <= 1e-12 * std::fmax(1.0, std::fabs(dP))) {
                    qreal a, t;
                    qmov(z->r, a);
                    a[0] = 0;
                    qpow(a, w->r, t);
                    if (std::fmod(std::fabs(dRound), 2.0) == 1.0 && t[1] != 0)
                        t[0] = 0xFFFF;
                    qmov(t, r->r);
                    SetZero(r->i);
                    return 0;
                }
            }
        }
    }
    // z^w = e^(w ln z)
    qcmplx l;
    qclog(z, &l);
    qcmul(w, &l, &l);
    qcexp(&l, r);
    return 0;
}

int qcsin(const qcmplx* z, qcmplx* w)
{
    // sin x cosh y + i cos x sinh y
    qreal s, c, ch, sh, re, im;
    qsin(z->r, s);
    qcos(z->r, c);
    CoshSinh(z->i, ch, sh);
    qmul(s, ch, re);
    qmul(c, sh, im);
    Store(re, im, w);
    return 0;
}

int qccos(const qcmplx* z, qcmplx* w)
{
    // cos x cosh y - i sin x sinh y
    qreal s, c, ch, sh, re, im;
    qsin(z->r, s);
    qcos(z->r, c);
    CoshSinh(z->i, ch, sh);
    qmul(c, ch, re);
    qmul(s, sh, im);
    if (im[1] != 0)
        qneg(im);
    Store(re, im, w);
    return 0;
}

int qcsinh(const qcmplx* z, qcmplx* w)
{
    // sinh x cos y + i cosh x sin y
    qreal s, c, ch, sh, re, im;
    qsin(z->i, s);
    qcos(z->i, c);
    qsinh(z->r, sh);
    qcosh(z->r, ch);
    qmul(sh, c, re);
    qmul(ch, s, im);
    Store(re, im, w);
    return 0;
}

int qccosh(const qcmplx* z, qcmplx* w)
{
    // cosh x cos y + i sinh x sin y
    qreal s, c, ch, sh, re, im;
    qsin(z->i, s);
    qcos(z->i, c);
    qsinh(z->r, sh);
    qcosh(z->r, ch);
    qmul(ch, c, re);
    qmul(sh, s, im);
    Store(re, im, w);
    return 0;
}

int qctanh(const qcmplx* z, qcmplx* w)
{
    qreal x2, y2, re, im;
    qmov(z->r, x2);
    qmov(z->i, y2);
    if (x2[1] != 0)
        ++x2[1];
    if (y2[1] != 0)
        ++y2[1];
    if (x2[1] >= QEXPBIAS + 8) {
        // |x| >= 128: tanh z = +-1 + i 2 sin 2y e^-2|x| to every bit (the
        // next term is e^-4|x| < 2^-738), and cosh 2x itself could overflow.
        qreal s, e;
        qmov(qone, re);
        re[0] = z->r[0] ? 0xFFFF : 0;
        x2[0] = 0xFFFF;
        qexp(x2, e);
        qsin(y2, s);
        qmul(s, e, im);
        if (im[1] != 0)
            ++im[1];
    } else {
        // (sinh 2x + i sin 2y) / (cosh 2x + cos 2y), the denominator formed
        // as 2 (sinh^2 x + cos^2 y): the same number, but without the
        // cancellation of cosh 2x + cos 2y next to the poles.
        qreal sh, s, c, d;
        qsinh(x2, sh);
        qsin(y2, s);
        qsinh(z->r, c);
        qmul(c, c, d);
        qcos(z->i, c);
        qmul(c, c, c);
        qadd(c, d, d);
        if (d[1] != 0)
            ++d[1];
        qdiv(d, sh, re);
        qdiv(d, s, im);
    }
    Store(re, im, w);
    return 0;
}
