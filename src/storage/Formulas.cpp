// File names, the records, and reading the binary book files.
#include "storage/Formulas.h"

#include <cstring>

#include "storage/BookFolders.h"
#include "storage/BookFileIO.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

using namespace storage_detail;

const char* const g_arrBookFileNames[4] = {"fortree.dat", "indexfor.dat", "fordes.dat",
                                           "fordetail.dat"};

namespace {

// "%s/%s_%s" from the documents folder, the open book and the file name.
// Whoever is about to open a book file finishes a commit that a killed
// writer left behind, so no reader ever sees half of one.
std::string bookFilename(const char* szName)
{
    finishPendingBookCommit();
    return getDocumentsFolder() + "/" + g_sFormulasFolder + "_" + szName;
}

// "%s/tmp_%s": shared by all books.
std::string tmpFilename(const char* szName)
{
    return getDocumentsFolder() + "/tmp_" + szName;
}

}  // namespace

std::string getTreeFilename() { return bookFilename(g_arrBookFileNames[0]); }
std::string getIndexFilename() { return bookFilename(g_arrBookFileNames[1]); }
std::string getDesFilename() { return bookFilename(g_arrBookFileNames[2]); }
std::string getDetailFilename() { return bookFilename(g_arrBookFileNames[3]); }
std::string getTreeFilenameTmp() { return tmpFilename(g_arrBookFileNames[0]); }
std::string getIndexFilenameTmp() { return tmpFilename(g_arrBookFileNames[1]); }
std::string getDesFilenameTmp() { return tmpFilename(g_arrBookFileNames[2]); }
std::string getDetailFilenameTmp() { return tmpFilename(g_arrBookFileNames[3]); }

// ---- Records ---------------------------------------------------------------

_fornode makeEmptyNode()
{
    _fornode node;
    std::memset(&node, 0, sizeof node);
    return node;
}

FORMULA_NODE_INFO makeEmptyNodeInfo()
{
    FORMULA_NODE_INFO info;
    std::memset(&info, 0, sizeof info);
    return info;
}

void setNode(_fornode& node, std::string_view strId, std::string_view strName,
             std::uint32_t uiType)
{
    std::memset(&node, 0, sizeof node);
    common::copyBounded(node.m_szNodeId, sizeof node.m_szNodeId, strId);
    common::copyBounded(node.m_szNodeName, sizeof node.m_szNodeName, strName);
    node.m_uiNodeType = uiType;
}

FORMULA_NODE_INFO makeNodeInfo(const _fornode& node, const std::string& strBook)
{
    FORMULA_NODE_INFO info = makeEmptyNodeInfo();
    info.m_NodeInfo = node;
    common::copyBounded(info.m_szBook, sizeof info.m_szBook, strBook);
    return info;
}

void encodeNodeInfo(const FORMULA_NODE_INFO& info, unsigned char* bytes)
{
    std::memcpy(bytes, info.m_NodeInfo.m_szNodeId, NODE_ID_SIZE);
    std::memcpy(bytes + 32, info.m_NodeInfo.m_szNodeName, NODE_NAME_SIZE);
    common::putUInt32LE(bytes + 288, info.m_NodeInfo.m_uiNodeType);
    std::memcpy(bytes + 292, info.m_szBook, BOOK_NAME_SIZE);
}

void decodeNodeInfo(const unsigned char* bytes, FORMULA_NODE_INFO& info)
{
    std::memcpy(info.m_NodeInfo.m_szNodeId, bytes, NODE_ID_SIZE);
    std::memcpy(info.m_NodeInfo.m_szNodeName, bytes + 32, NODE_NAME_SIZE);
    info.m_NodeInfo.m_uiNodeType = common::getUInt32LE(bytes + 288);
    std::memcpy(info.m_szBook, bytes + 292, BOOK_NAME_SIZE);
    auto terminate = [](char* sz, std::size_t n) {
        if (common::boundedLength(sz, n) == n)
            sz[n - 1] = '\0';
    };
    terminate(info.m_NodeInfo.m_szNodeId, NODE_ID_SIZE);
    terminate(info.m_NodeInfo.m_szNodeName, NODE_NAME_SIZE);
    terminate(info.m_szBook, BOOK_NAME_SIZE);
}

bool isSameFormula(const FORMULA_NODE_INFO& a, const FORMULA_NODE_INFO& b)
{
    return common::equalsNoCase(a.m_szBook, b.m_szBook) &&
           common::equalsNoCase(a.m_NodeInfo.m_szNodeId, b.m_NodeInfo.m_szNodeId);
}

