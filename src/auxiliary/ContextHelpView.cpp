#include "auxiliary/ContextHelpView.h"

#include "auxiliary/HelpPages.h"
#include "shell/Global.h"
#include "ui/UITimer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>

namespace {
constexpr double kFirstLoadSeconds = 0.5;
}

ContextHelpView::ContextHelpView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    _webView = new QTextBrowser(this);
    _webView->setGeometry(0, 0, 320, 415);
    _webView->setFrameShape(QFrame::NoFrame);
    _webView->setOpenLinks(true);
    _webView->setOpenExternalLinks(false);
    _webView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The page of the step the wizard shows now; from then on that is the page shown.
    UITimer::scheduledTimer(kFirstLoadSeconds, false, this, [this] {
        if (!m_strPageName.isEmpty())
            return;  // shown (and loaded) before the delay ran out
        _contentID = std::clamp(g_contextHelpId, 0, 3);
        loadPage(QString::fromStdString(contextHelpPageName(_contentID, g_contextHelpId)));
    });
}

void ContextHelpView::resizeEvent(QResizeEvent*)
{
    _webView->setGeometry(rect());
}

void ContextHelpView::reloadContent(int nContentId)
{
    if (nContentId == _contentID && !m_strPageName.isEmpty())
        return;
    _contentID = nContentId;
    loadPage(QString::fromStdString(contextHelpPageName(nContentId, g_contextHelpId)));
}

void ContextHelpView::stopLoading()
{
    // Local pages load at once; there is nothing in flight to stop.
}

void ContextHelpView::loadPage(const QString& name)
{
    m_strPageName = name;
    const QString path = QString::fromStdString(g_sAppPath) + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path)) {
        _webView->setHtml(QStringLiteral("<p style=\"margin:12px\">This help page is missing: %1</p>").arg(name.toHtmlEscaped()));
        return;
    }
    _webView->setSource(QUrl::fromLocalFile(path));
}
