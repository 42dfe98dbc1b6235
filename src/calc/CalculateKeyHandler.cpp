#include "calc/CalculateKeyHandler.h"

#include "calc/CalculateViewController.h"
#include "calc/CalculationProcedure.h"
#include "calc/LedKeyCodes.h"

#include <QCoreApplication>
#include <QKeyEvent>

CalculateKeyHandler::CalculateKeyHandler(CalculateViewController* screen) : QObject(screen), m_pScreen(screen)
{
    QWidget* view = screen->view();
    // An empty spot of the screen holds the keyboard until a line takes it.
    view->setFocusPolicy(Qt::StrongFocus);
    view->installEventFilter(this);
    // The rows' list takes no keyboard of its own: its lines do. It holds it
    // while it lays its rows out, or when the line scrolled away; keys it gets
    // go on as keys on the screen do.
    screen->tableView()->setFocusPolicy(Qt::NoFocus);
    screen->tableView()->installEventFilter(this);
    for (int r = 0; r < CalculateViewController::kRowCount; ++r)
        screen->ledView(r)->installEventFilter(this);
}

int CalculateKeyHandler::rowOf(QObject* watched) const
{
    for (int r = 0; r < CalculateViewController::kRowCount; ++r)
        if (m_pScreen->ledView(r) == watched)
            return r;
    return -1;
}

bool CalculateKeyHandler::takesTyping(int row) const
{
    return row >= 0 && row < m_pScreen->tableView()->numberOfRows()
           && m_pScreen->ledView(row)->isUserInteractionEnabled();
}

MyLedViewLite* CalculateKeyHandler::entryLine() const
{
    const int nRows = m_pScreen->tableView()->numberOfRows();
    for (int r = 0; r < nRows; ++r)
        if (takesTyping(r) && m_pScreen->ledView(r)->getSelectedState())
            return m_pScreen->ledView(r);
    for (int r = 0; r < nRows; ++r)
        if (takesTyping(r))
            return m_pScreen->ledView(r);
    return nullptr;
}

bool CalculateKeyHandler::focusRow(int row)
{
    if (!takesTyping(row))
        return false;
    // Only the rows on screen have their line in a cell.
    m_pScreen->tableView()->scrollToRow(row);
    MyLedViewLite* line = m_pScreen->ledView(row);
    if (!line->isVisible())
        return false;
    line->setFocus(Qt::TabFocusReason);
    return true;
}

void CalculateKeyHandler::moveFocus(int row, int delta)
{
    for (int r = row + delta; r >= 0 && r < m_pScreen->tableView()->numberOfRows(); r += delta)
        if (focusRow(r))
            return;
}

void CalculateKeyHandler::tick(int row)
{
    if (!CanCalculateParameter(m_pScreen->formulaDetail(), row))
        return;
    m_pScreen->selectCheckbox(m_pScreen->checkbox(row));
    // The list built its rows anew: the line goes back into the keyboard.
    focusRow(row);
}

void CalculateKeyHandler::showKeyboardHint(bool bShow)
{
    MyLedViewLite* target = bShow ? entryLine() : nullptr;
    for (int r = 0; r < CalculateViewController::kRowCount; ++r)
        m_pScreen->ledView(r)->setKeyboardHint(m_pScreen->ledView(r) == target);
}

bool CalculateKeyHandler::eventFilter(QObject* watched, QEvent* event)
{
    const bool bScreen = watched == m_pScreen->view() || watched == m_pScreen->tableView();
    if (bScreen && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        showKeyboardHint(event->type() == QEvent::FocusIn);
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return false;
    if (bScreen) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_pScreen->keyPressed(led::KEY_CALCULATE);
            return true;
        }
        MyLedViewLite* line = entryLine();
        // Space ticks the line the dashed outline shows, as it does once
        // that line has the keyboard.
        if (key->key() == Qt::Key_Space && line) {
            tick(rowOf(line));
            return true;
        }
        const bool bTyping = !key->text().isEmpty() && key->text().at(0).isPrint() && key->key() != Qt::Key_Space;
        const bool bEntering = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Down || key->key() == Qt::Key_Up;
        if (!line || !(bTyping || bEntering) || !focusRow(rowOf(line)))
            return false;
        if (bTyping)
            QCoreApplication::sendEvent(line, key);
        return true;
    }
    const int row = rowOf(watched);
    if (row < 0)
        return false;
    auto* line = m_pScreen->ledView(row);
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Down:
        line->commitTyping();
        moveFocus(row, 1);
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Up:
        line->commitTyping();
        moveFocus(row, -1);
        return true;
    case Qt::Key_Space:
        line->commitTyping();
        tick(row);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        line->commitTyping();
        m_pScreen->keyPressed(led::KEY_CALCULATE);
        return true;
    default:
        return false;
    }
}
