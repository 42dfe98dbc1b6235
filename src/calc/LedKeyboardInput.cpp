#include "calc/LedKeyboardInput.h"

#include "calc/LedKeyCodes.h"
#include "calc/LedTextRules.h"

namespace led {

namespace {

constexpr int NO_KEY = -1000;

// Keys with a character of their own.
struct CHARACTER_KEY {
    char16_t ch;
    int nCode;
};

constexpr CHARACTER_KEY kCharacterKeys[] = {
    {u'0', 15}, {u'1', 10}, {u'2', 11}, {u'3', 12}, {u'4', 5}, {u'5', 6}, {u'6', 7}, {u'7', 0},
    {u'8', 1}, {u'9', 2}, {u'.', KEY_DECIMAL_SEPARATOR}, {u',', 46},
    {u'+', 18}, {u'-', 13}, {kMinus, 13}, {u'*', 8}, {kTimes, 8}, {u'/', 3}, {kDivide, 3},
    {u'^', 30}, {u'(', 44}, {u')', 45}, {u'!', 33}, {u'%', 43},
    {kRoot, 40}, {kIntegral, 119}, {kDelta, 120}, {kFHook, 121}, {kProduct, 123}, {kSum, 124},
};

// Keys typed by name, in the order a name cut short is completed: the
// common functions first.
struct NAME_KEY {
    const char16_t* pszName;  // lower case
    int nCode;
};

constexpr NAME_KEY kNameKeys[] = {
    {u"sin", 54}, {u"cos", 55}, {u"tan", 56}, {u"sqrt", 40}, {u"ln", 29}, {u"log", 28},
    {u"exp", 27}, {u"e", KEY_CONSTANT_E}, {u"pi", 59}, {u"x", 34}, {u"i", 25},
    {u"asin", 63}, {u"acos", 64}, {u"atan", 65}, {u"sinh", 51}, {u"cosh", 52}, {u"tanh", 53},
    {u"asinh", 60}, {u"acosh", 61}, {u"atanh", 62},
    {u"sec", 58}, {u"csc", 57}, {u"asec", 67}, {u"acsc", 66},
    {u"mod", 37}, {u"gcd", 26}, {u"lcm", 36}, {u"ran", 35}, {u"fib", 125},
    {u"and", 69}, {u"or", 70}, {u"xor", 71}, {u"nand", 78}, {u"nor", 79}, {u"not", 84},
    {u"cpl", 85}, {u"shl", 80}, {u"shr", 81}, {u"rtl", 82}, {u"rtr", 83},
    {u"fnint", 119}, {u"fnderiv", 120}, {u"fneval", 121}, {u"fnroot", 122}, {u"fnproduct", 123},
    {u"fnsum", 124}, {u"ans", 22}, {u"[ans]", 22},
};

constexpr int kKeyE = 39;  // "e" then "^"
constexpr int kKeyCloseParen = 45;

char16_t LowerAscii(char16_t ch)
{
    return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
}

std::u16string LowerAscii(const std::u16string& str)
{
    std::u16string out = str;
    for (char16_t& ch : out)
        ch = LowerAscii(ch);
    return out;
}

bool IsDigit(char16_t ch)
{
    return ch >= u'0' && ch <= u'9';
}

bool IsMinus(char16_t ch)
{
    return ch == u'-' || ch == kMinus;
}

int CharacterKey(char16_t ch)
{
    for (const CHARACTER_KEY& key : kCharacterKeys)
        if (key.ch == ch)
            return key.nCode;
    return NO_KEY;
}

// The name spelt exactly, or -1.
int WholeName(const std::u16string& strLower)
{
    for (int i = 0; i < static_cast<int>(std::size(kNameKeys)); ++i)
        if (strLower == kNameKeys[i].pszName)
            return i;
    return -1;
}

// The first name (table order) that begins with the text, or -1.
int FirstNameBeginningWith(const std::u16string& strLower, bool bLonger = false)
{
    for (int i = 0; i < static_cast<int>(std::size(kNameKeys)); ++i) {
        const std::u16string_view name(kNameKeys[i].pszName);
        if (name.starts_with(strLower) && (!bLonger || name.size() > strLower.size()))
            return i;
    }
    return -1;
}

// The text a key inserts, its tokens joined.
std::u16string KeyText(int nCode)
{
    std::u16string text;
    for (const std::u16string& token : LookupKeyAction(nCode, kOutputModeEnglishUS).vecTokens)
        text += token;
    return text;
}

// A function key's token ends in "(": a "(" typed right after it is its own.
bool OpensParenthesis(int nCode)
{
    const std::u16string text = KeyText(nCode);
    return !text.empty() && text.back() == u'(';
}

bool IsNumberKey(int nCode)
{
    const std::u16string text = KeyText(nCode);
    return text.size() == 1 && (IsDigit(text[0]) || text[0] == u'.');
}

}  // namespace

// ---------------------------------------------------------------- typing

std::vector<int> LedKeyboardInput::Type(char16_t ch, bool bAfterNumber)
{
    m_bRefused = false;
    std::vector<int> vecKeys;
    TypeCharacter(ch, bAfterNumber, vecKeys);
    return vecKeys;
}

void LedKeyboardInput::TypeCharacter(char16_t ch, bool bAfterNumber, std::vector<int>& vecKeys)
{
    const bool bSwallowParen = m_bSwallowParen;
    m_bSwallowParen = false;
    if (m_bExponent) {
        if (TypeExponentCharacter(ch, vecKeys))
            return;
        bAfterNumber = false;
    }
    if (!m_strPending.empty()) {
        const std::u16string strLower = LowerAscii(m_strPending);
        if (strLower == u"e" && m_bPendingAfterNumber && (IsDigit(ch) || IsMinus(ch) || ch == u'+')) {
            m_strPending.clear();
            StartExponent(vecKeys);
            TypeExponentCharacter(ch, vecKeys);
            return;
        }
        if (strLower == u"e" && ch == u'^') {
            m_strPending.clear();
            vecKeys.push_back(kKeyE);
            return;
        }
        if (FirstNameBeginningWith(strLower + LowerAscii(ch)) >= 0) {
            m_strPending += ch;
            const std::u16string strName = LowerAscii(m_strPending);
            // Whole, and no longer name can follow: typed at once.
            if (WholeName(strName) >= 0 && FirstNameBeginningWith(strName, true) < 0)
                CommitName(vecKeys);
            return;
        }
        // The character ends the name.
        if (!CommitName(vecKeys)) {
            m_bRefused = true;
            return;
        }
        if (ch == u'(' && m_bSwallowParen) {
            m_bSwallowParen = false;
            return;
        }
        bAfterNumber = false;
    } else if (bSwallowParen && ch == u'(') {
        return;
    }
    if (ch == u' ') {
        m_bSwallowParen = bSwallowParen;  // "sin (" is still one key
        return;
    }
    if (const int nCode = CharacterKey(ch); nCode != NO_KEY) {
        vecKeys.push_back(nCode);
        m_bSwallowParen = OpensParenthesis(nCode);
        return;
    }
    if (FirstNameBeginningWith(std::u16string(1, LowerAscii(ch))) >= 0) {
        m_strPending.assign(1, ch);
        m_bPendingAfterNumber = bAfterNumber;
        const std::u16string strName = LowerAscii(m_strPending);
        if (WholeName(strName) >= 0 && FirstNameBeginningWith(strName, true) < 0)
            CommitName(vecKeys);
        return;
    }
    m_bRefused = true;
}

// Inside "×10^(": digits and one leading sign belong to the exponent; any
// other character closes it first.
bool LedKeyboardInput::TypeExponentCharacter(char16_t ch, std::vector<int>& vecKeys)
{
    if (IsDigit(ch)) {
        vecKeys.push_back(CharacterKey(ch));
        m_bExponentDigits = true;
        return true;
    }
    if ((IsMinus(ch) || ch == u'+') && !m_bExponentSigned && !m_bExponentDigits) {
        if (IsMinus(ch))
            vecKeys.push_back(CharacterKey(ch));
        m_bExponentSigned = true;
        return true;
    }
    vecKeys.push_back(kKeyCloseParen);
    m_bExponent = false;
    return false;
}

void LedKeyboardInput::StartExponent(std::vector<int>& vecKeys)
{
    for (char16_t ch : std::u16string(u"*10^("))
        vecKeys.push_back(CharacterKey(ch));
    m_bExponent = true;
    m_bExponentSigned = false;
    m_bExponentDigits = false;
}

void LedKeyboardInput::EmitName(int nName, std::vector<int>& vecKeys)
{
    const int nCode = kNameKeys[nName].nCode;
    vecKeys.push_back(nCode);
    m_bSwallowParen = OpensParenthesis(nCode);
    m_strPending.clear();
}

bool LedKeyboardInput::CommitName(std::vector<int>& vecKeys)
{
    if (m_strPending.empty())
        return true;
    const std::u16string strLower = LowerAscii(m_strPending);
    int nName = WholeName(strLower);
    if (nName < 0 && !m_bStrict)
        nName = FirstNameBeginningWith(strLower);
    if (nName < 0) {
        m_strPending.clear();
        return false;
    }
    EmitName(nName, vecKeys);
    return true;
}

std::vector<int> LedKeyboardInput::Commit()
{
    m_bRefused = false;
    std::vector<int> vecKeys;
    if (!CommitName(vecKeys))
        m_bRefused = true;
    if (m_bExponent) {
        vecKeys.push_back(kKeyCloseParen);
        m_bExponent = false;
    }
    m_bSwallowParen = false;
    return vecKeys;
}

void LedKeyboardInput::Reset()
{
    m_strPending.clear();
    m_bExponent = false;
    m_bSwallowParen = false;
    m_bRefused = false;
}

bool LedKeyboardInput::Backspace()
{
    if (m_strPending.empty())
        return false;
    m_strPending.pop_back();
    return true;
}

std::u16string LedKeyboardInput::CompletionText() const
{
    if (m_strPending.empty())
        return std::u16string();
    const std::u16string strLower = LowerAscii(m_strPending);
    int nName = WholeName(strLower);
    if (nName < 0)
        nName = FirstNameBeginningWith(strLower);
    return nName < 0 ? std::u16string() : KeyText(kNameKeys[nName].nCode);
}

// ---------------------------------------------------------------- whole texts

bool TextToKeyCodes(const std::u16string& strText, bool bAfterNumber, std::vector<int>& vecKeys)
{
    vecKeys.clear();
    LedKeyboardInput input(true);
    auto append = [&](const std::vector<int>& vecNew) {
        vecKeys.insert(vecKeys.end(), vecNew.begin(), vecNew.end());
        if (!vecNew.empty())
            bAfterNumber = IsNumberKey(vecNew.back());
    };
    for (char16_t ch : strText) {
        append(input.Type(ch, bAfterNumber));
        if (input.WasRefused()) {
            vecKeys.clear();
            return false;
        }
    }
    append(input.Commit());
    if (input.WasRefused())
        vecKeys.clear();
    return !input.WasRefused();
}

std::u16string PlainTextOfLine(const std::u16string& strDisplay)
{
    const size_t nFirst = strDisplay.find_first_not_of(u' ');
    if (nFirst == std::u16string::npos)
        return std::u16string();
    std::u16string out = strDisplay.substr(nFirst, strDisplay.find_last_not_of(u' ') + 1 - nFirst);
    for (char16_t& ch : out) {
        if (ch == kTimes)
            ch = u'*';
        else if (ch == kDivide)
            ch = u'/';
        else if (ch == kMinus)
            ch = u'-';
    }
    return out;
}

namespace {

// Reads [sign] digits [. digits] at pos; false when no digit is there.
bool ReadNumber(const std::u16string& str, size_t& pos, bool bAllowPoint, std::u16string& strOut)
{
    if (pos < str.size() && IsMinus(str[pos])) {
        strOut += u'-';
        ++pos;
    }
    bool bDigits = false;
    bool bPoint = false;
    for (; pos < str.size(); ++pos) {
        const char16_t ch = str[pos];
        if (IsDigit(ch)) {
            bDigits = true;
        } else if (ch == u'.' && bAllowPoint && !bPoint) {
            bPoint = true;
        } else {
            break;
        }
        strOut += ch;
    }
    return bDigits;
}

}  // namespace

std::u16string NumberTextOfLine(const std::u16string& strDisplay)
{
    // A result keeps the blank its sign would take.
    std::u16string strPlain = PlainTextOfLine(strDisplay);
    const size_t nFirst = strPlain.find_first_not_of(u' ');
    if (nFirst == std::u16string::npos)
        return std::u16string();
    strPlain = strPlain.substr(nFirst, strPlain.find_last_not_of(u' ') + 1 - nFirst);
    std::u16string strNumber;
    size_t pos = 0;
    if (!ReadNumber(strPlain, pos, true, strNumber))
        return std::u16string();
    constexpr std::u16string_view kExponentStart = u"*10^(";
    if (pos == strPlain.size())
        return strNumber;
    if (std::u16string_view(strPlain).substr(pos, kExponentStart.size()) != kExponentStart)
        return std::u16string();
    pos += kExponentStart.size();
    std::u16string strExponent;
    if (!ReadNumber(strPlain, pos, false, strExponent) || pos + 1 != strPlain.size() || strPlain[pos] != u')')
        return std::u16string();
    return strNumber + u"e" + strExponent;
}

}  // namespace led
