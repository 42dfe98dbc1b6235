// The Calculate tab driven like a user: open a formula from the browser,
// type on the keypad, tick, calculate and read the row; every alert; the
// keypad's hold and repeat; favourites; restarts; the detail pages.

#include "window/GuiTestSupport.h"

#include "FileSizeLimit.h"

#include "browser/FavoritesViewController.h"
#include "browser/FormulaIconView.h"
#include "browser/FormulaViewController.h"
#include "calc/CalculateViewController.h"
#include "calc/CalculationProcedure.h"
#include "calc/FormulaValueStore.h"
#include "calc/UIImageControl.h"
#include "editor/DetailView.h"
#include "engine/EngineState.h"
#include "storage/FavoritesHistory.h"
#include "ui/MIMEView.h"
#include "ui/UIImage.h"
#include "ui/UIPageControl.h"
#include "ui/UISegmentedControl.h"

#include <QImage>
#include <QRegularExpression>
#include <QPainter>


using namespace guitest;

namespace {

// The books of the tests: Math holds the calculable formulas, "User Define"
// a theory formula with a picture page and a TeX page.
QString record(const QString& id, const QString& name, int type, const QString& mime, const QStringList& params,
               const QString& expressions, const QString& images = QString(), const QString& description = QString())
{
    QString text = QStringLiteral("***\nForId=%1\nForType=%2\nForName=%3\nForDes=%4\nForMime=%5\n")
                       .arg(id)
                       .arg(type)
                       .arg(name, description, mime);
    for (const QString& p : params)
        text += QStringLiteral("Para=%1\n").arg(p);
    text += QStringLiteral("For=%1\nImage=%2\n").arg(expressions, images);
    return text;
}

// Long enough to run past the foot of the first detail page.
const QString kLongDescription = QStringLiteral(
    "The legs and the hypotenuse of a right triangle. The square on the hypotenuse equals the sum of the "
    "squares on the other two sides; the converse holds as well, so three lengths that satisfy the "
    "relation always form a right triangle. Integer solutions such as 3, 4 and 5 are called "
    "Pythagorean triples and were known long before Pythagoras.");

void writeBooks(const QString& home, const QString& scratch)
{
    qputenv("CALCUDEX_HOME", home.toLocal8Bit());
    const QString math =
        folderRecord("1", "Tests")
        + record("1.1", "Ohm's law", 1, "U = R \\cdot I",
                 {"\"U\" \"Voltage\" \"u\" \"V\" \"0\"", "\"R\" \"Resistance\" \"r\" \"\\Omega\" \"0\"",
                  "\"I\" \"Current\" \"i\" \"A\" \"0\""},
                 "\"r*i\" \"u/i\" \"u/r\"")
        + record("1.2", "Free fall", 1, "h = \\frac{g t^2}{2}",
                 {"\"h\" \"Height\" \"h\" \"m\" \"0\"", "\"g\" \"Gravity\" \"g\" \"m/s^2\" \"9.81\"",
                  "\"t\" \"Time\" \"t\" \"s\" \"0\""},
                 "\"g*t^2/2\" \"\" \"sqrt(2*h/g)\"")
        + record("1.3", "Slope", 1, "\\tan\\alpha = y / x",
                 {"\"\\alpha\" \"Angle\" \"a\" \"^o\" \"0\"", "\"y\" \"Rise\" \"y\" \"m\" \"0\"",
                  "\"x\" \"Run\" \"x\" \"m\" \"0\""},
                 "\"atan(y/x)\" \"x*tan(a)\" \"y/tan(a)\"")
        + record("1.4", "Square root", 1, "y = \\sqrt{x}",
                 {"\"y\" \"Root\" \"y\" \"1\" \"0\"", "\"x\" \"Value\" \"x\" \"1\" \"0\""}, "\"sqrt(x)\" \"\"")
        + record("1.5", "Value", 1, "y = x",
                 {"\"y\" \"Result\" \"y\" \"1\" \"0\"", "\"x\" \"Value\" \"x\" \"1\" \"0\""}, "\"x\" \"\"")
        + record("1.6", "Sum of five", 1, "y = a + b + c + d + e",
                 {"\"y\" \"Sum\" \"y\" \"1\" \"0\"", "\"a\" \"First\" \"a\" \"1\" \"0\"",
                  "\"b\" \"Second\" \"b\" \"1\" \"0\"", "\"c\" \"Third\" \"c\" \"1\" \"0\"",
                  "\"d\" \"Fourth\" \"d\" \"1\" \"0\"", "\"e\" \"Fifth\" \"e\" \"1\" \"0\""},
                 "\"a+b+c+d+e\" \"\" \"\" \"\" \"\" \"\"")
        + record("1.7", "Unnamed alias", 1, "y = 2 b",
                 {"\"y\" \"Result\" \"\" \"1\" \"0\"", "\"b\" \"Base\" \"b\" \"1\" \"0\""}, "\"2*b\" \"\"");
    QVERIFY(writeBook("Math", math, scratch));

    const QString user = record("1", "Pythagoras", 0, "a^2 + b^2 = c^2",
                                {"\"a\" \"\" \"a\" \"m\" \"0\"", "\"c\" \"Hypotenuse\" \"c\" \"m\" \"0\""}, "\"\" \"\"",
                                "\"triangle.png\" \"c = \\sqrt{a^2 + b^2}\"",
                                kLongDescription);
    QVERIFY(writeBook("User Define", user, scratch));

    // The picture of the theory formula, in the user's picture folder.
    QImage picture(120, 90, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(QPen(Qt::darkBlue, 3));
    p.drawPolygon(QPolygon({QPoint(10, 80), QPoint(110, 80), QPoint(10, 10)}));
    p.end();
    QDir().mkpath(home + "/Image");
    QVERIFY(picture.save(home + "/Image/triangle.png"));
}

CalculateViewController* calcScreen(App& app)
{
    return qobject_cast<CalculateViewController*>(app.delegate->m_calculateViewCtrler);
}

// ---------------------------------------------------------------- the browser

void backToBookList(App& app)
{
    FormulaViewController* browser = app.delegate->formulaViewController();
    while (browser->backButtonItem()->isEnabled()) {
        for (UIBarButton* b : app.delegate->window->findChildren<UIBarButton*>())
            if (b->isVisible() && b->item() == browser->backButtonItem())
                QTest::mouseClick(b, Qt::LeftButton);
    }
}

// Clicks the row showing `name` once the list shows it.
bool clickRowNamed(UITableView* table, const QString& name)
{
    int row = -1;
    for (int attempt = 0; attempt < 50 && row < 0; ++attempt) {
        row = static_cast<int>(rowTexts(table).indexOf(name));
        if (row < 0)
            QTest::qWait(20);
    }
    if (row < 0) {
        qWarning("no row %s among %s", qPrintable(name), qPrintable(rowTexts(table).join(" | ")));
        return false;
    }
    clickRow(table, row);
    return true;
}

// Opens a formula from the Formulas tab as a user does: book, folder, formula.
bool openFormula(App& app, const QString& book, const QStringList& path)
{
    clickTab(app.delegate.get(), 0);
    backToBookList(app);
    UITableView* table = app.delegate->formulaViewController()->tableView();
    if (!clickRowNamed(table, book))
        return false;
    for (const QString& name : path)
        if (!clickRowNamed(table, name))
            return false;
    return QTest::qWaitFor([&] { return app.delegate->m_tabbarCtrler->selectedIndex() == 2; }, 2000);
}

// ---------------------------------------------------------------- the rows and the keypad

MyLedViewLite* line(CalculateViewController* screen, int row)
{
    return screen->ledView(row);
}

QString lineText(CalculateViewController* screen, int row)
{
    return screen->ledView(row)->text();
}

void selectLine(CalculateViewController* screen, int row)
{
    screen->tableView()->scrollToRow(row);
    MyLedViewLite* led = screen->ledView(row);
    QVERIFY(led->isVisible());
    QTest::mouseClick(led, Qt::LeftButton, {}, QPoint(led->width() / 2, led->height() / 2));
}

void tick(CalculateViewController* screen, int row)
{
    screen->tableView()->scrollToRow(row);
    UIImageControl* box = screen->checkbox(row);
    QVERIFY2(box->isVisible(), "the row has no tick box");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
}

FormulaKeyboardButton* key(CalculateViewController* screen, int number)
{
    return screen->keyboard()->button(number);
}

// Taps the keyboard-switch key until the keyboard shows.
void showKeyboard(CalculateViewController* screen, int mode)
{
    for (int i = 0; i < 3 && screen->keyboard()->mode() != mode; ++i)
        QTest::mouseClick(key(screen, 2), Qt::LeftButton);
    QCOMPARE(screen->keyboard()->mode(), mode);
}

void tap(CalculateViewController* screen, int mode, int number)
{
    showKeyboard(screen, mode);
    QTest::mouseClick(key(screen, number), Qt::LeftButton);
}

// Holds a key until its hold code has gone out once, then lets go.
void holdOnce(CalculateViewController* screen, int mode, int number)
{
    showKeyboard(screen, mode);
    FormulaKeyboardButton* button = key(screen, number);
    QTest::mousePress(button, Qt::LeftButton);
    QTest::qWait(560);
    QTest::mouseRelease(button, Qt::LeftButton);
}

// Types a text on the keypad: digits and '.' on the digit keyboard, the
// operators and brackets on the arithmetic one; '~' is the "(−" key and '√'
// the plain root (holding x^y).
void type(CalculateViewController* screen, const QString& text)
{
    const QString digits = QStringLiteral("7894561230");
    const int digitButtons[] = {12, 13, 14, 9, 10, 11, 6, 7, 8, 15};
    for (QChar c : text) {
        const int d = static_cast<int>(digits.indexOf(c));
        if (d >= 0)
            tap(screen, 0, digitButtons[d]);
        else if (c == '.')
            tap(screen, 0, 16);
        else if (c == '~')
            tap(screen, 0, 17);
        else if (c == '(')
            tap(screen, 1, 12);
        else if (c == ')')
            tap(screen, 1, 13);
        else if (c == '+')
            tap(screen, 1, 14);
        else if (c == QChar(0x2212))
            tap(screen, 1, 15);
        else if (c == QChar(0x00D7))
            tap(screen, 1, 16);
        else if (c == QChar(0x00F7))
            tap(screen, 1, 17);
        else if (c == '^')
            tap(screen, 1, 8);
        else if (c == QChar(0x221A))
            holdOnce(screen, 1, 8);
        else
            QFAIL(qPrintable(QStringLiteral("no key for ") + c));
    }
}

void typeInto(CalculateViewController* screen, int row, const QString& text)
{
    selectLine(screen, row);
    type(screen, text);
}

// Types each non-empty input into its row on the keypad and ticks a row
// (none when `ticked` is negative).
void fillRows(CalculateViewController* screen, const QStringList& inputs, int ticked)
{
    for (int r = 0; r < inputs.size(); ++r)
        if (!inputs[r].isEmpty())
            typeInto(screen, r, inputs[r]);
    if (ticked >= 0)
        tick(screen, ticked);
}

void pressCalculate(CalculateViewController* screen)
{
    QTest::mouseClick(key(screen, 0), Qt::LeftButton);
}

// A finger drag over the detail pages, delivered as the window delivers it:
// to the scroller under the finger that takes the touch, which keeps it.
void drag(QWidget* root, QPoint from, QPoint to)
{
    QWidget* target = root->childAt(from);
    while (target && !qobject_cast<UIPageScrollView*>(target) && !qobject_cast<UIPagingScrollView*>(target))
        target = target->parentWidget();
    QVERIFY(target);
    // Positions are the finger's on the screen; the scroller may move under it.
    QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(root, from));
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(target, target->mapFrom(root, from + (to - from) * step / 4));
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFrom(root, to));
}

