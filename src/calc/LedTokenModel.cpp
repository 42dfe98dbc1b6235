#include "calc/LedTokenModel.h"

#include <cmath>
#include <cstdio>

#include "calc/LedKeyCodes.h"
#include "calc/LedTextRules.h"

namespace {

// Padding that the window calculation reserves besides the token widths.
constexpr float kWindowSlack = 10.0f;

// Without a font the line assumes a fixed advance per code unit.
float DefaultMeasure(const std::u16string& strToken)
{
    return 12.0f * static_cast<float>(strToken.size());
}

// Splits a text into one token per character; a surrogate pair stays whole.
std::vector<std::u16string> SplitCharacters(const std::u16string& strText)
{
    std::vector<std::u16string> vecTokens;
    for (size_t i = 0; i < strText.size(); ++i) {
        size_t n = 1;
        if (strText[i] >= 0xD800 && strText[i] <= 0xDBFF && i + 1 < strText.size() &&
            strText[i + 1] >= 0xDC00 && strText[i + 1] <= 0xDFFF)
            n = 2;
        vecTokens.push_back(strText.substr(i, n));
        i += n - 1;
    }
    return vecTokens;
}

void PutInt32(unsigned char* p, int32_t v)
{
    uint32_t u = static_cast<uint32_t>(v);
    p[0] = static_cast<unsigned char>(u);
    p[1] = static_cast<unsigned char>(u >> 8);
    p[2] = static_cast<unsigned char>(u >> 16);
    p[3] = static_cast<unsigned char>(u >> 24);
}

int32_t GetInt32(const unsigned char* p)
{
    uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                 (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

constexpr size_t kBlockTextOffset = 8;
constexpr size_t kBlockLengthsOffset = 1032;

}  // namespace

LedTokenModel::LedTokenModel()
    : m_fnMeasure(DefaultMeasure), m_sOutputMode(led::kOutputModeEnglishUS)
{
    initSizes(290.0f, 30.0f);
}

void LedTokenModel::initSizes(float w, float h)
{
    float fArrowWidth = w / 16.0f;
    float fTop = h / 9.0f;
    float fHeight = h - h / 9.0f;
    m_rcRegions[LED_REGION_LEFT_ARROW] = {0.0f, fTop, fArrowWidth, fHeight};
    m_rcRegions[LED_REGION_TEXT] = {fArrowWidth + 2.0f, fTop, w - 2.0f * (fArrowWidth + 2.0f), fHeight};
    m_rcRegions[LED_REGION_RIGHT_ARROW] = {w - fArrowWidth, fTop, fArrowWidth, fHeight};
    m_rcRegions[LED_REGION_FRAME] = {0.0f, 0.0f, w, h};
    m_iUpdate = LED_UPDATE_FROM_FIRST;
}

void LedTokenModel::setMeasure(LedTokenMeasure fnMeasure)
{
    m_fnMeasure = fnMeasure ? std::move(fnMeasure) : LedTokenMeasure(DefaultMeasure);
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    for (int k = 0; k < TokenCount(); ++k)
        in.arrObjWidthInPixel[k] = m_fnMeasure(Token(k));
    m_iUpdate = LED_UPDATE_FROM_FIRST;
}

std::u16string LedTokenModel::Token(int nIndex) const
{
    const _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    if (nIndex < 0 || nIndex >= TokenCount())
        return {};
    return in.strMutRawInput.substr(in.arrObjLoc[nIndex], in.arrObjLen[nIndex]);
}

std::vector<std::u16string> LedTokenModel::Tokens() const
{
    std::vector<std::u16string> vecTokens;
    for (int k = 0; k < TokenCount(); ++k)
        vecTokens.push_back(Token(k));
    return vecTokens;
}

bool LedTokenModel::FitsTokens(const std::vector<std::u16string>& vecTokens, bool bAfterClear) const
{
    size_t nTokens = bAfterClear ? 0 : static_cast<size_t>(TokenCount());
    size_t nUnits = bAfterClear ? 0 : _curActiveFullExpInput.strMutRawInput.size();
    for (const std::u16string& strToken : vecTokens) {
        if (strToken.empty() || strToken.size() > LED_MAX_TOKEN_UNITS)
            return false;
        ++nTokens;
        nUnits += strToken.size();
    }
    return nTokens <= LED_MAX_TOKENS && nUnits <= LED_MAX_TEXT_UNITS;
}

bool LedTokenModel::InsertObject(int nIndex, const std::u16string& strToken)
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    if (nIndex < 0 || nIndex > nCount || !FitsTokens({strToken}, false))
        return false;

    int nLen = static_cast<int>(strToken.size());
    int nPos = nIndex == nCount ? static_cast<int>(in.strMutRawInput.size()) : in.arrObjLoc[nIndex];
    for (int k = nIndex; k < nCount; ++k)
        in.arrObjLoc[k] += nLen;
    in.strMutRawInput.insert(static_cast<size_t>(nPos), strToken);
    in.arrObjLoc.insert(in.arrObjLoc.begin() + nIndex, nPos);
    in.arrObjLen.insert(in.arrObjLen.begin() + nIndex, nLen);
    in.arrObjWidthInPixel.insert(in.arrObjWidthInPixel.begin() + nIndex, m_fnMeasure(strToken));

    ++in.iCaretIndex;
    if (nIndex >= in.iEndIndexVisPart) {
        ++in.iEndIndexVisPart;
        m_iUpdate = LED_UPDATE_FROM_LAST;
    } else {
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
    return true;
}

void LedTokenModel::DeleteObject(int nIndex)
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    if (in.strMutRawInput.empty() || nCount == 0)
        return;
    if (nIndex == nCount) {
        --in.iCaretIndex;
        nIndex = nCount - 1;
    }
    if (nIndex < 0 || nIndex >= nCount)
        return;

    int nLen = in.arrObjLen[nIndex];
    in.strMutRawInput.erase(static_cast<size_t>(in.arrObjLoc[nIndex]), static_cast<size_t>(nLen));
    in.arrObjLoc.erase(in.arrObjLoc.begin() + nIndex);
    in.arrObjLen.erase(in.arrObjLen.begin() + nIndex);
    in.arrObjWidthInPixel.erase(in.arrObjWidthInPixel.begin() + nIndex);
    for (int k = nIndex; k < nCount - 1; ++k)
        in.arrObjLoc[k] -= nLen;

    int nNewCount = nCount - 1;
    if (in.iCaretIndex > nNewCount)
        in.iCaretIndex = nNewCount;
    if (in.iCaretIndex < 0)
        in.iCaretIndex = 0;
    if (in.iCaretIndex < in.iBeginIndexVisPart) {
        --in.iBeginIndexVisPart;
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    } else if (in.iEndIndexVisPart == nNewCount) {
        --in.iEndIndexVisPart;
        m_iUpdate = LED_UPDATE_FROM_LAST;
    } else {
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
    if (in.iBeginIndexVisPart < 0)
        in.iBeginIndexVisPart = 0;
}

void LedTokenModel::ClearContent()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    in.strMutRawInput.clear();
    in.arrObjLoc.clear();
    in.arrObjLen.clear();
    in.arrObjWidthInPixel.clear();
    in.iCaretIndex = 0;
    in.iBeginIndexVisPart = 0;
    in.iEndIndexVisPart = -1;
    m_sParsedInput.clear();
    m_iUpdate = LED_UPDATE_NONE;
}

void LedTokenModel::Clear()
{
    ClearContent();
}

void LedTokenModel::CaretToStart()
{
    _curActiveFullExpInput.iCaretIndex = 0;
    _curActiveFullExpInput.iBeginIndexVisPart = 0;
    m_iUpdate = LED_UPDATE_FROM_FIRST;
}

void LedTokenModel::CaretLeft()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    if (in.iCaretIndex <= 0)
        return;
    --in.iCaretIndex;
    if (in.iCaretIndex < in.iBeginIndexVisPart) {
        --in.iBeginIndexVisPart;
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
}

void LedTokenModel::CaretRight()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    if (in.iCaretIndex >= TokenCount())
        return;
    ++in.iCaretIndex;
    // Scroll one token when the caret passed the window and a hidden token remains.
    if (in.iCaretIndex > in.iEndIndexVisPart && in.iEndIndexVisPart + 1 < TokenCount()) {
        ++in.iEndIndexVisPart;
        m_iUpdate = LED_UPDATE_FROM_LAST;
    } else {
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
}

void LedTokenModel::CaretLeft10()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    if (in.iCaretIndex <= 0)
        return;
    in.iCaretIndex = in.iCaretIndex >= 10 ? in.iCaretIndex - 10 : 0;
    if (in.iCaretIndex < in.iBeginIndexVisPart) {
        in.iBeginIndexVisPart = in.iCaretIndex;
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
}

void LedTokenModel::CaretRight10()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    if (in.iCaretIndex >= nCount)
        return;
    in.iCaretIndex = in.iCaretIndex + 10 <= nCount ? in.iCaretIndex + 10 : nCount;
    if (in.iCaretIndex > in.iEndIndexVisPart && in.iEndIndexVisPart + 1 < nCount) {
        in.iEndIndexVisPart = in.iCaretIndex < nCount ? in.iCaretIndex : nCount - 1;
        m_iUpdate = LED_UPDATE_FROM_LAST;
    } else {
        m_iUpdate = LED_UPDATE_FROM_FIRST;
    }
}

