// The wizard's checks on Done, the test evaluation of calculation
// expressions, and how the pages' texts are read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/FormulaWizard.h"
#include "ui/UIPaging.h"

namespace {

FORM4_INFO Param(const char* pszName, const char* pszAlias, const char* pszFormula, bool bCalculable = true)
{
    FORM4_INFO form;
    form.m_strName = pszName;
    form.m_strAlias = pszAlias;
    form.m_bCalculable = bCalculable;
    form.m_strFormula = bCalculable ? pszFormula : "";
    return form;
}

// A calculable formula with the given parameters (Step 3 = their number).
FORMULA_WIZARD_INFO Calculable(std::vector<FORM4_INFO> params, const char* pszName = "Force")
{
    FORMULA_WIZARD_INFO info;
    info.m_form1.m_strName = pszName;
    info.m_form1.m_nType = FORMULA_TYPE_CALCULABLE;
    info.m_nParamCount = static_cast<int>(params.size());
    info.m_arrForm4 = std::move(params);
    return info;
}

FORMULA_WIZARD_INFO Theory(int nCount, const char* pszName = "Kirchhoff")
{
    FORMULA_WIZARD_INFO info;
    info.m_form1.m_strName = pszName;
    info.m_form1.m_nType = FORMULA_TYPE_THEORY;
    info.m_nParamCount = nCount;
    return info;
}

std::string Check(const FORMULA_WIZARD_INFO& info, bool bFolderPath = true)
{
    std::string strMessage;
    const bool bValid = checkFormulaInfo(info, bFolderPath, strMessage);
    EXPECT_EQ(bValid, strMessage.empty());
    return strMessage;
}

// F = m a with aliases f, m, a.
std::vector<FORM4_INFO> ForceParams()
{
    return {Param("F", "f", "m*a"), Param("m", "m", "f/a"), Param("a", "a", "f/m")};
}

}  // namespace

// ---- Checks on Done, in the order they are made ---------------------------------

