#include "auxiliary/HelpViewController.h"

#include "auxiliary/HelpView.h"
#include "ui/UIApplicationDelegate.h"

HelpViewController::HelpViewController(QObject* parent) : UIViewController(parent)
{
    setTitle(QStringLiteral("Help"));
}

void HelpViewController::loadView()
{
    m_pHelpView = new HelpView(QRect(0, 0, 320, 455));
    setView(m_pHelpView);
}

void HelpViewController::viewWillDisappear(bool)
{
    if (UIApplicationDelegate* delegate = UIApplicationDelegate::sharedApplicationDelegate())
        delegate->onFullScreen(false);
}