void LedTokenModel::InsertTokensAtCaret(const std::vector<std::u16string>& vecTokens)
{
    for (const std::u16string& strToken : vecTokens)
        InsertObject(_curActiveFullExpInput.iCaretIndex, strToken);
}

bool LedTokenModel::InputCommand(int nKeyCode)
{
    led::LED_KEY_ACTION action = led::LookupKeyAction(nKeyCode, m_sOutputMode);
    switch (action.eKind) {
    case led::LED_KEY_INSERT:
        // A key's tokens go in together or not at all: a full line refuses keys.
        if (!FitsTokens(action.vecTokens, false))
            return false;
        InsertTokensAtCaret(action.vecTokens);
        break;
    case led::LED_KEY_CLEAR:
        Clear();
        break;
    case led::LED_KEY_DELETE:
        DeleteObject(_curActiveFullExpInput.iCaretIndex);
        break;
    case led::LED_KEY_CARET_LEFT:
        CaretLeft();
        break;
    case led::LED_KEY_CARET_RIGHT:
        CaretRight();
        break;
    case led::LED_KEY_CARET_LEFT_10:
        CaretLeft10();
        break;
    case led::LED_KEY_CARET_RIGHT_10:
        CaretRight10();
        break;
    case led::LED_KEY_NONE:
        break;
    }
    return true;
}

