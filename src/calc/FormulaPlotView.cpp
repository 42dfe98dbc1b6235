#include "calc/FormulaPlotView.h"

#include "calc/CalculationProcedure.h"
#include "calc/PlotTitles.h"
#include "calc/SweepCsv.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UIStyle.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {

// Frames on the 320 x 367 page (points).
const QRect kXChoiceFrame(6, 6, 196, 26);
const QRect kLogXFrame(206, 6, 52, 26);
const QRect kLogYFrame(262, 6, 52, 26);
const QRect kFromFrame(6, 36, 104, 26);
const QRect kToLabelFrame(110, 36, 24, 26);
const QRect kToFrame(134, 36, 104, 26);
const QRect kPointsFrame(244, 36, 42, 26);
const QRect kPointsLabelFrame(288, 36, 28, 26);
const QRect kChartFrame(0, 66, 320, 274);
const QRect kReadoutFrame(6, 340, 308, 26);

// A slice of the sweep takes about this long, then the window gets its turn.
constexpr std::chrono::milliseconds kSlice(10);
// While a long sweep runs, the chart shows its progress this often.
constexpr qint64 kDrawIntervalMs = 100;

QLabel* makeLabel(const QString& strText, const QRect& frame, QWidget* parent)
{
    auto* label = new QLabel(strText, parent);
    label->setGeometry(frame);
    label->setFont(UIStyle::systemFont(13));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* makeEdit(const QString& strPlaceholder, const QRect& frame, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(frame);
    edit->setFont(UIStyle::systemFont(13));
    edit->setPlaceholderText(strPlaceholder);
    return edit;
}

QToolButton* makeToggle(const QString& strText, const QRect& frame, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setGeometry(frame);
    button->setFont(UIStyle::systemFont(13));
    button->setText(strText);
    button->setCheckable(true);
    // A switched-on axis scale shows in the tint colour.
    button->setStyleSheet(QStringLiteral("QToolButton { border: 1px solid #007aff; border-radius: 5px; color: #007aff;"
                                         " background: white; }"
                                         "QToolButton:checked { background: #007aff; color: white; }"));
    return button;
}

bool sameFormula(const _tag_formula_detail& a, const _tag_formula_detail& b)
{
    if (a.m_nID != b.m_nID || a.m_nParamCount != b.m_nParamCount || a.m_vecCalcFormulas != b.m_vecCalcFormulas)
        return false;
    for (std::uint32_t i = 0; i < a.m_nParamCount && i < MAX_FORMULA_PARAMS; ++i) {
        const _tag_formula_parameter& p = a.m_arrParams[i];
        const _tag_formula_parameter& q = b.m_arrParams[i];
        if (p.m_strAlias != q.m_strAlias || p.m_strName != q.m_strName || p.m_strUnit != q.m_strUnit)
            return false;
    }
    return true;
}

}  // namespace

FormulaPlotView::FormulaPlotView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    buildControls();

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(0);
    connect(m_pTimer, &QTimer::timeout, this, [this] { calculateSlice(); });

    m_pBackItem = new UIBarButtonItem(QStringLiteral("Back"), UIBarButtonItem::Bordered, [this] {
        cancel();
        if (onBack)
            onBack();
    }, this);
    m_pExportItem = new UIBarButtonItem(QStringLiteral("Export"), UIBarButtonItem::Bordered,
                                        [this] { showExportSheet(); }, this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_pBackItem, &UIBarButtonItem::trigger);

    askFileName = [this](const QString& strSuggested, const QString& strFilter) {
        return QFileDialog::getSaveFileName(window(), QStringLiteral("Export"), strSuggested, strFilter);
    };
}

FormulaPlotView::~FormulaPlotView() = default;

