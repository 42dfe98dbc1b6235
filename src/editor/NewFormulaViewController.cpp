#include "editor/NewFormulaViewController.h"

#include "auxiliary/ContextHelpViewController.h"
#include "editor/CustomControl.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "editor/FormulaWriter.h"
#include "shell/Global.h"
#include "ui/UIAlertView.h"
#include "ui/UIBarButtonItem.h"
#include "ui/UIImage.h"
#include "ui/UINavigationController.h"
#include "ui/UINotificationCenter.h"
#include "ui/UIPageControl.h"
#include "ui/UIPaging.h"
#include "ui/UIPagingScrollView.h"
#include "ui/UIView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <algorithm>

namespace {

constexpr int kViewHeight = 416;
constexpr int kBackgroundHeight = 400;

} // namespace

NewFormulaViewController::NewFormulaViewController(QObject* parent)
    : NewFormulaViewController(WIZARD_MODE_NEW, parent)
{
}

NewFormulaViewController::NewFormulaViewController(int nViewMode, QObject* parent)
    : UIViewController(parent), m_nViewMode(nViewMode)
{
    setTitle(QStringLiteral("New Formula"));
    tabBarItem() = UITabBarItem{QStringLiteral("New Formula"), QStringLiteral("Calculate.png"), 0};

    const char* pszUpdate = m_nViewMode == WIZARD_MODE_NEW ? "updatePages" : "updatePagesEdit";
    UINotificationCenter::defaultCenter().addObserver(this, pszUpdate, nullptr, [this](const UINotification& note) {
        if (note.object)
            updatePages(*static_cast<const int*>(note.object));
    });

    m_pFormInfo1 = std::make_unique<FORM1_INFO>();
    m_pFormInfo2 = std::make_unique<FORM2_INFO>();
    m_pFormInfo3 = std::make_unique<int>(0);

    m_pDoneItem = new UIBarButtonItem(QStringLiteral(" Done "), UIBarButtonItem::Done,
                                      [this] { onCreateNewFormulaDone(); }, this);
    m_pDoneItem->setEnabled(false);
    navigationItem()->setRightBarButtonItem(m_pDoneItem);

    _contextHelpViewController = new ContextHelpViewController(this);
    _contextHelpViewController->view();

    _contextHelpViewController->setHidesBottomBarWhenPushed(true);

    qApp->installEventFilter(this);
}

NewFormulaViewController::~NewFormulaViewController()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

ContextHelpViewController* NewFormulaViewController::contextHelpViewController() const
{
    return _contextHelpViewController;
}

void NewFormulaViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(kPageWidth, kViewHeight);

    auto* background = new UIImageView(view);
    background->setPixmap(UIImage::imageNamed(QStringLiteral("background.png")));
    background->setGeometry(0, 0, kPageWidth, kBackgroundHeight);

    m_pScrollView = new UIPagingScrollView(QRect(0, 0, kPageWidth, kPageHeight), view);
    m_pScrollView->onScroll = [this](UIPagingScrollView*) { scrollViewDidScroll(); };

    m_pPageCtrl = new UIPageControl(QRect(0, kPageHeight - 1, kPageWidth, 40), view);
    m_pPageCtrl->onAction = [this](UIPageControl*) { pageAction(); };

    m_helpButton = new UIImageButton(QRect(288, 0, 30, 30), QStringLiteral("help push.png"), QStringLiteral("help.png"), view);
    connect(m_helpButton, &QAbstractButton::clicked, this, [this] { helpDisplay(); });

    // Anything that stands under the page control must not cover it.
    view->onLayout = [this](UIView* v) {
        m_pPageCtrl->setGeometry(0, std::min(kPageHeight - 1, v->height() - 40), kPageWidth, 40);
    };
    setView(view);
    initWizard();
    m_pPageCtrl->raise();
    m_helpButton->raise();
    rememberPagesAsStart();
}

void NewFormulaViewController::initWizard()
{
    QWidget* pages = m_pScrollView->contentView();
    m_pForm1 = new Form1(QRect(0, 0, kPageWidth, kPageHeight), m_pScrollView, pages);
    m_pForm1->setProperty("tag", kForm1Tag);
    m_pForm2 = new Form2(QRect(kPageWidth, 0, kPageWidth, kPageHeight), m_pScrollView, m_nViewMode, pages);
    m_pForm2->setProperty("tag", kForm1Tag + 1);
    m_pForm3 = new Form3(QRect(2 * kPageWidth, 0, kPageWidth, kPageHeight), m_pScrollView, m_nViewMode, pages);
    m_pForm3->setProperty("tag", kForm1Tag + 2);

    m_pForm1->onTypeChanged = [this](int nType) {
        mg_nFormulaType = nType;
        updateDoneButton(currentPage());
    };
    m_pForm3->formulaType = [this] { return mg_nFormulaType; };

    m_nPageCount = WIZARD_FIRST_PARAMETER_PAGE;
    m_pScrollView->setContentSize(QSize(kPageWidth * m_nPageCount, kPageHeight));
    m_pPageCtrl->setNumberOfPages(m_nPageCount);
    m_pPageCtrl->setCurrentPage(0);
}

