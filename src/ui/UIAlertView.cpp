#include "ui/UIAlertView.h"

#include "ui/UIStyle.h"
#include "ui/UIWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace {

QList<QPointer<UIModalOverlay>> mg_vecShown;

constexpr int kAlertWidth = 270;
constexpr int kAlertButtonHeight = 44;
constexpr int kSheetMargin = 8;
constexpr int kSheetButtonHeight = 50;

// A text button of an alert or sheet: tint coloured, darker while pressed.
class UIOverlayButton : public QAbstractButton {
public:
    UIOverlayButton(const QString& title, bool bold, bool destructive, QWidget* parent)
        : QAbstractButton(parent), m_bBold(bold), m_bDestructive(destructive)
    {
        setText(title);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (isDown())
            p.fillRect(rect(), QColor(0, 0, 0, 28));
        if (property("UIKeyboardButton").toBool()) {
            // The button Enter taps.
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(UIStyle::tintColor(), 2));
            p.setBrush(QColor(0, 122, 255, 24));
            p.drawRoundedRect(QRectF(rect()).adjusted(4, 4, -4, -4), 7, 7);
        }
        p.setPen(m_bDestructive ? UIStyle::destructiveColor() : UIStyle::tintColor());
        p.setFont(UIStyle::systemFont(m_bBold ? 17 : 17, m_bBold));
        p.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    bool m_bBold;
    bool m_bDestructive;
};

} // namespace

// ---------------------------------------------------------------- UIModalOverlay

QStringList UIModalOverlay::buttonTitles() const
{
    return m_vecButtonTitles;
}

QAbstractButton* UIModalOverlay::makeButton(const QString& title, int index, QWidget* parent)
{
    auto* button = new UIOverlayButton(title, index == m_nCancelIndex, index == m_nDestructiveIndex, parent);
    connect(button, &QAbstractButton::clicked, this, [this, index] { dismissWithClickedButtonIndex(index); });
    return button;
}

void UIModalOverlay::show()
{
    if (m_bShown || m_bDone)
        return;
    QWidget* host = UIOverlayHost();
    setParent(host);
    if (host)
        setGeometry(host->rect());
    else
        resize(UIWindow::kScreenWidth, UIWindow::kScreenHeight);
    build(this);
    m_bShown = true;
    mg_vecShown.append(this);
    QWidget::show();
    raise();
    // The overlay takes the keyboard while it is up.
    // (Inside the scaled window the application's focus is the window; the
    // widget that had the keyboard is the screen's own focus widget.)
    m_pPreviousFocus = host ? host->focusWidget() : QApplication::focusWidget();
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
    setKeyboardButton(defaultButtonIndex());
}

bool UIModalOverlay::isAnyVisible()
{
    for (const auto& overlay : mg_vecShown)
        if (overlay)
            return true;
    return false;
}

int UIModalOverlay::escapeButtonIndex() const
{
    if (m_nEscapeIndex >= 0)
        return m_nEscapeIndex;
    return m_nCancelIndex >= 0 ? m_nCancelIndex : numberOfButtons() - 1;
}

void UIModalOverlay::setKeyboardButton(int index)
{
    const int n = numberOfButtons();
    if (n == 0)
        return;
    m_nKeyIndex = (index % n + n) % n;
    for (int i = 0; i < n; ++i) {
        m_vecButtons[i]->setProperty("UIKeyboardButton", i == m_nKeyIndex);
        m_vecButtons[i]->update();
    }
}

void UIModalOverlay::keyPressEvent(QKeyEvent* event)
{
    // Every key stops here: nothing behind the overlay hears the keyboard.
    event->accept();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_nKeyIndex >= 0)
            dismissWithClickedButtonIndex(m_nKeyIndex);
        break;
    case Qt::Key_Escape:
        if (numberOfButtons() > 0)
            dismissWithClickedButtonIndex(escapeButtonIndex());
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        setKeyboardButton(m_nKeyIndex - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        setKeyboardButton(m_nKeyIndex + 1);
        break;
    default:
        break;
    }
}

bool UIModalOverlay::focusNextPrevChild(bool next)
{
    setKeyboardButton(m_nKeyIndex + (next ? 1 : -1));
    return true;
}

