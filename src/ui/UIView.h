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

// Takes the keyboard away from a widget ("closes the keyboard"). Inside the
// scaled window Qt clears the focus of an embedded widget without telling it,
// so the widget is sent its focus-out here: a field still commits its text.
void UIResignFocus(QWidget* widget);

// Shows a one-line text in a label: cut with "…" where it does not fit, the
// whole text then as the label's tooltip.
void UISetElidedText(class QLabel* label, const QString& text);
