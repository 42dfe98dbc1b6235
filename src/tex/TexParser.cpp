#include "tex/TexParser.h"

#include "tex/TexReader.h"

namespace tex {
namespace {

struct SIZE_COMMAND {
    const char* m_szName;
    double m_dPixels;
};

// Pixel size of the em for each size command. \normalsize units fit the
// 27-pixel calculation rows with room for a superscript and \left( \right);
// \large is the size of detail pages on the 320-pixel screen.
constexpr SIZE_COMMAND mg_arrSizes[] = {
    {"tiny", 8},   {"scriptsize", 10}, {"footnotesize", 12}, {"small", 13}, {"normalsize", 15},
    {"large", 18}, {"Large", 21},      {"LARGE", 25},        {"huge", 30},  {"Huge", 36},
};

}  // namespace

bool ParseTex(std::string_view text, TexList& out, std::vector<std::string>* pUnknown)
{
    out.clear();
    if (pUnknown)
        pUnknown->clear();
    TexReader reader(text, pUnknown);
    return reader.parse(out);
}

double TexSizeOfCommand(std::string_view name)
{
    for (const SIZE_COMMAND& size : mg_arrSizes) {
        if (name == size.m_szName)
            return size.m_dPixels;
    }
    return 0;
}

}  // namespace tex
