#pragma once

// Two book formulas for the sweep benchmarks, as the books hold them:
// the projectile's range (degree mode) and an LC circuit's resonance.

#include "storage/FormulaRecords.h"

inline _tag_formula_detail BenchDetail(std::initializer_list<std::array<const char*, 3>> params)
{
    _tag_formula_detail det;
    for (const auto& [pszAlias, pszUnit, pszExpr] : params) {
        _tag_formula_parameter& slot = det.m_arrParams[det.m_nParamCount++];
        slot.m_strAlias = pszAlias;
        slot.m_strUnit = pszUnit;
        det.m_vecCalcFormulas.push_back(pszExpr);
    }
    return det;
}

inline _tag_formula_detail ProjectileRange()
{
    return BenchDetail({{"r", "\\text{m}", "v^2*sin(2*a)/g"},
                        {"v", "\\text{m/s}", "sqrt(r*g/sin(2*a))"},
                        {"a", "^o", "asin(r*g/v^2)/2"},
                        {"g", "\\text{m/s}^2", "v^2*sin(2*a)/r"}});
}

inline _tag_formula_detail LcResonance()
{
    return BenchDetail({{"f", "\\text{Hz}", "1/(2*pi*sqrt(l*c))"},
                        {"l", "\\text{H}", "1/((2*pi*f)^2*c)"},
                        {"c", "\\text{F}", "1/((2*pi*f)^2*l)"}});
}
