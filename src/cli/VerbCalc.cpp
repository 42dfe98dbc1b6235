// Verbs over the calculation: search (all books by name) and calc (one
// parameter of a formula from the others, as the calculation screen does it).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CalcSweep.h"
#include "CliVerb.h"
#include "browser/FormulaBrowser.h"
#include "calc/CalculationProcedure.h"
#include "calc/FormulaLookup.h"
#include "calc/LedTokenModel.h"
#include "shell/AppStartup.h"
#include "shell/Global.h"
#include "storage/common_dstring.h"

namespace cli {
namespace {

// The books are read from the user's documents folder, as the program reads
// them; a first run fills it from the shipped books.
void PrepareDocuments()
{
    initAppPaths();
    copyResourceToDocumentFolder();
}

// One line per hit: book, tree id, folder path, name (tab-separated).
int RunSearch(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0')
        return PrintVerbUsage(argv[0]);
    PrepareDocuments();
    searchAllBooks(argv[1]);
    const std::vector<SEARCHRESULT>& vecHits = m_arraySearchResult;
    for (const SEARCHRESULT& hit : vecHits) {
        // The browser's second line is "/Book/Folder/"; here the book has its own column.
        std::string strPath = "/";
        for (const std::string& strFolder : hit.m_vecPath)
            strPath += strFolder + "/";
        std::printf("%s\t%s\t%s\t%s\n", hit.m_strBook.c_str(), hit.m_NodeInfo.m_szNodeId, strPath.c_str(),
                    hit.m_NodeInfo.m_szNodeName);
    }
    if (vecHits.empty()) {
        std::fprintf(stderr, "calcudex-cli search: no formula or folder name contains \"%s\"\n", argv[1]);
        return 1;
    }
    return 0;
}

// The parameter whose alias this is: an exact match first, else ignoring case.
int FindAlias(const _tag_formula_detail& det, const std::string& strAlias)
{
    int nCount = static_cast<int>(det.m_nParamCount);
    for (int i = 0; i < nCount; ++i) {
        if (det.m_arrParams[static_cast<size_t>(i)].m_strAlias == strAlias)
            return i;
    }
    for (int i = 0; i < nCount; ++i) {
        if (common::toLower(det.m_arrParams[static_cast<size_t>(i)].m_strAlias) == common::toLower(strAlias))
            return i;
    }
    return -1;
}

void PrintAliases(const _tag_formula_detail& det)
{
    std::fprintf(stderr, "parameters:");
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[i];
        std::fprintf(stderr, " %s (%s)", param.m_strAlias.c_str(), param.m_strDescription.c_str());
    }
    std::fprintf(stderr, "\n");
}

// A fixed value reaches the calculation the way the screen hands it over:
// typed into an input line and read back in engine syntax.
std::string FixedValueText(const std::string& strValue)
{
    LedTokenModel line;
    line.setOutputMode(g_sOutputMode.empty() ? "English (US)" : g_sOutputMode);
    if (!line.InsertString(strValue, true))
        return {};
    return line.OutputParsedStringUtf8();
}

int RunCalc(int argc, char** argv)
{
    std::vector<const char*> vecPositional;
    std::vector<std::string> vecSets;
    const char* pszSolve = nullptr;
    SWEEP_OPTIONS sweep;
    bool bScientific = false;
    for (int i = 1; i < argc; ++i) {
        if (TakeSweepOption(argc, argv, i, sweep))
            continue;
        if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc)
            vecSets.push_back(argv[++i]);
        else if (std::strcmp(argv[i], "--format") == 0 && i + 1 < argc &&
                 (std::strcmp(argv[i + 1], "display") == 0 || std::strcmp(argv[i + 1], "e") == 0))
            bScientific = std::strcmp(argv[++i], "e") == 0;
        else if (std::strcmp(argv[i], "--solve") == 0 && i + 1 < argc && pszSolve == nullptr)
            pszSolve = argv[++i];
        else if (argv[i][0] == '-' && argv[i][1] == '-')
            return PrintVerbUsage(argv[0]);
        else
            vecPositional.push_back(argv[i]);
    }
    const bool bSweepOnly = sweep.bLogX || sweep.bLogY || !sweep.strPlot.empty() || !sweep.strSize.empty();
    if (vecPositional.size() != 2 || pszSolve == nullptr || sweep.bBad || (bSweepOnly && !sweep.bSweep) ||
        (!sweep.strSize.empty() && sweep.strPlot.empty()))
        return PrintVerbUsage(argv[0]);
    std::string strBook = findBookName(vecPositional[0]);
    if (strBook.empty()) {
        std::fprintf(stderr, "calcudex-cli calc: unknown book \"%s\"; `calcudex-cli books` lists them\n",
                     vecPositional[0]);
        return PrintVerbUsage(argv[0]);
    }

