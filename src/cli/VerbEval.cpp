// calcudex-cli eval: evaluates expressions with the engine, as the
// calculation screen does, and prints each result as the screen shows it or
// in scientific notation. "-" reads the expressions from standard input, one
// per line, for scripts and pipes.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "CliVerb.h"
#include "engine/ExprStandardize.h"
#include "numerics/DisplayFormat.h"

namespace {

constexpr const char* mg_lpszUsage =
    "eval [--mode deg|rad|grad] [--digits N] [--format display|e] [--list v1,v2,...] [--] EXPR...|-";

constexpr int mg_nScreenWordSize = 32;
constexpr int mg_nScreenDecimals = 4;
constexpr size_t mg_nMaxListValues = 65535;

struct EVAL_OPTIONS {
    int nMode = MODE_RADIANS;
    int nDigits = 12;
    bool bScientific = false;  // --format e
};

bool ParseMode(const char* lpszText, int& nMode)
{
    if (std::strcmp(lpszText, "deg") == 0)
        nMode = MODE_DEGREES;
    else if (std::strcmp(lpszText, "rad") == 0)
        nMode = MODE_RADIANS;
    else if (std::strcmp(lpszText, "grad") == 0)
        nMode = MODE_GRADS;
    else
        return false;
    return true;
}

bool ParseDigits(const char* lpszText, int& nDigits)
{
    char* pEnd = nullptr;
    errno = 0;
    const long nValue = std::strtol(lpszText, &pEnd, 10);
    if (errno != 0 || pEnd == lpszText || *pEnd != '\0' || nValue < 0 || nValue > 99)
        return false;
    nDigits = static_cast<int>(nValue);
    return true;
}

bool ParseList(const char* lpszText, std::vector<double>& vecValues)
{
    vecValues.clear();
    std::string strText(lpszText);
    size_t nStart = 0;
    for (;;) {
        const size_t nComma = strText.find(',', nStart);
        const std::string strItem = strText.substr(nStart, nComma == std::string::npos ? std::string::npos : nComma - nStart);
        char* pEnd = nullptr;
        const double dbValue = std::strtod(strItem.c_str(), &pEnd);
        // Each value must be a finite number: "nan", "inf" and 1e999 are not.
        if (strItem.empty() || pEnd == strItem.c_str() || *pEnd != '\0' || !std::isfinite(dbValue))
            return false;
        vecValues.push_back(dbValue);
        // The list register counts its rows in 16 bits; a longer list would
        // lose values without a word.
        if (vecValues.size() > mg_nMaxListValues)
            return false;
        if (nComma == std::string::npos)
            return true;
        nStart = nComma + 1;
    }
}

// The number library reports its errors with printf on standard output.
// While the verb runs those reports go to standard error, and the results to
// a stream of their own on the real standard output, so that it carries
// exactly one line per expression. Set up once, not per expression: a batch
// of a hundred thousand lines would spend more time switching than
// evaluating.
class ResultOutput {
public:
    ResultOutput()
    {
        std::fflush(stdout);
        const int nSaved = dup(STDOUT_FILENO);
        if (nSaved >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) >= 0)
            m_pOut = fdopen(nSaved, "w");
        else if (nSaved >= 0)
            close(nSaved);
    }
    ~ResultOutput()
    {
        std::fflush(stdout);
        if (m_pOut == nullptr)
            return;
        std::fflush(m_pOut);
        dup2(fileno(m_pOut), STDOUT_FILENO);
        std::fclose(m_pOut);
    }
    ResultOutput(const ResultOutput&) = delete;
    ResultOutput& operator=(const ResultOutput&) = delete;

    void Line(const std::string& strLine)
    {
        std::FILE* pOut = m_pOut != nullptr ? m_pOut : stdout;
        std::fputs(strLine.c_str(), pOut);
        std::fputc('\n', pOut);
    }

private:
    std::FILE* m_pOut = nullptr;
};

