#include "editor/DetailView.h"

#include "calc/FormulaHandOver.h"
#include "editor/DetailPages.h"
#include "shell/Global.h"
#include "ui/MIMEView.h"
#include "ui/UIImage.h"
#include "ui/UIPaging.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

namespace {

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
    if (m_pDelegate)
        m_pDelegate->setCurrentPage(pageAtOffset(scrollView->contentOffset().x(), scrollView->width()));
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
                auto* view = new UIImageView(content);
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
