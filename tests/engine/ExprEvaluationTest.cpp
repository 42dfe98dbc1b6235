// Both postfix evaluators end to end: text in, value or error code out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "engine/ExprEvaluation.h"
#include "engine/qcomplex.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double NONE = 0.0;

struct Outcome {
    bool bOk;
    int nError;
    double re;
    double im;
};

double ToDouble(const unsigned short* q)
{
    double d = 0.0;
    myqtoe(q, d);
    return d;
}

Outcome Extended(const std::string& strText, int nMode = MODE_RADIANS, const char* lpszVariable = nullptr,
                 double dbValue = 0.0, int nBase = 10)
{
    ClearErrorCode();
    SetMode(nMode);
    qreal value;
    myetoq(dbValue, value);
    bool bOk = false;
    const qcmplx z = ExprEvaluation(strText.c_str(), bOk, lpszVariable, value, nBase);
    return {bOk, GetErrorCode(), ToDouble(z.r), ToDouble(z.i)};
}

Outcome Double(const std::string& strText, int nMode = MODE_RADIANS, const char* lpszVariable = nullptr,
               double dbValue = 0.0, int nBase = 10)
{
    ClearErrorCode();
    SetMode(nMode);
    g_lpszRPN[0] = '\0';
    bool bOk = false;
    const COMPLEX z = ExprEvaluationEx(strText.c_str(), bOk, lpszVariable, dbValue, nBase);
    return {bOk, GetErrorCode(), z.x, z.y};
}

struct Case {
    const char* lpszText;
    int nMode;
    double re;
    double im;
    int nError;  // 0: the value is expected
};

void Check(const Case& c, const Outcome& o)
{
    SCOPED_TRACE(std::string(c.lpszText) + " mode " + std::to_string(c.nMode));
    EXPECT_EQ(o.nError, c.nError);
    if (c.nError != 0) {
        EXPECT_FALSE(o.bOk);
        EXPECT_EQ(o.re, 0.0);
        EXPECT_EQ(o.im, 0.0);
        return;
    }
    EXPECT_TRUE(o.bOk);
    EXPECT_NEAR(o.re, c.re, 1e-13 * std::fmax(1.0, std::fabs(c.re)));
    EXPECT_NEAR(o.im, c.im, 1e-13 * std::fmax(1.0, std::fabs(c.im)));
}

class ExprEvaluationTest : public ::testing::Test {
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
        g_BitWidth = 8;
    }
};

