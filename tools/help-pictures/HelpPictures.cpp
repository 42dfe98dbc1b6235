// Paints the eleven pages of the paged help ("Help/Help1.png" .. "Help11.png")
// into the resource folder given as the only argument. Each page is a title,
// a picture of one of our own screens — the program is started offscreen in
// a scratch documents folder and driven the way a user would — and a few
// lines that explain it. Pages are drawn for the help's full-screen page of
// 320 x 436 points, at twice that many pixels.

#include "auxiliary/MoreViewController.h"
#include "browser/FormulaContentView.h"
#include "browser/FormulaIconView.h"
#include "browser/FormulaViewController.h"
#include "calc/CalculateViewController.h"
#include "calc/FormulaKeyboardView.h"
#include "calc/MyLedViewLite.h"
#include "calc/UIImageControl.h"
#include "editor/CustomControl.h"
#include "editor/DetailView.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "editor/NewFormulaViewController.h"
#include "shell/CalcudexAppDelegate.h"
#include "shell/Global.h"
#include "ui/UIAlertView.h"
#include "ui/UINavigationController.h"
#include "ui/UIPageControl.h"
#include "ui/UIView.h"
#include "ui/UIWindowHost.h"
#include "ui/UISearchBar.h"
#include "ui/UITabBarController.h"
#include "ui/UITableView.h"
#include "ui/UIWindow.h"

#include <QApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kPageWidth = 320;
constexpr int kPageHeight = 436;
constexpr int kScale = 2;
constexpr qreal kShotScale = 0.55;
const QColor kTitleColour(10, 94, 115);

CalcudexAppDelegate* g_pApp = nullptr;

// ---------------------------------------------------------------- acting like a user

void settle(int ms = 380)
{
    QTest::qWait(ms);
}

UINavigationController* tabNavigation(int tab)
{
    return qobject_cast<UINavigationController*>(g_pApp->m_tabbarCtrler->viewControllers().value(tab));
}

void selectTab(int tab)
{
    UITabBar* bar = g_pApp->m_tabbarCtrler->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->itemRect(tab).center());
    settle(100);
}

FormulaViewController* browser()
{
    return g_pApp->formulaViewController();
}

bool clickRow(UITableView* table, int row)
{
    if (row < 0 || row >= table->numberOfRows())
        return false;
    table->scrollToRow(row);
    const QRect r = table->rectForRow(row);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(r.x() + 60, r.center().y()));
    settle();
    return true;
}

// The browser's rows carry their names in FormulaContentView; a book row's
// position is its place in the book list.
int rowOf(const QString& name)
{
    UITableView* table = browser()->tableView();
    for (int r = 0; r < table->numberOfRows(); ++r) {
        table->scrollToRow(r);
        UITableViewCell* cell = table->cellForRow(r);
        if (!cell)
            continue;
        if (auto* content = cell->findChild<FormulaContentView*>(); content && content->content() == name)
            return r;
    }
    return -1;
}

void backToBooks()
{
    for (int guard = 0; guard < 10 && browser()->backButtonItem()->isEnabled(); ++guard)
        browser()->backButtonItem()->trigger();
}

bool openPath(const QStringList& names)
{
    selectTab(0);
    backToBooks();
    for (const QString& name : names) {
        const int row = rowOf(name);
        if (!clickRow(browser()->tableView(), row))
            return false;
    }
    return true;
}

CalculateViewController* calculate()
{
    return qobject_cast<CalculateViewController*>(g_pApp->m_calculateViewCtrler);
}

void typeDigits(int row, const QString& digits)
{
    CalculateViewController* screen = calculate();
    screen->tableView()->scrollToRow(row);
    MyLedViewLite* led = screen->ledView(row);
    QTest::mouseClick(led, Qt::LeftButton, {}, QPoint(led->width() / 2, led->height() / 2));
    for (int i = 0; i < 3 && screen->keyboard()->mode() != 0; ++i)
        QTest::mouseClick(screen->keyboard()->button(2), Qt::LeftButton);
    const QString order = QStringLiteral("7894561230.");
    const int buttons[] = {12, 13, 14, 9, 10, 11, 6, 7, 8, 15, 16};
    for (QChar c : digits) {
        const int d = static_cast<int>(order.indexOf(c));
        if (d >= 0)
            QTest::mouseClick(screen->keyboard()->button(buttons[d]), Qt::LeftButton);
    }
}

NewFormulaViewController* wizard()
{
    UINavigationController* nav = tabNavigation(3);
    return nav ? qobject_cast<NewFormulaViewController*>(nav->topViewController()) : nullptr;
}

void goToPage(int page)
{
    if (NewFormulaViewController* w = wizard()) {
        w->scrollToPage(page, false);
        settle(60);
    }
}

