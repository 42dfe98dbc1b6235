#pragma once
// The physical keyboard on the calculation screen, over the rows: Tab and
// Shift+Tab, Down and Up move between the input lines that take typing (a
// fixed value is passed by), Space ticks the row as the parameter to
// calculate, Enter calculates (also while no line has the keyboard). A key
// typed while no line has the keyboard goes to the selected line, or the
// first one that takes typing. Everything
// else a line does with keys is its own (MyLedViewLiteKeyboard.cpp).

#include <QObject>

class CalculateViewController;
class MyLedViewLite;

class CalculateKeyHandler : public QObject {
    Q_OBJECT
public:
    // Watches the screen's view and its ten lines.
    explicit CalculateKeyHandler(CalculateViewController* screen);

    // The line the keyboard should go to: the selected one, else the first
    // shown line that takes typing; null when no row shows one.
    MyLedViewLite* entryLine() const;
    // Gives the keyboard to the line of a row (scrolled into view); false
    // when that row shows no line that takes typing.
    bool focusRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rowOf(QObject* watched) const;
    bool takesTyping(int row) const;
    void moveFocus(int row, int delta);
    void tick(int row);
    // While the screen has the keyboard, the line that typing goes to shows it.
    void showKeyboardHint(bool bShow);

    CalculateViewController* m_pScreen;
};
