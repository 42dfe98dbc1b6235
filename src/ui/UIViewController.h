#pragma once
// A screen: it owns one view, built lazily by loadView() the first time it is
// asked for, and hears when it appears and disappears. Screens are stacked by
// UINavigationController and grouped into tabs by UITabBarController.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/UIBarButtonItem.h"
class UINavigationController;
class UITabBarController;

// What a navigation bar shows for a screen.
class UINavigationItem : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QString title() const { return m_strTitle; }
    void setTitle(const QString& title);
    // A widget shown in place of the title (a search bar, a segmented control).
    QWidget* titleView() const { return m_pTitleView; }
    void setTitleView(QWidget* view);
    UIBarButtonItem* leftBarButtonItem() const { return m_pLeftItem; }
    void setLeftBarButtonItem(UIBarButtonItem* item);
    UIBarButtonItem* rightBarButtonItem() const { return m_pRightItem; }
    void setRightBarButtonItem(UIBarButtonItem* item);
    // Text of the back button shown on the next screen; the title when empty.
    QString backButtonTitle() const { return m_strBackTitle; }
    void setBackButtonTitle(const QString& title);
    bool hidesBackButton() const { return m_bHidesBackButton; }
    void setHidesBackButton(bool hides);

signals:
    void changed();

private:
    QString m_strTitle;
    QPointer<QWidget> m_pTitleView;
    QPointer<UIBarButtonItem> m_pLeftItem;
    QPointer<UIBarButtonItem> m_pRightItem;
    QString m_strBackTitle;
    bool m_bHidesBackButton = false;
};

// What the tab bar shows for a screen.
struct UITabBarItem {
    QString title;
    QString imageName;
    int tag = 0;
};

class UIViewController : public QObject {
    Q_OBJECT
public:
    explicit UIViewController(QObject* parent = nullptr);
    ~UIViewController() override;

    QWidget* view();
    bool isViewLoaded() const { return !m_pView.isNull(); }

    QString title() const { return m_strTitle; }
    void setTitle(const QString& title);
    UINavigationItem* navigationItem() { return &m_navigationItem; }
    UITabBarItem& tabBarItem() { return m_tabBarItem; }
    bool hidesBottomBarWhenPushed() const { return m_bHidesBottomBar; }
    void setHidesBottomBarWhenPushed(bool hides) { m_bHidesBottomBar = hides; }

    UINavigationController* navigationController() const { return m_pNavigationController; }
    UITabBarController* tabBarController() const;

    // The widget that takes the keyboard when the screen comes on: the view
    // itself when it takes focus, else the first widget that Tab reaches.
    virtual QWidget* preferredFocusWidget();
    // Gives the keyboard to the screen shown (the top of a stack, the
    // selected tab), unless a widget of it has the keyboard already.
    void focusShownScreen();

    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}

    // The back button of the navigation bar asks the screen on top first;
    // false keeps it (it may ask the user and pop itself later).
    virtual bool navigationShouldPopOnBackButton() { return true; }

protected:
    // Builds the view; the default is an empty white view. Subclasses call setView().
    virtual void loadView();
    virtual void viewDidLoad() {}
    void setView(QWidget* view);

private:
    friend class UINavigationController;
    friend class UITabBarController;

    QPointer<QWidget> m_pView;
    QString m_strTitle;
    UINavigationItem m_navigationItem;
    UITabBarItem m_tabBarItem;
    bool m_bHidesBottomBar = false;
    bool m_bLoading = false;
    UINavigationController* m_pNavigationController = nullptr;
    UITabBarController* m_pTabBarController = nullptr;
};
