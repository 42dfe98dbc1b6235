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
    const double dbRate = fnroot(0.0, 100.0, fnIRR);
    g_tmpCashFlow = nullptr;
    g_tmpNumberOfTime = 0;
    return dbRate;
}
