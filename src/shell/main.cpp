// Calcudex: the formula reference and calculator window.

#include "shell/CalcudexAppDelegate.h"
#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"
#include "storage/BookFolders.h"
#include "ui/UIStyle.h"
#include "ui/UIWindow.h"
#include "ui/UIWindowHost.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Calcudex"));
    QApplication::setFont(UIStyle::systemFont(14));

    // A second window on the same documents folder brings the first forward.
    const std::string strDocuments = resolveDocumentsFolder();
    SingleInstance instance(QString::fromStdString(strDocuments));
    if (!instance.becomePrimary()) {
        std::fprintf(stderr, "Calcudex is already running on %s; its window was brought to the front.\n",
                     strDocuments.c_str());
        return 0;
    }

    // A plain kill, Ctrl+C or a logout closes the window like its close
    // button, from the first moment on (the event loop acts on it).
    CalcudexAppDelegate delegate;
    // The screen sits in the scaling window host, the program's top-level window.
    auto topLevel = [&delegate]() -> QWidget* {
        return delegate.windowHost() ? static_cast<QWidget*>(delegate.windowHost()) : delegate.window;
    };
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested,
                     [topLevel] { topLevel()->close(); });
    delegate.applicationDidFinishLaunching();
    QObject::connect(&instance, &SingleInstance::activationRequested, [topLevel] {
        QWidget* window = topLevel();
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    });
    return app.exec();
}
