#pragma once

// The numerical methods of the number library that work on callbacks: a
// root finder and polynomial extrapolation. They know nothing of expression
// texts; the engine's calculus (engine/ExprCalculus.h) and the financial
// functions hand them their functions.
//
// Failures set the engine's error code (engine/ErrorCodes.h).

typedef double (*LPFNROOTFUNCTION)(double x, void* pContext);

// A root of f between a and b (Brent's method, at most 99 iterations),
// accurate to a few units of the last place of a double (or 5e-13 near zero).
// An end where |f| < 1e-8 is returned at once. Not bracketed or not found:
// error -12 and 0. A failing evaluation counts as 0.
double fnroot(double a, double b, LPFNROOTFUNCTION f, void* pContext = nullptr);

// The root of f in [dbLowest, dbHighest] nearest dbGuess, for functions
// with several roots or none, such as the balance of cash flows over an
// interest rate: f is sampled at 0 and at +-10^(k/100) from 1e-8 up to the
// bounds (and at the bounds), and the sign change nearest the guess is
// narrowed with fnroot. No sign change: error -12 and 0.
double fnrootnear(double dbLowest, double dbHighest, double dbGuess, LPFNROOTFUNCTION f,
                  void* pContext = nullptr);

// Neville's polynomial extrapolation of n points (xa, ya) to x: value y and
// error estimate dy.
void polint(const double* xa, const double* ya, int n, double x, double& y, double& dy);
