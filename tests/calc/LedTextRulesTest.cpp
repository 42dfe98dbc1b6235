// Display text of the input line -> engine syntax, output-mode separators,
// the text InsertString turns into tokens, and character colours.
#include <gtest/gtest.h>

#include <random>

#include "calc/LedTextRules.h"

using led::Utf16ToUtf8;
using led::Utf8ToUtf16;

namespace {

struct ParseCase {
    const char* pszDisplay;  // as the line shows it (UTF-8)
    const char* pszEngine;   // expected engine text
};

const ParseCase kParseCases[] = {
    // plain arithmetic and the signs
    {"12+3", "12+3"},
    {"4×(−3)", "4*(-3)"},
    {"8÷2", "8/2"},
    {"", ""},
    // bare decimal points
    {".5", "0.5"},
    {"3×−.5", "3*-0.5"},
    {"(.25)", "(0.25)"},
    // roots: index in front of the sign
    {"2√(9)", "RT(2,9)"},
    {"3√(8)+1", "RT(3,8)+1"},
    {"1+2√(9)", "1+RT(2,9)"},
    {"(1+1)√(9)", "RT((1+1),9)"},
    {"2√(3√(8))", "RT(2,RT(3,8))"},
    {"2.5√(4)", "RT(2.5,4)"},
    // implicit multiplication
    {"2x", "2*x"},
    {"(1)(2)", "(1)*(2)"},
    {"2(3)", "2*(3)"},
    {"2pi", "2*pi"},
    {"2sin(30)", "2*sin(30)"},
    {"(2)x", "(2)*x"},
    {"(2)^2", "(2)^2"},
    {"A1", "A1"},
    // the imaginary unit
    {"2i", "2*i"},
    {"(2)i", "(2)*i"},
    {"3i2", "3*i*2"},
    {"i(2)", "i*(2)"},
    {"ii", "i*i"},
    {"5!i", "5!*i"},
    {"5!i+1", "5!*i+1"},
    {"sin(pi)", "sin(pi)"},
    // pi and i before a name or [ans] multiply it; i inside a name does not
    {"pisin(30)", "pi*sin(30)"},
    {"i[ans]", "i*[VRE]"},
    {"ie^2", "i*e^2"},
    {"fib(5)", "fib(5)"},
    // after percent and factorial an operand multiplies: the engine takes
    // two operands in a row for an error
    {"50%2", "50%*2"},
    {"50%(2)+1", "50%*(2)+1"},
    {"5!2", "5!*2"},
    {"3!x", "3!*x"},
    // e after a number: an exponent when digits follow, else Euler's number
    {"2e3", "2e3"},
    {"6.6e−34", "6.6e-34"},
    {"2e^3", "2*e^3"},
    {"2e", "2*e"},
    {"2e+1", "2e+1"},
    {"2e+x", "2*e+x"},
    // the answer register
    {"2[ans]", "2*[VRE]"},
    {"[ans]2", "[VRE]*2"},
    {"[ans]x", "[VRE]*x"},
    {"[ans](1)", "[VRE]*(1)"},
    {"[ans][ans]", "[VRE]*[VRE]"},
    // exp is a binary word of its own
    {"2exp3", "2 exp 3"},
    // calculus signs
    {"∫(x,0,1)", "fnInt(x,0,1)"},
    {"δ(x^2,x,3)", "fnDeriv(x^2,x,3)"},
    {"ƒ(x+1,x,2)", "fnEval(x+1,x,2)"},
    {"∏(x,x,1,4)", "fnProduct(x,x,1,4)"},
    {"∑(x,x,1,4)", "fnSum(x,x,1,4)"},
    {"fnRoot(x−2,x,0,5)", "fnRoot(x-2,x,0,5)"},
};

TEST(LedTextRules, ParseRawStringTable)
{
    for (const ParseCase& c : kParseCases) {
        EXPECT_EQ(Utf16ToUtf8(led::ParseRawString(Utf8ToUtf16(c.pszDisplay))), c.pszEngine)
            << "display text: " << c.pszDisplay;
    }
}

struct ModeCase {
    const char* pszDisplay;
    const char* pszMode;
    const char* pszEngine;
};

const ModeCase kModeCases[] = {
    // English modes: '.' is the decimal point, the comma a group separator
    {"1.5", "English (US)", "1.5"},
    {"1\u00B8234.5", "English (US)", "1234.5"},
    {"1\u00B8234.5", "English (UK)", "1234.5"},
    // European: the comma is the decimal separator, '.' groups
    {"1\u00B85", "European", "1.5"},
    {"1.234\u00B85", "European", "1234.5"},
    {"\u00B85", "European", "0.5"},
    // the argument separator survives every mode
    {"gcd(4,6)", "European", "gcd(4,6)"},
    {"gcd(4,6)", "English (US)", "gcd(4,6)"},
};

TEST(LedTextRules, OutputParsedStringPerMode)
{
    for (const ModeCase& c : kModeCases) {
        EXPECT_EQ(Utf16ToUtf8(led::OutputParsedString(Utf8ToUtf16(c.pszDisplay), c.pszMode)), c.pszEngine)
            << c.pszDisplay << " in " << c.pszMode;
    }
}

// The plain √ key (code 40) writes the sign with nothing in front of it.
const ParseCase kSquareRootCases[] = {
    // no index: a square root
    {"√(9)", "RT(2,9)"},
    {"1+√(9)", "1+RT(2,9)"},
    {"√(9)+√(16)", "RT(2,9)+RT(2,16)"},
    {"2×√(9)", "2*RT(2,9)"},
    {"−√(4)", "-RT(2,4)"},
    {"√(√(16))", "RT(2,RT(2,16))"},
    {"2√(9)+√(4)", "RT(2,9)+RT(2,4)"},
    {"√(4)+3√(8)", "RT(2,4)+RT(3,8)"},
    // an unmatched ')' is no index, nor is a function's argument list
    {"x)√(2)", "x)*RT(2,2)"},
    {"sin(30)√(4)", "sin(30)*RT(2,4)"},
    {"3√(8)√(4)", "RT(3,8)*RT(2,4)"},
    // indexed forms stay as they were
    {"2√", "RT(2,"},
    {"(4)√(16)", "RT((4),16)"},
};

TEST(LedTextRules, PlainRootIsSquareRoot)
{
    for (const ParseCase& c : kSquareRootCases) {
        EXPECT_EQ(Utf16ToUtf8(led::ParseRawString(Utf8ToUtf16(c.pszDisplay))), c.pszEngine)
            << "display text: " << c.pszDisplay;
    }
}

TEST(LedTextRules, RandomDisplayTextsLeaveNoDisplaySigns)
{
    // Whatever a damaged data file or odd typing leaves in a line, the
    // conversion ends and hands the engine none of the display-only signs.
    const std::u16string kAlphabet = u"0123456789.()[]+-,!%^ xiepABF\u00D7\u00F7\u2212\u221A\u222B\u03B4\u0192\u220F\u2211\u00B8";
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int run = 0; run < 3000; ++run) {
        std::u16string text;
        for (int n = length(rng); n > 0; --n)
            text.push_back(kAlphabet[pick(rng)]);
        std::u16string out = led::OutputParsedString(text, run % 2 ? "European" : "English (US)");
        EXPECT_EQ(out.find_first_of(u"\u00D7\u00F7\u2212\u221A\u222B\u03B4\u0192\u220F\u2211\u00B8"),
                  std::u16string::npos)
            << Utf16ToUtf8(text);
    }
}

