// The Formulas tab driven like a user: open books and folders, search the
// open level and all books, Back, open a formula, Edit/Remove from the icon.

#include "window/GuiTestSupport.h"

#include "browser/FormulaIconView.h"
#include "browser/FormulaViewController.h"
#include "storage/FavoritesHistory.h"
#include "ui/UINavigationController.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISearchBar.h"

#include <QLineEdit>

using namespace guitest;

namespace {

// Every book gets a folder with a subfolder holding an "Ohm" formula, so a
// search of all books finds one hit per book, each with a two-folder path.
void writeOhmBooks(const QString& scratch)
{
    int k = 1;
    for (const std::string& book : g_arrBooks) {
        QString text = folderRecord("1", QStringLiteral("Folder %1").arg(k)) + folderRecord("1.1", "Sub")
                       + formulaRecord("1.1.1", QStringLiteral("Ohm's law %1").arg(k)) + formulaRecord("2", "Kepler");
        QVERIFY(writeBook(book, text, scratch));
        ++k;
    }
}

// Math: a folder "Algebra" with three formulas A, B, C (B a theory formula)
// and a long name that wraps.
void writeMathBook(const QString& scratch)
{
    QVERIFY(writeBook("Math",
                      folderRecord("1", "Algebra") + formulaRecord("1.1", "Alpha rule") + formulaRecord("1.2", "Beta rule", 0)
                          + formulaRecord("1.3", "Gamma rule")
                          + formulaRecord("2", "A formula with a name long enough to need a second line"),
                      scratch));
}

// Book list → Math (row 3, two rows: Algebra and the long name) → Algebra
// (row 0, three formulas), as a user taps them.
void openAlgebraFolder(UITableView* table)
{
    clickRow(table, 3);
    QTRY_COMPARE(table->numberOfRows(), 2);
    clickRow(table, 0);
    QTRY_COMPARE(table->numberOfRows(), 3);
}

FORMULA_NODE_INFO entryNamed(const char* name)
{
    for (const _fornode& n : g_vecFormulas)
        if (QString(n.m_szNodeName) == name)
            return makeNodeInfo(n, g_sFormulasFolder);
    return makeEmptyNodeInfo();
}

void typeSearch(FormulaViewController* browser, const QString& text)
{
    QLineEdit* field = browser->searchBar()->textField();
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

void clearSearch(FormulaViewController* browser)
{
    QLineEdit* field = browser->searchBar()->textField();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
}

void tapIcon(UITableView* table, int row)
{
    table->scrollToRow(row);
    UITableViewCell* cell = table->cellForRow(row);
    QVERIFY(cell);
    auto* icon = cell->findChild<FormulaIconView*>();
    QVERIFY(icon);
    QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
}

} // namespace

class TestBrowserScreen : public QObject {
    Q_OBJECT

private slots:
    void opensBookFolderAndFormula();
    void longNamesGetTallerRows();
    void searchOfAllBooksShowsBookAndPath();
    void folderFromSearchOfAllBooksBacksToBookList();
    void formulaFromSearchOfAllBooksIsHandedOver();
    void clearingSearchShowsLevelBefore();
    void searchInOpenBookOpensFolderAndEndsSearch();
    void iconOffersEditAndRemove();
    void editedFormulaRefreshesRowAndLists();
    void removeUpdatesListsAndLaterRows();
    void removeFromSearchKeepsLevelBehindRight();
    void failedRemoveKeepsRowAndWarns();
    void cancelAndNoRemoveNothing_data();
    void cancelAndNoRemoveNothing();
};

void TestBrowserScreen::opensBookFolderAndFormula()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();

    clickRow(table, 3); // Math
    QTRY_COMPARE(rowText(table, 0), QString("Algebra"));
    QCOMPARE(rowTexts(table), QStringList({"Algebra", "A formula with a name long enough to need a second line"}));
    QVERIFY(browser->backButtonItem()->isEnabled());
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("Math"));
    // Folders carry the disclosure arrow, formulas their icon.
    QCOMPARE(table->cellForRow(0)->accessoryType(), UITableViewCell::AccessoryDisclosureIndicator);
    QVERIFY(table->cellForRow(1)->findChild<FormulaIconView*>());

    clickRow(table, 0); // Algebra
    QTRY_COMPARE(rowTexts(table), QStringList({"Alpha rule", "Gamma rule", "Beta rule"})); // calculable before theory
    screenshot(app.delegate->window, "browser_open_folder");

    clickRow(table, 1); // Gamma rule
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QVERIFY(g_bOpenFormula);
    QCOMPARE(QString(g_vecFormulas.at(g_nSelectedFormula).m_szNodeName), QString("Gamma rule"));
}

