#pragma once
// Shared by the window tests: start Calcudex in a fresh documents folder, find
// what a user sees (rows, alerts, sheets, bar buttons), act like a user, and
// keep screenshots under build/screenshots/.

#include "browser/FormulaBrowser.h"
#include "browser/FormulaContentView.h"
#include "shell/AppStartup.h"
#include "shell/CalcudexAppDelegate.h"
#include "shell/Global.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UITabBarController.h"
#include "ui/UITableView.h"
#include "ui/UIWindow.h"
#include "ui/UIWindowHost.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace guitest {

// Everything the process keeps between two runs of the program is reset, so
// each test (and each simulated restart) starts like a new process.
inline void resetProcessState()
{
    g_sFormulasFolder.clear();
    g_arrFavorite.clear();
    g_arrHistory.clear();
    g_favhisInfo = makeEmptyNodeInfo();
    g_bFavHisToCalcDet = false;
    g_nCurrentListType = 0;
    g_vecFormulas.clear();
    g_vecMatchedFormulaIds.clear();
    m_arrTrace.clear();
    m_arraySearchResult.clear();
    g_bSearching = false;
    g_bOpenFormula = false;
    g_nSelectedFormula = -1;
    g_sSaveFile[0] = '\0';
}

// One run of the program in a documents folder of its own.
class App {
public:
    explicit App(const QString& home) : m_home(home)
    {
        qputenv("CALCUDEX_HOME", home.toLocal8Bit());
        resetProcessState();
        initAppPaths();
        delegate = std::make_unique<CalcudexAppDelegate>();
        delegate->applicationDidFinishLaunching();
        // The desktop window that shows the screen.
        (void)QTest::qWaitForWindowExposed(delegate->windowHost());
    }
    // An orderly end: what the program saves at termination is saved.
    void terminate() { delegate->applicationWillTerminate(); }
    // The process dies: nothing more is written.
    void kill() { delegate.reset(); }

    std::unique_ptr<CalcudexAppDelegate> delegate;

private:
    QString m_home;
};

inline QString screenshotPath(const QString& name)
{
    const QString dir = QStringLiteral(CALCUDEX_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}

inline void screenshot(QWidget* window, const QString& name)
{
    QTest::qWait(30);
    QVERIFY2(window->grab().save(screenshotPath(name)), qPrintable(name));
}

// Writes a book from formula text into the documents folder (before start-up,
// the shipped copy is then not used).
inline bool writeBook(const std::string& book, const QString& text, const QString& scratch)
{
    const QString source = scratch + QStringLiteral("/book-source.txt");
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    file.close();
    initAppPaths();
    FormulasFolderSwitch useBook(book);
    return createFormulaDataFromTextFile(source.toStdString(), false);
}

inline QString folderRecord(const QString& id, const QString& name)
{
    return QStringLiteral("*\nForId=%1\nForName=%2\n").arg(id, name);
}

inline QString formulaRecord(const QString& id, const QString& name, int type = 1)
{
    return QStringLiteral("***\nForId=%1\nForType=%2\nForName=%3\nForDes=%3.\nForMime=a=b\n"
                          "Para=\"a\" \"A\" \"a\" \"1\" \"0\"\nPara=\"b\" \"B\" \"b\" \"1\" \"0\"\n"
                          "For=\"b\" \"a\"\nImage=\n")
        .arg(id)
        .arg(type)
        .arg(name);
}

// ---------------------------------------------------------------- reading the screen

inline QString rowText(UITableView* table, int row)
{
    table->scrollToRow(row);
    UITableViewCell* cell = table->cellForRow(row);
    if (!cell)
        return QString();
    if (auto* content = cell->findChild<FormulaContentView*>())
        return content->content();
    for (QLabel* label : cell->findChildren<QLabel*>())
        if (label->property("tag").toInt() == 1576)
            return label->text();
    return QString();
}

inline QStringList rowTexts(UITableView* table)
{
    QStringList texts;
    for (int r = 0; r < table->numberOfRows(); ++r)
        texts << rowText(table, r);
    return texts;
}

// The second line of a row of a search of all books (its full text).
inline QString rowPathText(UITableView* table, int row)
{
    table->scrollToRow(row);
    UITableViewCell* cell = table->cellForRow(row);
    if (!cell)
        return QString();
    auto* label = cell->findChild<QLabel*>(QStringLiteral("FormulaPathLabel"));
    return label && label->isVisible() ? label->toolTip() : QString();
}

inline void clickRow(UITableView* table, int row)
{
    table->scrollToRow(row);
    const QRect r = table->rectForRow(row);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(r.x() + 60, r.center().y()));
}

inline UIBarButton* barButton(QWidget* root, const QString& title)
{
    for (UIBarButton* b : root->findChildren<UIBarButton*>())
        if (b->isVisible() && b->text() == title)
            return b;
    return nullptr;
}

inline void clickBarButton(QWidget* root, const QString& title)
{
    UIBarButton* button = barButton(root, title);
    QVERIFY2(button, qPrintable(title));
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void clickTab(CalcudexAppDelegate* delegate, int index)
{
    UITabBar* bar = delegate->m_tabbarCtrler->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->itemRect(index).center());
}

inline UIAlertView* topAlert()
{
    const QList<UIAlertView*> alerts = UIAlertView::visibleAlerts();
    return alerts.isEmpty() ? nullptr : alerts.last();
}

inline UIActionSheet* topSheet()
{
    const QList<UIActionSheet*> sheets = UIActionSheet::visibleSheets();
    return sheets.isEmpty() ? nullptr : sheets.last();
}

inline void clickOverlayButton(UIModalOverlay* overlay, const QString& title)
{
    const int index = static_cast<int>(overlay->buttonTitles().indexOf(title));
    QVERIFY2(index >= 0, qPrintable(title));
    QTest::mouseClick(overlay->button(index), Qt::LeftButton);
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace guitest
