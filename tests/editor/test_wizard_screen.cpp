// The formula wizard as a user meets it: writing a new formula page by page
// and calculating with it, every warning of Done with the typing kept,
// Step 3's number and the parameter pages, the picture list, and editing a
// formula in place or into other folders.

#include "editor/WizardTestSupport.h"

#include "FileSizeLimit.h"

#include "auxiliary/ContextHelpView.h"
#include "auxiliary/ContextHelpViewController.h"
#include "editor/FormulaWriter.h"
#include "storage/FavoritesHistory.h"
#include "ui/MIMEView.h"
#include "ui/UINotificationCenter.h"

#include <QFileDialog>
#include <QTextBrowser>


using namespace wizardtest;

namespace {

// A user book with Mechanics/Torque (tau = r F) and Optics/Lens.
void writeUserBook(const QString& home, const QString& scratch)
{
    qputenv("CALCUDEX_HOME", home.toLocal8Bit());
    const QString text = folderRecord("1", "Mechanics") + folderRecord("2", "Optics") +
                         QStringLiteral("***\nForId=1.1\nForType=1\nForName=Torque\nForDes=Turning effect of a force\n"
                                        "ForMime=\\tau = r F\n"
                                        "Para=\"\\tau\" \"Torque\" \"t\" \"N m\" \"0\"\n"
                                        "Para=\"r\" \"Lever arm\" \"r\" \"m\" \"0\"\n"
                                        "Para=\"F\" \"Force\" \"f\" \"N\" \"0\"\n"
                                        "For=\"r*f\" \"t/f\" \"t/r\"\nImage=\n") +
                         formulaRecord("2.1", "Lens");
    QVERIFY(writeBook(USER_DEFINE_BOOK, text, scratch));
}

NewFormulaViewController* startNewFormula(App& app)
{
    openMoreRow(app, 0);
    return wizardOnTop(app, 3);
}

// Opens the edit wizard of a user formula from its icon in the browser.
EditFormulaViewController* startEditing(App& app, const QStringList& folders, const QString& formula)
{
    if (!openInBrowser(app, "User-defined Formulas", folders))
        return nullptr;
    UITableView* table = app.delegate->formulaViewController()->tableView();
    const int row = static_cast<int>(rowTexts(table).indexOf(formula));
    if (row < 0)
        return nullptr;
    tapIcon(table, row);
    UIActionSheet* sheet = nullptr;
    (void)QTest::qWaitFor([&] { return (sheet = topSheet()) != nullptr; }, 2000);
    if (!sheet)
        return nullptr;
    clickOverlayButton(sheet, "Edit");
    UINavigationController* nav = tabNavigation(app, 0);
    (void)QTest::qWaitFor([&] { return nav->viewControllers().size() == 2 && !nav->isAnimating(); }, 2000);
    return qobject_cast<EditFormulaViewController*>(nav->topViewController());
}

// Opens a user formula on the Calculate tab, types 2 and 3 into its second
// and third rows, ticks the first and calculates.
CalculateViewController* calculateWithTwoAndThree(App& app, const QStringList& path)
{
    if (!openInBrowser(app, "User-defined Formulas", path) ||
        !QTest::qWaitFor([&] { return app.delegate->m_tabbarCtrler->selectedIndex() == 2; }, 2000))
        return nullptr;
    CalculateViewController* screen = calcScreen(app);
    typeDigits(screen, 1, "2");
    typeDigits(screen, 2, "3");
    tickAndCalculate(screen, 0);
    return screen;
}

} // namespace

class TestWizardScreen : public QObject {
    Q_OBJECT

private slots:
    void newFormulaIsWrittenAndCalculates();
    void texPreviewsNameUnknownCommands();
    void doneWarnsAndKeepsTheTyping_data();
    void doneWarnsAndKeepsTheTyping();
    void stepThreeBuildsTheParameterPages();
    void switchingToTheoryKeepsFilledPages();
    void fieldsTakeWhatTheyAccept();
    void pictureStepAddsAndDeletesPictures();
    void helpButtonShowsTheStepOnScreen();
    void editInPlaceKeepsTheId();
    void editIntoOtherFoldersMovesTheFormula();
    void leavingWithChangesAsksFirst();
    void editKeepsTheValuesOfParametersThatStay();
    void fullDiskSaysWhyAndKeepsTheWizard();
};

