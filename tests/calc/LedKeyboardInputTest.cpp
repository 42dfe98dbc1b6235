// Typing and pasting into an input line: the keys a text becomes, checked by
// the tokens they build, against the keys a keypad user presses.
#include <gtest/gtest.h>

#include "calc/LedKeyboardInput.h"
#include "calc/LedTextRules.h"
#include "LedTestSupport.h"
#include "calc/LedTokenModel.h"

using led::Utf16ToUtf8;
using led::Utf8ToUtf16;

namespace {

LedTokenModel MakeLine()
{
    return ledtest::MakeLine(300.0f);
}

using ledtest::Joined;

bool TokenBeforeCaretIsNumber(const LedTokenModel& line)
{
    const int nCaret = line.content().iCaretIndex;
    if (nCaret <= 0)
        return false;
    const std::u16string token = line.Token(nCaret - 1);
    return token.size() == 1 && ((token[0] >= u'0' && token[0] <= u'9') || token[0] == u'.');
}

void Perform(LedTokenModel& line, const std::vector<int>& keys)
{
    for (int k : keys)
        line.InputCommand(k);
}

// Types the text key by key as the line widget does, then ends what is
// pending; "!refused" is appended when a character was refused.
std::string Typed(const char* pszText)
{
    LedTokenModel line = MakeLine();
    led::LedKeyboardInput input;
    std::string refused;
    for (char16_t ch : Utf8ToUtf16(pszText)) {
        Perform(line, input.Type(ch, TokenBeforeCaretIsNumber(line)));
        if (input.WasRefused())
            refused = "!refused";
    }
    Perform(line, input.Commit());
    return Joined(line) + refused;
}

std::string Pasted(const char* pszText)
{
    LedTokenModel line = MakeLine();
    std::vector<int> keys;
    if (!led::TextToKeyCodes(Utf8ToUtf16(pszText), false, keys))
        return "refused";
    Perform(line, keys);
    return Joined(line);
}

std::string Keypad(std::initializer_list<int> keys)
{
    LedTokenModel line = MakeLine();
    Perform(line, keys);
    return Joined(line);
}

}  // namespace

