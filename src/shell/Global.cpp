#include "shell/Global.h"

std::string g_sOutputMode = "English (US)";

FORMULA_NODE_INFO g_favhisInfo{};
bool g_bFavHisToCalcDet = false;
int g_nCurrentListType = 0;

std::vector<_fornode> g_vecFormulas;
std::vector<int> g_vecMatchedFormulaIds;
std::vector<std::string> m_arrTrace;
std::vector<SEARCHRESULT> m_arraySearchResult;
bool g_bSearching = false;
bool g_bOpenFormula = false;
int g_nSelectedFormula = -1;

char g_sSaveFile[SAVE_FILE_SIZE] = {};
std::string g_sBackupPath;
int g_contextHelpId = 0;

std::size_t unilen(const char16_t* pText)
{
    std::size_t n = 0;
    if (pText) {
        while (pText[n] != 0)
            ++n;
    }
    return n;
}

std::size_t unilen(const std::uint16_t* pText)
{
    std::size_t n = 0;
    if (pText) {
        while (pText[n] != 0)
            ++n;
    }
    return n;
}
