// calcudex-cli: the command-line front end over the Qt-free core.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <unistd.h>

#include "CliVerb.h"
#include "Version.h"
#include "numerics/DiagnosticLog.h"

namespace cli {
namespace {

std::vector<CliVerb>& Verbs()
{
    // Function-local so registration from other files' static initialisers is safe.
    static std::vector<CliVerb> verbs;
    return verbs;
}

int PrintUsage()
{
    std::vector<CliVerb> sorted = Verbs();
    std::sort(sorted.begin(), sorted.end(),
              [](const CliVerb& a, const CliVerb& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(stderr, "usage: calcudex-cli VERB [ARGS]\n");
    for (const CliVerb& verb : sorted)
        std::fprintf(stderr, "  calcudex-cli %s\n", verb.usage);
    std::fprintf(stderr, "  calcudex-cli --version\n");
    return 2;
}

}  // namespace

CliVerbRegistrar::CliVerbRegistrar(const CliVerb& verb)
{
    Verbs().push_back(verb);
}

std::string SiblingProgramPath(const char* pszName)
{
    char szSelf[4096];
    const ssize_t nLength = readlink("/proc/self/exe", szSelf, sizeof szSelf - 1);
    if (nLength <= 0)
        return pszName;
    std::string strSelf(szSelf, static_cast<size_t>(nLength));
    return strSelf.substr(0, strSelf.rfind('/') + 1) + pszName;
}

int PrintVerbUsage(const char* name)
{
    for (const CliVerb& verb : Verbs()) {
        if (std::strcmp(verb.name, name) == 0) {
            std::fprintf(stderr, "usage: calcudex-cli %s\n", verb.usage);
            return 2;
        }
    }
    return PrintUsage();
}

// The number library's reports (a domain error and the like) go to standard
// error, so that standard output carries nothing but the verb's answer.
void ReportToStderr(const char*, const char* pszMessage)
{
    std::fprintf(stderr, "%s\n", pszMessage);
}

}  // namespace cli

int main(int argc, char** argv)
{
    SetDiagnosticSink(cli::ReportToStderr);
    if (argc < 2)
        return cli::PrintUsage();
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", CalcudexVersion());
        return 0;
    }
    for (const cli::CliVerb& verb : cli::Verbs()) {
        if (std::strcmp(verb.name, argv[1]) == 0)
            return verb.run(argc - 1, argv + 1);
    }
    return cli::PrintUsage();
}
