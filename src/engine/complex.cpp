#include "engine/complex.h"

#include <cmath>
#include <limits>

namespace {

constexpr double mg_dbPi = 3.141592653589793;
constexpr double mg_dbHalfPi = 1.5707963267948966;
constexpr double mg_dbLn10 = 2.302585092994046;
constexpr double mg_dbNaN = std::numeric_limits<double>::quiet_NaN();

constexpr COMPLEX mg_czNaN = {mg_dbNaN, mg_dbNaN};

// A zero part of either sign is taken as +0, so that the branch cuts do not
// depend on how a zero came about.
COMPLEX Normalized(double x, double y)
{
    return COMPLEX{x + 0.0, y + 0.0};
}

// x * y where a zero factor wins over an infinite one (sin(0 + i*1000) must
// have a zero real part, not NaN).
double MulZero(double x, double y)
{
    return (x == 0.0 || y == 0.0) ? 0.0 : x * y;
}

bool IsZero(COMPLEX z)
{
    return z.x == 0.0 && z.y == 0.0;
}

bool IsWhole(double x)
{
    return std::isfinite(x) && x == std::floor(x);
}

// True when 1/w is an odd whole number: w is the exponent of an odd root,
// which has a real value for a negative base.
bool IsOddRootExponent(double w)
{
    if (w == 0.0)
        return false;
    const double dbIndex = 1.0 / w;
    const double dbNearest = std::nearbyint(dbIndex);
    if (std::fabs(dbIndex - dbNearest) > 1e-9 * std::fabs(dbIndex))
        return false;
    return std::fmod(std::fabs(dbNearest), 2.0) == 1.0;
}

// i * z and -i * z.
COMPLEX TimesI(COMPLEX z)
{
    return COMPLEX{-z.y, z.x};
}

COMPLEX TimesMinusI(COMPLEX z)
{
    return COMPLEX{z.y, -z.x};
}

}  // namespace

COMPLEX complex_add(COMPLEX a, COMPLEX b)
{
    return COMPLEX{a.x + b.x, a.y + b.y};
}

COMPLEX complex_sub(COMPLEX a, COMPLEX b)
{
    return COMPLEX{a.x - b.x, a.y - b.y};
}

COMPLEX complex_mul(COMPLEX a, COMPLEX b)
{
    if (a.y == 0.0 && b.y == 0.0)
        return COMPLEX{a.x * b.x, 0.0};
    return COMPLEX{a.x * b.x - a.y * b.y, a.x * b.y + a.y * b.x};
}

COMPLEX complex_div(COMPLEX a, COMPLEX b)
{
    if (IsZero(b))
        return mg_czNaN;
    if (b.y == 0.0)
        return COMPLEX{a.x / b.x, a.y / b.x};
    if (b.x == 0.0)
        return COMPLEX{a.y / b.y, -a.x / b.y};
    // Smith's method: scale by the larger part of the divisor so that its
    // squared modulus cannot overflow.
    if (std::fabs(b.x) >= std::fabs(b.y)) {
        const double r = b.y / b.x;
        const double d = b.x + b.y * r;
        return COMPLEX{(a.x + a.y * r) / d, (a.y - a.x * r) / d};
    }
    const double r = b.x / b.y;
    const double d = b.x * r + b.y;
    return COMPLEX{(a.x * r + a.y) / d, (a.y * r - a.x) / d};
}

COMPLEX complex_inverse(COMPLEX z)
{
    return complex_div(COMPLEX{1.0, 0.0}, z);
}

double complex_abs(COMPLEX z)
{
    return std::hypot(z.x, z.y);
}

double logex(double t)
{
    // The correction term recovers the bits of t lost in forming 1 + t.
    const double u = 1.0 + t;
    return std::log(u) - ((u - 1.0) - t) / u;
}

