#pragma once

// Exact conversions between qreal and MPFR numbers, built word by word, the
// error measures the accuracy tests report, and the record and report of the
// worst error of one routine.

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

// A qreal in exponent form with 40 digits, for messages.
std::string Text(const unsigned short* x);

// RAII for the few mpfr_t a check needs.
struct Mpfr {
    mpfr_t v;
    explicit Mpfr(mpfr_prec_t nBits = kRefBits) { mpfr_init2(v, nBits); }
    ~Mpfr() { mpfr_clear(v); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;
    operator mpfr_ptr() { return v; }
};

// Worst error seen by one routine, with the argument that produced it.
struct Worst {
    double dUlp = 0.0;
    std::string strArg;
    long nCount = 0;

    void Note(double dErr, const std::string& strWhat);
};

// Prints "[ worst    ] name  err ulp  (bound b, n arguments)  at argument".
void Report(const char* pName, const Worst& w, double dBound);

}  // namespace qtest
