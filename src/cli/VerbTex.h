#pragma once

// The tex verb: calcudex-tex renders, calcudex-cli tex runs calcudex-tex
// (VerbTexRunner.cpp). Both show the same usage.

namespace cli {

constexpr const char* CLI_TEX_USAGE =
    "tex [--size \\\\large] [--scale K] [--gray] [--strict] [--raw] [-o out.png] EXPR";

}  // namespace cli
