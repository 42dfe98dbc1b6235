#include "engine/NumberConverter.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double mg_dbMaxWord = 4294967295.0;

// Digit value of one character; letters only mean something in base 16.
int DigitValue(char ch, int nBase)
{
    if (nBase == 16 && ch >= 'A')
        return ch - 55;
    return ch - '0';
}

uint32_t ToWordBelow(double dbValue)
{
    if (!(dbValue > 0.0))
        return 0;
    if (dbValue >= mg_dbMaxWord)
        return 4294967295u;
    return static_cast<uint32_t>(std::floor(dbValue));
}

}  // namespace

uint32_t NumberConverter(const char* lpszDigits, int nBase)
{
    if (lpszDigits == nullptr)
        return 0;
    double dbStep;
    switch (nBase) {
    case 2: dbStep = 0.5; break;
    case 8: dbStep = 0.125; break;
    case 16: dbStep = 0.0625; break;
    case 10: dbStep = 0.0; break;  // divided by 10 instead, see below
    default: return 0;
    }
    const size_t nDigits = std::strlen(lpszDigits);
    if (nDigits == 0)
        return 0;

    // Place value of the leading digit; repeated multiplication keeps powers
    // of two exact and reproduces the decimal rounding of the original.
    double dbPlace = 1.0;
    for (size_t i = 1; i < nDigits; ++i)
        dbPlace = (nBase == 2) ? dbPlace + dbPlace : dbPlace * nBase;

    uint32_t uValue = 0;
    for (size_t i = 0; i < nDigits; ++i) {
        const int nDigit = DigitValue(lpszDigits[i], nBase);
        // A long run of digits makes the place value infinite; a zero digit
        // then adds nothing (instead of 0 * inf) and a saturated value stays.
        if (uValue == 4294967295u)
            break;
        const double dbTerm = (nDigit == 0) ? 0.0 : nDigit * dbPlace;
        uValue = ToWordBelow(static_cast<double>(uValue) + dbTerm);
        if (nBase == 10)
            dbPlace /= 10.0;
        else
            dbPlace *= dbStep;
    }
    return uValue;
}
