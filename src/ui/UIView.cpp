#include "ui/UIView.h"

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

void UIView::resizeEvent(QResizeEvent*)
{
    if (onLayout)
        onLayout(this);
}
