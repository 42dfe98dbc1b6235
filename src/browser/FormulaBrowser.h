#pragma once
// The book browser's model, without a display: the rows of one level of the
// tree, the two searches, the navigation trace and its session file. It works
// on the process-wide browser state (g_vecFormulas, m_arrTrace,
// g_vecMatchedFormulaIds, m_arraySearchResult, g_sFormulasFolder) that the
// calculation screen reads as well.

#include "storage/FormulaRecords.h"

#include <string>
#include <vector>

// Rows of the book list: -1 .. -7, book k of g_arrBooks being -k.
void getBooks(std::vector<int>& vecRows);

// Rows of the level with id prefix `strPrefix` ("." for the top of a book,
// ".3." inside the folder .3): indexes of the nodes of g_vecFormulas whose id
// is the prefix plus one more component, in g_vecFormulas order.
void getChildNode(const std::string& strPrefix, std::vector<int>& vecRows);

// Loads the tree of g_sFormulasFolder into g_vecFormulas (folders first, then
// calculable and theory formulas, each by name). False and empty when the
// book has no tree file.
bool loadOpenBookTree();

// Fills g_vecMatchedFormulaIds with every node under `strPrefix` whose name
// contains `strText`, ignoring ASCII case, in g_vecFormulas order.
void searchOpenBook(const std::string& strPrefix, const std::string& strText);

// Fills m_arraySearchResult with the nodes of all books whose name contains
// `strText` (ignoring ASCII case): by book in book order, by id within a book,
// each with the names of its folders. Books without a tree file are skipped.
void searchAllBooks(const std::string& strText);

// The second line of a hit of a search of all books: "/Book/Folder/Sub/".
std::string searchResultPathText(const SEARCHRESULT& hit);

// The name a book row shows ("User Define" is shown as "User-defined Formulas").
std::string bookDisplayName(const std::string& strBook);

// After node `nIndex` was erased from g_vecFormulas: drops the rows that
// showed it from `vecRows` and moves every later index down by one.
void shiftRowsAfterErase(std::vector<int>& vecRows, int nIndex);

// "LastSession.sav" in the documents folder: the open book and the trace.
std::string getLastSessionFilename();
// Writes the open book and the trace; prints "\nSession saved.".
bool saveCurrentSession();
// The same without the message: the browser writes its position at every
// step through the tree, so that a kill or a logout never loses it.
bool writeSessionFile();
// Prints "\nSession loaded." and restores g_sFormulasFolder and m_arrTrace.
// A missing file changes nothing; a damaged one (bad lengths, a book that is
// not one of ours, a trace element that is no tree id) is ignored whole.
bool loadLastSession();