TEST(LedKeyboardInput, TypingBuildsTheKeypadTokens)
{
    const struct {
        const char* pszTyped;
        std::string strTokens;
    } rows[] = {
        // one key per character
        {"12+3", Keypad({10, 11, 18, 12})},
        {"2*3-4/5", Keypad({11, 8, 12, 13, 5, 3, 6})},
        {"(1.5)^2!%,", Keypad({44, 10, 16, 6, 45, 30, 11, 33, 43, 46})},
        {"2\u00D73\u22124\u00F75", Keypad({11, 8, 12, 13, 5, 3, 6})},
        // names, ignoring case; a function's "(" is its own
        {"sin(30)", Keypad({54, 12, 15, 45})},
        {"SIN30", Keypad({54, 12, 15})},
        {"sinh(1)+asinh(1)", Keypad({51, 10, 45, 18, 60, 10, 45})},
        {"atan(1)", Keypad({65, 10, 45})},
        {"sqrt(2)", Keypad({40, 11, 45})},
        {"\u221A(2)", Keypad({40, 11, 45})},
        {"ln(2)*log(3)", Keypad({29, 11, 45, 8, 28, 12, 45})},
        {"pi*2", Keypad({59, 8, 11})},
        {"Pi", Keypad({59})},
        {"e^2", Keypad({39, 11})},
        {"x^2+i", Keypad({34, 30, 11, 18, 25})},
        {"5 mod 3", Keypad({6, 37, 12})},
        {"[ans]*2", Keypad({22, 8, 11})},
        {"fnInt(x,0,1)", Keypad({119, 34, 46, 15, 46, 10, 45})},
        // the constant e on its own
        {"2e", "[2][e]"},
        {"e*2", "[e][×][2]"},
        // an exponent after a number is typed as results are shown
        {"1.5e-12", Keypad({10, 16, 6, 8, 10, 15, 30, 44, 13, 10, 11, 45})},
        {"1E+3*2", Keypad({10, 8, 10, 15, 30, 44, 12, 45, 8, 11})},
        // a name cut short is completed to the first name it begins
        {"s(1)", Keypad({54, 10, 45})},
        {"co", Keypad({55})},
        // what no key types is refused, the rest goes on
        {"2q3", Keypad({11, 12}) + "!refused"},
        {"2#", Keypad({11}) + "!refused"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Typed(row.pszTyped), row.strTokens) << row.pszTyped;
}

TEST(LedKeyboardInput, PendingLettersShowTheirCompletion)
{
    const struct {
        const char* pszTyped;
        const char* pszPending;
        const char* pszCompletion;
    } rows[] = {
        {"s", "s", "sin("},
        {"Si", "Si", "sin("},
        {"sin", "sin", "sin("},  // "sinh" may follow
        {"as", "as", "asin("},
        {"pi", "", ""},  // whole and nothing longer: typed at once
        {"m", "m", " mod "},
        {"ex", "ex", "exp"},
    };
    for (const auto& row : rows) {
        led::LedKeyboardInput input;
        for (char16_t ch : Utf8ToUtf16(row.pszTyped))
            input.Type(ch, false);
        EXPECT_EQ(Utf16ToUtf8(input.PendingText()), row.pszPending) << row.pszTyped;
        EXPECT_EQ(Utf16ToUtf8(input.CompletionText()), row.pszCompletion) << row.pszTyped;
    }
    led::LedKeyboardInput input;
    input.Type(u's', false);
    input.Type(u'i', false);
    EXPECT_TRUE(input.Backspace());
    EXPECT_EQ(Utf16ToUtf8(input.PendingText()), "s");
    input.Reset();
    EXPECT_FALSE(input.IsPending());
    EXPECT_TRUE(input.Commit().empty());
}

TEST(LedKeyboardInput, PastingIsStrict)
{
    const struct {
        const char* pszText;
        std::string strTokens;
    } rows[] = {
        {"2*sin(30)", Keypad({11, 8, 54, 12, 15, 45})},
        {"  12 + 3 ", Keypad({10, 11, 18, 12})},
        {"1.5e-12", Keypad({10, 16, 6, 8, 10, 15, 30, 44, 13, 10, 11, 45})},
        {"-42.5", Keypad({13, 5, 11, 16, 6})},
        {"2\u221A(9)", Keypad({41, 2, 45})},
        {"s(3)", "refused"},
        {"12abc", "refused"},
        {"hello", "refused"},
        {"1+2;", "refused"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Pasted(row.pszText), row.strTokens) << row.pszText;
}

// What a line copies pastes back into the same tokens.
TEST(LedKeyboardInput, CopiedTextPastesBackIntoTheSameTokens)
{
    const std::initializer_list<int> lines[] = {
        {10, 11, 18, 12, 8, 5, 3, 6, 13, 7},     // 12+3×4÷5−6
        {41, 2, 45, 18, 42, 1, 45},              // 2√(9)+3√(8)
        {54, 12, 15, 45, 8, 59, 30, 11},         // sin(30)×pi^2
        {6, 37, 12, 18, 22},                     // 5 mod 3+[ans]
        {119, 34, 46, 15, 46, 10, 45},           // ∫(x,0,1)
        {39, 11, 8, 34, 18, 25},                 // e^2×x+i
    };
    for (const auto& keys : lines) {
        LedTokenModel line = MakeLine();
        Perform(line, keys);
        const std::u16string copied = led::PlainTextOfLine(line.content().strMutRawInput);
        EXPECT_EQ(Pasted(Utf16ToUtf8(copied).c_str()), Joined(line)) << Utf16ToUtf8(copied);
    }
}

TEST(LedKeyboardInput, NumberTextIsTheCommandLineNotation)
{
    const struct {
        const char* pszShown;
        const char* pszNumber;
    } rows[] = {
        {"1.5\u00D710^(\u221212)", "1.5e-12"},
        {"1.267650600228\u00D710^(30)", "1.267650600228e30"},
        {"\u221242.5", "-42.5"},
        {" 1.500000000000\u00D710^(\u221230)", "1.500000000000e-30"},  // a result's sign blank
        {"1234.5", "1234.5"},
        {"2+3", ""},
        {"1.5\u00D710^(3", ""},
        {"\u00D710^(3)", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Utf16ToUtf8(led::NumberTextOfLine(Utf8ToUtf16(row.pszShown))), row.pszNumber) << row.pszShown;
}
