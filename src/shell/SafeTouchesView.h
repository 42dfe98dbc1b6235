#pragma once
// A view that ignores taps for its first half second, so a tap that opened a
// screen cannot land on the screen that just appeared under the finger.

#include <QWidget>

class SafeTouchesView : public QWidget {
    Q_OBJECT
public:
    explicit SafeTouchesView(QWidget* parent = nullptr);
    bool touchesEnabled() const { return _enableTouches; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onEnableTouches();
    bool _enableTouches = false;
};