void FormulaPlotView::buildControls()
{
    m_pXChoice = new QComboBox(this);
    m_pXChoice->setGeometry(kXChoiceFrame);
    m_pXChoice->setFont(UIStyle::systemFont(13));
    connect(m_pXChoice, &QComboBox::activated, this, [this](int nChoice) { chooseX(nChoice); });

    m_pLogX = makeToggle(QStringLiteral("log x"), kLogXFrame, this);
    m_pLogY = makeToggle(QStringLiteral("log y"), kLogYFrame, this);
    connect(m_pLogX, &QAbstractButton::toggled, this, [this](bool bOn) { logXToggled(bOn); });
    connect(m_pLogY, &QAbstractButton::toggled, this, [this](bool bOn) { logYToggled(bOn); });

    m_pFrom = makeEdit(QStringLiteral("from"), kFromFrame, this);
    makeLabel(QStringLiteral("to"), kToLabelFrame, this);
    m_pTo = makeEdit(QStringLiteral("to"), kToFrame, this);
    m_pPoints = makeEdit(QString(), kPointsFrame, this);
    makeLabel(QStringLiteral("pts"), kPointsLabelFrame, this);
    for (QLineEdit* edit : {m_pFrom, m_pTo, m_pPoints})
        connect(edit, &QLineEdit::textEdited, this, [this] { restart(); });

    m_pChart = new FormulaChartView(this);
    m_pChart->setGeometry(kChartFrame);
    connect(m_pChart, &FormulaChartView::hoveredPointChanged, this, [this](int nIndex) {
        if (nIndex >= 0)
            m_pReadout->setText(m_pChart->readoutHtml(nIndex));
        else
            showSummary();
    });

    m_pReadout = new QLabel(this);
    m_pReadout->setGeometry(kReadoutFrame);
    m_pReadout->setFont(UIStyle::systemFont(12));
    m_pReadout->setTextFormat(Qt::RichText);
    m_pReadout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

const std::vector<SWEEP_POINT>& FormulaPlotView::points() const
{
    static const std::vector<SWEEP_POINT> kNone;
    return m_pSweep ? m_pSweep->Points() : kNone;
}

void FormulaPlotView::setFormula(const _tag_formula_detail& det, int nYIndex,
                                 const std::vector<std::string>& vecParams)
{
    const bool bSameChoices = nYIndex == m_nYIndex && sameFormula(det, m_det) && m_nXIndex >= 0;
    const bool bSameInputs = bSameChoices && vecParams == m_vecParams;
    m_det = det;
    m_nYIndex = nYIndex;
    m_vecParams = vecParams;
    if (bSameInputs && m_pSweep && m_pSweep->IsDone())
        return;  // the chart shows these values already
    if (bSameChoices) {
        restart();
        return;
    }

    // A new formula or unknown: x is the first row left empty, else the first
    // row that can vary.
    m_vecChoices = SweepableParameters(det, nYIndex);
    m_pXChoice->clear();
    int nChoice = 0;
    for (size_t k = 0; k < m_vecChoices.size(); ++k) {
        const size_t nIndex = static_cast<size_t>(m_vecChoices[k]);
        m_pXChoice->addItem(ParameterChoiceText(det.m_arrParams[nIndex]));
        if (nChoice == 0 && (nIndex >= vecParams.size() || vecParams[nIndex].empty()))
            nChoice = static_cast<int>(k);
    }
    m_nXIndex = -1;
    chooseX(nChoice);
}

void FormulaPlotView::chooseX(int nChoice)
{
    if (nChoice < 0 || nChoice >= static_cast<int>(m_vecChoices.size())) {
        m_nXIndex = -1;
        restart();
        return;
    }
    m_pXChoice->setCurrentIndex(nChoice);
    m_nXIndex = m_vecChoices[static_cast<size_t>(nChoice)];
    const size_t nIndex = static_cast<size_t>(m_nXIndex);
    const std::string strTyped = nIndex < m_vecParams.size() ? m_vecParams[nIndex] : std::string();
    const SWEEP_RANGE range = DefaultSweepRange(strTyped, IsDegreeUnit(m_det.m_arrParams[nIndex].m_strUnit));
    m_pFrom->setText(QString::fromStdString(SweepNumberText(range.dbFrom)));
    m_pTo->setText(QString::fromStdString(SweepNumberText(range.dbTo)));
    if (m_pPoints->text().isEmpty())
        m_pPoints->setText(QString::number(range.nPoints));
    const QSignalBlocker block(m_pLogX);
    m_pLogX->setChecked(false);
    restart();
}

bool FormulaPlotView::readRange(SWEEP_RANGE& range, std::string& strMessage) const
{
    bool bPointsOk = false;
    range.nPoints = m_pPoints->text().trimmed().toInt(&bPointsOk);
    range.bLog = m_pLogX->isChecked();
    if (!ParseResultNumber(m_pFrom->text().toStdString(), range.dbFrom) ||
        !ParseResultNumber(m_pTo->text().toStdString(), range.dbTo))
        strMessage = SWEEP_MSG_EMPTY_RANGE;
    else if (!bPointsOk)
        strMessage = SWEEP_MSG_POINT_COUNT;
    else
        strMessage = CheckSweepRange(range);
    return strMessage.empty();
}

void FormulaPlotView::restart()
{
    cancel();
    m_pSweep.reset();
    m_current.reset();
    m_pExportItem->setEnabled(false);  // until there are points to export
    m_pChart->resetZoom();
    SWEEP_RANGE range;
    m_strMessage = m_vecChoices.empty() ? SWEEP_MSG_NOTHING_TO_VARY
                                        : CheckSweepInputs(m_det, m_nYIndex, m_nXIndex, m_vecParams);
    if (m_strMessage.empty())
        readRange(range, m_strMessage);
    if (!m_strMessage.empty()) {
        draw();
        showSummary();
        return;
    }
    // The typed values are the current point, marked on the line.
    const size_t nX = static_cast<size_t>(m_nXIndex);
    const std::string strTyped = nX < m_vecParams.size() ? m_vecParams[nX] : std::string();
    double dbTyped = 0.0;
    if (ParseResultNumber(strTyped, dbTyped)) {
        const SWEEP_POINT point = CalculateSweepPoint(m_det, m_nYIndex, m_nXIndex, m_vecParams, strTyped);
        if (point.bValid)
            m_current = QPointF(dbTyped, point.dbY);
    }
    m_pSweep = std::make_unique<FormulaSweep>(m_det, m_nYIndex, m_nXIndex, m_vecParams, range);
    m_nLastDraw = 0;
    m_pTimer->start();
    calculateSlice();
}

void FormulaPlotView::cancel()
{
    m_pTimer->stop();
}

bool FormulaPlotView::isCalculating() const
{
    return m_pTimer->isActive();
}

void FormulaPlotView::calculateSlice()
{
    if (!m_pSweep)
        return;
    const bool bDone = m_pSweep->CalculateFor(kSlice);
    const qint64 nNow = QDateTime::currentMSecsSinceEpoch();
    if (bDone || nNow - m_nLastDraw >= kDrawIntervalMs) {
        m_nLastDraw = nNow;
        if (bDone) {
            m_pTimer->stop();
            m_pExportItem->setEnabled(true);
            // Values at or below zero have no place on a logarithmic axis.
            if (m_pLogY->isChecked() && hasValueAtOrBelowZero()) {
                const QSignalBlocker block(m_pLogY);
                m_pLogY->setChecked(false);
                draw();
                showMessage(QString::fromUtf8(SWEEP_MSG_LOG_VALUES));
                return;
            }
        }
        draw();
        showSummary();
    }
}

PLOT_AXIS FormulaPlotView::axisOf(int nIndex, bool bLog) const
{
    PLOT_AXIS axis;
    if (nIndex < 0 || nIndex >= MAX_FORMULA_PARAMS)
        return axis;
    const _tag_formula_parameter& param = m_det.m_arrParams[static_cast<size_t>(nIndex)];
    axis.strDescription = param.m_strDescription;
    axis.strSymbol = param.m_strName;
    axis.strUnit = param.m_strUnit;
    axis.bLog = bLog;
    return axis;
}

void FormulaPlotView::draw()
{
    const SWEEP_RANGE range = m_pSweep ? m_pSweep->Range() : SWEEP_RANGE{};
    m_pChart->setCurrentPoint(m_current);
    m_pChart->setPlot(axisOf(m_nXIndex, m_pSweep && range.bLog), axisOf(m_nYIndex, m_pLogY->isChecked()),
                      range.dbFrom, range.dbTo, points());
}

void FormulaPlotView::showMessage(const QString& strMessage)
{
    m_pReadout->setText(QStringLiteral("<span style=\"color:#d0302a\">%1</span>").arg(strMessage.toHtmlEscaped()));
}

void FormulaPlotView::showSummary()
{
    if (!m_strMessage.empty()) {
        showMessage(QString::fromStdString(m_strMessage));
        return;
    }
    if (!m_pSweep)
        return;
    const std::vector<SWEEP_POINT>& vecPoints = m_pSweep->Points();
    if (!m_pSweep->IsDone()) {
        m_pReadout->setText(QStringLiteral("Calculating… %1 of %2 points")
                                .arg(vecPoints.size())
                                .arg(m_pSweep->Range().nPoints));
        return;
    }
    const auto nFailed = std::count_if(vecPoints.begin(), vecPoints.end(), [](const SWEEP_POINT& p) { return !p.bValid; });
    QString strText = QStringLiteral("%1 points").arg(vecPoints.size());
    if (nFailed > 0)
        strText += QStringLiteral(", %1 without a value (point at a gap for why)").arg(nFailed);
    m_pReadout->setText(strText);
}

bool FormulaPlotView::hasValueAtOrBelowZero() const
{
    for (const SWEEP_POINT& point : points())
        if (point.bValid && point.dbY <= 0)
            return true;
    return m_current && m_current->y() <= 0;
}

void FormulaPlotView::logXToggled(bool bOn)
{
    SWEEP_RANGE range;
    std::string strMessage;
    if (bOn && !readRange(range, strMessage) && strMessage == SWEEP_MSG_LOG_RANGE) {
        const QSignalBlocker block(m_pLogX);
        m_pLogX->setChecked(false);
        warn(QString::fromUtf8(SWEEP_MSG_LOG_RANGE));
        return;
    }
    restart();
}

void FormulaPlotView::logYToggled(bool bOn)
{
    if (bOn && m_pSweep && m_pSweep->IsDone() && hasValueAtOrBelowZero()) {
        const QSignalBlocker block(m_pLogY);
        m_pLogY->setChecked(false);
        warn(QString::fromUtf8(SWEEP_MSG_LOG_VALUES));
        return;
    }
    // The values stay; only the axis changes.
    m_pChart->resetZoom();
    draw();
}

void FormulaPlotView::warn(const QString& strMessage)
{
    auto* alert = new UIAlertView(QString::fromUtf8(CALC_ALERT_TITLE), strMessage, QString::fromUtf8(CALC_ALERT_BUTTON));
    alert->show();
}

// ---------------------------------------------------------------- export

QString FormulaPlotView::suggestedName(const QString& strSuffix) const
{
    auto alias = [this](int nIndex) {
        return nIndex >= 0 ? QString::fromStdString(m_det.m_arrParams[static_cast<size_t>(nIndex)].m_strAlias) : QString();
    };
    return QDir::home().filePath(QStringLiteral("%1-over-%2.%3").arg(alias(m_nYIndex), alias(m_nXIndex), strSuffix));
}

void FormulaPlotView::showExportSheet()
{
    auto* sheet = new UIActionSheet(QStringLiteral("Export"), QStringLiteral("Cancel"), QString(),
                                    {QStringLiteral("Chart as PNG"), QStringLiteral("Points as CSV")});
    sheet->onClicked = [this](UIActionSheet*, int nIndex) {
        const bool bPng = nIndex == 0;
        if (nIndex != 0 && nIndex != 1)
            return;
        const QString strPath = askFileName(suggestedName(bPng ? QStringLiteral("png") : QStringLiteral("csv")),
                                            bPng ? QStringLiteral("PNG pictures (*.png)")
                                                 : QStringLiteral("CSV files (*.csv)"));
        if (strPath.isEmpty())
            return;
        if (!(bPng ? exportPng(strPath) : exportCsv(strPath)))
            warn(QStringLiteral("The file could not be written."));
    };
    sheet->show();
}

bool FormulaPlotView::exportPng(const QString& strPath)
{
    return m_pChart->grab().save(strPath, "PNG");
}

bool FormulaPlotView::exportCsv(const QString& strPath)
{
    const std::string strText = SweepCsvText(points(), m_det.m_arrParams[static_cast<size_t>(std::max(m_nXIndex, 0))].m_strAlias,
                                             m_det.m_arrParams[static_cast<size_t>(std::max(m_nYIndex, 0))].m_strAlias);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(strText.data(), static_cast<qint64>(strText.size())) == static_cast<qint64>(strText.size()) &&
           file.flush();
}