UIBarButton* barButtonFor(App& app, UIBarButtonItem* item)
{
    for (UIBarButton* b : app.delegate->window->findChildren<UIBarButton*>())
        if (b->isVisible() && b->item() == item)
            return b;
    return nullptr;
}

QString favouriteImage(App& app, CalculateViewController* screen)
{
    UIBarButton* b = barButtonFor(app, screen->favoriteButton());
    return b ? b->item()->imageName() : QString();
}

QStringList descriptions(CalculateViewController* screen)
{
    QStringList texts;
    UITableView* table = screen->tableView();
    for (int r = 0; r < table->numberOfRows(); ++r) {
        table->scrollToRow(r);
        QLabel* label = nullptr;
        for (QLabel* l : table->cellForRow(r)->findChildren<QLabel*>())
            if (l->property("tag").toInt() == 10002)
                label = l;
        texts << (label ? label->text() : QString());
    }
    table->setContentOffset(0);
    return texts;
}

} // namespace

class TestCalculateScreen : public QObject {
    Q_OBJECT

private slots:
    void typeTickAndCalculate();
    void calculationsThroughTheKeypad_data();
    void calculationsThroughTheKeypad();
    void alertsLeaveEverythingAsItWas_data();
    void alertsLeaveEverythingAsItWas();
    void fillInAlertBringsEmptyRowToTheTop();
    void oneCalculableParameterIsTicked();
    void choiceOutsideTheBrowserListsOpensNothing();
    void fixedValuesTakeNoTypingAndSurviveClearAll();
    void threeKeyboardsAndHoldToClear();
    void keyHoldRepeatsAndReleaseSendsNothing();
    void deleteKeyTapAndHold();
    void draggingOffAHeldKeyStopsIt();
    void arrowOfTheLineRepeatsWhileHeld();
    void favouriteStarTogglesAndPersists();
    void starAndHistorySurviveAKill();
    void removedFormulaDoesNotComeBackIntoHistory();
    void keysNeverGoToARowThatIsNotShown();
    void opensFromFavoritesAndHistory();
    void restartReopensLastFormulaWithTexts();
    void eachFormulaKeepsItsOwnValues();
    void killedWhileTypingEachFormulaKeepsItsValues();
    void fullDiskIsToldOnceAndTypingGoesOn();
    void returningToTheTabKeepsTheFormula();
    void theoryFormulaShowsDetailPages();
    void detailButtonSwitchesBetweenRowsAndPages();
    void everyShippedFormulaCalculatesEveryParameter();
};

