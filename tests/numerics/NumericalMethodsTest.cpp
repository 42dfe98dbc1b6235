// Root finding, integration, derivatives and the counting and number-theory
// functions of the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/ExprEvaluation.h"
#include "engine/qcomplex.h"
#include "numerics/NumericalMethods.h"

namespace {

qcmplx Q(double d)
{
    return qcmplx_fromdouble(d);
}

double D(const qcmplx& z)
{
    double d = 0.0;
    myqtoe(z.r, d);
    return d;
}

class NumericalMethodsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
    void TearDown() override
    {
        g_lpszExpression = nullptr;
        g_lpszVariable = nullptr;
        SetMode(MODE_DEGREES);
    }
};

// Callbacks of the root finder, each counting its evaluations.
struct Counted {
    double (*pfn)(double);
    int nCalls = 0;
};

double CallCounted(double x, void* pContext)
{
    Counted* pCounted = static_cast<Counted*>(pContext);
    ++pCounted->nCalls;
    return pCounted->pfn(x);
}

TEST_F(NumericalMethodsTest, RootFinder)
{
    const struct {
        const char* lpszName;
        double (*pfn)(double);
        double a;
        double b;
        double dbRoot;
        int nError;
    } arrCases[] = {
        {"x^2-2 on [0,2]", [](double x) { return x * x - 2; }, 0, 2, std::sqrt(2.0), 0},
        {"x^2-2 on [2,0]", [](double x) { return x * x - 2; }, 2, 0, std::sqrt(2.0), 0},
        {"x^2-2 on [2,3]", [](double x) { return x * x - 2; }, 2, 3, 0, ERR_ROOT_NOT_FOUND},
        {"cos x - x", [](double x) { return std::cos(x) - x; }, 0, 1, 0.7390851332151607, 0},
        {"x^3-x-1", [](double x) { return x * x * x - x - 1; }, 1, 2, 1.324717957244746, 0},
        {"root at zero", [](double x) { return x * (x + 3); }, -1, 2, 0, 0},
        {"jump at 0.3", [](double x) { return x < 0.3 ? -1.0 : 1.0; }, 0, 1, 0.3, 0},
        {"steep", [](double x) { return std::pow(x, 11) - 1000; }, 0, 5, std::pow(1000.0, 1.0 / 11.0), 0},
        {"flat end", [](double x) { return 1e-9 * x; }, 0, 5, 0, 0},
        // a bound without a value is no root
        {"NaN at b", [](double x) { return x < 1.5 ? x - 1 : NAN; }, 0, 2, 0, ERR_ROOT_NOT_FOUND},
        {"NaN at a", [](double x) { return x < 0.5 ? NAN : x - 1; }, 0, 2, 0, ERR_ROOT_NOT_FOUND},
    };
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszName);
        ClearErrorCode();
        Counted counted{c.pfn};
        const double dbRoot = fnroot(c.a, c.b, CallCounted, &counted);
        EXPECT_EQ(GetErrorCode(), c.nError);
        EXPECT_NEAR(dbRoot, c.dbRoot, 4e-15 * std::fabs(c.dbRoot) + 1e-12);
        EXPECT_LE(counted.nCalls, 2 + 99);
    }

    // A bound where f is zero is the root, found without iterating.
    Counted exact{[](double x) { return x - 1; }};
    EXPECT_EQ(fnroot(1, 5, CallCounted, &exact), 1.0);
    EXPECT_EQ(exact.nCalls, 2);
}