struct InsertCase {
    const char* pszText;
    const char* pszMode;
    const char* pszShown;
};

const InsertCase kInsertCases[] = {
    // operators become signs, the register becomes [ans]
    {"-1.5", "English (US)", "−1.5"},
    {"2*3/4", "English (US)", "2×3÷4"},
    {"[VRE]+1", "English (US)", "[ans]+1"},
    // a positive exponent-form result keeps its sign blank (not a plain number)
    {" 2.000000000000*10^(12)", "English (US)", " 2.000000000000×10^(12)"},
    // a plain number loses its leading blanks and any grouping
    {"  42", "English (US)", "42"},
    {"1\u00B8234.5", "English (US)", "1234.5"},
    {"1E-13", "English (US)", "1E−13"},
    // European: the decimal point becomes the comma, numbers or not
    {"1234.5", "European", "1234\u00B85"},
    {" 2.5*10^(12)", "European", " 2\u00B85×10^(12)"},
    {"-0.25", "European", "−0\u00B825"},
};

TEST(LedTextRules, PrepareInsertTextTable)
{
    for (const InsertCase& c : kInsertCases) {
        EXPECT_EQ(Utf16ToUtf8(led::PrepareInsertText(Utf8ToUtf16(c.pszText), c.pszMode)), c.pszShown)
            << c.pszText << " in " << c.pszMode;
    }
}

