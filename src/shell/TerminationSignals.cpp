#include "shell/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int mg_arrSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe's writing end, read by the handler. One set of handlers per
// process: the latest TerminationSignals owns them.
volatile sig_atomic_t mg_fdWrite = -1;

extern "C" void onTerminationSignal(int nSignal)
{
    const int nErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    if (mg_fdWrite >= 0) {
        // A full pipe already holds a request: losing this one is fine.
        [[maybe_unused]] const ssize_t n = ::write(mg_fdWrite, &byte, 1);
    }
    errno = nErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (::pipe2(m_arrPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_pNotifier = new QSocketNotifier(m_arrPipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
    mg_fdWrite = m_arrPipe[1];
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : mg_arrSignals)
        ::sigaction(nSignal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (m_arrPipe[0] < 0)
        return;
    for (int nSignal : mg_arrSignals)
        ::signal(nSignal, SIG_DFL);
    if (mg_fdWrite == m_arrPipe[1])
        mg_fdWrite = -1;
    delete m_pNotifier;
    ::close(m_arrPipe[0]);
    ::close(m_arrPipe[1]);
}

void TerminationSignals::onReadable()
{
    unsigned char byte;
    while (::read(m_arrPipe[0], &byte, 1) == 1)
        emit terminationRequested(byte);
}
