#pragma once

// The formula the calculation screen and its detail pages show, found from
// the hand-over state that the browser and the Favorites/History screens
// leave behind, and the small facts of its parameters that the rows need.

#include <string>

#include "storage/FormulaRecords.h"

// Where the current formula comes from.
enum FORMULA_SOURCE {
    FORMULA_SOURCE_NONE = 0,    // nothing chosen, or an index outside its list
    FORMULA_SOURCE_FAVHIS,      // g_favhisInfo (Favorites, History, last used formula)
    FORMULA_SOURCE_SEARCH_HIT,  // entry g_nSelectedFormula of a search of all books
    FORMULA_SOURCE_OPEN_BOOK,   // entry g_nSelectedFormula of the open book's tree
};

// The current formula node with its book: g_favhisInfo while
// g_bFavHisToCalcDet is set, else entry g_nSelectedFormula of the search hits
// (searching all books) or of g_vecFormulas (with g_sFormulasFolder).
FORMULA_SOURCE getCurrentFormulaNode(FORMULA_NODE_INFO& info);

// Reads the index entry, description and detail of the current formula from
// its book. A search hit's book becomes the open book first, as the browser
// expects. False, with empty records, when there is no current formula or
// its records cannot be read.
bool getCurrentFormulaRecords(_tag_formula_pos& pos, _tag_formula_des& des, _tag_formula_detail& det);

// The TeX of a row's symbol-and-unit view: "name\hspace{1}(unit)", or the
// unit alone for a parameter without a symbol, the symbol alone for one
// without a unit.
std::string SymbolAndUnitTex(const _tag_formula_parameter& param);

// A parameter with a fixed value ("" and "0" mean none) shows that value and
// takes no typing.
bool HasFixedValue(const _tag_formula_parameter& param);