TEST_F(ExprEvaluationTest, ExtendedValues)
{
    const double dbAcosh2 = 1.3169578969248166;
    const double dbAtanhHalf = 0.5493061443340549;
    const Case arrCases[] = {
        // operands and the bottom of the stack
        {"2+3", 1, 5, 0, 0},
        {"i*i", 1, -1, 0, 0},
        {"pi", 1, PI, 0, 0},
        {"e", 1, 2.718281828459045, 0, 0},
        {"[VRE]+1", 1, 1, 0, 0},
        {"1e5/4", 1, 25000, 0, 0},
        {"1e5000/1e4999", 1, 10, 0, 0},
        // a number beyond the range of the library is no value
        {"1e6000*0", 1, NONE, NONE, ERR_OUT_OF_RANGE},
        {"1e9000", 1, NONE, NONE, ERR_OUT_OF_RANGE},
        {"0.000125*8", 1, 0.001, 0, 0},
        // signs, groups and precedence
        {"-3+2", 1, -1, 0, 0},
        {"2*(-3)", 1, -6, 0, 0},
        {"2-3-4", 1, -5, 0, 0},
        {"2^3^2", 1, 512, 0, 0},
        {"1+2 mod 3", 1, 3, 0, 0},
        {"6 and 3+1", 1, 4, 0, 0},
        {"abs(-3)+1", 1, 2, 0, 0},
        {"2*abs(-3)", 1, 6, 0, 0},
        {"-1!", 1, -1, 0, 0},
        // powers and roots
        {"sqrt(-4)", 1, 0, 2, 0},
        {"sqrt(2)^2", 1, 2, 0, 0},
        {"(-2)^3", 1, -8, 0, 0},
        {"(-8)^(1/3)", 1, -2, 0, 0},
        {"(-16)^0.25", 1, 1.4142135623730951, 1.4142135623730951, 0},
        {"2^0.5", 1, 1.4142135623730951, 0, 0},
        {"2^(-1)", 1, 0.5, 0, 0},
        {"0^0", 1, 1, 0, 0},
        {"0^(-1)", 1, NONE, NONE, ERR_LIBRARY},
        {"2 root 9", 1, 3, 0, 0},
        {"3 root (-8)", 1, -2, 0, 0},
        {"0 root 8", 1, NONE, NONE, ERR_LIBRARY},
        {"2 exp 3", 1, 2000, 0, 0},
        {"1.5 exp (-2)", 1, 0.015, 0, 0},
        {"2 exp -3", 1, 0.002, 0, 0},
        // division and logarithms
        {"1/4", 1, 0.25, 0, 0},
        {"1/0", 1, NONE, NONE, ERR_LIBRARY},
        {"0/0", 1, NONE, NONE, ERR_LIBRARY},
        {"ln(e)", 1, 1, 0, 0},
        {"ln(0)", 1, NONE, NONE, ERR_LIBRARY},
        {"ln(-1)", 1, 0, PI, 0},
        {"log(1000)", 1, 3, 0, 0},
        {"log(-100)", 1, 2, PI / 2.302585092994046, 0},
        {"abs(3+4*i)", 1, 5, 0, 0},
        // percent and factorial
        {"50%", 1, 0.5, 0, 0},
        {"5!", 1, 120, 0, 0},
        {"0!", 1, 1, 0, 0},
        {"20!", 1, 2432902008176640000.0, 0, 0},
        {"1779!", 1, NONE, NONE, ERR_LIBRARY},
        {"(-1)!", 1, NONE, NONE, ERR_LIBRARY},
        {"i!", 1, NONE, NONE, ERR_COMPLEX},
        {"(2*i)%", 1, NONE, NONE, ERR_COMPLEX},
        // integers and bits, in the 8-bit word
        {"7 mod 3", 1, 1, 0, 0},
        {"(-7) mod 3", 1, 1, 0, 0},
        {"7 mod 0", 1, NONE, NONE, ERR_DIVISION},
        {"7.5 mod 2", 1, NONE, NONE, ERR_INVALID_TYPE},
        {"i mod 2", 1, NONE, NONE, ERR_COMPLEX},
        {"5 and 3", 1, 1, 0, 0},
        {"5 or 3", 1, 7, 0, 0},
        {"5 xor 3", 1, 6, 0, 0},
        {"5 nand 3", 1, 254, 0, 0},
        {"5 nor 3", 1, 248, 0, 0},
        {"(-1) and 1000", 1, 1000, 0, 0},
        {"2^40 and 1", 1, NONE, NONE, ERR_NOT_WHOLE},
        {"2.5 and 1", 1, NONE, NONE, ERR_NOT_WHOLE},
        {"i and 1", 1, NONE, NONE, ERR_COMPLEX},
        {"1 shl 3", 1, 8, 0, 0},
        {"200 shl 1", 1, 144, 0, 0},
        {"16 shl (-2)", 1, 4, 0, 0},
        {"16 shr 2", 1, 4, 0, 0},
        {"1 rtr 1", 1, 128, 0, 0},
        {"128 rtl 1", 1, 1, 0, 0},
        {"1.5 shl 1", 1, NONE, NONE, ERR_NOT_WHOLE},
        // circular functions in the three angle modes
        {"sin(90)", 0, 1, 0, 0},
        {"sin(90)", 1, 0.8939966636005579, 0, 0},
        {"sin(100)", 2, 1, 0, 0},
        {"cos(60)", 0, 0.5, 0, 0},
        {"tan(45)", 0, 1, 0, 0},
        {"tan(90)", 0, NONE, NONE, ERR_TAN},
        {"tan(-90)", 0, NONE, NONE, ERR_TAN},
        {"tan(pi/2)", 1, NONE, NONE, ERR_TAN},
        {"tan(1+i)", 1, 0.27175258531951174, 1.0839233273386946, 0},
        {"tan(1+2*i)", 1, 0.0338128260798967, 1.0147936161466335, 0},
        {"sec(60)", 0, 2, 0, 0},
        {"csc(30)", 0, 2, 0, 0},
        {"ctan(45)", 0, 1, 0, 0},
        {"acos(0.5)", 0, 60, 0, 0},
        {"atan(1)", 2, 50, 0, 0},
        {"asec(2)", 0, 60, 0, 0},
        {"acsc(2)", 0, 30, 0, 0},
        {"acot(1)", 0, 45, 0, 0},
        {"acot(0)", 1, PI / 2, 0, 0},
        {"asin(2)", 0, PI / 2, -dbAcosh2, 0},
        {"asin(-2)", 1, -PI / 2, dbAcosh2, 0},
        {"acos(2)", 1, 0, dbAcosh2, 0},
        {"atan(2*i)", 1, PI / 2, dbAtanhHalf, 0},
        {"atan(i)", 1, NONE, NONE, ERR_LIBRARY},
        // hyperbolic functions follow the angle mode in this family
        {"sinh(1)", 0, 0.017454178629595111, 0, 0},
        {"sinh(1)", 1, 1.1752011936438014, 0, 0},
        {"cosh(1)", 1, 1.5430806348152437, 0, 0},
        {"tanh(1)", 1, 0.7615941559557649, 0, 0},
        {"ctanh(1)", 1, 1.3130352854993312, 0, 0},
        {"csch(1)", 1, 0.8509181282393216, 0, 0},
        {"sech(1)", 1, 0.6480542736638853, 0, 0},
        {"asinh(1)", 1, 0.881373587019543, 0, 0},
        {"asinh(-1e30)", 1, -69.770699970381316, 0, 0},
        {"acosh(2)", 1, dbAcosh2, 0, 0},
        {"acosh(-2)", 1, dbAcosh2, PI, 0},
        {"acosh(0.5)", 1, 0, 1.0471975511965979, 0},
        {"atanh(0.5)", 1, dbAtanhHalf, 0, 0},
        {"atanh(0.5)", 0, dbAtanhHalf * 180 / PI, 0, 0},
        {"atanh(2)", 1, dbAtanhHalf, -PI / 2, 0},
        {"acoth(2)", 1, dbAtanhHalf, 0, 0},
        {"asech(0.5)", 1, dbAcosh2, 0, 0},
        {"acsch(1)", 1, 0.881373587019543, 0, 0},
        // words that are no value
        {"y+1", 1, NONE, NONE, ERR_SYNTAX},
        {"actan(1)", 1, NONE, NONE, ERR_SYNTAX},
        {"2)+(3", 1, NONE, NONE, ERR_SYNTAX},
        {"sin", 1, NONE, NONE, ERR_SYNTAX},
    };
    for (const Case& c : arrCases)
        Check(c, Extended(c.lpszText, c.nMode));
}