bool LedTokenModel::InsertString(const std::u16string& strText, bool bClear)
{
    if (strText.empty())
        return true;
    std::vector<std::u16string> vecTokens = SplitCharacters(led::PrepareInsertText(strText, m_sOutputMode));
    if (!FitsTokens(vecTokens, bClear))
        return false;
    if (bClear)
        ClearContent();
    InsertTokensAtCaret(vecTokens);
    return true;
}

bool LedTokenModel::InsertString(const std::string& strUtf8, bool bClear)
{
    return InsertString(led::Utf8ToUtf16(strUtf8), bClear);
}

bool LedTokenModel::setString(const std::u16string& strText)
{
    std::u16string s = strText;
    for (char16_t& c : s) {
        if (c == u'-')
            c = led::kMinus;
    }
    std::vector<std::u16string> vecTokens = SplitCharacters(s);
    if (!FitsTokens(vecTokens, false))
        return false;
    InsertTokensAtCaret(vecTokens);
    return true;
}

std::u16string LedTokenModel::OutputParsedString()
{
    m_sParsedInput = led::ParseRawString(_curActiveFullExpInput.strMutRawInput);
    return led::OutputParsedString(_curActiveFullExpInput.strMutRawInput, m_sOutputMode);
}

std::string LedTokenModel::OutputParsedStringUtf8()
{
    return led::Utf16ToUtf8(OutputParsedString());
}

