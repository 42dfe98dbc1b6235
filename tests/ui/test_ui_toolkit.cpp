// The toolkit layer: notifications, timers, table views, navigation stacks,
// tab bars, alerts and sheets, segmented controls.

#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UINavigationController.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISegmentedControl.h"
#include "ui/UITabBarController.h"
#include "ui/UITableView.h"
#include "ui/UITimer.h"
#include "ui/UIWindow.h"

#include <QLabel>
#include <QTest>

namespace {

// A table whose rows are as high as given, counting the cells it makes.
class RowsSource : public UITableViewDataSource, public UITableViewDelegate {
public:
    std::vector<int> heights;
    int created = 0;
    QList<int> selected;

    int tableViewNumberOfRows(UITableView*) override { return static_cast<int>(heights.size()); }
    int tableViewHeightForRow(UITableView*, int row) override { return heights[row]; }
    UITableViewCell* tableViewCellForRow(UITableView* table, int row) override
    {
        UITableViewCell* cell = table->dequeueReusableCell("cell");
        if (!cell) {
            cell = new UITableViewCell("cell");
            ++created;
        }
        cell->textLabel()->setText(QString::number(row));
        return cell;
    }
    void tableViewDidSelectRow(UITableView* table, int row) override
    {
        selected << row;
        table->deselectRow(row, false);
    }
};

class Recorder : public UINavigationControllerDelegate {
public:
    QList<UIViewController*> shown;
    void navigationControllerDidShowViewController(UINavigationController*, UIViewController* vc, bool) override
    {
        shown << vc;
    }
};

UIViewController* screen(const QString& title)
{
    auto* vc = new UIViewController;
    vc->setTitle(title);
    return vc;
}

} // namespace

class TestUIToolkit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void notificationsReachMatchingObservers();
    void observerRemovedWhilePostingIsNotCalled();
    void oneShotTimerFiresOnceAndGoes();
    void timerDiesWithItsOwner();
    void repeatingTimerRepeatsUntilInvalidated();
    void tableRowsStackByTheirHeights();
    void tableMakesCellsOnlyForVisibleRowsAndReusesThem();
    void tableTapSelectsAndDeselectPostsNotification();
    void tableDragScrollsWithoutSelecting();
    void navigationBackButtonShowsScreenBelow();
    void navigationDelegateHearsEveryShownScreen();
    void navigationTitleUsesTheRoomBetweenUnevenButtons();
    void tabBarHidesOverScreensThatAskForIt();
    void alertButtonsCountCancelFirst();
    void sheetButtonsCountDestructiveFirstAndCancelLast();
    void overlayKeepsTapsFromScreenBelow();
    void segmentedControlReportsOnlyTaps();

private:
    UIWindow* m_window = nullptr;
};

