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

}  // namespace

double CTVMCalc::FVcalc(double dbRate, double dbNper, double dbPmt, double dbPv, double dbPpery,
                        signed char bType)
{
    if (dbPpery <= 0.0 || dbNper <= 0.0)
        return Invalid();
    if (std::fabs(dbRate) <= mg_dbEpsilon)
        return dbNper < mg_dbEpsilon ? 0.0 : Checked(-dbPv - dbNper * dbPmt);
    const double i = dbRate / (100.0 * dbPpery);
    if (std::fabs(i) < mg_dbEpsilon)
        return Invalid();
    const double t = std::pow(1.0 + i, dbNper);
    return Checked(-dbPv * t - dbPmt * (t - 1.0) / i * TypeFactor(i, bType));
}

double CTVMCalc::PVcalc(double dbRate, double dbNper, double dbPmt, double dbFv, double dbPpery,
                        signed char bType)
{
    if (dbRate < 0.0 || dbPpery <= 0.0 || dbNper <= 0.0)
        return Invalid();
    if (std::fabs(dbRate) <= mg_dbEpsilon)
        return Checked(-dbFv - dbNper * dbPmt);
    const double i = dbRate / (100.0 * dbPpery);
    if (std::fabs(i) < mg_dbEpsilon)
        return 0.0;
    const double t = std::pow(1.0 + i, dbNper);
    if (std::fabs(t) < mg_dbEpsilon)
        return 0.0;
    // So many periods that (1 + i)^nper overflows: the future value no
    // longer counts and the payments are worth their perpetuity.
    if (std::isinf(t))
        return Checked(-dbPmt / i * TypeFactor(i, bType));
    return Checked((-dbFv - dbPmt * (t - 1.0) / i * TypeFactor(i, bType)) / t);
}

double CTVMCalc::PMTcalc(double dbRate, double dbNper, double dbPv, double dbFv, double dbPpery,
                         signed char bType)
{
    if (dbPpery == 0.0 || dbNper == 0.0)
        return Invalid();
    dbNper = std::fabs(dbNper);
    const double i = dbRate / (100.0 * std::fabs(dbPpery));
    if (std::fabs(dbRate) <= mg_dbEpsilon) {
        if (dbNper < mg_dbEpsilon)
            return Invalid();
        return Checked((-dbPv - dbFv) / dbNper);
    }
    const double t = std::pow(1.0 + i, dbNper);
    const double s = t - 1.0;
    if (std::fabs(s) < mg_dbEpsilon)
        return Invalid();
    const double dbPmt = i * (-dbPv * t - dbFv) / (s * TypeFactor(i, bType));
    if (std::fabs(dbPmt) < mg_dbEpsilon)
        return Invalid();
    return Checked(dbPmt);
}

double CTVMCalc::NPERcalc(double dbRate, double dbPmt, double dbPv, double dbFv, double dbPpery,
                          signed char bType)
{
    // A period count needs a positive number of periods per year.
    if (dbPv * dbFv > 0.0 || dbPpery <= 0.0)
        return Invalid();
    if (std::fabs(dbRate) <= mg_dbEpsilon) {
        if (std::fabs(dbPmt) < mg_dbEpsilon)
            return Invalid();
        return Checked(-(dbPv + dbFv) / dbPmt);
    }
    const double i = dbRate / (100.0 * dbPpery);
    // A period rate of -100 % or less leaves no growth factor whose
    // logarithm could count periods.
    if (!(1.0 + i > 0.0))
        return Invalid();
    const double z = dbPmt * TypeFactor(i, bType);
    const double d = dbPv * i + z;
    if (d == 0.0)
        return Invalid();
    const double x = (z - dbFv * i) / d;
    if (x <= 0.0)
        return Invalid();
    return Checked(std::log(x) / std::log(1.0 + i));
}

double fnTVM(double dbRate, void* /*pContext*/)
{
    const double i = dbRate / 100.0 / CTVMCalc::m_dbPPERY;
    const double t = std::pow(1.0 + i, CTVMCalc::m_dbNPER);
    return CTVMCalc::m_dbPV * t +
           CTVMCalc::m_dbPMT * (1.0 + i * CTVMCalc::m_bType) * (t - 1.0) / i + CTVMCalc::m_dbFV;
}

namespace {

// fnTVM divided by max(1, (1 + i)^nper): the same sign and the same roots,
// but finite where (1 + i)^nper overflows (high rates over many periods),
// which would otherwise leave the root finder a NaN at the bracket's end.
double ScaledTVM(double dbRate, void* pContext)
{
    const double i = dbRate / 100.0 / CTVMCalc::m_dbPPERY;
    const double t = std::pow(1.0 + i, CTVMCalc::m_dbNPER);
    if (!(t > 1.0))
        return fnTVM(dbRate, pContext);
    const double u = std::pow(1.0 + i, -CTVMCalc::m_dbNPER);  // 1 / t, no overflow
    return CTVMCalc::m_dbPV + CTVMCalc::m_dbPMT * (1.0 + i * CTVMCalc::m_bType) * (1.0 - u) / i +
           CTVMCalc::m_dbFV * u;
}

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
    double dbRate = fnroot(mg_dbEpsilon, 1000.0, ScaledTVM);
    if (g_ErrCode != 0) {
        ClearErrorCode();
        // Negative rates: a period cannot lose more than everything, so the
        // search stops short of -100 % per period, where (1 + i)^n would
        // change sign for even n and hide the root.
        const double dbLowest = std::fmax(-999.0, -100.0 * dbPpery * (1.0 - 1e-9));
        dbRate = fnroot(dbLowest, -mg_dbEpsilon, ScaledTVM);
    }
    return dbRate;
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
    if (dbSalvage < 0.0 || dbPeriod > mg_dbMaxPeriods)
        return Invalid();
    // The usual fixed-declining-balance rate, to three decimals.
    const double dbRate = std::round((1.0 - std::pow(dbSalvage / dbCost, 1.0 / dbLife)) * 1000.0) / 1000.0;

    double dbDepreciation = dbCost * dbRate * dbMonth / 12.0;
    double dbTotal = dbDepreciation;
    const long nPeriod = static_cast<long>(dbPeriod);
    for (long nCounter = 1; nCounter < nPeriod; ++nCounter) {
        dbDepreciation = (dbCost - dbTotal) * dbRate;
        dbTotal += dbDepreciation;
        if (dbTotal > dbCost - dbSalvage)
            return dbDepreciation * (12.0 - dbMonth) / 12.0;
    }
    return dbDepreciation;
}
