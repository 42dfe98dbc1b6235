#include "ui/UITableView.h"

#include "ui/UINotificationCenter.h"
#include "ui/UIStyle.h"

#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace {
constexpr int kDragThreshold = 8;
constexpr int kAccessoryWidth = 30;
}

const char* const UITableView::kSelectionDidChangeNotification = "UITableViewSelectionDidChangeNotification";

// Cells are hidden and handed out again while the list is laid out. A widget
// in a cell that has the keyboard would lose it to the next widget in the
// focus chain when its cell is hidden (another row's input line, say); the
// list holds the keyboard meanwhile and gives it back when the widget is
// still on screen.
class UITableView::FocusKeeper {
public:
    explicit FocusKeeper(UITableView* table) : m_pTable(table)
    {
        QWidget* focus = table->window()->focusWidget();
        if (focus && focus->hasFocus() && table->viewport()->isAncestorOf(focus)) {
            m_pFocus = focus;
            table->setFocus(Qt::OtherFocusReason);
        }
    }
    ~FocusKeeper()
    {
        if (m_pFocus && m_pFocus->isVisible() && m_pTable->hasFocus())
            m_pFocus->setFocus(Qt::OtherFocusReason);
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    UITableView* m_pTable;
    QPointer<QWidget> m_pFocus;
};

// ---------------------------------------------------------------- UITableViewCell

UITableViewCell::UITableViewCell(const QString& reuseIdentifier, QWidget* parent)
    : QWidget(parent), m_strReuseIdentifier(reuseIdentifier)
{
    m_pContentView = new QWidget(this);
    m_pContentView->setAttribute(Qt::WA_TranslucentBackground);
}

QLabel* UITableViewCell::textLabel()
{
    if (!m_pTextLabel) {
        m_pTextLabel = new QLabel(m_pContentView);
        m_pTextLabel->setFont(UIStyle::systemFont(17, true));
        m_pTextLabel->setGeometry(10, 0, m_pContentView->width() - 10, height());
        m_pTextLabel->show();
    }
    return m_pTextLabel;
}

void UITableViewCell::setAccessoryType(AccessoryType type)
{
    if (type == m_nAccessory)
        return;
    m_nAccessory = type;
    resizeEvent(nullptr);
    update();
}

void UITableViewCell::setHighlighted(bool highlighted)
{
    if (highlighted == m_bHighlighted)
        return;
    m_bHighlighted = highlighted;
    update();
}

void UITableViewCell::setKeyboardFrame(bool framed)
{
    if (framed == m_bKeyboardFrame)
        return;
    m_bKeyboardFrame = framed;
    update();
}

void UITableViewCell::resizeEvent(QResizeEvent*)
{
    const int accessory = m_nAccessory == AccessoryNone ? 0 : kAccessoryWidth;
    m_pContentView->setGeometry(0, 0, width() - accessory, height() - 1);
    if (m_pTextLabel)
        m_pTextLabel->setGeometry(10, 0, m_pContentView->width() - 10, m_pContentView->height());
}

void UITableViewCell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor background = palette().color(QPalette::Base);
    p.fillRect(rect(), m_bHighlighted ? UIStyle::cellSelectionColor() : background);
    // Hairline under the row, inset like the row text.
    p.fillRect(QRect(5, height() - 1, width() - 5, 1), UIStyle::tableSeparatorColor());
    if (m_nAccessory == AccessoryDisclosureIndicator) {
        QPen pen(QColor(199, 199, 204), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        const qreal x = width() - 17;
        const qreal cy = height() / 2.0;
        p.drawPolyline(QPolygonF({QPointF(x, cy - 6), QPointF(x + 6, cy), QPointF(x, cy + 6)}));
    } else if (m_nAccessory == AccessoryCheckmark) {
        QPen pen(UIStyle::tintColor(), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        const qreal x = width() - 24;
        const qreal cy = height() / 2.0;
        p.drawPolyline(QPolygonF({QPointF(x, cy), QPointF(x + 5, cy + 5), QPointF(x + 14, cy - 6)}));
    }
    if (m_bKeyboardFrame) {
        p.setPen(QPen(UIStyle::tintColor(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -3), 5, 5);
    }
}

int UITableViewDelegate::tableViewHeightForRow(UITableView* tableView, int)
{
    return tableView->rowHeight();
}

// ---------------------------------------------------------------- UITableView

UITableView::UITableView(QWidget* parent) : QAbstractScrollArea(parent), m_clrSeparator(UIStyle::tableSeparatorColor())
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundColor(Qt::white);

    // A thin scroll indicator that shows while the list moves, as on a phone.
    m_pIndicator = new QWidget(viewport());
    m_pIndicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pIndicator->setStyleSheet(QStringLiteral("background: rgba(0,0,0,110); border-radius: 1px;"));
    m_pIndicator->hide();
    m_pIndicatorTimer = new QTimer(this);
    m_pIndicatorTimer->setSingleShot(true);
    m_pIndicatorTimer->setInterval(700);
    connect(m_pIndicatorTimer, &QTimer::timeout, m_pIndicator, &QWidget::hide);
}

UITableView::~UITableView()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void UITableView::setSeparatorColor(const QColor& color)
{
    m_clrSeparator = color;
    viewport()->update();
}

void UITableView::setBackgroundColor(const QColor& color)
{
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(color.alpha() == 255);
    if (color.alpha() < 255)
        viewport()->setAttribute(Qt::WA_TranslucentBackground);
    viewport()->update();
}

void UITableView::setEditing(bool editing, bool)
{
    m_bEditing = editing;
}

void UITableView::reloadData()
{
    FocusKeeper keeper(this);
    // Every cell goes back to the pool; the data source hands them out again.
    for (UITableViewCell* cell : std::as_const(m_mapVisible))
        enqueue(cell);
    m_mapVisible.clear();

    const int rows = m_pDataSource ? std::max(0, m_pDataSource->tableViewNumberOfRows(this)) : 0;
    m_vecHeights.assign(rows, m_nRowHeight);
    m_vecOffsets.assign(rows, 0);
    int y = 0;
    for (int r = 0; r < rows; ++r) {
        const int h = m_pDelegate ? m_pDelegate->tableViewHeightForRow(this, r) : m_nRowHeight;
        m_vecHeights[r] = std::max(1, h);
        m_vecOffsets[r] = y;
        y += m_vecHeights[r];
    }
    m_nContentHeight = y;
    if (m_nSelectedRow >= rows)
        m_nSelectedRow = -1;
    if (m_nKeyboardRow >= rows)
        m_nKeyboardRow = rows - 1;
    updateScrollRange();
    layoutCells();
    viewport()->update();
}

void UITableView::enqueue(UITableViewCell* cell)
{
    cell->hide();
    cell->setHighlighted(false);
    cell->setKeyboardFrame(false);
    cell->m_nRow = -1;
    m_pool[cell->reuseIdentifier()].append(cell);
}

UITableViewCell* UITableView::dequeueReusableCell(const QString& identifier)
{
    auto it = m_pool.find(identifier);
    if (it == m_pool.end() || it->isEmpty())
        return nullptr;
    return it->takeLast();
}

void UITableView::updateScrollRange()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(20);
    bar->setRange(0, std::max(0, m_nContentHeight - viewport()->height()));
}

int UITableView::contentOffset() const
{
    return verticalScrollBar()->value();
}

void UITableView::setContentOffset(int offset)
{
    verticalScrollBar()->setValue(offset);
}

QRect UITableView::rectForRow(int row) const
{
    if (row < 0 || row >= numberOfRows())
        return QRect();
    return QRect(0, m_vecOffsets[row] - contentOffset(), viewport()->width(), m_vecHeights[row]);
}

int UITableView::rowAt(int viewportY) const
{
    const int y = viewportY + contentOffset();
    if (y < 0 || y >= m_nContentHeight)
        return -1;
    auto it = std::upper_bound(m_vecOffsets.begin(), m_vecOffsets.end(), y);
    return static_cast<int>(it - m_vecOffsets.begin()) - 1;
}

UITableViewCell* UITableView::cellForRow(int row) const
{
    return m_mapVisible.value(row, nullptr);
}

void UITableView::scrollToRow(int row)
{
    const QRect r = rectForRow(row);
    if (r.isNull())
        return;
    if (r.top() < 0)
        setContentOffset(contentOffset() + r.top());
    else if (r.bottom() >= viewport()->height())
        setContentOffset(contentOffset() + r.bottom() + 1 - viewport()->height());
}

void UITableView::layoutCells()
{
    if (m_bLayingOut || !m_pDataSource)
        return;
    FocusKeeper keeper(this);
    m_bLayingOut = true;
    const int rows = numberOfRows();
    const int first = rows ? std::max(0, rowAt(0)) : 0;
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = rows - 1;

    for (auto it = m_mapVisible.begin(); it != m_mapVisible.end();) {
        if (it.key() < first || it.key() > last) {
            enqueue(it.value());
            it = m_mapVisible.erase(it);
        } else {
            ++it;
        }
    }
    for (int r = first; r <= last && r < rows; ++r) {
        UITableViewCell* cell = m_mapVisible.value(r, nullptr);
        if (!cell) {
            cell = m_pDataSource->tableViewCellForRow(this, r);
            if (!cell)
                continue;
            // A cell handed out again must leave the pool for good.
            for (auto& list : m_pool)
                list.removeAll(cell);
            cell->setParent(viewport());
            cell->m_nRow = r;
            m_mapVisible.insert(r, cell);
        }
        QPalette palette = cell->palette();
        palette.setColor(QPalette::Base, viewport()->palette().color(QPalette::Base));
        cell->setPalette(palette);
        cell->setGeometry(rectForRow(r));
        cell->setHighlighted(r == m_nSelectedRow || (r == m_nPressedRow && !m_bDragging));
        cell->setKeyboardFrame(r == m_nKeyboardRow && hasFocus() && focusPolicy() != Qt::NoFocus);
        cell->show();
    }
    m_pIndicator->raise();
    m_bLayingOut = false;
}

void UITableView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    for (UITableViewCell* cell : std::as_const(m_mapVisible))
        enqueue(cell);
    m_mapVisible.clear();
    layoutCells();
}

