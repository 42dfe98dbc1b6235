// The journaled commit of a book's four files, its recovery, the writer lock
// and the restoring of a shipped book.
#include "storage/BookCommit.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "storage/BookFileIO.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

namespace storage_detail {

int g_nBookLockWaitMilliseconds = 3000;
BookCommitStepHook g_pfnBookCommitStepHook = nullptr;

}  // namespace storage_detail

using namespace storage_detail;

namespace {

const char* const JOURNAL_HEADER = "calcudex book journal 1";
constexpr int LOCK_POLL_MILLISECONDS = 20;

BOOK_WRITE_ERROR mg_nLastError = BOOK_WRITE_OK;
int mg_nStep = 0;

// The process's hold on the lock: one flock, counted by nesting depth. The
// mutex keeps threads of one process (tests) apart as well.
std::recursive_mutex mg_lockMutex;
int mg_nLockDepth = 0;
int mg_fdLock = -1;

void step()
{
    if (g_pfnBookCommitStepHook)
        g_pfnBookCommitStepHook(++mg_nStep);
}

std::string documentsFile(const std::string& strName)
{
    return getDocumentsFolder() + "/" + strName;
}

std::string tmpPath(int i)
{
    return documentsFile(std::string("tmp_") + g_arrBookFileNames[i]);
}

std::string bookPath(const std::string& strBook, int i)
{
    return documentsFile(strBook + "_" + g_arrBookFileNames[i]);
}

std::string journalDraftPath()
{
    return getBookJournalFilename() + ".part";
}

// False when there is no journal. Otherwise strBook is the book it names,
// or "" when it is not one of ours (it then goes with the temporary files:
// nothing in it can be trusted to name a book).
bool readJournal(std::string& strBook)
{
    strBook.clear();
    std::string text;
    if (!common::readWholeFile(getBookJournalFilename(), text))
        return false;
    const std::size_t nEnd = text.find('\n');
    if (nEnd != std::string::npos && text.compare(0, nEnd, JOURNAL_HEADER) == 0)
        strBook = findBookName(std::string(common::trimView(text.substr(nEnd + 1), "\r\n")));
    return true;
}

// unlink, not remove: only files are ours to take away.
void removeTemporaries()
{
    for (int i = 0; i < 4; ++i)
        ::unlink(tmpPath(i).c_str());
    ::unlink(journalDraftPath().c_str());
}

// Steps 3 and 4 of the commit. With bSteps the test hook hears each one.
bool finishJournal(const std::string& strBook, bool bSteps)
{
    const std::string& strFolder = getDocumentsFolder();
    for (int i = 0; i < 4; ++i) {
        const std::string strTmp = tmpPath(i);
        if (common::fileExists(strTmp) && std::rename(strTmp.c_str(), bookPath(strBook, i).c_str()) != 0)
            return false;
        if (bSteps)
            step();
    }
    if (!common::syncFolder(strFolder))
        return false;
    if (bSteps)
        step();
    if (std::remove(getBookJournalFilename().c_str()) != 0)
        return false;
    if (bSteps)
        step();
    common::syncFolder(strFolder);
    if (bSteps)
        step();
    return true;
}

// Recovery under the lock: roll forward with a journal, back without one.
bool recoverLocked()
{
    std::string strBook;
    if (readJournal(strBook)) {
        if (!strBook.empty())
            return finishJournal(strBook, false);
        ::unlink(getBookJournalFilename().c_str());
    }
    removeTemporaries();
    return true;
}

void beginWrite()
{
    mg_nLastError = BOOK_WRITE_OK;
    mg_nStep = 0;
    errno = 0;
}

bool copyShippedFile(const std::string& strFrom, std::FILE* pTo)
{
    std::string bytes;
    if (!common::readWholeFile(strFrom, bytes))
        return false;
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), pTo) == bytes.size();
}

}  // namespace

// ---- Errors -------------------------------------------------------------------------

BOOK_WRITE_ERROR getLastBookWriteError()
{
    return mg_nLastError;
}

