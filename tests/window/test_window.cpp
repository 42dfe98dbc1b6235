// The Calcudex window as a user meets it: start-up, tabs, full-screen mode,
// the picture picker, and a restart that finds everything where it was left.

#include "window/GuiTestSupport.h"

#include "browser/FavoritesViewController.h"
#include "browser/FormulaViewController.h"
#include "storage/FavoritesHistory.h"
#include "ui/UINavigationController.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISearchBar.h"
#include "ui/UITabBarController.h"

#include <QFileDialog>
#include <QtEndian>

using namespace guitest;

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void startupShowsBooksAndTabs();
    void startupCopiesBooksOnlyWhenMissing();
    void fullScreenTwiceThenOffRestoresSecondFrames();
    void pickedImagesGetConsecutiveIds();
    void cancelledPickerWritesNothing();
    void restartRestoresSessionAndLists();
    void killAfterListChangeLosesNothing();
    void savedSessionInOpticsReopensFolder();
    void damagedSessionShowsBookList_data();
    void damagedSessionShowsBookList();
};

void TestWindow::startupShowsBooksAndTabs()
{
    QTemporaryDir home;
    App app(home.path());
    UIWindow* window = app.delegate->window;
    QCOMPARE(window->size(), QSize(320, 480));
    QVERIFY(!window->isStatusBarHidden());

    UITabBar* bar = app.delegate->m_tabbarCtrler->tabBar();
    QStringList titles;
    for (int i = 0; i < bar->count(); ++i)
        titles << bar->item(i).title;
    QCOMPARE(titles, QStringList({"Formulas", "Favorites", "Calculate", "More"}));
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 0);

    FormulaViewController* browser = app.delegate->formulaViewController();
    QCOMPARE(rowTexts(browser->tableView()),
             QStringList({"Astrophysic", "Dynamics and Mechanics", "Electric Engineering", "Math", "Optics",
                          "Thermodynamics", "User-defined Formulas"}));
    QVERIFY(!browser->backButtonItem()->isEnabled());
    screenshot(window, "window_book_list");

    // The other tabs answer a tap on the tab bar.
    for (int tab : {1, 2, 3}) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->itemRect(tab).center());
        QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), tab);
    }
    screenshot(window, "window_more_tab");
}

void TestWindow::startupCopiesBooksOnlyWhenMissing()
{
    QTemporaryDir home;
    {
        App app(home.path());
        QCOMPARE(QDir(home.path()).entryList({"*_*.dat"}, QDir::Files).size(), 28);
        app.kill();
    }
    // An edited book survives; a deleted file comes back alone.
    const QString des = home.path() + "/Math_fordes.dat";
    const QString tree = home.path() + "/Math_fortree.dat";
    QFile treeFile(tree);
    QVERIFY(treeFile.open(QIODevice::Append));
    treeFile.write(".99 =Kept by the user= 1\r\n");
    treeFile.close();
    const QByteArray treeBefore = readFile(tree);
    QVERIFY(QFile::remove(des));
    App again(home.path());
    QVERIFY(QFile::exists(des));
    QCOMPARE(readFile(tree), treeBefore);
}

void TestWindow::fullScreenTwiceThenOffRestoresSecondFrames()
{
    QTemporaryDir home;
    App app(home.path());
    CalcudexAppDelegate* d = app.delegate.get();
    QWidget* tabView = d->m_tabbarCtrler->view();
    QCOMPARE(d->transitionView()->geometry(), QRect(0, 20, 320, 460));

    d->onFullScreen(true);
    QVERIFY(d->window->isStatusBarHidden());
    QCOMPARE(d->transitionView()->geometry(), QRect(0, 0, 320, 480));
    QCOMPARE(tabView->geometry(), QRect(0, 0, 320, 480));
    QCOMPARE(g_rTrans.y, 20);
    screenshot(d->window, "window_full_screen");

    // The second call saves the full-screen frames; leaving restores those.
    d->onFullScreen(true);
    d->onFullScreen(false);
    QVERIFY(!d->window->isStatusBarHidden());
    QCOMPARE(d->transitionView()->geometry(), QRect(0, 0, 320, 480));

    // A single on/off pair brings the normal layout back.
    d->onFullScreen(true);
    g_rTrans = FrameRect{0, 20, 320, 460};
    g_rTabbar = FrameRect{0, 0, 320, 460};
    d->onFullScreen(false);
    QCOMPARE(d->transitionView()->geometry(), QRect(0, 20, 320, 460));
    QCOMPARE(tabView->geometry(), QRect(0, 0, 320, 460));
}

