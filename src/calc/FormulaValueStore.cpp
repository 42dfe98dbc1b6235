#include "calc/FormulaValueStore.h"

#include <algorithm>

#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

namespace {

const char MAGIC[4] = {'C', 'X', 'T', 'V'};
constexpr std::uint32_t VERSION = 1;

void putInt(std::string& out, std::int32_t n)
{
    unsigned char bytes[4];
    common::putUInt32LE(bytes, static_cast<std::uint32_t>(n));
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

// A read cursor that refuses to go past the end.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    bool take(std::size_t n, std::string_view& out)
    {
        if (n > m_bytes.size() - m_nPos)
            return false;
        out = m_bytes.substr(m_nPos, n);
        m_nPos += n;
        return true;
    }
    // An int32 within [nMin, nMax].
    bool readInt(std::int32_t nMin, std::int32_t nMax, std::int32_t& n)
    {
        std::string_view raw;
        if (!take(4, raw))
            return false;
        n = static_cast<std::int32_t>(common::getUInt32LE(reinterpret_cast<const unsigned char*>(raw.data())));
        return n >= nMin && n <= nMax;
    }
    bool atEnd() const { return m_nPos == m_bytes.size(); }

private:
    std::string_view m_bytes;
    std::size_t m_nPos = 0;
};

void encodeRow(std::string& out, const TYPED_ROW& row)
{
    putInt(out, static_cast<std::int32_t>(row.m_strAlias.size()));
    out += row.m_strAlias;
    putInt(out, static_cast<std::int32_t>(row.m_vecTokenLengths.size()));
    putInt(out, static_cast<std::int32_t>(row.m_strText.size()));
    for (char16_t c : row.m_strText) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    out.append(row.m_vecTokenLengths.begin(), row.m_vecTokenLengths.end());
}

bool decodeRow(ByteReader& in, TYPED_ROW& row)
{
    std::int32_t nAlias, nTokens, nUnits;
    std::string_view alias, text, lengths;
    if (!in.readInt(0, TYPED_ALIAS_MAX, nAlias) || !in.take(static_cast<std::size_t>(nAlias), alias) ||
        !in.readInt(0, LED_MAX_TOKENS, nTokens) || !in.readInt(0, LED_MAX_TEXT_UNITS, nUnits) ||
        !in.take(2 * static_cast<std::size_t>(nUnits), text) || !in.take(static_cast<std::size_t>(nTokens), lengths))
        return false;
    row.m_strAlias.assign(alias);
    row.m_strText.resize(static_cast<std::size_t>(nUnits));
    for (std::size_t i = 0; i < row.m_strText.size(); ++i)
        row.m_strText[i] = static_cast<char16_t>(static_cast<unsigned char>(text[2 * i]) |
                                                 (static_cast<unsigned char>(text[2 * i + 1]) << 8));
    row.m_vecTokenLengths.assign(lengths.begin(), lengths.end());
    int nSum = 0;
    for (std::uint8_t n : row.m_vecTokenLengths) {
        if (n == 0)
            return false;
        nSum += n;
    }
    return nSum == nUnits;
}

bool decodeEntry(ByteReader& in, TYPED_VALUES& values)
{
    std::string_view info;
    std::int32_t nRows;
    if (!in.take(FORMULA_NODE_INFO_SIZE, info))
        return false;
    decodeNodeInfo(reinterpret_cast<const unsigned char*>(info.data()), values.m_formula);
    if (!in.readInt(-1, MAX_FORMULA_PARAMS - 1, values.m_nTickedRow) ||
        !in.readInt(0, MAX_FORMULA_PARAMS, nRows) || values.m_nTickedRow >= nRows)
        return false;
    values.m_vecRows.resize(static_cast<std::size_t>(nRows));
    for (TYPED_ROW& row : values.m_vecRows) {
        if (!decodeRow(in, row))
            return false;
    }
    return true;
}

// The rows the old program left in "ledlite<row>.dat", given to the last
// used formula, each row under the alias of its parameter.
bool loadOldRowFiles(std::vector<TYPED_VALUES>& list)
{
    TYPED_VALUES values;
    if (!loadLastUsedFormula(values.m_formula))
        return false;
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    {
        FormulasFolderSwitch useBook(canonicalBookName(values.m_formula.m_szBook));
        if (!getFormulaRecords(common::string_trim(values.m_formula.m_NodeInfo.m_szNodeId, "."), pos, des, det))
            return false;
    }
    bool bAny = false;
    for (std::uint32_t r = 0; r < det.m_nParamCount; ++r) {
        LedTokenModel line;
        bAny = line.LoadData(LedDataFilePath(getDocumentsFolder(), static_cast<int>(r))) || bAny;
        values.m_vecRows.push_back(typedRowFromLine(line, det.m_arrParams[r].m_strAlias));
    }
    if (bAny)
        list.push_back(values);
    return bAny;
}

int findEntry(const std::vector<TYPED_VALUES>& list, const FORMULA_NODE_INFO& formula)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (isSameFormula(list[i].m_formula, formula))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

bool TYPED_VALUES::sameValues(const TYPED_VALUES& other) const
{
    return isSameFormula(m_formula, other.m_formula) && m_nTickedRow == other.m_nTickedRow &&
           m_vecRows == other.m_vecRows;
}

std::string getTypedValuesFilename()
{
    return getDocumentsFolder() + "/TypedValues.sav";
}

std::string encodeTypedValues(const std::vector<TYPED_VALUES>& list)
{
    std::string out(MAGIC, sizeof MAGIC);
    putInt(out, static_cast<std::int32_t>(VERSION));
    const std::size_t nCount = std::min<std::size_t>(list.size(), TYPED_VALUES_CAPACITY);
    putInt(out, static_cast<std::int32_t>(nCount));
    for (std::size_t i = 0; i < nCount; ++i) {
        const TYPED_VALUES& values = list[i];
        unsigned char info[FORMULA_NODE_INFO_SIZE];
        encodeNodeInfo(values.m_formula, info);
        out.append(reinterpret_cast<const char*>(info), sizeof info);
        putInt(out, values.m_nTickedRow);
        putInt(out, static_cast<std::int32_t>(values.m_vecRows.size()));
        for (const TYPED_ROW& row : values.m_vecRows)
            encodeRow(out, row);
    }
    return out;
}

bool decodeTypedValues(std::string_view bytes, std::vector<TYPED_VALUES>& list)
{
    list.clear();
    ByteReader in(bytes);
    std::string_view magic;
    std::int32_t nVersion, nCount;
    bool bOk = in.take(sizeof MAGIC, magic) && magic == std::string_view(MAGIC, sizeof MAGIC) &&
               in.readInt(VERSION, VERSION, nVersion) && in.readInt(0, TYPED_VALUES_CAPACITY, nCount);
    for (std::int32_t i = 0; bOk && i < nCount; ++i) {
        list.emplace_back();
        bOk = decodeEntry(in, list.back());
    }
    if (!bOk || !in.atEnd()) {
        list.clear();
        return false;
    }
    return true;
}

bool loadTypedValues(std::vector<TYPED_VALUES>& list)
{
    list.clear();
    std::string bytes;
    if (common::readWholeFile(getTypedValuesFilename(), bytes))
        return decodeTypedValues(bytes, list);
    return loadOldRowFiles(list);
}

bool saveTypedValues(const std::vector<TYPED_VALUES>& list)
{
    return common::writeFileAtomically(getTypedValuesFilename(), encodeTypedValues(list));
}

bool findTypedValues(const FORMULA_NODE_INFO& formula, TYPED_VALUES& values)
{
    std::vector<TYPED_VALUES> list;
    loadTypedValues(list);
    const int nIndex = findEntry(list, formula);
    if (nIndex < 0)
        return false;
    values = list[static_cast<std::size_t>(nIndex)];
    return true;
}

bool rememberTypedValues(const TYPED_VALUES& values)
{
    std::vector<TYPED_VALUES> list;
    loadTypedValues(list);
    const int nIndex = findEntry(list, values.m_formula);
    if (nIndex >= 0)
        list.erase(list.begin() + nIndex);
    list.insert(list.begin(), values);
    if (list.size() > static_cast<std::size_t>(TYPED_VALUES_CAPACITY))
        list.resize(TYPED_VALUES_CAPACITY);
    return saveTypedValues(list);
}

bool forgetTypedValues(const FORMULA_NODE_INFO& formula)
{
    std::vector<TYPED_VALUES> list;
    loadTypedValues(list);
    const int nIndex = findEntry(list, formula);
    if (nIndex < 0)
        return true;
    list.erase(list.begin() + nIndex);
    return saveTypedValues(list);
}

bool moveTypedValues(const FORMULA_NODE_INFO& from, const FORMULA_NODE_INFO& to)
{
    std::vector<TYPED_VALUES> list;
    loadTypedValues(list);
    const int nIndex = findEntry(list, from);
    if (nIndex < 0 || isSameFormula(from, to))
        return true;
    TYPED_VALUES values = list[static_cast<std::size_t>(nIndex)];
    values.m_formula = to;
    return rememberTypedValues(values) && forgetTypedValues(from);
}

const TYPED_ROW* findTypedRow(const TYPED_VALUES& values, int nRow, const std::string& strAlias)
{
    const std::vector<TYPED_ROW>& rows = values.m_vecRows;
    if (nRow >= 0 && nRow < static_cast<int>(rows.size()) && rows[static_cast<std::size_t>(nRow)].m_strAlias == strAlias)
        return &rows[static_cast<std::size_t>(nRow)];
    for (const TYPED_ROW& row : rows) {
        if (row.m_strAlias == strAlias)
            return &row;
    }
    return nullptr;
}

TYPED_ROW typedRowFromLine(const LedTokenModel& line, const std::string& strAlias)
{
    TYPED_ROW row;
    row.m_strAlias = strAlias.substr(0, common::utf8Prefix(strAlias, TYPED_ALIAS_MAX));
    row.m_strText = line.content().strMutRawInput;
    for (int nLength : line.content().arrObjLen)
        row.m_vecTokenLengths.push_back(static_cast<std::uint8_t>(nLength));
    return row;
}

bool ledBlockFromTypedRow(const TYPED_ROW& row, std::array<unsigned char, LED_DATA_BLOCK_SIZE>& block)
{
    LedTokenModel line;
    std::size_t nPos = 0;
    for (std::uint8_t nLength : row.m_vecTokenLengths) {
        if (nPos + nLength > row.m_strText.size() ||
            !line.InsertObject(line.TokenCount(), row.m_strText.substr(nPos, nLength)))
            return false;
        nPos += nLength;
    }
    return nPos == row.m_strText.size() && line.BuildDataBlock(block);
}
