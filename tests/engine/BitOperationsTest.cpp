// Integer routines behind the bit operators, in every word size.
#include <gtest/gtest.h>

#include <string>

#include "engine/BitOperations.h"
#include "engine/EngineState.h"

namespace {

class BitOperationsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
    void TearDown() override { g_BitWidth = 8; }
};

enum Operation { OP_SHL, OP_SHR, OP_RTL, OP_RTR };

struct ShiftCase {
    int nWidth;
    Operation op;
    long double a;
    long double n;
    long double expected;
    int nError;
};

long double Apply(Operation op, long double a, long double n)
{
    switch (op) {
    case OP_SHL: return SHL(a, n);
    case OP_SHR: return SHR(a, n);
    case OP_RTL: return RTL(a, n);
    case OP_RTR: return RTR(a, n);
    }
    return -1;
}

TEST_F(BitOperationsTest, ShiftsAndRotations)
{
    const long double two63 = 9223372036854775808.0L;
    const ShiftCase arrCases[] = {
        // 8 bits, the word size of the program
        {8, OP_SHL, 1, 3, 8, 0},
        {8, OP_SHL, 200, 1, 144, 0},
        {8, OP_SHL, 16, -2, 4, 0},
        {8, OP_SHL, 1, 100, 0, 0},
        {8, OP_SHL, -1, 0, 255, 0},
        {8, OP_SHR, 16, 2, 4, 0},
        {8, OP_SHR, 1, -3, 8, 0},
        {8, OP_SHR, 1000, 0, 232, 0},
        {8, OP_RTR, 1, 1, 128, 0},
        {8, OP_RTL, 128, 1, 1, 0},
        {8, OP_RTL, 1, -1, 128, 0},
        {8, OP_RTR, 1, -2, 4, 0},
        {8, OP_RTL, 1, 8, 1, 0},
        {8, OP_RTL, 3, 1e15L, 3, 0},  // a full number of turns, done at once
        {8, OP_RTL, 0x81, 4, 0x18, 0},
        // whole numbers only
        {8, OP_SHL, 2.5L, 1, 0, ERR_NOT_WHOLE},
        {8, OP_SHR, 1, 0.5L, 0, ERR_NOT_WHOLE},
        {8, OP_RTL, 1.5L, 1, 0, ERR_NOT_WHOLE},
        {8, OP_RTR, 1, -2.5L, 0, ERR_NOT_WHOLE},
        // 16, 32 and 64 bits
        {16, OP_SHL, 1, 15, 32768, 0},
        {16, OP_SHL, 1, 16, 0, 0},
        {16, OP_RTR, 1, 1, 32768, 0},
        {32, OP_SHL, 1, 31, 2147483648.0L, 0},
        {32, OP_RTR, 1, 1, 2147483648.0L, 0},
        {32, OP_SHR, -1, 28, 15, 0},
        {64, OP_SHL, 1, 63, two63, 0},
        {64, OP_RTR, 1, 1, two63, 0},
        {64, OP_SHR, two63, 63, 1, 0},
        {64, OP_SHL, 1, 64, 0, 0},
        // any other width gives 0
        {12, OP_SHL, 1, 1, 0, 0},
    };
    for (const ShiftCase& c : arrCases) {
        SCOPED_TRACE("width " + std::to_string(c.nWidth) + " op " + std::to_string(c.op) + " a " +
                     std::to_string(static_cast<double>(c.a)) + " n " +
                     std::to_string(static_cast<double>(c.n)));
        ClearErrorCode();
        g_BitWidth = c.nWidth;
        EXPECT_EQ(static_cast<double>(Apply(c.op, c.a, c.n)), static_cast<double>(c.expected));
        EXPECT_EQ(GetErrorCode(), c.nError);
    }
}

TEST_F(BitOperationsTest, ComplementsInTheWordSize)
{
    const struct {
        int nWidth;
        long double a;
        double dbNot;
        double dbCpl;
    } arrCases[] = {
        {8, 5, 250, 251},
        {8, 0, 255, 0},
        {8, 255, 0, 1},
        {8, -1, 0, 1},
        {16, 5, 65530, 65531},
        {32, 1, 4294967294.0, 4294967295.0},
    };
    for (const auto& c : arrCases) {
        g_BitWidth = c.nWidth;
        EXPECT_EQ(static_cast<double>(WordNot(c.a)), c.dbNot);
        EXPECT_EQ(static_cast<double>(WordComplement(c.a)), c.dbCpl);
    }
}

TEST_F(BitOperationsTest, GcdAndLcm)
{
    const struct {
        long a;
        long b;
        long nGcd;
        double dbLcm;
    } arrCases[] = {
        {12, 18, 6, 36},  {0, 5, 5, 0},     {5, 0, 5, 0},   {0, 0, 0, 0},
        {7, 7, 7, 7},     {1, 9, 1, 9},     {-12, 18, 6, 36}, {17, 3, 1, 51},
        {48, 36, 12, 144}, {21, 6, 3, 42},  {1000000007, 998244353, 1, 998244359987710471.0},
    };
    for (const auto& c : arrCases) {
        EXPECT_EQ(gcd(c.a, c.b), c.nGcd) << c.a << " " << c.b;
        EXPECT_DOUBLE_EQ(lcm(c.a, c.b), c.dbLcm) << c.a << " " << c.b;
    }
}

TEST_F(BitOperationsTest, Int32Exactness)
{
    int32_t n = 0;
    EXPECT_TRUE(ToInt32Exact(-2147483648.0L, n));
    EXPECT_EQ(n, -2147483647 - 1);
    EXPECT_TRUE(ToInt32Exact(2147483647.0L, n));
    EXPECT_FALSE(ToInt32Exact(2147483648.0L, n));
    EXPECT_FALSE(ToInt32Exact(2.5L, n));
    EXPECT_FALSE(ToInt32Exact(1e300L, n));
}

}  // namespace
