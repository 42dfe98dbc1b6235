#include "ui/UIPagingScrollView.h"

#include "ui/UIStyle.h"

#include <QEasingCurve>
#include <QKeyEvent>
#include <QPainter>
#include <QMouseEvent>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kScrollMilliseconds = 300;
// A swipe longer than this share of a page turns the page.
constexpr qreal kSwipeShare = 0.15;
// Up and Down scroll a tall page by this much.
constexpr int kLineStep = 40;

// The frame that shows the pages have the keyboard; it lets every touch through.
class UIPagingFocusFrame : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(UIStyle::tintColor(), 2));
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
};

} // namespace

// ---------------------------------------------------------------- UIPagingScrollView

UIPagingScrollView::UIPagingScrollView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pContent = new QWidget(this);
    m_pContent->setAttribute(Qt::WA_TranslucentBackground);
    m_pContent->setGeometry(QRect(QPoint(0, 0), frame.size()));
    setFocusPolicy(Qt::StrongFocus);
    m_pFocusFrame = new UIPagingFocusFrame(this);
    m_pFocusFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pFocusFrame->hide();
}

void UIPagingScrollView::setContentSize(const QSize& size)
{
    m_pContent->resize(size);
    applyOffset(clamped(m_ptOffset));
}

QPointF UIPagingScrollView::clamped(const QPointF& offset) const
{
    const qreal maxX = std::max(0, m_pContent->width() - width());
    const qreal maxY = std::max(0, m_pContent->height() - height());
    return QPointF(std::clamp(offset.x(), 0.0, maxX), std::clamp(offset.y(), 0.0, maxY));
}

void UIPagingScrollView::applyOffset(const QPointF& offset)
{
    const bool bChanged = offset != m_ptOffset;
    m_ptOffset = offset;
    m_pContent->move(-qRound(offset.x()), -qRound(offset.y()));
    if (bChanged && onScroll)
        onScroll(this);
}

bool UIPagingScrollView::isAnimating() const
{
    return m_pAnimation && m_pAnimation->state() == QAbstractAnimation::Running;
}

void UIPagingScrollView::setContentOffset(const QPointF& offset, bool animated)
{
    if (m_pAnimation) {
        m_pAnimation->stop();
        m_pAnimation->deleteLater();
        m_pAnimation = nullptr;
    }
    const QPointF target = clamped(offset);
    if (!animated || target == m_ptOffset) {
        applyOffset(target);
        return;
    }
    m_pAnimation = new QVariantAnimation(this);
    m_pAnimation->setStartValue(m_ptOffset);
    m_pAnimation->setEndValue(target);
    m_pAnimation->setDuration(kScrollMilliseconds);
    m_pAnimation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_pAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { applyOffset(value.toPointF()); });
    m_pAnimation->start();
}

void UIPagingScrollView::scrollRectToVisible(const QRectF& rect, bool animated)
{
    QPointF offset = m_ptOffset;
    if (rect.left() < offset.x())
        offset.setX(rect.left());
    else if (rect.right() > offset.x() + width())
        offset.setX(rect.right() - width());
    setContentOffset(offset, animated);
}

void UIPagingScrollView::beginPan(qreal x)
{
    setContentOffset(m_ptOffset, false);  // a touch stops a glide
    m_bDragging = true;
    m_fPressX = x;
    m_fPressOffset = m_ptOffset.x();
}

void UIPagingScrollView::panTo(qreal x)
{
    if (m_bDragging)
        applyOffset(clamped(QPointF(m_fPressOffset - (x - m_fPressX), m_ptOffset.y())));
}

void UIPagingScrollView::endPan(qreal x)
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    const qreal w = std::max(1, width());
    const qreal moved = m_fPressX - x;
    const int nStartPage = static_cast<int>(std::lround(m_fPressOffset / w));
    int nPage = static_cast<int>(std::lround(m_ptOffset.x() / w));
    if (moved > w * kSwipeShare)
        nPage = nStartPage + 1;
    else if (moved < -w * kSwipeShare)
        nPage = nStartPage - 1;
    setContentOffset(QPointF(nPage * w, m_ptOffset.y()), true);
}

