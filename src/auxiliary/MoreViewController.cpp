#include "auxiliary/MoreViewController.h"

#include "auxiliary/AboutViewController.h"
#include "auxiliary/HelpViewController.h"
#include "storage/BookCommit.h"
#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplicationDelegate.h"
#include "ui/UINotificationCenter.h"
#include "ui/UIStyle.h"
#include "ui/UIView.h"

#include <QLabel>

namespace {
const QString kCellIdentifier = QStringLiteral("more-cell");
const char* const kRowTitles[MoreViewController::kRowCount] = {"Create a new formula", "Help", "About",
                                                               "Restore shipped formulas"};
const QString kRestoreTitle = QStringLiteral("Restore shipped formulas");

void showAlert(const QString& title, const QString& message)
{
    auto* alert = new UIAlertView(title, message, QStringLiteral("OK"));
    alert->show();
}
}

MoreViewController::MoreViewController(QObject* parent) : UIViewController(parent)
{
    setTitle(QStringLiteral("More"));
    tabBarItem() = UITabBarItem{QStringLiteral("More"), QStringLiteral("More.png"), 0};
}

void MoreViewController::loadView()
{
    auto* view = new UIView(UIStyle::groupBackgroundColor());
    view->resize(320, 367);
    m_pTableView = new UITableView(view);
    m_pTableView->setRowHeight(44);
    m_pTableView->setScrollEnabled(false);
    m_pTableView->setDataSource(this);
    m_pTableView->setDelegate(this);
    // The three rows as one white group on the grey page.
    view->onLayout = [this](UIView* v) {
        m_pTableView->setGeometry(0, 20, v->width(), kRowCount * 44 + 1);
    };
    m_pTableView->setGeometry(0, 20, 320, kRowCount * 44 + 1);
    setView(view);
    m_pTableView->reloadData();
}

void MoreViewController::viewWillAppear(bool)
{
    navigationItem()->setTitle(QStringLiteral("More"));
}

UITableViewCell* MoreViewController::tableViewCellForRow(UITableView* tableView, int row)
{
    UITableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = new UITableViewCell(kCellIdentifier);
    // The last row acts where it is; the others lead to a screen.
    cell->setAccessoryType(row == kRestoreRow ? UITableViewCell::AccessoryNone
                                              : UITableViewCell::AccessoryDisclosureIndicator);
    QLabel* label = cell->textLabel();
    label->setFont(UIStyle::systemFont(17, true));
    label->setText(QString::fromLatin1(row >= 0 && row < kRowCount ? kRowTitles[row] : ""));
    return cell;
}

void MoreViewController::tableViewDidSelectRow(UITableView* tableView, int row)
{
    UINavigationController* nav = navigationController();
    if (!nav || row < 0 || row >= kRowCount || (row == 0 && !makeNewFormulaViewController))
        return;
    if (row == kRestoreRow) {
        tableView->deselectRow(row, true);
        restoreShippedFormulas();
        return;
    }
    // The pushed screen's back button reads " Back ".
    navigationItem()->setTitle(QStringLiteral(" Back "));
    tableView->deselectRow(row, true);

    UIViewController* child = nullptr;
    if (row == 0) {
        m_pNewFormulaViewController = makeNewFormulaViewController();
        child = m_pNewFormulaViewController;
    } else if (row == 1) {
        if (UIApplicationDelegate* delegate = UIApplicationDelegate::sharedApplicationDelegate())
            delegate->onFullScreen(true);
        m_pHelpViewController = new HelpViewController;
        child = m_pHelpViewController;
    } else {
        m_pAboutViewController = new AboutViewController;
        child = m_pAboutViewController;
    }
    child->setHidesBottomBarWhenPushed(true);
    nav->setDelegate(this);
    nav->pushViewController(child, true);
}

void MoreViewController::navigationControllerDidShowViewController(UINavigationController*, UIViewController* vc, bool)
{
    // A child is held only while it is the screen shown; the stack keeps it
    // for as long as it is stacked.
    if (m_pNewFormulaViewController && vc != m_pNewFormulaViewController)
        m_pNewFormulaViewController = nullptr;
    if (m_pHelpViewController && vc != m_pHelpViewController)
        m_pHelpViewController = nullptr;
    if (m_pAboutViewController && vc != m_pAboutViewController)
        m_pAboutViewController = nullptr;
}

// ---------------------------------------------------------------- restoring a shipped book

void MoreViewController::restoreShippedFormulas()
{
    QStringList books;
    for (const std::string& strBook : g_arrBooks)
        if (strBook != USER_DEFINE_BOOK)
            books << QString::fromStdString(strBook);
    auto* sheet = new UIActionSheet(QStringLiteral("Which book should be restored as shipped?"),
                                    QStringLiteral("Cancel"), QString(), books);
    sheet->onClicked = [this, books](UIActionSheet*, int index) {
        if (index >= 0 && index < books.size())  // Cancel comes last
            confirmRestore(books.at(index));
    };
    sheet->show();
}

void MoreViewController::confirmRestore(const QString& strBook)
{
    auto* alert = new UIAlertView(
        kRestoreTitle,
        QStringLiteral("\"%1\" is put back as shipped: your changes to its formulas are replaced, and the "
                       "formulas removed from it come back. \"User-defined Formulas\" is not touched.")
            .arg(strBook),
        QStringLiteral("Cancel"), {QStringLiteral("Restore")});
    alert->onClicked = [this, strBook](UIAlertView*, int index) {
        if (index == 1)
            restoreBook(strBook);
    };
    alert->show();
}

void MoreViewController::restoreBook(const QString& strBook)
{
    if (!restoreShippedBook(strBook.toStdString())) {
        showAlert(QStringLiteral("Warning!"), QStringLiteral("Failed to restore the formulas!\n")
                                                  + QString::fromUtf8(bookWriteErrorText(getLastBookWriteError())));
        return;
    }
    // Names in the lists and the browser's rows follow the book.
    if (refreshBookInFavHis(strBook.toStdString()))
        saveFavoritesAndHistory();
    UINotificationCenter::defaultCenter().postNotification("reloadFormulaList", this);
    showAlert(kRestoreTitle, QStringLiteral("\"%1\" is as shipped again.").arg(strBook));
}
