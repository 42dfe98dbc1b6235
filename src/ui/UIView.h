#pragma once
// A plain screen view with a background colour that lays out its subviews
// again whenever its frame changes (the tab bar hiding, full-screen mode).

#include <QColor>
#include <QWidget>
#include <functional>

class UIView : public QWidget {
    Q_OBJECT
public:
    explicit UIView(const QColor& background = Qt::white, QWidget* parent = nullptr);
    void setBackgroundColor(const QColor& color);
    std::function<void(UIView*)> onLayout;

protected:
    void resizeEvent(QResizeEvent*) override;
};
