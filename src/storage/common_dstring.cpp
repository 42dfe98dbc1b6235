#include "storage/common_dstring.h"

#include "storage/common_util.h"

namespace common {

const std::string EMPTY_STRING;
const std::string SPACE_STRING = " ";
const std::string COMMA_STRING = ",";
const std::string CRLF = "\r\n";

namespace {

// A cascade of replacements (a replacement forming a new occurrence with the
// text around it) may grow the text without end, or cycle; past this growth
// or this many replacements the remaining occurrences are replaced in one
// pass, so that no input can keep the loop going. Real uses (aliases, function
// names in a 4096-byte expression) stay far below both.
constexpr std::size_t REPLACE_GROWTH_LIMIT = 1u << 16;
constexpr std::size_t REPLACE_COUNT_LIMIT = 1u << 16;

}  // namespace

std::string string_replace(const std::string& text, const std::string& search,
                           const std::string& replacement)
{
    if (search.empty())
        return text;
    std::string result = text;
    bool bSinglePass = replacement.find(search) != std::string::npos;
    const std::size_t nLimit = text.size() + REPLACE_GROWTH_LIMIT;

    // Restarting from the very beginning and restarting from the first
    // position a new occurrence could overlap give the same result: nothing
    // before the last match has changed. The second is just cheaper.
    std::size_t nFrom = 0;
    std::size_t nReplaced = 0;
    for (;;) {
        std::size_t nPos = result.find(search, nFrom);
        if (nPos == std::string::npos)
            break;
        result.replace(nPos, search.size(), replacement);
        if (!bSinglePass && (result.size() > nLimit || ++nReplaced > REPLACE_COUNT_LIMIT))
            bSinglePass = true;
        if (bSinglePass)
            nFrom = nPos + replacement.size();
        else
            nFrom = nPos >= search.size() - 1 ? nPos - (search.size() - 1) : 0;
    }
    return result;
}

std::string string_left(const std::string& text, std::size_t n)
{
    return text.substr(0, n);
}

std::string string_right(const std::string& text, std::size_t n)
{
    return n >= text.size() ? text : text.substr(text.size() - n);
}

std::string string_sub(const std::string& text, std::size_t start, std::size_t n)
{
    if (start >= text.size())
        return std::string();
    return text.substr(start, n);
}

std::string string_trim(const std::string& text, const std::string& set)
{
    std::size_t nFirst = text.find_first_not_of(set);
    if (nFirst == std::string::npos)
        return std::string();
    std::size_t nLast = text.find_last_not_of(set);
    return text.substr(nFirst, nLast - nFirst + 1);
}

void string_split(const std::string& text, const std::string& separator,
                  std::vector<std::string>& out)
{
    if (separator.empty()) {
        out.push_back(text);
        return;
    }
    std::size_t nStart = 0;
    for (;;) {
        std::size_t nPos = text.find(separator, nStart);
        if (nPos == std::string::npos) {
            out.push_back(text.substr(nStart));
            return;
        }
        out.push_back(text.substr(nStart, nPos - nStart));
        nStart = nPos + separator.size();
    }
}

std::string toLower(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = asciiLower(c);
    return result;
}

std::string toUpper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = asciiUpper(c);
    return result;
}

}  // namespace common