void LedTokenModel::UpdateVisibleWindow()
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    if (nCount == 0) {
        in.iCaretIndex = 0;
        in.iBeginIndexVisPart = 0;
        in.iEndIndexVisPart = -1;
        m_iUpdate = LED_UPDATE_NONE;
        return;
    }
    float fArea = m_rcRegions[LED_REGION_TEXT].width;
    if (in.iEndIndexVisPart >= nCount)
        in.iEndIndexVisPart = nCount - 1;
    if (in.iEndIndexVisPart < 0)
        in.iEndIndexVisPart = 0;
    if (in.iBeginIndexVisPart >= nCount)
        in.iBeginIndexVisPart = nCount - 1;
    if (in.iBeginIndexVisPart < 0)
        in.iBeginIndexVisPart = 0;

    if (m_iUpdate == LED_UPDATE_FROM_LAST) {
        // The last visible token shows even when it alone is wider than the area.
        float fSum = kWindowSlack;
        int nFirst = in.iEndIndexVisPart;
        for (int k = in.iEndIndexVisPart; k >= 0; --k) {
            if (fSum + in.arrObjWidthInPixel[k] > fArea)
                break;
            fSum += in.arrObjWidthInPixel[k];
            nFirst = k;
        }
        in.iBeginIndexVisPart = nFirst;
        if (in.iCaretIndex < nFirst)
            in.iCaretIndex = nFirst;
    }

    float fSum = kWindowSlack;
    int nLast = in.iBeginIndexVisPart;
    for (int k = in.iBeginIndexVisPart; k < nCount; ++k) {
        float fWidth = std::trunc(in.arrObjWidthInPixel[k]);
        if (fSum + fWidth > fArea)
            break;
        fSum += fWidth;
        nLast = k;
    }
    in.iEndIndexVisPart = nLast;
    if (in.iCaretIndex > nLast + 1)
        in.iCaretIndex = nLast + 1;
    m_iUpdate = LED_UPDATE_NONE;
}

bool LedTokenModel::MoveCaretToPoint(float x)
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    if (nCount == 0)
        return false;
    int nOld = in.iCaretIndex;
    float fLeft = m_rcRegions[LED_REGION_TEXT].x;
    int nEnd = in.iEndIndexVisPart < nCount ? in.iEndIndexVisPart : nCount - 1;
    for (int k = in.iBeginIndexVisPart; k <= nEnd; ++k) {
        float fRight = fLeft + in.arrObjWidthInPixel[k];
        if (x >= fLeft && x < fRight) {
            in.iCaretIndex = k;
            return k != nOld;
        }
        fLeft = fRight;
    }
    if (x >= fLeft && nEnd == nCount - 1)
        in.iCaretIndex = nCount;
    return in.iCaretIndex != nOld;
}

bool LedTokenModel::ScrollByDrag(float dx)
{
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    if (!(in.iCaretIndex > in.iBeginIndexVisPart && in.iCaretIndex < in.iEndIndexVisPart))
        return false;
    if (dx > 0) {
        // Dragging right reveals tokens on the left, as many as fit into the move.
        float fSum = 0.0f;
        int nFirst = in.iBeginIndexVisPart;
        while (nFirst > 0 && fSum + in.arrObjWidthInPixel[nFirst - 1] <= dx) {
            fSum += in.arrObjWidthInPixel[nFirst - 1];
            --nFirst;
        }
        if (nFirst == in.iBeginIndexVisPart)
            return false;
        in.iBeginIndexVisPart = nFirst;
        m_iUpdate = LED_UPDATE_FROM_FIRST;
        return true;
    }
    if (dx < 0) {
        float fSum = 0.0f;
        int nLast = in.iEndIndexVisPart;
        while (nLast + 1 < TokenCount() && fSum + in.arrObjWidthInPixel[nLast + 1] <= -dx) {
            fSum += in.arrObjWidthInPixel[nLast + 1];
            ++nLast;
        }
        if (nLast == in.iEndIndexVisPart)
            return false;
        in.iEndIndexVisPart = nLast;
        m_iUpdate = LED_UPDATE_FROM_LAST;
        return true;
    }
    return false;
}

bool LedTokenModel::HasHiddenLeft() const
{
    return TokenCount() > 0 && _curActiveFullExpInput.iBeginIndexVisPart > 0;
}

bool LedTokenModel::HasHiddenRight() const
{
    return TokenCount() > 0 && _curActiveFullExpInput.iEndIndexVisPart < TokenCount() - 1;
}

int LedTokenModel::ArrowKeyAt(float x, float y) const
{
    if (m_rcRegions[LED_REGION_LEFT_ARROW].Contains(x, y) && HasHiddenLeft())
        return led::KEY_CARET_LEFT;
    if (m_rcRegions[LED_REGION_RIGHT_ARROW].Contains(x, y) && HasHiddenRight())
        return led::KEY_CARET_RIGHT;
    return -1;
}

