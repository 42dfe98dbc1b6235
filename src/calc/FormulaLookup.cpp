#include "calc/FormulaLookup.h"

#include "shell/Global.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"

namespace {

bool LoadTreeById(const std::string& strBook, std::vector<_fornode>& vecNodes)
{
    FormulasFolderSwitch folder(strBook);
    return getFormulasTreeFromFileAndSort2(vecNodes, getTreeFilename(), true);
}

// The tree id with exactly one leading dot and no trailing one.
std::string NormalisedId(const std::string& strId)
{
    std::string s = common::string_trim(strId, ".");
    return s.empty() ? s : "." + s;
}

bool LooksLikeTreeId(const std::string& strText)
{
    if (strText.empty())
        return false;
    for (char c : strText) {
        if (c != '.' && (c < '0' || c > '9'))
            return false;
    }
    return true;
}

bool IsFormula(const _fornode& node)
{
    return node.m_uiNodeType != FORMULA_TYPE_FOLDER;
}

}  // namespace

bool FindFormulaNode(const std::string& strBook, const std::string& strWhich, _fornode& node)
{
    std::vector<_fornode> vecNodes;
    if (!LoadTreeById(strBook, vecNodes))
        return false;
    if (LooksLikeTreeId(strWhich)) {
        std::string strId = common::toLower(NormalisedId(strWhich));
        for (const _fornode& candidate : vecNodes) {
            if (IsFormula(candidate) && common::toLower(candidate.m_szNodeId) == strId) {
                node = candidate;
                return true;
            }
        }
    }
    std::string strName = common::toLower(strWhich);
    for (const _fornode& candidate : vecNodes) {
        if (IsFormula(candidate) && common::toLower(candidate.m_szNodeName) == strName) {
            node = candidate;
            return true;
        }
    }
    return false;
}

bool ReadFormulaOfBook(const std::string& strBook, const _fornode& node, _tag_formula_pos& pos,
                       _tag_formula_des& des, _tag_formula_detail& det)
{
    FormulasFolderSwitch folder(strBook);
    return getFormulaRecords(common::string_trim(node.m_szNodeId, "."), pos, des, det);
}

void SearchAllBooks(const std::string& strText, std::vector<SEARCHRESULT>& vecHits)
{
    vecHits.clear();
    std::string strNeedle = common::toLower(strText);
    for (const std::string& strBook : g_arrBooks) {
        std::vector<_fornode> vecNodes;
        if (!LoadTreeById(strBook, vecNodes))
            continue;
        for (size_t k = 0; k < vecNodes.size(); ++k) {
            if (common::toLower(vecNodes[k].m_szNodeName).find(strNeedle) == std::string::npos)
                continue;
            SEARCHRESULT hit;
            hit.m_NodeInfo = vecNodes[k];
            hit.m_strBook = strBook;
            // Ancestors stand before the node in id order; a top-level id
            // (".3") ends the walk.
            std::string strId = common::toLower(vecNodes[k].m_szNodeId);
            for (size_t j = k; j-- > 0;) {
                std::string strPrefix = common::toLower(vecNodes[j].m_szNodeId) + ".";
                if (strId.compare(0, strPrefix.size(), strPrefix) != 0)
                    continue;
                hit.m_vecPath.insert(hit.m_vecPath.begin(), vecNodes[j].m_szNodeName);
                if (std::string(vecNodes[j].m_szNodeId).size() < 3)
                    break;
            }
            vecHits.push_back(hit);
        }
    }
}
