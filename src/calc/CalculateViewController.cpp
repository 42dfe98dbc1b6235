#include "calc/CalculateViewController.h"

#include "calc/CalculateKeyHandler.h"
#include "calc/CalculationProcedure.h"
#include "calc/FormulaHandOver.h"
#include "calc/FormulaPlotView.h"
#include "calc/UIImageControl.h"
#include "editor/DetailView.h"
#include "shell/Global.h"
#include "storage/BookCommit.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "ui/MIMEView.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UIImage.h"
#include "ui/UISegmentedControl.h"
#include "ui/UIStyle.h"
#include "ui/UIView.h"

#include <QEasingCurve>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QVariantAnimation>
#include <algorithm>
#include <cerrno>

namespace {

const QString kCellIdentifier = QStringLiteral("any-cell");

// View tags of the parts of a row.
constexpr int kTagLedView = 9999;
constexpr int kTagCheckbox = 10000;
constexpr int kTagMimeView = 10001;
constexpr int kTagUnitLabel = 10002;

// Frames of the screen (points).
const QRect kTableFrame(0, 0, 320, 232);
const QRect kKeyboardFrame(0, 227, 320, 140);
const QRect kDetailFrame(0, 0, 320, 366);
const QRect kPageControlFrame(0, 347, 320, 20);
const QRect kPlotFrame(0, 0, 320, 367);

constexpr int kScrollMilliseconds = 300;

// The rows are see-through: the screen's background shows behind them, and a
// touched row shows no highlight.
class CalculateRowCell : public UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// The background picture behind the rows.
class BackgroundView : public QWidget {
public:
    BackgroundView(const QRect& frame, QWidget* parent) : QWidget(parent)
    {
        setGeometry(frame);
        m_pixImage = UIImage::imageNamed(QStringLiteral("background.png"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_pixImage.isNull())
            p.fillRect(rect(), Qt::white);
        else
            UIImage::draw(p, QRectF(rect()), m_pixImage);
    }

private:
    QPixmap m_pixImage;
};

int paramCountOf(const _tag_formula_detail& det)
{
    return static_cast<int>(std::min<std::uint32_t>(det.m_nParamCount, MAX_FORMULA_PARAMS));
}

} // namespace

CalculateViewController::CalculateViewController(QObject* parent)
    : UIViewController(parent),
      m_pFDes(std::make_unique<_tag_formula_des>()),
      m_pFDet(std::make_unique<_tag_formula_detail>())
{
    setTitle(QStringLiteral("Calculate"));
    tabBarItem() = UITabBarItem{QStringLiteral("Calculate"), QStringLiteral("Calculate.png"), 0};
    emptyFormulaDes(*m_pFDes);
    emptyFormulaDetail(*m_pFDet);
    m_arrImages = {UIImage::imageNamed(QStringLiteral("CalcChecked.png")),
                   UIImage::imageNamed(QStringLiteral("Unchecked.png"))};
    m_pCalcToDetailBtn = UIBarButtonItem::withImage(QStringLiteral("CalcToDetail.png"), UIBarButtonItem::Bordered,
                                                    [this] { showDetail(); }, this);
    m_pDetailToCalcBtn = UIBarButtonItem::withImage(QStringLiteral("DetailToCalc.png"), UIBarButtonItem::Bordered,
                                                    [this] { showDetail(); }, this);
    m_pAddFavorite = UIBarButtonItem::withImage(QStringLiteral("NotFavorite.png"), UIBarButtonItem::Bordered,
                                                [this] { addFavorite(); }, this);
    m_pValuesTimer = new QTimer(this);
    m_pValuesTimer->setSingleShot(true);
    m_pValuesTimer->setInterval(static_cast<int>(kValuesSaveSeconds * 1000));
    connect(m_pValuesTimer, &QTimer::timeout, this, [this] { saveTypedValues(); });
    m_pPageSwitch = new UISegmentedControl({QStringLiteral("Calculate"), QStringLiteral("Plot")});
    m_pPageSwitch->resize(150, 30);
    m_pPageSwitch->setSelectedSegmentIndex(0);
    m_pPageSwitch->onValueChanged = [this](UISegmentedControl* control) {
        if (control->selectedSegmentIndex() == 1)
            showPlot();
        else
            hidePlot();
    };
}

CalculateViewController::~CalculateViewController() = default;

void CalculateViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(320, 367);
    setView(view);

