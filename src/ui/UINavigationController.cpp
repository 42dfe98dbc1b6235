#include "ui/UINavigationController.h"
#include "ui/UIView.h"

#include "ui/UIBarButtonItem.h"
#include "ui/UIStyle.h"

#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QResizeEvent>

namespace {
constexpr int kSlideMs = 300;
constexpr int kBarMargin = 6;
}

// ---------------------------------------------------------------- UINavigationBar

UINavigationBar::UINavigationBar(QWidget* parent) : QWidget(parent)
{
    m_pTitleLabel = new QLabel(this);
    m_pTitleLabel->setAlignment(Qt::AlignCenter);
    m_pTitleLabel->setFont(UIStyle::systemFont(17, true));
    QPalette palette = m_pTitleLabel->palette();
    palette.setColor(QPalette::WindowText, QColor(20, 20, 22));
    m_pTitleLabel->setPalette(palette);
    m_pBackItem = new UIBarButtonItem(QString(), UIBarButtonItem::Plain, [this] {
        if (m_backAction)
            m_backAction();
    }, this);
}

QString UINavigationBar::titleText() const
{
    return m_pTitleLabel->isVisible() ? m_pTitleLabel->text() : QString();
}

void UINavigationBar::setItem(UINavigationItem* item, const QString& backTitle, std::function<void()> backAction)
{
    if (m_pItem)
        disconnect(m_pItem, nullptr, this, nullptr);
    m_pItem = item;
    m_strBackTitle = backTitle;
    m_backAction = std::move(backAction);
    if (item)
        connect(item, &UINavigationItem::changed, this, &UINavigationBar::rebuild);
    rebuild();
}

void UINavigationBar::rebuild()
{
    // The tap of one of these buttons may be what rebuilds the bar.
    UIDiscardWidget(m_pBackButton);
    UIDiscardWidget(m_pLeftButton);
    UIDiscardWidget(m_pRightButton);
    m_pBackButton = m_pLeftButton = m_pRightButton = nullptr;
    if (m_pTitleView && (!m_pItem || m_pItem->titleView() != m_pTitleView))
        m_pTitleView->hide();
    m_pTitleView = nullptr;

    if (m_pItem) {
        if (m_pItem->leftBarButtonItem()) {
            m_pLeftButton = new UIBarButton(m_pItem->leftBarButtonItem(), false, false, this);
        } else if (!m_strBackTitle.isEmpty() && !m_pItem->hidesBackButton()) {
            m_pBackItem->setTitle(m_strBackTitle);
            m_pBackButton = new UIBarButton(m_pBackItem, false, true, this);
        }
        if (m_pItem->rightBarButtonItem())
            m_pRightButton = new UIBarButton(m_pItem->rightBarButtonItem(), false, false, this);
        if (QWidget* titleView = m_pItem->titleView()) {
            m_pTitleView = titleView;
            if (titleView->parentWidget() != this) {
                // Remember the width the screen asked for; the bar may narrow it.
                titleView->setProperty("UIRequestedWidth", titleView->width());
                titleView->setParent(this);
            }
        }
        m_pTitleLabel->setText(m_pItem->title());
    }
    m_pTitleLabel->setVisible(!m_pTitleView);
    for (QWidget* w : {static_cast<QWidget*>(m_pBackButton), static_cast<QWidget*>(m_pLeftButton),
                       static_cast<QWidget*>(m_pRightButton), m_pTitleView.data()})
        if (w)
            w->show();
    layoutContents();
}

void UINavigationBar::resizeEvent(QResizeEvent*)
{
    layoutContents();
}

void UINavigationBar::layoutContents()
{
    const int h = height();
    int left = kBarMargin;
    int right = width() - kBarMargin;
    if (QWidget* lb = m_pBackButton ? static_cast<QWidget*>(m_pBackButton) : m_pLeftButton) {
        const QSize s = lb->sizeHint();
        lb->setGeometry(m_pBackButton ? 2 : kBarMargin, (h - s.height()) / 2, s.width(), s.height());
        left = lb->geometry().right() + 1 + kBarMargin;
    }
    if (m_pRightButton) {
        const QSize s = m_pRightButton->sizeHint();
        m_pRightButton->setGeometry(width() - kBarMargin - s.width(), (h - s.height()) / 2, s.width(), s.height());
        right = m_pRightButton->x() - kBarMargin;
    }

    // Centred on the bar when there is room, else centred in the room left.
    auto place = [&](QWidget* w, int wanted, int itemHeight) {
        const int avail = std::max(0, right - left);
        const int width = std::min(wanted, avail);
        int x = (this->width() - width) / 2;
        if (x < left || x + width > right)
            x = left + (avail - width) / 2;
        w->setGeometry(x, (h - itemHeight) / 2, width, itemHeight);
    };
    if (m_pTitleView) {
        const int wanted = m_pTitleView->property("UIRequestedWidth").toInt();
        const int itemHeight = std::min(h, std::max(m_pTitleView->height(), 1));
        place(m_pTitleView, wanted > 0 ? wanted : m_pTitleView->sizeHint().width(), itemHeight);
    } else {
        // The title keeps clear of the buttons on both sides so it stays
        // centred on the bar; when it does not fit that way it is centred in
        // the room between the buttons, and only cut when even that is short.
        const QString text = m_pItem ? m_pItem->title() : QString();
        const QFontMetrics fm(m_pTitleLabel->font());
        const int textWidth = fm.horizontalAdvance(text);
        const int side = std::max(left, width() - right);
        if (textWidth <= width() - 2 * side) {
            left = side;
            right = width() - side;
        }
        m_pTitleLabel->setText(fm.elidedText(text, Qt::ElideRight, std::max(0, right - left)));
        place(m_pTitleLabel, right - left, h);
    }
}

void UINavigationBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), UIStyle::barColor());
    p.fillRect(QRect(0, height() - 1, width(), 1), UIStyle::barSeparatorColor());
}

// ---------------------------------------------------------------- container

class UINavigationController::ContainerView : public QWidget {
public:
    explicit ContainerView(UINavigationController* owner) : m_pOwner(owner)
    {
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
    }

protected:
    void resizeEvent(QResizeEvent*) override { m_pOwner->layoutViews(); }

private:
    UINavigationController* m_pOwner;
};

// ---------------------------------------------------------------- UINavigationController

UINavigationController::UINavigationController(UIViewController* root, QObject* parent) : UIViewController(parent)
{
    if (root) {
        if (!root->parent())
            root->setParent(this);
        root->m_pNavigationController = this;
        m_vecControllers.append(root);
    }
}

UINavigationController::~UINavigationController()
{
    if (m_pAnimation) {
        m_pAnimation->stop();
        m_animationDone = nullptr;
    }
}

void UINavigationController::loadView()
{
    auto* container = new ContainerView(this);
    m_pContent = new QWidget(container);
    m_pBar = new UINavigationBar(container);
    setView(container);
    if (UIViewController* top = topViewController()) {
        QWidget* v = top->view();
        v->setParent(m_pContent);
        v->show();
    }
    refreshBar();
    layoutViews();
}

UINavigationBar* UINavigationController::navigationBar()
{
    view();
    return m_pBar;
}

UIViewController* UINavigationController::topViewController() const
{
    return m_vecControllers.isEmpty() ? nullptr : m_vecControllers.last().data();
}

QList<UIViewController*> UINavigationController::viewControllers() const
{
    QList<UIViewController*> list;
    for (const auto& vc : m_vecControllers)
        if (vc)
            list.append(vc);
    return list;
}

void UINavigationController::layoutViews()
{
    if (!isViewLoaded())
        return;
    const QRect bounds = view()->rect();
    m_pBar->setGeometry(0, 0, bounds.width(), UIStyle::kNavigationBarHeight);
    m_pBar->raise();
    m_pContent->setGeometry(0, UIStyle::kNavigationBarHeight, bounds.width(),
                            std::max(0, bounds.height() - UIStyle::kNavigationBarHeight));
    for (const auto& vc : m_vecControllers) {
        if (!vc || !vc->isViewLoaded())
            continue;
        QWidget* v = vc->view();
        if (m_pAnimation)
            v->resize(m_pContent->size());
        else
            v->setGeometry(m_pContent->rect());
    }
}

void UINavigationController::refreshBar()
{
    if (!m_pBar)
        return;
    UIViewController* top = topViewController();
    QString backTitle;
    if (m_vecControllers.size() > 1) {
        UIViewController* below = m_vecControllers.at(m_vecControllers.size() - 2);
        if (below) {
            backTitle = below->navigationItem()->backButtonTitle();
            if (backTitle.isEmpty())
                backTitle = below->navigationItem()->title();
            if (backTitle.isEmpty())
                backTitle = QStringLiteral("Back");
        }
    }
    m_pBar->setItem(top ? top->navigationItem() : nullptr, backTitle, [this] {
        UIViewController* shown = topViewController();
        if (!shown || shown->navigationShouldPopOnBackButton())
            popViewControllerAnimated(true);
    });
}

