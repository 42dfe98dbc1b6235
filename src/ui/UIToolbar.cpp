#include "ui/UIToolbar.h"
#include "ui/UIView.h"

#include "ui/UIBarButtonItem.h"
#include "ui/UIStyle.h"

#include <QPainter>

UIToolbar::UIToolbar(QWidget* parent) : QWidget(parent) {}

void UIToolbar::setBarStyle(BarStyle style)
{
    m_nStyle = style;
    setItems(QList<UIBarButtonItem*>(m_vecItems.begin(), m_vecItems.end()));
}

void UIToolbar::setItems(const QList<UIBarButtonItem*>& items)
{
    for (UIBarButton* button : m_vecButtons)
        UIDiscardWidget(button);  // the tap of one of them may set the items
    m_vecButtons.clear();
    m_vecItems.clear();
    for (UIBarButtonItem* item : items) {
        m_vecItems.append(item);
        UIBarButton* button = nullptr;
        if (item && !item->isFlexibleSpace()) {
            button = new UIBarButton(item, m_nStyle == Black, false, this);
            button->show();
        }
        m_vecButtons.append(button);
    }
    layoutItems();
    update();
}

QList<UIBarButton*> UIToolbar::buttons() const
{
    QList<UIBarButton*> list;
    for (UIBarButton* b : m_vecButtons)
        if (b)
            list.append(b);
    return list;
}

void UIToolbar::resizeEvent(QResizeEvent*)
{
    layoutItems();
}

void UIToolbar::layoutItems()
{
    int fixed = 0;
    int flexible = 0;
    for (UIBarButton* b : m_vecButtons) {
        if (b)
            fixed += b->sizeHint().width();
        else
            ++flexible;
    }
    const int count = static_cast<int>(m_vecButtons.size()) - flexible;
    const int spare = std::max(0, width() - fixed);
    // Without flexible spaces the spare room is shared out evenly around the items.
    const int gap = flexible ? 6 : spare / (count + 1);
    const int flex = flexible ? std::max(0, spare - gap * (count + 1)) / flexible : 0;
    int x = gap;
    for (UIBarButton* b : m_vecButtons) {
        if (!b) {
            x += flex;
            continue;
        }
        const QSize s = b->sizeHint();
        b->setGeometry(x, (height() - s.height()) / 2, s.width(), s.height());
        x += s.width() + gap;
    }
}

void UIToolbar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_nStyle == Black) {
        p.fillRect(rect(), UIStyle::blackBarColor());
        p.fillRect(QRect(0, 0, width(), 1), QColor(0, 0, 0));
    } else {
        p.fillRect(rect(), UIStyle::barColor());
        p.fillRect(QRect(0, 0, width(), 1), UIStyle::barSeparatorColor());
    }
}