    new BackgroundView(kTableFrame, view);
    m_pTableView = new UITableView(view);
    m_pTableView->setGeometry(kTableFrame);
    m_pTableView->setBackgroundColor(Qt::transparent);
    m_pTableView->setSeparatorColor(QColor(160, 160, 160));
    m_pTableView->setRowHeight(kRowHeight);
    m_pTableView->setDataSource(this);
    m_pTableView->setDelegate(this);

    m_pRowStore = new QWidget(view);
    m_pRowStore->hide();
    createRows();

    m_pKeyboard = new FormulaKeyboardView(kKeyboardFrame, view);
    m_pKeyboard->setEventReceiver(this);
    m_pTableView->reloadData();
    m_pKeyHandler = new CalculateKeyHandler(this);

    auto* plotShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), view);
    connect(plotShortcut, &QShortcut::activated, this, [this] {
        if (m_pPlotView && m_pPlotView->isVisible())
            hidePlot();
        else
            showPlot();
    });
}

void CalculateViewController::createRows()
{
    const QSize box = UIImage::logicalSize(m_arrImages.value(1));
    const int w = box.width();
    for (int r = 0; r < kRowCount; ++r) {
        CELL_OBJECT& row = m_arrCellObjects[static_cast<size_t>(r)];
        row.m_pCheckboxView = new UIImageControl(QRect(5, 24, w, box.height()), m_pRowStore);
        row.m_pCheckboxView->setProperty("tag", kTagCheckbox);
        row.m_pCheckboxView->addTarget(this, [this](UIImageControl* control) { selectCheckbox(control); });

        row.m_pUnitLabel = new QLabel(m_pRowStore);
        row.m_pUnitLabel->setGeometry(5 + w, 2, 190, 20);
        row.m_pUnitLabel->setFont(UIStyle::systemFont(15));
        row.m_pUnitLabel->setAttribute(Qt::WA_TranslucentBackground);
        row.m_pUnitLabel->setProperty("tag", kTagUnitLabel);

        row.m_pLEDView = new MyLedViewLite(QRect(5 + w, 26, 315 - w - 3, 30), m_pRowStore);
        row.m_pLEDView->setProperty("tag", kTagLedView);
        row.m_pLEDView->setId(r);
        row.m_pLEDView->setDelegate(this);
        row.m_pLEDView->setSelectedState(false);
        row.m_pLEDView->CaretToStart();
        connect(row.m_pLEDView, &MyLedViewLite::contentChanged, this, [this] { scheduleTypedValuesSave(); });

        row.m_pMIMEView = new MIMEView(QRect(5 + w + 190, 0, 320 - (5 + w + 190), 27), m_pRowStore);
        row.m_pMIMEView->setAlignment(2);
        row.m_pMIMEView->setProperty("tag", kTagMimeView);
    }
}

MyLedViewLite* CalculateViewController::ledView(int row) const
{
    return row >= 0 && row < kRowCount ? m_arrCellObjects[static_cast<size_t>(row)].m_pLEDView : nullptr;
}

UIImageControl* CalculateViewController::checkbox(int row) const
{
    return row >= 0 && row < kRowCount ? m_arrCellObjects[static_cast<size_t>(row)].m_pCheckboxView : nullptr;
}

int CalculateViewController::tickedRow() const
{
    for (int r = 0; r < kRowCount; ++r)
        if (m_pSelectedCheckbox && m_arrCellObjects[static_cast<size_t>(r)].m_pCheckboxView == m_pSelectedCheckbox)
            return r;
    return -1;
}

// ---------------------------------------------------------------- opening the formula

bool CalculateViewController::currentRecord(FORMULA_NODE_INFO& info) const
{
    return getCurrentFormulaNode(info) != FORMULA_SOURCE_NONE;
}

void CalculateViewController::getFormulaInfo()
{
    m_bRecordsRead = getCurrentFormulaRecords(m_pFPos, *m_pFDes, *m_pFDet);
}

void CalculateViewController::clearLines()
{
    for (CELL_OBJECT& row : m_arrCellObjects)
        row.m_pLEDView->Clear();
}

