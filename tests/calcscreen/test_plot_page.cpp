// The plot page driven like a user: type the values, tick the unknown, switch
// to "Plot", choose x and its range with the mouse and the keys, read the
// chart's lines, the hover readout and the exports, go back to the rows.
// Three charts go to build/screenshots/.

#include "window/GuiTestSupport.h"

#include "browser/FormulaViewController.h"
#include "calc/CalculateViewController.h"
#include "calc/CalculationProcedure.h"
#include "calc/FormulaPlotView.h"
#include "calc/PlotTitles.h"
#include "calc/UIImageControl.h"
#include "ui/UISegmentedControl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWheelEvent>

using namespace guitest;

namespace {

QString record(const QString& id, const QString& name, const QStringList& params, const QString& expressions)
{
    QString text = QStringLiteral("***\nForId=%1\nForType=1\nForName=%2\nForDes=%2.\nForMime=x\n").arg(id, name);
    for (const QString& p : params)
        text += QStringLiteral("Para=%1\n").arg(p);
    return text + QStringLiteral("For=%1\nImage=\n").arg(expressions);
}

void writePlotBook(const QString& home, const QString& scratch)
{
    qputenv("CALCUDEX_HOME", home.toLocal8Bit());
    const QString book =
        folderRecord("1", "Plots")
        + record("1.1", "Projectile range",
                 {R"p("R" "Horizontal range" "r" "\text{m}" "0")p", R"p("v_0" "Launch speed" "v" "\text{m/s}" "0")p",
                  R"p("\theta" "Launch angle" "a" "^o" "0")p", R"p("g" "Gravity" "g" "\text{m/s}^2" "0")p"},
                 R"p("v^2*sin(2*a)/g" "sqrt(r*g/sin(2*a))" "asin(r*g/v^2)/2" "v^2*sin(2*a)/r")p")
        + record("1.2", "LC resonance",
                 {R"p("f" "Resonant frequency" "f" "\text{Hz}" "0")p", R"p("L" "Inductance" "l" "\text{H}" "0")p",
                  R"p("C" "Capacitance" "c" "\text{F}" "0")p"},
                 R"p("1/(2*pi*sqrt(l*c))" "1/((2*pi*f)^2*c)" "1/((2*pi*f)^2*l)")p");
    QVERIFY(writeBook("Math", book, scratch));
}

CalculateViewController* calcScreen(App& app)
{
    return qobject_cast<CalculateViewController*>(app.delegate->m_calculateViewCtrler);
}

bool openFormula(App& app, const QString& name)
{
    clickTab(app.delegate.get(), 0);
    UITableView* table = app.delegate->formulaViewController()->tableView();
    for (const QString& row : {QStringLiteral("Math"), QStringLiteral("Plots"), name}) {
        int index = -1;
        if (!QTest::qWaitFor([&] { return (index = static_cast<int>(rowTexts(table).indexOf(row))) >= 0; }, 2000))
            return false;
        clickRow(table, index);
    }
    return QTest::qWaitFor([&] { return app.delegate->m_tabbarCtrler->selectedIndex() == 2; }, 2000);
}

// Digits and the point on the keypad's digit keyboard, into a row.
void typeNumber(CalculateViewController* screen, int row, const QString& number)
{
    screen->tableView()->scrollToRow(row);
    MyLedViewLite* line = screen->ledView(row);
    QTest::mouseClick(line, Qt::LeftButton, {}, line->rect().center());
    for (int i = 0; i < 3 && screen->keyboard()->mode() != 0; ++i)
        QTest::mouseClick(screen->keyboard()->button(2), Qt::LeftButton);
    const QString keys = QStringLiteral("7894561230.");
    const int buttons[] = {12, 13, 14, 9, 10, 11, 6, 7, 8, 15, 16};
    for (QChar c : number)
        QTest::mouseClick(screen->keyboard()->button(buttons[keys.indexOf(c)]), Qt::LeftButton);
}

void tick(CalculateViewController* screen, int row)
{
    screen->tableView()->scrollToRow(row);
    QTest::mouseClick(screen->checkbox(row), Qt::LeftButton, {}, QPoint(5, 5));
}

void clickSegment(UISegmentedControl* control, int index)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, control->segmentRect(index).center());
}

FormulaPlotView* openPlot(CalculateViewController* screen)
{
    clickSegment(screen->pageSwitch(), 1);
    FormulaPlotView* page = screen->plotView();
    return page && page->isVisible() ? page : nullptr;
}

bool waitForChart(FormulaPlotView* page)
{
    return QTest::qWaitFor([page] { return !page->isCalculating(); }, 5000);
}

void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// Every point the chart draws, lines and lone dots.
QList<QPointF> drawnPoints(FormulaChartView* chart)
{
    QList<QPointF> points;
    for (QLineSeries* line : chart->lines())
        points += line->points();
    return points + chart->lonePoints()->points();
}

