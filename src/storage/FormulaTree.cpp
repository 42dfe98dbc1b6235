// The tree file of a book: reading its lines, the two sort orders, finding a
// node and the folders above it.
#include <algorithm>

#include "storage/BookFolders.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

namespace {

constexpr std::string_view TREE_TRIM = "\r\n\t ";

// Leading decimal digits of text; 0 without any. Saturates instead of
// overflowing on absurd inputs.
std::uint32_t leadingNumber(std::string_view text)
{
    std::uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        n = std::min<std::uint64_t>(n * 10 + static_cast<std::uint64_t>(c - '0'), 0xFFFFFFFFu);
    }
    return static_cast<std::uint32_t>(n);
}

// Calls onNode for each node line of the tree file, in file order, until it
// returns false. False when the file cannot be read.
template <typename OnNode>
bool forEachTreeNode(const std::string& strPath, OnNode onNode)
{
    // Tree files are small; reading one whole is much cheaper than by line.
    std::string content;
    if (!common::readWholeFile(strPath, content))
        return false;
    std::string_view rest = content;
    _fornode node;
    while (!rest.empty()) {
        std::size_t nEnd = rest.find('\n');
        std::string_view line = rest.substr(0, nEnd);
        rest = nEnd == std::string_view::npos ? std::string_view() : rest.substr(nEnd + 1);
        if (parseTreeLine(line, node) && !onNode(node))
            break;
    }
    return true;
}

bool loadTree(std::vector<_fornode>& vecNodes, const std::string& strPath)
{
    vecNodes.clear();
    return forEachTreeNode(strPath, [&](const _fornode& node) {
        vecNodes.push_back(node);
        return true;
    });
}

// Sorts in the first order (bByName: type, then name) or the second (id).
// Same result as a stable sort with sort_condition / sort_condition2, but the
// letter-case folding is done once per node instead of once per comparison,
// and the 292-byte records are moved once, not at every merge step.
void sortNodes(std::vector<_fornode>& vecNodes, bool bByName)
{
    struct SortKey {
        std::uint32_t uiType;
        std::string strFolded;
        std::size_t nIndex;
    };
    std::vector<SortKey> vecKeys;
    vecKeys.reserve(vecNodes.size());
    for (std::size_t i = 0; i < vecNodes.size(); ++i) {
        const char* sz = bByName ? vecNodes[i].m_szNodeName : vecNodes[i].m_szNodeId;
        std::string strFolded(sz, common::boundedLength(sz, bByName ? NODE_NAME_SIZE : NODE_ID_SIZE));
        for (char& c : strFolded)
            c = common::asciiLower(c);
        vecKeys.push_back({bByName ? vecNodes[i].m_uiNodeType : 0u, std::move(strFolded), i});
    }
    std::stable_sort(vecKeys.begin(), vecKeys.end(), [](const SortKey& a, const SortKey& b) {
        if (a.uiType != b.uiType)
            return a.uiType > b.uiType;
        // Byte-wise, as unsigned bytes.
        return a.strFolded.compare(b.strFolded) < 0;
    });
    std::vector<_fornode> vecSorted;
    vecSorted.reserve(vecNodes.size());
    for (const SortKey& key : vecKeys)
        vecSorted.push_back(vecNodes[key.nIndex]);
    vecNodes.swap(vecSorted);
}

}  // namespace

bool parseTreeLine(std::string_view line, _fornode& node)
{
    std::string_view strLine = common::trimView(line, TREE_TRIM);
    std::size_t nFirst = strLine.find('=');
    if (nFirst == std::string_view::npos)
        return false;
    std::string_view strRest = common::trimView(strLine.substr(nFirst + 1), TREE_TRIM);
    // The name is everything up to the last "=", so names may contain "=".
    std::size_t nLast = strRest.rfind('=');
    if (nLast == std::string_view::npos)
        return false;
    setNode(node, common::trimView(strLine.substr(0, nFirst), TREE_TRIM),
            common::trimView(strRest.substr(0, nLast), TREE_TRIM),
            leadingNumber(common::trimView(strRest.substr(nLast + 1), TREE_TRIM)));
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
        sortNodes(vecNodes, true);
    return true;
}

bool getFormulasTreeFromFileAndSort2(std::vector<_fornode>& vecNodes, const std::string& strPath,
                                     bool bSort)
{
    if (!loadTree(vecNodes, strPath))
        return false;
    if (bSort)
        sortNodes(vecNodes, false);
    return true;
}

bool getTreeNode(const FORMULA_NODE_INFO& info, _fornode& node)
{
    node = makeEmptyNode();
    std::string strPath;
    {
        FormulasFolderSwitch bookSwitch(canonicalBookName(info.m_szBook));
        strPath = getTreeFilename();
    }
    bool bFound = false;
    bool bRead = forEachTreeNode(strPath, [&](const _fornode& candidate) {
        if (!common::equalsNoCase(candidate.m_szNodeId, info.m_NodeInfo.m_szNodeId))
            return true;
        node = candidate;
        bFound = true;
        return false;
    });
    return bRead && bFound;
}

bool getFormulaPathFromBook(const FORMULA_NODE_INFO& info, std::vector<std::string>& vecPath)
{
    vecPath.clear();
    std::string strPath;
    {
        FormulasFolderSwitch bookSwitch(canonicalBookName(info.m_szBook));
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
