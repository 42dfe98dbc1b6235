#include "calc/FormulaHandOver.h"

#include "shell/Global.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"

FORMULA_SOURCE getCurrentFormulaNode(FORMULA_NODE_INFO& info)
{
    info = makeEmptyNodeInfo();
    if (g_bFavHisToCalcDet) {
        info = g_favhisInfo;
        return FORMULA_SOURCE_FAVHIS;
    }
    if (g_nSelectedFormula < 0)
        return FORMULA_SOURCE_NONE;
    size_t nIndex = static_cast<size_t>(g_nSelectedFormula);
    if (g_bSearching && m_arrTrace.empty()) {
        if (nIndex >= m_arraySearchResult.size())
            return FORMULA_SOURCE_NONE;
        const SEARCHRESULT& hit = m_arraySearchResult[nIndex];
        info = makeNodeInfo(hit.m_NodeInfo, hit.m_strBook);
        return FORMULA_SOURCE_SEARCH_HIT;
    }
    if (nIndex >= g_vecFormulas.size())
        return FORMULA_SOURCE_NONE;
    info = makeNodeInfo(g_vecFormulas[nIndex], g_sFormulasFolder);
    return FORMULA_SOURCE_OPEN_BOOK;
}

bool getCurrentFormulaRecords(_tag_formula_pos& pos, _tag_formula_des& des, _tag_formula_detail& det)
{
    pos = _tag_formula_pos{};
    emptyFormulaDes(des);
    emptyFormulaDetail(det);
    FORMULA_NODE_INFO info;
    FORMULA_SOURCE source = getCurrentFormulaNode(info);
    if (source == FORMULA_SOURCE_NONE)
        return false;
    if (source == FORMULA_SOURCE_SEARCH_HIT)
        g_sFormulasFolder = info.m_szBook;
    return getFormulaRecords(common::string_trim(info.m_NodeInfo.m_szNodeId, "."), pos, des, det);
}

std::string SymbolAndUnitTex(const _tag_formula_parameter& param)
{
    if (param.m_strName.empty())
        return param.m_strUnit;
    // A parameter without a unit (a count, a ratio) shows no empty "()".
    if (param.m_strUnit.find_first_not_of(' ') == std::string::npos)
        return param.m_strName;
    return param.m_strName + "\\hspace{1}(" + param.m_strUnit + ")";
}

bool HasFixedValue(const _tag_formula_parameter& param)
{
    return !param.m_strValue.empty() && param.m_strValue != "0";
}
