#pragma once

// Result display: a qreal as mantissa and exponent texts, and the grouping of
// number texts for the output modes.

#include <string>

// Size of the mantissa and exponent buffers that ConstructDisplayString
// writes (callers own them); writes never go beyond it.
constexpr int DISPLAY_BUFFER_SIZE = 512;

// Base codes, word-size codes and the format code.
constexpr int BASE_BINARY = 145;
constexpr int BASE_OCTAL = 146;
constexpr int BASE_DECIMAL = 147;
constexpr int BASE_HEXADECIMAL = 148;
constexpr int WORD_8 = 138;
constexpr int WORD_16 = 139;
constexpr int WORD_32 = 140;
constexpr int WORD_64 = 141;
constexpr int FORMAT_AUTO = 135;

// The character drawn as a comma in the input line; a plain ',' separates
// function arguments, so a number never contains it.
constexpr char16_t COMMA_CHAR = u'\u00B8';

// Decimal base: values of magnitude above 1e12, or below 1e-12 but not zero,
// in exponent form (mantissa with its sign character, exponent such as
// "E15"); the others positional with trailing zeros removed and an empty
// exponent. nDigits digits follow the first one. A base of 145, 146 or 148
// writes the whole part as an unsigned word of the word size in that base.
// The mantissa is upper-cased.
void ConstructDisplayString(char* lpszMantissa, char* lpszExponent, int nBase, int nWordSize,
                            const unsigned short* value, int nFormat, int nDigits, int nDecimals);

// The result line of a value: the mantissa, and "*10^(" exponent ")" with the
// letter E removed when there is an exponent.
std::string JoinDisplayString(const char* lpszMantissa, const char* lpszExponent);

// A value in the scientific notation that other programs read as well: the
// sign, nDigits + 1 significant digits (nDigits 0 ... 98) with trailing
// zeros dropped, "e" and the signed exponent of at least two digits
// ("2.625374126408e+17", "-1.5e-12", "0e+00").
std::string ScientificString(const unsigned short* value, int nDigits);

// Rewrites a plain number text (base 147 only) for an output mode: the
// decimal point becomes decimalChar and groupChar separates groups of three
// digits. U+00B8 as decimalChar selects the European reading of '.'.
void GroupNumbers(std::u16string& strText, char16_t chDecimal, char16_t chGroup, int nBase);
