// The expression front end: built-in calls, register 0, and a results table
// checked against independently computed values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ExprStandardize.h"

namespace {

struct Outcome {
    int nError;
    unsigned char type;
    double re;
    double im;
};

Outcome Eval(const std::string& strText, int nMode = MODE_RADIANS, int nBase = 10)
{
    ClearErrorCode();
    SetMode(nMode);
    const REG r = ExprEval(strText.c_str(), 0, nBase);
    double re = 0.0;
    double im = 0.0;
    myqtoe(r.re, re);
    myqtoe(r.im, im);
    return {GetErrorCode(), r.type, re, im};
}

class ExprStandardizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegisters();
        ClearErrorCode();
    }
    void TearDown() override
    {
        ClearRegisters();
        SetMode(MODE_DEGREES);
    }
};

struct ResultCase {
    const char* lpszText;
    int nMode;
    double dbExpected;
    double dbTolerance;  // relative
};

// Expected values computed with "bc -l" at scale=60 from the equivalent bc
// expression (degrees converted with pi = 4*a(1)), rounded to 21 digits, by
// make_results_table.py.
// The calculus rows carry the accuracy of their double-precision methods.
TEST_F(ExprStandardizeTest, ResultsAgainstIndependentValues)
{
    const ResultCase arrCases[] = {
#include "ExprResultsTable.inc"
    };
    for (const ResultCase& c : arrCases) {
        SCOPED_TRACE(c.lpszText);
        const Outcome o = Eval(c.lpszText, c.nMode);
        ASSERT_EQ(o.nError, 0) << GetErrorMessage(o.nError);
        EXPECT_EQ(o.type, REG_REAL);
        EXPECT_NEAR(o.re, c.dbExpected, c.dbTolerance * std::fmax(1.0, std::fabs(c.dbExpected)));
    }
}

struct FrontCase {
    const char* lpszText;
    double dbExpected;
    int nError;
};

void CheckAll(const std::vector<FrontCase>& vecCases, int nMode = MODE_RADIANS)
{
    for (const FrontCase& c : vecCases) {
        SCOPED_TRACE(c.lpszText);
        const Outcome o = Eval(c.lpszText, nMode);
        EXPECT_EQ(o.nError, c.nError) << GetErrorMessage(o.nError);
        if (c.nError == 0) {
            EXPECT_NEAR(o.re, c.dbExpected, 1e-12 * std::fmax(1.0, std::fabs(c.dbExpected)));
        } else {
            EXPECT_EQ(o.re, 0.0);
        }
    }
}