void TestCalculateScreen::typeTickAndCalculate()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(descriptions(screen), QStringList({"Voltage", "Resistance", "Current"}));
    QVERIFY(screen->tickedRow() < 0);  // three calculable parameters: nothing ticked

    typeInto(screen, 1, "12");
    typeInto(screen, 2, "0.25");
    QCOMPARE(line(screen, 1)->tokens(), QStringList({"1", "2"}));
    QVERIFY(line(screen, 2)->getSelectedState());
    QVERIFY(!line(screen, 1)->getSelectedState());
    tick(screen, 0);
    QCOMPARE(screen->tickedRow(), 0);
    QCOMPARE(screen->checkbox(0)->image().cacheKey(), UIImage::imageNamed("CalcChecked.png").cacheKey());
    QCOMPARE(screen->checkbox(1)->image().cacheKey(), UIImage::imageNamed("Unchecked.png").cacheKey());
    pressCalculate(screen);
    QCOMPARE(lineText(screen, 0), QString("3"));
    QVERIFY(UIAlertView::visibleAlerts().isEmpty());

    // The symbol and unit stand at the right end of their row.
    MIMEView* unit = nullptr;
    for (MIMEView* v : screen->tableView()->cellForRow(1)->findChildren<MIMEView*>())
        unit = v;
    QVERIFY(unit && unit->hasImage());
    QCOMPARE(unit->alignment(), 2);
    QCOMPARE(unit->imageOrigin().x() + unit->bmWidth(), unit->width() - 2);

    // History and the last used formula know the formula.
    QCOMPARE(g_arrHistory.size(), size_t(1));
    QCOMPARE(QString(g_arrHistory[0].m_NodeInfo.m_szNodeName), QString("Ohm's law"));
    FORMULA_NODE_INFO last;
    QVERIFY(loadLastUsedFormula(last));
    QVERIFY(isSameFormula(last, g_arrHistory[0]));
    selectLine(screen, 2);
    screenshot(app.delegate->window, "calc_filled_in");
}

void TestCalculateScreen::calculationsThroughTheKeypad_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("inputs");  // one text per row, "" for none
    QTest::addColumn<int>("ticked");          // -1: the screen ticks it
    QTest::addColumn<QString>("result");

    QTest::newRow("product") << "Ohm's law" << QStringList({"", "2", "3"}) << 0 << "6";
    QTest::newRow("degrees from a unit") << "Slope" << QStringList({"", "1", "1"}) << 0 << "45";
    QTest::newRow("fixed value takes part") << "Free fall" << QStringList({"4.905", "", ""}) << 2 << "1";
    QTest::newRow("plain root key") << "Value" << QStringList({"", "1+√9)"}) << -1 << "4";
    QTest::newRow("indexed root stays") << "Value" << QStringList({"", "3√8)"}) << -1 << "2";
    QTest::newRow("negative operand") << "Value" << QStringList({"", "~2)×3"}) << -1 << "−6";
    QTest::newRow("exponent form") << "Value" << QStringList({"", "10^15"}) << -1 << " 1.000000000000×10^(15)";
    QTest::newRow("thirteen digits") << "Value" << QStringList({"", "2÷3"}) << -1 << "0.6666666666667";
}

void TestCalculateScreen::calculationsThroughTheKeypad()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, inputs);
    QFETCH(int, ticked);
    QFETCH(QString, result);
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", formula}));
    CalculateViewController* screen = calcScreen(app);
    fillRows(screen, inputs, ticked);
    pressCalculate(screen);
    QVERIFY2(UIAlertView::visibleAlerts().isEmpty(),
             qPrintable(UIAlertView::visibleAlerts().isEmpty() ? QString() : UIAlertView::visibleAlerts()[0]->message()));
    QCOMPARE(lineText(screen, screen->tickedRow()), result);
}

void TestCalculateScreen::alertsLeaveEverythingAsItWas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("ticked");
    QTest::addColumn<QString>("message");

    QTest::newRow("nothing ticked") << "Ohm's law" << QStringList({"", "2", "3"}) << -1
                                    << "Please check the field you want to calculate.";
    QTest::newRow("parameter without a usable alias") << "Unnamed alias" << QStringList({"", "2"}) << -1
                                                      << "Not support calculation of this field.";
    QTest::newRow("an input is empty") << "Ohm's law" << QStringList({"", "2", ""}) << 0
                                       << "Please fill-in all the input parameter(s).";
    QTest::newRow("engine: division by zero") << "Ohm's law" << QStringList({"5", "", "0"}) << 1
                                              << "Invalid parameter(s)";
    QTest::newRow("engine: syntax") << "Ohm's law" << QStringList({"", "2+", "3"}) << 0 << "Syntax error";
    QTest::newRow("not a real result") << "Square root" << QStringList({"", "~4)"}) << -1
                                       << "Invalid parameter(s)!";
}

void TestCalculateScreen::alertsLeaveEverythingAsItWas()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, inputs);
    QFETCH(int, ticked);
    QFETCH(QString, message);
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", formula}));
    CalculateViewController* screen = calcScreen(app);
    fillRows(screen, inputs, ticked);
    const int tickBefore = screen->tickedRow();
    QStringList before;
    for (int r = 0; r < inputs.size(); ++r)
        before << lineText(screen, r);

    pressCalculate(screen);
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->title(), QString("Warning!"));
    QCOMPARE(alert->message(), message);
    QCOMPARE(alert->buttonTitles(), QStringList({"OK"}));
    if (QTest::currentDataTag() == QByteArray("engine: syntax"))
        screenshot(app.delegate->window, "calc_alert");
    clickOverlayButton(alert, "OK");
    QTRY_VERIFY(UIAlertView::visibleAlerts().isEmpty());

    QStringList after;
    for (int r = 0; r < inputs.size(); ++r)
        after << lineText(screen, r);
    QCOMPARE(after, before);
    QCOMPARE(screen->tickedRow(), tickBefore);
}