void UITableView::scrollContentsBy(int, int)
{
    layoutCells();
    viewport()->update();
    if (m_nContentHeight > viewport()->height()) {
        const int vh = viewport()->height();
        const int h = std::max(24, vh * vh / std::max(1, m_nContentHeight));
        const int range = std::max(1, verticalScrollBar()->maximum());
        const int y = 2 + (vh - h - 4) * contentOffset() / range;
        m_pIndicator->setGeometry(viewport()->width() - 5, y, 3, h);
        m_pIndicator->show();
        m_pIndicator->raise();
        m_pIndicatorTimer->start();
    }
}

bool UITableView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        paintViewport();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void UITableView::paintViewport()
{
    QPainter p(viewport());
    const QColor background = viewport()->palette().color(QPalette::Base);
    if (background.alpha() > 0)
        p.fillRect(viewport()->rect(), background);
    // Separator lines under every row, and on below the last one like an empty list.
    p.setPen(m_clrSeparator);
    int y = 0;
    for (int r = 0; r < numberOfRows(); ++r) {
        y = m_vecOffsets[r] + m_vecHeights[r] - contentOffset();
        if (y >= 0 && y <= viewport()->height())
            p.drawLine(0, y - 1, viewport()->width(), y - 1);
    }
    if (numberOfRows() == 0)
        y = 0;
    for (y += m_nRowHeight; y <= viewport()->height() + m_nRowHeight; y += m_nRowHeight)
        p.drawLine(0, y - 1, viewport()->width(), y - 1);
}

