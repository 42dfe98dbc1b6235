#pragma once

// Complex functions of the extended evaluator. Each one computes on the
// number library and turns a library error (the merror flag set afterwards)
// into the engine error -56. Operands read in the natural order:
// qcmplx_sub(a, b) is a - b and qcmplx_div(a, b) is a / b.

#include "numerics/qlib.h"

qcmplx qcmplx_add(const qcmplx& a, const qcmplx& b);
qcmplx qcmplx_sub(const qcmplx& a, const qcmplx& b);
qcmplx qcmplx_mul(const qcmplx& a, const qcmplx& b);
qcmplx qcmplx_div(const qcmplx& a, const qcmplx& b);
qcmplx qcmplx_pow(const qcmplx& z, const qcmplx& w);  // principal z^w, see the .cpp
qcmplx qcmplx_sqrt(const qcmplx& z);
qcmplx qcmplx_inverse(const qcmplx& z);
qcmplx qcmplx_abs(const qcmplx& z);  // |z| as a real value
qcmplx qcmplx_log(const qcmplx& z);
qcmplx qcmplx_log10(const qcmplx& z);

qcmplx qcmplx_sin(const qcmplx& z);
qcmplx qcmplx_cos(const qcmplx& z);
qcmplx qcmplx_tan(const qcmplx& z);
qcmplx qcmplx_cot(const qcmplx& z);
qcmplx qcmplx_sec(const qcmplx& z);
qcmplx qcmplx_csc(const qcmplx& z);
qcmplx qcmplx_sinh(const qcmplx& z);
qcmplx qcmplx_cosh(const qcmplx& z);
qcmplx qcmplx_tanh(const qcmplx& z);
qcmplx qcmplx_coth(const qcmplx& z);
qcmplx qcmplx_sech(const qcmplx& z);
qcmplx qcmplx_csch(const qcmplx& z);

qcmplx qcmplx_arcsin(const qcmplx& z);
qcmplx qcmplx_arccos(const qcmplx& z);
qcmplx qcmplx_arctan(const qcmplx& z);
qcmplx qcmplx_arccot(const qcmplx& z);
qcmplx qcmplx_arcsec(const qcmplx& z);
qcmplx qcmplx_arccsc(const qcmplx& z);
qcmplx qcmplx_arcsinh(const qcmplx& z);
qcmplx qcmplx_arccosh(const qcmplx& z);
qcmplx qcmplx_arctanh(const qcmplx& z);
qcmplx qcmplx_arccoth(const qcmplx& z);
qcmplx qcmplx_arcsech(const qcmplx& z);
qcmplx qcmplx_arccsch(const qcmplx& z);

// Small helpers on qreal values shared by the extended handlers.
bool qiszero(const unsigned short* a);      // exponent 0
bool qisnegative(const unsigned short* a);  // nonzero with a negative sign
bool qiswhole(const unsigned short* a);     // equal to its floor
bool qcmplx_isreal(const qcmplx& z);        // imaginary part exactly zero
qcmplx qcmplx_make(const unsigned short* re);            // (re, 0)
qcmplx qcmplx_fromdouble(double re, double im = 0.0);
double qtodouble(const unsigned short* a);                // the nearest double
