#pragma once
// One-shot and repeating timers on the main event loop. A timer is bound to
// an owner object: when the owner is destroyed the timer dies with it, so a
// screen that goes away never receives a late tick.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class UITimer : public QObject {
    Q_OBJECT
public:
    // Starts a timer firing after `seconds`; one-shot timers delete themselves
    // after they fired. The returned pointer becomes null once the timer is gone.
    static QPointer<UITimer> scheduledTimer(double seconds, bool repeats, QObject* owner, std::function<void()> action);

    void invalidate();
    bool isValid() const { return m_timer.isActive(); }
    bool repeats() const { return !m_timer.isSingleShot(); }

private:
    UITimer(double seconds, bool repeats, QObject* owner, std::function<void()> action);
    void fire();

    QTimer m_timer;
    std::function<void()> m_action;
};
