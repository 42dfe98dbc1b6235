#pragma once
// Shared by the wizard and More-screen tests: reach the More menu and the
// wizard, turn its pages with the page control, type into its fields, press
// Done, and open and calculate a formula on the Calculate tab.

#include "window/GuiTestSupport.h"

#include "auxiliary/MoreViewController.h"
#include "browser/FormulaIconView.h"
#include "browser/FormulaViewController.h"
#include "calc/CalculateViewController.h"
#include "calc/FormulaKeyboardView.h"
#include "calc/UIImageControl.h"
#include "editor/CustomControl.h"
#include "editor/DetailView.h"
#include "editor/EditFormulaViewController.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "editor/NewFormulaViewController.h"
#include "ui/UINavigationController.h"
#include "ui/UIPageControl.h"
#include "ui/UISegmentedControl.h"

namespace wizardtest {

using namespace guitest;

inline UINavigationController* tabNavigation(App& app, int tab)
{
    return qobject_cast<UINavigationController*>(app.delegate->m_tabbarCtrler->viewControllers().value(tab));
}

inline MoreViewController* moreScreen(App& app)
{
    UINavigationController* nav = tabNavigation(app, 3);
    return nav ? qobject_cast<MoreViewController*>(nav->viewControllers().value(0)) : nullptr;
}

// Taps a row of the More menu and waits until its screen has slid in.
inline void openMoreRow(App& app, int row)
{
    clickTab(app.delegate.get(), 3);
    MoreViewController* more = moreScreen(app);
    QVERIFY(more);
    clickRow(more->tableView(), row);
    UINavigationController* nav = tabNavigation(app, 3);
    QTRY_COMPARE(nav->viewControllers().size(), 2);
    QTRY_VERIFY(!nav->isAnimating());
}

inline NewFormulaViewController* wizardOnTop(App& app, int tab)
{
    UINavigationController* nav = tabNavigation(app, tab);
    return nav ? qobject_cast<NewFormulaViewController*>(nav->topViewController()) : nullptr;
}

// Taps the page control's right (or left) half until the page is shown.
inline void goToPage(NewFormulaViewController* wizard, int page)
{
    UIPageControl* control = wizard->pageControl();
    for (int guard = 0; guard < 20 && wizard->currentPage() != page; ++guard) {
        const bool forward = page > wizard->currentPage();
        QTest::mouseClick(control, Qt::LeftButton, {},
                          QPoint(forward ? control->width() * 3 / 4 : control->width() / 4, control->height() / 2));
        QTRY_VERIFY(!wizard->scrollView()->isAnimating());
    }
    QCOMPARE(wizard->currentPage(), page);
    QCOMPARE(control->currentPage(), page);
}

// Clicks into a field (as a finger would) and types.
inline void typeInto(QWidget* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 4, field->height() / 2));
    QVERIFY(field->hasFocus());
    QTest::keyClicks(field, text);
}

inline void pressReturn(QWidget* field)
{
    QTest::keyClick(field, Qt::Key_Return);
}

// Fills one parameter page; an empty expression switches "Calculable" off.
inline void fillParameter(NewFormulaViewController* wizard, int index, const QString& nameAndDescription,
                          const QString& unit, const QString& alias, const QString& expression)
{
    goToPage(wizard, WIZARD_FIRST_PARAMETER_PAGE + index);
    Form4* page = wizard->form4(index);
    QVERIFY(page);
    typeInto(page->nameField(), nameAndDescription);
    typeInto(page->unitField(), unit);
    typeInto(page->aliasField(), alias);
    if (expression.isEmpty()) {
        if (page->calculableSwitch()->isOn())
            QTest::mouseClick(page->calculableSwitch(), Qt::LeftButton);
    } else {
        typeInto(page->formulaView(), expression);
    }
}

// Types the number of parameters on Step 3 and commits it with Return.
inline void setParameterCount(NewFormulaViewController* wizard, const QString& count)
{
    goToPage(wizard, 2);
    QLineEdit* field = wizard->form3()->countField();
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, count);
    pressReturn(field);
}

inline void pressDone(App& app)
{
    UIBarButton* done = barButton(app.delegate->window, " Done ");
    QVERIFY(done);
    QVERIFY(done->isEnabled());
    QTest::mouseClick(done, Qt::LeftButton);
}

// The alert on screen says exactly this; OK closes it.
inline void expectAlert(const QString& message)
{
    QTRY_VERIFY(topAlert());
    UIAlertView* alert = topAlert();
    QCOMPARE(alert->title(), QString("Warning!"));
    QCOMPARE(alert->message(), message);
    QCOMPARE(alert->buttonTitles(), QStringList({"OK"}));
    clickOverlayButton(alert, "OK");
    QTRY_VERIFY(!topAlert());
}

// ---------------------------------------------------------------- the browser and Calculate

inline void backToBookList(App& app)
{
    FormulaViewController* browser = app.delegate->formulaViewController();
    for (int guard = 0; guard < 10 && browser->backButtonItem()->isEnabled(); ++guard)
        browser->backButtonItem()->trigger();
}

inline bool clickRowNamed(UITableView* table, const QString& name)
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

// Opens a folder path of a book in the Formulas tab; the last name may be a formula.
inline bool openInBrowser(App& app, const QString& book, const QStringList& path)
{
    clickTab(app.delegate.get(), 0);
    backToBookList(app);
    UITableView* table = app.delegate->formulaViewController()->tableView();
    if (!clickRowNamed(table, book))
        return false;
    QTest::qWait(350);  // the row acts after its deselection
    for (const QString& name : path) {
        if (!clickRowNamed(table, name))
            return false;
        QTest::qWait(350);  // the row acts after its deselection
    }
    return true;
}

inline void tapIcon(UITableView* table, int row)
{
    table->scrollToRow(row);
    UITableViewCell* cell = table->cellForRow(row);
    QVERIFY(cell);
    auto* icon = cell->findChild<FormulaIconView*>();
    QVERIFY(icon);
    QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
}

inline CalculateViewController* calcScreen(App& app)
{
    return qobject_cast<CalculateViewController*>(app.delegate->m_calculateViewCtrler);
}

// Types digits on the keypad's digit keyboard into a row of the Calculate tab.
inline void typeDigits(CalculateViewController* screen, int row, const QString& digits)
{
    screen->tableView()->scrollToRow(row);
    MyLedViewLite* led = screen->ledView(row);
    QTest::mouseClick(led, Qt::LeftButton, {}, QPoint(led->width() / 2, led->height() / 2));
    for (int i = 0; i < 3 && screen->keyboard()->mode() != 0; ++i)
        QTest::mouseClick(screen->keyboard()->button(2), Qt::LeftButton);
    const QString order = QStringLiteral("7894561230");
    const int buttons[] = {12, 13, 14, 9, 10, 11, 6, 7, 8, 15};
    for (QChar c : digits) {
        const int d = static_cast<int>(order.indexOf(c));
        QVERIFY(d >= 0);
        QTest::mouseClick(screen->keyboard()->button(buttons[d]), Qt::LeftButton);
    }
}

inline void tickAndCalculate(CalculateViewController* screen, int row)
{
    screen->tableView()->scrollToRow(row);
    QTest::mouseClick(screen->checkbox(row), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(screen->keyboard()->button(0), Qt::LeftButton);
}

} // namespace wizardtest
