#pragma once

// Verbs of calcudex-cli. Each verb lives in its own file (VerbBooks.cpp,
// VerbEval.cpp, ...) and registers itself with a file-scope CliVerbRegistrar,
// so subsystems add verbs without touching the dispatcher.

#include <string>

namespace cli {

// Runs the verb. argv[0] is the verb name; argv[1..argc-1] are its arguments.
// Returns the process exit status: 0 success, 1 failure of the operation,
// 2 bad arguments (print the verb's usage to stderr first).
using VerbFunction = int (*)(int argc, char** argv);

struct CliVerb {
    const char* name;
    const char* usage;  // one line, e.g. "tree BOOK"
    VerbFunction run;
};

struct CliVerbRegistrar {
    explicit CliVerbRegistrar(const CliVerb& verb);
};

// Prints "usage: calcudex-cli <usage>" of the named verb to stderr and returns 2.
int PrintVerbUsage(const char* name);

// The path of a program installed next to calcudex-cli (calcudex-tex,
// calcudex-plot): in the folder of the running program, or the bare name
// when that cannot be read.
std::string SiblingProgramPath(const char* pszName);

}  // namespace cli
