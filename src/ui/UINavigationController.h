#pragma once
// A stack of screens under a navigation bar. Pushing slides the new screen in
// from the right, popping slides it out again (0.3 s); the bar shows the top
// screen's title or title view, its bar buttons, and a back button titled
// after the screen below. The delegate hears when a screen has been shown.

#include "ui/UIViewController.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class QParallelAnimationGroup;
class UIBarButton;
class UINavigationController;

class UINavigationControllerDelegate {
public:
    virtual ~UINavigationControllerDelegate() = default;
    virtual void navigationControllerDidShowViewController(UINavigationController* nav, UIViewController* vc, bool animated) {}
};

class UINavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit UINavigationBar(QWidget* parent);

    // Shows `item`; `backTitle` is the back button's text, empty for none.
    void setItem(UINavigationItem* item, const QString& backTitle, std::function<void()> backAction);
    UIBarButton* backButton() const { return m_pBackButton; }
    UIBarButton* leftButton() const { return m_pLeftButton; }
    UIBarButton* rightButton() const { return m_pRightButton; }
    QString titleText() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void rebuild();
    void layoutContents();

    QPointer<UINavigationItem> m_pItem;
    QString m_strBackTitle;
    std::function<void()> m_backAction;
    UIBarButtonItem* m_pBackItem = nullptr;
    UIBarButton* m_pBackButton = nullptr;
    UIBarButton* m_pLeftButton = nullptr;
    UIBarButton* m_pRightButton = nullptr;
    QPointer<QWidget> m_pTitleView;
    class QLabel* m_pTitleLabel = nullptr;
};

class UINavigationController : public UIViewController {
    Q_OBJECT
public:
    explicit UINavigationController(UIViewController* root, QObject* parent = nullptr);
    ~UINavigationController() override;

    void pushViewController(UIViewController* vc, bool animated);
    UIViewController* popViewControllerAnimated(bool animated);
    void popToRootViewControllerAnimated(bool animated);

    UIViewController* topViewController() const;
    QList<UIViewController*> viewControllers() const;
    UINavigationBar* navigationBar();
    bool isAnimating() const { return m_pAnimation != nullptr; }

    void setDelegate(UINavigationControllerDelegate* delegate) { m_pDelegate = delegate; }
    UINavigationControllerDelegate* delegate() const { return m_pDelegate; }

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

signals:
    // The stack changed (the tab bar hides itself over screens that ask for it).
    void stackChanged();

protected:
    void loadView() override;

private:
    class ContainerView;
    void layoutViews();
    void finishAnimation();
    void slide(QWidget* incoming, QWidget* outgoing, bool forward, std::function<void()> done);
    void didShow(UIViewController* vc, bool animated);
    void refreshBar();
    void discard(UIViewController* vc);

    QList<QPointer<UIViewController>> m_vecControllers;
    UINavigationControllerDelegate* m_pDelegate = nullptr;
    UINavigationBar* m_pBar = nullptr;
    QWidget* m_pContent = nullptr;
    QParallelAnimationGroup* m_pAnimation = nullptr;
    std::function<void()> m_animationDone;
};
