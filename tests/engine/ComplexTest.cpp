// Double-precision complex routines: principal values checked against the C
// library's complex functions away from the branch cuts, and the cut
// conventions and special cases on their own.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>

#include "engine/complex.h"

namespace {

using std::complex;
using Function = COMPLEX (*)(COMPLEX);
using Reference = complex<double> (*)(const complex<double>&);

complex<double> ToStd(COMPLEX z)
{
    return {z.x, z.y};
}

double RelativeError(COMPLEX w, complex<double> ref)
{
    const double dbScale = std::abs(ref);
    const double dbDiff = std::abs(ToStd(w) - ref);
    return dbScale > 0 ? dbDiff / dbScale : dbDiff;
}

// Points of both signs in every quadrant, from tiny to large moduli, never on
// an axis (the cuts lie on the axes).
std::vector<COMPLEX> SamplePoints()
{
    std::mt19937_64 generator(20240607);
    std::uniform_real_distribution<double> exponent(-6.0, 6.0);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::vector<COMPLEX> vecPoints;
    for (int i = 0; i < 4000; ++i) {
        const double x = mantissa(generator) * std::pow(10.0, exponent(generator)) * (i % 2 ? 1 : -1);
        const double y = mantissa(generator) * std::pow(10.0, exponent(generator)) * (i % 4 < 2 ? 1 : -1);
        vecPoints.push_back(COMPLEX{x, y});
    }
    return vecPoints;
}

struct FunctionCase {
    const char* lpszName;
    Function pfn;
    Reference pfnRef;
    double dbMaxError;
};

complex<double> RefSec(const complex<double>& z) { return 1.0 / std::cos(z); }
complex<double> RefCsc(const complex<double>& z) { return 1.0 / std::sin(z); }
complex<double> RefCot(const complex<double>& z) { return 1.0 / std::tan(z); }
complex<double> RefSech(const complex<double>& z) { return 1.0 / std::cosh(z); }
complex<double> RefCsch(const complex<double>& z) { return 1.0 / std::sinh(z); }
complex<double> RefCoth(const complex<double>& z) { return 1.0 / std::tanh(z); }
complex<double> RefLog10(const complex<double>& z) { return std::log(z) / std::log(10.0); }
complex<double> RefAcot(const complex<double>& z) { return std::atan(1.0 / z); }
complex<double> RefAsec(const complex<double>& z) { return std::acos(1.0 / z); }
complex<double> RefAcsc(const complex<double>& z) { return std::asin(1.0 / z); }
complex<double> RefAcoth(const complex<double>& z) { return std::atanh(1.0 / z); }
complex<double> RefAsech(const complex<double>& z) { return std::acosh(1.0 / z); }
complex<double> RefAcsch(const complex<double>& z) { return std::asinh(1.0 / z); }
complex<double> RefExp(const complex<double>& z) { return std::exp(z); }
complex<double> RefLog(const complex<double>& z) { return std::log(z); }
complex<double> RefSqrt(const complex<double>& z) { return std::sqrt(z); }
complex<double> RefSin(const complex<double>& z) { return std::sin(z); }
complex<double> RefCos(const complex<double>& z) { return std::cos(z); }
complex<double> RefTan(const complex<double>& z) { return std::tan(z); }
complex<double> RefSinh(const complex<double>& z) { return std::sinh(z); }
complex<double> RefCosh(const complex<double>& z) { return std::cosh(z); }
complex<double> RefTanh(const complex<double>& z) { return std::tanh(z); }
complex<double> RefAsin(const complex<double>& z) { return std::asin(z); }
complex<double> RefAcos(const complex<double>& z) { return std::acos(z); }
complex<double> RefAtan(const complex<double>& z) { return std::atan(z); }
complex<double> RefAsinh(const complex<double>& z) { return std::asinh(z); }
complex<double> RefAcosh(const complex<double>& z) { return std::acosh(z); }
complex<double> RefAtanh(const complex<double>& z) { return std::atanh(z); }

TEST(ComplexTest, PrincipalValuesOffTheAxes)
{
    const FunctionCase arrCases[] = {
        {"exp", complex_exp, RefExp, 1e-13},
        {"log", complex_log, RefLog, 1e-14},
        {"log10", complex_log10, RefLog10, 1e-14},
        {"sqrt", complex_sqrt, RefSqrt, 1e-15},
        {"sin", complex_sin, RefSin, 1e-13},
        {"cos", complex_cos, RefCos, 1e-13},
        {"tan", complex_tan, RefTan, 1e-13},
        {"cot", complex_cot, RefCot, 1e-13},
        {"sec", complex_sec, RefSec, 1e-13},
        {"csc", complex_csc, RefCsc, 1e-13},
        {"sinh", complex_sinh, RefSinh, 1e-13},
        {"cosh", complex_cosh, RefCosh, 1e-13},
        {"tanh", complex_tanh, RefTanh, 1e-13},
        {"coth", complex_coth, RefCoth, 1e-13},
        {"sech", complex_sech, RefSech, 1e-13},
        {"csch", complex_csch, RefCsch, 1e-13},
        {"asin", complex_arcsin, RefAsin, 1e-14},
        {"acos", complex_arccos, RefAcos, 1e-14},
        {"atan", complex_arctan, RefAtan, 1e-14},
        {"acot", complex_arccot, RefAcot, 1e-13},
        {"asec", complex_arcsec, RefAsec, 1e-13},
        {"acsc", complex_arccsc, RefAcsc, 1e-13},
        {"asinh", complex_arcsinh, RefAsinh, 1e-14},
        {"acosh", complex_arccosh, RefAcosh, 1e-14},
        {"atanh", complex_arctanh, RefAtanh, 1e-14},
        {"acoth", complex_arccoth, RefAcoth, 1e-13},
        {"asech", complex_arcsech, RefAsech, 1e-13},
        {"acsch", complex_arccsch, RefAcsch, 1e-13},
    };
    const std::vector<COMPLEX> vecPoints = SamplePoints();
    for (const FunctionCase& c : arrCases) {
        double dbWorst = 0.0;
        COMPLEX worstAt{0, 0};
        int nCompared = 0;
        for (COMPLEX z : vecPoints) {
            const complex<double> ref = c.pfnRef(ToStd(z));
            // Results beyond the double range say nothing about accuracy.
            if (!std::isfinite(ref.real()) || !std::isfinite(ref.imag()) || std::abs(ref) > 1e300 ||
                std::abs(ref) < 1e-300)
                continue;
            const double dbError = RelativeError(c.pfn(z), ref);
            ++nCompared;
            if (!(dbError <= dbWorst)) {
                dbWorst = dbError;
                worstAt = z;
            }
        }
        EXPECT_GT(nCompared, 1000) << c.lpszName;
        EXPECT_LE(dbWorst, c.dbMaxError)
            << c.lpszName << " worst at (" << worstAt.x << ", " << worstAt.y << ")";
    }
}

struct PointCase {
    const char* lpszName;
    COMPLEX w;
    double x;
    double y;
};

TEST(ComplexTest, CutsAndSpecialValues)
{
    const double dbHalfPi = 1.5707963267948966;
    const double dbPi = 3.141592653589793;
    const double dbAcosh2 = std::acosh(2.0);
    const double dbAtanhHalf = std::atanh(0.5);
    const PointCase arrCases[] = {
        // real arguments outside the real domain: odd functions stay odd
        {"asin 2", complex_arcsin({2, 0}), dbHalfPi, -dbAcosh2},
        {"asin -2", complex_arcsin({-2, 0}), -dbHalfPi, dbAcosh2},
        {"asin -2 (-0i)", complex_arcsin({-2, -0.0}), -dbHalfPi, dbAcosh2},
        {"acos 2", complex_arccos({2, 0}), 0, dbAcosh2},
        {"acos -2", complex_arccos({-2, 0}), dbPi, -dbAcosh2},
        {"acosh 2", complex_arccosh({2, 0}), dbAcosh2, 0},
        {"acosh -2", complex_arccosh({-2, 0}), dbAcosh2, dbPi},
        {"acosh 0.5", complex_arccosh({0.5, 0}), 0, std::acos(0.5)},
        {"atan 2i", complex_arctan({0, 2}), dbHalfPi, dbAtanhHalf},
        {"atan -2i", complex_arctan({0, -2}), -dbHalfPi, -dbAtanhHalf},
        {"atan 0.5i", complex_arctan({0, 0.5}), 0, dbAtanhHalf},
        {"atanh 2", complex_arctanh({2, 0}), dbAtanhHalf, -dbHalfPi},
        {"atanh 0.5", complex_arctanh({0.5, 0}), dbAtanhHalf, 0},
        {"asinh 2i", complex_arcsinh({0, 2}), dbAcosh2, dbHalfPi},
        {"sqrt -4", complex_sqrt({-4, 0}), 0, 2},
        {"sqrt -4 (-0i)", complex_sqrt({-4, -0.0}), 0, 2},
        {"log -1", complex_log({-1, 0}), 0, dbPi},
        {"acot 0", complex_arccot({0, 0}), dbHalfPi, 0},
        {"acoth 0", complex_arccoth({0, 0}), 0, dbHalfPi},
        // real powers stay real where they have a real value
        {"(-8)^(1/3)", complex_pow({-8, 0}, {1.0 / 3.0, 0}), -2, 0},
        {"(-2)^3", complex_pow({-2, 0}, {3, 0}), -8, 0},
        {"2^10", complex_pow({2, 0}, {10, 0}), 1024, 0},
        {"(-16)^(1/4)", complex_pow({-16, 0}, {0.25, 0}), std::sqrt(2.0), std::sqrt(2.0)},
        {"0^0", complex_pow({0, 0}, {0, 0}), 1, 0},
        {"0^2", complex_pow({0, 0}, {2, 0}), 0, 0},
        {"i^i", complex_pow({0, 1}, {0, 1}), std::exp(-dbHalfPi), 0},
        // no inf * 0 in the products
        {"sin 1000i", complex_sin({0, 1000}), 0, INFINITY},
        {"tan(1+400i)", complex_tan({1, 400}), 0, 1},
        {"tanh(400+1i)", complex_tanh({400, 1}), 1, 0},
        {"sinh 1000", complex_sinh({1000, 0}), INFINITY, 0},
    };
    for (const PointCase& c : arrCases) {
        SCOPED_TRACE(c.lpszName);
        if (std::isinf(c.x))
            EXPECT_EQ(c.w.x, c.x);
        else
            EXPECT_NEAR(c.w.x, c.x, 1e-15 * std::fmax(1.0, std::fabs(c.x)));
        if (std::isinf(c.y))
            EXPECT_EQ(c.w.y, c.y);
        else
            EXPECT_NEAR(c.w.y, c.y, 1e-15 * std::fmax(1.0, std::fabs(c.y)));
    }
}

TEST(ComplexTest, DivisionByZeroIsNaN)
{
    const COMPLEX w = complex_div({1, 0}, {0, 0});
    EXPECT_TRUE(std::isnan(w.x));
    EXPECT_TRUE(std::isnan(complex_csc({0, 0}).x));
    EXPECT_TRUE(std::isnan(complex_arctan({0, 1}).x));
}

TEST(ComplexTest, LogarithmHelpers)
{
    // ln |z| of parts near the top of the double range does not overflow.
    EXPECT_NEAR(logabs({1e300, 1e300}), std::log(1e300) + 0.5 * std::log(2.0), 1e-12);
    EXPECT_NEAR(logabs({3, -4}), std::log(5.0), 1e-15);
    EXPECT_EQ(logabs({0, 0}), -INFINITY);
    // ln(1 + t) keeps the bits of a tiny t.
    EXPECT_DOUBLE_EQ(logex(1e-20), 1e-20);
    EXPECT_DOUBLE_EQ(logex(1.0), std::log(2.0));
}

TEST(ComplexTest, RoundClearsNoiseOnly)
{
    const COMPLEX a = Round({1.0, 1e-17});
    EXPECT_EQ(a.x, 1.0);
    EXPECT_EQ(a.y, 0.0);
    const COMPLEX b = Round({1.0, 1e-15});
    EXPECT_EQ(b.y, 1e-15);
    // Beyond a modulus of about 3e10 nothing is cleared any more.
    const COMPLEX c = Round({1e11, 1e-6});
    EXPECT_EQ(c.y, 1e-6);
}

}  // namespace
