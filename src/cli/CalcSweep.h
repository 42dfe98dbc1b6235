#pragma once

// calcudex-cli calc --sweep: the unknown calculated over a range of another
// parameter, printed as CSV (calc/SweepCsv.h) and, with --plot, drawn into a
// PNG by calcudex-plot, the small Qt program installed next to calcudex-cli.
// The command line itself stays free of Qt.

#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

namespace cli {

struct SWEEP_OPTIONS {
    bool bSweep = false;     // --sweep was given
    bool bBad = false;       // an option's value could not be read
    std::string strAlias;    // x
    std::string strFrom;
    std::string strTo;
    std::string strPoints;   // "" for the default
    bool bLogX = false;      // --log
    bool bLogY = false;      // --log-y
    std::string strPlot;     // --plot FILE
    std::string strSize;     // --size WxH
};

// Takes argv[i] (and its value) when it is one of the sweep options and
// advances i past it; false when it is not one of them.
bool TakeSweepOption(int argc, char** argv, int& i, SWEEP_OPTIONS& options);

// Runs the sweep of parameter nYIndex over nXIndex with the rows' texts and
// returns the exit status: 0 when at least one point has a value, 1 when none
// has or the calculation is refused (the message is printed like calc's), 2
// for a range that cannot be swept. strFormulaName titles the chart.
int RunCalcSweep(const _tag_formula_detail& det, const std::string& strFormulaName, int nYIndex, int nXIndex,
                 const std::vector<std::string>& vecTexts, const SWEEP_OPTIONS& options);

}  // namespace cli
