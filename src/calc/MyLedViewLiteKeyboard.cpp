// The input line and the physical keyboard: typed characters, Backspace,
// Delete and the caret keys become the keypad's key codes (calc/LedKeyCodes.h,
// calc/LedKeyboardInput.h), so a line typed by keyboard holds exactly the
// tokens the keypad builds. Copy, cut and paste, by shortcut and by the
// right-click menu. The keys that act on the whole screen (Enter, Tab, Up,
// Down, Space) belong to the calculation screen and never reach the line.

#include "calc/MyLedViewLite.h"

#include "calc/LedKeyCodes.h"
#include "ui/UIAlertView.h"
#include "ui/UILogging.h"
#include "ui/UIStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString kPasteRefusedMessage = QStringLiteral("Only a number or an expression can be pasted into this line.");

bool IsNumberToken(const std::u16string& strToken)
{
    return strToken.size() == 1 && ((strToken[0] >= u'0' && strToken[0] <= u'9') || strToken[0] == u'.');
}

} // namespace

bool MyLedViewLite::TokenBeforeCaretIsNumber() const
{
    const int nCaret = m_model.content().iCaretIndex;
    return nCaret > 0 && IsNumberToken(m_model.Token(nCaret - 1));
}

bool MyLedViewLite::PerformKeys(const std::vector<int>& vecKeys)
{
    // All or nothing: the keys are tried on a copy of the line first.
    LedTokenModel trial = m_model;
    for (int nKey : vecKeys)
        if (!trial.InputCommand(nKey))
            return false;
    for (int nKey : vecKeys)
        InputCommand(nKey);
    return true;
}

void MyLedViewLite::CaretToEnd(bool bEnd)
{
    const int nKey = bEnd ? led::KEY_CARET_RIGHT_10 : led::KEY_CARET_LEFT_10;
    for (int i = 0; i <= LED_MAX_TOKENS / 10 && m_model.content().iCaretIndex != (bEnd ? m_model.TokenCount() : 0); ++i)
        InputCommand(nKey);
}

QString MyLedViewLite::pendingTyping() const
{
    return QString::fromStdU16String(m_typing.PendingText());
}

void MyLedViewLite::commitTyping()
{
    const std::vector<int> vecKeys = m_typing.Commit();
    if (!PerformKeys(vecKeys))
        QApplication::beep();
    update();
}

// ---------------------------------------------------------------- keys

void MyLedViewLite::keyPressEvent(QKeyEvent* event)
{
    if (!m_bUserInteraction) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteFromClipboard();
        return;
    }
    const bool bWord = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
        if (!m_typing.Backspace()) {
            m_typing.Reset();
            // The token before the caret: the keypad's caret left, then delete.
            if (m_model.content().iCaretIndex > 0)
                PerformKeys({led::KEY_CARET_LEFT, led::KEY_DELETE});
        }
        update();
        return;
    case Qt::Key_Delete:
        m_typing.Reset();
        InputCommand(led::KEY_DELETE);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        commitTyping();
        if (event->key() == Qt::Key_Left)
            InputCommand(bWord ? led::KEY_CARET_LEFT_10 : led::KEY_CARET_LEFT);
        else
            InputCommand(bWord ? led::KEY_CARET_RIGHT_10 : led::KEY_CARET_RIGHT);
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        commitTyping();
        CaretToEnd(event->key() == Qt::Key_End);
        return;
    case Qt::Key_Escape:
        if (m_typing.IsPending()) {
            m_typing.Reset();
            update();
            return;
        }
        break;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        || !text.at(0).isPrint()) {
        event->ignore();
        return;
    }
    for (QChar ch : text) {
        const std::vector<int> vecKeys = m_typing.Type(ch.unicode(), TokenBeforeCaretIsNumber());
        if (m_typing.WasRefused() || !PerformKeys(vecKeys)) {
            qCDebug(lcKeyboard) << "the line takes no" << ch;
            QApplication::beep();
        }
    }
    update();
}

void MyLedViewLite::setKeyboardHint(bool bHint)
{
    if (bHint == m_bKeyboardHint)
        return;
    m_bKeyboardHint = bHint;
    update();
}

