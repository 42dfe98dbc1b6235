#pragma once
// The page of the context help: an HTML page from the resource folder's Help
// folder — the help of the wizard step on screen, or the TeX tutorial — in a
// text browser. It loads its first page half a second after it is created.

#include <QString>
#include <QWidget>

class QTextBrowser;

class ContextHelpView : public QWidget {
    Q_OBJECT
public:
    explicit ContextHelpView(const QRect& frame, QWidget* parent = nullptr);

    // Shows content number nContentId (0..3: the step page of g_contextHelpId,
    // larger: the tutorial) unless it is the one shown now.
    void reloadContent(int nContentId);
    void stopLoading();

    QTextBrowser* webView() const { return _webView; }
    int contentId() const { return _contentID; }
    // The resource-relative name of the page shown ("Help/Step2_Help.htm"); "" before the first.
    QString pageName() const { return m_strPageName; }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void loadPage(const QString& name);

    QTextBrowser* _webView;
    int _contentID = 0;
    QString m_strPageName;
};