void UIModalOverlay::dismissWithClickedButtonIndex(int index)
{
    if (m_bDone)
        return;
    m_bDone = true;
    m_bShown = false;
    mg_vecShown.removeAll(this);
    hide();
    if (m_pPreviousFocus && m_pPreviousFocus->isVisible() && !isAnyVisible())
        m_pPreviousFocus->setFocus(Qt::OtherFocusReason);
    clicked(index);
    deleteLater();
}

void UIModalOverlay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), UIStyle::dimmingColor());
}

void UIModalOverlay::mousePressEvent(QMouseEvent* event)
{
    // Swallow taps on the dimmed screen: the overlay is modal to the window.
    event->accept();
}

// ---------------------------------------------------------------- UIAlertView

UIAlertView::UIAlertView(const QString& title, const QString& message, const QString& cancelButtonTitle,
                         const QStringList& otherButtonTitles)
    : m_strMessage(message)
{
    m_strTitle = title;
    if (!cancelButtonTitle.isEmpty()) {
        m_nCancelIndex = 0;
        m_vecButtonTitles.append(cancelButtonTitle);
    }
    m_vecButtonTitles.append(otherButtonTitles);
}

QList<UIAlertView*> UIAlertView::visibleAlerts()
{
    QList<UIAlertView*> list;
    for (const auto& overlay : mg_vecShown)
        if (auto* alert = qobject_cast<UIAlertView*>(overlay.data()))
            list.append(alert);
    return list;
}

void UIAlertView::build(QWidget* host)
{
    auto* titleLabel = new QLabel(m_strTitle, host);
    titleLabel->setFont(UIStyle::systemFont(17, true));
    titleLabel->setAlignment(Qt::AlignCenter);
    titleLabel->setWordWrap(true);
    auto* messageLabel = new QLabel(m_strMessage, host);
    messageLabel->setFont(UIStyle::systemFont(13));
    messageLabel->setAlignment(Qt::AlignCenter);
    messageLabel->setWordWrap(true);
    titleLabel->setObjectName(QStringLiteral("UIAlertTitle"));
    messageLabel->setObjectName(QStringLiteral("UIAlertMessage"));

    const int textWidth = kAlertWidth - 32;
    const int titleHeight = m_strTitle.isEmpty() ? 0 : titleLabel->heightForWidth(textWidth);
    const int messageHeight = m_strMessage.isEmpty() ? 0 : messageLabel->heightForWidth(textWidth);
    const int n = static_cast<int>(m_vecButtonTitles.size());
    const bool sideBySide = n == 2;
    const int buttonsHeight = sideBySide ? kAlertButtonHeight : n * kAlertButtonHeight;
    const int textHeight = 20 + titleHeight + (messageHeight ? 4 + messageHeight : 0) + 20;
    const int boxHeight = textHeight + buttonsHeight;

    m_rBox = QRect((host->width() - kAlertWidth) / 2, (host->height() - boxHeight) / 2, kAlertWidth, boxHeight);
    titleLabel->setGeometry(m_rBox.x() + 16, m_rBox.y() + 20, textWidth, titleHeight);
    messageLabel->setGeometry(m_rBox.x() + 16, m_rBox.y() + 24 + titleHeight, textWidth, messageHeight);

    for (int i = 0; i < n; ++i) {
        QAbstractButton* button = makeButton(m_vecButtonTitles[i], i, host);
        if (sideBySide)
            button->setGeometry(m_rBox.x() + i * kAlertWidth / 2, m_rBox.y() + textHeight, kAlertWidth / 2, kAlertButtonHeight);
        else
            button->setGeometry(m_rBox.x(), m_rBox.y() + textHeight + i * kAlertButtonHeight, kAlertWidth, kAlertButtonHeight);
        m_vecButtons.append(button);
    }
}

void UIAlertView::clicked(int index)
{
    if (onClicked) {
        auto callback = onClicked;
        callback(this, index);
    }
}

void UIAlertView::paintEvent(QPaintEvent* event)
{
    UIModalOverlay::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(m_rBox), 12, 12);
    p.fillPath(box, QColor(250, 250, 252));
    p.setPen(QPen(UIStyle::barSeparatorColor(), 1));
    if (!m_vecButtons.isEmpty()) {
        const int top = m_vecButtons.first()->y();
        p.drawLine(QPointF(m_rBox.left(), top + 0.5), QPointF(m_rBox.right() + 1, top + 0.5));
        for (int i = 1; i < m_vecButtons.size(); ++i) {
            const QRect r = m_vecButtons[i]->geometry();
            if (r.y() == top)
                p.drawLine(QPointF(r.x() + 0.5, r.top()), QPointF(r.x() + 0.5, r.bottom() + 1));
            else
                p.drawLine(QPointF(r.left(), r.y() + 0.5), QPointF(r.right() + 1, r.y() + 0.5));
        }
    }
}

