#include "shell/SafeTouchesView.h"

#include "ui/UITimer.h"

#include <QApplication>
#include <QEvent>

SafeTouchesView::SafeTouchesView(QWidget* parent) : QWidget(parent)
{
    // Taps are held back for the view and everything inside it until the timer fires.
    qApp->installEventFilter(this);
    UITimer::scheduledTimer(0.5, false, this, [this] { onEnableTouches(); });
}

void SafeTouchesView::onEnableTouches()
{
    _enableTouches = true;
    qApp->removeEventFilter(this);
}

bool SafeTouchesView::eventFilter(QObject* watched, QEvent* event)
{
    if (_enableTouches)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == this || isAncestorOf(widget)))
            return true;
        break;
    }
    default:
        break;
    }
    return false;
}