double logabs(COMPLEX z)
{
    const double ax = std::fabs(z.x);
    const double ay = std::fabs(z.y);
    const double dbMax = std::fmax(ax, ay);
    const double dbMin = std::fmin(ax, ay);
    if (dbMax == 0.0)
        return -std::numeric_limits<double>::infinity();
    if (std::isinf(dbMax))
        return std::numeric_limits<double>::infinity();
    const double dbRatio = dbMin / dbMax;
    return std::log(dbMax) + 0.5 * logex(dbRatio * dbRatio);
}

COMPLEX complex_exp(COMPLEX z)
{
    const double e = std::exp(z.x);
    if (z.y == 0.0)
        return COMPLEX{e, 0.0};
    return COMPLEX{MulZero(e, std::cos(z.y)), MulZero(e, std::sin(z.y))};
}

COMPLEX complex_log(COMPLEX z)
{
    return COMPLEX{logabs(z), std::atan2(z.y + 0.0, z.x)};
}

COMPLEX complex_log10(COMPLEX z)
{
    const COMPLEX w = complex_log(z);
    return COMPLEX{w.x / mg_dbLn10, w.y / mg_dbLn10};
}

COMPLEX complex_pow(COMPLEX z, COMPLEX w)
{
    if (IsZero(z)) {
        if (IsZero(w))
            return COMPLEX{1.0, 0.0};
        if (w.x > 0.0)
            return COMPLEX{0.0, 0.0};
        if (w.x < 0.0)
            return COMPLEX{std::numeric_limits<double>::infinity(), 0.0};
        return mg_czNaN;
    }
    if (z.y == 0.0 && w.y == 0.0) {
        // Real powers stay real wherever they have a real value: positive
        // bases, whole exponents and odd roots of negative bases.
        if (z.x > 0.0 || IsWhole(w.x))
            return COMPLEX{std::pow(z.x, w.x), 0.0};
        if (IsOddRootExponent(w.x))
            return COMPLEX{-std::pow(-z.x, w.x), 0.0};
    }
    return complex_exp(complex_mul(w, complex_log(z)));
}

COMPLEX complex_sqrt(COMPLEX z)
{
    if (z.y == 0.0) {
        if (z.x >= 0.0)
            return COMPLEX{std::sqrt(z.x), 0.0};
        return COMPLEX{0.0, std::sqrt(-z.x)};
    }
    const double ax = std::fabs(z.x);
    const double ay = std::fabs(z.y);
    // Scale very large arguments so that |x| + |z| cannot overflow.
    double dbScale = 1.0;
    double x = z.x;
    double y = z.y;
    if (ax > 1e300 || ay > 1e300) {
        x *= 0.25;
        y *= 0.25;
        dbScale = 2.0;
    }
    const double t = std::sqrt((std::fabs(x) + std::hypot(x, y)) / 2.0);
    if (x >= 0.0)
        return COMPLEX{t * dbScale, y / (2.0 * t) * dbScale};
    return COMPLEX{std::fabs(y) / (2.0 * t) * dbScale, std::copysign(t, y) * dbScale};
}

COMPLEX complex_sin(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::sin(z.x), 0.0};
    return COMPLEX{MulZero(std::sin(z.x), std::cosh(z.y)), MulZero(std::cos(z.x), std::sinh(z.y))};
}

COMPLEX complex_cos(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::cos(z.x), 0.0};
    return COMPLEX{MulZero(std::cos(z.x), std::cosh(z.y)),
                   -MulZero(std::sin(z.x), std::sinh(z.y))};
}

COMPLEX complex_tan(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::tan(z.x), 0.0};
    const double s = std::sin(z.x);
    const double c = std::cos(z.x);
    if (std::fabs(z.y) < 1.0) {
        // cos 2x + cosh 2y written as 2(cos^2 x + sinh^2 y): no cancellation
        // near the poles.
        const double sh = std::sinh(z.y);
        const double d = c * c + sh * sh;
        return COMPLEX{s * c / d, sh * std::cosh(z.y) / d};
    }
    // Large |y|: divide through by sinh^2 y so that nothing overflows.
    const double csch = 1.0 / std::sinh(z.y);
    const double csch2 = csch * csch;
    const double d = 1.0 + c * c * csch2;
    return COMPLEX{s * c * csch2 / d, 1.0 / std::tanh(z.y) / d};
}