TEST_F(NumericalMethodsTest, RootFinderOnExpressions)
{
    const struct {
        const char* lpszExpression;
        double a;
        double b;
        double dbRoot;
        double dbTolerance;  // relative
        int nError;
    } arrCases[] = {
        {"x^2-2", 0, 2, std::sqrt(2.0), 4e-16, 0},
        {"x^3-2*x-5", 2, 3, 2.0945514815423265, 4e-16, 0},
        {"x^2-2", 2, 3, 0, 0, ERR_ROOT_NOT_FOUND},
        // roots below 1 to the last bits too, not to an absolute 5e-13
        {"x^2-0.01", 0, 1, 0.1, 4e-16, 0},
        {"x^3-0.001", 0, 1, 0.1, 4e-16, 0},
        {"x^2-2*10^(-6)", 0, 1, 0.0014142135623730951, 4e-16, 0},
        // a triple root: the bracket shrinks slowly, what it reached counts
        {"(x-1)^3", 0, 3, 1, 1e-6, 0},
        // infinity minus infinity is no value, and never a root
        {"1e400*x-1e400", 0, 2, 0, 0, ERR_OUT_OF_RANGE},
        {"x-1e400+1e400", 0, 2, 0, 0, ERR_OUT_OF_RANGE},
        {"1e300*1e300*(x-1)", 0, 2, 0, 0, ERR_OUT_OF_RANGE},
    };
    g_lpszVariable = "x";
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszExpression);
        ClearErrorCode();
        g_lpszExpression = c.lpszExpression;
        g_lpszRPN[0] = '\0';
        const double dbRoot = fnroot(c.a, c.b, fn);
        EXPECT_EQ(GetErrorCode(), c.nError);
        if (c.nError == 0) {
            EXPECT_NEAR(dbRoot, c.dbRoot, c.dbTolerance * c.dbRoot);
        }
    }
}

TEST_F(NumericalMethodsTest, NevilleExtrapolation)
{
    // A cubic through four points is reproduced exactly anywhere.
    const double xa[] = {0, 1, 2, 4};
    double ya[4];
    for (int i = 0; i < 4; ++i)
        ya[i] = 2 * xa[i] * xa[i] * xa[i] - xa[i] + 3;
    double y = 0;
    double dy = 0;
    polint(xa, ya, 4, 3.0, y, dy);
    EXPECT_NEAR(y, 2 * 27 - 3 + 3, 1e-12);
    polint(xa, ya, 4, -1.0, y, dy);
    EXPECT_NEAR(y, -2 + 1 + 3, 1e-12);
    // Two equal abscissas stop early with what has been accumulated.
    const double xb[] = {1, 1, 2};
    const double yb[] = {5, 5, 7};
    polint(xb, yb, 3, 1.0, y, dy);
    EXPECT_EQ(y, 5.0);
}

TEST_F(NumericalMethodsTest, Integrals)
{
    const struct {
        const char* lpszExpression;
        double a;
        double b;
        double dbValue;
        int nError;
    } arrCases[] = {
        {"x^2", 0, 3, 9, 0},
        {"x^2", 3, 0, -9, 0},
        {"x^2", 1, 1, 0, 0},
        {"sin(x)", -1, 1, 0, 0},  // zero: converged against the integral of |f|
        {"sin(x)", 0, 3.141592653589793, 2, 0},
        {"exp(x)", 0, 1, 1.718281828459045, 0},
        {"1/(1+x^2)", 0, 1, 0.7853981633974483, 0},
        {"1/x", -1, 1, 0, ERR_DIVISION},
        {"sqrt(x)", -1, 1, 0, ERR_COMPLEX},
        {"y", 0, 1, 0, ERR_SYNTAX},
        // values beyond the double range are no function values
        {"1e300*x*1e300", 0, 1, 0, ERR_OUT_OF_RANGE},
        {"x*1e400", 0, 1, 0, ERR_OUT_OF_RANGE},
    };
    g_lpszVariable = "x";
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszExpression);
        ClearErrorCode();
        SetMode(MODE_DEGREES);
        const qcmplx a = Q(c.a);
        const qcmplx b = Q(c.b);
        const qcmplx r = integration(a.r, b.r, c.lpszExpression);
        EXPECT_EQ(GetErrorCode(), c.nError);
        EXPECT_NEAR(D(r), c.nError == 0 ? c.dbValue : 0.0, 1e-6 * std::fmax(1.0, std::fabs(c.dbValue)));
        // Integrals are taken in radians; the caller's mode comes back.
        EXPECT_EQ(g_Mode, MODE_DEGREES);
    }
}