void TestWizardScreen::newFormulaIsWrittenAndCalculates()
{
    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    QCOMPARE(wizard->navigationController()->navigationBar()->titleText(), QString("New Formula"));
    QVERIFY(app.delegate->m_tabbarCtrler->isTabBarHidden());
    QVERIFY(!wizard->doneButtonItem()->isEnabled());
    QCOMPARE(wizard->pageControl()->numberOfPages(), 3);

    // Step 1: Return moves from the name to the description.
    Form1* step1 = wizard->form1();
    typeInto(step1->nameField()->editor(), "Mechanics/Newton's second law");
    pressReturn(step1->nameField()->editor());
    QVERIFY(step1->descriptionField()->editor()->hasFocus());
    QTest::keyClicks(step1->descriptionField()->editor(), "Force on a body is mass times acceleration");
    pressReturn(step1->descriptionField()->editor());
    QVERIFY(!step1->descriptionField()->editor()->hasFocus());
    QCOMPARE(step1->descriptionField()->text(), QString("Force on a body is mass times acceleration"));
    screenshot(app.delegate->window, "wizard_step1");

    // Step 2: the preview follows the TeX.
    goToPage(wizard, 1);
    Form2* step2 = wizard->form2();
    QVERIFY(step2->preview()->hasImage());  // the example at first
    const int exampleWidth = step2->preview()->bmWidth();
    typeInto(step2->texField()->editor(), "F = m a");
    QVERIFY(step2->preview()->hasImage());
    QVERIFY(step2->preview()->bmWidth() != exampleWidth);
    screenshot(app.delegate->window, "wizard_step2");

    // Step 3: three parameters make three more pages.
    setParameterCount(wizard, "3");
    QCOMPARE(wizard->pageCount(), 6);
    QCOMPARE(wizard->pageControl()->numberOfPages(), 6);
    QVERIFY(!wizard->doneButtonItem()->isEnabled());
    screenshot(app.delegate->window, "wizard_step3");
    // The pages' own texts, as the user reads them.
    auto labelTexts = [](QWidget* page) {
        QStringList texts;
        for (QLabel* label : page->findChildren<QLabel*>())
            texts << label->text();
        return texts.join('|');
    };
    QVERIFY(labelTexts(wizard->form3()).contains("This field is required if the formula is calculable."));
    QVERIFY(labelTexts(wizard->form4(0)).contains("Formula to calculate (*)"));

    fillParameter(wizard, 0, "F - force", "N", "f", "m*a");
    QCOMPARE(wizard->form4(0)->preview()->hasImage(), true);
    QVERIFY(!wizard->doneButtonItem()->isEnabled());
    screenshot(app.delegate->window, "wizard_step4");
    fillParameter(wizard, 1, "m - mass", "kg", "m", "f/a");
    fillParameter(wizard, 2, "a - acceleration", "m/s^2", "a", "f/m");
    QVERIFY(wizard->doneButtonItem()->isEnabled());
    pressDone(app);

    // The editor closes and the formula is in the user book.
    UINavigationController* nav = tabNavigation(app, 3);
    QTRY_COMPARE(nav->viewControllers().size(), 1);
    QVERIFY(!topAlert());
    QTRY_VERIFY(!app.delegate->m_tabbarCtrler->isTabBarHidden());
    QVERIFY(QFile::exists(home.path() + "/User Define_RawData.txt"));

    QVERIFY(openInBrowser(app, "User-defined Formulas", {"Mechanics"}));
    UITableView* table = app.delegate->formulaViewController()->tableView();
    QCOMPARE(rowTexts(table), QStringList({"Newton's second law"}));
    CalculateViewController* screen = calculateWithTwoAndThree(app, {"Mechanics", "Newton's second law"});
    QVERIFY(screen);
    QCOMPARE(screen->ledView(0)->text(), QString("6"));
    screenshot(app.delegate->window, "wizard_formula_calculated");

    FORMULA_NODE_INFO info = makeEmptyNodeInfo();
    QVERIFY(loadLastUsedFormula(info));
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    {
        FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
        QVERIFY(getFormulaRecords(info.m_NodeInfo.m_szNodeId, pos, des, det));
    }
    QCOMPARE(QString(info.m_NodeInfo.m_szNodeId), QString(".1.1"));
    QCOMPARE(QString::fromStdString(des.m_strDes), QString("Force on a body is mass times acceleration"));
    QCOMPARE(QString::fromStdString(det.m_arrParams[0].m_strName), QString("F"));
    QCOMPARE(QString::fromStdString(det.m_arrParams[0].m_strDescription), QString("force"));
    QCOMPARE(QString::fromStdString(det.m_arrParams[2].m_strUnit), QString("m/s^2"));
}

