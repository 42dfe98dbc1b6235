#include "calc/FormulaChartView.h"

#include "calc/PlotTitles.h"
#include "ui/UIStyle.h"

#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGraphicsPathItem>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const QColor kLineColor = UIStyle::tintColor();
const QColor kCurrentColor(255, 149, 0);
const QColor kFailedColor(255, 59, 48);
constexpr int kTargetTicks = 5;
constexpr double kWheelStep = 0.8;  // a wheel notch (120 eighths of a degree) shows 80 % of the span

// A step of 1, 2 or 5 times a power of ten that cuts the span into about
// nTarget pieces.
double NiceStep(double dbSpan, int nTarget)
{
    if (!(dbSpan > 0) || !std::isfinite(dbSpan))
        return 1.0;
    const double dbRaw = dbSpan / nTarget;
    const double dbMagnitude = std::pow(10.0, std::floor(std::log10(dbRaw)));
    const double dbNorm = dbRaw / dbMagnitude;
    const double dbFactor = dbNorm < 1.5 ? 1.0 : dbNorm < 3.0 ? 2.0 : dbNorm < 7.0 ? 5.0 : 10.0;
    return dbFactor * dbMagnitude;
}

// Some room around the values so the line does not run along the frame; one
// value gets a range of its own.
void PadRange(double& dbMin, double& dbMax, bool bLog)
{
    if (bLog) {
        const double dbFactor = dbMin == dbMax ? 2.0 : std::pow(dbMax / dbMin, 0.05);
        dbMin /= dbFactor;
        dbMax *= dbFactor;
        return;
    }
    const double dbPad = dbMin == dbMax ? std::max(std::fabs(dbMin) * 0.1, 1.0) : (dbMax - dbMin) * 0.05;
    dbMin -= dbPad;
    dbMax += dbPad;
}

void FollowNiceTicks(QValueAxis* axis)
{
    axis->setTickInterval(NiceStep(axis->max() - axis->min(), kTargetTicks));
}

// A logarithmic axis is labelled at powers of ten, every decade or every
// few so that about five labels fit; minor ticks only over a few decades.
void FollowDecades(QLogValueAxis* axis)
{
    const double dbDecades = std::log10(axis->max() / axis->min());
    const double dbStep = std::max(1.0, std::ceil(dbDecades / kTargetTicks));
    if (axis->base() != std::pow(10.0, dbStep))
        axis->setBase(std::pow(10.0, dbStep));
    axis->setMinorTickCount(dbStep == 1 && dbDecades <= 3 ? 8 : 0);
}

// Ticks for the range an axis shows (also when setting the range changed nothing).
void FollowRange(QAbstractAxis* axis)
{
    if (auto* linear = qobject_cast<QValueAxis*>(axis))
        FollowNiceTicks(linear);
    else if (auto* log = qobject_cast<QLogValueAxis*>(axis))
        FollowDecades(log);
}

QString SymbolOrName(const PLOT_AXIS& axis)
{
    const QString strSymbol = TexTitleText(axis.strSymbol);
    return strSymbol.isEmpty() ? QString::fromStdString(axis.strDescription).toHtmlEscaped() : strSymbol;
}

// "45°", "20 m": the number and its unit.
QString ValueWithUnit(const std::string& strNumber, const PLOT_AXIS& axis)
{
    const QString strUnit = UnitTitleText(axis.strUnit);
    const QString strValue = QString::fromStdString(strNumber);
    if (strUnit.isEmpty())
        return strValue;
    return strUnit == QStringLiteral("°") ? strValue + strUnit : strValue + QStringLiteral(" ") + strUnit;
}

}  // namespace

FormulaChartView::FormulaChartView(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 4, 10, 2));
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::white);
    chart->layout()->setContentsMargins(0, 0, 0, 0);

    QPen crossPen(QColor(120, 120, 128), 1, Qt::DashLine);
    m_pCrossX = new QGraphicsLineItem(chart);
    m_pCrossY = new QGraphicsLineItem(chart);
    for (QGraphicsLineItem* line : {m_pCrossX, m_pCrossY}) {
        line->setPen(crossPen);
        line->setZValue(10);
        line->hide();
    }
    m_pGapMarks = new QGraphicsPathItem(chart);
    m_pGapMarks->setPen(Qt::NoPen);
    m_pGapMarks->setBrush(kFailedColor);
    m_pGapMarks->setZValue(9);
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeOverlays(); });
}

