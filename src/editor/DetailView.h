#pragma once
// The detail pages of a formula, side by side in a paging scroll view: the
// framed formula with its parameter list and description, then one page per
// entry of its image list (a picture or a further TeX expression). The
// calculation screen shows it in place of the rows and puts a page control
// under it; while the pages scroll the screen hears which page is shown.

#include "storage/FormulaRecords.h"

#include <QMap>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>

class QLabel;
class QVariantAnimation;
class MIMEView;

// A horizontally scrolling view that settles on whole pages: dragging moves
// the content with the finger, releasing it glides to the nearest page, or
// to the next one in the direction of a clear swipe.
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

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF clamped(const QPointF& offset) const;
    void applyOffset(const QPointF& offset);

    QWidget* m_pContent;
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

class DetailView : public QWidget {
    Q_OBJECT
public:
    explicit DetailView(const QRect& frame = QRect(), QWidget* parent = nullptr);
    ~DetailView() override;

    UIPagingScrollView* scrollView() const { return m_pScrollView; }
    void setScrollView(UIPagingScrollView* scrollView) { m_pScrollView = scrollView; }
    int getPages() const { return m_nPageCount; }

    // What the pages show, for the screens and the tests.
    MIMEView* formulaView() const { return m_pFormulaView; }
    QLabel* descriptionLabel() const { return m_pDescriptionLabel; }
    UIPageScrollView* firstPage() const { return m_pFirstPage; }
    QWidget* pageView(int nPage) const;  // the picture or TeX view of page >= 1; null when empty

    void scrollViewDidScroll(UIPagingScrollView* scrollView);

private:
    bool getFormulaInfo();
    void loadAllPages();

    UIPagingScrollView* m_pScrollView = nullptr;
    _tag_formula_pos m_pFPos;
    _tag_formula_des m_pFDes;
    _tag_formula_detail m_pFDet;
    int m_nPageCount = 0;
    UIPageScrollView* m_pFirstPage = nullptr;
    MIMEView* m_pFormulaView = nullptr;
    QLabel* m_pDescriptionLabel = nullptr;
    QMap<int, QWidget*> m_mapPageViews;
};
