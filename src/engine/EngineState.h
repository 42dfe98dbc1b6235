#pragma once

// Engine-wide state shared by the tokenizer, both evaluators, the handlers and
// the numerical methods. The engine is single-threaded and not re-entrant.

#include "engine/ErrorCodes.h"
#include "engine/MyDefine.h"

// Angle mode of the trigonometric functions (MODE_DEGREES, MODE_RADIANS,
// MODE_GRADS). The handlers switch it to radians when they meet a complex
// argument or result.
extern int g_Mode;

// Word size of the bit operators: 8, 16, 32 or 64.
extern int g_BitWidth;

// Texts of the error codes -57 .. -1; the message of code c is entry 57 + c.
constexpr int EXCEPTION_MSG_COUNT = 57;
extern const char* const ExceptionMsg[EXCEPTION_MSG_COUNT];

// Stores the angle mode (0, 1 or 2; other values are ignored).
void SetMode(int nMode);

// Message text of an error code: the table entry for -57 .. -1, "Unknown
// error" for any other nonzero code and an empty text for 0.
const char* GetErrorMessage(int nCode);
