#include "engine/ExprCalculus.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ExprEvaluation.h"
#include "engine/qcomplex.h"
#include "numerics/NumericalMethods.h"

namespace {

// ---------------------------------------------------------------------------
// Small helpers

// Imaginary parts up to this size are rounding noise of a real value.
bool ImaginaryAbove(const unsigned short* im, double dbLimit)
{
    return std::fabs(qtodouble(im)) > dbLimit;
}

// Runs a calculus method in radians and gives the caller's angle mode back
// afterwards, so that the rest of an expression keeps its degrees or grads.
class RadiansScope {
public:
    RadiansScope() : m_nSavedMode(g_Mode) { g_Mode = MODE_RADIANS; }
    ~RadiansScope() { g_Mode = m_nSavedMode; }
    RadiansScope(const RadiansScope&) = delete;
    RadiansScope& operator=(const RadiansScope&) = delete;

private:
    int m_nSavedMode;
};

// Value of an expression text at variable = x, full precision, real.
qcmplx ValueAt(const char* lpszExpression, const char* lpszVariable, const unsigned short* x)
{
    qreal value;
    qmov(x, value);
    bool bOk = false;
    qcmplx v = ExprEvaluation(lpszExpression, bOk, lpszVariable, value, 10);
    if (g_ErrCode != 0)
        return qczero;
    if (ImaginaryAbove(v.i, 1e-64)) {
        SetErrorCode(ERR_COMPLEX);
        return qczero;
    }
    qclear(v.i);
    return v;
}

// A value of the double evaluator beyond the double range (an infinity, or
// the NaN of infinity minus infinity) is no function value: the root finder
// would take a NaN for a root and the integrator would sum it.
double FiniteValue(double dbValue)
{
    if (!std::isfinite(dbValue)) {
        SetErrorCode(ERR_OUT_OF_RANGE);
        return 0.0;
    }
    return dbValue;
}

// ---------------------------------------------------------------------------
// Numeric derivative

// Value at x, or false (with the error code cleared again) when the
// expression cannot be evaluated there.
bool TryValueAt(const char* lpszExpression, const char* lpszVariable, const unsigned short* x,
                qcmplx& value)
{
    value = ValueAt(lpszExpression, lpszVariable, x);
    if (g_ErrCode == 0)
        return true;
    ClearErrorCode();
    return false;
}

// The last point from the valid end towards the failing end at which the
// expression still has a value, found by bisection to 1e-10.
void LastValidPoint(const char* lpszExpression, const char* lpszVariable, qreal failing,
                    qreal valid, qcmplx& validValue)
{
    qreal limit;
    myetoq(1e-10, limit);
    // Bounded: far from zero the points cannot come closer than the spacing
    // of the numbers.
    for (int i = 0; i < 400; ++i) {
        qreal gap;
        qsub(valid, failing, gap);
        qabs(gap);
        if (qcmp(gap, limit) <= 0)
            break;
        qreal middle;
        qadd(failing, valid, middle);
        qmul(qhalf, middle, middle);
        qcmplx value;
        if (TryValueAt(lpszExpression, lpszVariable, middle, value)) {
            qmov(middle, valid);
            validValue = value;
        } else {
            qmov(middle, failing);
        }
    }
}

qcmplx NumericDerivative(const char* lpszExpression, const char* lpszVariable,
                         const unsigned short* x)
{
    RadiansScope radians;
    qreal h;
    myetoq(1e-6, h);

    const qcmplx fx = ValueAt(lpszExpression, lpszVariable, x);
    if (g_ErrCode != 0)
        return qczero;

    qreal x1;
    qreal x2;
    qsub(h, x, x1);
    qadd(h, x, x2);
    qcmplx f1;
    qcmplx f2;
    if (!TryValueAt(lpszExpression, lpszVariable, x1, f1)) {
        qreal valid;
        qmov(x, valid);
        f1 = fx;
        LastValidPoint(lpszExpression, lpszVariable, x1, valid, f1);
        qmov(valid, x1);
    }
    if (!TryValueAt(lpszExpression, lpszVariable, x2, f2)) {
        qreal valid;
        qmov(x, valid);
        f2 = fx;
        LastValidPoint(lpszExpression, lpszVariable, x2, valid, f2);
        qmov(valid, x2);
    }

    qreal width;
    qsub(x1, x2, width);
    if (qiszero(width)) {
        SetErrorCode(ERR_INFINITE);
        return qczero;
    }
    qcmplx result = qczero;
    qsub(f1.r, f2.r, result.r);
    qdiv(width, result.r, result.r);
    return result;
}

// ---------------------------------------------------------------------------
// Structural derivative

std::string Trimmed(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return std::string();
    const size_t nLast = strText.find_last_not_of(' ');
    return strText.substr(nFirst, nLast - nFirst + 1);
}

bool IsWordChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_';
}

