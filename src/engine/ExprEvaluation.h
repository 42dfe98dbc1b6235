#pragma once

// Postfix evaluation. Two evaluators walk the postfix string of an expression
// on an operand stack, calling the handler of every operator and function:
//   ExprEvaluation    extended precision (qcmplx), used by every calculation;
//   ExprEvaluationEx  double precision (COMPLEX), for the numerical methods,
//                     which evaluate one expression many times; it keeps the
//                     postfix string of the last expression.
// Both report failures through the engine's error code and return (0, 0).

#include "engine/EngineState.h"
#include "engine/ExpressionParser.h"
#include "engine/Handlers.h"
#include "engine/HandlersEx.h"
#include "engine/MyDefine.h"
#include "numerics/qlib.h"

// Register record. Registers 0 ("VVV", every result of ExprEval) and 29
// ("LIST", the statistics list) are the ones in use.
constexpr unsigned char REG_REAL = 0;
constexpr unsigned char REG_MATRIX = 1;
constexpr unsigned char REG_COMPLEX = 2;

struct REG {
    unsigned char type;   // REG_REAL, REG_MATRIX or REG_COMPLEX
    qreal re;             // value of a scalar register
    qreal im;
    unsigned short rows;  // matrix size
    unsigned short cols;
    double* elements;     // rows * cols values, row by row, owned by the register
};

extern REG g_reg[REG_COUNT];

// Expression and variable of the variable-driven callbacks of the numerical
// methods; g_lpszExpression is also set by ExprEvaluationEx to the text it
// converted last.
extern const char* g_lpszExpression;
extern const char* g_lpszVariable;

// Postfix string cached by ExprEvaluationEx; clearing its first byte forces a
// new conversion.
extern char g_lpszRPN[EXPR_BUFFER_SIZE];

// Handler tables: token text and handler, searched by exact comparison.
struct FUNCTION_TABLE_EX {
    const char* lpszName;
    LPFNHANDLEREX lpfnHandler;
};

struct FUNCTION_TABLE {
    const char* lpszName;
    LPFNHANDLER lpfnHandler;
};

constexpr int FUNCTION_TABLE_EX_SIZE = 51;
constexpr int FUNCTION_TABLE_SIZE = 51;
extern const FUNCTION_TABLE_EX lpFunctionTableEx[FUNCTION_TABLE_EX_SIZE];
extern const FUNCTION_TABLE lpFunctionTable[FUNCTION_TABLE_SIZE];

const FUNCTION_TABLE_EX* GetHandlerEx(const char* lpszToken);
const FUNCTION_TABLE* GetHandler(const char* lpszToken);

// Evaluates the text (not yet tokenized) in the base 2, 8, 10 or 16. The
// variable, when named, takes the given value. On success bOk becomes true;
// on failure it is left as it was, the error code is set and (0, 0) returned.
qcmplx ExprEvaluation(const char* lpszExpression, bool& bOk, const char* lpszVariable,
                      unsigned short* pValue, int nBase);
COMPLEX ExprEvaluationEx(const char* lpszExpression, bool& bOk, const char* lpszVariable,
                         long double dbValue, int nBase);

// double <-> qreal (source first, destination second).
void myetoq(double dbValue, unsigned short* pValue);
void myqtoe(const unsigned short* pValue, double& dbValue);

// Resets every register to a cleared real register, freeing matrix storage.
void ClearRegisters();

// Fills register 29 ("LIST") with a one-column matrix of the values (the
// statistics list); an empty list clears the register.
void SetStatisticsList(const double* pValues, int nCount);
