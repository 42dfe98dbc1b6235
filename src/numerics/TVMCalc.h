#pragma once

// Time value of money and depreciation. Rates are yearly percentages; money
// paid out and money received have opposite signs, so that
//   pv (1+i)^n + pmt (1 + i type) ((1+i)^n - 1) / i + fv = 0,   i = rate / (100 ppery)
// and pv + n pmt + fv = 0 at a rate of zero. type: 0 payments at the end of a
// period, 1 at its beginning. Invalid arguments set error -51 and give 0.

class CTVMCalc {
public:
    static double FVcalc(double dbRate, double dbNper, double dbPmt, double dbPv, double dbPpery,
                         signed char bType);
    static double PVcalc(double dbRate, double dbNper, double dbPmt, double dbFv, double dbPpery,
                         signed char bType);
    static double PMTcalc(double dbRate, double dbNper, double dbPv, double dbFv, double dbPpery,
                          signed char bType);
    static double NPERcalc(double dbRate, double dbPmt, double dbPv, double dbFv, double dbPpery,
                           signed char bType);
    // The yearly rate in percent that balances the equation above.
    static double YRATECalc(double dbNper, double dbPmt, double dbPv, double dbFv, double dbPpery,
                            signed char bType);

    // Straight-line depreciation per period.
    static double SLNcalc(double dbCost, double dbSalvage, double dbLife);
    // Sum-of-years'-digits depreciation of one period.
    static double SYDcalc(double dbCost, double dbSalvage, double dbLife, double dbPeriod);
    // Fixed-declining-balance depreciation of one period; dbMonth is the count
    // of months in the first year.
    static double DBcalc(double dbCost, double dbSalvage, double dbLife, double dbPeriod,
                         double dbMonth);

    // Arguments of the function that YRATECalc drives to zero.
    static double m_dbNPER;
    static double m_dbPMT;
    static double m_dbPV;
    static double m_dbFV;
    static double m_dbPPERY;
    static signed char m_bType;
};

// Balance of the equation above at a yearly rate in percent, with the
// arguments stored in CTVMCalc.
double fnTVM(double dbRate, void* pContext);
