#pragma once

// The keypad of the calculation screen without its widget: the buttons of
// the three keyboards (frame, background style, glyph cell, tap and hold
// codes), which hold codes repeat, where a button's face and background sit
// in their images, and the tap/hold cycle of one touch. FormulaKeyboardView
// draws these and runs the two timers.

namespace keypad {

constexpr int KEYBOARD_COUNT = 3;     // 0 digits, 1 arithmetic, 2 trigonometry
constexpr int KEYBOARD_BUTTONS = 18;  // button 1 is covered by the double-width button 0
constexpr int GLYPH_CELLS = 18;       // cells across each glyph strip

constexpr float BUTTON_WIDTH = 53.0f;
constexpr float BUTTON_HEIGHT = 46.0f;

// Delay before a held key sends its hold code, and the repeat interval after it.
constexpr int HOLD_DELAY_MS = 400;
constexpr int REPEAT_INTERVAL_MS = 100;

// Tag of button k's view: BUTTON_TAG_BASE + k.
constexpr int BUTTON_TAG_BASE = 7282;

// Background styles (nButtonID).
enum {
    BUTTON_STYLE_NORMAL = 0,    // "Button_Normal.png"
    BUTTON_STYLE_BIG = 1,       // "Button_Big.png"
    BUTTON_STYLE_FUNCTION = 2,  // "Button_Function.png"
};

struct BUTTON_RECT {
    float x = 0, y = 0, width = 0, height = 0;
};

struct BUTTON_INFO {
    BUTTON_RECT rcRect;     // frame in the keyboard
    int nButtonID = 0;      // background style
    int nImageID = 0;       // 6 for buttons 0-1, 8 for button 2, 1 otherwise (not drawn)
    int nImagePosID = 0;    // face cell in the keyboard's glyph strip
    int nKeyCode = 0;       // sent on a tap
    int nShiftKeycode = 0;  // sent when held
};

// Fills the buttons of all three keyboards.
void generateButtonsInfo(BUTTON_INFO (&arrButtonInfo)[KEYBOARD_COUNT][KEYBOARD_BUTTONS]);

// True for the button numbers that exist on screen (every one but 1).
bool IsShownButton(int nButton);

// Hold codes that repeat every REPEAT_INTERVAL_MS: the digits and the caret keys.
bool IsRepeatingHoldCode(int nCode);

// Next keyboard in the cycle 0 -> 1 -> 2 -> 0.
int NextKeyboard(int nMode);

// The cell of a glyph strip (width x height) that shows a face; the
// double-width button 0 takes two cells.
BUTTON_RECT GlyphCellRect(float fStripWidth, float fStripHeight, int nImagePosID, bool bDoubleWidth);

// The half of a background image for the normal (upper) or pressed (lower) look.
BUTTON_RECT BackgroundHalfRect(float fImageWidth, float fImageHeight, bool bPressed);

// Image names, in the order the keyboard loads them.
extern const char* const g_arrKeyboardImageNames[6];

// The tap/hold cycle of one touch on one button. The widget starts a one-shot
// timer of HOLD_DELAY_MS on touch-down and calls triggerOn when it fires;
// triggerOn tells whether the following REPEAT_INTERVAL_MS timer repeats;
// each tick of that timer calls keyRepeats, whose code goes to the receiver.
class KeyboardTouchCycle {
public:
    KeyboardTouchCycle();

    int mode() const { return m_nMode; }
    void setMode(int nMode);
    const BUTTON_INFO& button(int nButton) const;

    // Touch-down on a button: remembers it and forgets any earlier hold.
    void touchDown(int nButton);
    // The hold delay has passed: true when the hold code repeats.
    bool triggerOn() const;
    // A tick of the hold timer: marks the touch as held and returns the hold code.
    int keyRepeats();

    // Touch-up inside the button. Returns the code for the receiver, or
    // NO_CODE when the hold already acted or the tap switched the keyboard.
    static constexpr int NO_CODE = 0x7FFFFFFF;
    int touchUpInside();
    bool tapAndHold() const { return m_bTapAndHold; }
    int currentKeyId() const { return m_nCurrentKeyId; }

private:
    BUTTON_INFO m_arrButtonInfo[KEYBOARD_COUNT][KEYBOARD_BUTTONS];
    int m_nMode = 0;
    int m_nCurrentKeyId = -1;
    bool m_bTapAndHold = false;
};

}  // namespace keypad
