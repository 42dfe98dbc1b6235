#include "shell/CalcudexKeyboardController.h"

#include "auxiliary/MoreViewController.h"
#include "browser/EditFavoritesViewController.h"
#include "browser/FormulaViewController.h"
#include "shell/CalcudexAppDelegate.h"
#include "ui/UIAlertView.h"
#include "ui/UILogging.h"
#include "ui/UINavigationController.h"
#include "ui/UISearchBar.h"
#include "ui/UITabBarController.h"
#include "ui/UIWindow.h"
#include "ui/UIWindowHost.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int kFormulasTab = 0;
constexpr int kMoreTab = 3;

} // namespace

CalcudexKeyboardController::CalcudexKeyboardController(CalcudexAppDelegate* delegate, UIWindowHost* host)
    : QObject(delegate), m_pDelegate(delegate), m_pHost(host)
{
    // Keys nobody on the screen took come up to the screen's window, and the
    // host's zoom keys to the host.
    delegate->window->installEventFilter(this);
    if (host)
        host->installEventFilter(this);
}

bool CalcudexKeyboardController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (UIModalOverlay::isAnyVisible())
        return false;
    if (handleKey(key->key(), key->modifiers() & ~Qt::KeypadModifier)) {
        qCDebug(lcKeyboard) << "window key" << QKeySequence(key->keyCombination()).toString();
        return true;
    }
    return false;
}

bool CalcudexKeyboardController::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier)
        return goBack();
    if (key == Qt::Key_Left && modifiers == Qt::AltModifier)
        return goBack();
    if (!ctrl)
        return false;
    switch (key) {
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
        return selectTab(key - Qt::Key_1);
    case Qt::Key_F:
        return focusSearch();
    case Qt::Key_N:
        return openNewFormula();
    case Qt::Key_Q:
        quit();
        return true;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        if (m_pHost)
            m_pHost->zoomIn();
        return m_pHost != nullptr;
    case Qt::Key_Minus:
        if (m_pHost)
            m_pHost->zoomOut();
        return m_pHost != nullptr;
    case Qt::Key_0:
        if (m_pHost)
            m_pHost->resetZoom();
        return m_pHost != nullptr;
    default:
        return false;
    }
}

bool CalcudexKeyboardController::isFavoritesEditorShown() const
{
    QWidget* tabs = m_pDelegate->m_tabbarCtrler->view();
    return !tabs->isVisible() || m_pDelegate->transitionView()->isTransitioning();
}

bool CalcudexKeyboardController::goBack()
{
    // The Favorites editor's way back is its "Done".
    if (isFavoritesEditorShown()) {
        if (m_pDelegate->transitionView()->isTransitioning())
            return false;
        m_pDelegate->favoritesEditViewController()->doneAction();
        return true;
    }
    auto* nav = qobject_cast<UINavigationController*>(m_pDelegate->m_tabbarCtrler->selectedViewController());
    if (!nav || nav->isAnimating())
        return false;
    UINavigationBar* bar = nav->navigationBar();
    // A pushed screen goes back by the bar's back button; a root screen has
    // Back only as its own left button (the browser's " Back ").
    if (UIBarButton* back = bar->backButton(); back && back->isVisible()) {
        back->click();
        return true;
    }
    UIBarButton* left = bar->leftButton();
    if (left && left->isVisible() && left->isEnabled() && left->item()
        && left->item()->title().trimmed() == QLatin1String("Back")) {
        left->click();
        return true;
    }
    return false;
}

bool CalcudexKeyboardController::selectTab(int index)
{
    if (isFavoritesEditorShown() || index < 0 || index >= m_pDelegate->m_tabbarCtrler->viewControllers().size())
        return false;
    m_pDelegate->m_tabbarCtrler->setSelectedIndex(index);
    m_pDelegate->m_tabbarCtrler->focusShownScreen();
    return true;
}

bool CalcudexKeyboardController::focusSearch()
{
    if (!selectTab(kFormulasTab))
        return false;
    auto* nav = qobject_cast<UINavigationController*>(m_pDelegate->m_tabbarCtrler->selectedViewController());
    FormulaViewController* browser = m_pDelegate->formulaViewController();
    if (!nav || nav->topViewController() != browser || !browser->searchBar())
        return false;
    QLineEdit* field = browser->searchBar()->textField();
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
    return true;
}

bool CalcudexKeyboardController::openNewFormula()
{
    if (!selectTab(kMoreTab))
        return false;
    auto* nav = qobject_cast<UINavigationController*>(m_pDelegate->m_tabbarCtrler->selectedViewController());
    auto* more = nav ? qobject_cast<MoreViewController*>(nav->viewControllers().value(0)) : nullptr;
    if (!more)
        return false;
    if (nav->topViewController() != more) {
        // The wizard on screen already is the place to go.
        if (nav->topViewController() == more->newFormulaViewController())
            return true;
        nav->popToRootViewControllerAnimated(false);
    }
    more->tableViewDidSelectRow(more->tableView(), 0);
    return true;
}

void CalcudexKeyboardController::quit()
{
    // What a normal close saves is saved before the event loop ends.
    m_pDelegate->applicationWillTerminate();
    QCoreApplication::exit(0);
}
