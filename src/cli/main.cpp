// calcudex-cli: the command-line front end over the Qt-free core.
#include <cstdio>
#include <cstring>

#include "Version.h"

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: calcudex-cli VERB [ARGS]\n"
                 "  --version           print the version\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", CalcudexVersion());
        return 0;
    }
    return usage();
}
