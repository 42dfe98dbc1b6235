#pragma once
// A container that swaps one child view for another with an animation (push,
// move-in, reveal or fade, from any side). A request made while a transition
// runs is ignored; user input is off for the duration.

#include <QPointer>
#include <QWidget>

class QVariantAnimation;
class TransitionView;

class TransitionViewDelegate {
public:
    virtual ~TransitionViewDelegate() = default;
    virtual void transitionViewDidStart(TransitionView* view) {}
    virtual void transitionViewDidFinish(TransitionView* view) {}
    virtual void transitionViewDidCancel(TransitionView* view) {}
};

class TransitionView : public QWidget {
    Q_OBJECT
public:
    enum Transition { Push, MoveIn, Reveal, Fade };
    enum Direction { FromLeft, FromRight, FromTop, FromBottom };

    explicit TransitionView(QWidget* parent = nullptr);
    ~TransitionView() override;

    // Replaces `oldView` by `newView`; false when a transition is already running.
    bool replaceSubview(QWidget* oldView, QWidget* newView, Transition transition, Direction direction, double duration);
    void cancelTransition();
    bool isTransitioning() const { return transitioning; }

    TransitionViewDelegate* delegate = nullptr;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void finish(bool finished);
    void step(double progress);

    bool transitioning = false;
    bool wasEnabled = true;
    QPointer<QWidget> m_pOldView;
    QPointer<QWidget> m_pNewView;
    QWidget* m_pOverlay = nullptr;
    QPixmap m_pmOld;
    QPixmap m_pmNew;
    Transition m_nTransition = Push;
    Direction m_nDirection = FromLeft;
    QVariantAnimation* m_pAnimation = nullptr;
};
