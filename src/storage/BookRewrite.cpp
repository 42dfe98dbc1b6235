// Editing and deleting a formula in place: the whole book is copied into the
// temporary files with the one formula replaced or left out, and the
// temporary files then take the place of the book's files.
#include <algorithm>

#include "storage/BookFolders.h"
#include "storage/BookFileIO.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

using namespace storage_detail;

namespace {

enum class RewriteKind { EDIT, DELETE };

struct Rewrite {
    RewriteKind m_kind;
    const FORMULA_NODE_INFO& m_info;
    const _tag_formula_des* m_pNewDes;
    const _tag_formula_detail* m_pNewDet;
};

std::uint32_t numericId(const char* szTreeId)
{
    std::uint32_t nID;
    parseFormulaId(szTreeId, nID);
    return nID;
}

// Copies every index entry with its two records; returns the number written.
bool copyRecords(const Rewrite& job, BookFileReader& index, BookFileReader& desIn,
                 BookFileReader& detIn, TmpBookFiles& tmp, std::int32_t nCount,
                 std::int32_t& nWritten)
{
    const std::uint32_t nTarget = numericId(job.m_info.m_NodeInfo.m_szNodeId);
    nWritten = 0;
    long long nPosDes = 0;
    long long nPosDet = 0;
    _tag_formula_des des;
    _tag_formula_detail det;
    for (std::int32_t i = 0; i < nCount; ++i) {
        _tag_formula_pos pos;
        if (!index.readUInt32(pos.m_nID) || !index.readUInt32(pos.m_nPosDes) ||
            !index.readUInt32(pos.m_nPosDet))
            return false;
        const bool bMatch = pos.m_nID == nTarget;
        if (bMatch && job.m_kind == RewriteKind::DELETE)
            continue;

        if (bMatch) {
            des = *job.m_pNewDes;
            det = *job.m_pNewDet;
        } else {
            // A record that cannot be read (another id at its position, or
            // damaged) is carried over empty.
            readDesRecord(desIn, pos.m_nID, pos.m_nPosDes, des);
            readDetRecord(detIn, pos.m_nID, pos.m_nPosDet, det);
        }
        // The records carry the index entry's id, or they could never be
        // found again.
        des.m_nID = pos.m_nID;
        det.m_nID = pos.m_nID;

        if (nPosDes > 0xFFFFFFFFLL || nPosDet > 0xFFFFFFFFLL)
            return false;
        if (!appendIndexFile(tmp.index(), pos.m_nID, static_cast<std::uint32_t>(nPosDes),
                             static_cast<std::uint32_t>(nPosDet)) ||
            !appendDesFile(tmp.des(), des) || !appendDetFile(tmp.det(), det))
            return false;
        nPosDes = std::ftell(tmp.des());
        nPosDet = std::ftell(tmp.det());
        if (nPosDes < 0 || nPosDet < 0)
            return false;
        ++nWritten;
    }
    return true;
}

// Writes the book's tree with the target replaced or left out, sorted in the
// first order (folders, then calculable, then theory formulas, each by name).
bool copyTree(const Rewrite& job, std::FILE* pTree)
{
    std::vector<_fornode> vecNodes;
    const std::string strPath = getTreeFilename();
    if (!getFormulasTreeFromFileAndSort(vecNodes, strPath, false)) {
        // A book without a tree file keeps having none to speak of; one that
        // is there but cannot be read must not be replaced by an empty tree.
        if (common::fileExists(strPath))
            return false;
    }
    const std::uint32_t nTarget = numericId(job.m_info.m_NodeInfo.m_szNodeId);
    std::vector<_fornode> vecOut;
    vecOut.reserve(vecNodes.size());
    for (const _fornode& node : vecNodes) {
        if (numericId(node.m_szNodeId) != nTarget)
            vecOut.push_back(node);
        else if (job.m_kind == RewriteKind::EDIT)
            vecOut.push_back(job.m_info.m_NodeInfo);
    }
    // Sorted after the replacement, so that an edited name or type takes its
    // place in the order too.
    std::stable_sort(vecOut.begin(), vecOut.end(),
                     [](const _fornode& a, const _fornode& b) { return sort_condition(a, b); });
    for (const _fornode& node : vecOut) {
        std::string line = common::singleLine(node.m_szNodeId) + " =" +
                           common::singleLine(node.m_szNodeName) + "= " +
                           std::to_string(node.m_uiNodeType) + "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), pTree) != line.size())
            return false;
    }
    return true;
}

bool rewriteBook(const Rewrite& job)
{
    BookWriteLock lock;
    if (!beginBookWrite(lock))
        return false;
    // Refuse what the book format cannot hold before anything is touched.
    if (job.m_pNewDet && job.m_pNewDet->m_nParamCount > static_cast<std::uint32_t>(MAX_FORMULA_PARAMS)) {
        noteBookWriteFailure(BOOK_WRITE_FAILED);
        return false;
    }
    FormulasFolderSwitch bookSwitch(canonicalBookName(job.m_info.m_szBook));

    common::FilePtr pIndex = common::openFile(getIndexFilename(), "rb");
    common::FilePtr pDes = common::openFile(getDesFilename(), "rb");
    common::FilePtr pDet = common::openFile(getDetailFilename(), "rb");
    BookFileReader index(pIndex.get());
    BookFileReader desIn(pDes.get());
    BookFileReader detIn(pDet.get());
    std::int32_t nCount;
    if (!pIndex || !pDes || !pDet || !readIndexCount(index, nCount)) {
        noteBookWriteFailure(BOOK_WRITE_FAILED);
        return false;
    }

    TmpBookFiles tmp;
    if (!tmp.create())
        return false;
    std::int32_t nWritten = 0;
    bool bOk = common::writeInt32(tmp.index(), nCount) &&
               copyRecords(job, index, desIn, detIn, tmp, nCount, nWritten) &&
               std::fseek(tmp.index(), 0, SEEK_SET) == 0 && common::writeInt32(tmp.index(), nWritten) &&
               copyTree(job, tmp.tree());
    pIndex.reset();
    pDes.reset();
    pDet.reset();
    if (!bOk || !tmp.close()) {
        noteBookWriteFailure();
        tmp.discard();
        return false;
    }
    return tmp.commit();
}

}  // namespace

bool editFormulaInBook(const FORMULA_NODE_INFO& info, const _tag_formula_des& des,
                       const _tag_formula_detail& det)
{
    return rewriteBook({RewriteKind::EDIT, info, &des, &det});
}

bool deleteFormulaFromBook(const FORMULA_NODE_INFO& info)
{
    return rewriteBook({RewriteKind::DELETE, info, nullptr, nullptr});
}
