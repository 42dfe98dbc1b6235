// The Favorites tab and its editor driven like a user: switch lists, open an
// entry, swap in the editor, check rows, Delete / Delete All / Sort and their
// alerts, Done.

#include "window/GuiTestSupport.h"

#include "browser/EditFavoritesViewController.h"
#include "browser/FavoritesViewController.h"
#include "storage/FavoritesHistory.h"
#include "ui/UISegmentedControl.h"
#include "ui/UIToolbar.h"

using namespace guitest;

namespace {

FORMULA_NODE_INFO entry(const char* name, const char* id, const char* book = "Math")
{
    FORMULA_NODE_INFO info = makeEmptyNodeInfo();
    setNode(info.m_NodeInfo, id, name, 1);
    std::snprintf(info.m_szBook, sizeof info.m_szBook, "%s", book);
    return info;
}

void writeLists(const QString& home, const std::vector<FORMULA_NODE_INFO>& favorites,
                const std::vector<FORMULA_NODE_INFO>& history)
{
    QVERIFY(saveFormulaList((home + "/Favorites.sav").toStdString(), favorites));
    QVERIFY(saveFormulaList((home + "/History.sav").toStdString(), history));
}

const std::vector<FORMULA_NODE_INFO> kFive = {entry("Row zero", ".1"), entry("Row one", ".2"), entry("Row two", ".3"),
                                              entry("Row three", ".4"), entry("Row four", ".5")};
const std::vector<FORMULA_NODE_INFO> kHistory = {entry("Kinetic energy", ".1", "Dynamics and Mechanics"),
                                                 entry("Snell's law", ".1.3", "Optics")};

QStringList storedNames(const QString& path)
{
    std::vector<FORMULA_NODE_INFO> list;
    loadFormulaList(path.toStdString(), list);
    QStringList names;
    for (const auto& e : list)
        names << QString(e.m_NodeInfo.m_szNodeName);
    return names;
}

void clickSegment(UISegmentedControl* control, int index)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, control->segmentRect(index).center());
}

// Opens the Favorites tab and swaps in the editor.
EditFavoritesViewController* openEditor(App& app)
{
    clickTab(app.delegate.get(), 1);
    clickBarButton(app.delegate->window, "Edit");
    QTest::qWaitFor([&] { return !app.delegate->transitionView()->isTransitioning(); });
    return app.delegate->favoritesEditViewController();
}

} // namespace

class TestFavoritesScreen : public QObject {
    Q_OBJECT

private slots:
    void listsSwitchAndOpenCalculate();
    void tapOnVanishedRowDoesNothing();
    void editorSwapsInAndOut();
    void deleteCheckedRows();
    void deleteWithNothingChecked();
    void deleteAllOfHistoryLeavesFavorites();
    void answeringNoChangesNothing_data();
    void answeringNoChangesNothing();
    void sortByNameIgnoringCase();
};

void TestFavoritesScreen::listsSwitchAndOpenCalculate()
{
    QTemporaryDir home;
    writeLists(home.path(), {kFive[0], kFive[1], entry("A long formula name that certainly needs two lines", ".9")}, kHistory);
    App app(home.path());
    clickTab(app.delegate.get(), 1);
    FavoritesViewController* favorites = app.delegate->favoritesViewController();
    UITableView* table = favorites->tableView();
    QCOMPARE(rowTexts(table), QStringList({"Row zero", "Row one", "A long formula name that certainly needs two lines"}));
    QVERIFY(table->rectForRow(2).height() > table->rectForRow(0).height());
    QCOMPARE(favorites->segmentedControl()->selectedSegmentIndex(), 0);
    screenshot(app.delegate->window, "favorites_list");

    clickSegment(favorites->segmentedControl(), 1);
    QCOMPARE(g_nCurrentListType, 1);
    QCOMPARE(rowTexts(table), QStringList({"Kinetic energy", "Snell's law"}));
    screenshot(app.delegate->window, "favorites_history_list");

    clickRow(table, 1);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QVERIFY(g_bFavHisToCalcDet);
    QVERIFY(isSameFormula(g_favhisInfo, kHistory[1]));

    // The list shown survives a change of tab.
    clickTab(app.delegate.get(), 1);
    QCOMPARE(favorites->segmentedControl()->selectedSegmentIndex(), 1);
    QCOMPARE(table->numberOfRows(), 2);
}

void TestFavoritesScreen::tapOnVanishedRowDoesNothing()
{
    QTemporaryDir home;
    writeLists(home.path(), {kFive[0], kFive[1]}, {});
    App app(home.path());
    clickTab(app.delegate.get(), 1);
    UITableView* table = app.delegate->favoritesViewController()->tableView();
    clickRow(table, 1);
    g_arrFavorite.pop_back(); // the list shrinks before the delayed open
    QTest::qWait(450);
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 1);
    QVERIFY(!g_bFavHisToCalcDet);
}

void TestFavoritesScreen::editorSwapsInAndOut()
{
    QTemporaryDir home;
    writeLists(home.path(), kFive, kHistory);
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    QVERIFY(editor->view()->isVisible());
    QVERIFY(!app.delegate->m_tabbarCtrler->view()->isVisible());
    QCOMPARE(rowTexts(editor->tableView()), QStringList({"Row zero", "Row one", "Row two", "Row three", "Row four"}));
    QStringList buttons;
    for (UIBarButton* b : editor->toolBar()->buttons())
        buttons << b->text();
    QCOMPARE(buttons, QStringList({"Delete", "Delete All", "Sort"}));

    // A second request while the swap runs is ignored.
    clickBarButton(app.delegate->window, "Done");
    QVERIFY(app.delegate->transitionView()->isTransitioning());
    app.delegate->onEditFavHis();
    QTRY_VERIFY(!app.delegate->transitionView()->isTransitioning());
    QVERIFY(app.delegate->m_tabbarCtrler->view()->isVisible());
    QVERIFY(!editor->view()->isVisible());
}

