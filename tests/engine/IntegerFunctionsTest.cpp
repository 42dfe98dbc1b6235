// The counting and number-theory functions and the random number.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/ExprEvaluation.h"
#include "engine/IntegerFunctions.h"
#include "engine/qcomplex.h"

namespace {

class IntegerFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
};

TEST_F(IntegerFunctionsTest, CountingFunctions)
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
        const qcmplx a = qcmplx_fromdouble(c.a);
        const qcmplx b = qcmplx_fromdouble(c.b);
        EXPECT_NEAR(qtodouble(c.pfn(a.r, b.r).r), c.dbValue, 1e-14 * c.dbValue) << c.lpszName << " " << c.a;
    }

    const struct {
        double n;
        double dbValue;
    } arrFactorials[] = {{5, 120}, {5.7, 120}, {0, 1}, {-3, 1}, {1, 1}, {20, 2432902008176640000.0}};
    for (const auto& c : arrFactorials)
        EXPECT_EQ(qtodouble(GT(qcmplx_fromdouble(c.n).r).r), c.dbValue) << c.n;

    // Beyond about 1750! the product stops at the largest magnitude instead
    // of multiplying on for a billion rounds.
    const qcmplx huge = GT(qcmplx_fromdouble(1e9).r);
    EXPECT_EQ(huge.r[1], QEXPMAX);
    EXPECT_EQ(GetErrorCode(), 0);
}

TEST_F(IntegerFunctionsTest, NumberTheory)
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
        EXPECT_EQ(qtodouble(c.pfn(qcmplx_fromdouble(c.a).r, qcmplx_fromdouble(c.b).r).r), c.dbValue);
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
        EXPECT_NEAR(qtodouble(FIB(qcmplx_fromdouble(c.n).r).r), c.dbValue, 1e-15 * c.dbValue) << c.n;
        EXPECT_EQ(GetErrorCode(), c.nError) << c.n;
    }

    for (int i = 0; i < 1000; ++i) {
        const double r = qtodouble(RAN(qcmplx_fromdouble(5).r, qcmplx_fromdouble(2).r).r);
        ASSERT_GE(r, 2.0);
        ASSERT_LE(r, 5.0);
    }
}

}  // namespace
