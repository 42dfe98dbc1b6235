#include "engine/ExpressionParser.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "engine/EngineState.h"
#include "engine/NumberConverter.h"

const char* const g_regname[REG_COUNT] = {
    "VVV", "VRE", "VA", "VB", "VC", "VD", "VE", "VF", "VG", "VH",
    "VI",  "VJ",  "VK", "V",  "VM", "VN", "VO", "VP", "VQ", "VR",
    "VS",  "VT",  "VU", "VV", "VX", "VY", "VZ", "VW", "VLRE", "LIST",
};

const char* const lpszFunction[FUNCTION_WORD_COUNT] = {
    "SQRT",  "SIN",  "COS",  "TAN",   "LOG",   "LN",    "CTAN",  "ASIN",  "ACOS",
    "ATAN",  "ACTAN", "AND", "NAND",  "OR",    "NOR",   "XOR",   "EXP",   "SINH",
    "COSH",  "TANH", "CTANH", "SEC",  "CSC",   "SECH",  "CSCH",  "ACOT",  "ASINH",
    "ACOSH", "ATANH", "ACOTH", "ASEC", "ACSC",  "ASECH", "ACSCH", "INV",  "TRANS",
    "DET",   "ROOT", "RANK", "EIG",   "EIGV",  "DIAG",  "ORTH",  "TRI",   "MOD",
    "SHL",   "SHR",  "RTL",  "RTR",   "INV",   "CP",    "ABS",
};

