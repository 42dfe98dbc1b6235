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
