// The formula text compiler on any source: compiled into a fresh book, then
// appended to it. Whatever the source, a compiled book reads back whole:
// every index entry finds both of its records, and the append adds exactly
// the formulas the first compilation wrote.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

// The index of the open book, every entry with its two records; -1 when the
// book cannot be read whole.
int readWholeBook()
{
    std::vector<_tag_formula_pos> vecPos;
    if (!getIndexFormula(vecPos))
        return -1;
    for (const _tag_formula_pos& pos : vecPos) {
        _tag_formula_des des;
        _tag_formula_detail det;
        if (!getDesFormula(pos.m_nID, pos.m_nPosDes, des) || !getDetFormula(pos.m_nID, pos.m_nPosDet, det))
            return -1;
    }
    std::vector<_fornode> vecTree;
    getFormulasTreeFromFileAndSort(vecTree, getTreeFilename(), true);
    return static_cast<int>(vecPos.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 16384)
        return 0;
    fuzz::clearHome();
    fuzz::writeFile("source.txt", fuzz::asText(data, size));
    const std::string strSource = fuzz::home() + "/source.txt";
    FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
    std::vector<FormulaTextWarning> vecWarnings;
    if (!createFormulaDataFromTextFile(strSource, false, &vecWarnings))
        return 0;
    const int nCount = readWholeBook();
    if (nCount < 0)
        __builtin_trap();
    if (!createFormulaDataFromTextFile(strSource, true, &vecWarnings) || readWholeBook() != 2 * nCount)
        __builtin_trap();
    return 0;
}
