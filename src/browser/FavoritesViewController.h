#pragma once
// The Favorites tab: the Favorites or the History list (a segmented control
// switches between them); a tap opens the entry in the Calculate tab, "Edit"
// swaps in the Favorites editor.

#include "storage/FormulaRecords.h"
#include "ui/UITableView.h"
#include "ui/UIViewController.h"

#include <vector>

class UISegmentedControl;

// Rows shared by both list screens: one word-wrapped label (tag 1576) per entry.
namespace FavoritesRows {
inline constexpr int kLabelTag = 1576;
std::vector<FORMULA_NODE_INFO>& shownList();
int labelHeight(const QString& text, int labelWidth);
void setRowLabel(UITableViewCell* cell, const QString& text, int x, int width);
UISegmentedControl* makeListSwitch(std::function<void()> changed);
} // namespace FavoritesRows

class FavoritesViewController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
    Q_OBJECT
public:
    explicit FavoritesViewController(QObject* parent = nullptr);

    UITableView* tableView() const { return m_pTableView; }
    UISegmentedControl* segmentedControl() const { return m_pSegmentedControl; }

    void viewWillAppear(bool animated) override;
    void editAction();
    void switchToDefinition(int row);
    void enterEditMode();
    void leaveEditMode();

    int tableViewNumberOfRows(UITableView*) override;
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    int tableViewHeightForRow(UITableView*, int row) override;
    void tableViewDidSelectRow(UITableView*, int row) override;

protected:
    void loadView() override;

private:
    void segmentAction();

    UISegmentedControl* m_pSegmentedControl = nullptr;
    UITableView* m_pTableView = nullptr;
};
