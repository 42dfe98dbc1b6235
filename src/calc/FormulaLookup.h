#pragma once

// Finding formulas for callers outside the browser (calcudex-cli, tests):
// one formula of a book by tree id or by name, and the search of all books
// by part of a name.

#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

// The node of a formula (not a folder) in the book's tree: by tree id (".3.2"
// or "3.2", letter case ignored) or by the formula's exact name ignoring
// ASCII case; with two formulas of that name the lower id wins. False when
// the book's tree cannot be read or nothing matches.
bool FindFormulaNode(const std::string& strBook, const std::string& strWhich, _fornode& node);

// The three records of a formula of a book, read as the calculation screen
// reads them (the book is current only for the duration of the call).
bool ReadFormulaOfBook(const std::string& strBook, const _fornode& node, _tag_formula_pos& pos,
                       _tag_formula_des& des, _tag_formula_detail& det);

// Every node of every book whose name contains the text ignoring ASCII case:
// books in book order, nodes by id, each with the names of its folders from
// the top down. A book without a tree file is skipped.
void SearchAllBooks(const std::string& strText, std::vector<SEARCHRESULT>& vecHits);
