#include "numerics/CashFlow.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "numerics/NumericalMethods.h"

double g_tmpInitialInvestment = 0.0;
double* g_tmpCashFlow = nullptr;
int g_tmpNumberOfTime = 0;

double PV(double a, double b, double r, int k)
{
    return (a - b) / std::pow(1.0 + r, k);
}

double NPV(double dbInitial, double a, double b, double r, int nCount)
{
    double dbSum = dbInitial;
    for (int k = 1; k <= nCount; ++k)
        dbSum += PV(a, b, r, k);
    return dbSum;
}

double NPV(double dbInitial, const double* pCashFlow, double r, int nCount)
{
    double dbSum = dbInitial;
    for (int k = 1; k <= nCount; ++k)
        dbSum += pCashFlow[k - 1] / std::pow(1.0 + r, k);
    return dbSum;
}

double fnIRR(double dbRate, void* /*pContext*/)
{
    return NPV(g_tmpInitialInvestment, g_tmpCashFlow, dbRate / 100.0, g_tmpNumberOfTime);
}

namespace {

// The NPV of the flows held by IRR at the period rate r, multiplied by
// (1 + r)^count where r < 0: the same sign and roots, but the discount
// factors stay at most 1 either way, so nothing overflows down to -99.99 %.
// Both are Horner sums in (1 + r) or its inverse.
double ScaledNPV(double r, void* /*pContext*/)
{
    const double w = 1.0 + r;
    double dbSum = 0.0;
    if (r < 0.0) {
        dbSum = g_tmpInitialInvestment;
        for (int k = 0; k < g_tmpNumberOfTime; ++k)
            dbSum = dbSum * w + g_tmpCashFlow[k];
        return dbSum;
    }
    const double v = 1.0 / w;
    for (int k = g_tmpNumberOfTime - 1; k >= 0; --k)
        dbSum = (dbSum + g_tmpCashFlow[k]) * v;
    return g_tmpInitialInvestment + dbSum;
}

}  // namespace

double IRR(double dbInitial, const double* pCashFlow, int nCount)
{
    if (nCount < 0 || (nCount > 0 && pCashFlow == nullptr))
        nCount = 0;
    std::unique_ptr<double[]> pFlows(new double[static_cast<size_t>(nCount) + 1]);
    if (nCount > 0)
        std::memcpy(pFlows.get(), pCashFlow, sizeof(double) * static_cast<size_t>(nCount));
    g_tmpInitialInvestment = dbInitial;
    g_tmpCashFlow = pFlows.get();
    g_tmpNumberOfTime = nCount;
    // From -99.99 % to 10000 % a period; of several rates the one nearest
    // 10 %, the spreadsheets' default guess.
    const double r = fnrootnear(-0.9999, 100.0, 0.1, ScaledNPV);
    g_tmpCashFlow = nullptr;
    g_tmpNumberOfTime = 0;
    return r * 100.0;
}
