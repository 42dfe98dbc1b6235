#include "engine/qcomplex.h"

#include <cmath>

#include "engine/EngineState.h"

namespace {

// Constants derived once from the library's own values.
struct QConstants {
    qreal halfPi;
    qreal ln10;
};

const QConstants& Constants()
{
    static const QConstants constants = [] {
        QConstants c{};
        qmul(qhalf, qpi, c.halfPi);
        qreal ten;
        const long nTen = 10;
        ltoq(&nTen, ten);
        qlog(ten, c.ln10);
        return c;
    }();
    return constants;
}

qcmplx Cleared()
{
    qcmplx z;
    qclear(z.r);
    qclear(z.i);
    return z;
}

// A library error inside a complex function is an invalid parameter.
void CheckLibrary()
{
    if (iserror())
        SetErrorCode(ERR_LIBRARY);
}

// Zero parts of either sign become +0: the library's branch choices look at
// the sign word, and a -0 left over from a negation must not flip them.
qcmplx Normalized(const qcmplx& z)
{
    qcmplx w = z;
    if (qiszero(w.r))
        qclear(w.r);
    if (qiszero(w.i))
        qclear(w.i);
    return w;
}

qcmplx Negated(const qcmplx& z)
{
    qcmplx w = z;
    qneg(w.r);
    qneg(w.i);
    return Normalized(w);
}

// i * z and -i * z
qcmplx TimesI(const qcmplx& z)
{
    qcmplx w;
    qmov(z.i, w.r);
    qneg(w.r);
    qmov(z.r, w.i);
    return Normalized(w);
}

qcmplx TimesMinusI(const qcmplx& z)
{
    qcmplx w;
    qmov(z.i, w.r);
    qmov(z.r, w.i);
    qneg(w.i);
    return Normalized(w);
}

// True when 1/w is an odd whole number (tested in double): the exponent of an
// odd root, which has a real value for a negative base.
bool IsOddRootExponent(const unsigned short* w)
{
    double dbExponent = 0.0;
    qtoe(w, &dbExponent);
    if (dbExponent == 0.0)
        return false;
    const double dbIndex = 1.0 / dbExponent;
    const double dbNearest = std::nearbyint(dbIndex);
    if (std::fabs(dbIndex - dbNearest) > 1e-9 * std::fabs(dbIndex))
        return false;
    return std::fmod(std::fabs(dbNearest), 2.0) == 1.0;
}

bool IsOdd(const unsigned short* w)
{
    qreal half;
    qreal floorHalf;
    qmul(qhalf, w, half);
    qfloor(half, floorHalf);
    return qcmp(half, floorHalf) != 0;
}

// Principal value e^(w ln z), without the library's real-root shortcut.
qcmplx PrincipalPower(const qcmplx& z, const qcmplx& w)
{
    qcmplx logZ = Cleared();
    qcmplx product = Cleared();
    qcmplx r = Cleared();
    qclog(&z, &logZ);
    qcmul(&w, &logZ, &product);
    qcexp(&product, &r);
    return r;
}

}  // namespace

bool qiszero(const unsigned short* a)
{
    return a[1] == 0;
}

bool qisnegative(const unsigned short* a)
{
    return a[1] != 0 && a[0] != 0;
}

bool qiswhole(const unsigned short* a)
{
    qreal f;
    qfloor(a, f);
    return qcmp(a, f) == 0;
}

bool qcmplx_isreal(const qcmplx& z)
{
    return qiszero(z.i);
}

qcmplx qcmplx_make(const unsigned short* re)
{
    qcmplx z = Cleared();
    qmov(re, z.r);
    return z;
}

qcmplx qcmplx_fromdouble(double re, double im)
{
    qcmplx z = Cleared();
    etoq(&re, z.r);
    etoq(&im, z.i);
    return Normalized(z);
}

double qtodouble(const unsigned short* a)
{
    double d = 0.0;
    qtoe(a, &d);
    return d;
}