void typeInto(QWidget* field, const QString& text)
{
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(field, text);
}

// ---------------------------------------------------------------- the pages

struct HelpPage {
    const char* title;
    const char* caption;
    std::function<void()> act;  // brings the screen to show
};

std::vector<HelpPage> helpPages()
{
    return {
        {"Welcome to Calcudex",
         "Seven books of formulas: six technical books and your own User-defined Formulas. Tap a book to open "
         "it, a folder to go in, and a formula to calculate with it.",
         [] {
             selectTab(0);
             backToBooks();
         }},
        {"Browsing a book",
         "Back goes one level up. The icon at the right of a formula opens Edit and Remove. The folder you were "
         "in is opened again at the next start.",
         [] { openPath({"Electric Engineering", "DC Circuits"}); }},
        {"Searching",
         "Type a part of a name in the search bar. On the book list every book is searched, inside a book that "
         "book only; each hit shows its book and folders.",
         [] {
             selectTab(0);
             backToBooks();
             QLineEdit* field = browser()->searchBar()->textField();
             typeInto(field, "ohm");
             browser()->onSearch(QStringLiteral("ohm"));
             field->clearFocus();
             settle(100);
         }},
        {"Calculating",
         "Type the values you know, tick the one to find and press Calculate. Results show 13 significant "
         "digits; the engine itself works with about 101.",
         [] {
             selectTab(0);
             backToBooks();
             browser()->onSearch(QString());
             browser()->searchBar()->textField()->clear();
             openPath({"Electric Engineering", "DC Circuits", "Ohm's law"});
             settle();
             typeDigits(1, "0.25");
             typeDigits(2, "48");
             CalculateViewController* screen = calculate();
             QTest::mouseClick(screen->checkbox(0), Qt::LeftButton, {}, QPoint(5, 5));
             QTest::mouseClick(screen->keyboard()->button(0), Qt::LeftButton);
             settle(100);
         }},
        {"The keypad",
         "Three keyboards: digits, functions (f(x)) and trigonometry (trig). Hold a key for the function written "
         "above it; hold DEL to clear the line and AC to clear every line.",
         [] {
             CalculateViewController* screen = calculate();
             typeDigits(2, "");
             QTest::mouseClick(screen->keyboard()->button(2), Qt::LeftButton);
             settle(100);
         }},
        {"Formula details",
         "The page button at the top left shows the formula, its parameters and its description. Swipe to see "
         "its pictures; the button beside the title brings the rows back.",
         [] {
             calculate()->showDetail();
             settle();
         }},
        {"Favorites and History",
         "The star on the Calculate tab makes a formula a favourite. Every formula you open goes into History. "
         "Edit sorts the lists and deletes from them.",
         [] {
             CalculateViewController* screen = calculate();
             screen->addFavorite();
             selectTab(1);
             settle();
         }},
        {"New formula: Steps 1 and 2",
         "More, then Create a new formula. Step 1: the name (folders before it with \"/\"), a description and "
         "the type. Step 2: the formula in TeX with a preview, and pictures.",
         [] {
             selectTab(3);
             auto* more = qobject_cast<MoreViewController*>(tabNavigation(3)->viewControllers().value(0));
             if (more)
                 clickRow(more->tableView(), 0);
             settle();
             if (NewFormulaViewController* w = wizard()) {
                 typeInto(w->form1()->nameField()->editor(), "Mechanics/Newton's second law");
                 typeInto(w->form1()->descriptionField()->editor(), "The force on a body is its mass times its acceleration.");
                 w->form1()->descriptionField()->editor()->clearFocus();
             }
         }},
        {"New formula: Steps 3 and 4",
         "Step 3: how many parameters. Step 4, a page each: symbol - description, unit, a one-letter alias, and "
         "how to calculate it from the other aliases. Done checks every page and saves.",
         [] {
             NewFormulaViewController* w = wizard();
             if (!w)
                 return;
             goToPage(2);
             w->form3()->countField()->setText(QStringLiteral("3"));
             w->form3()->commitCount();
             goToPage(3);
             Form4* page = w->form4(0);
             if (!page)
                 return;
             typeInto(page->nameField(), "F - force");
             typeInto(page->unitField(), "N");
             typeInto(page->aliasField(), "f");
             typeInto(page->formulaView(), "m*a");
             page->formulaView()->clearFocus();
         }},
        {"Help while you write",
         "The ? button of the wizard explains the step on screen. TeX Tuto at the top shows how to write "
         "fractions, roots, indices, Greek letters and units in TeX.",
         [] {
             if (NewFormulaViewController* w = wizard())
                 w->helpDisplay();
             settle(900);
         }},
        {"Editing and removing",
         "Tap the icon of a formula for Edit or Remove. Edit opens the same four steps with the formula filled "
         "in; changing the folders in Step 1 moves one of your formulas.",
         [] {
             UINavigationController* nav = tabNavigation(3);
             if (nav)
                 nav->popToRootViewControllerAnimated(false);
             settle(100);
             // A search with few hits leaves the sheet a quiet background.
             selectTab(0);
             backToBooks();
             QLineEdit* field = browser()->searchBar()->textField();
             field->setText(QStringLiteral("ohm"));
             browser()->onSearch(QStringLiteral("ohm"));
             settle(100);
             UITableView* table = browser()->tableView();
             const int row = rowOf(QStringLiteral("Ohm's law"));
             if (row < 0)
                 return;
             table->scrollToRow(row);
             UITableViewCell* cell = table->cellForRow(row);
             if (auto* icon = cell ? cell->findChild<FormulaIconView*>() : nullptr)
                 QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
             settle(1200);  // the sheet comes after the row's deselection, then fades in
         }},
    };
}

