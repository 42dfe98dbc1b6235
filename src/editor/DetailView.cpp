#include "editor/DetailView.h"

#include "calc/CalculateViewController.h"
#include "calc/FormulaHandOver.h"
#include "editor/DetailPages.h"
#include "shell/CalcudexAppDelegate.h"
#include "shell/Global.h"
#include "ui/MIMEView.h"

#include <QEasingCurve>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kScrollMilliseconds = 300;
// A swipe longer than this share of a page turns the page.
constexpr qreal kSwipeShare = 0.15;
// The page control's strip and a margin above it.
constexpr int kPageFoot = 30;

// "Courier" of the phone; DejaVu Sans Mono stands in for it.
QFont descriptionFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(17);
    return font;
}

} // namespace

// ---------------------------------------------------------------- UIPagingScrollView

UIPagingScrollView::UIPagingScrollView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pContent = new QWidget(this);
    m_pContent->setAttribute(Qt::WA_TranslucentBackground);
    m_pContent->setGeometry(QRect(QPoint(0, 0), frame.size()));
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

// ---------------------------------------------------------------- DetailView

DetailView::DetailView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    m_pScrollView = new UIPagingScrollView(rect(), this);
    m_pScrollView->setContentSize(size());
    m_pScrollView->onScroll = [this](UIPagingScrollView* scrollView) { scrollViewDidScroll(scrollView); };
    loadAllPages();
}

DetailView::~DetailView() = default;

QWidget* DetailView::pageView(int nPage) const
{
    return m_mapPageViews.value(nPage, nullptr);
}

void DetailView::scrollViewDidScroll(UIPagingScrollView* scrollView)
{
    const int nPage = DetailPageAtOffset(scrollView->contentOffset().x(), scrollView->width());
    CalcudexAppDelegate* delegate = CalcudexAppDelegate::sharedDelegate();
    if (!delegate)
        return;
    if (auto* calculate = qobject_cast<CalculateViewController*>(delegate->m_calculateViewCtrler))
        calculate->setCurrentPage(nPage);
}

bool DetailView::getFormulaInfo()
{
    return getCurrentFormulaRecords(m_pFPos, m_pFDes, m_pFDet);
}

void DetailView::loadAllPages()
{
    m_nPageCount = 0;
    if (!getFormulaInfo())
        return;
    const int w = width();
    const int h = height();
    QWidget* content = m_pScrollView->contentView();

    // Page 0: the framed formula and its parameters. A long description makes
    // the page taller than the view; it then scrolls up and down.
    m_pFirstPage = new UIPageScrollView(QRect(0, 0, w, h), m_pScrollView, content);
    QWidget* firstPage = m_pFirstPage->contentView();
    m_pFormulaView = new MIMEView(QRect(0, 0, w, h), firstPage);
    m_pFormulaView->renderExpression(QString::fromStdString(ComposeFormulaPageTex(m_pFDes, m_pFDet)),
                                     QStringLiteral("\\large"));
    const int nFormulaHeight = m_pFormulaView->bmHeight();
    m_pFormulaView->setGeometry(0, 10, w, nFormulaHeight);
    m_pFormulaView->show();
    m_pScrollView->setContentSize(size());
    m_nPageCount = 1;

    // The description under it, wrapped at words.
    const std::string strDescription = ComposeDescriptionText(m_pFDes);
    if (!strDescription.empty()) {
        const QString text = QString::fromStdString(strDescription);
        const QFont font = descriptionFont();
        const QRect bounds = QFontMetrics(font).boundingRect(QRect(0, 0, 300, 480),
                                                            Qt::AlignLeft | Qt::TextWordWrap, text);
        const QSize textSize(std::min(bounds.width(), 300), std::min(bounds.height(), 480));
        m_pDescriptionLabel = new QLabel(text, firstPage);
        m_pDescriptionLabel->setFont(font);
        m_pDescriptionLabel->setWordWrap(true);
        m_pDescriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_pDescriptionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pDescriptionLabel->setGeometry((w - textSize.width()) / 2, nFormulaHeight + 30, textSize.width(),
                                         textSize.height());
        m_pDescriptionLabel->show();
    }
    // Room below the text for the page control that covers the foot of the page.
    const int nBottom = m_pDescriptionLabel ? m_pDescriptionLabel->geometry().bottom() : m_pFormulaView->geometry().bottom();
    m_pFirstPage->setContentHeight(nBottom + 1 + kPageFoot);
    m_pFirstPage->show();

    // One page for each entry of the image list.
    const std::string strBook = g_sFormulasFolder;
    for (size_t k = 0; k < m_pFDes.m_vecImages.size(); ++k) {
        const std::string& strEntry = m_pFDes.m_vecImages[k];
        const int nPage = static_cast<int>(k) + 1;
        const int x = nPage * w;
        switch (ClassifyDetailImage(strEntry, strBook)) {
        case DETAIL_IMAGE_SKIPPED:
            break;
        case DETAIL_IMAGE_TEX: {
            auto* view = new MIMEView(QRect(x, 0, w, h), content);
            view->renderExpression(QString::fromStdString(strEntry), QStringLiteral("\\large"));
            view->show();
            m_mapPageViews.insert(nPage, view);
            ++m_nPageCount;
            break;
        }
        case DETAIL_IMAGE_PICTURE: {
            const QString path = QString::fromStdString(
                DetailPicturePath(strEntry, strBook, getDocumentsFolder(), g_sAppPath));
            const QPixmap picture(path);
            // A picture that cannot be loaded leaves its page empty; the page still counts.
            if (!picture.isNull()) {
                auto* view = new QLabel(content);
                view->setPixmap(picture);
                view->setAttribute(Qt::WA_TransparentForMouseEvents);
                const QSize size = picture.size() / picture.devicePixelRatio();
                view->setGeometry(x + (w - size.width()) / 2, (h - size.height()) / 2, size.width(), size.height());
                view->show();
                m_mapPageViews.insert(nPage, view);
            }
            ++m_nPageCount;
            break;
        }
        }
        m_pScrollView->setContentSize(QSize((static_cast<int>(k) + 2) * w, h));
    }
}
