#pragma once

// Checks of a compiled book that a user relies on without ever seeing them:
// the tree and the index describe the same formulas, every calculation
// expression names only parameters of its formula, and every calculable
// formula solves for each of its parameters consistently through the same
// calculation procedure the calculation screen runs.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

// What the consistency walk over one book found. Every problem names the
// formula ("<id> <name>: ...") so that a failure points at the book text.
struct BOOK_SURVEY {
    bool m_bReadable = false;                 // tree and index files could be read
    std::vector<std::string> m_vecProblems;
    int m_nCalculable = 0;                    // formula nodes of type 1
    int m_nTheory = 0;                        // formula nodes of type 0
    int m_nFolders = 0;
    // The calculable formulas with their records, in tree file order.
    std::vector<_fornode> m_vecCalcNodes;
    std::vector<_tag_formula_detail> m_vecCalcDetails;
};

// Reads the tree, the index and every record of the book (the current
// documents folder) and reports where they disagree: ids that collide or lie
// outside their folder, formula nodes without a readable index entry or whose
// records carry another name, index entries without a formula node, and
// parameter lists and expressions that cannot work in a calculation.
BOOK_SURVEY SurveyBook(const std::string& strBook);

// Problems of one calculable formula's parameters and expressions that no
// draw of values is needed to see: aliases that are not one letter or that
// repeat, expression lists of the wrong length, letters that are no alias of
// another parameter (a stray "e" or "i" would silently read as a constant)
// except the variable of a root finder (fnRoot(EXPR, x, LO, HI)) inside its
// expression, a variable that is an alias, the two-operand "exp", and
// nothing to calculate at all.
std::vector<std::string> LintCalculableDetail(const _tag_formula_detail& det);

// Settings of the round trip.
struct ROUND_TRIP_OPTIONS {
    double m_dbTolerance = 1e-9;    // relative agreement of the reproduced value
    // Magnitudes are drawn from 10^-d .. 10^+d, d taken from the stages in
    // turn. Values about 1 suit most formulas; a formula whose physical
    // constants make a term negligible there (a relativistic speed, a
    // gravitational potential) is judged in the wider ranges of the later
    // stages. Each stage draws until it has m_nInformativePerStage draws at
    // which the seed depends on every parameter, or m_nDrawsPerStage draws.
    std::vector<double> m_vecDecadeStages = {1, 3, 8, 20};
    int m_nDrawsPerStage = 100;
    int m_nInformativePerStage = 12;
    double m_dbDecades = 1.0;       // the stage being drawn
    double m_dbMinAngle = 5.0;      // degrees, for parameters in "^o"
    double m_dbMaxAngle = 85.0;
};

// Outcome of the round trip of one formula.
struct ROUND_TRIP_VERDICT {
    bool m_bPassed = false;
    std::string m_strProblem;  // why it failed
    int m_nSeedIndex = -1;     // the parameter every other one is checked against
    int m_nAttempts = 0;       // draws used
};

// Draws plausible values (log-uniform magnitudes, angles inside 5..85
// degrees, fixed values kept), calculates the seed parameter - the first one
// that can be calculated - from the others, then calculates every other
// calculable parameter from that point and checks that putting its value back
// reproduces the seed. Another branch of an inverse passes when it
// reproduces the seed too. Only informative draws judge: those where the
// seed depends noticeably on every parameter (1 % of any moves the seed by
// more than 1000 times the tolerance). There a value that leads back to
// another seed fails the formula at once. A draw whose seed the procedure
// refuses (a domain error, a non-real result) is drawn again; a parameter
// that never reproduces the seed fails the formula. All values travel as engine texts
// through the calculation procedure; the values fed back carry 60
// significant digits so that sensitive formulas are not judged on rounded
// display texts.
ROUND_TRIP_VERDICT VerifyRoundTrip(const _tag_formula_detail& det, std::uint64_t nSeed,
                                   const ROUND_TRIP_OPTIONS& options = ROUND_TRIP_OPTIONS());

// A repeatable seed for one formula of one book, independent of the order in
// which formulas are checked.
std::uint64_t FormulaSeed(const std::string& strBook, const std::string& strNodeId);

// The formula's first record (from "***" to "Image") of a formula text, read
// into a detail record the way the compiler reads it; false when the text
// holds no complete formula record. Used to check hand-made formulas.
bool DetailFromFormulaText(const std::string& strText, _tag_formula_detail& det);