qcmplx qcmplx_add(const qcmplx& a, const qcmplx& b)
{
    qcmplx c = Cleared();
    qcadd(&a, &b, &c);
    CheckLibrary();
    return c;
}

qcmplx qcmplx_sub(const qcmplx& a, const qcmplx& b)
{
    qcmplx c = Cleared();
    qcsub(&b, &a, &c);  // the library reads c = second - first
    CheckLibrary();
    return c;
}

qcmplx qcmplx_mul(const qcmplx& a, const qcmplx& b)
{
    qcmplx c = Cleared();
    qcmul(&a, &b, &c);
    CheckLibrary();
    return c;
}

qcmplx qcmplx_div(const qcmplx& a, const qcmplx& b)
{
    qcmplx c = Cleared();
    qcdiv(&b, &a, &c);  // the library reads c = second / first
    CheckLibrary();
    return c;
}

qcmplx qcmplx_inverse(const qcmplx& z)
{
    return qcmplx_div(qcone, z);
}

// z^w, principal value, with these real cases computed in real arithmetic so
// that they come out exactly real: a positive base; a negative base with a
// whole exponent ((-2)^3 = -8, not -8 with a rounding-noise imaginary part);
// an odd root of a negative base ((-8)^(1/3) = -2). Other fractional powers of
// a negative base take the principal complex value, so (-16)^(1/4) is not -2.
qcmplx qcmplx_pow(const qcmplx& z, const qcmplx& w)
{
    qcmplx r = Cleared();
    if (qcmplx_isreal(z) && qcmplx_isreal(w) && !qiszero(z.r)) {
        if (!qisnegative(z.r)) {
            qpow(z.r, w.r, r.r);
        } else {
            qreal magnitude;
            qmov(z.r, magnitude);
            qabs(magnitude);
            if (qiswhole(w.r)) {
                qpow(magnitude, w.r, r.r);
                if (IsOdd(w.r))
                    qneg(r.r);
            } else if (IsOddRootExponent(w.r)) {
                qpow(magnitude, w.r, r.r);
                qneg(r.r);
            } else {
                r = PrincipalPower(Normalized(z), w);
            }
        }
    } else {
        qcpow(&z, &w, &r);
    }
    CheckLibrary();
    return r;
}

qcmplx qcmplx_sqrt(const qcmplx& z)
{
    qcmplx r = Cleared();
    if (qcmplx_isreal(z)) {
        // The square root of a negative real number is exactly imaginary.
        qreal magnitude;
        qmov(z.r, magnitude);
        const bool bNegative = qisnegative(magnitude);
        qabs(magnitude);
        qsqrt(magnitude, bNegative ? r.i : r.r);
    } else {
        qcsqrt(&z, &r);
    }
    CheckLibrary();
    return r;
}

qcmplx qcmplx_abs(const qcmplx& z)
{
    qcmplx r = Cleared();
    qcabs(&z, &r);
    qclear(r.i);
    CheckLibrary();
    return r;
}

qcmplx qcmplx_log(const qcmplx& z)
{
    qcmplx r = Cleared();
    const qcmplx n = Normalized(z);
    if (qcmplx_isreal(n) && !qiszero(n.r)) {
        // Real arguments need no modulus and no angle: ln|x|, plus i pi for
        // a negative x.
        qreal magnitude;
        qmov(n.r, magnitude);
        qabs(magnitude);
        qlog(magnitude, r.r);
        if (qisnegative(n.r))
            qmov(qpi, r.i);
    } else {
        qclog(&n, &r);
    }
    CheckLibrary();
    return r;
}

qcmplx qcmplx_log10(const qcmplx& z)
{
    qcmplx r = qcmplx_log(z);
    qdiv(Constants().ln10, r.r, r.r);
    qdiv(Constants().ln10, r.i, r.i);
    CheckLibrary();
    return r;
}

// Real arguments take the real functions: the same values (cosh 0 = 1 and
// sinh 0 = 0 exactly) for a fraction of the work.
qcmplx qcmplx_sin(const qcmplx& z)
{
    qcmplx r = Cleared();
    if (qcmplx_isreal(z))
        qsin(z.r, r.r);
    else
        qcsin(&z, &r);
    CheckLibrary();
    return r;
}

