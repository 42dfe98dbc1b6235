#pragma once

// Changing a book so that a kill or a power cut at any instant leaves either
// the old book or the new one, never a mix of their four files; and the lock
// that lets one writer at a time change the books of a documents folder.
//
// A writer holds BookWriteLock — flock(2) on "calcudex.lock" in the documents
// folder — for its whole operation, in every process (the window and
// `calcudex-cli compile` alike). Under it the writer puts the complete new
// files beside the book as "tmp_fortree.dat", "tmp_indexfor.dat",
// "tmp_fordes.dat" and "tmp_fordetail.dat", flushes them to the disk, and
// commits:
//
//   1. "tmp_journal.dat.part" gets the journal text (below) and is synced;
//   2. it is renamed to "tmp_journal.dat": the commit point, made durable by
//      syncing the folder;
//   3. each temporary file is renamed over its book file (tree, index,
//      description, detail), and the folder synced;
//   4. the journal is removed (and the folder synced).
//
// The journal is two lines: "calcudex book journal 1" and the book's name.
// Whoever meets a journal later finishes steps 3 and 4 (roll forward): a
// temporary file that is gone was renamed already, so finishing is
// idempotent. Temporary files without a journal are what a writer left when
// it died before its commit point; they are removed (roll back). Every
// reader finishes a pending journal before it opens a book file (the name
// builders of Formulas.h call finishPendingBookCommit), the program and the
// command line recover at start, and every writer recovers first.

#include <string>

// Why the last book write failed, for the message the user gets.
enum BOOK_WRITE_ERROR {
    BOOK_WRITE_OK = 0,
    BOOK_WRITE_BUSY,       // another process holds the writer lock
    BOOK_WRITE_NO_SPACE,   // the disk (or the file size limit) is full
    BOOK_WRITE_READ_ONLY,  // the documents folder cannot be written
    BOOK_WRITE_FAILED,     // anything else: a damaged book, an I/O error
};

// Set by every book writer (compilation, edit, delete, restore): OK after a
// success, the reason after a failure.
BOOK_WRITE_ERROR getLastBookWriteError();

// One sentence for the user: "The disk is full.", ... ("" for OK).
const char* bookWriteErrorText(BOOK_WRITE_ERROR nError);

// The same for a failed write of any file, from its errno.
const char* writeErrorText(int nErrno);

// The reason for an errno value of a failed write.
BOOK_WRITE_ERROR classifyWriteErrno(int nErrno);

// "<documents>/calcudex.lock" and "<documents>/tmp_journal.dat".
std::string getBookLockFilename();
std::string getBookJournalFilename();

// The writer lock. Taken again by the process that holds it, it nests (one
// flock per process); without it nothing is written. Waits up to
// g_nBookLockWaitMilliseconds for another process to finish.
class BookWriteLock {
public:
    BookWriteLock();
    ~BookWriteLock();
    BookWriteLock(const BookWriteLock&) = delete;
    BookWriteLock& operator=(const BookWriteLock&) = delete;

    bool isLocked() const { return m_bLocked; }
    // Why it could not be taken: BUSY, or the reason the lock file failed.
    BOOK_WRITE_ERROR error() const { return m_nError; }
    // Whether this process holds the lock now.
    static bool isHeldByThisProcess();

private:
    bool m_bLocked = false;
    BOOK_WRITE_ERROR m_nError = BOOK_WRITE_OK;
};

// A journal left by a writer that died after its commit point is finished
// (the book becomes the new one). Does nothing when there is none, or while
// this process is writing, or (after the wait) while another process is.
void finishPendingBookCommit();

// Start-up and every writer: finishes a pending journal and removes the
// temporary files of a write that never reached its commit point. Skipped
// when another process holds the lock. False only when a pending journal
// could not be finished.
bool recoverPendingBookCommit();

// Restores a shipped book as shipped: its four files in the resource folder
// replace the user's copies in one commit. Refuses "User Define" (the user's
// own formulas are never replaced) and names that are no book. False, with
// getLastBookWriteError() telling why, when the book was left as it was.
bool restoreShippedBook(const std::string& strBook);

// ---- For the tests --------------------------------------------------------------

namespace storage_detail {

// How long a writer waits for the lock held by another process.
extern int g_nBookLockWaitMilliseconds;

// Called with 1, 2, 3, ... after every step of a book write that reaches the
// disk (temporary files created, each file flushed and synced, the journal
// written and renamed, each rename, each sync of the folder, the journal
// removed). Null in the program; the kill-injection test sets it to stop the
// process after a chosen step.
using BookCommitStepHook = void (*)(int nStep);
extern BookCommitStepHook g_pfnBookCommitStepHook;

}  // namespace storage_detail
