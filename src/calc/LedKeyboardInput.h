#pragma once

// Typing and pasting into an expression input line (MyLedViewLite) from a
// physical keyboard or the clipboard, without the widget. Text becomes key
// codes of the keypad (calc/LedKeyCodes.h), which the line performs as if the
// keys had been pressed, so typing builds exactly the tokens the keypad builds:
//
//   - digits, '.', ',', '+', '-', '*', '/', '^', '(', ')', '!', '%' and the
//     signs the line shows (× ÷ − √ ∫ δ ƒ ∏ ∑) are one key each; '-' is the
//     keypad's minus key (−);
//   - letters spell the name of a keypad function or constant ("sin", "asinh",
//     "sqrt", "ln", "log", "pi", "e", "mod", "fnInt", "[ans]" ...), ignoring
//     case. They stay pending until the name is complete and no longer name
//     begins with them ("pi" goes at once, "sin" waits: "sinh" may follow), or
//     until a character that ends the name. A "(" right after the name of a
//     function is part of its key ("sin(" is one key) and is not typed twice;
//   - an "e" between a number and a digit or sign starts an exponent: 1.5e-12
//     is typed as the screen shows results, 1.5×10^(−12), because the engine
//     reads no signed exponent after "e";
//   - blanks separate and type nothing.
//
// Typing accepts what the user is shown: a name cut short by a character that
// ends it is completed to the first name it begins (table order: the common
// functions first). Pasting is strict: every name must be whole.

#include <string>
#include <vector>

namespace led {

class LedKeyboardInput {
public:
    explicit LedKeyboardInput(bool bStrict = false) : m_bStrict(bStrict) {}

    // One typed character. bAfterNumber tells whether the token before the
    // caret is a digit or a decimal point (an "e" there may start an
    // exponent). Returns the keys to perform now, in order; a character that
    // cannot be typed here returns none and sets WasRefused().
    std::vector<int> Type(char16_t ch, bool bAfterNumber);
    bool WasRefused() const { return m_bRefused; }

    // Ends what is pending (the name, an open exponent) and returns its keys.
    // In strict mode a name that is not whole is refused (WasRefused()).
    std::vector<int> Commit();
    // Forgets what is pending without typing it.
    void Reset();
    // Takes back the last pending letter; false when no letter is pending.
    bool Backspace();

    bool IsPending() const { return !m_strPending.empty(); }
    bool IsInExponent() const { return m_bExponent; }
    // The letters typed so far, and the token their name will give ("sin(").
    const std::u16string& PendingText() const { return m_strPending; }
    std::u16string CompletionText() const;

private:
    void TypeCharacter(char16_t ch, bool bAfterNumber, std::vector<int>& vecKeys);
    bool TypeExponentCharacter(char16_t ch, std::vector<int>& vecKeys);
    void EmitName(int nName, std::vector<int>& vecKeys);
    bool CommitName(std::vector<int>& vecKeys);
    void StartExponent(std::vector<int>& vecKeys);

    bool m_bStrict;
    bool m_bRefused = false;
    std::u16string m_strPending;          // the letters of a name being typed
    bool m_bPendingAfterNumber = false;   // the name began right after a number
    bool m_bSwallowParen = false;         // the last key was a function: its "(" is typed
    bool m_bExponent = false;             // inside "×10^(" until the exponent ends
    bool m_bExponentSigned = false;
    bool m_bExponentDigits = false;
};

// A whole text (pasted) as keys, strictly; false with no keys when any part
// of it cannot be typed.
bool TextToKeyCodes(const std::u16string& strText, bool bAfterNumber, std::vector<int>& vecKeys);

// The plain text of what a line shows, to copy: ×, ÷ and − become *, / and -,
// the blanks around it go. Pasting it back types the same tokens (but for
// the blank a result keeps for its sign).
std::u16string PlainTextOfLine(const std::u16string& strDisplay);

// A number the way the command line writes it ("1.5e-12", "-42.5"), from a
// line that shows one number as the screen shows results ("1.5×10^(−12)");
// empty when the line holds anything else.
std::u16string NumberTextOfLine(const std::u16string& strDisplay);

}  // namespace led
