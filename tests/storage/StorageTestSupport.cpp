#include "StorageTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"

namespace fs = std::filesystem;

const char* const SAMPLE_SOURCE =
    "*\r\n"
    "ForId=1\r\n"
    "ForName= Mechanics\r\n"
    "ForDes= \r\n"
    "***\r\n"
    "ForId=1.1\r\n"
    "ForType= 1\r\n"
    "ForName= Work\r\n"
    "ForDes= Work done by a constant force\r\n"
    "ForMime= W = F s\r\n"
    "Para= \"W\" \"Work\" \"w\" \"J\" \"0\"\r\n"
    "Para= \"F\" \"Force\" \"f\" \"N\" \"0\"\r\n"
    "For= \"f*s\" \"w/s\" \r\n"
    "Image= \"work.PNG\" \r\n";

void TempHomeTest::SetUp()
{
    std::string strTemplate = (fs::temp_directory_path() / "calcudex-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(strTemplate.data()), nullptr);
    m_strHome = strTemplate;
    ::setenv("CALCUDEX_HOME", m_strHome.c_str(), 1);
    initAppPaths();
    g_sFormulasFolder.clear();
    g_arrFavorite.clear();
    g_arrHistory.clear();
}

void TempHomeTest::TearDown()
{
    std::error_code ec;
    fs::remove_all(m_strHome, ec);
}

std::vector<std::string> TempHomeTest::bookPaths(const std::string& strBook) const
{
    std::vector<std::string> vecPaths;
    for (const char* szName : g_arrBookFileNames)
        vecPaths.push_back(m_strHome + "/" + strBook + "_" + szName);
    return vecPaths;
}

bool TempHomeTest::compileText(const std::string& strBook, const std::string& strText,
                               bool bAppend)
{
    const std::string strSource = path("source.txt");
    writeText(strSource, strText);
    FormulasFolderSwitch bookSwitch(strBook);
    return createFormulaDataFromTextFile(strSource, bAppend);
}

Bytes readBytes(const std::string& strPath)
{
    std::error_code ec;
    if (!fs::is_regular_file(strPath, ec))
        return Bytes();
    std::ifstream in(strPath, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& strPath, const Bytes& bytes)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& strPath, const std::string& strText)
{
    writeBytes(strPath, Bytes(strText.begin(), strText.end()));
}

bool pathExists(const std::string& strPath)
{
    std::error_code ec;
    return fs::exists(strPath, ec);
}

std::vector<std::string> leftoverTemporaryFiles(const std::string& strFolder)
{
    std::vector<std::string> vecNames;
    for (const fs::directory_entry& entry : fs::directory_iterator(strFolder)) {
        std::string strName = entry.path().filename().string();
        bool bTmp = strName.rfind("tmp_", 0) == 0 ||
                    (strName.size() > 4 && strName.substr(strName.size() - 4) == ".tmp") ||
                    (strName.size() > 5 && strName.substr(strName.size() - 5) == ".part");
        if (bTmp && entry.is_regular_file())
            vecNames.push_back(strName);
    }
    return vecNames;
}

void putLE(Bytes& bytes, std::size_t nOffset, std::uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        bytes[nOffset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(nValue >> (8 * i));
}

std::uint32_t getLE(const Bytes& bytes, std::size_t nOffset)
{
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | bytes[nOffset + static_cast<std::size_t>(i)];
    return n;
}