// ---------------------------------------------------------------- UIActionSheet

UIActionSheet::UIActionSheet(const QString& title, const QString& cancelButtonTitle, const QString& destructiveButtonTitle,
                             const QStringList& otherButtonTitles)
{
    m_strTitle = title;
    if (!destructiveButtonTitle.isEmpty()) {
        m_nDestructiveIndex = 0;
        m_vecButtonTitles.append(destructiveButtonTitle);
    }
    m_vecButtonTitles.append(otherButtonTitles);
    if (!cancelButtonTitle.isEmpty()) {
        m_nCancelIndex = static_cast<int>(m_vecButtonTitles.size());
        m_vecButtonTitles.append(cancelButtonTitle);
    }
}

QList<UIActionSheet*> UIActionSheet::visibleSheets()
{
    QList<UIActionSheet*> list;
    for (const auto& overlay : mg_vecShown)
        if (auto* sheet = qobject_cast<UIActionSheet*>(overlay.data()))
            list.append(sheet);
    return list;
}

void UIActionSheet::build(QWidget* host)
{
    const int width = host->width() - 2 * kSheetMargin;
    const int n = static_cast<int>(m_vecButtonTitles.size());
    const int groupButtons = m_nCancelIndex >= 0 ? n - 1 : n;

    QLabel* titleLabel = nullptr;
    int titleHeight = 0;
    if (!m_strTitle.isEmpty()) {
        titleLabel = new QLabel(m_strTitle, host);
        titleLabel->setObjectName(QStringLiteral("UIActionSheetTitle"));
        titleLabel->setFont(UIStyle::systemFont(13, true));
        titleLabel->setAlignment(Qt::AlignCenter);
        titleLabel->setWordWrap(true);
        QPalette palette = titleLabel->palette();
        palette.setColor(QPalette::WindowText, UIStyle::secondaryTextColor());
        titleLabel->setPalette(palette);
        titleHeight = titleLabel->heightForWidth(width - 32) + 28;
    }

    int bottom = host->height() - kSheetMargin;
    if (m_nCancelIndex >= 0) {
        m_rCancel = QRect(kSheetMargin, bottom - kSheetButtonHeight, width, kSheetButtonHeight);
        bottom = m_rCancel.top() - kSheetMargin;
    }
    const int groupHeight = titleHeight + groupButtons * kSheetButtonHeight;
    m_rGroup = QRect(kSheetMargin, bottom - groupHeight, width, groupHeight);
    if (titleLabel)
        titleLabel->setGeometry(m_rGroup.x() + 16, m_rGroup.y(), width - 32, titleHeight);

    int y = m_rGroup.y() + titleHeight;
    for (int i = 0; i < n; ++i) {
        QAbstractButton* button = makeButton(m_vecButtonTitles[i], i, host);
        if (i == m_nCancelIndex) {
            button->setGeometry(m_rCancel);
        } else {
            button->setGeometry(m_rGroup.x(), y, width, kSheetButtonHeight);
            y += kSheetButtonHeight;
        }
        m_vecButtons.append(button);
    }
}

void UIActionSheet::clicked(int index)
{
    if (onClicked) {
        auto callback = onClicked;
        callback(this, index);
    }
}

void UIActionSheet::paintEvent(QPaintEvent* event)
{
    UIModalOverlay::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath group;
    group.addRoundedRect(QRectF(m_rGroup), 13, 13);
    p.fillPath(group, QColor(250, 250, 252, 245));
    if (!m_rCancel.isNull()) {
        QPainterPath cancel;
        cancel.addRoundedRect(QRectF(m_rCancel), 13, 13);
        p.fillPath(cancel, Qt::white);
    }
    p.setPen(QPen(UIStyle::barSeparatorColor(), 1));
    for (int i = 0; i < m_vecButtons.size(); ++i) {
        if (i == m_nCancelIndex)
            continue;
        const QRect r = m_vecButtons[i]->geometry();
        if (r.y() > m_rGroup.y())
            p.drawLine(QPointF(r.left(), r.y() + 0.5), QPointF(r.right() + 1, r.y() + 0.5));
    }
}
