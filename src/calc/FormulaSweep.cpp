#include "calc/FormulaSweep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "calc/CalculationProcedure.h"
#include "calc/FormulaHandOver.h"

const char* const SWEEP_MSG_EMPTY_RANGE = "The range needs two different numbers.";
const char* const SWEEP_MSG_POINT_COUNT = "The number of points must be from 2 to 100000.";
const char* const SWEEP_MSG_LOG_RANGE = "A logarithmic axis needs a range above zero.";
const char* const SWEEP_MSG_SAME_PARAMETER = "Please choose a parameter other than the one calculated.";
const char* const SWEEP_MSG_LOG_VALUES = "A logarithmic axis needs values above zero.";
const char* const SWEEP_MSG_NOTHING_TO_VARY = "No other parameter of this formula can be varied.";

namespace {

std::string Trimmed(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return {};
    return strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

bool IsDigits(const std::string& strText, bool bPoint)
{
    if (strText.empty())
        return false;
    for (char c : strText) {
        if (!(c >= '0' && c <= '9') && !(bPoint && c == '.'))
            return false;
    }
    return true;
}

// A mantissa "-1.2500" is "-1.25": exponent-form results keep all 13 digits.
std::string WithoutTrailingZeros(std::string strMantissa)
{
    if (strMantissa.find('.') == std::string::npos)
        return strMantissa;
    strMantissa.erase(strMantissa.find_last_not_of('0') + 1);
    if (strMantissa.back() == '.')
        strMantissa.pop_back();
    return strMantissa;
}

// "-1.5", "1.5*10^(-7)" or "1.5e-7": split into the signless mantissa
// digits and the exponent text; false when the text has another shape.
bool SplitNumber(const std::string& strText, std::string& strSign, std::string& strMantissa,
                 std::string& strExponent)
{
    std::string s = strText;
    strSign = !s.empty() && s[0] == '-' ? "-" : "";
    s.erase(0, strSign.size());
    const size_t nTimes = s.find("*10^(");
    const size_t nE = s.find('e');
    strMantissa = s.substr(0, std::min(nTimes, nE));
    strExponent.clear();
    if (nTimes != std::string::npos) {
        if (s.back() != ')')
            return false;
        strExponent = s.substr(nTimes + 5, s.size() - nTimes - 6);
    } else if (nE != std::string::npos) {
        strExponent = s.substr(nE + 1);
    }
    if (nTimes != std::string::npos || nE != std::string::npos) {
        const size_t nSign = !strExponent.empty() && (strExponent[0] == '-' || strExponent[0] == '+') ? 1 : 0;
        if (!IsDigits(strExponent.substr(nSign), false))
            return false;
    }
    return IsDigits(strMantissa, true) && strMantissa.find('.') == strMantissa.rfind('.') && strMantissa != ".";
}

}  // namespace

std::string CheckSweepRange(const SWEEP_RANGE& range)
{
    if (range.nPoints < SWEEP_MIN_POINTS || range.nPoints > SWEEP_MAX_POINTS)
        return SWEEP_MSG_POINT_COUNT;
    if (!std::isfinite(range.dbFrom) || !std::isfinite(range.dbTo) || range.dbFrom == range.dbTo)
        return SWEEP_MSG_EMPTY_RANGE;
    if (range.bLog && (range.dbFrom <= 0.0 || range.dbTo <= 0.0))
        return SWEEP_MSG_LOG_RANGE;
    return {};
}

double SweepPointValue(const SWEEP_RANGE& range, int nIndex)
{
    if (nIndex <= 0)
        return range.dbFrom;
    if (nIndex >= range.nPoints - 1)
        return range.dbTo;
    const double dbT = static_cast<double>(nIndex) / (range.nPoints - 1);
    double dbValue;
    if (range.bLog) {
        // Decades are whole in base 10: 1e-12 .. 1e-10 passes 1e-11 itself.
        const double dbFrom = std::log10(range.dbFrom);
        dbValue = std::pow(10.0, dbFrom + (std::log10(range.dbTo) - dbFrom) * dbT);
    } else {
        dbValue = range.dbFrom + (range.dbTo - range.dbFrom) * dbT;
        // -1 .. 1 passes zero, not 1e-17.
        if (std::fabs(dbValue) < std::fabs(range.dbTo - range.dbFrom) * 1e-12)
            dbValue = 0.0;
    }
    return std::strtod(SweepNumberText(dbValue).c_str(), nullptr);
}

std::string SweepNumberText(double dbValue)
{
    if (dbValue == 0.0)
        return "0";  // never "-0"
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.15g", dbValue);
    return szText;
}

std::string SweepValueText(double dbValue)
{
    const std::string strText = SweepNumberText(dbValue);
    const size_t nE = strText.find('e');
    if (nE == std::string::npos)
        return strText;
    const int nExponent = std::atoi(strText.c_str() + nE + 1);
    return strText.substr(0, nE) + "*10^(" + std::to_string(nExponent) + ")";
}

std::string ResultNumberText(const std::string& strText)
{
    const std::string strTrimmed = Trimmed(strText);
    std::string strSign;
    std::string strMantissa;
    std::string strExponent;
    if (!SplitNumber(strTrimmed, strSign, strMantissa, strExponent))
        return strTrimmed;
    if (strTrimmed.find("*10^(") == std::string::npos)
        return strTrimmed;
    return strSign + WithoutTrailingZeros(strMantissa) + "e" + strExponent;
}

bool ParseResultNumber(const std::string& strText, double& dbValue)
{
    std::string strSign;
    std::string strMantissa;
    std::string strExponent;
    if (!SplitNumber(Trimmed(strText), strSign, strMantissa, strExponent))
        return false;
    const std::string strNumber = strSign + strMantissa + (strExponent.empty() ? "" : "e" + strExponent);
    dbValue = std::strtod(strNumber.c_str(), nullptr);
    return true;
}

SWEEP_POINT CalculateSweepPoint(const _tag_formula_detail& det, int nYIndex, int nXIndex,
                                const std::vector<std::string>& vecParams, const std::string& strXText)
{
    std::vector<std::string> vecTexts = vecParams;
    if (nXIndex >= 0) {
        if (vecTexts.size() <= static_cast<size_t>(nXIndex))
            vecTexts.resize(static_cast<size_t>(nXIndex) + 1);
        vecTexts[static_cast<size_t>(nXIndex)] = strXText;
    }
    SWEEP_POINT point;
    ParseResultNumber(strXText, point.dbX);
    const CALC_RESULT result = RunCalculation(det, nYIndex, vecTexts);
    if (!result.bSuccess) {
        point.strMessage = result.strMessage;
        return point;
    }
    point.strY = ResultNumberText(result.strResult);
    point.bValid = ParseResultNumber(point.strY, point.dbY);
    if (!point.bValid)
        point.strMessage = CALC_MSG_INVALID_PARAMS;
    return point;
}

std::string CheckSweepInputs(const _tag_formula_detail& det, int nYIndex, int nXIndex,
                             const std::vector<std::string>& vecParams, int* pnScrollRow)
{
    if (pnScrollRow)
        *pnScrollRow = -1;
    if (nXIndex == nYIndex || nXIndex < 0 || nXIndex >= static_cast<int>(det.m_nParamCount))
        return SWEEP_MSG_SAME_PARAMETER;
    std::vector<std::string> vecTexts = vecParams;
    if (vecTexts.size() <= static_cast<size_t>(nXIndex))
        vecTexts.resize(static_cast<size_t>(nXIndex) + 1);
    vecTexts[static_cast<size_t>(nXIndex)] = "1";
    const CALC_TEXT text = BuildCalculationText(det, nYIndex, vecTexts);
    if (text.bSuccess)
        return {};
    if (pnScrollRow)
        *pnScrollRow = text.nScrollRow;
    return text.strMessage;
}

std::vector<int> SweepableParameters(const _tag_formula_detail& det, int nYIndex)
{
    std::vector<int> vecIndexes;
    const int nCount = static_cast<int>(std::min<std::uint32_t>(det.m_nParamCount, MAX_FORMULA_PARAMS));
    for (int i = 0; i < nCount; ++i) {
        if (i != nYIndex && CanCalculateParameter(det, i) && !HasFixedValue(det.m_arrParams[static_cast<size_t>(i)]))
            vecIndexes.push_back(i);
    }
    return vecIndexes;
}

SWEEP_RANGE DefaultSweepRange(const std::string& strText, bool bDegrees)
{
    SWEEP_RANGE range;
    double dbValue = 0.0;
    if (ParseResultNumber(strText, dbValue) && dbValue != 0.0 && std::isfinite(dbValue)) {
        range.dbFrom = std::strtod(SweepNumberText(dbValue * 0.1).c_str(), nullptr);
        range.dbTo = std::strtod(SweepNumberText(dbValue * 10.0).c_str(), nullptr);
        if (dbValue < 0.0)
            std::swap(range.dbFrom, range.dbTo);
    } else {
        range.dbFrom = 0.0;
        range.dbTo = bDegrees ? 90.0 : 10.0;
    }
    return range;
}

FormulaSweep::FormulaSweep(const _tag_formula_detail& det, int nYIndex, int nXIndex,
                           std::vector<std::string> vecParams, const SWEEP_RANGE& range)
    : m_det(det), m_nYIndex(nYIndex), m_nXIndex(nXIndex), m_vecParams(std::move(vecParams)), m_range(range)
{
    m_vecPoints.reserve(static_cast<size_t>(std::max(0, range.nPoints)));
}

void FormulaSweep::CalculateNext()
{
    const double dbX = SweepPointValue(m_range, static_cast<int>(m_vecPoints.size()));
    SWEEP_POINT point = CalculateSweepPoint(m_det, m_nYIndex, m_nXIndex, m_vecParams, SweepValueText(dbX));
    point.dbX = dbX;
    m_vecPoints.push_back(std::move(point));
}

bool FormulaSweep::CalculateFor(std::chrono::microseconds budget)
{
    const auto start = std::chrono::steady_clock::now();
    while (!IsDone()) {
        CalculateNext();
        if (std::chrono::steady_clock::now() - start >= budget)
            break;
    }
    return IsDone();
}

void FormulaSweep::CalculateAll()
{
    while (!IsDone())
        CalculateNext();
}