// Numbers are read the way people write them, and a text that is not one
// expression is an error, never the value of a part of it.
TEST_F(ExprEvaluationTest, NumbersAsWritten)
{
    const Case arrCases[] = {
        // a point with no digit before it, or none after it
        {".5", 1, 0.5, 0, 0},
        {"1+.5", 1, 1.5, 0, 0},
        {"-.25", 1, -0.25, 0, 0},
        {"1.", 1, 1, 0, 0},
        {"1.+1", 1, 2, 0, 0},
        {".", 1, NONE, NONE, ERR_SYNTAX},
        {"1.2.3", 1, NONE, NONE, ERR_SYNTAX},
        // an exponent right after a number: e or E, a sign, digits
        {"2e-3", 1, 0.002, 0, 0},
        {"6.62607015e-34", 1, 6.62607015e-34, 0, 0},
        {"1.5E+8", 1, 1.5e8, 0, 0},
        {"1e-6", 1, 1e-6, 0, 0},
        {"1.e5", 1, 1e5, 0, 0},
        {".5e1", 1, 5, 0, 0},
        {"2e3^2", 1, 4e6, 0, 0},
        // e alone is Euler's number
        {"2*e", 1, 2 * 2.718281828459045, 0, 0},
        {"e^2", 1, 7.38905609893065, 0, 0},
        {"e-3", 1, 2.718281828459045 - 3, 0, 0},
        {"2e", 1, NONE, NONE, ERR_SYNTAX},
        {"2e+", 1, NONE, NONE, ERR_SYNTAX},
        // i right after a number makes it imaginary: a+bi reads back
        {"2i", 1, 0, 2, 0},
        {"1e+00-1e+00i", 1, 1, -1, 0},
        {"2i^2", 1, -4, 0, 0},
        {"2ii", 1, NONE, NONE, ERR_SYNTAX},
        // two operands with nothing between them
        {"12 345", 1, NONE, NONE, ERR_SYNTAX},
        {"2 3", 1, NONE, NONE, ERR_SYNTAX},
        {"2(3)", 1, NONE, NONE, ERR_SYNTAX},
        {"(2)(3)", 1, NONE, NONE, ERR_SYNTAX},
        {"2pi", 1, NONE, NONE, ERR_SYNTAX},
        {"3sin(30)", 0, NONE, NONE, ERR_SYNTAX},
        {"5!2", 1, NONE, NONE, ERR_SYNTAX},
        {"-(2 3)", 1, NONE, NONE, ERR_SYNTAX},
        {"[VRE]2", 1, NONE, NONE, ERR_SYNTAX},
        // a sign right after an operator or "(" is a sign
        {"2*-3", 1, -6, 0, 0},
        {"2^-1", 1, 0.5, 0, 0},
        {"10^-3", 1, 0.001, 0, 0},
        {"(-2)*-2", 1, 4, 0, 0},
        {"2*+3", 1, 6, 0, 0},
        {"+3", 1, 3, 0, 0},
        {"(+3)*2", 1, 6, 0, 0},
        {"2- -3", 1, 5, 0, 0},
        {"sin -30", 0, -0.5, 0, 0},
        // the sign binds below "^" and above "*": -(3^2), (2^-1)+1
        {"2*-3^2", 1, -18, 0, 0},
        {"2^-1+1", 1, 1.5, 0, 0},
        {"2^-3^2", 1, 1.0 / 512, 0, 0},
        {"2*-3!", 1, -12, 0, 0},
        {"2*-(1+2)", 1, -6, 0, 0},
        // still refused
        {"1--2", 1, NONE, NONE, ERR_SYNTAX},
        {"2*-+3", 1, NONE, NONE, ERR_SYNTAX},
        {"2*-", 1, NONE, NONE, ERR_SYNTAX},
        {"(2*-)+1", 1, NONE, NONE, ERR_SYNTAX},
        {"2*/3", 1, NONE, NONE, ERR_SYNTAX},
    };
    for (const Case& c : arrCases) {
        Check(c, Extended(c.lpszText, c.nMode));
        if (c.nMode == MODE_RADIANS) {
            SCOPED_TRACE("double evaluator");
            Check(c, Double(c.lpszText, c.nMode));
        }
    }
}

