#include "storage/BookFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "storage/common_util.h"

const std::array<std::string, BOOK_COUNT> g_arrBooks = {
    "Astrophysic", "Dynamics and Mechanics", "Electric Engineering", "Math",
    "Optics",      "Thermodynamics",         "User Define",
};

std::string g_sAppPath;
std::string g_sDocumentsPath;
std::string g_sFormulasFolder;

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

bool isFolder(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::is_directory(strPath, ec);
}

}  // namespace

bool makeFolder(const std::string& strPath)
{
    std::error_code ec;
    std::filesystem::create_directories(strPath, ec);
    return isFolder(strPath);
}

std::string resolveDocumentsFolder()
{
    std::string strPath = environment("CALCUDEX_HOME");
    if (strPath.empty()) {
        // Relative XDG paths are to be ignored, as the base directory rules ask.
        std::string xdg = environment("XDG_DATA_HOME");
        if (!xdg.empty() && xdg[0] == '/')
            strPath = xdg + "/calcudex";
        else
            strPath = homeFolder() + "/.local/share/calcudex";
    }
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    makeFolder(strPath);
    return strPath;
}

std::string resourceFolderBesideProgram()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty())
        return std::string();
    return (program.parent_path().parent_path() / "share" / "calcudex").string();
}

std::string resolveResourceFolder()
{
    std::string strPath = environment("CALCUDEX_RESOURCES");
    if (strPath.empty()) {
        // A program finds the folder where it was installed with it, or
        // built beside it: <prefix>/bin/calcudex and <prefix>/share/calcudex.
        strPath = resourceFolderBesideProgram();
        if (strPath.empty() || !isFolder(strPath))
            strPath = CALCUDEX_BUILD_RESOURCES;
        if (!isFolder(strPath))
            strPath = CALCUDEX_INSTALL_RESOURCES;
    }
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    return strPath;
}

void initAppPaths()
{
    g_sAppPath = resolveResourceFolder();
    g_sDocumentsPath = resolveDocumentsFolder();
}

const std::string& getDocumentsFolder()
{
    if (g_sDocumentsPath.empty())
        g_sDocumentsPath = resolveDocumentsFolder();
    return g_sDocumentsPath;
}

std::string findBookName(const std::string& strName)
{
    for (const std::string& strBook : g_arrBooks) {
        if (common::equalsNoCase(strBook, strName))
            return strBook;
    }
    return std::string();
}

std::string canonicalBookName(const std::string& strName)
{
    std::string strBook = findBookName(strName);
    return strBook.empty() ? strName : strBook;
}
