#pragma once

// Process-wide state the screens share, Qt-free so that the screens' logic,
// the command line and the tests read it without a display: the output mode,
// the hand-over of a formula to the calculation screen, the browser's tree and
// hits, the picture picked last and the wizard's step.
//
// The book folders and the open book (storage/BookFolders.h) come with it;
// the Favorites and History lists are in storage/FavoritesHistory.h.
//
// Everything here is touched from the main thread only.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/BookFolders.h"
#include "storage/FormulaRecords.h"

extern std::string g_sOutputMode;     // number display mode, "English (US)"

extern FORMULA_NODE_INFO g_favhisInfo;  // entry handed from Favorites/History to Calculate
extern bool g_bFavHisToCalcDet;         // Calculate was opened from Favorites/History
extern int g_nCurrentListType;          // 0 Favorites shown, 1 History shown

// Browser state read by the calculation screen.
extern std::vector<_fornode> g_vecFormulas;        // tree of the open book, first order
extern std::vector<int> g_vecMatchedFormulaIds;    // search hits: indexes into g_vecFormulas
extern std::vector<std::string> m_arrTrace;        // folder trail of the browser
extern std::vector<SEARCHRESULT> m_arraySearchResult;  // hits of a search of all books
extern bool g_bSearching;
extern bool g_bOpenFormula;
extern int g_nSelectedFormula;  // index of the chosen formula; negative when none

inline constexpr std::size_t SAVE_FILE_SIZE = 256;
extern char g_sSaveFile[SAVE_FILE_SIZE];  // file name of the picture picked last
extern std::string g_sBackupPath;         // folder path of the formula being edited
extern int g_contextHelpId;               // wizard step shown by the context help

// Number of 16-bit units before the first zero unit; 0 for a null pointer.
std::size_t unilen(const char16_t* pText);
std::size_t unilen(const std::uint16_t* pText);
