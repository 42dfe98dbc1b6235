// The program as the system runs it: SIGTERM, SIGINT and SIGHUP close it the
// way its close button does (everything saved), and a second window on the
// same documents folder brings the first forward instead of running beside it.

#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Starts calcudex offscreen on the folder and waits until its window is up
// (the browser has read its session).
bool startProgram(QProcess& program, const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CALCUDEX_HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The session's diagnostics (on standard error) say when it is read.
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("calcudex.session.debug=true"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(CALCUDEX_PROGRAM), {});
    if (!program.waitForStarted(10000))
        return false;
    QByteArray out;
    while (!out.contains("Session loaded.") && program.waitForReadyRead(20000))
        out += program.readAllStandardOutput();
    return out.contains("Session loaded.");
}

} // namespace

class TestProgramLifecycle : public QObject {
    Q_OBJECT

private slots:
    void signalsReachTheEventLoop_data();
    void signalsReachTheEventLoop();
    void signalClosesTheProgramAndSavesEverything_data();
    void signalClosesTheProgramAndSavesEverything();
    void secondInstanceOnTheSameFolderAsksTheFirst();
    void secondProgramBringsTheFirstForwardAndEnds();
};

void TestProgramLifecycle::signalsReachTheEventLoop_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM (kill)") << int(SIGTERM);
    QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
    QTest::newRow("SIGHUP (logout)") << int(SIGHUP);
}

void TestProgramLifecycle::signalsReachTheEventLoop()
{
    QFETCH(int, signal);
    TerminationSignals handlers;
    QSignalSpy spy(&handlers, &TerminationSignals::terminationRequested);
    ::raise(signal);
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), signal);
}

void TestProgramLifecycle::signalClosesTheProgramAndSavesEverything_data()
{
    signalsReachTheEventLoop_data();
}

void TestProgramLifecycle::signalClosesTheProgramAndSavesEverything()
{
    QFETCH(int, signal);
    QTemporaryDir home;
    QProcess program;
    QVERIFY(startProgram(program, home.path()));
    QVERIFY(!QFile::exists(home.path() + "/History.sav"));
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // What the close button saves: the lists and the browser's session.
    QVERIFY(program.readAllStandardOutput().contains("Session saved."));  // standard error, merged
    QVERIFY(QFile::exists(home.path() + "/History.sav"));
    QVERIFY(QFile::exists(home.path() + "/LastSession.sav"));
}

void TestProgramLifecycle::secondInstanceOnTheSameFolderAsksTheFirst()
{
    QTemporaryDir home, other;
    SingleInstance first(home.path());
    QVERIFY(first.becomePrimary());
    QSignalSpy spy(&first, &SingleInstance::activationRequested);

    SingleInstance second(home.path());
    QVERIFY(!second.becomePrimary());
    QTRY_COMPARE(spy.count(), 1);

    SingleInstance elsewhere(other.path());
    QVERIFY(elsewhere.becomePrimary());
    QCOMPARE(spy.count(), 1);
}

void TestProgramLifecycle::secondProgramBringsTheFirstForwardAndEnds()
{
    QTemporaryDir home;
    QProcess first;
    QVERIFY(startProgram(first, home.path()));

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CALCUDEX_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("calcudex.session.debug=true"));
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(CALCUDEX_PROGRAM), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    const QByteArray said = second.readAllStandardError();
    QVERIFY(said.contains("Calcudex is already running on"));
    QVERIFY(!said.contains("Session loaded."));
    QCOMPARE(first.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(20000));
}

#include "test_program_lifecycle.moc"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestProgramLifecycle tests;
    return QTest::qExec(&tests, argc, argv) ? 1 : 0;
}
