// The formula text source and its compilation into the four book files.
#include <climits>
#include <cstring>

#include "storage/BookFileIO.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

using namespace storage_detail;

namespace {

const std::string SOURCE_TRIM = " \r\n\t";

// Positions in the description and detail files are stored as uint32.
constexpr long long MAX_BOOK_FILE_OFFSET = 0xFFFFFFFFLL;

// Where each double quote of value stands.
std::vector<std::size_t> quotePositions(const std::string& value)
{
    std::vector<std::size_t> vecQuotes;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '"')
            vecQuotes.push_back(i);
    }
    return vecQuotes;
}

}  // namespace

// ---- Parsing ---------------------------------------------------------------------

void parseFormulaId(const std::string& strId, std::uint32_t& nID)
{
    std::size_t nStart = strId.find_first_not_of('.');
    std::size_t nEnd = strId.find_last_not_of('.');
    std::string strCore =
        nStart == std::string::npos ? std::string() : strId.substr(nStart, nEnd - nStart + 1);

    nID = 0;
    std::size_t nPos = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned int uiValue = 0;
        if (nPos < strCore.size()) {
            std::size_t nDot = strCore.find('.', nPos);
            std::size_t nStop = nDot == std::string::npos ? strCore.size() : nDot;
            // Leading digits only; the value kept modulo 256 as it is read, so
            // long digit runs cannot overflow.
            for (std::size_t k = nPos; k < nStop && strCore[k] >= '0' && strCore[k] <= '9'; ++k)
                uiValue = (uiValue * 10 + static_cast<unsigned int>(strCore[k] - '0')) & 0xFFu;
            nPos = nDot == std::string::npos ? strCore.size() : nDot + 1;
        }
        nID = (nID << 8) | uiValue;
    }
}

bool splitString(const std::string& line, std::string& key, std::string& value)
{
    key.clear();
    value.clear();
    std::size_t nEq = line.find('=');
    if (nEq == std::string::npos)
        return false;
    key = common::string_trim(line.substr(0, nEq), SOURCE_TRIM);
    value = common::string_trim(line.substr(nEq + 1), SOURCE_TRIM);
    return true;
}

bool parseFormulaParam(const std::string& value, _tag_formula_parameter& param)
{
    param = _tag_formula_parameter();
    std::vector<std::size_t> vecQuotes = quotePositions(value);
    std::string* arrFields[5] = {&param.m_strName, &param.m_strDescription, &param.m_strAlias,
                                 &param.m_strUnit, &param.m_strValue};
    int nFields = 0;
    for (std::size_t k = 0; k + 1 < vecQuotes.size() && nFields < 5; k += 2) {
        std::size_t nOpen = vecQuotes[k];
        *arrFields[nFields++] = value.substr(nOpen + 1, vecQuotes[k + 1] - nOpen - 1);
    }
    return nFields == 5;
}

void splitStringArray(const std::string& value, std::vector<std::string>& vecItems)
{
    vecItems.clear();
    std::vector<std::size_t> vecQuotes = quotePositions(value);
    for (std::size_t k = 0; k + 1 < vecQuotes.size(); k += 2)
        vecItems.push_back(value.substr(vecQuotes[k] + 1, vecQuotes[k + 1] - vecQuotes[k] - 1));
}

// ---- Writing one record ------------------------------------------------------------

bool appendIndexFile(std::FILE* pFile, std::uint32_t nID, std::uint32_t nPosDes,
                     std::uint32_t nPosDet)
{
    return common::writeUInt32(pFile, nID) && common::writeUInt32(pFile, nPosDes) &&
           common::writeUInt32(pFile, nPosDet);
}

bool appendDesFile(std::FILE* pFile, const _tag_formula_des& des)
{
    if (des.m_vecImages.size() > static_cast<std::size_t>(MAX_FORMULA_LIST))
        return false;
    if (!common::writeUInt32(pFile, des.m_nID) || !writeText(pFile, des.m_strName) ||
        !writeText(pFile, des.m_strDes) || !writeText(pFile, des.m_strMime) ||
        !common::writeInt32(pFile, static_cast<std::int32_t>(des.m_vecImages.size())))
        return false;
    for (const std::string& strImage : des.m_vecImages) {
        if (!writeText(pFile, strImage))
            return false;
    }
    return true;
}

