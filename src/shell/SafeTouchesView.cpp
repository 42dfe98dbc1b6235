#include "shell/SafeTouchesView.h"

#include "ui/UITimer.h"

#include <QEvent>

SafeTouchesView::SafeTouchesView(QWidget* parent) : QWidget(parent)
{
    UITimer::scheduledTimer(0.5, false, this, [this] { onEnableTouches(); });
}

bool SafeTouchesView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (!_enableTouches) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}
