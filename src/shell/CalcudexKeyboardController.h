#pragma once
// The keys that act on the whole window, wherever the keyboard is:
//   Esc, Alt+Left        Back, where the screen shown has a way back (the
//                        Favorites editor's "Done")
//   Ctrl+1 ... Ctrl+4    the tabs Formulas, Favorites, Calculate, More
//   Ctrl+F               the search field of the Formulas tab
//   Ctrl+N               the new-formula wizard
//   Ctrl+Q               quit, saving as a normal close does
//   Ctrl+= (Ctrl++), Ctrl+-, Ctrl+0   zoom the window in, out, back to 1x
// The window's screen hears a key after the widget that has the keyboard let
// it pass (a line cancels its half-typed name with Esc, a field keeps its
// own keys). None of them acts while an alert or sheet is up: the overlay
// takes every key itself.

#include <QObject>

class CalcudexAppDelegate;
class UIWindowHost;

class CalcudexKeyboardController : public QObject {
    Q_OBJECT
public:
    CalcudexKeyboardController(CalcudexAppDelegate* delegate, UIWindowHost* host);

    // Each returns false when there is nothing to do where the user is.
    bool goBack();
    bool selectTab(int index);
    bool focusSearch();
    bool openNewFormula();
    void quit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    bool isFavoritesEditorShown() const;

    CalcudexAppDelegate* m_pDelegate;
    UIWindowHost* m_pHost;
};
