// Verbs over the formula books: books, tree, show, compile.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "calc/FormulaLookup.h"
#include "shell/AppStartup.h"
#include "shell/Global.h"
#include "storage/BookCommit.h"
#include "storage/Formulas.h"

namespace cli {
namespace {

// The canonical name of a book argument; prints the usage when it names none.
bool bookArgument(const char* szVerb, const char* szArg, std::string& strBook)
{
    strBook = findBookName(szArg);
    if (!strBook.empty())
        return true;
    std::fprintf(stderr, "calcudex-cli %s: unknown book \"%s\"; `calcudex-cli books` lists them\n",
                 szVerb, szArg);
    PrintVerbUsage(szVerb);
    return false;
}

// The reading verbs look at the user's copies of the books, as the program
// does; a first run fills the documents folder from the shipped books.
void prepareDocuments()
{
    initAppPaths();
    copyResourceToDocumentFolder();
}

int RunBooks(int argc, char** argv)
{
    if (argc != 1)
        return PrintVerbUsage(argv[0]);
    for (const std::string& strBook : g_arrBooks)
        std::printf("%s\n", strBook.c_str());
    return 0;
}

int RunTree(int argc, char** argv)
{
    if (argc != 2)
        return PrintVerbUsage(argv[0]);
    std::string strBook;
    if (!bookArgument(argv[0], argv[1], strBook))
        return 2;
    prepareDocuments();
    g_sFormulasFolder = strBook;
    std::vector<_fornode> vecNodes;
    if (!getFormulasTreeFromFileAndSort(vecNodes, getTreeFilename(), true)) {
        std::fprintf(stderr, "calcudex-cli tree: cannot read %s\n", getTreeFilename().c_str());
        return 1;
    }
    for (const _fornode& node : vecNodes)
        std::printf("%s\t%u\t%s\n", node.m_szNodeId, node.m_uiNodeType, node.m_szNodeName);
    return 0;
}

void printField(const char* szLabel, const std::string& strValue)
{
    std::printf("%-12s %s\n", szLabel, strValue.c_str());
}

int RunShow(int argc, char** argv)
{
    if (argc != 3)
        return PrintVerbUsage(argv[0]);
    std::string strBook;
    if (!bookArgument(argv[0], argv[1], strBook))
        return 2;
    prepareDocuments();
    g_sFormulasFolder = strBook;

    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    // FORMULA is a tree id or a formula's exact name (any letter case).
    std::string strId = argv[2];
    _fornode node;
    if (FindFormulaNode(strBook, argv[2], node))
        strId = node.m_szNodeId;
    if (!getIndexFormula(strId, pos)) {
        std::fprintf(stderr, "calcudex-cli show: no formula %s in %s\n", argv[2], strBook.c_str());
        return 1;
    }
    des.m_nID = pos.m_nID;
    if (!getDesFormula(pos.m_nID, pos.m_nPosDes, des) ||
        !getDetFormula(pos.m_nID, pos.m_nPosDet, det)) {
        std::fprintf(stderr, "calcudex-cli show: the records of %s in %s are damaged\n", argv[2],
                     strBook.c_str());
        return 1;
    }

    char szId[16];
    std::snprintf(szId, sizeof szId, "0x%08" PRIX32, pos.m_nID);
    printField("Id:", szId);
    printField("Name:", des.m_strName);
    printField("Description:", des.m_strDes);
    printField("TeX:", des.m_strMime);
    std::string strImages;
    for (const std::string& strImage : des.m_vecImages)
        strImages += (strImages.empty() ? "" : ", ") + strImage;
    printField("Images:", strImages);
    printField("Parameters:", std::to_string(det.m_nParamCount));
    for (std::uint32_t i = 0; i < det.m_nParamCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[i];
        std::printf("  [%u] %s\n", i + 1, param.m_strDescription.c_str());
        std::printf("      symbol %s, alias %s, unit %s, value %s\n", param.m_strName.c_str(),
                    param.m_strAlias.c_str(), param.m_strUnit.c_str(), param.m_strValue.c_str());
        if (i < det.m_vecCalcFormulas.size() && !det.m_vecCalcFormulas[i].empty())
            std::printf("      = %s\n", det.m_vecCalcFormulas[i].c_str());
        else
            std::printf("      (not calculable)\n");
    }
    // Expressions beyond the parameters are stored but never used.
    for (std::size_t i = det.m_nParamCount; i < det.m_vecCalcFormulas.size(); ++i)
        std::printf("  extra expression %zu: %s\n", i + 1, det.m_vecCalcFormulas[i].c_str());
    return 0;
}

int RunCompile(int argc, char** argv)
{
    bool bAppend = false;
    std::vector<const char*> vecArgs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--append") == 0)
            bAppend = true;
        else if (argv[i][0] == '-' && argv[i][1] != '\0')
            return PrintVerbUsage(argv[0]);
        else
            vecArgs.push_back(argv[i]);
    }
    if (vecArgs.size() != 2)
        return PrintVerbUsage(argv[0]);
    std::string strBook;
    if (!bookArgument(argv[0], vecArgs[1], strBook))
        return 2;

    if (std::FILE* pSource = std::fopen(vecArgs[0], "r")) {
        std::fclose(pSource);
    } else {
        std::fprintf(stderr, "calcudex-cli compile: cannot open %s\n", vecArgs[0]);
        return 1;
    }
    initAppPaths();
    // Appending adds to the user's copy of the book. A book not yet copied
    // into the documents folder is copied first, as at a start of the
    // program; otherwise the new formulas would start a book of their own and
    // the shipped formulas would never be copied again.
    if (bAppend)
        copyResourceToDocumentFolder();
    g_sFormulasFolder = strBook;
    std::vector<FormulaTextWarning> vecWarnings;
    bool bOk = createFormulaDataFromTextFile(vecArgs[0], bAppend, &vecWarnings);
    for (const FormulaTextWarning& warning : vecWarnings)
        std::fprintf(stderr, "%s:%d: warning: %s\n", vecArgs[0], warning.m_nLine,
                     warning.m_strMessage.c_str());
    if (!bOk) {
        std::fprintf(stderr, "calcudex-cli compile: could not compile %s into \"%s\" in %s: %s\n",
                     vecArgs[0], strBook.c_str(), g_sDocumentsPath.c_str(),
                     bookWriteErrorText(getLastBookWriteError()));
        return 1;
    }
    return 0;
}

const CliVerbRegistrar mg_books({"books", "books", RunBooks});
const CliVerbRegistrar mg_tree({"tree", "tree BOOK", RunTree});
const CliVerbRegistrar mg_show({"show", "show BOOK FORMULA", RunShow});
const CliVerbRegistrar mg_compile({"compile", "compile SOURCE BOOK [--append]", RunCompile});

}  // namespace
}  // namespace cli