void TestBrowserScreen::longNamesGetTallerRows()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    clickRow(table, 3);
    QTRY_COMPARE(table->numberOfRows(), 2);
    const int oneLine = table->rectForRow(0).height();
    const int twoLines = table->rectForRow(1).height();
    QCOMPARE(oneLine, 40);
    const double textHeight = FormulaContentView::getSize("A formula with a name long enough to need a second line").height();
    QVERIFY(textHeight >= 40);
    QCOMPARE(twoLines, int(textHeight + 10));
}

void TestBrowserScreen::searchOfAllBooksShowsBookAndPath()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeOhmBooks(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();

    typeSearch(browser, "OHM");
    QCOMPARE(table->numberOfRows(), 7);
    QVERIFY(browser->backButtonItem()->isEnabled());
    for (int k = 0; k < 7; ++k) {
        QCOMPARE(rowText(table, k), QStringLiteral("Ohm's law %1").arg(k + 1));
        QCOMPARE(rowPathText(table, k), QStringLiteral("/%1/Folder %2/Sub/").arg(QString::fromStdString(g_arrBooks[k])).arg(k + 1));
        QCOMPARE(table->rectForRow(k).height(), 60);
    }
    // The search text is highlighted in every row.
    auto* content = table->cellForRow(0)->findChild<FormulaContentView*>();
    QCOMPARE(content->highlightRanges().size(), std::size_t(1));
    table->setContentOffset(0);
    screenshot(app.delegate->window, "browser_search_all_books");
}

void TestBrowserScreen::folderFromSearchOfAllBooksBacksToBookList()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeOhmBooks(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();

    typeSearch(browser, "folder 5");
    QCOMPARE(rowTexts(table), QStringList({"Folder 5"}));
    clickRow(table, 0);
    QTRY_COMPARE(rowTexts(table), QStringList({"Sub"}));
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("Optics"));
    QVERIFY(!g_bSearching);
    QVERIFY(browser->searchBar()->text().isEmpty());
    QCOMPARE(m_arrTrace, std::vector<std::string>({".1."}));

    clickBarButton(app.delegate->window, " Back ");
    QCOMPARE(table->numberOfRows(), 7);
    QCOMPARE(rowText(table, 4), QString("Optics"));
    QVERIFY(!browser->backButtonItem()->isEnabled());
}

void TestBrowserScreen::formulaFromSearchOfAllBooksIsHandedOver()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeOhmBooks(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    typeSearch(browser, "ohm");
    clickRow(browser->tableView(), 3);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    // The calculation screen reads the hit while the search is on and no book is open.
    QCOMPARE(g_nSelectedFormula, 3);
    QVERIFY(g_bSearching);
    QVERIFY(m_arrTrace.empty());
    QCOMPARE(QString::fromStdString(m_arraySearchResult.at(3).m_strBook), QString("Math"));
}

void TestBrowserScreen::clearingSearchShowsLevelBefore()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();
    openAlgebraFolder(table);
    const QStringList level = rowTexts(table);

    typeSearch(browser, "gamma");
    QCOMPARE(rowTexts(table), QStringList({"Gamma rule"}));
    clearSearch(browser);
    QVERIFY(!g_bSearching);
    QCOMPARE(rowTexts(table), level);

    // Back during a search ends the search first.
    typeSearch(browser, "rule");
    QCOMPARE(table->numberOfRows(), 3);
    clickBarButton(app.delegate->window, " Back ");
    QVERIFY(!g_bSearching);
    QCOMPARE(rowTexts(table), level);
}

