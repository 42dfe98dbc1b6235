#include "ui/UISegmentedControl.h"

#include "ui/UIStyle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

UISegmentedControl::UISegmentedControl(const QStringList& items, QWidget* parent) : QWidget(parent), m_vecItems(items)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void UISegmentedControl::setSelectedSegmentIndex(int index)
{
    m_nSelected = (index >= 0 && index < numberOfSegments()) ? index : -1;
    update();
}

QSize UISegmentedControl::sizeHint() const
{
    return QSize(75 * std::max(1, numberOfSegments()), 30);
}

QRect UISegmentedControl::segmentRect(int index) const
{
    const int n = std::max(1, numberOfSegments());
    const int x0 = width() * index / n;
    const int x1 = width() * (index + 1) / n;
    return QRect(x0, 0, x1 - x0, height());
}

int UISegmentedControl::segmentAt(QPoint pos) const
{
    for (int i = 0; i < numberOfSegments(); ++i)
        if (segmentRect(i).contains(pos))
            return i;
    return -1;
}

void UISegmentedControl::mousePressEvent(QMouseEvent* event)
{
    m_nPressed = segmentAt(event->position().toPoint());
    update();
}

void UISegmentedControl::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = segmentAt(event->position().toPoint());
    const int pressed = m_nPressed;
    m_nPressed = -1;
    update();
    if (index < 0 || index != pressed)
        return;
    if (!m_bMomentary)
        m_nSelected = index;
    update();
    if (onValueChanged)
        onValueChanged(this);
}

void UISegmentedControl::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    const int index = m_nSelected + step;
    if (step == 0 || m_bMomentary || index < 0 || index >= numberOfSegments()) {
        event->ignore();
        return;
    }
    setSelectedSegmentIndex(index);
    if (onValueChanged)
        onValueChanged(this);
}

void UISegmentedControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tint = UIStyle::tintColor();
    const int barHeight = std::min(height(), 29);
    const QRectF frame(0.5, (height() - barHeight) / 2.0 + 0.5, width() - 1.0, barHeight - 1.0);
    QPainterPath outline;
    outline.addRoundedRect(frame, 5, 5);
    p.setClipPath(outline);
    p.fillRect(frame, Qt::white);

    p.setFont(UIStyle::systemFont(12, true));
    for (int i = 0; i < numberOfSegments(); ++i) {
        QRectF r = segmentRect(i);
        r.setTop(frame.top());
        r.setBottom(frame.bottom());
        const bool selected = i == m_nSelected;
        if (selected)
            p.fillRect(r, tint);
        else if (i == m_nPressed)
            p.fillRect(r, QColor(tint.red(), tint.green(), tint.blue(), 40));
        p.setPen(selected ? QColor(Qt::white) : tint);
        p.drawText(r, Qt::AlignCenter, m_vecItems[i]);
        if (i > 0) {
            p.setPen(QPen(tint, 1));
            p.drawLine(QPointF(r.left() + 0.5, frame.top()), QPointF(r.left() + 0.5, frame.bottom()));
        }
    }
    p.setClipping(false);
    // With the keyboard the outline is drawn thick.
    p.setPen(QPen(hasFocus() ? tint.darker(150) : tint, hasFocus() ? 2.5 : 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}
