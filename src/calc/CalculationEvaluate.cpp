// Evaluating the calculation text and turning the result into the text of
// the ticked row.
#include <cstring>

#include "calc/CalculationProcedure.h"
#include "engine/EngineState.h"
#include "engine/ExprEvaluation.h"
#include "engine/ExprStandardize.h"
#include "numerics/DisplayFormat.h"
#include "numerics/qlib.h"

namespace {

// Display parameters of a result: 12 digits after the first significant one
// (13 shown); the word size and the decimals are not used by the automatic
// format but are passed as the screen always passed them.
constexpr int RESULT_WORD_SIZE = 32;
constexpr int RESULT_DIGITS = 12;
constexpr int RESULT_DECIMALS = 4;

// A complex result counts as real only when its imaginary part is below
// 1e-16 in magnitude; a large negative imaginary part is no real result.
bool IsNegligibleImaginary(const unsigned short* im)
{
    qreal magnitude;
    qreal limit;
    std::memcpy(magnitude, im, sizeof(qreal));
    qabs(magnitude);
    double dbLimit = 1e-16;
    etoq(&dbLimit, limit);
    return qcmp(magnitude, limit) < 0;
}

}  // namespace

std::string FormatCalculationResult(const unsigned short* value)
{
    char szMantissa[DISPLAY_BUFFER_SIZE] = {};
    char szExponent[DISPLAY_BUFFER_SIZE] = {};
    ConstructDisplayString(szMantissa, szExponent, BASE_DECIMAL, RESULT_WORD_SIZE, value, FORMAT_AUTO,
                           RESULT_DIGITS, RESULT_DECIMALS);
    return JoinDisplayString(szMantissa, szExponent);
}

CALC_RESULT RunCalculation(const _tag_formula_detail& det, int nCalcIndex,
                           const std::vector<std::string>& vecParams)
{
    CALC_RESULT result;
    CALC_TEXT text = BuildCalculationText(det, nCalcIndex, vecParams);
    result.nAngleMode = text.nAngleMode;
    if (!text.bSuccess) {
        result.strMessage = text.strMessage;
        result.nScrollRow = text.nScrollRow;
        return result;
    }
    result.strExpression = text.strText;

    ClearErrorCode();
    SetMode(text.nAngleMode == 0 ? MODE_DEGREES : MODE_RADIANS);
    REG reg = ExprEval(text.strText.c_str(), 0, 10);

    int nCode = GetErrorCode();
    if (nCode != 0) {
        result.strMessage = GetErrorMessage(nCode);
        return result;
    }
    bool bReal = reg.type == REG_REAL || (reg.type == REG_COMPLEX && IsNegligibleImaginary(reg.im));
    if (!bReal) {
        result.strMessage = CALC_MSG_INVALID_PARAMS;
        return result;
    }
    result.bSuccess = true;
    result.strScientific = ScientificString(reg.re, RESULT_DIGITS);
    result.strResult = FormatCalculationResult(reg.re);
    result.nScrollRow = nCalcIndex;
    return result;
}
