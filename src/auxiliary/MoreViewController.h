#pragma once
// The More tab: a short menu that leads to the new-formula wizard, the paged
// picture help and the About page, and puts a shipped book back as shipped. The wizard belongs to the formula editor,
// which this screen does not know: the application object hands it a maker.

#include "auxiliary/AboutViewController.h"
#include "auxiliary/HelpViewController.h"
#include "ui/UINavigationController.h"
#include "ui/UITableView.h"
#include "ui/UIViewController.h"

#include <QPointer>
#include <functional>

class MoreViewController : public UIViewController,
                           public UITableViewDataSource,
                           public UITableViewDelegate,
                           public UINavigationControllerDelegate {
    Q_OBJECT
public:
    static constexpr int kRowCount = 4;
    static constexpr int kRestoreRow = 3;

    explicit MoreViewController(QObject* parent = nullptr);

    void viewWillAppear(bool animated) override;

    UITableView* tableView() const { return m_pTableView; }
    // Makes the new-formula wizard that the first row opens.
    std::function<UIViewController*()> makeNewFormulaViewController;

    UIViewController* newFormulaViewController() const { return m_pNewFormulaViewController; }
    HelpViewController* helpViewController() const { return m_pHelpViewController; }
    AboutViewController* aboutViewController() const { return m_pAboutViewController; }

    int tableViewNumberOfRows(UITableView*) override { return kRowCount; }
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    void tableViewDidSelectRow(UITableView*, int row) override;
    void navigationControllerDidShowViewController(UINavigationController*, UIViewController* vc, bool) override;

    // "Restore shipped formulas": which book, then a confirmation that names
    // what will be replaced, then the restore. The user's own book is not
    // offered.
    void restoreShippedFormulas();
    void confirmRestore(const QString& strBook);
    void restoreBook(const QString& strBook);

protected:
    void loadView() override;

private:
    UITableView* m_pTableView = nullptr;
    QPointer<UIViewController> m_pNewFormulaViewController;
    QPointer<HelpViewController> m_pHelpViewController;
    QPointer<AboutViewController> m_pAboutViewController;
};
