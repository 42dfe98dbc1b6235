#include "editor/FormulaWizard.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "calc/CalculationProcedure.h"
#include "editor/FormulaWriter.h"
#include "engine/EngineState.h"
#include "engine/ExprStandardize.h"
#include "engine/IntegerFunctions.h"
#include "numerics/qlib.h"
#include "storage/common_dstring.h"

const char* const g_arrSymbols[SYMBOL_COUNT] = {
    "\xCE\xB1", "\xCE\xB2", "\xCE\xB3", "\xCE\xB5", "\xCE\xB7", "\xCE\xB8", "\xCE\xBB", "\xCE\xBC",
    "\xCE\xBD", "\xCF\x81", "\xCF\x83", "\xCF\x84", "\xCF\x85", "\xCF\x86", "\xCF\x88", "\xCF\x89",
};

const char* const WIZARD_ALERT_TITLE = "Warning!";
const char* const WIZARD_ALERT_BUTTON = "OK";
const char* const WIZARD_MSG_EMPTY_NAME = "Formula's name must not be empty.";
const char* const WIZARD_MSG_CALCULABLE_COUNT =
    "Number of parameters (of calculable formula) must be in range 1..10";
const char* const WIZARD_MSG_THEORY_COUNT =
    "Number of parameters (of theory) must be zero (you can leave it blank).";
const char* const WIZARD_MSG_PARAM_EMPTY_NAME = "Parameter %d:\nName must not be empty.";
const char* const WIZARD_MSG_PARAM_EMPTY_ALIAS = "Parameter %d:\nAlias must not be empty.";
const char* const WIZARD_MSG_PARAM_BAD_ALIAS =
    "Parameter %d:\nAlias accepts only one character in range a..z, A..Z";
const char* const WIZARD_MSG_PARAM_SAME_ALIAS = "Parameter %d:\nAlias is already used by parameter %d.";
const char* const WIZARD_MSG_PARAM_EMPTY_FORMULA = "Parameter %d:\nCalculate formula must not be empty.";
const char* const WIZARD_MSG_PARAM_INCALCULABLE = "Parameter %d:\nCalculate formula is incalculable.";
const char* const WIZARD_MSG_PARAM_INVALID_FORMULA = "Parameter %d:\nInvalid formula to calculate.";
const char* const WIZARD_MSG_NAME_TOO_DEEP =
    "Formula's name may have at most 3 folders (Folder/Folder/Folder/Name).";
const char* const WIZARD_MSG_SAVE_FAILED = "Failed to save the formula!";
const char* const WIZARD_MSG_OUT_OF_RANGE = "Out of range of parameters.\nAccept numbers 0..10 only.";

namespace {

const char* const FORM_TRIM = " \r\n\t";

constexpr int TEST_ATTEMPTS = 50;

bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The engine evaluates texts of at most this many bytes.
constexpr std::size_t ENGINE_TEXT_LIMIT = 4095;

std::string FormatMessage(const char* pszFormat, int nFirst, int nSecond = 0)
{
    char szMessage[256];
    std::snprintf(szMessage, sizeof szMessage, pszFormat, nFirst, nSecond);
    return szMessage;
}

bool Refuse(std::string& strMessage, std::string strText)
{
    strMessage = std::move(strText);
    return false;
}

// A random value in [0, 1) from the engine's RAN, which the calculation's
// built-in functions use too.
double DrawUnit()
{
    qreal zero;
    qreal one;
    double dbZero = 0.0;
    double dbOne = 1.0;
    etoq(&dbZero, zero);
    etoq(&dbOne, one);
    qcmplx value = RAN(zero, one);
    double dbValue = 0.0;
    qtoe(value.r, &dbValue);
    return dbValue;
}

// One value for a placeholder in attempt nAttempt: from [0, 50) first, then
// shaped by the attempt's group so that negative values, whole numbers,
// values around zero, fractions and large values each get their turn.
double DrawTestValue(int nAttempt)
{
    // Reseeded from two draws each time; unsigned, so the product wraps
    // instead of overflowing.
    const unsigned uSeed = static_cast<unsigned>(std::rand()) * static_cast<unsigned>(std::rand());
    std::srand(uSeed);
    double v = DrawUnit();
    v += static_cast<double>(static_cast<long long>(v * 1000) % 50);
    if (nAttempt <= 10) {
        v = -v;
    } else if (nAttempt <= 20) {
        v = std::trunc(v);
    } else if (nAttempt <= 30) {
        v = DrawUnit();
        v -= static_cast<double>(static_cast<long long>(v * 1000) % 5);
    } else if (nAttempt <= 40) {
        v = DrawUnit();
    } else {
        v = DrawUnit() * static_cast<double>(std::rand());
    }
    return v;
}

}  // namespace