TEST_F(ExprStandardizeTest, BuiltInCalls)
{
    CheckAll({
        // argument lists
        {"gcd(12, 18, 8)", 2, 0},
        {"gcd(fib(12), fib(9))", 2, 0},
        {"gcd(4)", 0, ERR_BAD_CALL},
        {"gcd(4,)", 0, ERR_BAD_CALL},
        {"gcd(4, 6))", 0, ERR_SYNTAX},
        {"gcd(4, 6", 0, ERR_BAD_CALL},
        // an empty argument ends the list; values after it are not dropped
        {"gcd(12, 18,, 8)", 0, ERR_BAD_CALL},
        {"lcm(2, 3,, 5)", 0, ERR_BAD_CALL},
        {"IRR(-1000, 500,, 700)", 0, ERR_BAD_CALL},
        {"gcd(12, 18,)", 6, 0},
        {"gcd(2.5, 5)", 0, ERR_INVALID_TYPE},
        {"gcd(4, 2*i)", 0, ERR_COMPLEX},
        {"lcm(2.5, 5)", 0, ERR_LCM},
        {"fib", 0, ERR_BAD_CALL},
        {"fib(5, 6)", 0, ERR_BAD_CALL},
        {"fib(fib(5))", 5, 0},
        {"fib(0)", 0, 0},
        {"fib(-1)", 0, ERR_NOT_WHOLE},
        {"fib(2.5)", 0, ERR_NOT_WHOLE},
        {"fib(1024)", 0, ERR_OUT_OF_RANGE},
        {"fib(1+)", 0, ERR_SYNTAX},
        {"RT(2, 9)", 3, 0},
        {"RT(3, -8)", -2, 0},
        {"RT(2)", 0, ERR_BAD_CALL},
        {"module(3)", 0, 0},
        // combinations: whole n, r >= 0; choosing more than n gives none
        {"ncr(5, 2)", 10, 0},
        {"npr(5, 2)", 20, 0},
        {"ncr(5, 0)", 1, 0},
        {"ncr(5, 5)", 1, 0},
        {"ncr(0, 0)", 1, 0},
        {"npr(5, 0)", 1, 0},
        {"npr(5, 5)", 120, 0},
        {"ncr(2, 5)", 0, 0},
        {"npr(2, 5)", 0, 0},
        {"ncr(-1, 2)", 0, ERR_BAD_PARAMETERS},
        {"npr(5, -1)", 0, ERR_BAD_PARAMETERS},
        {"ncr(5.5, 2)", 0, ERR_INVALID_TYPE},
        {"npr(5, 0.5)", 0, ERR_INVALID_TYPE},
        {"npr(2000, 2)", 3998000, 0},
        {"npr(2000, 2000)", 0, ERR_LIBRARY},
        {"ncr(1000, 500)", 2.7028824094543656e299, 0},
        // whole results stay exact as far as 101 digits reach: the value
        // written back into the text loses no digit (Python's integers)
        {"fib(79)-14472334024676221", 0, 0},
        {"fib(300)-222232244629420445529739893461909967206666939096499764990979600", 0, 0},
        {"npr(50, 30)-12501158328406120266757143916231576780800000000", 0, 0},
        {"npr(30, 30)-265252859812191058636308480000000", 0, 0},
        // bits in the 8-bit word
        {"not(5)", 250, 0},
        {"cpl(5)", 251, 0},
        {"not(256)", 255, 0},
        {"not(2.5)", 0, ERR_NOT_WHOLE},
        // sums and products
        {"fnSum(k^2, k, 1, 3)", 14, 0},
        {"fnProduct(k, k, 1, 5)", 120, 0},
        {"fnSum(k, k, 5, 1, -2)", 9, 0},
        {"fnSum(k, k, 3, 3)", 3, 0},
        {"fnSum(k, k, 1, 5, 10)", 0, ERR_SUM_STEP},
        {"fnSum(k, k, 1, 5, -1)", 0, ERR_SUM_STEP},
        {"fnSum(k, k, 5, 1)", 0, ERR_SUM_STEP},
        {"fnSum(x*y, x, 1, 2)", 0, ERR_SYNTAX},
        {"fnSum(k, k, 1, 1000000)", 0, ERR_SUM_STEP},
        {"fnSum(k*i, k, 1, 2)", 0, ERR_COMPLEX},
        // the index replaces whole words only, in parentheses
        {"fnSum(2*k, k, -2, 2)", 0, 0},
        {"fnSum(k^2, k, -1, 1)", 2, 0},
        {"fnSum(x*2 exp 0, x, 1, 2)", 6, 0},
        {"fnSum(md, md, 1, 2)", 3, 0},
        {"fnSum(gm*2, gm, 1, 2)", 6, 0},
        // fib comes before fnSum in the table, so it is expanded first and
        // its argument k has no value yet
        {"fnSum(fib(k), k, 1, 5)", 0, ERR_SYNTAX},
        // built-in names are whole words, picked in table order
        {"NPV(-1000, 1100, 0, 0.1, 1)", -1000 + 1100 / 1.1, 0},
        {"NPV(-1000, 1100, 0, 0.1, 1e9)", 0, ERR_FINANCIAL},
        {"NPV(-1000, 1100, 0, 0.1)", 0, ERR_BAD_CALL},
        {"IRR(-1000, 1100)", 10, 0},
        {"IRR(-1000)", 0, ERR_BAD_CALL},
        {"IRR(-1000, 3000)", 200, 0},
        {"IRR(1000, 3000)", 0, ERR_ROOT_NOT_FOUND},
        {"\\sum(1)", 0, ERR_SYNTAX},
        // the result of a call keeps its value next to any operator
        {"2^fib(10)", 36028797018963968.0, 0},
        {"-fib(10)^2", -3025, 0},
        {"fib(10)!", 1.2696403353658276e73, 0},
        // statistics without a list
        {"sum(0)", 0, ERR_NO_LIST},
        {"N(0)", 0, ERR_NO_LIST},
        {"gm(0)", 0, ERR_NO_LIST},
        // calculus
        {"fnInt(x^2, x, 0, 3)", 9, 0},
        {"fnInt(x^2, x, 3, 0)", -9, 0},
        {"fnInt(x^2, x, 1, 1)", 0, 0},
        {"fnInt(sin(x), x, -1, 1)", 0, 0},
        {"fnInt(exp(x), x, 0, 1)", 1.718281828459045, 0},
        {"fnInt(1/x, x, -1, 1)", 0, ERR_DIVISION},
        {"fnInt(x, x, 0, i)", 0, ERR_COMPLEX},
        {"fnInt(x^2, , 0, 3)", 0, ERR_BAD_CALL},
        {"fnDeriv(x^3, x, 2)", 12, 0},
        {"fnDeriv(-x^2, x, -3)", 6, 0},
        {"fnDeriv(x/2/4, x, 1)", 0.125, 0},
        {"fnDeriv(abs(x)+1, x, -0.5)", 1, 0},
        {"fnDeriv(3 root x, x, 8)", 1.0 / 12.0, 0},
        {"fnDeriv((x+1)*(x-1), x, 3)", 6, 0},
        {"fnDeriv(x^2-3*x+2, x, 0)", -3, 0},
        {"fnDeriv(abs(x)-2*x, x, 1)", 1, 0},  // abs takes the rest: |x - 2x|
        {"fnEval(x^2+1, x, 3)", 10, 0},
        {"fnEval(sqrt(x), x, -4)", 0, ERR_COMPLEX},
        {"fnRoot(x^2-2, x, 2, 3)", 0, ERR_ROOT_NOT_FOUND},
        {"fnRoot(x-1, x, 1, 5)", 1, 0},
        {"fnRoot(x^3-x-1, x, 2, 1)", 1.324717957244746, 0},
    });
}