// The points a user sees drawn are exactly the points that have a value.
void checkDrawnPointsHaveValues(FormulaPlotView* page)
{
    QList<QPointF> valued;
    for (const SWEEP_POINT& point : page->points())
        if (point.bValid)
            valued << QPointF(point.dbX, point.dbY);
    QCOMPARE(drawnPoints(page->chartView()), valued);
}

// Where a value is drawn, in the chart's viewport.
QPoint viewportPoint(FormulaChartView* chart, double x, double y)
{
    const QPointF inChart = chart->chart()->mapToPosition(QPointF(x, y), chart->currentPoint());
    return chart->mapFromScene(chart->chart()->mapToScene(inChart));
}

// A mouse event at a value of the chart, delivered to its viewport as the
// window delivers it.
void mouseAt(FormulaChartView* chart, QEvent::Type type, double x, double y, Qt::MouseButton button = Qt::NoButton)
{
    const QPoint at = viewportPoint(chart, x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, chart->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(chart->viewport(), &event);
}

void hover(FormulaChartView* chart, double x, double y)
{
    mouseAt(chart, QEvent::MouseMove, x, y);
}

void turnWheel(FormulaChartView* chart, QPoint at, int nNotches)
{
    QWheelEvent wheel(at, chart->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * nNotches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->viewport(), &wheel);
}

} // namespace

class TestPlotPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void titlesFromTex_data();
    void titlesFromTex();
    void rangeOverLaunchAngle();
    void gapsAreNeverDrawnAsZero();
    void logarithmicAxesAndExport();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_scratch;
};

void TestPlotPage::initTestCase()
{
    writePlotBook(m_home.path(), m_scratch.path());
}

// Each test starts at the top of the books with empty rows: the window
// remembers its place and the typed values of the test before.
void TestPlotPage::init()
{
    for (const char* file : {"LastSession.sav", "TypedValues.sav"})
        QFile::remove(m_home.path() + "/" + file);
}

// Symbols and units of the books as the chart names them: letters in italics
// as the math alphabets set them, Greek letters, scripts, degrees.
void TestPlotPage::titlesFromTex_data()
{
    QTest::addColumn<QString>("tex");
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("subscript") << "v_0" << true << "<i>v</i><sub>0</sub>";
    QTest::newRow("small Greek italic") << "\\theta" << true << "<i>θ</i>";
    QTest::newRow("capital Greek upright") << "\\Omega" << true << "Ω";
    QTest::newRow("text unit with a power") << "\\text{m/s}^2" << true << "m/s<sup>2</sup>";
    QTest::newRow("degrees Celsius") << "^o\\text{C}" << true << "°C";
    QTest::newRow("fraction on one line") << "\\frac{\\text{J}}{\\text{kg}\\,\\text{K}}" << true << "J/(kg K)";
    QTest::newRow("accent") << "\\bar{x}" << true << "<i>x</i>\u0304";
    QTest::newRow("escaped for rich text") << "a<b" << true << "<i>a</i>&lt;<i>b</i>";
    QTest::newRow("plain subscript digit") << "v_0" << false << "v₀";
    QTest::newRow("plain negative power") << "\\text{m}^{-1}" << false << "m⁻¹";
    QTest::newRow("plain other script") << "M_{\\text{sun}}" << false << "M_sun";
}

void TestPlotPage::titlesFromTex()
{
    QFETCH(QString, tex);
    QFETCH(bool, html);
    QFETCH(QString, text);
    QCOMPARE(TexTitleText(tex.toStdString(), html), text);
}

