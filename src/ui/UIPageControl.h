#pragma once
// A row of dots under paged content, one per page, the current one dark. A
// tap on its right half asks for the next page, on its left half for the
// previous one; the action runs after every tap that ends, inside or outside.

#include <QWidget>
#include <functional>

class UIPageControl : public QWidget {
    Q_OBJECT
public:
    explicit UIPageControl(const QRect& frame = QRect(), QWidget* parent = nullptr);

    int numberOfPages() const { return m_nPages; }
    void setNumberOfPages(int nPages);
    int currentPage() const { return m_nCurrentPage; }
    void setCurrentPage(int nPage);  // kept within the pages

    std::function<void(UIPageControl*)> onAction;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_nPages = 0;
    int m_nCurrentPage = 0;
    bool m_bPressed = false;
};
