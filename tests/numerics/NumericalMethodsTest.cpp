// The root finder and Neville's extrapolation, on plain callbacks.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ErrorCodes.h"
#include "numerics/NumericalMethods.h"

namespace {

class NumericalMethodsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
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

}  // namespace
