// Finding a formula by id or name, and the search of all books, over books
// compiled into a temporary documents folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <filesystem>
#include <fstream>

#include "calc/FormulaLookup.h"
#include "shell/Global.h"
#include "storage/Formulas.h"

namespace {

const char* const kMathSource = R"BOOK(*
ForId=1
ForName=Geometry
*
ForId=1.4
ForName=Triangles
***
ForId=1.4.1
ForType=1
ForName=Law of cosines
ForDes=d
ForMime=c^2=a^2+b^2-2ab\cos\gamma
Para="c" "Side c" "c" "1" "0"
Para="a" "Side a" "a" "1" "0"
Para="b" "Side b" "b" "1" "0"
Para="\gamma" "Angle" "g" "^o" "0"
For="sqrt(a^2+b^2-2*a*b*cos(g))" "" "" "acos((a^2+b^2-c^2)/(2*a*b))"
Image=
***
ForId=1.2
ForType=0
ForName=Law of sines
ForDes=d
ForMime=x
Image=
***
ForId=2
ForType=1
ForName=Golden ratio
ForDes=d
ForMime=\varphi
Para="\varphi" "Ratio" "f" "1" "0"
For="(1+sqrt(5))/2"
Image=
)BOOK";

const char* const kOpticsSource = R"BOOK(*
ForId=3
ForName=Reflection
***
ForId=3.1
ForType=1
ForName=Law of reflection
ForDes=d
ForMime=x
Para="\theta_i" "Incidence" "i" "^o" "0"
Para="\theta_r" "Reflection" "r" "^o" "0"
For="r" "i"
Image=
)BOOK";

class FormulaLookupTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("calcudex-lookup-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        setenv("CALCUDEX_HOME", m_dir.c_str(), 1);
        initAppPaths();
        Compile("Math", kMathSource);
        Compile("Optics", kOpticsSource);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    void Compile(const std::string& strBook, const char* pszSource)
    {
        std::string strPath = (m_dir / (strBook + "_source.txt")).string();
        std::ofstream(strPath) << pszSource;
        FormulasFolderSwitch folder(strBook);
        ASSERT_TRUE(createFormulaDataFromTextFile(strPath, false));
    }

    std::filesystem::path m_dir;
};

TEST_F(FormulaLookupTest, FindsFormulasByIdOrName)
{
    const struct {
        const char* pszWhich;
        const char* pszId;  // null: not found
    } kCases[] = {
        {".1.4.1", ".1.4.1"},
        {"1.4.1", ".1.4.1"},
        {"1.4.1.", ".1.4.1"},
        {"2", ".2"},
        {"Law of cosines", ".1.4.1"},
        {"LAW OF COSINES", ".1.4.1"},
        {"law of sines", ".1.2"},   // theory formulas count
        {"Geometry", nullptr},      // folders do not
        {".1", nullptr},
        {"1.9", nullptr},
        {"Law of", nullptr},        // names match whole
        {"", nullptr},
    };
    for (const auto& c : kCases) {
        _fornode node{};
        bool bFound = FindFormulaNode("Math", c.pszWhich, node);
        EXPECT_EQ(bFound, c.pszId != nullptr) << c.pszWhich;
        if (bFound && c.pszId) {
            EXPECT_STREQ(node.m_szNodeId, c.pszId) << c.pszWhich;
        }
    }
    _fornode node{};
    EXPECT_FALSE(FindFormulaNode("Astrophysic", "1", node));  // no tree file
}

TEST_F(FormulaLookupTest, ReadsRecordsOfAnotherBookAndRestoresTheOpenOne)
{
    g_sFormulasFolder = "Optics";
    _fornode node{};
    ASSERT_TRUE(FindFormulaNode("Math", "Law of cosines", node));
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    ASSERT_TRUE(ReadFormulaOfBook("Math", node, pos, des, det));
    EXPECT_EQ(des.m_strName, "Law of cosines");
    EXPECT_EQ(det.m_nParamCount, 4u);
    EXPECT_EQ(det.m_arrParams[3].m_strUnit, "^o");
    EXPECT_EQ(g_sFormulasFolder, "Optics");
}

TEST_F(FormulaLookupTest, SearchOfAllBooks)
{
    std::vector<SEARCHRESULT> hits;
    SearchAllBooks("LAW", hits);
    ASSERT_EQ(hits.size(), 3u);
    // Books in book order, nodes by id, each with its folders from the top.
    EXPECT_EQ(hits[0].m_strBook, "Math");
    EXPECT_STREQ(hits[0].m_NodeInfo.m_szNodeName, "Law of sines");
    EXPECT_EQ(hits[0].m_vecPath, std::vector<std::string>{"Geometry"});
    EXPECT_STREQ(hits[1].m_NodeInfo.m_szNodeName, "Law of cosines");
    EXPECT_EQ(hits[1].m_vecPath, (std::vector<std::string>{"Geometry", "Triangles"}));
    EXPECT_EQ(hits[2].m_strBook, "Optics");
    EXPECT_EQ(hits[2].m_vecPath, std::vector<std::string>{"Reflection"});

    SearchAllBooks("triangle", hits);  // folders are hits too
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].m_NodeInfo.m_uiNodeType, static_cast<std::uint32_t>(FORMULA_TYPE_FOLDER));
    EXPECT_EQ(hits[0].m_vecPath, std::vector<std::string>{"Geometry"});

    SearchAllBooks("golden", hits);  // a top-level formula has no folders
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_TRUE(hits[0].m_vecPath.empty());

    SearchAllBooks("no such name", hits);
    EXPECT_TRUE(hits.empty());
}

}  // namespace
