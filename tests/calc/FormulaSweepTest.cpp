// Sweeps through the calculation procedure against values computed here in
// double precision, one formula per kind of axis: degree mode, a domain gap,
// a logarithmic axis; then the number texts, ranges and CSV of a sweep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FormulaDetailMaker.h"
#include "calc/CalculationProcedure.h"
#include "calc/FormulaSweep.h"
#include "calc/SweepCsv.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The projectile's range over level ground; a unit of degrees on the angle.
const _tag_formula_detail kProjectile = MakeDetail({{"r", "\\text{m}", "v^2*sin(2*a)/g"},
                                                    {"v", "\\text{m/s}", "sqrt(r*g/sin(2*a))"},
                                                    {"a", "^o", "asin(r*g/v^2)/2"},
                                                    {"g", "\\text{m/s}^2", "v^2*sin(2*a)/r"}});
// Resonant frequency of an LC circuit.
const _tag_formula_detail kResonance = MakeDetail({{"f", "\\text{Hz}", "1/(2*pi*sqrt(l*c))"},
                                                   {"l", "\\text{H}", "1/((2*pi*f)^2*c)"},
                                                   {"c", "\\text{F}", "1/((2*pi*f)^2*l)"}});

// The procedure shows 13 significant digits of values of about dbScale
// (sin(180°) is 0 there, 1.2e-16 in double).
void ExpectClose(double dbGot, double dbWant, const std::string& strWhere, double dbScale = 0)
{
    EXPECT_NEAR(dbGot, dbWant, std::max(std::fabs(dbWant), dbScale) * 1e-12 + 1e-300) << strWhere;
}

// ---------------------------------------------------------------- three formulas

TEST(FormulaSweep, DegreeModeRangeOverLaunchAngle)
{
    FormulaSweep sweep(kProjectile, 0, 2, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 90, 91, false});
    sweep.CalculateAll();
    ASSERT_EQ(sweep.Points().size(), 91u);
    for (int i = 0; i <= 90; ++i) {
        const SWEEP_POINT& point = sweep.Points()[static_cast<size_t>(i)];
        EXPECT_EQ(point.dbX, i);
        ASSERT_TRUE(point.bValid) << i << ": " << point.strMessage;
        ExpectClose(point.dbY, 400 * std::sin(2 * i * kPi / 180) / 9.80665, "angle " + std::to_string(i), 40);
    }
    EXPECT_EQ(sweep.Points()[45].strY, "40.78864851912");
}

TEST(FormulaSweep, DomainGapsCarryTheMessageAndNoValue)
{
    // The angle that gives a range: none beyond v^2/g = 40.79 m.
    FormulaSweep sweep(kProjectile, 2, 0, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 60, 61, false});
    sweep.CalculateAll();
    ASSERT_EQ(sweep.Points().size(), 61u);
    for (const SWEEP_POINT& point : sweep.Points()) {
        const double dbSine = point.dbX * 9.80665 / 400;
        if (dbSine > 1) {
            EXPECT_FALSE(point.bValid) << point.dbX;
            EXPECT_EQ(point.strMessage, CALC_MSG_INVALID_PARAMS) << point.dbX;
            EXPECT_TRUE(point.strY.empty());
        } else {
            ASSERT_TRUE(point.bValid) << point.dbX << ": " << point.strMessage;
            ExpectClose(point.dbY, std::asin(dbSine) * 90 / kPi, "range " + std::to_string(point.dbX));
        }
    }
    // An engine error is a gap as well, with the engine's message.
    const SWEEP_POINT pole = CalculateSweepPoint(kResonance, 0, 2, {"", "0.001", ""}, "0");
    EXPECT_FALSE(pole.bValid);
    EXPECT_FALSE(pole.strMessage.empty());
}

