// The More tab and what it leads to, as a user meets them: the menu, the
// About page, the paged picture help in full-screen mode, and the wizard's
// context help with its step pages and TeX tutorial.

#include "editor/WizardTestSupport.h"

#include "auxiliary/AboutViewController.h"
#include "auxiliary/ContextHelpView.h"
#include "auxiliary/ContextHelpViewController.h"
#include "auxiliary/HelpView.h"
#include "auxiliary/HelpViewController.h"

#include <QScrollBar>
#include <QTextBrowser>

using namespace wizardtest;

namespace {

// A finger swipe across the paging view, right to left for the next page.
void swipe(QWidget* pager, int fromX, int toX)
{
    const int y = pager->height() / 2;
    QTest::mousePress(pager, Qt::LeftButton, {}, QPoint(fromX, y));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(pager, QPoint(fromX + (toX - fromX) * step / 4, y));
    QTest::mouseRelease(pager, Qt::LeftButton, {}, QPoint(toX, y));
}

QList<int> preparedPages(HelpView* help)
{
    QList<int> pages;
    for (int p = 0; p < 11; ++p)
        if (help->pageView(p))
            pages << p;
    return pages;
}

void back(App& app)
{
    UINavigationController* nav = tabNavigation(app, 3);
    const int depth = static_cast<int>(nav->viewControllers().size());
    clickBarButton(app.delegate->window, " Back ");
    QTRY_COMPARE(nav->viewControllers().size(), depth - 1);
    QTRY_VERIFY(!nav->isAnimating());
}

} // namespace

class TestMoreScreens : public QObject {
    Q_OBJECT

private slots:
    void moreMenuRows();
    void restoreShippedFormulasPutsABookBack();
    void aboutShowsTheVersion();
    void helpPagesLoadAroundThePageShown();
    void contextHelpLoadsItsFirstPageLater();
    void contextHelpReloadsOnlyForAnotherPage();
};

void TestMoreScreens::moreMenuRows()
{
    QTemporaryDir home;
    App app(home.path());
    clickTab(app.delegate.get(), 3);
    MoreViewController* more = moreScreen(app);
    QVERIFY(more);
    QCOMPARE(app.delegate->m_tabbarCtrler->tabBar()->item(3).title, QString("More"));
    QCOMPARE(app.delegate->m_tabbarCtrler->tabBar()->item(3).imageName, QString("More.png"));
    QCOMPARE(tabNavigation(app, 3)->navigationBar()->titleText(), QString("More"));
    UITableView* table = more->tableView();
    QCOMPARE(table->numberOfRows(), 4);
    QStringList rows;
    for (int r = 0; r < 4; ++r) {
        rows << table->cellForRow(r)->textLabel()->text();
        QCOMPARE(table->cellForRow(r)->accessoryType(), r < 3 ? UITableViewCell::AccessoryDisclosureIndicator
                                                              : UITableViewCell::AccessoryNone);
    }
    QCOMPARE(rows, QStringList({"Create a new formula", "Help", "About", "Restore shipped formulas"}));
    screenshot(app.delegate->window, "more_menu");

    // The wizard it leads to goes once another screen is shown.
    openMoreRow(app, 0);
    QPointer<NewFormulaViewController> wizard = qobject_cast<NewFormulaViewController*>(more->newFormulaViewController());
    QVERIFY(wizard);
    QVERIFY(app.delegate->m_tabbarCtrler->isTabBarHidden());
    back(app);
    QVERIFY(!more->newFormulaViewController());
    QTRY_VERIFY(!wizard);
    QCOMPARE(tabNavigation(app, 3)->navigationBar()->titleText(), QString("More"));
    QVERIFY(!app.delegate->m_tabbarCtrler->isTabBarHidden());
}

