#include "browser/FormulaIconView.h"

#include "ui/UIImage.h"

#include <QMouseEvent>
#include <QPainter>

FormulaIconView::FormulaIconView(const QPixmap& image, int tag, QWidget* parent)
    : QWidget(parent), m_image(image), m_nTag(tag)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setProperty("tag", tag);
}

void FormulaIconView::setIcon(const QPixmap& image, int tag)
{
    m_image = image;
    m_nTag = tag;
    setProperty("tag", tag);
    update();
}

void FormulaIconView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    UIImage::draw(p, QRectF(rect()), m_image);
}

void FormulaIconView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onAction)
        onAction(m_nTag);
    event->ignore(); // the row underneath takes the tap too
}
