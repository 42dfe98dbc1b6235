#pragma once
// The small formula icon at the right of a browser row. A tap on it reports
// the icon's tag and then carries on to the row beneath, so the row is
// selected as well and the browser knows the tap was meant for the icon.

#include <QPixmap>
#include <QWidget>
#include <functional>

class FormulaIconView : public QWidget {
    Q_OBJECT
public:
    FormulaIconView(const QPixmap& image, int tag, QWidget* parent);
    int tag() const { return m_nTag; }
    // A row configured again keeps its icon and gives it its new picture and tag.
    void setIcon(const QPixmap& image, int tag);
    std::function<void(int)> onAction;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap m_image;
    int m_nTag;
};
