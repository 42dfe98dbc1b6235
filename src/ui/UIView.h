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

// Removes a widget that may be handling an event right now (a bar button
// whose tap rebuilt the bar, an icon whose tap reloaded its row): it is
// hidden at once and deleted when control is back in the event loop. Inside
// the scaled window Qt's event delivery still refers to the widget after its
// handler returns, and a widget deleted there crashes the program.
void UIDiscardWidget(QWidget* widget);
