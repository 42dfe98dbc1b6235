// Edge cases of the arithmetic, the whole parts, the conversions and the
// error report: one row per case, grouped by what they catch.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "QTestUtil.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

using QBinary = int (*)(const unsigned short*, const unsigned short*, unsigned short*);

// ---- Operand order and aliasing ----

enum Alias { kFresh, kIntoA, kIntoB };

struct OrderRow {
    const char* pName;
    QBinary pOp;
    const char* pA;
    const char* pB;
    Alias eAlias;
    const char* pExpect;  // exponent form, 12 digits
};

TEST(Qflt, OperandOrderAndAliasing)
{
    const OrderRow rows[] = {
        // qsub(a, b, c) is b - a; qdiv(a, b, c) is b / a
        {"qsub", qsub, "3", "10", kFresh, " 7.000000000000E0"},
        {"qsub", qsub, "3", "10", kIntoA, " 7.000000000000E0"},
        {"qsub", qsub, "3", "10", kIntoB, " 7.000000000000E0"},
        {"qdiv", qdiv, "4", "10", kFresh, " 2.500000000000E0"},
        {"qdiv", qdiv, "4", "10", kIntoA, " 2.500000000000E0"},
        {"qdiv", qdiv, "4", "10", kIntoB, " 2.500000000000E0"},
        {"qadd", qadd, "-3", "10", kIntoA, " 7.000000000000E0"},
        {"qmul", qmul, "-3", "10", kIntoB, "-3.000000000000E1"},
        {"qmuli", qmuli, "10", "1.5", kIntoB, " 1.500000000000E1"},
    };
    for (const OrderRow& r : rows) {
        QValue a = Q(r.pA), b = Q(r.pB), c{};
        unsigned short* pDest = r.eAlias == kIntoA ? a.data() : r.eAlias == kIntoB ? b.data() : c.data();
        r.pOp(a.data(), b.data(), pDest);
        EXPECT_EQ(Ex(pDest, 12), r.pExpect) << r.pName << "(" << r.pA << ", " << r.pB << ") alias " << r.eAlias;
    }
}

// ---- Exact results, signs of zero, comparison ----

TEST(Qflt, OnePlusOneIsExactlyTwo)
{
    QValue c{};
    qadd(qone, qone, c.data());
    EXPECT_TRUE(SameWords(c.data(), qtwo));
    EXPECT_EQ(c[1], 0x4101);
}

TEST(Qflt, DifferenceOfEqualNumbersIsPlusZero)
{
    for (const char* p : {"1", "-1", "3.25e-4000", "-7e4000"}) {
        QValue x = Q(p), c{};
        qsub(x.data(), x.data(), c.data());
        EXPECT_TRUE(SameWords(c.data(), qzero)) << p;
        QValue m = x;
        qneg(m.data());
        qadd(m.data(), x.data(), c.data());
        EXPECT_TRUE(SameWords(c.data(), qzero)) << p;
    }
}

