#pragma once

// Small helpers of the edge-case tables: numbers from decimal text, results
// as text, and the error flag and report of one call.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "numerics/DiagnosticLog.h"
#include "numerics/qlib.h"

namespace qtest {

using QValue = std::array<unsigned short, NQ>;

// asctoq of the text (the tests of asctoq itself check what that gives).
inline QValue Q(const char* pText)
{
    QValue v;
    asctoq(pText, v.data());
    return v;
}

// Exponent form with n digits.
inline std::string Ex(const unsigned short* x, int n = 30)
{
    char sz[QASCLEN];
    qtoascex(x, sz, n);
    return sz;
}

// The largest magnitude with the given sign.
inline QValue Huge(bool bNegative)
{
    QValue v{};
    v[0] = bNegative ? 0xFFFF : 0;
    qinfin(v.data());
    return v;
}

inline bool SameWords(const unsigned short* a, const unsigned short* b)
{
    for (int i = 0; i < NQ; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// What one call left behind: merror and the text it printed.
struct Outcome {
    int nError;
    std::string strPrinted;
};

// The reports of one call, each as "\n<message>\n".
inline std::string& CapturedReports()
{
    static std::string s_strReports;
    return s_strReports;
}

template <typename F>
Outcome Capture(F fn)
{
    Clearmerror();
    CapturedReports().clear();
    const DiagnosticSink fnPrevious = SetDiagnosticSink([](const char*, const char* pszMessage) {
        CapturedReports() += std::string("\n") + pszMessage + "\n";
    });
    ::testing::internal::CaptureStdout();
    fn();
    const std::string strStdout = ::testing::internal::GetCapturedStdout();
    SetDiagnosticSink(fnPrevious);
    // Nothing of the library may reach standard output.
    EXPECT_EQ(strStdout, "");
    return Outcome{merror, CapturedReports()};
}

}  // namespace qtest
