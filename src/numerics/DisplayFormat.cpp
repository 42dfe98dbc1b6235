#include "numerics/DisplayFormat.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "numerics/qlib.h"

namespace {

// Bounded copy into a display buffer.
void CopyText(char* lpszDestination, const char* lpszSource, size_t nLength)
{
    if (nLength >= static_cast<size_t>(DISPLAY_BUFFER_SIZE))
        nLength = DISPLAY_BUFFER_SIZE - 1;
    std::memcpy(lpszDestination, lpszSource, nLength);
    lpszDestination[nLength] = '\0';
}

int WordBits(int nWordSize)
{
    switch (nWordSize) {
    case WORD_8: return 8;
    case WORD_16: return 16;
    case WORD_32: return 32;
    default: return 64;
    }
}

// The whole part of the value as an unsigned word, written in the base.
void ConstructRadixString(char* lpszMantissa, int nBase, int nWordSize, const unsigned short* value)
{
    const int nRadix = nBase == BASE_BINARY ? 2 : nBase == BASE_OCTAL ? 8 : 16;
    double d = 0.0;
    qtoe(value, &d);
    d = std::isfinite(d) ? std::trunc(d) : 0.0;
    d = std::fmod(d, 18446744073709551616.0);
    uint64_t uValue = d < 0 ? uint64_t{0} - static_cast<uint64_t>(-d) : static_cast<uint64_t>(d);
    const int nBits = WordBits(nWordSize);
    if (nBits < 64)
        uValue &= (uint64_t{1} << nBits) - 1;
    char szDigits[72];
    int nPos = sizeof(szDigits) - 1;
    szDigits[nPos] = '\0';
    do {
        const int nDigit = static_cast<int>(uValue % static_cast<uint64_t>(nRadix));
        szDigits[--nPos] = static_cast<char>(nDigit < 10 ? '0' + nDigit : 'A' + nDigit - 10);
        uValue /= static_cast<uint64_t>(nRadix);
    } while (uValue != 0 && nPos > 0);
    CopyText(lpszMantissa, szDigits + nPos, std::strlen(szDigits + nPos));
}

}  // namespace

void ConstructDisplayString(char* lpszMantissa, char* lpszExponent, int nBase, int nWordSize,
                            const unsigned short* value, int nFormat, int nDigits, int nDecimals)
{
    lpszExponent[0] = '\0';
    if (nBase == BASE_BINARY || nBase == BASE_OCTAL || nBase == BASE_HEXADECIMAL) {
        ConstructRadixString(lpszMantissa, nBase, nWordSize, value);
        return;
    }
    if (nDigits < 0)
        nDigits = 0;
    if (nDigits > 99)
        nDigits = 99;

    const double dbSmall = 1e-12;
    const double dbLarge = 1e12;
    qreal small;
    qreal large;
    qreal magnitude;
    etoq(&dbSmall, small);
    etoq(&dbLarge, large);
    qmov(value, magnitude);
    qabs(magnitude);
    const bool bZero = magnitude[1] == 0;

    char szExponentForm[1024] = {};
    qtoascex(value, szExponentForm, nDigits);
    const char* pE = std::strchr(szExponentForm, 'E');
    // With fewer than 12 digits a large whole part no longer fits the
    // positional form; it takes the exponent form as well.
    const int nExponent = pE != nullptr ? std::atoi(pE + 1) : 0;
    const bool bExponentForm = (!bZero && qcmp(magnitude, small) < 0) || qcmp(magnitude, large) > 0 ||
                               nExponent > nDigits;
    if (bExponentForm && pE != nullptr) {
        CopyText(lpszMantissa, szExponentForm, static_cast<size_t>(pE - szExponentForm));
        CopyText(lpszExponent, pE, std::strlen(pE));
    } else {
        char szPositional[1024] = {};
        qtoasc(value, szPositional, nDigits);
        const char* pStart = szPositional;
        while (*pStart == ' ')
            ++pStart;
        size_t nLength = std::strlen(pStart);
        while (nLength > 0 && pStart[nLength - 1] == ' ')
            --nLength;
        CopyText(lpszMantissa, pStart, nLength);
    }
    for (char* p = lpszMantissa; *p != '\0'; ++p)
        *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
}

