// calcudex-tex, the program behind calcudex-cli tex: renders a TeX formula
// the way the screens do and writes the raster as a PNG, or draws it on the
// terminal. Commands the renderer does not know are named on standard error;
// --strict makes them a failure.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "VerbTex.h"
#include "tex/TexPng.h"
#include "tex/TexRender.h"

namespace cli {
namespace {


// Shades of the terminal drawing of a coverage raster, lightest first.
constexpr const char mg_szShades[] = " .:-=+*#%@";

bool ParseScale(const char* text, double& scale)
{
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0))
        return false;
    scale = value;
    return true;
}

// Draws an image on the terminal, one character a pixel.
template <typename RASTER, typename PIXEL>
void PrintImage(const RASTER& raster, PIXEL pixel)
{
    std::printf("%d x %d\n", raster.m_nWidth, raster.m_nHeight);
    std::string line;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        line.clear();
        for (int x = 0; x < raster.m_nWidth; ++x)
            line += pixel(x, y);
        std::printf("%s\n", line.c_str());
    }
}

void PrintRaster(const tex::TEX_RASTER& raster)
{
    PrintImage(raster, [&raster](int x, int y) { return raster.ink(x, y) ? '#' : '.'; });
}

void PrintGray(const tex::TEX_GRAY_RASTER& raster)
{
    PrintImage(raster, [&raster](int x, int y) {
        return mg_szShades[raster.coverage(x, y) * (sizeof(mg_szShades) - 2) / 255];
    });
}


struct TEX_OPTIONS {
    std::string m_strSize = "\\normalsize";
    std::string m_strOutput;
    double m_dScale = 1;
    bool m_bRaw = false;
    bool m_bGray = false;
    bool m_bStrict = false;
    const char* m_szExpression = nullptr;
};

// False on a bad argument. A one-bit image is enlarged by a whole factor;
// a coverage image is rendered at any scale.
bool ParseOptions(int argc, char** argv, TEX_OPTIONS& options)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--size") == 0 && i + 1 < argc) {
            options.m_strSize = argv[++i];
        } else if (std::strcmp(arg, "--scale") == 0 && i + 1 < argc) {
            if (!ParseScale(argv[++i], options.m_dScale))
                return false;
        } else if (std::strcmp(arg, "-o") == 0 && i + 1 < argc) {
            options.m_strOutput = argv[++i];
        } else if (std::strcmp(arg, "--raw") == 0) {
            options.m_bRaw = true;
        } else if (std::strcmp(arg, "--gray") == 0) {
            options.m_bGray = true;
        } else if (std::strcmp(arg, "--strict") == 0) {
            options.m_bStrict = true;
        } else if (std::strcmp(arg, "--") == 0 && i + 1 < argc && !options.m_szExpression) {
            options.m_szExpression = argv[++i];
        } else if ((arg[0] == '-' && arg[1] == '-') || options.m_szExpression) {
            return false;
        } else {
            options.m_szExpression = arg;
        }
    }
    if (!options.m_szExpression)
        return false;
    if (options.m_bGray)
        return options.m_dScale >= 0.25 && options.m_dScale <= tex::TEX_MAX_SCALE;
    return options.m_dScale == std::floor(options.m_dScale) && options.m_dScale >= 1 &&
           options.m_dScale <= tex::TEX_PNG_MAX_SCALE;
}

// Names each unknown command on standard error; true when there was none.
bool ReportUnknown(const std::vector<std::string>& unknown)
{
    for (const std::string& name : unknown)
        std::fprintf(stderr, "Unknown TeX command: %s\n", name.c_str());
    return unknown.empty();
}

int WriteOne(const TEX_OPTIONS& options, const std::string& size)
{
    const char* expression = options.m_szExpression;
    bool clean = true;
    bool written = true;
    if (options.m_bGray) {
        tex::TEX_GRAY_RASTER raster = tex::renderExpressionGray(expression, size, options.m_dScale, !options.m_bRaw);
        if (raster.empty()) {
            std::fprintf(stderr, "calcudex-cli tex: the expression gives no image\n");
            return 1;
        }
        clean = ReportUnknown(raster.m_vecUnknown);
        if (options.m_strOutput.empty())
            PrintGray(raster);
        else if ((written = tex::WriteGrayPng(raster, options.m_strOutput)))
            std::printf("%s: %d x %d\n", options.m_strOutput.c_str(), raster.m_nWidth, raster.m_nHeight);
    } else {
        tex::TEX_RASTER raster = options.m_bRaw ? tex::renderExpression2(expression, size)
                                                : tex::renderExpression(expression, size);
        if (raster.empty()) {
            std::fprintf(stderr, "calcudex-cli tex: the expression gives no image\n");
            return 1;
        }
        clean = ReportUnknown(raster.m_vecUnknown);
        int scale = static_cast<int>(options.m_dScale);
        if (options.m_strOutput.empty())
            PrintRaster(raster);
        else if ((written = tex::WriteRasterPng(raster, scale, options.m_strOutput)))
            std::printf("%s: %d x %d\n", options.m_strOutput.c_str(), raster.m_nWidth * scale, raster.m_nHeight * scale);
    }
    if (!written) {
        std::fprintf(stderr, "calcudex-cli tex: cannot write %s\n", options.m_strOutput.c_str());
        return 1;
    }
    return clean || !options.m_bStrict ? 0 : 1;
}

int RunTex(int argc, char** argv)
{
    TEX_OPTIONS options;
    if (!ParseOptions(argc, argv, options))
        return PrintVerbUsage("tex");
    // "\\large" typed in a shell arrives with both backslashes.
    std::string size = options.m_strSize;
    if (size.starts_with("\\\\"))
        size.erase(0, 1);
    return WriteOne(options, size);
}

const CliVerbRegistrar mg_registrar({"tex", CLI_TEX_USAGE, RunTex});

}  // namespace
}  // namespace cli
