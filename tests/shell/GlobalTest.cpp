// Folders, start-up copy of the books, the picture id file, unilen.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../storage/StorageTestSupport.h"
#include "shell/AppStartup.h"
#include "shell/Global.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"

namespace fs = std::filesystem;

namespace {

class Shell : public TempHomeTest {
protected:
    void TearDown() override
    {
        // Leave the environment as the next test expects it.
        ::setenv("CALCUDEX_HOME", m_strHome.c_str(), 1);
        ::unsetenv("CALCUDEX_RESOURCES");
        TempHomeTest::TearDown();
    }

    std::vector<std::string> bookFileNames()
    {
        std::vector<std::string> vec;
        for (const std::string& strBook : g_arrBooks) {
            for (const char* szFile : g_arrBookFileNames)
                vec.push_back(strBook + "_" + szFile);
        }
        return vec;
    }
};

struct FolderCase {
    const char* what;
    const char* home;      // CALCUDEX_HOME, nullptr for unset
    const char* xdg;       // XDG_DATA_HOME, nullptr for unset
    const char* expected;  // below the test's folder; "@" stands for it
};

TEST_F(Shell, DocumentsFolderTable)
{
    const FolderCase cases[] = {
        {"CALCUDEX_HOME wins", "@/home", "@/xdg", "@/home"},
        {"trailing slashes dropped", "@/home//", nullptr, "@/home"},
        {"absolute XDG_DATA_HOME", nullptr, "@/xdg", "@/xdg/calcudex"},
        {"relative XDG_DATA_HOME is ignored", nullptr, "relative/xdg", "@/user/.local/share/calcudex"},
        {"empty XDG_DATA_HOME is ignored", nullptr, "", "@/user/.local/share/calcudex"},
        {"neither", nullptr, nullptr, "@/user/.local/share/calcudex"},
    };
    const char* szOldHome = std::getenv("HOME");
    const std::string strOldHome = szOldHome ? szOldHome : "";
    const char* szOldXdg = std::getenv("XDG_DATA_HOME");
    const std::string strOldXdg = szOldXdg ? szOldXdg : "";
    auto expand = [&](const char* sz) {
        std::string s = sz;
        return s[0] == '@' ? m_strHome + s.substr(1) : s;
    };
    ::setenv("HOME", (m_strHome + "/user").c_str(), 1);
    for (const FolderCase& c : cases) {
        if (c.home)
            ::setenv("CALCUDEX_HOME", expand(c.home).c_str(), 1);
        else
            ::unsetenv("CALCUDEX_HOME");
        if (c.xdg)
            ::setenv("XDG_DATA_HOME", c.xdg[0] ? expand(c.xdg).c_str() : "", 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        std::string strFolder = resolveDocumentsFolder();
        EXPECT_EQ(strFolder, expand(c.expected)) << c.what;
        EXPECT_TRUE(fs::is_directory(strFolder)) << c.what << ": created when missing";
    }
    ::setenv("HOME", strOldHome.c_str(), 1);
    if (szOldXdg)
        ::setenv("XDG_DATA_HOME", strOldXdg.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST_F(Shell, ResourceFolderOverrideAndBuildTree)
{
    ::setenv("CALCUDEX_RESOURCES", "/opt/calcudex-resources/", 1);
    EXPECT_EQ(resolveResourceFolder(), "/opt/calcudex-resources");
    ::unsetenv("CALCUDEX_RESOURCES");
    EXPECT_EQ(resolveResourceFolder(), std::string(CALCUDEX_BUILD_RESOURCES));
}

// ---- Start-up copy ----------------------------------------------------------------------

TEST_F(Shell, FirstStartCopiesTheShippedBooksAndTheSecondNothing)
{
    g_sAppPath = CALCUDEX_BUILD_RESOURCES;
    ASSERT_EQ(copyResourceToDocumentFolder(), 28);
    for (const std::string& strName : bookFileNames()) {
        EXPECT_TRUE(pathExists(path(strName))) << strName;
    }
    EXPECT_EQ(copyResourceToDocumentFolder(), 0);
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());

    // The shipped user book is empty but valid.
    g_sFormulasFolder = USER_DEFINE_BOOK;
    std::vector<_tag_formula_pos> vecPos(1);
    EXPECT_TRUE(getIndexFormula(vecPos));
    EXPECT_TRUE(vecPos.empty());
}

TEST_F(Shell, ADeletedBookFileComesBackAloneAndEditsSurvive)
{
    const std::string strResources = path("resources");
    for (const std::string& strBook : g_arrBooks) {
        ASSERT_TRUE(makeFolder(strResources + "/Formulas/" + strBook));
        for (const char* szFile : g_arrBookFileNames)
            writeText(strResources + "/Formulas/" + strBook + "/" + strBook + "_" + szFile,
                      "shipped " + strBook + " " + szFile);
    }
    g_sAppPath = strResources;
    ASSERT_EQ(copyResourceToDocumentFolder(), 28);
    EXPECT_EQ(readBytes(path("Optics_fordes.dat")),
              readBytes(strResources + "/Formulas/Optics/Optics_fordes.dat"));

    writeText(path("Math_fortree.dat"), "edited by the user");
    ASSERT_EQ(std::remove(path("Math_fordes.dat").c_str()), 0);
    EXPECT_EQ(copyResourceToDocumentFolder(), 1);
    const Bytes restored = readBytes(path("Math_fordes.dat"));
    EXPECT_EQ(std::string(restored.begin(), restored.end()), "shipped Math fordes.dat");
    const Bytes edited = readBytes(path("Math_fortree.dat"));
    EXPECT_EQ(std::string(edited.begin(), edited.end()), "edited by the user");
}

TEST_F(Shell, BooksMissingFromTheResourcesAreSkipped)
{
    const std::string strResources = path("resources");
    ASSERT_TRUE(makeFolder(strResources + "/Formulas/Optics"));
    writeText(strResources + "/Formulas/Optics/Optics_fortree.dat", ".1 =x= 2\r\n");
    g_sAppPath = strResources;
    EXPECT_EQ(copyResourceToDocumentFolder(), 1);
    EXPECT_TRUE(pathExists(path("Optics_fortree.dat")));
    EXPECT_FALSE(pathExists(path("Optics_fordes.dat")));
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

TEST_F(Shell, InitialStateLoadsTheListsAndOpensNoBook)
{
    g_arrFavorite = {makeNodeInfo(makeEmptyNode(), "Math")};
    ASSERT_TRUE(saveFavoritesAndHistory());
    g_arrFavorite.clear();
    g_sFormulasFolder = "Math";
    g_sOutputMode = "other";
    initApplicationState();
    EXPECT_EQ(g_sFormulasFolder, "");
    EXPECT_EQ(g_sOutputMode, "English (US)");
    EXPECT_EQ(g_arrFavorite.size(), 1u);
    EXPECT_TRUE(g_arrHistory.empty());
    EXPECT_LT(g_nSelectedFormula, 0);  // nothing chosen at start
}

// ---- Picture ids -------------------------------------------------------------------------

TEST_F(Shell, PictureIdsCountFromZero)
{
    EXPECT_EQ(getImageIdFilename(), path("User Define_CurrentImageId.txt"));
    EXPECT_EQ(getNextImageId(), 0);
    saveCurrentImageId(0);
    EXPECT_EQ(readBytes(getImageIdFilename()), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(getNextImageId(), 1);
    saveCurrentImageId(41);
    EXPECT_EQ(getNextImageId(), 42);

    const std::pair<Bytes, int> damaged[] = {
        {{}, 0},
        {{7, 0}, 0},                      // short file
        {{0xFF, 0xFF, 0xFF, 0x7F}, 0},    // cannot be advanced without overflow
        {{0xFE, 0xFF, 0xFF, 0xFF}, 0},    // negative
        {{0x10, 0x00, 0x00, 0x00, 9}, 17},
    };
    for (const auto& [bytes, next] : damaged) {
        writeBytes(getImageIdFilename(), bytes);
        EXPECT_EQ(getNextImageId(), next) << bytes.size() << " bytes";
    }
}

// A picture already stored is never overwritten: the id file may be gone,
// damaged, or unwritable (then it never advances), while the pictures it
// counted are still used by formulas.
struct PictureIdCase {
    const char* what;
    int stored;                 // id in the id file; -1: no id file
    std::vector<int> pictures;  // UserDefineImage_<n>.png present
    int next;
};

TEST_F(Shell, PictureIdsSkipPicturesAlreadyStored)
{
    const PictureIdCase cases[] = {
        {"no id file, no pictures", -1, {}, 0},
        {"no id file, pictures 0 and 1", -1, {0, 1}, 2},
        {"no id file, a gap stays free", -1, {0, 2}, 1},
        {"id file behind the pictures", 0, {1, 2}, 3},
        {"id file up to date", 4, {3, 4}, 5},
        {"pictures below the stored id do not matter", 7, {0}, 8},
    };
    EXPECT_EQ(getImageFilename(3), path("Image/UserDefineImage_3.png"));
    for (const PictureIdCase& c : cases) {
        fs::remove_all(path("Image"));
        std::remove(getImageIdFilename().c_str());
        ASSERT_TRUE(makeFolder(path("Image")));
        for (int n : c.pictures)
            writeText(getImageFilename(n), "png");
        if (c.stored >= 0)
            saveCurrentImageId(c.stored);
        EXPECT_EQ(getNextImageId(), c.next) << c.what;
    }
}

// ---- Small helpers ----------------------------------------------------------------------

TEST(ShellHelpers, Unilen)
{
    const char16_t text[] = u"ab\u00e9c";
    EXPECT_EQ(unilen(text), 4u);
    const char16_t empty[] = u"";
    EXPECT_EQ(unilen(empty), 0u);
    const std::uint16_t units[] = {0x41, 0xD83D, 0xDE00, 0, 0x42};
    EXPECT_EQ(unilen(units), 3u);  // a surrogate pair is two units
    EXPECT_EQ(unilen(static_cast<const char16_t*>(nullptr)), 0u);
}

TEST(ShellHelpers, BookNamesIgnoreCase)
{
    EXPECT_EQ(findBookName("user define"), "User Define");
    EXPECT_EQ(findBookName("OPTICS"), "Optics");
    EXPECT_EQ(findBookName("Optic"), "");
    EXPECT_EQ(canonicalBookName("mAtH"), "Math");
    EXPECT_EQ(canonicalBookName("Scratch"), "Scratch");
    EXPECT_EQ(g_arrBooks.front(), "Astrophysic");
    EXPECT_EQ(g_arrBooks.back(), "User Define");
}

}  // namespace