void MyLedViewLite::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (!blSelected && m_pDelegate && m_bUserInteraction)
        m_pDelegate->selectedMyLedViewLite(this);
    update();
}

void MyLedViewLite::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A name half typed is typed when the keyboard goes elsewhere (a menu of
    // the line keeps it for the paste).
    if (event->reason() != Qt::PopupFocusReason)
        commitTyping();
    update();
}

// ---------------------------------------------------------------- clipboard

void MyLedViewLite::copyToClipboard()
{
    commitTyping();
    QApplication::clipboard()->setText(
        QString::fromStdU16String(led::PlainTextOfLine(m_model.content().strMutRawInput)));
}

bool MyLedViewLite::copyNumberToClipboard()
{
    const std::u16string strNumber = led::NumberTextOfLine(m_model.content().strMutRawInput);
    if (strNumber.empty())
        return false;
    QApplication::clipboard()->setText(QString::fromStdU16String(strNumber));
    return true;
}

void MyLedViewLite::cutToClipboard()
{
    copyToClipboard();
    if (m_bUserInteraction)
        InputCommand(led::KEY_CLEAR_LINE);
}

bool MyLedViewLite::pasteFromClipboard()
{
    if (!m_bUserInteraction)
        return false;
    commitTyping();
    const QString text = QApplication::clipboard()->text().trimmed();
    std::vector<int> vecKeys;
    if (text.isEmpty() || !led::TextToKeyCodes(text.toStdU16String(), TokenBeforeCaretIsNumber(), vecKeys)
        || !PerformKeys(vecKeys)) {
        auto* alert = new UIAlertView(QStringLiteral("Warning!"), kPasteRefusedMessage, QStringLiteral("OK"));
        alert->show();
        return false;
    }
    return true;
}

void MyLedViewLite::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_bUserInteraction)
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"), this, &MyLedViewLite::copyToClipboard)->setEnabled(m_model.TokenCount() > 0);
    QAction* number = menu.addAction(QStringLiteral("Copy Result as Number"), this,
                                     &MyLedViewLite::copyNumberToClipboard);
    number->setEnabled(!led::NumberTextOfLine(m_model.content().strMutRawInput).empty());
    menu.addAction(QStringLiteral("Paste"), this, &MyLedViewLite::pasteFromClipboard)
        ->setEnabled(!QApplication::clipboard()->text().trimmed().isEmpty());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Clear"), this, [this] {
        m_typing.Reset();
        InputCommand(led::KEY_CLEAR_LINE);
    });
    menu.exec(event->globalPos());
}

// ---------------------------------------------------------------- drawing

// The letters of a name being typed, at the caret, with the rest of the
// token they will give in a lighter grey.
void MyLedViewLite::DrawPendingTyping(QPainter& painter, qreal fCaretX)
{
    const QString typed = QString::fromStdU16String(m_typing.PendingText());
    const QString completion = QString::fromStdU16String(m_typing.CompletionText());
    const QString rest = completion.size() > typed.size() ? completion.mid(typed.size()) : QString();
    QFont font = _fontInputExpStr;
    font.setItalic(true);
    const QFontMetricsF fm(font);
    const QRectF textArea(m_model.region(LED_REGION_TEXT).x, m_model.region(LED_REGION_TEXT).y,
                          m_model.region(LED_REGION_TEXT).width, m_model.region(LED_REGION_TEXT).height);
    const qreal w = fm.horizontalAdvance(typed + rest) + 6;
    const qreal x = std::min(fCaretX, textArea.right() - w);
    const QRectF box(x, textArea.top() + 2, w, textArea.height() - 4);
    QPainterPath path;
    path.addRoundedRect(box, 4, 4);
    painter.fillPath(path, QColor(236, 242, 255));
    painter.setPen(QPen(UIStyle::tintColor(), 1));
    painter.drawPath(path);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 44));
    const QRectF textBox = box.adjusted(3, 0, -3, 0);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, typed);
    painter.setPen(UIStyle::secondaryTextColor());
    painter.drawText(textBox.adjusted(fm.horizontalAdvance(typed), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, rest);
}
