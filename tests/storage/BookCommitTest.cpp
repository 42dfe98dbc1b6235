// A book write interrupted at any instant leaves the old book or the new one:
// the kill-injection test stops a child process after every step of every
// kind of write; recovery, the writer lock, the reasons of failures and the
// restoring of a shipped book.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "../FileSizeLimit.h"
#include "StorageTestSupport.h"
#include "storage/BookCommit.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace fs = std::filesystem;
using storage_detail::g_pfnBookCommitStepHook;

namespace {

const char* const kOldBook =
    "*\nForId=1\nForName=Mechanics\n"
    "***\nForId=1.1\nForType=1\nForName=Work\nForDes=W\nForMime=W=Fs\n"
    "Para=\"W\" \"Work\" \"w\" \"J\" \"0\"\nPara=\"F\" \"Force\" \"f\" \"N\" \"0\"\n"
    "For=\"f*s\" \"w/s\"\nImage=\"w.png\"\n"
    "***\nForId=1.2\nForType=0\nForName=Newton\nForDes=N\nForMime=F=ma\nImage=\n";

const char* const kOtherBook =
    "*\nForId=3\nForName=Optics\n"
    "***\nForId=3.1\nForType=1\nForName=Lens\nForDes=L\nForMime=1/f=1/a+1/b\n"
    "Para=\"f\" \"Focal\" \"f\" \"m\" \"0\"\nFor=\"1/(1/a+1/b)\"\nImage=\n";

const char* const kAppended =
    "***\nForId=1.3\nForType=1\nForName=Power\nForDes=P\nForMime=P=W/t\n"
    "Para=\"P\" \"Power\" \"p\" \"W\" \"0\"\nFor=\"w/t\"\nImage=\n";

FORMULA_NODE_INFO entry(const char* szId, const char* szName, std::uint32_t uiType)
{
    _fornode node;
    setNode(node, szId, szName, uiType);
    return makeNodeInfo(node, "Math");
}

// The step hook of the child: the process dies right after step mg_nKillAt.
int mg_nKillAt = 0;
int mg_nSteps = 0;
void countOrKill(int nStep)
{
    mg_nSteps = nStep;
    if (nStep == mg_nKillAt)
        ::raise(SIGKILL);
}

class BookCommit : public TempHomeTest {
public:
    std::string sourceFile(const char* szName) const { return path(szName); }

protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ASSERT_TRUE(compileText("Math", kOldBook));
        m_old = snapshot();
        writeText(path("append.txt"), kAppended);
        writeText(path("create.txt"), kOtherBook);
        // The "shipped" Math of the restore is the other book.
        ASSERT_TRUE(compileText("Optics", kOtherBook));
        m_strResources = path("res");
        fs::create_directories(m_strResources + "/Formulas/Math");
        const std::vector<std::string> optics = bookPaths("Optics");
        for (int i = 0; i < 4; ++i)
            fs::copy_file(optics[static_cast<std::size_t>(i)],
                          m_strResources + "/Formulas/Math/Math_" + g_arrBookFileNames[i]);
        g_sAppPath = m_strResources;
    }

    void TearDown() override
    {
        g_pfnBookCommitStepHook = nullptr;
        TempHomeTest::TearDown();
    }

    std::vector<Bytes> snapshot()
    {
        std::vector<Bytes> files;
        for (const std::string& strPath : bookPaths("Math"))
            files.push_back(pathExists(strPath) ? readBytes(strPath) : Bytes{'-'});
        return files;
    }

    void putBack(const std::vector<Bytes>& files)
    {
        for (const std::string& strName : leftoverTemporaryFiles(m_strHome))
            fs::remove(path(strName));
        for (std::size_t i = 0; i < 4; ++i)
            writeBytes(bookPaths("Math")[i], files[i]);
    }

    // What a reader sees first: opening the book finishes a pending commit.
    std::vector<Bytes> openedBook()
    {
        FormulasFolderSwitch useBook("Math");
        std::vector<_tag_formula_pos> vecPos;
        getIndexFormula(vecPos);
        return snapshot();
    }

    std::string m_strResources;
    std::vector<Bytes> m_old;
};

struct WriteOperation {
    const char* m_szName;
    std::function<bool(BookCommit&)> m_fnWrite;
};