void TestCalculateScreen::fillInAlertBringsEmptyRowToTheTop()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Sum of five"}));
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(screen->tickedRow(), 0);
    for (int r = 1; r <= 3; ++r)
        typeInto(screen, r, "1");
    screen->tableView()->setContentOffset(0);
    pressCalculate(screen);
    QVERIFY(topAlert());
    QCOMPARE(topAlert()->message(), QString("Please fill-in all the input parameter(s)."));
    // Row 4 is the first empty one; the table scrolls it up, as far as the rows go.
    UITableView* table = screen->tableView();
    const int bottom = 6 * CalculateViewController::kRowHeight - table->viewport()->height();
    QTRY_COMPARE(table->contentOffset(), std::min(bottom, 4 * CalculateViewController::kRowHeight));
    clickOverlayButton(topAlert(), "OK");

    typeInto(screen, 4, "1");
    typeInto(screen, 5, "1");
    screen->tableView()->setContentOffset(100);
    pressCalculate(screen);
    QCOMPARE(lineText(screen, 0), QString("5"));
    QTRY_COMPARE(screen->tableView()->contentOffset(), 0);  // the result row comes to the top
}

void TestCalculateScreen::oneCalculableParameterIsTicked()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Square root"}));
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(screen->tickedRow(), 0);
    QVERIFY(screen->checkbox(0)->isVisible());
    QVERIFY(!screen->checkbox(1)->isVisible());  // nothing to calculate there: no tick box
}

void TestCalculateScreen::choiceOutsideTheBrowserListsOpensNothing()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    g_nSelectedFormula = 999;
    g_bOpenFormula = true;
    clickTab(app.delegate.get(), 2);
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(screen->tableView()->numberOfRows(), 0);
    QVERIFY(g_arrHistory.empty());
    FORMULA_NODE_INFO last;
    QVERIFY(!loadLastUsedFormula(last));
    pressCalculate(screen);
    QVERIFY(topAlert());
    QCOMPARE(topAlert()->message(), QString("Please check the field you want to calculate."));
}

void TestCalculateScreen::fixedValuesTakeNoTypingAndSurviveClearAll()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Free fall"}));
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(lineText(screen, 1), QString("9.81"));
    QVERIFY(!screen->checkbox(1)->isVisible());

    typeInto(screen, 0, "20");
    // Touching the fixed line, or anywhere on its row, does not select it.
    QTest::mouseClick(line(screen, 1), Qt::LeftButton, {}, QPoint(40, 15));
    clickRow(screen->tableView(), 1);
    QVERIFY(!line(screen, 1)->getSelectedState());
    tap(screen, 0, 6);
    QCOMPARE(lineText(screen, 1), QString("9.81"));
    QCOMPARE(lineText(screen, 0), QString("201"));
    screenshot(app.delegate->window, "calc_fixed_value");

    // Holding the keyboard key empties every line but the fixed one.
    typeInto(screen, 2, "3");
    holdOnce(screen, 0, 2);
    QCOMPARE(screen->keyboard()->mode(), 0);  // held, not switched
    QCOMPARE(lineText(screen, 0), QString());
    QCOMPARE(lineText(screen, 2), QString());
    QCOMPARE(lineText(screen, 1), QString("9.81"));
}

void TestCalculateScreen::threeKeyboardsAndHoldToClear()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 1, "12.5");
    typeInto(screen, 2, "7");
    tick(screen, 0);
    pressCalculate(screen);
    selectLine(screen, 2);
    QCOMPARE(screen->keyboard()->mode(), 0);
    const QImage digitFace = key(screen, 6)->face().toImage();
    screenshot(app.delegate->window, "calc_keyboard_digits");

    QTest::mouseClick(key(screen, 2), Qt::LeftButton);
    QCOMPARE(screen->keyboard()->mode(), 1);
    const QImage arithmeticFace = key(screen, 6)->face().toImage();
    QVERIFY(arithmeticFace != digitFace);
    screenshot(app.delegate->window, "calc_keyboard_arithmetic");

    QTest::mouseClick(key(screen, 2), Qt::LeftButton);
    QCOMPARE(screen->keyboard()->mode(), 2);
    tap(screen, 2, 9);  // sin(
    QCOMPARE(line(screen, 2)->tokens().last(), QString("sin("));
    screenshot(app.delegate->window, "calc_keyboard_trigonometry");

    QTest::mouseClick(key(screen, 2), Qt::LeftButton);
    QCOMPARE(screen->keyboard()->mode(), 0);
    QCOMPARE(key(screen, 6)->face().toImage(), digitFace);
}

void TestCalculateScreen::keyHoldRepeatsAndReleaseSendsNothing()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    selectLine(screen, 1);

    // A quick tap sends its code once, on release.
    FormulaKeyboardButton* five = key(screen, 10);
    QTest::mousePress(five, Qt::LeftButton);
    QVERIFY(five->isShowingPressed());
    QCOMPARE(lineText(screen, 1), QString());
    QTest::mouseRelease(five, Qt::LeftButton);
    QVERIFY(!five->isShowingPressed());
    QCOMPARE(lineText(screen, 1), QString("5"));

    // Held: nothing before the hold delay, then a "5" every 0.1 s.
    QTest::mousePress(five, Qt::LeftButton);
    QTest::qWait(200);
    QCOMPARE(lineText(screen, 1), QString("5"));
    QTRY_VERIFY_WITH_TIMEOUT(lineText(screen, 1).size() >= 5, 2000);
    QTest::mouseRelease(five, Qt::LeftButton);
    const QString held = lineText(screen, 1);
    QCOMPARE(held, QString(held.size(), '5'));
    QTest::qWait(350);
    QCOMPARE(lineText(screen, 1), held);  // the release sent nothing and the repeat stopped

    // A held key that does not repeat sends its hold code once.
    holdOnce(screen, 1, 11);  // π, held: "1" "÷"
    QCOMPARE(line(screen, 1)->tokens().mid(held.size()), QStringList({"1", QString(QChar(0x00F7))}));
}

void TestCalculateScreen::deleteKeyTapAndHold()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 1, "123");
    tap(screen, 0, 4);  // caret left: onto the "3"
    tap(screen, 0, 3);  // delete the token at the caret
    QCOMPARE(lineText(screen, 1), QString("12"));
    tap(screen, 0, 3);  // caret after the last token: the last one goes
    QCOMPARE(lineText(screen, 1), QString("1"));
    type(screen, "456");
    holdOnce(screen, 0, 3);  // held: clear the line
    QCOMPARE(lineText(screen, 1), QString());
}

