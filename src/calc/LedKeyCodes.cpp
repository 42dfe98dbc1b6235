#include "calc/LedKeyCodes.h"

#include "calc/LedTextRules.h"

namespace led {

namespace {

struct KEY_TEXT {
    int nCode;
    const char16_t* pszFirst;
    const char16_t* pszSecond;  // null when the key inserts one token
};

// Keys that insert text; two texts go in as two tokens, in this order.
constexpr KEY_TEXT kKeyTexts[] = {
    // digits
    {15, u"0", nullptr}, {10, u"1", nullptr}, {11, u"2", nullptr}, {12, u"3", nullptr},
    {5, u"4", nullptr}, {6, u"5", nullptr}, {7, u"6", nullptr}, {0, u"7", nullptr},
    {1, u"8", nullptr}, {2, u"9", nullptr},
    // arithmetic, shown with their signs
    {3, u"\u00F7", nullptr}, {8, u"\u00D7", nullptr}, {13, u"\u2212", nullptr}, {18, u"+", nullptr},
    {158, u"-", nullptr}, {161, u"/", nullptr}, {160, u" ", nullptr},
    {22, u"[ans]", nullptr}, {17, u"(-", nullptr}, {44, u"(", nullptr}, {45, u")", nullptr},
    {46, u",", nullptr},
    // powers, roots, logarithms
    {28, u"log(", nullptr}, {29, u"ln(", nullptr}, {27, u"exp", nullptr}, {30, u"^", nullptr},
    {31, u"^", u"2"}, {32, u"^", u"3"}, {38, u"10", u"^"}, {39, u"e", u"^"},
    {40, u"\u221A(", nullptr}, {41, u"2", u"\u221A("}, {42, u"3", u"\u221A("},
    {131, u"1", u"\u00F7"},
    // constants, variables and small functions
    {33, u"!", nullptr}, {43, u"%", nullptr}, {34, u"x", nullptr}, {25, u"i", nullptr},
    {KEY_CONSTANT_E, u"e", nullptr},
    {59, u"pi", nullptr}, {35, u"ran(", nullptr}, {26, u"gcd(", nullptr}, {36, u"lcm(", nullptr},
    {37, u" mod ", nullptr}, {125, u"fib(", nullptr},
    // trigonometry
    {54, u"sin(", nullptr}, {63, u"asin(", nullptr}, {55, u"cos(", nullptr},
    {64, u"acos(", nullptr}, {56, u"tan(", nullptr}, {65, u"atan(", nullptr},
    {51, u"sinh(", nullptr}, {60, u"asinh(", nullptr}, {52, u"cosh(", nullptr},
    {61, u"acosh(", nullptr}, {53, u"tanh(", nullptr}, {62, u"atanh(", nullptr},
    {57, u"csc(", nullptr}, {66, u"acsc(", nullptr}, {58, u"sec(", nullptr},
    {67, u"asec(", nullptr},
    // bit operations and hexadecimal digits
    {69, u" and ", nullptr}, {78, u" nand ", nullptr}, {70, u" or ", nullptr},
    {79, u" nor ", nullptr}, {71, u" xor ", nullptr}, {84, u"not(", nullptr},
    {85, u"cpl(", nullptr}, {80, u" shl ", nullptr}, {81, u" shr ", nullptr},
    {82, u" rtl ", nullptr}, {83, u" rtr ", nullptr},
    {72, u"A", nullptr}, {73, u"B", nullptr}, {74, u"C", nullptr}, {75, u"D", nullptr},
    {76, u"E", nullptr}, {77, u"F", nullptr},
    // calculus
    {119, u"\u222B(", nullptr}, {120, u"\u03B4(", nullptr}, {121, u"\u0192(", nullptr},
    {122, u"fnRoot(", nullptr}, {123, u"\u220F(", nullptr}, {124, u"\u2211(", nullptr},
};

}  // namespace

LED_KEY_ACTION LookupKeyAction(int nKeyCode, const std::string& sOutputMode)
{
    LED_KEY_ACTION action;
    switch (nKeyCode) {
    case KEY_CLEAR_LINE:
        action.eKind = LED_KEY_CLEAR;
        return action;
    case KEY_DELETE:
        action.eKind = LED_KEY_DELETE;
        return action;
    case KEY_CARET_LEFT:
        action.eKind = LED_KEY_CARET_LEFT;
        return action;
    case KEY_CARET_RIGHT:
        action.eKind = LED_KEY_CARET_RIGHT;
        return action;
    case KEY_CARET_LEFT_10:
        action.eKind = LED_KEY_CARET_LEFT_10;
        return action;
    case KEY_CARET_RIGHT_10:
        action.eKind = LED_KEY_CARET_RIGHT_10;
        return action;
    case KEY_DECIMAL_SEPARATOR:
        action.eKind = LED_KEY_INSERT;
        action.vecTokens.emplace_back(1, DecimalSeparatorOf(sOutputMode));
        return action;
    default:
        break;
    }
    for (const KEY_TEXT& key : kKeyTexts) {
        if (key.nCode == nKeyCode) {
            action.eKind = LED_KEY_INSERT;
            action.vecTokens.emplace_back(key.pszFirst);
            if (key.pszSecond)
                action.vecTokens.emplace_back(key.pszSecond);
            return action;
        }
    }
    return action;
}

}  // namespace led