void TestWindow::pickedImagesGetConsecutiveIds()
{
    QTemporaryDir home;
    QTemporaryDir pictures;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString source = pictures.path() + "/photo.png";
    QVERIFY(picture.save(source));

    App app(home.path());
    QStringList posted;
    int marker = 0;
    UINotificationCenter::defaultCenter().addObserver(&marker, "closeImagePicker", nullptr,
                                                      [&](const UINotification& n) { posted << QString::fromStdString(n.name); });
    UINotificationCenter::defaultCenter().addObserver(&marker, "closeImagePickerEdit", nullptr,
                                                      [&](const UINotification& n) { posted << QString::fromStdString(n.name); });

    const struct {
        bool createMode;
        int id;
        const char* notification;
    } picks[] = {{false, 0, "closeImagePickerEdit"}, {true, 1, "closeImagePicker"}};
    for (const auto& pick : picks) {
        app.delegate->m_bOpenInCreateMode = pick.createMode;
        UINotificationCenter::defaultCenter().postNotification("openImagePicker");
        QFileDialog* picker = app.delegate->imagePicker();
        QVERIFY(picker);
        QTRY_VERIFY(picker->isVisible());
        if (pick.id == 0)
            screenshot(picker, "window_image_picker");
        picker->selectFile(source);
        emit picker->fileSelected(source); // what the dialog reports when the user picks the file

        const QString name = QStringLiteral("UserDefineImage_%1.png").arg(pick.id);
        QCOMPARE(QString::fromUtf8(g_sSaveFile), name);
        QImage saved(home.path() + "/Image/" + name);
        QCOMPARE(saved.size(), QSize(40, 30));
        const QByteArray id = readFile(home.path() + "/User Define_CurrentImageId.txt");
        QCOMPARE(id.size(), 4);
        QCOMPARE(qFromLittleEndian<qint32>(id.constData()), pick.id);
        QCOMPARE(posted.last(), QString(pick.notification));
        QVERIFY(!app.delegate->imagePicker());
    }
    UINotificationCenter::defaultCenter().removeObserver(&marker);
}

void TestWindow::cancelledPickerWritesNothing()
{
    QTemporaryDir home;
    App app(home.path());
    app.delegate->openImagePicker();
    QFileDialog* picker = app.delegate->imagePicker();
    QVERIFY(picker);
    picker->reject();
    QVERIFY(!app.delegate->imagePicker());
    QVERIFY(!QFile::exists(home.path() + "/User Define_CurrentImageId.txt"));
    QVERIFY(!QDir(home.path() + "/Image").exists());
}

void TestWindow::restartRestoresSessionAndLists()
{
    QTemporaryDir home;
    QStringList levelBefore;
    {
        App app(home.path());
        FormulaViewController* browser = app.delegate->formulaViewController();
        UITableView* table = browser->tableView();
        clickRow(table, 4); // Optics
        QTRY_COMPARE(m_arrTrace.size(), std::size_t(1));
        clickRow(table, 0); // its first folder
        QTRY_COMPARE(m_arrTrace.size(), std::size_t(2));
        levelBefore = rowTexts(table);
        QVERIFY(!levelBefore.isEmpty());

        FORMULA_NODE_INFO entry = makeNodeInfo(g_vecFormulas[0], "Optics");
        addToFavoriteList(entry);
        addHistory(entry);
        app.terminate();
        app.kill();
    }
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("Optics"));
    QCOMPARE(rowTexts(browser->tableView()), levelBefore);
    QVERIFY(browser->backButtonItem()->isEnabled());
    QCOMPARE(g_arrFavorite.size(), std::size_t(1));
    QCOMPARE(g_arrHistory.size(), std::size_t(1));
    screenshot(app.delegate->window, "window_restart_open_folder");

    // Back climbs to the book and then to the book list.
    clickBarButton(app.delegate->window, " Back ");
    QCOMPARE(m_arrTrace.size(), std::size_t(1));
    clickBarButton(app.delegate->window, " Back ");
    QVERIFY(m_arrTrace.empty());
    QVERIFY(!browser->backButtonItem()->isEnabled());
    QCOMPARE(rowText(browser->tableView(), 0), QString("Astrophysic"));
}

