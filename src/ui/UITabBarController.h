#pragma once
// Screens grouped into tabs with a tab bar at the bottom (icon and title per
// tab). The bar hides itself while the selected tab's navigation stack shows a
// pushed screen that asks for it (hidesBottomBarWhenPushed).

#include "ui/UIViewController.h"

#include <QList>
#include <QWidget>
#include <functional>

class UITabBarController;

class UITabBar : public QWidget {
    Q_OBJECT
public:
    explicit UITabBar(QWidget* parent);
    void setItems(const QList<UITabBarItem>& items);
    int count() const { return static_cast<int>(m_vecItems.size()); }
    UITabBarItem item(int index) const { return m_vecItems.value(index); }
    void setSelectedIndex(int index);
    int selectedIndex() const { return m_nSelected; }
    QRect itemRect(int index) const;
    std::function<void(int)> onSelect;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int indexAt(QPoint pos) const;
    QList<UITabBarItem> m_vecItems;
    int m_nSelected = -1;
    int m_nPressed = -1;
};

class UITabBarControllerDelegate {
public:
    virtual ~UITabBarControllerDelegate() = default;
    virtual void tabBarControllerDidSelectViewController(UITabBarController* tabs, UIViewController* vc) {}
};

class UITabBarController : public UIViewController {
    Q_OBJECT
public:
    explicit UITabBarController(QObject* parent = nullptr);

    void setViewControllers(const QList<UIViewController*>& controllers);
    QList<UIViewController*> viewControllers() const { return m_vecControllers; }
    int selectedIndex() const { return m_nSelectedIndex; }
    void setSelectedIndex(int index);
    UIViewController* selectedViewController() const { return m_vecControllers.value(m_nSelectedIndex); }
    UITabBar* tabBar();
    bool isTabBarHidden() const;
    void setDelegate(UITabBarControllerDelegate* delegate) { m_pDelegate = delegate; }

    void viewWillAppear(bool animated) override;

protected:
    void loadView() override;

private:
    class ContainerView;
    void layoutViews();

    QList<UIViewController*> m_vecControllers;
    int m_nSelectedIndex = -1;
    UITabBar* m_pTabBar = nullptr;
    UITabBarControllerDelegate* m_pDelegate = nullptr;
};
