// Root finding on expression texts, integration and derivatives.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ExprCalculus.h"
#include "engine/ExprEvaluation.h"
#include "engine/qcomplex.h"
#include "numerics/NumericalMethods.h"

namespace {

class ExprCalculusTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
    void TearDown() override
    {
        g_lpszExpression = nullptr;
        g_lpszVariable = nullptr;
        SetMode(MODE_DEGREES);
    }
};

TEST_F(ExprCalculusTest, RootFinderOnExpressions)
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

TEST_F(ExprCalculusTest, Integrals)
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
        const qcmplx a = qcmplx_fromdouble(c.a);
        const qcmplx b = qcmplx_fromdouble(c.b);
        const qcmplx r = integration(a.r, b.r, c.lpszExpression);
        EXPECT_EQ(GetErrorCode(), c.nError);
        EXPECT_NEAR(qtodouble(r.r), c.nError == 0 ? c.dbValue : 0.0, 1e-6 * std::fmax(1.0, std::fabs(c.dbValue)));
        // Integrals are taken in radians; the caller's mode comes back.
        EXPECT_EQ(g_Mode, MODE_DEGREES);
    }
}

TEST_F(ExprCalculusTest, NumericDerivative)
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
        const qcmplx x = qcmplx_fromdouble(c.x);
        const qcmplx d = derivation(x.r);
        EXPECT_EQ(GetErrorCode(), c.nError);
        EXPECT_NEAR(qtodouble(d.r), c.dbValue, c.dbTolerance * std::fmax(1.0, std::fabs(c.dbValue)));
    }
}

TEST_F(ExprCalculusTest, StructuralDerivativeMatchesTheRules)
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
        const qcmplx x = qcmplx_fromdouble(c.x);
        const qcmplx d = derivation(c.lpszExpression, "x", x.r);
        EXPECT_EQ(GetErrorCode(), 0);
        EXPECT_NEAR(qtodouble(d.r), c.dbValue, 1e-9 * std::fmax(1.0, std::fabs(c.dbValue)));
    }
}

}  // namespace