TEST_F(NumericalMethodsTest, NumericDerivative)
{
    const struct {
        const char* lpszExpression;
        double x;
        double dbValue;
        double dbTolerance;
        int nError;
    } arrCases[] = {
        {"x^3", 2, 12, 1e-9, 0},
        {"sin(x)", 0, 1, 1e-9, 0},
        {"e^x", 1, 2.718281828459045, 1e-9, 0},
        // only one side has values: the quotient is one-sided
        {"sqrt(x)", 0, 1000, 1e-6, 0},
        {"sqrt(-x)", 0, -1000, 1e-6, 0},
        {"ln(x)", 0, 0, 0, ERR_LIBRARY},
        {"1/x", 0, 0, 0, ERR_LIBRARY},
    };
    g_lpszVariable = "x";
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszExpression);
        ClearErrorCode();
        g_lpszExpression = c.lpszExpression;
        const qcmplx x = Q(c.x);
        const qcmplx d = derivation(x.r);
        EXPECT_EQ(GetErrorCode(), c.nError);
        EXPECT_NEAR(D(d), c.dbValue, c.dbTolerance * std::fmax(1.0, std::fabs(c.dbValue)));
    }
}

TEST_F(NumericalMethodsTest, StructuralDerivativeMatchesTheRules)
{
    // Each row exercises one rule; the values are the derivatives in closed form.
    const struct {
        const char* lpszExpression;
        double x;
        double dbValue;
    } arrCases[] = {
        {"x^2+3*x-7", 2, 7},                     // sum, product, power
        {"3-x", 5, -1},                          // difference
        {"-x^3", 2, -12},                        // leading sign
        {"x*x*x", 2, 12},                        // product chain
        {"(x+1)/(x-1)", 3, -0.5},                // quotient
        {"1/x/x", 2, -0.25},                     // quotients group to the left
        {"2 root x", 4, 0.25},                   // root
        {"x root 8", 3, -std::pow(8.0, 1.0 / 3.0) * std::log(8.0) / 9.0},
        {"x^x", 2, 4 * (std::log(2.0) + 1)},     // variable base and exponent
        {"2^x^2", 1, 4 * std::log(2.0)},         // powers group to the right
        {"x^2", -3, -6},                         // negative base: numeric
        {"sin(x)*cos(x)", 0.5, std::cos(1.0)},  // functions: numeric
        {"abs(x)-2*x", 1, 1},                    // abs takes the rest: |x - 2x|
    };
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszExpression);
        ClearErrorCode();
        SetMode(MODE_RADIANS);
        const qcmplx x = Q(c.x);
        const qcmplx d = derivation(c.lpszExpression, "x", x.r);
        EXPECT_EQ(GetErrorCode(), 0);
        EXPECT_NEAR(D(d), c.dbValue, 1e-9 * std::fmax(1.0, std::fabs(c.dbValue)));
    }
}

