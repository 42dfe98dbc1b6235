#pragma once

// Where the books are: the seven book names, the open book and the two
// folders the program works in:
//   - the resource folder (g_sAppPath, read only): the shipped books under
//     Formulas/<Book>/, help pages and images;
//   - the documents folder (g_sDocumentsPath): the user's copies of the books,
//     Favorites, History, the session and every other file the program writes.
//
// Every book-file operation finds its files through g_sFormulasFolder.
// Everything here is touched from the main thread only.

#include <array>
#include <string>

inline constexpr int BOOK_COUNT = 7;
inline constexpr const char* USER_DEFINE_BOOK = "User Define";

// The books in the order the book list shows them; book k (1-based) is the
// list value -k.
extern const std::array<std::string, BOOK_COUNT> g_arrBooks;

extern std::string g_sAppPath;        // resource folder
extern std::string g_sDocumentsPath;  // documents folder
extern std::string g_sFormulasFolder; // the open book; "" when none

// The documents folder: $CALCUDEX_HOME when set, else $XDG_DATA_HOME/calcudex
// (an absolute XDG_DATA_HOME only), else ~/.local/share/calcudex. Created,
// with its parents, when missing.
std::string resolveDocumentsFolder();

// The resource folder: $CALCUDEX_RESOURCES when set, else share/calcudex
// beside the program's bin/ folder (where it is installed, or the build tree)
// when it exists, else the build tree's, else the one of the configured
// install prefix.
std::string resolveResourceFolder();
// <folder of the running program>/../share/calcudex ("" when unknown).
std::string resourceFolderBesideProgram();

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
