#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "storage/BookFolders.h"

namespace fuzz {

const std::string& home()
{
    static const std::string strHome = [] {
        // In memory when the system has a tmpfs: the book writes sync every
        // file, and a disk would make that the whole cost of an input.
        std::error_code ec;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                           : std::filesystem::temp_directory_path();
        std::string strTemplate = (base / "calcudex-fuzz-XXXXXX").string();
        if (!::mkdtemp(strTemplate.data()))
            std::abort();
        ::setenv("CALCUDEX_HOME", strTemplate.c_str(), 1);
        initAppPaths();
        return strTemplate;
    }();
    return strHome;
}

void clearHome()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(home(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

void writeFile(const std::string& strName, std::string_view bytes)
{
    if (std::FILE* pFile = std::fopen((home() + "/" + strName).c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), pFile);
        std::fclose(pFile);
    }
}

std::vector<std::string> splitParts(std::string_view input, char cSeparator, std::size_t nMaxParts)
{
    std::vector<std::string> parts;
    while (parts.size() + 1 < nMaxParts) {
        const std::size_t nAt = input.find(cSeparator);
        if (nAt == std::string_view::npos)
            break;
        parts.emplace_back(input.substr(0, nAt));
        input.remove_prefix(nAt + 1);
    }
    parts.emplace_back(input);
    return parts;
}

std::vector<std::string> binaryParts(std::string_view input, std::size_t nParts)
{
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i + 1 < nParts; ++i) {
        std::size_t n = 0;
        if (input.size() >= 2) {
            n = static_cast<unsigned char>(input[0]) | (static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8);
            input.remove_prefix(2);
        }
        lengths.push_back(n);
    }
    std::vector<std::string> parts;
    for (std::size_t n : lengths) {
        n = std::min(n, input.size());
        parts.emplace_back(input.substr(0, n));
        input.remove_prefix(n);
    }
    parts.emplace_back(input);
    return parts;
}

}  // namespace fuzz
