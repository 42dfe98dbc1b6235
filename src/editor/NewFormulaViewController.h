#pragma once
// The formula wizard for a new formula: its steps are pages side by side in
// one horizontally paging view — Step 1 (name, description, type), Step 2
// (TeX and pictures), Step 3 (number of parameters) and one Step 4 page per
// parameter — with a page control under them and a help button that opens
// the context help of the step on screen. Done (on the last page) checks the
// pages, test-evaluates every calculation expression and writes the formula
// into the "User Define" book.

#include "editor/FormulaWizard.h"
#include "ui/UIViewController.h"

#include <QPointer>
#include <array>
#include <memory>
#include <vector>

class ContextHelpViewController;
class Form1;
class Form2;
class Form3;
class Form4;
class QAbstractButton;
class UIBarButtonItem;
class UIPageControl;
class UIPagingScrollView;

class NewFormulaViewController : public UIViewController {
    Q_OBJECT
public:
    static constexpr int kPageWidth = 320;
    static constexpr int kPageHeight = 377;
    static constexpr int kForm1Tag = 274;
    static constexpr int kForm4Tag = 277;  // + parameter index

    explicit NewFormulaViewController(QObject* parent = nullptr);
    ~NewFormulaViewController() override;

    void viewWillAppear(bool animated) override;
    // Back with changes that Done has not saved asks before it drops them.
    bool navigationShouldPopOnBackButton() override;
    bool hasUnsavedChanges() const;

    // Actions, public so the screen can be driven the way its controls drive it.
    void helpDisplay();
    void pageAction();
    void updatePages(int nCount);
    virtual void onCreateNewFormulaDone();

    int viewMode() const { return m_nViewMode; }
    int pageCount() const { return m_nPageCount; }
    int currentPage() const;
    // Shows a page, sliding to it.
    void scrollToPage(int nPage, bool animated);

    // The pages and controls, for the tests and the help pictures.
    UIPagingScrollView* scrollView() const { return m_pScrollView; }
    UIPageControl* pageControl() const { return m_pPageCtrl; }
    QAbstractButton* helpButton() const { return m_helpButton; }
    UIBarButtonItem* doneButtonItem() const { return m_pDoneItem; }
    Form1* form1() const { return m_pForm1; }
    Form2* form2() const { return m_pForm2; }
    Form3* form3() const { return m_pForm3; }
    Form4* form4(int nIndex) const;  // null when that page does not exist
    ContextHelpViewController* contextHelpViewController() const;

protected:
    NewFormulaViewController(int nViewMode, QObject* parent);
    void loadView() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Reads every page into the records (Step 3 committed first, see below).
    // False when the Step 3 number could not be committed.
    bool readPages();
    FORMULA_WIZARD_INFO formInfo() const;
    // What the pages show now, read without committing anything; and that
    // as the state the pages started from.
    FORMULA_WIZARD_INFO pagesInfo() const;
    void rememberPagesAsStart();
    void showWarning(const std::string& strMessage);
    void closeEditor();

    int m_nViewMode;
    int mg_nFormulaType = FORMULA_TYPE_CALCULABLE;  // one per wizard: new and edit may be open together
    int m_nPageCount = 0;
    UIPagingScrollView* m_pScrollView = nullptr;
    UIPageControl* m_pPageCtrl = nullptr;
    Form1* m_pForm1 = nullptr;
    Form2* m_pForm2 = nullptr;
    Form3* m_pForm3 = nullptr;
    std::unique_ptr<FORM1_INFO> m_pFormInfo1;
    std::unique_ptr<FORM2_INFO> m_pFormInfo2;
    std::unique_ptr<int> m_pFormInfo3;
    std::vector<std::unique_ptr<FORM4_INFO>> m_arrFormInfo4;
    QPointer<ContextHelpViewController> _contextHelpViewController;
    QAbstractButton* m_helpButton = nullptr;
    UIBarButtonItem* m_pDoneItem = nullptr;

private:
    void initWizard();
    void scrollViewDidScroll();
    void updateDoneButton(int nPage);
    void onFocusChanged(QWidget* now);
    int m_nShownPage = 0;
    FORMULA_WIZARD_INFO m_startPages;
    // The parameter pages by index; a removed page reads as null.
    std::array<QPointer<Form4>, WIZARD_MAX_PARAMETERS> m_arrForm4Pages;
};
