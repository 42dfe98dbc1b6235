#include "numerics/DiagnosticLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool EnvironmentAsksForDiagnostics()
{
    const char* pszValue = std::getenv("CALCUDEX_DIAGNOSTICS");
    return pszValue && *pszValue && std::strcmp(pszValue, "0") != 0;
}

void DefaultSink(const char* pszCategory, const char* pszMessage)
{
    // Read once: the default stays quiet for the whole run unless asked at start.
    static const bool s_bEnabled = EnvironmentAsksForDiagnostics();
    if (s_bEnabled)
        DiagnosticToStderr(pszCategory, pszMessage);
}

DiagnosticSink mg_fnSink = DefaultSink;

}  // namespace

DiagnosticSink SetDiagnosticSink(DiagnosticSink fnSink)
{
    const DiagnosticSink fnPrevious = mg_fnSink;
    mg_fnSink = fnSink ? fnSink : DefaultSink;
    return fnPrevious == DefaultSink ? nullptr : fnPrevious;
}

void LogDiagnostic(const char* pszCategory, const char* pszFormat, ...)
{
    char szMessage[512];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szMessage, sizeof szMessage, pszFormat, args);
    va_end(args);
    mg_fnSink(pszCategory, szMessage);
}

void DiagnosticToStderr(const char* pszCategory, const char* pszMessage)
{
    std::fprintf(stderr, "%s: %s\n", pszCategory, pszMessage);
}
