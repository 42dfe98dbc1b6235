// Calcudex: the formula reference and calculator window.

#include "shell/CalcudexAppDelegate.h"
#include "ui/UIStyle.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calcudex"));
    QApplication::setFont(UIStyle::systemFont(14));
    CalcudexAppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    return app.exec();
}
