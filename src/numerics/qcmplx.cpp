// Complex arithmetic: sum, difference, product, quotient, modulus and
// square root.
//
// Products and quotients are formed in the working form, whose exponent is
// an unbounded int: that is the exponent set aside while the partial
// products are formed and combined, so a part overflows or underflows only
// when the final value does.

#include <cmath>
#include <initializer_list>

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

inline bool IsZeroQ(const unsigned short* a)
{
    return a[1] == 0;
}

// A working number whose exponent may be out of range: stored with a range
// check, or as zero when it is zero.
void StorePart(QWORK& w, unsigned short* c, const char* pName)
{
    if (MantIsZero(w.m)) {
        SetZero(c);
        return;
    }
    RoundPack(w, c, pName);
}

}  // namespace

int qcadd(const qcmplx* a, const qcmplx* b, qcmplx* c)
{
    qadd(a->r, b->r, c->r);
    qadd(a->i, b->i, c->i);
    return 0;
}

int qcsub(const qcmplx* a, const qcmplx* b, qcmplx* c)
{
    qsub(a->r, b->r, c->r);
    qsub(a->i, b->i, c->i);
    return 0;
}

int qcmul(const qcmplx* a, const qcmplx* b, qcmplx* c)
{
    QWORK ar, ai, br, bi, p, q, re, im;
    Unpack(a->r, ar);
    Unpack(a->i, ai);
    Unpack(b->r, br);
    Unpack(b->i, bi);
    // re = ar br - ai bi, im = ar bi + ai br; a zero part makes its
    // products zero and the combination a plain copy.
    WorkMul(ar, br, p);
    WorkMul(ai, bi, q);
    WorkAdd(q, p, re, true);
    WorkMul(ar, bi, p);
    WorkMul(ai, br, q);
    WorkAdd(q, p, im, false);
    StorePart(re, c->r, "qcmul");
    StorePart(im, c->i, "qcmul");
    return 0;
}

int qcdiv(const qcmplx* a, const qcmplx* b, qcmplx* c)
{
    bool bRealA = IsZeroQ(a->i), bImagA = IsZeroQ(a->r);
    if (bRealA && bImagA) {
        mtherr("qcdiv", 3);
        SetHuge(c->r, 0);
        SetZero(c->i);
        return 0;
    }
    QWORK ar, ai, br, bi, re, im;
    Unpack(a->r, ar);
    Unpack(a->i, ai);
    Unpack(b->r, br);
    Unpack(b->i, bi);
    if (bRealA) {
        WorkDiv(ar, br, re);
        WorkDiv(ar, bi, im);
    } else if (bImagA) {
        // (br + i bi) / (i ai) = bi / ai - i br / ai
        WorkDiv(ai, bi, re);
        WorkDiv(ai, br, im);
        if (!MantIsZero(im.m))
            im.nSign ^= 1;
    } else {
        // d = ar^2 + ai^2; re = (br ar + bi ai) / d; im = (bi ar - br ai) / d
        QWORK d, p, q;
        WorkMul(ar, ar, p);
        WorkMul(ai, ai, q);
        WorkAdd(q, p, d, false);
        WorkMul(br, ar, p);
        WorkMul(bi, ai, q);
        WorkAdd(q, p, re, false);
        WorkDiv(d, re, re);
        WorkMul(bi, ar, p);
        WorkMul(br, ai, q);
        WorkAdd(q, p, im, true);
        WorkDiv(d, im, im);
    }
    StorePart(re, c->r, "qcdiv");
    StorePart(im, c->i, "qcdiv");
    return 0;
}

int qcabs(const qcmplx* z, qcmplx* r)
{
    qreal x, y, t;
    qmov(z->r, x);
    qmov(z->i, y);
    x[0] = 0;
    y[0] = 0;
    int ex = x[1], ey = y[1];
    if (ex == 0 || ey == 0 || ex - ey > 336 || ey - ex > 336) {
        // One part alone carries the modulus.
        qmov(qcmp(x, y) >= 0 ? x : y, r->r);
        return 0;
    }
    // Scale both parts by the same power of two, half the sum of their
    // unbiased exponents, so that the squares cannot overflow or underflow.
    int s = ((ex - QEXPBIAS) + (ey - QEXPBIAS)) / 2;
    x[1] = (unsigned short)(ex - s);
    y[1] = (unsigned short)(ey - s);
    qmul(x, x, x);
    qmul(y, y, y);
    qadd(y, x, t);
    qsqrt(t, t);
    int e = int(t[1]) + s;
    if (e > QEXPMAX) {
        mtherr("qcabs", 3);
        SetHuge(r->r, 0);
        return 0;
    }
    t[1] = (unsigned short)(e <= 0 ? 0 : e);
    if (e <= 0)
        SetZero(t);
    qmov(t, r->r);
    return 0;
}

int qcsqrt(const qcmplx* z, qcmplx* w)
{
    if (IsZeroQ(z->r) && IsZeroQ(z->i)) {
        qmov(z->r, w->r);
        qmov(z->i, w->i);
        return 0;
    }
    // Scale by 2^-d, d the larger unbiased exponent rounded down to an even
    // number, so that the root is scaled by exactly 2^(-d/2).
    int e = int(z->r[1] > z->i[1] ? z->r[1] : z->i[1]) - QEXPBIAS;
    int d = e >= 0 ? e - (e & 1) : e - ((-e) & 1);
    qcmplx s;
    qmov(z->r, s.r);
    qmov(z->i, s.i);
    for (unsigned short* p : {s.r, s.i}) {
        if (p[1] == 0)
            continue;
        int n = int(p[1]) - d;
        if (n <= 0)
            SetZero(p);
        else
            p[1] = (unsigned short)n;
    }
    // First approximation in double, good to about 53 bits.
    double x, y;
    qtoe(s.r, &x);
    qtoe(s.i, &y);
    double r = std::sqrt(x * x + y * y);
    double wr, wi;
    if (x > 0) {
        double t = std::sqrt((r + x) / 2);
        wr = t;
        wi = y / (2 * t);
    } else {
        double t = std::sqrt((r - x) / 2);
        wr = std::fabs(y) / (2 * t);
        wi = s.i[0] ? -t : t;
    }
    qcmplx v, q;
    etoq(&wr, v.r);
    etoq(&wi, v.i);
    // Three Newton steps w <- (w + z / w) / 2 take 53 bits past 336.
    for (int i = 0; i < 3; ++i) {
        qcdiv(&v, &s, &q);
        qcadd(&q, &v, &v);
        if (v.r[1] > 1)
            --v.r[1];
        else
            SetZero(v.r);
        if (v.i[1] > 1)
            --v.i[1];
        else
            SetZero(v.i);
    }
    // Restore the scale: the root of 2^d is 2^(d/2).
    for (unsigned short* p : {v.r, v.i}) {
        if (p[1] == 0)
            continue;
        int n = int(p[1]) + d / 2;
        if (n <= 0)
            SetZero(p);
        else
            p[1] = (unsigned short)n;
    }
    qmov(v.r, w->r);
    qmov(v.i, w->i);
    return 0;
}
