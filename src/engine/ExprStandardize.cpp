#include "engine/ExprStandardize.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BitOperations.h"
#include "engine/ExprCalculus.h"
#include "engine/IntegerFunctions.h"
#include "engine/qcomplex.h"
#include "numerics/CashFlow.h"
#include "numerics/DisplayFormat.h"
#include "numerics/NumericalMethods.h"
#include "numerics/TVMCalc.h"

const char* const fnName[FUNCTION_NAME_COUNT] = {
    "RT",     "fnInt", "fnDeriv", "fnEval", "gcd",  "fnRoot", "lcm", "module", "fib", "ran",
    "fnSum",  "fnProduct", "sum", "ssq",    "N",    "avg",    "sdv", "ssd",    "min", "max",
    "avd",    "median", "md",     "dsq",    "gm",   "ncr",    "npr", "db",     "syd", "sln",
    "pv",     "nper",  "rate",    "pmt",    "fv",   "not",    "cpl", "NPV",    "IRR",
};

int Top = 0;

namespace {

// Function numbers that Excute dispatches on.
enum FunctionNumber {
    FN_RT = 0, FN_INT, FN_DERIV, FN_EVAL, FN_GCD, FN_ROOT, FN_LCM, FN_MODULE, FN_FIB, FN_RAN,
    FN_SUM, FN_PRODUCT, FN_LIST_SUM, FN_SSQ, FN_N, FN_AVG, FN_SDV, FN_SSD, FN_MIN, FN_MAX,
    FN_AVD, FN_MEDIAN, FN_MD, FN_DSQ, FN_GM, FN_NCR, FN_NPR, FN_DB, FN_SYD, FN_SLN,
    FN_PV, FN_NPER, FN_RATE, FN_PMT, FN_FV, FN_NOT, FN_CPL, FN_NPV, FN_IRR,
};

// Built-in calls nest through their arguments; each level costs buffers, so
// the nesting is bounded well below anything the stack could not hold.
constexpr int mg_nMaxNesting = 64;
int mg_nNesting = 0;

// Terms of one sum or product; more would only keep the program busy.
constexpr long mg_nMaxTerms = 100000;

// A zero-filled expression buffer on the heap.
struct ExprBuffer {
    std::vector<char> vecText = std::vector<char>(EXPR_BUFFER_SIZE, '\0');
    char* Data() { return vecText.data(); }
    // Replaces the content; false when the text does not fit.
    bool Assign(const std::string& strText)
    {
        if (strText.size() >= static_cast<size_t>(EXPR_BUFFER_SIZE))
            return false;
        std::fill(vecText.begin(), vecText.end(), '\0');
        std::memcpy(vecText.data(), strText.data(), strText.size());
        return true;
    }
};

bool IsWordChar(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_';
}

std::string Trimmed(const char* lpszText)
{
    std::string strText(lpszText);
    const size_t nFirst = strText.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return std::string();
    const size_t nLast = strText.find_last_not_of(' ');
    return strText.substr(nFirst, nLast - nFirst + 1);
}

class NestingScope {
public:
    NestingScope() { ++mg_nNesting; }
    ~NestingScope() { --mg_nNesting; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;
    bool TooDeep() const { return mg_nNesting > mg_nMaxNesting; }
};

// A value as text that reads back to the same number: its first 99
// significant digits (all the reader takes), and when they are not the
// whole value, what is left as a second literal ("(1.5e+03)", or
// "(2.718281828459045235...e+00+4.5e-100)"). A built-in's result thus keeps
// its full precision in the text it is written back into: fib(300) and 30!
// stay exact integers.
std::string ExactValueText(const unsigned short* value)
{
    const std::string strHigh = ScientificString(value, 98);
    qreal back;
    qreal rest;
    asctoq(strHigh.c_str(), back);
    qsub(back, value, rest);
    if (qiszero(rest))
        return "(" + strHigh + ")";
    const std::string strLow = ScientificString(rest, 31);
    return "(" + strHigh + (strLow[0] == '-' ? "" : "+") + strLow + ")";
}

// A value written back into the expression in place of a call.
std::string ValueText(const qcmplx& value, int nBase)
{
    if (nBase == 10)
        return ExactValueText(value.r);
    const int nBaseCode = nBase == 2 ? BASE_BINARY : nBase == 8 ? BASE_OCTAL : BASE_HEXADECIMAL;
    const int nWordCode = g_BitWidth == 8 ? WORD_8 : g_BitWidth == 16 ? WORD_16 : g_BitWidth == 32 ? WORD_32 : WORD_64;
    char szMantissa[DISPLAY_BUFFER_SIZE];
    char szExponent[DISPLAY_BUFFER_SIZE];
    ConstructDisplayString(szMantissa, szExponent, nBaseCode, nWordCode, value.r, FORMAT_AUTO, 32, 4);
    return "(" + std::string(szMantissa) + ")";
}

// The summation index as a positional number where possible.
std::string IndexText(const unsigned short* value)
{
    char szText[QASCLEN + 8] = {};
    qtoasc(value, szText, 64);
    const std::string strText = Trimmed(szText);
    if (strText.find('E') != std::string::npos)
        return ExactValueText(value);
    return "(" + strText + ")";
}

// Every whole-word occurrence of the name replaced by the text.
std::string ReplaceWord(const std::string& strText, const std::string& strName, const std::string& strBy)
{
    if (strName.empty())
        return strText;
    std::string strOut;
    size_t nPos = 0;
    while (nPos < strText.size()) {
        const size_t nFound = strText.find(strName, nPos);
        if (nFound == std::string::npos)
            break;
        const size_t nAfter = nFound + strName.size();
        const bool bWhole = (nFound == 0 || !IsWordChar(strText[nFound - 1])) &&
                            (nAfter >= strText.size() || !IsWordChar(strText[nAfter]));
        strOut.append(strText, nPos, nFound - nPos);
        strOut += bWhole ? strBy : strName;
        nPos = nAfter;
    }
    strOut.append(strText, nPos, std::string::npos);
    return strOut;
}

// Reads the arguments of one call in order.
class ArgumentReader {
public:
    ArgumentReader(const char* lpszArguments, int nBase) : m_lpszArguments(lpszArguments), m_nBase(nBase) {}