bool appendDetFile(std::FILE* pFile, const _tag_formula_detail& det)
{
    if (det.m_nParamCount > static_cast<std::uint32_t>(MAX_FORMULA_PARAMS) ||
        det.m_vecCalcFormulas.size() > static_cast<std::size_t>(MAX_FORMULA_LIST))
        return false;
    if (!common::writeUInt32(pFile, det.m_nID) || !common::writeUInt32(pFile, det.m_nParamCount))
        return false;
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[i];
        if (!writeText(pFile, param.m_strName) || !writeText(pFile, param.m_strDescription) ||
            !writeText(pFile, param.m_strAlias) || !writeText(pFile, param.m_strUnit) ||
            !writeText(pFile, param.m_strValue))
            return false;
    }
    if (!common::writeInt32(pFile, static_cast<std::int32_t>(det.m_vecCalcFormulas.size())))
        return false;
    for (const std::string& strExpr : det.m_vecCalcFormulas) {
        if (!writeText(pFile, strExpr))
            return false;
    }
    return true;
}

bool appendTreeFile(std::FILE* pFile, const std::string& strId, const std::string& strName,
                    int nType)
{
    // A line break inside a name or id would split the node in two.
    std::string strTreeId = common::singleLine(strId);
    if (strTreeId.empty() || strTreeId.back() != '.')
        strTreeId.insert(strTreeId.begin(), '.');
    std::string line =
        strTreeId + " =" + common::singleLine(strName) + "= " + std::to_string(nType) + "\r\n";
    return std::fwrite(line.data(), 1, line.size(), pFile) == line.size();
}

// ---- Compilation ------------------------------------------------------------------

namespace {

enum class RecordKind { NONE, FOLDER, FORMULA };

// The four book files being written and the count of formulas in them.
struct BookOutput {
    std::FILE* m_pTree;
    std::FILE* m_pIndex;
    std::FILE* m_pDes;
    std::FILE* m_pDet;
    std::int32_t m_nCount;
};

// A record being read from the source.
struct SourceRecord {
    RecordKind m_kind = RecordKind::NONE;
    int m_nStartLine = 0;
    bool m_bHasId = false;
    bool m_bHasType = false;
    std::string m_strId;
    int m_nType = 0;
    _tag_formula_des m_des;
    _tag_formula_detail m_det;
};

class FormulaTextCompiler {
public:
    FormulaTextCompiler(BookOutput& out, std::vector<FormulaTextWarning>* pWarnings)
        : m_out(out)
        , m_pWarnings(pWarnings)
    {
    }

    // Reads the whole source; false when writing the book failed.
    bool run(std::FILE* pSource);

private:
    void warn(int nLine, const std::string& strMessage)
    {
        if (m_pWarnings)
            m_pWarnings->push_back({nLine, strMessage});
    }

    void startRecord(RecordKind kind, int nLine);
    bool recordLine(const std::string& line, int nLine);
    bool finishRecord();
    bool writeFormula();
    bool writeFolder();