// ---- Reading the pages --------------------------------------------------------

std::string trimFormText(const std::string& strText)
{
    std::string s = common::string_trim(strText, FORM_TRIM);
    for (char& c : s) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return s;
}

void splitParameterField(const std::string& strField, std::string& strName, std::string& strDescription)
{
    const std::size_t nDash = strField.find('-');
    if (nDash == std::string::npos) {
        strName = trimFormText(strField);
        strDescription.clear();
        return;
    }
    strName = trimFormText(strField.substr(0, nDash));
    strDescription = trimFormText(strField.substr(nDash + 1));
}

std::string joinParameterField(const std::string& strName, const std::string& strDescription)
{
    if (strDescription.empty())
        return strName;
    return strName + " - " + strDescription;
}

std::string filterAliasText(const std::string& strText)
{
    std::string s = strText;
    while (!s.empty() && (s.size() > 1 || !IsAsciiLetter(static_cast<unsigned char>(s.back())))) {
        // Drop the whole last UTF-8 sequence: its continuation bytes, then its lead byte.
        while (s.size() > 1 && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80)
            s.pop_back();
        s.pop_back();
    }
    return s;
}

int parseParameterCount(const std::string& strField)
{
    const std::string s = common::string_trim(strField, FORM_TRIM);
    long long nCount = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        nCount = nCount * 10 + (c - '0');
        if (nCount >= WIZARD_COUNT_TOO_LARGE)
            return WIZARD_COUNT_TOO_LARGE;
    }
    return static_cast<int>(nCount);
}

// ---- Pages and Done -----------------------------------------------------------

int contextHelpIdForPage(int nPage)
{
    if (nPage < 0)
        return 0;
    return nPage > 3 ? 3 : nPage;
}

bool isDoneEnabled(int nPage, int nPageCount, int nFormulaType)
{
    if (nPage != nPageCount - 1)
        return false;
    return !(nPageCount == WIZARD_FIRST_PARAMETER_PAGE && nFormulaType == FORMULA_TYPE_CALCULABLE);
}

// ---- Checking ------------------------------------------------------------------

std::string getAllAlias(const std::vector<FORM4_INFO>& arrForm4)
{
    std::string strAll;
    for (const FORM4_INFO& form : arrForm4)
        strAll += form.m_strAlias;
    return strAll;
}

std::string getParametersFromExpression(const std::string& strExpression, std::string& strTestExpression,
                                        std::vector<std::string>& arrParameters)
{
    // The same reading as the calculation: lower case, function names kept.
    const std::string strText = ProtectFunctionNames(common::toLower(strExpression));

    std::string strLetters;
    std::string strDistinct;
    for (char c : strText) {
        if (c >= 'a' && c <= 'z') {
            strLetters += c;
            if (strDistinct.find(c) == std::string::npos)
                strDistinct += c;
        }
    }

    strTestExpression.clear();
    arrParameters.clear();
    if (strDistinct.size() > static_cast<std::size_t>(SYMBOL_COUNT))
        return strLetters;

    std::string strTest;
    for (char c : strText) {
        const std::size_t nIndex = strDistinct.find(c);
        if (c >= 'a' && c <= 'z' && nIndex != std::string::npos)
            strTest += g_arrSymbols[nIndex];
        else
            strTest += c;
    }
    strTest = RestoreFunctionNames(strTest);
    strTestExpression = common::string_replace(strTest, ")(", ")*(");
    for (std::size_t k = 0; k < strDistinct.size(); ++k)
        arrParameters.push_back(g_arrSymbols[k]);
    return strLetters;
}

