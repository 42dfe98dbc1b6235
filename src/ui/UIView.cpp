#include "ui/UIView.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGraphicsProxyWidget>
#include <QLabel>

UIView::UIView(const QColor& background, QWidget* parent) : QWidget(parent)
{
    setBackgroundColor(background);
}

void UIView::setBackgroundColor(const QColor& color)
{
    setAutoFillBackground(color.alpha() > 0);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color);
    setPalette(palette);
}

void UIResignFocus(QWidget* widget)
{
    if (!widget || !widget->hasFocus())
        return;
    const bool bEmbedded = widget->window()->graphicsProxyWidget() != nullptr;
    widget->clearFocus();
    if (bEmbedded && !widget->hasFocus()) {
        QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(widget, &focusOut);
    }
}

void UISetElidedText(QLabel* label, const QString& text)
{
    const QFontMetrics fm(label->font());
    const QString shown = fm.elidedText(text, Qt::ElideRight, label->width());
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

void UIView::resizeEvent(QResizeEvent*)
{
    if (onLayout)
        onLayout(this);
}

void UIDiscardWidget(QWidget* widget)
{
    if (!widget)
        return;
    widget->hide();
    widget->deleteLater();
}
