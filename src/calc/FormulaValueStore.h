#pragma once

// What the user typed into the calculation rows, remembered per formula.
// "TypedValues.sav" in the documents folder keeps the rows and the tick of
// the formulas used last (at most TYPED_VALUES_CAPACITY, the latest first),
// each tagged with the formula it belongs to (book and tree id, compared as
// Favorites compares them) and each row with the alias of its parameter. A
// formula's values go back into that formula only, each into the row of
// the parameter with the same alias: a formula edited in the wizard keeps
// the values of the parameters it still has.
//
// The file, integers 32-bit little-endian:
//   "CXTV", version 1, entry count (0..TYPED_VALUES_CAPACITY), then per entry
//     the 548 bytes of a FORMULA_NODE_INFO (as in Favorites.sav),
//     the ticked row (-1 for none, else below the row count),
//     the row count R (0..10), and R rows of
//       alias length (0..8) and its bytes,
//       token count N (0..512), text length L in UTF-16 units (0..512),
//       the L units (little-endian), N token lengths of one byte (1..255)
//       that add up to L.
// A file that breaks any of these rules reads as empty. It is replaced whole
// at every save (written beside it, synced, renamed over it).
//
// The old program kept one file per row, "ledlite<row>.dat", without a tag.
// When there is no "TypedValues.sav" yet, those files are read once as the
// values of the last used formula: the one the old program showed when it
// wrote them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/LedTokenModel.h"
#include "storage/FormulaRecords.h"

inline constexpr int TYPED_VALUES_CAPACITY = 32;
inline constexpr int TYPED_ALIAS_MAX = 8;

// One row: the alias of its parameter and the line's tokens.
struct TYPED_ROW {
    std::string m_strAlias;
    std::u16string m_strText;                     // the tokens, one after another
    std::vector<std::uint8_t> m_vecTokenLengths;  // in UTF-16 units

    bool operator==(const TYPED_ROW&) const = default;
};

struct TYPED_VALUES {
    FORMULA_NODE_INFO m_formula{};
    int m_nTickedRow = -1;  // index into m_vecRows, -1 for none
    std::vector<TYPED_ROW> m_vecRows;  // row i holds parameter i

    // Same formula (book and id ignoring case), tick and rows.
    bool sameValues(const TYPED_VALUES& other) const;
};

std::string getTypedValuesFilename();

// The file's bytes, and back. Decoding is false (list empty) for anything
// that breaks the format's rules.
std::string encodeTypedValues(const std::vector<TYPED_VALUES>& list);
bool decodeTypedValues(std::string_view bytes, std::vector<TYPED_VALUES>& list);

// The whole store: from its file, or, when there is none, from the old row
// files of the last used formula. False (list empty) when neither exists or
// the file is damaged.
bool loadTypedValues(std::vector<TYPED_VALUES>& list);
bool saveTypedValues(const std::vector<TYPED_VALUES>& list);

// The values stored for formula; false when there are none.
bool findTypedValues(const FORMULA_NODE_INFO& formula, TYPED_VALUES& values);

// Stores the values as the formula's latest, the least recent entry going
// when the store is full. False when the file could not be written (errno
// tells why); the old file is then left as it was.
bool rememberTypedValues(const TYPED_VALUES& values);

// A formula removed from its book takes its values along, so that a formula
// later written under the same id never shows them.
bool forgetTypedValues(const FORMULA_NODE_INFO& formula);

// A formula moved to another id keeps its values under the new one.
bool moveTypedValues(const FORMULA_NODE_INFO& from, const FORMULA_NODE_INFO& to);

// The stored row for parameter nRow with strAlias: the row at the same
// place when its alias matches, else the first row with that alias (letter
// case counts); null when the formula had no such parameter.
const TYPED_ROW* findTypedRow(const TYPED_VALUES& values, int nRow, const std::string& strAlias);

// A line's content as a row, and a row as the line's data block (false
// when the row cannot be a line: too long, or lengths that do not add up).
TYPED_ROW typedRowFromLine(const LedTokenModel& line, const std::string& strAlias);
bool ledBlockFromTypedRow(const TYPED_ROW& row, std::array<unsigned char, LED_DATA_BLOCK_SIZE>& block);