// Positions of one operator character at parenthesis depth 0.
std::vector<size_t> TopLevel(const std::string& strText, char chOperator)
{
    std::vector<size_t> vecPositions;
    int nDepth = 0;
    for (size_t i = 0; i < strText.size(); ++i) {
        const char ch = strText[i];
        if (ch == '(')
            ++nDepth;
        else if (ch == ')')
            --nDepth;
        else if (nDepth == 0 && ch == chOperator)
            vecPositions.push_back(i);
    }
    return vecPositions;
}

// Position of a whole word (any letter case) at depth 0, or npos.
size_t TopLevelWord(const std::string& strText, const char* lpszWord)
{
    const size_t nLength = std::strlen(lpszWord);
    int nDepth = 0;
    for (size_t i = 0; i < strText.size(); ++i) {
        const char ch = strText[i];
        if (ch == '(') {
            ++nDepth;
            continue;
        }
        if (ch == ')') {
            --nDepth;
            continue;
        }
        if (nDepth != 0 || (i > 0 && IsWordChar(strText[i - 1])) || i + nLength > strText.size())
            continue;
        bool bMatch = true;
        for (size_t k = 0; k < nLength && bMatch; ++k)
            bMatch = std::tolower(static_cast<unsigned char>(strText[i + k])) == lpszWord[k];
        if (bMatch && (i + nLength == strText.size() || !IsWordChar(strText[i + nLength])))
            return i;
    }
    return std::string::npos;
}

// Operators that bind more loosely than "+" and "-" (or, like abs, take
// everything after them): the rules below would split across them wrongly.
bool HasLooseOperator(const std::string& strText)
{
    static const char* const arrWords[] = {"abs", "and", "or", "nand", "nor", "xor",
                                           "mod", "shl", "shr", "rtl", "rtr"};
    for (const char* lpszWord : arrWords) {
        if (TopLevelWord(strText, lpszWord) != std::string::npos)
            return true;
    }
    return false;
}

class StructuralDerivative {
public:
    StructuralDerivative(const char* lpszVariable, const unsigned short* x)
        : m_strVariable(lpszVariable != nullptr ? lpszVariable : "")
    {
        qmov(x, m_x);
    }

