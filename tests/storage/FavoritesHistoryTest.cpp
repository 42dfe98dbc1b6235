// Favorites, History and the last used formula: raw records, files, list rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"

namespace {

FORMULA_NODE_INFO entry(const char* szBook, const char* szId, const char* szName = "n")
{
    _fornode node;
    setNode(node, szId, szName, 1);
    return makeNodeInfo(node, szBook);
}

std::vector<std::string> names(const std::vector<FORMULA_NODE_INFO>& list)
{
    std::vector<std::string> out;
    for (const FORMULA_NODE_INFO& e : list)
        out.push_back(e.m_NodeInfo.m_szNodeName);
    return out;
}

TEST(NodeRecord, StoredBytesSitAtTheirOffsets)
{
    FORMULA_NODE_INFO info = entry("Math", ".3.1", "Ohm");
    info.m_NodeInfo.m_uiNodeType = 0x01020304;
    unsigned char bytes[FORMULA_NODE_INFO_SIZE];
    encodeNodeInfo(info, bytes);
    EXPECT_EQ(std::memcmp(bytes, ".3.1\0", 5), 0);
    EXPECT_EQ(std::memcmp(bytes + 32, "Ohm\0", 4), 0);
    EXPECT_EQ(std::memcmp(bytes + 288, "\x04\x03\x02\x01", 4), 0);  // little-endian type
    EXPECT_EQ(std::memcmp(bytes + 292, "Math\0", 5), 0);
    EXPECT_EQ(bytes[547], 0);
}

TEST(NodeRecord, DecodingCarriesBytesAfterTheZeroAndTerminatesUnendedTexts)
{
    unsigned char bytes[FORMULA_NODE_INFO_SIZE];
    std::memset(bytes, 'x', sizeof bytes);
    std::memcpy(bytes, ".1\0junk", 7);  // id ends early; junk after its zero
    FORMULA_NODE_INFO info;
    decodeNodeInfo(bytes, info);
    EXPECT_STREQ(info.m_NodeInfo.m_szNodeId, ".1");
    EXPECT_EQ(info.m_NodeInfo.m_szNodeId[3], 'j');                // carried as stored
    EXPECT_EQ(std::strlen(info.m_NodeInfo.m_szNodeName), 255u);  // cut at its last byte
    EXPECT_EQ(std::strlen(info.m_szBook), 255u);

    unsigned char again[FORMULA_NODE_INFO_SIZE];
    std::memcpy(bytes + 287, "\0", 1);
    std::memcpy(bytes + 547, "\0", 1);
    decodeNodeInfo(bytes, info);
    encodeNodeInfo(info, again);
    EXPECT_EQ(std::memcmp(again, bytes, 288), 0);
}

class FavHis : public TempHomeTest {};

TEST_F(FavHis, FilesRoundTripByteForByte)
{
    g_arrFavorite = {entry("Math", ".3.1", "a"), entry("Optics", ".1.2", "b")};
    g_arrHistory = {entry("Astrophysic", ".1.1", "c")};
    g_arrFavorite[1].m_NodeInfo.m_szNodeName[200] = 'z';  // left over after the zero
    ASSERT_TRUE(saveFavoritesAndHistory());
    Bytes favorites = readBytes(getFavoritesFilename());
    ASSERT_EQ(favorites.size(), 2 * FORMULA_NODE_INFO_SIZE);
    EXPECT_EQ(readBytes(getHistoryFilename()).size(), FORMULA_NODE_INFO_SIZE);

    g_arrFavorite.clear();
    g_arrHistory.clear();
    loadFavoritesAndHistory();
    EXPECT_EQ(names(g_arrFavorite), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(names(g_arrHistory), std::vector<std::string>{"c"});
    ASSERT_TRUE(saveFavoritesAndHistory());
    EXPECT_EQ(readBytes(getFavoritesFilename()), favorites);
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

TEST_F(FavHis, LoadTable)
{
    const std::pair<std::size_t, std::size_t> cases[] = {
        // file size, entries loaded
        {0, 0},
        {547, 0},
        {548, 1},
        {1100, 2},  // a trailing partial record is ignored
        {3 * 548, 3},
    };
    for (const auto& [size, count] : cases) {
        writeBytes(getFavoritesFilename(), Bytes(size, 0));
        std::vector<FORMULA_NODE_INFO> list(5);
        EXPECT_TRUE(loadFormulaList(getFavoritesFilename(), list));
        EXPECT_EQ(list.size(), count) << size << " bytes";
    }
    std::vector<FORMULA_NODE_INFO> list(5);
    EXPECT_FALSE(loadFormulaList(path("missing.sav"), list));
    EXPECT_TRUE(list.empty());
}

TEST_F(FavHis, EmptyListsWriteEmptyFiles)
{
    g_arrFavorite = {entry("Math", ".1")};
    ASSERT_TRUE(saveFavoritesAndHistory());
    g_arrFavorite.clear();
    ASSERT_TRUE(saveFavoritesAndHistory());
    EXPECT_TRUE(pathExists(getFavoritesFilename()));
    EXPECT_TRUE(readBytes(getFavoritesFilename()).empty());
}

TEST_F(FavHis, FavoritesThatCannotBeWrittenKeepTheOldFilesAndSkipHistory)
{
    g_arrFavorite = {entry("Math", ".1")};
    g_arrHistory = {entry("Math", ".2")};
    ASSERT_TRUE(saveFavoritesAndHistory());
    const Bytes favorites = readBytes(getFavoritesFilename());
    const Bytes history = readBytes(getHistoryFilename());

    g_arrFavorite.clear();
    g_arrHistory.clear();
    ASSERT_TRUE(makeFolder(getFavoritesFilename() + ".tmp"));  // the write cannot start
    EXPECT_FALSE(saveFavoritesAndHistory());
    EXPECT_EQ(readBytes(getFavoritesFilename()), favorites);
    EXPECT_EQ(readBytes(getHistoryFilename()), history);
}

TEST_F(FavHis, HistoryKeepsTheFirstOpeningOfEachFormula)
{
    addHistory(entry("Math", ".1", "A"));
    addHistory(entry("Math", ".2", "B"));
    addHistory(entry("Math", ".1", "A again"));
    addHistory(entry("MATH", ".1", "A in capitals"));
    addHistory(entry("Optics", ".1", "other book"));
    EXPECT_EQ(names(g_arrHistory), (std::vector<std::string>{"A", "B", "other book"}));
}

TEST_F(FavHis, FavoritesAddAndRemoveByIdentity)
{
    EXPECT_TRUE(addToFavoriteList(entry("Math", ".3.1", "x")));
    EXPECT_FALSE(addToFavoriteList(entry("mAtH", ".3.1", "y")));
    EXPECT_TRUE(isExistInFavoriteList(entry("MATH", ".3.1")));
    EXPECT_FALSE(isExistInFavoriteList(entry("Math", ".3.10")));
    EXPECT_TRUE(removeFromFavoriteList(entry("math", ".3.1")));
    EXPECT_TRUE(g_arrFavorite.empty());
    EXPECT_FALSE(removeFromFavoriteList(entry("Math", ".3.1")));
}

TEST_F(FavHis, DeletedOrEditedFormulaChangesItsFirstEntryInEachList)
{
    g_arrFavorite = {entry("Math", ".1", "f1"), entry("Math", ".2", "f2")};
    g_arrHistory = {entry("Math", ".2", "h2"), entry("Math", ".1", "h1")};

    _fornode fresh;
    setNode(fresh, ".1", "renamed", 0);
    updateFormulaInFavHis(entry("MATH", ".1"), fresh);
    EXPECT_EQ(names(g_arrFavorite), (std::vector<std::string>{"renamed", "f2"}));
    EXPECT_EQ(names(g_arrHistory), (std::vector<std::string>{"h2", "renamed"}));
    EXPECT_EQ(g_arrHistory[1].m_NodeInfo.m_uiNodeType, 0u);

    removeFormulaFromFavHis(entry("Math", ".2"));
    EXPECT_EQ(names(g_arrFavorite), std::vector<std::string>{"renamed"});
    EXPECT_EQ(names(g_arrHistory), std::vector<std::string>{"renamed"});
}

// A book replaced whole (restored as shipped): entries of that book take the
// names the tree has now; entries of other books, and of formulas the book
// no longer holds, stay.
TEST_F(FavHis, RefreshedBookRenamesItsEntriesOnly)
{
    ASSERT_TRUE(compileText("Math", "***\nForId=1.1\nForType=1\nForName=Ohm's law\nImage=\n"));
    g_arrFavorite = {entry("MATH", ".1.1", "Renamed"), entry("Optics", ".1.1", "Lens"), entry("Math", ".9.9", "Gone")};
    g_arrHistory = {entry("Math", ".1.1", "Renamed")};
    EXPECT_TRUE(refreshBookInFavHis("Math"));
    EXPECT_EQ(names(g_arrFavorite), (std::vector<std::string>{"Ohm's law", "Lens", "Gone"}));
    EXPECT_EQ(names(g_arrHistory), std::vector<std::string>{"Ohm's law"});
    EXPECT_FALSE(refreshBookInFavHis("Math"));
}

TEST_F(FavHis, DeleteAllEmptiesOneListAndRemovesOnlyItsFile)
{
    g_arrFavorite = {entry("Math", ".1")};
    g_arrHistory = {entry("Math", ".2")};
    ASSERT_TRUE(saveFavoritesAndHistory());
    deleteAllHistory();
    EXPECT_TRUE(g_arrHistory.empty());
    EXPECT_FALSE(pathExists(getHistoryFilename()));
    EXPECT_EQ(g_arrFavorite.size(), 1u);
    EXPECT_TRUE(pathExists(getFavoritesFilename()));
}

TEST_F(FavHis, SortByNameIgnoresCase)
{
    std::vector<FORMULA_NODE_INFO> list = {entry("Math", ".1", "beta"), entry("Math", ".2", "Alpha"),
                                           entry("Math", ".3", "gamma")};
    sortFormulaListByName(list);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
}

TEST_F(FavHis, LastUsedFormulaNeedsAWholeRecord)
{
    FORMULA_NODE_INFO info;
    EXPECT_FALSE(loadLastUsedFormula(info));
    ASSERT_TRUE(saveLastUsedFormula(entry("Optics", ".4.2", "Snell")));
    ASSERT_TRUE(loadLastUsedFormula(info));
    EXPECT_STREQ(info.m_NodeInfo.m_szNodeName, "Snell");
    EXPECT_STREQ(info.m_szBook, "Optics");

    Bytes bytes = readBytes(getLastUsedFormulaFilename());
    bytes.pop_back();
    writeBytes(getLastUsedFormulaFilename(), bytes);
    EXPECT_FALSE(loadLastUsedFormula(info));
}

}  // namespace