const WriteOperation kOperations[] = {
    {"append", [](BookCommit& t) {
         FormulasFolderSwitch useBook("Math");
         return createFormulaDataFromTextFile(t.sourceFile("append.txt"), true);
     }},
    {"create", [](BookCommit& t) {
         FormulasFolderSwitch useBook("Math");
         return createFormulaDataFromTextFile(t.sourceFile("create.txt"), false);
     }},
    {"edit", [](BookCommit&) {
         _tag_formula_des des;
         des.m_strName = "Work done";
         des.m_strDes = std::string(300, 'd');
         _tag_formula_detail det;
         det.m_nParamCount = 1;
         det.m_arrParams[0].m_strAlias = "w";
         det.m_vecCalcFormulas = {"f*s"};
         return editFormulaInBook(entry(".1.1", "Work done", 1), des, det);
     }},
    {"delete", [](BookCommit&) { return deleteFormulaFromBook(entry(".1.1", "Work", 1)); }},
    {"restore", [](BookCommit&) { return restoreShippedBook("Math"); }},
};

// Every step of every write is, in turn, the last thing the writer does. The
// book the next reader opens is the old one or the new one, no temporary
// file stays after the next start, and the same write done again gives the
// new book.
TEST_F(BookCommit, KillAfterAnyStepLeavesTheOldOrTheNewBook)
{
    int nTotalTrials = 0;
    for (const WriteOperation& op : kOperations) {
        SCOPED_TRACE(op.m_szName);
        putBack(m_old);
        mg_nKillAt = 0;
        g_pfnBookCommitStepHook = countOrKill;
        ASSERT_TRUE(op.m_fnWrite(*this));
        g_pfnBookCommitStepHook = nullptr;
        const int nSteps = mg_nSteps;
        const std::vector<Bytes> newBook = snapshot();
        ASSERT_NE(newBook, m_old);
        ASSERT_GE(nSteps, 15);

        int nOld = 0, nNew = 0, nMixed = 0;
        for (int k = 1; k <= nSteps; ++k) {
            SCOPED_TRACE("killed after step " + std::to_string(k));
            putBack(m_old);
            std::fflush(nullptr);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                mg_nKillAt = k;
                g_pfnBookCommitStepHook = countOrKill;
                op.m_fnWrite(*this);
                ::_exit(3);  // the step never came
            }
            int nStatus = 0;
            ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
            ASSERT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL);

            const std::vector<Bytes> opened = openedBook();
            EXPECT_TRUE(opened == m_old || opened == newBook);
            (opened == m_old ? nOld : opened == newBook ? nNew : nMixed) += 1;
            EXPECT_TRUE(recoverPendingBookCommit());
            EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
            EXPECT_EQ(snapshot(), opened);

            if (opened == m_old) {
                EXPECT_TRUE(op.m_fnWrite(*this));
                EXPECT_EQ(snapshot(), newBook);
            }
            ++nTotalTrials;
        }
        // Both outcomes occur: the commit point lies between the steps.
        EXPECT_GT(nOld, 0);
        EXPECT_GT(nNew, 0);
        std::printf("kill-injection %-7s %2d steps: old book %2d, new book %2d, mixed %d\n", op.m_szName, nSteps,
                    nOld, nNew, nMixed);
    }
    std::printf("kill-injection: %d kills, every one left the old or the new book\n", nTotalTrials);
}

// ---- Recovery ------------------------------------------------------------------------

struct RecoveryCase {
    const char* what;
    bool bJournal;         // the journal names the book
    int nRenamedAlready;   // temporary files already renamed before the kill
    bool bExpectNew;
};

TEST_F(BookCommit, RecoveryRollsForwardWithAJournalAndBackWithout)
{
    putBack(m_old);
    ASSERT_TRUE(kOperations[0].m_fnWrite(*this));
    const std::vector<Bytes> newBook = snapshot();
    const RecoveryCase cases[] = {
        {"temporary files only", false, 0, false},
        {"journal, nothing renamed yet", true, 0, true},
        {"journal, two files renamed", true, 2, true},
        {"journal, every file renamed", true, 4, true},
    };
    for (const RecoveryCase& c : cases) {
        SCOPED_TRACE(c.what);
        putBack(m_old);
        std::vector<std::string> tmp = {getTreeFilenameTmp(), getIndexFilenameTmp(), getDesFilenameTmp(),
                                        getDetailFilenameTmp()};
        for (std::size_t i = 0; i < 4; ++i)
            writeBytes(i < static_cast<std::size_t>(c.nRenamedAlready) ? bookPaths("Math")[i] : tmp[i], newBook[i]);
        if (c.bJournal)
            writeText(getBookJournalFilename(), "calcudex book journal 1\nMath\n");
        ASSERT_TRUE(recoverPendingBookCommit());
        EXPECT_EQ(snapshot(), c.bExpectNew ? newBook : m_old);
        EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
    }
}

