#include "ui/UITimer.h"

#include <cmath>

QPointer<UITimer> UITimer::scheduledTimer(double seconds, bool repeats, QObject* owner, std::function<void()> action)
{
    return new UITimer(seconds, repeats, owner, std::move(action));
}

UITimer::UITimer(double seconds, bool repeats, QObject* owner, std::function<void()> action)
    : QObject(owner), m_action(std::move(action))
{
    m_timer.setSingleShot(!repeats);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(std::max(0, static_cast<int>(std::lround(seconds * 1000.0))));
    connect(&m_timer, &QTimer::timeout, this, &UITimer::fire);
    m_timer.start();
}

void UITimer::fire()
{
    const bool last = m_timer.isSingleShot();
    // Copy: the action may invalidate this timer or destroy its owner.
    std::function<void()> action = m_action;
    QPointer<UITimer> self(this);
    if (action)
        action();
    if (self && last)
        self->deleteLater();
}

void UITimer::invalidate()
{
    m_timer.stop();
    m_action = nullptr;
    deleteLater();
}
