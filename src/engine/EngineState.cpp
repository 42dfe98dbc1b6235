#include "engine/EngineState.h"

int g_Mode = MODE_DEGREES;
int g_BitWidth = 8;

const char* const ExceptionMsg[EXCEPTION_MSG_COUNT] = {
    "Absolute error",                // -57
    "Invalid parameter(s)",          // -56
    "Infinite result",               // -55
    "Complex's not been supported",  // -54
    "Invalid type error",            // -53
    "Invalid macro",                 // -52
    "Invalid parameters",            // -51
    "Invalid parameters",            // -50
    "No list available",             // -49
    "Linear independent error",      // -48
    "Eigenvector error",             // -47
    "Matrix subtraction error",      // -46
    "Matrix transformation error",   // -45
    "Det evaluation error",          // -44
    "Rank calculation error",        // -43
    "Non-symetric Matrix",           // -42
    "Sumation(Product) step error",  // -41
    "Radix conversion error",        // -40
    "Matrix inversion error",        // -39
    "Matrix multiplication error",   // -38
    "Fibonacci index error",         // -37
    "MOD error",                     // -36
    "LCM error",                     // -35
    "ArcCsch error",                 // -34
    "ArcSech error",                 // -33
    "ArcCsc error",                  // -32
    "ArcSec error",                  // -31
    "Csch error",                    // -30
    "Sech error",                    // -29
    "Csc error",                     // -28
    "Sec error",                     // -27
    "Cotanh error",                  // -26
    "Tanh error",                    // -25
    "Cosh error",                    // -24
    "Sinh error",                    // -23
    "Cotan error",                   // -22
    "Tan error",                     // -21
    "Cos error",                     // -20
    "Sin error",                     // -19
    "Arccot error",                  // -18
    "Arctan error",                  // -17
    "Arccoth error",                 // -16
    "Arctanh error",                 // -15
    "Arccosh error",                 // -14
    "Arcsinh error",                 // -13
    "Root not found",                // -12
    "Invalid type error",            // -11
    "Matrix addition error",         // -10
    "Integration error",             // -9
    "Syntax error",                  // -8
    "Out of range error",            // -7
    "Logarit error",                 // -6
    "Division error",                // -5
    "(Square) root error",           // -4
    "Arcsin error",                  // -3
    "Arccos error",                  // -2
    "Syntax error",                  // -1
};

void SetMode(int nMode)
{
    if (nMode == MODE_DEGREES || nMode == MODE_RADIANS || nMode == MODE_GRADS)
        g_Mode = nMode;
}

const char* GetErrorMessage(int nCode)
{
    if (nCode == ERR_NONE)
        return "";
    if (nCode >= ERR_LOWEST && nCode <= -1)
        return ExceptionMsg[EXCEPTION_MSG_COUNT + nCode];
    return "Unknown error";
}
