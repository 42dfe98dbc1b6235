#pragma once
// Paged content: a view that scrolls sideways page by page, and a page of it
// whose own content may be taller than the page. The detail pages, the
// formula wizard and the paged help are built on them; which page an offset
// shows is pageAtOffset (ui/UIPaging.h).

#include <QPointF>
#include <QSize>
#include <QWidget>
#include <functional>

class QVariantAnimation;

// A horizontally scrolling view that settles on whole pages: dragging moves
// the content with the finger, releasing it glides to the nearest page, or
// to the next one in the direction of a clear swipe. With the keyboard,
// Left and Page Up turn back a page, Right and Page Down forward, Home and
// End go to the first and last page, Up and Down scroll a tall page; a frame
// shows that the pages have the keyboard.
class UIPagingScrollView : public QWidget {
    Q_OBJECT
public:
    explicit UIPagingScrollView(const QRect& frame = QRect(), QWidget* parent = nullptr);

    // Subviews of the pages go into the content view.
    QWidget* contentView() const { return m_pContent; }
    QSize contentSize() const { return m_pContent->size(); }
    void setContentSize(const QSize& size);
    QPointF contentOffset() const { return m_ptOffset; }
    void setContentOffset(const QPointF& offset, bool animated = false);
    // Shows the rectangle (content coordinates) by scrolling as little as needed.
    void scrollRectToVisible(const QRectF& rect, bool animated);
    bool isAnimating() const;

    std::function<void(UIPagingScrollView*)> onScroll;

    // A horizontal pan in the view's own x coordinates; the pages' own
    // scrollers hand their sideways drags on through these.
    void beginPan(qreal x);
    void panTo(qreal x);
    void endPan(qreal x);

    // The page shown (the nearest to the offset) and turning to another.
    int currentPage() const;
    int pageCount() const;
    void turnToPage(int page);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF clamped(const QPointF& offset) const;
    void applyOffset(const QPointF& offset);

    QWidget* m_pContent;
    QWidget* m_pFocusFrame;
    QPointF m_ptOffset;
    QVariantAnimation* m_pAnimation = nullptr;
    bool m_bDragging = false;
    qreal m_fPressX = 0;
    qreal m_fPressOffset = 0;
};

// A page whose content may be taller than the page: vertical drags and the
// wheel scroll it, sideways drags turn the pages of the paging view around it.
class UIPageScrollView : public QWidget {
    Q_OBJECT
public:
    UIPageScrollView(const QRect& frame, UIPagingScrollView* pager, QWidget* parent);

    QWidget* contentView() const { return m_pContent; }
    void setContentHeight(int height);
    int contentOffset() const { return -m_pContent->y(); }
    void setContentOffset(int offset);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum Direction { Undecided, Vertical, Sideways };

    UIPagingScrollView* m_pPager;
    QWidget* m_pContent;
    Direction m_eDirection = Undecided;
    bool m_bPressed = false;
    QPointF m_ptPress;
    int m_nPressOffset = 0;
};
