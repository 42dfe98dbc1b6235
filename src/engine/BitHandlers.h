#pragma once

// The bit operators of both evaluators, written once over the number type.
// An evaluator describes its numbers with a small traits type:
//
//   struct Numbers {
//       using Number = ...;                      // COMPLEX or qcmplx
//       static bool IsReal(const Number& z);     // false, error code set, when z is not real
//       static double RealPart(const Number& z);
//       static Number Make(double d);            // the real number d
//   };
//
// BitShift and BitLogic give the operation its two-operand frame runs: it
// takes the left and the right operand, sets the result and returns false
// after setting an error code.

#include <cstdint>

#include "engine/BitOperations.h"
#include "engine/ErrorCodes.h"

// Both operands real (else false, error code set), as doubles.
template <typename Numbers>
bool BitOperands(const typename Numbers::Number& a, const typename Numbers::Number& b, double& da, double& db)
{
    if (!Numbers::IsReal(a) || !Numbers::IsReal(b))
        return false;
    da = Numbers::RealPart(a);
    db = Numbers::RealPart(b);
    return true;
}

// shl, shr, rtl, rtr: both operands real; the routine checks that they are
// whole and reports error -53 itself.
template <typename Numbers>
auto BitShift(long double (*pfn)(long double, long double))
{
    using Number = typename Numbers::Number;
    return [=](const Number& a, const Number& b, Number& r) {
        double da = 0.0;
        double db = 0.0;
        if (!BitOperands<Numbers>(a, b, da, db))
            return false;
        const double dbResult = static_cast<double>(pfn(da, db));
        if (g_ErrCode != 0)
            return false;
        r = Numbers::Make(dbResult);
        return true;
    };
}

// and, or, xor, nand, nor: both operands real whole numbers that fit a
// signed 32-bit integer, else error -53.
template <typename Numbers>
auto BitLogic(double (*pfnOperation)(int32_t, int32_t))
{
    using Number = typename Numbers::Number;
    return [=](const Number& a, const Number& b, Number& r) {
        double da = 0.0;
        double db = 0.0;
        if (!BitOperands<Numbers>(a, b, da, db))
            return false;
        int32_t na = 0;
        int32_t nb = 0;
        if (!ToInt32Exact(da, na) || !ToInt32Exact(db, nb)) {
            SetErrorCode(ERR_NOT_WHOLE);
            return false;
        }
        r = Numbers::Make(pfnOperation(na, nb));
        return true;
    };
}

inline double BitAnd(int32_t a, int32_t b)
{
    return static_cast<double>(a & b);
}

inline double BitOr(int32_t a, int32_t b)
{
    return static_cast<double>(a | b);
}

inline double BitXor(int32_t a, int32_t b)
{
    return static_cast<double>(a ^ b);
}

// nand and nor complement within the word size.
inline double BitNand(int32_t a, int32_t b)
{
    return static_cast<double>(WordNot(static_cast<long double>(a & b)));
}

inline double BitNor(int32_t a, int32_t b)
{
    return static_cast<double>(WordNot(static_cast<long double>(a | b)));
}