void TestUIToolkit::init()
{
    m_window = new UIWindow;
    m_window->makeKeyAndVisible();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestUIToolkit::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestUIToolkit::notificationsReachMatchingObservers()
{
    UINotificationCenter center;
    int sender = 0, other = 0, a = 0, b = 0;
    QStringList heard;
    center.addObserver(&a, "changed", nullptr, [&](const UINotification&) { heard << "a any"; });
    center.addObserver(&b, "changed", &sender, [&](const UINotification&) { heard << "b sender"; });
    center.addObserver(&b, "other", nullptr, [&](const UINotification&) { heard << "b other"; });

    const struct {
        const char* name;
        const void* object;
        QStringList expected;
    } cases[] = {
        {"changed", &sender, {"a any", "b sender"}},
        {"changed", &other, {"a any"}},
        {"changed", nullptr, {"a any"}},
        {"other", &sender, {"b other"}},
        {"unknown", &sender, {}},
    };
    for (const auto& c : cases) {
        heard.clear();
        center.postNotification(c.name, c.object);
        QCOMPARE(heard, c.expected);
    }
    center.removeObserver(&b, "changed");
    heard.clear();
    center.postNotification("changed", &sender);
    QCOMPARE(heard, QStringList({"a any"}));
    center.removeObserver(&a);
    QCOMPARE(center.observerCount("changed"), 0);
    QCOMPARE(center.observerCount("other"), 1);
}

void TestUIToolkit::observerRemovedWhilePostingIsNotCalled()
{
    UINotificationCenter center;
    int first = 0, second = 0;
    QStringList heard;
    center.addObserver(&first, "close", nullptr, [&](const UINotification&) {
        heard << "first";
        center.removeObserver(&second); // the screen that closes takes another with it
    });
    center.addObserver(&second, "close", nullptr, [&](const UINotification&) { heard << "second"; });
    center.postNotification("close");
    QCOMPARE(heard, QStringList({"first"}));
}

void TestUIToolkit::oneShotTimerFiresOnceAndGoes()
{
    QObject owner;
    int fired = 0;
    QPointer<UITimer> timer = UITimer::scheduledTimer(0.05, false, &owner, [&] { ++fired; });
    QVERIFY(timer->isValid());
    QCOMPARE(fired, 0); // not before the event loop runs
    QTRY_COMPARE(fired, 1);
    QTRY_VERIFY(timer.isNull());
    QTest::qWait(120);
    QCOMPARE(fired, 1);
}

void TestUIToolkit::timerDiesWithItsOwner()
{
    int fired = 0;
    auto* owner = new QObject;
    QPointer<UITimer> timer = UITimer::scheduledTimer(0.05, false, owner, [&] { ++fired; });
    delete owner;
    QVERIFY(timer.isNull());
    QTest::qWait(120);
    QCOMPARE(fired, 0);
}

void TestUIToolkit::repeatingTimerRepeatsUntilInvalidated()
{
    QObject owner;
    int fired = 0;
    QPointer<UITimer> timer = UITimer::scheduledTimer(0.02, true, &owner, [&] { ++fired; });
    QTRY_VERIFY(fired >= 3);
    timer->invalidate();
    const int atStop = fired;
    QTest::qWait(100);
    QCOMPARE(fired, atStop);
    QTRY_VERIFY(timer.isNull());
}

void TestUIToolkit::tableRowsStackByTheirHeights()
{
    UITableView table(m_window);
    table.setGeometry(0, 0, 320, 400);
    RowsSource source;
    source.heights = {40, 52, 60, 40};
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.reloadData();
    table.show();
    const QList<QRect> expected = {QRect(0, 0, 320, 40), QRect(0, 40, 320, 52), QRect(0, 92, 320, 60), QRect(0, 152, 320, 40)};
    for (int r = 0; r < 4; ++r) {
        QCOMPARE(table.rectForRow(r), expected[r]);
        QCOMPARE(table.cellForRow(r)->geometry(), expected[r]);
    }
    QVERIFY(table.rectForRow(4).isNull());
    QVERIFY(table.rectForRow(-1).isNull());
}

void TestUIToolkit::tableMakesCellsOnlyForVisibleRowsAndReusesThem()
{
    UITableView table(m_window);
    table.setGeometry(0, 0, 320, 200);
    RowsSource source;
    source.heights.assign(100, 40);
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.reloadData();
    table.show();
    QCOMPARE(source.created, 5); // 200 / 40
    QVERIFY(table.cellForRow(4));
    QVERIFY(!table.cellForRow(5));

    table.scrollToRow(99);
    QVERIFY(table.cellForRow(99));
    QVERIFY(!table.cellForRow(0));
    QCOMPARE(table.cellForRow(99)->textLabel()->text(), QString("99"));
    QVERIFY(source.created <= 6); // the rows that scrolled away gave their cells back

    // Reloading hands the same cells out again.
    const int before = source.created;
    table.reloadData();
    QCOMPARE(source.created, before);
    source.heights.assign(2, 40);
    table.reloadData();
    QCOMPARE(table.numberOfRows(), 2);
    QCOMPARE(table.contentOffset(), 0);
    QCOMPARE(table.cellForRow(1)->textLabel()->text(), QString("1"));
}

void TestUIToolkit::tableTapSelectsAndDeselectPostsNotification()
{
    UITableView table(m_window);
    table.setGeometry(0, 0, 320, 200);
    RowsSource source;
    source.heights = {40, 40, 40};
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.reloadData();
    table.show();
    int posted = 0;
    UINotificationCenter::defaultCenter().addObserver(this, UITableView::kSelectionDidChangeNotification, &table,
                                                      [&](const UINotification&) { ++posted; });
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    QCOMPARE(source.selected, QList<int>({1}));
    QCOMPARE(posted, 1);
    QCOMPARE(table.selectedRow(), -1);
    // Deselecting a row that is not selected says nothing.
    table.deselectRow(2, false);
    QCOMPARE(posted, 1);
    // A tap below the last row selects nothing.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, QPoint(100, 170));
    QCOMPARE(source.selected.size(), 1);
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void TestUIToolkit::tableDragScrollsWithoutSelecting()
{
    UITableView table(m_window);
    table.setGeometry(0, 0, 320, 200);
    RowsSource source;
    source.heights.assign(20, 40);
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.reloadData();
    table.show();
    QWidget* vp = table.viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(100, 150));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 50), vp->mapToGlobal(QPointF(100, 50)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(100, 50));
    QCOMPARE(table.contentOffset(), 100);
    QVERIFY(source.selected.isEmpty());
}

