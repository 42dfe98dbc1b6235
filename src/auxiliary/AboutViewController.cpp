#include "auxiliary/AboutViewController.h"

#include "Version.h"
#include "ui/UILogging.h"
#include "ui/UIStyle.h"
#include "ui/UIView.h"

#include <QLabel>

AboutViewController::AboutViewController(QObject* parent) : UIViewController(parent)
{
    setTitle(QStringLiteral("About"));
}

AboutViewController::~AboutViewController()
{
    qCDebug(lcScreens) << "dealloc - AboutViewController";
}

void AboutViewController::loadView()
{
    auto* view = new UIView(Qt::white);
    view->resize(320, 460);

    m_lblProductName = new QLabel(QStringLiteral("Calcudex - Free"), view);
    m_lblProductName->setGeometry(0, 130, 320, 40);
    m_lblProductName->setAlignment(Qt::AlignCenter);
    m_lblProductName->setFont(UIStyle::systemFont(26, true));
    QPalette palette = m_lblProductName->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgbF(0.04f, 0.37f, 0.45f, 1.0f));
    m_lblProductName->setPalette(palette);

    m_lblAboutInfo = new QLabel(view);
    m_lblAboutInfo->setGeometry(0, 170, 320, 100);
    m_lblAboutInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblAboutInfo->setWordWrap(true);
    m_lblAboutInfo->setFont(UIStyle::systemFont(14, true));
    m_lblAboutInfo->setText(QStringLiteral("Version %1\nMade by the Calcudex developers.\n"
                                           "Our own 101-digit engine and TeX.")
                                .arg(QString::fromLatin1(CalcudexVersion())));
    setView(view);
}