TEST_F(ExprStandardizeTest, DerivativeEdgeOfTheDomain)
{
    // sqrt has no value left of 0: the quotient is taken on the right only.
    const Outcome o = Eval("fnDeriv(sqrt(x), x, 0)");
    EXPECT_EQ(o.nError, 0);
    EXPECT_NEAR(o.re, 1000.0, 1e-6);
}

TEST_F(ExprStandardizeTest, CalculusLeavesTheAngleModeAlone)
{
    // Integrals and derivatives are taken in radians; the terms around them
    // keep the caller's degrees.
    CheckAll({{"fnDeriv(sin(x), x, 0)+sin(30)", 1.5, 0},
              {"fnInt(cos(x), x, 0, pi/2)*cos(60)", 0.5, 0}},
             MODE_DEGREES);
    EXPECT_EQ(g_Mode, MODE_DEGREES);
}

TEST_F(ExprStandardizeTest, StatisticsOnTheList)
{
    const double arrList[] = {2, 4, 4, 4, 5, 5, 7, 9};
    SetStatisticsList(arrList, 8);
    CheckAll({
        {"sum(0)", 40, 0},
        {"ssq(0)", 232, 0},
        {"N(0)", 8, 0},
        {"avg(0)", 5, 0},
        {"sdv(0)", 2, 0},
        {"ssd(0)", 2.1380899352993950, 0},
        {"min(0)", 2, 0},
        {"max(0)", 9, 0},
        {"avd(0)", 1.5, 0},
        {"median(0)", 4.5, 0},
        {"md(0)", 4, 0},
        {"dsq(0)", 32, 0},
        // (2*4*4*4*5*5*7*9)^(1/8), bc -l: e(l(201600)/8)
        {"gm(0)", 4.6032155960467367, 0},
        {"avg(0)+N(0)*2", 21, 0},
    });

    const double arrSingle[] = {3};
    SetStatisticsList(arrSingle, 1);
    CheckAll({{"ssd(0)", 0, ERR_DIVISION}, {"median(0)", 3, 0}});

    // Equal values have no deviation (not the square root of a rounding
    // error below zero).
    const double arrEqual[] = {0.1, 0.1, 0.1};
    SetStatisticsList(arrEqual, 3);
    CheckAll({{"sdv(0)", 0, 0}, {"ssd(0)", 0, 0}});

    // The geometric mean of a negative product: an odd count has a real
    // root, an even one has none.
    const double arrOdd[] = {-2, 4, 1};
    SetStatisticsList(arrOdd, 3);
    CheckAll({{"gm(0)", -2, 0}, {"median(0)", 1, 0}});
    const double arrEven[] = {-2, 8};
    SetStatisticsList(arrEven, 2);
    CheckAll({{"gm(0)", 0, ERR_SQRT}});

    // Sums beyond the double range are reported, not written back.
    const double arrHuge[] = {1e308, 1e308};
    SetStatisticsList(arrHuge, 2);
    CheckAll({{"sum(0)", 0, ERR_INFINITE}, {"ssq(0)", 0, ERR_INFINITE}, {"max(0)", 1e308, 0}});
    const double arrNaN[] = {1, NAN};
    SetStatisticsList(arrNaN, 2);
    CheckAll({{"sum(0)", 0, ERR_LIBRARY}, {"N(0)", 2, 0}});
}