// A journal that is not ours names nothing to rename: it goes with the
// temporary files, and no file outside the book's four is ever touched.
TEST_F(BookCommit, ForeignJournalIsDiscarded)
{
    for (const char* szJournal : {"calcudex book journal 1\n../../etc/passwd\n", "garbage", "",
                                  "calcudex book journal 1\nUser Define/../Math\n"}) {
        SCOPED_TRACE(szJournal);
        putBack(m_old);
        writeBytes(getTreeFilenameTmp(), Bytes{'x'});
        writeText(getBookJournalFilename(), szJournal);
        EXPECT_EQ(openedBook(), m_old);
        ASSERT_TRUE(recoverPendingBookCommit());
        EXPECT_EQ(snapshot(), m_old);
        EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
    }
}

// ---- The writer lock ------------------------------------------------------------------

TEST_F(BookCommit, WritersWaitForTheLockAndGiveUpWithBusy)
{
    storage_detail::g_nBookLockWaitMilliseconds = 0;
    // Another process holds the lock (a second open file is as foreign to
    // flock as another process).
    const int fd = ::open(getBookLockFilename().c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    for (const WriteOperation& op : kOperations) {
        SCOPED_TRACE(op.m_szName);
        EXPECT_FALSE(op.m_fnWrite(*this));
        EXPECT_EQ(getLastBookWriteError(), BOOK_WRITE_BUSY);
        EXPECT_EQ(snapshot(), m_old);
    }
    ::close(fd);
    storage_detail::g_nBookLockWaitMilliseconds = 3000;
    EXPECT_TRUE(kOperations[0].m_fnWrite(*this));
    EXPECT_EQ(getLastBookWriteError(), BOOK_WRITE_OK);
}

// ---- Failures tell why ----------------------------------------------------------------

TEST_F(BookCommit, FullDiskIsReportedAndLeavesTheBook)
{
    for (const WriteOperation& op : kOperations) {
        SCOPED_TRACE(op.m_szName);
        putBack(m_old);
        bool bOk;
        {
            FileSizeLimit limit(10);  // smaller than every book file written
            bOk = op.m_fnWrite(*this);
        }
        EXPECT_FALSE(bOk);
        EXPECT_EQ(getLastBookWriteError(), BOOK_WRITE_NO_SPACE);
        EXPECT_EQ(snapshot(), m_old);
        EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
    }
}

// The documents folder cannot be written. Root may write anywhere, so the
// writes are tried by a child that gave up root.
TEST_F(BookCommit, ReadOnlyFolderIsReportedAndLeavesTheBook)
{
    fs::permissions(m_strHome, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
    for (const std::string& strPath : bookPaths("Math"))
        fs::permissions(strPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(path("append.txt"), fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(path("create.txt"), fs::perms::owner_read | fs::perms::others_read);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(10);
        int nFailures = 0;
        for (const WriteOperation& op : kOperations) {
            if (op.m_fnWrite(*this) || getLastBookWriteError() != BOOK_WRITE_READ_ONLY)
                ++nFailures;
        }
        ::_exit(nFailures);
    }
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
    fs::permissions(m_strHome, fs::perms::owner_all);
    EXPECT_EQ(snapshot(), m_old);
    EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
}

// ---- Restoring a shipped book -------------------------------------------------------------

TEST_F(BookCommit, RestorePutsTheShippedFilesBackAndNeverTouchesTheUsersBook)
{
    ASSERT_TRUE(restoreShippedBook("mAtH"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(readBytes(bookPaths("Math")[static_cast<std::size_t>(i)]),
                  readBytes(m_strResources + "/Formulas/Math/Math_" + g_arrBookFileNames[i]));

    ASSERT_TRUE(compileText("User Define", kOldBook));
    const Bytes userIndex = readBytes(bookPaths("User Define")[1]);
    fs::create_directories(m_strResources + "/Formulas/User Define");
    for (int i = 0; i < 4; ++i)
        writeText(m_strResources + "/Formulas/User Define/User Define_" + g_arrBookFileNames[i], "");
    for (const char* szBook : {"User Define", "user define", "Nonsense", "", "../Math"}) {
        EXPECT_FALSE(restoreShippedBook(szBook)) << szBook;
        EXPECT_EQ(getLastBookWriteError(), BOOK_WRITE_FAILED);
    }
    EXPECT_EQ(readBytes(bookPaths("User Define")[1]), userIndex);

    // A shipped book missing from the resource folder leaves the copy as it is.
    const std::vector<Bytes> before = snapshot();
    fs::remove(m_strResources + "/Formulas/Math/Math_fordes.dat");
    EXPECT_FALSE(restoreShippedBook("Math"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
}

// ---- The command line killed at random moments ---------------------------------------------

// Runs calcudex-cli with the documents folder strHome; with nKillAfterMicros
// >= 0 the process gets SIGKILL that long after it was started. The result
// is the exit status, or -SIGKILL when the kill came first.
int runCli(const std::string& strHome, const std::vector<std::string>& args, long nKillAfterMicros = -1)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("CALCUDEX_HOME", strHome.c_str(), 1);
        ::setenv("CALCUDEX_RESOURCES", CALCUDEX_BUILD_RESOURCES, 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv{const_cast<char*>(CALCUDEX_CLI)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(CALCUDEX_CLI, argv.data());
        ::_exit(127);
    }
    if (nKillAfterMicros >= 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(nKillAfterMicros));
        ::kill(pid, SIGKILL);
    }
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    return WIFSIGNALED(nStatus) ? -WTERMSIG(nStatus) : WEXITSTATUS(nStatus);
}

// `calcudex-cli compile --append` into a shipped book, killed at a random
// moment of its run, 50 times in a row: each time the next program to open
// the book finds the old or the new one, and the append done again works.
TEST_F(BookCommit, CliAppendKilledAtRandomMomentsLeavesTheOldOrTheNewBook)
{
    const std::string strBook = "Electric Engineering";
    const std::string strScratch = path("scratch");
    std::mt19937 rng(13);
    int nKilled = 0, nOld = 0, nNew = 0, nMixed = 0;
    for (int t = 1; t <= 50; ++t) {
        SCOPED_TRACE("trial " + std::to_string(t));
        const std::string strSource = path("formula.txt");
        writeText(strSource, "***\nForId=250." + std::to_string(t) + "\nForType=1\nForName=Trial " +
                                 std::to_string(t) + "\nForDes=d\nForMime=x\nPara=\"x\" \"X\" \"x\" \"1\" \"0\"\n"
                                 "For=\"\"\nImage=\n");
        const std::vector<std::string> append = {"compile", strSource, strBook, "--append"};
        ASSERT_EQ(runCli(m_strHome, {"tree", strBook}), 0);
        const std::vector<std::string> paths = bookPaths(strBook);
        std::vector<Bytes> oldBook;
        for (const std::string& p : paths)
            oldBook.push_back(readBytes(p));

        // The new book, made undisturbed in a copy of the folder; its run
        // time is the range of the kill.
        fs::remove_all(strScratch);
        fs::create_directories(strScratch);
        for (const std::string& p : paths)
            fs::copy_file(p, strScratch + "/" + fs::path(p).filename().string());
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(runCli(strScratch, append), 0);
        const long nRunMicros = static_cast<long>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
        std::vector<Bytes> newBook;
        for (const std::string& p : paths)
            newBook.push_back(readBytes(strScratch + "/" + fs::path(p).filename().string()));

        const int nStatus = runCli(m_strHome, append, std::uniform_int_distribution<long>(0, nRunMicros)(rng));
        nKilled += nStatus == -SIGKILL;
        ASSERT_EQ(runCli(m_strHome, {"tree", strBook}), 0);  // the next program opens the book
        std::vector<Bytes> opened;
        for (const std::string& p : paths)
            opened.push_back(readBytes(p));
        EXPECT_TRUE(opened == oldBook || opened == newBook);
        (opened == oldBook ? nOld : opened == newBook ? nNew : nMixed) += 1;
        EXPECT_EQ(leftoverTemporaryFiles(m_strHome), std::vector<std::string>());
        if (opened == oldBook) {
            ASSERT_EQ(runCli(m_strHome, append), 0);
            for (std::size_t i = 0; i < 4; ++i)
                EXPECT_EQ(readBytes(paths[i]), newBook[i]);
        }
    }
    std::printf("random kills of calcudex-cli compile --append: 50 trials, %d killed while running, "
                "old book %d, new book %d, mixed %d\n", nKilled, nOld, nNew, nMixed);
}

}  // namespace
