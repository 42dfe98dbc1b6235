#include "browser/EditFavoritesViewController.h"

#include "browser/FavoritesViewController.h"
#include "shell/Global.h"
#include "storage/FavoritesHistory.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UIImage.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISegmentedControl.h"
#include "ui/UIStyle.h"
#include "ui/UIToolbar.h"
#include "ui/UIView.h"

#include <QLabel>
#include <algorithm>

namespace {
const QString kCellIdentifier = QStringLiteral("any-cell");
const QString kCheckName = QStringLiteral("FavoritesCheckMark");
constexpr int kLabelX = 50;
constexpr int kLabelWidth = 238;
constexpr int kButtonWidth = 95;
} // namespace

EditFavoritesViewController::EditFavoritesViewController(QObject* parent) : UIViewController(parent) {}

void EditFavoritesViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(320, 416);
    setView(view);

    m_tableView = new UITableView(view);
    m_tableView->setBackgroundColor(Qt::white);
    // Empty rows below the list are drawn one text line high, like the entries.
    m_tableView->setRowHeight(FavoritesRows::labelHeight(QStringLiteral("A"), kLabelWidth) + 10);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    m_tableView->setEditing(true, false);
    m_tableView->setAllowsSelectionDuringEditing(true);

    m_toolBar = new UIToolbar(view);
    m_toolBar->setBarStyle(UIToolbar::Black);
    auto* deleteItem = new UIBarButtonItem(QStringLiteral("Delete"), UIBarButtonItem::Bordered, [this] { onDelete(); }, this);
    auto* deleteAllItem = new UIBarButtonItem(QStringLiteral("Delete All"), UIBarButtonItem::Bordered, [this] { onDeleteAll(); }, this);
    auto* sortItem = new UIBarButtonItem(QStringLiteral("Sort"), UIBarButtonItem::Bordered, [this] { onSort(); }, this);
    for (UIBarButtonItem* item : {deleteItem, deleteAllItem, sortItem})
        item->setWidth(kButtonWidth);
    m_toolBar->setItems({deleteItem, deleteAllItem, sortItem});

    // The toolbar sits at the bottom, the list fills the rest.
    view->onLayout = [this](UIView* v) {
        m_toolBar->setGeometry(0, v->height() - UIStyle::kToolbarHeight, v->width(), UIStyle::kToolbarHeight);
        m_tableView->setGeometry(0, 0, v->width(), v->height() - UIStyle::kToolbarHeight);
    };
    view->onLayout(view);

    m_pSegmentedControl = FavoritesRows::makeListSwitch([this] { m_tableView->reloadData(); });
    navigationItem()->setTitleView(m_pSegmentedControl);
    navigationItem()->setRightBarButtonItem(
        new UIBarButtonItem(QStringLiteral("Done"), UIBarButtonItem::Done, [this] { doneAction(); }, this));
    updateCheckStatus();
}

void EditFavoritesViewController::viewWillAppear(bool)
{
    view();
    m_pSegmentedControl->setSelectedSegmentIndex(g_nCurrentListType);
    updateCheckStatus();
}

void EditFavoritesViewController::updateCheckStatus()
{
    m_arrFavoriteCheckStatus.assign(g_arrFavorite.size(), 0);
    m_arrHistoryCheckStatus.assign(g_arrHistory.size(), 0);
    if (m_tableView)
        m_tableView->reloadData();
}

std::vector<int>& EditFavoritesViewController::shownCheckStatus()
{
    return g_nCurrentListType == 0 ? m_arrFavoriteCheckStatus : m_arrHistoryCheckStatus;
}

const std::vector<int>& EditFavoritesViewController::checkStatus() const
{
    return g_nCurrentListType == 0 ? m_arrFavoriteCheckStatus : m_arrHistoryCheckStatus;
}

void EditFavoritesViewController::doneAction()
{
    UINotificationCenter::defaultCenter().postNotification("EditFavoritesToFavorites", this);
}

// ---------------------------------------------------------------- table

int EditFavoritesViewController::tableViewNumberOfRows(UITableView*)
{
    return static_cast<int>(FavoritesRows::shownList().size());
}

int EditFavoritesViewController::tableViewHeightForRow(UITableView*, int row)
{
    const auto& list = FavoritesRows::shownList();
    const QString text = row < static_cast<int>(list.size()) ? QString::fromUtf8(list[row].m_NodeInfo.m_szNodeName) : QString();
    return FavoritesRows::labelHeight(text, kLabelWidth) + 10;
}

