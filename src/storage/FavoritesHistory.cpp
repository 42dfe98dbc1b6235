#include "storage/FavoritesHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "storage/BookFolders.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

std::vector<FORMULA_NODE_INFO> g_arrFavorite;
std::vector<FORMULA_NODE_INFO> g_arrHistory;

namespace {

bool writeRecords(std::FILE* pFile, const std::vector<FORMULA_NODE_INFO>& list)
{
    unsigned char bytes[FORMULA_NODE_INFO_SIZE];
    for (const FORMULA_NODE_INFO& entry : list) {
        encodeNodeInfo(entry, bytes);
        if (std::fwrite(bytes, 1, sizeof bytes, pFile) != sizeof bytes)
            return false;
    }
    return true;
}

}  // namespace

std::string getFavoritesFilename() { return getDocumentsFolder() + "/Favorites.sav"; }
std::string getHistoryFilename() { return getDocumentsFolder() + "/History.sav"; }
std::string getLastUsedFormulaFilename() { return getDocumentsFolder() + "/LastUsedFormula.dat"; }

bool loadFormulaList(const std::string& strPath, std::vector<FORMULA_NODE_INFO>& list)
{
    list.clear();
    common::FilePtr pFile = common::openFile(strPath, "rb");
    if (!pFile)
        return false;
    unsigned char bytes[FORMULA_NODE_INFO_SIZE];
    while (std::fread(bytes, 1, sizeof bytes, pFile.get()) == sizeof bytes) {
        FORMULA_NODE_INFO entry;
        decodeNodeInfo(bytes, entry);
        list.push_back(entry);
    }
    return true;
}

bool saveFormulaList(const std::string& strPath, const std::vector<FORMULA_NODE_INFO>& list)
{
    const std::string strTmp = strPath + ".tmp";
    common::FilePtr pFile = common::openFile(strTmp, "wb");
    if (!pFile)
        return false;
    bool bOk = writeRecords(pFile.get(), list) && std::fflush(pFile.get()) == 0;
    bOk = std::fclose(pFile.release()) == 0 && bOk;
    if (!bOk || std::rename(strTmp.c_str(), strPath.c_str()) != 0) {
        std::remove(strTmp.c_str());
        return false;
    }
    return true;
}

void loadFavoritesAndHistory()
{
    loadFormulaList(getFavoritesFilename(), g_arrFavorite);
    loadFormulaList(getHistoryFilename(), g_arrHistory);
}

bool saveFavoritesAndHistory()
{
    if (!saveFormulaList(getFavoritesFilename(), g_arrFavorite))
        return false;
    return saveFormulaList(getHistoryFilename(), g_arrHistory);
}

int findFormulaInList(const std::vector<FORMULA_NODE_INFO>& list, const FORMULA_NODE_INFO& entry)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (isSameFormula(list[i], entry))
            return static_cast<int>(i);
    }
    return -1;
}

bool addHistory(const FORMULA_NODE_INFO& entry)
{
    if (findFormulaInList(g_arrHistory, entry) >= 0)
        return false;
    g_arrHistory.push_back(entry);
    return true;
}

bool isExistInFavoriteList(const FORMULA_NODE_INFO& entry)
{
    return findFormulaInList(g_arrFavorite, entry) >= 0;
}

bool addToFavoriteList(const FORMULA_NODE_INFO& entry)
{
    if (isExistInFavoriteList(entry))
        return false;
    g_arrFavorite.push_back(entry);
    return true;
}

bool removeFromFavoriteList(const FORMULA_NODE_INFO& entry)
{
    int nIndex = findFormulaInList(g_arrFavorite, entry);
    if (nIndex < 0)
        return false;
    g_arrFavorite.erase(g_arrFavorite.begin() + nIndex);
    return true;
}

void removeFormulaFromFavHis(const FORMULA_NODE_INFO& entry)
{
    for (std::vector<FORMULA_NODE_INFO>* pList : {&g_arrFavorite, &g_arrHistory}) {
        int nIndex = findFormulaInList(*pList, entry);
        if (nIndex >= 0)
            pList->erase(pList->begin() + nIndex);
    }
}

void updateFormulaInFavHis(const FORMULA_NODE_INFO& entry, const _fornode& node)
{
    for (std::vector<FORMULA_NODE_INFO>* pList : {&g_arrFavorite, &g_arrHistory}) {
        int nIndex = findFormulaInList(*pList, entry);
        if (nIndex >= 0)
            (*pList)[static_cast<std::size_t>(nIndex)].m_NodeInfo = node;
    }
}

bool refreshBookInFavHis(const std::string& strBook)
{
    bool bChanged = false;
    for (std::vector<FORMULA_NODE_INFO>* pList : {&g_arrFavorite, &g_arrHistory}) {
        for (FORMULA_NODE_INFO& entry : *pList) {
            _fornode node;
            if (!common::equalsNoCase(entry.m_szBook, strBook) || !getTreeNode(entry, node))
                continue;
            bChanged = bChanged || std::memcmp(&node, &entry.m_NodeInfo, sizeof node) != 0;
            entry.m_NodeInfo = node;
        }
    }
    return bChanged;
}

void deleteAllFavorites()
{
    g_arrFavorite.clear();
    std::remove(getFavoritesFilename().c_str());
}

void deleteAllHistory()
{
    g_arrHistory.clear();
    std::remove(getHistoryFilename().c_str());
}

bool sort_condition(const FORMULA_NODE_INFO& a, const FORMULA_NODE_INFO& b)
{
    return common::compareNoCase(a.m_NodeInfo.m_szNodeName, b.m_NodeInfo.m_szNodeName) < 0;
}

void sortFormulaListByName(std::vector<FORMULA_NODE_INFO>& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const FORMULA_NODE_INFO& a, const FORMULA_NODE_INFO& b) {
                         return sort_condition(a, b);
                     });
}

bool saveLastUsedFormula(const FORMULA_NODE_INFO& entry)
{
    return saveFormulaList(getLastUsedFormulaFilename(), {entry});
}

bool loadLastUsedFormula(FORMULA_NODE_INFO& entry)
{
    common::FilePtr pFile = common::openFile(getLastUsedFormulaFilename(), "rb");
    unsigned char bytes[FORMULA_NODE_INFO_SIZE];
    if (!pFile || std::fread(bytes, 1, sizeof bytes, pFile.get()) != sizeof bytes)
        return false;
    decodeNodeInfo(bytes, entry);
    return true;
}
