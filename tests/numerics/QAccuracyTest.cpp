// Accuracy of the real routines against GNU MPFR.
//
// Each routine runs on thousands of random arguments (full random mantissas,
// exponents spread over the range that matters for it) plus hard cases, and
// its result is compared with MPFR's value of the same exact argument,
// computed with 400 bits. The error is counted in units in the last place of
// a 336-bit result; the worst one is printed and held to the routine's bound.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "QMpfr.h"
#include "QRandom.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

using QUnary = int (*)(const unsigned short*, unsigned short*);
using MUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using QBinary = int (*)(const unsigned short*, const unsigned short*, unsigned short*);

// A band of random arguments: |x| in [2^nLo, 2^(nHi+1)) with the exponent
// uniform (nSign as in QRandom), or, for a linear band, x uniform in
// [dLo, dHi).
struct Band {
    int nLo, nHi, nSign, nCount;
    double dLo = 0.0, dHi = 0.0;
};

Band Linear(double dLo, double dHi, int nCount)
{
    return Band{0, 0, 0, nCount, dLo, dHi};
}

// Calls fn with x set to each random argument of the bands in turn.
template <typename F>
void ForEachInBands(const std::vector<Band>& vecBands, QRandom& rnd, unsigned short* x, F fn)
{
    for (const Band& b : vecBands) {
        for (int i = 0; i < b.nCount; ++i) {
            if (b.dLo < b.dHi)
                rnd.Uniform(x, b.dLo, b.dHi);
            else
                rnd.Real(x, b.nLo, b.nHi, b.nSign);
            fn();
        }
    }
}

// Arguments of one routine: random bands plus fixed hard cases.
struct UnaryRow {
    const char* pName;
    QUnary pQ;
    MUnary pM;
    double dBound;
    std::vector<Band> vecBands;
    std::vector<std::string> vecHard;  // decimal texts read by MPFR, rounded to 336 bits
    // sin and cos: for |x| >= 1 the error is counted in ulps of
    // max(|f(x)|, 1/16). Near their zeros k pi/2 the result can be no better
    // than k times the error of the 336-bit pi, an absolute error, which this
    // keeps from counting as millions of ulps of a tiny result.
    bool bFloorNearZeros = false;
};

void CheckUnary(const UnaryRow& row, Worst& worst)
{
    QRandom rnd;
    Mpfr mx(kQBits), mref;
    qreal x, y;
    auto One = [&]() {
        qtest::QToMpfr(x, mx);
        row.pM(mref, mx, MPFR_RNDN);
        Clearmerror();
        row.pQ(x, y);
        EXPECT_EQ(merror, 0) << row.pName << " reported an error at " << Text(x);
        if (row.bFloorNearZeros && x[1] >= QEXPBIAS) {
            Mpfr scale(64);
            mpfr_abs(scale, mref, MPFR_RNDN);
            if (mpfr_cmp_d(scale, 0.0625) < 0)
                mpfr_set_d(scale, 0.0625, MPFR_RNDN);
            worst.Note(ScaledError(y, mref, scale), Text(x));
        } else {
            worst.Note(UlpError(y, mref), Text(x));
        }
    };
    ForEachInBands(row.vecBands, rnd, x, One);
    for (const std::string& s : row.vecHard) {
        Mpfr m(2000);
        mpfr_set_str(m, s.c_str(), 10, MPFR_RNDN);
        ASSERT_TRUE(MpfrToQ(m, x)) << s;
        One();
    }
}

// x! = Gamma(x + 1), x + 1 formed exactly at the reference precision.
int MpfrFactorial(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd)
{
    mpfr_t t;
    mpfr_init2(t, kRefBits + 2000);
    mpfr_add_ui(t, x, 1, MPFR_RNDN);
    int n = mpfr_gamma(r, t, rnd);
    mpfr_clear(t);
    return n;
}

// ---- Elementary functions: random bands and hard cases ----