void TestCalculateScreen::draggingOffAHeldKeyStopsIt()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    selectLine(screen, 1);
    FormulaKeyboardButton* seven = key(screen, 12);
    QTest::mousePress(seven, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(lineText(screen, 1).size() >= 2, 2000);
    QTest::mouseMove(seven, QPoint(seven->width() + 30, seven->height() / 2));
    QVERIFY(!seven->isShowingPressed());
    const QString dragged = lineText(screen, 1);
    QTest::qWait(350);
    QCOMPARE(lineText(screen, 1), dragged);
    QTest::mouseRelease(seven, Qt::LeftButton, {}, QPoint(seven->width() + 30, seven->height() / 2));
    QCOMPARE(lineText(screen, 1), dragged);
}

void TestCalculateScreen::arrowOfTheLineRepeatsWhileHeld()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 1, "12345678901234567890123456");
    MyLedViewLite* led = line(screen, 1);
    const int count = led->model().TokenCount();
    QCOMPARE(led->model().content().iCaretIndex, count);
    QVERIFY(led->model().HasHiddenLeft());
    screenshot(app.delegate->window, "calc_long_line");

    // Holding the left arrow moves the caret every 0.15 s, and once more on release.
    const LED_RECT arrow = led->model().region(LED_REGION_LEFT_ARROW);
    const QPoint at(static_cast<int>(arrow.x + arrow.width / 2), static_cast<int>(arrow.y + arrow.height / 2));
    QTest::mousePress(led, Qt::LeftButton, {}, at);
    QCOMPARE(led->model().content().iCaretIndex, count);  // not at touch-down
    QTRY_VERIFY_WITH_TIMEOUT(led->model().content().iCaretIndex <= count - 2, 1000);
    const int held = led->model().content().iCaretIndex;
    QTest::mouseRelease(led, Qt::LeftButton, {}, at);
    QCOMPARE(led->model().content().iCaretIndex, held - 1);
    QCOMPARE(led->currentCommandInput(), -1);
    QTest::qWait(350);
    QCOMPARE(led->model().content().iCaretIndex, held - 1);  // the timer stopped
}

void TestCalculateScreen::favouriteStarTogglesAndPersists()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    {
        App app(home.path());
        QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
        CalculateViewController* screen = calcScreen(app);
        QCOMPARE(favouriteImage(app, screen), QString("NotFavorite.png"));
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
        QCOMPARE(g_arrFavorite.size(), size_t(1));
        QCOMPARE(QString(g_arrFavorite[0].m_szBook), QString("Math"));
        QCOMPARE(QString(g_arrFavorite[0].m_NodeInfo.m_szNodeName), QString("Slope"));
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(favouriteImage(app, screen), QString("NotFavorite.png"));
        QVERIFY(g_arrFavorite.empty());
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(g_arrFavorite.size(), size_t(1));
        app.terminate();
        app.kill();
    }
    App app(home.path());
    QCOMPARE(g_arrFavorite.size(), size_t(1));
    clickTab(app.delegate.get(), 2);  // the last used formula comes back
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(descriptions(screen), QStringList({"Angle", "Rise", "Run"}));
    QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
}

// The lists are written as they change: a process killed right after a tap
// on the star (or after an opening) keeps the change.
void TestCalculateScreen::starAndHistorySurviveAKill()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    const std::string favorites = (home.path() + "/Favorites.sav").toStdString();
    const std::string history = (home.path() + "/History.sav").toStdString();
    std::vector<FORMULA_NODE_INFO> list;
    {
        App app(home.path());
        QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
        CalculateViewController* screen = calcScreen(app);
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
        app.kill();
    }
    QVERIFY(loadFormulaList(favorites, list));
    QCOMPARE(list.size(), size_t(1));
    QCOMPARE(QString(list[0].m_NodeInfo.m_szNodeName), QString("Slope"));
    QVERIFY(loadFormulaList(history, list));
    QCOMPARE(list.size(), size_t(1));
    QCOMPARE(QString(list[0].m_NodeInfo.m_szNodeName), QString("Slope"));
    {
        App app(home.path());
        QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
        CalculateViewController* screen = calcScreen(app);
        clickTab(app.delegate.get(), 1);
        QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
        QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(favouriteImage(app, screen), QString("NotFavorite.png"));
        app.kill();
    }
    QVERIFY(loadFormulaList(favorites, list));
    QVERIFY(list.empty());
    QVERIFY(loadFormulaList(history, list));
    QCOMPARE(list.size(), size_t(2));
    QCOMPARE(QString(list[1].m_NodeInfo.m_szNodeName), QString("Ohm's law"));
}

// The formula on the Calculate tab is removed in the browser: coming back to
// the tab finds nothing to open, and neither History nor the star brings the
// removed formula back.
void TestCalculateScreen::removedFormulaDoesNotComeBackIntoHistory()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
    CalculateViewController* screen = calcScreen(app);
    QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
    QCOMPARE(g_arrFavorite.size(), size_t(1));
    QCOMPARE(g_arrHistory.size(), size_t(1));

    clickTab(app.delegate.get(), 0);
    UITableView* table = app.delegate->formulaViewController()->tableView();
    const int row = static_cast<int>(rowTexts(table).indexOf("Slope"));
    QVERIFY(row >= 0);
    table->scrollToRow(row);
    auto* icon = table->cellForRow(row)->findChild<FormulaIconView*>();
    QVERIFY(icon);
    QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
    QTRY_VERIFY(topSheet());
    clickOverlayButton(topSheet(), "Remove");
    clickOverlayButton(topSheet(), "Yes");
    QVERIFY(!rowTexts(table).contains("Slope"));
    QVERIFY(g_arrFavorite.empty());
    QVERIFY(g_arrHistory.empty());

    clickTab(app.delegate.get(), 2);
    QCOMPARE(screen->tableView()->numberOfRows(), 0);
    QVERIFY(g_arrHistory.empty());
    QVERIFY(!barButtonFor(app, screen->favoriteButton()));
    std::vector<FORMULA_NODE_INFO> list;
    QVERIFY(loadFormulaList((home.path() + "/History.sav").toStdString(), list));
    QVERIFY(list.empty());
}