void TestBrowserScreen::searchInOpenBookOpensFolderAndEndsSearch()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();
    clickRow(table, 3);
    QTRY_COMPARE(table->numberOfRows(), 2);

    // The search covers the whole book below the level, folders included.
    typeSearch(browser, "A");
    QCOMPARE(rowTexts(table).first(), QString("Algebra"));
    QVERIFY(rowTexts(table).contains("Gamma rule"));
    QCOMPARE(rowPathText(table, 0), QString()); // no second line inside a book
    screenshot(app.delegate->window, "browser_search_open_book");

    clickRow(table, 0);
    QTRY_COMPARE(rowTexts(table), QStringList({"Alpha rule", "Gamma rule", "Beta rule"}));
    QVERIFY(!g_bSearching);
    QVERIFY(browser->searchBar()->text().isEmpty());
    QCOMPARE(m_arrTrace, std::vector<std::string>({".", ".1."}));
}

void TestBrowserScreen::iconOffersEditAndRemove()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    openAlgebraFolder(table);

    tapIcon(table, 1);
    UIActionSheet* sheet = topSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->title(), QString("Choose one action:"));
    QCOMPARE(sheet->buttonTitles(), QStringList({"Edit", "Remove", "Cancel"}));
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 0); // the tap did not open the formula
    screenshot(app.delegate->window, "browser_action_sheet");

    clickOverlayButton(sheet, "Remove");
    UIActionSheet* confirm = topSheet();
    QVERIFY(confirm);
    QCOMPARE(confirm->title(), QString("Do you really want to remove this formula?"));
    QCOMPARE(confirm->buttonTitles(), QStringList({"Yes", "No"}));
    clickOverlayButton(confirm, "No");

    // Edit pushes the editor over the list, without the tab bar.
    tapIcon(table, 1);
    clickOverlayButton(topSheet(), "Edit");
    auto* nav = app.delegate->formulaViewController()->navigationController();
    QCOMPARE(nav->viewControllers().size(), 2);
    QTRY_VERIFY(!nav->isAnimating());
    QVERIFY(app.delegate->m_tabbarCtrler->isTabBarHidden());
    clickBarButton(app.delegate->window, "Formulas");
    QTRY_COMPARE(nav->viewControllers().size(), 1);
    QTRY_VERIFY(!nav->isAnimating());
    QVERIFY(!app.delegate->m_tabbarCtrler->isTabBarHidden());
}

void TestBrowserScreen::editedFormulaRefreshesRowAndLists()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    openAlgebraFolder(table);
    const FORMULA_NODE_INFO gamma = entryNamed("Gamma rule");
    addToFavoriteList(gamma);
    addHistory(gamma);

    tapIcon(table, 1);
    clickOverlayButton(topSheet(), "Edit");
    auto* nav = app.delegate->formulaViewController()->navigationController();
    QTRY_VERIFY(!nav->isAnimating());

    // What the editor does when the user saves a new name.
    FORMULA_NODE_INFO edited = gamma;
    setNode(edited.m_NodeInfo, gamma.m_NodeInfo.m_szNodeId, "Gamma law", 1);
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    {
        FormulasFolderSwitch useBook("Math");
        QVERIFY(getFormulaRecords(gamma.m_NodeInfo.m_szNodeId, pos, des, det));
    }
    des.m_strName = "Gamma law";
    QVERIFY(editFormulaInBook(edited, des, det));
    UINotificationCenter::defaultCenter().postNotification("updateFormulaListAfterEdit");

    QCOMPARE(rowText(table, 1), QString("Gamma law"));
    QCOMPARE(QString(g_arrFavorite.at(0).m_NodeInfo.m_szNodeName), QString("Gamma law"));
    QCOMPARE(QString(g_arrHistory.at(0).m_NodeInfo.m_szNodeName), QString("Gamma law"));
    std::vector<FORMULA_NODE_INFO> stored;
    QVERIFY(loadFormulaList((home.path() + "/History.sav").toStdString(), stored));
    QCOMPARE(QString(stored.at(0).m_NodeInfo.m_szNodeName), QString("Gamma law"));
}

