#pragma once
// SIGTERM, SIGINT and SIGHUP (a plain kill, Ctrl+C in the terminal, the end
// of the session at logout) end the program the way its close button does,
// so that everything is saved. Nothing but write(2) is safe inside a signal
// handler: the handler writes the signal's number into a pipe, and a socket
// notifier on the pipe's other end hands it to the event loop, which emits
// terminationRequested.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; the destructor puts the default ones back.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int nSignal);

private:
    void onReadable();

    int m_arrPipe[2] = {-1, -1};
    QSocketNotifier* m_pNotifier = nullptr;
};
