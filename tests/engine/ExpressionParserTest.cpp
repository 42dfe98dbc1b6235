// Tokenizer and postfix conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/EngineState.h"
#include "engine/ExpressionParser.h"
#include "engine/NumberConverter.h"

namespace {

// Runs the tokenizer on a 4096-byte buffer; returns its result and the text.
int Tokenize(const std::string& strText, int nBase, const char* lpszVariable, std::string& strOut)
{
    char szBuffer[EXPR_BUFFER_SIZE] = {};
    std::memcpy(szBuffer, strText.data(), std::min(strText.size(), sizeof(szBuffer) - 1));
    const int nResult = ExpressionParser(szBuffer, nBase, lpszVariable);
    strOut = szBuffer;
    return nResult;
}

// Tokenizer then postfix conversion; empty string on a rejection.
std::string Postfix(const std::string& strText, int& nError)
{
    char szBuffer[EXPR_BUFFER_SIZE] = {};
    std::memcpy(szBuffer, strText.data(), strText.size());
    ClearErrorCode();
    std::string strResult;
    if (ExpressionParser(szBuffer, 10, nullptr) == 1 && RPNMaker(szBuffer) == 1)
        strResult = szBuffer;
    nError = GetErrorCode();
    return strResult;
}

class ExpressionParserTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
};

struct TokenCase {
    const char* lpszText;
    int nBase;
    const char* lpszVariable;
    int nResult;
    const char* lpszTokens;  // checked when accepted
};

TEST_F(ExpressionParserTest, TokenLists)
{
    const TokenCase arrCases[] = {
        // end check: a letter or digit before any trailing ) ! % ] and blanks
        {"", 10, nullptr, 0, nullptr},
        {"  ))", 10, nullptr, 0, nullptr},
        {"3+", 10, nullptr, 0, nullptr},
        {"3.", 10, nullptr, 1, "3."},
        {")2(", 10, nullptr, 0, nullptr},
        {"(3)", 10, nullptr, 1, "( 3 )"},
        {"5!", 10, nullptr, 1, "5 !"},
        {"50%", 10, nullptr, 1, "50 %"},
        {"2 3 ", 10, nullptr, 1, "2 3"},
        // characters
        {"[VRE]*2", 10, nullptr, 1, "vre * 2"},
        {"1--2", 10, nullptr, 0, nullptr},
        {"1-(-2)", 10, nullptr, 1, "1 - ( - 2 )"},
        // numbers: a point with digits on either side, an exponent right
        // after them; whatever follows a number is a token of its own
        {".5", 10, nullptr, 1, ".5"},
        {"1+.5", 10, nullptr, 1, "1 + .5"},
        {"1e5", 10, nullptr, 1, "1e5"},
        {"1e-5", 10, nullptr, 1, "1e-5"},
        {"1.5E+8*2", 10, nullptr, 1, "1.5e+8 * 2"},
        {"2e", 10, nullptr, 1, "2 e"},
        {"2e+x", 10, "x", 1, "2 e + x"},
        {"12 345", 10, nullptr, 1, "12 345"},
        {"1.2.3", 10, nullptr, 1, "1.2 .3"},
        {"2..", 10, nullptr, 0, nullptr},
        {"(.)", 10, nullptr, 0, nullptr},
        {"pie", 10, nullptr, 0, nullptr},
        {"2,3", 10, nullptr, 0, nullptr},
        {"2<3", 10, nullptr, 0, nullptr},
        {"2\xc3\x97" "3", 10, nullptr, 0, nullptr},
        // words: table, registers, the variable; case is folded
        {"SIN(PI)", 10, nullptr, 1, "sin ( pi )"},
        {"sin(pi)", 10, nullptr, 1, "sin ( pi )"},
        {"2 mod 3 shl 1", 10, nullptr, 1, "2 mod 3 shl 1"},
        {"abs(list)+vvv", 10, nullptr, 1, "abs ( list ) + vvv"},
        {"x^2", 10, "x", 1, "x ^ 2"},
        {"X^2", 10, "x", 1, "x ^ 2"},
        {"rate*2", 10, "Rate", 1, "rate * 2"},
        {"y^2", 10, "x", 0, nullptr},
        {"foo+1", 10, nullptr, 0, nullptr},
        {"fnInt(x,x,0,1)", 10, nullptr, 0, nullptr},
        {"2pi", 10, nullptr, 1, "2 pi"},
        // parentheses are only counted here
        {"(2+3", 10, nullptr, 0, nullptr},
        {"2)+(3", 10, nullptr, 1, "2 ) + ( 3"},
        // base 16
        {"ff+1", 16, nullptr, 1, "255 + 1"},
        {"FFFFFFFF", 16, nullptr, 1, "-1"},
        {"80000000", 16, nullptr, 1, "-2147483648"},
        {"abs(ff)", 16, nullptr, 1, "abs ( 255 )"},
        {"a,b", 16, nullptr, 1, "10 11"},
        {"1g", 16, nullptr, 0, nullptr},
        // base 8 and 2: other characters are dropped without complaint
        {"17+777", 8, nullptr, 1, "15 + 511"},
        {"8", 8, nullptr, 0, nullptr},
        {"101", 2, nullptr, 1, "5"},
        {"12", 2, nullptr, 0, nullptr},
        {"1.1", 2, nullptr, 1, "1 1"},
        {"e", 2, nullptr, 0, nullptr},
        {"101 and 11", 2, nullptr, 1, "5 and 3"},
        // an unknown base leaves the text upper-cased
        {"sin(x)", 3, nullptr, 1, "SIN(X)"},
    };
    for (const TokenCase& c : arrCases) {
        SCOPED_TRACE(std::string(c.lpszText) + " base " + std::to_string(c.nBase));
        std::string strOut;
        EXPECT_EQ(Tokenize(c.lpszText, c.nBase, c.lpszVariable, strOut), c.nResult);
        if (c.nResult == 1)
            EXPECT_EQ(strOut, c.lpszTokens);
        // The tokenizer never sets the error code itself.
        EXPECT_EQ(GetErrorCode(), 0);
    }
}

