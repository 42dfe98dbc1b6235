#pragma once

// Text rules of the expression input line (MyLedViewLite): the signs it shows,
// the separators of the three output modes, the conversion of its display text
// into the plain syntax of the expression engine, and the colour class of each
// displayed character. Qt-free; the line keeps its text as UTF-16 code units.

#include <string>
#include <vector>

namespace led {

// Signs the line shows in place of the engine's ASCII operators and names.
constexpr char16_t kTimes = u'\u00D7';     // ×  ("*")
constexpr char16_t kDivide = u'\u00F7';    // ÷  ("/")
constexpr char16_t kMinus = u'\u2212';     // −  ("-")
constexpr char16_t kRoot = u'\u221A';      // √  (RT(index, radicand))
constexpr char16_t kIntegral = u'\u222B';  // ∫  fnInt
constexpr char16_t kDelta = u'\u03B4';     // δ  fnDeriv
constexpr char16_t kFHook = u'\u0192';     // ƒ  fnEval
constexpr char16_t kProduct = u'\u220F';   // ∏  fnProduct
constexpr char16_t kSum = u'\u2211';       // ∑  fnSum
// The line's comma for numbers (drawn as a comma); ',' stays the argument separator.
constexpr char16_t kNumberComma = u'\u00B8';

// The output modes; "English (US)" is the one the program runs in.
extern const char* const kOutputModeEuropean;   // "European"
extern const char* const kOutputModeEnglishUS;  // "English (US)"
extern const char* const kOutputModeEnglishUK;  // "English (UK)"

bool IsEuropeanOutputMode(const std::string& sOutputMode);
// Decimal separator of a mode: U+00B8 in "European", '.' otherwise.
char16_t DecimalSeparatorOf(const std::string& sOutputMode);
// Group separator of a mode: '.' in "European", U+00B8 otherwise.
char16_t GroupSeparatorOf(const std::string& sOutputMode);

// Converts display text into engine syntax: signs into operators, a leading
// zero before a bare decimal point, a√(b) into RT(a,b), implicit
// multiplications made explicit, the calculus signs into their function names
// and [ans] into the register [VRE]. An empty text gives an empty result.
std::u16string ParseRawString(const std::u16string& strRaw);

// ParseRawString followed by the separator clean-up of the output mode: the
// group separators are dropped and the mode's decimal separator becomes '.'.
std::u16string OutputParsedString(const std::u16string& strRaw, const std::string& sOutputMode);

// The text that InsertString turns into tokens: operators shown as signs,
// "[VRE]" as "[ans]", and the decimal separator of the output mode.
std::u16string PrepareInsertText(const std::u16string& strText, const std::string& sOutputMode);

// Colour classes of displayed characters.
enum LED_COLOR_CLASS {
    LED_COLOR_DIGIT = 0,     // digits: black
    LED_COLOR_OPERATOR,      // '+', ×, ÷, −: blue
    LED_COLOR_BRACKET,       // '(', ')', ',': dark green
    LED_COLOR_SIGN,          // '-' and the digits/points of a root's index: pink
    LED_COLOR_OTHER,         // everything else: dark red
};

struct LED_RGB {
    float r, g, b;
};

// The colour class of every code unit of a text; a run of digits and points
// directly before √ is the root's index and takes the sign colour.
std::vector<LED_COLOR_CLASS> ClassifyLedCharacters(const std::u16string& strText);
LED_RGB ColorOfClass(LED_COLOR_CLASS cls);

// UTF-8 <-> UTF-16 for handing line texts to the engine and reading book
// values into the line. Invalid UTF-8 bytes become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& strUtf8);
std::string Utf16ToUtf8(const std::u16string& strUtf16);

}  // namespace led