    // The next argument's text; false (error -8 when required) if none is left.
    bool NextText(std::string& strText, bool bRequired = true)
    {
        ExprBuffer buffer;
        if (GetParam(m_lpszArguments, buffer.Data(), m_nPosition) == 0 || g_ErrCode != 0) {
            if (bRequired && g_ErrCode == 0)
                SetErrorCode(ERR_BAD_CALL);
            return false;
        }
        strText = buffer.Data();
        return true;
    }

    // The next argument's real value, its built-in calls expanded.
    bool NextValue(unsigned short* value, bool bRequired = true)
    {
        return NextValueInBase(value, 10, bRequired);
    }

    bool NextValueInBase(unsigned short* value, int nBase, bool bRequired = true)
    {
        std::string strText;
        if (!NextText(strText, bRequired))
            return false;
        ExprBuffer buffer;
        if (!buffer.Assign(strText)) {
            SetErrorCode(ERR_SYNTAX);
            return false;
        }
        if (ExprStandardize(buffer.Data(), nBase) == 0)
            return false;
        bool bOk = false;
        const qcmplx v = ExprEvaluation(buffer.Data(), bOk, nullptr, nullptr, nBase);
        if (g_ErrCode != 0)
            return false;
        if (!qiszero(v.i)) {
            SetErrorCode(ERR_COMPLEX);
            return false;
        }
        qmov(v.r, value);
        return true;
    }

    double NextDouble(bool& bOk, bool bRequired = true)
    {
        qreal value;
        bOk = NextValue(value, bRequired);
        return bOk ? qtodouble(value) : 0.0;
    }

    // True when the list has no further argument; a surplus one is error -8.
    bool AtEnd()
    {
        int nSaved = m_nPosition;
        ExprBuffer buffer;
        if (GetParam(m_lpszArguments, buffer.Data(), nSaved) != 0 && g_ErrCode == 0) {
            SetErrorCode(ERR_BAD_CALL);
            return false;
        }
        return g_ErrCode == 0;
    }

