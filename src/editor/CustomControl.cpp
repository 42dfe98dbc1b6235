#include "editor/CustomControl.h"

#include "ui/UIImage.h"
#include "ui/UIStyle.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

bool IsReturnKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Flat fields: transparent, no frame, the system font.
void StyleEditor(QWidget* editor)
{
    editor->setFont(WizardStyle::fieldFont());
    editor->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, QColor(20, 20, 24));
    palette.setColor(QPalette::Highlight, UIStyle::tintColor().lighter(160));
    palette.setColor(QPalette::HighlightedText, QColor(20, 20, 24));
    editor->setPalette(palette);
}

// Insets of the typing area inside a framed field.
constexpr int kFieldInsetX = 8;
constexpr int kFieldInsetY = 4;

} // namespace

// ---------------------------------------------------------------- WizardStyle

namespace WizardStyle {

QFont titleFont()
{
    return UIStyle::systemFont(19, true);
}

QFont labelFont()
{
    return UIStyle::systemFont(13, true);
}

QFont fieldFont()
{
    return UIStyle::systemFont(15);
}

QFont hintFont()
{
    return UIStyle::systemFont(11);
}

QColor labelColor()
{
    return QColor(60, 60, 67);
}

QColor hintColor()
{
    return UIStyle::secondaryTextColor();
}

} // namespace WizardStyle

// ---------------------------------------------------------------- UIFormLineEdit

UIFormLineEdit::UIFormLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    StyleEditor(this);
}

void UIFormLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (IsReturnKey(event)) {
        event->accept();
        if (onReturn)
            onReturn();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void UIFormLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (onFocusIn)
        onFocusIn();
}

// ---------------------------------------------------------------- UIFormTextView

UIFormTextView::UIFormTextView(QWidget* parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(2);
    StyleEditor(this);
    viewport()->setAutoFillBackground(false);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (onTextChanged)
            onTextChanged();
    });
}

void UIFormTextView::setText(const QString& text)
{
    setPlainText(text);
}

void UIFormTextView::keyPressEvent(QKeyEvent* event)
{
    if (IsReturnKey(event)) {
        event->accept();
        const bool bFirst = !m_bReturnSeen;
        m_bReturnSeen = true;
        if (m_bIgnoresFirstReturn && bFirst)
            return;
        if (onReturn)
            onReturn();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void UIFormTextView::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    m_bReturnSeen = false;
    if (onFocusIn)
        onFocusIn();
}

void UIFormTextView::insertFromMimeData(const QMimeData* source)
{
    // Line breaks cannot be typed here, and none may be pasted either.
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    insertPlainText(text);
}

// ---------------------------------------------------------------- UIxTextField

UIxTextField::UIxTextField(const QRect& frame, bool multiLine, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    m_pixTop = UIImage::imageNamed(QStringLiteral("EditBkgr_Top.png"));
    m_pixBody = UIImage::imageNamed(QStringLiteral("EditBkgr_Body.png"));
    m_pixBottom = UIImage::imageNamed(QStringLiteral("EditBkgr_Bottom.png"));
    if (multiLine)
        m_pTextView = new UIFormTextView(this);
    else
        m_pLineEdit = new UIFormLineEdit(this);
    setFocusProxy(editor());
    resizeEvent(nullptr);
}

QWidget* UIxTextField::editor() const
{
    return m_pTextView ? static_cast<QWidget*>(m_pTextView) : static_cast<QWidget*>(m_pLineEdit);
}

QString UIxTextField::text() const
{
    return m_pTextView ? m_pTextView->text() : m_pLineEdit->text();
}

void UIxTextField::setText(const QString& text)
{
    if (m_pTextView)
        m_pTextView->setText(text);
    else
        m_pLineEdit->setText(text);
}

void UIxTextField::resizeEvent(QResizeEvent*)
{
    editor()->setGeometry(rect().adjusted(kFieldInsetX - 2, kFieldInsetY, -(kFieldInsetX - 2), -kFieldInsetY));
}

void UIxTextField::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int hTop = m_pixTop.isNull() ? 0 : UIImage::logicalSize(m_pixTop).height();
    const int hBottom = m_pixBottom.isNull() ? 0 : UIImage::logicalSize(m_pixBottom).height();
    if (m_pixTop.isNull() || m_pixBody.isNull() || m_pixBottom.isNull()) {
        // Without the artwork the field still reads as a field.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(UIStyle::barSeparatorColor(), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        return;
    }
    UIImage::draw(p, QRectF(0, 0, w, hTop), m_pixTop);
    UIImage::draw(p, QRectF(0, hTop, w, std::max(0, height() - hTop - hBottom)), m_pixBody);
    UIImage::draw(p, QRectF(0, height() - hBottom, w, hBottom), m_pixBottom);
}

// ---------------------------------------------------------------- UIRoundRectView

UIRoundRectView::UIRoundRectView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void UIRoundRectView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(UIStyle::barSeparatorColor(), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

// ---------------------------------------------------------------- UISwitch

UISwitch::UISwitch(const QPoint& origin, QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setChecked(true);
    setGeometry(QRect(origin, sizeHint()));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onValueChanged)
            onValueChanged(this);
    });
}

void UISwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal r = track.height() / 2;
    p.setPen(isChecked() ? Qt::NoPen : QPen(QColor(229, 229, 234), 1.5));
    p.setBrush(isChecked() ? QColor(52, 199, 89) : QColor(255, 255, 255));
    p.drawRoundedRect(track, r, r);
    const qreal d = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - d : track.left() + 2;
    p.setPen(QPen(QColor(0, 0, 0, 40), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, d, d));
}

// ---------------------------------------------------------------- UIDeleteButton

UIDeleteButton::UIDeleteButton(QWidget* parent) : QAbstractButton(parent)
{
    setText(QStringLiteral("Delete"));
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

void UIDeleteButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = UIStyle::destructiveColor();
    if (isDown())
        fill = fill.darker(130);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(Qt::white);
    p.setFont(UIStyle::systemFont(13, true));
    p.drawText(rect(), Qt::AlignCenter, text());
}

// ---------------------------------------------------------------- UIImageButton

UIImageButton::UIImageButton(const QRect& frame, const QString& normalImage, const QString& highlightedImage,
                             QWidget* parent)
    : QAbstractButton(parent)
{
    setGeometry(frame);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    m_pixNormal = UIImage::imageNamed(normalImage);
    m_pixHighlighted = UIImage::imageNamed(highlightedImage);
}

void UIImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap& pixmap = isDown() && !m_pixHighlighted.isNull() ? m_pixHighlighted : m_pixNormal;
    if (!pixmap.isNull()) {
        UIImage::draw(p, QRectF(rect()), pixmap);
        return;
    }
    // Without the artwork: a round "?" in the tint colour.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(UIStyle::tintColor(), 1.5));
    p.setBrush(isDown() ? UIStyle::tintColor().lighter(170) : QColor(Qt::white));
    p.drawEllipse(QRectF(rect()).adjusted(3, 3, -3, -3));
    p.setFont(UIStyle::systemFont(15, true));
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("?"));
}