void UIPagingScrollView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        beginPan(event->position().x());
}

void UIPagingScrollView::mouseMoveEvent(QMouseEvent* event)
{
    panTo(event->position().x());
}

void UIPagingScrollView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        endPan(event->position().x());
}

int UIPagingScrollView::currentPage() const
{
    return static_cast<int>(std::lround(m_ptOffset.x() / std::max(1, width())));
}

int UIPagingScrollView::pageCount() const
{
    return std::max(1, (m_pContent->width() + width() - 1) / std::max(1, width()));
}

void UIPagingScrollView::turnToPage(int page)
{
    page = std::clamp(page, 0, pageCount() - 1);
    setContentOffset(QPointF(page * width(), m_ptOffset.y()), true);
}

void UIPagingScrollView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    // A glide under way counts as arrived: quick presses turn page after page.
    const int page = m_pAnimation && isAnimating()
                         ? static_cast<int>(std::lround(m_pAnimation->endValue().toPointF().x() / std::max(1, width())))
                         : currentPage();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        turnToPage(page - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        turnToPage(page + 1);
        break;
    case Qt::Key_Home:
        turnToPage(0);
        break;
    case Qt::Key_End:
        turnToPage(pageCount() - 1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The tall page on screen scrolls.
        for (UIPageScrollView* pageView : m_pContent->findChildren<UIPageScrollView*>()) {
            if (pageView->mapTo(this, QPoint(0, 0)).x() == 0) {
                pageView->setContentOffset(pageView->contentOffset()
                                           + (event->key() == Qt::Key_Down ? kLineStep : -kLineStep));
                break;
            }
        }
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void UIPagingScrollView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_pFocusFrame->setGeometry(rect());
    m_pFocusFrame->show();
    m_pFocusFrame->raise();
}

void UIPagingScrollView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_pFocusFrame->hide();
}

void UIPagingScrollView::resizeEvent(QResizeEvent*)
{
    m_pFocusFrame->setGeometry(rect());
}

// ---------------------------------------------------------------- UIPageScrollView

UIPageScrollView::UIPageScrollView(const QRect& frame, UIPagingScrollView* pager, QWidget* parent)
    : QWidget(parent), m_pPager(pager)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pContent = new QWidget(this);
    m_pContent->setAttribute(Qt::WA_TranslucentBackground);
    m_pContent->setGeometry(QRect(QPoint(0, 0), frame.size()));
}

void UIPageScrollView::setContentHeight(int height)
{
    m_pContent->resize(width(), std::max(height, this->height()));
    setContentOffset(contentOffset());
}

void UIPageScrollView::setContentOffset(int offset)
{
    m_pContent->move(0, -std::clamp(offset, 0, std::max(0, m_pContent->height() - height())));
}

void UIPageScrollView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bPressed = true;
    m_eDirection = Undecided;
    m_ptPress = event->position();
    m_nPressOffset = contentOffset();
    m_pPager->beginPan(m_pPager->mapFromGlobal(event->globalPosition()).x());
}

void UIPageScrollView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bPressed)
        return;
    const QPointF moved = event->position() - m_ptPress;
    if (m_eDirection == Undecided && std::hypot(moved.x(), moved.y()) > 6)
        m_eDirection = std::abs(moved.y()) > std::abs(moved.x()) ? Vertical : Sideways;
    // The pager follows the finger in its own coordinates: this page moves
    // with the pages, the screen position does not.
    if (m_eDirection == Sideways)
        m_pPager->panTo(m_pPager->mapFromGlobal(event->globalPosition()).x());
    else if (m_eDirection == Vertical)
        setContentOffset(m_nPressOffset - qRound(moved.y()));
}

void UIPageScrollView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bPressed || event->button() != Qt::LeftButton)
        return;
    m_bPressed = false;
    m_pPager->endPan(m_pPager->mapFromGlobal(event->globalPosition()).x());
}

void UIPageScrollView::wheelEvent(QWheelEvent* event)
{
    setContentOffset(contentOffset() - event->angleDelta().y() / 4);
}
