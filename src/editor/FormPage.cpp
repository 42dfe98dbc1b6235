#include "editor/FormPage.h"

#include "editor/CustomControl.h"
#include "ui/MIMEView.h"
#include "ui/UIPagingScrollView.h"
#include "ui/UIView.h"

FormPage::FormPage(const QRect& frame, UIPagingScrollView* pager, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pScroller = new UIPageScrollView(QRect(QPoint(0, 0), frame.size()), pager, this);
}

QWidget* FormPage::content() const
{
    return m_pScroller->contentView();
}

int FormPage::contentOffset() const
{
    return m_pScroller->contentOffset();
}

void FormPage::setContentHeight(int height)
{
    m_pScroller->setContentHeight(height);
}

void FormPage::ensureVisible(QWidget* widget)
{
    if (!widget || !content()->isAncestorOf(widget))
        return;
    const QRect r(widget->mapTo(content(), QPoint(0, 0)), widget->size());
    const int offset = contentOffset();
    const int margin = 6;
    if (r.top() - margin < offset)
        m_pScroller->setContentOffset(r.top() - margin);
    else if (r.bottom() + margin > offset + height())
        m_pScroller->setContentOffset(r.bottom() + margin - height());
}

void FormPage::closeKeyboard()
{
    QWidget* focus = content()->focusWidget();
    if (focus && focus->hasFocus())
        UIResignFocus(focus);
}

QLabel* FormPage::addTitle(const QString& text)
{
    if (!m_pTitle) {
        m_pTitle = new QLabel(content());
        m_pTitle->setFont(WizardStyle::titleFont());
        m_pTitle->setGeometry(kMargin, 8, kFieldWidth - 30, 26);
        QPalette palette = m_pTitle->palette();
        palette.setColor(QPalette::WindowText, QColor(20, 20, 24));
        m_pTitle->setPalette(palette);
    }
    m_pTitle->setText(text);
    return m_pTitle;
}

QLabel* FormPage::addLabel(const QString& text, int y, int height)
{
    auto* label = new QLabel(text, content());
    label->setFont(WizardStyle::labelFont());
    label->setGeometry(kMargin, y, kFieldWidth, height);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, WizardStyle::labelColor());
    label->setPalette(palette);
    return label;
}

QLabel* FormPage::addHint(const QString& text, int y, int height)
{
    auto* label = new QLabel(text, content());
    label->setFont(WizardStyle::hintFont());
    label->setGeometry(kMargin, y, kFieldWidth, height);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, WizardStyle::hintColor());
    label->setPalette(palette);
    return label;
}

QLabel* FormPage::addTexMessage(const QRect& frame)
{
    QLabel* label = addHint(QString(), frame.y(), frame.height());
    label->setGeometry(frame);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(190, 20, 20));
    label->setPalette(palette);
    label->hide();
    return label;
}

int FormPage::showUnknownTex(QLabel* label, const MIMEView& preview)
{
    const QString message = preview.unknownCommandsMessage();
    label->setText(message);
    label->setVisible(!message.isEmpty());
    if (message.isEmpty())
        return 0;
    const int lines = static_cast<int>(message.count(QLatin1Char('\n'))) + 1;
    label->resize(label->width(), lines * label->fontMetrics().lineSpacing() + 2);
    return label->height();
}