QAbstractAxis* FormulaChartView::makeAxis(const PLOT_AXIS& axis, Qt::Alignment alignment)
{
    QAbstractAxis* made;
    if (axis.bLog) {
        auto* log = new QLogValueAxis;
        log->setLabelFormat(QStringLiteral("%g"));
        connect(log, &QLogValueAxis::rangeChanged, this, [this, log] {
            FollowRange(log);
            placeOverlays();
        });
        made = log;
    } else {
        auto* linear = new QValueAxis;
        linear->setLabelFormat(QStringLiteral("%g"));
        linear->setTickType(QValueAxis::TicksDynamic);
        linear->setTickAnchor(0.0);
        // Zooming keeps about five round ticks in view.
        connect(linear, &QValueAxis::rangeChanged, this, [this, linear] {
            FollowRange(linear);
            placeOverlays();
        });
        made = linear;
    }
    made->setTitleText(AxisTitleHtml(axis.strDescription, axis.strSymbol, axis.strUnit));
    made->setTitleFont(UIStyle::systemFont(11));
    made->setLabelsFont(UIStyle::systemFont(10));
    chart()->addAxis(made, alignment);
    return made;
}

QScatterSeries* FormulaChartView::makeDots(qreal dbSize, const QColor& color, const QColor& border)
{
    auto* dots = new QScatterSeries;
    dots->setMarkerSize(dbSize);
    dots->setColor(color);
    dots->setBorderColor(border);
    attach(dots);
    return dots;
}

void FormulaChartView::attach(QXYSeries* series)
{
    chart()->addSeries(series);
    series->attachAxis(m_pXAxis);
    series->attachAxis(m_pYAxis);
}

void FormulaChartView::rebuild()
{
    // Attaching the new series changes ranges, which moves the overlays:
    // they must not reach the series and axes deleted here.
    chart()->removeAllSeries();
    m_vecLines.clear();
    m_pLonePoints = m_pCurrent = m_pHoverMark = nullptr;
    for (QAbstractAxis* axis : chart()->axes())
        chart()->removeAxis(axis), delete axis;
    m_pXAxis = makeAxis(m_x, Qt::AlignBottom);
    m_pYAxis = makeAxis(m_y, Qt::AlignLeft);
    m_pLonePoints = makeDots(5, kLineColor, kLineColor);
    m_pCurrent = makeDots(11, kCurrentColor, Qt::white);
    m_pHoverMark = makeDots(8, kLineColor.darker(140), Qt::white);
}

bool FormulaChartView::drawable(double dbX, double dbY) const
{
    return std::isfinite(dbX) && std::isfinite(dbY) && (!m_x.bLog || dbX > 0) && (!m_y.bLog || dbY > 0);
}

void FormulaChartView::setRuns(const QList<QList<QPointF>>& vecRuns)
{
    while (m_vecLines.size() > vecRuns.size()) {
        QLineSeries* line = m_vecLines.takeLast();
        chart()->removeSeries(line);
        delete line;
    }
    while (m_vecLines.size() < vecRuns.size()) {
        auto* line = new QLineSeries;
        line->setPen(QPen(kLineColor, 2));
        attach(line);
        m_vecLines.append(line);
    }
    for (qsizetype i = 0; i < vecRuns.size(); ++i)
        m_vecLines[i]->replace(vecRuns[i]);
}

