#include "BookVerifier.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <sstream>

#include "calc/CalculationProcedure.h"
#include "engine/EngineState.h"
#include "engine/ExprStandardize.h"
#include "numerics/qlib.h"
#include "shell/Global.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"

namespace {

// ---- Ids ---------------------------------------------------------------------

// The components of a tree id (".3.2" -> 3, 2); false when the id is not a
// leading dot followed by dot-separated decimal numbers.
bool SplitTreeId(const std::string& strId, std::vector<long>& vecParts)
{
    vecParts.clear();
    if (strId.size() < 2 || strId[0] != '.')
        return false;
    long nValue = -1;
    for (size_t k = 1; k <= strId.size(); ++k) {
        char c = k < strId.size() ? strId[k] : '.';
        if (c == '.') {
            if (nValue < 0)
                return false;
            vecParts.push_back(nValue);
            nValue = -1;
        } else if (c >= '0' && c <= '9') {
            nValue = (nValue < 0 ? 0 : nValue) * 10 + (c - '0');
            if (nValue > 1000000)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::string Describe(const _fornode& node)
{
    return std::string(node.m_szNodeId) + " " + node.m_szNodeName;
}

// ---- Values as engine texts ---------------------------------------------------

// "mantissa*10^(exponent)", or the mantissa alone for exponent 0: the engine
// reads "1e-5" as 1e minus 5, so a power of ten is always written out.
std::string JoinPowerOfTen(std::string strMantissa, long nExponent)
{
    if (nExponent == 0)
        return strMantissa;
    return strMantissa + "*10^(" + std::to_string(nExponent) + ")";
}

std::string DoubleText(double dbValue)
{
    char szText[64];
    std::snprintf(szText, sizeof(szText), "%.14e", dbValue);
    const char* pExp = std::strchr(szText, 'e');
    if (!pExp)
        return szText;
    return JoinPowerOfTen(std::string(szText, static_cast<size_t>(pExp - szText)),
                          std::strtol(pExp + 1, nullptr, 10));
}

// Significant digits of a value fed back: far more than any well-posed book
// formula loses, fewer than the engine carries.
constexpr int FEED_DIGITS = 60;

std::string QrealText(const unsigned short* value)
{
    char szText[QASCLEN] = {};
    qtoascex(value, szText, FEED_DIGITS - 1);
    std::string strText = common::string_trim(szText, " ");
    size_t nE = strText.find('E');
    if (nE == std::string::npos)
        return strText;
    return JoinPowerOfTen(strText.substr(0, nE), std::strtol(strText.c_str() + nE + 1, nullptr, 10));
}

// |a - b| <= tolerance * max(|a|, |b|), in extended precision so that
// results far outside the range of double compare as well.
bool CloseEnough(const unsigned short* a, const unsigned short* b, double dbTolerance)
{
    qreal diff, absA, absB, limit, tol;
    qsub(a, b, diff);
    qabs(diff);
    qmov(a, absA);
    qabs(absA);
    qmov(b, absB);
    qabs(absB);
    etoq(&dbTolerance, tol);
    qmul(qcmp(absA, absB) >= 0 ? absA : absB, tol, limit);
    return qcmp(diff, limit) <= 0;
}

// An imaginary part that is rounding noise of a real result: below 1e-40
// of the real part.
bool NegligibleImaginary(const unsigned short* re, const unsigned short* im)
{
    qreal absRe, absIm, limit, tol;
    qmov(re, absRe);
    qabs(absRe);
    qmov(im, absIm);
    qabs(absIm);
    double dbTol = 1e-40;
    etoq(&dbTol, tol);
    qmul(absRe, tol, limit);
    return qcmp(absIm, limit) <= 0;
}

std::string ShortText(const unsigned short* value)
{
    char szText[QASCLEN] = {};
    qtoascex(value, szText, 15);
    return common::string_trim(szText, " ");
}

// ---- One calculation ------------------------------------------------------------

// An alert that another draw may avoid (a domain error, a non-real result),
// as opposed to one that every draw meets: a text the engine cannot read, an
// alias the procedure refuses, an input it misses.
bool IsValueDependent(const std::string& strMessage)
{
    return strMessage != GetErrorMessage(-1) && strMessage != GetErrorMessage(-8) &&
           strMessage != CALC_MSG_CHECK_FIELD && strMessage != CALC_MSG_NOT_SUPPORTED &&
           strMessage != CALC_MSG_FILL_IN;
}

struct PARAM_RESULT {
    bool m_bSuccess = false;
    std::string m_strProblem;  // the alert message, or what went wrong beyond it
    bool m_bAlert = false;     // the procedure refused with an alert
    std::string m_strText;     // the value as an engine text of FEED_DIGITS digits
    qreal m_qValue = {};
};

// Parameter nIndex through the calculation procedure, then the same engine
// text once more for register 0 at full precision. The procedure's own
// result text must read back as that value to its 13 digits: it is what the
// user sees and types elsewhere.
PARAM_RESULT CalculateParameter(const _tag_formula_detail& det, int nIndex,
                                const std::vector<std::string>& vecTexts)
{
    PARAM_RESULT out;
    CALC_RESULT result = RunCalculation(det, nIndex, vecTexts);
    if (!result.bSuccess) {
        out.m_bAlert = IsValueDependent(result.strMessage);
        out.m_strProblem = result.strMessage;
        if (!result.strExpression.empty() && !out.m_bAlert)
            out.m_strProblem += " in \"" + result.strExpression + "\"";
        return out;
    }
    const int nMode = result.nAngleMode == 0 ? MODE_DEGREES : MODE_RADIANS;
    ClearErrorCode();
    SetMode(nMode);
    REG reg = ExprEval(result.strExpression.c_str(), 0, 10);
    if (GetErrorCode() != 0) {
        out.m_strProblem = "\"" + result.strExpression + "\" fails when evaluated again";
        return out;
    }
    qmov(reg.re, out.m_qValue);
    // The procedure takes a result as real when its imaginary part is below
    // 1e-16 in magnitude. Among tiny values that also lets through results
    // that are plainly complex, (1 - d)^n with d > 1 for instance; such a draw
    // lies outside the formula's real domain and is drawn again.
    if (reg.type == REG_COMPLEX && !NegligibleImaginary(reg.re, reg.im)) {
        out.m_bAlert = true;
        out.m_strProblem = "complex result " + ShortText(reg.re) + " + " + ShortText(reg.im) + "i taken as real";
        return out;
    }

    ClearErrorCode();
    SetMode(nMode);
    REG shown = ExprEval(result.strResult.c_str(), 0, 10);
    if (GetErrorCode() != 0 || !CloseEnough(shown.re, out.m_qValue, 1e-12)) {
        out.m_strProblem = "the result text \"" + result.strResult + "\" does not read back as " +
                           ShortText(out.m_qValue);
        return out;
    }
    out.m_strText = QrealText(out.m_qValue);
    out.m_bSuccess = true;
    return out;
}

// ---- Draws ------------------------------------------------------------------------

enum SENSITIVITY { SENSITIVITY_YES, SENSITIVITY_NO, SENSITIVITY_UNKNOWN };

// Whether moving parameter nIndex by 1 % (up, or down when up leaves the
// domain) moves the seed by more than dbThreshold relative to it.
SENSITIVITY SeedSensitivity(const _tag_formula_detail& det, int nSeedIndex, int nIndex,
                            const std::vector<std::string>& vecTexts, const PARAM_RESULT& seed,
                            double dbThreshold)
{
    for (const char* pszFactor : {"*1.01", "*0.99"}) {
        std::vector<std::string> vecNudged = vecTexts;
        vecNudged[static_cast<size_t>(nIndex)] = "(" + vecTexts[static_cast<size_t>(nIndex)] + ")" + pszFactor;
        vecNudged[static_cast<size_t>(nSeedIndex)].clear();
        PARAM_RESULT nudged = CalculateParameter(det, nSeedIndex, vecNudged);
        if (nudged.m_bSuccess)
            return CloseEnough(nudged.m_qValue, seed.m_qValue, dbThreshold) ? SENSITIVITY_NO : SENSITIVITY_YES;
    }
    return SENSITIVITY_UNKNOWN;
}

bool HasFixedValue(const _tag_formula_parameter& param)
{
    return !param.m_strValue.empty() && param.m_strValue != "0";
}

std::string ParamLabel(const _tag_formula_detail& det, int nIndex)
{
    const _tag_formula_parameter& param = det.m_arrParams[static_cast<size_t>(nIndex)];
    return param.m_strAlias + " (" + param.m_strDescription + ")";
}

class ValueDrawer {
public:
    ValueDrawer(std::uint64_t nSeed, const ROUND_TRIP_OPTIONS& options)
        : m_rng(nSeed), m_options(options)
    {
    }

    // One text per parameter: fixed values as written, angles in degrees
    // uniformly inside the configured range, everything else log-uniform.
    std::vector<std::string> Draw(const _tag_formula_detail& det)
    {
        std::vector<std::string> vecTexts;
        for (std::uint32_t i = 0; i < det.m_nParamCount && i < MAX_FORMULA_PARAMS; ++i) {
            const _tag_formula_parameter& param = det.m_arrParams[i];
            if (HasFixedValue(param))
                vecTexts.push_back(param.m_strValue);
            else if (IsDegreeUnit(param.m_strUnit))
                vecTexts.push_back(DoubleText(m_options.m_dbMinAngle +
                                              (m_options.m_dbMaxAngle - m_options.m_dbMinAngle) * Uniform()));
            else
                vecTexts.push_back(DoubleText(std::pow(10.0, m_options.m_dbDecades * (2 * Uniform() - 1))));
        }
        return vecTexts;
    }

private:
    // [0, 1) from the top 53 bits: the same sequence on every platform.
    double Uniform() { return static_cast<double>(m_rng() >> 11) * 0x1.0p-53; }

    std::mt19937_64 m_rng;
    ROUND_TRIP_OPTIONS m_options;
};

// ---- Variables of the engine's built-ins ----------------------------------------------

// The built-ins whose first argument is an expression in a variable named by
// the second: fnRoot(EXPR, x, LO, HI), fnEval(EXPR, x, X), fnInt(EXPR, x, A, B), ...
const char* const mg_arrVariableBuiltins[] = {"fnroot(", "fnint(", "fnderiv(", "fneval(", "fnsum(", "fnproduct("};

// One call of such a built-in in a lower-cased expression: its variable
// letter (0 when the argument is not one letter), where the letter stands
// as the second argument, and the span of the first argument, where the
// letter means the variable.
struct BUILTIN_VARIABLE {
    char m_cLetter = 0;
    size_t m_nLetterAt = 0;
    size_t m_nExprBegin = 0;
    size_t m_nExprEnd = 0;
};

// The top-level commas of the call whose argument list opens at nOpen, up
// to its closing bracket.
std::vector<size_t> TopLevelCommas(const std::string& strExpr, size_t nOpen)
{
    std::vector<size_t> vecCommas;
    int nDepth = 0;
    for (size_t k = nOpen; k < strExpr.size(); ++k) {
        if (strExpr[k] == '(')
            ++nDepth;
        else if (strExpr[k] == ')' && --nDepth == 0)
            break;
        else if (strExpr[k] == ',' && nDepth == 1)
            vecCommas.push_back(k);
    }
    return vecCommas;
}

std::vector<BUILTIN_VARIABLE> BuiltinVariables(const std::string& strExpr)
{
    std::vector<BUILTIN_VARIABLE> vecVariables;
    for (const char* pszName : mg_arrVariableBuiltins) {
        const size_t nLength = std::strlen(pszName);
        for (size_t nAt = strExpr.find(pszName); nAt != std::string::npos; nAt = strExpr.find(pszName, nAt + 1)) {
            const size_t nOpen = nAt + nLength - 1;
            const std::vector<size_t> vecCommas = TopLevelCommas(strExpr, nOpen);
            BUILTIN_VARIABLE var;
            var.m_nExprBegin = nOpen + 1;
            var.m_nExprEnd = vecCommas.empty() ? strExpr.size() : vecCommas[0];
            if (vecCommas.size() >= 2) {
                const std::string strArg = strExpr.substr(vecCommas[0] + 1, vecCommas[1] - vecCommas[0] - 1);
                const size_t nLetter = strArg.find_first_not_of(' ');
                if (nLetter != std::string::npos && strArg.find_last_not_of(' ') == nLetter &&
                    strArg[nLetter] >= 'a' && strArg[nLetter] <= 'z') {
                    var.m_cLetter = strArg[nLetter];
                    var.m_nLetterAt = vecCommas[0] + 1 + nLetter;
                }
            }
            vecVariables.push_back(var);
        }
    }
    return vecVariables;
}

bool IsBuiltinVariableAt(const std::vector<BUILTIN_VARIABLE>& vecVariables, char c, size_t nAt)
{
    for (const BUILTIN_VARIABLE& var : vecVariables) {
        if (var.m_cLetter == c && (nAt == var.m_nLetterAt || (nAt >= var.m_nExprBegin && nAt < var.m_nExprEnd)))
            return true;
    }
    return false;
}

}  // namespace

// ---- Lint ---------------------------------------------------------------------------

std::vector<std::string> LintCalculableDetail(const _tag_formula_detail& det)
{
    std::vector<std::string> vecProblems;
    const int nCount = static_cast<int>(det.m_nParamCount);
    if (nCount < 1 || nCount > MAX_FORMULA_PARAMS) {
        vecProblems.push_back(std::to_string(nCount) + " parameters");
        return vecProblems;
    }
    if (det.m_vecCalcFormulas.size() != static_cast<size_t>(nCount))
        vecProblems.push_back(std::to_string(det.m_vecCalcFormulas.size()) + " calculation expressions for " +
                              std::to_string(nCount) + " parameters");
    if (CountCalculableParameters(det) == 0)
        vecProblems.push_back("no parameter can be calculated");

    std::map<char, int> mapAliases;  // lower-case alias -> parameter
    for (int i = 0; i < nCount; ++i) {
        const std::string& strAlias = det.m_arrParams[static_cast<size_t>(i)].m_strAlias;
        if (!IsUsableAlias(strAlias)) {
            vecProblems.push_back("parameter " + std::to_string(i + 1) + " has the alias \"" + strAlias +
                                  "\", not one letter");
            continue;
        }
        char c = common::toLower(strAlias)[0];
        if (!mapAliases.emplace(c, i).second)
            vecProblems.push_back("alias " + strAlias + " is used twice");
    }

    bool bDegrees = false;
    for (int i = 0; i < nCount; ++i)
        bDegrees = bDegrees || IsDegreeUnit(det.m_arrParams[static_cast<size_t>(i)].m_strUnit);

    for (int i = 0; i < nCount && static_cast<size_t>(i) < det.m_vecCalcFormulas.size(); ++i) {
        const std::string strExpr = common::toLower(det.m_vecCalcFormulas[static_cast<size_t>(i)]);
        if (strExpr.empty())
            continue;
        const std::string strWhere = "expression of " + ParamLabel(det, i) + " \"" + strExpr + "\"";
        std::string strProtected = ProtectFunctionNames(strExpr);
        if (strProtected.find("EXP") != std::string::npos)
            vecProblems.push_back(strWhere + " uses exp, the two-operand power of ten");
        // Hyperbolic functions follow the angle mode, which a degree unit
        // anywhere in the formula switches for the whole expression.
        if (bDegrees && (strProtected.find("SINH(") != std::string::npos ||
                         strProtected.find("COSH(") != std::string::npos ||
                         strProtected.find("TANH(") != std::string::npos))
            vecProblems.push_back(strWhere + " uses a hyperbolic function in a formula measured in degrees");
        // abs takes everything up to the end of its group: abs(x)+1 is
        // abs(x+1). Only an abs call that closes its group means what it says.
        for (size_t nAt = strExpr.find("abs("); nAt != std::string::npos; nAt = strExpr.find("abs(", nAt + 1)) {
            int nDepth = 0;
            size_t nEnd = nAt + 3;
            for (; nEnd < strExpr.size(); ++nEnd) {
                if (strExpr[nEnd] == '(')
                    ++nDepth;
                else if (strExpr[nEnd] == ')' && --nDepth == 0)
                    break;
            }
            if (nEnd + 1 < strExpr.size() && strExpr[nEnd + 1] != ')') {
                vecProblems.push_back(strWhere + " lets abs( take in what follows it; write (abs(...))");
                break;
            }
        }
        // An alias e raised to a power is protected as Euler's number and
        // never substituted. (A "pi" always means the constant: aliases are
        // written with their "*".)
        if (mapAliases.count('e') && strExpr.find("e^") != std::string::npos)
            vecProblems.push_back(strWhere + ": e^ reads as Euler's number, not as the alias e");
        // The variable of a root finder (or integral, sum, ...) is a letter
        // of its own; it must not be an alias, which would be substituted.
        const std::vector<BUILTIN_VARIABLE> vecVariables = BuiltinVariables(strExpr);
        for (const BUILTIN_VARIABLE& var : vecVariables) {
            if (var.m_cLetter == 0)
                vecProblems.push_back(strWhere + ": the variable of a built-in call is not one letter");
            else if (mapAliases.count(var.m_cLetter))
                vecProblems.push_back(strWhere + ": the variable " + std::string(1, var.m_cLetter) +
                                      " of a built-in call is an alias of the formula");
        }
        // What is still lower case after the function names are protected is
        // substituted as an alias; a letter that names no other parameter
        // would reach the engine as a constant or a syntax error.
        for (size_t nAt = 0; nAt < strProtected.size(); ++nAt) {
            const char c = strProtected[nAt];
            if (c < 'a' || c > 'z' || IsBuiltinVariableAt(vecVariables, c, nAt))
                continue;
            auto it = mapAliases.find(c);
            if (it == mapAliases.end())
                vecProblems.push_back(strWhere + " uses the letter " + std::string(1, c) +
                                      ", which is no alias of the formula");
            else if (it->second == i)
                vecProblems.push_back(strWhere + " uses its own alias");
            else
                continue;
            break;
        }
    }
    return vecProblems;
}

// ---- Survey ---------------------------------------------------------------------------

BOOK_SURVEY SurveyBook(const std::string& strBook)
{
    BOOK_SURVEY survey;
    FormulasFolderSwitch folder(strBook);

    std::vector<_fornode> vecNodes;
    std::vector<_tag_formula_pos> vecIndex;
    if (!getFormulasTreeFromFileAndSort(vecNodes, getTreeFilename(), false)) {
        survey.m_vecProblems.push_back("the tree file cannot be read");
        return survey;
    }
    if (!getIndexFormula(vecIndex)) {
        survey.m_vecProblems.push_back("the index file cannot be read");
        return survey;
    }
    survey.m_bReadable = true;
    if (vecNodes.empty())
        survey.m_vecProblems.push_back("the tree is empty");

    // Ids: well formed, at most four components of one byte each, unique as
    // numeric ids (folders included), and inside an existing folder.
    std::map<std::uint32_t, const _fornode*> mapById;
    std::map<std::string, std::uint32_t> mapTypeByTreeId;
    for (const _fornode& node : vecNodes)
        mapTypeByTreeId[node.m_szNodeId] = node.m_uiNodeType;
    for (const _fornode& node : vecNodes) {
        std::vector<long> vecParts;
        if (!SplitTreeId(node.m_szNodeId, vecParts)) {
            survey.m_vecProblems.push_back(Describe(node) + ": malformed id");
            continue;
        }
        bool bFits = vecParts.size() <= 4;
        for (long nPart : vecParts)
            bFits = bFits && nPart <= 255;
        if (!bFits)
            survey.m_vecProblems.push_back(Describe(node) + ": id does not fit four components of 0..255");
        if (node.m_uiNodeType > FORMULA_TYPE_FOLDER)
            survey.m_vecProblems.push_back(Describe(node) + ": unknown node type " +
                                           std::to_string(node.m_uiNodeType));
        if (node.m_szNodeName[0] == '\0')
            survey.m_vecProblems.push_back(Describe(node) + ": no name");
        std::uint32_t nID = 0;
        parseFormulaId(node.m_szNodeId, nID);
        auto inserted = mapById.emplace(nID, &node);
        if (!inserted.second)
            survey.m_vecProblems.push_back(Describe(node) + ": same numeric id as " + Describe(*inserted.first->second));
        if (vecParts.size() > 1) {
            std::string strParent = node.m_szNodeId;
            strParent.erase(strParent.rfind('.'));
            auto parent = mapTypeByTreeId.find(strParent);
            if (parent == mapTypeByTreeId.end() || parent->second != FORMULA_TYPE_FOLDER)
                survey.m_vecProblems.push_back(Describe(node) + ": no folder " + strParent + " holds it");
        }
        switch (node.m_uiNodeType) {
        case FORMULA_TYPE_FOLDER: ++survey.m_nFolders; break;
        case FORMULA_TYPE_CALCULABLE: ++survey.m_nCalculable; break;
        case FORMULA_TYPE_THEORY: ++survey.m_nTheory; break;
        default: break;
        }
    }

    // Every index entry belongs to a formula node.
    std::map<std::uint32_t, int> mapIndexCount;
    for (const _tag_formula_pos& pos : vecIndex) {
        ++mapIndexCount[pos.m_nID];
        auto it = mapById.find(pos.m_nID);
        if (it == mapById.end() || it->second->m_uiNodeType == FORMULA_TYPE_FOLDER) {
            char szId[16];
            std::snprintf(szId, sizeof(szId), "0x%08X", pos.m_nID);
            survey.m_vecProblems.push_back(std::string("index entry ") + szId + " has no formula in the tree");
        }
    }

    // Every formula node has one index entry whose records read back with its
    // name, as the calculation screen reads them.
    for (const _fornode& node : vecNodes) {
        if (node.m_uiNodeType == FORMULA_TYPE_FOLDER)
            continue;
        std::uint32_t nID = 0;
        parseFormulaId(node.m_szNodeId, nID);
        int nEntries = mapIndexCount.count(nID) ? mapIndexCount[nID] : 0;
        if (nEntries != 1) {
            survey.m_vecProblems.push_back(Describe(node) + ": " + std::to_string(nEntries) + " index entries");
            continue;
        }
        _tag_formula_pos pos;
        _tag_formula_des des;
        _tag_formula_detail det;
        if (!getFormulaRecords(common::string_trim(node.m_szNodeId, "."), pos, des, det)) {
            survey.m_vecProblems.push_back(Describe(node) + ": records cannot be read");
            continue;
        }
        if (des.m_strName != node.m_szNodeName)
            survey.m_vecProblems.push_back(Describe(node) + ": the description record is named \"" +
                                           des.m_strName + "\"");
        if (des.m_strDes.empty())
            survey.m_vecProblems.push_back(Describe(node) + ": no description");
        if (des.m_strMime.empty())
            survey.m_vecProblems.push_back(Describe(node) + ": no TeX");
        if (node.m_uiNodeType != FORMULA_TYPE_CALCULABLE)
            continue;
        for (const std::string& strProblem : LintCalculableDetail(det))
            survey.m_vecProblems.push_back(Describe(node) + ": " + strProblem);
        survey.m_vecCalcNodes.push_back(node);
        survey.m_vecCalcDetails.push_back(det);
    }
    return survey;
}

// ---- Round trip -----------------------------------------------------------------------

ROUND_TRIP_VERDICT VerifyRoundTrip(const _tag_formula_detail& det, std::uint64_t nSeed,
                                   const ROUND_TRIP_OPTIONS& options)
{
    ROUND_TRIP_VERDICT verdict;
    const int nCount = static_cast<int>(std::min<std::uint32_t>(det.m_nParamCount, MAX_FORMULA_PARAMS));

    // The parameters to solve for: calculable and not locked to a fixed value.
    std::vector<int> vecSolvable;
    for (int i = 0; i < nCount; ++i) {
        if (CanCalculateParameter(det, i) && !HasFixedValue(det.m_arrParams[static_cast<size_t>(i)]))
            vecSolvable.push_back(i);
    }
    if (vecSolvable.empty()) {
        verdict.m_strProblem = "no parameter can be calculated";
        return verdict;
    }
    const int nSeedIndex = vecSolvable.front();
    verdict.m_nSeedIndex = nSeedIndex;
    const std::string strSeedLabel = ParamLabel(det, nSeedIndex);

    // What became of each other parameter so far.
    struct TARGET {
        int m_nIndex;
        bool m_bDone;               // reproduced the seed at least once
        std::string m_strLastNote;  // why the last informative draw did not settle it
    };
    std::vector<TARGET> vecTargets;
    for (size_t k = 1; k < vecSolvable.size(); ++k)
        vecTargets.push_back({vecSolvable[k], false, "no draw reached it"});

    std::string strSeedNote;
    bool bSeedEverEvaluated = false;
    std::string strBlindNote = "no draw evaluated";
    int nAttempt = 0;
    for (double dbDecades : options.m_vecDecadeStages) {
        ROUND_TRIP_OPTIONS stage = options;
        stage.m_dbDecades = dbDecades;
        int nInformative = 0;
        for (int nDraw = 0; nDraw < options.m_nDrawsPerStage && nInformative < options.m_nInformativePerStage;
             ++nDraw) {
            verdict.m_nAttempts = ++nAttempt;
            ValueDrawer drawer(nSeed + static_cast<std::uint64_t>(nAttempt), stage);
            std::vector<std::string> vecTexts = drawer.Draw(det);
            // The ticked row starts empty: an expression that needs its own
            // parameter fails instead of reading a drawn value.
            vecTexts[static_cast<size_t>(nSeedIndex)].clear();
            PARAM_RESULT seed = CalculateParameter(det, nSeedIndex, vecTexts);
            if (!seed.m_bSuccess) {
                if (!seed.m_bAlert) {
                    verdict.m_strProblem = "seed " + strSeedLabel + ": " + seed.m_strProblem;
                    return verdict;
                }
                strSeedNote = seed.m_strProblem;
                continue;
            }
            bSeedEverEvaluated = true;
            if (vecTargets.empty()) {
                verdict.m_bPassed = true;
                return verdict;
            }
            vecTexts[static_cast<size_t>(nSeedIndex)] = seed.m_strText;
            const std::string strAt = " at " + strSeedLabel + " = " + ShortText(seed.m_qValue);

            // The round trip can only judge the expressions at a point where
            // the seed depends on every parameter: a relativistic correction at
            // walking speed accepts any speed at all. A change of 1 % in each
            // parameter must move the seed well beyond the tolerance.
            std::string strBlind;
            for (int i = 0; i < nCount && strBlind.empty(); ++i) {
                if (i == nSeedIndex || HasFixedValue(det.m_arrParams[static_cast<size_t>(i)]))
                    continue;
                switch (SeedSensitivity(det, nSeedIndex, i, vecTexts, seed, options.m_dbTolerance * 1000)) {
                case SENSITIVITY_YES: break;
                case SENSITIVITY_NO: strBlind = "the seed hardly depends on " + ParamLabel(det, i) + strAt; break;
                case SENSITIVITY_UNKNOWN:
                    strBlind = "no value near " + ParamLabel(det, i) + " evaluates" + strAt;
                    break;
                }
            }
            if (!strBlind.empty()) {
                strBlindNote = strBlind;
                continue;
            }
            ++nInformative;

            // Every other parameter at every informative draw, also once it has
            // passed: a term that is negligible in one range of magnitudes
            // (the speed of light against walking speed) matters in another.
            for (TARGET& target : vecTargets) {
                const size_t j = static_cast<size_t>(target.m_nIndex);
                const std::string strLabel = ParamLabel(det, target.m_nIndex);
                std::vector<std::string> vecSolve = vecTexts;
                vecSolve[j].clear();
                PARAM_RESULT solved = CalculateParameter(det, target.m_nIndex, vecSolve);
                if (!solved.m_bSuccess) {
                    if (!solved.m_bAlert) {
                        verdict.m_strProblem = strLabel + ": " + solved.m_strProblem;
                        return verdict;
                    }
                    // The inverse may have a narrower domain than the formula
                    // (one branch of several); other draws decide.
                    target.m_strLastNote = "\"" + solved.m_strProblem + "\"" + strAt;
                    continue;
                }
                std::vector<std::string> vecBack = vecTexts;
                vecBack[j] = solved.m_strText;
                vecBack[static_cast<size_t>(nSeedIndex)].clear();
                PARAM_RESULT back = CalculateParameter(det, nSeedIndex, vecBack);
                if (back.m_bSuccess && CloseEnough(back.m_qValue, seed.m_qValue, options.m_dbTolerance)) {
                    target.m_bDone = true;
                    continue;
                }
                // The inverse gave a value that does not satisfy the formula at
                // a point where the formula depends on every parameter: a wrong
                // expression, not an unlucky draw.
                std::ostringstream msg;
                msg << strLabel << " = " << ShortText(solved.m_qValue) << " leads back to " << strSeedLabel
                    << " = " << (back.m_bSuccess ? ShortText(back.m_qValue) : "\"" + back.m_strProblem + "\"")
                    << " instead of " << ShortText(seed.m_qValue) << " (draw " << nAttempt << ": ";
                for (int i = 0; i < nCount; ++i)
                    msg << (i ? ", " : "") << det.m_arrParams[static_cast<size_t>(i)].m_strAlias << "="
                        << (static_cast<size_t>(i) == j ? std::string("?") : vecTexts[static_cast<size_t>(i)]);
                msg << ")";
                verdict.m_strProblem = msg.str();
                return verdict;
            }
        }
    }

    if (!bSeedEverEvaluated) {
        verdict.m_strProblem = "never evaluates " + strSeedLabel + " in " + std::to_string(nAttempt) +
                               " draws: \"" + strSeedNote + "\"";
        return verdict;
    }
    for (const TARGET& target : vecTargets) {
        if (!target.m_bDone) {
            std::string strNote = target.m_strLastNote == "no draw reached it" ? strBlindNote : target.m_strLastNote;
            verdict.m_strProblem = ParamLabel(det, target.m_nIndex) + " is never checked in " +
                                   std::to_string(nAttempt) + " draws: " + strNote;
            return verdict;
        }
    }
    verdict.m_bPassed = true;
    return verdict;
}

std::uint64_t FormulaSeed(const std::string& strBook, const std::string& strNodeId)
{
    // FNV-1a over "book/id".
    std::uint64_t nHash = 14695981039346656037ull;
    for (char c : strBook + "/" + strNodeId) {
        nHash ^= static_cast<unsigned char>(c);
        nHash *= 1099511628211ull;
    }
    return nHash;
}

bool DetailFromFormulaText(const std::string& strText, _tag_formula_detail& det)
{
    det = _tag_formula_detail();
    std::istringstream in(strText);
    std::string strLine;
    bool bInRecord = false;
    while (std::getline(in, strLine)) {
        strLine = common::string_trim(strLine, " \r\n\t");
        if (strLine == "***") {
            bInRecord = true;
            continue;
        }
        std::string strKey, strValue;
        if (!bInRecord || !splitString(strLine, strKey, strValue))
            continue;
        strKey = common::toLower(strKey);
        if (strKey == "para" && det.m_nParamCount < MAX_FORMULA_PARAMS) {
            parseFormulaParam(strValue, det.m_arrParams[det.m_nParamCount]);
            ++det.m_nParamCount;
        } else if (strKey == "for") {
            splitStringArray(strValue, det.m_vecCalcFormulas);
        } else if (strKey == "image") {
            return true;
        }
    }
    return false;
}
