#pragma once
// The paged picture help: eleven pictures side by side in a paging view with
// a page control over their foot. Pictures are loaded when their page or a
// neighbour is shown, and kept from then on.

#include <QMap>
#include <QWidget>

class UIImageView;
class UIPageControl;
class UIPagingScrollView;

class HelpView : public QWidget {
    Q_OBJECT
public:
    explicit HelpView(const QRect& frame, QWidget* parent = nullptr);

    // Prepares the pages around nPage (0..10; other values are ignored).
    void loadPage(int nPage);
    void scrollViewDidScroll();
    // Shows a page, sliding to it.
    void scrollToPage(int nPage, bool animated);

    UIPagingScrollView* scrollView() const { return m_pScrollView; }
    UIPageControl* pageControl() const { return m_pPageControl; }
    // The picture view of a page, tagged page + 11; null while not prepared.
    UIImageView* pageView(int nPage) const { return m_mapPages.value(nPage + kPageTagBase, nullptr); }
    int preparedPageCount() const { return static_cast<int>(m_mapPages.size()); }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    static constexpr int kPageTagBase = 11;
    void layoutPages();

    UIPagingScrollView* m_pScrollView;
    UIPageControl* m_pPageControl;
    QStringList m_arrImageNames;
    QMap<int, UIImageView*> m_mapPages;  // by tag
};
