#include "calc/FormulaKeyboardLayout.h"

namespace keypad {

const char* const g_arrKeyboardImageNames[6] = {
    "Font_Basic.png", "Font_Arithmetic.png", "Font_Geonometry.png",
    "Button_Big.png", "Button_Normal.png", "Button_Function.png",
};

namespace {

struct KEY_PAIR {
    int nTap;
    int nHold;
};

// Tap / hold codes of buttons 0-17 on each keyboard. Button 1 (-2) is never shown.
constexpr KEY_PAIR kKeys[KEYBOARD_COUNT][KEYBOARD_BUTTONS] = {
    // digits
    {{-1, -1}, {-2, -2}, {-3, 162}, {47, 4}, {48, 48}, {49, 49},
     {10, 10}, {11, 11}, {12, 12}, {5, 5}, {6, 6}, {7, 7},
     {0, 0}, {1, 1}, {2, 2}, {15, 15}, {16, 16}, {17, 17}},
    // arithmetic
    {{-1, -1}, {-2, -2}, {-3, 162}, {47, 4}, {48, 48}, {49, 49},
     {28, 38}, {29, 39}, {30, 40}, {31, 41}, {32, 42}, {59, 131},
     {44, 44}, {45, 45}, {18, 18}, {13, 13}, {8, 8}, {3, 3}},
    // trigonometry
    {{-1, -1}, {-2, -2}, {-3, 162}, {47, 4}, {48, 48}, {49, 49},
     {51, 60}, {52, 61}, {53, 62}, {54, 63}, {55, 64}, {56, 65},
     {44, 44}, {45, 45}, {18, 18}, {13, 13}, {8, 8}, {3, 3}},
};

// Calculate is the big key; keyboard switch, delete and the caret keys wear
// the function background; digits and operators the normal one.
int StyleOfButton(int nButton)
{
    if (nButton <= 1)
        return BUTTON_STYLE_BIG;
    if (nButton <= 5)
        return BUTTON_STYLE_FUNCTION;
    return BUTTON_STYLE_NORMAL;
}

}  // namespace

void generateButtonsInfo(BUTTON_INFO (&arrButtonInfo)[KEYBOARD_COUNT][KEYBOARD_BUTTONS])
{
    for (int nMode = 0; nMode < KEYBOARD_COUNT; ++nMode) {
        for (int k = 0; k < KEYBOARD_BUTTONS; ++k) {
            BUTTON_INFO& info = arrButtonInfo[nMode][k];
            int nRow = k / 6;
            int nColumn = k % 6;
            info.rcRect = {BUTTON_WIDTH * static_cast<float>(nColumn) + 1.0f,
                           BUTTON_HEIGHT * static_cast<float>(nRow), BUTTON_WIDTH, BUTTON_HEIGHT};
            if (k == 0)
                info.rcRect.width = 2.0f * BUTTON_WIDTH;
            info.nButtonID = StyleOfButton(k);
            info.nImageID = k <= 1 ? 6 : (k == 2 ? 8 : 1);
            info.nImagePosID = k <= 1 ? 0 : k;
            info.nKeyCode = kKeys[nMode][k].nTap;
            info.nShiftKeycode = kKeys[nMode][k].nHold;
        }
    }
}

bool IsShownButton(int nButton)
{
    return nButton >= 0 && nButton < KEYBOARD_BUTTONS && nButton != 1;
}

bool IsRepeatingHoldCode(int nCode)
{
    switch (nCode) {
    case 0: case 1: case 2: case 5: case 6: case 7:
    case 10: case 11: case 12: case 15:
    case 48: case 49:
        return true;
    default:
        return false;
    }
}

int NextKeyboard(int nMode)
{
    return ((nMode % KEYBOARD_COUNT) + KEYBOARD_COUNT + 1) % KEYBOARD_COUNT;
}

BUTTON_RECT GlyphCellRect(float fStripWidth, float fStripHeight, int nImagePosID, bool bDoubleWidth)
{
    float fCell = fStripWidth / static_cast<float>(GLYPH_CELLS);
    return {fCell * static_cast<float>(nImagePosID), 0.0f, bDoubleWidth ? 2.0f * fCell : fCell, fStripHeight};
}

BUTTON_RECT BackgroundHalfRect(float fImageWidth, float fImageHeight, bool bPressed)
{
    float fHalf = fImageHeight / 2.0f;
    return {0.0f, bPressed ? fHalf : 0.0f, fImageWidth, fHalf};
}

KeyboardTouchCycle::KeyboardTouchCycle()
{
    generateButtonsInfo(m_arrButtonInfo);
}

void KeyboardTouchCycle::setMode(int nMode)
{
    if (nMode >= 0 && nMode < KEYBOARD_COUNT)
        m_nMode = nMode;
}

const BUTTON_INFO& KeyboardTouchCycle::button(int nButton) const
{
    if (nButton < 0 || nButton >= KEYBOARD_BUTTONS)
        nButton = 0;
    return m_arrButtonInfo[m_nMode][nButton];
}

void KeyboardTouchCycle::touchDown(int nButton)
{
    m_nCurrentKeyId = IsShownButton(nButton) ? nButton : -1;
    m_bTapAndHold = false;
}

bool KeyboardTouchCycle::triggerOn() const
{
    if (m_nCurrentKeyId < 0)
        return false;
    return IsRepeatingHoldCode(button(m_nCurrentKeyId).nShiftKeycode);
}

int KeyboardTouchCycle::keyRepeats()
{
    if (m_nCurrentKeyId < 0)
        return NO_CODE;
    m_bTapAndHold = true;
    return button(m_nCurrentKeyId).nShiftKeycode;
}

int KeyboardTouchCycle::touchUpInside()
{
    if (m_bTapAndHold || m_nCurrentKeyId < 0)
        return NO_CODE;
    int nCode = button(m_nCurrentKeyId).nKeyCode;
    if (nCode == -3) {
        m_nMode = NextKeyboard(m_nMode);
        return NO_CODE;
    }
    return nCode;
}

}  // namespace keypad
