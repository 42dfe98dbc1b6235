// calcudex-cli tex: runs calcudex-tex, the program beside calcudex-cli that
// holds the TeX renderer. Only this verb needs the font stack, and loading
// it would cost every other verb most of its start-up time.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "CliVerb.h"
#include "VerbTex.h"

namespace cli {
namespace {

int RunTex(int argc, char** argv)
{
    const std::string strProgram = SiblingProgramPath("calcudex-tex");
    // calcudex-tex takes the same command line: the verb, then its arguments.
    std::vector<char*> vecArguments;
    vecArguments.push_back(const_cast<char*>("calcudex-tex"));
    for (int i = 0; i < argc; ++i)
        vecArguments.push_back(argv[i]);
    vecArguments.push_back(nullptr);
    std::fflush(stdout);
    execv(strProgram.c_str(), vecArguments.data());
    std::fprintf(stderr, "calcudex-cli tex: cannot run %s: %s\n", strProgram.c_str(), std::strerror(errno));
    return 1;
}

const CliVerbRegistrar mg_registrar({"tex", CLI_TEX_USAGE, RunTex});

}  // namespace
}  // namespace cli
