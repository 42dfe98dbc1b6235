#include "browser/FormulaBrowser.h"

#include "shell/Global.h"
#include "numerics/DiagnosticLog.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::int32_t kMaxSessionText = 255;
constexpr std::int32_t kMaxSessionTrace = 64; // far deeper than any book's folders

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (foldAscii(text[i]) != foldAscii(prefix[i]))
            return false;
    return true;
}

bool containsNoCase(const std::string& text, const std::string& part)
{
    if (part.empty())
        return true;
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [](char a, char b) { return foldAscii(a) == foldAscii(b); });
    return it != text.end();
}

// A trace element is a level prefix: "." or a tree id followed by ".".
bool isTracePrefix(const std::string& element)
{
    if (element.empty() || element.front() != '.' || element.back() != '.')
        return false;
    bool lastDot = false;
    for (std::size_t i = 0; i < element.size(); ++i) {
        const char c = element[i];
        if (c == '.') {
            if (lastDot && i > 0)
                return false;
            lastDot = true;
        } else if (c >= '0' && c <= '9') {
            lastDot = false;
        } else {
            return false;
        }
    }
    return true;
}

bool writeInt(std::FILE* file, std::int32_t value)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return std::fwrite(bytes, 1, 4, file) == 4;
}

bool readInt(std::FILE* file, std::int32_t& value)
{
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4)
        return false;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    value = static_cast<std::int32_t>(v);
    return true;
}

bool writeText(std::FILE* file, const std::string& text)
{
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), kMaxSessionText));
    return writeInt(file, length) && std::fwrite(text.data(), 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
}

bool readText(std::FILE* file, std::string& text)
{
    std::int32_t length = 0;
    if (!readInt(file, length) || length < 0 || length > kMaxSessionText)
        return false;
    text.assign(static_cast<std::size_t>(length), '\0');
    return length == 0 || std::fread(text.data(), 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
}

} // namespace

void getBooks(std::vector<int>& vecRows)
{
    vecRows.clear();
    for (int k = 1; k <= BOOK_COUNT; ++k)
        vecRows.push_back(-k);
}

void getChildNode(const std::string& strPrefix, std::vector<int>& vecRows)
{
    vecRows.clear();
    for (std::size_t i = 0; i < g_vecFormulas.size(); ++i) {
        const std::string id = g_vecFormulas[i].m_szNodeId;
        if (id.size() > strPrefix.size() && startsWithNoCase(id, strPrefix)
            && id.find('.', strPrefix.size()) == std::string::npos)
            vecRows.push_back(static_cast<int>(i));
    }
}

bool loadOpenBookTree()
{
    g_vecFormulas.clear();
    if (g_sFormulasFolder.empty())
        return false;
    return getFormulasTreeFromFileAndSort(g_vecFormulas, getTreeFilename(), true);
}

void searchOpenBook(const std::string& strPrefix, const std::string& strText)
{
    g_vecMatchedFormulaIds.clear();
    for (std::size_t i = 0; i < g_vecFormulas.size(); ++i) {
        const _fornode& node = g_vecFormulas[i];
        if (startsWithNoCase(node.m_szNodeId, strPrefix) && containsNoCase(node.m_szNodeName, strText))
            g_vecMatchedFormulaIds.push_back(static_cast<int>(i));
    }
}

void searchAllBooks(const std::string& strText)
{
    m_arraySearchResult.clear();
    for (const std::string& book : g_arrBooks) {
        std::string path;
        {
            FormulasFolderSwitch useBook(book);
            path = getTreeFilename();
        }
        std::vector<_fornode> nodes;
        if (!getFormulasTreeFromFileAndSort2(nodes, path, true))
            continue;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (!containsNoCase(nodes[i].m_szNodeName, strText))
                continue;
            SEARCHRESULT hit;
            hit.m_NodeInfo = nodes[i];
            hit.m_strBook = book;
            const std::string id = nodes[i].m_szNodeId;
            // In id order every folder precedes its contents: walk back for them.
            for (std::size_t j = i; j-- > 0;) {
                const std::string parent = nodes[j].m_szNodeId;
                if (!startsWithNoCase(id, parent + "."))
                    continue;
                hit.m_vecPath.insert(hit.m_vecPath.begin(), nodes[j].m_szNodeName);
                if (parent.size() < 3)
                    break;
            }
            m_arraySearchResult.push_back(std::move(hit));
        }
    }
}

std::string searchResultPathText(const SEARCHRESULT& hit)
{
    std::string text = "/" + hit.m_strBook + "/";
    for (const std::string& folder : hit.m_vecPath)
        text += folder + "/";
    return text;
}

std::string bookDisplayName(const std::string& strBook)
{
    return strBook == USER_DEFINE_BOOK ? std::string("User-defined Formulas") : strBook;
}

void shiftRowsAfterErase(std::vector<int>& vecRows, int nIndex)
{
    std::erase(vecRows, nIndex);
    for (int& row : vecRows)
        if (row > nIndex)
            --row;
}

std::string getLastSessionFilename()
{
    return getDocumentsFolder() + "/LastSession.sav";
}

bool saveCurrentSession()
{
    LogDiagnostic("calcudex.session", "Session saved.");
    return writeSessionFile();
}

bool writeSessionFile()
{
    const std::string path = getLastSessionFilename();
    const std::string tmp = path + ".tmp";
    std::FILE* file = std::fopen(tmp.c_str(), "wb");
    if (!file)
        return false;
    bool ok = writeText(file, g_sFormulasFolder);
    ok = ok && writeInt(file, static_cast<std::int32_t>(std::min<std::size_t>(m_arrTrace.size(), kMaxSessionTrace)));
    for (std::size_t i = 0; ok && i < m_arrTrace.size() && i < static_cast<std::size_t>(kMaxSessionTrace); ++i)
        ok = writeText(file, m_arrTrace[i]);
    ok = ok && common::syncFile(file);
    ok = (std::fclose(file) == 0) && ok;
    // Replace the old session only once the new one is complete.
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool loadLastSession()
{
    LogDiagnostic("calcudex.session", "Session loaded.");
    std::FILE* file = std::fopen(getLastSessionFilename().c_str(), "rb");
    if (!file)
        return false;
    std::string book;
    std::vector<std::string> trace;
    std::int32_t count = 0;
    bool ok = readText(file, book) && readInt(file, count) && count >= 0 && count <= kMaxSessionTrace;
    for (std::int32_t i = 0; ok && i < count; ++i) {
        std::string element;
        ok = readText(file, element);
        if (ok && !element.empty())
            trace.push_back(element);
    }
    std::fclose(file);

    // The book name becomes part of file paths: only our own books are taken.
    if (ok && !book.empty()) {
        book = findBookName(book);
        ok = !book.empty();
    }
    for (const std::string& element : trace)
        ok = ok && isTracePrefix(element);
    if (ok && book.empty() && !trace.empty())
        ok = false; // a trail inside no book
    if (!ok)
        return false;
    g_sFormulasFolder = book;
    m_arrTrace.insert(m_arrTrace.end(), trace.begin(), trace.end());
    return true;
}