UITableViewCell* EditFavoritesViewController::tableViewCellForRow(UITableView* tableView, int row)
{
    UITableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = new UITableViewCell(kCellIdentifier);
    const auto& list = FavoritesRows::shownList();
    const QString text = row < static_cast<int>(list.size()) ? QString::fromUtf8(list[row].m_NodeInfo.m_szNodeName) : QString();
    FavoritesRows::setRowLabel(cell, text, kLabelX, kLabelWidth);

    const std::vector<int>& checks = shownCheckStatus();
    const bool checked = row < static_cast<int>(checks.size()) && checks[row] == 1;
    auto* mark = cell->contentView()->findChild<UIImageView*>(kCheckName);
    if (!mark) {
        mark = new UIImageView(cell->contentView());
        mark->setObjectName(kCheckName);
    }
    const QPixmap image = UIImage::imageNamed(checked ? QStringLiteral("Checked.png") : QStringLiteral("Unchecked.png"));
    const QSize size = image.isNull() ? QSize(30, 30) : UIImage::logicalSize(image);
    mark->setPixmap(image);
    mark->setProperty("checked", checked);
    mark->setGeometry(10, (tableViewHeightForRow(tableView, row) - size.height()) / 2, size.width(), size.height());
    mark->show();
    return cell;
}

void EditFavoritesViewController::tableViewDidSelectRow(UITableView* tableView, int row)
{
    std::vector<int>& checks = shownCheckStatus();
    if (row >= 0 && row < static_cast<int>(checks.size()))
        checks[row] = checks[row] ? 0 : 1;
    tableView->reloadData();
    tableView->deselectRow(row, true);
}

void EditFavoritesViewController::tableViewMoveRow(UITableView*, int from, int to)
{
    auto& list = FavoritesRows::shownList();
    std::vector<int>& checks = shownCheckStatus();
    const int n = static_cast<int>(list.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    const FORMULA_NODE_INFO entry = list[from];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, entry);
    if (static_cast<int>(checks.size()) == n) {
        const int flag = checks[from];
        checks.erase(checks.begin() + from);
        checks.insert(checks.begin() + to, flag);
    }
    saveFavoritesAndHistory();
}

// ---------------------------------------------------------------- toolbar

void EditFavoritesViewController::onDelete()
{
    auto* alert = new UIAlertView(QStringLiteral("Warning!"), QStringLiteral("Do you really want to delete all checked items?"),
                                  QStringLiteral("YES"), {QStringLiteral("NO")});
    alert->setEscapeButtonIndex(1);  // Esc answers "NO": nothing is deleted
    alert->setTag(kDeleteCheckedTag);
    alert->onClicked = [this](UIAlertView* a, int index) { alertViewClickedButtonAtIndex(a, index); };
    alert->show();
}

void EditFavoritesViewController::onDeleteAll()
{
    auto* alert = new UIAlertView(QStringLiteral("Warning!"), QStringLiteral("Do you really want to delete all items?"),
                                  QStringLiteral("YES"), {QStringLiteral("NO")});
    alert->setEscapeButtonIndex(1);  // Esc answers "NO": nothing is deleted
    alert->setTag(kDeleteAllTag);
    alert->onClicked = [this](UIAlertView* a, int index) { alertViewClickedButtonAtIndex(a, index); };
    alert->show();
}

void EditFavoritesViewController::alertViewClickedButtonAtIndex(UIAlertView* alert, int index)
{
    if (index != 0)
        return;
    if (alert->tag() == kDeleteAllTag) {
        // The list and its file go at once.
        if (g_nCurrentListType == 0)
            deleteAllFavorites();
        else
            deleteAllHistory();
        m_tableView->reloadData();
    } else if (alert->tag() == kDeleteCheckedTag) {
        auto& list = FavoritesRows::shownList();
        const std::vector<int>& checks = shownCheckStatus();
        bool changed = false;
        for (int row = static_cast<int>(std::min(list.size(), checks.size())) - 1; row >= 0; --row) {
            if (checks[row] == 1) {
                list.erase(list.begin() + row);
                changed = true;
            }
        }
        if (changed)
            saveFavoritesAndHistory();
        m_tableView->reloadData();
    }
    updateCheckStatus();
}

void EditFavoritesViewController::onSort()
{
    sortFormulaListByName(FavoritesRows::shownList());
    saveFavoritesAndHistory();
    m_tableView->reloadData();
}