void FormulaChartView::setPlot(const PLOT_AXIS& x, const PLOT_AXIS& y, double dbFrom, double dbTo,
                               const std::vector<SWEEP_POINT>& vecPoints)
{
    // New values keep the axes and series; only other axes build them anew.
    const bool bNewAxes = !m_pXAxis || !(x == m_x) || !(y == m_y);
    m_x = x;
    m_y = y;
    m_vecPoints = vecPoints;
    if (bNewAxes)
        rebuild();

    // The y axis spans the values that can be drawn, and the current point.
    double dbMin = INFINITY;
    double dbMax = -INFINITY;
    auto widen = [&](double dbX, double dbY) {
        if (drawable(dbX, dbY))
            dbMin = std::min(dbMin, dbY), dbMax = std::max(dbMax, dbY);
    };
    for (const SWEEP_POINT& point : m_vecPoints)
        if (point.bValid)
            widen(point.dbX, point.dbY);
    if (m_current)
        widen(m_current->x(), m_current->y());
    if (dbMin > dbMax)
        dbMin = y.bLog ? 1.0 : 0.0, dbMax = y.bLog ? 10.0 : 1.0;
    else
        PadRange(dbMin, dbMax, y.bLog);
    // A hair of room keeps the labels of decades at the ends of a
    // logarithmic range, which rounding would otherwise push outside.
    const double dbHair = x.bLog ? 1e-9 : 0.0;
    m_pXAxis->setRange(std::min(dbFrom, dbTo) * (1 - dbHair), std::max(dbFrom, dbTo) * (1 + dbHair));
    m_pYAxis->setRange(dbMin, dbMax);
    FollowRange(m_pXAxis);
    FollowRange(m_pYAxis);

    // A failed point ends a run: the line has a gap there instead of a value.
    QList<QList<QPointF>> vecRuns(1);
    QList<QPointF> vecLone;
    auto endRun = [&] {
        if (vecRuns.back().size() == 1)
            vecLone.append(vecRuns.back().takeFirst());
        else if (!vecRuns.back().isEmpty())
            vecRuns.emplace_back();
    };
    for (const SWEEP_POINT& point : m_vecPoints) {
        if (point.bValid && drawable(point.dbX, point.dbY))
            vecRuns.back().append(QPointF(point.dbX, point.dbY));
        else
            endRun();
    }
    endRun();
    vecRuns.removeLast();
    setRuns(vecRuns);
    m_pLonePoints->replace(vecLone);
    const bool bCurrent = m_current && drawable(m_current->x(), m_current->y());
    m_pCurrent->replace(bCurrent ? QList<QPointF>{*m_current} : QList<QPointF>{});

    m_nHovered = std::min(m_nHovered, static_cast<int>(m_vecPoints.size()) - 1);
    placeOverlays();
}

void FormulaChartView::setCurrentPoint(std::optional<QPointF> point)
{
    m_current = point;
}

void FormulaChartView::resetZoom()
{
    chart()->zoomReset();
}

QString FormulaChartView::readoutHtml(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_vecPoints.size()))
        return {};
    const SWEEP_POINT& point = m_vecPoints[static_cast<size_t>(nIndex)];
    const QString strX = SymbolOrName(m_x) + QStringLiteral(" = ") + ValueWithUnit(SweepNumberText(point.dbX), m_x);
    if (!point.bValid)
        return strX + QStringLiteral(": ") + QString::fromStdString(point.strMessage).toHtmlEscaped();
    return strX + QStringLiteral("&nbsp;&nbsp;&nbsp;") + SymbolOrName(m_y) + QStringLiteral(" = ") +
           ValueWithUnit(point.strY, m_y);
}

void FormulaChartView::hoverAt(QPoint pos)
{
    if (m_vecPoints.empty() || !m_pCurrent) {
        setHovered(-1);
        return;
    }
    const QPointF at = chart()->mapFromScene(mapToScene(pos));
    if (!chart()->plotArea().adjusted(-4, -4, 4, 4).contains(at)) {
        setHovered(-1);
        return;
    }
    // Nearest along x as the axis measures it.
    auto axisX = [this](double dbX) { return m_x.bLog ? std::log(std::max(dbX, 1e-300)) : dbX; };
    const double dbAt = axisX(chart()->mapToValue(at, m_pCurrent).x());
    int nBest = 0;
    for (int i = 1; i < static_cast<int>(m_vecPoints.size()); ++i) {
        if (std::fabs(axisX(m_vecPoints[static_cast<size_t>(i)].dbX) - dbAt) <
            std::fabs(axisX(m_vecPoints[static_cast<size_t>(nBest)].dbX) - dbAt))
            nBest = i;
    }
    setHovered(nBest);
}