// A line selected in a formula with more rows stays behind when History
// opens a formula with fewer: the keypad must not type into that hidden row.
void TestCalculateScreen::keysNeverGoToARowThatIsNotShown()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    CalculateViewController* screen = calcScreen(app);
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    QVERIFY(openFormula(app, "Math", {"Tests", "Sum of five"}));
    typeInto(screen, 5, "4");
    QCOMPARE(lineText(screen, 5), QString("4"));

    clickTab(app.delegate.get(), 1);
    FavoritesViewController* favorites = app.delegate->favoritesViewController();
    UISegmentedControl* lists = favorites->segmentedControl();
    QTest::mouseClick(lists, Qt::LeftButton, {}, lists->segmentRect(1).center());
    QTRY_COMPARE(rowTexts(favorites->tableView()), QStringList({"Ohm's law", "Sum of five"}));
    clickRow(favorites->tableView(), 0);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(screen->tableView()->numberOfRows(), 3);

    tap(screen, 0, 6);  // "1"
    for (int row = 0; row < CalculateViewController::kRowCount; ++row)
        QVERIFY2(lineText(screen, row).isEmpty() || row == 5, qPrintable(QString::number(row)));
    QCOMPARE(lineText(screen, 5), QString());
    for (int row = 3; row < CalculateViewController::kRowCount; ++row)
        QVERIFY(!screen->ledView(row)->getSelectedState());
}

void TestCalculateScreen::opensFromFavoritesAndHistory()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    CalculateViewController* screen = calcScreen(app);
    QVERIFY(openFormula(app, "Math", {"Tests", "Slope"}));
    QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
    QVERIFY(openFormula(app, "Math", {"Tests", "Free fall"}));

    // The browser is in another book when the favourite is opened.
    clickTab(app.delegate.get(), 0);
    backToBookList(app);
    QVERIFY(clickRowNamed(app.delegate->formulaViewController()->tableView(), "User-defined Formulas"));
    QTRY_COMPARE(QString::fromStdString(g_sFormulasFolder), QString("User Define"));

    clickTab(app.delegate.get(), 1);
    FavoritesViewController* favorites = app.delegate->favoritesViewController();
    QCOMPARE(rowTexts(favorites->tableView()), QStringList({"Slope"}));
    clickRow(favorites->tableView(), 0);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(descriptions(screen), QStringList({"Angle", "Rise", "Run"}));
    QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("Math"));
    typeInto(screen, 1, "1");
    typeInto(screen, 2, "1");
    tick(screen, 0);
    pressCalculate(screen);
    QCOMPARE(lineText(screen, 0), QString("45"));

    // Leaving the tab gives the browser its book back; History lists both formulas.
    clickTab(app.delegate.get(), 1);
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("User Define"));
    QCOMPARE(g_arrHistory.size(), size_t(2));
    UISegmentedControl* lists = favorites->segmentedControl();
    QTest::mouseClick(lists, Qt::LeftButton, {}, lists->segmentRect(1).center());
    QTRY_COMPARE(rowTexts(favorites->tableView()), QStringList({"Slope", "Free fall"}));
    clickRow(favorites->tableView(), 1);
    QTRY_COMPARE(app.delegate->m_tabbarCtrler->selectedIndex(), 2);
    QCOMPARE(descriptions(screen), QStringList({"Height", "Gravity", "Time"}));
    QCOMPARE(lineText(screen, 1), QString("9.81"));
    QCOMPARE(favouriteImage(app, screen), QString("NotFavorite.png"));
}

void TestCalculateScreen::restartReopensLastFormulaWithTexts()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    {
        App app(home.path());
        QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
        CalculateViewController* screen = calcScreen(app);
        typeInto(screen, 1, "2.5");
        typeInto(screen, 2, "4");
        // Quit while the Calculate tab is still showing.
        app.terminate();
        app.kill();
    }
    App app(home.path());
    clickTab(app.delegate.get(), 2);
    CalculateViewController* screen = calcScreen(app);
    QCOMPARE(descriptions(screen), QStringList({"Voltage", "Resistance", "Current"}));
    QCOMPARE(lineText(screen, 1), QString("2.5"));
    QCOMPARE(lineText(screen, 2), QString("4"));
    QCOMPARE(lineText(screen, 0), QString());
    tick(screen, 0);
    pressCalculate(screen);
    QCOMPARE(lineText(screen, 0), QString("10"));
}

// Texts and the tick belong to their formula: another formula starts with
// its own rows, and coming back brings the first one's values back.
void TestCalculateScreen::eachFormulaKeepsItsOwnValues()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 0, "6");
    typeInto(screen, 1, "2");
    tick(screen, 2);

    // Free fall's fixed gravity is not overwritten by Ohm's resistance, and
    // neither texts nor the tick carry over.
    QVERIFY(openFormula(app, "Math", {"Tests", "Free fall"}));
    QCOMPARE(lineText(screen, 0), QString());
    QCOMPARE(lineText(screen, 1), QString("9.81"));
    QCOMPARE(lineText(screen, 2), QString());
    QVERIFY(screen->tickedRow() < 0);
    typeInto(screen, 0, "4.9");

    // Back on Ohm's law its own texts and tick return; the row that showed
    // the fixed gravity takes typing again.
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    QCOMPARE(lineText(screen, 0), QString("6"));
    QCOMPARE(lineText(screen, 1), QString("2"));
    QCOMPARE(screen->tickedRow(), 2);
    selectLine(screen, 1);
    QVERIFY(line(screen, 1)->getSelectedState());
    type(screen, "0");
    QCOMPARE(lineText(screen, 1), QString("20"));

    QVERIFY(openFormula(app, "Math", {"Tests", "Free fall"}));
    QCOMPARE(lineText(screen, 0), QString("4.9"));
    QCOMPARE(lineText(screen, 1), QString("9.81"));
}

// The walk of a new user on the shipped books, ended by a kill: every
// formula gets its own values and tick back, and the browser is where it was.
void TestCalculateScreen::killedWhileTypingEachFormulaKeepsItsValues()
{
    QTemporaryDir home;
    FORMULA_NODE_INFO centripetal;
    {
        App app(home.path());
        CalculateViewController* screen = calcScreen(app);
        QVERIFY(openFormula(app, "Electric Engineering", {"DC Circuits", "Ohm's law"}));
        typeInto(screen, 0, "12");
        typeInto(screen, 2, "4");
        tick(screen, 1);
        pressCalculate(screen);
        QCOMPARE(lineText(screen, 1), QString("3"));

        QVERIFY(openFormula(app, "Dynamics and Mechanics", {"Kinematics", "Centripetal acceleration"}));
        QTest::mouseClick(barButtonFor(app, screen->favoriteButton()), Qt::LeftButton);
        QCOMPARE(g_arrFavorite.size(), size_t(1));
        centripetal = g_arrFavorite[0];
        tick(screen, 0);
        typeInto(screen, 1, "6");
        typeInto(screen, 2, "3");
        // What was typed reaches the disk a moment later, without any tab change.
        QTRY_VERIFY([&] {
            TYPED_VALUES stored;
            return findTypedValues(centripetal, stored) && stored.m_nTickedRow == 0 && stored.m_vecRows.size() == 3
                   && stored.m_vecRows[1].m_strText == u"6" && stored.m_vecRows[2].m_strText == u"3";
        }());
        app.kill();
    }
    App app(home.path());
    CalculateViewController* screen = calcScreen(app);
    UITableView* browser = app.delegate->formulaViewController()->tableView();
    QVERIFY(rowTexts(browser).contains("Centripetal acceleration"));

    clickTab(app.delegate.get(), 2);
    QCOMPARE(descriptions(screen).size(), 3);
    QCOMPARE(lineText(screen, 0), QString());
    QCOMPARE(lineText(screen, 1), QString("6"));
    QCOMPARE(lineText(screen, 2), QString("3"));
    QCOMPARE(screen->tickedRow(), 0);
    QCOMPARE(favouriteImage(app, screen), QString("Favorite.png"));
    pressCalculate(screen);
    QCOMPARE(lineText(screen, 0), QString("12"));

    QVERIFY(openFormula(app, "Electric Engineering", {"DC Circuits", "Ohm's law"}));
    QCOMPARE(lineText(screen, 0), QString("12"));
    QCOMPARE(lineText(screen, 1), QString("3"));
    QCOMPARE(lineText(screen, 2), QString("4"));
    QCOMPARE(screen->tickedRow(), 1);
}