void TestWizardScreen::texPreviewsNameUnknownCommands()
{
    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);

    // Step 2: the message appears under the preview and pushes the picture list down.
    goToPage(wizard, 1);
    Form2* step2 = wizard->form2();
    QWidget* previewFrame = step2->preview()->parentWidget();
    // The list's caption stands 11 pixels under the preview, the list 22 under its caption.
    QVERIFY(!step2->texMessage()->isVisible());
    QCOMPARE(step2->imageTable()->y(), previewFrame->geometry().bottom() + 33);
    typeInto(step2->texField()->editor(), "F = \\foo m");
    QVERIFY(step2->preview()->hasImage());
    QVERIFY(step2->texMessage()->isVisible());
    QCOMPARE(step2->texMessage()->text(), QString("Unknown TeX command: \\foo"));
    QVERIFY(step2->texMessage()->y() > previewFrame->geometry().bottom());
    QVERIFY(step2->imageTable()->y() - 22 > step2->texMessage()->geometry().bottom());
    screenshot(app.delegate->window, "wizard_step2_unknown");
    step2->texField()->setText("F = m a");
    QVERIFY(!step2->texMessage()->isVisible());
    QCOMPARE(step2->imageTable()->y(), previewFrame->geometry().bottom() + 33);

    // Step 4: the same under the unit's preview; the fields below make room for it.
    setParameterCount(wizard, "1");
    goToPage(wizard, WIZARD_FIRST_PARAMETER_PAGE);
    Form4* step4 = wizard->form4(0);
    const int aliasTop = step4->aliasField()->y();
    typeInto(step4->unitField(), "\\newton\\,\\begin{units} m \\end{units}");
    QCOMPARE(step4->texMessage()->text(),
             QString("Unknown TeX command: \\newton\nUnknown TeX command: \\begin{units}"));
    QVERIFY(step4->texMessage()->isVisible());
    QVERIFY(step4->aliasField()->y() >= aliasTop + step4->texMessage()->height());
    screenshot(app.delegate->window, "wizard_step4_unknown");
    step4->unitField()->setText("N");
    QVERIFY(!step4->texMessage()->isVisible());
    QCOMPARE(step4->aliasField()->y(), aliasTop);
}

void TestWizardScreen::doneWarnsAndKeepsTheTyping_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("theory");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("parameter");  // name - description
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty name") << "" << true << "" << "" << "" << "" << "Formula's name must not be empty.";
    QTest::newRow("theory with parameters") << "Kirchhoff" << true << "2" << "" << "" << ""
                                            << "Number of parameters (of theory) must be zero (you can leave it blank).";
    QTest::newRow("too many folders") << "A/B/C/D/Law" << true << "" << "" << "" << ""
                                      << "Formula's name may have at most 3 folders (Folder/Folder/Folder/Name).";
    QTest::newRow("parameter without name") << "Law" << false << "1" << "" << "a" << "2" << "Parameter 1:\nName must not be empty.";
    QTest::newRow("parameter without alias") << "Law" << false << "1" << "x" << "" << "2" << "Parameter 1:\nAlias must not be empty.";
    QTest::newRow("expression missing") << "Law" << false << "1" << "x" << "a" << "" << "Parameter 1:\nCalculate formula must not be empty.";
    QTest::newRow("incalculable") << "Law" << false << "1" << "x" << "a" << "2/(3-3)" << "Parameter 1:\nCalculate formula is incalculable.";
    QTest::newRow("own alias") << "Law" << false << "1" << "x" << "a" << "a*2" << "Parameter 1:\nInvalid formula to calculate.";
    QTest::newRow("unknown alias") << "Law" << false << "1" << "x" << "a" << "2*q" << "Parameter 1:\nInvalid formula to calculate.";
}

