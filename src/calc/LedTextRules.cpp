#include "calc/LedTextRules.h"

#include <cstdint>

#include "numerics/DisplayFormat.h"

namespace led {

const char* const kOutputModeEuropean = "European";
const char* const kOutputModeEnglishUS = "English (US)";
const char* const kOutputModeEnglishUK = "English (UK)";

namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsHexLetter(char16_t c)
{
    return c >= u'A' && c <= u'F';
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsPoint(char16_t c)
{
    return c == u'.' || c == kNumberComma;
}

bool IsOneOf(char16_t c, std::u16string_view set)
{
    return set.find(c) != std::u16string_view::npos;
}

// Replaces every occurrence of a pattern in one left-to-right pass; the
// replacement is not searched again, so it may contain the pattern.
void ReplaceAllOnce(std::u16string& s, std::u16string_view from, std::u16string_view to)
{
    if (from.empty())
        return;
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::u16string::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
}

void ReplaceChar(std::u16string& s, char16_t from, char16_t to)
{
    for (char16_t& c : s) {
        if (c == from)
            c = to;
    }
}

void EraseChar(std::u16string& s, char16_t c)
{
    std::erase(s, c);
}

// Start of the index written in front of the √ at pos: a bracketed group that
// ends right before the sign, else a run of digits and points. npos when the
// sign has no index of its own.
size_t RootIndexStart(const std::u16string& s, size_t pos)
{
    if (pos > 0 && s[pos - 1] == u')') {
        int depth = 0;
        for (size_t j = pos; j-- > 0;) {
            if (s[j] == u')') {
                ++depth;
            } else if (s[j] == u'(') {
                // The argument list of a function (sin(30)√(4)) is no index.
                if (--depth == 0)
                    return j > 0 && IsAsciiLetter(s[j - 1]) ? std::u16string::npos : j;
            }
        }
        // An unmatched ')' is no group.
    } else if (pos > 0 && (IsDigit(s[pos - 1]) || IsPoint(s[pos - 1]))) {
        size_t j = pos;
        while (j > 0 && (IsDigit(s[j - 1]) || IsPoint(s[j - 1])))
            --j;
        return j;
    }
    return std::u16string::npos;
}

// a√(b) becomes RT(a,b). The plain √ key writes the sign with no index in
// front; that is a square root, RT(2,b), and takes nothing of the text before
// it as an index (1+√(9) is 1+RT(2,9)).
void RewriteRoots(std::u16string& s)
{
    size_t pos;
    while ((pos = s.find(kRoot)) != std::u16string::npos) {
        size_t start = RootIndexStart(s, pos);
        std::u16string index = start == std::u16string::npos ? u"2" : s.substr(start, pos - start);
        if (start == std::u16string::npos)
            start = pos;
        size_t end = pos + 1;
        if (end < s.size() && s[end] == u'(')
            ++end;
        s.replace(start, end - start, u"RT(" + index + u",");
    }
}

// True when the 'e' at pos starts the exponent of a number: a digit, or a
// sign and a digit, follow it (2e3, 6.6e-34). Otherwise it is Euler's number.
bool StartsExponent(const std::u16string& s, size_t pos)
{
    size_t next = pos + 1;
    if (next < s.size() && (s[next] == u'+' || s[next] == u'-'))
        ++next;
    return next < s.size() && IsDigit(s[next]);
}

// A character with which an operand begins: a number, a name, a group, [ans].
bool StartsOperand(char16_t c)
{
    return IsDigit(c) || IsAsciiLetter(c) || c == u'(' || c == u'[';
}

// True when the 'i' at pos ends the constant i or pi rather than a longer
// name (sin, fib): "pi" and "i" standing before another operand multiply it.
bool EndsConstantI(const std::u16string& s, size_t pos)
{
    size_t start = pos;
    while (start > 0 && IsAsciiLetter(s[start - 1]))
        --start;
    const std::u16string_view word(s.data() + start, pos + 1 - start);
    return word == u"i" || word == u"pi";
}

// Makes the multiplications that the display leaves implicit explicit: 2x,
// (1)(2), 2i, 2e, 2[ans], [ans]2, 5!2, 50%x and the like. The engine takes
// two operands in a row for an error, never for a product.
void InsertImplicitProducts(std::u16string& s)
{
    static constexpr std::u16string_view kAfterNumber =
        u"^\u221A +-*/,.)!%]e0123456789ABCDEF\u00B8";
    static constexpr std::u16string_view kAfterClose = u"^\u221A +-*/,.)!%\u00B8";

    for (size_t j = 0; j + 1 < s.size(); ++j) {
        char16_t c = s[j];
        char16_t n = s[j + 1];
        if (IsDigit(c) && n == u'e') {
            if (!StartsExponent(s, j + 1))
                s.insert(j + 1, 1, u'*');
        } else if (IsDigit(c) || IsHexLetter(c)) {
            if (!IsOneOf(n, kAfterNumber))
                s.insert(j + 1, 1, u'*');
        } else if (c == u')') {
            if (!IsOneOf(n, kAfterClose))
                s.insert(j + 1, 1, u'*');
        } else if (c == u']' || c == u'!' || c == u'%') {
            if (StartsOperand(n))
                s.insert(j + 1, 1, u'*');
        } else if (c == u'i') {
            if (j > 0 && (IsDigit(s[j - 1]) || IsOneOf(s[j - 1], u")!%"))) {
                s.insert(j, 1, u'*');
                ++j;  // j is the 'i' again
            }
            n = s[j + 1];
            if (IsDigit(n) || n == u'(' || n == u'i' || (EndsConstantI(s, j) && StartsOperand(n)))
                s.insert(j + 1, 1, u'*');
        }
    }
    // The scan above stops before the last character; a last 'i' after '!' and
    // anything after '%' still multiply.
    size_t len = s.size();
    if (len >= 2 && (s.compare(len - 2, 2, u"!i") == 0 || s[len - 2] == u'%'))
        s.insert(len - 1, 1, u'*');
}

}  // namespace

bool IsEuropeanOutputMode(const std::string& sOutputMode)
{
    return sOutputMode == kOutputModeEuropean;
}

char16_t DecimalSeparatorOf(const std::string& sOutputMode)
{
    return IsEuropeanOutputMode(sOutputMode) ? kNumberComma : u'.';
}

char16_t GroupSeparatorOf(const std::string& sOutputMode)
{
    return IsEuropeanOutputMode(sOutputMode) ? u'.' : kNumberComma;
}

std::u16string ParseRawString(const std::u16string& strRaw)
{
    if (strRaw.empty())
        return {};
    std::u16string s = strRaw;

    ReplaceChar(s, kTimes, u'*');
    ReplaceChar(s, kDivide, u'/');
    ReplaceChar(s, kMinus, u'-');
    // "exp" is the engine's binary x exp y (x·10^y); blanks keep it a word of its own.
    ReplaceAllOnce(s, u"exp", u" exp ");

    // A bare decimal point reads as 0.5 rather than 5 (the tokenizer skips it).
    for (size_t j = 0; j < s.size(); ++j) {
        if (IsPoint(s[j]) && (j == 0 || !IsDigit(s[j - 1]))) {
            s.insert(j, 1, u'0');
            ++j;
        }
    }

    RewriteRoots(s);
    InsertImplicitProducts(s);

    ReplaceAllOnce(s, std::u16string_view(&kIntegral, 1), u"fnInt");
    ReplaceAllOnce(s, std::u16string_view(&kDelta, 1), u"fnDeriv");
    ReplaceAllOnce(s, std::u16string_view(&kProduct, 1), u"fnProduct");
    ReplaceAllOnce(s, std::u16string_view(&kSum, 1), u"fnSum");
    ReplaceAllOnce(s, std::u16string_view(&kFHook, 1), u"fnEval");
    ReplaceAllOnce(s, u"[ans]", u"[VRE]");
    return s;
}

std::u16string OutputParsedString(const std::u16string& strRaw, const std::string& sOutputMode)
{
    std::u16string s = ParseRawString(strRaw);
    EraseChar(s, GroupSeparatorOf(sOutputMode));
    ReplaceChar(s, kNumberComma, u'.');
    return s;
}

std::u16string PrepareInsertText(const std::u16string& strText, const std::string& sOutputMode)
{
    std::u16string s = strText;
    ReplaceChar(s, u'*', kTimes);
    ReplaceChar(s, u'/', kDivide);
    ReplaceChar(s, u'-', kMinus);
    ReplaceAllOnce(s, u"[VRE]", u"[ans]");

    // The mode's separators: GroupNumbers rewrites a plain number, and the
    // grouping it adds is dropped again, so the line holds numbers with the
    // mode's decimal separator and no group separators. In "European" mode
    // every '.' is a decimal point first: GroupNumbers leaves texts that are
    // not plain numbers alone, and deleting their '.' as a group separator
    // would change an exponent-form result such as 2.5×10^(12) by a power of ten.
    if (IsEuropeanOutputMode(sOutputMode))
        ReplaceChar(s, u'.', kNumberComma);
    GroupNumbers(s, DecimalSeparatorOf(sOutputMode), GroupSeparatorOf(sOutputMode), BASE_DECIMAL);
    EraseChar(s, GroupSeparatorOf(sOutputMode));
    return s;
}

std::vector<LED_COLOR_CLASS> ClassifyLedCharacters(const std::u16string& strText)
{
    std::vector<LED_COLOR_CLASS> classes(strText.size(), LED_COLOR_OTHER);
    for (size_t j = 0; j < strText.size(); ++j) {
        char16_t c = strText[j];
        if (IsDigit(c))
            classes[j] = LED_COLOR_DIGIT;
        else if (c == u'+' || c == kTimes || c == kDivide || c == kMinus)
            classes[j] = LED_COLOR_OPERATOR;
        else if (c == u'(' || c == u')' || c == u',')
            classes[j] = LED_COLOR_BRACKET;
        else if (c == u'-')
            classes[j] = LED_COLOR_SIGN;
        else if (c == kRoot) {
            for (size_t k = j; k > 0 && (IsDigit(strText[k - 1]) || IsPoint(strText[k - 1])); --k)
                classes[k - 1] = LED_COLOR_SIGN;
        }
    }
    return classes;
}

LED_RGB ColorOfClass(LED_COLOR_CLASS cls)
{
    switch (cls) {
    case LED_COLOR_DIGIT:
        return {0.0f, 0.0f, 0.0f};
    case LED_COLOR_OPERATOR:
        return {0.0f, 0.0f, 1.0f};
    case LED_COLOR_BRACKET:
        return {0.0f, 0.5f, 0.0f};
    case LED_COLOR_SIGN:
        return {1.0f, 0.0f, 0.5f};
    case LED_COLOR_OTHER:
        break;
    }
    return {0.5f, 0.0f, 0.0f};
}

std::u16string Utf8ToUtf16(const std::string& strUtf8)
{
    std::u16string out;
    out.reserve(strUtf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(strUtf8.data());
    size_t n = strUtf8.size();
    size_t i = 0;
    while (i < n) {
        unsigned char b = p[i];
        char32_t cp;
        size_t extra;
        if (b < 0x80) {
            cp = b;
            extra = 0;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        bool bValid = i + extra < n;  // a truncated sequence at the end is invalid
        for (size_t k = 1; bValid && k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                bValid = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        static constexpr char32_t kMinForLength[4] = {0, 0x80, 0x800, 0x10000};
        if (!bValid || cp < kMinForLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& strUtf16)
{
    std::string out;
    out.reserve(strUtf16.size());
    size_t n = strUtf16.size();
    for (size_t i = 0; i < n; ++i) {
        char32_t cp = strUtf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && strUtf16[i + 1] >= 0xDC00 &&
            strUtf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (strUtf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // an unpaired surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace led
