// The tree file of a book: reading its lines, the two sort orders, finding a
// node and the folders above it.
#include <algorithm>

#include "shell/Global.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

namespace {

const std::string TREE_TRIM = "\r\n\t ";

// Leading decimal digits of text; 0 without any. Saturates instead of
// overflowing on absurd inputs.
std::uint32_t leadingNumber(const std::string& text)
{
    std::uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        n = std::min<std::uint64_t>(n * 10 + static_cast<std::uint64_t>(c - '0'), 0xFFFFFFFFu);
    }
    return static_cast<std::uint32_t>(n);
}

bool loadTree(std::vector<_fornode>& vecNodes, const std::string& strPath)
{
    vecNodes.clear();
    common::FilePtr pFile = common::openFile(strPath, "r");
    if (!pFile)
        return false;
    std::string line;
    _fornode node;
    while (common::readLine(pFile.get(), line)) {
        if (parseTreeLine(line, node))
            vecNodes.push_back(node);
    }
    return true;
}

}  // namespace

bool parseTreeLine(const std::string& line, _fornode& node)
{
    std::string strLine = common::string_trim(line, TREE_TRIM);
    std::size_t nFirst = strLine.find('=');
    if (nFirst == std::string::npos)
        return false;
    std::string strRest = common::string_trim(strLine.substr(nFirst + 1), TREE_TRIM);
    // The name is everything up to the last "=", so names may contain "=".
    std::size_t nLast = strRest.rfind('=');
    if (nLast == std::string::npos)
        return false;
    std::string strId = common::string_trim(strLine.substr(0, nFirst), TREE_TRIM);
    std::string strName = common::string_trim(strRest.substr(0, nLast), TREE_TRIM);
    std::string strType = common::string_trim(strRest.substr(nLast + 1), TREE_TRIM);
    setNode(node, strId, strName, leadingNumber(strType));
    return true;
}

bool sort_condition(const _fornode& a, const _fornode& b)
{
    if (a.m_uiNodeType != b.m_uiNodeType)
        return a.m_uiNodeType > b.m_uiNodeType;
    return common::compareNoCase(a.m_szNodeName, b.m_szNodeName) < 0;
}

bool sort_condition2(const _fornode& a, const _fornode& b)
{
    return common::compareNoCase(a.m_szNodeId, b.m_szNodeId) < 0;
}

bool getFormulasTreeFromFileAndSort(std::vector<_fornode>& vecNodes, const std::string& strPath,
                                    bool bSort)
{
    if (!loadTree(vecNodes, strPath))
        return false;
    // Stable, so that a book always lists equal names in the same order.
    if (bSort)
        std::stable_sort(vecNodes.begin(), vecNodes.end(), sort_condition);
    return true;
}

bool getFormulasTreeFromFileAndSort2(std::vector<_fornode>& vecNodes, const std::string& strPath,
                                     bool bSort)
{
    if (!loadTree(vecNodes, strPath))
        return false;
    if (bSort)
        std::stable_sort(vecNodes.begin(), vecNodes.end(), sort_condition2);
    return true;
}

bool getTreeNode(const FORMULA_NODE_INFO& info, _fornode& node)
{
    node = makeEmptyNode();
    std::string strPath;
    {
        FormulasFolderSwitch bookSwitch(info.m_szBook);
        strPath = getTreeFilename();
    }
    common::FilePtr pFile = common::openFile(strPath, "r");
    if (!pFile)
        return false;
    std::string line;
    _fornode candidate;
    while (common::readLine(pFile.get(), line)) {
        if (parseTreeLine(line, candidate) &&
            common::equalsNoCase(candidate.m_szNodeId, info.m_NodeInfo.m_szNodeId)) {
            node = candidate;
            return true;
        }
    }
    return false;
}

bool getFormulaPathFromBook(const FORMULA_NODE_INFO& info, std::vector<std::string>& vecPath)
{
    vecPath.clear();
    std::string strPath;
    {
        FormulasFolderSwitch bookSwitch(info.m_szBook);
        strPath = getTreeFilename();
    }
    std::vector<_fornode> vecNodes;
    if (!getFormulasTreeFromFileAndSort2(vecNodes, strPath, true))
        return false;

    const std::string strTarget = info.m_NodeInfo.m_szNodeId;
    auto it = std::find_if(vecNodes.begin(), vecNodes.end(), [&](const _fornode& node) {
        return common::equalsNoCase(node.m_szNodeId, strTarget);
    });
    if (it == vecNodes.end())
        return true;

    // In id order every ancestor stands before the node; walk back and pick
    // the nodes whose id plus "." begins the target's id, up to the top level.
    while (it != vecNodes.begin()) {
        --it;
        std::string strAncestor = std::string(it->m_szNodeId) + ".";
        if (!common::startsWithNoCase(strTarget, strAncestor))
            continue;
        vecPath.insert(vecPath.begin(), it->m_szNodeName);
        if (std::string(it->m_szNodeId).size() < 3)
            break;
    }
    return true;
}
