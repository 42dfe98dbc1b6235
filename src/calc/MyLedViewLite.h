#pragma once
// The one-line display of a calculation row in which the user types a value
// or an expression and in which the screen shows results. The tokens, caret,
// visible window, parsing and data file live in LedTokenModel; this view
// draws them like a calculator display (coloured characters, block caret,
// scroll arrows) and turns touches and the arrow repeat timer into calls on it.
// The physical keyboard and the clipboard type into it through the keypad's
// key codes (LedKeyboardInput; MyLedViewLiteKeyboard.cpp).

#include "calc/LedKeyboardInput.h"
#include "calc/LedTokenModel.h"

#include <QFont>
#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QWidget>

class MyLedViewLite;
class UITimer;

class MyLedViewLiteDelegate {
public:
    virtual ~MyLedViewLiteDelegate() = default;
    // A touch began on a line that is not the selected one.
    virtual void selectedMyLedViewLite(MyLedViewLite* line) {}
};

class MyLedViewLite : public QWidget {
    Q_OBJECT
public:
    // Interval of the scroll arrows' repeat while a finger rests on one.
    static constexpr double kArrowRepeatSeconds = 0.15;

    explicit MyLedViewLite(const QRect& frame = QRect(), QWidget* parent = nullptr);
    ~MyLedViewLite() override;

    // One key of the keypad; false when the line is full and refused it.
    bool InputCommand(int nKeyCode);
    void Clear();
    void CaretToStart();
    bool InsertString(const QString& strText, bool bClear);
    bool setString(const QString& strText);
    // The line's text in engine syntax ("" for an empty line).
    QString OutputParsedString();

    // The data file of the row ("ledlite<id>.dat" in the documents folder).
    void saveData();
    void loadData();
    bool SaveData(const QString& strPath) const;
    bool LoadData(const QString& strPath);
    // Rebuilds the content from a data file block; false (line unchanged)
    // when the block does not hold a consistent line.
    bool SetRawInputString(const unsigned char* pBlock, size_t nSize);

    void setId(int nId) { m_nId = nId; }
    int getId() const { return m_nId; }
    void setSelectedState(bool bSelected);
    bool getSelectedState() const { return blSelected; }
    void setDelegate(MyLedViewLiteDelegate* delegate) { m_pDelegate = delegate; }
    MyLedViewLiteDelegate* delegate() const { return m_pDelegate; }
    // A line with a fixed value takes no touches and no typing.
    void setUserInteractionEnabled(bool bEnabled);
    bool isUserInteractionEnabled() const { return m_bUserInteraction; }

    // What the line shows: the whole text as displayed, and the tokens.
    QString text() const;
    QStringList tokens() const;
    const LedTokenModel& model() const { return m_model; }
    // The key the arrow timer repeats, -1 when none.
    int currentCommandInput() const { return m_nCurCommandInput; }

    // Typing from the keyboard: the letters of a name not typed yet, and
    // ending them (before the row is left or calculated).
    QString pendingTyping() const;
    void commitTyping();
    // The line that typing will go to while the screen itself has the
    // keyboard: drawn with a dashed outline, so the focus is always seen.
    void setKeyboardHint(bool bHint);
    // The clipboard: the line's text as plain text, its number in the command
    // line's notation, and pasting a number or expression at the caret. A text
    // that cannot be typed is refused with a message and the line stays as it was.
    void copyToClipboard();
    bool copyNumberToClipboard();
    void cutToClipboard();
    bool pasteFromClipboard();

signals:
    // The text may have changed (a key, a clear, an inserted text, a load).
    void contentChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void initImages();
    void initSizes();
    void initData();
    void onHoldTouchTimer();
    void stopTouchHoldTimer();
    void DrawLEDContent(class QPainter& painter);
    void DrawPendingTyping(class QPainter& painter, qreal fCaretX);
    // Performs keys in order; false (and the line unchanged) when one is refused.
    bool PerformKeys(const std::vector<int>& vecKeys);
    bool TokenBeforeCaretIsNumber() const;
    void CaretToEnd(bool bEnd);

    LedTokenModel m_model;
    int m_nId = 0;
    bool m_bShowCaret = true;
    bool blSelected = false;
    bool m_bUserInteraction = true;
    int m_nCurCommandInput = -1;
    bool m_bLButtonDown = false;
    QPointF _curPointTouch;
    QPointF _FirstTouchBeginPoint;
    QPointer<UITimer> _touchHoldTimer;
    QFont _fontInputExpStr;
    QPixmap _leftArrowImage;
    QPixmap _rightArrowImage;
    MyLedViewLiteDelegate* m_pDelegate = nullptr;
    led::LedKeyboardInput m_typing;
    bool m_bKeyboardHint = false;
};