// A sum that cancels to rounding noise of its operands is cleared to zero; a
// value that is merely small keeps its value, and a sign never clears it.
TEST_F(ExprEvaluationTest, CancellationIsClearedRelativeToTheOperands)
{
    const struct {
        const char* lpszText;
        double re;
    } arrCases[] = {
        {"0.1+0.2-0.3", 0},
        {"1/3-1/3", 0},
        {"0+1e-65", 1e-65},
        {"1e-70-0", 1e-70},
        {"-1e-70", -1e-70},
        {"-(1e-90)", -1e-90},
        {"3e-80-1e-80", 2e-80},
        {"1e-100+1e-100", 2e-100},
    };
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszText);
        const Outcome o = Extended(c.lpszText);
        ASSERT_TRUE(o.bOk);
        if (c.re == 0)
            EXPECT_EQ(o.re, 0.0);
        else
            EXPECT_NEAR(o.re / c.re, 1.0, 1e-14);
    }
}

// In degrees and grads the angle is reduced in its own unit, exactly: the
// exact angles give exact values (compared word for word) and every pole is
// the function's own error.
TEST_F(ExprEvaluationTest, ExactAngles)
{
    const Case arrCases[] = {
        {"sin(540)", 0, 0, 0, 0},
        {"sin(30)", 0, 0.5, 0, 0},
        {"sin(-30)", 0, -0.5, 0, 0},
        {"sin(150)", 0, 0.5, 0, 0},
        {"cos(90)", 0, 0, 0, 0},
        {"cos(60)", 0, 0.5, 0, 0},
        {"cos(-240)", 0, -0.5, 0, 0},
        {"tan(45)", 0, 1, 0, 0},
        {"tan(-135)", 0, 1, 0, 0},
        {"tan(180)", 0, 0, 0, 0},
        {"ctan(90)", 0, 0, 0, 0},
        {"ctan(225)", 0, 1, 0, 0},
        {"sec(180)", 0, -1, 0, 0},
        {"csc(-90)", 0, -1, 0, 0},
        {"sin(36000000000000000030)", 0, 0.5, 0, 0},
        {"sin(200)", 2, 0, 0, 0},
        {"cos(300)", 2, 0, 0, 0},
        {"tan(50)", 2, 1, 0, 0},
        // poles: odd multiples of 90 degrees for tan and sec, multiples of
        // 180 for csc and ctan
        {"tan(270)", 0, NONE, NONE, ERR_TAN},
        {"tan(-450)", 0, NONE, NONE, ERR_TAN},
        {"sec(270)", 0, NONE, NONE, ERR_SEC},
        {"csc(540)", 0, NONE, NONE, ERR_CSC},
        {"ctan(540)", 0, NONE, NONE, ERR_COTAN},
        {"ctan(0)", 0, NONE, NONE, ERR_COTAN},
        {"tan(300)", 2, NONE, NONE, ERR_TAN},
        // inverse functions: exact at the exact points
        {"asin(0.5)", 0, 30, 0, 0},
        {"asin(-1)", 0, -90, 0, 0},
        {"acos(-0.5)", 0, 120, 0, 0},
        {"atan(1)", 0, 45, 0, 0},
        {"atan(-1)", 2, -50, 0, 0},
        {"acos(0)", 2, 100, 0, 0},
        {"asin(sqrt(3)/2)", 0, 60, 0, 0},
        {"asin(0.6)", 0, 36.86989764584402, 0, 0},
    };
    for (const Case& c : arrCases) {
        SCOPED_TRACE(std::string(c.lpszText) + " mode " + std::to_string(c.nMode));
        const Outcome o = Extended(c.lpszText, c.nMode);
        EXPECT_EQ(o.nError, c.nError);
        if (c.nError != 0)
            continue;
        // Exact values are exact: the double of the result is the value.
        if (c.re == std::round(c.re) || c.re == 0.5 || c.re == -0.5)
            EXPECT_EQ(o.re, c.re);
        else
            EXPECT_NEAR(o.re, c.re, 1e-13 * std::fabs(c.re));
    }
}

