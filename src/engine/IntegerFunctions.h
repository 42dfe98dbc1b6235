#pragma once

// The whole-number functions of the front end and the extended handlers:
// factorial, permutations and combinations, gcd, lcm, mod, Fibonacci numbers
// and the random number.
//
// Results are real qcmplx values; failures set the engine's error code and
// give (0, 0).

#include "numerics/qlib.h"

// floor(n)! (1 for n < 1).
qcmplx GT(const unsigned short* n);
// n! / (n - r)! and n! / ((n - r)! r!).
qcmplx NPR(const unsigned short* n, const unsigned short* r);
qcmplx NCR(const unsigned short* n, const unsigned short* r);

// Greatest common divisor and least common multiple of two whole numbers that
// fit a signed 32-bit integer (else error -11 and -35).
qcmplx GCD(const unsigned short* a, const unsigned short* b);
qcmplx LCM(const unsigned short* a, const unsigned short* b);

// |a| mod |b| of two whole numbers that fit a signed 32-bit integer.
// b = 0: error -5; a fraction or a larger value: error -11.
qcmplx MOD(const unsigned short* a, const unsigned short* b);

// Fibonacci number F(n), 0 <= n < 1024 (else error -53 / -7).
qcmplx FIB(const unsigned short* n);

// A random number between the two bounds.
qcmplx RAN(const unsigned short* a, const unsigned short* b);