// Typed values that cannot be saved (the disk is full): one alert says so,
// the file of the last save stays as it was, typing goes on, and once there
// is room again the next change is saved.
void TestCalculateScreen::fullDiskIsToldOnceAndTypingGoesOn()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    FORMULA_NODE_INFO ohm = g_arrHistory.at(0);
    auto storedText = [&ohm](int row) {
        TYPED_VALUES stored;
        if (!findTypedValues(ohm, stored) || row >= static_cast<int>(stored.m_vecRows.size()))
            return QString();
        return QString::fromStdU16String(stored.m_vecRows[static_cast<size_t>(row)].m_strText);
    };
    typeInto(screen, 1, "2");
    QTRY_COMPARE(storedText(1), QString("2"));
    const QByteArray saved = readFile(home.path() + "/TypedValues.sav");

    {
        FileSizeLimit limit(10);
        type(screen, "5");
        QTRY_VERIFY(topAlert());
    }
    QCOMPARE(topAlert()->title(), QString("Warning!"));
    QCOMPARE(topAlert()->message(), QString("Your typed values cannot be saved.\nThe disk is full."));
    clickOverlayButton(topAlert(), "OK");
    QCOMPARE(readFile(home.path() + "/TypedValues.sav"), saved);
    QCOMPARE(lineText(screen, 1), QString("25"));

    {
        FileSizeLimit limit(10);
        type(screen, "7");
        QTest::qWait(static_cast<int>(3000 * CalculateViewController::kValuesSaveSeconds));
    }
    QVERIFY(!topAlert());  // told once
    QCOMPARE(lineText(screen, 1), QString("257"));

    type(screen, "1");
    QTRY_COMPARE(storedText(1), QString("2571"));
}

void TestCalculateScreen::returningToTheTabKeepsTheFormula()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 1, "2");

    // The browser moves on to another book; the Calculate tab still shows Ohm's law.
    clickTab(app.delegate.get(), 0);
    backToBookList(app);
    QVERIFY(clickRowNamed(app.delegate->formulaViewController()->tableView(), "User-defined Formulas"));
    QTRY_COMPARE(QString::fromStdString(g_sFormulasFolder), QString("User Define"));
    clickTab(app.delegate.get(), 2);
    QCOMPARE(descriptions(screen), QStringList({"Voltage", "Resistance", "Current"}));
    QCOMPARE(lineText(screen, 1), QString("2"));
    QVERIFY(!screen->detailView());
    QCOMPARE(g_arrHistory.size(), size_t(1));
    // Leaving the tab gives the browser its book back.
    clickTab(app.delegate.get(), 0);
    QCOMPARE(QString::fromStdString(g_sFormulasFolder), QString("User Define"));
}

void TestCalculateScreen::theoryFormulaShowsDetailPages()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "User-defined Formulas", {"Pythagoras"}));
    CalculateViewController* screen = calcScreen(app);
    DetailView* detail = screen->detailView();
    QVERIFY(detail && detail->isVisible());
    QVERIFY(!screen->keyboard()->isVisible());
    QCOMPARE(screen->tableView()->numberOfRows(), 0);
    QVERIFY(!barButtonFor(app, screen->calcToDetailButton()));  // a theory formula has no left button
    QVERIFY(!barButtonFor(app, screen->detailToCalcButton()));
    QVERIFY(barButtonFor(app, screen->favoriteButton()));

    // The formula, its one described parameter and the description; a picture page and a TeX page.
    QCOMPARE(detail->getPages(), 3);
    QVERIFY(detail->formulaView()->hasImage());
    QCOMPARE(detail->formulaView()->geometry().top(), 10);
    QVERIFY(detail->descriptionLabel());
    QCOMPARE(detail->descriptionLabel()->text(),
             QString("Description:\n + ") + kLongDescription);
    QCOMPARE(detail->descriptionLabel()->geometry().top(), detail->formulaView()->bmHeight() + 30);
    auto* picture = qobject_cast<UIImageView*>(detail->pageView(1));
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), QRect(320 + (320 - 120) / 2, (366 - 90) / 2, 120, 90));
    auto* tex = qobject_cast<MIMEView*>(detail->pageView(2));
    QVERIFY(tex && tex->hasImage());
    QCOMPARE(tex->geometry(), QRect(640, 0, 320, 366));
    QCOMPARE(screen->pageControl()->numberOfPages(), 3);
    QCOMPARE(screen->pageControl()->geometry(), QRect(0, 347, 320, 20));
    screenshot(app.delegate->window, "calc_detail_theory");

    // The description runs past the foot of the page: an upward drag brings its end up.
    UIPageScrollView* first = detail->firstPage();
    const int overflow = first->contentView()->height() - first->height();
    QVERIFY(detail->descriptionLabel()->geometry().bottom() > 347);
    QVERIFY(overflow > 0);
    drag(detail, QPoint(160, 300), QPoint(160, 300 - overflow - 50));
    QCOMPARE(first->contentOffset(), overflow);
    QCOMPARE(detail->scrollView()->contentOffset().x(), 0.0);
    screenshot(app.delegate->window, "calc_detail_theory_scrolled");
    drag(detail, QPoint(160, 100), QPoint(160, 100 + overflow + 50));
    QCOMPARE(first->contentOffset(), 0);

    // A swipe to the left shows the picture, and the page control follows.
    UIPagingScrollView* pages = detail->scrollView();
    drag(detail, QPoint(250, 200), QPoint(100, 205));
    QTRY_COMPARE(pages->contentOffset().x(), 320.0);
    QCOMPARE(screen->pageControl()->currentPage(), 1);
    screenshot(app.delegate->window, "calc_detail_picture");

    // A tap on the right of the page control turns to the next page.
    QTest::mouseClick(screen->pageControl(), Qt::LeftButton, {}, QPoint(300, 10));
    QTRY_COMPARE(pages->contentOffset().x(), 640.0);
    QCOMPARE(screen->pageControl()->currentPage(), 2);
    screenshot(app.delegate->window, "calc_detail_tex");

    // Leaving the tab drops the pages.
    clickTab(app.delegate.get(), 1);
    QVERIFY(!screen->detailView());
}