void NewFormulaViewController::viewWillAppear(bool)
{
    navigationItem()->setTitle(m_nViewMode == WIZARD_MODE_NEW ? QStringLiteral("New Formula")
                                                               : QStringLiteral("Edit Formula"));
}

// ---------------------------------------------------------------- pages

Form4* NewFormulaViewController::form4(int nIndex) const
{
    if (nIndex < 0 || nIndex >= WIZARD_MAX_PARAMETERS)
        return nullptr;
    return m_arrForm4Pages[static_cast<std::size_t>(nIndex)].data();
}

int NewFormulaViewController::currentPage() const
{
    if (!m_pScrollView)
        return 0;
    const int nPage = pageAtOffset(m_pScrollView->contentOffset().x(), m_pScrollView->width());
    return std::clamp(nPage, 0, std::max(0, m_nPageCount - 1));
}

void NewFormulaViewController::scrollToPage(int nPage, bool animated)
{
    view();
    nPage = std::clamp(nPage, 0, std::max(0, m_nPageCount - 1));
    m_pScrollView->setContentOffset(QPointF(nPage * m_pScrollView->width(), 0), animated);
}

void NewFormulaViewController::pageAction()
{
    scrollToPage(m_pPageCtrl->currentPage(), true);
}

void NewFormulaViewController::scrollViewDidScroll()
{
    const int nPage = pageAtOffset(m_pScrollView->contentOffset().x(), m_pScrollView->width());
    m_pPageCtrl->setCurrentPage(nPage);
    g_contextHelpId = contextHelpIdForPage(nPage);
    updateDoneButton(nPage);
    if (nPage == 1)
        UINotificationCenter::defaultCenter().postNotification("updateTextViewForm1", this);
    else if (nPage >= WIZARD_FIRST_PARAMETER_PAGE)
        UINotificationCenter::defaultCenter().postNotification("updateTextViewForm4", this);

    if (nPage != m_nShownPage) {
        // Leaving Step 3 ends the editing of its number, which commits it.
        if (m_nShownPage == 2 && m_pForm3->countField()->hasFocus())
            UIResignFocus(m_pForm3->countField());
        m_nShownPage = nPage;
    }
}

void NewFormulaViewController::updateDoneButton(int nPage)
{
    m_pDoneItem->setEnabled(isDoneEnabled(nPage, m_nPageCount, mg_nFormulaType));
}

void NewFormulaViewController::updatePages(int nCount)
{
    view();
    nCount = std::clamp(nCount, 0, WIZARD_MAX_PARAMETERS);
    m_pDoneItem->setEnabled(nCount == 0 && mg_nFormulaType == FORMULA_TYPE_THEORY);
    QWidget* pages = m_pScrollView->contentView();
    for (int i = 0; i < WIZARD_MAX_PARAMETERS; ++i) {
        QPointer<Form4>& page = m_arrForm4Pages[static_cast<std::size_t>(i)];
        const QRect frame((WIZARD_FIRST_PARAMETER_PAGE + i) * kPageWidth, 0, kPageWidth, kPageHeight);
        if (i < nCount) {
            // Pages that stay keep what was typed in them.
            if (!page) {
                page = new Form4(frame, m_pScrollView, pages);
                page->show();
            } else {
                page->setGeometry(frame);
            }
            page->setParameterNumber(i);
            page->setProperty("tag", kForm4Tag + i);
        } else if (page) {
            Form4* gone = page;
            page = nullptr;
            gone->hide();
            gone->deleteLater();
        }
    }
    m_nPageCount = nCount + WIZARD_FIRST_PARAMETER_PAGE;
    m_pScrollView->setContentSize(QSize(kPageWidth * m_nPageCount, kPageHeight));
    m_pPageCtrl->setNumberOfPages(m_nPageCount);
    m_pPageCtrl->setCurrentPage(currentPage());
    m_pPageCtrl->raise();
    m_helpButton->raise();
}

// Tab and Return may move the focus to a field of another page: the pages
// follow it, and the page scrolls the field into view. Focus that comes back
// with the window (after the picture picker, say) leaves the page alone.
bool NewFormulaViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::OtherFocusReason)
            onFocusChanged(qobject_cast<QWidget*>(watched));
    }
    return UIViewController::eventFilter(watched, event);
}

void NewFormulaViewController::onFocusChanged(QWidget* now)
{
    if (!now || !m_pScrollView || !m_pScrollView->isAncestorOf(now))
        return;
    QWidget* page = now;
    while (page && page->parentWidget() != m_pScrollView->contentView())
        page = page->parentWidget();
    if (!page)
        return;
    const int nPage = page->x() / kPageWidth;
    if (nPage != currentPage())
        scrollToPage(nPage, true);
    if (auto* formPage = qobject_cast<FormPage*>(page))
        formPage->ensureVisible(now);
}