void TestWindow::killAfterListChangeLosesNothing()
{
    QTemporaryDir home;
    {
        App app(home.path());
        FORMULA_NODE_INFO a = makeEmptyNodeInfo();
        FORMULA_NODE_INFO b = makeEmptyNodeInfo();
        setNode(a.m_NodeInfo, ".9", "beta", 1);
        setNode(b.m_NodeInfo, ".8", "Alpha", 1);
        std::snprintf(a.m_szBook, sizeof a.m_szBook, "Math");
        std::snprintf(b.m_szBook, sizeof b.m_szBook, "Math");
        g_arrFavorite = {a, b};
        saveFavoritesAndHistory();
        // The user sorts the list in the editor, and the process is killed.
        clickTab(app.delegate.get(), 1);
        clickBarButton(app.delegate->window, "Edit");
        QTRY_VERIFY(!app.delegate->transitionView()->isTransitioning());
        clickBarButton(app.delegate->window, "Sort");
        app.kill();
    }
    std::vector<FORMULA_NODE_INFO> list;
    QVERIFY(loadFormulaList((home.path() + "/Favorites.sav").toStdString(), list));
    QCOMPARE(list.size(), std::size_t(2));
    QCOMPARE(QString(list[0].m_NodeInfo.m_szNodeName), QString("Alpha"));
}

namespace {

QByteArray sessionBytes(const QByteArray& book, const QList<QByteArray>& trace)
{
    QByteArray bytes;
    auto putInt = [&](qint32 v) {
        char raw[4];
        qToLittleEndian(v, raw);
        bytes.append(raw, 4);
    };
    putInt(static_cast<qint32>(book.size()));
    bytes.append(book);
    putInt(static_cast<qint32>(trace.size()));
    for (const QByteArray& e : trace) {
        putInt(static_cast<qint32>(e.size()));
        bytes.append(e);
    }
    return bytes;
}

void writeSession(const QString& home, const QByteArray& bytes)
{
    QFile file(home + "/LastSession.sav");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void TestWindow::savedSessionInOpticsReopensFolder()
{
    QTemporaryDir home;
    QTemporaryDir scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    QVERIFY(writeBook("Optics",
                      folderRecord("1", "Geometric optics") + folderRecord("2", "Wave optics")
                          + formulaRecord("2.1", "Grating equation") + formulaRecord("2.2", "Bragg's law")
                          + formulaRecord("1.1", "Mirror equation"),
                      scratch.path()));
    writeSession(home.path(), sessionBytes("Optics", {".", ".2."}));

    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    QCOMPARE(rowTexts(browser->tableView()), QStringList({"Bragg's law", "Grating equation"}));
    QVERIFY(browser->backButtonItem()->isEnabled());
}

void TestWindow::damagedSessionShowsBookList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Truncated and oversized fields.
    QTest::newRow("truncated name") << sessionBytes("Optics", {"."}).left(6);
    QTest::newRow("negative length") << QByteArray::fromHex("ffffffff");
    QTest::newRow("huge trace count") << sessionBytes("Optics", {}).left(10) + QByteArray::fromHex("ffffff7f");
    // Names that are not ours never reach a file path.
    QTest::newRow("unknown book") << sessionBytes("../../etc", {"."});
    QTest::newRow("trace that is no id") << sessionBytes("Optics", {".", "/tmp/"});
    QTest::newRow("trace without a book") << sessionBytes("", {".", ".1."});
}

void TestWindow::damagedSessionShowsBookList()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir home;
    writeSession(home.path(), bytes);
    App app(home.path());
    FormulaViewController* browser = app.delegate->formulaViewController();
    QCOMPARE(browser->tableView()->numberOfRows(), 7);
    QVERIFY(!browser->backButtonItem()->isEnabled());
    QVERIFY(m_arrTrace.empty());
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
