// Accuracy of the arithmetic and the conversions against GNU MPFR.
//
// Sums and products are held to 1 ulp, quotients to 2 (they come out
// correctly rounded, half up in magnitude); the conversions from long and
// double, floor and the integer/fraction split must be exact, and qtoe must
// round exactly as MPFR does to nearest-even.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "QMpfr.h"
#include "QRandom.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

// ---- Two-operand arithmetic ----

using QBinary = int (*)(const unsigned short*, const unsigned short*, unsigned short*);

// How the second operand is drawn relative to the first.
enum Pairing {
    kIndependent,   // both exponents anywhere in the band
    kClose,         // b = a (1 + tiny), for cancellation in sums
    kAlignEdge      // exponents 330..345 apart, where alignment drops bits
};

struct BinaryRow {
    const char* pName;
    QBinary pQ;
    // The exact operation with the library's operand order: qsub(a, b) is
    // b - a, qdiv(a, b) is b / a.
    void (*pM)(mpfr_ptr r, mpfr_srcptr a, mpfr_srcptr b);
    double dBound;
    int nLo, nHi;
    Pairing ePairing;
    int nCount;
    bool bWordOnly = false;  // a is a one-word integer (qmuli)
};

void DrawPair(QRandom& rnd, const BinaryRow& row, unsigned short* a, unsigned short* b)
{
    rnd.Real(a, row.nLo, row.nHi, 0);
    if (row.bWordOnly) {
        long n = rnd.Int(1, 65535);
        if (rnd.Coin())
            n = -n;
        ltoq(&n, a);
    }
    switch (row.ePairing) {
    case kIndependent:
        rnd.Real(b, row.nLo, row.nHi, 0);
        break;
    case kClose: {
        qreal d;
        qmov(a, b);
        rnd.Real(d, int(a[1]) - QEXPBIAS - 340, int(a[1]) - QEXPBIAS - 1, 0);
        qadd(d, a, b);
        if (rnd.Coin())
            qneg(b);
        break;
    }
    case kAlignEdge:
        rnd.Real(b, 0, 0, 0);
        b[1] = (unsigned short)(int(a[1]) + (rnd.Coin() ? 1 : -1) * rnd.Int(330, 345));
        break;
    }
}

const std::vector<BinaryRow>& BinaryRows()
{
    auto Add = [](mpfr_ptr r, mpfr_srcptr a, mpfr_srcptr b) { mpfr_add(r, b, a, MPFR_RNDN); };
    auto Sub = [](mpfr_ptr r, mpfr_srcptr a, mpfr_srcptr b) { mpfr_sub(r, b, a, MPFR_RNDN); };
    auto Mul = [](mpfr_ptr r, mpfr_srcptr a, mpfr_srcptr b) { mpfr_mul(r, a, b, MPFR_RNDN); };
    auto Div = [](mpfr_ptr r, mpfr_srcptr a, mpfr_srcptr b) { mpfr_div(r, b, a, MPFR_RNDN); };
    static const std::vector<BinaryRow> rows = {
        {"qadd", qadd, Add, 1, -3000, 3000, kIndependent, 3000},
        {"qadd~", qadd, Add, 1, -200, 200, kClose, 3000},
        {"qadd|", qadd, Add, 1, -200, 200, kAlignEdge, 2000},
        {"qsub", qsub, Sub, 1, -3000, 3000, kIndependent, 3000},
        {"qsub~", qsub, Sub, 1, -200, 200, kClose, 3000},
        {"qsub|", qsub, Sub, 1, -200, 200, kAlignEdge, 2000},
        {"qmul", qmul, Mul, 1, -8000, 8000, kIndependent, 4000},
        {"qmuli", qmuli, Mul, 1, -8000, 8000, kIndependent, 3000, true},
        {"qdiv", qdiv, Div, 2, -8000, 8000, kIndependent, 4000},
        {"qdiv/", qdiv, Div, 2, -8000, 8000, kIndependent, 2000, true},
    };
    return rows;
}

class ArithmeticAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(ArithmeticAccuracy, WithinBound)
{
    const BinaryRow& row = BinaryRows()[GetParam()];
    QRandom rnd(0xadd5eed + GetParam());
    Worst worst;
    Mpfr ma(kQBits), mb(kQBits), mref;
    qreal a, b, c;
    for (int i = 0; i < row.nCount; ++i) {
        DrawPair(rnd, row, a, b);
        QToMpfr(a, ma);
        QToMpfr(b, mb);
        row.pM(mref, ma, mb);
        Clearmerror();
        row.pQ(a, b, c);
        ASSERT_EQ(merror, 0) << row.pName << " " << Text(a) << " " << Text(b);
        worst.Note(UlpError(c, mref), Text(a) + " " + Text(b));
    }
    Report(row.pName, worst, row.dBound);
    EXPECT_LE(worst.dUlp, row.dBound) << worst.strArg;
}

INSTANTIATE_TEST_SUITE_P(Routines, ArithmeticAccuracy, ::testing::Range(0, int(BinaryRows().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string s = BinaryRows()[info.param].pName;
                             for (char& c : s)
                                 c = (c == '~') ? 'C' : (c == '|') ? 'E' : (c == '/') ? 'W' : c;
                             return s;
                         });

// ---- Exact conversions and whole parts ----

TEST(ConversionAccuracy, LtoqIsExact)
{
    QRandom rnd(11);
    Mpfr m(kQBits);
    qreal x;
    long nChecked = 0;
    std::vector<long> vecValues = {0, 1, -1, 2147483647L, -2147483647L - 1, 65535, 65536, -65536};
    for (int i = 0; i < 3000; ++i) {
        long n = long(rnd.Bits() >> rnd.Int(1, 63));
        vecValues.push_back(rnd.Coin() ? -n : n);
    }
    for (long n : vecValues) {
        ltoq(&n, x);
        QToMpfr(x, m);
        EXPECT_EQ(mpfr_cmp_si(m, n), 0) << n;
        ++nChecked;
    }
    std::printf("[ worst    ] ltoq         exact     (%ld arguments)\n", nChecked);
}

TEST(ConversionAccuracy, EtoqIsExactAndQtoeRoundsToNearestEven)
{
    QRandom rnd(12);
    Mpfr m(kQBits);
    qreal x;
    long nEtoq = 0, nQtoe = 0;
    // etoq: random bit patterns over every finite double, subnormals too.
    for (int i = 0; i < 4000; ++i) {
        uint64_t nBits = rnd.Bits();
        double d;
        std::memcpy(&d, &nBits, sizeof d);
        if (!std::isfinite(d))
            continue;
        etoq(&d, x);
        QToMpfr(x, m);
        ASSERT_EQ(mpfr_cmp_d(m, d), 0) << d;
        double dBack;
        qtoe(x, &dBack);
        ASSERT_EQ(std::memcmp(&d, &dBack, sizeof d), 0) << d;
        ++nEtoq;
    }
    // qtoe: random 336-bit numbers across the double range and just beyond
    // its ends, compared with MPFR's nearest-even rounding.
    for (int i = 0; i < 4000; ++i) {
        int nLo = i % 4 == 0 ? -1080 : -1022, nHi = i % 4 == 1 ? 1023 : 1000;
        rnd.Real(x, nLo, nHi, 0);
        if (i % 8 == 2) {
            // A tie: 53 bits followed by a single 1 and zeros.
            for (int k = 7; k < NQ; ++k)
                x[k] = 0;
            x[6] = (unsigned short)((x[6] & 0xF800) | 0x0400);
        }
        QToMpfr(x, m);
        double dRef = mpfr_get_d(m, MPFR_RNDN);
        Clearmerror();
        double d;
        qtoe(x, &d);
        if (std::isinf(dRef)) {
            EXPECT_EQ(merror, 3);
            EXPECT_EQ(std::fabs(d), 1.7976931348623157e308);
        } else {
            ASSERT_EQ(std::memcmp(&d, &dRef, sizeof d), 0) << Text(x) << " " << d << " " << dRef;
        }
        ++nQtoe;
    }
    std::printf("[ worst    ] etoq         exact     (%ld arguments)\n", nEtoq);
    std::printf("[ worst    ] qtoe         correctly rounded (%ld arguments)\n", nQtoe);
}

TEST(ConversionAccuracy, QfloorAndQifracAreExact)
{
    QRandom rnd(13);
    Mpfr m(kQBits), f(kQBits), t(kQBits);
    qreal x, y, fr;
    long nChecked = 0;
    for (int i = 0; i < 4000; ++i) {
        rnd.Real(x, -5, i % 2 ? 40 : 400, 0);
        QToMpfr(x, m);
        qfloor(x, y);
        mpfr_floor(f, m);
        QToMpfr(y, t);
        ASSERT_TRUE(mpfr_equal_p(f, t)) << Text(x);
        long n;
        qifrac(x, &n, fr);
        // n: the integer part of |x| with the sign of x, saturated.
        mpfr_abs(t, m, MPFR_RNDN);
        mpfr_trunc(f, t);
        long nExpect = mpfr_cmp_d(f, 2147483647.0) > 0 ? 2147483647L : mpfr_get_si(f, MPFR_RNDZ);
        if (x[0] != 0)
            nExpect = -nExpect;
        ASSERT_EQ(n, nExpect) << Text(x);
        // f: the fraction of |x| (of x itself below 1).
        if (mpfr_cmp_ui(t, 1) >= 0) {
            mpfr_frac(f, t, MPFR_RNDN);
        } else {
            mpfr_set(f, m, MPFR_RNDN);
        }
        QToMpfr(fr, t);
        ASSERT_TRUE(mpfr_equal_p(f, t)) << Text(x);
        ++nChecked;
    }
    std::printf("[ worst    ] qfloor       exact     (%ld arguments)\n", nChecked);
    std::printf("[ worst    ] qifrac       exact     (%ld arguments)\n", nChecked);
}

// ---- Decimal text ----

TEST(DecimalAccuracy, AsctoqOf99DigitTextWithin4Ulp)
{
    QRandom rnd(14);
    Worst worst;
    Mpfr ref(1200);
    qreal x;
    for (int i = 0; i < 3000; ++i) {
        // 99 significant digits, the point somewhere in them, an exponent
        // anywhere in the range.
        std::string s = rnd.Coin() ? "-" : "";
        int nPoint = rnd.Int(0, 99);
        for (int k = 0; k < 99; ++k) {
            if (k == nPoint)
                s += '.';
            s += char('0' + (k == 0 ? rnd.Int(1, 9) : rnd.Int(0, 9)));
        }
        s += "e" + std::to_string(rnd.Int(-4900, 4900));
        asctoq(s.c_str(), x);
        mpfr_set_str(ref, s.c_str(), 10, MPFR_RNDN);
        worst.Note(UlpError(x, ref), s.substr(0, 12) + "..." + s.substr(s.find('e')));
    }
    Report("asctoq", worst, 4);
    EXPECT_LE(worst.dUlp, 4.0) << worst.strArg;
}

TEST(DecimalAccuracy, QtoascexDigitsMatchNearestEven)
{
    QRandom rnd(15);
    Mpfr m(kQBits);
    qreal x;
    char szOurs[QASCLEN];
    long nChecked = 0;
    for (int i = 0; i < 3000; ++i) {
        int n = rnd.Int(0, 80);
        if (i % 3 == 0) {
            // An exact tie at the last digit: a short dyadic fraction printed
            // with fewer digits than it has.
            long k = rnd.Int(1, 1 << 20);
            qreal t;
            ltoq(&k, x);
            int nPow = rnd.Int(1, 12);
            qmov(qone, t);
            t[1] = (unsigned short)(QEXPBIAS + nPow);
            qdiv(t, x, x);  // k / 2^p, exact
            n = rnd.Int(0, 6);
        } else {
            rnd.Real(x, -16000, 16000, 0);
        }
        QToMpfr(x, m);
        // MPFR: n + 1 significant digits, nearest with ties to even.
        mpfr_exp_t e;
        char* pDigits = mpfr_get_str(nullptr, &e, 10, size_t(n + 1), m, MPFR_RNDN);
        std::string strDigits = pDigits[0] == '-' ? pDigits + 1 : pDigits;
        mpfr_free_str(pDigits);
        char szExpect[QASCLEN];
        std::snprintf(szExpect, sizeof szExpect, "%c%c.%sE%ld", x[0] ? '-' : ' ', strDigits[0],
                      strDigits.substr(1).c_str(), long(e) - 1);
        qtoascex(x, szOurs, n);
        ASSERT_STREQ(szOurs, szExpect) << "n = " << n;
        ++nChecked;
    }
    std::printf("[ worst    ] qtoascex     digits exact, half to even (%ld values)\n", nChecked);
}

}  // namespace