TEST(LedTextRules, InsertedResultParsesBackToItsValue)
{
    // What the screen shows as a result must reach the engine as the same number.
    const struct {
        const char* pszResult;
        const char* pszMode;
        const char* pszEngine;
    } kCases[] = {
        {"-0.5", "English (US)", "-0.5"},
        {" 2.000000000000*10^(12)", "English (US)", " 2.000000000000*10^(12)"},
        {" 2.000000000000*10^(12)", "European", " 2.000000000000*10^(12)"},
        {"1234.5", "European", "1234.5"},
        {" 5.000000000000*10^(-13)", "English (UK)", " 5.000000000000*10^(-13)"},
    };
    for (const auto& c : kCases) {
        std::u16string shown = led::PrepareInsertText(Utf8ToUtf16(c.pszResult), c.pszMode);
        EXPECT_EQ(Utf16ToUtf8(led::OutputParsedString(shown, c.pszMode)), c.pszEngine)
            << c.pszResult << " in " << c.pszMode;
    }
}

TEST(LedTextRules, CharacterColours)
{
    std::u16string text = Utf8ToUtf16("12√(3)+−a-");
    std::vector<led::LED_COLOR_CLASS> classes = led::ClassifyLedCharacters(text);
    ASSERT_EQ(classes.size(), text.size());
    const led::LED_COLOR_CLASS kExpected[] = {
        led::LED_COLOR_SIGN,     // 1: root index
        led::LED_COLOR_SIGN,     // 2: root index
        led::LED_COLOR_OTHER,    // √
        led::LED_COLOR_BRACKET,  // (
        led::LED_COLOR_DIGIT,    // 3
        led::LED_COLOR_BRACKET,  // )
        led::LED_COLOR_OPERATOR, // +
        led::LED_COLOR_OPERATOR, // −
        led::LED_COLOR_OTHER,    // a
        led::LED_COLOR_SIGN,     // -
    };
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(classes[i], kExpected[i]) << "character " << i;
    led::LED_RGB pink = led::ColorOfClass(led::LED_COLOR_SIGN);
    EXPECT_FLOAT_EQ(pink.r, 1.0f);
    EXPECT_FLOAT_EQ(pink.b, 0.5f);
}

TEST(LedTextRules, Utf8RoundTripAndInvalidBytes)
{
    const char* kTexts[] = {"", "abc", "2×3÷4−√∫δƒ∏∑", "\u00B8", "\xF0\x9D\x9B\x91"};
    for (const char* psz : kTexts)
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(psz)), psz);
    // Stray continuation bytes, truncated sequences and overlong forms become U+FFFD.
    EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("a\xE2\x88"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
}

}  // namespace
