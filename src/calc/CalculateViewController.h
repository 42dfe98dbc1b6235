#pragma once
// The screen behind the Calculate tab: one row per parameter of the open
// formula (tick box, description, input line, symbol and unit), the keypad
// under them, and the formula's detail pages on demand. The user fills in the
// known values, ticks the parameter to calculate and presses the calculate
// key; the calculation itself is RunCalculation. The screen also keeps
// History, the favourite star and the last used formula.

#include "calc/FormulaKeyboardView.h"
#include "calc/FormulaValueStore.h"
#include "calc/MyLedViewLite.h"
#include "editor/DetailView.h"
#include "storage/FormulaRecords.h"
#include "ui/UIPageControl.h"
#include "ui/UITableView.h"
#include "ui/UIViewController.h"

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CalculateKeyHandler;
class FormulaPlotView;
class MIMEView;
class QTimer;
class UIBarButtonItem;
class UISegmentedControl;
class UIImageControl;
class QVariantAnimation;

// The parts of one parameter row, created once and shown in whichever cell
// holds the row.
struct CELL_OBJECT {
    UIImageControl* m_pCheckboxView = nullptr;  // tag 10000, the tick box
    QLabel* m_pUnitLabel = nullptr;             // tag 10002, the parameter's description
    MyLedViewLite* m_pLEDView = nullptr;        // tag 9999, the input line
    MIMEView* m_pMIMEView = nullptr;            // tag 10001, symbol and unit
};

class CalculateViewController : public UIViewController,
                                public UITableViewDataSource,
                                public UITableViewDelegate,
                                public MyLedViewLiteDelegate,
                                public FormulaKeyboardReceiver,
                                public DetailViewDelegate {
    Q_OBJECT
public:
    static constexpr int kRowCount = 10;
    static constexpr int kRowHeight = 56;

    explicit CalculateViewController(QObject* parent = nullptr);
    ~CalculateViewController() override;

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Opening the formula.
    void getFormulaInfo();
    void onOpenFavHis();

    // Rows.
    int tableViewNumberOfRows(UITableView*) override;
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    void tableViewDidSelectRow(UITableView*, int row) override;
    void selectCheckbox(UIImageControl* checkbox);
    void selectedMyLedViewLite(MyLedViewLite* line) override;

    // Keys and the calculation.
    void keyPressed(int nKeyCode) override;
    void calculate();
    void getParameters(std::vector<std::string>& vecParams);

    // Detail pages and the bar buttons.
    void showDetail();
    void pageAction();
    void setCurrentPage(int nPage) override;
    void updateButtonState();

    // The plot page: the ticked parameter over another one (segment "Plot"
    // of the title, or Ctrl+P); Back returns to the rows as they were.
    void showPlot();
    void hidePlot();
    FormulaPlotView* plotView() const;
    UISegmentedControl* pageSwitch() const { return m_pPageSwitch; }

    // Favorites, History and the last used formula.
    void addFavorite();
    bool isExistInFavoriteList(const FORMULA_NODE_INFO& info) const;
    void addToFavoriteList(const FORMULA_NODE_INFO& info);
    void removeFromFavoriteList(const FORMULA_NODE_INFO& info);
    void addHistory(const FORMULA_NODE_INFO& info);
    void saveLastUsedFormula(const FORMULA_NODE_INFO& info);
    bool loadLastUsedFormula(FORMULA_NODE_INFO& info);

    // What is typed in the rows and the tick go to the store of typed values
    // (when the screen goes, and at termination; while it shows, at most
    // kValuesSaveSeconds after a change).
    void saveLines();
    static constexpr double kValuesSaveSeconds = 0.4;

    // What the screen shows, for the tests and the detail pages.
    UITableView* tableView() const { return m_pTableView; }
    FormulaKeyboardView* keyboard() const { return m_pKeyboard; }
    DetailView* detailView() const { return m_pDetailView; }
    UIPageControl* pageControl() const { return m_pPageCtrl; }
    MyLedViewLite* ledView(int row) const;
    UIImageControl* checkbox(int row) const;
    int tickedRow() const;
    const _tag_formula_detail& formulaDetail() const { return *m_pFDet; }
    UIBarButtonItem* calcToDetailButton() const { return m_pCalcToDetailBtn; }
    UIBarButtonItem* detailToCalcButton() const { return m_pDetailToCalcBtn; }
    UIBarButtonItem* favoriteButton() const { return m_pAddFavorite; }
    CalculateKeyHandler* keyHandler() const { return m_pKeyHandler; }

protected:
    void loadView() override;

private:
    void createRows();
    void setupRows();
    void clearLines();
    bool currentRecord(FORMULA_NODE_INFO& info) const;
    void scrollRowToTop(int row);
    void showWarning(const std::string& strMessage);
    void hideDetail();
    TYPED_VALUES currentTypedValues() const;
    void scheduleTypedValuesSave();
    void saveTypedValues();
    void restoreTypedValues();
    void reportSaveResult(bool bSaved, const char* szWhat);

    std::array<CELL_OBJECT, kRowCount> m_arrCellObjects{};
    UITableView* m_pTableView = nullptr;
    _tag_formula_pos m_pFPos;
    std::unique_ptr<_tag_formula_des> m_pFDes;
    std::unique_ptr<_tag_formula_detail> m_pFDet;
    FormulaKeyboardView* m_pKeyboard = nullptr;
    QList<QPixmap> m_arrImages;  // 0 ticked, 1 not ticked
    UIImageControl* m_pSelectedCheckbox = nullptr;
    QPointer<DetailView> m_pDetailView;
    QPointer<UIPageControl> m_pPageCtrl;
    std::optional<std::string> m_sBackupBook;
    bool m_bRecordsRead = false;  // the records of the formula shown were read
    UIBarButtonItem* m_pCalcToDetailBtn = nullptr;
    UIBarButtonItem* m_pDetailToCalcBtn = nullptr;
    UIBarButtonItem* m_pAddFavorite = nullptr;

    // The formula whose texts the input lines hold (known while its rows
    // show), what of them was saved last, and the timer of the next save.
    FORMULA_NODE_INFO m_LinesFormula{};
    bool m_bLinesFormulaKnown = false;
    TYPED_VALUES m_savedValues;
    QTimer* m_pValuesTimer = nullptr;
    bool m_bSaveFailureShown = false;
    QWidget* m_pRowStore = nullptr;  // keeps the row objects that no cell shows
    QVariantAnimation* m_pScrollAnimation = nullptr;
    UISegmentedControl* m_pPageSwitch = nullptr;
    QPointer<FormulaPlotView> m_pPlotView;
    CalculateKeyHandler* m_pKeyHandler = nullptr;  // the physical keyboard over the rows
};
