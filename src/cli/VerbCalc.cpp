// Verbs over the calculation: search (all books by name).
#include <cstdio>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "calc/FormulaLookup.h"
#include "shell/AppStartup.h"
#include "shell/Global.h"

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
    std::vector<SEARCHRESULT> vecHits;
    SearchAllBooks(argv[1], vecHits);
    for (const SEARCHRESULT& hit : vecHits) {
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

const CliVerbRegistrar mg_search({"search", "search TEXT", RunSearch});

}  // namespace
}  // namespace cli
