#include "shell/AppStartup.h"

#include <climits>
#include <cstdio>

#include "shell/Global.h"
#include "storage/BookCommit.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "storage/common_util.h"

namespace {

bool copyFile(const std::string& strFrom, const std::string& strTo)
{
    common::FilePtr pIn = common::openFile(strFrom, "rb");
    if (!pIn)
        return false;
    const std::string strTmp = strTo + ".part";
    common::FilePtr pOut = common::openFile(strTmp, "wb");
    if (!pOut)
        return false;
    char buf[16384];
    bool bOk = true;
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pIn.get())) > 0) {
        if (std::fwrite(buf, 1, n, pOut.get()) != n) {
            bOk = false;
            break;
        }
    }
    if (std::ferror(pIn.get()))
        bOk = false;
    bOk = std::fclose(pOut.release()) == 0 && bOk;
    if (!bOk || std::rename(strTmp.c_str(), strTo.c_str()) != 0) {
        std::remove(strTmp.c_str());
        return false;
    }
    return true;
}

}  // namespace

int copyResourceToDocumentFolder()
{
    const std::string& strDocuments = getDocumentsFolder();
    // A book write that a kill cut short is finished or undone first: a
    // missing book file may only be missing for the moment.
    recoverPendingBookCommit();
    if (g_sAppPath.empty())
        g_sAppPath = resolveResourceFolder();
    int nCopied = 0;
    for (const std::string& strBook : g_arrBooks) {
        for (const char* szFile : g_arrBookFileNames) {
            std::string strTarget = strDocuments + "/" + strBook + "_" + szFile;
            if (common::fileExists(strTarget))
                continue;
            std::string strSource =
                g_sAppPath + "/Formulas/" + strBook + "/" + strBook + "_" + szFile;
            if (copyFile(strSource, strTarget))
                ++nCopied;
        }
    }
    return nCopied;
}

void initApplicationState()
{
    initAppPaths();
    copyResourceToDocumentFolder();
    g_sFormulasFolder.clear();
    g_sOutputMode = "English (US)";
    loadFavoritesAndHistory();
}

bool cleanupApplicationState()
{
    return saveFavoritesAndHistory();
}

std::string getImageIdFilename()
{
    return getDocumentsFolder() + "/" + USER_DEFINE_BOOK + "_CurrentImageId.txt";
}

std::string getImageFilename(int n)
{
    char szName[64];
    std::snprintf(szName, sizeof szName, "UserDefineImage_%d.png", n);
    return getDocumentsFolder() + "/Image/" + szName;
}

int getNextImageId()
{
    int n = 0;
    common::FilePtr pFile = common::openFile(getImageIdFilename(), "rb");
    std::int32_t nLast;
    // A damaged id that cannot be advanced starts the count again rather
    // than overflowing.
    if (pFile && common::readInt32(pFile.get(), nLast) && nLast >= 0 && nLast < INT32_MAX)
        n = nLast + 1;
    // The id file may be missing, damaged or not writable (then it never
    // advances); a picture already stored under an id belongs to a formula
    // and must not be overwritten by the next one.
    while (n < INT32_MAX && common::fileExists(getImageFilename(n)))
        ++n;
    return n;
}

void saveCurrentImageId(int n)
{
    common::FilePtr pFile = common::openFile(getImageIdFilename(), "wb");
    if (pFile)
        common::writeInt32(pFile.get(), n);
}
