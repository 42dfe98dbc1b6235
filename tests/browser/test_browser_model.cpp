// The browser's model without a window: levels of the tree, both searches,
// row bookkeeping after a removal, and the session file.

#include "browser/FormulaBrowser.h"
#include "shell/Global.h"
#include "storage/Formulas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

_fornode node(const char* id, const char* name, std::uint32_t type)
{
    _fornode n = makeEmptyNode();
    setNode(n, id, name, type);
    return n;
}

std::vector<std::string> names(const std::vector<int>& rows)
{
    std::vector<std::string> out;
    for (int r : rows)
        out.push_back(g_vecFormulas[r].m_szNodeName);
    return out;
}

// A documents folder of its own for each test.
class BrowserModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_home = fs::temp_directory_path() / ("calcudex-browser-" + std::to_string(::getpid()) + "-"
                                              + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        ::setenv("CALCUDEX_HOME", m_home.c_str(), 1);
        initAppPaths();
        g_sFormulasFolder.clear();
        m_arrTrace.clear();
        g_vecFormulas.clear();
        g_vecMatchedFormulaIds.clear();
        m_arraySearchResult.clear();
    }
    void TearDown() override { fs::remove_all(m_home); }

    void writeBook(const std::string& book, const std::string& text)
    {
        const fs::path source = m_home / "source.txt";
        std::ofstream(source) << text;
        FormulasFolderSwitch useBook(book);
        ASSERT_TRUE(createFormulaDataFromTextFile(source.string(), false));
    }

    void writeSession(const std::string& bytes)
    {
        std::ofstream(m_home / "LastSession.sav", std::ios::binary) << bytes;
    }

    fs::path m_home;
};

std::string le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string text(const std::string& s)
{
    return le32(static_cast<std::int32_t>(s.size())) + s;
}

} // namespace

TEST_F(BrowserModel, BookListIsMinusOneToMinusSeven)
{
    std::vector<int> rows;
    getBooks(rows);
    EXPECT_EQ(rows, (std::vector<int>{-1, -2, -3, -4, -5, -6, -7}));
    EXPECT_EQ(bookDisplayName("User Define"), "User-defined Formulas");
    EXPECT_EQ(bookDisplayName("Optics"), "Optics");
}

TEST_F(BrowserModel, ChildrenAreOneLevelBelowThePrefix)
{
    g_vecFormulas = {node(".1", "Mechanics", 2), node(".1.1", "Statics", 2), node(".1.1.1", "Lever", 1),
                     node(".1.2", "Speed", 1),   node(".10", "Other", 2),    node(".2", "Energy", 0)};
    std::vector<int> rows;
    const struct {
        const char* prefix;
        std::vector<std::string> children;
    } cases[] = {
        {".", {"Mechanics", "Other", "Energy"}},
        {".1.", {"Statics", "Speed"}},      // not .10, not the grandchild
        {".1.1.", {"Lever"}},
        {".1.2.", {}},                       // a formula has no children
        {".3.", {}},
    };
    for (const auto& c : cases) {
        getChildNode(c.prefix, rows);
        EXPECT_EQ(names(rows), c.children) << c.prefix;
    }
}

TEST_F(BrowserModel, SearchOfOpenLevelCoversItsWholeSubtree)
{
    g_vecFormulas = {node(".1", "Ohm folder", 2), node(".1.1", "Ohm's law", 1), node(".1.1.1", "deep ohm", 0),
                     node(".2", "OHMmeter", 1),   node(".2.1", "Kirchhoff", 1)};
    const struct {
        const char* prefix;
        const char* text;
        std::vector<std::string> hits;
    } cases[] = {
        {".", "ohm", {"Ohm folder", "Ohm's law", "deep ohm", "OHMmeter"}},
        {".1.", "OHM", {"Ohm's law", "deep ohm"}},
        {".2.", "ohm", {}},
        {".", "kirch", {"Kirchhoff"}},
    };
    for (const auto& c : cases) {
        searchOpenBook(c.prefix, c.text);
        EXPECT_EQ(names(g_vecMatchedFormulaIds), c.hits) << c.prefix << " " << c.text;
    }
}

TEST_F(BrowserModel, RowsFollowAnErasedNode)
{
    const struct {
        std::vector<int> rows;
        int erased;
        std::vector<int> after;
    } cases[] = {
        {{0, 1, 2, 3}, 1, {0, 1, 2}},
        {{4, 7, 9}, 7, {4, 8}},
        {{4, 7, 9}, 5, {4, 6, 8}},   // a node of another level went: later indexes move down
        {{4, 7, 9}, 10, {4, 7, 9}},
        {{-1, -2}, 0, {-1, -2}},     // book rows are not indexes
    };
    for (const auto& c : cases) {
        std::vector<int> rows = c.rows;
        shiftRowsAfterErase(rows, c.erased);
        EXPECT_EQ(rows, c.after);
    }
}

