// The keypad's buttons, codes and tap/hold cycle.
#include <gtest/gtest.h>

#include <set>

#include "calc/FormulaKeyboardLayout.h"
#include "calc/LedKeyCodes.h"

using namespace keypad;

namespace {

struct ButtonCase {
    int nMode;
    int nButton;
    int nTap;
    int nHold;
};

const ButtonCase kButtonCases[] = {
    // the same function keys on every keyboard
    {0, 0, -1, -1}, {1, 0, -1, -1}, {2, 0, -1, -1},
    {0, 2, -3, 162}, {2, 2, -3, 162},
    {0, 3, 47, 4}, {1, 3, 47, 4},
    {0, 4, 48, 48}, {2, 5, 49, 49},
    // digits
    {0, 6, 10, 10}, {0, 10, 6, 6}, {0, 12, 0, 0}, {0, 15, 15, 15}, {0, 16, 16, 16}, {0, 17, 17, 17},
    // arithmetic
    {1, 6, 28, 38}, {1, 7, 29, 39}, {1, 8, 30, 40}, {1, 9, 31, 41}, {1, 10, 32, 42}, {1, 11, 59, 131},
    {1, 12, 44, 44}, {1, 15, 13, 13}, {1, 17, 3, 3},
    // trigonometry
    {2, 6, 51, 60}, {2, 9, 54, 63}, {2, 11, 56, 65}, {2, 14, 18, 18}, {2, 16, 8, 8},
};

TEST(FormulaKeyboardLayout, TapAndHoldCodes)
{
    BUTTON_INFO info[KEYBOARD_COUNT][KEYBOARD_BUTTONS];
    generateButtonsInfo(info);
    for (const ButtonCase& c : kButtonCases) {
        EXPECT_EQ(info[c.nMode][c.nButton].nKeyCode, c.nTap) << c.nMode << "/" << c.nButton;
        EXPECT_EQ(info[c.nMode][c.nButton].nShiftKeycode, c.nHold) << c.nMode << "/" << c.nButton;
    }
}

TEST(FormulaKeyboardLayout, EveryLineCodeReachesTheLine)
{
    // Codes other than calculate, switch and clear-all must mean something to the line.
    BUTTON_INFO info[KEYBOARD_COUNT][KEYBOARD_BUTTONS];
    generateButtonsInfo(info);
    for (int m = 0; m < KEYBOARD_COUNT; ++m) {
        for (int k = 0; k < KEYBOARD_BUTTONS; ++k) {
            if (!IsShownButton(k))
                continue;
            for (int code : {info[m][k].nKeyCode, info[m][k].nShiftKeycode}) {
                if (code == -1 || code == -3 || code == 162)
                    continue;
                EXPECT_NE(led::LookupKeyAction(code, "English (US)").eKind, led::LED_KEY_NONE)
                    << "keyboard " << m << " button " << k << " code " << code;
            }
        }
    }
}

TEST(FormulaKeyboardLayout, GeometryAndFaces)
{
    BUTTON_INFO info[KEYBOARD_COUNT][KEYBOARD_BUTTONS];
    generateButtonsInfo(info);
    const BUTTON_INFO& big = info[0][0];
    EXPECT_FLOAT_EQ(big.rcRect.x, 1.0f);
    EXPECT_FLOAT_EQ(big.rcRect.width, 106.0f);
    EXPECT_FLOAT_EQ(big.rcRect.height, 46.0f);
    const BUTTON_INFO& last = info[2][17];
    EXPECT_FLOAT_EQ(last.rcRect.x, 53.0f * 5 + 1);
    EXPECT_FLOAT_EQ(last.rcRect.y, 92.0f);
    EXPECT_EQ(info[1][0].nImagePosID, 0);
    EXPECT_EQ(info[1][1].nImagePosID, 0);
    EXPECT_EQ(info[1][9].nImagePosID, 9);
    EXPECT_EQ(info[0][0].nImageID, 6);
    EXPECT_EQ(info[0][2].nImageID, 8);
    EXPECT_EQ(info[0][7].nImageID, 1);
    EXPECT_EQ(info[0][0].nButtonID, BUTTON_STYLE_BIG);

    // Shown buttons stay inside the 320-point panel and never overlap.
    for (int a = 0; a < KEYBOARD_BUTTONS; ++a) {
        if (!IsShownButton(a))
            continue;
        const BUTTON_RECT& ra = info[0][a].rcRect;
        EXPECT_LE(ra.x + ra.width, 320.0f);
        EXPECT_LE(ra.y + ra.height, 150.0f);
        for (int b = a + 1; b < KEYBOARD_BUTTONS; ++b) {
            if (!IsShownButton(b))
                continue;
            const BUTTON_RECT& rb = info[0][b].rcRect;
            bool bOverlap = ra.x < rb.x + rb.width && rb.x < ra.x + ra.width && ra.y < rb.y + rb.height &&
                            rb.y < ra.y + ra.height;
            EXPECT_FALSE(bOverlap) << a << " and " << b;
        }
    }
    // Frames and styles are the same on all three keyboards.
    for (int k = 0; k < KEYBOARD_BUTTONS; ++k) {
        EXPECT_FLOAT_EQ(info[1][k].rcRect.x, info[0][k].rcRect.x);
        EXPECT_EQ(info[2][k].nButtonID, info[0][k].nButtonID);
    }

    BUTTON_RECT cell = GlyphCellRect(900.0f, 46.0f, 9, false);
    EXPECT_FLOAT_EQ(cell.x, 450.0f);
    EXPECT_FLOAT_EQ(cell.width, 50.0f);
    EXPECT_FLOAT_EQ(GlyphCellRect(900.0f, 46.0f, 0, true).width, 100.0f);
    BUTTON_RECT pressed = BackgroundHalfRect(53.0f, 92.0f, true);
    EXPECT_FLOAT_EQ(pressed.y, 46.0f);
    EXPECT_FLOAT_EQ(pressed.height, 46.0f);
    EXPECT_FLOAT_EQ(BackgroundHalfRect(53.0f, 92.0f, false).y, 0.0f);
}

TEST(FormulaKeyboardLayout, RepeatingHoldCodes)
{
    const std::set<int> kRepeating = {0, 1, 2, 5, 6, 7, 10, 11, 12, 15, 48, 49};
    for (int code = -5; code < 200; ++code)
        EXPECT_EQ(IsRepeatingHoldCode(code), kRepeating.count(code) == 1) << code;
}

// --- touch cycle ------------------------------------------------------------

TEST(FormulaKeyboardLayout, QuickTapSendsTapCodeOnRelease)
{
    KeyboardTouchCycle cycle;
    cycle.touchDown(10);  // "5"
    EXPECT_EQ(cycle.touchUpInside(), 6);
}

TEST(FormulaKeyboardLayout, HoldSendsHoldCodeAndReleaseNothing)
{
    const struct {
        int nMode;
        int nButton;
        int nHold;
        bool bRepeats;
    } kHolds[] = {
        {0, 10, 6, true},     // digit 5 repeats
        {0, 4, 48, true},     // caret left repeats
        {0, 3, 4, false},     // delete: clear the line once
        {0, 2, 162, false},   // keyboard key: clear the screen, no switch
        {1, 6, 38, false},    // log( held: 10^
        {2, 9, 63, false},    // sin( held: asin(
        {0, 0, -1, false},    // calculate
    };
    for (const auto& h : kHolds) {
        KeyboardTouchCycle cycle;
        cycle.setMode(h.nMode);
        cycle.touchDown(h.nButton);
        EXPECT_EQ(cycle.triggerOn(), h.bRepeats) << h.nButton;
        EXPECT_EQ(cycle.keyRepeats(), h.nHold) << h.nButton;
        if (h.bRepeats) {
            EXPECT_EQ(cycle.keyRepeats(), h.nHold);
        }
        EXPECT_EQ(cycle.touchUpInside(), KeyboardTouchCycle::NO_CODE) << h.nButton;
        EXPECT_EQ(cycle.mode(), h.nMode);
    }
}

TEST(FormulaKeyboardLayout, SwitchKeyCyclesKeyboards)
{
    KeyboardTouchCycle cycle;
    const int kExpected[] = {1, 2, 0, 1};
    for (int expected : kExpected) {
        cycle.touchDown(2);
        EXPECT_EQ(cycle.touchUpInside(), KeyboardTouchCycle::NO_CODE);
        EXPECT_EQ(cycle.mode(), expected);
    }
    cycle.touchDown(6);  // keyboard 1: log(
    EXPECT_EQ(cycle.touchUpInside(), 28);
}

TEST(FormulaKeyboardLayout, NewTouchForgetsEarlierHold)
{
    KeyboardTouchCycle cycle;
    cycle.touchDown(13);
    cycle.keyRepeats();
    cycle.touchDown(14);  // a fresh touch on "9"
    EXPECT_FALSE(cycle.tapAndHold());
    EXPECT_EQ(cycle.touchUpInside(), 2);
    cycle.touchDown(1);   // the hidden button sends nothing
    EXPECT_EQ(cycle.touchUpInside(), KeyboardTouchCycle::NO_CODE);
}

}  // namespace
