// Calcudex as a desktop program: the keyboard in the calculation rows (the
// same tokens, result and saved files as the keypad), the clipboard, the
// window-wide keys, alerts, lists and pages by keyboard, the window that
// scales (screenshots at 1x, 1.5x and 2x in build/screenshots/), and a quiet
// standard output. Keys go in as the desktop delivers them: to the window,
// which hands them to the widget that has the keyboard.

#include "window/GuiTestSupport.h"

#include "auxiliary/HelpView.h"
#include "auxiliary/HelpViewController.h"
#include "auxiliary/MoreViewController.h"
#include "browser/FormulaViewController.h"
#include "calc/CalculateKeyHandler.h"
#include "calc/CalculateViewController.h"
#include "calc/FormulaKeyboardLayout.h"
#include "calc/FormulaValueStore.h"
#include "storage/FavoritesHistory.h"
#include "ui/UIBarButtonItem.h"
#include "calc/UIImageControl.h"
#include "shell/CalcudexKeyboardController.h"
#include "ui/UIImage.h"
#include "ui/UINavigationController.h"
#include "ui/UIPagingScrollView.h"
#include "ui/UISearchBar.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryFile>
#include <QToolTip>
#include <cstdio>
#include <unistd.h>

using namespace guitest;

namespace {

// Math: one folder with a formula of three rows and one with a fixed value.
void writeBooks(const QString& home, const QString& scratch)
{
    qputenv("CALCUDEX_HOME", home.toLocal8Bit());
    const QString math = folderRecord("1", "Tests")
                         + QStringLiteral("***\nForId=1.1\nForType=1\nForName=Kbd product\nForDes=y = a b\nForMime=y = a b\n"
                                          "Para=\"y\" \"Product of the two factors given below\" \"y\" \"\" \"0\"\n"
                                          "Para=\"a\" \"First factor\" \"a\" \"m\" \"0\"\n"
                                          "Para=\"b\" \"Second factor\" \"b\" \"m\" \"0\"\n"
                                          "For=\"a*b\" \"y/b\" \"y/a\"\nImage=\n")
                         + QStringLiteral("***\nForId=1.2\nForType=1\nForName=Scaled\nForDes=y = k x\nForMime=y = k x\n"
                                          "Para=\"y\" \"Result\" \"y\" \"1\" \"0\"\n"
                                          "Para=\"k\" \"Factor\" \"k\" \"1\" \"2.5\"\n"
                                          "Para=\"x\" \"Value\" \"x\" \"1\" \"0\"\n"
                                          "For=\"k*x\" \"\" \"y/k\"\nImage=\n");
    QVERIFY(writeBook("Math", math, scratch));
}

QWidget* keyboard(App& app)
{
    return app.delegate->windowHost();
}

// The user presses a key: it goes to the window, which hands it on.
void press(App& app, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(keyboard(app), static_cast<Qt::Key>(key), modifiers);
}

void typeKeys(App& app, const QString& text)
{
    QTest::keyClicks(keyboard(app), text);
}

CalculateViewController* calcScreen(App& app)
{
    return qobject_cast<CalculateViewController*>(app.delegate->m_calculateViewCtrler);
}

UINavigationController* tabNavigation(App& app, int tab)
{
    return qobject_cast<UINavigationController*>(app.delegate->m_tabbarCtrler->viewControllers().value(tab));
}

UITableView* browserTable(App& app)
{
    return app.delegate->formulaViewController()->tableView();
}

// From the book list, by keyboard only: Math, the folder, the formula.
void openByKeyboard(App& app, int formulaRow)
{
    QTRY_VERIFY(browserTable(app)->hasFocus());
    press(app, Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        press(app, Qt::Key_Down);
    press(app, Qt::Key_Return);  // Math
    QTRY_COMPARE(rowText(browserTable(app), 0), QString("Tests"));
    press(app, Qt::Key_Return);  // Tests
    QTRY_COMPARE(rowText(browserTable(app), 0), QString("Kbd product"));
    for (int i = 0; i < formulaRow; ++i)
        press(app, Qt::Key_Down);
    press(app, Qt::Key_Return);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
}

// Fills the rows by keyboard from the first one (Tab after each), ticks a
// row with Space and calculates with Enter.
void calculateByKeyboard(App& app, const QStringList& rows, int ticked)
{
    // Up goes to the first row, from wherever the keyboard is on the screen.
    for (int i = 0; i < CalculateViewController::kRowCount; ++i)
        press(app, Qt::Key_Up);
    for (const QString& text : rows) {
        typeKeys(app, text);
        press(app, Qt::Key_Tab);
    }
    for (int r = static_cast<int>(rows.size()) - 1; r > ticked; --r)
        press(app, Qt::Key_Up);
    press(app, Qt::Key_Space);
    press(app, Qt::Key_Enter);
}

// The keypad button that sends a code on a tap, or (holding) as its hold code.
void tapCode(CalculateViewController* screen, int code)
{
    keypad::KeyboardTouchCycle cycle;
    for (int mode = 0; mode < keypad::KEYBOARD_COUNT; ++mode) {
        cycle.setMode(mode);
        for (int number = 0; number < keypad::KEYBOARD_BUTTONS; ++number) {
            if (!keypad::IsShownButton(number) || cycle.button(number).nKeyCode != code)
                continue;
            for (int i = 0; i < 3 && screen->keyboard()->mode() != mode; ++i)
                QTest::mouseClick(screen->keyboard()->button(2), Qt::LeftButton);
            QTest::mouseClick(screen->keyboard()->button(number), Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no keypad button sends %1").arg(code)));
}

QByteArray typedValuesFile(const QString& home)
{
    return readFile(home + QStringLiteral("/TypedValues.sav"));
}

struct CalculationOutcome {
    QList<QStringList> tokens;
    QList<QByteArray> files;
};

// The rows' inputs: the texts the keyboard types and the keypad codes of the same.
const QString kTypedA = QStringLiteral("sin(30)+1.5");
const QList<int> kKeypadA = {54, 12, 15, 45, 18, 10, 16, 6};
const QString kTypedB = QStringLiteral("2^3");
const QList<int> kKeypadB = {11, 30, 12};

CalculationOutcome finish(App& app, const QString& home)
{
    CalculationOutcome outcome;
    CalculateViewController* screen = calcScreen(app);
    for (int r = 0; r < 3; ++r)
        outcome.tokens << screen->ledView(r)->tokens();
    app.terminate();
    outcome.files << typedValuesFile(home);
    return outcome;
}

QString labelTextOfRow(CalculateViewController* screen, int row, QString* tooltip)
{
    screen->tableView()->scrollToRow(row);
    for (QLabel* l : screen->tableView()->cellForRow(row)->findChildren<QLabel*>()) {
        if (l->property("tag").toInt() == 10002) {
            *tooltip = l->toolTip();
            return l->text();
        }
    }
    return QString();
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    void init();
    void typedCalculationIsTheKeypadsCalculation();
    void resultIsCopiedAndPastedWithoutTheMouse();
    void pasteTakesNumbersAndRefusesText_data();
    void pasteTakesNumbersAndRefusesText();
    void rowsPassFixedValuesAndShowTheirFocus();
    void windowKeys();
    void alertsTakeEnterAndEscapeAndBlockTheRest();
    void listsAndPagesByKeyboard();
    void searchRunsAsYouType();
    void quitSavesLikeAClose();
    void windowScalesAndZooms();
    void artworkIsDrawnAtTheDeviceScale();
    void tapsThatRebuildTheBarGoThroughTheWindow();
    void nothingOnStandardOutput();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_scratch;
};

void TestDesktop::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_scratch = std::make_unique<QTemporaryDir>();
    writeBooks(m_home->path(), m_scratch->path());
}

// The same calculation by keyboard and by keypad gives the same tokens, the
// same result and the same saved files.
void TestDesktop::typedCalculationIsTheKeypadsCalculation()
{
    CalculationOutcome typed;
    {
        App app(m_home->path());
        openByKeyboard(app, 0);
        CalculateViewController* screen = calcScreen(app);
        // The screen has the keyboard; typing goes to the first row that takes
        // it, which shows so.
        QVERIFY(screen->view()->hasFocus());
        screenshot(app.delegate->window, "desktop_screen_has_the_keyboard");
        typeKeys(app, "9");
        QVERIFY(screen->ledView(0)->hasFocus());
        press(app, Qt::Key_Backspace);
        press(app, Qt::Key_Tab);
        typeKeys(app, kTypedA);
        press(app, Qt::Key_Down);
        typeKeys(app, kTypedB);
        press(app, Qt::Key_Up);
        press(app, Qt::Key_Up);
        QVERIFY(screen->ledView(0)->hasFocus());
        press(app, Qt::Key_Space);
        QCOMPARE(screen->tickedRow(), 0);
        QVERIFY(screen->ledView(0)->hasFocus());
        press(app, Qt::Key_Return);
        QVERIFY(!topAlert());
        screenshot(app.delegate->window, "desktop_typed_calculation");
        typed = finish(app, m_home->path());
    }
    CalculationOutcome tapped;
    {
        QTemporaryDir home;
        QTemporaryDir scratch;
        writeBooks(home.path(), scratch.path());
        App app(home.path());
        openByKeyboard(app, 0);
        CalculateViewController* screen = calcScreen(app);
        for (int r : {1, 2}) {
            screen->tableView()->scrollToRow(r);
            QTest::mouseClick(screen->ledView(r), Qt::LeftButton, {}, QPoint(40, 15));
            for (int code : r == 1 ? kKeypadA : kKeypadB)
                tapCode(screen, code);
        }
        screen->tableView()->scrollToRow(0);
        QTest::mouseClick(screen->checkbox(0), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(screen->keyboard()->button(0), Qt::LeftButton);
        tapped = finish(app, home.path());
    }
    QCOMPARE(typed.tokens, tapped.tokens);
    QCOMPARE(typed.tokens[2], QStringList({"2", "^", "3"}));
    QVERIFY(!typed.tokens[0].isEmpty());
    QCOMPARE(typed.files, tapped.files);
}

// Open, type, calculate, copy the result and paste it into another row:
// all by keyboard.
void TestDesktop::resultIsCopiedAndPastedWithoutTheMouse()
{
    App app(m_home->path());
    openByKeyboard(app, 0);
    CalculateViewController* screen = calcScreen(app);
    // A letter begins a name, which waits for the rest; Esc drops it.
    typeKeys(app, "x");
    QCOMPARE(screen->ledView(0)->pendingTyping(), QString("x"));
    press(app, Qt::Key_Escape);
    QVERIFY(screen->ledView(0)->pendingTyping().isEmpty());
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    calculateByKeyboard(app, {"", "3e-30", "0.5"}, 0);
    QVERIFY(!topAlert());
    const QString product = screen->ledView(0)->text();
    QCOMPARE(product, QString(" 1.500000000000\u00D710^(\u221230)"));

    // Copied with all its digits, as plain text, and in the command line's notation.
    press(app, Qt::Key_C, Qt::ControlModifier);
    QString plain = product.trimmed();
    plain.replace(QChar(0x00D7), '*').replace(QChar(0x2212), '-');
    QCOMPARE(QApplication::clipboard()->text(), plain);
    QVERIFY(screen->ledView(0)->copyNumberToClipboard());
    QCOMPARE(QApplication::clipboard()->text(), plain.section('*', 0, 0) + "e-30");

    // Cut from the first factor, then the product pasted in its place.
    press(app, Qt::Key_C, Qt::ControlModifier);
    press(app, Qt::Key_Down);
    QVERIFY(screen->ledView(1)->hasFocus());
    const QString factor = screen->ledView(1)->text();
    press(app, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("3*10^(-30)"));
    QApplication::clipboard()->setText(plain);
    press(app, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(screen->ledView(1)->tokens().isEmpty());
    QCOMPARE(QApplication::clipboard()->text(), QString("3*10^(-30)"));
    QApplication::clipboard()->setText(plain);
    press(app, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(screen->ledView(1)->text(), product.trimmed());
    QVERIFY(factor != product);
    screenshot(app.delegate->window, "desktop_pasted_result");
}

void TestDesktop::pasteTakesNumbersAndRefusesText_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");  // empty: refused with a message
    QTest::newRow("number") << "42.5" << "42.5";
    QTest::newRow("negative") << " -3 " << "\u22123";
    QTest::newRow("e notation") << "2E3" << "2\u00D710^(3)";
    QTest::newRow("expression") << "2*sqrt(16)" << "2\u00D7\u221A(16)";
    QTest::newRow("words") << "hello" << "";
    QTest::newRow("unknown sign") << "2;3" << "";
    QTest::newRow("empty") << "" << "";
}

void TestDesktop::pasteTakesNumbersAndRefusesText()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    App app(m_home->path());
    openByKeyboard(app, 0);
    CalculateViewController* screen = calcScreen(app);
    typeKeys(app, "7");
    QApplication::clipboard()->setText(clipboard);
    press(app, Qt::Key_V, Qt::ControlModifier);
    if (shown.isEmpty()) {
        UIAlertView* alert = topAlert();
        QVERIFY(alert);
        QCOMPARE(alert->message(), QString("Only a number or an expression can be pasted into this line."));
        QCOMPARE(screen->ledView(0)->text(), QString("7"));
        press(app, Qt::Key_Return);
        QVERIFY(!topAlert());
        QVERIFY(screen->ledView(0)->hasFocus());
    } else {
        QVERIFY(!topAlert());
        QCOMPARE(screen->ledView(0)->text(), "7" + shown);
    }
}

// Tab passes a fixed value by; the line with the keyboard is framed; a long
// description is cut with its whole text as tooltip.
void TestDesktop::rowsPassFixedValuesAndShowTheirFocus()
{
    App app(m_home->path());
    openByKeyboard(app, 1);  // Scaled: k is fixed at 2.5
    CalculateViewController* screen = calcScreen(app);
    press(app, Qt::Key_Down);
    QVERIFY(screen->ledView(0)->hasFocus());
    press(app, Qt::Key_Tab);
    QVERIFY(screen->ledView(2)->hasFocus());
    press(app, Qt::Key_Backtab);
    QVERIFY(screen->ledView(0)->hasFocus());
    press(app, Qt::Key_Down);
    QVERIFY(screen->ledView(2)->hasFocus());
    typeKeys(app, "4");
    // A tick by mouse rebuilds the rows: the line stays selected, and typing
    // goes on into it.
    QTest::mouseClick(screen->checkbox(2), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(screen->tickedRow(), 2);
    QVERIFY(screen->ledView(2)->getSelectedState() && !screen->ledView(0)->getSelectedState());
    typeKeys(app, "0");
    press(app, Qt::Key_Backspace);
    QCOMPARE(screen->ledView(2)->text(), QString("4"));
    QVERIFY(screen->ledView(2)->hasFocus());
    press(app, Qt::Key_Up);
    press(app, Qt::Key_Space);
    QCOMPARE(screen->tickedRow(), 0);
    press(app, Qt::Key_Return);
    QCOMPARE(screen->ledView(0)->text(), QString("10"));
    screenshot(app.delegate->window, "desktop_row_focus");

    QString tooltip;
    QCOMPARE(labelTextOfRow(screen, 0, &tooltip), QString("Result"));
    QVERIFY(tooltip.isEmpty());
    press(app, Qt::Key_1, Qt::ControlModifier);
    press(app, Qt::Key_Up);
    press(app, Qt::Key_Return);  // the formula before Scaled
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    // Space before any typing ticks the outlined row and gives it the keyboard.
    press(app, Qt::Key_Space);
    QCOMPARE(calcScreen(app)->tickedRow(), 0);
    QVERIFY(calcScreen(app)->ledView(0)->hasFocus());
    const QString shownText = labelTextOfRow(calcScreen(app), 0, &tooltip);
    QVERIFY(shownText.endsWith(QChar(0x2026)));
    QCOMPARE(tooltip, QString("Product of the two factors given below"));
    // The tooltip shows when the pointer rests on the description in the window.
    UIWindowHost* host = app.delegate->windowHost();
    QLabel* label = nullptr;
    for (QLabel* l : calcScreen(app)->tableView()->cellForRow(0)->findChildren<QLabel*>())
        if (l->property("tag").toInt() == 10002)
            label = l;
    QVERIFY(label);
    const QPoint at = host->mapFromScene(QPointF(label->mapTo(app.delegate->window, QPoint(20, 10))));
    QTest::mouseMove(host->viewport(), at - QPoint(4, 0));
    QTest::mouseMove(host->viewport(), at);
    QHelpEvent help(QEvent::ToolTip, at, host->viewport()->mapToGlobal(at));
    QApplication::sendEvent(host->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tooltip);
}

// Every window-wide key, where the user is.
void TestDesktop::windowKeys()
{
    App app(m_home->path());
    UITabBarController* tabs = app.delegate->m_tabbarCtrler;
    for (int tab : {1, 2, 3, 0}) {
        press(app, Qt::Key_1 + tab, Qt::ControlModifier);
        QCOMPARE(tabs->selectedIndex(), tab);
    }
    // Back: Esc and Alt+Left, in the browser and on a pushed screen.
    openByKeyboard(app, 0);
    press(app, Qt::Key_1, Qt::ControlModifier);
    FormulaViewController* browser = app.delegate->formulaViewController();
    QVERIFY(browser->backButtonItem()->isEnabled());
    press(app, Qt::Key_Escape);
    QTRY_COMPARE(rowText(browserTable(app), 0), QString("Tests"));
    press(app, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(rowText(browserTable(app), 0), QString("Astrophysic"));
    QVERIFY(!browser->backButtonItem()->isEnabled());

    // Ctrl+N opens the wizard from anywhere; Esc goes back from it.
    press(app, Qt::Key_N, Qt::ControlModifier);
    UINavigationController* more = tabNavigation(app, 3);
    QTRY_VERIFY(more->viewControllers().size() == 2 && !more->isAnimating());
    QCOMPARE(tabs->selectedIndex(), 3);
    QCOMPARE(more->topViewController()->title(), QString("New Formula"));
    press(app, Qt::Key_Escape);
    QTRY_VERIFY(more->viewControllers().size() == 1 && !more->isAnimating());

    // Ctrl+F puts the keyboard into the search field of the Formulas tab.
    press(app, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(tabs->selectedIndex(), 0);
    QVERIFY(browser->searchBar()->textField()->hasFocus());

    // Zoom steps.
    UIWindowHost* host = app.delegate->windowHost();
    press(app, Qt::Key_Equal, Qt::ControlModifier);
    QTRY_COMPARE(host->screenScale(), 1.25);
    press(app, Qt::Key_Minus, Qt::ControlModifier);
    QTRY_COMPARE(host->screenScale(), 1.0);
    press(app, Qt::Key_Minus, Qt::ControlModifier);
    QTRY_COMPARE(host->screenScale(), 0.75);
    press(app, Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(host->screenScale(), 1.0);
}

void TestDesktop::alertsTakeEnterAndEscapeAndBlockTheRest()
{
    App app(m_home->path());
    openByKeyboard(app, 0);
    CalculateViewController* screen = calcScreen(app);
    press(app, Qt::Key_Tab);
    press(app, Qt::Key_Return);  // nothing ticked
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->keyboardButtonIndex(), 0);
    screenshot(app.delegate->window, "desktop_alert_keyboard");
    // No window key and no typing gets past the alert.
    press(app, Qt::Key_1, Qt::ControlModifier);
    typeKeys(app, "5");
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QVERIFY(screen->ledView(0)->tokens().isEmpty());
    press(app, Qt::Key_Escape);
    QVERIFY(!topAlert());
    QVERIFY(screen->ledView(0)->hasFocus());

    // A sheet: Esc is its cancel button, Enter its framed button.
    QStringList answers;
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_Down), int(Qt::Key_Return)}) {
        auto* sheet = new UIActionSheet("Choose one action:", "Cancel", QString(), {"Edit", "Remove"});
        sheet->onClicked = [&answers, sheet](UIActionSheet*, int index) { answers << sheet->buttonTitles().value(index); };
        sheet->show();
        press(app, key);
        if (key == Qt::Key_Down)
            press(app, Qt::Key_Return);
    }
    QCOMPARE(answers, QStringList({"Cancel", "Remove", "Edit"}));
    QVERIFY(!topSheet());
}

void TestDesktop::listsAndPagesByKeyboard()
{
    App app(m_home->path());
    UITableView* table = browserTable(app);
    QTRY_VERIFY(table->hasFocus());
    const struct {
        int key;
        int row;
    } moves[] = {{Qt::Key_End, 6}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, 6}, {Qt::Key_PageUp, 0},
                 {Qt::Key_Down, 1}, {Qt::Key_Up, 0}, {Qt::Key_Up, 0}};
    for (const auto& move : moves) {
        press(app, move.key);
        QCOMPARE(table->keyboardRow(), move.row);
    }
    QVERIFY(table->cellForRow(0)->hasKeyboardFrame());
    screenshot(app.delegate->window, "desktop_list_keyboard");

    // The More tab's list opens the help; Left/Right and Page Up/Down turn its pages.
    press(app, Qt::Key_4, Qt::ControlModifier);
    press(app, Qt::Key_Down);
    press(app, Qt::Key_Return);
    UINavigationController* more = tabNavigation(app, 3);
    QTRY_VERIFY(more->viewControllers().size() == 2 && !more->isAnimating());
    auto* help = qobject_cast<HelpViewController*>(more->topViewController());
    QVERIFY(help);
    UIPagingScrollView* pages = help->helpView()->scrollView();
    QVERIFY(pages->hasFocus());
    const struct {
        int key;
        int page;
    } turns[] = {{Qt::Key_Right, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_Left, 1}, {Qt::Key_End, 10},
                 {Qt::Key_PageUp, 9}, {Qt::Key_Home, 0}};
    for (const auto& turn : turns) {
        press(app, turn.key);
        QTRY_VERIFY(!pages->isAnimating());
        QCOMPARE(pages->currentPage(), turn.page);
        QCOMPARE(help->helpView()->pageControl()->currentPage(), turn.page);
    }
    press(app, Qt::Key_Escape);
    QTRY_VERIFY(more->viewControllers().size() == 1 && !more->isAnimating());
    QVERIFY(!app.delegate->window->isStatusBarHidden());
}

void TestDesktop::searchRunsAsYouType()
{
    App app(m_home->path());
    press(app, Qt::Key_F, Qt::ControlModifier);
    typeKeys(app, "kbd pro");
    // No Enter: the hits come as the typing pauses.
    QTRY_COMPARE(rowTexts(browserTable(app)), QStringList({"Kbd product"}));
    press(app, Qt::Key_Down);
    QVERIFY(browserTable(app)->hasFocus());
    press(app, Qt::Key_Return);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(calcScreen(app)->tableView()->numberOfRows(), 3);
}

void TestDesktop::quitSavesLikeAClose()
{
    {
        App app(m_home->path());
        openByKeyboard(app, 0);
        press(app, Qt::Key_Tab);
        typeKeys(app, "12");
        app.delegate->windowHost()->resize(400, 560);
        QTRY_COMPARE(app.delegate->windowHost()->size(), QSize(400, 560));
        press(app, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(QFile::exists(m_home->path() + "/LastSession.sav"));
        std::vector<TYPED_VALUES> stored;
        QVERIFY(decodeTypedValues(typedValuesFile(m_home->path()).toStdString(), stored));
        QVERIFY(!stored.empty() && !stored.front().m_vecRows.empty());
        QCOMPARE(stored.front().m_vecRows[0].m_strText, std::u16string(u"12"));
        app.kill();
    }
    App again(m_home->path());
    QCOMPARE(again.delegate->windowHost()->size(), QSize(400, 560));
}

// Resizing keeps the screen whole and centred; the zoom steps size the window.
void TestDesktop::windowScalesAndZooms()
{
    App app(m_home->path());
    openByKeyboard(app, 0);
    UIWindowHost* host = app.delegate->windowHost();
    const struct {
        QSize window;
        qreal scale;
        QRect screen;
        const char* shot;
    } sizes[] = {
        {{320, 480}, 1.0, {0, 0, 320, 480}, "desktop_window_1x"},
        {{480, 720}, 1.5, {0, 0, 480, 720}, "desktop_window_1_5x"},
        {{640, 960}, 2.0, {0, 0, 640, 960}, "desktop_window_2x"},
        {{1000, 960}, 2.0, {180, 0, 640, 960}, "desktop_window_wide"},
        {{640, 600}, 1.25, {120, 0, 400, 600}, nullptr},
    };
    for (const auto& size : sizes) {
        host->resize(size.window);
        QTRY_COMPARE(host->size(), size.window);
        QCOMPARE(host->screenScale(), size.scale);
        QCOMPARE(host->screenRect(), size.screen);
        QCOMPARE(app.delegate->window->size(), QSize(320, 480));
        if (size.shot) {
            QTest::qWait(30);
            QVERIFY(host->grab().save(screenshotPath(size.shot)));
        }
    }
    // Typing and clicks still land where they belong at 2x.
    host->resize(640, 960);
    QTRY_COMPARE(host->screenScale(), 2.0);
    press(app, Qt::Key_Tab);
    typeKeys(app, "6");
    QCOMPARE(calcScreen(app)->ledView(0)->text(), QString("6"));
    host->resetZoom();
    QTRY_COMPARE(host->size(), QSize(320, 480));
}

// A named image is drawn from the variant painted for the device pixels.
void TestDesktop::artworkIsDrawnAtTheDeviceScale()
{
    App app(m_home->path());
    for (int scale : {1, 2, 3, 4}) {
        QImage canvas(30 * scale, 30 * scale, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter p(&canvas);
        p.scale(scale, scale);
        QCOMPARE(UIImage::deviceScale(p), qreal(scale));
        UIImage::draw(p, QRectF(0, 0, 30, 30), UIImage::imageNamed("Checked.png"));
        p.end();
        const QString file = scale == 1 ? QStringLiteral("Checked.png") : QStringLiteral("Checked@%1x.png").arg(scale);
        QImage painted = QImage(UIImage::resourcePath() + "/" + file).convertToFormat(canvas.format());
        painted.setDevicePixelRatio(1.0);
        QCOMPARE(canvas, painted);
    }
}

// The program writes nothing to standard output, diagnostics included.
void TestDesktop::nothingOnStandardOutput()
{
    QTemporaryFile capture;
    QVERIFY(capture.open());
    // Qt's own messages go to standard error, as they do in the program
    // (the test framework would print them on standard output).
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    QVERIFY(dup2(capture.handle(), STDOUT_FILENO) >= 0);
    {
        App app(m_home->path());
        openByKeyboard(app, 0);
        // A value the number library reports on (the logarithm of zero).
        calculateByKeyboard(app, {"", "ln(0)", "1"}, 0);
        UIAlertView* alert = topAlert();
        QVERIFY(alert);
        QCOMPARE(alert->message(), QString("Invalid parameter(s)"));
        press(app, Qt::Key_Return);
        // The About screen comes and goes.
        press(app, Qt::Key_4, Qt::ControlModifier);
        MoreViewController* more = qobject_cast<MoreViewController*>(tabNavigation(app, 3)->viewControllers().value(0));
        more->tableViewDidSelectRow(more->tableView(), 2);
        QTRY_VERIFY(!tabNavigation(app, 3)->isAnimating());
        press(app, Qt::Key_Escape);
        QTRY_VERIFY(!tabNavigation(app, 3)->isAnimating());
        QTest::qWait(50);
        app.terminate();
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    qInstallMessageHandler(previous);
    QCOMPARE(readFile(capture.fileName()), QByteArray());
}

QTEST_MAIN(TestDesktop)
// The mouse through the scaled window, as a user's pointer goes: a tap on the
// star or on Back replaces the bar's buttons while the tap is delivered.
void TestDesktop::tapsThatRebuildTheBarGoThroughTheWindow()
{
    App app(m_home->path());
    openByKeyboard(app, 0);
    UIWindowHost* host = app.delegate->windowHost();
    auto tap = [&](QWidget* target) {
        QVERIFY(target);
        const QPoint at = host->mapFromScene(QPointF(target->mapTo(app.delegate->window, target->rect().center())));
        QTest::mouseClick(host->viewport(), Qt::LeftButton, {}, at);
    };
    auto barButtonOf = [&](UIBarButtonItem* item) -> QWidget* {
        for (UIBarButton* b : app.delegate->window->findChildren<UIBarButton*>())
            if (b->isVisible() && b->item() == item)
                return b;
        return nullptr;
    };
    const size_t favourites = g_arrFavorite.size();
    tap(barButtonOf(calcScreen(app)->favoriteButton()));
    QCOMPARE(g_arrFavorite.size(), favourites + 1);
    tap(barButtonOf(calcScreen(app)->favoriteButton()));
    QCOMPARE(g_arrFavorite.size(), favourites);
    press(app, Qt::Key_1, Qt::ControlModifier);
    tap(barButtonOf(app.delegate->formulaViewController()->backButtonItem()));
    QTRY_COMPARE(rowText(browserTable(app), 0), QString("Tests"));
}

#include "test_desktop.moc"
