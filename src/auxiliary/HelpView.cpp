#include "auxiliary/HelpView.h"

#include "auxiliary/HelpPages.h"
#include "shell/Global.h"
#include "ui/UIPageControl.h"
#include "ui/UIPaging.h"
#include "ui/UIPagingScrollView.h"

#include "ui/UIImage.h"

#include <QLabel>
#include <QPixmap>

namespace {
constexpr int kPageControlHeight = 20;
constexpr int kPageControlRise = 39;  // its top edge above the view's bottom
}

HelpView::HelpView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    for (int p = 0; p < HELP_PAGE_COUNT; ++p)
        m_arrImageNames << QString::fromStdString(helpPageImageName(p));

    m_pScrollView = new UIPagingScrollView(rect(), this);
    m_pScrollView->onScroll = [this](UIPagingScrollView*) { scrollViewDidScroll(); };

    m_pPageControl = new UIPageControl(QRect(0, height() - kPageControlRise, width(), kPageControlHeight), this);
    QPalette grey = m_pPageControl->palette();
    grey.setColor(QPalette::Window, QColor::fromRgbF(0.667f, 0.667f, 0.667f, 0.667f));
    m_pPageControl->setPalette(grey);
    m_pPageControl->setNumberOfPages(HELP_PAGE_COUNT);
    // A tap on the dots turns the page as a swipe would.
    m_pPageControl->onAction = [this](UIPageControl* control) { scrollToPage(control->currentPage(), true); };
    m_pPageControl->raise();

    layoutPages();
    loadPage(0);
}

void HelpView::resizeEvent(QResizeEvent*)
{
    layoutPages();
}

void HelpView::layoutPages()
{
    const int page = m_pPageControl->currentPage();
    m_pScrollView->setGeometry(rect());
    m_pScrollView->setContentSize(QSize(width() * HELP_PAGE_COUNT, height()));
    for (auto it = m_mapPages.begin(); it != m_mapPages.end(); ++it)
        it.value()->setGeometry((it.key() - kPageTagBase) * width(), 0, width(), height());
    m_pScrollView->setContentOffset(QPointF(page * width(), 0));
    m_pPageControl->setGeometry(0, height() - kPageControlRise, width(), kPageControlHeight);
    m_pPageControl->raise();
}

void HelpView::loadPage(int nPage)
{
    for (int p : helpPagesToPrepare(nPage)) {
        const int tag = p + kPageTagBase;
        if (m_mapPages.contains(tag))
            continue;
        auto* view = new UIImageView(m_pScrollView->contentView());
        view->setProperty("tag", tag);
        view->setAttribute(Qt::WA_TransparentForMouseEvents);
        const QString path = QString::fromStdString(g_sAppPath) + QLatin1Char('/') + m_arrImageNames.at(p);
        QPixmap picture(path);
        if (!picture.isNull()) {
            // The picture fills the page; painted at twice the page's size, it
            // stays sharp up to twice the screen's size.
            view->setPixmap(picture);
        }
        view->setGeometry(p * width(), 0, width(), height());
        view->show();
        m_mapPages.insert(tag, view);
    }
}

void HelpView::scrollViewDidScroll()
{
    const int nPage = pageAtOffset(m_pScrollView->contentOffset().x(), m_pScrollView->width());
    m_pPageControl->setCurrentPage(nPage);
    loadPage(nPage);
}

void HelpView::scrollToPage(int nPage, bool animated)
{
    m_pScrollView->setContentOffset(QPointF(nPage * width(), 0), animated);
}