TEST(FormulaSweep, LogarithmicAxisOverSixDecades)
{
    FormulaSweep sweep(kResonance, 0, 2, {"", "0.001", ""}, SWEEP_RANGE{1e-12, 1e-6, 13, true});
    sweep.CalculateAll();
    ASSERT_EQ(sweep.Points().size(), 13u);
    for (int i = 0; i < 13; ++i) {
        const SWEEP_POINT& point = sweep.Points()[static_cast<size_t>(i)];
        ExpectClose(point.dbX, std::pow(10.0, -12 + i * 0.5), "point " + std::to_string(i));
        ASSERT_TRUE(point.bValid) << point.strMessage;
        ExpectClose(point.dbY, 1 / (2 * kPi * std::sqrt(0.001 * point.dbX)), "point " + std::to_string(i));
    }
    EXPECT_EQ(sweep.Points()[0].dbX, 1e-12);
    EXPECT_EQ(sweep.Points()[12].dbX, 1e-6);
}

TEST(FormulaSweep, SlicesGiveTheSamePointsAsOneRun)
{
    FormulaSweep whole(kProjectile, 0, 2, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 90, 50, false});
    whole.CalculateAll();
    FormulaSweep sliced(kProjectile, 0, 2, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 90, 50, false});
    int nSlices = 1;
    while (!sliced.CalculateFor(std::chrono::microseconds(0)))
        ++nSlices;
    EXPECT_EQ(nSlices, 50);  // a spent budget still calculates one point
    for (size_t i = 0; i < 50; ++i)
        EXPECT_EQ(sliced.Points()[i].strY, whole.Points()[i].strY);
}

// ---------------------------------------------------------------- what may be swept

TEST(FormulaSweep, InputsAreCheckedAsTheCalculateKeyChecksThem)
{
    int nRow = -1;
    EXPECT_EQ(CheckSweepInputs(kProjectile, 0, 2, {"", "20", "", "9.80665"}, &nRow), "");
    EXPECT_EQ(CheckSweepInputs(kProjectile, 0, 2, {"", "20", "", ""}, &nRow), CALC_MSG_FILL_IN);
    EXPECT_EQ(nRow, 3);
    EXPECT_EQ(CheckSweepInputs(kProjectile, 2, 2, {"", "20", "", "9.80665"}), SWEEP_MSG_SAME_PARAMETER);

    const _tag_formula_detail fixed = MakeDetail(
        {{"y", "", "a*b*c"}, {"a", "", "y/b/c"}, {"b", "", "", "0"}, {"c", "", "y/a/b", "9.81"}});
    EXPECT_EQ(SweepableParameters(fixed, 0), std::vector<int>({1}));  // b has no expression, c is fixed
}

struct RangeCase {
    SWEEP_RANGE range;
    const char* pszMessage;
};

TEST(FormulaSweep, RangesThatCannotBeSwept)
{
    const RangeCase kCases[] = {
        {{0, 90, 91, false}, ""},
        {{90, 0, 2, false}, ""},                      // downwards
        {{1, 1, 10, false}, SWEEP_MSG_EMPTY_RANGE},
        {{0, INFINITY, 10, false}, SWEEP_MSG_EMPTY_RANGE},
        {{0, 1, 1, false}, SWEEP_MSG_POINT_COUNT},
        {{0, 1, 100001, false}, SWEEP_MSG_POINT_COUNT},
        {{0, 10, 10, true}, SWEEP_MSG_LOG_RANGE},     // zero has no logarithm
        {{-10, -1, 10, true}, SWEEP_MSG_LOG_RANGE},
        {{0.1, 10, 10, true}, ""},
    };
    for (const RangeCase& c : kCases)
        EXPECT_EQ(CheckSweepRange(c.range), c.pszMessage) << c.range.dbFrom << ".." << c.range.dbTo;
}

struct DefaultCase {
    const char* pszTyped;
    bool bDegrees;
    double dbFrom;
    double dbTo;
};

TEST(FormulaSweep, DefaultRangeAroundTheTypedValue)
{
    const DefaultCase kCases[] = {
        {"30", true, 3, 300},
        {"0.3", false, 0.03, 3},       // rounded to 15 digits, not 0.030000000000000002
        {"-2", false, -20, -0.2},      // smaller end first
        {"1.5*10^(12)", false, 1.5e11, 1.5e13},
        {"", true, 0, 90},
        {"0", false, 0, 10},
        {"2*pi", false, 0, 10},        // an expression is not a value to start from
    };
    for (const DefaultCase& c : kCases) {
        const SWEEP_RANGE range = DefaultSweepRange(c.pszTyped, c.bDegrees);
        EXPECT_EQ(range.dbFrom, c.dbFrom) << c.pszTyped;
        EXPECT_EQ(range.dbTo, c.dbTo) << c.pszTyped;
        EXPECT_EQ(range.nPoints, SWEEP_DEFAULT_POINTS);
    }
}