TEST_F(ExprEvaluationTest, DoubleValues)
{
    const Case arrCases[] = {
        {"2+3", 1, 5, 0, 0},
        {"2 3", 1, NONE, NONE, ERR_SYNTAX},
        {"2*-3", 1, -6, 0, 0},
        {"exp(1)", 1, 2.718281828459045, 0, 0},
        // exp takes one operand here: 2 and e^3 are left, not one value
        {"2 exp 3", 1, NONE, NONE, ERR_SYNTAX},
        {"-3+2", 1, -1, 0, 0},
        {"2^10", 1, 1024, 0, 0},
        {"(-8)^(1/3)", 1, -2, 0, 0},
        {"10^400", 1, NONE, NONE, ERR_OUT_OF_RANGE},
        {"0.001^(-200)", 1, NONE, NONE, ERR_OUT_OF_RANGE},
        {"2^0", 1, 1, 0, 0},
        {"3 root 8", 1, 2, 0, 0},
        {"0 root 8", 1, NONE, NONE, ERR_DIVISION},
        {"1/0", 1, NONE, NONE, ERR_DIVISION},
        {"1/4", 1, 0.25, 0, 0},
        {"170!", 1, 7.257415615307994e306, 0, 0},
        {"171!", 1, NONE, NONE, ERR_OUT_OF_RANGE},
        {"5.5!", 1, 287.88527781504433, 0, 0},
        {"(-2)!", 1, NONE, NONE, ERR_LIBRARY},
        {"i!", 1, NONE, NONE, ERR_COMPLEX},
        {"50%", 1, 0.5, 0, 0},
        {"7.5 mod 2", 1, NONE, NONE, ERR_NOT_WHOLE},
        {"(-7) mod 3", 1, 1, 0, 0},
        {"7 mod 0", 1, NONE, NONE, ERR_DIVISION},
        {"5 nand 3", 1, 254, 0, 0},
        {"1 rtr 1", 1, 128, 0, 0},
        {"2.5 and 1", 1, NONE, NONE, ERR_NOT_WHOLE},
        {"i and 1", 1, NONE, NONE, ERR_COMPLEX},
        {"sqrt(-4)", 1, 0, 2, 0},
        {"abs(3+4*i)", 1, 5, 0, 0},
        {"ln(0)", 1, NONE, NONE, ERR_LOGARITHM},
        {"log(100)", 1, 2, 0, 0},
        // circular functions keep 12 decimals and follow the angle mode
        {"sin(30)", 0, 0.5, 0, 0},
        {"cos(100)", 2, 0, 0, 0},
        {"tan(45)", 0, 1, 0, 0},
        {"ctan(1)", 1, 0.6420926159343306, 0, 0},
        {"asin(1)", 0, 90, 0, 0},
        {"acos(0)", 2, 100, 0, 0},
        {"acot(1)", 0, 45, 0, 0},
        {"csc(0)", 1, NONE, NONE, ERR_CSC},
        {"atan(i)", 1, NONE, NONE, ERR_ARCTAN},
        // hyperbolic functions ignore it, except a real inverse cosecant
        {"sinh(1)", 0, 1.1752011936438014, 0, 0},
        {"csch(1)", 1, 0.8509181282393216, 0, 0},
        {"acsch(1)", 0, 0.881373587019543 * 180 / PI, 0, 0},
        {"acsch(1)", 2, 0.881373587019543, 0, 0},
        {"acosh(2)", 0, 1.3169578969248166, 0, 0},
        // no registers here
        {"vre+1", 1, NONE, NONE, ERR_SYNTAX},
        {"y+1", 1, NONE, NONE, ERR_SYNTAX},
    };
    for (const Case& c : arrCases) {
        SCOPED_TRACE("double evaluator");
        Check(c, Double(c.lpszText, c.nMode));
    }
}

