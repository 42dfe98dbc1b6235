#include "numerics/NumericalMethods.h"

#include <cstdint>

#include "engine/BitOperations.h"
#include "engine/EngineState.h"
#include "engine/qcomplex.h"

namespace {

// The value as a whole 32-bit number, or false.
bool WholeArgument(const unsigned short* a, int32_t& nValue)
{
    double dbValue = 0.0;
    qtoe(a, &dbValue);
    return ToInt32Exact(dbValue, nValue);
}

}  // namespace

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
    const int64_t nA = na < 0 ? -static_cast<int64_t>(na) : na;
    const int64_t nB = nb < 0 ? -static_cast<int64_t>(nb) : nb;
    return qcmplx_fromdouble(static_cast<double>(nA % nB));
}
