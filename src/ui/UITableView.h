#pragma once
// A one-section list of rows of varying height. Only the rows on screen have
// cell widgets; a cell that scrolls away goes to a pool and comes back through
// dequeueReusableCell() with whatever subviews it had, as the data source left
// them. A tap selects a row and tells the delegate; dragging scrolls.
// With the keyboard, a framed row follows Up, Down, Page Up, Page Down, Home
// and End, and Enter (or Space) acts on it as a tap does.

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QWidget>
#include <vector>

class QLabel;
class UITableView;

class UITableViewCell : public QWidget {
    Q_OBJECT
public:
    enum AccessoryType { AccessoryNone, AccessoryDisclosureIndicator, AccessoryCheckmark };

    explicit UITableViewCell(const QString& reuseIdentifier, QWidget* parent = nullptr);

    QString reuseIdentifier() const { return m_strReuseIdentifier; }
    QWidget* contentView() const { return m_pContentView; }
    QLabel* textLabel(); // created on first use
    AccessoryType accessoryType() const { return m_nAccessory; }
    void setAccessoryType(AccessoryType type);
    bool isHighlighted() const { return m_bHighlighted; }
    void setHighlighted(bool highlighted);
    // The row the keyboard is on, in a list that has the keyboard.
    bool hasKeyboardFrame() const { return m_bKeyboardFrame; }
    void setKeyboardFrame(bool framed);
    int row() const { return m_nRow; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    friend class UITableView;
    QString m_strReuseIdentifier;
    QWidget* m_pContentView;
    QLabel* m_pTextLabel = nullptr;
    AccessoryType m_nAccessory = AccessoryNone;
    bool m_bHighlighted = false;
    bool m_bKeyboardFrame = false;
    int m_nRow = -1;
};

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual int tableViewNumberOfRows(UITableView* tableView) = 0;
    virtual UITableViewCell* tableViewCellForRow(UITableView* tableView, int row) = 0;
    virtual void tableViewMoveRow(UITableView* tableView, int from, int to) {}
};

class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;
    virtual int tableViewHeightForRow(UITableView* tableView, int row);
    virtual void tableViewDidSelectRow(UITableView* tableView, int row) {}
};

class UITableView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Posted (object: the table) when a selected row is deselected.
    static const char* const kSelectionDidChangeNotification;

    explicit UITableView(QWidget* parent = nullptr);
    ~UITableView() override;

    void setDataSource(UITableViewDataSource* dataSource) { m_pDataSource = dataSource; }
    void setDelegate(UITableViewDelegate* delegate) { m_pDelegate = delegate; }
    int rowHeight() const { return m_nRowHeight; }
    void setRowHeight(int height) { m_nRowHeight = height; }
    void setSeparatorColor(const QColor& color);
    void setBackgroundColor(const QColor& color);
    void setScrollEnabled(bool enabled) { m_bScrollEnabled = enabled; }
    bool isEditing() const { return m_bEditing; }
    void setEditing(bool editing, bool animated);
    void setAllowsSelectionDuringEditing(bool allows) { m_bAllowsSelectionDuringEditing = allows; }

    void reloadData();
    UITableViewCell* dequeueReusableCell(const QString& identifier);

    int numberOfRows() const { return static_cast<int>(m_vecHeights.size()); }
    int selectedRow() const { return m_nSelectedRow; }
    void selectRow(int row);
    void deselectRow(int row, bool animated);
    // The cell of a row that is on screen; null otherwise.
    UITableViewCell* cellForRow(int row) const;
    // The row's rectangle in viewport coordinates.
    QRect rectForRow(int row) const;
    void scrollToRow(int row);
    int contentOffset() const;
    void setContentOffset(int offset);
    // The row the keyboard is on, -1 for none.
    int keyboardRow() const { return m_nKeyboardRow; }
    void setKeyboardRow(int row);

protected:
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

private:
    class FocusKeeper;
    int rowAt(int viewportY) const;
    void layoutCells();
    void updateScrollRange();
    void enqueue(UITableViewCell* cell);
    void paintViewport();
    int rowsPerPage(int from, int direction) const;
    void updateKeyboardFrame();

    UITableViewDataSource* m_pDataSource = nullptr;
    UITableViewDelegate* m_pDelegate = nullptr;
    int m_nRowHeight = 44;
    std::vector<int> m_vecHeights;
    std::vector<int> m_vecOffsets; // top of each row in content coordinates
    int m_nContentHeight = 0;
    QMap<int, UITableViewCell*> m_mapVisible;
    QHash<QString, QList<UITableViewCell*>> m_pool;
    int m_nSelectedRow = -1;
    int m_nPressedRow = -1;
    int m_nKeyboardRow = -1;
    QPoint m_ptPress;
    int m_nPressOffset = 0;
    bool m_bDragging = false;
    bool m_bScrollEnabled = true;
    bool m_bEditing = false;
    bool m_bAllowsSelectionDuringEditing = false;
    bool m_bLayingOut = false;
    QColor m_clrSeparator;
    QWidget* m_pIndicator = nullptr;
    class QTimer* m_pIndicatorTimer = nullptr;
};
