#pragma once

// Present values of cash flows and the internal rate of return. Rates are
// fractions per period (0.1 = 10 %), except for IRR's result, a percentage.

// (a - b) / (1 + r)^k
double PV(double a, double b, double r, int k);

// initial + sum over k = 1..count of PV(a, b, r, k): a uniform flow.
double NPV(double dbInitial, double a, double b, double r, int nCount);

// initial + sum over k = 1..count of cashflow[k-1] / (1 + r)^k.
double NPV(double dbInitial, const double* pCashFlow, double r, int nCount);

// The rate in percent, from -99.99 to 10000, at which the flows' NPV is
// zero; of several, the one nearest 10 %. None: error -12.
double IRR(double dbInitial, const double* pCashFlow, int nCount);

// NPV of the flows held by IRR at a rate in percent.
double fnIRR(double dbRate, void* pContext);

// The flows of the running IRR (owned by IRR for the duration of one call).
extern double g_tmpInitialInvestment;
extern double* g_tmpCashFlow;
extern int g_tmpNumberOfTime;