void UITableView::selectRow(int row)
{
    if (row < 0 || row >= numberOfRows())
        return;
    if (UITableViewCell* old = cellForRow(m_nSelectedRow))
        old->setHighlighted(false);
    m_nSelectedRow = row;
    if (UITableViewCell* cell = cellForRow(row))
        cell->setHighlighted(true);
}

void UITableView::deselectRow(int row, bool animated)
{
    if (row != m_nSelectedRow || row < 0)
        return;
    m_nSelectedRow = -1;
    QPointer<UITableViewCell> cell = cellForRow(row);
    if (cell) {
        if (animated) {
            // Let the highlight linger a moment so the tap is seen.
            QTimer::singleShot(180, cell, [cell, this, row] {
                if (cell && m_nSelectedRow != row && m_nPressedRow != row)
                    cell->setHighlighted(false);
            });
        } else {
            cell->setHighlighted(false);
        }
    }
    UINotificationCenter::defaultCenter().postNotification(kSelectionDidChangeNotification, this);
}

void UITableView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_ptPress = event->position().toPoint();
    m_nPressOffset = contentOffset();
    m_bDragging = false;
    m_nPressedRow = (m_bEditing && !m_bAllowsSelectionDuringEditing) ? -1 : rowAt(m_ptPress.y());
    if (UITableViewCell* cell = cellForRow(m_nPressedRow))
        cell->setHighlighted(true);
}