// A shipped formula removed by mistake comes back: More offers the shipped
// books (never the user's own), names what will be replaced, and puts the
// book back byte for byte; the user's book stays as it is.
void TestMoreScreens::restoreShippedFormulasPutsABookBack()
{
    QTemporaryDir home, scratch;
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    QVERIFY(writeBook(USER_DEFINE_BOOK, formulaRecord("1", "Mine"), scratch.path()));
    const QByteArray userBook = readFile(home.path() + "/User Define_fordes.dat");
    App app(home.path());
    QVERIFY(openInBrowser(app, "Electric Engineering", {"DC Circuits"}));
    UITableView* browser = app.delegate->formulaViewController()->tableView();
    const int row = static_cast<int>(rowTexts(browser).indexOf("Ohm's law"));
    QVERIFY(row >= 0);
    tapIcon(browser, row);
    QTRY_VERIFY(topSheet());
    clickOverlayButton(topSheet(), "Remove");
    clickOverlayButton(topSheet(), "Yes");
    QVERIFY(!rowTexts(browser).contains("Ohm's law"));

    clickTab(app.delegate.get(), 3);
    clickRow(moreScreen(app)->tableView(), MoreViewController::kRestoreRow);
    QTRY_VERIFY(topSheet());
    UIActionSheet* sheet = topSheet();
    QCOMPARE(sheet->title(), QString("Which book should be restored as shipped?"));
    QCOMPARE(sheet->buttonTitles(), QStringList({"Astrophysic", "Dynamics and Mechanics", "Electric Engineering",
                                                 "Math", "Optics", "Thermodynamics", "Cancel"}));
    screenshot(app.delegate->window, "more_restore_which_book");
    clickOverlayButton(sheet, "Electric Engineering");
    QTRY_VERIFY(topAlert());
    UIAlertView* confirm = topAlert();
    QCOMPARE(confirm->title(), QString("Restore shipped formulas"));
    QVERIFY(confirm->message().startsWith("\"Electric Engineering\" is put back as shipped"));
    QVERIFY(confirm->message().contains("\"User-defined Formulas\" is not touched"));
    QCOMPARE(confirm->buttonTitles(), QStringList({"Cancel", "Restore"}));
    screenshot(app.delegate->window, "more_restore_confirm");
    clickOverlayButton(confirm, "Restore");
    QTRY_VERIFY(topAlert() && topAlert()->message() == "\"Electric Engineering\" is as shipped again.");
    clickOverlayButton(topAlert(), "OK");

    const QString shipped = QString::fromStdString(g_sAppPath) + "/Formulas/Electric Engineering/Electric Engineering_";
    for (const char* file : g_arrBookFileNames)
        QCOMPARE(readFile(home.path() + "/Electric Engineering_" + file), readFile(shipped + file));
    QCOMPARE(readFile(home.path() + "/User Define_fordes.dat"), userBook);
    QVERIFY(rowTexts(browser).contains("Ohm's law"));
}

void TestMoreScreens::aboutShowsTheVersion()
{
    QTemporaryDir home;
    App app(home.path());
    openMoreRow(app, 2);
    auto* about = qobject_cast<AboutViewController*>(tabNavigation(app, 3)->topViewController());
    QVERIFY(about);
    QCOMPARE(tabNavigation(app, 3)->navigationBar()->titleText(), QString("About"));
    QLabel* name = about->productNameLabel();
    QCOMPARE(name->text(), QString("Calcudex - Free"));
    QCOMPARE(name->geometry(), QRect(0, 130, 320, 40));
    QVERIFY(name->font().bold());
    QCOMPARE(name->font().pixelSize(), 26);
    QCOMPARE(name->palette().color(QPalette::WindowText).name(), QColor::fromRgbF(0.04f, 0.37f, 0.45f).name());
    const QStringList info = about->aboutInfoLabel()->text().split('\n');
    QCOMPARE(info.size(), 3);
    QCOMPARE(info[0], QString("Version 1.0.0"));
    QCOMPARE(about->aboutInfoLabel()->geometry(), QRect(0, 170, 320, 100));
    screenshot(app.delegate->window, "more_about");
    back(app);
    QCOMPARE(tabNavigation(app, 3)->navigationBar()->titleText(), QString("More"));
}

void TestMoreScreens::helpPagesLoadAroundThePageShown()
{
    QTemporaryDir home;
    App app(home.path());
    openMoreRow(app, 1);
    auto* controller = qobject_cast<HelpViewController*>(tabNavigation(app, 3)->topViewController());
    QVERIFY(controller);
    HelpView* help = controller->helpView();

    // Full screen: no status strip, no tab bar; the help fills the rest under the bar.
    QVERIFY(app.delegate->window->isStatusBarHidden());
    QCOMPARE(tabNavigation(app, 3)->navigationBar()->titleText(), QString("Help"));
    QCOMPARE(help->size(), QSize(320, 480 - 44));
    QCOMPARE(help->pageControl()->geometry(), QRect(0, help->height() - 39, 320, 20));
    QCOMPARE(help->pageControl()->numberOfPages(), 11);
    QCOMPARE(preparedPages(help), QList<int>({0, 1}));
    QVERIFY(!help->pageView(0)->pixmap().isNull());
    QCOMPARE(help->pageView(1)->property("tag").toInt(), 12);
    screenshot(app.delegate->window, "more_help_first_page");

    // A swipe turns one page and prepares the next.
    swipe(help->scrollView(), 260, 60);
    QTRY_COMPARE(help->pageControl()->currentPage(), 1);
    QTRY_VERIFY(!help->scrollView()->isAnimating());
    QCOMPARE(preparedPages(help), QList<int>({0, 1, 2}));

    // A long flick to the last page prepares its neighbour only; nothing is unloaded.
    help->scrollView()->setContentOffset(QPointF(10 * 320, 0));
    QCOMPARE(help->pageControl()->currentPage(), 10);
    QCOMPARE(preparedPages(help), QList<int>({0, 1, 2, 9, 10}));
    QVERIFY(!help->pageView(10)->pixmap().isNull());
    screenshot(app.delegate->window, "more_help_last_page");

    // A tap on the dots turns back one page.
    QTest::mouseClick(help->pageControl(), Qt::LeftButton, {}, QPoint(40, 10));
    QTRY_VERIFY(!help->scrollView()->isAnimating());
    QCOMPARE(help->pageControl()->currentPage(), 9);
    QCOMPARE(preparedPages(help), QList<int>({0, 1, 2, 8, 9, 10}));

    // Leaving the help leaves full screen.
    back(app);
    QVERIFY(!app.delegate->window->isStatusBarHidden());
    QCOMPARE(app.delegate->transitionView()->geometry(), QRect(0, 20, 320, 460));
}