TEST_F(ExpressionParserTest, OutputThatWouldNotFitIsRejected)
{
    // A text that fits, but whose token list (one blank per token) does not.
    std::string strSum = "1";
    while (strSum.size() + 2 < EXPR_BUFFER_SIZE)
        strSum += "+1";
    std::string strOut;
    EXPECT_EQ(Tokenize(strSum, 10, nullptr, strOut), 0);

    // Base 16 digits grow into longer decimal numbers.
    std::string strHex = "f";
    while (strHex.size() + 2 < EXPR_BUFFER_SIZE)
        strHex += " f";
    EXPECT_EQ(Tokenize(strHex, 16, nullptr, strOut), 0);

    // The same length without growth is fine.
    const std::string strDigits(EXPR_BUFFER_SIZE - 1, '7');
    EXPECT_EQ(Tokenize(strDigits, 10, nullptr, strOut), 1);
    EXPECT_EQ(strOut, strDigits);
}

TEST_F(ExpressionParserTest, UnterminatedBufferIsRejected)
{
    char szBuffer[EXPR_BUFFER_SIZE];
    std::memset(szBuffer, '1', sizeof(szBuffer));
    EXPECT_EQ(ExpressionParser(szBuffer, 10, nullptr), 0);
    std::memset(szBuffer, '1', sizeof(szBuffer));
    EXPECT_EQ(RPNMaker(szBuffer), 0);
    EXPECT_EQ(GetErrorCode(), ERR_SYNTAX);
}

struct PostfixCase {
    const char* lpszText;
    const char* lpszPostfix;  // null: rejected with error -1
};

TEST_F(ExpressionParserTest, PostfixStrings)
{
    const PostfixCase arrCases[] = {
        // precedence and associativity
        {"2+sin(30)*3", "2 ( 30 ) sin 3 * + "},
        {"2^3^2", "2 3 2 ^ ^ "},
        {"2-3-4", "2 3 - 4 - "},
        {"8/2/2", "8 2 / 2 / "},
        {"1+2 mod 3", "1 2 3 mod + "},
        {"2*3 mod 4", "2 3 * 4 mod "},
        {"6 and 3+1", "6 3 1 + and "},
        {"1 shl 2+1", "1 2 shl 1 + "},
        {"2 exp 3^2", "2 3 exp 2 ^ "},
        {"sin 30+1", "30 sin 1 + "},
        {"sqrt 4^2", "4 sqrt 2 ^ "},
        {"3 root 8*2", "3 8 root 2 * "},
        // at the start of a group a sign is a binary "-" with nothing
        // before it; after an operator it opens a group of its own, closed
        // by the next operator that binds more loosely than "^"
        {"-3+2", "3 - 2 + "},
        {"2*(-3)", "2 ( 3 - ) * "},
        {"(-(2))", "( ( 2 ) - ) "},
        {"2*-3", "2 ( 3 - ) * "},
        {"2^-1", "2 ( 1 - ) ^ "},
        {"2*-3^2+1", "2 ( 3 2 ^ - ) * 1 + "},
        {"sin -30", "( 30 - ) sin "},
        {"2*+3", "2 3 * "},
        {"+3", "3 "},
        // postfix operators
        {"5!%", "5 ! % "},
        {"2*5!", "2 5 ! * "},
        // abs takes everything up to the end of its group
        {"abs(-3)+1", "( 3 - ) 1 + abs "},
        {"2*abs(-3)", "2 ( 3 - ) abs * "},
        {"abs 1 and 2", "1 abs 2 and "},
        // rejections: two operands or two operators in a row, an operator
        // or a function without its operand
        {"2 3", nullptr},
        {"2(3)", nullptr},
        {"(2)(3)", nullptr},
        {"2 sin 3", nullptr},
        {"5! 2", nullptr},
        {"2*-+3", nullptr},
        {"2*%3", nullptr},
        {"2)+(3", nullptr},
        {"(2*)+1", nullptr},
        {"2*sin", nullptr},
    };
    for (const PostfixCase& c : arrCases) {
        SCOPED_TRACE(c.lpszText);
        int nError = 0;
        const std::string strPostfix = Postfix(c.lpszText, nError);
        if (c.lpszPostfix != nullptr) {
            EXPECT_EQ(strPostfix, c.lpszPostfix);
            EXPECT_EQ(nError, 0);
        } else {
            EXPECT_EQ(strPostfix, "");
            EXPECT_EQ(nError, ERR_SYNTAX);
        }
    }
}

