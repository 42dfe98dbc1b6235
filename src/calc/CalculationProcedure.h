#pragma once

// The calculation of one parameter of a formula, shared by the calculation
// screen and calcudex-cli: from the ticked parameter's calculation
// expression and the texts entered for the parameters (already in engine
// syntax) to an engine text, its evaluation, and either the result text
// written into the ticked row or the message of a "Warning!" alert.

#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

// Alerts of the calculation: title, button and messages.
extern const char* const CALC_ALERT_TITLE;          // "Warning!"
extern const char* const CALC_ALERT_BUTTON;         // "OK"
extern const char* const CALC_MSG_CHECK_FIELD;      // nothing ticked / no expression entry
extern const char* const CALC_MSG_NOT_SUPPORTED;    // the ticked parameter has no expression
extern const char* const CALC_MSG_FILL_IN;          // another input is empty
extern const char* const CALC_MSG_INVALID_PARAMS;   // the result is not one real number

// Function names that the alias substitution must leave alone, longer names
// before the names they contain; the list ends with the marker "THE END.".
extern const char* const g_arrFunctions[];

// Upper-cases every protected function name in a lower-case expression, and back.
std::string ProtectFunctionNames(const std::string& strText);
std::string RestoreFunctionNames(const std::string& strText);

// True when the unit selects degree mode ("^o" or "^0", any case).
bool IsDegreeUnit(const std::string& strUnit);

// True when a parameter's alias can be substituted: exactly one ASCII letter.
bool IsUsableAlias(const std::string& strAlias);

// Parameter i can be calculated when it has a non-empty expression.
bool CanCalculateParameter(const _tag_formula_detail& det, int nIndex);
// Number of non-empty calculation expressions among the parameters.
int CountCalculableParameters(const _tag_formula_detail& det);

// The smallest i below the parameter count, other than nCalcIndex, whose
// text is empty (a missing text counts as empty); -1 when there is none.
int checkParametersValid(const std::vector<std::string>& vecParams, int nCalcIndex, int nParamCount);

// Outcome of the text-building steps.
struct CALC_TEXT {
    bool bSuccess = false;
    std::string strText;     // engine text on success
    int nAngleMode = 1;      // 0 degrees, 1 radians
    std::string strMessage;  // alert message otherwise
    int nScrollRow = -1;     // the empty input row of a "fill-in" alert
};

// Checks the tick and the inputs and builds the engine text for parameter
// nCalcIndex (-1: nothing ticked) from the texts of the parameter rows.
CALC_TEXT BuildCalculationText(const _tag_formula_detail& det, int nCalcIndex,
                               const std::vector<std::string>& vecParams);

// Outcome of a whole calculation.
struct CALC_RESULT {
    bool bSuccess = false;
    std::string strResult;      // text for the ticked row on success
    std::string strScientific;  // the same value in scientific notation, 13 digits
    std::string strMessage;     // alert message otherwise
    int nScrollRow = -1;        // row to bring to the top: the ticked row, or the empty input
    std::string strExpression;  // the engine text, when it was built
    int nAngleMode = 1;
};

// The text of a result for the ticked row: the value with 13 significant
// digits, and "*10^(exponent)" when it is shown in exponent form.
std::string FormatCalculationResult(const unsigned short* value);

// The whole calculation: the text, the evaluation in the angle mode that the
// units ask for, the check that the result is one real number, and its
// formatting with 13 significant digits.
CALC_RESULT RunCalculation(const _tag_formula_detail& det, int nCalcIndex,
                           const std::vector<std::string>& vecParams);
