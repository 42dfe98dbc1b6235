#pragma once

// Complex functions in double precision for the COMPLEX evaluator and the
// numerical methods. All of them return principal values. Branch cuts follow
// the extended-precision family for arguments with a zero imaginary part
// (of either sign), so both evaluators agree on real arguments:
//   asin x  = +-pi/2 -+ i acosh|x|  for |x| > 1 (odd in x)
//   acos x  = pi/2 - asin x
//   atan iy = sign(y) pi/2 + i atanh(1/y)  for |y| > 1
//   sqrt and log of a negative real number take the upper half plane.

#include "engine/MyDefine.h"

COMPLEX complex_add(COMPLEX a, COMPLEX b);
COMPLEX complex_sub(COMPLEX a, COMPLEX b);  // a - b
COMPLEX complex_mul(COMPLEX a, COMPLEX b);
COMPLEX complex_div(COMPLEX a, COMPLEX b);  // a / b
COMPLEX complex_inverse(COMPLEX z);         // 1 / z
double complex_abs(COMPLEX z);

COMPLEX complex_exp(COMPLEX z);
COMPLEX complex_log(COMPLEX z);
COMPLEX complex_log10(COMPLEX z);
COMPLEX complex_pow(COMPLEX z, COMPLEX w);  // z^w
COMPLEX complex_sqrt(COMPLEX z);

COMPLEX complex_sin(COMPLEX z);
COMPLEX complex_cos(COMPLEX z);
COMPLEX complex_tan(COMPLEX z);
COMPLEX complex_cot(COMPLEX z);
COMPLEX complex_sec(COMPLEX z);
COMPLEX complex_csc(COMPLEX z);
COMPLEX complex_sinh(COMPLEX z);
COMPLEX complex_cosh(COMPLEX z);
COMPLEX complex_tanh(COMPLEX z);
COMPLEX complex_coth(COMPLEX z);
COMPLEX complex_sech(COMPLEX z);
COMPLEX complex_csch(COMPLEX z);

COMPLEX complex_arcsin(COMPLEX z);
COMPLEX complex_arccos(COMPLEX z);
COMPLEX complex_arctan(COMPLEX z);
COMPLEX complex_arccot(COMPLEX z);
COMPLEX complex_arcsec(COMPLEX z);
COMPLEX complex_arccsc(COMPLEX z);
COMPLEX complex_arcsinh(COMPLEX z);
COMPLEX complex_arccosh(COMPLEX z);
COMPLEX complex_arctanh(COMPLEX z);
COMPLEX complex_arccoth(COMPLEX z);
COMPLEX complex_arcsech(COMPLEX z);
COMPLEX complex_arccsch(COMPLEX z);

// ln |z| without overflow for large parts.
double logabs(COMPLEX z);

// ln(1 + t), accurate for small t.
double logex(double t);

// Clears a part that is only rounding noise against |z| (used on the results
// of the inverse functions).
COMPLEX Round(COMPLEX z);