void TestMoreScreens::contextHelpLoadsItsFirstPageLater()
{
    QTemporaryDir home;
    App app(home.path());
    g_contextHelpId = 2;
    ContextHelpView view(QRect(0, 0, 320, 415));
    QCOMPARE(view.pageName(), QString());
    QCOMPARE(view.webView()->size(), QSize(320, 415));
    QTest::qWait(300);
    QCOMPARE(view.pageName(), QString());
    QTRY_COMPARE(view.pageName(), QString("Help/Step3_Help.htm"));
    QCOMPARE(view.webView()->documentTitle(), QString("Step 3: number of parameters"));
    QVERIFY(view.webView()->toPlainText().contains("Number of parameters"));
}

void TestMoreScreens::contextHelpReloadsOnlyForAnotherPage()
{
    QTemporaryDir home;
    App app(home.path());
    openMoreRow(app, 0);
    NewFormulaViewController* wizard = wizardOnTop(app, 3);
    QVERIFY(wizard);
    goToPage(wizard, 1);
    QTest::mouseClick(wizard->helpButton(), Qt::LeftButton);
    UINavigationController* nav = tabNavigation(app, 3);
    QTRY_COMPARE(nav->viewControllers().size(), 3);
    QTRY_VERIFY(!nav->isAnimating());
    ContextHelpViewController* help = wizard->contextHelpViewController();
    QTextBrowser* page = help->helpView()->webView();
    UISegmentedControl* segments = help->segmentedControl();
    QCOMPARE(segments->selectedSegmentIndex(), 0);
    QCOMPARE(segments->titleForSegment(1), QString("TeX Tuto"));
    QCOMPARE(segments->size(), QSize(150, 30));
    QCOMPARE(help->helpView()->pageName(), QString("Help/Step2_Help.htm"));
    QVERIFY(app.delegate->m_tabbarCtrler->isTabBarHidden());

    // The user reads down the page and comes back to it from the same step: it is where it was.
    page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
    const int readTo = page->verticalScrollBar()->value();
    QVERIFY(readTo > 0);
    back(app);
    QTest::mouseClick(wizard->helpButton(), Qt::LeftButton);
    QTRY_COMPARE(nav->viewControllers().size(), 3);
    QTRY_VERIFY(!nav->isAnimating());
    QCOMPARE(page->verticalScrollBar()->value(), readTo);

    // The tutorial, and back to the step page, loaded afresh.
    QTest::mouseClick(segments, Qt::LeftButton, {}, segments->segmentRect(1).center());
    QCOMPARE(help->helpView()->pageName(), QString("Help/source_textutorial.htm"));
    QCOMPARE(page->documentTitle(), QString("TeX tutorial"));
    screenshot(app.delegate->window, "context_help_tex_tutorial");
    QTest::mouseClick(segments, Qt::LeftButton, {}, segments->segmentRect(0).center());
    QCOMPARE(help->helpView()->pageName(), QString("Help/Step2_Help.htm"));
    QCOMPARE(page->verticalScrollBar()->value(), 0);

    // From a parameter page the help is that of Step 4.
    back(app);
    setParameterCount(wizard, "1");
    goToPage(wizard, 3);
    QTest::mouseClick(wizard->helpButton(), Qt::LeftButton);
    QTRY_COMPARE(nav->viewControllers().size(), 3);
    QCOMPARE(help->helpView()->pageName(), QString("Help/Step4_Help.htm"));
}

QTEST_MAIN(TestMoreScreens)
#include "test_more_screens.moc"
