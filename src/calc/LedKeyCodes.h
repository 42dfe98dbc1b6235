#pragma once

// Key codes shared by the keypad, the calculation screen and the input line,
// and what each code does to a line.

#include <string>
#include <vector>

namespace led {

// Codes with a name of their own; the rest insert text (LookupKeyAction).
enum : int {
    KEY_CALCULATE = -1,        // handled by the calculation screen
    KEY_SWITCH_KEYBOARD = -3,  // handled by the keypad
    KEY_CLEAR_LINE = 4,
    KEY_DECIMAL_SEPARATOR = 16,
    KEY_DELETE = 47,
    KEY_CARET_LEFT = 48,
    KEY_CARET_RIGHT = 49,
    KEY_CARET_LEFT_10 = 156,
    KEY_CARET_RIGHT_10 = 157,
    KEY_CLEAR_SCREEN = 162,  // every line of the screen without a fixed value
    // The constant e alone. The keypad types it only as "e^x" (key 39: "e"
    // then "^"); the keyboard and pasted text type it on its own ("2e").
    KEY_CONSTANT_E = 24,
};

enum LED_KEY_KIND {
    LED_KEY_NONE = 0,  // unknown code: the line only redraws
    LED_KEY_INSERT,    // insert the tokens, in order
    LED_KEY_CLEAR,
    LED_KEY_DELETE,
    LED_KEY_CARET_LEFT,
    LED_KEY_CARET_RIGHT,
    LED_KEY_CARET_LEFT_10,
    LED_KEY_CARET_RIGHT_10,
};

struct LED_KEY_ACTION {
    LED_KEY_KIND eKind = LED_KEY_NONE;
    std::vector<std::u16string> vecTokens;  // one or two tokens for LED_KEY_INSERT
};

// What the key does in a line; the decimal separator depends on the output mode.
LED_KEY_ACTION LookupKeyAction(int nKeyCode, const std::string& sOutputMode);

}  // namespace led