qcmplx qcmplx_cos(const qcmplx& z)
{
    qcmplx r = Cleared();
    if (qcmplx_isreal(z))
        qcos(z.r, r.r);
    else
        qccos(&z, &r);
    CheckLibrary();
    return r;
}

// tan(x + iy) from real functions. For |y| < 1:
//   d = cos^2 x + sinh^2 y,  tan z = (sin 2x / 2) / d + i (sinh 2y / 2) / d
// and for |y| >= 1, divided through by sinh^2 y so that nothing overflows:
//   c = csch^2 y,  D = 1 + cos^2 x c,  tan z = (sin 2x / 2) c / D + i coth y / D
qcmplx qcmplx_tan(const qcmplx& z)
{
    qcmplx r = Cleared();
    qreal twoX;
    qreal halfSin2x;
    qreal cosX;
    qreal cos2;
    qadd(z.r, z.r, twoX);
    qsin(twoX, halfSin2x);
    qmul(qhalf, halfSin2x, halfSin2x);
    qcos(z.r, cosX);
    qmul(cosX, cosX, cos2);

    qreal absY;
    qmov(z.i, absY);
    qabs(absY);
    if (qcmp(absY, qone) < 0) {
        qreal sinhY;
        qreal d;
        qreal twoY;
        qreal halfSinh2y;
        qsinh(z.i, sinhY);
        qmul(sinhY, sinhY, d);
        qadd(cos2, d, d);
        qadd(z.i, z.i, twoY);
        qsinh(twoY, halfSinh2y);
        qmul(qhalf, halfSinh2y, halfSinh2y);
        qdiv(d, halfSin2x, r.r);
        qdiv(d, halfSinh2y, r.i);
    } else {
        qreal sinhY;
        qreal coshY;
        qreal c;
        qreal denominator;
        qreal cothY;
        qsinh(z.i, sinhY);
        qcosh(z.i, coshY);
        qmul(sinhY, sinhY, c);
        qdiv(c, qone, c);  // csch^2 y
        qmul(cos2, c, denominator);
        qadd(qone, denominator, denominator);
        qdiv(sinhY, coshY, cothY);
        qmul(halfSin2x, c, r.r);
        qdiv(denominator, r.r, r.r);
        qdiv(denominator, cothY, r.i);
    }
    CheckLibrary();
    return r;
}

qcmplx qcmplx_cot(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_tan(z));
}

qcmplx qcmplx_sec(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_cos(z));
}

qcmplx qcmplx_csc(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_sin(z));
}

qcmplx qcmplx_sinh(const qcmplx& z)
{
    qcmplx r = Cleared();
    qcsinh(&z, &r);
    CheckLibrary();
    return r;
}

qcmplx qcmplx_cosh(const qcmplx& z)
{
    qcmplx r = Cleared();
    qccosh(&z, &r);
    CheckLibrary();
    return r;
}

qcmplx qcmplx_tanh(const qcmplx& z)
{
    qcmplx r = Cleared();
    qctanh(&z, &r);
    CheckLibrary();
    return r;
}

qcmplx qcmplx_coth(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_tanh(z));
}

qcmplx qcmplx_sech(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_cosh(z));
}

qcmplx qcmplx_csch(const qcmplx& z)
{
    return qcmplx_inverse(qcmplx_sinh(z));
}

// asin is odd. The library's -i ln(iz + sqrt(1 - z^2)) cancels in the upper
// half plane (and for real z < -1), so those arguments are mirrored.
qcmplx qcmplx_arcsin(const qcmplx& z)
{
    const qcmplx n = Normalized(z);
    const bool bMirror = qiszero(n.i) ? qisnegative(n.r) : !qisnegative(n.i);
    qcmplx r = Cleared();
    if (bMirror) {
        const qcmplx m = Negated(n);
        qcasin(&m, &r);
        r = Negated(r);
    } else {
        qcasin(&n, &r);
    }
    CheckLibrary();
    return r;
}

