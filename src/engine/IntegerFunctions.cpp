#include "engine/IntegerFunctions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/BitOperations.h"
#include "engine/EngineState.h"
#include "engine/qcomplex.h"

namespace {

// The value as a whole 32-bit number, or false.
bool WholeArgument(const unsigned short* a, int32_t& nValue)
{
    return ToInt32Exact(qtodouble(a), nValue);
}

int64_t Magnitude(int32_t n)
{
    return n < 0 ? -static_cast<int64_t>(n) : n;
}

// product *= factor for the counting products, which stop at the largest
// magnitude instead of multiplying on (and reporting an overflow) for ever
// larger arguments: false, with product infinite, once it would overflow.
bool MultiplyBelowOverflow(const unsigned short* factor, unsigned short* product)
{
    if (static_cast<long>(product[1]) + factor[1] - QEXPBIAS >= QEXPMAX) {
        qinfin(product);
        return false;
    }
    qmul(factor, product, product);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Counting functions

qcmplx GT(const unsigned short* n)
{
    qcmplx result = qcone;
    long nWhole = 0;
    qreal fraction;
    qifrac(n, &nWhole, fraction);
    for (long k = 2; k <= nWhole; ++k) {
        qreal factor;
        ltoq(&k, factor);
        if (!MultiplyBelowOverflow(factor, result.r))
            break;
    }
    return result;
}

qcmplx NPR(const unsigned short* n, const unsigned short* r)
{
    if (qiswhole(n) && qiswhole(r) && !qisnegative(r) && qcmp(r, n) <= 0) {
        // n (n-1) ... (n-r+1), which stays finite where n! alone would not.
        // The factors are counted down from n itself, which may lie beyond
        // any machine integer (npr(3000000000, 1) is 3000000000).
        long nCount = 0;
        qreal fraction;
        qifrac(r, &nCount, fraction);
        qreal factor;
        qmov(n, factor);
        qcmplx result = qcone;
        for (long k = 0; k < nCount; ++k) {
            if (!MultiplyBelowOverflow(factor, result.r))
                break;
            qsub(qone, factor, factor);
        }
        return result;
    }
    qreal difference;
    qsub(r, n, difference);
    qcmplx numerator = GT(n);
    const qcmplx denominator = GT(difference);
    qdiv(denominator.r, numerator.r, numerator.r);
    return numerator;
}

qcmplx NCR(const unsigned short* n, const unsigned short* r)
{
    if (qiswhole(n) && qiswhole(r) && !qisnegative(r) && qcmp(r, n) <= 0) {
        // C = prod (n - k + i) / i for i = 1..k with k = min(r, n - r): every
        // partial product is itself a binomial coefficient. The factors are
        // kept as numbers of the library, so n may exceed a machine integer.
        qreal rest;
        qsub(r, n, rest);
        const unsigned short* k = qcmp(r, rest) <= 0 ? r : rest;
        long nPick = 0;
        qreal fraction;
        qifrac(k, &nPick, fraction);
        qreal factor;
        qsub(k, n, factor);
        qcmplx result = qcone;
        for (long i = 1; i <= nPick; ++i) {
            qadd(qone, factor, factor);
            qreal divisor;
            ltoq(&i, divisor);
            if (!MultiplyBelowOverflow(factor, result.r))
                break;
            qdiv(divisor, result.r, result.r);
        }
        return result;
    }
    qcmplx permutations = NPR(n, r);
    const qcmplx factorial = GT(r);
    qdiv(factorial.r, permutations.r, permutations.r);
    return permutations;
}

// ---------------------------------------------------------------------------
// Number theory

qcmplx GCD(const unsigned short* a, const unsigned short* b)
{
    int32_t na = 0;
    int32_t nb = 0;
    if (!WholeArgument(a, na) || !WholeArgument(b, nb)) {
        SetErrorCode(ERR_INVALID_TYPE);
        return qczero;
    }
    return qcmplx_fromdouble(static_cast<double>(gcd(na, nb)));
}

qcmplx LCM(const unsigned short* a, const unsigned short* b)
{
    int32_t na = 0;
    int32_t nb = 0;
    if (!WholeArgument(a, na) || !WholeArgument(b, nb)) {
        SetErrorCode(ERR_LCM);
        return qczero;
    }
    return qcmplx_fromdouble(lcm(na, nb));
}

qcmplx MOD(const unsigned short* a, const unsigned short* b)
{
    int32_t na = 0;
    int32_t nb = 0;
    if (!WholeArgument(a, na) || !WholeArgument(b, nb)) {
        SetErrorCode(ERR_INVALID_TYPE);
        return qczero;
    }
    if (nb == 0) {
        SetErrorCode(ERR_DIVISION);
        return qczero;
    }
    return qcmplx_fromdouble(static_cast<double>(Magnitude(na) % Magnitude(nb)));
}

qcmplx FIB(const unsigned short* n)
{
    const double dbIndex = qtodouble(n);
    if (!qiswhole(n) || qisnegative(n)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return qczero;
    }
    if (dbIndex >= 1024.0) {
        SetErrorCode(ERR_OUT_OF_RANGE);
        return qczero;
    }
    // Summed in the extended numbers: exact while F(n) fits their 336 bits
    // (n <= 484, 101 digits); a double is exact only up to F(78).
    const long nIndex = static_cast<long>(dbIndex);
    qcmplx previous = qczero;
    qcmplx current = nIndex == 0 ? qczero : qcone;
    for (long k = 2; k <= nIndex; ++k) {
        qreal next;
        qadd(previous.r, current.r, next);
        qmov(current.r, previous.r);
        qmov(next, current.r);
    }
    return current;
}

qcmplx RAN(const unsigned short* a, const unsigned short* b)
{
    const double dbA = qtodouble(a);
    const double dbB = qtodouble(b);
    const double dbLow = std::fmin(dbA, dbB);
    const double dbHigh = std::fmax(dbA, dbB);
    const double r = static_cast<double>(std::rand());
    return qcmplx_fromdouble(dbLow + (dbHigh - dbLow) * std::fabs(std::sin(r)));
}