    // d/dx of the text at x, as a real qreal in result.
    void Derive(const std::string& strRaw, unsigned short* result)
    {
        qclear(result);
        if (g_ErrCode != 0)
            return;
        const std::string strText = Trimmed(strRaw);
        if (strText.empty()) {
            SetErrorCode(ERR_SYNTAX);
            return;
        }
        if (HasLooseOperator(strText)) {
            Numeric(strText, result);
            return;
        }

        // Sum or difference: the first "+" or "-" after the first character;
        // the right part keeps its sign.
        const size_t nSign = FirstTopLevelSign(strText);
        if (nSign != std::string::npos) {
            qreal left;
            qreal right;
            Derive(strText.substr(0, nSign), left);
            Derive(strText.substr(strText[nSign] == '-' ? nSign : nSign + 1), right);
            qadd(left, right, result);
            return;
        }
        // A leading sign applies to the whole term after it.
        if (strText[0] == '-') {
            Derive(strText.substr(1), result);
            qneg(result);
            return;
        }
        // Product: u v' + u' v.
        const std::vector<size_t> vecStars = TopLevel(strText, '*');
        if (!vecStars.empty()) {
            const std::string strU = strText.substr(0, vecStars.front());
            const std::string strV = strText.substr(vecStars.front() + 1);
            qreal u, v, du, dv, a, b;
            if (!Value(strU, u) || !Value(strV, v))
                return;
            Derive(strU, du);
            Derive(strV, dv);
            qmul(u, dv, a);
            qmul(du, v, b);
            qadd(a, b, result);
            return;
        }
        // Quotient at the last "/", as the division groups to the left:
        // (u' v - u v') / v^2.
        const std::vector<size_t> vecSlashes = TopLevel(strText, '/');
        if (!vecSlashes.empty()) {
            const std::string strU = strText.substr(0, vecSlashes.back());
            const std::string strV = strText.substr(vecSlashes.back() + 1);
            qreal u, v, du, dv, a, b, v2;
            if (!Value(strU, u) || !Value(strV, v))
                return;
            if (qiszero(v)) {
                SetErrorCode(ERR_LIBRARY);
                return;
            }
            Derive(strU, du);
            Derive(strV, dv);
            qmul(du, v, a);
            qmul(u, dv, b);
            qsub(b, a, a);
            qmul(v, v, v2);
            qdiv(v2, a, result);
            return;
        }
        // n root b = b^(1/n): e (n b'/b - n' ln b) / n^2, for positive n and b.
        const size_t nRoot = TopLevelWord(strText, "root");
        if (nRoot != std::string::npos) {
            const std::string strN = strText.substr(0, nRoot);
            const std::string strB = strText.substr(nRoot + 4);
            qreal n, b, e;
            if (!Value(strN, n) || !Value(strB, b) || !Value(strText, e))
                return;
            if (!qisnegative(n) && !qiszero(n) && !qisnegative(b) && !qiszero(b)) {
                qreal dn, db, lnB, t1, t2, n2;
                Derive(strN, dn);
                Derive(strB, db);
                qlog(b, lnB);
                qmul(n, db, t1);
                qdiv(b, t1, t1);
                qmul(dn, lnB, t2);
                qsub(t2, t1, t1);
                qmul(e, t1, t1);
                qmul(n, n, n2);
                qdiv(n2, t1, result);
                return;
            }
            Numeric(strText, result);
            return;
        }
        // Power at the first "^" (powers group to the right), for a positive
        // base: u^w (w' ln u + w u'/u).
        const std::vector<size_t> vecCarets = TopLevel(strText, '^');
        if (!vecCarets.empty()) {
            const std::string strU = strText.substr(0, vecCarets.front());
            const std::string strW = strText.substr(vecCarets.front() + 1);
            qreal u, w, e;
            if (!Value(strU, u) || !Value(strW, w) || !Value(strText, e))
                return;
            if (!qisnegative(u) && !qiszero(u)) {
                qreal du, dw, lnU, t1, t2;
                Derive(strU, du);
                Derive(strW, dw);
                qlog(u, lnU);
                qmul(dw, lnU, t1);
                qmul(w, du, t2);
                qdiv(u, t2, t2);
                qadd(t1, t2, t1);
                qmul(e, t1, result);
                return;
            }
        }
        Numeric(strText, result);
    }

private:
    // The first "+" or "-" at depth 0 after the first character, or npos.
    static size_t FirstTopLevelSign(const std::string& strText)
    {
        int nDepth = 0;
        for (size_t i = 0; i < strText.size(); ++i) {
            const char ch = strText[i];
            if (ch == '(')
                ++nDepth;
            else if (ch == ')')
                --nDepth;
            else if (nDepth == 0 && i > 0 && (ch == '+' || ch == '-'))
                return i;
        }
        return std::string::npos;
    }

    bool Value(const std::string& strText, unsigned short* value)
    {
        const qcmplx v = ValueAt(strText.c_str(), m_strVariable.c_str(), m_x);
        qmov(v.r, value);
        return g_ErrCode == 0;
    }

    void Numeric(const std::string& strText, unsigned short* result)
    {
        const qcmplx d = NumericDerivative(strText.c_str(), m_strVariable.c_str(), m_x);
        qmov(d.r, result);
    }

    std::string m_strVariable;
    qreal m_x;
};

// ---------------------------------------------------------------------------
// Trapezoid stages

struct TrapezoidState {
    double dbSum = 0.0;
    double dbAbsoluteSum = 0.0;
};

TrapezoidState mg_trapezoid;

}  // namespace

// ---------------------------------------------------------------------------
// Callbacks

qcmplx fn(const unsigned short* x)
{
    return ValueAt(g_lpszExpression, g_lpszVariable, x);
}

double fnex(double x, const char* lpszExpression)
{
    if (lpszExpression == nullptr || lpszExpression[0] == '\0')
        return 0.0;
    bool bOk = false;
    const COMPLEX v = ExprEvaluationEx(lpszExpression, bOk, g_lpszVariable, x, 10);
    if (g_ErrCode != 0)
        return 0.0;
    if (std::fabs(v.y) > 1e-8) {
        SetErrorCode(ERR_COMPLEX);
        return 0.0;
    }
    return FiniteValue(v.x);
}

