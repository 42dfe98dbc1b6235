#pragma once

// Numerical methods of the expression engine: number-theory functions now;
// the calculus methods join them with the expression front end.
// Results are real qcmplx values; failures set the engine's error code and
// give (0, 0).

#include "numerics/qlib.h"

// |a| mod |b| of two whole numbers that fit a signed 32-bit integer.
// b = 0: error -5; a fraction or a larger value: error -11.
qcmplx MOD(const unsigned short* a, const unsigned short* b);
