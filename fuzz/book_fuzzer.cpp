// The four book files as they may lie on a disk: damaged, truncated, hostile.
// The input holds the tree, index, description and detail files and a
// journal (binaryParts). Every reader reads them; recovery meets the journal;
// then a formula is edited and another deleted. Nothing may read beyond a
// file, and a rewrite that succeeds leaves a book that reads back whole.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "storage/BookCommit.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

bool readsBackWhole()
{
    std::vector<_tag_formula_pos> vecPos;
    if (!getIndexFormula(vecPos))
        return false;
    for (const _tag_formula_pos& pos : vecPos) {
        _tag_formula_des des;
        _tag_formula_detail det;
        getDesFormula(pos.m_nID, pos.m_nPosDes, des);
        getDetFormula(pos.m_nID, pos.m_nPosDet, det);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 65536)
        return 0;
    fuzz::clearHome();
    const std::vector<std::string> parts = fuzz::binaryParts(fuzz::asText(data, size), 5);
    for (int i = 0; i < 4; ++i) {
        fuzz::writeFile(std::string("Math_") + g_arrBookFileNames[i], parts[static_cast<std::size_t>(i)]);
        fuzz::writeFile(std::string("tmp_") + g_arrBookFileNames[i], parts[static_cast<std::size_t>(3 - i)]);
    }
    if (!parts[4].empty())
        fuzz::writeFile("tmp_journal.dat", parts[4]);
    recoverPendingBookCommit();

    FormulasFolderSwitch useBook("Math");
    std::vector<_fornode> vecTree, vecById;
    getFormulasTreeFromFileAndSort(vecTree, getTreeFilename(), true);
    getFormulasTreeFromFileAndSort2(vecById, getTreeFilename(), true);
    readsBackWhole();
    for (const _fornode& node : vecTree) {
        std::vector<std::string> vecPath;
        getFormulaPathFromBook(makeNodeInfo(node, "Math"), vecPath);
        _tag_formula_pos pos;
        _tag_formula_des des;
        _tag_formula_detail det;
        getFormulaRecords(node.m_szNodeId, pos, des, det);
    }
    if (vecTree.empty())
        return 0;

    const FORMULA_NODE_INFO first = makeNodeInfo(vecTree.front(), "Math");
    _tag_formula_des des;
    des.m_strName = "edited";
    _tag_formula_detail det;
    det.m_nParamCount = 1;
    det.m_arrParams[0].m_strAlias = "x";
    det.m_vecCalcFormulas = {"2*x"};
    if (editFormulaInBook(first, des, det) && !readsBackWhole())
        __builtin_trap();
    if (deleteFormulaFromBook(makeNodeInfo(vecTree.back(), "Math")) && !readsBackWhole())
        __builtin_trap();
    return 0;
}
