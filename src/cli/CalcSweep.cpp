// calcudex-cli calc --sweep: CSV of the unknown over a range of another
// parameter; --plot hands the CSV to calcudex-plot on its standard input.
#include "CalcSweep.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "calc/FormulaSweep.h"
#include "calc/SweepCsv.h"
#include "CliVerb.h"

extern char** environ;

namespace cli {
namespace {

constexpr const char* kPlotProgram = "calcudex-plot";

// "a=0:90:91" into its alias, ends and point count.
bool SplitSweep(const std::string& strSpec, SWEEP_OPTIONS& options)
{
    const size_t nEqual = strSpec.find('=');
    if (nEqual == std::string::npos || nEqual == 0)
        return false;
    options.strAlias = strSpec.substr(0, nEqual);
    std::vector<std::string> vecParts(1);
    for (char c : strSpec.substr(nEqual + 1)) {
        if (c == ':')
            vecParts.emplace_back();
        else
            vecParts.back() += c;
    }
    if (vecParts.size() < 2 || vecParts.size() > 3)
        return false;
    options.strFrom = vecParts[0];
    options.strTo = vecParts[1];
    options.strPoints = vecParts.size() == 3 ? vecParts[2] : std::string();
    return true;
}

bool ReadRange(const SWEEP_OPTIONS& options, SWEEP_RANGE& range)
{
    range.bLog = options.bLogX;
    if (!ParseResultNumber(options.strFrom, range.dbFrom) || !ParseResultNumber(options.strTo, range.dbTo))
        return false;
    if (options.strPoints.empty())
        return true;
    char* pszEnd = nullptr;
    const long nPoints = std::strtol(options.strPoints.c_str(), &pszEnd, 10);
    if (*pszEnd != '\0' || nPoints < SWEEP_MIN_POINTS || nPoints > SWEEP_MAX_POINTS)
        return false;
    range.nPoints = static_cast<int>(nPoints);
    return true;
}

bool ValidSize(const std::string& strSize)
{
    int nWidth = 0;
    int nHeight = 0;
    char cRest = 0;
    return std::sscanf(strSize.c_str(), "%dx%d%c", &nWidth, &nHeight, &cRest) == 2 && nWidth >= 100 &&
           nHeight >= 100 && nWidth <= 8000 && nHeight <= 8000;
}

void AddAxis(std::vector<std::string>& vecArgs, const char* pszAxis, const _tag_formula_parameter& param)
{
    const std::string strPrefix = std::string("--") + pszAxis + "-";
    vecArgs.insert(vecArgs.end(), {strPrefix + "description", param.m_strDescription, strPrefix + "symbol",
                                   param.m_strName, strPrefix + "unit", param.m_strUnit});
}

// Runs calcudex-plot with the CSV on its standard input; its exit status.
int DrawPlot(const std::vector<std::string>& vecArgs, const std::string& strCsv)
{
    const std::string strProgram = SiblingProgramPath(kPlotProgram);
    if (access(strProgram.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "calcudex-cli calc: --plot needs %s next to calcudex-cli\n", strProgram.c_str());
        return 1;
    }
    std::vector<char*> vecArgv{const_cast<char*>(strProgram.c_str())};
    for (const std::string& strArg : vecArgs)
        vecArgv.push_back(const_cast<char*>(strArg.c_str()));
    vecArgv.push_back(nullptr);

    int arrPipe[2];
    if (pipe(arrPipe) != 0)
        return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, arrPipe[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, arrPipe[1]);
    // The chart is drawn without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    pid_t pid = 0;
    const int nSpawn = posix_spawn(&pid, strProgram.c_str(), &actions, nullptr, vecArgv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(arrPipe[0]);
    if (nSpawn != 0) {
        close(arrPipe[1]);
        std::fprintf(stderr, "calcudex-cli calc: cannot run %s: %s\n", strProgram.c_str(), std::strerror(nSpawn));
        return 1;
    }
    // A plot program that stops reading must not take this process with it.
    std::signal(SIGPIPE, SIG_IGN);
    size_t nWritten = 0;
    while (nWritten < strCsv.size()) {
        const ssize_t n = write(arrPipe[1], strCsv.data() + nWritten, strCsv.size() - nWritten);
        if (n <= 0)
            break;
        nWritten += static_cast<size_t>(n);
    }
    close(arrPipe[1]);
    int nStatus = 0;
    if (waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
        return 1;
    return WEXITSTATUS(nStatus);
}

}  // namespace

bool TakeSweepOption(int argc, char** argv, int& i, SWEEP_OPTIONS& options)
{
    const std::string strArg = argv[i];
    const bool bHasValue = i + 1 < argc;
    if (strArg == "--log") {
        options.bLogX = true;
    } else if (strArg == "--log-y") {
        options.bLogY = true;
    } else if (strArg == "--sweep" && bHasValue && !options.bSweep) {
        options.bSweep = true;
        options.bBad = options.bBad || !SplitSweep(argv[++i], options);
    } else if (strArg == "--plot" && bHasValue) {
        options.strPlot = argv[++i];
    } else if (strArg == "--size" && bHasValue) {
        options.strSize = argv[++i];
        options.bBad = options.bBad || !ValidSize(options.strSize);
    } else {
        return false;
    }
    return true;
}

int RunCalcSweep(const _tag_formula_detail& det, const std::string& strFormulaName, int nYIndex, int nXIndex,
                 const std::vector<std::string>& vecTexts, const SWEEP_OPTIONS& options)
{
    SWEEP_RANGE range;
    if (!ReadRange(options, range)) {
        std::fprintf(stderr, "calcudex-cli calc: --sweep %s=%s:%s%s%s is no range of numbers\n",
                     options.strAlias.c_str(), options.strFrom.c_str(), options.strTo.c_str(),
                     options.strPoints.empty() ? "" : ":", options.strPoints.c_str());
        return 2;
    }
    std::string strMessage = nXIndex == nYIndex ? SWEEP_MSG_SAME_PARAMETER : CheckSweepRange(range);
    if (!strMessage.empty()) {
        std::fprintf(stderr, "calcudex-cli calc: %s\n", strMessage.c_str());
        return 2;
    }
    strMessage = CheckSweepInputs(det, nYIndex, nXIndex, vecTexts);
    if (!strMessage.empty()) {
        std::printf("%s\n", strMessage.c_str());
        return 1;
    }

    FormulaSweep sweep(det, nYIndex, nXIndex, vecTexts, range);
    sweep.CalculateAll();
    const std::vector<SWEEP_POINT>& vecPoints = sweep.Points();
    const _tag_formula_parameter& x = det.m_arrParams[static_cast<size_t>(nXIndex)];
    const _tag_formula_parameter& y = det.m_arrParams[static_cast<size_t>(nYIndex)];
    const std::string strCsv = SweepCsvText(vecPoints, x.m_strAlias, y.m_strAlias);
    std::fwrite(strCsv.data(), 1, strCsv.size(), stdout);
    std::fflush(stdout);
    const bool bAnyValue =
        std::any_of(vecPoints.begin(), vecPoints.end(), [](const SWEEP_POINT& p) { return p.bValid; });
    if (options.strPlot.empty())
        return bAnyValue ? 0 : 1;

    if (options.bLogY && std::any_of(vecPoints.begin(), vecPoints.end(),
                                     [](const SWEEP_POINT& p) { return p.bValid && p.dbY <= 0; })) {
        std::fprintf(stderr, "calcudex-cli calc: %s\n", SWEEP_MSG_LOG_VALUES);
        return 1;
    }
    std::vector<std::string> vecArgs{"--output", options.strPlot, "--title", strFormulaName};
    if (!options.strSize.empty())
        vecArgs.insert(vecArgs.end(), {"--size", options.strSize});
    AddAxis(vecArgs, "x", x);
    AddAxis(vecArgs, "y", y);
    if (options.bLogX)
        vecArgs.push_back("--log-x");
    if (options.bLogY)
        vecArgs.push_back("--log-y");
    // A value set for x as well is the current point, marked on the line.
    const std::string& strTyped = vecTexts[static_cast<size_t>(nXIndex)];
    double dbTyped = 0.0;
    if (ParseResultNumber(strTyped, dbTyped)) {
        const SWEEP_POINT current = CalculateSweepPoint(det, nYIndex, nXIndex, vecTexts, strTyped);
        if (current.bValid)
            vecArgs.insert(vecArgs.end(), {"--mark", SweepNumberText(dbTyped) + "," + current.strY});
    }
    if (DrawPlot(vecArgs, strCsv) != 0) {
        std::fprintf(stderr, "calcudex-cli calc: the chart %s was not drawn\n", options.strPlot.c_str());
        return 1;
    }
    return bAnyValue ? 0 : 1;
}

}  // namespace cli
