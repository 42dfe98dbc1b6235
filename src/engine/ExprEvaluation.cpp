#include "engine/ExprEvaluation.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// ---------------------------------------------------------------------------
// Shared values

const char* g_lpszExpression = nullptr;
const char* g_lpszVariable = nullptr;
char g_lpszRPN[EXPR_BUFFER_SIZE] = {};

REG g_reg[REG_COUNT] = {};

void myetoq(double dbValue, unsigned short* pValue)
{
    etoq(&dbValue, pValue);
}

void myqtoe(const unsigned short* pValue, double& dbValue)
{
    qtoe(pValue, &dbValue);
}

// ---------------------------------------------------------------------------
// Registers

void ClearRegisters()
{
    for (REG& reg : g_reg) {
        delete[] reg.elements;
        reg = REG{};
    }
}

void SetStatisticsList(const double* pValues, int nCount)
{
    REG& list = g_reg[REG_COUNT - 1];
    delete[] list.elements;
    list = REG{};
    if (pValues == nullptr || nCount <= 0)
        return;
    // The row count is 16 bits wide.
    const int nRows = nCount > 65535 ? 65535 : nCount;
    list.type = REG_MATRIX;
    list.rows = static_cast<unsigned short>(nRows);
    list.cols = 1;
    list.elements = new double[static_cast<size_t>(nRows)];
    std::memcpy(list.elements, pValues, sizeof(double) * static_cast<size_t>(nRows));
}

// ---------------------------------------------------------------------------
// Handler tables

const FUNCTION_TABLE_EX lpFunctionTableEx[FUNCTION_TABLE_EX_SIZE] = {
    {"+", AddEx},         {"-", SubEx},         {"*", MulEx},         {"/", DivEx},
    {"^", PowEx},         {"root", rootEx},     {"iroot", irootEx},   {"exp", expEx},
    {"iexp", iexpEx},     {"%", PercentEx},     {"!", FactorialEx},   {"mod", modEx},
    {"shl", shlEx},       {"shr", shrEx},       {"rtl", rtlEx},       {"rtr", rtrEx},
    {"and", ANDFEx},      {"or", ORFEx},        {"xor", XORFEx},      {"nand", NANDFEx},
    {"nor", NORFEx},      {"not", notEx},       {"cpl", cplEx},       {"sqrt", SqrtEx},
    {"abs", AbsEx},       {"ln", LnEx},         {"log", LogEx},       {"sin", SinEx},
    {"cos", CosEx},       {"tan", TanEx},       {"asin", ASinEx},     {"acos", ACosEx},
    {"atan", ATanEx},     {"sec", SecEx},       {"csc", CSecEx},      {"asec", ASecEx},
    {"acsc", ACscEx},     {"sinh", SinhEx},     {"cosh", CoshEx},     {"tanh", TanhEx},
    {"asinh", ASinhEx},   {"acosh", ACoshEx},   {"atanh", ATanhEx},   {"sech", SechEx},
    {"csch", CSechEx},    {"asech", ASechEx},   {"acsch", ACschEx},
    // The cotangent family, which the tokenizer accepts, computes here too.
    {"ctan", CTanEx},     {"acot", ACotEx},     {"ctanh", CtanhEx},   {"acoth", ACothEx},
};

const FUNCTION_TABLE lpFunctionTable[FUNCTION_TABLE_SIZE] = {
    {"+", Add},           {"-", Sub},           {"*", Mul},           {"/", Div},
    {"^", Pow},           {"root", Root},       {"iroot", iroot},     {"exp", Exp},
    {"iexp", iexp},       {"%", Percent},       {"!", Factorial},     {"mod", mod},
    {"shl", shl},         {"shr", shr},         {"rtl", rtl},         {"rtr", rtr},
    {"and", ANDF},        {"or", ORF},          {"xor", XORF},        {"nand", NANDF},
    {"nor", NORF},        {"not", Not},         {"cpl", cpl},         {"sqrt", Sqrt},
    {"abs", Abs},         {"ln", Ln},           {"log", Log},         {"sin", Sin},
    {"cos", Cos},         {"tan", Tan},         {"asin", ASin},       {"acos", ACos},
    {"atan", ATan},       {"sec", Sec},         {"csc", Csec},        {"asec", ASec},
    {"acsc", ACsec},      {"sinh", Sinh},       {"cosh", Cosh},       {"tanh", Tanh},
    {"asinh", ASinh},     {"acosh", ACosh},     {"atanh", ATanh},     {"sech", Sech},
    {"csch", Csech},      {"asech", ASech},     {"acsch", ACsech},    {"ctan", CTan},
    {"acot", ACot},       {"ctanh", Ctanh},     {"acoth", ACoth},
};