    PrepareDocuments();
    _fornode node{};
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    if (!FindFormulaNode(strBook, vecPositional[1], node)) {
        std::fprintf(stderr, "calcudex-cli calc: no formula %s in %s\n", vecPositional[1], strBook.c_str());
        return 1;
    }
    if (!ReadFormulaOfBook(strBook, node, pos, des, det)) {
        std::fprintf(stderr, "calcudex-cli calc: the records of %s in %s are damaged\n", node.m_szNodeId,
                     strBook.c_str());
        return 1;
    }
    if (node.m_uiNodeType == FORMULA_TYPE_THEORY) {
        std::fprintf(stderr, "calcudex-cli calc: %s is a theory formula; it has nothing to calculate\n",
                     des.m_strName.c_str());
        return 1;
    }

    // Rows with a fixed value show it; the others start empty.
    std::vector<std::string> vecTexts(det.m_nParamCount);
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i) {
        const std::string& strValue = det.m_arrParams[i].m_strValue;
        if (!strValue.empty() && strValue != "0")
            vecTexts[i] = FixedValueText(strValue);
    }
    for (const std::string& strSet : vecSets) {
        size_t nEqual = strSet.find('=');
        int nIndex = nEqual == std::string::npos ? -1 : FindAlias(det, strSet.substr(0, nEqual));
        if (nIndex < 0) {
            std::fprintf(stderr, "calcudex-cli calc: --set %s names no parameter of %s\n", strSet.c_str(),
                         des.m_strName.c_str());
            PrintAliases(det);
            return PrintVerbUsage(argv[0]);
        }
        vecTexts[static_cast<size_t>(nIndex)] = strSet.substr(nEqual + 1);
    }
    int nSolve = FindAlias(det, pszSolve);
    if (nSolve < 0) {
        std::fprintf(stderr, "calcudex-cli calc: --solve %s names no parameter of %s\n", pszSolve,
                     des.m_strName.c_str());
        PrintAliases(det);
        return PrintVerbUsage(argv[0]);
    }

    if (sweep.bSweep) {
        int nSweep = FindAlias(det, sweep.strAlias);
        if (nSweep < 0) {
            std::fprintf(stderr, "calcudex-cli calc: --sweep %s names no parameter of %s\n", sweep.strAlias.c_str(),
                         des.m_strName.c_str());
            PrintAliases(det);
            return PrintVerbUsage(argv[0]);
        }
        return RunCalcSweep(det, des.m_strName, nSolve, nSweep, vecTexts, sweep);
    }

    CALC_RESULT result = RunCalculation(det, nSolve, vecTexts);
    if (!result.bSuccess) {
        std::printf("%s\n", result.strMessage.c_str());
        return 1;
    }
    // In scientific notation with the 13 digits the screen shows; either
    // form reads back as a --set value.
    std::printf("%s\n", bScientific ? result.strScientific.c_str() : result.strResult.c_str());
    return 0;
}

const CliVerbRegistrar mg_search({"search", "search TEXT", RunSearch});
const CliVerbRegistrar mg_calc({"calc",
                                 "calc BOOK FORMULA [--set ALIAS=VALUE]... [--format display|e] --solve ALIAS "
                                 "[--sweep ALIAS=FROM:TO[:N] [--log] [--log-y] [--plot OUT.png [--size WxH]]]",
                                 RunCalc});

}  // namespace
}  // namespace cli