TEST(Qflt, Compare)
{
    QValue nz = Q("0");
    qneg(nz.data());  // -0
    struct Row {
        QValue a, b;
        int nExpect;
    } rows[] = {
        {Q("0"), nz, 0},
        {nz, Q("0"), 0},
        {Q("1"), Q("2"), -1},
        {Q("-1"), Q("-2"), 1},
        {Q("-1"), Q("1"), -1},
        {Q("1e-4990"), Q("2e-4990"), -1},  // both tiny: decided by the difference
        {Q("-1e-4990"), nz, -1},
        {Q("1e4000"), Q("1e-4000"), 1},
        {Q("0"), Q("-1e-4000"), 1},
        {Q("3"), Q("3"), 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(qcmp(r.a.data(), r.b.data()), r.nExpect) << Ex(r.a.data()) << " vs " << Ex(r.b.data());
}

// ---- Rounding at exact halfway points ----

// A number 1 + k 2^-335 (k in ulps of 1) scaled by 2^e.
QValue OnePlusUlps(unsigned k, int e = 0)
{
    QValue v{};
    qmov(qone, v.data());
    v[23] = (unsigned short)k;
    v[1] = (unsigned short)(QEXPBIAS + e);
    return v;
}

TEST(Qflt, HalfwayCases)
{
    // Sums of equal signs round half up (in magnitude); a true difference
    // truncates; products round half up on the exact bits.
    const struct {
        const char* pWhat;
        QBinary pOp;
        QValue a, b, expect;
    } rows[] = {
        {"1 + half an ulp rounds up", qadd, OnePlusUlps(0, -336), OnePlusUlps(0), OnePlusUlps(1)},
        {"-1 - half an ulp rounds up in magnitude", qsub, OnePlusUlps(0, -336),
         [] { QValue v = OnePlusUlps(0); qneg(v.data()); return v; }(),
         [] { QValue v = OnePlusUlps(1); qneg(v.data()); return v; }()},
        {"1 + 1.5 ulps of 2^-337 rounds on the top bit only", qadd, OnePlusUlps(0x8000, -337), OnePlusUlps(0),
         OnePlusUlps(0)},
        {"1 - a quarter ulp truncates to the number below 1", qsub, OnePlusUlps(0, -337), OnePlusUlps(0),
         [] {
             QValue v{};
             v[1] = QEXPBIAS - 1;
             for (int i = 3; i < NQ; ++i)
                 v[i] = 0xFFFF;
             return v;
         }()},
        // (1 + 2^-335) * 1.5 = 1.5 + 2^-335 + 2^-336: a tie, rounded up
        {"product tie", qmul, OnePlusUlps(1), Q("1.5"), [] { QValue v = Q("1.5"); v[23] = 2; return v; }()},
        // (An exact quotient of two 336-bit numbers never lies halfway: its
        // odd part would need 337 bits.)
    };
    for (const auto& r : rows) {
        QValue c{};
        r.pOp(r.a.data(), r.b.data(), c.data());
        EXPECT_TRUE(SameWords(c.data(), r.expect.data())) << r.pWhat << ": " << Ex(c.data(), 102);
    }
}

// ---- Substitute results and reports ----

struct FailRow {
    const char* pWhat;
    std::function<void(unsigned short*)> fnCall;
    int nError;
    const char* pPrinted;
    QValue expect;
};

TEST(Qflt, SubstitutesAndReports)
{
    const QValue big = Q("1e4000"), huge = Huge(false), minusHuge = Huge(true);
    // 1.5 2^8320 squared is 2.25 2^16640: the exponent sum is still in range
    // and only the normalising shift carries it past the top.
    QValue r = Q("1.5");
    r[1] = QEXPBIAS + 8320;
    const FailRow rows[] = {
        {"1 / 0", [](unsigned short* c) { qdiv(qzero, qone, c); }, 2, "\nqdiv singularity error\n", huge},
        {"-1 / 0", [](unsigned short* c) { QValue m = Q("-1"); qdiv(qzero, m.data(), c); }, 2,
         "\nqdiv singularity error\n", minusHuge},
        {"0 / 0", [](unsigned short* c) { qdiv(qzero, qzero, c); }, 0, "", QValue{}},
        {"1e4000 * 1e4000", [&](unsigned short* c) { qmul(big.data(), big.data(), c); }, 3,
         "\nqmul overflow error\n", huge},
        {"-1e4000 * 1e4000",
         [&](unsigned short* c) { QValue m = big; qneg(m.data()); qmul(m.data(), big.data(), c); }, 3,
         "\nqmul overflow error\n", minusHuge},
        {"overflow in the normalising shift", [&](unsigned short* c) { qmul(r.data(), r.data(), c); }, 3,
         "\nmdnorm overflow error\n", huge},
        {"huge + huge", [&](unsigned short* c) { qadd(huge.data(), huge.data(), c); }, 3,
         "\nqadd overflow error\n", huge},
        {"1e4000 / 1e-4000", [&](unsigned short* c) { QValue t = Q("1e-4000"); qdiv(t.data(), big.data(), c); },
         3, "\nqdiv overflow error\n", huge},
        {"1e-4000 * 1e-4000 underflows silently",
         [](unsigned short* c) { QValue t = Q("1e-4000"); qmul(t.data(), t.data(), c); }, 0, "", QValue{}},
        {"1e-4000 / 1e4000 underflows silently",
         [&](unsigned short* c) { QValue t = Q("1e-4000"); qdiv(big.data(), t.data(), c); }, 0, "", QValue{}},
    };
    for (const FailRow& row : rows) {
        QValue c{};
        c[0] = 0x1234;  // whatever the destination held before
        Outcome o = Capture([&] { row.fnCall(c.data()); });
        EXPECT_EQ(o.nError, row.nError) << row.pWhat;
        EXPECT_EQ(o.strPrinted, row.pPrinted) << row.pWhat;
        EXPECT_TRUE(SameWords(c.data(), row.expect.data())) << row.pWhat << ": " << Ex(c.data());
    }
}

// ---- Whole and fractional parts ----

TEST(Qflt, Floor)
{
    const struct {
        const char* pX;
        const char* pFloor;
    } rows[] = {
        {"-2.5", "-3"}, {"-0.5", "-1"}, {"0.5", "0"},   {"3", "3"},          {"0", "0"},
        {"-3", "-3"},   {"2.75", "2"},  {"-1e-4000", "-1"}, {"1e200", "1e200"}, {"-123456789.000001", "-123456790"},
    };
    for (const auto& r : rows) {
        QValue x = Q(r.pX), f{}, want = Q(r.pFloor);
        qfloor(x.data(), f.data());
        EXPECT_EQ(qcmp(f.data(), want.data()), 0) << r.pX << " -> " << Ex(f.data());
        qfloor(x.data(), x.data());  // in place
        EXPECT_EQ(qcmp(x.data(), want.data()), 0) << r.pX;
    }
    QValue nz = Q("0"), f{};
    qneg(nz.data());
    qfloor(nz.data(), f.data());
    EXPECT_EQ(f[0], 0) << "floor(-0) is +0";
}

TEST(Qflt, IntegerAndFraction)
{
    const struct {
        const char* pX;
        long nInt;
        const char* pFrac;
    } rows[] = {
        {"-7.25", -7, "0.25"},       {"7.25", 7, "0.25"},         {"0.75", 0, "0.75"},
        {"-0.75", 0, "-0.75"},       {"1099511627776", 2147483647L, "0"},  // 2^40 saturates
        {"-1099511627776.5", -2147483647L, "0.5"},                {"2147483647.5", 2147483647L, "0.5"},
        {"5", 5, "0"},               {"0", 0, "0"},
    };
    for (const auto& r : rows) {
        QValue x = Q(r.pX), f{}, want = Q(r.pFrac);
        long n = 12345;
        qifrac(x.data(), &n, f.data());
        EXPECT_EQ(n, r.nInt) << r.pX;
        EXPECT_EQ(qcmp(f.data(), want.data()), 0) << r.pX << " -> " << Ex(f.data());
        if (want[1] == 0) {
            EXPECT_EQ(f[1], 0) << r.pX;
        }
    }
}

// ---- long and double ----

TEST(Qflt, LongAndDoubleConversions)
{
    // ltoq is exact for every long, the extremes included.
    for (long n : {0L, 1L, -1L, 2147483647L, -2147483647L - 1, 9223372036854775807L, -9223372036854775807L - 1}) {
        QValue x{};
        ltoq(&n, x.data());
        double d;
        qtoe(x.data(), &d);
        EXPECT_EQ(d, double(n)) << n;
    }
    // The smallest subnormal double survives the round trip.
    const double dTiny = std::ldexp(1.0, -1074);
    QValue x{};
    etoq(&dTiny, x.data());
    double d = 0;
    qtoe(x.data(), &d);
    EXPECT_EQ(d, dTiny);
    // Just under half the smallest subnormal gives zero with its sign; just
    // over half gives the smallest subnormal.
    for (const char* p : {"-2.4703282292062327e-324", "2.4703282292062328e-324"}) {
        QValue t = Q(p);
        qtoe(t.data(), &d);
        EXPECT_EQ(std::fabs(d), p[0] == '-' ? 0.0 : dTiny) << p;
        EXPECT_EQ(std::signbit(d), p[0] == '-') << p;
    }
    // Beyond the double range: a report and the largest double, signed.
    for (const char* p : {"1e400", "-1e400"}) {
        QValue t = Q(p);
        Outcome o = Capture([&] { qtoe(t.data(), &d); });
        EXPECT_EQ(o.nError, 3) << p;
        EXPECT_EQ(o.strPrinted, "\nqtoe overflow error\n") << p;
        EXPECT_EQ(d, p[0] == '-' ? -DBL_MAX : DBL_MAX) << p;
    }
    // Non-finite doubles do not become garbage: an infinity is the largest
    // magnitude, a NaN zero, each reported.
    const double dInf = -HUGE_VAL, dNan = std::nan("");
    Outcome o = Capture([&] { etoq(&dInf, x.data()); });
    EXPECT_EQ(o.nError, 3);
    EXPECT_TRUE(SameWords(x.data(), Huge(true).data()));
    o = Capture([&] { etoq(&dNan, x.data()); });
    EXPECT_EQ(o.nError, 1);
    EXPECT_EQ(x[1], 0);
}

// ---- Decimal text to qreal ----

struct AscRow {
    const char* pText;
    const char* pExpect;  // exponent form, 20 digits
    int nError;
    const char* pPrinted;
};

TEST(Qflt, Asctoq)
{
    const std::string strTiny = "0." + std::string(150, '0') + "1";
    const std::string strLong = "1" + std::string(150, '0');
    const std::string strLongFrac = "0." + std::string(120, '3') + "9999";
    const AscRow rows[] = {
        // syntax
        {"  -1.5e3", "-1.50000000000000000000E3", 0, ""},
        {"+2.5", " 2.50000000000000000000E0", 0, ""},
        {"2.5-", "-2.50000000000000000000E0", 0, ""},  // the sign may stand anywhere before E
        {".5", " 5.00000000000000000000E-1", 0, ""},
        {"5.", " 5.00000000000000000000E0", 0, ""},
        {"1 000", " 1.00000000000000000000E3", 0, ""},
        {"12\n34", " 1.20000000000000000000E1", 0, ""},
        {"1e+3", " 1.00000000000000000000E3", 0, ""},
        {"1E-3x", " 1.00000000000000000000E-3", 0, ""},  // after the exponent digits anything goes
        {"", " 0.00000000000000000000E0", 0, ""},
        {"1.2.3", " 0.00000000000000000000E0", 0, "\nasctoq conversion error\n"},
        {"+-1", " 0.00000000000000000000E0", 0, "\nasctoq conversion error\n"},
        {"1x", " 0.00000000000000000000E0", 0, "\nasctoq conversion error\n"},
        // range
        {"0e99999", " 0.00000000000000000000E0", 0, ""},
        {"1e9000", nullptr, 3, "\nasctoq overflow error\n"},
        {"1e-9000", " 0.00000000000000000000E0", 0, ""},
        {"1e99999999", nullptr, 3, "\nasctoq overflow error\n"},
        {"1e-99999999", " 0.00000000000000000000E0", 0, ""},
        {"1e5009", " 1.00000000000000000000E5009", 0, ""},
        {"1e-5000", " 1.00000000000000000000E-5000", 0, ""},
        // 10^5010 itself is out of range, but 1234e-5010 is not.
        {"123456789e-5010", " 1.23456789000000000000E-5002", 0, ""},
        // Leading zeros after the point do not use up the 99 digits, and
        // integer digits past the 99th still count.
        {strTiny.c_str(), " 1.00000000000000000000E-151", 0, ""},
        {strLong.c_str(), " 1.00000000000000000000E150", 0, ""},
        {strLongFrac.c_str(), " 3.33333333333333333333E-1", 0, ""},
    };
    for (const AscRow& r : rows) {
        QValue x{};
        Outcome o = Capture([&] { asctoq(r.pText, x.data()); });
        EXPECT_EQ(o.nError, r.nError) << r.pText;
        EXPECT_EQ(o.strPrinted, r.pPrinted) << r.pText;
        if (r.pExpect)
            EXPECT_EQ(Ex(x.data(), 20), r.pExpect) << r.pText;
        else
            EXPECT_TRUE(SameWords(x.data(), Huge(false).data())) << r.pText;
    }
}

// ---- qreal to decimal text ----

struct PrintRow {
    const char* pValue;  // read by asctoq
    int n;
    const char* pExponentForm;
    const char* pPositional;
};

TEST(Qflt, PrintingRoundsHalfToEven)
{
    const PrintRow rows[] = {
        {"9.9999", 2, " 1.00E1", " 10"},
        {"-0.5", 3, "-5.000E-1", "-0.5"},
        {"0.125", 1, " 1.2E-1", " 0.12"},   // a tie, 2 is even
        {"0.375", 1, " 3.8E-1", " 0.38"},   // a tie, 7 is odd
        {"2.5", 0, " 2.E0", " 2"},
        {"3.5", 0, " 4.E0", " 4"},
        {"1614.375", 5, " 1.61438E3", " 1614.38"},  // a tie above 10, where the scaling is inexact
        {"-0.0009765625", 1, "-9.8E-4", "-0.00098"},  // 2^-10
        {"1234.5", 12, " 1.234500000000E3", " 1234.5"},
        {"0.00125", 12, " 1.250000000000E-3", " 0.00125"},
        {"100", 12, " 1.000000000000E2", " 100"},
        {"0", 12, " 0.000000000000E0", " 0"},
        {"1e12", 12, " 1.000000000000E12", " 1000000000000"},
        {"1e20", 3, " 1.000E20", " 100000000000000000000"},  // beyond n: zeros to the point
        {"99999.5", 4, " 1.0000E5", " 100000"},
    };
    for (const PrintRow& r : rows) {
        QValue x = Q(r.pValue);
        char sz[QASCLEN];
        qtoascex(x.data(), sz, r.n);
        EXPECT_STREQ(sz, r.pExponentForm) << r.pValue << " n=" << r.n;
        qtoasc(x.data(), sz, r.n);
        EXPECT_STREQ(sz, r.pPositional) << r.pValue << " n=" << r.n;
    }
    // 1/3 with n = 12: thirteen 3s.
    QValue three = Q("3"), third{};
    qdiv(three.data(), qone, third.data());
    char sz[QASCLEN];
    qtoasc(third.data(), sz, 12);
    EXPECT_STREQ(sz, " 0.3333333333333");
}

TEST(Qflt, PrintingStaysInsideItsBuffer)
{
    // n is clamped to 0..99, and a positional text too long for the buffer
    // comes out in exponent form instead.
    char sz[QASCLEN + 8];
    const struct {
        const char* pValue;
        int n;
        const char* pExpectStart;
    } rows[] = {
        {"1e-200", 12, " 1.000000000000E-200"}, {"1e200", 12, " 1.000000000000E200"},
        {"1e-30", 99, " 1.000000000000"},        {"-1e-5000", 150, "-1.00000000000"},
        {"7", -5, " 7"},
    };
    for (const auto& r : rows) {
        std::memset(sz, 'X', sizeof sz);
        QValue x = Q(r.pValue);
        qtoasc(x.data(), sz, r.n);
        EXPECT_LT(std::strlen(sz), size_t(QASCLEN)) << r.pValue;
        EXPECT_EQ(std::string(sz).substr(0, std::strlen(r.pExpectStart)), r.pExpectStart) << r.pValue;
        qtoascex(x.data(), sz, r.n);
        EXPECT_LT(std::strlen(sz), size_t(QASCLEN)) << r.pValue;
    }
}

// ---- Arrays that never held a number ----

TEST(Qflt, UnnormalisedOperandsActAsTheirValue)
{
    // A nonzero exponent over a mantissa without its leading bit is not a
    // stored number, but a caller's uninitialised array can look like one.
    // The arithmetic takes it at its value (the mantissa read as it
    // stands); above all nothing divides by an unnormalised mantissa, which
    // could trap.
    QValue odd{}, norm = Q("0.75");  // 0.75 with the mantissa shifted down one place
    odd[1] = norm[1] + 1;
    odd[3] = 0x6000;
    odd[2] = 0x0001;  // and a guard word that should be 0
    const QValue other = Q("1.25"), small{{0, QEXPBIAS, 0, 0x0001}};  // 2^-15
    using Op = std::function<void(const unsigned short*, unsigned short*)>;
    const struct {
        const char* pName;
        Op fn;
    } rows[] = {
        {"qadd", [&](const unsigned short* x, unsigned short* y) { qadd(x, other.data(), y); }},
        {"qsub", [&](const unsigned short* x, unsigned short* y) { qsub(other.data(), x, y); }},
        {"qmul", [&](const unsigned short* x, unsigned short* y) { qmul(x, other.data(), y); }},
        {"qdiv by it", [&](const unsigned short* x, unsigned short* y) { qdiv(x, other.data(), y); }},
        {"qdiv of it", [&](const unsigned short* x, unsigned short* y) { qdiv(other.data(), x, y); }},
    };
    for (const auto& r : rows) {
        QValue y1{}, y2{};
        r.fn(odd.data(), y1.data());
        r.fn(norm.data(), y2.data());
        EXPECT_TRUE(SameWords(y1.data(), y2.data())) << r.pName << ": " << Ex(y1.data()) << " vs " << Ex(y2.data());
    }
    // 2^-15 written as a bare low bit at exponent 0: a divisor of one limb.
    QValue y{}, want = Q("40960");  // 1.25 / 2^-15
    qdiv(small.data(), other.data(), y.data());
    EXPECT_EQ(qcmp(y.data(), want.data()), 0) << Ex(y.data());
}

// ---- The error report ----

TEST(Qflt, ErrorReport)
{
    const struct {
        int nCode;
        const char* pPrinted;
    } rows[] = {
        {1, "\nqlog domain error\n"},       {2, "\nqlog singularity error\n"},
        {3, "\nqlog overflow error\n"},     {4, "\nqlog underflow error\n"},
        {5, "\nqlog total loss of precision error\n"},
        {6, "\nqlog partial loss of precision error\n"},
        {9, "\nqlog unknown error\n"},
    };
    for (const auto& r : rows) {
        Outcome o = Capture([&] { mtherr("qlog", r.nCode); });
        EXPECT_EQ(o.strPrinted, r.pPrinted);
        EXPECT_EQ(o.nError, r.nCode);
        EXPECT_EQ(iserror(), 1);
    }
    Clearmerror();
    EXPECT_EQ(merror, 0);
    EXPECT_EQ(iserror(), 0);
}

}  // namespace
