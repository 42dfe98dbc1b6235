// From a calculation expression and the entered texts to the engine text:
// checks, alias substitution, protected function names, degree mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/CalculationProcedure.h"

namespace {

struct Param {
    const char* pszAlias;
    const char* pszUnit;
    const char* pszExpr;  // calculation expression; null: no entry (trailing parameters only)
};

_tag_formula_detail MakeDetail(const std::vector<Param>& params)
{
    _tag_formula_detail det;
    for (const Param& p : params) {
        _tag_formula_parameter& slot = det.m_arrParams[det.m_nParamCount++];
        slot.m_strName = p.pszAlias;
        slot.m_strAlias = p.pszAlias;
        slot.m_strUnit = p.pszUnit;
        if (p.pszExpr)
            det.m_vecCalcFormulas.push_back(p.pszExpr);
    }
    return det;
}

// --- successful texts --------------------------------------------------------

struct TextCase {
    const char* pszWhat;
    std::vector<Param> vecParams;
    int nCalc;
    std::vector<std::string> vecTexts;
    const char* pszEngine;
    int nAngleMode;
};

const TextCase kTextCases[] = {
    // substitution and adjacency
    {"product", {{"c", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"}, "(2)*(3)", 1},
    {"adjacent aliases multiply", {{"c", "", "ab"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"},
     "(2)*(3)", 1},
    {"bracketed aliases multiply", {{"c", "", "(a)(b)"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"},
     "((2))*((3))", 1},
    {"upper-case expression", {{"c", "", "A*B"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"},
     "(2)*(3)", 1},
    {"upper-case alias", {{"C", "", "A/B"}, {"A", "", ""}, {"B", "", ""}}, 0, {"", "6", "3"}, "(6)/(3)", 1},
    {"aliases equal but for case bind to the first",
     {{"c", "", "a+A"}, {"a", "", ""}, {"A", "", ""}}, 0, {"", "2", "5"}, "(2)+(2)", 1},
    {"calculated parameter takes part with its own text",
     {{"y", "", "y+x"}, {"x", "", ""}}, 0, {"", "1"}, "()+(1)", 1},
    {"fixed-looking values stay verbatim", {{"c", "", "a-b"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "-1.5", "2*10^(3)"}, "(-1.5)-(2*10^(3))", 1},
    // protected function names
    {"sin keeps its s", {{"y", "", "sin(x)"}, {"x", "", ""}, {"s", "", ""}}, 0, {"", "0.5", "7"},
     "sin((0.5))", 1},
    {"cot is not protected", {{"y", "", "cot(x)"}, {"x", "", ""}, {"c", "", ""}}, 0, {"", "0.5", "9"},
     "(9)ot((0.5))", 1},
    {"asinh, sinh and sin whole", {{"y", "", "asinh(x)+sinh(x)+sin(x)"}, {"x", "", ""}, {"h", "", ""}},
     0, {"", "1", "4"}, "asinh((1))+sinh((1))+sin((1))", 1},
    {"Euler's number before ^", {{"y", "", "e^(x)"}, {"x", "", ""}}, 0, {"", "1"}, "e^((1))", 1},
    {"pi, sqrt, ln, log, abs", {{"y", "", "pi*sqrt(a)+ln(a)-log(a)+abs(a)"}, {"a", "", ""}}, 0, {"", "4"},
     "pi*sqrt((4))+ln((4))-log((4))+abs((4))", 1},
    {"mod with its blanks", {{"y", "", "a mod b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "7", "3"},
     "(7) mod (3)", 1},
    {"exp stays a word", {{"y", "", "a exp b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", "3"},
     "(2) exp (3)", 1},
    {"function names inside values are restored", {{"y", "", "a+b"}, {"a", "", ""}, {"b", "", ""}}, 0,
     {"", "sin(1)", "2*pi"}, "(sin(1))+(2*pi)", 1},
    {"register of the last answer", {{"y", "", "2*a"}, {"a", "", ""}}, 0, {"", "[VRE]"}, "2*([VRE])", 1},
    // angle mode from the units
    {"degrees from another parameter", {{"y", "", "sin(a)"}, {"a", "^o", ""}}, 0, {"", "30"},
     "sin((30))", 0},
    {"degrees from the calculated one", {{"a", "^o", "asin(y)"}, {"y", "", ""}}, 0, {"", "0.5"},
     "asin((0.5))", 0},
    {"degree unit in capitals", {{"y", "", "cos(a)"}, {"a", "^O", ""}}, 0, {"", "60"}, "cos((60))", 0},
    {"degree unit with zero", {{"y", "", "cos(a)"}, {"a", "^0", ""}}, 0, {"", "60"}, "cos((60))", 0},
    {"other units keep radians", {{"y", "", "cos(a)"}, {"a", "rad", ""}}, 0, {"", "1"}, "cos((1))", 1},
};

TEST(CalculationText, BuildsEngineText)
{
    for (const TextCase& c : kTextCases) {
        CALC_TEXT out = BuildCalculationText(MakeDetail(c.vecParams), c.nCalc, c.vecTexts);
        ASSERT_TRUE(out.bSuccess) << c.pszWhat << ": " << out.strMessage;
        EXPECT_EQ(out.strText, c.pszEngine) << c.pszWhat;
        EXPECT_EQ(out.nAngleMode, c.nAngleMode) << c.pszWhat;
    }
}

// --- alerts ------------------------------------------------------------------

struct AlertCase {
    const char* pszWhat;
    std::vector<Param> vecParams;
    int nCalc;
    std::vector<std::string> vecTexts;
    const char* pszMessage;
    int nScrollRow;
};

const AlertCase kAlertCases[] = {
    // the tick
    {"nothing ticked", {{"c", "", "a*b"}, {"a", "", ""}}, -1, {"", "2"},
     "Please check the field you want to calculate.", -1},
    {"ticked row beyond the parameters", {{"c", "", "a"}, {"a", "", "c"}}, 2, {"", "", ""},
     "Please check the field you want to calculate.", -1},
    {"ticked row beyond the expression list", {{"c", "", "a"}, {"a", "", "c"}, {"z", "", nullptr}}, 2,
     {"1", "2", "3"},
     "Please check the field you want to calculate.", -1},
    // the expression
    {"empty expression", {{"c", "", "a*2"}, {"a", "", ""}}, 1, {"4", ""},
     "Not support calculation of this field.", -1},
    // the inputs
    {"an empty input", {{"c", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "2", ""},
     "Please fill-in all the input parameter(s).", 2},
    {"the first empty input is reported", {{"c", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {"", "", ""},
     "Please fill-in all the input parameter(s).", 1},
    {"missing texts count as empty", {{"c", "", "a*b"}, {"a", "", ""}, {"b", "", ""}}, 0, {""},
     "Please fill-in all the input parameter(s).", 1},
    // aliases that cannot be substituted
    {"empty alias", {{"c", "", "a*2"}, {"", "", ""}}, 0, {"", "3"},
     "Not support calculation of this field.", -1},
    {"two-letter alias", {{"c", "", "ab*2"}, {"ab", "", ""}}, 0, {"", "3"},
     "Not support calculation of this field.", -1},
    {"digit alias", {{"c", "", "2*1"}, {"1", "", ""}}, 0, {"", "3"},
     "Not support calculation of this field.", -1},
    {"bracket alias", {{"c", "", "2*("}, {"(", "", ""}}, 0, {"", "3"},
     "Not support calculation of this field.", -1},
    {"non-ASCII alias", {{"c", "", "2*\xCE\xB1"}, {"\xCE\xB1", "", ""}}, 0, {"", "3"},
     "Not support calculation of this field.", -1},
};

TEST(CalculationText, AlertsAndTheirRows)
{
    for (const AlertCase& c : kAlertCases) {
        CALC_TEXT out = BuildCalculationText(MakeDetail(c.vecParams), c.nCalc, c.vecTexts);
        EXPECT_FALSE(out.bSuccess) << c.pszWhat;
        EXPECT_EQ(out.strMessage, c.pszMessage) << c.pszWhat;
        EXPECT_EQ(out.nScrollRow, c.nScrollRow) << c.pszWhat;
    }
}

TEST(CalculationText, CalculatedRowMayBeEmptyOthersNot)
{
    _tag_formula_detail det = MakeDetail({{"v", "", "s/t"}, {"s", "", "v*t"}, {"t", "", "s/v"}});
    EXPECT_EQ(checkParametersValid({"", "10", "2"}, 0, 3), -1);
    EXPECT_EQ(checkParametersValid({"5", "", "2"}, 0, 3), 1);
    EXPECT_EQ(checkParametersValid({"5", "10", "2"}, 2, 3), -1);
    EXPECT_EQ(BuildCalculationText(det, 2, {"5", "10", ""}).strText, "(10)/(5)");
}

// --- protected names ---------------------------------------------------------

TEST(CalculationText, ProtectAndRestoreFunctionNames)
{
    const struct {
        const char* pszIn;
        const char* pszProtected;
    } kCases[] = {
        {"asinh(x)+sinh(x)+sin(x)", "ASINH(x)+SINH(x)+SIN(x)"},
        {"acos(x)*cosh(x)/cos(x)", "ACOS(x)*COSH(x)/COS(x)"},
        {"e^(a)+exp", "E^(a)+EXP"},
        {"a mod b", "a MOD b"},
        {"amodb", "amodb"},  // mod is protected only with its blanks
        {"sqrt(pi)", "SQRT(PI)"},
        {"cot(x)+sec(x)", "cot(x)+sec(x)"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ProtectFunctionNames(c.pszIn), c.pszProtected) << c.pszIn;
        EXPECT_EQ(RestoreFunctionNames(c.pszProtected), c.pszIn) << c.pszIn;
    }
}

// The engine's built-ins survive the lower-casing of an expression: they are
// protected and come back in the engine's own spelling.
TEST(CalculationText, EngineBuiltinsComeBackInTheirSpelling)
{
    const struct {
        const char* pszLower;
        const char* pszRestored;
    } kCases[] = {
        {"fnroot(x^2-2,x,0,2)", "fnRoot(x^2-2,x,0,2)"},
        {"fnint(x,x,0,1)+fnderiv(x^2,x,1)", "fnInt(x,x,0,1)+fnDeriv(x^2,x,1)"},
        {"ncr(n,k)*npr(n,k)", "ncr(n,k)*npr(n,k)"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(RestoreFunctionNames(ProtectFunctionNames(c.pszLower)), c.pszRestored) << c.pszLower;

    // A formula can solve by root finding: n and c are aliases, x is the
    // root finder's own variable.
    _tag_formula_detail det =
        MakeDetail({{"n", "", "ncr(c,2)"}, {"c", "", "fnRoot(x*(x-1)/2-n,x,1,100)"}});
    EXPECT_EQ(BuildCalculationText(det, 0, {"", "5"}).strText, "ncr((5),2)");
    EXPECT_EQ(BuildCalculationText(det, 1, {"10", ""}).strText, "fnRoot(x*(x-1)/2-(10),x,1,100)");
    const CALC_RESULT result = RunCalculation(det, 1, {"10", ""});
    ASSERT_TRUE(result.bSuccess) << result.strMessage;
    EXPECT_EQ(result.strResult, "5");
}

TEST(CalculationText, LongerNamesComeFirst)
{
    // A name that contains another must be protected before it, or the
    // shorter one would split it ("asin(" into "aSIN(").
    std::vector<std::string> names;
    for (int k = 0; std::string(g_arrFunctions[k]) != "THE END."; ++k)
        names.push_back(g_arrFunctions[k]);
    ASSERT_EQ(names.size(), 20u);
    for (size_t i = 0; i < names.size(); ++i) {
        for (size_t j = 0; j < names.size(); ++j) {
            if (i != j && names[j].find(names[i]) != std::string::npos) {
                EXPECT_LT(j, i) << names[j] << " must stand before " << names[i];
            }
        }
    }
}

TEST(CalculationText, CalculableParameters)
{
    _tag_formula_detail det = MakeDetail({{"a", "", "b+1"}, {"b", "", ""}, {"c", "", "a"}});
    EXPECT_EQ(CountCalculableParameters(det), 2);
    EXPECT_TRUE(CanCalculateParameter(det, 0));
    EXPECT_FALSE(CanCalculateParameter(det, 1));
    EXPECT_FALSE(CanCalculateParameter(det, 3));
    EXPECT_FALSE(CanCalculateParameter(det, -1));
}

}  // namespace
