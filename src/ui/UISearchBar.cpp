#include "ui/UISearchBar.h"

#include "ui/UIBarButtonItem.h"
#include "ui/UIStyle.h"
#include "ui/UIView.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kFieldHeight = 28;
constexpr int kIconWidth = 24;
}

UISearchBar::UISearchBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_pField = new QLineEdit(this);
    m_pField->setFrame(false);
    m_pField->setClearButtonEnabled(true);
    // The field takes the keyboard only when tapped, as on the phone.
    m_pField->setFocusPolicy(Qt::ClickFocus);
    m_pField->setFont(UIStyle::systemFont(14));
    m_pField->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_pField->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: #111; "
                                           "selection-background-color: #9cc7ff; }"));
    m_pCancelItem = new UIBarButtonItem(QStringLiteral("Cancel"), UIBarButtonItem::Plain, [this] {
        if (onCancelButtonClicked)
            onCancelButtonClicked();
    }, this);
    m_pCancelButton = new UIBarButton(m_pCancelItem, false, false, this);
    m_pCancelButton->hide();

    connect(m_pField, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (onTextDidChange)
            onTextDidChange(text);
    });
    m_pField->installEventFilter(this);
    connect(m_pField, &QLineEdit::returnPressed, this, [this] {
        if (onSearchButtonClicked)
            onSearchButtonClicked();
    });
}

QString UISearchBar::text() const { return m_pField->text(); }
void UISearchBar::setText(const QString& text) { m_pField->setText(text); }
QString UISearchBar::placeholder() const { return m_pField->placeholderText(); }
void UISearchBar::setPlaceholder(const QString& placeholder) { m_pField->setPlaceholderText(placeholder); }

void UISearchBar::setShowsCancelButton(bool shows)
{
    m_bShowsCancel = shows;
    m_pCancelButton->setVisible(shows);
    layoutContents();
}

void UISearchBar::resignFirstResponder()
{
    UIResignFocus(m_pField);
}

bool UISearchBar::isFirstResponder() const
{
    return m_pField->hasFocus();
}

bool UISearchBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pField && event->type() == QEvent::KeyPress && onArrowDown
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        onArrowDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void UISearchBar::resizeEvent(QResizeEvent*)
{
    layoutContents();
}

void UISearchBar::layoutContents()
{
    int right = width() - 4;
    if (m_bShowsCancel) {
        const QSize s = m_pCancelButton->sizeHint();
        m_pCancelButton->setGeometry(width() - s.width(), (height() - s.height()) / 2, s.width(), s.height());
        right = m_pCancelButton->x() - 2;
    }
    const int top = (height() - kFieldHeight) / 2;
    m_pField->setGeometry(4 + kIconWidth, top, std::max(0, right - 4 - kIconWidth - 4), kFieldHeight);
    update();
}

void UISearchBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int top = (height() - kFieldHeight) / 2;
    const QRectF field(4, top, m_pField->geometry().right() + 4 - 4, kFieldHeight);
    QPainterPath path;
    path.addRoundedRect(field, 7, 7);
    p.fillPath(path, QColor(227, 227, 232));

    // Magnifier.
    QPen pen(UIStyle::secondaryTextColor(), 1.6);
    p.setPen(pen);
    const QPointF c(field.left() + 12, field.center().y() - 1);
    p.drawEllipse(c, 4.6, 4.6);
    p.drawLine(c + QPointF(3.4, 3.4), c + QPointF(7, 7));
}