TEST_F(ExprEvaluationTest, VariableAndBases)
{
    // The variable and the tokens are compared in lower case.
    Outcome o = Extended("x^2", 1, "x", 3);
    EXPECT_EQ(o.re, 9);
    o = Extended("X^2", 1, "x", 3);
    EXPECT_EQ(o.re, 9);
    o = Extended("rate/100", 1, "Rate", 12.5);
    EXPECT_EQ(o.re, 0.125);
    o = Double("x^2", 1, "X", 3);
    EXPECT_EQ(o.re, 9);

    EXPECT_EQ(Extended("ff+1", 1, nullptr, 0, 16).re, 256);
    EXPECT_EQ(Extended("FFFFFFFF", 1, nullptr, 0, 16).re, -1);
    EXPECT_EQ(Extended("101*11", 1, nullptr, 0, 2).re, 15);
    EXPECT_EQ(Extended("17", 1, nullptr, 0, 8).re, 15);
    EXPECT_EQ(Double("ff and f", 1, nullptr, 0, 16).re, 15);

    // A NaN operand stops the double evaluator.
    o = Double("x+1", 1, "x", std::nan(""));
    EXPECT_EQ(o.nError, ERR_OUT_OF_RANGE);
}

TEST_F(ExprEvaluationTest, Registers)
{
    const double dbValue = 41.0;
    myetoq(dbValue, g_reg[0].re);
    EXPECT_EQ(Extended("vvv+1").re, 42);
    const double dbImag = 2.0;
    g_reg[0].type = REG_COMPLEX;
    myetoq(dbImag, g_reg[0].im);
    const Outcome o = Extended("vvv*2");
    EXPECT_EQ(o.re, 82);
    EXPECT_EQ(o.im, 4);

    // A matrix register is no scalar value.
    const double arrList[] = {1, 2, 3};
    SetStatisticsList(arrList, 3);
    EXPECT_EQ(g_reg[29].type, REG_MATRIX);
    EXPECT_EQ(g_reg[29].rows, 3);
    EXPECT_EQ(Extended("list+1").nError, ERR_SYNTAX);
    SetStatisticsList(nullptr, 0);
    EXPECT_EQ(g_reg[29].type, REG_REAL);
    EXPECT_EQ(Extended("list+1").re, 1);
}

TEST_F(ExprEvaluationTest, ErrorCodeIsSticky)
{
    EXPECT_EQ(Extended("2+").nError, ERR_SYNTAX);
    // Without ClearErrorCode every evaluation fails at once.
    bool bOk = false;
    qreal zero;
    qclear(zero);
    qcmplx z = ExprEvaluation("1+1", bOk, nullptr, zero, 10);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(ToDouble(z.r), 0.0);
    EXPECT_EQ(GetErrorCode(), ERR_SYNTAX);
    const COMPLEX w = ExprEvaluationEx("1+1", bOk, nullptr, 0.0, 10);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(w.x, 0.0);

    ClearErrorCode();
    z = ExprEvaluation("1+1", bOk, nullptr, zero, 10);
    EXPECT_TRUE(bOk);
    EXPECT_EQ(ToDouble(z.r), 2.0);
}

TEST_F(ExprEvaluationTest, ComplexArgumentsSwitchToRadians)
{
    // Extended family: a complex argument of a circular function...
    Extended("sin(i)", MODE_DEGREES);
    EXPECT_EQ(g_Mode, MODE_RADIANS);
    // ...and a complex result of an inverse one.
    Extended("asin(2)", MODE_GRADS);
    EXPECT_EQ(g_Mode, MODE_RADIANS);
    // The switch lasts beyond the expression: 90 is now read in radians.
    bool bOk = false;
    ClearErrorCode();
    qcmplx z = ExprEvaluation("sin(90)", bOk, nullptr, nullptr, 10);
    EXPECT_NEAR(ToDouble(z.r), std::sin(90.0), 1e-15);
    // A real argument leaves the mode alone, also past a complex subterm.
    Extended("sin(90)+abs(i)", MODE_DEGREES);
    EXPECT_EQ(g_Mode, MODE_DEGREES);
    // Within one expression the terms after the switch are in radians.
    const Outcome o = Extended("asin(2)*0+sin(90)", MODE_DEGREES);
    EXPECT_NEAR(o.re, PI / 2 * 0 + std::sin(90.0), 1e-13);

    // Double family: any nonzero imaginary part switches.
    Double("cos(2*i)", MODE_DEGREES);
    EXPECT_EQ(g_Mode, MODE_RADIANS);
    Double("acos(2)", MODE_DEGREES);
    EXPECT_EQ(g_Mode, MODE_RADIANS);
    Double("sinh(i)", MODE_DEGREES);  // hyperbolic: no angle handling
    EXPECT_EQ(g_Mode, MODE_DEGREES);
}