TEST_F(NumericalMethodsTest, CountingFunctions)
{
    const struct {
        const char* lpszName;
        qcmplx (*pfn)(const unsigned short*, const unsigned short*);
        double a;
        double b;
        double dbValue;
    } arrCases[] = {
        {"NPR", NPR, 5, 2, 20},
        {"NCR", NCR, 5, 2, 10},
        {"NCR", NCR, 5, 5, 1},
        {"NPR", NPR, 5.5, 2, 20},  // fractions: floor(5.5)! / floor(3.5)!
        {"NPR", NPR, 2000, 2, 3998000},
        {"NCR", NCR, 3000, 2998, 4498500},
        {"NCR", NCR, 1000, 500, 2.7028824094543656e299},
        // n beyond a 32-bit integer still counts from n itself
        {"NPR", NPR, 3e9, 1, 3e9},
        {"NCR", NCR, 3e9, 1, 3e9},
        {"NCR", NCR, 3e9, 2999999999, 3e9},
        {"NCR", NCR, 3e9, 2, 4499999998500000000.0},
        {"NPR", NPR, 1e12, 2, 999999999999000000000000.0},
    };
    for (const auto& c : arrCases) {
        const qcmplx a = Q(c.a);
        const qcmplx b = Q(c.b);
        EXPECT_NEAR(D(c.pfn(a.r, b.r)), c.dbValue, 1e-14 * c.dbValue) << c.lpszName << " " << c.a;
    }

    const struct {
        double n;
        double dbValue;
    } arrFactorials[] = {{5, 120}, {5.7, 120}, {0, 1}, {-3, 1}, {1, 1}, {20, 2432902008176640000.0}};
    for (const auto& c : arrFactorials)
        EXPECT_EQ(D(GT(Q(c.n).r)), c.dbValue) << c.n;

    // Beyond about 1750! the product stops at the largest magnitude instead
    // of multiplying on for a billion rounds.
    const qcmplx huge = GT(Q(1e9).r);
    EXPECT_EQ(huge.r[1], QEXPMAX);
    EXPECT_EQ(GetErrorCode(), 0);
}

TEST_F(NumericalMethodsTest, NumberTheory)
{
    const struct {
        const char* lpszName;
        qcmplx (*pfn)(const unsigned short*, const unsigned short*);
        double a;
        double b;
        double dbValue;
        int nError;
    } arrCases[] = {
        {"MOD", MOD, -7, 3, 1, 0},
        {"MOD", MOD, 7, -3, 1, 0},
        {"MOD", MOD, 7, 0, 0, ERR_DIVISION},
        {"MOD", MOD, 7.5, 2, 0, ERR_INVALID_TYPE},
        {"MOD", MOD, 3e9, 2, 0, ERR_INVALID_TYPE},
        {"GCD", GCD, 0, 0, 0, 0},
        {"GCD", GCD, -12, 18, 6, 0},
        {"GCD", GCD, 2.5, 5, 0, ERR_INVALID_TYPE},
        {"LCM", LCM, 4, 6, 12, 0},
        {"LCM", LCM, 0, 0, 0, 0},
        {"LCM", LCM, 2.5, 1, 0, ERR_LCM},
    };
    for (const auto& c : arrCases) {
        SCOPED_TRACE(std::string(c.lpszName) + " " + std::to_string(c.a) + " " + std::to_string(c.b));
        ClearErrorCode();
        EXPECT_EQ(D(c.pfn(Q(c.a).r, Q(c.b).r)), c.dbValue);
        EXPECT_EQ(GetErrorCode(), c.nError);
    }

    const struct {
        double n;
        double dbValue;
        int nError;
    } arrFibonacci[] = {
        {0, 0, 0},        {1, 1, 0},
        {2, 1, 0},        {10, 55, 0},
        {1023, 2.785293550699593e213, 0},
        {1024, 0, ERR_OUT_OF_RANGE},
        {-1, 0, ERR_NOT_WHOLE},
        {2.5, 0, ERR_NOT_WHOLE},
    };
    for (const auto& c : arrFibonacci) {
        ClearErrorCode();
        EXPECT_NEAR(D(FIB(Q(c.n).r)), c.dbValue, 1e-15 * c.dbValue) << c.n;
        EXPECT_EQ(GetErrorCode(), c.nError) << c.n;
    }

    for (int i = 0; i < 1000; ++i) {
        const double r = D(RAN(Q(5).r, Q(2).r));
        ASSERT_GE(r, 2.0);
        ASSERT_LE(r, 5.0);
    }
}

}  // namespace