void FormulaChartView::setHovered(int nIndex)
{
    if (nIndex == m_nHovered)
        return;
    m_nHovered = nIndex;
    placeCrosshair();
    emit hoveredPointChanged(nIndex);
}

void FormulaChartView::placeCrosshair()
{
    m_pCrossX->hide();
    m_pCrossY->hide();
    if (m_pHoverMark)
        m_pHoverMark->clear();
    if (m_nHovered < 0 || m_nHovered >= static_cast<int>(m_vecPoints.size()) || !m_pCurrent)
        return;
    const SWEEP_POINT& point = m_vecPoints[static_cast<size_t>(m_nHovered)];
    const QRectF area = chart()->plotArea();
    const double dbYValue = point.bValid && drawable(point.dbX, point.dbY) ? point.dbY : NAN;
    const QPointF at = chart()->mapToPosition(
        QPointF(point.dbX, std::isnan(dbYValue) ? (m_y.bLog ? 1.0 : 0.0) : dbYValue), m_pCurrent);
    if (at.x() < area.left() - 0.5 || at.x() > area.right() + 0.5)
        return;
    QPen pen = m_pCrossX->pen();
    pen.setColor(point.bValid ? QColor(120, 120, 128) : kFailedColor);
    m_pCrossX->setPen(pen);
    m_pCrossX->setLine(at.x(), area.top(), at.x(), area.bottom());
    m_pCrossX->show();
    if (std::isnan(dbYValue) || at.y() < area.top() || at.y() > area.bottom())
        return;
    m_pCrossY->setLine(area.left(), at.y(), area.right(), at.y());
    m_pCrossY->show();
    m_pHoverMark->append(QPointF(point.dbX, dbYValue));
}

void FormulaChartView::placeGapMarks()
{
    // Each run of failed points is a strip from its first to its last point
    // (at least 3 pixels wide), just above the x axis.
    QPainterPath path;
    const QRectF area = chart()->plotArea();
    auto positionOf = [this](double dbX) {
        return chart()->mapToPosition(QPointF(dbX, m_y.bLog ? 1.0 : 0.0), m_pCurrent).x();
    };
    size_t nRun = 0;
    for (size_t i = 0; i <= m_vecPoints.size() && m_pCurrent; ++i) {
        const bool bFailed = i < m_vecPoints.size() && !(m_vecPoints[i].bValid &&
                                                           drawable(m_vecPoints[i].dbX, m_vecPoints[i].dbY));
        if (bFailed)
            continue;
        if (nRun < i) {
            double dbLeft = positionOf(m_vecPoints[nRun].dbX);
            double dbRight = positionOf(m_vecPoints[i - 1].dbX);
            if (dbLeft > dbRight)
                std::swap(dbLeft, dbRight);
            dbLeft = std::max(dbLeft - 1.5, area.left());
            dbRight = std::min(dbRight + 1.5, area.right());
            if (dbLeft < dbRight)
                path.addRect(QRectF(dbLeft, area.bottom() - 4, dbRight - dbLeft, 4));
        }
        nRun = i + 1;
    }
    m_pGapMarks->setPath(path);
}

void FormulaChartView::placeOverlays()
{
    placeGapMarks();
    placeCrosshair();
}

void FormulaChartView::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    hoverAt(event->position().toPoint());
}

void FormulaChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    resetZoom();
    event->accept();
}

void FormulaChartView::wheelEvent(QWheelEvent* event)
{
    const QRectF area = chart()->plotArea();
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    if (!area.contains(at) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // The value under the mouse stays where it is.
    const double dbFactor = std::pow(kWheelStep, event->angleDelta().y() / 120.0);
    chart()->zoomIn(QRectF(at.x() - (at.x() - area.left()) * dbFactor, at.y() - (at.y() - area.top()) * dbFactor,
                           area.width() * dbFactor, area.height() * dbFactor));
    event->accept();
}

void FormulaChartView::leaveEvent(QEvent* event)
{
    QChartView::leaveEvent(event);
    setHovered(-1);
}

void FormulaChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    placeOverlays();
}