TEST(CheckFormulaInfo, MessagesInOrder)
{
    const struct {
        const char* pszWhat;
        FORMULA_WIZARD_INFO info;
        const char* pszMessage;
    } kCases[] = {
        // Step 1
        {"valid calculable formula", Calculable(ForceParams()), ""},
        {"empty name", Calculable(ForceParams(), ""), "Formula's name must not be empty."},
        {"folder path without a name", Calculable(ForceParams(), "Mechanics/"), "Formula's name must not be empty."},
        {"three folders", Calculable(ForceParams(), "A/B/C/Force"), ""},
        {"four folders", Calculable(ForceParams(), "A/B/C/D/Force"),
         "Formula's name may have at most 3 folders (Folder/Folder/Folder/Name)."},
        // Step 3
        {"calculable without parameters", Calculable({}), "Number of parameters (of calculable formula) must be in range 1..10"},
        {"theory with an empty count", Theory(0), ""},
        {"theory with two parameters", Theory(2), "Number of parameters (of theory) must be zero (you can leave it blank)."},
        // Step 4, the first failing page wins
        {"parameter without a name", Calculable({Param("F", "f", "m"), Param("", "m", "f")}),
         "Parameter 2:\nName must not be empty."},
        {"parameter without an alias", Calculable({Param("F", "", "m")}), "Parameter 1:\nAlias must not be empty."},
        {"earlier page wins", Calculable({Param("", "f", "m"), Param("m", "", "f")}), "Parameter 1:\nName must not be empty."},
        {"alias of two letters", Calculable({Param("F", "fo", "m"), Param("m", "m", "f")}),
         "Parameter 1:\nAlias accepts only one character in range a..z, A..Z"},
        {"alias that is a digit", Calculable({Param("F", "1", "m")}),
         "Parameter 1:\nAlias accepts only one character in range a..z, A..Z"},
        {"alias that is not ASCII", Calculable({Param("F", "\xC3\xA9", "m")}),
         "Parameter 1:\nAlias accepts only one character in range a..z, A..Z"},
        {"alias used twice, other case", Calculable({Param("F", "f", "g"), Param("G", "g", "f"), Param("H", "F", "f")}),
         "Parameter 3:\nAlias is already used by parameter 1."},
        {"calculable without expression", Calculable({Param("F", "f", ""), Param("m", "m", "f")}),
         "Parameter 1:\nCalculate formula must not be empty."},
        {"division by zero everywhere", Calculable({Param("a", "a", "b/(c-c)"), Param("b", "b", "", false), Param("c", "c", "", false)}),
         "Parameter 1:\nCalculate formula is incalculable."},
        {"syntax error", Calculable({Param("a", "a", "b+*"), Param("b", "b", "a")}), "Parameter 1:\nCalculate formula is incalculable."},
        {"own alias", Calculable({Param("a", "a", "a*b"), Param("b", "b", "a")}), "Parameter 1:\nInvalid formula to calculate."},
        {"own alias in capitals", Calculable({Param("a", "a", "A*b"), Param("b", "b", "a")}),
         "Parameter 1:\nInvalid formula to calculate."},
        {"letter that is no alias", Calculable({Param("a", "a", "b*z"), Param("b", "b", "a")}),
         "Parameter 1:\nInvalid formula to calculate."},
        // What the expressions may use
        {"not calculable without expression", Calculable({Param("a", "a", "b"), Param("b", "b", "", false)}), ""},
        {"functions are no aliases", Calculable({Param("a", "a", "sin(b)+sqrt(c)*pi"), Param("b", "b", "", false), Param("c", "c", "", false)}), ""},
        {"exponential", Calculable({Param("a", "a", "e^(b)"), Param("b", "b", "ln(a)")}), ""},
        {"side by side aliases multiply", Calculable({Param("a", "a", "bc"), Param("b", "b", "a/c"), Param("c", "c", "a/b")}), ""},
        {"square root needs positive values", Calculable({Param("a", "a", "sqrt(b)"), Param("b", "b", "a^2")}), ""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Check(c.info), c.pszMessage) << c.pszWhat;
}

TEST(CheckFormulaInfo, NameIsAPathOnlyWhereItIsWrittenAsOne)
{
    // Editing a formula in place keeps its name as typed, slashes included.
    EXPECT_EQ(Check(Calculable(ForceParams(), "A/B/C/D/Force"), false), "");
    EXPECT_EQ(Check(Calculable(ForceParams(), "Force/"), false), "");
}

// ---- Alias letters and the test expression ----------------------------------------

TEST(GetParametersFromExpression, LettersAndPlaceholders)
{
    const std::string a = g_arrSymbols[0];
    const std::string b = g_arrSymbols[1];
    const std::string c = g_arrSymbols[2];
    const struct {
        const char* pszExpression;
        const char* pszLetters;
        std::string strTest;
        std::size_t nPlaceholders;
    } kCases[] = {
        {"(a+c)/(a*c^2)", "acac", "(" + a + "+" + b + ")/(" + a + "*" + b + "^2)", 2},
        {"sin(x)+pi", "x", "sin(" + a + ")+pi", 1},
        {"AB", "ab", a + b, 2},
        {"e^(k)*ln(k)", "kk", "e^(" + a + ")*ln(" + a + ")", 1},
        {"(a)(b)", "ab", "(" + a + ")*(" + b + ")", 2},
        {"2*b+c*a", "bca", "2*" + a + "+" + b + "*" + c, 3},
        {"3.5", "", "3.5", 0},
    };
    for (const auto& k : kCases) {
        std::string strTest;
        std::vector<std::string> arrPlaceholders;
        EXPECT_EQ(getParametersFromExpression(k.pszExpression, strTest, arrPlaceholders), k.pszLetters)
            << k.pszExpression;
        EXPECT_EQ(strTest, k.strTest) << k.pszExpression;
        ASSERT_EQ(arrPlaceholders.size(), k.nPlaceholders) << k.pszExpression;
        for (std::size_t i = 0; i < k.nPlaceholders; ++i)
            EXPECT_EQ(arrPlaceholders[i], g_arrSymbols[i]);
    }
}

TEST(GetParametersFromExpression, NeverMorePlaceholdersThanTheTable)
{
    // Sixteen letters fit, the seventeenth does not: nothing is taken from beyond the table.
    std::string strTest;
    std::vector<std::string> arrPlaceholders;
    getParametersFromExpression("a+b+c+d+f+g+h+j+k+l+m+n+o+q+r+s", strTest, arrPlaceholders);
    EXPECT_EQ(arrPlaceholders.size(), 16u);
    EXPECT_EQ(getParametersFromExpression("a+b+c+d+f+g+h+j+k+l+m+n+o+q+r+s+u", strTest, arrPlaceholders),
              "abcdfghjklmnoqrsu");
    EXPECT_TRUE(strTest.empty());
    EXPECT_TRUE(arrPlaceholders.empty());
    EXPECT_FALSE(isMacroValid(strTest, arrPlaceholders));
    // Repeats of one letter need one placeholder only.
    getParametersFromExpression("a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+b", strTest, arrPlaceholders);
    EXPECT_EQ(arrPlaceholders.size(), 2u);
}

TEST(IsMacroValid, SomeAssignmentMustEvaluate)
{
    const std::string a = g_arrSymbols[0];
    const std::string b = g_arrSymbols[1];
    const struct {
        std::string strTest;
        std::vector<std::string> arrPlaceholders;
        bool bValid;
    } kCases[] = {
        {a + "/" + b, {a, b}, true},
        {a + "/(" + b + "-" + b + ")", {a, b}, false},
        {"ln(" + a + "-" + a + ")", {a}, false},
        {"sqrt(" + a + ")", {a}, true},
        {"asin(" + a + ")", {a}, true},   // only values in [-1, 1] work; some attempts draw them
        {a + "+", {a}, false},
        {"", {}, false},
        {"2+3", {}, true},
    };
    for (const auto& k : kCases)
        EXPECT_EQ(isMacroValid(k.strTest, k.arrPlaceholders), k.bValid) << k.strTest;
}

// ---- Reading the pages -------------------------------------------------------------

TEST(FormText, TrimAndLineBreaks)
{
    EXPECT_EQ(trimFormText(" \t Force \r\n"), "Force");
    EXPECT_EQ(trimFormText("two\nlines"), "two lines");
    EXPECT_EQ(trimFormText("a\r\nb"), "a  b");
    EXPECT_EQ(trimFormText(" \r\n\t "), "");
}

TEST(FormText, ParameterField)
{
    const struct {
        const char* pszField;
        const char* pszName;
        const char* pszDescription;
    } kCases[] = {
        {"Force - the applied force", "Force", "the applied force"},
        {"Force", "Force", ""},
        {"F-force", "F", "force"},
        {"E_k - kinetic - energy", "E_k", "kinetic - energy"},
        {" - only a description", "", "only a description"},
        {"v_0 -", "v_0", ""},
    };
    for (const auto& k : kCases) {
        std::string strName, strDescription;
        splitParameterField(k.pszField, strName, strDescription);
        EXPECT_EQ(strName, k.pszName) << k.pszField;
        EXPECT_EQ(strDescription, k.pszDescription) << k.pszField;
    }
    EXPECT_EQ(joinParameterField("Force", "the applied force"), "Force - the applied force");
    EXPECT_EQ(joinParameterField("Force", ""), "Force");
}

TEST(FormText, AliasKeepsOneLetter)
{
    const struct {
        const char* pszTyped;
        const char* pszKept;
    } kCases[] = {
        {"a", "a"}, {"Z", "Z"}, {"ab", "a"}, {"1", ""}, {"a1", "a"},
        {"\xC3\xA9", ""}, {"a\xC3\xA9", "a"}, {"", ""}, {" ", ""}, {"abc", "a"},
    };
    for (const auto& k : kCases)
        EXPECT_EQ(filterAliasText(k.pszTyped), k.pszKept) << k.pszTyped;
}

TEST(FormText, ParameterCount)
{
    const struct {
        const char* pszField;
        int nCount;
    } kCases[] = {
        {"", 0}, {"3", 3}, {" 10 ", 10}, {"007", 7}, {"11", 11}, {"4x", 4},
        {"99999999999999999999", WIZARD_COUNT_TOO_LARGE},
    };
    for (const auto& k : kCases)
        EXPECT_EQ(parseParameterCount(k.pszField), k.nCount) << k.pszField;
}

// ---- Pages and Done -----------------------------------------------------------------

TEST(WizardPages, PageAtOffsetAndHelpStep)
{
    const struct {
        double dbOffset;
        int nPage;
        int nHelpId;
    } kCases[] = {
        {0, 0, 0}, {159, 0, 0}, {160, 1, 1}, {320, 1, 1}, {640, 2, 2}, {960, 3, 3}, {1920, 6, 3}, {-10, 0, 0},
    };
    for (const auto& k : kCases) {
        EXPECT_EQ(pageAtOffset(k.dbOffset, 320), k.nPage) << k.dbOffset;
        EXPECT_EQ(contextHelpIdForPage(pageAtOffset(k.dbOffset, 320)), k.nHelpId) << k.dbOffset;
    }
}

TEST(WizardPages, DoneOnTheLastPageOnly)
{
    const struct {
        int nPage;
        int nPageCount;
        int nType;
        bool bEnabled;
    } kCases[] = {
        {2, 3, FORMULA_TYPE_THEORY, true},       // a theory formula ends at Step 3
        {2, 3, FORMULA_TYPE_CALCULABLE, false},  // a calculable one needs parameter pages
        {1, 3, FORMULA_TYPE_THEORY, false},
        {4, 5, FORMULA_TYPE_CALCULABLE, true},
        {3, 5, FORMULA_TYPE_CALCULABLE, false},
        {4, 5, FORMULA_TYPE_THEORY, true},
    };
    for (const auto& k : kCases)
        EXPECT_EQ(isDoneEnabled(k.nPage, k.nPageCount, k.nType), k.bEnabled) << k.nPage << "/" << k.nPageCount;
}
