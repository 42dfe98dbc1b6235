// The message of every error code, as the user reads it.
#include <gtest/gtest.h>

#include "engine/EngineState.h"

namespace {

TEST(ErrorMessageTest, EveryCodeHasItsText)
{
    const struct {
        int nCode;
        const char* lpszMessage;
    } arrCases[] = {
        {-57, "Absolute error"},
        {-56, "Invalid parameter(s)"},
        {-55, "Infinite result"},
        {-54, "Complex's not been supported"},
        {-53, "Invalid type error"},
        {-52, "Invalid macro"},
        {-51, "Invalid parameters"},
        {-50, "Invalid parameters"},
        {-49, "No list available"},
        {-48, "Linear independent error"},
        {-47, "Eigenvector error"},
        {-46, "Matrix subtraction error"},
        {-45, "Matrix transformation error"},
        {-44, "Det evaluation error"},
        {-43, "Rank calculation error"},
        {-42, "Non-symetric Matrix"},
        {-41, "Sumation(Product) step error"},
        {-40, "Radix conversion error"},
        {-39, "Matrix inversion error"},
        {-38, "Matrix multiplication error"},
        {-37, "Fibonacci index error"},
        {-36, "MOD error"},
        {-35, "LCM error"},
        {-34, "ArcCsch error"},
        {-33, "ArcSech error"},
        {-32, "ArcCsc error"},
        {-31, "ArcSec error"},
        {-30, "Csch error"},
        {-29, "Sech error"},
        {-28, "Csc error"},
        {-27, "Sec error"},
        {-26, "Cotanh error"},
        {-25, "Tanh error"},
        {-24, "Cosh error"},
        {-23, "Sinh error"},
        {-22, "Cotan error"},
        {-21, "Tan error"},
        {-20, "Cos error"},
        {-19, "Sin error"},
        {-18, "Arccot error"},
        {-17, "Arctan error"},
        {-16, "Arccoth error"},
        {-15, "Arctanh error"},
        {-14, "Arccosh error"},
        {-13, "Arcsinh error"},
        {-12, "Root not found"},
        {-11, "Invalid type error"},
        {-10, "Matrix addition error"},
        {-9, "Integration error"},
        {-8, "Syntax error"},
        {-7, "Out of range error"},
        {-6, "Logarit error"},
        {-5, "Division error"},
        {-4, "(Square) root error"},
        {-3, "Arcsin error"},
        {-2, "Arccos error"},
        {-1, "Syntax error"},
        // outside the table
        {-58, "Unknown error"},
        {1, "Unknown error"},
        {-1000, "Unknown error"},
        {0, ""},
    };
    for (const auto& c : arrCases)
        EXPECT_STREQ(GetErrorMessage(c.nCode), c.lpszMessage) << c.nCode;
}

TEST(ErrorMessageTest, ClearAndSetMode)
{
    SetErrorCode(ERR_DIVISION);
    EXPECT_EQ(GetErrorCode(), ERR_DIVISION);
    ClearErrorCode();
    EXPECT_EQ(GetErrorCode(), 0);

    SetMode(MODE_GRADS);
    EXPECT_EQ(g_Mode, MODE_GRADS);
    SetMode(7);  // not an angle mode: ignored
    EXPECT_EQ(g_Mode, MODE_GRADS);
    SetMode(MODE_DEGREES);
}

}  // namespace
