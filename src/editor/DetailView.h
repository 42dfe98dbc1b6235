#pragma once
// The detail pages of a formula, side by side in a paging scroll view: the
// framed formula with its parameter list and description, then one page per
// entry of its image list (a picture or a further TeX expression). The
// calculation screen shows it in place of the rows and puts a page control
// under it; while the pages scroll the screen hears which page is shown,
// through DetailViewDelegate.

#include "storage/FormulaRecords.h"
#include "ui/UIPagingScrollView.h"

#include <QMap>
#include <QWidget>

class QLabel;
class MIMEView;

// The screen that shows the detail pages.
class DetailViewDelegate {
public:
    // The page now shown, 0 for the formula page.
    virtual void setCurrentPage(int nPage) = 0;

protected:
    ~DetailViewDelegate() = default;
};

class DetailView : public QWidget {
    Q_OBJECT
public:
    explicit DetailView(const QRect& frame = QRect(), QWidget* parent = nullptr);
    ~DetailView() override;

    void setDelegate(DetailViewDelegate* delegate) { m_pDelegate = delegate; }

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

    DetailViewDelegate* m_pDelegate = nullptr;
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