// ---------------------------------------------------------------- help

void NewFormulaViewController::helpDisplay()
{
    UINavigationController* nav = navigationController();
    if (!nav || !_contextHelpViewController)
        return;
    navigationItem()->setTitle(QStringLiteral(" Back "));
    // The step on screen now: another wizard may have moved the shared value since.
    g_contextHelpId = contextHelpIdForPage(currentPage());
    nav->pushViewController(_contextHelpViewController, true);
}

// ---------------------------------------------------------------- Done

bool NewFormulaViewController::readPages()
{
    // A Step 3 number still being edited is committed first, so that the
    // parameter pages and the count agree before anything is read. A theory
    // formula commits nothing here: that would drop filled-in pages, and the
    // check of the count tells the user what to do.
    int nTyped = 0;
    m_pForm3->getFormInfo(nTyped);
    if (mg_nFormulaType == FORMULA_TYPE_CALCULABLE && nTyped != m_nPageCount - WIZARD_FIRST_PARAMETER_PAGE &&
        !m_pForm3->commitCount())
        return false;

    m_pForm1->getFormInfo(*m_pFormInfo1);
    m_pForm2->getFormInfo(*m_pFormInfo2);
    m_pForm3->getFormInfo(*m_pFormInfo3);
    m_arrFormInfo4.clear();
    for (int i = 0; i < WIZARD_MAX_PARAMETERS; ++i) {
        if (Form4* page = form4(i)) {
            auto info = std::make_unique<FORM4_INFO>();
            page->getFormInfo(*info);
            m_arrFormInfo4.push_back(std::move(info));
        }
    }
    return true;
}

FORMULA_WIZARD_INFO NewFormulaViewController::formInfo() const
{
    FORMULA_WIZARD_INFO info;
    info.m_form1 = *m_pFormInfo1;
    info.m_form2 = *m_pFormInfo2;
    info.m_nParamCount = *m_pFormInfo3;
    for (const auto& form : m_arrFormInfo4)
        info.m_arrForm4.push_back(*form);
    return info;
}

FORMULA_WIZARD_INFO NewFormulaViewController::pagesInfo() const
{
    FORMULA_WIZARD_INFO info;
    m_pForm1->getFormInfo(info.m_form1);
    m_pForm2->getFormInfo(info.m_form2);
    m_pForm3->getFormInfo(info.m_nParamCount);
    for (int i = 0; i < WIZARD_MAX_PARAMETERS; ++i) {
        if (Form4* page = form4(i)) {
            info.m_arrForm4.emplace_back();
            page->getFormInfo(info.m_arrForm4.back());
        }
    }
    return info;
}

void NewFormulaViewController::rememberPagesAsStart()
{
    m_startPages = pagesInfo();
}

bool NewFormulaViewController::hasUnsavedChanges() const
{
    return isViewLoaded() && !(pagesInfo() == m_startPages);
}

bool NewFormulaViewController::navigationShouldPopOnBackButton()
{
    if (!hasUnsavedChanges())
        return true;
    auto* alert = new UIAlertView(QStringLiteral("Discard changes?"),
                                  QStringLiteral("This formula has changes that are not saved. Leave the wizard "
                                                 "and lose them?"),
                                  QStringLiteral("Keep Editing"), {QStringLiteral("Discard")});
    alert->onClicked = [this](UIAlertView*, int index) {
        if (index == 1)
            closeEditor();
    };
    alert->show();
    return false;
}

void NewFormulaViewController::showWarning(const std::string& strMessage)
{
    auto* alert = new UIAlertView(QString::fromLatin1(WIZARD_ALERT_TITLE), QString::fromStdString(strMessage),
                                  QString::fromLatin1(WIZARD_ALERT_BUTTON));
    alert->show();
}

void NewFormulaViewController::closeEditor()
{
    if (QWidget* focus = view()->focusWidget())
        UIResignFocus(focus);
    if (UINavigationController* nav = navigationController())
        nav->popViewControllerAnimated(true);
}

void NewFormulaViewController::onCreateNewFormulaDone()
{
    if (!readPages())
        return;
    const FORMULA_WIZARD_INFO info = formInfo();
    std::string strMessage;
    if (!checkFormulaInfo(info, true, strMessage)) {
        showWarning(strMessage);
        return;
    }
    if (!saveNewFormula2(info)) {
        const std::string& strReason = lastSaveFailureReason();
        showWarning(strReason.empty() ? std::string(WIZARD_MSG_SAVE_FAILED)
                                      : std::string(WIZARD_MSG_SAVE_FAILED) + "\n" + strReason);
        return;
    }
    // The browser shows the user book's new rows.
    UINotificationCenter::defaultCenter().postNotification("reloadFormulaList", this);
    closeEditor();
}
