#include "browser/FavoritesViewController.h"

#include "shell/Global.h"
#include "storage/FavoritesHistory.h"
#include "ui/GlobalDisplay.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISegmentedControl.h"
#include "ui/UITabBarController.h"
#include "ui/UITimer.h"
#include "ui/UIView.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
const QString kCellIdentifier = QStringLiteral("any-cell");
constexpr int kCalculateTab = 2;
constexpr int kFavoritesLabelX = 5;
constexpr int kFavoritesLabelWidth = 315;
} // namespace

namespace FavoritesRows {

std::vector<FORMULA_NODE_INFO>& shownList()
{
    return g_nCurrentListType == 0 ? g_arrFavorite : g_arrHistory;
}

int labelHeight(const QString& text, int labelWidth)
{
    const QFontMetrics fm(g_fontText);
    return fm.boundingRect(QRect(0, 0, labelWidth, 480), Qt::TextWordWrap, text).height();
}

void setRowLabel(UITableViewCell* cell, const QString& text, int x, int width)
{
    // A reused cell first loses the label of the entry it showed before.
    for (QLabel* old : cell->contentView()->findChildren<QLabel*>())
        if (old->property("tag").toInt() == kLabelTag)
            delete old;
    auto* label = new QLabel(text, cell->contentView());
    label->setProperty("tag", kLabelTag);
    label->setWordWrap(true);
    label->setFont(g_fontText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, g_clrText);
    label->setPalette(palette);
    label->setGeometry(x, 5, width, labelHeight(text, width));
    label->show();
}

UISegmentedControl* makeListSwitch(std::function<void()> changed)
{
    auto* control = new UISegmentedControl({QStringLiteral("Favorites"), QStringLiteral("History")});
    control->resize(150, 30);
    control->setSelectedSegmentIndex(g_nCurrentListType);
    control->onValueChanged = [changed](UISegmentedControl* c) {
        const int index = c->selectedSegmentIndex();
        if (index == 0 || index == 1) {
            g_nCurrentListType = index;
            changed();
        }
    };
    return control;
}

} // namespace FavoritesRows

FavoritesViewController::FavoritesViewController(QObject* parent) : UIViewController(parent)
{
    // The toolkit's system "favorites" item.
    tabBarItem() = UITabBarItem{QStringLiteral("Favorites"), QStringLiteral("Favorites.png"), 0};
}

void FavoritesViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(320, 367);
    setView(view);
    m_pSegmentedControl = FavoritesRows::makeListSwitch([this] { segmentAction(); });
    navigationItem()->setTitleView(m_pSegmentedControl);
    navigationItem()->setRightBarButtonItem(
        new UIBarButtonItem(QStringLiteral("Edit"), UIBarButtonItem::Plain, [this] { editAction(); }, this));

    m_pTableView = new UITableView(view);
    // Empty rows below the list are drawn one text line high, like the entries.
    m_pTableView->setRowHeight(FavoritesRows::labelHeight(QStringLiteral("A"), kFavoritesLabelWidth) + 10);
    m_pTableView->setDataSource(this);
    m_pTableView->setDelegate(this);
    m_pTableView->setGeometry(view->rect());
    view->onLayout = [this](UIView* v) { m_pTableView->setGeometry(v->rect()); };
    m_pTableView->reloadData();
}

void FavoritesViewController::viewWillAppear(bool)
{
    view();
    m_pSegmentedControl->setSelectedSegmentIndex(g_nCurrentListType);
    m_pTableView->reloadData();
}

void FavoritesViewController::segmentAction()
{
    m_pTableView->reloadData();
}

void FavoritesViewController::editAction()
{
    UINotificationCenter::defaultCenter().postNotification("FavoritesToEditFavorites", this);
}

void FavoritesViewController::enterEditMode()
{
    m_pTableView->setEditing(true, true);
}

void FavoritesViewController::leaveEditMode()
{
    m_pTableView->setEditing(false, true);
}

int FavoritesViewController::tableViewNumberOfRows(UITableView*)
{
    return static_cast<int>(FavoritesRows::shownList().size());
}

int FavoritesViewController::tableViewHeightForRow(UITableView*, int row)
{
    const auto& list = FavoritesRows::shownList();
    const QString text = row < static_cast<int>(list.size()) ? QString::fromUtf8(list[row].m_NodeInfo.m_szNodeName) : QString();
    return FavoritesRows::labelHeight(text, kFavoritesLabelWidth) + 10;
}

UITableViewCell* FavoritesViewController::tableViewCellForRow(UITableView* tableView, int row)
{
    UITableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = new UITableViewCell(kCellIdentifier);
    const auto& list = FavoritesRows::shownList();
    const QString text = row < static_cast<int>(list.size()) ? QString::fromUtf8(list[row].m_NodeInfo.m_szNodeName) : QString();
    FavoritesRows::setRowLabel(cell, text, kFavoritesLabelX, kFavoritesLabelWidth);
    return cell;
}

void FavoritesViewController::tableViewDidSelectRow(UITableView* tableView, int row)
{
    tableView->deselectRow(row, true);
    UITimer::scheduledTimer(0.3, false, this, [this, row] { switchToDefinition(row); });
}

void FavoritesViewController::switchToDefinition(int row)
{
    const auto& list = FavoritesRows::shownList();
    // The list may have changed since the tap.
    if (row < 0 || row >= static_cast<int>(list.size()))
        return;
    g_favhisInfo = list[row];
    g_bFavHisToCalcDet = true;
    if (UITabBarController* tabs = tabBarController())
        tabs->setSelectedIndex(kCalculateTab);
}
