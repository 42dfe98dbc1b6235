#pragma once

// The content of one expression input line (MyLedViewLite) without its
// widget: tokens, caret, the visible window, the keys, inserting texts,
// touch positions and the "ledlite%d.dat" data file. The widget draws the
// state kept here and turns mouse events and timers into calls on it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A line's data file is one block of 1544 bytes: the token count, the text
// length, room for 512 UTF-16 units of text and 512 one-byte token lengths.
constexpr size_t LED_DATA_BLOCK_SIZE = 1544;
constexpr int LED_MAX_TEXT_UNITS = 512;
constexpr int LED_MAX_TOKENS = 512;
constexpr int LED_MAX_TOKEN_UNITS = 255;

// Number base code of the line; the line works in decimal only.
constexpr int LED_BASE_DECIMAL = 147;

// The content and caret of one line.
struct _FULL_EXPRESSION_INPUT {
    int iCaretIndex = 0;         // token at the caret; the count when after the last token
    int iBeginIndexVisPart = 0;  // first visible token
    int iEndIndexVisPart = -1;   // last visible token, -1 when the line is empty
    std::u16string strMutRawInput;           // all tokens concatenated
    std::vector<int> arrObjLoc;              // start of each token in strMutRawInput
    std::vector<int> arrObjLen;              // length of each token in UTF-16 units
    std::vector<float> arrObjWidthInPixel;   // drawn width of each token
};

struct LED_RECT {
    float x = 0, y = 0, width = 0, height = 0;
    bool Contains(float px, float py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

// Pending update of the visible window, carried out before the next drawing.
enum LED_UPDATE {
    LED_UPDATE_NONE = 0,
    LED_UPDATE_FROM_FIRST = 1,  // recompute the last visible token from the first
    LED_UPDATE_FROM_LAST = 2,   // recompute the first visible token from the last
};

// Regions of m_rcRegions that the line uses.
enum {
    LED_REGION_LEFT_ARROW = 6,
    LED_REGION_TEXT = 7,
    LED_REGION_RIGHT_ARROW = 8,
    LED_REGION_FRAME = 16,
    LED_REGION_COUNT = 20,
};

// Measures the drawn width of a token in the input font, in points.
using LedTokenMeasure = std::function<float(const std::u16string& strToken)>;

class LedTokenModel {
public:
    LedTokenModel();

    // Geometry of a line of width w and height h (arrows at both ends, text between).
    void initSizes(float w, float h);
    // Sets the width measure (the widget passes its font) and re-measures every token.
    void setMeasure(LedTokenMeasure fnMeasure);
    void setOutputMode(const std::string& sOutputMode) { m_sOutputMode = sOutputMode; }
    const std::string& outputMode() const { return m_sOutputMode; }

    // Performs one key. False when the key would overflow what the data file
    // holds; the line then stays as it was.
    bool InputCommand(int nKeyCode);

    // Inserts one token before the token at index; false (and nothing
    // changes) when the index lies beyond the content, the token is empty or
    // too long, or the line is full.
    bool InsertObject(int nIndex, const std::u16string& strToken);
    void DeleteObject(int nIndex);
    void Clear();
    void CaretToStart();

    // Inserts a whole text (a result or a fixed value) one character per token
    // at the caret, after emptying the line when bClear is set. False, with
    // the line unchanged, when the text does not fit.
    bool InsertString(const std::u16string& strText, bool bClear);
    bool InsertString(const std::string& strUtf8, bool bClear);
    // Inserts each character of the text as one token at the caret, '-' as '−'.
    bool setString(const std::u16string& strText);

    // The line's text in engine syntax (empty for an empty line).
    std::u16string OutputParsedString();
    std::string OutputParsedStringUtf8();

    // Brings the visible window up to date; the widget calls it before drawing.
    void UpdateVisibleWindow();

    // Touch support. Coordinates are the line's own (as the regions).
    bool MoveCaretToPoint(float x);     // a touch in the text area; true when the caret moved
    bool ScrollByDrag(float dx);        // a finger move by dx; true when the window moved
    bool HasHiddenLeft() const;         // tokens hidden left of the window
    bool HasHiddenRight() const;        // tokens hidden right of the window
    int ArrowKeyAt(float x, float y) const;  // 48 / 49 for an active arrow there, else -1

    // The data file block and the file itself. Save fails (and writes
    // nothing) when the content does not fit the block; load ignores a file
    // that is short or whose counts, lengths and text do not agree.
    bool BuildDataBlock(std::array<unsigned char, LED_DATA_BLOCK_SIZE>& block) const;
    bool SetRawInputString(const unsigned char* pBlock, size_t nSize);
    bool SaveData(const std::string& strPath) const;
    bool LoadData(const std::string& strPath);

    // State for the widget and the tests.
    const _FULL_EXPRESSION_INPUT& content() const { return _curActiveFullExpInput; }
    int TokenCount() const { return static_cast<int>(_curActiveFullExpInput.arrObjLen.size()); }
    std::u16string Token(int nIndex) const;
    std::vector<std::u16string> Tokens() const;
    int updateState() const { return m_iUpdate; }
    const LED_RECT& region(int nIndex) const { return m_rcRegions[nIndex]; }
    const std::u16string& parsedInput() const { return m_sParsedInput; }

private:
    bool FitsTokens(const std::vector<std::u16string>& vecTokens, bool bAfterClear) const;
    void InsertTokensAtCaret(const std::vector<std::u16string>& vecTokens);
    void CaretLeft();
    void CaretRight();
    void CaretLeft10();
    void CaretRight10();
    void ClearContent();

    _FULL_EXPRESSION_INPUT _curActiveFullExpInput;
    int m_iBase = LED_BASE_DECIMAL;
    int m_iUpdate = LED_UPDATE_NONE;
    std::u16string m_sParsedInput;
    std::array<LED_RECT, LED_REGION_COUNT> m_rcRegions{};
    LedTokenMeasure m_fnMeasure;
    std::string m_sOutputMode;
};

// "<folder>/ledlite<id>.dat", the data file of row id.
std::string LedDataFilePath(const std::string& strDocumentsFolder, int nId);
