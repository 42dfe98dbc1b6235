// The library-wide error flag and its report.

#include "numerics/DiagnosticLog.h"
#include "numerics/qlib.h"

int merror = 0;

const char* const ermsg[7] = {
    "unknown",                   // 0, and any code out of range
    "domain",                    // 1 argument outside the domain
    "singularity",               // 2 pole, division by zero
    "overflow",                  // 3 result too large
    "underflow",                 // 4 result too small
    "total loss of precision",   // 5
    "partial loss of precision"  // 6
};

int mtherr(const char* name, int code)
{
    // The reporting routine carries on with its substitute result; the
    // caller finds the code in merror.
    const char* pMessage = (code >= 1 && code <= 6) ? ermsg[code] : ermsg[0];
    LogDiagnostic("calcudex.numerics", "%s %s error", name ? name : "", pMessage);
    merror = code;
    return 0;
}

int iserror(void)
{
    return merror != 0 ? 1 : 0;
}

int Clearmerror(void)
{
    merror = 0;
    return 0;
}