const std::vector<UnaryRow>& ElementaryRows()
{
    static const std::vector<UnaryRow> rows = {
        // exp: the whole range where the result is representable, |x| < 11500.
        {"qexp", qexp, mpfr_exp, 16,
         {{-300, 12, 0, 3000}, {-4, 4, 0, 1500}, Linear(-11500, 11500, 500)},
         {"0", "-0", "1", "-1", "0.5", "0.34657359027997265470861606072908828403775006718",  // ln2/2
          "-0.34657359027997265470861606072908828403775006718", "11000", "-11000", "1e-100",
          "-1e-100", "0.6931471805599453094172321214581765680755001343602552541206800094933936",
          "100.5", "-100.5", "7.3e-5", "11534.5", "-11532.5"}},
        // log: positive numbers over the whole range; near 1 from both sides.
        {"qlog", qlog, mpfr_log, 16,
         {{-16000, 16000, 1, 2000}, {-3, 3, 1, 1500}},
         {"0.5", "2", "10", "0.70710678118654752440084436210484903928483593768847403658833986899536623",
          "1.0000000000000000000000000000001", "0.99999999999999999999999999999999999999", "1.5e-4990",
          "1.4142135623730950488016887242096980785696718753769480731766797379907324785",
          "2.718281828459045235360287471352662497757247093699959574966967627724076630353",
          "1e-5000", "1e5000", "3", "0.1"}},
        // tanh, sinh, cosh: moderate arguments, tiny ones for tanh and sinh.
        {"qtanh", qtanh, mpfr_tanh, 16,
         {{-300, 6, 0, 2000}, {-3, 1, 0, 1000}},
         {"0", "-0", "0.999999999999999", "1", "-1", "1.0000000000001", "200", "-200", "1e-300"}},
        {"qsinh", qsinh, mpfr_sinh, 16,
         {{-300, 12, 0, 2000}, {-3, 1, 0, 1000}, Linear(-11500, 11500, 300)},
         {"0", "-0", "0.5", "-0.5", "0.49999999999999999999", "1", "11000", "-11000", "1e-300"}},
        {"qcosh", qcosh, mpfr_cosh, 16,
         {{-300, 12, 0, 2000}, {-3, 1, 0, 1000}, Linear(-11500, 11500, 300)},
         {"0", "0.5", "1", "-1", "11000", "-11000"}},
        // sqrt: the whole range, both parities of the exponent.
        {"qsqrt", qsqrt, mpfr_sqrt, 4,
         {{-16600, 16600, 1, 3000}, {-2, 2, 1, 1000}},
         {"0", "1", "2", "4", "0.25", "0.5", "1e-5000", "1e5000", "3"}},
        // sin, cos for |x| <= 8.
        {"qsin", qsin, mpfr_sin, 16,
         {{-300, 2, 0, 2000}, Linear(-8, 8, 2000)},
         {"0", "-0", "1", "-1", "1e-300", "0.785398163397448309615660845819875721049292349843776455243736148076954101571552249657008706335529",
          "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853",
          "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899862803482534211706798",
          "6.28318530717958647692528676655900576839433879875021164194988918461563281257241799725606965068423413596"},
         true},
        {"qcos", qcos, mpfr_cos, 16,
         {{-300, 2, 0, 2000}, Linear(-8, 8, 2000)},
         {"0", "-0", "1", "-1", "1e-300", "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899862803482534211706798",
          "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853",
          "4.71238898038468985769396507491925432629575409906265873146241688846172460942931349794205223801317560"},
         true},
        // atan: everything, with the reduction boundaries tan(pi/8) and tan(3pi/8).
        {"qatn", qatn, mpfr_atan, 16,
         {{-2000, 2000, 0, 2000}, {-3, 3, 0, 2000}},
         {"0", "-0", "1", "-1", "0.41421356237309504880168872420969807856967187537694807317667973799073",
          "2.41421356237309504880168872420969807856967187537694807317667973799073",
          "0.4142135623730950488016887242096980785696718753769480731766797379907",
          "1e300", "-1e-300"}},
        // gamma: the whole range of finite results, negative arguments up to
        // -1750; near the poles, half-integers, the top of the range, tiny x.
        {"qgamma", qgamma, mpfr_gamma, 16,
         {{-300, 6, 1, 1500}, Linear(-60, 60, 1500), Linear(-1750, 1750, 400)},
         {"0.5", "-0.5", "1.5", "-1.5", "2.5", "100.5", "-100.5", "1000.5", "1e-300", "-1e-300",
          "1e-30", "1", "2", "3", "59.999999999999999", "60", "60.000000000000001",
          "-0.99999999999999999999999999999999999999", "-1.00000000000000000000000000000000000001",
          "-2.0000000000000000001", "-170.99999999999", "-1000.000000000000000000001",
          "1755.4", "-1760.5", "0.0000001", "7.5e-5"}},
        // x! = Gamma(x + 1): whole numbers by the product, the rest through gamma.
        {"qfac", qfac, MpfrFactorial, 16,
         {{-300, 6, 1, 1000}, Linear(-50, 50, 1000), Linear(-1750, 1750, 200)},
         {"0", "1", "5", "5.23", "20", "56", "57", "100", "1000", "1754", "0.5", "-0.5", "-1.5",
          "1e-40", "-1e-40", "-0.9999999999999999999999999", "1500.5"}},
    };
    return rows;
}

class ElementaryAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(ElementaryAccuracy, WithinBound)
{
    const UnaryRow& row = ElementaryRows()[GetParam()];
    Worst worst;
    CheckUnary(row, worst);
    Report(row.pName, worst, row.dBound);
    EXPECT_LE(worst.dUlp, row.dBound) << row.pName << " at " << worst.strArg;
}

INSTANTIATE_TEST_SUITE_P(Routines, ElementaryAccuracy,
                         ::testing::Range(0, int(ElementaryRows().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(ElementaryRows()[info.param].pName);
                         });

// ---- atan2 and powers ----

TEST(ElementaryAccuracy, Qatn2)
{
    QRandom rnd(21);
    Worst worst;
    Mpfr my(kQBits), mx(kQBits), mref;
    qreal y, x, z;
    for (int i = 0; i < 4000; ++i) {
        // All four quadrants; the two parts up to 2^40 apart in size.
        rnd.Real(y, -20, 20, 0);
        rnd.Real(x, -20, 20, 0);
        QToMpfr(y, my);
        QToMpfr(x, mx);
        mpfr_atan2(mref, my, mx, MPFR_RNDN);
        Clearmerror();
        qatn2(y, x, z);
        ASSERT_EQ(merror, 0);
        worst.Note(UlpError(z, mref), Text(y) + " " + Text(x));
    }
    Report("qatn2", worst, 16);
    EXPECT_LE(worst.dUlp, 16.0) << worst.strArg;
}

TEST(ElementaryAccuracy, QpowWhereYLnXUpTo16)
{
    QRandom rnd(22);
    Worst worst;
    Mpfr mx(kQBits), my(kQBits), mref;
    qreal x, y, z, t;
    for (int i = 0; i < 6000; ++i) {
        // x over a wide range, and every third one in [1/2, 2] where ln x is
        // small and y can be large.
        if (i % 3 == 0)
            rnd.Real(x, -1, 0, 1);
        else
            rnd.Real(x, -40, 40, 1);
        double dX;
        qtoe(x, &dX);
        double dLog = std::fabs(std::log(dX));
        if (i % 5 == 0) {
            // A whole exponent, through repeated squaring.
            long n = long(16.0 / (dLog > 1e-3 ? dLog : 1e-3));
            n = rnd.Int(-int(n < 400 ? n : 400), int(n < 400 ? n : 400));
            ltoq(&n, y);
        } else {
            // |y| < 16 / |ln x|, with a full random mantissa.
            double dSpan = 16.0 / (dLog > 1e-30 ? dLog : 1e-30);
            rnd.Uniform(y, -1.0, 1.0);
            etoq(&dSpan, t);
            qmul(t, y, y);
        }
        QToMpfr(x, mx);
        QToMpfr(y, my);
        mpfr_pow(mref, mx, my, MPFR_RNDN);
        Clearmerror();
        qpow(x, y, z);
        ASSERT_EQ(merror, 0) << Text(x) << " " << Text(y);
        worst.Note(UlpError(z, mref), Text(x) + " " + Text(y));
    }
    Report("qpow", worst, 32);
    EXPECT_LE(worst.dUlp, 32.0) << worst.strArg;
}

// ---- sin and cos of degrees and grads ----

// The reduction happens in the angle's own unit, so unlike sin(x pi/180)
// the error does not grow with |x| and the exact angles give exact results
// (MPFR's sinu and cosu are exact there too: a zero must be a zero).
TEST(ElementaryAccuracy, SinCosOfDegreesAndGrads)
{
    for (long nTurn : {360L, 400L}) {
        QRandom rnd(24);
        Worst worst;
        Mpfr mx(kQBits), mref;
        qreal x, s, c;
        auto One = [&]() {
            QToMpfr(x, mx);
            Clearmerror();
            qsincosturn(x, nTurn, s, c);
            ASSERT_EQ(merror, 0) << Text(x);
            mpfr_sinu(mref, mx, nTurn, MPFR_RNDN);
            worst.Note(UlpError(s, mref), "sin " + Text(x));
            mpfr_cosu(mref, mx, nTurn, MPFR_RNDN);
            worst.Note(UlpError(c, mref), "cos " + Text(x));
            // Either one alone is the same number.
            qreal one;
            qsincosturn(x, nTurn, one, nullptr);
            EXPECT_EQ(0, std::memcmp(one, s, sizeof one)) << "sin alone " << Text(x);
            qsincosturn(x, nTurn, nullptr, one);
            EXPECT_EQ(0, std::memcmp(one, c, sizeof one)) << "cos alone " << Text(x);
        };
        ForEachInBands({Linear(-720, 720, 1500), {-300, 8, 0, 1000}, {9, 1200, 0, 500}}, rnd, x, One);
        for (const char* pHard : {"0", "30", "45", "50", "60", "90", "100", "150", "180", "200", "270", "300",
                                  "540", "-30", "-90", "-720", "1e50", "1e300", "-1e4000", "1e-300",
                                  "44.999999999999999999999999999999", "89.99999999999999999999999999"}) {
            Mpfr m(2000);
            mpfr_set_str(m, pHard, 10, MPFR_RNDN);
            ASSERT_TRUE(MpfrToQ(m, x)) << pHard;
            One();
        }
        Report(nTurn == 360 ? "degrees" : "grads", worst, 8);
        EXPECT_LE(worst.dUlp, 8.0) << worst.strArg;
    }
}

// ---- sin and cos beyond |x| = 8 ----

// The reduction is exact against the 336-bit pi, so what is left is the
// error of pi itself times the number of quarter turns: an absolute error
// that grows in proportion to |x|. Printed per band, bounded by |x| 2^-336
// (pi is within 0.41 2^-336 of the true value) plus a few ulps.
TEST(ElementaryAccuracy, SinCosLargeArguments)
{
    QRandom rnd(23);
    Mpfr mx(kQBits), mref, scale(64);
    qreal x, y;
    for (int k : {4, 8, 16, 32, 48, 64, 100, 200, 330}) {
        double dWorstSin = 0, dWorstCos = 0;
        for (int i = 0; i < 200; ++i) {
            rnd.Real(x, k - 1, k - 1, 0);
            QToMpfr(x, mx);
            // absolute error in units of 2^-336
            mpfr_set_ui(scale, 1, MPFR_RNDN);
            mpfr_sin(mref, mx, MPFR_RNDN);
            qsin(x, y);
            dWorstSin = std::fmax(dWorstSin, ScaledError(y, mref, scale) / 2);
            mpfr_cos(mref, mx, MPFR_RNDN);
            qcos(x, y);
            dWorstCos = std::fmax(dWorstCos, ScaledError(y, mref, scale) / 2);
        }
        std::printf("[ sin/cos  ] |x| ~ 2^%-3d  worst absolute error  sin %.3g, cos %.3g  (x 2^-336)\n", k,
                    dWorstSin, dWorstCos);
        double dBound = std::ldexp(1.0, k) + 16;
        EXPECT_LE(dWorstSin, dBound) << "2^" << k;
        EXPECT_LE(dWorstCos, dBound) << "2^" << k;
    }
}

}  // namespace
