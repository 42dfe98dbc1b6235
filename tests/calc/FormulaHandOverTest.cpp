// Which formula the calculation screen opens from the hand-over state, the
// TeX of a row's symbol-and-unit view and the fixed-value rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "calc/FormulaHandOver.h"
#include "shell/Global.h"
#include "storage/Formulas.h"

namespace {

_fornode Node(const char* pszId, const char* pszName, uint32_t uiType)
{
    _fornode node = makeEmptyNode();
    setNode(node, pszId, pszName, uiType);
    return node;
}

SEARCHRESULT Hit(const char* pszId, const char* pszName, const char* pszBook)
{
    SEARCHRESULT hit;
    hit.m_NodeInfo = Node(pszId, pszName, FORMULA_TYPE_CALCULABLE);
    hit.m_strBook = pszBook;
    return hit;
}

// The browser and Favorites state the screen reads; every test sets it whole.
struct HandOverState {
    bool bFavHis;
    int nSelected;
    bool bSearching;
    bool bTraceEmpty;
};

void Apply(const HandOverState& s)
{
    g_bFavHisToCalcDet = s.bFavHis;
    g_favhisInfo = makeNodeInfo(Node(".4.2", "Favourite", FORMULA_TYPE_THEORY), "Optics");
    g_nSelectedFormula = s.nSelected;
    g_bSearching = s.bSearching;
    m_arrTrace.clear();
    if (!s.bTraceEmpty)
        m_arrTrace.push_back(".1.");
    g_sFormulasFolder = "Math";
    g_vecFormulas = {Node(".1", "Folder", FORMULA_TYPE_FOLDER), Node(".1.1", "In the book", FORMULA_TYPE_CALCULABLE)};
    m_arraySearchResult = {Hit(".7", "Hit zero", "Astrophysic"), Hit(".3.1", "Hit one", "Thermodynamics")};
}

TEST(FormulaHandOver, CurrentNodeFromTheHandOverState)
{
    const struct {
        const char* pszWhat;
        HandOverState state;
        FORMULA_SOURCE eSource;
        const char* pszName;  // of the node found
        const char* pszBook;
    } kCases[] = {
        // Favorites, History and the last used formula win over everything
        {"favourite", {true, 1, true, true}, FORMULA_SOURCE_FAVHIS, "Favourite", "Optics"},
        {"favourite without a choice", {true, -1, false, true}, FORMULA_SOURCE_FAVHIS, "Favourite", "Optics"},
        // the open book
        {"open book", {false, 1, false, false}, FORMULA_SOURCE_OPEN_BOOK, "In the book", "Math"},
        {"search in the open book", {false, 1, true, false}, FORMULA_SOURCE_OPEN_BOOK, "In the book", "Math"},
        // a search of all books: the trace is empty
        {"search of all books", {false, 1, true, true}, FORMULA_SOURCE_SEARCH_HIT, "Hit one", "Thermodynamics"},
        // nothing chosen, or an index the lists no longer have
        {"nothing chosen", {false, -1, false, false}, FORMULA_SOURCE_NONE, "", ""},
        {"index past the book", {false, 2, false, false}, FORMULA_SOURCE_NONE, "", ""},
        {"index past the hits", {false, 2, true, true}, FORMULA_SOURCE_NONE, "", ""},
    };
    for (const auto& c : kCases) {
        Apply(c.state);
        FORMULA_NODE_INFO info;
        EXPECT_EQ(getCurrentFormulaNode(info), c.eSource) << c.pszWhat;
        EXPECT_STREQ(info.m_NodeInfo.m_szNodeName, c.pszName) << c.pszWhat;
        EXPECT_STREQ(info.m_szBook, c.pszBook) << c.pszWhat;
        EXPECT_EQ(g_sFormulasFolder, "Math") << c.pszWhat;  // finding the node changes no book
    }
}

TEST(FormulaHandOver, SymbolAndUnitOfARow)
{
    const struct {
        const char* pszName;
        const char* pszUnit;
        const char* pszTex;
    } kCases[] = {
        {"U", "V", "U\\hspace{1}(V)"},
        {"\\theta", "^o", "\\theta\\hspace{1}(^o)"},
        {"", "m/s", "m/s"},  // no symbol: the unit alone
        {"", "", ""},
        {"n", "", "n"},  // no unit: no empty brackets
        {"n", "  ", "n"},
    };
    for (const auto& c : kCases) {
        _tag_formula_parameter param;
        param.m_strName = c.pszName;
        param.m_strUnit = c.pszUnit;
        EXPECT_EQ(SymbolAndUnitTex(param), c.pszTex) << c.pszName << " " << c.pszUnit;
    }
}

TEST(FormulaHandOver, FixedValues)
{
    const struct {
        const char* pszValue;
        bool bFixed;
    } kCases[] = {
        {"", false},
        {"0", false},  // "0" is the book's way of saying none
        {"9.81", true},
        {"0.0", true},
        {"-1", true},
    };
    for (const auto& c : kCases) {
        _tag_formula_parameter param;
        param.m_strValue = c.pszValue;
        EXPECT_EQ(HasFixedValue(param), c.bFixed) << c.pszValue;
    }
}

class FormulaHandOverBookTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("calcudex-handover-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        setenv("CALCUDEX_HOME", m_dir.c_str(), 1);
        initAppPaths();
        std::string strPath = (m_dir / "source.txt").string();
        std::ofstream(strPath) << "***\nForId=3\nForType=1\nForName=Lens\nForDes=d\nForMime=x\n"
                                  "Para=\"f\" \"Focal length\" \"f\" \"m\" \"0\"\nFor=\"2\"\nImage=\n";
        FormulasFolderSwitch folder("Optics");
        ASSERT_TRUE(createFormulaDataFromTextFile(strPath, false));
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_dir);
        g_vecFormulas.clear();
        m_arraySearchResult.clear();
        g_nSelectedFormula = -1;
        g_bSearching = false;
        g_sFormulasFolder.clear();
    }

    std::filesystem::path m_dir;
};

TEST_F(FormulaHandOverBookTest, SearchHitOpensItsBook)
{
    Apply({false, 0, true, true});
    m_arraySearchResult = {Hit(".3", "Lens", "Optics")};
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    ASSERT_TRUE(getCurrentFormulaRecords(pos, des, det));
    EXPECT_EQ(des.m_strName, "Lens");
    EXPECT_EQ(det.m_arrParams[0].m_strDescription, "Focal length");
    EXPECT_EQ(g_sFormulasFolder, "Optics");  // the browser goes on in the hit's book
}

TEST_F(FormulaHandOverBookTest, UnreadableFormulaGivesEmptyRecords)
{
    Apply({false, 1, false, false});  // "In the book" of Math: the book has no files here
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    des.m_strName = "left over";
    det.m_nParamCount = 3;
    EXPECT_FALSE(getCurrentFormulaRecords(pos, des, det));
    EXPECT_TRUE(des.m_strName.empty());
    EXPECT_EQ(det.m_nParamCount, 0u);

    Apply({false, -1, false, false});
    EXPECT_FALSE(getCurrentFormulaRecords(pos, des, det));
}

}  // namespace