TEST_F(ExprStandardizeTest, FinancialCalls)
{
    CheckAll({
        {"fv(0, 10, -100, 0, 12)", 1000, 0},
        // Python decimal at 60 digits: the balance equation solved for pv and nper
        {"pv(-1, 10, 100, 0, 12)", -1004.5986525851745174, 0},
        {"pv(-1200, 10, 100, 0, 12)", 0, ERR_FINANCIAL},
        {"nper(12, -100, 1000, 1000, 12)", 20.167238499236402666, 0},
        {"nper(12, -88.84878867834171, 1000, 0, 12)", 12, 0},
        {"rate(12, -88.84878867834171, 1000, 0, 12)", 12, 0},
        {"rate(10, -100, 1000, 0, 1)", 0, 0},
        // no rate balances these flows: not found, not zero
        {"rate(10, 100, 1000, 0, 1)", 0, ERR_ROOT_NOT_FOUND},
        {"sln(1000, 100, 9)", 100, 0},
        {"syd(1000, 100, 9, 1)", 180, 0},
        {"sln(1000, 100)", 0, ERR_BAD_CALL},
        {"sln(1000, 100, 9, 1)", 0, ERR_BAD_CALL},
        {"db(1000000, 100000, 6, 2, 7)", 259639.41666666666, 0},
        {"db(1000000, 100000, 6, 1)", 319000, 0},
        {"pmt(12, 12, 1000, 0, 12, 1)", -87.96909770132838, 0},
        // results that are no number are errors, never a silent 0
        {"fv(-2400, 1.5, 100, 100, 12)", 0, ERR_FINANCIAL},
        {"nper(-1200, -100, 1000, 0, 12)", 0, ERR_FINANCIAL},
        {"NPV(-1000, 500, 0, -1, 3)", 0, ERR_INFINITE},
        {"pv(5, 1e9, 100, 100, 1)", -2000, 0},
    });
}

