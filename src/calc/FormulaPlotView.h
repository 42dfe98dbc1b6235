#pragma once

// The plot page of the calculation screen: the ticked parameter (y) over
// another parameter (x) that the user chooses, from a value to a value in a
// number of points, on linear or logarithmic axes. The other parameters keep
// the values typed in their rows. The sweep runs on this thread in slices of
// about 10 ms (the engine is not re-entrant), so the window stays live; any
// change of the choices cancels it and starts a new one. Hovering the chart
// reads out x and y, or why a point has no value; the chart exports as PNG,
// the points as CSV.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calc/FormulaChartView.h"
#include "calc/FormulaSweep.h"
#include "storage/FormulaRecords.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class UIBarButtonItem;

class FormulaPlotView : public QWidget {
    Q_OBJECT
public:
    FormulaPlotView(const QRect& frame, QWidget* parent);
    ~FormulaPlotView() override;

    // The open formula, the unknown and the rows' texts (engine syntax). The
    // page keeps its choices while formula and unknown stay the same; a sweep
    // starts again when anything it depends on has changed.
    void setFormula(const _tag_formula_detail& det, int nYIndex, const std::vector<std::string>& vecParams);
    // Stops a running sweep (the points so far stay).
    void cancel();
    bool isCalculating() const;

    // The navigation bar's buttons while the page is shown.
    UIBarButtonItem* backItem() const { return m_pBackItem; }
    UIBarButtonItem* exportItem() const { return m_pExportItem; }
    std::function<void()> onBack;

    // Export: the sheet asks PNG or CSV, then a file name. Tests replace
    // askFileName (the file dialog); an empty name cancels.
    void showExportSheet();
    bool exportPng(const QString& strPath);
    bool exportCsv(const QString& strPath);
    std::function<QString(const QString& strSuggested, const QString& strFilter)> askFileName;

    // What the user sees and touches.
    QComboBox* xChoice() const { return m_pXChoice; }
    QLineEdit* fromEdit() const { return m_pFrom; }
    QLineEdit* toEdit() const { return m_pTo; }
    QLineEdit* pointsEdit() const { return m_pPoints; }
    QAbstractButton* logXButton() const { return m_pLogX; }
    QAbstractButton* logYButton() const { return m_pLogY; }
    FormulaChartView* chartView() const { return m_pChart; }
    QLabel* readout() const { return m_pReadout; }
    const std::vector<SWEEP_POINT>& points() const;

private:
    void buildControls();
    void chooseX(int nChoice);
    void restart();
    bool readRange(SWEEP_RANGE& range, std::string& strMessage) const;
    void calculateSlice();
    void draw();
    void showSummary();
    void showMessage(const QString& strMessage);
    void logXToggled(bool bOn);
    void logYToggled(bool bOn);
    bool hasValueAtOrBelowZero() const;
    PLOT_AXIS axisOf(int nIndex, bool bLog) const;
    void warn(const QString& strMessage);
    QString suggestedName(const QString& strSuffix) const;

    _tag_formula_detail m_det;
    int m_nYIndex = -1;
    int m_nXIndex = -1;
    std::vector<int> m_vecChoices;  // parameter index of each entry of the x list
    std::vector<std::string> m_vecParams;
    std::unique_ptr<FormulaSweep> m_pSweep;
    std::optional<QPointF> m_current;
    std::string m_strMessage;  // why there is no sweep, when there is none
    qint64 m_nLastDraw = 0;

    QComboBox* m_pXChoice = nullptr;
    QLineEdit* m_pFrom = nullptr;
    QLineEdit* m_pTo = nullptr;
    QLineEdit* m_pPoints = nullptr;
    QAbstractButton* m_pLogX = nullptr;
    QAbstractButton* m_pLogY = nullptr;
    FormulaChartView* m_pChart = nullptr;
    QLabel* m_pReadout = nullptr;
    QTimer* m_pTimer = nullptr;
    UIBarButtonItem* m_pBackItem = nullptr;
    UIBarButtonItem* m_pExportItem = nullptr;
};