TEST_F(BrowserModel, SearchOfAllBooksGroupsByBookWithFolderPaths)
{
    writeBook("Optics", "*\nForId=2\nForName=Waves\n*\nForId=2.1\nForName=Ohmic lenses\n"
                        "***\nForId=2.1.1\nForType=0\nForName=Ohm's optics\nForDes=x\nForMime=x\nImage=\n");
    writeBook("Astrophysic", "***\nForId=5\nForType=0\nForName=ohm in space\nForDes=x\nForMime=x\nImage=\n");
    searchAllBooks("OHM");
    ASSERT_EQ(m_arraySearchResult.size(), 3u);
    EXPECT_EQ(m_arraySearchResult[0].m_strBook, "Astrophysic");
    EXPECT_EQ(searchResultPathText(m_arraySearchResult[0]), "/Astrophysic/");
    EXPECT_EQ(std::string(m_arraySearchResult[1].m_NodeInfo.m_szNodeName), "Ohmic lenses");
    EXPECT_EQ(searchResultPathText(m_arraySearchResult[1]), "/Optics/Waves/");
    EXPECT_EQ(std::string(m_arraySearchResult[2].m_NodeInfo.m_szNodeName), "Ohm's optics");
    EXPECT_EQ(searchResultPathText(m_arraySearchResult[2]), "/Optics/Waves/Ohmic lenses/");
}

TEST_F(BrowserModel, SearchOfAllBooksSkipsBooksWithoutTree)
{
    writeBook("Math", "***\nForId=1\nForType=0\nForName=Ohm\nForDes=x\nForMime=x\nImage=\n");
    fs::remove(m_home / "Math_fortree.dat");
    searchAllBooks("ohm");
    EXPECT_TRUE(m_arraySearchResult.empty());
}

TEST_F(BrowserModel, SessionRoundTrip)
{
    g_sFormulasFolder = "Optics";
    m_arrTrace = {".", ".2."};
    ASSERT_TRUE(saveCurrentSession());
    EXPECT_FALSE(fs::exists(m_home / "LastSession.sav.tmp"));

    std::ifstream in(m_home / "LastSession.sav", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, text("Optics") + le32(2) + text(".") + text(".2."));

    g_sFormulasFolder.clear();
    m_arrTrace.clear();
    ASSERT_TRUE(loadLastSession());
    EXPECT_EQ(g_sFormulasFolder, "Optics");
    EXPECT_EQ(m_arrTrace, (std::vector<std::string>{".", ".2."}));
}

TEST_F(BrowserModel, SessionOfBookListHasNoBookAndNoTrace)
{
    ASSERT_TRUE(saveCurrentSession());
    ASSERT_TRUE(loadLastSession());
    EXPECT_TRUE(g_sFormulasFolder.empty());
    EXPECT_TRUE(m_arrTrace.empty());
}

TEST_F(BrowserModel, SessionSkipsEmptyTraceElementsAndFoldsBookCase)
{
    writeSession(text("optics") + le32(3) + text(".") + text("") + text(".1."));
    ASSERT_TRUE(loadLastSession());
    EXPECT_EQ(g_sFormulasFolder, "Optics");
    EXPECT_EQ(m_arrTrace, (std::vector<std::string>{".", ".1."}));
}

TEST_F(BrowserModel, MissingOrDamagedSessionChangesNothing)
{
    EXPECT_FALSE(loadLastSession()); // no file
    const std::string damaged[] = {
        "",
        le32(6) + "Opt",                                    // cut inside the name
        le32(-1),                                           // negative length
        le32(300) + std::string(300, 'a') + le32(0),        // name over 255 bytes
        text("Optics") + le32(-2),                          // negative count
        text("Optics") + le32(1000000),                     // count beyond any file
        text("Optics") + le32(2) + text("."),               // fewer elements than counted
        text("Nowhere") + le32(1) + text("."),              // not one of the books
        text("../Optics") + le32(0),                        // a path, not a book
        text("Optics") + le32(1) + text("1."),              // no leading dot
        text("Optics") + le32(1) + text(".1..2."),          // empty component
        text("Optics") + le32(1) + text(".a."),             // not a number
        text("") + le32(1) + text("."),                     // a trail without a book
    };
    for (const std::string& bytes : damaged) {
        writeSession(bytes);
        g_sFormulasFolder = "Math";
        m_arrTrace = {"."};
        EXPECT_FALSE(loadLastSession()) << ::testing::PrintToString(bytes);
        EXPECT_EQ(g_sFormulasFolder, "Math");
        EXPECT_EQ(m_arrTrace, (std::vector<std::string>{"."}));
    }
}