namespace {

// Binary operators of the postfix conversion.
const char* const mg_lpszBinary[] = {
    "+", "-", "*", "/", "^", "and", "or", "nand", "nor", "xor",
    "root", "mod", "shl", "shr", "rtl", "rtr", "exp",
};

// Prefix function names: they wait on the operator stack for their argument.
const char* const mg_lpszPrefix[] = {
    "sin",   "cos",   "tan",   "ctan",  "sqrt",  "asin",  "acos",  "atan",
    "actan", "lg",    "ln",    "log",   "sec",   "csc",   "sech",  "csch",
    "ctanh", "acot",  "asinh", "acosh", "atanh", "acoth", "asec",  "acsc",
    "asech", "acsch", "sinh",  "cosh",  "tanh",  "inv",   "trans", "det",
    "rank",  "eigl",  "eigv",  "diag",  "orth",  "tri",   "abs",
};

// Token classes of the postfix conversion, looked up by hash: every token of
// every evaluation passes through here.
enum TokenClass { TOKEN_OTHER, TOKEN_BINARY, TOKEN_PREFIX };

struct WordTables {
    std::unordered_set<std::string_view> setFunctionWords;
    std::unordered_map<std::string_view, TokenClass> mapClasses;
    std::unordered_map<std::string_view, int> mapPriorities;
};

const WordTables& Tables()
{
    static const WordTables tables = [] {
        WordTables t;
        for (const char* lpszWord : lpszFunction)
            t.setFunctionWords.insert(lpszWord);
        for (const char* lpszWord : mg_lpszBinary)
            t.mapClasses[lpszWord] = TOKEN_BINARY;
        for (const char* lpszWord : mg_lpszPrefix) {
            t.mapClasses[lpszWord] = TOKEN_PREFIX;
            t.mapPriorities[lpszWord] = 7;
        }
        for (const char* lpszWord : {"(", ")"})
            t.mapPriorities[lpszWord] = 0;
        for (const char* lpszWord : {"and", "or", "nand", "nor", "xor", "abs"})
            t.mapPriorities[lpszWord] = 1;
        for (const char* lpszWord : {"+", "-"})
            t.mapPriorities[lpszWord] = 2;
        for (const char* lpszWord : {"mod", "shl", "shr", "rtl", "rtr"})
            t.mapPriorities[lpszWord] = 3;
        for (const char* lpszWord : {"*", "/"})
            t.mapPriorities[lpszWord] = 4;
        for (const char* lpszWord : {"^", "!", "%", "root"})
            t.mapPriorities[lpszWord] = 5;
        t.mapPriorities["exp"] = 6;
        return t;
    }();
    return tables;
}

TokenClass ClassOf(std::string_view token)
{
    const auto it = Tables().mapClasses.find(token);
    return it == Tables().mapClasses.end() ? TOKEN_OTHER : it->second;
}

bool IsAlnum(char ch)
{
    return std::isalnum(static_cast<unsigned char>(ch)) != 0;
}

bool IsOperatorChar(char ch)
{
    return ch != '\0' && std::strchr("()+-*/^!%", ch) != nullptr;
}

bool IsTableWord(const std::string& strWord)
{
    return Tables().setFunctionWords.count(strWord) != 0;
}

// A word that is neither a number nor a constant must name a function, a
// register or the caller's variable.
bool IsKnownWord(const std::string& strWord, const std::string& strVariable)
{
    if (IsTableWord(strWord) || FindReg(strWord.c_str()) >= 0)
        return true;
    return !strVariable.empty() && strWord == strVariable;
}

bool IsDigit(char ch)
{
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

// Length of the decimal literal at nPos, 0 when none starts there: digits
// with at most one point and at least one digit (".5", "1." and "1.5"), then
// an exponent "E", an optional sign and digits directly after it ("2E-3").
// An "E" not followed by such digits is not part of the number: in "2E" or
// "2E+X" it is a word of its own.
size_t DecimalLiteralLength(const char* lpszText, size_t nPos, size_t nLength)
{
    size_t nEnd = nPos;
    size_t nDigits = 0;
    while (nEnd < nLength && IsDigit(lpszText[nEnd])) {
        ++nEnd;
        ++nDigits;
    }
    if (nEnd < nLength && lpszText[nEnd] == '.') {
        ++nEnd;
        while (nEnd < nLength && IsDigit(lpszText[nEnd])) {
            ++nEnd;
            ++nDigits;
        }
    }
    if (nDigits == 0)
        return 0;
    if (nEnd < nLength && lpszText[nEnd] == 'E') {
        size_t nExponent = nEnd + 1;
        if (nExponent < nLength && (lpszText[nExponent] == '+' || lpszText[nExponent] == '-'))
            ++nExponent;
        if (nExponent < nLength && IsDigit(lpszText[nExponent])) {
            while (nExponent < nLength && IsDigit(lpszText[nExponent]))
                ++nExponent;
            nEnd = nExponent;
        }
    }
    return nEnd - nPos;
}

// An "I" right after a number and not the start of a longer word makes it
// imaginary, as a+bi is written (and read back from calcudex-cli eval).
bool IsImaginaryUnit(const char* lpszText, size_t nPos, size_t nLength)
{
    return nPos < nLength && lpszText[nPos] == 'I' &&
           (nPos + 1 >= nLength || !(IsAlnum(lpszText[nPos + 1]) || lpszText[nPos + 1] == '.'));
}

bool IsConstant(const std::string& strWord)
{
    return strWord == "PI" || strWord == "E" || strWord == "I";
}

bool IsDigitOfBase(char ch, int nBase)
{
    switch (nBase) {
    case 2: return ch == '0' || ch == '1';
    case 8: return ch >= '0' && ch <= '7';
    case 16: return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
    default: return false;
    }
}

// Appends a token and its separating blank. The token list, which grows by
// blanks and by base conversion, must still fit the caller's buffer once the
// last blank is dropped.
bool AppendToken(std::string& strOut, const char* lpszToken, size_t nLength)
{
    if (strOut.size() + nLength + 1 > static_cast<size_t>(EXPR_BUFFER_SIZE))
        return false;
    strOut.append(lpszToken, nLength);
    strOut.push_back(' ');
    return true;
}

// Scan of a base 10 text; false on a character or word that is not allowed.
// A number ends where its literal ends: what follows it ("2PI", "12 345") is
// a token of its own, and the postfix conversion refuses two operands in a
// row.
bool ScanDecimal(const char* lpszText, size_t nLength, const std::string& strVariable,
                 std::string& strOut)
{
    size_t nPos = 0;
    while (nPos < nLength) {
        const char ch = lpszText[nPos];
        const size_t nNumber = DecimalLiteralLength(lpszText, nPos, nLength);
        if (nNumber > 0 && IsImaginaryUnit(lpszText, nPos + nNumber, nLength)) {
            // 2i, 1.5e-3i: an imaginary number, one operand as "(2 * i)"
            if (!AppendToken(strOut, "(", 1) || !AppendToken(strOut, lpszText + nPos, nNumber) ||
                !AppendToken(strOut, "*", 1) || !AppendToken(strOut, "i", 1) || !AppendToken(strOut, ")", 1))
                return false;
            nPos += nNumber + 1;
        } else if (nNumber > 0) {
            if (!AppendToken(strOut, lpszText + nPos, nNumber))
                return false;
            nPos += nNumber;
        } else if (IsAlnum(ch)) {
            size_t nEnd = nPos;
            while (nEnd < nLength && IsAlnum(lpszText[nEnd]))
                ++nEnd;
            const std::string strWord(lpszText + nPos, nEnd - nPos);
            if (!IsConstant(strWord) && !IsKnownWord(strWord, strVariable))
                return false;
            if (!AppendToken(strOut, strWord.data(), strWord.size()))
                return false;
            nPos = nEnd;
        } else if (IsOperatorChar(ch)) {
            if (!AppendToken(strOut, &ch, 1))
                return false;
            ++nPos;
        } else if (ch == '[' || ch == ']' || ch == ' ') {
            ++nPos;
        } else {
            return false;  // also a point that belongs to no number
        }
    }
    return true;
}

// Scan of a base 2, 8 or 16 text: numbers become signed decimal integers,
// characters other than letters, digits and operators are dropped.
bool ScanRadix(const char* lpszText, size_t nLength, int nBase, const std::string& strVariable,
               std::string& strOut)
{
    size_t nPos = 0;
    while (nPos < nLength) {
        const char ch = lpszText[nPos];
        if (IsAlnum(ch)) {
            size_t nEnd = nPos;
            bool bAllDigits = true;
            while (nEnd < nLength && IsAlnum(lpszText[nEnd])) {
                bAllDigits = bAllDigits && IsDigitOfBase(lpszText[nEnd], nBase);
                ++nEnd;
            }
            const std::string strRun(lpszText + nPos, nEnd - nPos);
            if (bAllDigits) {
                // The unsigned word is read back as a signed one: FFFFFFFF is -1.
                char szDecimal[20] = {};
                itoa(static_cast<int>(NumberConverter(strRun.c_str(), nBase)), szDecimal, 10);
                if (!AppendToken(strOut, szDecimal, std::strlen(szDecimal)))
                    return false;
            } else {
                if (!IsKnownWord(strRun, strVariable))
                    return false;
                if (!AppendToken(strOut, strRun.data(), strRun.size()))
                    return false;
            }
            nPos = nEnd;
        } else {
            if (IsOperatorChar(ch) && !AppendToken(strOut, &ch, 1))
                return false;
            ++nPos;
        }
    }
    return true;
}

// What stood before the token the postfix conversion is looking at.
enum TokenBefore {
    BEFORE_START,    // nothing, or "(": a sign here is a binary "-" with nothing before it
    BEFORE_BINARY,   // a binary operator
    BEFORE_SIGN,     // a sign after an operator
    BEFORE_PREFIX,   // a prefix function
    BEFORE_OPERAND,  // an operand, ")" or a postfix operator
};

// The operator stack entry of a sign after an operator. No token has this
// text: the tokenizer writes "(" and "-" apart.
constexpr const char* mg_szSignMarker = "(-";

bool IsSignMarker(const char* lpszToken)
{
    return std::strcmp(lpszToken, mg_szSignMarker) == 0;
}

// Binding strength on the operator stack: twice the priority, so that a sign
// fits between "*" "/" and "^": 2*-3^2 is 2*(-(3^2)), 2^-1+1 is (2^(-1))+1.
int StackRank(const char* lpszToken)
{
    return IsSignMarker(lpszToken) ? 9 : 2 * Priority(lpszToken);
}

// Writes a result text into the caller's buffer after clearing all of it.
void StoreResult(char* lpszBuffer, const std::string& strText)
{
    std::memset(lpszBuffer, 0, EXPR_BUFFER_SIZE);
    std::memcpy(lpszBuffer, strText.data(), strText.size());
}

}  // namespace

int FindReg(const char* lpszName)
{
    if (lpszName == nullptr)
        return -1;
    std::string strUpper(lpszName);
    for (char& ch : strUpper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (int i = 0; i < REG_COUNT; ++i) {
        if (strUpper == g_regname[i])
            return i;
    }
    return -1;
}

char* strupr(char* lpszText)
{
    for (char* p = lpszText; *p != '\0'; ++p)
        *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return lpszText;
}

char* strlwr(char* lpszText)
{
    for (char* p = lpszText; *p != '\0'; ++p)
        *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return lpszText;
}

char* uitoa(unsigned int uValue, char* lpszOut, int nRadix)
{
    if (nRadix < 2 || nRadix > 36)
        nRadix = 10;
    // Digits are produced least significant first into the 16 places before
    // the terminator, then moved to the front; a 17th digit is never written.
    constexpr int nPlaces = 16;
    char szDigits[nPlaces + 1] = {};
    int nPos = nPlaces;
    do {
        const unsigned int uDigit = uValue % static_cast<unsigned int>(nRadix);
        szDigits[--nPos] = static_cast<char>(uDigit < 10 ? '0' + uDigit : 'A' + uDigit - 10);
        uValue /= static_cast<unsigned int>(nRadix);
    } while (uValue != 0 && nPos > 0);
    const int nCount = nPlaces - nPos;
    std::memcpy(lpszOut, szDigits + nPos, static_cast<size_t>(nCount));
    lpszOut[nCount] = '\0';
    return lpszOut;
}

char* itoa(int nValue, char* lpszOut, int nRadix)
{
    if (nRadix == 10 && nValue < 0) {
        lpszOut[0] = '-';
        // The magnitude of INT_MIN does not fit an int; take it unsigned.
        uitoa(0u - static_cast<unsigned int>(nValue), lpszOut + 1, 10);
        return lpszOut;
    }
    return uitoa(static_cast<unsigned int>(nValue), lpszOut, nRadix);
}

stack* Push(stack* pHead, const char* lpszToken)
{
    stack* pNode = new stack;
    pNode->lpszToken = nullptr;
    if (lpszToken != nullptr) {
        const size_t nLength = std::strlen(lpszToken);
        pNode->lpszToken = new char[nLength + 1];
        std::memcpy(pNode->lpszToken, lpszToken, nLength + 1);
    }
    pNode->pNext = pHead;
    return pNode;
}

stack* Pop(stack* pHead)
{
    if (pHead == nullptr)
        return nullptr;
    stack* pNext = pHead->pNext;
    delete[] pHead->lpszToken;
    delete pHead;
    return pNext;
}

int Priority(const char* lpszToken)
{
    const auto it = Tables().mapPriorities.find(lpszToken);
    return it == Tables().mapPriorities.end() ? 8 : it->second;
}

int ExpressionParser(char* lpszExpression, int nBase, const char* lpszVariable)
{
    if (g_ErrCode != 0 || lpszExpression == nullptr)
        return 0;
    // A text that fills the whole buffer has no room for its terminator.
    const size_t nLength = strnlen(lpszExpression, EXPR_BUFFER_SIZE);
    if (nLength >= static_cast<size_t>(EXPR_BUFFER_SIZE))
        return 0;

    // The text must end in a letter, a digit or the point of a number such
    // as "1.", possibly followed by closing brackets, "!" and "%": this
    // rejects "3+" and empty texts.
    size_t nEnd = nLength;
    while (nEnd > 0 && std::strchr(" )!%]", lpszExpression[nEnd - 1]) != nullptr)
        --nEnd;
    if (nEnd == 0 || !(IsAlnum(lpszExpression[nEnd - 1]) || lpszExpression[nEnd - 1] == '.'))
        return 0;
    if (std::strstr(lpszExpression, "--") != nullptr)
        return 0;

    std::string strVariable(lpszVariable != nullptr ? lpszVariable : "");
    for (char& ch : strVariable)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    strupr(lpszExpression);

    std::string strOut;
    strOut.reserve(nLength * 2);
    if (nBase == 10) {
        if (!ScanDecimal(lpszExpression, nLength, strVariable, strOut))
            return 0;
    } else if (nBase == 2 || nBase == 8 || nBase == 16) {
        if (!ScanRadix(lpszExpression, nLength, nBase, strVariable, strOut))
            return 0;
    } else {
        return 1;
    }
    if (!strOut.empty())
        strOut.pop_back();
    StoreResult(lpszExpression, strOut);
    strlwr(lpszExpression);

    // Only the counts are compared; a ")" before its "(" is left to RPNMaker.
    long nOpen = 0;
    long nClose = 0;
    for (char ch : strOut) {
        nOpen += (ch == '(');
        nClose += (ch == ')');
    }
    return nOpen == nClose ? 1 : 0;
}

int RPNMaker(char* lpszExpression)
{
    if (g_ErrCode != 0)
        return 0;
    if (lpszExpression == nullptr) {
        SetErrorCode(ERR_SYNTAX);
        return 0;
    }
    const size_t nLength = strnlen(lpszExpression, EXPR_BUFFER_SIZE);
    if (nLength >= static_cast<size_t>(EXPR_BUFFER_SIZE)) {
        SetErrorCode(ERR_SYNTAX);
        return 0;
    }

    stack* pOperators = nullptr;
    std::string strOut;
    strOut.reserve(nLength + 2);
    TokenBefore before = BEFORE_START;
    bool bFailed = false;

    auto Emit = [&strOut](const char* lpszToken) {
        strOut.append(lpszToken);
        strOut.push_back(' ');
    };
    // A sign marker leaves the stack as the negation that closes its group.
    auto PopEmit = [&]() {
        if (IsSignMarker(pOperators->lpszToken)) {
            Emit("-");
            Emit(")");
        } else {
            Emit(pOperators->lpszToken);
        }
        pOperators = Pop(pOperators);
    };

    std::string strToken;
    size_t nPos = 0;
    while (!bFailed && nPos < nLength) {
        while (nPos < nLength && lpszExpression[nPos] == ' ')
            ++nPos;
        if (nPos >= nLength)
            break;
        const size_t nStart = nPos;
        while (nPos < nLength && lpszExpression[nPos] != ' ')
            ++nPos;
        strToken.assign(lpszExpression + nStart, nPos - nStart);
        const char* lpszToken = strToken.c_str();

        const TokenClass tokenClass = ClassOf(strToken);
        const bool bSign = strToken == "-" || strToken == "+";
        if (strToken == "+" && before == BEFORE_START) {
            before = BEFORE_SIGN;  // +3, (+3): a plus sign changes nothing
        } else if (tokenClass == TOKEN_BINARY && bSign && (before == BEFORE_BINARY || before == BEFORE_PREFIX)) {
            // A sign where an operand must follow (2*-3, 2^-1, sin -30): a
            // group of its own around the signed operand, closed when an
            // operator binding more loosely than "^" arrives.
            if (strToken == "-") {
                Emit("(");
                pOperators = Push(pOperators, mg_szSignMarker);
            }
            before = BEFORE_SIGN;
        } else if (tokenClass == TOKEN_BINARY) {
            // At the start of a group a sign is a binary "-" with nothing
            // before it, as it always was; anywhere else an operator needs
            // an operand on its left.
            if (before != BEFORE_OPERAND && before != BEFORE_START) {
                bFailed = true;  // two operators in a row, as in 2*/3
                break;
            }
            // "^" is right-associative, every other binary operator left.
            const int nRank = StackRank(lpszToken);
            const bool bPower = strToken == "^";
            while (pOperators != nullptr) {
                const int nTop = StackRank(pOperators->lpszToken);
                if (!(nTop > nRank || (nTop == nRank && !bPower)))
                    break;
                PopEmit();
            }
            pOperators = Push(pOperators, lpszToken);
            before = BEFORE_BINARY;
        } else if (strToken == "(") {
            if (before == BEFORE_OPERAND) {
                bFailed = true;  // 2(3): an operand right after an operand
                break;
            }
            pOperators = Push(pOperators, lpszToken);
            Emit(lpszToken);
            before = BEFORE_START;
        } else if (strToken == ")") {
            if (before != BEFORE_OPERAND) {
                bFailed = true;  // (), (2*) and the like
                break;
            }
            while (pOperators != nullptr && std::strcmp(pOperators->lpszToken, "(") != 0)
                PopEmit();
            if (pOperators == nullptr) {
                bFailed = true;  // ")" without its "("
                break;
            }
            Emit(")");
            pOperators = Pop(pOperators);
        } else if (tokenClass == TOKEN_PREFIX) {
            if (before == BEFORE_OPERAND) {
                bFailed = true;  // 3sin(30)
                break;
            }
            pOperators = Push(pOperators, lpszToken);
            before = BEFORE_PREFIX;
        } else if (strToken == "%" || strToken == "!") {
            if (before != BEFORE_OPERAND) {
                bFailed = true;
                break;
            }
            Emit(lpszToken);
        } else {
            // Two operands in a row (12 345, 2 pi) have nothing between them
            // that says how they combine.
            if (before == BEFORE_OPERAND) {
                bFailed = true;
                break;
            }
            Emit(lpszToken);
            before = BEFORE_OPERAND;
        }
    }
    if (before != BEFORE_OPERAND)
        bFailed = true;  // an operator or a function without its operand

    while (pOperators != nullptr) {
        if (bFailed)
            pOperators = Pop(pOperators);
        else
            PopEmit();
    }
    // Every token gains a trailing blank; the result must still fit.
    if (!bFailed && strOut.size() >= static_cast<size_t>(EXPR_BUFFER_SIZE))
        bFailed = true;
    if (bFailed) {
        SetErrorCode(ERR_SYNTAX);
        return 0;
    }
    StoreResult(lpszExpression, strOut);
    return 1;
}