    int Base() const { return m_nBase; }

private:
    const char* m_lpszArguments;
    int m_nBase;
    int m_nPosition = 0;
};

// Reads exactly nCount values (and at most nOptional more) as doubles.
bool ReadDoubles(ArgumentReader& reader, int nCount, int nOptional, std::vector<double>& vecValues)
{
    vecValues.clear();
    for (int i = 0; i < nCount; ++i) {
        bool bOk = false;
        const double d = reader.NextDouble(bOk);
        if (!bOk)
            return false;
        vecValues.push_back(d);
    }
    for (int i = 0; i < nOptional; ++i) {
        bool bOk = false;
        const double d = reader.NextDouble(bOk, false);
        if (!bOk)
            return g_ErrCode == 0 && reader.AtEnd();
        vecValues.push_back(d);
    }
    return reader.AtEnd();
}

// A result computed in double precision, as a value of the engine. A NaN or
// an infinity has no place in the text it is written back into (it would
// turn into 0 or the largest magnitude there without a word): it is an error.
qcmplx Real(double d)
{
    if (std::isnan(d)) {
        SetErrorCode(ERR_LIBRARY);
        return qczero;
    }
    if (std::isinf(d)) {
        SetErrorCode(ERR_INFINITE);
        return qczero;
    }
    return qcmplx_fromdouble(d, 0.0);
}

// ---------------------------------------------------------------------------
// Statistics on register 29

qcmplx Statistics(int nFunction)
{
    const REG& list = g_reg[REG_COUNT - 1];
    if (list.type != REG_MATRIX || list.cols != 1 || list.rows == 0 || list.elements == nullptr) {
        SetErrorCode(ERR_NO_LIST);
        return qczero;
    }
    const std::vector<double> vecValues(list.elements, list.elements + list.rows);
    const double n = static_cast<double>(vecValues.size());
    double dbSum = 0.0;
    double dbSquares = 0.0;
    for (double x : vecValues) {
        dbSum += x;
        dbSquares += x * x;
    }
    const double dbMean = dbSum / n;
    // Deviations from the mean, summed directly: the same value as
    // n sum x^2 - (sum x)^2 without its cancellation (which can even go
    // negative and give no square root for equal values).
    double dbDeviations = 0.0;
    double dbAbsolute = 0.0;
    for (double x : vecValues) {
        dbDeviations += (x - dbMean) * (x - dbMean);
        dbAbsolute += std::fabs(x - dbMean);
    }

    switch (nFunction) {
    case FN_LIST_SUM: return Real(dbSum);
    case FN_SSQ: return Real(dbSquares);
    case FN_N: return Real(n);
    case FN_AVG: return Real(dbMean);
    case FN_SDV: return Real(std::sqrt(dbDeviations / n));
    case FN_SSD:
        if (vecValues.size() < 2) {
            SetErrorCode(ERR_DIVISION);
            return qczero;
        }
        return Real(std::sqrt(dbDeviations / (n - 1.0)));
    case FN_MIN: return Real(*std::min_element(vecValues.begin(), vecValues.end()));
    case FN_MAX: return Real(*std::max_element(vecValues.begin(), vecValues.end()));
    case FN_AVD: return Real(dbAbsolute / n);
    case FN_DSQ: return Real(dbDeviations);
    case FN_MEDIAN: {
        std::vector<double> vecSorted = vecValues;
        std::sort(vecSorted.begin(), vecSorted.end(), [](double a, double b) { return a > b; });
        const size_t nMiddle = vecSorted.size() / 2;
        if (vecSorted.size() % 2 == 1)
            return Real(vecSorted[nMiddle]);
        return Real((vecSorted[nMiddle - 1] + vecSorted[nMiddle]) / 2.0);
    }
    case FN_MD: {
        size_t nBestCount = 0;
        double dbBest = vecValues.front();
        for (double x : vecValues) {
            const size_t nCount = static_cast<size_t>(std::count(vecValues.begin(), vecValues.end(), x));
            if (nCount > nBestCount) {
                nBestCount = nCount;
                dbBest = x;
            }
        }
        return Real(dbBest);
    }
    case FN_GM: {
        // (prod x)^(1/n) through logarithms, so that long lists do not
        // overflow; an odd count keeps the sign of a negative product.
        bool bNegative = false;
        double dbLogSum = 0.0;
        for (double x : vecValues) {
            if (x == 0.0)
                return Real(0.0);
            bNegative = bNegative != (x < 0.0);
            dbLogSum += std::log(std::fabs(x));
        }
        if (bNegative && vecValues.size() % 2 == 0) {
            SetErrorCode(ERR_SQRT);
            return qczero;
        }
        const double dbRoot = std::exp(dbLogSum / n);
        return Real(bNegative ? -dbRoot : dbRoot);
    }
    default: return qczero;
    }
}

// ---------------------------------------------------------------------------
// Calculus: fnInt, fnDeriv, fnEval, fnRoot

qcmplx Calculus(int nFunction, ArgumentReader& reader)
{
    std::string strExpression;
    std::string strVariable;
    if (!reader.NextText(strExpression) || !reader.NextText(strVariable))
        return qczero;
    strVariable = Trimmed(strVariable.c_str());
    if (strVariable.empty()) {
        SetErrorCode(ERR_BAD_CALL);
        return qczero;
    }
    ExprBuffer expression;
    if (!expression.Assign(strExpression)) {
        SetErrorCode(ERR_SYNTAX);
        return qczero;
    }
    if (ExprStandardize(expression.Data(), 10) == 0)
        return qczero;

    qreal first;
    qreal second;
    if (!reader.NextValue(first))
        return qczero;
    const bool bTwoBounds = nFunction == FN_INT || nFunction == FN_ROOT;
    if (bTwoBounds && !reader.NextValue(second))
        return qczero;
    if (!reader.AtEnd())
        return qczero;

    // The methods find the expression and its variable here; the texts live
    // only for this call, so the pointers are taken back before returning.
    g_lpszExpression = expression.Data();
    g_lpszVariable = strVariable.c_str();
    qcmplx result = qczero;
    switch (nFunction) {
    case FN_INT: result = integration(first, second, expression.Data()); break;
    case FN_DERIV: result = derivation(expression.Data(), strVariable.c_str(), first); break;
    case FN_EVAL: result = fn(first); break;
    case FN_ROOT: result = Real(fnroot(qtodouble(first), qtodouble(second), fn)); break;
    default: break;
    }
    g_lpszExpression = nullptr;
    g_lpszVariable = nullptr;
    if (g_ErrCode != 0)
        return qczero;
    return result;
}

// ---------------------------------------------------------------------------
// fnSum, fnProduct

qcmplx Series(bool bProduct, ArgumentReader& reader)
{
    std::string strExpression;
    std::string strVariable;
    if (!reader.NextText(strExpression) || !reader.NextText(strVariable))
        return qczero;
    strVariable = Trimmed(strVariable.c_str());
    qreal from;
    qreal to;
    qreal step;
    if (!reader.NextValue(from) || !reader.NextValue(to))
        return qczero;
    if (!reader.NextValue(step, false)) {
        if (g_ErrCode != 0)
            return qczero;
        qmov(qone, step);
    }
    if (!reader.AtEnd())
        return qczero;

    // The step must walk from "from" towards "to" without passing it at once.
    qreal range;
    qsub(from, to, range);
    const int nDirection = qcmp(to, from);
    bool bStepOk = true;
    if (nDirection > 0)
        bStepOk = qcmp(step, qzero) > 0 && qcmp(step, range) <= 0;
    else if (nDirection < 0)
        bStepOk = qcmp(step, qzero) < 0 && qcmp(step, range) >= 0;
    if (!bStepOk || strVariable.empty()) {
        SetErrorCode(ERR_SUM_STEP);
        return qczero;
    }

    // The number of terms, counted once: adding the step up would let
    // rounding drop the last term (0.1 ten times is not exactly 1).
    long nTerms = 1;
    if (nDirection != 0) {
        qreal quotient;
        qdiv(step, range, quotient);
        const double dbQuotient = qtodouble(quotient);
        if (!(dbQuotient < static_cast<double>(mg_nMaxTerms))) {
            SetErrorCode(ERR_SUM_STEP);
            return qczero;
        }
        nTerms = static_cast<long>(std::floor(dbQuotient + 1e-9)) + 1;
    }

    qcmplx accumulator = bProduct ? qcone : qczero;
    for (long k = 0; k < nTerms; ++k) {
        qreal index;
        qreal offset;
        ltoq(&k, offset);
        qmul(offset, step, offset);
        qadd(from, offset, index);

        ExprBuffer term;
        if (!term.Assign(ReplaceWord(strExpression, strVariable, IndexText(index)))) {
            SetErrorCode(ERR_SYNTAX);
            return qczero;
        }
        if (ExprStandardize(term.Data(), 10) == 0)
            return qczero;
        bool bOk = false;
        const qcmplx v = ExprEvaluation(term.Data(), bOk, nullptr, nullptr, 10);
        if (g_ErrCode != 0)
            return qczero;
        if (!qiszero(v.i)) {
            SetErrorCode(ERR_COMPLEX);
            return qczero;
        }
        if (bProduct)
            qmul(v.r, accumulator.r, accumulator.r);
        else
            qadd(v.r, accumulator.r, accumulator.r);
    }
    return accumulator;
}

// ---------------------------------------------------------------------------
// Financial functions

qcmplx TimeValue(int nFunction, ArgumentReader& reader)
{
    std::vector<double> v;
    if (!ReadDoubles(reader, 5, 1, v))
        return qczero;
    const signed char bType = (v.size() > 5 && v[5] != 0.0) ? 1 : 0;
    double dbResult = 0.0;
    switch (nFunction) {
    case FN_FV: dbResult = CTVMCalc::FVcalc(v[0], v[1], v[2], v[3], v[4], bType); break;
    case FN_PMT: dbResult = CTVMCalc::PMTcalc(v[0], v[1], v[2], v[3], v[4], bType); break;
    case FN_RATE: dbResult = CTVMCalc::YRATECalc(v[0], v[1], v[2], v[3], v[4], bType); break;
    case FN_NPER: dbResult = CTVMCalc::NPERcalc(v[0], v[1], v[2], v[3], v[4], bType); break;
    case FN_PV: dbResult = CTVMCalc::PVcalc(v[0], v[1], v[2], v[3], v[4], bType); break;
    default: break;
    }
    return g_ErrCode != 0 ? qczero : Real(dbResult);
}

qcmplx NetPresentValue(ArgumentReader& reader)
{
    std::vector<double> v;
    if (!ReadDoubles(reader, 5, 0, v))
        return qczero;
    // The period count is a whole number of periods; a count beyond a
    // million would only keep the program busy.
    if (!(v[4] >= 0.0 && v[4] <= 1e6)) {
        SetErrorCode(ERR_FINANCIAL);
        return qczero;
    }
    return Real(NPV(v[0], v[1], v[2], v[3], static_cast<int>(v[4])));
}

qcmplx InternalRate(ArgumentReader& reader)
{
    std::vector<double> v;
    for (;;) {
        bool bOk = false;
        const double d = reader.NextDouble(bOk, false);
        if (!bOk)
            break;
        v.push_back(d);
    }
    // Flows after an empty argument would be left out without a word.
    if (g_ErrCode != 0 || !reader.AtEnd())
        return qczero;
    if (v.size() < 2) {
        SetErrorCode(ERR_BAD_CALL);
        return qczero;
    }
    const double dbRate = IRR(v[0], v.data() + 1, static_cast<int>(v.size() - 1));
    return g_ErrCode != 0 ? qczero : Real(dbRate);
}

qcmplx Depreciation(int nFunction, ArgumentReader& reader)
{
    std::vector<double> v;
    const int nCount = nFunction == FN_SLN ? 3 : 4;
    if (!ReadDoubles(reader, nCount, nFunction == FN_DB ? 1 : 0, v))
        return qczero;
    double dbResult = 0.0;
    switch (nFunction) {
    case FN_SLN: dbResult = CTVMCalc::SLNcalc(v[0], v[1], v[2]); break;
    case FN_SYD: dbResult = CTVMCalc::SYDcalc(v[0], v[1], v[2], v[3]); break;
    case FN_DB: dbResult = CTVMCalc::DBcalc(v[0], v[1], v[2], v[3], v.size() > 4 ? v[4] : 12.0); break;
    default: break;
    }
    return g_ErrCode != 0 ? qczero : Real(dbResult);
}

// ---------------------------------------------------------------------------
// Integer functions

qcmplx Complement(int nFunction, ArgumentReader& reader)
{
    qreal value;
    if (!reader.NextValueInBase(value, reader.Base()) || !reader.AtEnd())
        return qczero;
    if (!qiswhole(value)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return qczero;
    }
    const double d = qtodouble(value);
    return Real(static_cast<double>(nFunction == FN_NOT ? WordNot(d) : WordComplement(d)));
}

// npr and ncr count arrangements of r things out of n: both whole and not
// negative. Choosing more than there are gives 0 arrangements; a count
// beyond the number range is no value.
qcmplx Arrangements(int nFunction, ArgumentReader& reader)
{
    qreal n;
    qreal r;
    if (!reader.NextValue(n) || !reader.NextValue(r) || !reader.AtEnd())
        return qczero;
    if (!qiswhole(n) || !qiswhole(r)) {
        SetErrorCode(ERR_INVALID_TYPE);
        return qczero;
    }
    if (qisnegative(n) || qisnegative(r)) {
        SetErrorCode(ERR_BAD_PARAMETERS);
        return qczero;
    }
    if (qcmp(r, n) > 0)
        return qczero;
    const qcmplx result = nFunction == FN_NPR ? NPR(n, r) : NCR(n, r);
    if (result.r[1] >= QEXPMAX) {
        SetErrorCode(ERR_LIBRARY);
        return qczero;
    }
    return result;
}

qcmplx Fold(int nFunction, ArgumentReader& reader)
{
    qreal value;
    if (!reader.NextValue(value))
        return qczero;
    qcmplx result = qcmplx_make(value);
    // A second argument is required, any further ones are folded in.
    if (!reader.NextValue(value))
        return qczero;
    do {
        result = nFunction == FN_GCD ? GCD(result.r, value) : LCM(result.r, value);
        if (g_ErrCode != 0)
            return qczero;
    } while (reader.NextValue(value, false));
    // The list ends at the first empty argument; anything after it would be
    // left out of the result without a word.
    if (g_ErrCode != 0 || !reader.AtEnd())
        return qczero;
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------

int FindFunction(const char* lpszText, int& nOffset)
{
    if (lpszText == nullptr || nOffset < 0)
        return -1;
    const size_t nLength = std::strlen(lpszText);
    if (static_cast<size_t>(nOffset) > nLength)
        return -1;
    const std::string_view text(lpszText, nLength);
    for (int k = 0; k < FUNCTION_NAME_COUNT; ++k) {
        const std::string_view name(fnName[k]);
        size_t nPos = static_cast<size_t>(nOffset);
        while ((nPos = text.find(name, nPos)) != std::string_view::npos) {
            const size_t nAfter = nPos + name.size();
            // Only whole words count (N is not the N of NPV, sum not the
            // sum of fnSum or sum_1), and not after a backslash (TeX).
            const bool bWhole = (nPos == 0 || !IsWordChar(text[nPos - 1])) &&
                                (nAfter >= text.size() || !IsWordChar(text[nAfter]));
            const bool bEscaped = nPos > 0 && text[nPos - 1] == '\\';
            if (bWhole && !bEscaped) {
                nOffset = static_cast<int>(nPos);
                return k;
            }
            ++nPos;
        }
    }
    return -1;
}

int GetFunctionString(const char* lpszText, char* lpszOutput, int& nPosition)
{
    std::memset(lpszOutput, 0, EXPR_BUFFER_SIZE);
    Top = 0;
    if (lpszText == nullptr || nPosition < 0)
        return 0;
    const size_t nLength = strnlen(lpszText, EXPR_BUFFER_SIZE);
    size_t nOpen = static_cast<size_t>(nPosition);
    while (nOpen < nLength && lpszText[nOpen] != '(')
        ++nOpen;
    if (nOpen >= nLength)
        return 0;
    size_t nClose = nOpen;
    for (; nClose < nLength; ++nClose) {
        if (lpszText[nClose] == '(')
            ++Top;
        else if (lpszText[nClose] == ')' && --Top == 0)
            break;
    }
    if (nClose >= nLength)
        return 0;
    const size_t nInner = nClose - nOpen - 1;
    std::memcpy(lpszOutput, lpszText + nOpen + 1, std::min(nInner, static_cast<size_t>(EXPR_BUFFER_SIZE - 1)));
    nPosition = static_cast<int>(nClose + 1);
    return 1;
}

int GetParam(const char* lpszList, char* lpszOutput, int& nPosition)
{
    std::memset(lpszOutput, 0, EXPR_BUFFER_SIZE);
    Top = 0;
    if (lpszList == nullptr || nPosition < 0)
        return 0;
    const size_t nLength = strnlen(lpszList, EXPR_BUFFER_SIZE);
    const size_t nStart = static_cast<size_t>(nPosition);
    if (nStart >= nLength)
        return 0;
    size_t nEnd = nStart;
    for (; nEnd < nLength; ++nEnd) {
        const char ch = lpszList[nEnd];
        if (ch == '(') {
            ++Top;
        } else if (ch == ')') {
            if (Top == 0)
                SetErrorCode(ERR_BAD_CALL);
            else
                --Top;
        } else if (ch == ',' && Top == 0) {
            break;
        }
    }
    if (nEnd == nStart) {
        nPosition = static_cast<int>(nEnd < nLength ? nEnd + 1 : nEnd);
        return 0;
    }
    std::memcpy(lpszOutput, lpszList + nStart, std::min(nEnd - nStart, static_cast<size_t>(EXPR_BUFFER_SIZE - 1)));
    nPosition = static_cast<int>(nEnd < nLength ? nEnd + 1 : nEnd);
    return 1;
}

qcmplx Excute(int nFunction, const char* lpszArguments, int nBase)
{
    if (g_ErrCode != 0 || lpszArguments == nullptr)
        return qczero;
    ArgumentReader reader(lpszArguments, nBase);
    qcmplx result = qczero;
    switch (nFunction) {
    case FN_INT:
    case FN_DERIV:
    case FN_EVAL:
    case FN_ROOT: result = Calculus(nFunction, reader); break;
    case FN_SUM: result = Series(false, reader); break;
    case FN_PRODUCT: result = Series(true, reader); break;
    case FN_GCD:
    case FN_LCM: result = Fold(nFunction, reader); break;
    case FN_MODULE: break;
    case FN_FIB: {
        qreal n;
        if (reader.NextValue(n) && reader.AtEnd())
            result = FIB(n);
        break;
    }
    case FN_RAN: {
        qreal a;
        qreal b;
        if (reader.NextValue(a) && reader.NextValue(b) && reader.AtEnd())
            result = RAN(a, b);
        break;
    }
    case FN_LIST_SUM:
    case FN_SSQ:
    case FN_N:
    case FN_AVG:
    case FN_SDV:
    case FN_SSD:
    case FN_MIN:
    case FN_MAX:
    case FN_AVD:
    case FN_MEDIAN:
    case FN_MD:
    case FN_DSQ:
    case FN_GM: result = Statistics(nFunction); break;
    case FN_NCR:
    case FN_NPR: result = Arrangements(nFunction, reader); break;
    case FN_DB:
    case FN_SYD:
    case FN_SLN: result = Depreciation(nFunction, reader); break;
    case FN_PV:
    case FN_NPER:
    case FN_RATE:
    case FN_PMT:
    case FN_FV: result = TimeValue(nFunction, reader); break;
    case FN_NOT:
    case FN_CPL: result = Complement(nFunction, reader); break;
    case FN_NPV: result = NetPresentValue(reader); break;
    case FN_IRR: result = InternalRate(reader); break;
    default: SetErrorCode(ERR_BAD_CALL); break;
    }
    // The number-theory functions leave no expression behind.
    if (nFunction == FN_GCD || nFunction == FN_LCM || nFunction == FN_FIB || nFunction == FN_RAN ||
        nFunction == FN_NPR || nFunction == FN_NCR || nFunction == FN_NOT || nFunction == FN_CPL) {
        g_lpszExpression = nullptr;
        g_lpszVariable = nullptr;
    }
    if (g_ErrCode != 0)
        return qczero;
    qclear(result.i);
    return result;
}

int ExprStandardize(char* lpszExpression, int nBase)
{
    if (g_ErrCode != 0)
        return 0;
    if (lpszExpression == nullptr || strnlen(lpszExpression, EXPR_BUFFER_SIZE) >= static_cast<size_t>(EXPR_BUFFER_SIZE)) {
        SetErrorCode(ERR_SYNTAX);
        return 0;
    }
    NestingScope nesting;
    if (nesting.TooDeep()) {
        SetErrorCode(ERR_SYNTAX);
        return 0;
    }
    ExprBuffer arguments;
    for (;;) {
        if (g_ErrCode != 0)
            return 0;
        int nOffset = 0;
        const int k = FindFunction(lpszExpression, nOffset);
        if (k < 0)
            return 1;

        // A call is its name followed by its parenthesised arguments.
        int nPosition = nOffset + static_cast<int>(std::strlen(fnName[k]));
        while (lpszExpression[nPosition] == ' ')
            ++nPosition;
        if (lpszExpression[nPosition] != '(' ||
            GetFunctionString(lpszExpression, arguments.Data(), nPosition) == 0) {
            SetErrorCode(ERR_BAD_CALL);
            return 0;
        }

        std::string strReplacement;
        if (k == FN_RT) {
            // RT(n, b) is the n-th root of b: "((n) root (b)) ".
            ExprBuffer index;
            ExprBuffer radicand;
            int nParam = 0;
            if (GetParam(arguments.Data(), index.Data(), nParam) == 0 ||
                GetParam(arguments.Data(), radicand.Data(), nParam) == 0) {
                SetErrorCode(ERR_BAD_CALL);
                return 0;
            }
            strReplacement = std::string("((") + index.Data() + ") root (" + radicand.Data() + ")) ";
        } else {
            const qcmplx value = Excute(k, arguments.Data(), nBase);
            if (g_ErrCode != 0)
                return 0;
            strReplacement = ValueText(value, nBase);
        }

        const std::string strText = std::string(lpszExpression, static_cast<size_t>(nOffset)) + strReplacement +
                                    std::string(lpszExpression + nPosition);
        if (strText.size() >= static_cast<size_t>(EXPR_BUFFER_SIZE)) {
            SetErrorCode(ERR_SYNTAX);
            return 0;
        }
        std::memset(lpszExpression, 0, EXPR_BUFFER_SIZE);
        std::memcpy(lpszExpression, strText.data(), strText.size());
    }
}

REG ExprEval(const char* lpszExpression, int nKind, int nBase)
{
    if (g_ErrCode != 0)
        return g_reg[0];
    REG& result = g_reg[0];
    delete[] result.elements;
    result = REG{};
    // Matrix expressions have no evaluator in this program.
    if (nKind != 0) {
        SetErrorCode(ERR_SYNTAX);
        return result;
    }
    ExprBuffer buffer;
    if (lpszExpression == nullptr || !buffer.Assign(lpszExpression)) {
        SetErrorCode(ERR_SYNTAX);
        return result;
    }
    if (ExprStandardize(buffer.Data(), nBase) == 0)
        return result;
    bool bOk = false;
    const qcmplx value = ExprEvaluation(buffer.Data(), bOk, nullptr, nullptr, nBase);
    if (g_ErrCode != 0)
        return result;
    qmov(value.r, result.re);
    qmov(value.i, result.im);
    result.type = qiszero(value.i) ? REG_REAL : REG_COMPLEX;
    return result;
}
