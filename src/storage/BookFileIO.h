#pragma once

// Bounded reading of the binary book files, shared by the readers and the
// book rewrite. Internal to the storage folder.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "storage/BookCommit.h"
#include "storage/FormulaRecords.h"
#include "storage/common_util.h"

namespace storage_detail {

// A read cursor over an open book file that knows the file's size, so that
// no stored count or length can make it read past the end or allocate more
// than the file could hold.
class BookFileReader {
public:
    explicit BookFileReader(std::FILE* pFile);

    bool isValid() const { return m_nSize >= 0; }
    long long size() const { return m_nSize; }
    long long remaining() const { return m_nSize - m_nPos; }

    bool seek(long long nPos);
    bool readUInt32(std::uint32_t& value);
    bool readInt32(std::int32_t& value);

    // Length-prefixed text of at most MAX_FORMULA_TEXT bytes.
    bool readText(std::string& text);

    // Count-prefixed list of texts, at most MAX_FORMULA_LIST of them.
    bool readTextList(std::vector<std::string>& list);

private:
    std::FILE* m_pFile;
    long long m_nSize;
    long long m_nPos = 0;  // -1 after a failed read: unknown until the next seek
};

// The index count N, checked against the file: 0 <= N and 4 + 12 N <= size.
bool readIndexCount(BookFileReader& reader, std::int32_t& nCount);

// One record at nPosition; false (record emptied) when the stored id differs
// from nID or the record is damaged.
bool readDesRecord(BookFileReader& reader, std::uint32_t nID, std::uint32_t nPosition,
                   _tag_formula_des& des);
bool readDetRecord(BookFileReader& reader, std::uint32_t nID, std::uint32_t nPosition,
                   _tag_formula_detail& det);

// Writes text as int32 length and bytes.
bool writeText(std::FILE* pFile, const std::string& text);

// The start of every book write, under its lock: clears the last error,
// then finishes or rolls back what an earlier writer left. False (the error
// set) when the lock could not be taken or a journal not finished.
bool beginBookWrite(BookWriteLock& lock);

// Records why the write failed (from errno, or as given) unless a reason
// was recorded already.
void noteBookWriteFailure();
void noteBookWriteFailure(BOOK_WRITE_ERROR nError);

// The four open temporary files of a book being written, in the order tree,
// index, description, detail (BookCommit.h describes the commit).
struct TmpBookFiles {
    common::FilePtr m_arrFiles[4];
    bool m_arrCreated[4] = {false, false, false, false};

    // Opens all four for binary writing; false (none left open, none left on
    // disk) when one cannot be created. Must be called under BookWriteLock.
    bool create();

    std::FILE* tree() const { return m_arrFiles[0].get(); }
    std::FILE* index() const { return m_arrFiles[1].get(); }
    std::FILE* des() const { return m_arrFiles[2].get(); }
    std::FILE* det() const { return m_arrFiles[3].get(); }

    // Flushes, syncs and closes all four; false when anything failed to
    // reach the disk.
    bool close();

    // Closes what is open and removes the temporary files this object
    // created (never anything else that happens to carry their names).
    void discard();

    // The journaled commit of the four closed files into the current book
    // (g_sFormulasFolder). False when it failed before the commit point (the
    // old book stays, the temporary files are removed) or, hardly ever, after
    // it (the journal stays, and the next reader finishes the new book).
    bool commit();
};

}  // namespace storage_detail