const char* bookWriteErrorText(BOOK_WRITE_ERROR nError)
{
    switch (nError) {
    case BOOK_WRITE_OK:
        return "";
    case BOOK_WRITE_BUSY:
        return "Another Calcudex is changing the formula books. Try again in a moment.";
    case BOOK_WRITE_NO_SPACE:
        return "The disk is full.";
    case BOOK_WRITE_READ_ONLY:
        return "The documents folder cannot be written.";
    case BOOK_WRITE_FAILED:
        break;
    }
    return "The book could not be read or written.";
}

const char* writeErrorText(int nErrno)
{
    const BOOK_WRITE_ERROR nError = classifyWriteErrno(nErrno);
    return nError == BOOK_WRITE_FAILED ? "The file could not be written." : bookWriteErrorText(nError);
}

BOOK_WRITE_ERROR classifyWriteErrno(int nErrno)
{
    switch (nErrno) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // the file size limit stands for a full disk
        return BOOK_WRITE_NO_SPACE;
    case EROFS:
    case EACCES:
    case EPERM:
        return BOOK_WRITE_READ_ONLY;
    default:
        return BOOK_WRITE_FAILED;
    }
}

namespace storage_detail {

void noteBookWriteFailure()
{
    if (mg_nLastError == BOOK_WRITE_OK)
        mg_nLastError = classifyWriteErrno(errno);
}

void noteBookWriteFailure(BOOK_WRITE_ERROR nError)
{
    if (mg_nLastError == BOOK_WRITE_OK)
        mg_nLastError = nError;
}

bool beginBookWrite(BookWriteLock& lock)
{
    beginWrite();
    if (!lock.isLocked()) {
        noteBookWriteFailure(lock.error());
        return false;
    }
    if (!recoverLocked()) {
        noteBookWriteFailure();
        return false;
    }
    return true;
}

}  // namespace storage_detail

// ---- The lock -----------------------------------------------------------------------

std::string getBookLockFilename()
{
    return documentsFile("calcudex.lock");
}

std::string getBookJournalFilename()
{
    return documentsFile("tmp_journal.dat");
}

BookWriteLock::BookWriteLock()
{
    mg_lockMutex.lock();
    if (mg_nLockDepth > 0) {
        ++mg_nLockDepth;
        m_bLocked = true;
        return;
    }
    const std::string strPath = getBookLockFilename();
    int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    const int nErrno = errno;
    if (fd < 0)  // a folder that cannot be written may still be read
        fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_nError = classifyWriteErrno(nErrno);
        mg_lockMutex.unlock();
        return;
    }
    for (int nWaited = 0;; nWaited += LOCK_POLL_MILLISECONDS) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if ((errno != EWOULDBLOCK && errno != EINTR) || nWaited >= g_nBookLockWaitMilliseconds) {
            m_nError = errno == EWOULDBLOCK ? BOOK_WRITE_BUSY : BOOK_WRITE_FAILED;
            ::close(fd);
            mg_lockMutex.unlock();
            return;
        }
        ::usleep(LOCK_POLL_MILLISECONDS * 1000);
    }
    mg_fdLock = fd;
    mg_nLockDepth = 1;
    m_bLocked = true;
}

BookWriteLock::~BookWriteLock()
{
    if (!m_bLocked)
        return;
    if (--mg_nLockDepth == 0) {
        ::close(mg_fdLock);  // releases the flock
        mg_fdLock = -1;
    }
    mg_lockMutex.unlock();
}

bool BookWriteLock::isHeldByThisProcess()
{
    std::lock_guard<std::recursive_mutex> guard(mg_lockMutex);
    return mg_nLockDepth > 0;
}

// ---- Recovery -----------------------------------------------------------------------

void finishPendingBookCommit()
{
    // The writer in this process finishes its own journal.
    if (BookWriteLock::isHeldByThisProcess() || !common::fileExists(getBookJournalFilename()))
        return;
    BookWriteLock lock;
    std::string strBook;
    if (lock.isLocked() && readJournal(strBook) && !strBook.empty())
        finishJournal(strBook, false);
}