COMPLEX complex_cot(COMPLEX z)
{
    return complex_inverse(complex_tan(z));
}

COMPLEX complex_sec(COMPLEX z)
{
    return complex_inverse(complex_cos(z));
}

COMPLEX complex_csc(COMPLEX z)
{
    return complex_inverse(complex_sin(z));
}

COMPLEX complex_sinh(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::sinh(z.x), 0.0};
    return COMPLEX{MulZero(std::sinh(z.x), std::cos(z.y)), MulZero(std::cosh(z.x), std::sin(z.y))};
}

COMPLEX complex_cosh(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::cosh(z.x), 0.0};
    return COMPLEX{MulZero(std::cosh(z.x), std::cos(z.y)), MulZero(std::sinh(z.x), std::sin(z.y))};
}

COMPLEX complex_tanh(COMPLEX z)
{
    if (z.y == 0.0)
        return COMPLEX{std::tanh(z.x), 0.0};
    // tanh z = -i tan(iz)
    return TimesMinusI(complex_tan(TimesI(z)));
}

COMPLEX complex_coth(COMPLEX z)
{
    return complex_inverse(complex_tanh(z));
}

COMPLEX complex_sech(COMPLEX z)
{
    return complex_inverse(complex_cosh(z));
}

COMPLEX complex_csch(COMPLEX z)
{
    return complex_inverse(complex_sinh(z));
}

COMPLEX Round(COMPLEX z)
{
    const double t = complex_abs(z) * 3.333e-16;
    if (t < 1e-5) {
        if (std::fabs(z.x) < t)
            z.x = 0.0;
        if (std::fabs(z.y) < t)
            z.y = 0.0;
    }
    return z;
}

namespace {

// The inverse functions without the final cleanup, for composing: Round may
// clear a tiny part whose sign still decides a branch (acosh).
COMPLEX ArcSin(COMPLEX z)
{
    if (z.y == 0.0) {
        if (std::fabs(z.x) <= 1.0)
            return COMPLEX{std::asin(z.x), 0.0};
        return Normalized(std::copysign(mg_dbHalfPi, z.x), -std::copysign(std::acosh(std::fabs(z.x)), z.x));
    }
    // Kahan's formulas: both square roots have a non-negative real part, so
    // there is no cancellation anywhere in the plane.
    const COMPLEX s1 = complex_sqrt(COMPLEX{1.0 - z.x, -z.y});
    const COMPLEX s2 = complex_sqrt(COMPLEX{1.0 + z.x, z.y});
    return Normalized(std::atan2(z.x, s1.x * s2.x - s1.y * s2.y),
                      std::asinh(s1.x * s2.y - s1.y * s2.x));
}

COMPLEX ArcCos(COMPLEX z)
{
    if (z.y == 0.0) {
        if (std::fabs(z.x) <= 1.0)
            return COMPLEX{std::acos(z.x), 0.0};
        if (z.x > 0.0)
            return COMPLEX{0.0, std::acosh(z.x)};
        return COMPLEX{mg_dbPi, -std::acosh(-z.x)};
    }
    const COMPLEX s1 = complex_sqrt(COMPLEX{1.0 - z.x, -z.y});
    const COMPLEX s2 = complex_sqrt(COMPLEX{1.0 + z.x, z.y});
    return Normalized(2.0 * std::atan2(s1.x, s2.x), std::asinh(s2.x * s1.y - s2.y * s1.x));
}

COMPLEX ArcTan(COMPLEX z)
{
    if (z.x == 0.0) {
        const double ay = std::fabs(z.y);
        if (ay < 1.0)
            return Normalized(0.0, std::atanh(z.y));
        if (ay == 1.0)
            return mg_czNaN;  // the poles at +-i
        return Normalized(std::copysign(mg_dbHalfPi, z.y), std::atanh(1.0 / z.y));
    }
    if (z.y == 0.0)
        return COMPLEX{std::atan(z.x), 0.0};
    if (complex_abs(z) > 1e150) {
        // atan z = +-pi/2 - atan(1/z), the sign of pi/2 following Re z;
        // keeps the squares below from overflowing.
        const COMPLEX w = ArcTan(complex_inverse(z));
        return Normalized(std::copysign(mg_dbHalfPi, z.x) - w.x, -w.y);
    }
    // Re = atan2(2x, 1 - x^2 - y^2) / 2, Im = ln(|z + i|^2 / |z - i|^2) / 4,
    // with 1 - y and 1 + y formed exactly so that nothing cancels near the
    // poles.
    const double dbOneMinusY = 1.0 - z.y;
    const double d = std::fma(-z.x, z.x, dbOneMinusY * (1.0 + z.y));
    const double dbReal = 0.5 * std::atan2(2.0 * z.x, d);
    // Im is odd in y; the quotient is taken the way up from 1, so that the
    // logarithm never sees a value near 0.
    const double dbNear = z.y > 0.0 ? dbOneMinusY : 1.0 + z.y;
    const double dbDen = std::fma(z.x, z.x, dbNear * dbNear);
    const double dbImag = std::copysign(0.25 * std::log1p(4.0 * std::fabs(z.y) / dbDen), z.y);
    return Normalized(dbReal, dbImag);
}

}  // namespace

