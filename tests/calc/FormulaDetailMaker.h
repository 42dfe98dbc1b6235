#pragma once

// A formula's detail record for the calculation tests, one line per
// parameter: alias, unit, calculation expression and fixed value.

#include <vector>

#include "storage/FormulaRecords.h"

struct TEST_PARAM {
    const char* pszAlias;
    const char* pszUnit;
    const char* pszExpr;
    const char* pszValue = "";  // "" or "0": no fixed value
};

inline _tag_formula_detail MakeDetail(const std::vector<TEST_PARAM>& params)
{
    _tag_formula_detail det;
    for (const TEST_PARAM& p : params) {
        _tag_formula_parameter& slot = det.m_arrParams[det.m_nParamCount++];
        slot.m_strAlias = p.pszAlias;
        slot.m_strUnit = p.pszUnit;
        slot.m_strValue = p.pszValue;
        det.m_vecCalcFormulas.push_back(p.pszExpr);
    }
    return det;
}