void TestUIToolkit::navigationBackButtonShowsScreenBelow()
{
    UIViewController* root = screen("More");
    UINavigationController nav(root);
    nav.view()->setParent(m_window);
    nav.view()->setGeometry(0, 20, 320, 460);
    nav.view()->show();
    QCOMPARE(nav.navigationBar()->titleText(), QString("More"));
    QVERIFY(!nav.navigationBar()->backButton());

    // A screen below may name the back button itself.
    root->navigationItem()->setBackButtonTitle(" Back ");
    QPointer<UIViewController> about = screen("About");
    nav.pushViewController(about, false);
    QCOMPARE(nav.navigationBar()->titleText(), QString("About"));
    QVERIFY(nav.navigationBar()->backButton());
    QCOMPARE(nav.navigationBar()->backButton()->text(), QString(" Back "));
    QTest::mouseClick(nav.navigationBar()->backButton(), Qt::LeftButton);
    QTRY_VERIFY(!nav.isAnimating());
    QCOMPARE(nav.topViewController(), root);
    QTRY_VERIFY(about.isNull()); // a popped screen the stack owned is released
    QVERIFY(!nav.popViewControllerAnimated(true)); // the root stays
}

void TestUIToolkit::navigationDelegateHearsEveryShownScreen()
{
    UIViewController* root = screen("Root");
    UINavigationController nav(root);
    nav.view()->setParent(m_window);
    nav.view()->setGeometry(0, 20, 320, 460);
    nav.view()->show();
    Recorder recorder;
    nav.setDelegate(&recorder);
    UIViewController* child = screen("Child");
    nav.pushViewController(child, true);
    QVERIFY(nav.isAnimating());
    QTRY_COMPARE(recorder.shown.size(), 1);
    QCOMPARE(recorder.shown[0], child);
    QCOMPARE(child->view()->geometry(), QRect(0, 0, 320, 416));
    // A push while sliding finishes the slide first.
    UIViewController* third = screen("Third");
    nav.pushViewController(third, true);
    nav.popViewControllerAnimated(true);
    QTRY_VERIFY(!nav.isAnimating());
    QCOMPARE(recorder.shown, QList<UIViewController*>({child, third, child}));
    QVERIFY(child->view()->isVisible());
}

void TestUIToolkit::navigationTitleUsesTheRoomBetweenUnevenButtons()
{
    UIViewController* root = screen("Formulas");
    UINavigationController nav(root);
    nav.view()->setParent(m_window);
    nav.view()->setGeometry(0, 20, 320, 460);
    nav.view()->show();
    // A long back button and a short right button leave too little room for
    // the title centred on the bar, but enough between the two buttons.
    UIViewController* edit = screen("Edit Formula");
    edit->navigationItem()->setRightBarButtonItem(
        new UIBarButtonItem("Done", UIBarButtonItem::Done, [] {}, edit));
    nav.pushViewController(edit, false);
    QCOMPARE(nav.navigationBar()->titleText(), QString("Edit Formula"));

    // A title too long for any room is still cut, never drawn under a button.
    UIViewController* longer = screen("A title far too long to fit between the two buttons");
    nav.pushViewController(longer, false);
    QVERIFY(nav.navigationBar()->titleText().endsWith(QChar(0x2026)));
}

void TestUIToolkit::tabBarHidesOverScreensThatAskForIt()
{
    UITabBarController tabs;
    auto* first = new UINavigationController(screen("One"));
    auto* second = new UINavigationController(screen("Two"));
    tabs.setViewControllers({first, second});
    tabs.view()->setParent(m_window);
    tabs.view()->setGeometry(0, 20, 320, 460);
    tabs.view()->show();
    QCOMPARE(first->view()->geometry(), QRect(0, 0, 320, 411));

    UIViewController* pushed = screen("Pushed");
    pushed->setHidesBottomBarWhenPushed(true);
    first->pushViewController(pushed, false);
    QVERIFY(tabs.isTabBarHidden());
    QCOMPARE(first->view()->geometry(), QRect(0, 0, 320, 460));

    // Another tab has its own stack and shows the bar.
    tabs.setSelectedIndex(1);
    QVERIFY(!tabs.isTabBarHidden());
    QVERIFY(!first->view()->isVisible());
    tabs.setSelectedIndex(0);
    first->popViewControllerAnimated(false);
    QVERIFY(!tabs.isTabBarHidden());
    tabs.setSelectedIndex(7); // out of range: nothing happens
    QCOMPARE(tabs.selectedIndex(), 0);
}

