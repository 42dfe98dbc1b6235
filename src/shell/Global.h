#pragma once

// Process-wide state shared by the screens and the storage, and the two
// folders the program works in:
//   - the resource folder (g_sAppPath, read only): the shipped books under
//     Formulas/<Book>/, help pages and images;
//   - the documents folder (g_sDocumentsPath): the user's copies of the books,
//     Favorites, History, the session and every other file the program writes.
//
// Everything here is touched from the main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

inline constexpr int BOOK_COUNT = 7;
inline constexpr const char* USER_DEFINE_BOOK = "User Define";

// The books in the order the book list shows them; book k (1-based) is the
// list value -k.
extern const std::array<std::string, BOOK_COUNT> g_arrBooks;

extern std::string g_sAppPath;        // resource folder
extern std::string g_sDocumentsPath;  // documents folder
extern std::string g_sFormulasFolder; // the open book; "" when none
extern std::string g_sOutputMode;     // number display mode, "English (US)"

extern std::vector<FORMULA_NODE_INFO> g_arrFavorite;
extern std::vector<FORMULA_NODE_INFO> g_arrHistory;
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

// Frames saved while full-screen mode is on (window, transition view, tab bar).
struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
extern FrameRect g_rWindow;
extern FrameRect g_rTrans;
extern FrameRect g_rTabbar;

// The documents folder: $CALCUDEX_HOME when set, else $XDG_DATA_HOME/calcudex
// (an absolute XDG_DATA_HOME only), else ~/.local/share/calcudex. Created,
// with its parents, when missing.
std::string resolveDocumentsFolder();

// The resource folder: $CALCUDEX_RESOURCES when set, else the build tree's
// resource folder when it exists, else the installed one.
std::string resolveResourceFolder();

// Sets g_sAppPath and g_sDocumentsPath from the environment (again).
void initAppPaths();

// g_sDocumentsPath, resolved on first use.
const std::string& getDocumentsFolder();

// Makes the folder and its parents; true when it exists afterwards.
bool makeFolder(const std::string& strPath);

// The canonical book name for a name given in any letter case, or "" when
// it names none of g_arrBooks.
std::string findBookName(const std::string& strName);

// The canonical name when strName is a book in another letter case (an entry
// of the lists may say "MATH"), else strName unchanged: book files are named
// after the canonical name.
std::string canonicalBookName(const std::string& strName);

// Number of 16-bit units before the first zero unit; 0 for a null pointer.
std::size_t unilen(const char16_t* pText);
std::size_t unilen(const std::uint16_t* pText);

// Keeps the open book and puts it back when leaving scope: operations on
// another book switch g_sFormulasFolder only for their duration.
class FormulasFolderSwitch {
public:
    explicit FormulasFolderSwitch(const std::string& strBook)
        : m_sSaved(g_sFormulasFolder)
    {
        g_sFormulasFolder = strBook;
    }
    ~FormulasFolderSwitch() { g_sFormulasFolder = m_sSaved; }
    FormulasFolderSwitch(const FormulasFolderSwitch&) = delete;
    FormulasFolderSwitch& operator=(const FormulasFolderSwitch&) = delete;

private:
    std::string m_sSaved;
};
