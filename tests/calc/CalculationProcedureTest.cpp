// Whole calculations through the engine: result texts, every alert of the
// failure table, the angle mode and the real-result check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormulaDetailMaker.h"
#include "calc/CalculationProcedure.h"
#include "calc/LedTokenModel.h"
#include "engine/EngineState.h"
#include "numerics/qlib.h"

namespace {

using Param = TEST_PARAM;

struct Case {
    const char* pszWhat;
    std::vector<Param> vecParams;
    int nCalc;
    std::vector<std::string> vecTexts;
    bool bSuccess;
    const char* pszText;  // result text, or the alert message
};

const Case kCases[] = {
    // results and their text
    {"Ohm's law", {{"u", "V", "r*i"}, {"r", "\\Omega", "u/i"}, {"i", "A", "u/r"}}, 0, {"", "2", "3"}, true,
     "6"},
    {"positional result", {{"y", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "1234.5", "1"}, true,
     "1234.5"},
    {"13 significant digits", {{"y", "", "a/b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "1", "3"}, true,
     "0.3333333333333"},
    {"negative result", {{"y", "", "a-b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "1", "1.5"}, true, "-0.5"},
    {"zero", {{"y", "", "a-b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "7", "7"}, true, "0"},
    {"10^12 stays positional", {{"y", "", "a^b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "10", "12"}, true,
     "1000000000000"},
    {"large result in exponent form", {{"y", "", "a^b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "10", "15"},
     true, " 1.000000000000*10^(15)"},
    {"small negative result in exponent form", {{"y", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "-5", "10^(-13)"}, true, "-5.000000000000*10^(-13)"},
    {"adjacent aliases", {{"y", "", "ab"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"}, true, "6"},
    {"entered expressions", {{"y", "", "a+b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "sqrt(16)", "2*pi"},
     true, "10.28318530718"},
    {"root written by the input line", {{"y", "", "a+1"}, {"a", "", ""}}, 0, {"", "RT(3,8)"}, true, "3"},
    // angle mode
    {"degrees from a unit", {{"y", "", "sin(a)"}, {"a", "^o", ""}}, 0, {"", "30"}, true, "0.5"},
    {"degrees for an inverse", {{"a", "^o", "asin(y)"}, {"y", "", "sin(a)"}}, 0, {"", "0.5"}, true, "30"},
    {"radians otherwise", {{"y", "", "sin(a)"}, {"a", "rad", ""}}, 0, {"", "pi/6"}, true, "0.5"},
    // the tick and the inputs
    {"nothing ticked", {{"y", "", "a"}, {"a", "", ""}}, -1, {"", "1"}, false,
     "Please check the field you want to calculate."},
    {"no expression entry", {{"y", "", "a"}}, 3, {"", "1"}, false,
     "Please check the field you want to calculate."},
    {"empty expression", {{"y", "", "a"}, {"a", "", ""}}, 1, {"1", ""}, false,
     "Not support calculation of this field."},
    {"empty input", {{"y", "", "a+b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "1", ""}, false,
     "Please fill-in all the input parameter(s)."},
    // engine errors carry the engine's text
    {"division by zero", {{"y", "", "a/b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "1", "0"}, false,
     "Invalid parameter(s)"},
    {"logarithm of zero", {{"y", "", "ln(a)"}, {"a", "", ""}}, 0, {"", "0"}, false, "Invalid parameter(s)"},
    {"percent of a complex value", {{"y", "", "a%"}, {"a", "", ""}}, 0, {"", "2*i"}, false,
     "Complex's not been supported"},
    {"bit operation on a fraction", {{"z", "", "x and y"}, {"x", "", ""}, {"y", "", ""}}, 0, {"", "2.5", "1"},
     false, "Invalid type error"},
    {"syntax error", {{"y", "", "a*2"}, {"a", "", ""}}, 0, {"", "2+"}, false, "Syntax error"},
    {"unknown word", {{"y", "", "a*2"}, {"a", "", ""}}, 0, {"", "foo"}, false, "Syntax error"},
    {"two operators in a row", {{"y", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "*3"}, false,
     "Syntax error"},
    // results that are not one real number
    {"square root of a negative value", {{"y", "", "sqrt(a)"}, {"a", "", ""}}, 0, {"", "-4"}, false,
     "Invalid parameter(s)!"},
    {"negative imaginary part", {{"y", "", "-sqrt(a)"}, {"a", "", ""}}, 0, {"", "-4"}, false,
     "Invalid parameter(s)!"},
    {"large negative imaginary part", {{"y", "", "a*i"}, {"a", "", ""}}, 0, {"", "-1000"}, false,
     "Invalid parameter(s)!"},
    {"tiny negative imaginary part", {{"y", "", "a+b*i"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "2", "-10^(-20)"}, true, "2"},
    {"imaginary part just below the limit", {{"y", "", "a+b*i"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "2", "9*10^(-17)"}, true, "2"},
    {"imaginary part at the limit", {{"y", "", "a+b*i"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "2", "10^(-16)"}, false, "Invalid parameter(s)!"},
    {"rounding left in a real result", {{"y", "", "e^(i*a)"}, {"a", "", ""}}, 0, {"", "pi"}, true, "-1"},
};

TEST(CalculationProcedure, ResultsAndAlerts)
{
    for (const Case& c : kCases) {
        CALC_RESULT result = RunCalculation(MakeDetail(c.vecParams), c.nCalc, c.vecTexts);
        EXPECT_EQ(result.bSuccess, c.bSuccess) << c.pszWhat << " (engine text " << result.strExpression << ")";
        EXPECT_EQ(c.bSuccess ? result.strResult : result.strMessage, c.pszText)
            << c.pszWhat << " (engine text " << result.strExpression << ")";
    }
}

TEST(CalculationProcedure, RowsToBringToTheTop)
{
    _tag_formula_detail det = MakeDetail({{"y", "", "a+b"}, {"a", "", "y-b"}, {"b", "", "y-a"}});
    EXPECT_EQ(RunCalculation(det, 2, {"5", "", "1"}).nScrollRow, 1);  // the empty input
    CALC_RESULT ok = RunCalculation(det, 2, {"5", "3", ""});
    ASSERT_TRUE(ok.bSuccess);
    EXPECT_EQ(ok.strResult, "2");
    EXPECT_EQ(ok.nScrollRow, 2);  // the ticked row shows the result
    EXPECT_EQ(ok.strExpression, "(5)-(3)");
}

TEST(CalculationProcedure, EngineStateOfAnEarlierCallDoesNotLeak)
{
    // A failed calculation leaves the engine's sticky error code set; the
    // next calculation must clear it, and a degree unit must not outlive
    // its formula.
    _tag_formula_detail deg = MakeDetail({{"y", "", "sin(a)"}, {"a", "^o", ""}});
    _tag_formula_detail rad = MakeDetail({{"y", "", "sin(a)"}, {"a", "", ""}});
    _tag_formula_detail div = MakeDetail({{"y", "", "1/a"}, {"a", "", ""}});
    EXPECT_FALSE(RunCalculation(div, 0, {"", "0"}).bSuccess);
    EXPECT_EQ(RunCalculation(deg, 0, {"", "90"}).strResult, "1");
    EXPECT_EQ(RunCalculation(rad, 0, {"", "pi/2"}).strResult, "1");
    EXPECT_EQ(RunCalculation(deg, 0, {"", "90"}).strResult, "1");
}

TEST(CalculationProcedure, ResultTextGoesBackIntoALineAndEvaluatesAgain)
{
    // The result shown in a row must reach the engine as the same value when
    // the next calculation uses that row.
    const char* kModes[] = {"English (US)", "European"};
    const char* kValues[] = {"10^15", "-5*10^(-13)", "1234.5", "1/3"};
    _tag_formula_detail copy = MakeDetail({{"y", "", "a"}, {"a", "", ""}});
    for (const char* pszMode : kModes) {
        for (const char* pszValue : kValues) {
            CALC_RESULT first = RunCalculation(copy, 0, {"", pszValue});
            ASSERT_TRUE(first.bSuccess) << pszValue;
            LedTokenModel line;
            line.setOutputMode(pszMode);
            ASSERT_TRUE(line.InsertString(first.strResult, true));
            CALC_RESULT second = RunCalculation(copy, 0, {"", line.OutputParsedStringUtf8()});
            ASSERT_TRUE(second.bSuccess) << pszValue << " in " << pszMode;
            EXPECT_EQ(second.strResult, first.strResult) << pszValue << " in " << pszMode;
        }
    }
}

TEST(CalculationProcedure, SquareRootKeyYieldsAValue)
{
    // Typed with the keypad: the plain √ key (40), with and without an index
    // and with text before it, evaluated as the row's value.
    const struct {
        std::vector<int> vecKeys;
        const char* pszResult;
    } kCases[] = {
        {{40, 2, 45}, "3"},                   // √(9)
        {{10, 18, 40, 2, 45}, "4"},           // 1+√(9)
        {{11, 8, 40, 10, 7, 45}, "8"},        // 2×√(16)
        {{41, 2, 45, 18, 40, 5, 45}, "5"},    // 2√(9)+√(4)
        {{42, 1, 45, 18, 10}, "3"},           // 3√(8)+1
    };
    _tag_formula_detail copy = MakeDetail({{"y", "", "a"}, {"a", "", ""}});
    for (const auto& c : kCases) {
        LedTokenModel line;
        for (int nKey : c.vecKeys)
            ASSERT_TRUE(line.InputCommand(nKey));
        CALC_RESULT result = RunCalculation(copy, 0, {"", line.OutputParsedStringUtf8()});
        EXPECT_TRUE(result.bSuccess) << result.strExpression << ": " << result.strMessage;
        EXPECT_EQ(result.strResult, c.pszResult) << result.strExpression;
    }
}

TEST(CalculationProcedure, FormatsValuesAsTheRowShowsThem)
{
    const struct {
        double dbValue;
        const char* pszText;
    } kCases[] = {
        {1234.5, "1234.5"},
        {1e15, " 1.000000000000*10^(15)"},
        {2e12, " 2.000000000000*10^(12)"},
        {-0.5, "-0.5"},
        {0.0, "0"},
        {999999999999.99, "1000000000000"},
    };
    for (const auto& c : kCases) {
        qreal value;
        etoq(&c.dbValue, value);
        EXPECT_EQ(FormatCalculationResult(value), c.pszText) << c.dbValue;
    }
}

}  // namespace