void CalculateViewController::onOpenFavHis()
{
    m_sBackupBook = g_sFormulasFolder;
    g_sFormulasFolder = canonicalBookName(g_favhisInfo.m_szBook);
    m_bRecordsRead = getCurrentFormulaRecords(m_pFPos, *m_pFDes, *m_pFDet);
    if (g_favhisInfo.m_NodeInfo.m_uiNodeType != FORMULA_TYPE_THEORY) {
        clearLines();
        setupRows();
    } else {
        showDetail();
        m_pKeyboard->hide();
    }
}

void CalculateViewController::setupRows()
{
    const _tag_formula_detail& det = *m_pFDet;
    if (CountCalculableParameters(det) == 1) {
        for (int r = 0; r < kRowCount; ++r)
            if (CanCalculateParameter(det, r))
                m_pSelectedCheckbox = m_arrCellObjects[static_cast<size_t>(r)].m_pCheckboxView;
    }
    const int nCount = paramCountOf(det);
    for (int r = 0; r < kRowCount; ++r) {
        MyLedViewLite* line = m_arrCellObjects[static_cast<size_t>(r)].m_pLEDView;
        if (r < nCount && HasFixedValue(det.m_arrParams[static_cast<size_t>(r)])) {
            line->Clear();
            line->InsertString(QString::fromStdString(det.m_arrParams[static_cast<size_t>(r)].m_strValue), false);
            line->CaretToStart();
            line->setUserInteractionEnabled(false);
            line->setSelectedState(false);
        } else {
            // A row that held a fixed value of another formula takes typing again.
            line->setUserInteractionEnabled(true);
            // A row this formula does not show cannot stay the selected line,
            // or the keypad would type into it unseen.
            if (r >= nCount)
                line->setSelectedState(false);
        }
    }
    m_pTableView->reloadData();
    m_pKeyboard->show();
}

void CalculateViewController::viewWillAppear(bool animated)
{
    view();
    // What is typed belongs to the formula shown until now; from here on the
    // lines are cleared and refilled, and nothing of that is saved until
    // they hold the values of the formula opened.
    saveTypedValues();
    m_bLinesFormulaKnown = false;

    // Without a new choice the formula shown last comes back, wherever the
    // browser has gone since.
    if (!g_bFavHisToCalcDet && (g_nSelectedFormula < 0 || !g_bOpenFormula)) {
        FORMULA_NODE_INFO last;
        if (loadLastUsedFormula(last)) {
            g_favhisInfo = last;
            g_bFavHisToCalcDet = true;
        }
    }

    FORMULA_NODE_INFO info;
    if (g_bFavHisToCalcDet) {
        info = g_favhisInfo;
    } else {
        m_pSelectedCheckbox = nullptr;
        if (g_nSelectedFormula < 0) {
            m_pTableView->reloadData();
            return;
        }
        if (g_bOpenFormula) {
            for (CELL_OBJECT& row : m_arrCellObjects) {
                row.m_pLEDView->Clear();
                row.m_pLEDView->setSelectedState(false);
                row.m_pLEDView->setUserInteractionEnabled(true);
            }
        }
        getFormulaInfo();
        // An index the browser's lists no longer hold opens nothing (and
        // writes no empty entry into History).
        if (!currentRecord(info)) {
            m_pTableView->reloadData();
            return;
        }
    }

    // Texts and the tick belong to one formula: the formula opened starts
    // with empty lines (fixed values aside) and nothing ticked, and then gets
    // its own values back from the store.
    clearLines();
    m_pSelectedCheckbox = nullptr;

    // A formula that can no longer be read (removed since it was chosen, or
    // damaged) opens empty and is not put back into History.
    if (g_bFavHisToCalcDet) {
        onOpenFavHis();
        if (m_bRecordsRead)
            addHistory(g_favhisInfo);
    } else {
        if (m_bRecordsRead)
            addHistory(info);
        if (info.m_NodeInfo.m_uiNodeType != FORMULA_TYPE_THEORY) {
            setupRows();
        } else {
            showDetail();
            m_pKeyboard->hide();
        }
    }
    // A formula that could not be read shows no rows, and its stored values
    // must not be overwritten by them.
    m_LinesFormula = info;
    m_bLinesFormulaKnown = m_bRecordsRead && info.m_NodeInfo.m_uiNodeType != FORMULA_TYPE_THEORY;

    updateButtonState();
    restoreTypedValues();
}

