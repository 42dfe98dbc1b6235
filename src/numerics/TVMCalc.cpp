#include "numerics/TVMCalc.h"

#include <cmath>

#include "engine/ErrorCodes.h"
#include "numerics/NumericalMethods.h"

double CTVMCalc::m_dbNPER = 0.0;
double CTVMCalc::m_dbPMT = 0.0;
double CTVMCalc::m_dbPV = 0.0;
double CTVMCalc::m_dbFV = 0.0;
double CTVMCalc::m_dbPPERY = 1.0;
signed char CTVMCalc::m_bType = 0;

namespace {

constexpr double mg_dbEpsilon = 1e-12;

// Depreciation schedules longer than this are not a real asset; they would
// only keep the program busy.
constexpr double mg_dbMaxPeriods = 100000.0;

double Invalid()
{
    SetErrorCode(ERR_FINANCIAL);
    return 0.0;
}

// A result that left the double range (an overflowing power, or the NaN of
// a negative growth factor raised to a fractional count) is no amount of
// money: the arguments were invalid.
double Checked(double dbResult)
{
    return std::isfinite(dbResult) ? dbResult : Invalid();
}

// (1 + i)^type: payments at the beginning of a period earn one period more.
double TypeFactor(double i, signed char bType)
{
    return bType != 0 ? 1.0 + i : 1.0;
}

// The growth of n periods at the period rate i, formed from n ln(1 + i)
// with log1p and expm1: near i = 0 the literal (1 + i)^n - 1 loses the
// digits of i to the rounding of 1 + i (at i = 1e-10 it keeps six).
struct GROWTH {
    double dbLog = 0.0;      // n ln(1 + i)
    double dbFactor = 1.0;   // (1 + i)^n
    double dbAnnuity = 0.0;  // ((1 + i)^n - 1) / i, n at i = 0
};

// False for a rate of -100 % or less, where no growth factor exists.
bool Growth(double i, double n, GROWTH& g)
{
    if (!(i > -1.0))
        return false;
    g.dbLog = n * std::log1p(i);
    g.dbFactor = std::exp(g.dbLog);
    g.dbAnnuity = i == 0.0 ? n : std::expm1(g.dbLog) / i;
    return true;
}

// The period rate of a yearly rate in percent.
double PeriodRate(double dbRate, double dbPpery)
{
    return dbRate / (100.0 * dbPpery);
}

}  // namespace

double CTVMCalc::FVcalc(double dbRate, double dbNper, double dbPmt, double dbPv, double dbPpery,
                        signed char bType)
{
    if (dbPpery <= 0.0 || dbNper <= 0.0)
        return Invalid();
    const double i = PeriodRate(dbRate, dbPpery);
    GROWTH g;
    if (!Growth(i, dbNper, g))
        return Invalid();
    return Checked(-dbPv * g.dbFactor - dbPmt * g.dbAnnuity * TypeFactor(i, bType));
}

double CTVMCalc::PVcalc(double dbRate, double dbNper, double dbPmt, double dbFv, double dbPpery,
                        signed char bType)
{
    if (dbPpery <= 0.0 || dbNper <= 0.0)
        return Invalid();
    // Negative rates above -100 % a period discount as well as positive ones.
    const double i = PeriodRate(dbRate, dbPpery);
    if (!(i > -1.0))
        return Invalid();
    if (i == 0.0)
        return Checked(-dbFv - dbNper * dbPmt);
    // Divided through by (1 + i)^nper, which may overflow where the result
    // does not: over endless periods the payments are worth their perpetuity.
    const double dbLog = dbNper * std::log1p(i);
    const double dbDiscount = std::exp(-dbLog);
    const double dbAnnuity = -std::expm1(-dbLog) / i;
    return Checked(-dbFv * dbDiscount - dbPmt * dbAnnuity * TypeFactor(i, bType));
}

double CTVMCalc::PMTcalc(double dbRate, double dbNper, double dbPv, double dbFv, double dbPpery,
                         signed char bType)
{
    if (dbPpery == 0.0 || dbNper == 0.0)
        return Invalid();
    dbNper = std::fabs(dbNper);
    const double i = dbRate / (100.0 * std::fabs(dbPpery));
    GROWTH g;
    if (!Growth(i, dbNper, g))
        return Invalid();
    const double dbPmt = (-dbPv * g.dbFactor - dbFv) / (g.dbAnnuity * TypeFactor(i, bType));
    if (std::fabs(dbPmt) < mg_dbEpsilon)
        return Invalid();
    return Checked(dbPmt);
}

double CTVMCalc::NPERcalc(double dbRate, double dbPmt, double dbPv, double dbFv, double dbPpery,
                          signed char bType)
{
    // A period count needs a positive number of periods per year.
    if (dbPpery <= 0.0)
        return Invalid();
    if (dbRate == 0.0) {
        if (std::fabs(dbPmt) < mg_dbEpsilon)
            return Invalid();
        return Checked(-(dbPv + dbFv) / dbPmt);
    }
    const double i = PeriodRate(dbRate, dbPpery);
    // A period rate of -100 % or less leaves no growth factor whose
    // logarithm could count periods.
    if (!(i > -1.0))
        return Invalid();
    // (1 + i)^n = (z - fv i) / (pv i + z), z = pmt (1 + i type): written as
    // 1 + x with x = -i (pv + fv) / (pv i + z), so that log1p keeps the
    // digits a rate near zero would lose in 1 + x. Present and future value
    // of the same sign are fine where the payments bridge them.
    const double z = dbPmt * TypeFactor(i, bType);
    const double d = dbPv * i + z;
    if (d == 0.0)
        return Invalid();
    const double x = -i * (dbPv + dbFv) / d;
    if (!(x > -1.0))
        return Invalid();
    return Checked(std::log1p(x) / std::log1p(i));
}