std::string FormatPart(const unsigned short* value, const EVAL_OPTIONS& options)
{
    if (options.bScientific)
        return ScientificString(value, options.nDigits);
    char szMantissa[DISPLAY_BUFFER_SIZE];
    char szExponent[DISPLAY_BUFFER_SIZE];
    ConstructDisplayString(szMantissa, szExponent, BASE_DECIMAL, mg_nScreenWordSize, value, FORMAT_AUTO,
                           options.nDigits, mg_nScreenDecimals);
    return JoinDisplayString(szMantissa, szExponent);
}

// The result line of one expression; false when it failed.
bool Evaluate(const char* lpszText, const EVAL_OPTIONS& options, std::string& strLine)
{
    ClearErrorCode();
    SetMode(options.nMode);
    const REG result = ExprEval(lpszText, 0, 10);
    const int nError = GetErrorCode();
    if (nError != 0) {
        strLine = std::string("error: ") + GetErrorMessage(nError);
        return false;
    }
    strLine = FormatPart(result.re, options);
    if (result.type == REG_COMPLEX) {
        const std::string strImaginary = FormatPart(result.im, options);
        // a+bi (a-bi) reads back as a number; the screen's form is a + bi.
        if (options.bScientific)
            strLine += (strImaginary[0] == '-' ? "" : "+") + strImaginary + "i";
        else
            strLine += " + " + strImaginary + "i";
    }
    return true;
}

// Every line of standard input, one result line each. True when all of
// them evaluated.
bool EvaluateLines(const EVAL_OPTIONS& options, ResultOutput& out)
{
    bool bAllOk = true;
    char* lpszLine = nullptr;
    size_t nCapacity = 0;
    ssize_t nLength;
    std::string strResult;
    while ((nLength = getline(&lpszLine, &nCapacity, stdin)) >= 0) {
        while (nLength > 0 && (lpszLine[nLength - 1] == '\n' || lpszLine[nLength - 1] == '\r'))
            lpszLine[--nLength] = '\0';
        bAllOk = Evaluate(lpszLine, options, strResult) && bAllOk;
        out.Line(strResult);
    }
    std::free(lpszLine);
    return bAllOk;
}

int RunEval(int argc, char** argv)
{
    EVAL_OPTIONS options;
    std::vector<double> vecList;
    bool bHasList = false;
    int i = 1;
    for (; i < argc; ++i) {
        const char* lpszArg = argv[i];
        if (std::strcmp(lpszArg, "--") == 0) {
            ++i;
            break;
        }
        if (std::strncmp(lpszArg, "--", 2) != 0)
            break;
        const bool bHasValue = i + 1 < argc;
        const char* lpszValue = bHasValue ? argv[i + 1] : "";
        if (std::strcmp(lpszArg, "--mode") == 0 && ParseMode(lpszValue, options.nMode)) {
            ++i;
        } else if (std::strcmp(lpszArg, "--digits") == 0 && ParseDigits(lpszValue, options.nDigits)) {
            ++i;
        } else if (std::strcmp(lpszArg, "--format") == 0 &&
                   (std::strcmp(lpszValue, "display") == 0 || std::strcmp(lpszValue, "e") == 0)) {
            options.bScientific = std::strcmp(lpszValue, "e") == 0;
            ++i;
        } else if (std::strcmp(lpszArg, "--list") == 0 && bHasValue && ParseList(lpszValue, vecList)) {
            bHasList = true;
            ++i;
        } else {
            return cli::PrintVerbUsage("eval");
        }
    }
    if (i >= argc)
        return cli::PrintVerbUsage("eval");

    if (bHasList)
        SetStatisticsList(vecList.data(), static_cast<int>(vecList.size()));

    bool bAllOk = true;
    ResultOutput out;
    std::string strResult;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "-") == 0) {
            bAllOk = EvaluateLines(options, out) && bAllOk;
            continue;
        }
        bAllOk = Evaluate(argv[i], options, strResult) && bAllOk;
        out.Line(strResult);
    }
    return bAllOk ? 0 : 1;
}

const cli::CliVerbRegistrar mg_registrar({"eval", mg_lpszUsage, RunEval});

}  // namespace