void CalculateViewController::viewWillDisappear(bool animated)
{
    saveLines();
    g_bOpenFormula = false;
    if (g_bFavHisToCalcDet) {
        g_bFavHisToCalcDet = false;
        if (m_sBackupBook)
            g_sFormulasFolder = *m_sBackupBook;
        m_sBackupBook.reset();
    }
    if (m_pDetailView)
        hideDetail();
    hidePlot();
}

void CalculateViewController::saveLines()
{
    if (isViewLoaded())
        saveTypedValues();
}

// ---------------------------------------------------------------- typed values

TYPED_VALUES CalculateViewController::currentTypedValues() const
{
    TYPED_VALUES values;
    values.m_formula = m_LinesFormula;
    const int nCount = paramCountOf(*m_pFDet);
    const int nTicked = tickedRow();
    values.m_nTickedRow = nTicked < nCount ? nTicked : -1;
    for (int r = 0; r < nCount; ++r)
        values.m_vecRows.push_back(typedRowFromLine(m_arrCellObjects[static_cast<size_t>(r)].m_pLEDView->model(),
                                                    m_pFDet->m_arrParams[static_cast<size_t>(r)].m_strAlias));
    return values;
}

// Every change reaches the disk at most kValuesSaveSeconds later, however
// fast the keys come: the timer is started by the first change, not reset
// by the next ones.
void CalculateViewController::scheduleTypedValuesSave()
{
    if (m_bLinesFormulaKnown && !m_pValuesTimer->isActive())
        m_pValuesTimer->start();
}

void CalculateViewController::saveTypedValues()
{
    m_pValuesTimer->stop();
    if (!m_bLinesFormulaKnown)
        return;
    const TYPED_VALUES values = currentTypedValues();
    if (values.sameValues(m_savedValues))
        return;
    const bool bSaved = rememberTypedValues(values);
    if (bSaved)
        m_savedValues = values;
    reportSaveResult(bSaved, "Your typed values cannot be saved.");
}

// The formula's own values, each into the row of the parameter with the
// same alias; fixed values stay. The tick follows its parameter too.
void CalculateViewController::restoreTypedValues()
{
    TYPED_VALUES stored;
    if (m_bLinesFormulaKnown && findTypedValues(m_LinesFormula, stored)) {
        const _tag_formula_detail& det = *m_pFDet;
        const int nCount = paramCountOf(det);
        for (int r = 0; r < nCount; ++r) {
            const _tag_formula_parameter& param = det.m_arrParams[static_cast<size_t>(r)];
            const TYPED_ROW* pRow = findTypedRow(stored, r, param.m_strAlias);
            std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
            if (!HasFixedValue(param) && pRow && ledBlockFromTypedRow(*pRow, block))
                m_arrCellObjects[static_cast<size_t>(r)].m_pLEDView->SetRawInputString(block.data(), block.size());
        }
        if (stored.m_nTickedRow >= 0) {
            const std::string& strAlias = stored.m_vecRows[static_cast<size_t>(stored.m_nTickedRow)].m_strAlias;
            for (int r = 0; r < nCount; ++r) {
                if (CanCalculateParameter(det, r) && det.m_arrParams[static_cast<size_t>(r)].m_strAlias == strAlias) {
                    m_pSelectedCheckbox = m_arrCellObjects[static_cast<size_t>(r)].m_pCheckboxView;
                    break;
                }
            }
        }
        m_pTableView->reloadData();
    }
    m_savedValues = currentTypedValues();
    m_pValuesTimer->stop();
}

// A save that fails (a full disk, a folder that cannot be written) is told
// once; the program goes on with what it holds, and tells again only after
// a save has worked in between.
void CalculateViewController::reportSaveResult(bool bSaved, const char* szWhat)
{
    if (bSaved) {
        m_bSaveFailureShown = false;
        return;
    }
    const int nErrno = errno;
    if (m_bSaveFailureShown)
        return;
    m_bSaveFailureShown = true;
    showWarning(std::string(szWhat) + "\n" + writeErrorText(nErrno));
}

// ---------------------------------------------------------------- rows