qcmplx qcmplx_arccos(const qcmplx& z)
{
    const qcmplx s = qcmplx_arcsin(z);
    qcmplx r = Cleared();
    qsub(s.r, Constants().halfPi, r.r);
    qmov(s.i, r.i);
    qneg(r.i);
    return Normalized(r);
}

// On the cut of the imaginary axis beyond +-i the real part is +-pi/2 (the
// sign of the imaginary part), not 0: atan(2i) = pi/2 + 0.549i.
qcmplx qcmplx_arctan(const qcmplx& z)
{
    const qcmplx n = Normalized(z);
    qcmplx r = Cleared();
    qcatan(&n, &r);
    if (qiszero(n.r) && !iserror()) {
        qreal absY;
        qmov(n.i, absY);
        qabs(absY);
        if (qcmp(absY, qone) > 0) {
            qmov(Constants().halfPi, r.r);
            if (qisnegative(n.i))
                qneg(r.r);
        }
    }
    CheckLibrary();
    return Normalized(r);
}

qcmplx qcmplx_arccot(const qcmplx& z)
{
    // acot 0 = pi/2 (the limit of atan 1/z), not a division by zero.
    if (qiszero(z.r) && qiszero(z.i))
        return qcmplx_make(Constants().halfPi);
    return qcmplx_arctan(qcmplx_inverse(z));
}

qcmplx qcmplx_arcsec(const qcmplx& z)
{
    return qcmplx_arccos(qcmplx_inverse(z));
}

qcmplx qcmplx_arccsc(const qcmplx& z)
{
    return qcmplx_arcsin(qcmplx_inverse(z));
}

// asinh is odd; -ln(-z + sqrt(1 + z^2)) cancels for Re z > 0 (and on the
// positive imaginary axis), so those arguments are mirrored.
qcmplx qcmplx_arcsinh(const qcmplx& z)
{
    const qcmplx n = Normalized(z);
    const bool bMirror = qiszero(n.r) ? !qiszero(n.i) && !qisnegative(n.i) : !qisnegative(n.r);
    qcmplx r = Cleared();
    if (bMirror) {
        const qcmplx m = Negated(n);
        qcasinh(&m, &r);
        r = Negated(r);
    } else {
        qcasinh(&n, &r);
    }
    CheckLibrary();
    return r;
}

// acosh z = +-i acos z; the principal value has a non-negative real part
// (acosh 2 = 1.317, not -1.317). acos maps the upper half plane below the
// real axis and the lower half plane above it, so the sign follows from z
// itself, which is safe against rounding noise in the real part of i acos z:
// +i for Im z > 0 and for real z <= 1, -i for Im z < 0 and for real z > 1.
qcmplx qcmplx_arccosh(const qcmplx& z)
{
    const qcmplx n = Normalized(z);
    const qcmplx a = qcmplx_arccos(n);
    bool bPlus;
    if (qiszero(n.i))
        bPlus = qcmp(n.r, qone) <= 0;
    else
        bPlus = !qisnegative(n.i);
    return bPlus ? TimesI(a) : TimesMinusI(a);
}

// atanh z = -i atan(iz), with the cut of atan settled above: atanh 2 has the
// imaginary part -pi/2.
qcmplx qcmplx_arctanh(const qcmplx& z)
{
    return TimesMinusI(qcmplx_arctan(TimesI(z)));
}

qcmplx qcmplx_arccoth(const qcmplx& z)
{
    // acoth 0 = i pi/2
    if (qiszero(z.r) && qiszero(z.i)) {
        qcmplx r = Cleared();
        qmov(Constants().halfPi, r.i);
        return r;
    }
    return qcmplx_arctanh(qcmplx_inverse(z));
}

qcmplx qcmplx_arcsech(const qcmplx& z)
{
    return qcmplx_arccosh(qcmplx_inverse(z));
}

qcmplx qcmplx_arccsch(const qcmplx& z)
{
    return qcmplx_arcsinh(qcmplx_inverse(z));
}
