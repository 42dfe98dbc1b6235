#include "auxiliary/ContextHelpViewController.h"

#include "auxiliary/ContextHelpView.h"
#include "auxiliary/HelpPages.h"
#include "shell/Global.h"
#include "ui/UISegmentedControl.h"
#include "ui/UIView.h"

ContextHelpViewController::ContextHelpViewController(QObject* parent) : UIViewController(parent)
{
    _segmentedControl = new UISegmentedControl({QStringLiteral("Help"), QStringLiteral("TeX Tuto")});
    _segmentedControl->resize(150, 30);
    _segmentedControl->setSelectedSegmentIndex(0);
    _segmentedControl->onValueChanged = [this](UISegmentedControl*) { segmentAction(); };
    navigationItem()->setTitleView(_segmentedControl);
}

ContextHelpViewController::~ContextHelpViewController()
{
    // The navigation bar only borrows the title view.
    delete _segmentedControl.data();
}

void ContextHelpViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(320, 440);
    _helpView = new ContextHelpView(QRect(0, 0, 320, 415), view);
    view->onLayout = [this](UIView* v) { _helpView->setGeometry(v->rect()); };
    setView(view);
}

void ContextHelpViewController::segmentAction()
{
    view();
    if (_segmentedControl->selectedSegmentIndex() == 0)
        _helpView->reloadContent(g_contextHelpId);
    else
        _helpView->reloadContent(CONTEXT_HELP_TUTORIAL);
}

void ContextHelpViewController::viewWillAppear(bool)
{
    if (_segmentedControl->selectedSegmentIndex() == 0)
        _helpView->reloadContent(g_contextHelpId);
}

void ContextHelpViewController::viewWillDisappear(bool)
{
    _helpView->stopLoading();
}