COMPLEX complex_arcsin(COMPLEX z)
{
    return Round(ArcSin(z));
}

COMPLEX complex_arccos(COMPLEX z)
{
    return Round(ArcCos(z));
}

COMPLEX complex_arctan(COMPLEX z)
{
    return Round(ArcTan(z));
}

COMPLEX complex_arccot(COMPLEX z)
{
    if (IsZero(z))
        return COMPLEX{mg_dbHalfPi, 0.0};
    return complex_arctan(complex_inverse(z));
}

COMPLEX complex_arcsec(COMPLEX z)
{
    return complex_arccos(complex_inverse(z));
}

COMPLEX complex_arccsc(COMPLEX z)
{
    return complex_arcsin(complex_inverse(z));
}

COMPLEX complex_arcsinh(COMPLEX z)
{
    // asinh z = -i asin(iz)
    const COMPLEX w = TimesMinusI(ArcSin(TimesI(z)));
    return Round(Normalized(w.x, w.y));
}

COMPLEX complex_arccosh(COMPLEX z)
{
    // acosh z = +-i acos z, the sign chosen for a non-negative real part:
    // +i for Im z > 0 and real z <= 1, -i for Im z < 0 and real z > 1.
    const bool bPlus = z.y == 0.0 ? z.x <= 1.0 : z.y > 0.0;
    const COMPLEX a = ArcCos(z);
    const COMPLEX w = bPlus ? TimesI(a) : TimesMinusI(a);
    return Round(Normalized(w.x, w.y));
}

COMPLEX complex_arctanh(COMPLEX z)
{
    // atanh z = -i atan(iz)
    const COMPLEX w = TimesMinusI(ArcTan(TimesI(z)));
    return Round(Normalized(w.x, w.y));
}

COMPLEX complex_arccoth(COMPLEX z)
{
    if (IsZero(z))
        return COMPLEX{0.0, mg_dbHalfPi};
    return complex_arctanh(complex_inverse(z));
}

COMPLEX complex_arcsech(COMPLEX z)
{
    return complex_arccosh(complex_inverse(z));
}

COMPLEX complex_arccsch(COMPLEX z)
{
    return complex_arcsinh(complex_inverse(z));
}
