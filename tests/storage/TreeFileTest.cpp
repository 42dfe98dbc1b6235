// Tree file lines, the two sort orders, finding a node and its folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

struct LineCase {
    const char* line;
    bool isNode;
    const char* id;
    const char* name;
    std::uint32_t type;
};

const LineCase kLineCases[] = {
    // lines as the writers produce them
    {".1 =Ohm's law= 1\r\n", true, ".1", "Ohm's law", 1},
    {".3.2 =Statics= 2\r\n", true, ".3.2", "Statics", 2},
    // the name runs to the last "=", so it may contain "="
    {".2 =a=b= 0\r\n", true, ".2", "a=b", 0},
    {".2 =x = y + z= 1", true, ".2", "x = y + z", 1},
    // blanks and tabs around the parts
    {" \t.4  =  spaced name  =  2 \r\n", true, ".4", "spaced name", 2},
    // a missing or wordy type reads as its leading digits
    {".5 =no type= ", true, ".5", "no type", 0},
    {".6 =t= 12abc", true, ".6", "t", 12},
    // not node lines
    {"", false, "", "", 0},
    {"\r\n", false, "", "", 0},
    {"garbage", false, "", "", 0},
    {".7 =cut short", false, "", "", 0},
};

TEST(TreeFile, ParseLineTable)
{
    for (const LineCase& c : kLineCases) {
        _fornode node;
        ASSERT_EQ(parseTreeLine(c.line, node), c.isNode) << c.line;
        if (!c.isNode)
            continue;
        EXPECT_STREQ(node.m_szNodeId, c.id) << c.line;
        EXPECT_STREQ(node.m_szNodeName, c.name) << c.line;
        EXPECT_EQ(node.m_uiNodeType, c.type) << c.line;
    }
}

TEST(TreeFile, OverlongTextsAreCutToTheirArraysOnCharacterBoundaries)
{
    // 200 two-byte characters: 400 bytes of name, 255 bytes of room.
    std::string strName;
    for (int i = 0; i < 200; ++i)
        strName += "\xC3\xA9";
    std::string strId = "." + std::string(40, '1');
    _fornode node;
    ASSERT_TRUE(parseTreeLine(strId + " =" + strName + "= 1", node));
    EXPECT_EQ(std::strlen(node.m_szNodeName), 254u);  // 127 whole characters
    EXPECT_EQ(std::string(node.m_szNodeName), strName.substr(0, 254));
    EXPECT_EQ(std::strlen(node.m_szNodeId), 31u);
    EXPECT_EQ(node.m_uiNodeType, 1u);
}

std::vector<_fornode> nodes(const std::vector<std::tuple<const char*, const char*, int>>& spec)
{
    std::vector<_fornode> vec;
    for (const auto& [id, name, type] : spec) {
        _fornode node;
        setNode(node, id, name, static_cast<std::uint32_t>(type));
        vec.push_back(node);
    }
    return vec;
}

std::vector<std::string> ids(const std::vector<_fornode>& vec)
{
    std::vector<std::string> out;
    for (const _fornode& node : vec)
        out.push_back(node.m_szNodeId);
    return out;
}

class TreeFileBook : public TempHomeTest {
protected:
    std::string writeTree(const std::string& strBook, const std::string& strText)
    {
        std::string strPath = bookPaths(strBook)[0];
        writeText(strPath, strText);
        return strPath;
    }
};

TEST_F(TreeFileBook, FirstOrderIsFoldersThenCalculableThenTheoryEachByName)
{
    std::string strPath = writeTree("Math", ".1.1 =z= 1\r\n.1.3 =m= 0\r\n.1 =B= 2\r\n.1.2 =A= 1\r\n"
                                            ".1.4 =beta= 0\r\n.1.5 =Alpha= 0\r\n");
    std::vector<_fornode> vec;
    ASSERT_TRUE(getFormulasTreeFromFileAndSort(vec, strPath, true));
    EXPECT_EQ(ids(vec), (std::vector<std::string>{".1", ".1.2", ".1.1", ".1.5", ".1.4", ".1.3"}));

    ASSERT_TRUE(getFormulasTreeFromFileAndSort(vec, strPath, false));
    EXPECT_EQ(ids(vec), (std::vector<std::string>{".1.1", ".1.3", ".1", ".1.2", ".1.4", ".1.5"}));
}

