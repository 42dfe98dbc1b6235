#pragma once
// The application's screen: a fixed 320 x 480 screen whose top 20 pixels are
// the status strip (clock and battery, as on the phone), hidden in full-screen
// mode. Alerts and action sheets cover the key window. On the desktop it is
// shown scaled inside a resizable window (UIWindowHost).

#include <QWidget>

class UIStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit UIStatusBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
};

class UIWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 480;

    explicit UIWindow(QWidget* parent = nullptr);
    ~UIWindow() override;

    // The window alerts and sheets are shown over; the last one made key.
    static UIWindow* keyWindow();
    // Shows the screen, and the desktop window that hosts it.
    void makeKeyAndVisible();

    bool isStatusBarHidden() const { return m_bStatusBarHidden; }
    void setStatusBarHidden(bool hidden);
    UIStatusBar* statusBar() const { return m_pStatusBar; }
    // The area below the status strip, where the application puts its screens.
    QRect applicationFrame() const;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    UIStatusBar* m_pStatusBar;
    bool m_bStatusBarHidden = false;
};

// The window an overlay (alert, sheet) should cover: the key window, else the
// active window; null when the application has no window at all.
QWidget* UIOverlayHost();