int CalculateViewController::tableViewNumberOfRows(UITableView*)
{
    if (!g_bFavHisToCalcDet) {
        FORMULA_NODE_INFO info;
        if (g_nSelectedFormula < 0 || !currentRecord(info) || info.m_NodeInfo.m_uiNodeType == FORMULA_TYPE_THEORY)
            return 0;
    }
    return paramCountOf(*m_pFDet);
}

UITableViewCell* CalculateViewController::tableViewCellForRow(UITableView* tableView, int row)
{
    if (row < 0 || row >= kRowCount)
        return nullptr;
    UITableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = new CalculateRowCell(kCellIdentifier);
    QWidget* content = cell->contentView();

    // The cell may still hold the parts of the row it showed before.
    for (size_t r = 0; r < m_arrCellObjects.size(); ++r) {
        if (static_cast<int>(r) == row)
            continue;
        const CELL_OBJECT& other = m_arrCellObjects[r];
        for (QWidget* part : {static_cast<QWidget*>(other.m_pCheckboxView), static_cast<QWidget*>(other.m_pUnitLabel),
                              static_cast<QWidget*>(other.m_pLEDView), static_cast<QWidget*>(other.m_pMIMEView)}) {
            if (part->parentWidget() == content)
                part->setParent(m_pRowStore);
        }
    }

    const CELL_OBJECT& parts = m_arrCellObjects[static_cast<size_t>(row)];
    const _tag_formula_parameter& param = m_pFDet->m_arrParams[static_cast<size_t>(row)];

    parts.m_pLEDView->setParent(content);
    parts.m_pLEDView->show();

    const QString tex = QString::fromStdString(SymbolAndUnitTex(param));
    if (parts.m_pMIMEView->property("tex").toString() != tex || !parts.m_pMIMEView->property("tex").isValid()) {
        parts.m_pMIMEView->renderExpression(tex, QStringLiteral("\\normalsize"));
        parts.m_pMIMEView->setProperty("tex", tex);
    }
    parts.m_pMIMEView->setParent(content);
    parts.m_pMIMEView->show();

    UISetElidedText(parts.m_pUnitLabel, QString::fromStdString(param.m_strDescription));
    parts.m_pUnitLabel->setParent(content);
    parts.m_pUnitLabel->show();

    if (CanCalculateParameter(*m_pFDet, row)) {
        parts.m_pCheckboxView->setImage(m_arrImages.value(parts.m_pCheckboxView == m_pSelectedCheckbox ? 0 : 1));
        parts.m_pCheckboxView->setParent(content);
        parts.m_pCheckboxView->show();
    } else {
        parts.m_pCheckboxView->setParent(m_pRowStore);
    }
    return cell;
}

void CalculateViewController::tableViewDidSelectRow(UITableView*, int row)
{
    MyLedViewLite* line = ledView(row);
    // A fixed value cannot be typed into, whichever part of its row is touched.
    if (line && line->isUserInteractionEnabled())
        selectedMyLedViewLite(line);
}

void CalculateViewController::selectCheckbox(UIImageControl* checkbox)
{
    m_pSelectedCheckbox = checkbox;
    m_pTableView->reloadData();
    scheduleTypedValuesSave();
}

void CalculateViewController::selectedMyLedViewLite(MyLedViewLite* line)
{
    for (CELL_OBJECT& row : m_arrCellObjects)
        row.m_pLEDView->setSelectedState(row.m_pLEDView == line);
}

void CalculateViewController::scrollRowToTop(int row)
{
    if (row < 0 || row >= m_pTableView->numberOfRows())
        return;
    const int nTarget = m_pTableView->contentOffset() + m_pTableView->rectForRow(row).top();
    if (m_pScrollAnimation)
        m_pScrollAnimation->stop();
    delete m_pScrollAnimation;
    m_pScrollAnimation = new QVariantAnimation(this);
    m_pScrollAnimation->setStartValue(m_pTableView->contentOffset());
    m_pScrollAnimation->setEndValue(nTarget);
    m_pScrollAnimation->setDuration(kScrollMilliseconds);
    m_pScrollAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_pScrollAnimation, &QVariantAnimation::valueChanged, m_pTableView,
            [this](const QVariant& value) { m_pTableView->setContentOffset(value.toInt()); });
    m_pScrollAnimation->start();
}