TEST_F(TreeFileBook, SecondOrderPutsEveryNodeAfterItsAncestors)
{
    std::string strPath =
        writeTree("Math", ".2 =b= 2\r\n.1.10 =x= 1\r\n.1.2.1 =y= 1\r\n.1 =a= 2\r\n.1.2 =c= 2\r\n");
    std::vector<_fornode> vec;
    ASSERT_TRUE(getFormulasTreeFromFileAndSort2(vec, strPath, true));
    EXPECT_EQ(ids(vec), (std::vector<std::string>{".1", ".1.10", ".1.2", ".1.2.1", ".2"}));
}

TEST_F(TreeFileBook, MissingTreeFileGivesFalseAndAnEmptyList)
{
    std::vector<_fornode> vec = nodes({{".9", "stale", 2}});
    EXPECT_FALSE(getFormulasTreeFromFileAndSort(vec, path("none.dat"), true));
    EXPECT_TRUE(vec.empty());
    vec = nodes({{".9", "stale", 2}});
    EXPECT_FALSE(getFormulasTreeFromFileAndSort2(vec, path("none.dat"), true));
    EXPECT_TRUE(vec.empty());
}

TEST_F(TreeFileBook, GetTreeNodeFindsTheFirstMatchingLineOfTheEntrysBook)
{
    writeTree("Math", ".1 =Algebra= 2\r\n.1.1 =First= 1\r\n.1.1 =Second= 0\r\n");
    g_sFormulasFolder = "Optics";

    _fornode node;
    setNode(node, ".1.1", "old name", 1);
    // The entry names its book in another letter case; it is the same book.
    FORMULA_NODE_INFO info = makeNodeInfo(node, "MATH");
    _fornode found;
    ASSERT_TRUE(getTreeNode(info, found));
    EXPECT_STREQ(found.m_szNodeName, "First");
    EXPECT_EQ(found.m_uiNodeType, 1u);
    EXPECT_EQ(g_sFormulasFolder, "Optics");

    setNode(node, ".1.2", "", 1);
    EXPECT_FALSE(getTreeNode(makeNodeInfo(node, "Math"), found));
    EXPECT_FALSE(getTreeNode(makeNodeInfo(node, "Astrophysic"), found));  // no tree file
    EXPECT_EQ(g_sFormulasFolder, "Optics");
}

struct PathCase {
    const char* id;
    bool ok;
    std::vector<std::string> path;
};

TEST_F(TreeFileBook, FormulaPathTable)
{
    writeTree("Dynamics and Mechanics", ".1.2.3 =Lever= 1\r\n.1 =Mechanics= 2\r\n"
                                        ".1.2 =Statics= 2\r\n.1.1 =Kinematics= 2\r\n"
                                        ".12 =Other= 2\r\n.12.1 =Far= 1\r\n.1.2.4 =Beam= 0\r\n");
    const PathCase cases[] = {
        {".1.2.3", true, {"Mechanics", "Statics"}},
        {".1.2", true, {"Mechanics"}},
        {".1", true, {}},
        {".12.1", true, {"Other"}},  // ".1" is not a folder of ".12.1"
        {".7.7", true, {}},          // not in the book
    };
    g_sFormulasFolder = "Math";
    for (const PathCase& c : cases) {
        _fornode node;
        setNode(node, c.id, "", 1);
        std::vector<std::string> path = {"stale"};
        EXPECT_EQ(getFormulaPathFromBook(makeNodeInfo(node, "Dynamics and Mechanics"), path), c.ok)
            << c.id;
        EXPECT_EQ(path, c.path) << c.id;
    }
    EXPECT_EQ(g_sFormulasFolder, "Math");

    _fornode node;
    setNode(node, ".1.1", "", 1);
    std::vector<std::string> path = {"stale"};
    EXPECT_FALSE(getFormulaPathFromBook(makeNodeInfo(node, "Optics"), path));
    EXPECT_TRUE(path.empty());
}

}  // namespace