    BookOutput& m_out;
    std::vector<FormulaTextWarning>* m_pWarnings;
    SourceRecord m_rec;
};

bool FormulaTextCompiler::run(std::FILE* pSource)
{
    std::string raw;
    int nLine = 0;
    while (common::readLine(pSource, raw)) {
        ++nLine;
        // Text editors may start a UTF-8 file with a byte order mark.
        if (nLine == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
            raw.erase(0, 3);
        if (raw.size() > static_cast<std::size_t>(MAX_SOURCE_LINE)) {
            raw.resize(common::utf8Prefix(raw, MAX_SOURCE_LINE));
            warn(nLine, "line longer than 1023 bytes; the rest of it is ignored");
        }
        std::string line = common::string_trim(raw, SOURCE_TRIM);
        if (m_rec.m_kind == RecordKind::NONE) {
            if (line == "***")
                startRecord(RecordKind::FORMULA, nLine);
            else if (line == "*")
                startRecord(RecordKind::FOLDER, nLine);
            continue;
        }
        if (!recordLine(line, nLine))
            return false;
    }
    // A read error is not the end of the source: nothing is taken from it.
    if (std::ferror(pSource))
        return false;
    if (m_rec.m_kind == RecordKind::NONE)
        return true;
    warn(m_rec.m_nStartLine, m_rec.m_kind == RecordKind::FORMULA
                                 ? "formula record has no Image line before the end of the file"
                                 : "folder record has no ForName line before the end of the file");
    return finishRecord();
}

void FormulaTextCompiler::startRecord(RecordKind kind, int nLine)
{
    m_rec = SourceRecord();
    m_rec.m_kind = kind;
    m_rec.m_nStartLine = nLine;
}

bool FormulaTextCompiler::recordLine(const std::string& line, int nLine)
{
    std::string key, value;
    if (!splitString(line, key, value)) {
        // "***" or "*" inside a record: the record before has no closing line
        // and swallows what follows. Kept that way, but worth telling.
        if (line == "***" || line == "*")
            warn(nLine, "record start inside a record (the record of line " +
                            std::to_string(m_rec.m_nStartLine) + " is not closed)");
        return true;
    }
    if (common::equalsNoCase(key, "ForId")) {
        m_rec.m_strId = value;
        m_rec.m_bHasId = true;
    } else if (common::equalsNoCase(key, "ForName")) {
        m_rec.m_des.m_strName = value;
        if (m_rec.m_kind == RecordKind::FOLDER)
            return finishRecord();
    } else if (m_rec.m_kind == RecordKind::FOLDER) {
        if (!common::equalsNoCase(key, "ForDes"))
            warn(nLine, "key \"" + key + "\" is not used in a folder record");
    } else if (common::equalsNoCase(key, "ForType")) {
        std::uint32_t uiType = 0;
        for (char c : value) {
            if (c < '0' || c > '9' || uiType > 1000)
                break;
            uiType = uiType * 10 + static_cast<std::uint32_t>(c - '0');
        }
        m_rec.m_nType = static_cast<int>(uiType);
        m_rec.m_bHasType = true;
        if (uiType > 1)
            warn(nLine, "ForType should be 1 (calculable) or 0 (theory)");
    } else if (common::equalsNoCase(key, "ForDes")) {
        m_rec.m_des.m_strDes = value;
    } else if (common::equalsNoCase(key, "ForMime")) {
        m_rec.m_des.m_strMime = value;
    } else if (common::equalsNoCase(key, "Para")) {
        _tag_formula_detail& det = m_rec.m_det;
        if (det.m_nParamCount >= static_cast<std::uint32_t>(MAX_FORMULA_PARAMS)) {
            warn(nLine, "more than 10 parameters; this one is ignored");
            return true;
        }
        if (!parseFormulaParam(value, det.m_arrParams[det.m_nParamCount]))
            warn(nLine, "Para needs five quoted fields; the missing ones are left empty");
        ++det.m_nParamCount;
    } else if (common::equalsNoCase(key, "For")) {
        splitStringArray(value, m_rec.m_det.m_vecCalcFormulas);
        if (quotePositions(value).size() % 2 != 0)
            warn(nLine, "unpaired double quote; the text after it is ignored");
    } else if (common::equalsNoCase(key, "Image")) {
        splitStringArray(value, m_rec.m_des.m_vecImages);
        if (quotePositions(value).size() % 2 != 0)
            warn(nLine, "unpaired double quote; the text after it is ignored");
        return finishRecord();
    } else {
        warn(nLine, "unknown key \"" + key + "\" is ignored");
    }
    return true;
}

bool FormulaTextCompiler::finishRecord()
{
    bool bOk = true;
    if (!m_rec.m_bHasId) {
        // Without an id the node would have the id "." and could be found by
        // nothing; leave it out.
        warn(m_rec.m_nStartLine, "record without ForId is left out");
    } else if (m_rec.m_kind == RecordKind::FORMULA) {
        if (!m_rec.m_bHasType)
            warn(m_rec.m_nStartLine, "formula record without ForType is taken as theory (0)");
        bOk = writeFormula();
    } else {
        bOk = writeFolder();
    }
    m_rec = SourceRecord();
    return bOk;
}

bool FormulaTextCompiler::writeFormula()
{
    long long nPosDes = std::ftell(m_out.m_pDes);
    long long nPosDet = std::ftell(m_out.m_pDet);
    if (nPosDes < 0 || nPosDet < 0 || nPosDes > MAX_BOOK_FILE_OFFSET ||
        nPosDet > MAX_BOOK_FILE_OFFSET || m_out.m_nCount == INT32_MAX)
        return false;
    std::uint32_t nID;
    parseFormulaId(m_rec.m_strId, nID);
    m_rec.m_des.m_nID = nID;
    m_rec.m_det.m_nID = nID;
    if (!appendDesFile(m_out.m_pDes, m_rec.m_des) || !appendDetFile(m_out.m_pDet, m_rec.m_det) ||
        !appendIndexFile(m_out.m_pIndex, nID, static_cast<std::uint32_t>(nPosDes),
                         static_cast<std::uint32_t>(nPosDet)) ||
        !appendTreeFile(m_out.m_pTree, m_rec.m_strId, m_rec.m_des.m_strName, m_rec.m_nType))
        return false;
    ++m_out.m_nCount;
    return true;
}

bool FormulaTextCompiler::writeFolder()
{
    return appendTreeFile(m_out.m_pTree, m_rec.m_strId, m_rec.m_des.m_strName,
                          static_cast<int>(FORMULA_TYPE_FOLDER));
}

bool writeCount(std::FILE* pIndex, std::int32_t nCount)
{
    return std::fseek(pIndex, 0, SEEK_SET) == 0 && common::writeInt32(pIndex, nCount);
}

bool writeBytes(std::FILE* pFile, const std::string& bytes)
{
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
}

// Append mode starts the new book as a copy of the old one: the tree, the
// counted index entries and both record files as they are (a hand-edited
// tree gets the line break its last line may lack). False when the old book
// cannot be read or its index is damaged.
bool copyBookForAppend(TmpBookFiles& tmp, std::int32_t& nCount)
{
    std::string arrBytes[4];
    const std::string arrPaths[4] = {getTreeFilename(), getIndexFilename(), getDesFilename(),
                                     getDetailFilename()};
    bool bRead = true;
    for (int i = 0; i < 4; ++i)
        bRead = bRead && common::readWholeFile(arrPaths[i], arrBytes[i]);
    std::string& tree = arrBytes[0];
    std::string& index = arrBytes[1];
    nCount = bRead && index.size() >= 4
                 ? static_cast<std::int32_t>(common::getUInt32LE(reinterpret_cast<const unsigned char*>(index.data())))
                 : -1;
    if (nCount < 0 || static_cast<std::size_t>(nCount) > (index.size() - 4) / 12) {
        noteBookWriteFailure(BOOK_WRITE_FAILED);
        return false;
    }
    index.resize(4 + 12 * static_cast<std::size_t>(nCount));
    if (!tree.empty() && tree.back() != '\n')
        tree += "\r\n";
    return writeBytes(tmp.tree(), tree) && writeBytes(tmp.index(), index) &&
           writeBytes(tmp.des(), arrBytes[2]) && writeBytes(tmp.det(), arrBytes[3]);
}

// Both modes write the whole new book into the temporary files, and the
// journaled commit (BookCommit.h) makes it the book in one step: a kill or a
// failure at any point leaves the old book or the new one. Create mode
// starts from nothing, append mode from a copy of the old book (books are
// small).
bool compileBook(std::FILE* pSource, bool bAppend, std::vector<FormulaTextWarning>* pWarnings)
{
    TmpBookFiles tmp;
    if (!tmp.create())
        return false;
    std::int32_t nCount = 0;
    bool bOk = true;
    if (bAppend)
        bOk = copyBookForAppend(tmp, nCount);
    else
        bOk = common::writeInt32(tmp.index(), 0);
    BookOutput out{tmp.tree(), tmp.index(), tmp.des(), tmp.det(), nCount};
    FormulaTextCompiler compiler(out, pWarnings);
    bOk = bOk && compiler.run(pSource) && writeCount(out.m_pIndex, out.m_nCount) && tmp.close();
    if (!bOk) {
        noteBookWriteFailure();
        tmp.discard();
        return false;
    }
    return tmp.commit();
}

}  // namespace

bool createFormulaDataFromTextFile(const std::string& strPath, bool bAppend,
                                   std::vector<FormulaTextWarning>* pWarnings)
{
    BookWriteLock lock;
    if (!beginBookWrite(lock))
        return false;
    common::FilePtr pSource = common::openFile(strPath, "r");
    if (!pSource) {
        noteBookWriteFailure(BOOK_WRITE_FAILED);
        return false;
    }
    return compileBook(pSource.get(), bAppend && common::fileExists(getIndexFilename()), pWarnings);
}
