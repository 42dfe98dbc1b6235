#pragma once

// The formula wizard without its pages: the records the four steps fill, how
// a page's texts are read back, which page is shown and when Done may be
// pressed, and the checks run on Done, with the test evaluation of every
// calculation expression on random values.
//
// Steps: 1 name, description and type; 2 the formula in TeX and its images;
// 3 the number of parameters; 4 one page per parameter.

#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

// Step 1.
struct FORM1_INFO {
    std::string m_strName;  // may be a folder path: "Mechanics/Statics/Torque"
    std::string m_strDes;
    int m_nType = FORMULA_TYPE_CALCULABLE;  // 1 calculable, 0 theory

    bool operator==(const FORM1_INFO&) const = default;
};

// Step 2.
struct FORM2_INFO {
    std::string m_strMime;                // the formula in TeX
    std::vector<std::string> m_arrImages;  // picture file names, in page order

    bool operator==(const FORM2_INFO&) const = default;
};

// Step 4, one per parameter page.
struct FORM4_INFO {
    std::string m_strName;
    std::string m_strDescription;
    std::string m_strAlias;
    std::string m_strUnit;     // TeX
    bool m_bCalculable = true;
    std::string m_strFormula;  // calculation expression; "" when not calculable

    bool operator==(const FORM4_INFO&) const = default;
};

// Everything the pages hold when Done is pressed.
struct FORMULA_WIZARD_INFO {
    FORM1_INFO m_form1;
    FORM2_INFO m_form2;
    int m_nParamCount = 0;  // Step 3
    std::vector<FORM4_INFO> m_arrForm4;

    bool operator==(const FORMULA_WIZARD_INFO&) const = default;
};

// Wizard modes (m_nViewMode of the screens).
inline constexpr int WIZARD_MODE_NEW = 1982;
inline constexpr int WIZARD_MODE_EDIT = 1985;

// Pages: three steps, then at most ten parameter pages.
inline constexpr int WIZARD_FIRST_PARAMETER_PAGE = 3;
inline constexpr int WIZARD_MAX_PARAMETERS = MAX_FORMULA_PARAMS;

// ---- Reading the pages --------------------------------------------------------

// A text as a page hands it on: trimmed of blanks, CR, LF and tabs at both
// ends. A line break pasted inside a text becomes a blank: the formula text
// the wizard writes is line based, and none can be typed.
std::string trimFormText(const std::string& strText);

// Step 4's "name - description" field: the text before the first "-" is the
// name, the rest the description (both trimmed); without "-" all of it is
// the name.
void splitParameterField(const std::string& strField, std::string& strName,
                         std::string& strDescription);
// What that field shows for a parameter: "name - description", or the name
// alone when there is no description.
std::string joinParameterField(const std::string& strName, const std::string& strDescription);

// The alias field keeps at most one letter a..z or A..Z: while the text is
// longer than one character or ends in anything else, its last character
// (a whole UTF-8 sequence) goes.
std::string filterAliasText(const std::string& strText);

// The Step 3 number: the leading digits of the field, 0 when it has none;
// numbers too large for the pages come back as WIZARD_COUNT_TOO_LARGE.
inline constexpr int WIZARD_COUNT_TOO_LARGE = 1000000;
int parseParameterCount(const std::string& strField);

// ---- Pages and Done -----------------------------------------------------------

// The wizard step the context help explains for a page (0..3); the page at
// an offset is pageAtOffset (ui/UIPaging.h).
int contextHelpIdForPage(int nPage);

// Done is offered on the last page only, and not while a calculable formula
// has no parameter page yet.
bool isDoneEnabled(int nPage, int nPageCount, int nFormulaType);

// ---- Checking ------------------------------------------------------------------

// The sixteen Greek letters that stand in for the aliases while an
// expression is test-evaluated.
inline constexpr int SYMBOL_COUNT = 16;
extern const char* const g_arrSymbols[SYMBOL_COUNT];

// The aliases of all parameter pages, concatenated in page order.
std::string getAllAlias(const std::vector<FORM4_INFO>& arrForm4);

// The alias letters an expression uses, in order of appearance with repeats
// (function names such as sin( or pi do not count). strTestExpression gets
// the expression with every letter replaced by a Greek placeholder, one per
// distinct letter, and arrParameters those placeholders. An expression with
// more distinct letters than there are placeholders gets an empty test
// expression and no placeholders (it cannot be tested, so it is refused).
std::string getParametersFromExpression(const std::string& strExpression,
                                        std::string& strTestExpression,
                                        std::vector<std::string>& arrParameters);

// Up to 50 attempts with random values put in for the placeholders (negative
// ones, whole numbers, values near zero, fractions and large values); true as
// soon as one attempt evaluates without an engine error. The angle mode is
// left as the last calculation set it.
bool isMacroValid(const std::string& strTestExpression, const std::vector<std::string>& arrParameters);

// Messages of the checks; "%d" is the parameter's number counted from 1.
extern const char* const WIZARD_ALERT_TITLE;         // "Warning!"
extern const char* const WIZARD_ALERT_BUTTON;        // "OK"
extern const char* const WIZARD_MSG_EMPTY_NAME;
extern const char* const WIZARD_MSG_CALCULABLE_COUNT;
extern const char* const WIZARD_MSG_THEORY_COUNT;
extern const char* const WIZARD_MSG_PARAM_EMPTY_NAME;
extern const char* const WIZARD_MSG_PARAM_EMPTY_ALIAS;
extern const char* const WIZARD_MSG_PARAM_BAD_ALIAS;
extern const char* const WIZARD_MSG_PARAM_SAME_ALIAS;     // "%d" this parameter, "%d" the earlier one
extern const char* const WIZARD_MSG_PARAM_EMPTY_FORMULA;
extern const char* const WIZARD_MSG_PARAM_INCALCULABLE;
extern const char* const WIZARD_MSG_PARAM_INVALID_FORMULA;
extern const char* const WIZARD_MSG_NAME_TOO_DEEP;
extern const char* const WIZARD_MSG_SAVE_FAILED;
extern const char* const WIZARD_MSG_OUT_OF_RANGE;         // Step 3 number above 10

// True when the pages describe a formula that can be written; otherwise
// strMessage holds the first problem found, in page order. With
// bNameIsFolderPath the Step 1 name is read as folders and a name (a new
// formula, or one that moves to other folders).
bool checkFormulaInfo(const FORMULA_WIZARD_INFO& info, bool bNameIsFolderPath, std::string& strMessage);