bool LedTokenModel::BuildDataBlock(std::array<unsigned char, LED_DATA_BLOCK_SIZE>& block) const
{
    const _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    int nCount = TokenCount();
    int nLength = static_cast<int>(in.strMutRawInput.size());
    if (nCount > LED_MAX_TOKENS || nLength > LED_MAX_TEXT_UNITS)
        return false;
    block.fill(0);
    PutInt32(&block[0], nCount);
    PutInt32(&block[4], nLength);
    for (int i = 0; i < nLength; ++i) {
        char16_t c = in.strMutRawInput[static_cast<size_t>(i)];
        block[kBlockTextOffset + 2 * static_cast<size_t>(i)] = static_cast<unsigned char>(c & 0xFF);
        block[kBlockTextOffset + 2 * static_cast<size_t>(i) + 1] = static_cast<unsigned char>(c >> 8);
    }
    for (int k = 0; k < nCount; ++k) {
        if (in.arrObjLen[k] < 1 || in.arrObjLen[k] > LED_MAX_TOKEN_UNITS)
            return false;
        block[kBlockLengthsOffset + static_cast<size_t>(k)] = static_cast<unsigned char>(in.arrObjLen[k]);
    }
    return true;
}

bool LedTokenModel::SetRawInputString(const unsigned char* pBlock, size_t nSize)
{
    if (pBlock == nullptr || nSize < LED_DATA_BLOCK_SIZE)
        return false;
    int32_t nCount = GetInt32(pBlock);
    int32_t nLength = GetInt32(pBlock + 4);
    if (nCount < 0 || nCount > LED_MAX_TOKENS || nLength < 0 || nLength > LED_MAX_TEXT_UNITS)
        return false;
    // The lengths must be real tokens and account for the text exactly.
    int32_t nSum = 0;
    for (int32_t k = 0; k < nCount; ++k) {
        int nLen = pBlock[kBlockLengthsOffset + static_cast<size_t>(k)];
        if (nLen == 0)
            return false;
        nSum += nLen;
    }
    if (nSum != nLength)
        return false;

    ClearContent();
    _FULL_EXPRESSION_INPUT& in = _curActiveFullExpInput;
    in.strMutRawInput.resize(static_cast<size_t>(nLength));
    for (int32_t i = 0; i < nLength; ++i) {
        const unsigned char* p = pBlock + kBlockTextOffset + 2 * static_cast<size_t>(i);
        in.strMutRawInput[static_cast<size_t>(i)] = static_cast<char16_t>(p[0] | (p[1] << 8));
    }
    int nLoc = 0;
    for (int32_t k = 0; k < nCount; ++k) {
        int nLen = pBlock[kBlockLengthsOffset + static_cast<size_t>(k)];
        in.arrObjLoc.push_back(nLoc);
        in.arrObjLen.push_back(nLen);
        in.arrObjWidthInPixel.push_back(m_fnMeasure(in.strMutRawInput.substr(static_cast<size_t>(nLoc), static_cast<size_t>(nLen))));
        nLoc += nLen;
    }
    in.iCaretIndex = nCount;
    in.iBeginIndexVisPart = 0;
    in.iEndIndexVisPart = nCount - 1;
    m_iUpdate = LED_UPDATE_FROM_LAST;
    return true;
}

bool LedTokenModel::SaveData(const std::string& strPath) const
{
    std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
    if (!BuildDataBlock(block))
        return false;
    FILE* fp = std::fopen(strPath.c_str(), "wb");
    if (fp == nullptr)
        return false;
    size_t nWritten = std::fwrite(block.data(), 1, block.size(), fp);
    bool bClosed = std::fclose(fp) == 0;
    return nWritten == block.size() && bClosed;
}

bool LedTokenModel::LoadData(const std::string& strPath)
{
    FILE* fp = std::fopen(strPath.c_str(), "rb");
    if (fp == nullptr)
        return false;
    std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
    size_t nRead = std::fread(block.data(), 1, block.size(), fp);
    std::fclose(fp);
    return SetRawInputString(block.data(), nRead);
}

std::string LedDataFilePath(const std::string& strDocumentsFolder, int nId)
{
    return strDocumentsFolder + "/ledlite" + std::to_string(nId) + ".dat";
}
