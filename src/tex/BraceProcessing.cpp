#include <cstring>
#include <string>

#include "tex/TexRender.h"

namespace tex {
namespace {

constexpr char mg_szLeft[] = "\\left( ";
constexpr char mg_szRight[] = " \\right)";
constexpr size_t mg_nLeftGrowth = sizeof(mg_szLeft) - 2;   // replaces one character
constexpr size_t mg_nRightGrowth = sizeof(mg_szRight) - 2;

// A bracket is rewritten unless the character before it is 't'. The rewritten
// text ends in ' ' or ')', never in 't', so judging every bracket by its
// neighbour in the original text gives the same result as rescanning the
// text after each replacement.
bool IsRewritten(const char* text, size_t i)
{
    return (text[i] == '(' || text[i] == ')') && (i == 0 || text[i - 1] != 't');
}

size_t ProcessedLength(const char* text, size_t length)
{
    size_t result = length;
    for (size_t i = 0; i < length; ++i) {
        if (IsRewritten(text, i))
            result += text[i] == '(' ? mg_nLeftGrowth : mg_nRightGrowth;
    }
    return result;
}

void WriteProcessed(const char* text, size_t length, std::string& out)
{
    out.clear();
    out.reserve(ProcessedLength(text, length));
    for (size_t i = 0; i < length; ++i) {
        if (!IsRewritten(text, i))
            out += text[i];
        else
            out += text[i] == '(' ? mg_szLeft : mg_szRight;
    }
}

}  // namespace

bool BraceProcessing(char* szText, size_t nBufferSize)
{
    if (!szText || nBufferSize == 0)
        return false;
    size_t length = strnlen(szText, nBufferSize);
    if (length == nBufferSize)
        return false;  // not terminated inside its buffer
    // The result and its terminating zero must fit the buffer.
    if (ProcessedLength(szText, length) >= nBufferSize)
        return false;
    std::string work;
    WriteProcessed(szText, length, work);
    std::memcpy(szText, work.c_str(), work.size() + 1);
    return true;
}

bool BraceProcessing(std::string& text)
{
    size_t length = text.find('\0');
    if (length == std::string::npos)
        length = text.size();
    if (ProcessedLength(text.c_str(), length) >= TEX_BUFFER_SIZE)
        return false;
    std::string work;
    WriteProcessed(text.c_str(), length, work);
    text = std::move(work);
    return true;
}

}  // namespace tex
