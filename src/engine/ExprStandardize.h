#pragma once

// Expression front end. ExprEval evaluates an expression text: first every
// call of a built-in function that takes several arguments or works on the
// statistics list (fnInt(...), gcd(...), pmt(...) and the rest of fnName) is
// computed and written back into the text as a number; then the remaining
// expression goes to the extended evaluator. The result lands in register 0.

#include "engine/ExprEvaluation.h"

// Built-in function names; the position of a name is its function number.
constexpr int FUNCTION_NAME_COUNT = 39;
extern const char* const fnName[FUNCTION_NAME_COUNT];

// Parenthesis depth shared by GetFunctionString and GetParam.
extern int Top;

// Evaluates the text (at most 4095 characters). nKind 0 is a scalar
// expression; matrix expressions (1) are not offered and fail with -1. nBase
// is 2, 8, 10 or 16. Returns a copy of register 0: type REG_REAL or
// REG_COMPLEX with the value, or a cleared real register on failure (the
// error code tells).
REG ExprEval(const char* lpszExpression, int nKind, int nBase);

// Replaces every built-in call in the 4096-byte buffer by its value. 1 = no
// call left; 0 = failure, with the error code set.
int ExprStandardize(char* lpszExpression, int nBase);

// Number of the first built-in name (in table order) that occurs as a whole
// word at or after nOffset, not preceded by a backslash; nOffset is moved to
// it. -1 when there is none.
int FindFunction(const char* lpszText, int& nOffset);

// The text between the next "(" from nPosition and its matching ")", into
// lpszOutput (4096 bytes); nPosition ends just after the ")". 0 when there is
// no "(" or it does not close.
int GetFunctionString(const char* lpszText, char* lpszOutput, int& nPosition);

// The next comma-separated argument of an argument list, into lpszOutput
// (4096 bytes); nPosition moves past its comma. 0 when no argument is left or
// it is empty. A ")" without "(" sets error -8.
int GetParam(const char* lpszList, char* lpszOutput, int& nPosition);

// Computes built-in function nFunction on the argument text.
qcmplx Excute(int nFunction, const char* lpszArguments, int nBase);
