#include "browser/FormulaViewController.h"

#include "browser/FormulaBrowser.h"
#include "browser/FormulaContentView.h"
#include "browser/FormulaIconView.h"
#include "calc/FormulaValueStore.h"
#include "editor/EditFormulaViewController.h"
#include "shell/Global.h"
#include "storage/BookCommit.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UIImage.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISearchBar.h"
#include "ui/UIStyle.h"
#include "ui/UITabBarController.h"
#include "ui/UITimer.h"
#include "ui/UIView.h"

#include <QTimer>
#include <QLabel>
#include <QResizeEvent>

namespace {

const QString kCellIdentifier = QStringLiteral("any-cell");
const QString kPathLabelName = QStringLiteral("FormulaPathLabel");
constexpr int kCalculateTab = 2;
// The pause in typing after which the search runs.
constexpr int kSearchAsYouTypeMs = 250;

QString fromUtf8(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

FormulaViewController::FormulaViewController(QObject* parent) : UIViewController(parent)
{
    setTitle(QStringLiteral("Formulas"));
    tabBarItem() = UITabBarItem{QStringLiteral("Formulas"), QStringLiteral("Formulas.png"), 0};
    UINotificationCenter::defaultCenter().addObserver(this, "updateFormulaListAfterEdit", nullptr,
                                                      [this](const UINotification&) { updateFormulaListAfterEdit(); });
    UINotificationCenter::defaultCenter().addObserver(this, "reloadFormulaList", nullptr,
                                                      [this](const UINotification&) { reloadFormulaList(); });
    m_arrImages = {UIImage::imageNamed(QStringLiteral("fx0.png")), UIImage::imageNamed(QStringLiteral("fx1.png"))};
}

FormulaViewController::~FormulaViewController()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void FormulaViewController::loadView()
{
    auto* view = new UIView(QColor(128, 128, 128));
    view->resize(320, 367);
    setView(view);

    m_pSearchBar = new UISearchBar;
    m_pSearchBar->setGeometry(40, 0, view->width() - 40, 44);
    m_pSearchBar->setAutocorrectionEnabled(false);
    m_pSearchBar->setAutocapitalizationEnabled(false);
    m_pSearchBar->setShowsCancelButton(true);
    m_pSearchBar->setPlaceholder(QStringLiteral("Search"));
    m_pSearchBar->onSearchButtonClicked = [this] {
        m_pSearchTimer->stop();
        m_pSearchBar->resignFirstResponder();
        onSearch(m_pSearchBar->text());
        // The keyboard goes on to the hits.
        m_pSearchTable->setFocus(Qt::OtherFocusReason);
    };
    // The search runs as the user types, once the typing pauses; clearing
    // the text ends it at once.
    m_pSearchTimer = new QTimer(this);
    m_pSearchTimer->setSingleShot(true);
    m_pSearchTimer->setInterval(kSearchAsYouTypeMs);
    connect(m_pSearchTimer, &QTimer::timeout, this, [this] { onSearch(m_pSearchBar->text()); });
    m_pSearchBar->onTextDidChange = [this](const QString& text) {
        if (text.isEmpty()) {
            m_pSearchTimer->stop();
            onSearch(QString());
        } else {
            m_pSearchTimer->start();
        }
    };
    // Down from the field goes to the list of hits.
    m_pSearchBar->onArrowDown = [this] {
        if (m_pSearchTimer->isActive()) {
            m_pSearchTimer->stop();
            onSearch(m_pSearchBar->text());
        }
        m_pSearchTable->setFocus(Qt::TabFocusReason);
    };
    m_pSearchBar->onCancelButtonClicked = [this] { m_pSearchBar->resignFirstResponder(); };
    navigationItem()->setTitleView(m_pSearchBar);

    m_pBackItem = new UIBarButtonItem(QStringLiteral(" Back "), UIBarButtonItem::Bordered, [this] { onUp(); }, this);
    m_pBackItem->setEnabled(false);
    navigationItem()->setLeftBarButtonItem(m_pBackItem);

    loadData();

    m_pSearchTable = new UITableView(view);
    m_pSearchTable->setGeometry(0, 0, 320, 368);
    m_pSearchTable->setRowHeight(40);
    m_pSearchTable->setDataSource(this);
    m_pSearchTable->setDelegate(this);
    view->onLayout = [this](UIView* v) { m_pSearchTable->setGeometry(v->rect()); };
    UINotificationCenter::defaultCenter().addObserver(this, UITableView::kSelectionDidChangeNotification, m_pSearchTable,
                                                      [this](const UINotification&) { didDeselectedRow(); });
    m_pSearchTable->reloadData();
}

void FormulaViewController::loadData()
{
    ::loadLastSession();
    if (!g_sFormulasFolder.empty())
        loadOpenBookTree();
    if (!m_arrTrace.empty()) {
        setBackEnabled(true);
        getChildNode(m_arrTrace.back(), m_vecShowingFormulaIds);
    } else {
        setBackEnabled(false);
        getBooks(m_vecShowingFormulaIds);
    }
}

void FormulaViewController::saveCurrentSession()
{
    ::saveCurrentSession();
}

void FormulaViewController::setBackEnabled(bool enabled)
{
    if (m_pBackItem)
        m_pBackItem->setEnabled(enabled);
}

void FormulaViewController::reloadTable()
{
    if (m_pSearchTable)
        m_pSearchTable->reloadData();
}

void FormulaViewController::showLevel(const std::string& prefix)
{
    getChildNode(prefix, m_vecShowingFormulaIds);
}

bool FormulaViewController::searchingAllBooks() const
{
    return g_bSearching && m_arrTrace.empty();
}

// ---------------------------------------------------------------- table

int FormulaViewController::tableViewNumberOfRows(UITableView*)
{
    if (!g_bSearching)
        return static_cast<int>(m_vecShowingFormulaIds.size());
    if (!m_arrTrace.empty())
        return static_cast<int>(g_vecMatchedFormulaIds.size());
    return static_cast<int>(m_arraySearchResult.size());
}

int FormulaViewController::tableViewHeightForRow(UITableView*, int row)
{
    return getRowHeightWithIndex(row);
}

int FormulaViewController::getRowHeightWithIndex(int row)
{
    if (searchingAllBooks()) {
        if (row < 0 || row >= static_cast<int>(m_arraySearchResult.size()))
            return 60;
        const double h = FormulaContentView::getSize(fromUtf8(m_arraySearchResult[row].m_NodeInfo.m_szNodeName)).height();
        return h >= 40 ? static_cast<int>(h + 10 + 20) : 60;
    }
    QString text;
    const std::vector<int>& rows = g_bSearching ? g_vecMatchedFormulaIds : m_vecShowingFormulaIds;
    if (row >= 0 && row < static_cast<int>(rows.size())) {
        const int value = rows[row];
        if (value < 0 && -value <= BOOK_COUNT)
            text = QString::fromStdString(g_arrBooks[-value - 1]);
        else if (value >= 0 && value < static_cast<int>(g_vecFormulas.size()))
            text = fromUtf8(g_vecFormulas[value].m_szNodeName);
    }
    return formulaRowHeight(FormulaContentView::getSize(text).height());
}

UITableViewCell* FormulaViewController::tableViewCellForRow(UITableView* tableView, int row)
{
    UITableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = new UITableViewCell(kCellIdentifier);
    const int rowHeight = getRowHeightWithIndex(row);
    const QString highlight = g_bSearching && m_pSearchBar ? m_pSearchBar->text() : QString();

    // Work out what the row shows.
    QString text;
    std::uint32_t type = FORMULA_TYPE_FOLDER;
    bool bookRow = false;
    QString pathText;
    if (searchingAllBooks()) {
        if (row < static_cast<int>(m_arraySearchResult.size())) {
            const SEARCHRESULT& hit = m_arraySearchResult[row];
            text = fromUtf8(hit.m_NodeInfo.m_szNodeName);
            type = hit.m_NodeInfo.m_uiNodeType;
            pathText = QString::fromStdString(searchResultPathText(hit));
        }
    } else {
        const std::vector<int>& rows = g_bSearching ? g_vecMatchedFormulaIds : m_vecShowingFormulaIds;
        const int value = row < static_cast<int>(rows.size()) ? rows[row] : 0;
        if (value < 0 && -value <= BOOK_COUNT) {
            bookRow = true;
            text = QString::fromStdString(bookDisplayName(g_arrBooks[-value - 1]));
        } else if (value >= 0 && value < static_cast<int>(g_vecFormulas.size())) {
            text = fromUtf8(g_vecFormulas[value].m_szNodeName);
            type = g_vecFormulas[value].m_uiNodeType;
        }
    }

    auto* content = cell->contentView()->findChild<FormulaContentView*>();
    if (!content) {
        content = new FormulaContentView(QRect(5, 0, 283, 40), cell->contentView());
        content->show();
    }
    content->setGeometry(5, 0, 283, 40);
    content->setContent(text, highlight);

    // The icon is kept, not made anew: its own tap may be what configures
    // the row again.
    auto* icon = cell->findChild<FormulaIconView*>(QString(), Qt::FindDirectChildrenOnly);

    auto* pathLabel = cell->contentView()->findChild<QLabel*>(kPathLabelName);
    if (!pathText.isEmpty()) {
        if (!pathLabel) {
            pathLabel = new QLabel(cell->contentView());
            pathLabel->setObjectName(kPathLabelName);
            pathLabel->setFont(UIStyle::systemFont(12));
            QPalette palette = pathLabel->palette();
            palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
            pathLabel->setPalette(palette);
        }
        pathLabel->setGeometry(5, rowHeight - 25, 283, 20);
        pathLabel->setText(pathLabel->fontMetrics().elidedText(pathText, Qt::ElideMiddle, 283));
        pathLabel->setToolTip(pathText);
        pathLabel->show();
    } else if (pathLabel) {
        pathLabel->hide();
    }

    if (bookRow || type == FORMULA_TYPE_FOLDER) {
        cell->setAccessoryType(UITableViewCell::AccessoryDisclosureIndicator);
        if (icon)
            icon->hide();
    } else {
        cell->setAccessoryType(UITableViewCell::AccessoryNone);
        const QPixmap& first = m_arrImages.value(0);
        const QSize size = first.isNull() ? QSize(32, 40) : UIImage::logicalSize(first);
        const QPixmap image = m_arrImages.value(type != FORMULA_TYPE_THEORY ? 1 : 0);
        if (icon) {
            icon->setIcon(image, row + kIconTagBase);
        } else {
            icon = new FormulaIconView(image, row + kIconTagBase, cell);
            icon->onAction = [this](int tag) { onItemAction(tag); };
        }
        icon->setGeometry(320 - size.width(), (rowHeight - size.height()) / 2, size.width(), size.height());
        icon->show();
    }
    return cell;
}

void FormulaViewController::tableViewDidSelectRow(UITableView* tableView, int row)
{
    if (m_pSearchBar)
        m_pSearchBar->resignFirstResponder();
    m_nSelectedRow = row;
    tableView->deselectRow(row, true);
}

void FormulaViewController::onItemAction(int tag)
{
    m_bAccessoryAction = true;
    m_nModifyIndex = tag - kIconTagBase;
}

void FormulaViewController::didDeselectedRow()
{
    if (!m_bAccessoryAction) {
        UITimer::scheduledTimer(0.3, false, this, [this] { tableViewRowClicked(); });
        return;
    }
    m_bAccessoryAction = false;
    auto* sheet = new UIActionSheet(QStringLiteral("Choose one action:"), QString(), QString(),
                                    {QStringLiteral("Edit"), QStringLiteral("Remove"), QStringLiteral("Cancel")});
    sheet->onClicked = [this](UIActionSheet*, int index) {
        if (index == 0) {
            editFormulaWithIndex(m_nModifyIndex);
        } else if (index == 1) {
            auto* confirm = new UIActionSheet(QStringLiteral("Do you really want to remove this formula?"),
                                              QStringLiteral("No"), QString(), {QStringLiteral("Yes")});
            confirm->onClicked = [this](UIActionSheet*, int answer) {
                if (answer == 0)
                    removeFormulaWithIndex(m_nModifyIndex);
            };
            confirm->show();
        }
    };
    sheet->show();
}

void FormulaViewController::tableViewRowClicked()
{
    const int r = m_nSelectedRow;
    if (!g_bSearching) {
        if (r < 0 || r >= static_cast<int>(m_vecShowingFormulaIds.size()))
            return;
        const int value = m_vecShowingFormulaIds[r];
        if (value < 0) {
            if (-value > BOOK_COUNT)
                return;
            g_sFormulasFolder = g_arrBooks[-value - 1];
            if (m_arrTrace.empty()) {
                loadOpenBookTree();
                showLevel(".");
                m_arrTrace.push_back(".");
                setBackEnabled(true);
            }
        } else {
            if (value >= static_cast<int>(g_vecFormulas.size()))
                return;
            const _fornode& node = g_vecFormulas[value];
            if (node.m_uiNodeType > 1) {
                m_arrTrace.push_back(std::string(node.m_szNodeId) + ".");
                showLevel(m_arrTrace.back());
                setBackEnabled(true);
            } else {
                g_nSelectedFormula = value;
                switchToCalculate();
            }
        }
    } else if (!m_arrTrace.empty()) {
        if (r < 0 || r >= static_cast<int>(g_vecMatchedFormulaIds.size()))
            return;
        const int value = g_vecMatchedFormulaIds[r];
        if (value < 0 || value >= static_cast<int>(g_vecFormulas.size()))
            return;
        const _fornode& node = g_vecFormulas[value];
        if (node.m_uiNodeType > 1) {
            m_arrTrace.push_back(std::string(node.m_szNodeId) + ".");
            showLevel(m_arrTrace.back());
            setBackEnabled(true);
            g_bSearching = false;
            m_pSearchBar->setText(QString());
        } else {
            g_nSelectedFormula = value;
            switchToCalculate();
        }
    } else {
        if (r < 0 || r >= static_cast<int>(m_arraySearchResult.size()))
            return;
        const SEARCHRESULT hit = m_arraySearchResult[r];
        if (hit.m_NodeInfo.m_uiNodeType > 1) {
            g_sFormulasFolder = hit.m_strBook;
            loadOpenBookTree();
            m_arrTrace.clear();
            m_arrTrace.push_back(std::string(hit.m_NodeInfo.m_szNodeId) + ".");
            showLevel(m_arrTrace.back());
            g_bSearching = false;
            m_pSearchBar->setText(QString());
            setBackEnabled(true);
        } else {
            g_nSelectedFormula = r;
            switchToCalculate();
        }
    }
    reloadTable();
    writeSessionFile();
    // A new level starts the keyboard at its first row.
    if (!g_bOpenFormula)
        m_pSearchTable->setKeyboardRow(0);
}

void FormulaViewController::switchToCalculate()
{
    g_bOpenFormula = true;
    if (UITabBarController* tabs = tabBarController())
        tabs->setSelectedIndex(kCalculateTab);
}

void FormulaViewController::onUp()
{
    if (m_pSearchBar)
        m_pSearchBar->resignFirstResponder();
    if (g_bSearching) {
        if (m_pSearchBar)
            m_pSearchBar->setText(QString());
        onSearch(QString());
        return;
    }
    if (m_arrTrace.size() >= 2) {
        m_arrTrace.pop_back();
        showLevel(m_arrTrace.back());
    } else {
        getBooks(m_vecShowingFormulaIds);
        m_arrTrace.clear();
        setBackEnabled(false);
    }
    reloadTable();
    writeSessionFile();
    if (m_pSearchTable)
        m_pSearchTable->setKeyboardRow(0);
}

void FormulaViewController::onSearch(const QString& text)
{
    g_bSearching = false;
    g_vecMatchedFormulaIds.clear();
    m_arraySearchResult.clear();
    if (!text.isEmpty()) {
        g_bSearching = true;
        const std::string needle = text.toStdString();
        if (!m_arrTrace.empty())
            searchOpenBook(m_arrTrace.back(), needle);
        else
            searchAllBooks(needle);
    }
    reloadTable();
    if (m_pSearchTable)
        m_pSearchTable->setKeyboardRow(0);
    setBackEnabled(true);
}

// ---------------------------------------------------------------- edit and remove

bool FormulaViewController::nodeInfoForRow(int row, FORMULA_NODE_INFO& info, int& nodeIndex)
{
    nodeIndex = -1;
    if (searchingAllBooks()) {
        if (row < 0 || row >= static_cast<int>(m_arraySearchResult.size()))
            return false;
        info = makeNodeInfo(m_arraySearchResult[row].m_NodeInfo, m_arraySearchResult[row].m_strBook);
        return true;
    }
    const std::vector<int>& rows = g_bSearching ? g_vecMatchedFormulaIds : m_vecShowingFormulaIds;
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return false;
    nodeIndex = rows[row];
    if (nodeIndex < 0 || nodeIndex >= static_cast<int>(g_vecFormulas.size()))
        return false;
    info = makeNodeInfo(g_vecFormulas[nodeIndex], g_sFormulasFolder);
    return true;
}

void FormulaViewController::editFormulaWithIndex(int row)
{
    int nodeIndex = -1;
    if (!nodeInfoForRow(row, m_EditingFormulaInfo, nodeIndex))
        return;
    UINavigationController* nav = navigationController();
    if (!nav)
        return;
    if (!m_pEditFormulaController)
        m_pEditFormulaController = new EditFormulaViewController;
    m_pEditFormulaController->setHidesBottomBarWhenPushed(true);
    nav->setDelegate(this);
    m_pEditFormulaController->setFormInfoWithNode(m_EditingFormulaInfo);
    nav->pushViewController(m_pEditFormulaController, true);
}

void FormulaViewController::navigationControllerDidShowViewController(UINavigationController*, UIViewController* vc, bool)
{
    // Any other screen shown means the editor has gone: let it go.
    if (m_pEditFormulaController && vc != m_pEditFormulaController) {
        if (!m_pEditFormulaController->navigationController())
            m_pEditFormulaController->deleteLater();
        m_pEditFormulaController = nullptr;
    }
}

void FormulaViewController::updateFormulaListAfterEdit()
{
    _fornode fresh = makeEmptyNode();
    if (!getTreeNode(m_EditingFormulaInfo, fresh))
        return;
    const int row = m_nModifyIndex;
    if (searchingAllBooks()) {
        if (row >= 0 && row < static_cast<int>(m_arraySearchResult.size()))
            m_arraySearchResult[row].m_NodeInfo = fresh;
    } else {
        const std::vector<int>& rows = g_bSearching ? g_vecMatchedFormulaIds : m_vecShowingFormulaIds;
        if (row >= 0 && row < static_cast<int>(rows.size()) && rows[row] >= 0
            && rows[row] < static_cast<int>(g_vecFormulas.size()))
            g_vecFormulas[rows[row]] = fresh;
    }
    reloadTable();
    FORMULA_NODE_INFO info = m_EditingFormulaInfo;
    info.m_NodeInfo = fresh;
    updateFavHisAfterEditItemWithNodeInfo(info);
}

void FormulaViewController::reloadFormulaList()
{
    // A formula was added to a book or moved inside it: the open book's tree
    // is read again and the level (or the search in it) shown afresh.
    if (m_arrTrace.empty() || g_sFormulasFolder.empty())
        return;
    loadOpenBookTree();
    if (g_bSearching && m_pSearchBar)
        onSearch(m_pSearchBar->text());
    else
        showLevel(m_arrTrace.back());
    reloadTable();
}

void FormulaViewController::removeFormulaWithIndex(int row)
{
    FORMULA_NODE_INFO info = makeEmptyNodeInfo();
    int nodeIndex = -1;
    if (!nodeInfoForRow(row, info, nodeIndex))
        return;
    if (!deleteFormulaFromBook(info)) {
        // The book is unchanged, so the row stays.
        auto* alert = new UIAlertView(QStringLiteral("Warning!"),
                                      QStringLiteral("Failed to remove the formula!\n")
                                          + QString::fromUtf8(bookWriteErrorText(getLastBookWriteError())),
                                      QStringLiteral("OK"));
        alert->show();
        return;
    }
    updateFormulaListAfterDeleteItemAtRow(row);
    updateFavHisAfterDeleteItemWithNodeInfo(info);
    // A formula written later under the same id must not show these values.
    forgetTypedValues(info);
}

void FormulaViewController::updateFormulaListAfterDeleteItemAtRow(int row)
{
    if (searchingAllBooks()) {
        if (row >= 0 && row < static_cast<int>(m_arraySearchResult.size()))
            m_arraySearchResult.erase(m_arraySearchResult.begin() + row);
    } else {
        const std::vector<int>& rows = g_bSearching ? g_vecMatchedFormulaIds : m_vecShowingFormulaIds;
        if (row < 0 || row >= static_cast<int>(rows.size()))
            return;
        const int index = rows[row];
        if (index < 0 || index >= static_cast<int>(g_vecFormulas.size()))
            return;
        g_vecFormulas.erase(g_vecFormulas.begin() + index);
        // Both lists index g_vecFormulas: the level behind a search must stay right too.
        shiftRowsAfterErase(m_vecShowingFormulaIds, index);
        shiftRowsAfterErase(g_vecMatchedFormulaIds, index);
    }
    reloadTable();
}

void FormulaViewController::updateFavHisAfterEditItemWithNodeInfo(const FORMULA_NODE_INFO& info)
{
    updateFormulaInFavHis(info, info.m_NodeInfo);
    saveFavoritesAndHistory();
}

void FormulaViewController::updateFavHisAfterDeleteItemWithNodeInfo(const FORMULA_NODE_INFO& info)
{
    removeFormulaFromFavHis(info);
    saveFavoritesAndHistory();
}
