#include "ui/UIPageControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {
constexpr qreal kDotDiameter = 7.0;
constexpr qreal kDotSpacing = 16.0;
}

UIPageControl::UIPageControl(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(211, 211, 211));  // light grey
    setPalette(palette);
}

void UIPageControl::setNumberOfPages(int nPages)
{
    m_nPages = std::max(0, nPages);
    setCurrentPage(m_nCurrentPage);
    update();
}

void UIPageControl::setCurrentPage(int nPage)
{
    m_nCurrentPage = std::clamp(nPage, 0, std::max(0, m_nPages - 1));
    update();
}

void UIPageControl::paintEvent(QPaintEvent*)
{
    if (m_nPages <= 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal total = (m_nPages - 1) * kDotSpacing;
    const qreal x0 = width() / 2.0 - total / 2.0;
    for (int i = 0; i < m_nPages; ++i) {
        p.setBrush(i == m_nCurrentPage ? QColor(60, 60, 66) : QColor(255, 255, 255));
        p.drawEllipse(QPointF(x0 + i * kDotSpacing, height() / 2.0), kDotDiameter / 2, kDotDiameter / 2);
    }
}

void UIPageControl::mousePressEvent(QMouseEvent* event)
{
    m_bPressed = event->button() == Qt::LeftButton;
}

void UIPageControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bPressed || event->button() != Qt::LeftButton)
        return;
    m_bPressed = false;
    if (rect().contains(event->position().toPoint()))
        setCurrentPage(m_nCurrentPage + (event->position().x() >= width() / 2.0 ? 1 : -1));
    if (onAction)
        onAction(this);
}