void TestFavoritesScreen::deleteCheckedRows()
{
    QTemporaryDir home;
    writeLists(home.path(), kFive, kHistory);
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    UITableView* table = editor->tableView();
    clickRow(table, 1);
    clickRow(table, 3);
    QCOMPARE(editor->checkStatus(), std::vector<int>({0, 1, 0, 1, 0}));
    screenshot(app.delegate->window, "favorites_editor_checked");

    clickBarButton(app.delegate->window, "Delete");
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->title(), QString("Warning!"));
    QCOMPARE(alert->message(), QString("Do you really want to delete all checked items?"));
    QCOMPARE(alert->buttonTitles(), QStringList({"YES", "NO"}));
    QCOMPARE(alert->tag(), 1001);
    screenshot(app.delegate->window, "favorites_editor_delete_alert");
    clickOverlayButton(alert, "YES");

    QCOMPARE(rowTexts(table), QStringList({"Row zero", "Row two", "Row four"}));
    QCOMPARE(editor->checkStatus(), std::vector<int>({0, 0, 0}));
    QCOMPARE(storedNames(home.path() + "/Favorites.sav"), QStringList({"Row zero", "Row two", "Row four"}));

    // Done: the Favorites screen shows the shorter list.
    clickBarButton(app.delegate->window, "Done");
    QTRY_VERIFY(!app.delegate->transitionView()->isTransitioning());
    QCOMPARE(rowTexts(app.delegate->favoritesViewController()->tableView()), QStringList({"Row zero", "Row two", "Row four"}));
}

void TestFavoritesScreen::deleteWithNothingChecked()
{
    QTemporaryDir home;
    writeLists(home.path(), kFive, kHistory);
    const QByteArray before = readFile(home.path() + "/Favorites.sav");
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    clickBarButton(app.delegate->window, "Delete");
    clickOverlayButton(topAlert(), "YES");
    QCOMPARE(editor->tableView()->numberOfRows(), 5);
    QCOMPARE(readFile(home.path() + "/Favorites.sav"), before);
}

void TestFavoritesScreen::deleteAllOfHistoryLeavesFavorites()
{
    QTemporaryDir home;
    writeLists(home.path(), kFive, kHistory);
    const QByteArray favoritesBefore = readFile(home.path() + "/Favorites.sav");
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    clickSegment(editor->segmentedControl(), 1);
    QCOMPARE(editor->tableView()->numberOfRows(), 2);

    clickBarButton(app.delegate->window, "Delete All");
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->message(), QString("Do you really want to delete all items?"));
    QCOMPARE(alert->buttonTitles(), QStringList({"YES", "NO"}));
    QCOMPARE(alert->tag(), 1000);
    clickOverlayButton(alert, "YES");

    QCOMPARE(editor->tableView()->numberOfRows(), 0);
    QVERIFY(g_arrHistory.empty());
    QVERIFY(!QFile::exists(home.path() + "/History.sav"));
    QCOMPARE(g_arrFavorite.size(), std::size_t(5));
    QCOMPARE(readFile(home.path() + "/Favorites.sav"), favoritesBefore);

    // At the end of the run the empty History is written, Favorites as they were.
    app.terminate();
    QCOMPARE(readFile(home.path() + "/History.sav").size(), 0);
    QCOMPARE(readFile(home.path() + "/Favorites.sav"), favoritesBefore);
}

void TestFavoritesScreen::answeringNoChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Delete") << "Delete";
    QTest::newRow("Delete All") << "Delete All";
}

void TestFavoritesScreen::answeringNoChangesNothing()
{
    QFETCH(QString, button);
    QTemporaryDir home;
    writeLists(home.path(), kFive, kHistory);
    const QByteArray before = readFile(home.path() + "/Favorites.sav");
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    clickRow(editor->tableView(), 2);
    clickBarButton(app.delegate->window, button);
    clickOverlayButton(topAlert(), "NO");
    QCOMPARE(editor->tableView()->numberOfRows(), 5);
    QCOMPARE(editor->checkStatus(), std::vector<int>({0, 0, 1, 0, 0}));
    QCOMPARE(readFile(home.path() + "/Favorites.sav"), before);
}

void TestFavoritesScreen::sortByNameIgnoringCase()
{
    QTemporaryDir home;
    writeLists(home.path(), {entry("beta", ".1"), entry("Alpha", ".2"), entry("gamma", ".3")}, kHistory);
    App app(home.path());
    EditFavoritesViewController* editor = openEditor(app);
    clickRow(editor->tableView(), 0);
    clickBarButton(app.delegate->window, "Sort");
    QCOMPARE(rowTexts(editor->tableView()), QStringList({"Alpha", "beta", "gamma"}));
    // The check stays with the row position, not with the entry.
    QCOMPARE(editor->checkStatus(), std::vector<int>({1, 0, 0}));
    QCOMPARE(storedNames(home.path() + "/Favorites.sav"), QStringList({"Alpha", "beta", "gamma"}));
    QCOMPARE(storedNames(home.path() + "/History.sav"), QStringList({"Kinetic energy", "Snell's law"}));
    screenshot(app.delegate->window, "favorites_editor_sorted");
}

QTEST_MAIN(TestFavoritesScreen)
#include "test_favorites_screen.moc"
