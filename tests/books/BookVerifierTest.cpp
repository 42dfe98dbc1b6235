// The verifier itself: correct formulas pass, including inverses that return
// another branch, and deliberately broken copies of formulas fail. A verifier
// that lets a planted error through proves nothing about the books.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BookVerifier.h"

namespace {

struct PARAM_ROW {
    const char* pszAlias;
    const char* pszUnit;
    const char* pszValue;  // fixed value, "0" for none
    const char* pszExpr;
};

_tag_formula_detail MakeDetail(const std::vector<PARAM_ROW>& vecParams)
{
    _tag_formula_detail det;
    for (const PARAM_ROW& p : vecParams) {
        _tag_formula_parameter& slot = det.m_arrParams[det.m_nParamCount++];
        slot.m_strName = p.pszAlias;
        slot.m_strDescription = std::string("parameter ") + p.pszAlias;
        slot.m_strAlias = p.pszAlias;
        slot.m_strUnit = p.pszUnit;
        slot.m_strValue = p.pszValue;
        det.m_vecCalcFormulas.push_back(p.pszExpr);
    }
    return det;
}

struct ROUND_TRIP_CASE {
    const char* pszWhat;
    std::vector<PARAM_ROW> vecParams;
    bool bPasses;
    const char* pszProblem;  // a part of the reported problem when it fails
};

const ROUND_TRIP_CASE mg_arrRoundTripCases[] = {
    // correct formulas pass
    {"kinetic energy", {{"k", "J", "0", "m*v^2/2"}, {"m", "kg", "0", "2*k/v^2"}, {"v", "m/s", "0", "sqrt(2*k/m)"}},
     true, ""},
    {"angle in degrees, acute inverse",
     {{"s", "m^2", "0", "a*b*sin(g)/2"}, {"a", "m", "0", "2*s/(b*sin(g))"}, {"b", "m", "0", "2*s/(a*sin(g))"},
      {"g", "^o", "0", "asin(2*s/(a*b))"}},
     true, ""},
    {"principal branch of a periodic inverse", {{"y", "", "0", "sin(x)"}, {"x", "rad", "0", "asin(y)"}}, true, ""},
    {"fixed constant kept", {{"w", "N", "0", "m*g"}, {"m", "kg", "0", "w/g"}, {"g", "m/s^2", "9.80665", "w/m"}},
     true, ""},
    {"only the first parameter calculable", {{"y", "", "0", "a*b+1"}, {"a", "", "0", ""}, {"b", "", "0", ""}},
     true, ""},
    {"large exponent, judged at full precision",
     {{"n", "", "0", "a*e^(b*40)"}, {"a", "", "0", "n/e^(b*40)"}, {"b", "", "0", "ln(n/a)/40"}}, true, ""},
    {"solved by the root finder", {{"y", "", "0", "a^3+a"}, {"a", "", "0", "fnRoot((x^3+x)/y-1,x,0,y+1)"}}, true, ""},

    // planted errors fail
    {"inverse with the wrong power",
     {{"k", "J", "0", "m*v^2/2"}, {"m", "kg", "0", "2*k/v^3"}, {"v", "m/s", "0", "sqrt(2*k/m)"}}, false,
     "m (parameter m) = "},
    {"seed without its factor 1/2",
     {{"k", "J", "0", "m*v^2"}, {"m", "kg", "0", "2*k/v^2"}, {"v", "m/s", "0", "sqrt(2*k/m)"}}, false,
     "leads back to k (parameter k)"},
    {"inverse without its root",
     {{"k", "J", "0", "m*v^2/2"}, {"m", "kg", "0", "2*k/v^2"}, {"v", "m/s", "0", "2*k/m"}}, false,
     "v (parameter v) = "},
    {"quotient upside down", {{"f", "N", "0", "m*a"}, {"m", "kg", "0", "a/f"}, {"a", "m/s^2", "0", "f/m"}}, false,
     "m (parameter m) = "},
    {"constant off in its fourth digit",
     {{"x", "m", "0", "t*299792458"}, {"t", "s", "0", "x/299800000"}}, false, "t (parameter t) = "},
    {"constant off in its eighth digit",
     {{"x", "m", "0", "t*299792458"}, {"t", "s", "0", "x/299792461"}}, false, "t (parameter t) = "},
    {"constant off in its twelfth digit, below the tolerance",
     {{"x", "m", "0", "t*299792458"}, {"t", "s", "0", "x/299792458.0003"}}, true, ""},
    {"degrees converted twice",
     {{"y", "", "0", "sin(g)"}, {"g", "^o", "0", "asin(y)*180/pi"}}, false, "g (parameter g) = "},
    {"expression reads its own parameter", {{"y", "", "0", "a*y"}, {"a", "", "0", "y"}}, false, "Syntax error"},
    {"seed never real", {{"y", "", "0", "sqrt(-a)"}, {"a", "", "0", "-y^2"}}, false, "never evaluates y"},
    {"inverse never real", {{"y", "", "0", "a^2"}, {"a", "", "0", "sqrt(-y)"}}, false,
     "a (parameter a) "},
    {"root finder on another equation",
     {{"y", "", "0", "a^3+a"}, {"a", "", "0", "fnRoot((x^3+2*x)/y-1,x,0,y+1)"}}, false, "a (parameter a) = "},
};

class RoundTripCaseTest : public ::testing::TestWithParam<ROUND_TRIP_CASE> {};

TEST_P(RoundTripCaseTest, Verdict)
{
    const ROUND_TRIP_CASE& c = GetParam();
    ROUND_TRIP_VERDICT verdict = VerifyRoundTrip(MakeDetail(c.vecParams), FormulaSeed("test", c.pszWhat));
    EXPECT_EQ(verdict.m_bPassed, c.bPasses) << c.pszWhat << ": " << verdict.m_strProblem;
    if (!c.bPasses) {
        EXPECT_NE(verdict.m_strProblem.find(c.pszProblem), std::string::npos) << verdict.m_strProblem;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundTripCaseTest, ::testing::ValuesIn(mg_arrRoundTripCases),
                         [](const ::testing::TestParamInfo<ROUND_TRIP_CASE>& info) {
                             std::string strName;
                             for (const char* p = info.param.pszWhat; *p; ++p) {
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     strName += *p;
                             }
                             return strName;
                         });

TEST(BookVerifierTest, SameSeedSameVerdict)
{
    // A failure must be reproducible: the draws depend only on the seed.
    _tag_formula_detail det = MakeDetail({{"y", "", "0", "sqrt(a-1)"}, {"a", "", "0", "y^2+1"}});
    ROUND_TRIP_VERDICT first = VerifyRoundTrip(det, 42);
    ROUND_TRIP_VERDICT second = VerifyRoundTrip(det, 42);
    EXPECT_TRUE(first.m_bPassed) << first.m_strProblem;
    EXPECT_EQ(first.m_nAttempts, second.m_nAttempts);
    EXPECT_GT(first.m_nAttempts, 0);
}

// ---- Lint of parameters and expressions -------------------------------------------

struct LINT_CASE {
    const char* pszWhat;
    std::vector<PARAM_ROW> vecParams;
    const char* pszProblem;  // "" when the detail is clean
};

const LINT_CASE mg_arrLintCases[] = {
    {"clean", {{"u", "V", "0", "r*i"}, {"r", "", "0", "u/i"}, {"i", "A", "0", "u/r"}}, ""},
    {"function names are no aliases", {{"y", "", "0", "sqrt(abs(sin(x)))+ln(x)*pi+e^(x)"}, {"x", "", "0", ""}},
     ""},
    {"stray e reads as a constant", {{"y", "", "0", "x*e"}, {"x", "", "0", "y/e"}}, "uses the letter e"},
    {"stray i reads as the imaginary unit", {{"y", "", "0", "2*x"}, {"x", "", "0", "y/2+i"}}, "uses the letter i"},
    {"own alias", {{"y", "", "0", "x+y"}, {"x", "", "0", "y"}}, "uses its own alias"},
    {"aliases equal ignoring case", {{"y", "", "0", "x"}, {"Y", "", "0", "y"}}, "used twice"},
    {"alias of two letters", {{"y", "", "0", "xx"}, {"xx", "", "0", "y"}}, "not one letter"},
    {"exp is no exponential", {{"y", "", "0", "exp(x)"}, {"x", "", "0", "ln(y)"}}, "two-operand"},
    {"nothing to calculate", {{"y", "", "0", ""}, {"x", "", "0", ""}}, "no parameter can be calculated"},
    {"hyperbolic function with a degree unit", {{"y", "", "0", "sinh(x)"}, {"x", "^o", "0", "asinh(y)"}},
     "hyperbolic function"},
    {"hyperbolic function in radians", {{"y", "", "0", "sinh(x)"}, {"x", "", "0", "asinh(y)"}}, ""},
    {"abs followed by a term", {{"y", "", "0", "abs(x)+1"}, {"x", "", "0", "y-1"}}, "(abs(...))"},
    {"abs closing its group", {{"y", "", "0", "(abs(x))+1"}, {"x", "", "0", "2*abs(y-1)"}}, ""},
    {"alias e before a power", {{"y", "", "0", "e^2"}, {"e", "", "0", "sqrt(y)"}}, "Euler's number"},
    {"pi beside aliases p and i", {{"y", "", "0", "pi*p*i"}, {"p", "", "0", "y/(pi*i)"}, {"i", "", "0", "y/(pi*p)"}},
     ""},
    // a root finder's variable is a letter of its own inside its expression
    {"root finder's variable", {{"y", "", "0", "a^3+a"}, {"a", "", "0", "fnRoot((x^3+x)/y-1,x,0,y+1)"}}, ""},
    {"root finder's variable is an alias",
     {{"y", "", "0", "a^3+b"}, {"a", "", "0", "fnRoot((b^3+b)/y-1,b,0,y)"}, {"b", "", "0", "y-a^3"}},
     "the variable b of a built-in call is an alias"},
    {"root finder's variable outside its expression",
     {{"y", "", "0", "a^3+a"}, {"a", "", "0", "fnRoot((x^3+x)/y-1,x,0,y+1)+x"}}, "uses the letter x"},
};

TEST(BookVerifierTest, LintFindsWhatNoDrawIsNeededFor)
{
    for (const LINT_CASE& c : mg_arrLintCases) {
        std::vector<std::string> vecProblems = LintCalculableDetail(MakeDetail(c.vecParams));
        std::string strAll;
        for (const std::string& p : vecProblems)
            strAll += p + "; ";
        if (*c.pszProblem == '\0')
            EXPECT_TRUE(vecProblems.empty()) << c.pszWhat << ": " << strAll;
        else
            EXPECT_NE(strAll.find(c.pszProblem), std::string::npos) << c.pszWhat << ": " << strAll;
    }
}

TEST(BookVerifierTest, ExpressionListShorterThanTheParameters)
{
    _tag_formula_detail det = MakeDetail({{"y", "", "0", "2*x"}, {"x", "", "0", "y/2"}});
    det.m_vecCalcFormulas.pop_back();
    std::vector<std::string> vecProblems = LintCalculableDetail(det);
    ASSERT_FALSE(vecProblems.empty());
    EXPECT_NE(vecProblems.front().find("1 calculation expressions for 2 parameters"), std::string::npos);
}

// ---- Planted errors in copies of shipped formulas -------------------------------------

std::string ReadBookText(const std::string& strBook)
{
    std::ifstream in(std::filesystem::path(CALCUDEX_BOOKS_SOURCE) / (strBook + ".txt"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The record of the formula with this name, from its "***" to its "Image" line.
std::string FormulaRecord(const std::string& strBookText, const std::string& strName)
{
    size_t nName = strBookText.find("ForName=" + strName + "\n");
    if (nName == std::string::npos)
        nName = strBookText.find("ForName=" + strName + "\r\n");
    if (nName == std::string::npos)
        return {};
    size_t nStart = strBookText.rfind("***", nName);
    size_t nEnd = strBookText.find("Image=", nName);
    if (nStart == std::string::npos || nEnd == std::string::npos)
        return {};
    return strBookText.substr(nStart, strBookText.find('\n', nEnd) - nStart);
}

struct PLANT_CASE {
    const char* pszBook;
    const char* pszName;
    const char* pszFrom;  // text of the For line to replace; "" for the untouched copy
    const char* pszTo;
    bool bPasses;
};

const PLANT_CASE mg_arrPlantCases[] = {
    // untouched copies pass
    {"Math", "Heron's formula", "", "", true},
    {"Dynamics and Mechanics", "Kinetic energy", "", "", true},
    {"Optics", "Snell's law", "", "", true},
    {"Thermodynamics", "Ideal gas law", "", "", true},
    // one wrong term in a side of Heron's formula
    {"Math", "Heron's formula", "sqrt(b^2+c^2-2*sqrt(b^2*c^2-4*s^2))", "sqrt(b^2+c^2-2*sqrt(b^2*c^2-4*s))", false},
    // the other branch of the outer root is another triangle with the same
    // area and passes; a lost factor 2 does not
    {"Math", "Heron's formula", "sqrt(a^2+c^2-2*sqrt(a^2*c^2-4*s^2))", "sqrt(a^2+c^2+2*sqrt(a^2*c^2-4*s^2))", true},
    {"Math", "Heron's formula", "sqrt(a^2+c^2-2*sqrt(a^2*c^2-4*s^2))", "sqrt(a^2+c^2-sqrt(a^2*c^2-4*s^2))", false},
    // mass from kinetic energy without the factor 2
    {"Dynamics and Mechanics", "Kinetic energy", "\"2*k/v^2\"", "\"k/v^2\"", false},
    // the two media swapped in one inverse
    {"Optics", "Snell's law", "asin(b*sin(y)/a)", "asin(a*sin(y)/b)", false},
    // a gas constant mistyped in one expression
    {"Thermodynamics", "Ideal gas law", "p*v/(8.31446261815324*t)", "p*v/(8.31464261815324*t)", false},
};

TEST(BookVerifierTest, PlantedErrorsInShippedFormulasAreCaught)
{
    for (const PLANT_CASE& c : mg_arrPlantCases) {
        std::string strRecord = FormulaRecord(ReadBookText(c.pszBook), c.pszName);
        ASSERT_FALSE(strRecord.empty()) << c.pszBook << ": no formula " << c.pszName;
        const bool bPlanted = *c.pszFrom != '\0';
        if (bPlanted) {
            size_t nAt = strRecord.find(c.pszFrom);
            ASSERT_NE(nAt, std::string::npos) << c.pszName << " no longer holds " << c.pszFrom;
            strRecord.replace(nAt, std::string(c.pszFrom).size(), c.pszTo);
        }
        _tag_formula_detail det;
        ASSERT_TRUE(DetailFromFormulaText(strRecord, det)) << strRecord;
        ROUND_TRIP_VERDICT verdict = VerifyRoundTrip(det, FormulaSeed(c.pszBook, c.pszName));
        EXPECT_EQ(verdict.m_bPassed, c.bPasses)
            << c.pszBook << " " << c.pszName << (bPlanted ? " with " : "") << c.pszTo << ": "
            << verdict.m_strProblem;
    }
}

}  // namespace