TEST_F(ExpressionParserTest, StickyErrorStopsBothSteps)
{
    char szBuffer[EXPR_BUFFER_SIZE] = "1+2";
    SetErrorCode(ERR_DIVISION);
    EXPECT_EQ(ExpressionParser(szBuffer, 10, nullptr), 0);
    EXPECT_STREQ(szBuffer, "1+2");
    EXPECT_EQ(RPNMaker(szBuffer), 0);
    EXPECT_STREQ(szBuffer, "1+2");
    EXPECT_EQ(GetErrorCode(), ERR_DIVISION);
}

TEST_F(ExpressionParserTest, PriorityTable)
{
    const struct {
        const char* lpszToken;
        int nPriority;
    } arrCases[] = {
        {"(", 0},   {")", 0},    {"xor", 1},  {"abs", 1}, {"-", 2},   {"rtr", 3},
        {"/", 4},   {"root", 5}, {"%", 5},    {"exp", 6}, {"sin", 7}, {"acsch", 7},
        {"eigl", 7}, {"12", 8},  {"cp", 8},   {"not", 8},
    };
    for (const auto& c : arrCases)
        EXPECT_EQ(Priority(c.lpszToken), c.nPriority) << c.lpszToken;
}

TEST(NumberConverterTest, Values)
{
    const struct {
        const char* lpszDigits;
        int nBase;
        uint32_t uValue;
    } arrCases[] = {
        {"FF", 16, 255u},
        {"FFFFFFFF", 16, 4294967295u},
        {"100000000", 16, 4294967295u},  // saturates
        {"777", 8, 511u},
        {"101", 2, 5u},
        {"11111111111111111111111111111111", 2, 4294967295u},
        {"123", 10, 123u},
        {"4294967296", 10, 4294967295u},
        {"12", 3, 0u},
        {"0", 16, 0u},
    };
    for (const auto& c : arrCases)
        EXPECT_EQ(NumberConverter(c.lpszDigits, c.nBase), c.uValue) << c.lpszDigits;

    // Place values beyond the double range must not turn zeros into NaN.
    const std::string strLong = "1" + std::string(2000, '0');
    EXPECT_EQ(NumberConverter(strLong.c_str(), 2), 4294967295u);
}

TEST(IntegerTextTest, Conversions)
{
    char szOut[32];
    EXPECT_STREQ(itoa(255, szOut, 16), "FF");
    EXPECT_STREQ(itoa(0, szOut, 10), "0");
    EXPECT_STREQ(itoa(-1, szOut, 10), "-1");
    EXPECT_STREQ(itoa(-2147483647 - 1, szOut, 10), "-2147483648");
    EXPECT_STREQ(uitoa(4294967295u, szOut, 10), "4294967295");
    EXPECT_STREQ(uitoa(0u, szOut, 2), "0");

    // 32 binary digits do not fit: only the 16 low ones are written, and
    // nothing past the 17-byte output.
    char szSmall[20];
    std::memset(szSmall, '#', sizeof(szSmall));
    uitoa(0xFFFF0000u, szSmall, 2);
    EXPECT_STREQ(szSmall, "0000000000000000");
    EXPECT_EQ(szSmall[17], '#');
}

TEST(FindRegTest, Names)
{
    EXPECT_EQ(FindReg("VVV"), 0);
    EXPECT_EQ(FindReg("vre"), 1);
    EXPECT_EQ(FindReg("V"), 13);
    EXPECT_EQ(FindReg("list"), 29);
    EXPECT_EQ(FindReg("VL"), -1);
    EXPECT_EQ(FindReg(""), -1);
}

TEST(PushPopTest, OwnsCopies)
{
    char szToken[] = "sin";
    stack* pHead = Push(nullptr, szToken);
    szToken[0] = 'X';
    pHead = Push(pHead, nullptr);
    EXPECT_EQ(pHead->lpszToken, nullptr);
    pHead = Pop(pHead);
    ASSERT_NE(pHead, nullptr);
    EXPECT_STREQ(pHead->lpszToken, "sin");
    pHead = Pop(pHead);
    EXPECT_EQ(pHead, nullptr);
}

}  // namespace
