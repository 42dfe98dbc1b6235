// Editing and deleting a formula in place.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "IndependentBookReader.h"
#include "StorageTestSupport.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

// Folder 1 with three formulas, folder 2 with one; ids chosen so that the
// sorted tree differs from the file order.
const char* const kBook =
    "*\nForId=1\nForName=Mechanics\n"
    "***\nForId=1.1\nForType=1\nForName=Work\nForDes=W\nForMime=W=Fs\n"
    "Para=\"W\" \"Work\" \"w\" \"J\" \"0\"\nPara=\"F\" \"Force\" \"f\" \"N\" \"0\"\n"
    "For=\"f*s\" \"w/s\"\nImage=\"w.png\"\n"
    "***\nForId=1.2\nForType=0\nForName=Newton\nForDes=N\nForMime=F=ma\nImage=\n"
    "*\nForId=2\nForName=Heat\n"
    "***\nForId=1.3\nForType=1\nForName=Power\nForDes=P\nForMime=P=W/t\n"
    "Para=\"P\" \"Power\" \"p\" \"W\" \"0\"\nFor=\"w/t\"\nImage=\n"
    "***\nForId=2.1\nForType=1\nForName=Heat flow\nForDes=Q\nForMime=Q\nImage=\n";

FORMULA_NODE_INFO entry(const char* szId, const char* szName, std::uint32_t uiType,
                        const char* szBook = "Math")
{
    _fornode node;
    setNode(node, szId, szName, uiType);
    return makeNodeInfo(node, szBook);
}

class BookRewrite : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ASSERT_TRUE(compileText("Math", kBook));
        g_sFormulasFolder = "Optics";  // another book is open
    }

    std::vector<Bytes> snapshot()
    {
        std::vector<Bytes> vec;
        for (const std::string& strPath : bookPaths("Math"))
            vec.push_back(readBytes(strPath));
        return vec;
    }

    refbook::Book readBook()
    {
        refbook::Book book;
        EXPECT_EQ(refbook::parse(refbook::load(m_strHome, "Math"), book), "");
        return book;
    }

    std::vector<std::string> treeLines()
    {
        std::vector<std::string> vec;
        for (const refbook::TreeLine& line : readBook().tree)
            vec.push_back(line.id + " " + line.name + " " + std::to_string(line.type));
        return vec;
    }

    // Every formula of the book as the program reads it, by numeric id.
    std::map<std::uint32_t, std::pair<_tag_formula_des, _tag_formula_detail>> readAll()
    {
        FormulasFolderSwitch bookSwitch("Math");
        std::map<std::uint32_t, std::pair<_tag_formula_des, _tag_formula_detail>> all;
        std::vector<_tag_formula_pos> vecPos;
        EXPECT_TRUE(getIndexFormula(vecPos));
        for (const _tag_formula_pos& pos : vecPos) {
            auto& [des, det] = all[pos.m_nID];
            des.m_nID = pos.m_nID;
            EXPECT_TRUE(getDesFormula(pos.m_nID, pos.m_nPosDes, des));
            EXPECT_TRUE(getDetFormula(pos.m_nID, pos.m_nPosDet, det));
        }
        return all;
    }
};

TEST_F(BookRewrite, DeleteDropsTheFormulaAndSortsTheTree)
{
    auto before = readAll();
    ASSERT_TRUE(deleteFormulaFromBook(entry(".1.2", "Newton", 0)));
    EXPECT_EQ(g_sFormulasFolder, "Optics");

    EXPECT_EQ(treeLines(), (std::vector<std::string>{".2 Heat 2", ".1 Mechanics 2",
                                                     ".2.1 Heat flow 1", ".1.3 Power 1",
                                                     ".1.1 Work 1"}));
    auto after = readAll();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after.count(0x01020000), 0u);
    for (const auto& [id, records] : after) {
        EXPECT_EQ(records.first.m_strMime, before[id].first.m_strMime);
        EXPECT_EQ(records.second.m_vecCalcFormulas, before[id].second.m_vecCalcFormulas);
    }
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

TEST_F(BookRewrite, DeletingTheOnlyFormulaLeavesAnEmptyBookWithItsFolders)
{
    ASSERT_TRUE(compileText("Math", "*\nForId=1\nForName=F\n***\nForId=1.1\nForType=1\nImage=\n"));
    ASSERT_TRUE(deleteFormulaFromBook(entry(".1.1", "", 1)));
    const std::vector<Bytes> files = snapshot();
    EXPECT_EQ(files[1], (Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(files[2].empty());
    EXPECT_TRUE(files[3].empty());
    EXPECT_EQ(treeLines(), std::vector<std::string>{".1 F 2"});
}

TEST_F(BookRewrite, DeletingAnUnknownFormulaStillRewritesTheBook)
{
    const std::vector<Bytes> before = snapshot();
    ASSERT_TRUE(deleteFormulaFromBook(entry(".7.7", "", 1)));
    const std::vector<Bytes> after = snapshot();
    // Records are copied from position 0 in index order, as compiled: the
    // binary files come out byte for byte the same; the tree gets sorted.
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(treeLines().front(), ".2 Heat 2");
}

TEST_F(BookRewrite, EditThatGrowsARecordMovesTheOthersIntact)
{
    auto before = readAll();
    _tag_formula_des des;
    des.m_strName = "Work done";
    des.m_strDes = std::string(900, 'd');
    des.m_strMime = "W = F \\cdot s";
    des.m_vecImages = {"a.png", "b.png"};
    _tag_formula_detail det;
    det.m_nParamCount = 3;
    det.m_arrParams[2].m_strName = "s";
    det.m_arrParams[2].m_strAlias = "s";
    det.m_vecCalcFormulas = {"f*s", "w/s", "w/f"};
    ASSERT_TRUE(editFormulaInBook(entry(".1.1", "Work done", 1), des, det));
    EXPECT_EQ(g_sFormulasFolder, "Optics");

    auto after = readAll();
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0x01010000].first.m_strDes, des.m_strDes);
    EXPECT_EQ(after[0x01010000].first.m_vecImages, des.m_vecImages);
    EXPECT_EQ(after[0x01010000].second.m_nParamCount, 3u);
    EXPECT_EQ(after[0x01010000].second.m_vecCalcFormulas, det.m_vecCalcFormulas);
    for (std::uint32_t id : {0x01020000u, 0x01030000u, 0x02010000u}) {
        EXPECT_EQ(after[id].first.m_strName, before[id].first.m_strName) << std::hex << id;
        EXPECT_EQ(after[id].first.m_strMime, before[id].first.m_strMime) << std::hex << id;
        EXPECT_EQ(after[id].second.m_nParamCount, before[id].second.m_nParamCount) << std::hex << id;
    }
    // The index keeps its order; only the positions after the edit moved.
    refbook::Book book = readBook();
    EXPECT_EQ(book.index[0].id, 0x01010000u);
    EXPECT_GT(book.index[1].posDes, 900u);
}