// ---------------------------------------------------------------- keys and the calculation

void CalculateViewController::keyPressed(int nKeyCode)
{
    if (nKeyCode == -1) {
        calculate();
        return;
    }
    if (nKeyCode == 162) {
        const int nCount = paramCountOf(*m_pFDet);
        for (int r = 0; r < kRowCount; ++r) {
            if (r < nCount && HasFixedValue(m_pFDet->m_arrParams[static_cast<size_t>(r)]))
                continue;
            m_arrCellObjects[static_cast<size_t>(r)].m_pLEDView->Clear();
        }
        return;
    }
    for (CELL_OBJECT& row : m_arrCellObjects) {
        if (row.m_pLEDView->getSelectedState()) {
            row.m_pLEDView->InputCommand(nKeyCode);
            return;
        }
    }
}

void CalculateViewController::getParameters(std::vector<std::string>& vecParams)
{
    const int nCount = paramCountOf(*m_pFDet);
    for (int i = 0; i < nCount; ++i)
        vecParams.push_back(m_arrCellObjects[static_cast<size_t>(i)].m_pLEDView->OutputParsedString().toStdString());
}

void CalculateViewController::showWarning(const std::string& strMessage)
{
    auto* alert = new UIAlertView(QString::fromUtf8(CALC_ALERT_TITLE), QString::fromStdString(strMessage),
                                  QString::fromUtf8(CALC_ALERT_BUTTON));
    alert->show();
}

void CalculateViewController::calculate()
{
    if (!m_pSelectedCheckbox) {
        showWarning(CALC_MSG_CHECK_FIELD);
        return;
    }
    const int nRow = tickedRow();
    std::vector<std::string> vecParams;
    getParameters(vecParams);
    const CALC_RESULT result = RunCalculation(*m_pFDet, nRow, vecParams);
    if (!result.bSuccess) {
        if (result.nScrollRow >= 0)
            scrollRowToTop(result.nScrollRow);
        showWarning(result.strMessage);
        return;
    }
    MyLedViewLite* line = ledView(nRow);
    line->Clear();
    line->InsertString(QString::fromStdString(result.strResult), false);
    line->CaretToStart();
    scrollRowToTop(nRow);
}

// ---------------------------------------------------------------- detail pages and bar buttons

void CalculateViewController::hideDetail()
{
    if (m_pDetailView) {
        m_pDetailView->hide();
        delete m_pDetailView.data();
    }
    if (m_pPageCtrl) {
        m_pPageCtrl->hide();
        delete m_pPageCtrl.data();
    }
}

void CalculateViewController::showDetail()
{
    if (m_pDetailView) {
        if (m_pFDet->m_vecCalcFormulas.empty())
            return;
        hideDetail();
        m_pKeyboard->show();
        view()->setFocus(Qt::OtherFocusReason);
    } else {
        m_pDetailView = new DetailView(kDetailFrame, view());
        m_pDetailView->setDelegate(this);
        m_pDetailView->show();
        m_pDetailView->raise();
        m_pDetailView->scrollView()->setFocus(Qt::OtherFocusReason);
        m_pPageCtrl = new UIPageControl(kPageControlFrame, view());
        m_pPageCtrl->setNumberOfPages(m_pDetailView->getPages());
        m_pPageCtrl->onAction = [this](UIPageControl*) { pageAction(); };
        m_pPageCtrl->show();
        m_pPageCtrl->raise();
    }
    updateButtonState();
}

void CalculateViewController::pageAction()
{
    if (!m_pDetailView || !m_pPageCtrl)
        return;
    const int w = m_pDetailView->width();
    m_pDetailView->scrollView()->scrollRectToVisible(
        QRectF(m_pPageCtrl->currentPage() * w, 0, 320, m_pDetailView->height()), true);
}

void CalculateViewController::setCurrentPage(int nPage)
{
    if (m_pPageCtrl)
        m_pPageCtrl->setCurrentPage(nPage);
}