void emptyFormulaDes(_tag_formula_des& des)
{
    des.m_strName.clear();
    des.m_strDes.clear();
    des.m_strMime.clear();
    des.m_vecImages.clear();
}

void emptyFormulaDetail(_tag_formula_detail& det)
{
    det.m_nID = 0;
    det.m_nParamCount = 0;
    for (_tag_formula_parameter& param : det.m_arrParams)
        param = _tag_formula_parameter();
    det.m_vecCalcFormulas.clear();
}

// ---- Bounded reading ----------------------------------------------------------

namespace storage_detail {

BookFileReader::BookFileReader(std::FILE* pFile)
    : m_pFile(pFile)
    , m_nSize(pFile ? common::fileSize(pFile) : -1)
{
    long nPos = m_nSize >= 0 ? std::ftell(m_pFile) : -1;
    if (nPos < 0)
        m_nSize = -1;
    else
        m_nPos = nPos;
}

bool BookFileReader::seek(long long nPos)
{
    if (!isValid() || nPos < 0 || nPos > m_nSize)
        return false;
    if (nPos == m_nPos)
        return true;
    if (std::fseek(m_pFile, static_cast<long>(nPos), SEEK_SET) != 0)
        return false;
    m_nPos = nPos;
    return true;
}

bool BookFileReader::readUInt32(std::uint32_t& value)
{
    if (!isValid() || m_nPos < 0 || remaining() < 4)
        return false;
    if (!common::readUInt32(m_pFile, value)) {
        m_nPos = -1;  // where the stream stands is unknown until the next seek
        return false;
    }
    m_nPos += 4;
    return true;
}

bool BookFileReader::readInt32(std::int32_t& value)
{
    std::uint32_t u;
    if (!readUInt32(u))
        return false;
    value = static_cast<std::int32_t>(u);
    return true;
}

bool BookFileReader::readText(std::string& text)
{
    text.clear();
    std::int32_t nLength;
    if (!readInt32(nLength))
        return false;
    if (nLength < 0 || nLength > MAX_FORMULA_TEXT || nLength > remaining())
        return false;
    text.resize(static_cast<std::size_t>(nLength));
    if (nLength > 0 &&
        std::fread(text.data(), 1, static_cast<std::size_t>(nLength), m_pFile) !=
            static_cast<std::size_t>(nLength)) {
        text.clear();
        m_nPos = -1;
        return false;
    }
    m_nPos += nLength;
    return true;
}

bool BookFileReader::readTextList(std::vector<std::string>& list)
{
    list.clear();
    std::int32_t nCount;
    if (!readInt32(nCount))
        return false;
    // Each entry needs at least its 4-byte length.
    if (nCount < 0 || nCount > MAX_FORMULA_LIST || nCount > remaining() / 4)
        return false;
    list.reserve(static_cast<std::size_t>(nCount));
    for (std::int32_t i = 0; i < nCount; ++i) {
        std::string text;
        if (!readText(text)) {
            list.clear();
            return false;
        }
        list.push_back(std::move(text));
    }
    return true;
}

bool readIndexCount(BookFileReader& reader, std::int32_t& nCount)
{
    nCount = 0;
    std::int32_t n;
    if (!reader.seek(0) || !reader.readInt32(n))
        return false;
    if (n < 0 || n > reader.remaining() / 12)
        return false;
    nCount = n;
    return true;
}

bool readDesRecord(BookFileReader& reader, std::uint32_t nID, std::uint32_t nPosition,
                   _tag_formula_des& des)
{
    emptyFormulaDes(des);
    std::uint32_t nStoredID;
    if (!reader.seek(nPosition) || !reader.readUInt32(nStoredID) || nStoredID != nID)
        return false;
    std::vector<std::string> vecImages;
    if (!reader.readText(des.m_strName) || !reader.readText(des.m_strDes) ||
        !reader.readText(des.m_strMime) || !reader.readTextList(vecImages)) {
        emptyFormulaDes(des);
        return false;
    }
    for (const std::string& strImage : vecImages) {
        // Names written by older tools may say ".PNG"; the image files are ".png".
        if (!strImage.empty())
            des.m_vecImages.push_back(common::string_replace(strImage, ".PNG", ".png"));
    }
    return true;
}

bool readDetRecord(BookFileReader& reader, std::uint32_t nID, std::uint32_t nPosition,
                   _tag_formula_detail& det)
{
    emptyFormulaDetail(det);
    std::uint32_t nStoredID, nCount;
    if (!reader.seek(nPosition) || !reader.readUInt32(nStoredID) || nStoredID != nID)
        return false;
    if (!reader.readUInt32(nCount) || nCount > static_cast<std::uint32_t>(MAX_FORMULA_PARAMS)) {
        emptyFormulaDetail(det);
        return false;
    }
    for (std::uint32_t i = 0; i < nCount; ++i) {
        _tag_formula_parameter& param = det.m_arrParams[i];
        if (!reader.readText(param.m_strName) || !reader.readText(param.m_strDescription) ||
            !reader.readText(param.m_strAlias) || !reader.readText(param.m_strUnit) ||
            !reader.readText(param.m_strValue)) {
            emptyFormulaDetail(det);
            return false;
        }
    }
    if (!reader.readTextList(det.m_vecCalcFormulas)) {
        emptyFormulaDetail(det);
        return false;
    }
    det.m_nID = nStoredID;
    det.m_nParamCount = nCount;
    return true;
}

bool writeText(std::FILE* pFile, const std::string& text)
{
    if (text.size() > static_cast<std::size_t>(MAX_FORMULA_TEXT))
        return false;
    if (!common::writeInt32(pFile, static_cast<std::int32_t>(text.size())))
        return false;
    return text.empty() || std::fwrite(text.data(), 1, text.size(), pFile) == text.size();
}

}  // namespace storage_detail

