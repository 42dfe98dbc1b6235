#include "engine/BitOperations.h"

#include <cmath>
#include <cstdlib>

#include "engine/EngineState.h"

namespace {

constexpr double mg_dbTwo64 = 18446744073709551616.0;

int WordBits()
{
    switch (g_BitWidth) {
    case 8:
    case 16:
    case 32:
    case 64: return g_BitWidth;
    default: return 0;
    }
}

bool IsWhole(long double a)
{
    const double d = static_cast<double>(a);
    return std::isfinite(d) && d == std::floor(d);
}

uint64_t ShiftLeft(uint64_t uValue, uint64_t uCount)
{
    return uCount >= 64 ? 0 : (uValue << uCount) & WordMask();
}

uint64_t ShiftRight(uint64_t uValue, uint64_t uCount)
{
    return uCount >= 64 ? 0 : (uValue & WordMask()) >> uCount;
}

// Shift count as an unsigned number; counts beyond the word just empty it.
uint64_t ShiftCount(double dbCount)
{
    return dbCount >= 64.0 ? 64 : static_cast<uint64_t>(dbCount);
}

uint64_t RotateLeftOnce(uint64_t uValue)
{
    const int nBits = WordBits();
    if (nBits == 0)
        return 0;
    uValue &= WordMask();
    return ((uValue << 1) | (uValue >> (nBits - 1))) & WordMask();
}

uint64_t RotateRightOnce(uint64_t uValue)
{
    const int nBits = WordBits();
    if (nBits == 0)
        return 0;
    uValue &= WordMask();
    return ((uValue >> 1) | (uValue << (nBits - 1))) & WordMask();
}

// Rotation by a whole count. A full turn of the word changes nothing, so the
// count is reduced first; a huge count would otherwise loop for ever.
long double Rotate(long double a, long double n, bool bLeft)
{
    if (!IsWhole(a) || !IsWhole(n)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return 0;
    }
    const int nBits = WordBits();
    if (nBits == 0)
        return 0;
    uint64_t uValue = ToWord(a);
    const long nTurns = static_cast<long>(std::fmod(static_cast<double>(n), nBits));
    for (long i = 0; i < nTurns; ++i)
        uValue = bLeft ? RotateLeftOnce(uValue) : RotateRightOnce(uValue);
    return static_cast<long double>(uValue);
}

}  // namespace

uint64_t WordMask()
{
    const int nBits = WordBits();
    if (nBits == 0)
        return 0;
    return nBits == 64 ? ~uint64_t{0} : (uint64_t{1} << nBits) - 1;
}

uint64_t ToWord(long double a)
{
    double d = std::trunc(static_cast<double>(a));
    if (!std::isfinite(d))
        return 0;
    d = std::fmod(d, mg_dbTwo64);  // now |d| < 2^64, still whole
    uint64_t uValue;
    if (d < 0)
        uValue = uint64_t{0} - static_cast<uint64_t>(-d);
    else
        uValue = static_cast<uint64_t>(d);
    return uValue & WordMask();
}

bool ToInt32Exact(long double a, int32_t& nValue)
{
    const double d = static_cast<double>(a);
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        return false;
    nValue = static_cast<int32_t>(d);
    return static_cast<double>(nValue) == d;
}

long double SHL(long double a, long double n)
{
    if (!IsWhole(a) || !IsWhole(n)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return 0;
    }
    const double dbCount = static_cast<double>(n);
    const uint64_t uValue = ToWord(a);
    if (dbCount > 0)
        return static_cast<long double>(ShiftLeft(uValue, ShiftCount(dbCount)));
    return static_cast<long double>(ShiftRight(uValue, ShiftCount(-dbCount)));
}

long double SHR(long double a, long double n)
{
    if (!IsWhole(a) || !IsWhole(n)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return 0;
    }
    const double dbCount = static_cast<double>(n);
    const uint64_t uValue = ToWord(a);
    if (dbCount > 0)
        return static_cast<long double>(ShiftRight(uValue, ShiftCount(dbCount)));
    return static_cast<long double>(ShiftLeft(uValue, ShiftCount(-dbCount)));
}

long double rtl(long double a)
{
    return static_cast<long double>(RotateLeftOnce(ToWord(a)));
}

long double rtr(long double a)
{
    return static_cast<long double>(RotateRightOnce(ToWord(a)));
}

long double RTL(long double a, long double n)
{
    if (n < 0)
        return RTR(a, -n);
    return Rotate(a, n, true);
}

long double RTR(long double a, long double n)
{
    if (n < 0)
        return RTL(a, -n);
    return Rotate(a, n, false);
}

long gcd(long a, long b)
{
    unsigned long ua = a < 0 ? 0ul - static_cast<unsigned long>(a) : static_cast<unsigned long>(a);
    unsigned long ub = b < 0 ? 0ul - static_cast<unsigned long>(b) : static_cast<unsigned long>(b);
    if (ua == 0)
        return static_cast<long>(ub);
    if (ub == 0 || ua == ub)
        return static_cast<long>(ua);
    if (ua == 1 || ub == 1)
        return 1;
    while (ub != 0) {
        const unsigned long r = ua % ub;
        ua = ub;
        ub = r;
    }
    return static_cast<long>(ua);
}

double lcm(long a, long b)
{
    if (a == 0 || b == 0)
        return 0.0;
    const double dbProduct = std::fabs(static_cast<double>(a)) * std::fabs(static_cast<double>(b));
    return dbProduct / static_cast<double>(gcd(a, b));
}

long double WordNot(long double a)
{
    return static_cast<long double>(~ToWord(a) & WordMask());
}

long double WordComplement(long double a)
{
    return static_cast<long double>((uint64_t{0} - ToWord(a)) & WordMask());
}
