#pragma once

// The points of a sweep as CSV, written by `calcudex-cli calc --sweep` and the
// plot page's export, read back by calcudex-plot:
//
//   a,r                              header: the aliases of x and y
//   45,40.78914715703                one line per point: x, the calculated y
//   95,,Invalid parameter(s)!        a failed point: empty y, the message
//
// Numbers use '.' and an exponent after 'e' ("1.5e-07"); x has 15
// significant digits, y the 13 of the calculation screen. A message holding a
// comma, a quote or a line break is quoted, quotes doubled.

#include <string>
#include <vector>

#include "calc/FormulaSweep.h"

// The header line and one line per point, each ending in "\n".
std::string SweepCsvText(const std::vector<SWEEP_POINT>& vecPoints, const std::string& strXName,
                         const std::string& strYName);

// Reads what SweepCsvText writes (lines may end in CR LF). False, with the
// line number (1 = header) in *pnBadLine, when a line is not of that form.
bool ReadSweepCsv(const std::string& strText, std::vector<SWEEP_POINT>& vecPoints, std::string& strXName,
                  std::string& strYName, int* pnBadLine = nullptr);
