#pragma once

// A sweep: the unknown of a formula (y, the ticked parameter) calculated at
// many values of one other parameter (x), for the plot page and for
// `calcudex-cli calc --sweep`. Every point is one run of the calculation
// procedure (RunCalculation) with the point's value as the x row's text, so a
// point holds exactly what the Calculate key would show there. A point where
// the procedure refuses keeps the procedure's message and has no value: it is
// a gap, never a zero.
//
// The engine keeps process-wide state, so a sweep runs on the thread that
// calculates everything else; CalculateFor() lets a window do it in slices.

#include <chrono>
#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

constexpr int SWEEP_DEFAULT_POINTS = 200;
constexpr int SWEEP_MIN_POINTS = 2;
constexpr int SWEEP_MAX_POINTS = 100000;

// Why a range cannot be swept.
extern const char* const SWEEP_MSG_EMPTY_RANGE;   // from and to are equal (or not numbers)
extern const char* const SWEEP_MSG_POINT_COUNT;   // fewer than 2 or more than 100000 points
extern const char* const SWEEP_MSG_LOG_RANGE;     // a logarithmic axis over values <= 0
extern const char* const SWEEP_MSG_SAME_PARAMETER;  // x is the unknown itself
extern const char* const SWEEP_MSG_LOG_VALUES;    // a logarithmic y axis over values <= 0
extern const char* const SWEEP_MSG_NOTHING_TO_VARY;  // no parameter can serve as x

// The values of x: nPoints values from dbFrom to dbTo (both included),
// evenly spaced, or evenly spaced on a logarithmic axis when bLog is set.
struct SWEEP_RANGE {
    double dbFrom = 0.0;
    double dbTo = 1.0;
    int nPoints = SWEEP_DEFAULT_POINTS;
    bool bLog = false;
};

// "" when the range can be swept, else the message that says why not.
std::string CheckSweepRange(const SWEEP_RANGE& range);

// The value of point nIndex (0 .. nPoints - 1), rounded to the 15 significant
// digits of its text, so that the value plotted is the value calculated.
double SweepPointValue(const SWEEP_RANGE& range, int nIndex);

// A value as a short number text with 15 significant digits ("45", "0.001",
// "1e-07"): the x column of the CSV and the text of the plot page's fields.
std::string SweepNumberText(double dbValue);

// A value in engine syntax for a row's text: positional where it is short,
// else "m*10^(e)" (the engine reads no exponent with a sign after an E).
std::string SweepValueText(double dbValue);

// A result text of the procedure, or a row's number text, as a plain number
// text: " 1.500000000000*10^(15)" becomes "1.5e15", "-0.25" stays. Texts that
// are no plain number (expressions) come back trimmed and otherwise unchanged.
std::string ResultNumberText(const std::string& strText);
// The value of a plain number text as ResultNumberText reads it; false for
// anything else (an expression such as 2*pi, an empty text).
bool ParseResultNumber(const std::string& strText, double& dbValue);

// One point of a sweep.
struct SWEEP_POINT {
    double dbX = 0.0;
    bool bValid = false;      // the procedure gave a value
    double dbY = 0.0;         // that value, when valid (may be infinite beyond double range)
    std::string strY;         // the value as a plain number text ("40.78914715703"), when valid
    std::string strMessage;   // the procedure's message, when not valid
};

// The procedure run once with strXText as the text of row nXIndex.
SWEEP_POINT CalculateSweepPoint(const _tag_formula_detail& det, int nYIndex, int nXIndex,
                                const std::vector<std::string>& vecParams, const std::string& strXText);

// "" when y can be swept over x with these row texts (x's own text does not
// matter), else the procedure's message (or SWEEP_MSG_SAME_PARAMETER);
// nScrollRow is the empty row of a "fill-in" message, -1 otherwise.
std::string CheckSweepInputs(const _tag_formula_detail& det, int nYIndex, int nXIndex,
                             const std::vector<std::string>& vecParams, int* pnScrollRow = nullptr);

// Parameters that can serve as x: calculable, not the unknown, no fixed value.
std::vector<int> SweepableParameters(const _tag_formula_detail& det, int nYIndex);

// The range the plot page offers first for a row holding strText: 0.1 to 10
// times a typed number (the smaller end first for a negative one); 0 to 90
// for an angle in degrees and 0 to 10 otherwise when the row is empty, zero
// or holds an expression.
SWEEP_RANGE DefaultSweepRange(const std::string& strText, bool bDegrees);

// The points of one sweep, calculated all at once or in slices.
class FormulaSweep {
public:
    FormulaSweep(const _tag_formula_detail& det, int nYIndex, int nXIndex, std::vector<std::string> vecParams,
                 const SWEEP_RANGE& range);

    // Calculates points until all are done or the budget is spent (at least
    // one point per call); true when all are done.
    bool CalculateFor(std::chrono::microseconds budget);
    void CalculateAll();

    bool IsDone() const { return m_vecPoints.size() >= static_cast<size_t>(m_range.nPoints); }
    const std::vector<SWEEP_POINT>& Points() const { return m_vecPoints; }
    const SWEEP_RANGE& Range() const { return m_range; }
    int XIndex() const { return m_nXIndex; }
    int YIndex() const { return m_nYIndex; }

private:
    void CalculateNext();

    _tag_formula_detail m_det;
    int m_nYIndex;
    int m_nXIndex;
    std::vector<std::string> m_vecParams;
    SWEEP_RANGE m_range;
    std::vector<SWEEP_POINT> m_vecPoints;
};