TEST_F(BookRewrite, EditedNameAndTypeReachTheTree)
{
    _tag_formula_des des;
    des.m_strName = "Aardvark law";
    _tag_formula_detail det;
    ASSERT_TRUE(editFormulaInBook(entry(".1.3", "Aardvark law", 0), des, det));
    EXPECT_EQ(treeLines(), (std::vector<std::string>{".2 Heat 2", ".1 Mechanics 2",
                                                     ".2.1 Heat flow 1", ".1.1 Work 1",
                                                     ".1.3 Aardvark law 0", ".1.2 Newton 0"}));
}

TEST_F(BookRewrite, EditKeepsTheIndexIdOnTheNewRecords)
{
    // Records handed in with another id would never be found again.
    _tag_formula_des des;
    des.m_nID = 0x09090000;
    des.m_strName = "Renamed";
    _tag_formula_detail det;
    det.m_nID = 0x09090000;
    ASSERT_TRUE(editFormulaInBook(entry(".1.2", "Renamed", 0), des, det));
    EXPECT_EQ(readAll()[0x01020000].first.m_strName, "Renamed");
}

TEST_F(BookRewrite, EntryBookInAnotherLetterCaseIsTheSameBook)
{
    ASSERT_TRUE(deleteFormulaFromBook(entry(".1.2", "", 0, "mAtH")));
    EXPECT_EQ(readAll().size(), 3u);
}

TEST_F(BookRewrite, UnreadableRecordIsCarriedOverEmptyUnderItsId)
{
    Bytes des = readBytes(bookPaths("Math")[2]);
    putLE(des, 0, 0x0F000000);  // the first record now says another id
    writeBytes(bookPaths("Math")[2], des);
    ASSERT_TRUE(deleteFormulaFromBook(entry(".2.1", "", 1)));
    auto after = readAll();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0x01010000].first.m_strName, "");
    EXPECT_EQ(after[0x01010000].second.m_nParamCount, 2u);  // its detail was fine
    EXPECT_EQ(after[0x01030000].first.m_strName, "Power");
}

// ---- Failures leave the book as it was --------------------------------------------------

struct FailureCase {
    const char* what;
    void (*damage)(BookRewrite&, const std::vector<std::string>& paths);
};

TEST_F(BookRewrite, FailedRewritesLeaveBookAndFolderClean)
{
    const FailureCase cases[] = {
        {"no index file", [](BookRewrite&, const std::vector<std::string>& p) {
             std::remove(p[1].c_str());
         }},
        {"no description file", [](BookRewrite&, const std::vector<std::string>& p) {
             std::remove(p[2].c_str());
         }},
        {"index count beyond the file", [](BookRewrite&, const std::vector<std::string>& p) {
             Bytes b = readBytes(p[1]);
             putLE(b, 0, 1000);
             writeBytes(p[1], b);
         }},
        {"index shorter than its count", [](BookRewrite&, const std::vector<std::string>& p) {
             writeBytes(p[1], Bytes{1, 0});
         }},
        {"a temporary file cannot be created", [](BookRewrite&, const std::vector<std::string>&) {
             makeFolder(getDetailFilenameTmp());
         }},
        {"the tree file cannot be read", [](BookRewrite&, const std::vector<std::string>& p) {
             std::remove(p[0].c_str());
             makeFolder(p[0]);
         }},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.damage(*this, bookPaths("Math"));
        const std::vector<Bytes> before = snapshot();
        _tag_formula_des des;
        _tag_formula_detail det;
        EXPECT_FALSE(deleteFormulaFromBook(entry(".1.1", "", 1)));
        EXPECT_FALSE(editFormulaInBook(entry(".1.1", "", 1), des, det));
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
        EXPECT_EQ(g_sFormulasFolder, "Optics");
    }
}

TEST_F(BookRewrite, EditBeyondTheFormatsLimitsIsRefused)
{
    const std::vector<Bytes> before = snapshot();
    _tag_formula_des des;
    _tag_formula_detail det;
    det.m_nParamCount = 11;
    EXPECT_FALSE(editFormulaInBook(entry(".1.1", "", 1), des, det));
    det.m_nParamCount = 1;
    des.m_strDes = std::string(1024, 'x');
    EXPECT_FALSE(editFormulaInBook(entry(".1.1", "", 1), des, det));
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

}  // namespace
