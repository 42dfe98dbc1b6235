#pragma once
// Alerts and action sheets. Both are non-blocking: show() puts them over the
// key window (dimming it, so the screens behind take no taps) and returns at
// once; the answer arrives later through onClicked with the index of the
// button. The event loop, timers and tests keep running meanwhile.
//
// Button indexes: an alert counts its cancel button first, then the others in
// order. A sheet counts its destructive button first, then the others, then
// the cancel button last.
//
// While one is up it has the keyboard, and the screens behind get no key:
// Enter (or Space) taps the framed button, at first the default one (an
// alert's cancel button, else its first; a sheet's first button), arrows and
// Tab move the frame, Esc taps the escape button (the cancel button, else the
// last one). The keyboard goes back where it was when the overlay closes.

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QLabel;

class UIModalOverlay : public QWidget {
    Q_OBJECT
public:
    QString title() const { return m_strTitle; }
    QStringList buttonTitles() const;
    QAbstractButton* button(int index) const { return m_vecButtons.value(index); }
    int numberOfButtons() const { return static_cast<int>(m_vecButtons.size()); }
    int cancelButtonIndex() const { return m_nCancelIndex; }
    int tag() const { return m_nTag; }
    void setTag(int tag) { m_nTag = tag; }
    bool isVisibleOnScreen() const { return m_bShown; }

    void show();
    // Closes as if the button had been tapped (the callback runs).
    void dismissWithClickedButtonIndex(int index);

    // The button Esc taps; set it when the cancel button is not the one that
    // leaves everything as it was.
    int escapeButtonIndex() const;
    void setEscapeButtonIndex(int index) { m_nEscapeIndex = index; }
    // The button Enter taps now.
    int keyboardButtonIndex() const { return m_nKeyIndex; }
    // True while any alert or sheet is up.
    static bool isAnyVisible();

protected:
    UIModalOverlay() = default;
    virtual void build(QWidget* host) = 0;
    virtual void clicked(int index) = 0;
    virtual int defaultButtonIndex() const = 0;
    QAbstractButton* makeButton(const QString& title, int index, QWidget* parent);
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool focusNextPrevChild(bool next) override;
    void setKeyboardButton(int index);

    QString m_strTitle;
    QList<QAbstractButton*> m_vecButtons;
    QStringList m_vecButtonTitles;
    int m_nCancelIndex = -1;
    int m_nDestructiveIndex = -1;
    int m_nTag = 0;
    int m_nEscapeIndex = -1;
    int m_nKeyIndex = -1;
    QPointer<QWidget> m_pPreviousFocus;
    bool m_bShown = false;
    bool m_bDone = false;
};

class UIAlertView : public UIModalOverlay {
    Q_OBJECT
public:
    UIAlertView(const QString& title, const QString& message, const QString& cancelButtonTitle,
                const QStringList& otherButtonTitles = {});

    QString message() const { return m_strMessage; }
    std::function<void(UIAlertView*, int)> onClicked;

    // Alerts now on screen, oldest first.
    static QList<UIAlertView*> visibleAlerts();

protected:
    void build(QWidget* host) override;
    void clicked(int index) override;
    int defaultButtonIndex() const override { return m_nCancelIndex >= 0 ? m_nCancelIndex : 0; }
    void paintEvent(QPaintEvent*) override;

private:
    QString m_strMessage;
    QRect m_rBox;
};

class UIActionSheet : public UIModalOverlay {
    Q_OBJECT
public:
    UIActionSheet(const QString& title, const QString& cancelButtonTitle, const QString& destructiveButtonTitle,
                  const QStringList& otherButtonTitles);

    std::function<void(UIActionSheet*, int)> onClicked;

    static QList<UIActionSheet*> visibleSheets();

protected:
    void build(QWidget* host) override;
    void clicked(int index) override;
    int defaultButtonIndex() const override { return 0; }
    void paintEvent(QPaintEvent*) override;

private:
    QRect m_rGroup;
    QRect m_rCancel;
};