void TestWizardScreen::doneWarnsAndKeepsTheTyping()
{
    QFETCH(QString, name);
    QFETCH(bool, theory);
    QFETCH(QString, count);
    QFETCH(QString, parameter);
    QFETCH(QString, alias);
    QFETCH(QString, expression);
    QFETCH(QString, message);

    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    if (!name.isEmpty())
        typeInto(wizard->form1()->nameField()->editor(), name);
    if (theory)
        QTest::mouseClick(wizard->form1()->typeControl(), Qt::LeftButton, {},
                          wizard->form1()->typeControl()->segmentRect(1).center());
    setParameterCount(wizard, count);
    if (!theory) {
        Form4* page = wizard->form4(0);
        QVERIFY(page);
        goToPage(wizard, 3);
        if (!parameter.isEmpty())
            typeInto(page->nameField(), parameter);
        if (!alias.isEmpty())
            typeInto(page->aliasField(), alias);
        if (!expression.isEmpty())
            typeInto(page->formulaView(), expression);
    }
    pressDone(app);
    if (QTest::currentDataTag() == QByteArray("incalculable"))
        screenshot(app.delegate->window, "wizard_done_warning");
    expectAlert(message);

    // Nothing was written, the wizard is still there with every field as typed.
    QCOMPARE(wizardOnTop(app, 3), wizard);
    QVERIFY(!QFile::exists(home.path() + "/User Define_RawData.txt"));
    QCOMPARE(wizard->form1()->nameField()->text(), name);
    QCOMPARE(wizard->form3()->countField()->text(), count);
    if (!theory) {
        QCOMPARE(wizard->form4(0)->nameField()->text(), parameter);
        QCOMPARE(wizard->form4(0)->formulaView()->text(), expression);
    }
}

void TestWizardScreen::stepThreeBuildsTheParameterPages()
{
    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);

    setParameterCount(wizard, "2");
    QCOMPARE(wizard->pageCount(), 5);
    fillParameter(wizard, 1, "v - speed", "m/s", "v", "");
    QCOMPARE(wizard->form4(1)->parameterNumber(), 1);

    // More pages keep what the earlier ones hold; fewer drop the last ones.
    setParameterCount(wizard, "4");
    QCOMPARE(wizard->pageCount(), 7);
    QCOMPARE(wizard->form4(1)->nameField()->text(), QString("v - speed"));
    QVERIFY(!wizard->form4(1)->formulaView()->isVisible());
    QVERIFY(wizard->form4(3));
    setParameterCount(wizard, "1");
    QCOMPARE(wizard->pageCount(), 4);
    QVERIFY(!wizard->form4(1));

    // Above ten is refused and changes nothing.
    setParameterCount(wizard, "11");
    expectAlert("Out of range of parameters.\nAccept numbers 0..10 only.");
    QCOMPARE(wizard->pageCount(), 4);

    // Turning the page ends the editing of the number, which commits it.
    goToPage(wizard, 2);
    QLineEdit* field = wizard->form3()->countField();
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, "2");
    QCOMPARE(wizard->pageCount(), 4);
    goToPage(wizard, 3);
    QCOMPARE(wizard->pageCount(), 5);
    QVERIFY(wizard->form4(1));

    // A theory formula needs no parameter pages: Done is on Step 3.
    QTest::mouseClick(wizard->form1()->typeControl(), Qt::LeftButton, {},
                      wizard->form1()->typeControl()->segmentRect(1).center());
    setParameterCount(wizard, "");
    QCOMPARE(wizard->pageCount(), 3);
    QVERIFY(wizard->doneButtonItem()->isEnabled());
}

void TestWizardScreen::switchingToTheoryKeepsFilledPages()
{
    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    typeInto(wizard->form1()->nameField()->editor(), "Kirchhoff");
    setParameterCount(wizard, "2");
    fillParameter(wizard, 0, "I - current", "A", "i", "");

    // Theory chosen afterwards: Done is offered on the last page, warns, and drops nothing.
    goToPage(wizard, 0);
    QTest::mouseClick(wizard->form1()->typeControl(), Qt::LeftButton, {},
                      wizard->form1()->typeControl()->segmentRect(1).center());
    goToPage(wizard, 4);
    pressDone(app);
    expectAlert("Number of parameters (of theory) must be zero (you can leave it blank).");
    QCOMPARE(wizard->pageCount(), 5);
    QCOMPARE(wizard->form4(0)->nameField()->text(), QString("I - current"));
}

