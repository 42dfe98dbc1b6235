#pragma once

// Exact conversions between qreal and MPFR numbers, built word by word, and
// the error measures the accuracy tests report.

#include <mpfr.h>

#include <string>

#include "numerics/qlib.h"

namespace qtest {

// Precision of a qreal mantissa and of the reference values (well above it,
// so that the reference's own rounding does not blur the ulp count).
constexpr mpfr_prec_t kQBits = 336;
constexpr mpfr_prec_t kRefBits = 400;

// r = a exactly (r must have at least 336 bits). A zero keeps its sign.
void QToMpfr(const unsigned short* a, mpfr_t r);

// a = r rounded to nearest at 336 bits (ties to even). Returns false when the
// value lies outside the qreal range (a then holds nothing meaningful).
bool MpfrToQ(const mpfr_t r, unsigned short* a);

// |q - ref| in units in the last place of a 336-bit number of the size of
// ref; for ref == 0 the result is 0 when q is zero and +huge otherwise.
double UlpError(const unsigned short* q, const mpfr_t ref);

// |q - ref| / (2^-336 * scale): the error in ulps of a number of size scale.
double ScaledError(const unsigned short* q, const mpfr_t ref, const mpfr_t scale);

// Words of a qreal in hex, for failure messages.
std::string QHex(const unsigned short* a);

}  // namespace qtest