void UINavigationController::pushViewController(UIViewController* vc, bool animated)
{
    if (!vc || m_vecControllers.contains(vc))
        return;
    finishAnimation();
    view();
    UIViewController* old = topViewController();
    if (!vc->parent())
        vc->setParent(this);
    vc->m_pNavigationController = this;
    m_vecControllers.append(vc);

    QWidget* incoming = vc->view();
    incoming->setParent(m_pContent);
    incoming->setGeometry(m_pContent->rect());
    const bool onScreen = view()->isVisible();
    if (old)
        old->viewWillDisappear(animated);
    vc->viewWillAppear(animated);
    refreshBar();
    emit stackChanged();
    layoutViews();
    incoming->show();

    QWidget* outgoing = old ? old->view() : nullptr;
    auto done = [this, old, outgoing, vc, animated] {
        if (outgoing)
            outgoing->hide();
        if (old)
            old->viewDidDisappear(animated);
        vc->viewDidAppear(animated);
        didShow(vc, animated);
    };
    if (animated && onScreen && outgoing)
        slide(incoming, outgoing, true, done);
    else
        done();
}

UIViewController* UINavigationController::popViewControllerAnimated(bool animated)
{
    if (m_vecControllers.size() < 2)
        return nullptr;
    finishAnimation();
    UIViewController* vc = m_vecControllers.takeLast();
    UIViewController* below = topViewController();
    const bool onScreen = view()->isVisible();

    if (vc)
        vc->viewWillDisappear(animated);
    below->viewWillAppear(animated);
    QWidget* incoming = below->view();
    incoming->setParent(m_pContent);
    incoming->setGeometry(m_pContent->rect());
    incoming->show();
    refreshBar();
    emit stackChanged();
    layoutViews();

    QPointer<UIViewController> popped(vc);
    QWidget* outgoing = vc ? vc->view() : nullptr;
    auto done = [this, popped, outgoing, below, animated] {
        if (outgoing)
            outgoing->hide();
        if (popped)
            popped->viewDidDisappear(animated);
        below->viewDidAppear(animated);
        didShow(below, animated);
        if (popped)
            discard(popped);
    };
    if (animated && onScreen && outgoing) {
        outgoing->raise();
        slide(incoming, outgoing, false, done);
    } else {
        done();
    }
    return vc;
}

void UINavigationController::popToRootViewControllerAnimated(bool animated)
{
    // Screens between the top and the root go without being shown.
    while (m_vecControllers.size() > 2) {
        UIViewController* vc = m_vecControllers.takeAt(m_vecControllers.size() - 2);
        if (vc)
            discard(vc);
    }
    popViewControllerAnimated(animated);
}

void UINavigationController::discard(UIViewController* vc)
{
    vc->m_pNavigationController = nullptr;
    if (vc->isViewLoaded()) {
        vc->view()->hide();
        vc->view()->setParent(nullptr);
    }
    if (vc->parent() == this)
        vc->deleteLater();
}

void UINavigationController::slide(QWidget* incoming, QWidget* outgoing, bool forward, std::function<void()> done)
{
    const int w = m_pContent->width();
    auto* group = new QParallelAnimationGroup(this);
    auto move = [&](QWidget* widget, QPoint from, QPoint to) {
        auto* a = new QPropertyAnimation(widget, "pos", group);
        a->setDuration(kSlideMs);
        a->setStartValue(from);
        a->setEndValue(to);
        a->setEasingCurve(QEasingCurve::InOutQuad);
        group->addAnimation(a);
        widget->move(from);
    };
    if (forward) {
        move(incoming, QPoint(w, 0), QPoint(0, 0));
        move(outgoing, QPoint(0, 0), QPoint(-w / 3, 0));
        incoming->raise();
    } else {
        move(incoming, QPoint(-w / 3, 0), QPoint(0, 0));
        move(outgoing, QPoint(0, 0), QPoint(w, 0));
        outgoing->raise();
    }
    m_pAnimation = group;
    m_animationDone = std::move(done);
    connect(group, &QAbstractAnimation::finished, this, &UINavigationController::finishAnimation);
    group->start();
}

void UINavigationController::finishAnimation()
{
    if (!m_pAnimation)
        return;
    QParallelAnimationGroup* group = m_pAnimation;
    m_pAnimation = nullptr;
    disconnect(group, nullptr, this, nullptr);
    group->setCurrentTime(group->totalDuration());
    group->stop();
    group->deleteLater();
    layoutViews();
    std::function<void()> done = std::move(m_animationDone);
    m_animationDone = nullptr;
    if (done)
        done();
}

void UINavigationController::didShow(UIViewController* vc, bool animated)
{
    focusShownScreen();
    if (m_pDelegate)
        m_pDelegate->navigationControllerDidShowViewController(this, vc, animated);
}

void UINavigationController::viewWillAppear(bool animated)
{
    if (UIViewController* top = topViewController())
        top->viewWillAppear(animated);
}

void UINavigationController::viewDidAppear(bool animated)
{
    if (UIViewController* top = topViewController())
        top->viewDidAppear(animated);
}

void UINavigationController::viewWillDisappear(bool animated)
{
    if (UIViewController* top = topViewController())
        top->viewWillDisappear(animated);
}