void TestWizardScreen::fieldsTakeWhatTheyAccept()
{
    QTemporaryDir home;
    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);

    // Tab goes on to the type switch, and out of the last control of a step
    // to the next step's page.
    QWidget* description = wizard->form1()->descriptionField()->editor();
    typeInto(description, "x");
    QTest::keyClick(description, Qt::Key_Tab);
    QVERIFY(wizard->form1()->typeControl()->hasFocus());
    QTest::keyClick(wizard->form1()->typeControl(), Qt::Key_Tab);
    QVERIFY(wizard->form2()->texField()->editor()->hasFocus());
    QTRY_COMPARE(wizard->currentPage(), 1);

    setParameterCount(wizard, "1");
    goToPage(wizard, 3);
    Form4* page = wizard->form4(0);

    const struct {
        const char* typed;
        const char* kept;
    } aliases[] = {{"ab", "a"}, {"1", ""}, {"Z9", "Z"}};
    for (const auto& a : aliases) {
        page->aliasField()->clear();
        typeInto(page->aliasField(), a.typed);
        QCOMPARE(page->aliasField()->text(), QString(a.kept));
    }

    // Double quotes cannot be stored in the formula text: they are not taken.
    typeInto(page->nameField(), "F \"force\"");
    QCOMPARE(page->nameField()->text(), QString("F force"));
    typeInto(page->formulaView(), "m*\"a\"");
    QCOMPARE(page->formulaView()->text(), QString("m*a"));

    // Return walks name -> unit -> alias -> expression, and closes the keyboard at the end.
    QTest::mouseClick(page->nameField(), Qt::LeftButton);
    pressReturn(page->nameField());
    QVERIFY(page->unitField()->hasFocus());
    pressReturn(page->unitField());
    QVERIFY(page->aliasField()->hasFocus());
    pressReturn(page->aliasField());
    QVERIFY(page->formulaView()->hasFocus());
    pressReturn(page->formulaView());  // the first Return after entering is ignored
    QVERIFY(page->formulaView()->hasFocus());
    pressReturn(page->formulaView());
    QVERIFY(!page->formulaView()->hasFocus());
    QCOMPARE(page->formulaView()->text(), QString("m*a"));

    // Step 3 takes digits only.
    goToPage(wizard, 2);
    QLineEdit* count = wizard->form3()->countField();
    QTest::mouseClick(count, Qt::LeftButton);
    count->selectAll();
    QTest::keyClicks(count, "1x-2");
    QCOMPARE(count->text(), QString("12"));
}

