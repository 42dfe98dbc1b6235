#include "ui/UITabBarController.h"

#include "ui/UIImage.h"
#include "ui/UINavigationController.h"
#include "ui/UIStyle.h"

#include <QMouseEvent>
#include <QPainter>

// ---------------------------------------------------------------- UITabBar

UITabBar::UITabBar(QWidget* parent) : QWidget(parent) {}

void UITabBar::setItems(const QList<UITabBarItem>& items)
{
    m_vecItems = items;
    update();
}

void UITabBar::setSelectedIndex(int index)
{
    m_nSelected = index;
    update();
}

QRect UITabBar::itemRect(int index) const
{
    if (m_vecItems.isEmpty())
        return QRect();
    const int n = static_cast<int>(m_vecItems.size());
    const int x0 = width() * index / n;
    const int x1 = width() * (index + 1) / n;
    return QRect(x0, 0, x1 - x0, height());
}

int UITabBar::indexAt(QPoint pos) const
{
    for (int i = 0; i < count(); ++i)
        if (itemRect(i).contains(pos))
            return i;
    return -1;
}

void UITabBar::mousePressEvent(QMouseEvent* event)
{
    m_nPressed = indexAt(event->position().toPoint());
}

void UITabBar::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && index == m_nPressed && onSelect)
        onSelect(index);
    m_nPressed = -1;
}

void UITabBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.fillRect(rect(), UIStyle::barColor());
    p.fillRect(QRect(0, 0, width(), 1), UIStyle::barSeparatorColor());

    for (int i = 0; i < count(); ++i) {
        const QRect r = itemRect(i);
        const QColor color = i == m_nSelected ? UIStyle::tintColor() : UIStyle::secondaryTextColor();
        // Tab icons are drawn as masks and take the colour of their state.
        // The mask painted for the device pixels the bar covers.
        const QPixmap icon = UIImage::imageForScale(m_vecItems[i].imageName, UIImage::deviceScale(p));
        if (!icon.isNull()) {
            QPixmap tinted(icon.size());
            tinted.setDevicePixelRatio(icon.devicePixelRatio());
            tinted.fill(Qt::transparent);
            QPainter tp(&tinted);
            tp.drawPixmap(0, 0, icon);
            tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tp.fillRect(tinted.rect(), color);
            tp.end();
            const QSize s = UIImage::logicalSize(icon);
            p.drawPixmap(QRectF(QPointF(r.center().x() + 1 - s.width() / 2.0, 4), QSizeF(s)), tinted,
                         QRectF(tinted.rect()));
        }
        p.setPen(color);
        p.setFont(UIStyle::systemFont(10, i == m_nSelected));
        p.drawText(QRect(r.x(), 34, r.width(), 13), Qt::AlignHCenter | Qt::AlignTop, m_vecItems[i].title);
    }
}

// ---------------------------------------------------------------- UITabBarController

class UITabBarController::ContainerView : public QWidget {
public:
    explicit ContainerView(UITabBarController* owner) : m_pOwner(owner) {}

protected:
    void resizeEvent(QResizeEvent*) override { m_pOwner->layoutViews(); }

private:
    UITabBarController* m_pOwner;
};

UITabBarController::UITabBarController(QObject* parent) : UIViewController(parent) {}

void UITabBarController::loadView()
{
    auto* container = new ContainerView(this);
    m_pTabBar = new UITabBar(container);
    m_pTabBar->onSelect = [this](int index) { setSelectedIndex(index); };
    setView(container);
    QList<UITabBarItem> items;
    for (UIViewController* vc : m_vecControllers) {
        UITabBarItem item = vc->tabBarItem();
        // A navigation stack shows its root screen's item.
        if (auto* nav = qobject_cast<UINavigationController*>(vc); nav && item.title.isEmpty() && !nav->viewControllers().isEmpty())
            item = nav->viewControllers().first()->tabBarItem();
        items.append(item);
    }
    m_pTabBar->setItems(items);
    m_pTabBar->setSelectedIndex(m_nSelectedIndex);
    if (UIViewController* vc = selectedViewController()) {
        vc->view()->setParent(container);
        vc->view()->show();
    }
    layoutViews();
}

UITabBar* UITabBarController::tabBar()
{
    view();
    return m_pTabBar;
}

void UITabBarController::setViewControllers(const QList<UIViewController*>& controllers)
{
    m_vecControllers = controllers;
    for (UIViewController* vc : controllers) {
        vc->m_pTabBarController = this;
        if (!vc->parent())
            vc->setParent(this);
        if (auto* nav = qobject_cast<UINavigationController*>(vc))
            connect(nav, &UINavigationController::stackChanged, this, &UITabBarController::layoutViews);
    }
    m_nSelectedIndex = controllers.isEmpty() ? -1 : 0;
}

bool UITabBarController::isTabBarHidden() const
{
    auto* nav = qobject_cast<UINavigationController*>(selectedViewController());
    if (!nav)
        return false;
    const QList<UIViewController*> stack = nav->viewControllers();
    return stack.size() > 1 && stack.last()->hidesBottomBarWhenPushed();
}

void UITabBarController::layoutViews()
{
    if (!isViewLoaded() || !m_pTabBar)
        return;
    const QRect bounds = view()->rect();
    const bool hidden = isTabBarHidden();
    const int barHeight = hidden ? 0 : UIStyle::kTabBarHeight;
    m_pTabBar->setGeometry(0, bounds.height() - UIStyle::kTabBarHeight, bounds.width(), UIStyle::kTabBarHeight);
    m_pTabBar->setVisible(!hidden);
    if (UIViewController* vc = selectedViewController())
        vc->view()->setGeometry(0, 0, bounds.width(), bounds.height() - barHeight);
}

void UITabBarController::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_vecControllers.size() || index == m_nSelectedIndex)
        return;
    UIViewController* old = selectedViewController();
    UIViewController* vc = m_vecControllers.at(index);
    const bool loaded = isViewLoaded();
    if (loaded && old)
        old->viewWillDisappear(false);
    m_nSelectedIndex = index;
    if (loaded) {
        if (old)
            old->view()->hide();
        QWidget* v = vc->view();
        v->setParent(view());
        vc->viewWillAppear(false);
        layoutViews();
        v->show();
        m_pTabBar->raise();
        m_pTabBar->setSelectedIndex(index);
        if (old)
            old->viewDidDisappear(false);
        vc->viewDidAppear(false);
        vc->focusShownScreen();
    }
    if (m_pDelegate)
        m_pDelegate->tabBarControllerDidSelectViewController(this, vc);
}

void UITabBarController::viewWillAppear(bool animated)
{
    if (UIViewController* vc = selectedViewController())
        vc->viewWillAppear(animated);
}
