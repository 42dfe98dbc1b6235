#pragma once
// The wizard's context help: the help of the step on screen, or the TeX
// tutorial, chosen with the segmented control "Help" / "TeX Tuto" in the
// navigation bar.

#include "ui/UISegmentedControl.h"
#include "ui/UIViewController.h"

#include <QPointer>

class ContextHelpView;

class ContextHelpViewController : public UIViewController {
    Q_OBJECT
public:
    explicit ContextHelpViewController(QObject* parent = nullptr);
    ~ContextHelpViewController() override;

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    ContextHelpView* helpView() const { return _helpView; }
    UISegmentedControl* segmentedControl() const { return _segmentedControl; }
    void segmentAction();

protected:
    void loadView() override;

private:
    ContextHelpView* _helpView = nullptr;
    QPointer<UISegmentedControl> _segmentedControl;
};