void TestWizardScreen::pictureStepAddsAndDeletesPictures()
{
    QTemporaryDir home, pictures;
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString source = pictures.path() + "/sketch.png";
    QVERIFY(picture.save(source));

    App app(home.path());
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    goToPage(wizard, 1);
    Form2* step2 = wizard->form2();
    UITableView* list = step2->imageTable();
    QCOMPARE(rowText(list, 0), QString());  // plain label row
    QCOMPARE(list->cellForRow(0)->textLabel()->text(), QString("Tap here to add a new image"));
    QCOMPARE(list->height(), 41);

    for (int id : {0, 1}) {
        clickRow(list, 0);
        QTRY_VERIFY(app.delegate->imagePicker() && app.delegate->imagePicker()->isVisible());
        QVERIFY(app.delegate->m_bOpenInCreateMode);
        QFileDialog* picker = app.delegate->imagePicker();
        picker->selectFile(source);
        emit picker->fileSelected(source);
        // The offscreen platform does not hand the activation back by itself.
        app.delegate->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.delegate->window));
        QCOMPARE(step2->images().size(), id + 1);
        QCOMPARE(wizard->currentPage(), 1);  // the wizard stays on the picture step
        QCOMPARE(step2->images().last(), QString("UserDefineImage_%1.png").arg(id));
    }
    QCOMPARE(list->height(), 3 * 40 + 1);
    QCOMPARE(list->cellForRow(2)->textLabel()->text(), QString("UserDefineImage_1.png"));
    screenshot(app.delegate->window, "wizard_step2_pictures");

    // An edit wizard elsewhere is not told about pictures picked for this one.
    UINotificationCenter::defaultCenter().postNotification("closeImagePickerEdit");
    QCOMPARE(step2->images().size(), 2);

    // Delete asks first; NO keeps the picture, YES removes that one.
    auto* deleteButton = list->cellForRow(1)->findChild<UIDeleteButton*>();
    QVERIFY(deleteButton);
    QTest::mouseClick(deleteButton, Qt::LeftButton);
    QTRY_VERIFY(topAlert());
    QCOMPARE(topAlert()->message(), QString("Do you really want to delete all items?"));
    QCOMPARE(topAlert()->buttonTitles(), QStringList({"YES", "NO"}));
    clickOverlayButton(topAlert(), "NO");
    QCOMPARE(step2->images().size(), 2);
    QTest::mouseClick(list->cellForRow(1)->findChild<UIDeleteButton*>(), Qt::LeftButton);
    QTRY_VERIFY(topAlert());
    clickOverlayButton(topAlert(), "YES");
    QCOMPARE(step2->images(), QStringList({"UserDefineImage_1.png"}));
    QCOMPARE(list->height(), 2 * 40 + 1);

    // The picture goes into the formula; its page shows it.
    QTest::mouseClick(wizard->form1()->typeControl(), Qt::LeftButton, {},
                      wizard->form1()->typeControl()->segmentRect(1).center());
    typeInto(wizard->form1()->nameField()->editor(), "Sketch");
    goToPage(wizard, 2);
    pressDone(app);
    QTRY_COMPARE(tabNavigation(app, 3)->viewControllers().size(), 1);
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
    QVERIFY(getFormulaRecords(".1", pos, des, det));
    QCOMPARE(des.m_vecImages, std::vector<std::string>({"UserDefineImage_1.png"}));
}

void TestWizardScreen::helpButtonShowsTheStepOnScreen()
{
    QTemporaryDir home;
    App app(home.path());
    g_contextHelpId = 3;  // left behind by an earlier wizard
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    goToPage(wizard, 1);
    QCOMPARE(g_contextHelpId, 1);
    QTest::mouseClick(wizard->helpButton(), Qt::LeftButton);
    UINavigationController* nav = tabNavigation(app, 3);
    QTRY_COMPARE(nav->viewControllers().size(), 3);
    QTRY_VERIFY(!nav->isAnimating());
    ContextHelpViewController* help = wizard->contextHelpViewController();
    QCOMPARE(nav->topViewController(), help);
    QCOMPARE(help->helpView()->pageName(), QString("Help/Step2_Help.htm"));
    QCOMPARE(help->helpView()->webView()->documentTitle(), QString("Step 2: the formula in TeX and its pictures"));
    QVERIFY(barButton(app.delegate->window, " Back "));
    screenshot(app.delegate->window, "wizard_context_help");

    clickBarButton(app.delegate->window, " Back ");
    QTRY_COMPARE(nav->viewControllers().size(), 2);
    QTRY_VERIFY(!nav->isAnimating());
    QCOMPARE(nav->navigationBar()->titleText(), QString("New Formula"));
    goToPage(wizard, 0);
    QTest::mouseClick(wizard->helpButton(), Qt::LeftButton);
    QTRY_COMPARE(nav->viewControllers().size(), 3);
    QCOMPARE(help->helpView()->pageName(), QString("Help/Step1_Help.htm"));
}

