// calcudex-cli eval: evaluates expressions with the engine, as the
// calculation screen does, and prints each result as the screen shows it.
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
    "eval [--mode deg|rad|grad] [--digits N] [--list v1,v2,...] [--] EXPR...";

constexpr int mg_nScreenWordSize = 32;
constexpr int mg_nScreenDecimals = 4;
constexpr size_t mg_nMaxListValues = 65535;

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
// While an expression is evaluated those reports go to standard error, so
// that standard output carries exactly one line per expression.
class DiagnosticsToStderr {
public:
    DiagnosticsToStderr()
    {
        std::fflush(stdout);
        m_nSaved = dup(STDOUT_FILENO);
        if (m_nSaved >= 0 && dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
            close(m_nSaved);
            m_nSaved = -1;
        }
    }
    ~DiagnosticsToStderr()
    {
        std::fflush(stdout);
        if (m_nSaved >= 0) {
            dup2(m_nSaved, STDOUT_FILENO);
            close(m_nSaved);
        }
    }
    DiagnosticsToStderr(const DiagnosticsToStderr&) = delete;
    DiagnosticsToStderr& operator=(const DiagnosticsToStderr&) = delete;

private:
    int m_nSaved = -1;
};

std::string FormatPart(const unsigned short* value, int nDigits)
{
    char szMantissa[DISPLAY_BUFFER_SIZE];
    char szExponent[DISPLAY_BUFFER_SIZE];
    ConstructDisplayString(szMantissa, szExponent, BASE_DECIMAL, mg_nScreenWordSize, value, FORMAT_AUTO,
                           nDigits, mg_nScreenDecimals);
    return JoinDisplayString(szMantissa, szExponent);
}

int RunEval(int argc, char** argv)
{
    int nMode = MODE_RADIANS;
    int nDigits = 12;
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
        if (std::strcmp(lpszArg, "--mode") == 0 && bHasValue && ParseMode(argv[i + 1], nMode)) {
            ++i;
        } else if (std::strcmp(lpszArg, "--digits") == 0 && bHasValue && ParseDigits(argv[i + 1], nDigits)) {
            ++i;
        } else if (std::strcmp(lpszArg, "--list") == 0 && bHasValue && ParseList(argv[i + 1], vecList)) {
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

    int nStatus = 0;
    for (; i < argc; ++i) {
        REG result;
        int nError = 0;
        {
            DiagnosticsToStderr diagnostics;
            ClearErrorCode();
            SetMode(nMode);
            result = ExprEval(argv[i], 0, 10);
            nError = GetErrorCode();
        }
        if (nError != 0) {
            std::printf("error: %s\n", GetErrorMessage(nError));
            nStatus = 1;
            continue;
        }
        std::string strLine = FormatPart(result.re, nDigits);
        if (result.type == REG_COMPLEX)
            strLine += " + " + FormatPart(result.im, nDigits) + "i";
        std::printf("%s\n", strLine.c_str());
    }
    std::fflush(stdout);
    return nStatus;
}

const cli::CliVerbRegistrar mg_registrar({"eval", mg_lpszUsage, RunEval});

}  // namespace