void UITableView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int dy = event->position().toPoint().y() - m_ptPress.y();
    if (!m_bDragging && std::abs(dy) > kDragThreshold && m_bScrollEnabled) {
        m_bDragging = true;
        if (UITableViewCell* cell = cellForRow(m_nPressedRow); cell && m_nPressedRow != m_nSelectedRow)
            cell->setHighlighted(false);
        m_nPressedRow = -1;
    }
    if (m_bDragging)
        setContentOffset(m_nPressOffset - dy);
}

void UITableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = m_nPressedRow;
    m_nPressedRow = -1;
    if (m_bDragging) {
        m_bDragging = false;
        return;
    }
    if (row < 0)
        return;
    if (rowAt(event->position().toPoint().y()) != row) {
        if (UITableViewCell* cell = cellForRow(row); cell && row != m_nSelectedRow)
            cell->setHighlighted(false);
        return;
    }
    m_nKeyboardRow = row;
    updateKeyboardFrame();
    selectRow(row);
    if (m_pDelegate)
        m_pDelegate->tableViewDidSelectRow(this, row);
}

void UITableView::wheelEvent(QWheelEvent* event)
{
    if (m_bScrollEnabled)
        QAbstractScrollArea::wheelEvent(event);
}

// ---------------------------------------------------------------- keyboard

void UITableView::setKeyboardRow(int row)
{
    m_nKeyboardRow = numberOfRows() ? std::clamp(row, 0, numberOfRows() - 1) : -1;
    scrollToRow(m_nKeyboardRow);
    updateKeyboardFrame();
}

void UITableView::updateKeyboardFrame()
{
    // A list that takes no keyboard of its own (its cells' widgets do) frames no row.
    const bool bFramed = hasFocus() && focusPolicy() != Qt::NoFocus;
    for (UITableViewCell* cell : std::as_const(m_mapVisible))
        cell->setKeyboardFrame(cell->row() == m_nKeyboardRow && bFramed);
}

// How many rows from `from` fill one screen of the list in that direction.
int UITableView::rowsPerPage(int from, int direction) const
{
    int height = 0;
    int n = 0;
    for (int r = from; r >= 0 && r < numberOfRows(); r += direction) {
        height += m_vecHeights[r];
        if (height > viewport()->height())
            break;
        ++n;
    }
    return std::max(1, n - 1);
}

void UITableView::keyPressEvent(QKeyEvent* event)
{
    const int rows = numberOfRows();
    if (rows == 0 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        event->ignore();
        return;
    }
    const int row = std::max(0, m_nKeyboardRow);
    switch (event->key()) {
    case Qt::Key_Up:
        setKeyboardRow(m_nKeyboardRow < 0 ? 0 : row - 1);
        break;
    case Qt::Key_Down:
        setKeyboardRow(m_nKeyboardRow < 0 ? 0 : row + 1);
        break;
    case Qt::Key_PageUp:
        setKeyboardRow(row - rowsPerPage(row, -1));
        break;
    case Qt::Key_PageDown:
        setKeyboardRow(row + rowsPerPage(row, 1));
        break;
    case Qt::Key_Home:
        setKeyboardRow(0);
        break;
    case Qt::Key_End:
        setKeyboardRow(rows - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_nKeyboardRow < 0 || (m_bEditing && !m_bAllowsSelectionDuringEditing)) {
            event->ignore();
            return;
        }
        // The same as a tap on the row.
        scrollToRow(m_nKeyboardRow);
        selectRow(m_nKeyboardRow);
        if (m_pDelegate)
            m_pDelegate->tableViewDidSelectRow(this, m_nKeyboardRow);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void UITableView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_nKeyboardRow < 0 && numberOfRows() > 0 && focusPolicy() != Qt::NoFocus)
        m_nKeyboardRow = std::max(0, rowAt(0));
    updateKeyboardFrame();
}

void UITableView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateKeyboardFrame();
}
