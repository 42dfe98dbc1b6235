#pragma once

// The Favorites and History lists (g_arrFavorite, g_arrHistory) and their
// files "Favorites.sav" and "History.sav" in the documents folder. A file is
// the entries in list order, each the 548 raw bytes of a FORMULA_NODE_INFO,
// with no header and no count. The same raw record is the whole of
// "LastUsedFormula.dat".
//
// Entries are identified by book and node id ignoring ASCII case
// (isSameFormula); changed only through these functions, a list never holds
// the same formula twice.

#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

extern std::vector<FORMULA_NODE_INFO> g_arrFavorite;
extern std::vector<FORMULA_NODE_INFO> g_arrHistory;

std::string getFavoritesFilename();
std::string getHistoryFilename();
std::string getLastUsedFormulaFilename();

// Reads whole records until the file ends; a trailing partial record is
// ignored. False (list empty) when the file cannot be opened.
bool loadFormulaList(const std::string& strPath, std::vector<FORMULA_NODE_INFO>& list);

// Writes the list. The file is replaced whole: the records go to a temporary
// file that is then renamed over it, so a failed write keeps the old list.
bool saveFormulaList(const std::string& strPath, const std::vector<FORMULA_NODE_INFO>& list);

// Start-up: both lists from their files (missing files give empty lists).
void loadFavoritesAndHistory();

// Termination: the Favorites file, then the History file. When the Favorites
// file cannot be written the History file is not written either.
bool saveFavoritesAndHistory();

// Index of the first entry that is the same formula, -1 when there is none.
int findFormulaInList(const std::vector<FORMULA_NODE_INFO>& list, const FORMULA_NODE_INFO& entry);

// Appends to History unless the formula is already there (it then keeps its
// place). True when appended.
bool addHistory(const FORMULA_NODE_INFO& entry);

bool isExistInFavoriteList(const FORMULA_NODE_INFO& entry);
bool addToFavoriteList(const FORMULA_NODE_INFO& entry);     // true when appended
bool removeFromFavoriteList(const FORMULA_NODE_INFO& entry);  // true when one was removed

// After a formula was deleted from its book: the first entry of each list
// that is the same formula is erased.
void removeFormulaFromFavHis(const FORMULA_NODE_INFO& entry);

// After a formula was edited: the first entry of each list that is the same
// formula gets the node as now stored in the tree.
void updateFormulaInFavHis(const FORMULA_NODE_INFO& entry, const _fornode& node);

// After a whole book was replaced (restored as shipped): every entry of that
// book that its tree still holds gets the node as now stored there. Entries
// whose formula the book no longer has stay as they are. True when any changed.
bool refreshBookInFavHis(const std::string& strBook);

// "Delete All" of one list: the list is emptied and its file removed.
void deleteAllFavorites();
void deleteAllHistory();

// By node name ignoring ASCII case; equal names keep their order.
bool sort_condition(const FORMULA_NODE_INFO& a, const FORMULA_NODE_INFO& b);
void sortFormulaListByName(std::vector<FORMULA_NODE_INFO>& list);

// The last formula opened for calculation. Loading is false when the file is
// missing or shorter than one record.
bool saveLastUsedFormula(const FORMULA_NODE_INFO& entry);
bool loadLastUsedFormula(FORMULA_NODE_INFO& entry);
