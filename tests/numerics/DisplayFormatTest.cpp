// Mantissa and exponent texts of results, and grouping for the output modes.
#include <gtest/gtest.h>

#include <string>

#include "numerics/DisplayFormat.h"
#include "numerics/qlib.h"

namespace {

struct DisplayCase {
    const char* lpszValue;
    int nDigits;
    const char* lpszMantissa;
    const char* lpszExponent;
};

TEST(DisplayFormatTest, DecimalResults)
{
    const DisplayCase arrCases[] = {
        // positional up to 10^12
        {"1234.5", 12, "1234.5", ""},
        {"-0.5", 12, "-0.5", ""},
        {"0", 12, "0", ""},
        {"1e12", 12, "1000000000000", ""},
        {"999999999999.99", 12, "1000000000000", ""},
        {"0.000001", 12, "0.000001", ""},
        {"2", 12, "2", ""},
        // exponent form beyond, with the sign character kept
        {"2e12", 12, " 2.000000000000", "E12"},
        {"-2e15", 12, "-2.000000000000", "E15"},
        {"1e-13", 12, " 1.000000000000", "E-13"},
        {"5e-13", 12, " 5.000000000000", "E-13"},
        {"1.5e300", 12, " 1.500000000000", "E300"},
        {"1e-4000", 12, " 1.000000000000", "E-4000"},
        // other digit counts
        {"3.14159265358979323846", 3, "3.142", ""},
        {"123456789", 5, " 1.23457", "E8"},
        {"123456", 5, "123456", ""},
        {"2.5", 0, "2", ""},
    };
    for (const DisplayCase& c : arrCases) {
        SCOPED_TRACE(c.lpszValue);
        qreal value;
        asctoq(c.lpszValue, value);
        char szMantissa[DISPLAY_BUFFER_SIZE];
        char szExponent[DISPLAY_BUFFER_SIZE];
        ConstructDisplayString(szMantissa, szExponent, BASE_DECIMAL, 32, value, FORMAT_AUTO, c.nDigits, 4);
        EXPECT_STREQ(szMantissa, c.lpszMantissa);
        EXPECT_STREQ(szExponent, c.lpszExponent);
    }
}

// Scientific notation for other programs: trailing zeros dropped, a signed
// exponent of at least two digits, rounding carried into the exponent.
TEST(DisplayFormatTest, ScientificResults)
{
    const struct {
        const char* lpszValue;
        int nDigits;
        const char* lpszText;
    } arrCases[] = {
        {"262537412640768743.99999", 12, "2.625374126408e+17"},
        {"-1.5e-12", 12, "-1.5e-12"},
        {"0", 12, "0e+00"},
        {"1", 12, "1e+00"},
        {"-250", 12, "-2.5e+02"},
        {"9.9999", 2, "1e+01"},
        {"0.333333333", 2, "3.33e-01"},
        {"1e-100", 5, "1e-100"},
        {"-1.25e4000", 98, "-1.25e+4000"},
    };
    for (const auto& c : arrCases) {
        qreal value;
        asctoq(c.lpszValue, value);
        EXPECT_EQ(ScientificString(value, c.nDigits), c.lpszText) << c.lpszValue;
    }
}

TEST(DisplayFormatTest, OneThird)
{
    qreal one;
    qreal three;
    qreal third;
    asctoq("1", one);
    asctoq("3", three);
    qdiv(three, one, third);
    char szMantissa[DISPLAY_BUFFER_SIZE];
    char szExponent[DISPLAY_BUFFER_SIZE];
    ConstructDisplayString(szMantissa, szExponent, BASE_DECIMAL, 32, third, FORMAT_AUTO, 12, 4);
    EXPECT_STREQ(szMantissa, "0.3333333333333");
    EXPECT_STREQ(szExponent, "");
}

TEST(DisplayFormatTest, OtherBases)
{
    const struct {
        const char* lpszValue;
        int nBase;
        int nWordSize;
        const char* lpszDigits;
    } arrCases[] = {
        {"255", BASE_HEXADECIMAL, WORD_8, "FF"},
        {"-1", BASE_HEXADECIMAL, WORD_8, "FF"},
        {"-1", BASE_HEXADECIMAL, WORD_16, "FFFF"},
        {"256", BASE_HEXADECIMAL, WORD_8, "0"},
        {"10.9", BASE_BINARY, WORD_8, "1010"},
        {"64", BASE_OCTAL, WORD_32, "100"},
    };
    for (const auto& c : arrCases) {
        qreal value;
        asctoq(c.lpszValue, value);
        char szMantissa[DISPLAY_BUFFER_SIZE];
        char szExponent[DISPLAY_BUFFER_SIZE];
        ConstructDisplayString(szMantissa, szExponent, c.nBase, c.nWordSize, value, FORMAT_AUTO, 32, 4);
        EXPECT_STREQ(szMantissa, c.lpszDigits) << c.lpszValue;
        EXPECT_STREQ(szExponent, "");
    }
}

TEST(DisplayFormatTest, JoinedLine)
{
    EXPECT_EQ(JoinDisplayString("1234.5", ""), "1234.5");
    EXPECT_EQ(JoinDisplayString(" 2.000000000000", "E12"), " 2.000000000000*10^(12)");
    EXPECT_EQ(JoinDisplayString("-1.5", "E-13"), "-1.5*10^(-13)");
}

struct GroupCase {
    std::u16string strText;
    bool bEuropean;
    int nBase;
    std::u16string strGrouped;
};

TEST(DisplayFormatTest, GroupNumbers)
{
    const std::u16string c(1, COMMA_CHAR);
    const GroupCase arrCases[] = {
        // English modes: '.' decimal, the comma character between groups
        {u"1234567.5", false, BASE_DECIMAL, u"1" + c + u"234" + c + u"567.5"},
        {u"12345678", false, BASE_DECIMAL, u"12" + c + u"345" + c + u"678"},
        {u"123456", false, BASE_DECIMAL, u"123" + c + u"456"},
        {u"123", false, BASE_DECIMAL, u"123"},
        {u"-123", false, BASE_DECIMAL, u"-123"},
        {u"-1234", false, BASE_DECIMAL, u"-1" + c + u"234"},
        {u"1E123", false, BASE_DECIMAL, u"1E123"},
        {u"1.5e-123", false, BASE_DECIMAL, u"1.5e-123"},
        {u"1" + c + u"2345", false, BASE_DECIMAL, u"12" + c + u"345"},  // regrouped
        {u"  1234", false, BASE_DECIMAL, u"1" + c + u"234"},
        {u".5", false, BASE_DECIMAL, u".5"},
        {u"sin(2)", false, BASE_DECIMAL, u"sin(2)"},
        {u"", false, BASE_DECIMAL, u""},
        {u"1234", false, BASE_HEXADECIMAL, u"1234"},
        // European mode: the comma character as decimal, '.' between groups
        {u"1234.5", true, BASE_DECIMAL, u"1.234" + c + u"5"},
        {u"1234" + c + u"5", true, BASE_DECIMAL, u"1.234" + c + u"5"},
        {u"1234567", true, BASE_DECIMAL, u"1.234.567"},
    };
    for (const GroupCase& g : arrCases) {
        std::u16string strText = g.strText;
        if (g.bEuropean)
            GroupNumbers(strText, COMMA_CHAR, u'.', g.nBase);
        else
            GroupNumbers(strText, u'.', COMMA_CHAR, g.nBase);
        EXPECT_TRUE(strText == g.strGrouped)
            << std::string(g.strText.begin(), g.strText.end()) << " -> "
            << std::string(strText.begin(), strText.end());
    }
}

}  // namespace