void TestWizardScreen::editInPlaceKeepsTheId()
{
    QTemporaryDir home, scratch;
    writeUserBook(home.path(), scratch.path());
    App app(home.path());
    EditFormulaViewController* wizard = startEditing(app, {"Mechanics"}, "Torque");
    QVERIFY(wizard);
    QCOMPARE(wizard->navigationItem()->title(), QString("Edit Formula"));

    // The pages show the formula, its folder in front of its name.
    QCOMPARE(wizard->form1()->nameField()->text(), QString("Mechanics/Torque"));
    QCOMPARE(wizard->form1()->descriptionField()->text(), QString("Turning effect of a force"));
    QCOMPARE(wizard->form2()->texField()->text(), QString("\\tau = r F"));
    QCOMPARE(wizard->form3()->countField()->text(), QString("3"));
    QCOMPARE(wizard->pageCount(), 6);
    QCOMPARE(wizard->form4(0)->nameField()->text(), QString("\\tau - Torque"));
    QCOMPARE(wizard->form4(2)->aliasField()->text(), QString("f"));
    QCOMPARE(wizard->form4(2)->formulaView()->text(), QString("t/r"));
    screenshot(app.delegate->window, "wizard_edit_step1");

    // The formula is renamed; its folder stays.
    QLineEdit* name = wizard->form1()->nameField()->lineEdit();
    QTest::mouseClick(name, Qt::LeftButton);
    name->selectAll();
    QTest::keyClicks(name, "mechanics/Moment of force");
    goToPage(wizard, 5);
    pressDone(app);
    UINavigationController* nav = tabNavigation(app, 0);
    QTRY_COMPARE(nav->viewControllers().size(), 1);
    QVERIFY(!topAlert());
    UITableView* table = app.delegate->formulaViewController()->tableView();
    QCOMPARE(rowTexts(table), QStringList({"Moment of force"}));

    _fornode node = makeEmptyNode();
    FORMULA_NODE_INFO info = makeEmptyNodeInfo();
    setNode(info.m_NodeInfo, ".1.1", "", 1);
    std::snprintf(info.m_szBook, sizeof info.m_szBook, "%s", USER_DEFINE_BOOK);
    QVERIFY(getTreeNode(info, node));
    QCOMPARE(QString(node.m_szNodeName), QString("Moment of force"));
}

void TestWizardScreen::editIntoOtherFoldersMovesTheFormula()
{
    QTemporaryDir home, scratch;
    writeUserBook(home.path(), scratch.path());
    App app(home.path());
    {
        // Favourite before the move.
        _fornode node = makeEmptyNode();
        setNode(node, ".1.1", "Torque", 1);
        addToFavoriteList(makeNodeInfo(node, USER_DEFINE_BOOK));
    }
    EditFormulaViewController* wizard = startEditing(app, {"Mechanics"}, "Torque");
    QVERIFY(wizard);
    QLineEdit* name = wizard->form1()->nameField()->lineEdit();
    QTest::mouseClick(name, Qt::LeftButton);
    name->selectAll();
    QTest::keyClicks(name, "Optics/Forces/Torque");
    goToPage(wizard, 5);
    pressDone(app);
    QTRY_COMPARE(tabNavigation(app, 0)->viewControllers().size(), 1);
    QVERIFY(!topAlert());

    // The Mechanics folder is empty now; the formula waits under Optics/Forces.
    UITableView* table = app.delegate->formulaViewController()->tableView();
    QCOMPARE(rowTexts(table), QStringList());
    QVERIFY(openInBrowser(app, "User-defined Formulas", {"Optics", "Forces"}));
    QCOMPARE(rowTexts(table), QStringList({"Torque"}));
    QCOMPARE(QString(g_arrFavorite.at(0).m_NodeInfo.m_szNodeId), QString(".2.2.1"));
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
    QVERIFY(!getFormulaRecords(".1.1", pos, des, det));
    QVERIFY(getFormulaRecords(".2.2.1", pos, des, det));
    QCOMPARE(det.m_vecCalcFormulas, std::vector<std::string>({"r*f", "t/f", "t/r"}));
}

// Back with nothing changed leaves at once; with changes it asks, and only
// "Discard" leaves. The edit wizard starts from the formula's own pages.
void TestWizardScreen::leavingWithChangesAsksFirst()
{
    QTemporaryDir home, scratch;
    writeUserBook(home.path(), scratch.path());
    App app(home.path());
    UINavigationController* nav = tabNavigation(app, 3);
    QVERIFY(startNewFormula(app));
    clickBarButton(app.delegate->window, " Back ");
    QTRY_COMPARE(nav->viewControllers().size(), 1);
    QVERIFY(!topAlert());

    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    typeInto(wizard->form1()->nameField()->editor(), "Half-written");
    clickBarButton(app.delegate->window, " Back ");
    QTRY_VERIFY(topAlert());
    QCOMPARE(topAlert()->title(), QString("Discard changes?"));
    QCOMPARE(topAlert()->buttonTitles(), QStringList({"Keep Editing", "Discard"}));
    screenshot(app.delegate->window, "wizard_discard_changes");
    clickOverlayButton(topAlert(), "Keep Editing");
    QTRY_VERIFY(!topAlert());
    QCOMPARE(nav->topViewController(), wizard);
    QCOMPARE(wizard->form1()->nameField()->text(), QString("Half-written"));
    clickBarButton(app.delegate->window, " Back ");
    QTRY_VERIFY(topAlert());
    clickOverlayButton(topAlert(), "Discard");
    QTRY_COMPARE(nav->viewControllers().size(), 1);

    UINavigationController* browser = tabNavigation(app, 0);
    EditFormulaViewController* editor = startEditing(app, {"Mechanics"}, "Torque");
    QVERIFY(editor);
    QVERIFY(!editor->hasUnsavedChanges());
    goToPage(editor, 4);
    typeInto(editor->form4(1)->formulaView(), "+0");
    QVERIFY(editor->hasUnsavedChanges());
    QTest::mouseClick(browser->navigationBar()->backButton(), Qt::LeftButton);
    QTRY_VERIFY(topAlert());
    clickOverlayButton(topAlert(), "Discard");
    QTRY_COMPARE(browser->viewControllers().size(), 1);
}