// ---- Reading the current book -------------------------------------------------

bool getIndexFormula(std::vector<_tag_formula_pos>& vecPos)
{
    vecPos.clear();
    common::FilePtr pFile = common::openFile(getIndexFilename(), "rb");
    if (!pFile)
        return false;
    BookFileReader reader(pFile.get());
    std::int32_t nCount;
    if (!readIndexCount(reader, nCount))
        return false;
    // The count is known to fit the file: read all entries at once.
    std::vector<unsigned char> bytes(static_cast<std::size_t>(nCount) * 12);
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), pFile.get()) != bytes.size())
        return false;
    vecPos.resize(static_cast<std::size_t>(nCount));
    for (std::size_t i = 0; i < vecPos.size(); ++i) {
        const unsigned char* p = bytes.data() + 12 * i;
        vecPos[i].m_nID = common::getUInt32LE(p);
        vecPos[i].m_nPosDes = common::getUInt32LE(p + 4);
        vecPos[i].m_nPosDet = common::getUInt32LE(p + 8);
    }
    return true;
}

bool getIndexFormula(const std::string& strTreeId, _tag_formula_pos& pos)
{
    pos = _tag_formula_pos();
    std::vector<_tag_formula_pos> vecPos;
    if (!getIndexFormula(vecPos))
        return false;
    std::uint32_t nID;
    parseFormulaId(strTreeId, nID);
    bool bFound = false;
    for (const _tag_formula_pos& entry : vecPos) {
        if (entry.m_nID == nID) {
            pos = entry;
            bFound = true;
        }
    }
    return bFound;
}

bool getDesFormula(std::uint32_t nID, std::uint32_t nPosition, _tag_formula_des& des)
{
    emptyFormulaDes(des);
    common::FilePtr pFile = common::openFile(getDesFilename(), "rb");
    if (!pFile)
        return false;
    BookFileReader reader(pFile.get());
    return readDesRecord(reader, nID, nPosition, des);
}

bool getDetFormula(std::uint32_t nID, std::uint32_t nPosition, _tag_formula_detail& det)
{
    emptyFormulaDetail(det);
    common::FilePtr pFile = common::openFile(getDetailFilename(), "rb");
    if (!pFile)
        return false;
    BookFileReader reader(pFile.get());
    return readDetRecord(reader, nID, nPosition, det);
}

bool getFormulaRecords(const std::string& strTreeId, _tag_formula_pos& pos,
                       _tag_formula_des& des, _tag_formula_detail& det)
{
    des.m_nID = 0;
    emptyFormulaDes(des);
    emptyFormulaDetail(det);
    if (!getIndexFormula(strTreeId, pos))
        return false;
    des.m_nID = pos.m_nID;
    if (!getDesFormula(pos.m_nID, pos.m_nPosDes, des) ||
        !getDetFormula(pos.m_nID, pos.m_nPosDet, det)) {
        emptyFormulaDes(des);
        emptyFormulaDetail(det);
        return false;
    }
    return true;
}