double fnTVM(double dbRate, void* /*pContext*/)
{
    const double i = dbRate / 100.0 / CTVMCalc::m_dbPPERY;
    GROWTH g;
    if (!Growth(i, CTVMCalc::m_dbNPER, g))
        return NAN;
    return CTVMCalc::m_dbPV * g.dbFactor +
           CTVMCalc::m_dbPMT * TypeFactor(i, CTVMCalc::m_bType) * g.dbAnnuity + CTVMCalc::m_dbFV;
}

namespace {

// fnTVM at the period rate i, divided by max(1, (1 + i)^nper): the same sign
// and the same roots, but finite where (1 + i)^nper overflows (high rates
// over many periods).
double BalanceAtPeriodRate(double i, void* /*pContext*/)
{
    const double n = CTVMCalc::m_dbNPER;
    const double dbPaid = CTVMCalc::m_dbPMT * TypeFactor(i, CTVMCalc::m_bType);
    if (i == 0.0)
        return CTVMCalc::m_dbPV + n * dbPaid + CTVMCalc::m_dbFV;
    const double dbLog = n * std::log1p(i);
    if (dbLog <= 0.0)
        return CTVMCalc::m_dbPV * std::exp(dbLog) + dbPaid * std::expm1(dbLog) / i + CTVMCalc::m_dbFV;
    return CTVMCalc::m_dbPV - dbPaid * std::expm1(-dbLog) / i + CTVMCalc::m_dbFV * std::exp(-dbLog);
}

// The period rates searched: from -99.99 % up to 10000 % a period.
constexpr double mg_dbLowestRate = -0.9999;
constexpr double mg_dbHighestRate = 100.0;
// Where several rates balance the flows, the one nearest 10 % a period, as
// the spreadsheets' default guess finds it.
constexpr double mg_dbRateGuess = 0.1;

}  // namespace

double CTVMCalc::YRATECalc(double dbNper, double dbPmt, double dbPv, double dbFv, double dbPpery,
                           signed char bType)
{
    m_dbNPER = dbNper;
    m_dbPMT = dbPmt;
    m_dbPV = dbPv;
    m_dbFV = dbFv;
    m_dbPPERY = dbPpery;
    m_bType = bType;
    if (dbPpery <= 0.0)
        return Invalid();
    // At a rate of zero the flows balance when pv + n pmt + fv = 0.
    if (std::fabs(dbPv + dbNper * dbPmt + dbFv) < mg_dbEpsilon)
        return 0.0;
    const double i = fnrootnear(mg_dbLowestRate, mg_dbHighestRate, mg_dbRateGuess, BalanceAtPeriodRate);
    return g_ErrCode != 0 ? 0.0 : i * 100.0 * dbPpery;
}

double CTVMCalc::SLNcalc(double dbCost, double dbSalvage, double dbLife)
{
    if (dbLife <= 0.0)
        return Invalid();
    return Checked((dbCost - dbSalvage) / dbLife);
}

double CTVMCalc::SYDcalc(double dbCost, double dbSalvage, double dbLife, double dbPeriod)
{
    if (dbLife <= 0.0)
        return Invalid();
    return Checked((dbCost - dbSalvage) * (dbLife - dbPeriod + 1.0) * 2.0 / (dbLife * (dbLife + 1.0)));
}

double CTVMCalc::DBcalc(double dbCost, double dbSalvage, double dbLife, double dbPeriod,
                        double dbMonth)
{
    if (dbCost <= 0.0 || dbLife <= 0.0 || dbPeriod <= 0.0 || dbPeriod > dbLife + 1.0)
        return Invalid();
    if (dbSalvage < 0.0 || dbSalvage > dbCost || dbPeriod > mg_dbMaxPeriods)
        return Invalid();
    // The first year has 1 to 12 months; the rest of the last one comes
    // after the life.
    if (!(dbMonth >= 1.0 && dbMonth <= 12.0))
        return Invalid();
    // The usual fixed-declining-balance rate, to three decimals.
    const double dbRate = std::round((1.0 - std::pow(dbSalvage / dbCost, 1.0 / dbLife)) * 1000.0) / 1000.0;

    // Every full year takes the rate of what is left, the last one included;
    // only the period after the life is the part year that the first one
    // left over.
    double dbDepreciation = dbCost * dbRate * dbMonth / 12.0;
    double dbTotal = dbDepreciation;
    const long nPeriod = static_cast<long>(dbPeriod);
    for (long nCounter = 2; nCounter <= nPeriod; ++nCounter) {
        dbDepreciation = (dbCost - dbTotal) * dbRate;
        if (static_cast<double>(nCounter) > dbLife)
            dbDepreciation *= (12.0 - dbMonth) / 12.0;
        dbTotal += dbDepreciation;
    }
    return Checked(dbDepreciation);
}