void TestPlotPage::rangeOverLaunchAngle()
{
    App app(m_home.path());
    QVERIFY(openFormula(app, "Projectile range"));
    CalculateViewController* screen = calcScreen(app);

    // Without a tick there is nothing to plot.
    clickSegment(screen->pageSwitch(), 1);
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->message(), QString::fromUtf8(CALC_MSG_CHECK_FIELD));
    clickOverlayButton(alert, "OK");
    QCOMPARE(screen->pageSwitch()->selectedSegmentIndex(), 0);

    typeNumber(screen, 1, "20");
    typeNumber(screen, 2, "30");
    typeNumber(screen, 3, "9.80665");
    tick(screen, 0);
    FormulaPlotView* page = openPlot(screen);
    QVERIFY(page);
    QVERIFY(waitForChart(page));
    // x starts as the first row that can vary, around its typed value.
    QCOMPARE(page->xChoice()->currentText(), QString("v₀  Launch speed"));
    QCOMPARE(page->fromEdit()->text(), QString("2"));
    QCOMPARE(page->toEdit()->text(), QString("200"));
    QCOMPARE(page->points().size(), size_t(200));

    // The launch angle from 0 to 90 degrees in 91 points, chosen with the keys.
    page->xChoice()->setFocus();
    QTest::keyClick(page->xChoice(), Qt::Key_Down);
    QCOMPARE(page->xChoice()->currentText(), QString("θ  Launch angle"));
    QCOMPARE(page->toEdit()->text(), QString("300"));
    retype(page->fromEdit(), "0");
    retype(page->toEdit(), "90");
    retype(page->pointsEdit(), "91");
    QVERIFY(waitForChart(page));
    QCOMPARE(page->points().size(), size_t(91));
    QCOMPARE(page->points()[45].strY, std::string("40.78864851912"));
    checkDrawnPointsHaveValues(page);
    QCOMPARE(page->chartView()->lines().size(), 1);
    QCOMPARE(page->readout()->text(), QString("91 points"));
    // The typed values are marked: 30 degrees, 35.32 m.
    const QList<QPointF> current = page->chartView()->currentPoint()->points();
    QCOMPARE(current.size(), 1);
    QCOMPARE(current[0].x(), 30.0);
    QVERIFY(qAbs(current[0].y() - 35.32400580359) < 1e-9);
    auto* xAxis = qobject_cast<QValueAxis*>(page->chartView()->xAxis());
    QVERIFY(xAxis);
    QCOMPARE(xAxis->tickInterval(), 20.0);
    QVERIFY(xAxis->titleText().contains("Launch angle <i>θ</i> (°)"));
    QVERIFY(page->chartView()->yAxis()->titleText().contains("Horizontal range <i>R</i> (m)"));

    hover(page->chartView(), 45, 40);
    QCOMPARE(page->chartView()->hoveredIndex(), 45);
    QVERIFY2(page->readout()->text().contains("= 45°") && page->readout()->text().contains("= 40.78864851912 m"),
             qPrintable(page->readout()->text()));
    screenshot(app.delegate->window, "plot_range_over_angle");

    // The wheel zooms in around the mouse, a dragged rectangle further in,
    // a double click shows the whole sweep again.
    turnWheel(page->chartView(), viewportPoint(page->chartView(), 45, 20), 3);  // 0.8^3 of the span
    QVERIFY2(qAbs(xAxis->min() - 21.96) < 0.5 && qAbs(xAxis->max() - 68.04) < 0.5,
             qPrintable(QStringLiteral("%1 .. %2").arg(xAxis->min()).arg(xAxis->max())));
    QCOMPARE(xAxis->tickInterval(), 10.0);  // round ticks for the span in view
    mouseAt(page->chartView(), QEvent::MouseButtonPress, 40, 22, Qt::LeftButton);
    mouseAt(page->chartView(), QEvent::MouseMove, 50, 18, Qt::LeftButton);
    mouseAt(page->chartView(), QEvent::MouseButtonRelease, 50, 18, Qt::LeftButton);
    QVERIFY2(qAbs(xAxis->min() - 40) < 0.5 && qAbs(xAxis->max() - 50) < 0.5,
             qPrintable(QStringLiteral("%1 .. %2").arg(xAxis->min()).arg(xAxis->max())));
    mouseAt(page->chartView(), QEvent::MouseButtonDblClick, 45, 39, Qt::LeftButton);
    QCOMPARE(xAxis->min(), 0.0);
    QCOMPARE(xAxis->max(), 90.0);

    // Back: the rows as they were.
    clickBarButton(app.delegate->window, "Back");
    QVERIFY(!page->isVisible());
    QCOMPARE(screen->pageSwitch()->selectedSegmentIndex(), 0);
    QCOMPARE(screen->ledView(1)->text(), QString("20"));
    QCOMPARE(screen->ledView(2)->text(), QString("30"));
    QCOMPARE(screen->ledView(0)->text(), QString());
    QCOMPARE(screen->tickedRow(), 0);

    // Ctrl+P shows the page again with the same choices; Escape goes back.
    QApplication::setActiveWindow(app.delegate->window);
    QTest::keyClick(app.delegate->window, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(page->isVisible());
    QCOMPARE(page->toEdit()->text(), QString("90"));
    QTest::keyClick(app.delegate->window, Qt::Key_Escape);
    QVERIFY(!page->isVisible());
}