void TestBrowserScreen::removeUpdatesListsAndLaterRows()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    openAlgebraFolder(table);

    const FORMULA_NODE_INFO alpha = entryNamed("Alpha rule");
    const FORMULA_NODE_INFO gamma = entryNamed("Gamma rule");
    addToFavoriteList(gamma);
    addToFavoriteList(alpha);
    addHistory(alpha);
    saveFavoritesAndHistory();

    tapIcon(table, 0); // Alpha rule
    clickOverlayButton(topSheet(), "Remove");
    clickOverlayButton(topSheet(), "Yes");
    QCOMPARE(rowTexts(table), QStringList({"Gamma rule", "Beta rule"}));
    QCOMPARE(g_arrFavorite.size(), std::size_t(1));
    QVERIFY(isSameFormula(g_arrFavorite[0], gamma));
    QVERIFY(g_arrHistory.empty());
    // The lists are on disk already, not only at the end of the run.
    std::vector<FORMULA_NODE_INFO> stored;
    QVERIFY(loadFormulaList((home.path() + "/Favorites.sav").toStdString(), stored));
    QCOMPARE(stored.size(), std::size_t(1));
    QCOMPARE(readFile(home.path() + "/History.sav").size(), 0);
    // The book lost the formula.
    QVERIFY(!readFile(home.path() + "/Math_fortree.dat").contains("Alpha rule"));

    // The rows after it still open their own formulas.
    clickRow(table, 0);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(QString(g_vecFormulas.at(g_nSelectedFormula).m_szNodeName), QString("Gamma rule"));
}

void TestBrowserScreen::removeFromSearchKeepsLevelBehindRight()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    UITableView* table = browser->tableView();
    openAlgebraFolder(table);

    typeSearch(browser, "alpha");
    QCOMPARE(rowTexts(table), QStringList({"Alpha rule"}));
    tapIcon(table, 0);
    clickOverlayButton(topSheet(), "Remove");
    clickOverlayButton(topSheet(), "Yes");
    QCOMPARE(table->numberOfRows(), 0);

    clearSearch(browser);
    QCOMPARE(rowTexts(table), QStringList({"Gamma rule", "Beta rule"}));
    clickRow(table, 1);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(QString(g_vecFormulas.at(g_nSelectedFormula).m_szNodeName), QString("Beta rule"));
}

void TestBrowserScreen::failedRemoveKeepsRowAndWarns()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    // A folder where the rewrite wants its temporary file: the book cannot be rewritten.
    QVERIFY(QDir(home.path()).mkdir("tmp_fortree.dat"));
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    openAlgebraFolder(table);
    addToFavoriteList(entryNamed("Alpha rule"));
    const QByteArray bookBefore = readFile(home.path() + "/Math_fortree.dat");

    tapIcon(table, 0);
    clickOverlayButton(topSheet(), "Remove");
    clickOverlayButton(topSheet(), "Yes");
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->title(), QString("Warning!"));
    QCOMPARE(alert->message(), QString("Failed to remove the formula!\nThe book could not be read or written."));
    QCOMPARE(alert->buttonTitles(), QStringList({"OK"}));
    screenshot(app.delegate->window, "browser_remove_failed");
    clickOverlayButton(alert, "OK");

    QCOMPARE(rowTexts(table), QStringList({"Alpha rule", "Gamma rule", "Beta rule"}));
    QCOMPARE(g_arrFavorite.size(), std::size_t(1));
    QCOMPARE(readFile(home.path() + "/Math_fortree.dat"), bookBefore);
}

void TestBrowserScreen::cancelAndNoRemoveNothing_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("Cancel") << "Cancel" << QString();
    QTest::newRow("Remove, then No") << "Remove" << "No";
}

void TestBrowserScreen::cancelAndNoRemoveNothing()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    writeMathBook(scratch.path());
    App app(home.path());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    clickRow(table, 3);
    QTRY_COMPARE(table->numberOfRows(), 2);
    const QByteArray bookBefore = readFile(home.path() + "/Math_fortree.dat");
    tapIcon(table, 1);
    clickOverlayButton(topSheet(), first);
    if (!second.isEmpty())
        clickOverlayButton(topSheet(), second);
    QVERIFY(!topSheet());
    QCOMPARE(table->numberOfRows(), 2);
    QCOMPARE(readFile(home.path() + "/Math_fortree.dat"), bookBefore);
    QTest::qWait(400); // nothing is opened later either
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 0);
}

QTEST_MAIN(TestBrowserScreen)
#include "test_browser_screen.moc"