double fn(double x, void* /*pContext*/)
{
    if (g_lpszExpression == nullptr || g_lpszExpression[0] == '\0')
        return 0.0;
    bool bOk = false;
    const COMPLEX v = ExprEvaluationEx(g_lpszExpression, bOk, g_lpszVariable, x, 10);
    if (g_ErrCode != 0)
        return 0.0;
    if (std::fabs(v.y) > 1e-16) {
        SetErrorCode(ERR_COMPLEX);
        return 0.0;
    }
    return FiniteValue(v.x);
}

// ---------------------------------------------------------------------------
// Integration: Romberg's method on trapezoid stages

double trapzd(const unsigned short* a, const unsigned short* b, int n, const char* lpszExpression,
              double* pAbsolute)
{
    const char* lpszText = lpszExpression != nullptr ? lpszExpression : g_lpszExpression;
    const double dbA = qtodouble(a);
    const double dbB = qtodouble(b);
    if (n <= 1) {
        const double fa = fnex(dbA, lpszText);
        const double fb = fnex(dbB, lpszText);
        mg_trapezoid.dbSum = 0.5 * (dbB - dbA) * (fa + fb);
        mg_trapezoid.dbAbsoluteSum = 0.5 * (dbB - dbA) * (std::fabs(fa) + std::fabs(fb));
    } else {
        // 2^(n-2) new points halfway between the old ones.
        const long nPoints = 1L << (n - 2);
        const double dbStep = (dbB - dbA) / static_cast<double>(nPoints);
        double x = dbA + 0.5 * dbStep;
        double dbSum = 0.0;
        double dbAbsoluteSum = 0.0;
        for (long i = 0; i < nPoints; ++i, x += dbStep) {
            const double fx = fnex(x, lpszText);
            dbSum += fx;
            dbAbsoluteSum += std::fabs(fx);
        }
        mg_trapezoid.dbSum = 0.5 * (mg_trapezoid.dbSum + (dbB - dbA) * dbSum / nPoints);
        mg_trapezoid.dbAbsoluteSum =
            0.5 * (mg_trapezoid.dbAbsoluteSum + (dbB - dbA) * dbAbsoluteSum / nPoints);
    }
    if (pAbsolute != nullptr)
        *pAbsolute = mg_trapezoid.dbAbsoluteSum;
    return mg_trapezoid.dbSum;
}

qcmplx integration(const unsigned short* a, const unsigned short* b, const char* lpszExpression)
{
    constexpr int nMaxStages = 12;
    constexpr int nPoints = 5;
    if (qcmp(a, b) == 0)
        return qczero;
    qreal lower;
    qreal upper;
    qmov(a, lower);
    qmov(b, upper);
    const bool bSwapped = qcmp(a, b) > 0;
    if (bSwapped) {
        qmov(b, lower);
        qmov(a, upper);
    }

    ClearErrorCode();
    RadiansScope radians;
    double arrH[nMaxStages + 2];
    double arrS[nMaxStages + 2];
    arrH[0] = 1.0;
    double ss = 0.0;
    double dy = 0.0;
    bool bConverged = false;
    for (int j = 0; j < nMaxStages && g_ErrCode == 0; ++j) {
        double dbAbsolute = 0.0;
        arrS[j] = trapzd(lower, upper, j + 1, lpszExpression, &dbAbsolute);
        if (j + 1 >= nPoints) {
            polint(&arrH[j + 1 - nPoints], &arrS[j + 1 - nPoints], nPoints, 0.0, ss, dy);
            // Relative accuracy, or an absolute one against the integral of
            // |f| for integrals that are zero (sin x over [-1, 1]).
            if (std::fabs(dy) <= 1e-6 * std::fabs(ss) || std::fabs(dy) <= 1e-12 * dbAbsolute) {
                bConverged = true;
                break;
            }
        }
        arrH[j + 1] = 0.25 * arrH[j];
    }
    if (g_ErrCode != 0)
        return qczero;
    if (!bConverged || !std::isfinite(ss)) {
        SetErrorCode(ERR_INTEGRATION);
        return qczero;
    }
    return qcmplx_fromdouble(bSwapped ? -ss : ss);
}

// ---------------------------------------------------------------------------
// Derivatives

qcmplx derivation(const unsigned short* x)
{
    return NumericDerivative(g_lpszExpression, g_lpszVariable, x);
}

qcmplx derivation(const char* lpszExpression, const char* lpszVariable, const unsigned short* x)
{
    if (lpszExpression == nullptr) {
        SetErrorCode(ERR_SYNTAX);
        return qczero;
    }
    StructuralDerivative derivative(lpszVariable, x);
    qcmplx result = qczero;
    derivative.Derive(lpszExpression, result.r);
    if (g_ErrCode != 0)
        return qczero;
    return result;
}