void CalculateViewController::updateButtonState()
{
    navigationItem()->setLeftBarButtonItem(nullptr);
    navigationItem()->setRightBarButtonItem(nullptr);
    const bool bPlotShown = m_pPlotView && m_pPlotView->isVisible();
    m_pPageSwitch->setSelectedSegmentIndex(bPlotShown ? 1 : 0);
    // The switch stands in the title while there are rows to plot from.
    const bool bRows = CountCalculableParameters(*m_pFDet) > 0 && !m_pDetailView && m_bRecordsRead;
    navigationItem()->setTitleView(bRows ? m_pPageSwitch : nullptr);
    if (bPlotShown) {
        navigationItem()->setLeftBarButtonItem(m_pPlotView->backItem());
        navigationItem()->setRightBarButtonItem(m_pPlotView->exportItem());
        return;
    }
    if (CountCalculableParameters(*m_pFDet) > 0)
        navigationItem()->setLeftBarButtonItem(m_pDetailView ? m_pDetailToCalcBtn : m_pCalcToDetailBtn);
    FORMULA_NODE_INFO info;
    if (!m_bRecordsRead || !currentRecord(info))
        return;
    m_pAddFavorite->setImageName(isExistInFavoriteList(info) ? QStringLiteral("Favorite.png")
                                                             : QStringLiteral("NotFavorite.png"));
    navigationItem()->setRightBarButtonItem(m_pAddFavorite);
}

// ---------------------------------------------------------------- Favorites, History, last used formula

void CalculateViewController::addFavorite()
{
    FORMULA_NODE_INFO info;
    if (!m_bRecordsRead || !currentRecord(info))
        return;
    if (isExistInFavoriteList(info))
        removeFromFavoriteList(info);
    else
        addToFavoriteList(info);
    updateButtonState();
}

bool CalculateViewController::isExistInFavoriteList(const FORMULA_NODE_INFO& info) const
{
    return ::isExistInFavoriteList(info);
}

// Favorites and History are written whole as soon as they change, so a crash
// or a kill after a tap on the star or an opening loses nothing.
void CalculateViewController::addToFavoriteList(const FORMULA_NODE_INFO& info)
{
    if (::addToFavoriteList(info))
        reportSaveResult(saveFavoritesAndHistory(), "Favorites cannot be saved.");
}

void CalculateViewController::removeFromFavoriteList(const FORMULA_NODE_INFO& info)
{
    if (::removeFromFavoriteList(info))
        reportSaveResult(saveFavoritesAndHistory(), "Favorites cannot be saved.");
}

void CalculateViewController::addHistory(const FORMULA_NODE_INFO& info)
{
    if (::addHistory(info))
        reportSaveResult(saveFavoritesAndHistory(), "History cannot be saved.");
    saveLastUsedFormula(info);
}

void CalculateViewController::saveLastUsedFormula(const FORMULA_NODE_INFO& info)
{
    ::saveLastUsedFormula(info);
}

bool CalculateViewController::loadLastUsedFormula(FORMULA_NODE_INFO& info)
{
    return ::loadLastUsedFormula(info);
}

// ---------------------------------------------------------------- the plot page

void CalculateViewController::showPlot()
{
    const int nRow = tickedRow();
    const bool bRows = m_bRecordsRead && !m_pDetailView && CountCalculableParameters(*m_pFDet) > 0;
    const char* pszRefusal = nullptr;
    if (bRows && !CanCalculateParameter(*m_pFDet, nRow))
        pszRefusal = CALC_MSG_CHECK_FIELD;
    else if (bRows && SweepableParameters(*m_pFDet, nRow).empty())
        pszRefusal = SWEEP_MSG_NOTHING_TO_VARY;
    if (!bRows || pszRefusal) {
        if (pszRefusal)
            showWarning(pszRefusal);
        updateButtonState();  // the switch shows "Calculate" again
        return;
    }
    if (!m_pPlotView) {
        m_pPlotView = new FormulaPlotView(kPlotFrame, view());
        m_pPlotView->onBack = [this] { hidePlot(); };
    }
    std::vector<std::string> vecParams;
    getParameters(vecParams);
    m_pPlotView->setFormula(*m_pFDet, nRow, vecParams);
    m_pPlotView->show();
    m_pPlotView->raise();
    updateButtonState();
}

FormulaPlotView* CalculateViewController::plotView() const
{
    return m_pPlotView;
}

void CalculateViewController::hidePlot()
{
    if (!m_pPlotView || !m_pPlotView->isVisible())
        return;
    m_pPlotView->cancel();
    m_pPlotView->hide();
    updateButtonState();
}
