#pragma once

// Shared definitions of the expression engine: buffer and stack sizes, the
// angle modes, the error codes (engine/ErrorCodes.h) and the double-precision
// complex record used by the second evaluator and the numerical methods.

#include "engine/ErrorCodes.h"

// Every expression text lives in a zero-filled buffer of this many bytes,
// NUL included.
constexpr int EXPR_BUFFER_SIZE = 4096;

// Entries of the operand stack and of the group stack of one evaluation.
constexpr long EVAL_STACK_SIZE = 1024;

// Angle modes of the trigonometric functions.
constexpr int MODE_DEGREES = 0;
constexpr int MODE_RADIANS = 1;
constexpr int MODE_GRADS = 2;

// A complex number in double precision: real part, then imaginary part.
struct COMPLEX {
    double x;
    double y;
};
