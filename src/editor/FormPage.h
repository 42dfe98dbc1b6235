#pragma once
// One page of the formula wizard: 320 points wide, as tall as the paging view,
// with a title and its controls on a content that scrolls up and down when it
// is taller than the page (a long image list, the parameter page). Sideways
// drags on it turn the wizard's pages.

#include <QLabel>
#include <QWidget>

class UIPagingScrollView;
class UIPageScrollView;

class MIMEView;

class FormPage : public QWidget {
    Q_OBJECT
public:
    FormPage(const QRect& frame, UIPagingScrollView* pager, QWidget* parent);

    QWidget* content() const;
    int contentOffset() const;
    // Scrolls the page up or down just enough to show the widget.
    void ensureVisible(QWidget* widget);
    // Takes the focus away from whatever field of this page has it (the
    // phone's "close the keyboard").
    void closeKeyboard();

protected:
    QLabel* addTitle(const QString& text);
    QLabel* addLabel(const QString& text, int y, int height = 18);
    QLabel* addHint(const QString& text, int y, int height);
    // The line under a TeX preview that names the commands the renderer does
    // not know ("Unknown TeX command: \foo"); hidden while there are none.
    QLabel* addTexMessage(const QRect& frame);
    // Shows the preview's unknown commands in the label; the label's height, 0 when hidden.
    static int showUnknownTex(QLabel* label, const MIMEView& preview);
    void setContentHeight(int height);

    static constexpr int kMargin = 10;
    static constexpr int kFieldWidth = 300;

private:
    UIPageScrollView* m_pScroller;
    QLabel* m_pTitle = nullptr;
};