void TestUIToolkit::alertButtonsCountCancelFirst()
{
    const struct {
        QString cancel;
        QStringList others;
        QStringList titles;
        int cancelIndex;
    } cases[] = {
        {"YES", {"NO"}, {"YES", "NO"}, 0},
        {"OK", {}, {"OK"}, 0},
        {"", {"A", "B"}, {"A", "B"}, -1},
    };
    for (const auto& c : cases) {
        auto* alert = new UIAlertView("Warning!", "Message", c.cancel, c.others);
        alert->setTag(1001);
        QList<int> clicked;
        int tag = 0;
        alert->onClicked = [&](UIAlertView* a, int index) {
            clicked << index;
            tag = a->tag();
        };
        alert->show();
        QCOMPARE(UIAlertView::visibleAlerts(), QList<UIAlertView*>({alert}));
        QCOMPARE(alert->buttonTitles(), c.titles);
        QCOMPARE(alert->cancelButtonIndex(), c.cancelIndex);
        QCOMPARE(alert->parentWidget(), m_window); // over the key window
        const int last = alert->numberOfButtons() - 1;
        QTest::mouseClick(alert->button(last), Qt::LeftButton);
        QCOMPARE(clicked, QList<int>({last}));
        QCOMPARE(tag, 1001);
        QVERIFY(UIAlertView::visibleAlerts().isEmpty());
    }
}

void TestUIToolkit::sheetButtonsCountDestructiveFirstAndCancelLast()
{
    const struct {
        QString cancel;
        QString destructive;
        QStringList others;
        QStringList titles;
    } cases[] = {
        {"No", "", {"Yes"}, {"Yes", "No"}},
        {"", "", {"Edit", "Remove", "Cancel"}, {"Edit", "Remove", "Cancel"}},
        {"Cancel", "Delete", {"Keep"}, {"Delete", "Keep", "Cancel"}},
    };
    for (const auto& c : cases) {
        auto* sheet = new UIActionSheet("Title", c.cancel, c.destructive, c.others);
        int clicked = -1;
        sheet->onClicked = [&](UIActionSheet*, int index) { clicked = index; };
        sheet->show();
        QCOMPARE(sheet->buttonTitles(), c.titles);
        QTest::mouseClick(sheet->button(0), Qt::LeftButton);
        QCOMPARE(clicked, 0);
        QVERIFY(UIActionSheet::visibleSheets().isEmpty());
    }
}

void TestUIToolkit::overlayKeepsTapsFromScreenBelow()
{
    int tapped = 0;
    auto* item = new UIBarButtonItem("Below", UIBarButtonItem::Plain, [&] { ++tapped; }, m_window);
    auto* button = new UIBarButton(item, false, false, m_window);
    button->setGeometry(10, 400, 80, 30);
    button->show();
    auto* alert = new UIAlertView("Warning!", "Modal", "OK");
    alert->show();
    QTest::mouseClick(m_window->childAt(QPoint(50, 415)), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(tapped, 0);
    alert->dismissWithClickedButtonIndex(0);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(tapped, 1);
    // A disabled item does not act.
    item->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(tapped, 1);
}

void TestUIToolkit::segmentedControlReportsOnlyTaps()
{
    UISegmentedControl control({"Favorites", "History"}, m_window);
    control.setGeometry(85, 30, 150, 30);
    control.show();
    QList<int> changes;
    control.onValueChanged = [&](UISegmentedControl* c) { changes << c->selectedSegmentIndex(); };
    control.setSelectedSegmentIndex(1);
    QVERIFY(changes.isEmpty());
    control.setSelectedSegmentIndex(5);
    QCOMPARE(control.selectedSegmentIndex(), -1);
    QTest::mouseClick(&control, Qt::LeftButton, {}, control.segmentRect(0).center());
    QTest::mouseClick(&control, Qt::LeftButton, {}, control.segmentRect(1).center());
    QCOMPARE(changes, QList<int>({0, 1}));
    control.setMomentary(true);
    QTest::mouseClick(&control, Qt::LeftButton, {}, control.segmentRect(0).center());
    QCOMPARE(control.selectedSegmentIndex(), 1); // momentary: the tap reports, the selection stays
    QCOMPARE(changes.size(), 3);
}

#include "test_ui_toolkit.moc"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestUIToolkit toolkit;
    return QTest::qExec(&toolkit, argc, argv) ? 1 : 0;
}