bool recoverPendingBookCommit()
{
    BookWriteLock lock;
    return !lock.isLocked() || recoverLocked();
}

// ---- The temporary files and the commit ----------------------------------------------

namespace storage_detail {

bool TmpBookFiles::create()
{
    for (int i = 0; i < 4; ++i) {
        m_arrFiles[i] = common::openFile(tmpPath(i), "wb");
        if (!m_arrFiles[i]) {
            noteBookWriteFailure();
            discard();
            return false;
        }
        m_arrCreated[i] = true;
    }
    step();
    return true;
}

bool TmpBookFiles::close()
{
    bool bOk = true;
    for (common::FilePtr& pFile : m_arrFiles) {
        if (!pFile)
            continue;
        if (std::fflush(pFile.get()) != 0 || std::ferror(pFile.get())) {
            noteBookWriteFailure();
            bOk = false;
        }
        step();
        if (bOk && !common::syncFile(pFile.get())) {
            noteBookWriteFailure();
            bOk = false;
        }
        step();
        if (std::fclose(pFile.release()) != 0) {
            noteBookWriteFailure();
            bOk = false;
        }
    }
    return bOk;
}

void TmpBookFiles::discard()
{
    const int nErrno = errno;
    for (common::FilePtr& pFile : m_arrFiles)
        pFile.reset();
    for (int i = 0; i < 4; ++i) {
        if (m_arrCreated[i])
            ::unlink(tmpPath(i).c_str());
        m_arrCreated[i] = false;
    }
    ::unlink(journalDraftPath().c_str());
    errno = nErrno;
}

bool TmpBookFiles::commit()
{
    const std::string strBook = g_sFormulasFolder;
    const std::string strJournal = std::string(JOURNAL_HEADER) + "\n" + strBook + "\n";
    common::FilePtr pDraft = common::openFile(journalDraftPath(), "wb");
    bool bOk = pDraft && std::fwrite(strJournal.data(), 1, strJournal.size(), pDraft.get()) == strJournal.size() &&
               common::syncFile(pDraft.get());
    bOk = pDraft && std::fclose(pDraft.release()) == 0 && bOk;
    if (bOk)
        step();
    if (!bOk || std::rename(journalDraftPath().c_str(), getBookJournalFilename().c_str()) != 0) {
        noteBookWriteFailure();
        discard();
        return false;
    }
    step();
    // From here on the new book is the book: a failure leaves the journal,
    // and the next reader or writer finishes it.
    for (bool& bCreated : m_arrCreated)
        bCreated = false;
    if (!common::syncFolder(getDocumentsFolder())) {
        noteBookWriteFailure();
        return false;
    }
    step();
    if (!finishJournal(strBook, true)) {
        noteBookWriteFailure();
        return false;
    }
    return true;
}

}  // namespace storage_detail

// ---- Restoring a shipped book ------------------------------------------------------

bool restoreShippedBook(const std::string& strName)
{
    BookWriteLock lock;
    if (!beginBookWrite(lock))
        return false;
    const std::string strBook = findBookName(strName);
    if (strBook.empty() || strBook == USER_DEFINE_BOOK) {
        noteBookWriteFailure(BOOK_WRITE_FAILED);
        return false;
    }
    const std::string strShipped =
        (g_sAppPath.empty() ? resolveResourceFolder() : g_sAppPath) + "/Formulas/" + strBook + "/" + strBook + "_";
    FormulasFolderSwitch bookSwitch(strBook);
    TmpBookFiles tmp;
    if (!tmp.create())
        return false;
    std::FILE* arrFiles[4] = {tmp.tree(), tmp.index(), tmp.des(), tmp.det()};
    for (int i = 0; i < 4; ++i) {
        if (!copyShippedFile(strShipped + g_arrBookFileNames[i], arrFiles[i])) {
            noteBookWriteFailure();
            tmp.discard();
            return false;
        }
    }
    if (!tmp.close()) {
        tmp.discard();
        return false;
    }
    return tmp.commit();
}
