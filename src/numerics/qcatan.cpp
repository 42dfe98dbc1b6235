// Inverse circular and hyperbolic functions of a complex argument.

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

inline bool IsZeroQ(const unsigned short* a)
{
    return a[1] == 0;
}

inline bool IsNegative(const unsigned short* a)
{
    return a[1] != 0 && a[0] != 0;
}

inline bool IsPositive(const unsigned short* a)
{
    return a[1] != 0 && a[0] == 0;
}

// -x, with a zero always +0 (a -0 part would steer the sign tests of the
// routines it is passed to).
inline void Negate(const unsigned short* x, unsigned short* y)
{
    if (IsZeroQ(x)) {
        SetZero(y);
        return;
    }
    qmov(x, y);
    y[0] = (unsigned short)~y[0];
}

// w = i z
void TimesI(const qcmplx* z, qcmplx* w)
{
    qreal re;
    Negate(z->i, re);
    qmov(z->r, w->i);
    qmov(re, w->r);
}

// w = -i z
void TimesMinusI(const qcmplx* z, qcmplx* w)
{
    qreal im;
    Negate(z->r, im);
    qmov(z->i, w->r);
    qmov(im, w->i);
}

// -i ln(i z + sqrt(1 - z^2)). Near z = 0 the argument of the logarithm is
// 1 + v with v small, and rounding 1 + v would lose v's low bits (asin of
// 1e-120 i would come out as 0); so v is formed on its own, with
// sqrt(1 - z^2) - 1 = -z^2 / (sqrt(1 - z^2) + 1), and ln(1 + v) taken as
//   ln|1 + v| = 1/2 ln(1 + 2 Re v + |v|^2),  arg(1 + v) = atan2(Im v, 1 + Re v).
void AsinFormula(const qcmplx* z, qcmplx* w)
{
    qcmplx z2, s, iz, v;
    qcmul(z, z, &z2);
    qcsub(&z2, &qcone, &s);
    qcsqrt(&s, &s);
    TimesI(z, &iz);
    qreal re, im;
    if (z->r[1] < QEXPBIAS - 2 && z->i[1] < QEXPBIAS - 2) {
        // |Re z|, |Im z| < 1/4
        qcmplx t;
        qcadd(&s, &qcone, &t);
        qcdiv(&t, &z2, &t);
        qcsub(&t, &iz, &v);
        qreal u, a, b;
        qadd(qtwo, v.r, a);
        qmul(v.r, a, a);
        qmul(v.i, v.i, b);
        qadd(b, a, u);
        LogOnePlus(u, re);
        if (re[1] > 1)
            --re[1];
        else
            SetZero(re);
        qadd(qone, v.r, a);
        qatn2(v.i, a, im);
    } else {
        qcadd(&iz, &s, &s);
        qclog(&s, &v);
        qmov(v.r, re);
        qmov(v.i, im);
    }
    // -i (re + i im) = im - i re
    qmov(im, w->r);
    Negate(re, w->i);
}

}  // namespace

int qcatan(const qcmplx* z, qcmplx* w)
{
    const unsigned short* x = z->r;
    const unsigned short* y = z->i;
    qreal re, im, x2, y2, t;
    qmul(x, x, x2);
    qmul(y, y, y2);
    if (!IsZeroQ(x)) {
        // 1/2 atan2(2x, 1 - x^2 - y^2), brought into (-pi/2, pi/2]
        qreal twox;
        qmov(x, twox);
        ++twox[1];
        qsub(x2, qone, t);
        qsub(y2, t, t);
        qatn2(twox, t, re);
        if (re[1] > 1)
            --re[1];
        qredpi(re, re);
    } else {
        SetZero(re);
        qreal a;
        qmov(y, a);
        a[0] = 0;
        if (qcmp(a, qone) == 0) {
            // atan(+-i) is a pole.
            mtherr("qcatan", 2);
            SetHuge(im, IsPositive(y) ? 1 : 0);
            qmov(re, w->r);
            qmov(im, w->i);
            return 0;
        }
    }
    if (IsZeroQ(y)) {
        SetZero(im);
    } else {
        // 1/4 ln((x^2 + (y+1)^2) / (x^2 + (y-1)^2)). The numerator exceeds
        // the denominator D = x^2 + (y-1)^2 by exactly 4y; while 4y / D is
        // small the logarithm is taken as 1/4 ln(1 + 4y / D), which keeps its
        // accuracy for small y (atanh 1e-120 is not 0).
        qreal d, u, a;
        qsub(qone, y, d);
        qmul(d, d, d);
        qadd(x2, d, d);
        qmov(y, u);
        u[1] += 2;
        qdiv(d, u, u);
        qmov(u, a);
        a[0] = 0;
        if (qcmp(a, qhalf) < 0) {
            LogOnePlus(u, im);
        } else {
            qreal n;
            qadd(qone, y, n);
            qmul(n, n, n);
            qadd(x2, n, n);
            qdiv(d, n, n);
            qlog(n, im);
        }
        if (im[1] > 2)
            im[1] -= 2;
        else
            SetZero(im);
    }
    qmov(re, w->r);
    qmov(im, w->i);
    return 0;
}

int qcasin(const qcmplx* z, qcmplx* w)
{
    // In the upper half plane (and on the negative real axis) i z and
    // sqrt(1 - z^2) point in nearly opposite directions when z is large, and
    // their sum would cancel to nothing; there asin z = -asin(-z) is taken
    // from the other half, where they add.
    if (IsPositive(z->i) || (IsZeroQ(z->i) && IsNegative(z->r))) {
        qcmplx m;
        Negate(z->r, m.r);
        Negate(z->i, m.i);
        AsinFormula(&m, &m);
        Negate(m.r, w->r);
        Negate(m.i, w->i);
        return 0;
    }
    AsinFormula(z, w);
    return 0;
}

int qcacos(const qcmplx* z, qcmplx* w)
{
    // pi/2 - asin z
    qcmplx s;
    qreal pio2;
    qcasin(z, &s);
    qmov(qpi, pio2);
    --pio2[1];
    qsub(s.r, pio2, w->r);
    Negate(s.i, w->i);
    return 0;
}

int qcatanh(const qcmplx* z, qcmplx* w)
{
    // -i atan(i z)
    qcmplx t;
    TimesI(z, &t);
    qcatan(&t, &t);
    TimesMinusI(&t, w);
    return 0;
}

int qcasinh(const qcmplx* z, qcmplx* w)
{
    // -i asin(i z)
    qcmplx t;
    TimesI(z, &t);
    qcasin(&t, &t);
    TimesMinusI(&t, w);
    return 0;
}

int qcacosh(const qcmplx* z, qcmplx* w)
{
    // i acos z is an inverse cosh; of the pair +-i acos z the principal one
    // has a non-negative real part, which i acos z alone misses whenever
    // Im z < 0 (acosh 2 would come out as -1.3169...).
    qcmplx t;
    qcacos(z, &t);
    TimesI(&t, &t);
    if (IsNegative(t.r)) {
        Negate(t.r, t.r);
        Negate(t.i, t.i);
    }
    qmov(t.r, w->r);
    qmov(t.i, w->i);
    return 0;
}