TEST_F(ExprEvaluationTest, PostfixCacheFollowsTheText)
{
    ClearErrorCode();
    bool bOk = false;
    char szText[EXPR_BUFFER_SIZE] = "x+1";
    COMPLEX w = ExprEvaluationEx(szText, bOk, "x", 3.0, 10);
    EXPECT_EQ(w.x, 4);
    EXPECT_EQ(g_lpszExpression, szText);
    EXPECT_STREQ(g_lpszRPN, "x 1 + ");
    w = ExprEvaluationEx(szText, bOk, "x", 5.0, 10);
    EXPECT_EQ(w.x, 6);
    // The same buffer with another text must not reuse the cached postfix.
    std::strcpy(szText, "x*5");
    w = ExprEvaluationEx(szText, bOk, "x", 3.0, 10);
    EXPECT_EQ(w.x, 15);
    // Nor may another base or variable.
    w = ExprEvaluationEx("10+1", bOk, nullptr, 0.0, 10);
    EXPECT_EQ(w.x, 11);
    w = ExprEvaluationEx("10+1", bOk, nullptr, 0.0, 2);
    EXPECT_EQ(w.x, 3);
    EXPECT_EQ(GetErrorCode(), 0);
}

TEST_F(ExprEvaluationTest, StacksAndBuffersAreBounded)
{
    // 1100 operands waiting for right-associative powers.
    std::string strPower = "1";
    for (int i = 0; i < 1100; ++i)
        strPower += "^1";
    EXPECT_EQ(Extended(strPower).nError, ERR_SYNTAX);
    EXPECT_EQ(Double(strPower).nError, ERR_SYNTAX);

    // 1100 nested groups.
    const std::string strNested = std::string(1100, '(') + "1" + std::string(1100, ')');
    EXPECT_EQ(Extended(strNested).nError, ERR_SYNTAX);
    EXPECT_EQ(Double(strNested).nError, ERR_SYNTAX);
    const std::string strDeep = std::string(1000, '(') + "7" + std::string(1000, ')');
    EXPECT_EQ(Extended(strDeep).re, 7);

    // Exactly 1024 operands waiting for their powers fit, 1025 do not.
    std::string strWaiting = "5";
    for (int i = 1; i < 1024; ++i)
        strWaiting += "^1";
    EXPECT_EQ(Extended(strWaiting).re, 5);
    EXPECT_EQ(Extended(strWaiting + "^1").nError, ERR_SYNTAX);

    // Texts that do not fit the 4096-byte buffers.
    const std::string strLong = "1+" + std::string(5000, '1');
    EXPECT_EQ(Extended(strLong).nError, ERR_SYNTAX);
    EXPECT_EQ(Double(strLong).nError, ERR_SYNTAX);
    // The postfix string gives every token a trailing blank, so a token list
    // filling the whole buffer has no room left for it.
    const std::string strJustFits(EXPR_BUFFER_SIZE - 2, '2');
    EXPECT_EQ(Extended(strJustFits).nError, 0);
    EXPECT_EQ(Extended(strJustFits + "2").nError, ERR_SYNTAX);
}

// Calls one handler on a prepared stack.
template <typename Value, typename Entry>
long CallHandler(const Entry* pEntry, Value* pStack, long nCount, long nBase)
{
    pEntry->lpfnHandler(pStack, nCount, nBase);
    return nCount;
}

TEST_F(ExprEvaluationTest, EveryHandlerChecksItsOperands)
{
    // With no operand above the group base every handler fails with -1 and
    // leaves the stack alone.
    for (const FUNCTION_TABLE_EX& entry : lpFunctionTableEx) {
        qcmplx arrStack[4] = {qcone, qcone, qcone, qcone};
        ClearErrorCode();
        EXPECT_EQ(CallHandler(&entry, arrStack, 2, 2), 2) << entry.lpszName;
        EXPECT_EQ(GetErrorCode(), ERR_SYNTAX) << entry.lpszName;
    }
    for (const FUNCTION_TABLE& entry : lpFunctionTable) {
        COMPLEX arrStack[4] = {{1, 0}, {1, 0}, {1, 0}, {1, 0}};
        ClearErrorCode();
        EXPECT_EQ(CallHandler(&entry, arrStack, 2, 2), 2) << entry.lpszName;
        EXPECT_EQ(GetErrorCode(), ERR_SYNTAX) << entry.lpszName;
    }
    // The two tables know the same 51 names, each once.
    EXPECT_EQ(FUNCTION_TABLE_EX_SIZE, FUNCTION_TABLE_SIZE);
    for (const FUNCTION_TABLE& entry : lpFunctionTable) {
        const FUNCTION_TABLE_EX* pEx = GetHandlerEx(entry.lpszName);
        ASSERT_NE(pEx, nullptr) << entry.lpszName;
        EXPECT_EQ(GetHandler(entry.lpszName), &entry);
    }
    EXPECT_EQ(GetHandler("eig"), nullptr);
    EXPECT_EQ(GetHandlerEx("SIN"), nullptr);
}