// ---------------------------------------------------------------- number texts

struct TextCase {
    const char* pszText;
    const char* pszNumber;  // ResultNumberText
    bool bNumber;           // ParseResultNumber
    double dbValue;
};

TEST(FormulaSweep, ResultTextsAsPlainNumbers)
{
    const TextCase kCases[] = {
        {"40.78864851912", "40.78864851912", true, 40.78864851912},
        {" 1.500000000000*10^(15)", "1.5e15", true, 1.5e15},
        {"-5.000000000000*10^(-13)", "-5e-13", true, -5e-13},
        {"1e-07", "1e-07", true, 1e-7},
        {"1.000000000000*10^(4000)", "1e4000", true, INFINITY},  // beyond double: no chart, still a value
        {"2*pi", "2*pi", false, 0},
        {"1.2.3", "1.2.3", false, 0},
        {"", "", false, 0},
    };
    for (const TextCase& c : kCases) {
        EXPECT_EQ(ResultNumberText(c.pszText), c.pszNumber) << c.pszText;
        double dbValue = 0;
        EXPECT_EQ(ParseResultNumber(c.pszText, dbValue), c.bNumber) << c.pszText;
        if (c.bNumber) {
            EXPECT_EQ(dbValue, c.dbValue) << c.pszText;
        }
    }
}

TEST(FormulaSweep, PointValuesAsEngineText)
{
    // The engine reads no signed exponent after an E.
    EXPECT_EQ(SweepValueText(45), "45");
    EXPECT_EQ(SweepValueText(-0.25), "-0.25");
    EXPECT_EQ(SweepValueText(1e-7), "1*10^(-7)");
    EXPECT_EQ(SweepValueText(2.5e20), "2.5*10^(20)");
    EXPECT_EQ(SweepNumberText(-0.0), "0");
    // -1 .. 1 in 21 points passes zero exactly.
    EXPECT_EQ(SweepPointValue(SWEEP_RANGE{-1, 1, 21, false}, 10), 0.0);
    EXPECT_EQ(SweepPointValue(SWEEP_RANGE{0, 1, 11, false}, 3), 0.3);
}

// ---------------------------------------------------------------- CSV

TEST(SweepCsv, WritesPointsAndGapsAndReadsThemBack)
{
    std::vector<SWEEP_POINT> vecPoints(3);
    vecPoints[0].dbX = 0.5;
    vecPoints[0].bValid = true;
    vecPoints[0].strY = "1.5e15";
    ParseResultNumber(vecPoints[0].strY, vecPoints[0].dbY);
    vecPoints[1].dbX = 1e-7;
    vecPoints[1].strMessage = "Invalid parameter(s)!";
    vecPoints[2].dbX = 2;
    vecPoints[2].strMessage = "a \"quoted\", message";
    const std::string strCsv = SweepCsvText(vecPoints, "a", "r");
    EXPECT_EQ(strCsv, "a,r\n0.5,1.5e15\n1e-07,,Invalid parameter(s)!\n2,,\"a \"\"quoted\"\", message\"\n");

    std::vector<SWEEP_POINT> vecRead;
    std::string strX;
    std::string strY;
    ASSERT_TRUE(ReadSweepCsv(strCsv, vecRead, strX, strY));
    EXPECT_EQ(strX + strY, "ar");
    ASSERT_EQ(vecRead.size(), 3u);
    EXPECT_EQ(vecRead[0].dbY, 1.5e15);
    EXPECT_FALSE(vecRead[1].bValid);
    EXPECT_EQ(vecRead[2].strMessage, vecPoints[2].strMessage);

    int nBadLine = 0;
    EXPECT_FALSE(ReadSweepCsv("a,r\r\n1,2\r\nx,3\r\n", vecRead, strX, strY, &nBadLine));
    EXPECT_EQ(nBadLine, 3);
    EXPECT_FALSE(ReadSweepCsv("", vecRead, strX, strY));
}

}  // namespace
