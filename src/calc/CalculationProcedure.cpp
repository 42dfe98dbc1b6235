#include "calc/CalculationProcedure.h"

#include "storage/common_dstring.h"

const char* const CALC_ALERT_TITLE = "Warning!";
const char* const CALC_ALERT_BUTTON = "OK";
const char* const CALC_MSG_CHECK_FIELD = "Please check the field you want to calculate.";
const char* const CALC_MSG_NOT_SUPPORTED = "Not support calculation of this field.";
const char* const CALC_MSG_FILL_IN = "Please fill-in all the input parameter(s).";
const char* const CALC_MSG_INVALID_PARAMS = "Invalid parameter(s)!";

const char* const g_arrFunctions[] = {
    "log(", "ln(", "e^", "sqrt(", "pi",
    "asinh(", "acosh(", "atanh(", "asin(", "acos(", "atan(",
    "sinh(", "cosh(", "tanh(", "sin(", "cos(", "tan(",
    "abs(", "exp", " mod ",
    "THE END.",
};

namespace {

// The engine's built-ins of several arguments. A formula's expression is
// lower-cased before its aliases are replaced, so without protection their
// letters would be taken for aliases, and the engine reads them only in their
// own spelling (fnRoot, not fnroot): they are protected like the functions
// above and restored to that spelling.
const char* const mg_arrEngineBuiltins[] = {
    "fnRoot(", "fnInt(", "fnDeriv(", "fnEval(", "fnSum(", "fnProduct(",
    "ncr(", "npr(", "gcd(", "lcm(", "fib(",
};

bool IsEndMarker(const char* pszName)
{
    return std::string(pszName) == "THE END.";
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

CALC_TEXT Refuse(const char* pszMessage, int nScrollRow = -1)
{
    CALC_TEXT out;
    out.strMessage = pszMessage;
    out.nScrollRow = nScrollRow;
    return out;
}

}  // namespace

std::string ProtectFunctionNames(const std::string& strText)
{
    std::string s = strText;
    for (const char* pszName : mg_arrEngineBuiltins)
        s = common::string_replace(s, common::toLower(pszName), common::toUpper(pszName));
    for (int k = 0; !IsEndMarker(g_arrFunctions[k]); ++k)
        s = common::string_replace(s, g_arrFunctions[k], common::toUpper(g_arrFunctions[k]));
    return s;
}

std::string RestoreFunctionNames(const std::string& strText)
{
    std::string s = strText;
    for (int k = 0; !IsEndMarker(g_arrFunctions[k]); ++k)
        s = common::string_replace(s, common::toUpper(g_arrFunctions[k]), g_arrFunctions[k]);
    for (const char* pszName : mg_arrEngineBuiltins)
        s = common::string_replace(s, common::toUpper(pszName), pszName);
    return s;
}

bool IsDegreeUnit(const std::string& strUnit)
{
    std::string unit = common::toLower(strUnit);
    return unit == "^o" || unit == "^0";
}

bool IsUsableAlias(const std::string& strAlias)
{
    return strAlias.size() == 1 && IsAsciiLetter(strAlias[0]);
}

bool CanCalculateParameter(const _tag_formula_detail& det, int nIndex)
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) < det.m_vecCalcFormulas.size() &&
           !det.m_vecCalcFormulas[static_cast<size_t>(nIndex)].empty();
}

int CountCalculableParameters(const _tag_formula_detail& det)
{
    int nCount = 0;
    for (const std::string& strExpr : det.m_vecCalcFormulas) {
        if (!strExpr.empty())
            ++nCount;
    }
    return nCount;
}

int checkParametersValid(const std::vector<std::string>& vecParams, int nCalcIndex, int nParamCount)
{
    for (int i = 0; i < nParamCount; ++i) {
        if (i == nCalcIndex)
            continue;
        if (static_cast<size_t>(i) >= vecParams.size() || vecParams[static_cast<size_t>(i)].empty())
            return i;
    }
    return -1;
}

CALC_TEXT BuildCalculationText(const _tag_formula_detail& det, int nCalcIndex,
                               const std::vector<std::string>& vecParams)
{
    int nParamCount = static_cast<int>(det.m_nParamCount);
    if (nParamCount > MAX_FORMULA_PARAMS)
        nParamCount = MAX_FORMULA_PARAMS;

    // Only a shown row can be ticked, and its expression entry must exist.
    if (nCalcIndex < 0 || nCalcIndex >= nParamCount ||
        static_cast<size_t>(nCalcIndex) >= det.m_vecCalcFormulas.size())
        return Refuse(CALC_MSG_CHECK_FIELD);

    std::string strExpr = common::toLower(det.m_vecCalcFormulas[static_cast<size_t>(nCalcIndex)]);
    if (strExpr.empty())
        return Refuse(CALC_MSG_NOT_SUPPORTED);

    int nEmptyRow = checkParametersValid(vecParams, nCalcIndex, nParamCount);
    if (nEmptyRow >= 0)
        return Refuse(CALC_MSG_FILL_IN, nEmptyRow);

    // Lower case marks what is still to be substituted; function names and
    // inserted values are upper case until the names are restored.
    strExpr = ProtectFunctionNames(strExpr);

    CALC_TEXT out;
    out.nAngleMode = 1;
    for (int i = 0; i < nParamCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[static_cast<size_t>(i)];
        if (IsDegreeUnit(param.m_strUnit))
            out.nAngleMode = 0;

        // A parameter whose alias is not one letter, or whose alias would
        // reappear in its own replacement, cannot be substituted until none is
        // left; such hand-written book data is refused instead of looping.
        std::string strAlias = common::toLower(param.m_strAlias);
        std::string strValue = static_cast<size_t>(i) < vecParams.size() ? vecParams[static_cast<size_t>(i)] : "";
        std::string strReplacement = "(" + common::toUpper(strValue) + ")";
        if (!IsUsableAlias(strAlias) || strReplacement.find(strAlias) != std::string::npos)
            return Refuse(CALC_MSG_NOT_SUPPORTED);
        strExpr = common::string_replace(strExpr, strAlias, strReplacement);
    }

    strExpr = RestoreFunctionNames(strExpr);
    // Adjacent parameters multiply: the expression ab reads (2)(3).
    strExpr = common::string_replace(strExpr, ")(", ")*(");

    out.bSuccess = true;
    out.strText = strExpr;
    return out;
}