void TestCalculateScreen::detailButtonSwitchesBetweenRowsAndPages()
{
    QTemporaryDir home, scratch;
    writeBooks(home.path(), scratch.path());
    App app(home.path());
    QVERIFY(openFormula(app, "Math", {"Tests", "Ohm's law"}));
    CalculateViewController* screen = calcScreen(app);
    typeInto(screen, 1, "7");
    UIBarButton* toDetail = barButtonFor(app, screen->calcToDetailButton());
    QVERIFY(toDetail);
    QTest::mouseClick(toDetail, Qt::LeftButton);
    QVERIFY(screen->detailView() && screen->detailView()->isVisible());
    QCOMPARE(screen->detailView()->getPages(), 1);
    QVERIFY(!barButtonFor(app, screen->calcToDetailButton()));
    screenshot(app.delegate->window, "calc_detail_of_calculable");

    UIBarButton* toRows = barButtonFor(app, screen->detailToCalcButton());
    QVERIFY(toRows);
    QTest::mouseClick(toRows, Qt::LeftButton);
    QVERIFY(!screen->detailView());
    QVERIFY(!screen->pageControl());
    QVERIFY(screen->keyboard()->isVisible());
    QVERIFY(barButtonFor(app, screen->calcToDetailButton()));
    QCOMPARE(lineText(screen, 1), QString("7"));
}

void TestCalculateScreen::everyShippedFormulaCalculatesEveryParameter()
{
    // Every formula of the six shipped books, opened the way the Favorites
    // list opens it. A theory formula shows its rendered page; a calculable
    // one its rows, its symbol-and-unit views, and each parameter with an
    // expression is calculated from the others set to 2.
    // Each calculation ends in a number in the ticked row or in one of the
    // messages of the failure table, never in anything else.
    QTemporaryDir home;
    App app(home.path());
    CalculateViewController* screen = calcScreen(app);
    QStringList messages = {"Invalid parameter(s)!"};
    for (int code = -EXCEPTION_MSG_COUNT; code <= -1; ++code)
        messages << QString::fromUtf8(GetErrorMessage(code));
    const QRegularExpression number(QStringLiteral("^ ?\\x{2212}?[0-9]+(\\.[0-9]+)?(\\x{00D7}10\\^\\(\\x{2212}?[0-9]+\\))?$"));
    QVERIFY(number.isValid());

    int formulas = 0;
    int theories = 0;
    int results = 0;
    int alerts = 0;
    for (const std::string& book : g_arrBooks) {
        if (book == USER_DEFINE_BOOK)
            continue;
        std::vector<_fornode> nodes;
        {
            FormulasFolderSwitch folder(book);
            QVERIFY2(getFormulasTreeFromFileAndSort2(nodes, getTreeFilename(), true), book.c_str());
        }
        for (const _fornode& node : nodes) {
            if (node.m_uiNodeType == FORMULA_TYPE_FOLDER)
                continue;
            const QString where = QString::fromStdString(book) + " / " + QString::fromUtf8(node.m_szNodeName);
            g_favhisInfo = makeNodeInfo(node, book);
            g_bFavHisToCalcDet = true;
            clickTab(app.delegate.get(), 2);
            if (node.m_uiNodeType == FORMULA_TYPE_THEORY) {
                // A theory formula shows its rendered page instead of rows.
                QVERIFY2(screen->detailView() && screen->detailView()->getPages() >= 1, qPrintable(where));
                QVERIFY2(screen->detailView()->formulaView()->hasImage(), qPrintable(where));
                if (++theories == 1)
                    screenshot(app.delegate->window, "calc_detail_shipped_theory");
                clickTab(app.delegate.get(), 0);
                continue;
            }
            ++formulas;
            const _tag_formula_detail& det = screen->formulaDetail();
            const int count = static_cast<int>(det.m_nParamCount);
            QVERIFY2(count > 0, qPrintable(where));
            QCOMPARE(screen->tableView()->numberOfRows(), count);
            for (int r = 0; r < count; ++r) {
                screen->tableView()->scrollToRow(r);
                MIMEView* unit = nullptr;
                for (MIMEView* v : screen->tableView()->cellForRow(r)->findChildren<MIMEView*>())
                    unit = v;
                QVERIFY2(unit, qPrintable(where));
                const bool hasTex = !det.m_arrParams[static_cast<size_t>(r)].m_strName.empty()
                                    || !det.m_arrParams[static_cast<size_t>(r)].m_strUnit.empty();
                QVERIFY2(unit->hasImage() == hasTex, qPrintable(where + QString(" row %1").arg(r)));
            }
            for (int p = 0; p < count; ++p) {
                if (!CanCalculateParameter(det, p))
                    continue;
                for (int r = 0; r < count; ++r) {
                    MyLedViewLite* led = screen->ledView(r);
                    if (!led->isUserInteractionEnabled())
                        continue;  // a fixed value
                    screen->selectedMyLedViewLite(led);
                    screen->keyPressed(4);  // clear the line
                    if (r != p)
                        screen->keyPressed(11);  // "2"
                }
                screen->selectCheckbox(screen->checkbox(p));
                screen->keyPressed(-1);
                const QString what = where + QString(" parameter %1").arg(p);
                if (UIAlertView* alert = topAlert()) {
                    QVERIFY2(messages.contains(alert->message()), qPrintable(what + ": " + alert->message()));
                    alert->dismissWithClickedButtonIndex(0);
                    ++alerts;
                } else {
                    QVERIFY2(number.match(lineText(screen, p)).hasMatch(), qPrintable(what + ": " + lineText(screen, p)));
                    ++results;
                }
            }
            clickTab(app.delegate.get(), 0);
        }
    }
    qInfo("%d formulas, %d theory formulas, %d results, %d alerts", formulas, theories, results, alerts);
    QVERIFY(formulas > 100);
    QVERIFY(theories > 0);
    QVERIFY(results > alerts);
}

QTEST_MAIN(TestCalculateScreen)
#include "test_calculate_screen.moc"
