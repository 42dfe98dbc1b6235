// The wizard's save path on any page contents: the checks of Done (with the
// test evaluation of every expression), then, for pages that pass, the ids,
// the formula text and its compilation into the user book. A formula that
// was saved can be read back under the id it was given, with what the pages
// held.
//
// The input is the pages' fields, one per line: name, description, type
// (0 or 1), TeX, pictures separated by ';', the Step 3 count, then six lines
// per parameter page: name, description, alias, unit, calculable (0 or 1),
// expression.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "editor/FormulaWizard.h"
#include "editor/FormulaWriter.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

FORMULA_WIZARD_INFO pagesFrom(const std::vector<std::string>& fields)
{
    auto field = [&fields](std::size_t i) { return i < fields.size() ? fields[i] : std::string(); };
    FORMULA_WIZARD_INFO info;
    info.m_form1.m_strName = trimFormText(field(0));
    info.m_form1.m_strDes = trimFormText(field(1));
    info.m_form1.m_nType = field(2) == "0" ? FORMULA_TYPE_THEORY : FORMULA_TYPE_CALCULABLE;
    info.m_form2.m_strMime = trimFormText(field(3));
    for (const std::string& strImage : fuzz::splitParts(field(4), ';', 8))
        if (!strImage.empty())
            info.m_form2.m_arrImages.push_back(trimFormText(strImage));
    info.m_nParamCount = parseParameterCount(field(5));
    for (std::size_t i = 6; i + 5 < fields.size() && info.m_arrForm4.size() < WIZARD_MAX_PARAMETERS; i += 6) {
        FORM4_INFO param;
        param.m_strName = trimFormText(fields[i]);
        param.m_strDescription = trimFormText(fields[i + 1]);
        param.m_strAlias = filterAliasText(fields[i + 2]);
        param.m_strUnit = trimFormText(fields[i + 3]);
        param.m_bCalculable = fields[i + 4] != "0";
        param.m_strFormula = param.m_bCalculable ? trimFormText(fields[i + 5]) : std::string();
        info.m_arrForm4.push_back(param);
    }
    return info;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const FORMULA_WIZARD_INFO info = pagesFrom(fuzz::splitParts(fuzz::asText(data, size), '\n', 6 + 6 * 10 + 1));
    std::string strMessage;
    if (!checkFormulaInfo(info, true, strMessage))
        return 0;
    fuzz::clearHome();
    _fornode node = makeEmptyNode();
    if (!saveNewFormula2(info, &node))
        return 0;
    // The formula has the parameters of the pages Step 3 counts (none for
    // theory), whatever other pages hold.
    const std::size_t nParams =
        std::min(static_cast<std::size_t>(std::max(info.m_nParamCount, 0)), info.m_arrForm4.size());
    FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    if (!getFormulaRecords(node.m_szNodeId, pos, des, det) || des.m_strMime != info.m_form2.m_strMime ||
        det.m_nParamCount != nParams)
        __builtin_trap();
    return 0;
}
