#pragma once

// Writing what the wizard collected. A new formula becomes formula text in
// "User Define_RawData.txt" of the documents folder — a record for each new
// folder of its name path, then the formula record — and that file is
// compiled into the "User Define" book in append mode. An edited formula
// replaces its records in place; a user formula whose folder path changed is
// written under its new path and then removed from the old one.

#include <string>
#include <vector>

#include "editor/FormulaWizard.h"
#include "storage/FormulaRecords.h"

// The file the text of a new formula is written to, in the documents folder.
extern const char* const RAW_DATA_FILE_NAME;  // "User Define_RawData.txt"

// Numeric ids keep four components of at most 255 each: a formula may sit
// under three folders at most.
inline constexpr int MAX_FORMULA_ID_DEPTH = 4;
inline constexpr int MAX_FORMULA_ID_COMPONENT = 255;

// The parts of a name split at every "/" ("Mechanics/Statics/Torque" gives
// three); the last part is the formula's name, the others its folders.
void parseFormulaName(const std::string& strName, std::vector<std::string>& arrCategory);

// The ids chosen for a new formula. Ids here have no leading ".".
struct FORMULA_ID_PLAN {
    struct NEW_FOLDER {
        std::string m_strId;
        std::string m_strName;  // as typed
    };
    std::vector<NEW_FOLDER> m_arrNewFolders;  // outermost first
    std::string m_strFormulaId;
    std::string m_strFormulaName;  // the last part, as typed
};

// Chooses the ids of a formula named by arrParts in a book whose tree is
// vecTree. Each folder level reuses a folder of that name (compared trimmed,
// ignoring case) that lies under the level above; otherwise the new folder's
// last component is one above the largest last component of all nodes of
// that depth in the book. The formula's component is chosen the same way at
// its own depth. False when the name is empty, deeper than
// MAX_FORMULA_ID_DEPTH, or a component would exceed MAX_FORMULA_ID_COMPONENT
// (its numeric id would then equal another node's).
bool allocateFormulaIds(const std::vector<_fornode>& vecTree, const std::vector<std::string>& arrParts,
                        FORMULA_ID_PLAN& plan);

// The formula text of a new formula, every line ended by CR LF. False when a
// line would be longer than the compiler reads (1023 bytes) or a quoted
// field holds a double quote: the compiled record would not be what was typed.
bool composeFormulaText(const FORMULA_WIZARD_INFO& info, const FORMULA_ID_PLAN& plan, std::string& strText);

// Writes the new formula's text to RAW_DATA_FILE_NAME and compiles it into
// "User Define"; g_sFormulasFolder is the same afterwards. True when written
// and compiled; pNewNode (when given) then receives the formula's tree node.
bool saveNewFormula2(const FORMULA_WIZARD_INFO& info, _fornode* pNewNode = nullptr);

// Why the last save of the wizard failed, as one sentence for the alert
// under "Failed to save the formula!" ("The disk is full.", ...); "" when
// there is nothing to add.
const std::string& lastSaveFailureReason();

// ---- Editing --------------------------------------------------------------------

// 1 (calculable) when any parameter has a calculation expression, else 0.
int getFormulaType(const _tag_formula_detail& det);

// The folders of a user formula as Step 1 shows them before its name: each
// folder name followed by "/" ("Mechanics/Statics/"); "" for other books.
std::string getBackupPath(const FORMULA_NODE_INFO& info);

// What the pages show for a stored formula.
FORMULA_WIZARD_INFO formInfoFromRecords(const _tag_formula_des& des, const _tag_formula_detail& det,
                                        const std::string& strBackupPath);

// The records that replace a formula's stored ones, with the id nID.
void constructFormulaRecords(const FORMULA_WIZARD_INFO& info, std::uint32_t nID, _tag_formula_des& des,
                             _tag_formula_detail& det);

// Everything up to and including the last "/" of a name; "" without "/".
std::string getFolderPart(const std::string& strName);

// Saving an edited formula.
enum EDIT_SAVE_RESULT {
    EDIT_SAVE_INVALID = 0,  // the pages do not pass the checks (see strMessage)
    EDIT_SAVE_FAILED,       // the book could not be written; nothing changed
    EDIT_SAVE_IN_PLACE,     // records replaced, same id
    EDIT_SAVE_MOVED,        // written under its new folder path and removed from the old one
    EDIT_SAVE_MOVED_COPY,   // written under the new path, but the old one could not be removed
};

struct EDIT_SAVE_OUTCOME {
    EDIT_SAVE_RESULT m_nResult = EDIT_SAVE_FAILED;
    std::string m_strMessage;  // alert text for INVALID and FAILED
    FORMULA_NODE_INFO m_newInfo{};  // the formula as now stored (book, id, name, type)
};

// The edit wizard's Done. Formulas of the shipped books, and user formulas
// whose folder part of the Step 1 name equals strBackupPath (ignoring case),
// are checked and rewritten in place under their own id. A user formula
// whose folder part changed is checked, written as a new formula under the
// new path, and only then removed from its old place, so a failure never
// loses it.
EDIT_SAVE_OUTCOME saveEditedFormula(const FORMULA_NODE_INFO& editing, const _tag_formula_pos& pos,
                                    FORMULA_WIZARD_INFO info, const std::string& strBackupPath);
