// The store of typed values per formula: its file, the order and capacity,
// matching rows by alias, and the old per-row files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "calc/FormulaValueStore.h"
#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"

namespace fs = std::filesystem;

namespace {

FORMULA_NODE_INFO formula(const char* szBook, const char* szId)
{
    _fornode node;
    setNode(node, szId, "f", FORMULA_TYPE_CALCULABLE);
    return makeNodeInfo(node, szBook);
}

TYPED_ROW row(const std::string& strAlias, const std::u16string& strText)
{
    TYPED_ROW r;
    r.m_strAlias = strAlias;
    r.m_strText = strText;
    r.m_vecTokenLengths.assign(strText.size(), 1);
    return r;
}

TYPED_VALUES values(const char* szId, int nTicked, std::vector<TYPED_ROW> rows)
{
    TYPED_VALUES v;
    v.m_formula = formula("Math", szId);
    v.m_nTickedRow = nTicked;
    v.m_vecRows = std::move(rows);
    return v;
}

class TypedValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string strTemplate = (fs::temp_directory_path() / "calcudex-values-XXXXXX").string();
        ASSERT_NE(::mkdtemp(strTemplate.data()), nullptr);
        m_home = strTemplate;
        ::setenv("CALCUDEX_HOME", m_home.c_str(), 1);
        initAppPaths();
    }
    void TearDown() override { fs::remove_all(m_home); }

    std::string bytesOfFile()
    {
        std::string bytes;
        std::ifstream in(getTypedValuesFilename(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return bytes;
    }

    fs::path m_home;
};

TEST_F(TypedValues, FileRoundTripKeepsEveryField)
{
    TYPED_VALUES ohm = values(".1.1", 1, {row("v", u"12"), row("i", u""), row("r", u"4")});
    ohm.m_vecRows[0].m_strText = u"2\u221A(9)";  // tokens "2", "√(", "9", ")"
    ohm.m_vecRows[0].m_vecTokenLengths = {1, 2, 1, 1};
    const std::vector<TYPED_VALUES> list = {ohm, values(".2.4", -1, {})};
    std::vector<TYPED_VALUES> back;
    ASSERT_TRUE(decodeTypedValues(encodeTypedValues(list), back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[0].sameValues(ohm));
    EXPECT_TRUE(back[1].sameValues(list[1]));
    EXPECT_STREQ(back[0].m_formula.m_szBook, "Math");
}

// Every rule of the format, broken once; and every cut of a good file.
TEST_F(TypedValues, DamagedFilesReadAsEmpty)
{
    const std::string good = encodeTypedValues({values(".1.1", 0, {row("v", u"12")})});
    const std::size_t kRows = 4 + 4 + 4 + FORMULA_NODE_INFO_SIZE + 4;  // where the row count is
    struct Damage {
        const char* what;
        std::size_t nOffset;
        std::uint32_t nValue;
    } damages[] = {
        {"magic", 0, 0x56545843 + 1},
        {"version", 4, 2},
        {"entry count above the capacity", 8, TYPED_VALUES_CAPACITY + 1},
        {"negative entry count", 8, 0xFFFFFFFF},
        {"tick beyond the rows", kRows - 4, 1},
        {"tick below -1", kRows - 4, 0xFFFFFFFE},
        {"eleven rows", kRows, 11},
        {"alias longer than 8", kRows + 4, 9},
        {"more tokens than units", kRows + 4 + 4 + 1, 3},
        {"text beyond 512 units", kRows + 4 + 4 + 1 + 4, 513},
    };
    for (const Damage& d : damages) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[d.nOffset + static_cast<std::size_t>(i)] = static_cast<char>(d.nValue >> (8 * i));
        std::vector<TYPED_VALUES> list;
        EXPECT_FALSE(decodeTypedValues(bytes, list)) << d.what;
        EXPECT_TRUE(list.empty()) << d.what;
    }
    std::string zeroToken = good;
    zeroToken[zeroToken.size() - 1] = 0;
    std::vector<TYPED_VALUES> list;
    EXPECT_FALSE(decodeTypedValues(zeroToken, list));
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(decodeTypedValues(good.substr(0, n), list)) << n;
    EXPECT_FALSE(decodeTypedValues(good + '\0', list));
    EXPECT_TRUE(decodeTypedValues(good, list));
}

TEST_F(TypedValues, LatestFirstAndTheOldestGoesWhenFull)
{
    for (int i = 1; i <= TYPED_VALUES_CAPACITY + 1; ++i) {
        const std::string strId = ".1." + std::to_string(i);
        ASSERT_TRUE(rememberTypedValues(values(strId.c_str(), -1, {row("x", u"1")})));
    }
    // The first formula again, its book in other letters: the same formula.
    TYPED_VALUES again = values(".1.2", 0, {row("x", u"22")});
    std::strcpy(again.m_formula.m_szBook, "MATH");
    ASSERT_TRUE(rememberTypedValues(again));

    std::vector<TYPED_VALUES> list;
    ASSERT_TRUE(loadTypedValues(list));
    ASSERT_EQ(list.size(), static_cast<std::size_t>(TYPED_VALUES_CAPACITY));
    EXPECT_STREQ(list[0].m_formula.m_NodeInfo.m_szNodeId, ".1.2");
    EXPECT_EQ(list[0].m_vecRows[0].m_strText, u"22");
    EXPECT_STREQ(list[1].m_formula.m_NodeInfo.m_szNodeId, ".1.33");
    TYPED_VALUES found;
    EXPECT_FALSE(findTypedValues(formula("Math", ".1.1"), found));  // the oldest went
    EXPECT_TRUE(findTypedValues(formula("math", ".1.3"), found));
}

TEST_F(TypedValues, ForgetAndMove)
{
    ASSERT_TRUE(rememberTypedValues(values(".1.1", 0, {row("a", u"1")})));
    ASSERT_TRUE(rememberTypedValues(values(".1.2", 0, {row("b", u"2")})));
    ASSERT_TRUE(moveTypedValues(formula("Math", ".1.1"), formula("User Define", ".3.1")));
    ASSERT_TRUE(forgetTypedValues(formula("Math", ".1.2")));
    TYPED_VALUES found;
    EXPECT_FALSE(findTypedValues(formula("Math", ".1.1"), found));
    EXPECT_FALSE(findTypedValues(formula("Math", ".1.2"), found));
    ASSERT_TRUE(findTypedValues(formula("User Define", ".3.1"), found));
    EXPECT_EQ(found.m_vecRows[0].m_strText, u"1");
}

// The formula was edited: its parameters moved, one went, one came.
TEST_F(TypedValues, RowsFollowTheirAlias)
{
    const TYPED_VALUES stored = values(".1.1", 2, {row("v", u"12"), row("i", u"3"), row("r", u"4"), row("x", u"")});
    struct Case {
        int nRow;
        const char* szAlias;
        const char* szExpected;  // null: no value for this parameter
    } cases[] = {
        {0, "v", "12"},   // in its place
        {0, "r", "4"},    // moved up
        {3, "i", "3"},    // moved down
        {1, "q", nullptr},  // a new parameter
        {1, "I", nullptr},  // letter case counts
        {3, "x", ""},
    };
    for (const Case& c : cases) {
        const TYPED_ROW* pRow = findTypedRow(stored, c.nRow, c.szAlias);
        if (!c.szExpected) {
            EXPECT_EQ(pRow, nullptr) << c.szAlias;
            continue;
        }
        ASSERT_NE(pRow, nullptr) << c.szAlias;
        EXPECT_EQ(std::string(pRow->m_strText.begin(), pRow->m_strText.end()), c.szExpected);
    }
}

TEST_F(TypedValues, RowsAndLinesConvertBothWays)
{
    LedTokenModel line;
    for (int nKey : {41, 2, 45, 8, 54, 59, 45})  // 2√(9)×sin(pi)
        line.InputCommand(nKey);
    const TYPED_ROW r = typedRowFromLine(line, "a");
    std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
    ASSERT_TRUE(ledBlockFromTypedRow(r, block));
    LedTokenModel back;
    ASSERT_TRUE(back.SetRawInputString(block.data(), block.size()));
    EXPECT_EQ(back.Tokens(), line.Tokens());

    TYPED_ROW bad = r;
    bad.m_vecTokenLengths.back() += 1;  // one unit more than the text holds
    EXPECT_FALSE(ledBlockFromTypedRow(bad, block));
}

// The old program's row files belong to the last used formula: read once,
// under the aliases of its parameters, while there is no store file.
TEST_F(TypedValues, OldRowFilesAreTheLastUsedFormulasValues)
{
    const std::string strSource = (m_home / "book.txt").string();
    std::ofstream(strSource) << "***\nForId=1.1\nForType=1\nForName=Ohm\nForDes=d\nForMime=V=IR\n"
                                "Para=\"V\" \"Voltage\" \"v\" \"V\" \"0\"\nPara=\"R\" \"Resistance\" \"r\" \"O\" \"0\"\n"
                                "For=\"r\" \"v\"\nImage=\n";
    {
        FormulasFolderSwitch useBook("Math");
        ASSERT_TRUE(createFormulaDataFromTextFile(strSource, false));
    }
    ASSERT_TRUE(saveLastUsedFormula(formula("Math", ".1.1")));
    LedTokenModel line;
    line.InsertString(std::u16string(u"47"), false);
    ASSERT_TRUE(line.SaveData(LedDataFilePath(m_home.string(), 1)));

    TYPED_VALUES found;
    ASSERT_TRUE(findTypedValues(formula("Math", ".1.1"), found));
    ASSERT_EQ(found.m_vecRows.size(), 2u);
    EXPECT_EQ(found.m_vecRows[0].m_strText, u"");
    EXPECT_EQ(found.m_vecRows[1].m_strAlias, "r");
    EXPECT_EQ(found.m_vecRows[1].m_strText, u"47");

    // Once the store exists, the old files are history.
    ASSERT_TRUE(rememberTypedValues(values(".1.2", -1, {})));
    ASSERT_TRUE(forgetTypedValues(formula("Math", ".1.1")));
    EXPECT_FALSE(findTypedValues(formula("Math", ".1.1"), found));
}

}  // namespace