TEST_F(ExprEvaluationTest, HandlersTheTokenizerDoesNotReach)
{
    const struct {
        const char* lpszName;
        double a;
        double b;  // NAN: one operand
        double dbResult;
    } arrCases[] = {
        {"iroot", 8, 3, 2},
        {"iexp", 2, 3, 2000},
        {"not", 5, NAN, 250},
        {"cpl", 5, NAN, 251},
        {"cpl", 0, NAN, 0},
    };
    for (const auto& c : arrCases) {
        SCOPED_TRACE(c.lpszName);
        const long nOperands = std::isnan(c.b) ? 1 : 2;
        qcmplx arrEx[2];
        arrEx[0] = qcmplx_fromdouble(c.a);
        arrEx[1] = qcmplx_fromdouble(std::isnan(c.b) ? 0.0 : c.b);
        ClearErrorCode();
        EXPECT_EQ(CallHandler(GetHandlerEx(c.lpszName), arrEx, nOperands, 0), 1);
        EXPECT_NEAR(ToDouble(arrEx[0].r), c.dbResult, 1e-12 * c.dbResult);

        COMPLEX arr[2] = {{c.a, 0}, {std::isnan(c.b) ? 0.0 : c.b, 0}};
        EXPECT_EQ(CallHandler(GetHandler(c.lpszName), arr, nOperands, 0), 1);
        EXPECT_NEAR(arr[0].x, c.dbResult, 1e-12 * c.dbResult);
        EXPECT_EQ(GetErrorCode(), 0);
    }
}

// Random expressions of the operators and functions that both tables compute
// the same way (in radians), built from a fixed seed.
std::string RandomExpression(std::mt19937& generator, int nDepth)
{
    // No sinh or cosh: their growth would feed circular functions arguments
    // whose double rounding alone decides the result.
    static const char* const arrFunctions[] = {
        "sin", "cos", "tan", "atan", "sqrt", "ln", "log", "tanh", "asinh", "sec",
        "csc", "sech", "csch", "acot", "asin", "acos", "ctan", "ctanh", "abs", "atanh",
    };
    static const char* const arrOperators[] = {"+", "-", "*", "/"};
    std::uniform_int_distribution<int> choice(0, 9);
    const int nKind = nDepth == 0 ? 0 : choice(generator);
    if (nKind <= 2) {
        // 0.10 .. 3.00: no exact poles (pi), no huge quotients
        std::uniform_int_distribution<int> digits(10, 300);
        const int n = digits(generator);
        return std::to_string(n / 100) + "." + std::to_string(n / 10 % 10) + std::to_string(n % 10);
    }
    if (nKind <= 5) {
        std::uniform_int_distribution<int> pick(0, 19);
        return std::string(arrFunctions[pick(generator)]) + "(" + RandomExpression(generator, nDepth - 1) + ")";
    }
    if (nKind == 6)
        return "(" + RandomExpression(generator, nDepth - 1) + ")^2";
    std::uniform_int_distribution<int> pick(0, 3);
    return RandomExpression(generator, nDepth - 1) + arrOperators[pick(generator)] +
           "(" + RandomExpression(generator, nDepth - 1) + ")";
}

TEST_F(ExprEvaluationTest, BothEvaluatorsAgree)
{
    std::mt19937 generator(4242);
    int nCompared = 0;
    int nBothFailed = 0;
    for (int i = 0; i < 600; ++i) {
        const std::string strText = RandomExpression(generator, 3);
        const Outcome ex = Extended(strText);
        const Outcome db = Double(strText);
        SCOPED_TRACE(strText);
        if (ex.nError != 0 || db.nError != 0) {
            // Both may refuse (a pole, a zero divisor); only one of them only
            // where the double range ends and the other goes on.
            if (ex.nError == 0)
                EXPECT_FALSE(std::hypot(ex.re, ex.im) < 1e300);
            else if (db.nError == 0)
                EXPECT_FALSE(std::hypot(db.re, db.im) < 1e300);
            else
                ++nBothFailed;
            continue;
        }
        const double dbMagnitude = std::hypot(ex.re, ex.im);
        if (dbMagnitude > 1e6)
            continue;  // the 12-decimal cut of the double family is amplified
        ++nCompared;
        const double dbTolerance = 1e-8 * std::fmax(1.0, dbMagnitude);
        EXPECT_NEAR(db.re, ex.re, dbTolerance);
        EXPECT_NEAR(db.im, ex.im, dbTolerance);
    }
    EXPECT_GT(nCompared, 300);
    EXPECT_LT(nBothFailed, 100);
}

}  // namespace
