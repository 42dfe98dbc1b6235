#pragma once

// Integer routines behind the bit operators and the number-theory functions.
// Values travel as floating-point numbers; the bit routines work on unsigned
// words of g_BitWidth bits (8, 16, 32 or 64; any other width gives 0).

#include <cstdint>

// a shifted left by n bits (right by -n for n <= 0), as an unsigned word.
// Both must be whole numbers, else error -53 and 0.
long double SHL(long double a, long double n);
// a shifted right by n bits (left by -n for n <= 0).
long double SHR(long double a, long double n);
// a rotated left / right by n bits; a negative n rotates the other way.
long double RTL(long double a, long double n);
long double RTR(long double a, long double n);
// a rotated by one bit.
long double rtl(long double a);
long double rtr(long double a);

// Greatest common divisor of |a| and |b| (gcd(0, n) = |n|).
long gcd(long a, long b);
// |a * b| / gcd(a, b), computed in double; 0 when either is 0.
double lcm(long a, long b);

// Bitwise complement and two's complement of a whole value, in the word size.
long double WordNot(long double a);
long double WordComplement(long double a);

// The value as a 32-bit signed integer; false when it is not exactly one.
bool ToInt32Exact(long double a, int32_t& nValue);

// The value reduced to an unsigned word of the word size (truncated towards
// zero, modulo 2^width).
uint64_t ToWord(long double a);

// All bits of the word size set (0 for an unsupported width).
uint64_t WordMask();
