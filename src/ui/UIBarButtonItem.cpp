#include "ui/UIBarButtonItem.h"

#include "ui/UIImage.h"
#include "ui/UIStyle.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

UIBarButtonItem::UIBarButtonItem(const QString& title, Style style, std::function<void()> action, QObject* parent)
    : QObject(parent), m_strTitle(title), m_nStyle(style), m_action(std::move(action))
{
}

UIBarButtonItem* UIBarButtonItem::withImage(const QString& imageName, Style style, std::function<void()> action, QObject* parent)
{
    auto* item = new UIBarButtonItem(QString(), style, std::move(action), parent);
    item->m_strImage = imageName;
    return item;
}

UIBarButtonItem* UIBarButtonItem::flexibleSpace(QObject* parent)
{
    auto* item = new UIBarButtonItem(QString(), Plain, nullptr, parent);
    item->m_bFlexible = true;
    return item;
}

void UIBarButtonItem::setTitle(const QString& title)
{
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    emit changed();
}

void UIBarButtonItem::setImageName(const QString& name)
{
    if (name == m_strImage)
        return;
    m_strImage = name;
    emit changed();
}

void UIBarButtonItem::setEnabled(bool enabled)
{
    if (enabled == m_bEnabled)
        return;
    m_bEnabled = enabled;
    emit changed();
}

void UIBarButtonItem::setWidth(int width)
{
    m_nWidth = width;
    emit changed();
}

void UIBarButtonItem::trigger()
{
    if (m_bEnabled && m_action) {
        std::function<void()> action = m_action; // the action may delete this item
        action();
    }
}

UIBarButton::UIBarButton(UIBarButtonItem* item, bool onDark, bool back, QWidget* parent)
    : QAbstractButton(parent), m_pItem(item), m_bOnDark(onDark), m_bBack(back)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    connect(item, &UIBarButtonItem::changed, this, &UIBarButton::sync);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_pItem)
            m_pItem->trigger();
    });
    sync();
}

void UIBarButton::sync()
{
    if (!m_pItem)
        return;
    setText(m_pItem->title());
    setAccessibleName(m_pItem->title().isEmpty() ? m_pItem->imageName() : m_pItem->title());
    setEnabled(m_pItem->isEnabled());
    resize(sizeHint());
    updateGeometry();
    update();
}

void UIBarButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

QSize UIBarButton::sizeHint() const
{
    if (!m_pItem)
        return QSize(0, 0);
    if (m_pItem->width() > 0)
        return QSize(m_pItem->width(), 30);
    if (!m_pItem->imageName().isEmpty()) {
        const QPixmap pixmap = UIImage::imageNamed(m_pItem->imageName());
        const QSize size = pixmap.isNull() ? QSize(24, 24) : UIImage::logicalSize(pixmap);
        return QSize(size.width() + 12, 30);
    }
    QFont font = UIStyle::systemFont(16, m_pItem->style() == UIBarButtonItem::Done);
    const int textWidth = QFontMetrics(font).horizontalAdvance(m_pItem->title().trimmed());
    return QSize(textWidth + (m_bBack ? 26 : 16), 30);
}

void UIBarButton::paintEvent(QPaintEvent*)
{
    if (!m_pItem)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (hasFocus()) {
        p.setPen(QPen(m_bOnDark ? QColor(Qt::white) : UIStyle::tintColor(), 2));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    }

    QColor color = m_bOnDark ? QColor(Qt::white) : UIStyle::tintColor();
    if (!isEnabled())
        color = m_bOnDark ? QColor(255, 255, 255, 90) : UIStyle::disabledTextColor();
    else if (isDown())
        color.setAlpha(110);

    if (m_bOnDark && m_pItem->style() != UIBarButtonItem::Plain) {
        // Bordered buttons on a black bar get a soft key cap so they read as buttons.
        QPainterPath path;
        path.addRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
        p.fillPath(path, isDown() ? QColor(255, 255, 255, 60) : QColor(255, 255, 255, 28));
        p.setPen(QPen(QColor(255, 255, 255, 70), 1));
        p.drawPath(path);
    }

    if (!m_pItem->imageName().isEmpty()) {
        const QPixmap pixmap = UIImage::imageNamed(m_pItem->imageName());
        const QSize size = UIImage::logicalSize(pixmap);
        const QPointF at((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
        if (!isEnabled())
            p.setOpacity(0.35);
        UIImage::draw(p, QRectF(at, QSizeF(size)), pixmap);
        return;
    }

    p.setPen(color);
    p.setFont(UIStyle::systemFont(16, m_pItem->style() == UIBarButtonItem::Done));
    QRectF textRect = r;
    if (m_bBack) {
        // Chevron pointing back, then the title.
        QPen pen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        const qreal cy = height() / 2.0;
        p.drawPolyline(QPolygonF({QPointF(12, cy - 7.5), QPointF(5, cy), QPointF(12, cy + 7.5)}));
        p.setPen(color);
        textRect.setLeft(17);
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, m_pItem->title().trimmed());
        return;
    }
    p.drawText(r, Qt::AlignCenter, m_pItem->title().trimmed());
}