TEST_F(ExprStandardizeTest, RegisterZeroAndKinds)
{
    Outcome o = Eval("sqrt(-4)+1");
    EXPECT_EQ(o.type, REG_COMPLEX);
    EXPECT_EQ(o.re, 1);
    EXPECT_EQ(o.im, 2);
    EXPECT_EQ(g_reg[0].type, REG_COMPLEX);
    double dbImag = 0;
    myqtoe(g_reg[0].im, dbImag);
    EXPECT_EQ(dbImag, 2);
    // Register 0 is cleared before each evaluation, so it never feeds itself.
    EXPECT_EQ(Eval("vvv+3").re, 3);

    // A failure leaves register 0 cleared.
    o = Eval("1/0");
    EXPECT_EQ(o.nError, ERR_LIBRARY);
    EXPECT_EQ(g_reg[0].type, REG_REAL);
    EXPECT_EQ(o.re, 0);

    // While the error code is set ExprEval leaves register 0 alone.
    Eval("7");
    SetErrorCode(ERR_DIVISION);
    const REG r = ExprEval("8", 0, 10);
    double d = 0;
    myqtoe(r.re, d);
    EXPECT_EQ(d, 7);

    // Matrix expressions are not offered.
    ClearErrorCode();
    ExprEval("inv(vvv)", 1, 10);
    EXPECT_EQ(GetErrorCode(), ERR_SYNTAX);

    // Other bases go through the front end too.
    EXPECT_EQ(Eval("ff+not(1)", MODE_RADIANS, 16).re, 255 + 254);
    EXPECT_EQ(Eval("101+not(1)", MODE_RADIANS, 2).re, 5 + 254);
}

TEST_F(ExprStandardizeTest, HostileTextsFailCleanly)
{
    EXPECT_EQ(Eval(std::string(5000, '1')).nError, ERR_SYNTAX);
    std::string strNested = "1";
    for (int i = 0; i < 200; ++i)
        strNested = "fib(" + strNested + ")";
    EXPECT_EQ(Eval(strNested).nError, ERR_SYNTAX);
    // A value text that no longer fits the buffer: fib(100) is written back
    // as its 21 digits.
    std::string strMany;
    for (int i = 0; i < 400; ++i)
        strMany += "fib(100)+";
    strMany += "1";
    EXPECT_EQ(Eval(strMany).nError, ERR_SYNTAX);
}

TEST(FrontEndHelpersTest, FindFunction)
{
    const struct {
        const char* lpszText;
        int nOffset;
        int nFunction;
        int nFound;
    } arrCases[] = {
        {"gcd(fib(5), 10)", 0, 4, 0},
        {"x+fib(2)", 0, 8, 2},
        {"gm(0)+sum(0)", 0, 12, 6},
        {"NPV(1,2,3,4,5)", 0, 37, 0},
        {"N(1)", 0, 14, 0},
        {"fnSum(k,k,1,2)", 0, 10, 0},
        {"sum_1+1", 0, -1, 0},
        {"\\sum(1)", 0, -1, 0},
        {"SUM(1)", 0, -1, 0},
        {"cmd(1)", 0, -1, 0},
        {"fib(1)+fib(2)", 1, 8, 7},
        {"1+2", 0, -1, 0},
    };
    for (const auto& c : arrCases) {
        int nOffset = c.nOffset;
        EXPECT_EQ(FindFunction(c.lpszText, nOffset), c.nFunction) << c.lpszText;
        if (c.nFunction >= 0) {
            EXPECT_EQ(nOffset, c.nFound) << c.lpszText;
        }
    }
}

TEST(FrontEndHelpersTest, ArgumentTexts)
{
    char szOut[EXPR_BUFFER_SIZE];
    int nPosition = 0;
    EXPECT_EQ(GetFunctionString("f(a(b)c)d", szOut, nPosition), 1);
    EXPECT_STREQ(szOut, "a(b)c");
    EXPECT_EQ(nPosition, 8);
    nPosition = 0;
    EXPECT_EQ(GetFunctionString("abc", szOut, nPosition), 0);
    nPosition = 0;
    EXPECT_EQ(GetFunctionString("f(a(b)", szOut, nPosition), 0);

    const char* lpszList = "1, f(2,3), 4";
    nPosition = 0;
    std::vector<std::string> vecArguments;
    while (GetParam(lpszList, szOut, nPosition) == 1)
        vecArguments.push_back(szOut);
    EXPECT_EQ(vecArguments, (std::vector<std::string>{"1", " f(2,3)", " 4"}));

    ClearErrorCode();
    nPosition = 0;
    EXPECT_EQ(GetParam("1)", szOut, nPosition), 1);
    EXPECT_EQ(GetErrorCode(), ERR_BAD_CALL);
    ClearErrorCode();
}

}  // namespace
