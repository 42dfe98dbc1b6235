#pragma once

// The chart of a sweep (Qt Charts): y over x as a line that breaks where the
// calculation failed (a failed point is never drawn, least of all as zero),
// axes titled with the parameters' names and units and ticked at round
// values, linear or logarithmic, the current point (the typed values)
// marked, a red mark along the x axis where points failed, and under the
// mouse a crosshair at the nearest point. Drag a
// rectangle to zoom in, turn the wheel to zoom around the mouse, right-click
// to zoom out, double-click to see the whole sweep again. The plot page shows
// it; calcudex-plot draws it into a PNG.

#include <QChartView>
#include <QPointF>
#include <optional>
#include <string>
#include <vector>

#include "calc/FormulaSweep.h"

class QAbstractAxis;
class QGraphicsLineItem;
class QGraphicsPathItem;
class QLineSeries;
class QScatterSeries;
class QXYSeries;

// What an axis shows: the parameter's description, TeX symbol and TeX unit.
struct PLOT_AXIS {
    std::string strDescription;
    std::string strSymbol;
    std::string strUnit;
    bool bLog = false;
    bool operator==(const PLOT_AXIS&) const = default;
};

class FormulaChartView : public QChartView {
    Q_OBJECT
public:
    explicit FormulaChartView(QWidget* parent = nullptr);

    // The axes, the x range of the sweep (the axis spans it while points
    // arrive) and the points so far; a logarithmic axis leaves out values <= 0.
    void setPlot(const PLOT_AXIS& x, const PLOT_AXIS& y, double dbFrom, double dbTo,
                 const std::vector<SWEEP_POINT>& vecPoints);
    void setCurrentPoint(std::optional<QPointF> point);
    void resetZoom();

    // The point under the crosshair, -1 when none; and its description:
    // "θ = 45 °   R = 40.79 m", or "θ = 95 °: <the calculation's message>".
    int hoveredIndex() const { return m_nHovered; }
    QString readoutHtml(int nIndex) const;
    // Puts the crosshair on the point nearest to a position in the view.
    void hoverAt(QPoint pos);

    // What is drawn, for the tests: each unbroken run of points as a line,
    // lone points as dots.
    QList<QLineSeries*> lines() const { return m_vecLines; }
    QScatterSeries* lonePoints() const { return m_pLonePoints; }
    QScatterSeries* currentPoint() const { return m_pCurrent; }
    QAbstractAxis* xAxis() const { return m_pXAxis; }
    QAbstractAxis* yAxis() const { return m_pYAxis; }

signals:
    void hoveredPointChanged(int nIndex);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAbstractAxis* makeAxis(const PLOT_AXIS& axis, Qt::Alignment alignment);
    QScatterSeries* makeDots(qreal dbSize, const QColor& color, const QColor& border);
    void attach(QXYSeries* series);
    void rebuild();
    void setRuns(const QList<QList<QPointF>>& vecRuns);
    void setHovered(int nIndex);
    void placeCrosshair();
    void placeGapMarks();
    void placeOverlays();
    bool drawable(double dbX, double dbY) const;

    PLOT_AXIS m_x;
    PLOT_AXIS m_y;
    std::vector<SWEEP_POINT> m_vecPoints;
    QList<QLineSeries*> m_vecLines;
    QScatterSeries* m_pLonePoints = nullptr;
    QScatterSeries* m_pCurrent = nullptr;
    QScatterSeries* m_pHoverMark = nullptr;
    QAbstractAxis* m_pXAxis = nullptr;
    QAbstractAxis* m_pYAxis = nullptr;
    QGraphicsLineItem* m_pCrossX = nullptr;
    QGraphicsLineItem* m_pCrossY = nullptr;
    QGraphicsPathItem* m_pGapMarks = nullptr;  // red under the x axis where points failed
    std::optional<QPointF> m_current;
    int m_nHovered = -1;
};
