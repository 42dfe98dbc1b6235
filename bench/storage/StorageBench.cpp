// Book reader timings on a generated book of 500 formulas in 25 folders:
// loading the tree in both orders, and reading one formula's three records
// the way the calculation screen does.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

constexpr int FOLDERS = 25;
constexpr int FORMULAS_PER_FOLDER = 20;
const char* const BOOK = "Math";

std::string generatedSource()
{
    std::string text;
    for (int f = 1; f <= FOLDERS; ++f) {
        text += "*\nForId=" + std::to_string(f) + "\nForName=Topic " + std::to_string(f) + "\n";
        for (int k = 1; k <= FORMULAS_PER_FOLDER; ++k) {
            const std::string id = std::to_string(f) + "." + std::to_string(k);
            text += "***\nForId=" + id + "\nForType=" + std::to_string(k % 7 ? 1 : 0) +
                    "\nForName=Formula " + std::to_string((k * 37) % 101) + " of topic " +
                    std::to_string(f) +
                    "\nForDes=A description of a typical length, one sentence or two that say "
                    "what the formula relates and when it holds.\n"
                    "ForMime=x = \\frac{a + b}{\\sqrt{c^2 + d^2}} \\cdot e^{-t}\n";
            for (const char* alias : {"x", "a", "b", "c", "d"})
                text += std::string("Para=\"") + alias + "\" \"Parameter " + alias + "\" \"" +
                        alias + "\" \"m/s^2\" \"0\"\n";
            text += "For=\"(a+b)/sqrt(c^2+d^2)\" \"x*sqrt(c^2+d^2)-b\" \"x*sqrt(c^2+d^2)-a\" "
                    "\"sqrt(((a+b)/x)^2-d^2)\" \"sqrt(((a+b)/x)^2-c^2)\"\n";
            text += "Image=\"picture" + id + ".png\"\n";
        }
    }
    return text;
}

// A private documents folder holding the generated book.
struct GeneratedBook {
    std::string m_strHome;
    std::vector<std::string> m_vecIds;

    GeneratedBook()
    {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "calcudex-bench-XXXXXX").string();
        if (::mkdtemp(strTemplate.data()) == nullptr)
            std::abort();
        m_strHome = strTemplate;
        ::setenv("CALCUDEX_HOME", m_strHome.c_str(), 1);
        initAppPaths();
        const std::string strSource = m_strHome + "/book.txt";
        std::string text = generatedSource();
        std::FILE* pFile = std::fopen(strSource.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), pFile);
        std::fclose(pFile);
        g_sFormulasFolder = BOOK;
        if (!createFormulaDataFromTextFile(strSource, false))
            std::abort();
        for (int f = 1; f <= FOLDERS; ++f) {
            for (int k = 1; k <= FORMULAS_PER_FOLDER; ++k)
                m_vecIds.push_back("." + std::to_string(f) + "." + std::to_string(k));
        }
    }
    ~GeneratedBook()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_strHome, ec);
    }
};

GeneratedBook& book()
{
    static GeneratedBook generated;
    return generated;
}

void BM_LoadTreeFirstOrder(benchmark::State& state)
{
    book();
    const std::string strPath = getTreeFilename();
    std::vector<_fornode> vecNodes;
    for (auto _ : state) {
        getFormulasTreeFromFileAndSort(vecNodes, strPath, true);
        benchmark::DoNotOptimize(vecNodes.data());
    }
    state.counters["nodes"] = static_cast<double>(vecNodes.size());
}
BENCHMARK(BM_LoadTreeFirstOrder)->Unit(benchmark::kMicrosecond);

void BM_LoadTreeSecondOrder(benchmark::State& state)
{
    book();
    const std::string strPath = getTreeFilename();
    std::vector<_fornode> vecNodes;
    for (auto _ : state) {
        getFormulasTreeFromFileAndSort2(vecNodes, strPath, true);
        benchmark::DoNotOptimize(vecNodes.data());
    }
    state.counters["nodes"] = static_cast<double>(vecNodes.size());
}
BENCHMARK(BM_LoadTreeSecondOrder)->Unit(benchmark::kMicrosecond);

void BM_ReadFormulaRecords(benchmark::State& state)
{
    const std::vector<std::string>& vecIds = book().m_vecIds;
    std::size_t i = 0;
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    for (auto _ : state) {
        // Index lookup, description and detail, as when a formula is opened.
        const std::string& strId = vecIds[i++ % vecIds.size()];
        bool bOk = getIndexFormula(strId, pos) && getDesFormula(pos.m_nID, pos.m_nPosDes, des) &&
                   getDetFormula(pos.m_nID, pos.m_nPosDet, det);
        if (!bOk)
            state.SkipWithError("a generated formula could not be read");
        benchmark::DoNotOptimize(det.m_nParamCount);
    }
}
BENCHMARK(BM_ReadFormulaRecords)->Unit(benchmark::kMicrosecond);

void BM_CompileBook(benchmark::State& state)
{
    const std::string strSource = book().m_strHome + "/book.txt";
    FormulasFolderSwitch bookSwitch("Optics");
    for (auto _ : state) {
        if (!createFormulaDataFromTextFile(strSource, false))
            state.SkipWithError("compilation failed");
    }
}
BENCHMARK(BM_CompileBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
