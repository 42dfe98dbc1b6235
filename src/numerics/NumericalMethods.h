#pragma once

// Numerical methods of the expression engine: root finding, integration,
// differentiation, factorial-based counts and number theory.
//
// The calculus methods evaluate one expression text many times with a
// different value of its variable. They read the text and the variable name
// from g_lpszExpression and g_lpszVariable (set by the caller) or take the text
// as an argument, and compute in double precision through the double
// evaluator; only their final value is widened to a qreal.
//
// Results are real qcmplx values; failures set the engine's error code and give
// (0, 0).

#include "numerics/qlib.h"

// Value of g_lpszExpression at g_lpszVariable = x, at full precision. An
// imaginary part above 1e-64 is error -54.
qcmplx fn(const unsigned short* x);

// Value of the expression text at g_lpszVariable = x, in double precision
// (0 for an empty or missing text). An imaginary part above 1e-8 is error -54.
double fnex(double x, const char* lpszExpression);

// Double callback of the root finder: g_lpszExpression at x. An imaginary part
// above 1e-16 is error -54.
double fn(double x, void* pContext);

typedef double (*LPFNROOTFUNCTION)(double x, void* pContext);

// A root of f between a and b (Brent's method, at most 99 iterations),
// accurate to a few units of the last place of a double (or 5e-13 near zero).
// An end where |f| < 1e-8 is returned at once. Not bracketed or not found:
// error -12 and 0. A failing evaluation counts as 0.
double fnroot(double a, double b, LPFNROOTFUNCTION f, void* pContext = nullptr);

// Stage n of the extended trapezoidal rule for the expression on [a, b]; the
// running sum is kept between the stages of one integral (n = 1 starts anew).
// pAbsolute, when given, receives the same stage of the integral of |f|.
double trapzd(const unsigned short* a, const unsigned short* b, int n,
              const char* lpszExpression = nullptr, double* pAbsolute = nullptr);

// Neville's polynomial extrapolation of n points (xa, ya) to x: value y and
// error estimate dy.
void polint(const double* xa, const double* ya, int n, double x, double& y, double& dy);

// Definite integral of the expression over [a, b] (Romberg's method). Not
// converged: error -10.
qcmplx integration(const unsigned short* a, const unsigned short* b, const char* lpszExpression);

// Derivative of g_lpszExpression at x by a central quotient; near the edge of
// the expression's domain the quotient is taken one-sided.
qcmplx derivation(const unsigned short* x);

// Derivative of the expression in the named variable at x, by the sum,
// product, quotient, root and power rules where they apply, numerically
// elsewhere.
qcmplx derivation(const char* lpszExpression, const char* lpszVariable, const unsigned short* x);

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
