// The six shipped books, one test per book and check: the text compiles
// cleanly into the files the program ships, tree and index agree, and every
// calculable formula solves for each parameter consistently through the
// calculation procedure.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BookVerifier.h"
#include "shell/Global.h"
#include "storage/Formulas.h"

namespace fs = std::filesystem;

namespace {

const char* const mg_arrShippedBooks[] = {
    "Astrophysic", "Dynamics and Mechanics", "Electric Engineering", "Math", "Optics", "Thermodynamics",
};

// Each book holds a handbook's worth of formulas to calculate and a few laws
// and definitions to read.
constexpr int MIN_CALCULABLE = 50;
constexpr int MIN_THEORY = 5;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Compiles books/<Book>.txt into a private documents folder.
class ShippedBookTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        std::string strTemplate = (fs::temp_directory_path() / "calcudex-books-XXXXXX").string();
        ASSERT_NE(::mkdtemp(strTemplate.data()), nullptr);
        m_strHome = strTemplate;
        ::setenv("CALCUDEX_HOME", m_strHome.c_str(), 1);
        initAppPaths();
        m_strBook = GetParam();
        FormulasFolderSwitch folder(m_strBook);
        m_bCompiled = createFormulaDataFromTextFile(SourcePath().string(), false, &m_vecWarnings);
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_strHome, ec);
    }

    fs::path SourcePath() const { return fs::path(CALCUDEX_BOOKS_SOURCE) / (m_strBook + ".txt"); }

    std::string m_strHome;
    std::string m_strBook;
    bool m_bCompiled = false;
    std::vector<FormulaTextWarning> m_vecWarnings;
};

TEST_P(ShippedBookTest, CompilesWithoutWarnings)
{
    ASSERT_TRUE(m_bCompiled) << SourcePath();
    for (const FormulaTextWarning& warning : m_vecWarnings)
        ADD_FAILURE() << m_strBook << ".txt:" << warning.m_nLine << ": " << warning.m_strMessage;
}

TEST_P(ShippedBookTest, ShippedFilesAreTheCompiledText)
{
    // The build compiles the same text into the resource folder; what ships
    // must be what this test checks.
    ASSERT_TRUE(m_bCompiled);
    fs::path shipped = fs::path(CALCUDEX_RESOURCE_DIR) / "Formulas" / m_strBook;
    for (const char* szFile : g_arrBookFileNames) {
        std::string strName = m_strBook + "_" + szFile;
        ASSERT_TRUE(fs::exists(shipped / strName)) << shipped / strName;
        EXPECT_TRUE(ReadFile(shipped / strName) == ReadFile(fs::path(m_strHome) / strName))
            << strName << " in the resource folder differs from a fresh compilation of " << SourcePath();
    }
}

TEST_P(ShippedBookTest, TreeAndIndexAgree)
{
    ASSERT_TRUE(m_bCompiled);
    BOOK_SURVEY survey = SurveyBook(m_strBook);
    ASSERT_TRUE(survey.m_bReadable);
    for (const std::string& strProblem : survey.m_vecProblems)
        ADD_FAILURE() << m_strBook << " " << strProblem;
    EXPECT_GE(survey.m_nCalculable, MIN_CALCULABLE);
    EXPECT_GE(survey.m_nTheory, MIN_THEORY);
    std::printf("%s: %d calculable, %d theory formulas in %d folders\n", m_strBook.c_str(),
                survey.m_nCalculable, survey.m_nTheory, survey.m_nFolders);
}

TEST_P(ShippedBookTest, EveryCalculableFormulaRoundTrips)
{
    ASSERT_TRUE(m_bCompiled);
    BOOK_SURVEY survey = SurveyBook(m_strBook);
    ASSERT_TRUE(survey.m_bReadable);
    ASSERT_FALSE(survey.m_vecCalcNodes.empty());
    auto start = std::chrono::steady_clock::now();
    int nDraws = 0;
    for (size_t k = 0; k < survey.m_vecCalcNodes.size(); ++k) {
        const _fornode& node = survey.m_vecCalcNodes[k];
        ROUND_TRIP_VERDICT verdict =
            VerifyRoundTrip(survey.m_vecCalcDetails[k], FormulaSeed(m_strBook, node.m_szNodeId));
        nDraws += verdict.m_nAttempts;
        if (!verdict.m_bPassed)
            ADD_FAILURE() << m_strBook << " " << node.m_szNodeId << " " << node.m_szNodeName << ": "
                          << verdict.m_strProblem;
    }
    double dbSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu calculable formulas, %d draws, %.2f s\n", m_strBook.c_str(),
                survey.m_vecCalcNodes.size(), nDraws, dbSeconds);
}

INSTANTIATE_TEST_SUITE_P(Books, ShippedBookTest, ::testing::ValuesIn(mg_arrShippedBooks),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string strName;
                             for (const char* p = info.param; *p; ++p) {
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     strName += *p;
                             }
                             return strName;
                         });

}  // namespace
