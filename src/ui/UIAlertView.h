#pragma once
// Alerts and action sheets. Both are non-blocking: show() puts them over the
// key window (dimming it, so the screens behind take no taps) and returns at
// once; the answer arrives later through onClicked with the index of the
// button. The event loop, timers and tests keep running meanwhile.
//
// Button indexes: an alert counts its cancel button first, then the others in
// order. A sheet counts its destructive button first, then the others, then
// the cancel button last.

#include <QList>
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

protected:
    UIModalOverlay() = default;
    virtual void build(QWidget* host) = 0;
    virtual void clicked(int index) = 0;
    QAbstractButton* makeButton(const QString& title, int index, QWidget* parent);
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

    QString m_strTitle;
    QList<QAbstractButton*> m_vecButtons;
    QStringList m_vecButtonTitles;
    int m_nCancelIndex = -1;
    int m_nDestructiveIndex = -1;
    int m_nTag = 0;
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
    void paintEvent(QPaintEvent*) override;

private:
    QRect m_rGroup;
    QRect m_rCancel;
};
