#include "shell/TransitionView.h"

#include "ui/UIWindowHost.h"

#include <QPainter>
#include <QVariantAnimation>

namespace {

// Paints the two snapshots while the animation runs, so the real views can
// already sit where they end up.
class TransitionOverlay : public QWidget {
public:
    explicit TransitionOverlay(QWidget* parent) : QWidget(parent) {}
    std::function<void(QPainter&)> painter;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (painter)
            painter(p);
    }
};

} // namespace

TransitionView::TransitionView(QWidget* parent) : QWidget(parent) {}

TransitionView::~TransitionView()
{
    if (m_pAnimation) {
        m_pAnimation->stop();
        delete m_pAnimation;
    }
}

void TransitionView::resizeEvent(QResizeEvent*)
{
    // Child screens fill the view (the tab bar view and the editor alike).
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child))
            w->setGeometry(rect());
}

bool TransitionView::replaceSubview(QWidget* oldView, QWidget* newView, Transition transition, Direction direction, double duration)
{
    if (transitioning || !newView || oldView == newView)
        return false;

    m_nTransition = transition;
    m_nDirection = direction;
    m_pOldView = oldView;
    m_pNewView = newView;

    // Snapshot the old view before it goes, and the new one laid out in place.
    int index = -1;
    if (oldView && oldView->parentWidget() == this) {
        m_pmOld = UIWindowHost::grabSharp(oldView);
        QList<QWidget*> siblings = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        index = static_cast<int>(siblings.indexOf(oldView));
        oldView->hide();
        oldView->setParent(nullptr);
    } else {
        m_pmOld = QPixmap();
    }
    if (!newView->parentWidget()) {
        newView->setParent(this);
        QList<QWidget*> siblings = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        siblings.removeAll(newView);
        if (index >= 0 && index < siblings.size())
            newView->stackUnder(siblings.at(index));
    }
    newView->setGeometry(rect());
    newView->show();
    m_pmNew = UIWindowHost::grabSharp(newView);

    m_pOverlay = new TransitionOverlay(this);
    static_cast<TransitionOverlay*>(m_pOverlay)->painter = [this](QPainter& p) {
        const double t = m_pAnimation ? m_pAnimation->currentValue().toDouble() : 1.0;
        const int w = width();
        const int h = height();
        QPoint delta;
        switch (m_nDirection) {
        case FromLeft: delta = QPoint(-w, 0); break;
        case FromRight: delta = QPoint(w, 0); break;
        case FromTop: delta = QPoint(0, -h); break;
        case FromBottom: delta = QPoint(0, h); break;
        }
        const QPoint incoming(qRound(delta.x() * (1 - t)), qRound(delta.y() * (1 - t)));
        const QPoint outgoing(qRound(-delta.x() * t), qRound(-delta.y() * t));
        p.fillRect(rect(), Qt::black);
        switch (m_nTransition) {
        case Push:
            p.drawPixmap(outgoing, m_pmOld);
            p.drawPixmap(incoming, m_pmNew);
            break;
        case MoveIn:
            p.drawPixmap(0, 0, m_pmOld);
            p.drawPixmap(incoming, m_pmNew);
            break;
        case Reveal:
            p.drawPixmap(0, 0, m_pmNew);
            p.drawPixmap(outgoing, m_pmOld);
            break;
        case Fade:
            p.drawPixmap(0, 0, m_pmOld);
            p.setOpacity(t);
            p.drawPixmap(0, 0, m_pmNew);
            break;
        }
    };
    m_pOverlay->setGeometry(rect());
    m_pOverlay->show();
    m_pOverlay->raise();

    transitioning = true;
    wasEnabled = isEnabled();
    setEnabled(false);
    if (delegate)
        delegate->transitionViewDidStart(this);

    m_pAnimation = new QVariantAnimation;
    m_pAnimation->setStartValue(0.0);
    m_pAnimation->setEndValue(1.0);
    m_pAnimation->setDuration(std::max(1, static_cast<int>(duration * 1000.0)));
    m_pAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_pAnimation, &QVariantAnimation::valueChanged, this, [this] {
        if (m_pOverlay)
            m_pOverlay->update();
    });
    connect(m_pAnimation, &QVariantAnimation::finished, this, [this] { finish(true); });
    m_pAnimation->start();
    return true;
}

void TransitionView::cancelTransition()
{
    if (transitioning)
        finish(false);
}

void TransitionView::finish(bool finished)
{
    if (!transitioning)
        return;
    QVariantAnimation* animation = m_pAnimation;
    m_pAnimation = nullptr;
    if (animation) {
        animation->disconnect(this);
        animation->stop();
        animation->deleteLater();
    }
    delete m_pOverlay;
    m_pOverlay = nullptr;
    m_pmOld = QPixmap();
    m_pmNew = QPixmap();
    transitioning = false;
    if (wasEnabled)
        setEnabled(true);
    if (delegate) {
        if (finished)
            delegate->transitionViewDidFinish(this);
        else
            delegate->transitionViewDidCancel(this);
    }
}
