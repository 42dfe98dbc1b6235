#pragma once

// Calculus on expression texts: the function values the root finder
// evaluates, integration and differentiation.
//
// These methods evaluate one expression text many times with a different
// value of its variable. They read the text and the variable name from
// g_lpszExpression and g_lpszVariable (set by the caller) or take the text as
// an argument, and compute in double precision through the double evaluator;
// only their final value is widened to a qreal. They run in radians and give
// the caller's angle mode back afterwards.
//
// Results are real qcmplx values; failures set the engine's error code and
// give (0, 0).

#include "numerics/qlib.h"

// Value of g_lpszExpression at g_lpszVariable = x, at full precision. An
// imaginary part above 1e-64 is error -54.
qcmplx fn(const unsigned short* x);

// Value of the expression text at g_lpszVariable = x, in double precision
// (0 for an empty or missing text). An imaginary part above 1e-8 is error -54.
double fnex(double x, const char* lpszExpression);

// Double callback of the root finder (numerics/NumericalMethods.h):
// g_lpszExpression at x. An imaginary part above 1e-16 is error -54.
double fn(double x, void* pContext);

// Stage n of the extended trapezoidal rule for the expression on [a, b]; the
// running sum is kept between the stages of one integral (n = 1 starts anew).
// pAbsolute, when given, receives the same stage of the integral of |f|.
double trapzd(const unsigned short* a, const unsigned short* b, int n,
              const char* lpszExpression = nullptr, double* pAbsolute = nullptr);

// Definite integral of the expression over [a, b] (Romberg's method). Not
// converged: error -9.
qcmplx integration(const unsigned short* a, const unsigned short* b, const char* lpszExpression);

// Derivative of g_lpszExpression at x by a central quotient; near the edge of
// the expression's domain the quotient is taken one-sided.
qcmplx derivation(const unsigned short* x);

// Derivative of the expression in the named variable at x, by the sum,
// product, quotient, root and power rules where they apply, numerically
// elsewhere.
qcmplx derivation(const char* lpszExpression, const char* lpszVariable, const unsigned short* x);
