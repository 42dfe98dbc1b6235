#pragma once

// The engine's error codes and its sticky error code, g_ErrCode.
//
// Every failure of an evaluation is recorded here as one negative code (its
// message is in ExceptionMsg, engine/EngineState.h); the evaluation steps
// return at once while a code is set, and the caller tests it afterwards.
//
// This header includes nothing. The number library's root finder and
// financial functions report through the same code, and this is the one
// engine header that numerics/ may include. The code is stored in
// numerics/EngineErrorCode.cpp, so that the number library links without
// the engine.

// Error codes (the message of each is in ExceptionMsg).
constexpr int ERR_NONE = 0;
constexpr int ERR_SYNTAX = -1;
constexpr int ERR_ARCCOS = -2;
constexpr int ERR_ARCSIN = -3;
constexpr int ERR_SQRT = -4;
constexpr int ERR_DIVISION = -5;
constexpr int ERR_LOGARITHM = -6;
constexpr int ERR_OUT_OF_RANGE = -7;
constexpr int ERR_BAD_CALL = -8;
constexpr int ERR_INTEGRATION = -9;
constexpr int ERR_INVALID_TYPE = -11;
constexpr int ERR_ROOT_NOT_FOUND = -12;
constexpr int ERR_ARCSINH = -13;
constexpr int ERR_ARCCOSH = -14;
constexpr int ERR_ARCTANH = -15;
constexpr int ERR_ARCCOTH = -16;
constexpr int ERR_ARCTAN = -17;
constexpr int ERR_ARCCOT = -18;
constexpr int ERR_SIN = -19;
constexpr int ERR_COS = -20;
constexpr int ERR_TAN = -21;
constexpr int ERR_COTAN = -22;
constexpr int ERR_SINH = -23;
constexpr int ERR_COSH = -24;
constexpr int ERR_TANH = -25;
constexpr int ERR_COTANH = -26;
constexpr int ERR_SEC = -27;
constexpr int ERR_CSC = -28;
constexpr int ERR_SECH = -29;
constexpr int ERR_CSCH = -30;
constexpr int ERR_ARCSEC = -31;
constexpr int ERR_ARCCSC = -32;
constexpr int ERR_ARCSECH = -33;
constexpr int ERR_ARCCSCH = -34;
constexpr int ERR_LCM = -35;
constexpr int ERR_MOD = -36;
constexpr int ERR_FIBONACCI = -37;
constexpr int ERR_SUM_STEP = -41;
constexpr int ERR_NO_LIST = -49;
constexpr int ERR_BAD_PARAMETERS = -50;
constexpr int ERR_FINANCIAL = -51;
constexpr int ERR_NOT_WHOLE = -53;
constexpr int ERR_COMPLEX = -54;
constexpr int ERR_INFINITE = -55;
constexpr int ERR_LIBRARY = -56;
constexpr int ERR_ABSOLUTE = -57;

// Lowest code of the message table.
constexpr int ERR_LOWEST = -57;

// Last error code, 0 = none. Sticky: every evaluation step returns at once
// while it is set. Starts at -1, so users call ClearErrorCode first.
extern int g_ErrCode;

// Clears the engine's error code and the number library's error flag.
void ClearErrorCode();
int GetErrorCode();

// Records an error code.
void SetErrorCode(int nCode);
