#include "ui/UIViewController.h"

#include "ui/UIBarButtonItem.h"
#include "ui/UINavigationController.h"
#include "ui/UITabBarController.h"

#include <QApplication>

void UINavigationItem::setTitle(const QString& title)
{
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    emit changed();
}

void UINavigationItem::setTitleView(QWidget* view)
{
    m_pTitleView = view;
    emit changed();
}

void UINavigationItem::setLeftBarButtonItem(UIBarButtonItem* item)
{
    m_pLeftItem = item;
    emit changed();
}

void UINavigationItem::setRightBarButtonItem(UIBarButtonItem* item)
{
    m_pRightItem = item;
    emit changed();
}

void UINavigationItem::setBackButtonTitle(const QString& title)
{
    m_strBackTitle = title;
    emit changed();
}

void UINavigationItem::setHidesBackButton(bool hides)
{
    m_bHidesBackButton = hides;
    emit changed();
}

UIViewController::UIViewController(QObject* parent) : QObject(parent) {}

UIViewController::~UIViewController()
{
    // The view may sit inside a container that outlives the screen.
    delete m_pView.data();
}

QWidget* UIViewController::preferredFocusWidget()
{
    QWidget* root = view();
    if (root->focusPolicy() & Qt::TabFocus)
        return root;
    for (QWidget* w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain()) {
        // Only what the user sees: a field on a page scrolled away is passed by.
        if (root->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(root) && w->isEnabled()
            && QRect(w->mapTo(root, QPoint(0, 0)), w->size()).intersects(root->rect()))
            return w;
    }
    return nullptr;
}

void UIViewController::focusShownScreen()
{
    UIViewController* shown = this;
    for (;;) {
        if (auto* nav = qobject_cast<UINavigationController*>(shown); nav && nav->topViewController())
            shown = nav->topViewController();
        else if (auto* tabs = qobject_cast<UITabBarController*>(shown); tabs && tabs->selectedViewController())
            shown = tabs->selectedViewController();
        else
            break;
    }
    if (!shown->isViewLoaded() || !shown->view()->isVisible())
        return;
    // The screen's window knows its own focus widget also when it is shown
    // inside the scaled desktop window.
    QWidget* focus = shown->view()->window()->focusWidget();
    if (focus && focus->hasFocus() && (focus == shown->view() || shown->view()->isAncestorOf(focus)))
        return;
    if (QWidget* target = shown->preferredFocusWidget())
        target->setFocus(Qt::OtherFocusReason);
}

QWidget* UIViewController::view()
{
    if (!m_pView && !m_bLoading) {
        m_bLoading = true;
        loadView();
        if (!m_pView)
            UIViewController::loadView();
        m_bLoading = false;
        viewDidLoad();
    }
    return m_pView;
}

void UIViewController::loadView()
{
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Qt::white);
    view->setPalette(palette);
    setView(view);
}

void UIViewController::setView(QWidget* view)
{
    if (m_pView && m_pView != view)
        delete m_pView.data();
    m_pView = view;
    if (view)
        view->setProperty("UIViewController", QVariant::fromValue(static_cast<QObject*>(this)));
}

void UIViewController::setTitle(const QString& title)
{
    m_strTitle = title;
    m_navigationItem.setTitle(title);
}

UITabBarController* UIViewController::tabBarController() const
{
    if (m_pTabBarController)
        return m_pTabBarController;
    if (m_pNavigationController)
        return m_pNavigationController->tabBarController();
    return nullptr;
}
