// Time value of money, depreciation, net present value and internal rate.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "engine/ErrorCodes.h"
#include "numerics/CashFlow.h"
#include "numerics/TVMCalc.h"

namespace {

class FinancialTest : public ::testing::Test {
protected:
    void SetUp() override { ClearErrorCode(); }
};

struct MoneyCase {
    const char* lpszName;
    double dbValue;
    double dbExpected;
    int nError;
};

void Check(const MoneyCase& c)
{
    SCOPED_TRACE(c.lpszName);
    EXPECT_EQ(GetErrorCode(), c.nError);
    EXPECT_NEAR(c.dbValue, c.dbExpected, 1e-11 * std::fmax(1.0, std::fabs(c.dbExpected)));
    ClearErrorCode();
}

TEST_F(FinancialTest, TimeValueOfMoney)
{
    // i = 1 % per month over a year: t = 1.01^12
    const double t = std::pow(1.01, 12);
    const double dbPmt = -0.01 * 1000 * t / (t - 1);
    Check({"fv at rate 0", CTVMCalc::FVcalc(0, 10, -100, 0, 12, 0), 1000, 0});
    Check({"fv", CTVMCalc::FVcalc(12, 12, dbPmt, 1000, 12, 0), 0, 0});
    Check({"fv, payments in advance", CTVMCalc::FVcalc(6, 10, -100, 0, 1, 1),
           100 * (std::pow(1.06, 10) - 1) / 0.06 * 1.06, 0});
    Check({"fv no periods", CTVMCalc::FVcalc(5, 0, -100, 0, 12, 0), 0, ERR_FINANCIAL});
    Check({"pmt", CTVMCalc::PMTcalc(12, 12, 1000, 0, 12, 0), dbPmt, 0});
    Check({"pmt in advance", CTVMCalc::PMTcalc(12, 12, 1000, 0, 12, 1), dbPmt / 1.01, 0});
    Check({"pmt at rate 0", CTVMCalc::PMTcalc(0, 10, 1000, 0, 12, 0), -100, 0});
    Check({"pmt of nothing", CTVMCalc::PMTcalc(5, 10, 0, 0, 12, 0), 0, ERR_FINANCIAL});
    Check({"pv", CTVMCalc::PVcalc(12, 12, dbPmt, 0, 12, 0), 1000, 0});
    Check({"pv at -100 %", CTVMCalc::PVcalc(-1200, 10, 100, 0, 12, 0), 0, ERR_FINANCIAL});
    Check({"nper", CTVMCalc::NPERcalc(12, dbPmt, 1000, 0, 12, 0), 12, 0});
    Check({"nper at rate 0", CTVMCalc::NPERcalc(0, -100, 1000, 0, 12, 0), 10, 0});
    Check({"nper same signs, no payments", CTVMCalc::NPERcalc(12, 0, 1000, 1000, 12, 0), 0, ERR_FINANCIAL});
    Check({"nper never paid off", CTVMCalc::NPERcalc(12, -5, 1000, 0, 12, 0), 0, ERR_FINANCIAL});
    Check({"rate", CTVMCalc::YRATECalc(12, dbPmt, 1000, 0, 12, 0), 12, 0});
    Check({"rate balanced at 0", CTVMCalc::YRATECalc(10, -100, 1000, 0, 1, 0), 0, 0});
    Check({"rate that does not exist", CTVMCalc::YRATECalc(10, 100, 1000, 0, 1, 0), 0, ERR_ROOT_NOT_FOUND});
    Check({"negative rate", CTVMCalc::YRATECalc(10, 0, -1000, 900, 1, 0),
           (std::pow(0.9, 0.1) - 1) * 100, 0});
    // Many periods: (1 + i)^nper overflows at the top of the search, yet the
    // rate is found (values from mpmath findroot at 40 digits).
    Check({"rate over 2000 periods", CTVMCalc::YRATECalc(2000, -1, 1000, 0, 1, 0),
           0.079659484908021019629, 0});
    Check({"rate of a perpetuity", CTVMCalc::YRATECalc(2000, -500, 1000, 0, 1, 0), 50, 0});
    Check({"rate, few periods a year", CTVMCalc::YRATECalc(1000, -100, 1000, 0, 0.01, 0), 0.1, 0});
}

// The spreadsheets' answers. Every expected value was computed apart from
// this code, with Python's decimal module at 60 digits: the power as
// exp(n ln(1 + i)), rate and IRR by bisection of the balance equation, db by
// its year-by-year schedule (tests/numerics/financial_reference.py prints
// them).
TEST_F(FinancialTest, SpreadsheetAnswers)
{
    const double arrIrr[] = {12000, 15000, 18000, 21000};
    const double arrTwoRoots[] = {230, -132};
    const double arrTwoRootsHigher[] = {250, -156};
    const struct {
        const char* lpszName;
        std::function<double()> fnValue;
        double dbExpected;
        int nError;
    } arrCases[] = {
        // rate: ordinary loans, near zero, high and negative rates
        {"rate(4, -255, 1000, 0, 4)", [&] { return CTVMCalc::YRATECalc(4, -255, 1000, 0, 4, 0); }, 3.1873515415279239763, 0},
        {"rate(1, -1010, 1000, 0, 4)", [&] { return CTVMCalc::YRATECalc(1, -1010, 1000, 0, 4, 0); }, 4, 0},
        {"rate(365, -3, 1000, 0, 365)", [&] { return CTVMCalc::YRATECalc(365, -3, 1000, 0, 365, 0); }, 18.386641098312952275, 0},
        {"rate(12, -80, 1000, 0, 12)", [&] { return CTVMCalc::YRATECalc(12, -80, 1000, 0, 12, 0); }, -7.4701280901438885836, 0},
        {"rate(1, -3000, 1000, 0, 1)", [&] { return CTVMCalc::YRATECalc(1, -3000, 1000, 0, 1, 0); }, 200, 0},
        // IRR: negative and high rates; of two, the one nearest 10 %
        {"IRR(-70000, 12000, 15000, 18000, 21000)", [&] { return IRR(-70000, arrIrr, 4); }, -2.1244848273410991031, 0},
        {"IRR(-1000, 3000)", [&] { return IRR(-1000, (const double[]){3000}, 1); }, 200, 0},
        {"IRR(-100, 230, -132): 10 % and 20 %", [&] { return IRR(-100, arrTwoRoots, 2); }, 10, 0},
        {"IRR(-100, 250, -156): 20 % and 30 %", [&] { return IRR(-100, arrTwoRootsHigher, 2); }, 20, 0},
        // db: the last full year is a full year; months outside 1..12 and a
        // salvage above the cost are errors
        {"db(1000000, 100000, 6, 6)", [&] { return CTVMCalc::DBcalc(1000000, 100000, 6, 6, 12); }, 46722.518280620919, 0},
        {"db(10000, 500, 3, 3)", [&] { return CTVMCalc::DBcalc(10000, 500, 3, 3, 12); }, 855.87968, 0},
        {"db(1000, 100, 5, 1, 13)", [&] { return CTVMCalc::DBcalc(1000, 100, 5, 1, 13); }, 0, ERR_FINANCIAL},
        {"db(1000, 100, 5, 1, 0)", [&] { return CTVMCalc::DBcalc(1000, 100, 5, 1, 0); }, 0, ERR_FINANCIAL},
        {"db(1000, 1100, 5, 1)", [&] { return CTVMCalc::DBcalc(1000, 1100, 5, 1, 12); }, 0, ERR_FINANCIAL},
        // pv at negative rates above -100 %; nper of pv and fv of one sign
        {"pv(-5, 10, -100, 0, 1)", [&] { return CTVMCalc::PVcalc(-5, 10, -100, 0, 1, 0); }, 1340.3651402301861509, 0},
        {"pv(-1, 10, 100, 0, 12)", [&] { return CTVMCalc::PVcalc(-1, 10, 100, 0, 12, 0); }, -1004.5986525851745174, 0},
        {"nper(12, -100, 1000, 1000, 12)", [&] { return CTVMCalc::NPERcalc(12, -100, 1000, 1000, 12, 0); }, 20.167238499236402666, 0},
        // rates near zero keep their digits
        {"fv(12/10^8, 1000000, -1, 0, 12)", [&] { return CTVMCalc::FVcalc(12e-8, 1000000, -1, 0, 12, 0); }, 1000050.0016167033339, 0},
        {"fv(1e-11, 12, -100, 0, 12)", [&] { return CTVMCalc::FVcalc(1e-11, 12, -100, 0, 12, 0); }, 1200.000000000055, 0},
        {"pmt(1e-11, 12, 1000, 0, 12)", [&] { return CTVMCalc::PMTcalc(1e-11, 12, 1000, 0, 12, 0); }, -83.333333333337847222, 0},
        {"nper(10^(-10), -1, 1000, 0, 1)", [&] { return CTVMCalc::NPERcalc(1e-10, -1, 1000, 0, 1, 0); }, 1000.0000005005000003, 0},
    };
    for (const auto& c : arrCases)
        Check({c.lpszName, c.fnValue(), c.dbExpected, c.nError});
}

TEST_F(FinancialTest, ResultsBeyondTheDoubleRange)
{
    // a negative growth factor to a fractional count has no value
    Check({"fv, growth -1 to the 1.5", CTVMCalc::FVcalc(-2400, 1.5, 100, 100, 12, 0), 0, ERR_FINANCIAL});
    Check({"pmt at -100 %, in advance", CTVMCalc::PMTcalc(-1200, 12, 1000, 0, 12, 1), 0, ERR_FINANCIAL});
    // a period rate of -100 % or below counts no periods
    Check({"nper at -100 %", CTVMCalc::NPERcalc(-1200, -100, 1000, 0, 12, 0), 0, ERR_FINANCIAL});
    Check({"nper below -100 %", CTVMCalc::NPERcalc(-2400, -100, 1000, 0, 12, 0), 0, ERR_FINANCIAL});
    // overflowing amounts
    Check({"fv over a billion years", CTVMCalc::FVcalc(5, 1e9, 100, 100, 1, 0), 0, ERR_FINANCIAL});
    Check({"fv at rate 0, huge", CTVMCalc::FVcalc(0, 1e300, 1e300, 0, 1, 0), 0, ERR_FINANCIAL});
    Check({"sln of a vanishing life", CTVMCalc::SLNcalc(1000, 100, 1e-320), 0, ERR_FINANCIAL});
    // ...but the present value of endless payments is their perpetuity
    Check({"pv over a billion years", CTVMCalc::PVcalc(5, 1e9, 100, 100, 1, 0), -2000, 0});
    Check({"pv in advance, a billion years", CTVMCalc::PVcalc(5, 1e9, 100, 100, 1, 1), -2100, 0});
}

TEST_F(FinancialTest, Depreciation)
{
    Check({"sln", CTVMCalc::SLNcalc(1000, 100, 9), 100, 0});
    Check({"sln no life", CTVMCalc::SLNcalc(1000, 100, 0), 0, ERR_FINANCIAL});
    Check({"syd first", CTVMCalc::SYDcalc(1000, 100, 9, 1), 180, 0});
    Check({"syd last", CTVMCalc::SYDcalc(1000, 100, 9, 9), 20, 0});
    Check({"syd no life", CTVMCalc::SYDcalc(1000, 100, -1, 1), 0, ERR_FINANCIAL});
    // A machine of 1,000,000 worth 100,000 after 6 years, bought in the
    // 6th month (7 months in the first year): rate 1 - 0.1^(1/6) = 0.319.
    // Year by year as spreadsheets have it (186083.33, 259639.42, 176814.44,
    // 120410.64, 81999.64, 55841.76, 15845.10), here to the last digit.
    const double arrYears[] = {186083.33333333334, 259639.41666666666, 176814.44275000002,
                               120410.63551274998, 81999.64278418274, 55841.75673602846,
                               15845.098473848071};
    for (int nPeriod = 1; nPeriod <= 7; ++nPeriod) {
        Check({("db year " + std::to_string(nPeriod)).c_str(),
               CTVMCalc::DBcalc(1000000, 100000, 6, nPeriod, 7), arrYears[nPeriod - 1], 0});
    }
    Check({"db after the life", CTVMCalc::DBcalc(1000000, 100000, 6, 8, 7), 0, ERR_FINANCIAL});
    Check({"db no cost", CTVMCalc::DBcalc(0, 100, 6, 1, 12), 0, ERR_FINANCIAL});
    Check({"db endless", CTVMCalc::DBcalc(1000, 1, 1e9, 1e9, 12), 0, ERR_FINANCIAL});
}

TEST_F(FinancialTest, CashFlows)
{
    const double arrFlows[] = {300, 400, 500};
    Check({"pv", PV(1100, 0, 0.1, 1), 1000, 0});
    Check({"pv of a difference", PV(500, 200, 0.05, 2), 300 / 1.1025, 0});
    Check({"npv uniform", NPV(-1000, 300, 0, 0.1, 4), -49.040366095212075678, 0});
    Check({"npv list", NPV(-1000, arrFlows, 0.0, 3), 200, 0});
    Check({"irr one period", IRR(-1000, (const double[]){1100}, 1), 10, 0});
    Check({"irr", IRR(-1000, arrFlows, 3), 8.8963394693349935, 0});
    Check({"irr of flows of one sign", IRR(1000, (const double[]){3000}, 1), 0, ERR_ROOT_NOT_FOUND});
    EXPECT_EQ(g_tmpCashFlow, nullptr);
}

}  // namespace