namespace {

// Exact-name index of a handler table, built on first use: every token of
// every evaluation is looked up, most of them operands that match nothing.
template <typename Entry, size_t N>
const Entry* FindEntry(const Entry (&arrTable)[N], const char* lpszToken)
{
    static const std::unordered_map<std::string_view, const Entry*> mapIndex = [&arrTable] {
        std::unordered_map<std::string_view, const Entry*> map;
        for (const Entry& entry : arrTable)
            map.emplace(entry.lpszName, &entry);
        return map;
    }();
    if (lpszToken == nullptr)
        return nullptr;
    const auto it = mapIndex.find(lpszToken);
    return it == mapIndex.end() ? nullptr : it->second;
}

}  // namespace

const FUNCTION_TABLE_EX* GetHandlerEx(const char* lpszToken)
{
    return FindEntry(lpFunctionTableEx, lpszToken);
}

const FUNCTION_TABLE* GetHandler(const char* lpszToken)
{
    return FindEntry(lpFunctionTable, lpszToken);
}

// ---------------------------------------------------------------------------
// Evaluation

namespace {

// A decimal number as the tokenizer leaves it (a radix conversion may have
// produced a leading "-"), read whole by strtod.
bool IsDecimalLiteral(const char* lpszToken)
{
    const char* p = lpszToken[0] == '-' ? lpszToken + 1 : lpszToken;
    if (!std::isdigit(static_cast<unsigned char>(*p)) && *p != '.')
        return false;
    char* pEnd = nullptr;
    std::strtod(lpszToken, &pEnd);
    return pEnd != lpszToken && *pEnd == '\0';
}

std::string LowerCase(const char* lpszText)
{
    std::string strLower(lpszText != nullptr ? lpszText : "");
    for (char& ch : strLower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return strLower;
}

// Copies the caller's text into a zero-filled expression buffer. A text that
// does not fit, terminator included, is refused.
bool CopyToBuffer(const char* lpszText, char* lpszBuffer)
{
    std::memset(lpszBuffer, 0, EXPR_BUFFER_SIZE);
    if (lpszText == nullptr)
        return false;
    const size_t nLength = strnlen(lpszText, EXPR_BUFFER_SIZE);
    if (nLength >= static_cast<size_t>(EXPR_BUFFER_SIZE))
        return false;
    std::memcpy(lpszBuffer, lpszText, nLength);
    return true;
}

// Text -> postfix string in the buffer; error -1 on any failure.
bool MakePostfix(const char* lpszText, char* lpszBuffer, const char* lpszVariable, int nBase)
{
    if (!CopyToBuffer(lpszText, lpszBuffer)) {
        SetErrorCode(ERR_SYNTAX);
        return false;
    }
    if (ExpressionParser(lpszBuffer, nBase, lpszVariable) != 1 || RPNMaker(lpszBuffer) != 1) {
        SetErrorCode(ERR_SYNTAX);
        return false;
    }
    return true;
}

// Walks a postfix string (modified in place: tokens are cut at their blanks).
// lookup finds the handler of a token; operand turns any other token into a
// value and returns false after setting an error code. Both stacks are
// bounded: an expression that would overflow them is a syntax error.
template <typename Value, typename Lookup, typename Operand>
bool WalkPostfix(char* lpszPostfix, Value* pStack, long& nCount, Lookup lookup, Operand operand)
{
    long arrGroups[EVAL_STACK_SIZE];
    long nDepth = 0;
    nCount = 0;
    char* p = lpszPostfix;
    while (*p != '\0') {
        while (*p == ' ')
            ++p;
        if (*p == '\0')
            break;
        char* lpszToken = p;
        while (*p != '\0' && *p != ' ')
            ++p;
        if (*p == ' ')
            *p++ = '\0';

        if (const auto* pEntry = lookup(lpszToken)) {
            const long nBase = nDepth > 0 ? arrGroups[nDepth - 1] : 0;
            pEntry->lpfnHandler(pStack, nCount, nBase);
            if (g_ErrCode != 0)
                return false;
        } else if (std::strcmp(lpszToken, "(") == 0) {
            if (nDepth >= EVAL_STACK_SIZE) {
                SetErrorCode(ERR_SYNTAX);
                return false;
            }
            arrGroups[nDepth++] = nCount;
        } else if (std::strcmp(lpszToken, ")") == 0) {
            if (nDepth == 0) {
                SetErrorCode(ERR_SYNTAX);
                return false;
            }
            --nDepth;
        } else {
            if (nCount >= EVAL_STACK_SIZE) {
                SetErrorCode(ERR_SYNTAX);
                return false;
            }
            if (!operand(lpszToken, pStack[nCount]))
                return false;
            ++nCount;
        }
    }
    // A well-formed expression leaves exactly its value; anything else was
    // never one expression.
    if (nCount != 1) {
        SetErrorCode(ERR_SYNTAX);
        return false;
    }
    return true;
}

const unsigned short* EulerNumber()
{
    static qreal e;
    static bool bReady = false;
    if (!bReady) {
        qexp(qone, e);
        bReady = true;
    }
    return e;
}

// Postfix cache of ExprEvaluationEx: the text, base and variable it was made
// from. The key is a private copy, so a caller that changes or frees its text
// can never make the cache answer for the wrong expression.
std::string mg_strRPNText;
std::string mg_strRPNVariable;
int mg_nRPNBase = 0;

}  // namespace

qcmplx ExprEvaluation(const char* lpszExpression, bool& bOk, const char* lpszVariable,
                      unsigned short* pValue, int nBase)
{
    qcmplx result = qczero;
    if (g_ErrCode != 0)
        return result;

    char szBuffer[EXPR_BUFFER_SIZE];
    if (!MakePostfix(lpszExpression, szBuffer, lpszVariable, nBase))
        return result;

    const bool bHasVariable = lpszVariable != nullptr && lpszVariable[0] != '\0';
    const std::string strVariable = LowerCase(lpszVariable);

    std::unique_ptr<qcmplx[]> pStack(new qcmplx[EVAL_STACK_SIZE]);
    long nCount = 0;
    const bool bDone = WalkPostfix(
        szBuffer, pStack.get(), nCount, GetHandlerEx, [&](const char* lpszToken, qcmplx& value) {
            g_ErrCode = ERR_NONE;
            Clearmerror();
            value = qczero;
            if (IsDecimalLiteral(lpszToken)) {
                asctoq(lpszToken, value.r);
                // A number beyond the library's range has been cut to the
                // largest magnitude; that is not the number written.
                if (iserror()) {
                    SetErrorCode(ERR_OUT_OF_RANGE);
                    return false;
                }
            } else if (bHasVariable && strVariable == lpszToken) {
                if (pValue != nullptr)
                    qmov(pValue, value.r);
            } else if (std::strcmp(lpszToken, "pi") == 0) {
                qmov(qpi, value.r);
            } else if (std::strcmp(lpszToken, "e") == 0) {
                qmov(EulerNumber(), value.r);
            } else if (std::strcmp(lpszToken, "i") == 0) {
                qmov(qone, value.i);
            } else {
                const int nReg = FindReg(lpszToken);
                if (nReg < 0 || g_reg[nReg].type == REG_MATRIX) {
                    SetErrorCode(ERR_SYNTAX);
                    return false;
                }
                qmov(g_reg[nReg].re, value.r);
                qmov(g_reg[nReg].im, value.i);
            }
            return true;
        });
    if (!bDone)
        return result;
    result = pStack[0];
    bOk = true;
    return result;
}

COMPLEX ExprEvaluationEx(const char* lpszExpression, bool& bOk, const char* lpszVariable,
                         long double dbValue, int nBase)
{
    COMPLEX result{0.0, 0.0};
    if (g_ErrCode != 0)
        return result;
    if (lpszExpression == nullptr) {
        SetErrorCode(ERR_SYNTAX);
        return result;
    }

    const std::string strVariable = LowerCase(lpszVariable);
    const bool bCached = g_lpszRPN[0] != '\0' && mg_nRPNBase == nBase &&
                         mg_strRPNVariable == strVariable && mg_strRPNText == lpszExpression;
    if (!bCached) {
        char szBuffer[EXPR_BUFFER_SIZE];
        g_lpszRPN[0] = '\0';
        if (!MakePostfix(lpszExpression, szBuffer, lpszVariable, nBase))
            return result;
        std::memcpy(g_lpszRPN, szBuffer, EXPR_BUFFER_SIZE);
        mg_strRPNText = lpszExpression;
        mg_strRPNVariable = strVariable;
        mg_nRPNBase = nBase;
        g_lpszExpression = lpszExpression;
    }

    char szPostfix[EXPR_BUFFER_SIZE];
    std::memcpy(szPostfix, g_lpszRPN, EXPR_BUFFER_SIZE);
    szPostfix[EXPR_BUFFER_SIZE - 1] = '\0';

    const bool bHasVariable = lpszVariable != nullptr && lpszVariable[0] != '\0';
    const double dbVariable = static_cast<double>(dbValue);

    std::unique_ptr<COMPLEX[]> pStack(new COMPLEX[EVAL_STACK_SIZE]);
    long nCount = 0;
    const bool bDone = WalkPostfix(
        szPostfix, pStack.get(), nCount, GetHandler, [&](const char* lpszToken, COMPLEX& value) {
            value = COMPLEX{0.0, 0.0};
            if (IsDecimalLiteral(lpszToken)) {
                value.x = std::strtod(lpszToken, nullptr);
            } else if (bHasVariable && strVariable == lpszToken) {
                value.x = dbVariable;
            } else if (std::strcmp(lpszToken, "pi") == 0) {
                value.x = 3.141592653589793;
            } else if (std::strcmp(lpszToken, "e") == 0) {
                value.x = 2.718281828459045;
            } else if (std::strcmp(lpszToken, "i") == 0) {
                value.y = 1.0;
            } else {
                SetErrorCode(ERR_SYNTAX);
                return false;
            }
            if (std::isnan(value.x)) {
                SetErrorCode(ERR_OUT_OF_RANGE);
                return false;
            }
            return true;
        });
    if (!bDone)
        return result;
    result = pStack[0];
    bOk = true;
    return result;
}
