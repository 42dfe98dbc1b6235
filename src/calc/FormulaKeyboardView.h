#pragma once
// The calculator keypad under the parameter rows: 17 image buttons in three
// rows of six, on three keyboards (digits, arithmetic, trigonometry). A tap
// sends the button's code on release; holding it 0.4 s sends its hold code
// instead, once or every 0.1 s for the digits and the caret keys. The
// buttons, codes and the tap/hold cycle come from FormulaKeyboardLayout.

#include "calc/FormulaKeyboardLayout.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class UITimer;

// Receives the key codes of the keypad (the calculation screen).
class FormulaKeyboardReceiver {
public:
    virtual ~FormulaKeyboardReceiver() = default;
    virtual void keyPressed(int nKeyCode) = 0;
};

// One key: its background half (normal or pressed) with its face on top.
// It reports touch-down, touch-up inside, and every way a touch ends
// elsewhere (release outside, dragging off the key, cancel).
class FormulaKeyboardButton : public QWidget {
    Q_OBJECT
public:
    FormulaKeyboardButton(int nNumber, const QRect& frame, QWidget* parent);

    int number() const { return m_nNumber; }
    QString title() const { return QString::number(m_nNumber); }  // hidden; carries the number
    int tag() const { return keypad::BUTTON_TAG_BASE + m_nNumber; }

    void setBackground(const QPixmap& image) { m_pixBackground = image; update(); }
    void setFace(const QPixmap& image) { m_pixFace = image; update(); }
    QPixmap face() const { return m_pixFace; }
    bool isShowingPressed() const { return m_bShowsPressed; }
    void setShowingPressed(bool bPressed) { m_bShowsPressed = bPressed; update(); }

signals:
    void touchDown(FormulaKeyboardButton* button);
    void touchUpInside(FormulaKeyboardButton* button);
    void touchEndedElsewhere(FormulaKeyboardButton* button);  // up outside, drag exit, cancel

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent*) override;

private:
    int m_nNumber;
    QPixmap m_pixBackground;
    QPixmap m_pixFace;
    bool m_bShowsPressed = false;
    bool m_bTracking = false;
    bool m_bInside = false;
};

class FormulaKeyboardView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 320;
    static constexpr int kPanelHeight = 150;

    explicit FormulaKeyboardView(const QRect& frame = QRect(), QWidget* parent = nullptr);
    ~FormulaKeyboardView() override;

    // The receiver is not owned; without one the codes are dropped.
    void setEventReceiver(FormulaKeyboardReceiver* receiver) { m_eventReceiver = receiver; }
    void switchKeyboard();
    int mode() const { return m_touchCycle.mode(); }

    // The button with this number (0 and 2-17), or null.
    FormulaKeyboardButton* button(int nNumber) const;

    // The touch cycle, public so the keypad can be driven as its buttons drive it.
    void setImageForEvenTouchDown(FormulaKeyboardButton* button);
    void triggerOn();
    void keyRepeats();
    void pressButton(FormulaKeyboardButton* button);
    void setImageForEvenOther(FormulaKeyboardButton* button);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void initImages();
    void createButtons();
    void addOneButton(int nNumber, const keypad::BUTTON_INFO& info);
    QPixmap backgroundHalf(int nButtonID, bool bPressed) const;
    QPixmap faceOf(int nButton) const;
    void refreshFaces();
    void stopTimers();
    void send(int nCode);

    keypad::KeyboardTouchCycle m_touchCycle;
    QList<QPixmap> m_arrImages;  // the three glyph strips, then Big, Normal, Function
    QPixmap m_pixBackground;
    QList<FormulaKeyboardButton*> m_arrButtons;
    FormulaKeyboardReceiver* m_eventReceiver = nullptr;
    QPointer<UITimer> m_timerTrigger;
    QPointer<UITimer> m_timerRepeater;
};
