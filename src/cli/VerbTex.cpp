// calcudex-cli tex: renders a TeX formula the way the screens do and writes
// the raster as a PNG, or draws it on the terminal.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CliVerb.h"
#include "tex/TexPng.h"
#include "tex/TexRender.h"

namespace cli {
namespace {

constexpr const char* mg_szUsage =
    "tex [--size \\\\large] [--scale K] [--raw] [-o out.png] EXPR";

bool ParseScale(const char* text, int& scale)
{
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > tex::TEX_PNG_MAX_SCALE)
        return false;
    scale = static_cast<int>(value);
    return true;
}

void PrintRaster(const tex::TEX_RASTER& raster)
{
    std::printf("%d x %d\n", raster.m_nWidth, raster.m_nHeight);
    std::string line;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        line.clear();
        for (int x = 0; x < raster.m_nWidth; ++x)
            line += raster.ink(x, y) ? '#' : '.';
        std::printf("%s\n", line.c_str());
    }
}

int RunTex(int argc, char** argv)
{
    std::string size = "\\normalsize";
    std::string output;
    int scale = 1;
    bool raw = false;
    const char* expression = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--size") == 0 && i + 1 < argc) {
            size = argv[++i];
        } else if (std::strcmp(arg, "--scale") == 0 && i + 1 < argc) {
            if (!ParseScale(argv[++i], scale))
                return PrintVerbUsage("tex");
        } else if (std::strcmp(arg, "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (std::strcmp(arg, "--raw") == 0) {
            raw = true;
        } else if (std::strcmp(arg, "--") == 0 && i + 1 < argc && !expression) {
            expression = argv[++i];
        } else if (arg[0] == '-' && arg[1] == '-') {
            return PrintVerbUsage("tex");
        } else if (!expression) {
            expression = arg;
        } else {
            return PrintVerbUsage("tex");
        }
    }
    if (!expression)
        return PrintVerbUsage("tex");
    // "\\large" typed in a shell arrives with both backslashes.
    if (size.starts_with("\\\\"))
        size.erase(0, 1);

    tex::TEX_RASTER raster = raw ? tex::renderExpression2(expression, size)
                                 : tex::renderExpression(expression, size);
    if (raster.empty()) {
        std::fprintf(stderr, "calcudex-cli tex: the expression gives no image\n");
        return 1;
    }
    if (output.empty()) {
        PrintRaster(raster);
        return 0;
    }
    if (!tex::WriteRasterPng(raster, scale, output)) {
        std::fprintf(stderr, "calcudex-cli tex: cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %d x %d\n", output.c_str(), raster.m_nWidth * scale, raster.m_nHeight * scale);
    return 0;
}

const CliVerbRegistrar mg_registrar({"tex", mg_szUsage, RunTex});

}  // namespace
}  // namespace cli
