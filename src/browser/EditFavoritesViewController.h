#pragma once
// The Favorites editor: the Favorites or History list with a check mark per
// row and a toolbar to delete the checked entries, delete them all, or sort
// the list by name. "Done" swaps the Favorites screen back in.

#include "ui/UITableView.h"
#include "ui/UIViewController.h"

#include <vector>

class UIAlertView;
class UISegmentedControl;
class UIToolbar;

class EditFavoritesViewController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
    Q_OBJECT
public:
    static constexpr int kDeleteAllTag = 1000;
    static constexpr int kDeleteCheckedTag = 1001;

    explicit EditFavoritesViewController(QObject* parent = nullptr);

    UITableView* tableView() const { return m_tableView; }
    UIToolbar* toolBar() const { return m_toolBar; }
    UISegmentedControl* segmentedControl() const { return m_pSegmentedControl; }
    const std::vector<int>& checkStatus() const;

    void viewWillAppear(bool animated) override;
    void updateCheckStatus();
    void doneAction();
    void onDelete();
    void onDeleteAll();
    void onSort();
    void alertViewClickedButtonAtIndex(UIAlertView* alert, int index);

    int tableViewNumberOfRows(UITableView*) override;
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    int tableViewHeightForRow(UITableView*, int row) override;
    void tableViewDidSelectRow(UITableView*, int row) override;
    void tableViewMoveRow(UITableView*, int from, int to) override;

protected:
    void loadView() override;

private:
    std::vector<int>& shownCheckStatus();

    UITableView* m_tableView = nullptr;
    UIToolbar* m_toolBar = nullptr;
    int m_iSort = 0;
    std::vector<int> m_arrFavoriteCheckStatus;
    std::vector<int> m_arrHistoryCheckStatus;
    UISegmentedControl* m_pSegmentedControl = nullptr;
};
