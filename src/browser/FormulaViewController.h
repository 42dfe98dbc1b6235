#pragma once
// The root screen of the Formulas tab: one level of the book tree at a time
// (the book list, then the folders and formulas of the open folder), a search
// bar over the open subtree or over all books, Back, and the Edit / Remove
// actions of a formula's icon. Tapping a formula hands it to the Calculate tab.

#include "storage/FormulaRecords.h"
#include "ui/UINavigationController.h"
#include "ui/UITableView.h"
#include "ui/UIViewController.h"

#include <QPixmap>
#include <QPointer>
#include <vector>

class EditFormulaViewController;
class UIBarButtonItem;
class UISearchBar;

class FormulaViewController : public UIViewController,
                              public UITableViewDataSource,
                              public UITableViewDelegate,
                              public UINavigationControllerDelegate {
    Q_OBJECT
public:
    static constexpr int kIconTagBase = 9999;

    explicit FormulaViewController(QObject* parent = nullptr);
    ~FormulaViewController() override;

    // Called at termination.
    void saveCurrentSession();

    UISearchBar* searchBar() const { return m_pSearchBar; }
    UITableView* tableView() const { return m_pSearchTable; }
    UIBarButtonItem* backButtonItem() const { return m_pBackItem; }

    // Actions, public so the screen can be driven the way its controls drive it.
    void onUp();
    void onSearch(const QString& text);
    void onItemAction(int tag);
    void editFormulaWithIndex(int row);
    void removeFormulaWithIndex(int row);
    void updateFormulaListAfterEdit();
    void reloadFormulaList();

    int tableViewNumberOfRows(UITableView*) override;
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    int tableViewHeightForRow(UITableView*, int row) override;
    void tableViewDidSelectRow(UITableView*, int row) override;
    void navigationControllerDidShowViewController(UINavigationController*, UIViewController* vc, bool) override;

protected:
    void loadView() override;

private:
    void loadData();
    void didDeselectedRow();
    void tableViewRowClicked();
    void switchToCalculate();
    void showLevel(const std::string& prefix);
    void reloadTable();
    void setBackEnabled(bool enabled);
    int getRowHeightWithIndex(int row);
    bool searchingAllBooks() const;
    // The node and book behind a row of whichever list is shown; false when out of range.
    bool nodeInfoForRow(int row, FORMULA_NODE_INFO& info, int& nodeIndex);
    void updateFormulaListAfterDeleteItemAtRow(int row);
    void updateFavHisAfterEditItemWithNodeInfo(const FORMULA_NODE_INFO& info);
    void updateFavHisAfterDeleteItemWithNodeInfo(const FORMULA_NODE_INFO& info);

    UISearchBar* m_pSearchBar = nullptr;
    UITableView* m_pSearchTable = nullptr;
    int m_nSelectedRow = -1;
    std::vector<int> m_vecShowingFormulaIds;
    QList<QPixmap> m_arrImages;
    bool m_bAccessoryAction = false;
    int m_nModifyIndex = -1;
    QPointer<EditFormulaViewController> m_pEditFormulaController;
    FORMULA_NODE_INFO m_EditingFormulaInfo{};
    class QTimer* m_pSearchTimer = nullptr;  // runs the search when typing pauses
    UIBarButtonItem* m_pBackItem = nullptr;
};