std::string JoinDisplayString(const char* lpszMantissa, const char* lpszExponent)
{
    std::string strLine(lpszMantissa);
    std::string strExponent(lpszExponent);
    if (strExponent.empty())
        return strLine;
    while (!strExponent.empty() && (strExponent.front() == 'E' || strExponent.front() == 'e'))
        strExponent.erase(0, 1);
    while (!strExponent.empty() && (strExponent.back() == 'E' || strExponent.back() == 'e'))
        strExponent.pop_back();
    return strLine + "*10^(" + strExponent + ")";
}

std::string ScientificString(const unsigned short* value, int nDigits)
{
    nDigits = nDigits < 0 ? 0 : nDigits > 98 ? 98 : nDigits;
    char szText[QASCLEN] = {};
    qtoascex(value, szText, nDigits);
    // " d.dddE<exponent>" or "-d.dddE<exponent>"
    std::string strMantissa(szText + 1, std::strchr(szText, 'E'));
    const int nExponent = std::atoi(std::strchr(szText, 'E') + 1);
    if (strMantissa.find('.') != std::string::npos) {
        strMantissa.erase(strMantissa.find_last_not_of('0') + 1);
        if (strMantissa.back() == '.')
            strMantissa.pop_back();
    }
    char szExponent[16];
    std::snprintf(szExponent, sizeof(szExponent), "e%c%02d", nExponent < 0 ? '-' : '+', std::abs(nExponent));
    return (szText[0] == '-' ? "-" : "") + strMantissa + szExponent;
}

void GroupNumbers(std::u16string& strText, char16_t chDecimal, char16_t chGroup, int nBase)
{
    if (nBase != BASE_DECIMAL || strText.empty())
        return;
    // Letters other than the exponent's E: not a plain number.
    for (char16_t ch : strText) {
        if (ch >= u'B' && ch <= u'y' && ch != u'e' && ch != u'E')
            return;
    }
    std::u16string strWork = strText;
    const bool bEuropean = chDecimal == COMMA_CHAR;
    // Mark the decimal separator with 'z'.
    for (char16_t& ch : strWork) {
        if (bEuropean) {
            if (ch == u'.' || ch == COMMA_CHAR)
                ch = u'z';
        } else if (ch == u'.') {
            ch = u'z';
        }
    }
    // Regroup from scratch.
    std::u16string strBare;
    for (char16_t ch : strWork) {
        if (ch != chGroup)
            strBare.push_back(ch);
    }
    // The integer part ends just after the last digit before the last 'z'.
    size_t nEnd = strBare.rfind(u'z');
    if (nEnd == std::u16string::npos)
        nEnd = strBare.size();
    while (nEnd > 0 && !(strBare[nEnd - 1] >= u'0' && strBare[nEnd - 1] <= u'9'))
        --nEnd;
    size_t nPos = nEnd;
    while (nPos > 3) {
        nPos -= 3;
        const char16_t chLeft = strBare[nPos - 1];
        if (chLeft != chGroup && chLeft != u'-' && chLeft != u'e' && chLeft != u'E')
            strBare.insert(nPos, 1, chGroup);
    }
    for (char16_t& ch : strBare) {
        if (ch == u'z')
            ch = chDecimal;
    }
    size_t nFirst = strBare.find_first_not_of(u' ');
    strBare.erase(0, nFirst == std::u16string::npos ? strBare.size() : nFirst);
    if (!strBare.empty() && strBare.front() == chGroup) {
        strBare[0] = u' ';
        nFirst = strBare.find_first_not_of(u' ');
        strBare.erase(0, nFirst == std::u16string::npos ? strBare.size() : nFirst);
    }
    if (strBare != strText)
        strText = strBare;
}
