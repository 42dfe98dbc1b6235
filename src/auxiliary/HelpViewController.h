#pragma once
// The paged picture help, shown full screen from the More menu.

#include "ui/UIViewController.h"

class HelpView;

class HelpViewController : public UIViewController {
    Q_OBJECT
public:
    explicit HelpViewController(QObject* parent = nullptr);

    void viewWillDisappear(bool animated) override;
    HelpView* helpView() const { return m_pHelpView; }

protected:
    void loadView() override;

private:
    HelpView* m_pHelpView = nullptr;
};