void TestPlotPage::gapsAreNeverDrawnAsZero()
{
    App app(m_home.path());
    QVERIFY(openFormula(app, "Projectile range"));
    CalculateViewController* screen = calcScreen(app);
    typeNumber(screen, 1, "20");
    typeNumber(screen, 3, "9.80665");
    tick(screen, 2);  // the angle over the range: none beyond 40.79 m

    FormulaPlotView* page = openPlot(screen);
    QVERIFY(page);
    QCOMPARE(page->xChoice()->currentText(), QString("R  Horizontal range"));  // the empty row
    retype(page->toEdit(), "60");
    retype(page->pointsEdit(), "61");
    QVERIFY(waitForChart(page));
    QCOMPARE(page->points().size(), size_t(61));
    QCOMPARE(int(std::count_if(page->points().begin(), page->points().end(),
                               [](const SWEEP_POINT& p) { return !p.bValid; })),
             20);
    checkDrawnPointsHaveValues(page);
    for (const QPointF& drawn : drawnPoints(page->chartView()))
        QVERIFY2(drawn.x() <= 40, qPrintable(QString::number(drawn.x())));
    QVERIFY(page->readout()->text().contains("61 points, 20 without a value"));
    hover(page->chartView(), 50, 20);
    QVERIFY2(page->readout()->text().contains("= 50 m: Invalid parameter(s)!"), qPrintable(page->readout()->text()));
    screenshot(app.delegate->window, "plot_gap");

    // Back, new values in the rows (holding the keyboard switch empties
    // them), and the chart follows: at 25 m/s the range reaches 63.7 m.
    clickBarButton(app.delegate->window, "Back");
    QTest::mousePress(screen->keyboard()->button(2), Qt::LeftButton);
    QTest::qWait(560);
    QTest::mouseRelease(screen->keyboard()->button(2), Qt::LeftButton);
    QCOMPARE(screen->ledView(1)->text(), QString());
    typeNumber(screen, 1, "25");
    typeNumber(screen, 3, "9.80665");
    page = openPlot(screen);
    QVERIFY(page);
    QCOMPARE(page->toEdit()->text(), QString("60"));  // the page keeps its choices
    QVERIFY(waitForChart(page));
    QVERIFY(page->points()[50].bValid);
    checkDrawnPointsHaveValues(page);
}

void TestPlotPage::logarithmicAxesAndExport()
{
    App app(m_home.path());
    QVERIFY(openFormula(app, "LC resonance"));
    CalculateViewController* screen = calcScreen(app);
    typeNumber(screen, 1, "0.01");
    typeNumber(screen, 2, "0.000001");
    tick(screen, 0);
    FormulaPlotView* page = openPlot(screen);
    QVERIFY(page);
    page->xChoice()->setFocus();
    QTest::keyClick(page->xChoice(), Qt::Key_Down);
    QCOMPARE(page->xChoice()->currentText(), QString("C  Capacitance"));

    // Zero has no logarithm: the axis is refused while the range starts there.
    retype(page->fromEdit(), "0");
    QTest::mouseClick(page->logXButton(), Qt::LeftButton);
    UIAlertView* alert = topAlert();
    QVERIFY(alert);
    QCOMPARE(alert->message(), QString::fromUtf8(SWEEP_MSG_LOG_RANGE));
    clickOverlayButton(alert, "OK");
    QVERIFY(!page->logXButton()->isChecked());

    retype(page->fromEdit(), "1e-12");
    retype(page->toEdit(), "1e-3");
    QTest::mouseClick(page->logXButton(), Qt::LeftButton);
    QTest::mouseClick(page->logYButton(), Qt::LeftButton);
    QVERIFY(waitForChart(page));
    QVERIFY(qobject_cast<QLogValueAxis*>(page->chartView()->xAxis()));
    QVERIFY(qobject_cast<QLogValueAxis*>(page->chartView()->yAxis()));
    QCOMPARE(page->points().front().dbX, 1e-12);
    QCOMPARE(page->points().back().dbX, 1e-3);
    checkDrawnPointsHaveValues(page);
    screenshot(app.delegate->window, "plot_log_axes");

    // Export: the sheet, then the file name the dialog would ask for.
    QTemporaryDir out;
    QStringList asked;
    page->askFileName = [&](const QString& suggested, const QString&) {
        asked << QFileInfo(suggested).fileName();
        return out.filePath(QFileInfo(suggested).fileName());
    };
    clickBarButton(app.delegate->window, "Export");
    clickOverlayButton(topSheet(), "Points as CSV");
    clickBarButton(app.delegate->window, "Export");
    clickOverlayButton(topSheet(), "Chart as PNG");
    QCOMPARE(asked, QStringList({"f-over-c.csv", "f-over-c.png"}));
    const QList<QByteArray> lines = readFile(out.filePath("f-over-c.csv")).split('\n');
    QCOMPARE(lines.size(), 202);  // header, 200 points, the empty rest after the last line end
    QCOMPARE(lines[0], QByteArray("c,f"));
    QCOMPARE(lines[1], QByteArray("1e-12,1591549.430919"));
    QCOMPARE(QImage(out.filePath("f-over-c.png")).size(), page->chartView()->size());
}

QTEST_MAIN(TestPlotPage)
#include "test_plot_page.moc"