// ---------------------------------------------------------------- drawing

QFont font(qreal pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qRound(pixelSize));
    f.setBold(bold);
    return f;
}

QImage composePage(int index, const HelpPage& page, const QPixmap& shot)
{
    QImage image(kPageWidth * kScale, kPageHeight * kScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(kScale, kScale);

    // Title and page number.
    // A long title gets a smaller font rather than running into the page number.
    const QString title = QString::fromUtf8(page.title);
    const QRectF titleRect(14, 10, kPageWidth - 66, 28);
    qreal titleSize = 17;
    while (titleSize > 11 && QFontMetricsF(font(titleSize, true)).horizontalAdvance(title) > titleRect.width())
        titleSize -= 0.5;
    p.setPen(kTitleColour);
    p.setFont(font(titleSize, true));
    p.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QColor(142, 142, 147));
    p.setFont(font(11, false));
    p.drawText(QRectF(kPageWidth - 60, 10, 46, 28), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1 / 11").arg(index + 1));

    // The screen, framed like a phone, with a soft shadow.
    const QSizeF size(kPageWidth * kShotScale, 480 * kShotScale);
    const QRectF frame((kPageWidth - size.width()) / 2, 46, size.width(), size.height());
    for (int i = 4; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 10));
        p.drawRoundedRect(frame.adjusted(-i, -i + 2, i, i + 2), 8 + i, 8 + i);
    }
    QPainterPath clip;
    clip.addRoundedRect(frame, 8, 8);
    p.save();
    p.setClipPath(clip);
    p.drawPixmap(frame, shot, QRectF(shot.rect()));
    p.restore();
    p.setPen(QPen(QColor(60, 60, 66), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 8, 8);

    // What it shows, above the page control's strip.
    p.setPen(QColor(40, 40, 44));
    p.setFont(font(12, false));
    p.drawText(QRectF(16, frame.bottom() + 10, kPageWidth - 32, kPageHeight - 44 - frame.bottom() - 10),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QString::fromUtf8(page.caption));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: calcudex-help-pictures RESOURCE_FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString resources = QString::fromLocal8Bit(argv[1]);
    const QString folder = resources + QStringLiteral("/Help");
    QTemporaryDir home;
    if (!home.isValid() || !QDir().mkpath(folder)) {
        std::fprintf(stderr, "calcudex-help-pictures: cannot prepare %s\n", qPrintable(folder));
        return 1;
    }
    qputenv("CALCUDEX_HOME", home.path().toLocal8Bit());
    qputenv("CALCUDEX_RESOURCES", resources.toLocal8Bit());

    auto delegate = std::make_unique<CalcudexAppDelegate>();
    g_pApp = delegate.get();
    delegate->applicationDidFinishLaunching();
    (void)QTest::qWaitForWindowExposed(delegate->windowHost());
    settle(600);

    int failures = 0;
    const std::vector<HelpPage> pages = helpPages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        // A step that finds its screen different still yields its page.
        pages[i].act();
        // The pictures teach tapping: no keyboard frame in them.
        UIResignFocus(delegate->window->focusWidget());
        settle(120);
        const QPixmap shot = delegate->window->grab();
        const QString path = folder + QStringLiteral("/Help%1.png").arg(i + 1);
        if (!composePage(static_cast<int>(i), pages[i], shot).save(path, "PNG")) {
            std::fprintf(stderr, "calcudex-help-pictures: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    // Nothing of the scratch run is kept.
    for (UIAlertView* alert : UIAlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(0);
    delegate.reset();
    return failures ? 1 : 0;
}
