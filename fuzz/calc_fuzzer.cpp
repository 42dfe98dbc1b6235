// The calculation procedure on any formula and any typed texts: the checks,
// the protection of function names, the substitution of the aliases, the
// evaluation and the formatting of the result.
//
// The input is one field per line: the ticked row, the parameter count, then
// per parameter a line "name<TAB>description<TAB>alias<TAB>unit<TAB>value",
// a line of calculation expressions separated by tabs, and one typed text
// per parameter.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "calc/CalculationProcedure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 2048)
        return 0;
    const std::vector<std::string> lines = fuzz::splitParts(fuzz::asText(data, size), '\n', 64);
    auto line = [&lines](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    const int nTicked = std::atoi(line(0).c_str()) % 12 - 1;
    _tag_formula_detail det;
    det.m_nParamCount = static_cast<std::uint32_t>(std::abs(std::atoi(line(1).c_str())) % (MAX_FORMULA_PARAMS + 1));
    std::size_t n = 2;
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i, ++n) {
        const std::vector<std::string> fields = fuzz::splitParts(line(n), '\t', 5);
        _tag_formula_parameter& param = det.m_arrParams[i];
        std::string* arrFields[5] = {&param.m_strName, &param.m_strDescription, &param.m_strAlias, &param.m_strUnit,
                                     &param.m_strValue};
        for (std::size_t k = 0; k < fields.size(); ++k)
            *arrFields[k] = fields[k];
    }
    det.m_vecCalcFormulas = fuzz::splitParts(line(n++), '\t', MAX_FORMULA_PARAMS + 2);
    std::vector<std::string> vecTyped;
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i)
        vecTyped.push_back(line(n++));

    const CALC_RESULT result = RunCalculation(det, nTicked, vecTyped);
    // Success writes a result; failure tells why.
    if (result.bSuccess == result.strResult.empty() || (!result.bSuccess && result.strMessage.empty()))
        __builtin_trap();
    return 0;
}