// The formula open on the Calculate tab is edited: the parameters it keeps
// (by alias) keep their typed values and the tick; a parameter whose alias
// changed starts empty.
void TestWizardScreen::editKeepsTheValuesOfParametersThatStay()
{
    QTemporaryDir home, scratch;
    writeUserBook(home.path(), scratch.path());
    App app(home.path());
    CalculateViewController* screen = calculateWithTwoAndThree(app, {"Mechanics", "Torque"});
    QVERIFY(screen);
    QCOMPARE(screen->ledView(0)->text(), QString("6"));

    EditFormulaViewController* wizard = startEditing(app, {"Mechanics"}, "Torque");
    QVERIFY(wizard);
    // The force's alias f becomes g, in every expression that uses it.
    goToPage(wizard, 3);
    wizard->form4(0)->formulaView()->setText(QStringLiteral("r*g"));
    goToPage(wizard, 4);
    wizard->form4(1)->formulaView()->setText(QStringLiteral("t/g"));
    goToPage(wizard, 5);
    QLineEdit* alias = wizard->form4(2)->aliasField();
    alias->clear();
    typeInto(alias, "g");
    pressDone(app);
    QTRY_COMPARE(tabNavigation(app, 0)->viewControllers().size(), 1);
    QVERIFY(!topAlert());

    clickTab(app.delegate.get(), 2);
    QCOMPARE(screen->ledView(0)->text(), QString("6"));
    QCOMPARE(screen->ledView(1)->text(), QString("2"));
    QCOMPARE(screen->ledView(2)->text(), QString());
    QCOMPARE(screen->tickedRow(), 0);
}

// Done on a full disk: the alert says so, the wizard stays with what was
// typed, the user book is as it was, and Done works once there is room.
void TestWizardScreen::fullDiskSaysWhyAndKeepsTheWizard()
{
    QTemporaryDir home, scratch;
    writeUserBook(home.path(), scratch.path());
    App app(home.path());
    const QByteArray before = readFile(home.path() + "/User Define_fordes.dat");
    NewFormulaViewController* wizard = startNewFormula(app);
    QVERIFY(wizard);
    typeInto(wizard->form1()->nameField()->editor(), "Kirchhoff");
    QTest::mouseClick(wizard->form1()->typeControl(), Qt::LeftButton, {},
                      wizard->form1()->typeControl()->segmentRect(1).center());
    setParameterCount(wizard, "");
    {
        FileSizeLimit limit(10);
        pressDone(app);
    }
    QTRY_VERIFY(topAlert());
    screenshot(app.delegate->window, "wizard_disk_full");
    expectAlert("Failed to save the formula!\nThe disk is full.");
    QCOMPARE(wizardOnTop(app, 3), wizard);
    QCOMPARE(wizard->form1()->nameField()->text(), QString("Kirchhoff"));
    QCOMPARE(readFile(home.path() + "/User Define_fordes.dat"), before);

    pressDone(app);
    QTRY_COMPARE(tabNavigation(app, 3)->viewControllers().size(), 1);
    QVERIFY(readFile(home.path() + "/User Define_fordes.dat").contains("Kirchhoff"));
}

QTEST_MAIN(TestWizardScreen)
#include "test_wizard_screen.moc"