bool isMacroValid(const std::string& strTestExpression, const std::vector<std::string>& arrParameters)
{
    if (strTestExpression.empty())
        return false;
    for (int nAttempt = 0; nAttempt < TEST_ATTEMPTS; ++nAttempt) {
        std::string strText = strTestExpression;
        for (const std::string& strSymbol : arrParameters) {
            char szValue[64];
            std::snprintf(szValue, sizeof szValue, "(%.1lf)", DrawTestValue(nAttempt));
            strText = common::string_replace(strText, strSymbol, szValue);
        }
        // Values standing side by side multiply, as they do in the calculation.
        strText = common::string_replace(strText, ")(", ")*(");
        if (strText.size() > ENGINE_TEXT_LIMIT)
            return false;
        ClearErrorCode();
        ExprEval(strText.c_str(), 0, 10);
        if (GetErrorCode() == 0)
            return true;
    }
    return false;
}

bool checkFormulaInfo(const FORMULA_WIZARD_INFO& info, bool bNameIsFolderPath, std::string& strMessage)
{
    strMessage.clear();
    const FORM1_INFO& form1 = info.m_form1;
    if (form1.m_strName.empty())
        return Refuse(strMessage, WIZARD_MSG_EMPTY_NAME);
    if (bNameIsFolderPath) {
        // "Mechanics/" would make a formula without a name, and ids hold
        // four levels: deeper formulas would share their numeric id.
        std::vector<std::string> arrParts;
        parseFormulaName(form1.m_strName, arrParts);
        if (arrParts.empty() || common::string_trim(arrParts.back(), FORM_TRIM).empty())
            return Refuse(strMessage, WIZARD_MSG_EMPTY_NAME);
        if (arrParts.size() > static_cast<std::size_t>(MAX_FORMULA_ID_DEPTH))
            return Refuse(strMessage, WIZARD_MSG_NAME_TOO_DEEP);
    }

    if (form1.m_nType == FORMULA_TYPE_CALCULABLE) {
        if (info.m_nParamCount < 1 || info.m_nParamCount > WIZARD_MAX_PARAMETERS)
            return Refuse(strMessage, WIZARD_MSG_CALCULABLE_COUNT);
    } else if (info.m_nParamCount != 0) {
        return Refuse(strMessage, WIZARD_MSG_THEORY_COUNT);
    }

    const std::string strAllAliases = common::toLower(getAllAlias(info.m_arrForm4));
    for (std::size_t i = 0; i < info.m_arrForm4.size(); ++i) {
        const FORM4_INFO& form = info.m_arrForm4[i];
        const int nNumber = static_cast<int>(i) + 1;
        if (form.m_strName.empty())
            return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_EMPTY_NAME, nNumber));
        if (form.m_strAlias.empty())
            return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_EMPTY_ALIAS, nNumber));
        if (!IsUsableAlias(form.m_strAlias))
            return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_BAD_ALIAS, nNumber));
        // Two parameters with one alias would both receive the first one's value.
        for (std::size_t j = 0; j < i; ++j) {
            if (common::toLower(info.m_arrForm4[j].m_strAlias) == common::toLower(form.m_strAlias))
                return Refuse(strMessage,
                              FormatMessage(WIZARD_MSG_PARAM_SAME_ALIAS, nNumber, static_cast<int>(j) + 1));
        }

        std::string strLetters;
        if (form.m_bCalculable) {
            if (form.m_strFormula.empty())
                return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_EMPTY_FORMULA, nNumber));
            std::string strTest;
            std::vector<std::string> arrPlaceholders;
            strLetters = getParametersFromExpression(form.m_strFormula, strTest, arrPlaceholders);
            if (!isMacroValid(strTest, arrPlaceholders))
                return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_INCALCULABLE, nNumber));
        }

        const char chOwn = static_cast<char>(common::toLower(form.m_strAlias)[0]);
        for (char c : strLetters) {
            if (c == chOwn || strAllAliases.find(c) == std::string::npos)
                return Refuse(strMessage, FormatMessage(WIZARD_MSG_PARAM_INVALID_FORMULA, nNumber));
        }
    }
    return true;
}
