#pragma once
// Shared by the input line tests: a line whose tokens are measured without a
// font, and its tokens as one readable text.

#include <string>

#include "calc/LedTextRules.h"
#include "calc/LedTokenModel.h"

namespace ledtest {

// Every code unit is 10 points wide. A line 160 wide has a text area from
// x = 12 of width 136, so with the 10-point slack 12 tokens of one unit fit.
inline LedTokenModel MakeLine(float fWidth = 160.0f)
{
    LedTokenModel line;
    line.setMeasure([](const std::u16string& s) { return 10.0f * static_cast<float>(s.size()); });
    line.initSizes(fWidth, 36.0f);
    return line;
}

// "[1][2][+][3]"
inline std::string Joined(const LedTokenModel& line)
{
    std::string out;
    for (const std::u16string& t : line.Tokens())
        out += "[" + led::Utf16ToUtf8(t) + "]";
    return out;
}

}  // namespace ledtest
