// Edge cases of the real and complex functions: exact values, domain
// errors and their substitutes, principal values, and the arguments where a
// literal formula would cancel or overflow.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <functional>
#include <string>
#include <vector>

#include "QMpfr.h"
#include "QTestUtil.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

using QUnary = int (*)(const unsigned short*, unsigned short*);
using QCUnary = int (*)(const qcmplx*, qcmplx*);

qcmplx C(const char* pRe, const char* pIm)
{
    qcmplx z;
    asctoq(pRe, z.r);
    asctoq(pIm, z.i);
    return z;
}

// |x - expect| within n ulps, expect given as decimal text (MPFR reads it).
::testing::AssertionResult Near(const unsigned short* x, const char* pExpect, double dUlps)
{
    mpfr_t ref;
    mpfr_init2(ref, 1000);
    mpfr_set_str(ref, pExpect, 10, MPFR_RNDN);
    double d = UlpError(x, ref);
    mpfr_clear(ref);
    if (d <= dUlps)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Ex(x, 40) << " is " << d << " ulp from " << pExpect;
}

const char* const kE =
    "2.71828182845904523536028747135266249775724709369995957496696762772407663035354759457138217852516642742746639193200305992";
const char* const kPi =
    "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899862803482534211706798214808651328230665";
const char* const kSqrt2 =
    "1.41421356237309504880168872420969807856967187537694807317667973799073247846210703885038753432764157273501384623091229702";
const char* const kAcosh2 =
    "1.31695789692481670862504634730796844402698197146751647976847225692046018541644397607421901345010178355646543656560497932";
const char* const kMinusAcosh2 =
    "-1.31695789692481670862504634730796844402698197146751647976847225692046018541644397607421901345010178355646543656560497932";
const char* const kLn2e60 =
    "138.848252760202686350496719402520029024141589452086633816120354067547750202610843529765695632372316588060068523557745604";
const char* const kMinusLn2e60 =
    "-138.848252760202686350496719402520029024141589452086633816120354067547750202610843529765695632372316588060068523557745604";

// ---- Real functions: values and substitutes ----

struct RealRow {
    const char* pWhat;
    std::function<void(unsigned short*)> fnCall;
    const char* pExpect;  // decimal text, or nullptr for an exact expected word pattern
    QValue exact;
    int nError;
    const char* pPrinted;
};

TEST(QFunc, RealValuesAndSubstitutes)
{
    auto Unary = [](QUnary f, const char* p) {
        return [f, p](unsigned short* y) { QValue x = Q(p); f(x.data(), y); };
    };
    auto Binary = [](int (*f)(const unsigned short*, const unsigned short*, unsigned short*), const char* pA,
                     const char* pB) {
        return [f, pA, pB](unsigned short* y) { QValue a = Q(pA), b = Q(pB); f(a.data(), b.data(), y); };
    };
    QValue nz = Q("0");
    qneg(nz.data());
    QValue one{}, two{};
    qmov(qone, one.data());
    qmov(qtwo, two.data());
    QValue k1024 = Q("1024"), minus8 = Q("-8"), minus1 = Q("-1");
    const RealRow rows[] = {
        // exp
        {"exp 1 is e", Unary(qexp, "1"), kE, {}, 0, ""},
        {"exp 0 is 1 exactly", Unary(qexp, "0"), nullptr, one, 0, ""},
        {"exp -40000 is 0", Unary(qexp, "-40000"), nullptr, QValue{}, 0, ""},
        {"exp -11600 underflows to 0", Unary(qexp, "-11600"), nullptr, QValue{}, 0, ""},
        {"exp 12000 overflows", Unary(qexp, "12000"), nullptr, Huge(false), 3, "\nqexp overflow error\n"},
        {"exp 40000 overflows", Unary(qexp, "40000"), nullptr, Huge(false), 3, "\nqexp overflow error\n"},
        // log
        {"log 1 is 0 exactly", Unary(qlog, "1"), nullptr, QValue{}, 0, ""},
        {"log -1", Unary(qlog, "-1"), nullptr, QValue{}, 1, "\nqlog domain error\n"},
        {"log -0", [&](unsigned short* y) { qlog(nz.data(), y); }, nullptr, QValue{}, 1, "\nqlog domain error\n"},
        {"log 0", Unary(qlog, "0"), nullptr, Huge(true), 2, "\nqlog singularity error\n"},
        {"log exp -2", [](unsigned short* y) { QValue t = Q("-2"); qexp(t.data(), y); qlog(y, y); }, "-2", {}, 0,
         ""},
        // sqrt
        {"sqrt 4 is 2 exactly", Unary(qsqrt, "4"), nullptr, two, 0, ""},
        {"sqrt 2", Unary(qsqrt, "2"), kSqrt2, {}, 0, ""},
        {"sqrt -4", Unary(qsqrt, "-4"), nullptr, QValue{}, 1, "\nqsqrt domain error\n"},
        {"sqrt -0 is -0", [&](unsigned short* y) { qsqrt(nz.data(), y); }, nullptr, nz, 0, ""},
        // sin, cos
        {"cos 0 is 1 exactly", Unary(qcos, "0"), nullptr, one, 0, ""},
        {"sin 0 is 0", Unary(qsin, "0"), nullptr, QValue{}, 0, ""},
        // tanh of a huge argument is +-1, without the overflow of e^|x|
        {"tanh 20000", Unary(qtanh, "20000"), nullptr, one, 0, ""},
        {"tanh -1e300", Unary(qtanh, "-1e300"), nullptr, minus1, 0, ""},
        // atan2 quadrants
        {"atan2(1, -1)", Binary(qatn2, "1", "-1"),
         "2.35619449019234492884698253745962716314787704953132936573120844423086230471465674897102611900658780098661106488496172999", {},
         0, ""},
        {"atan2(-1, -1)", Binary(qatn2, "-1", "-1"),
         "-2.35619449019234492884698253745962716314787704953132936573120844423086230471465674897102611900658780098661106488496172999", {},
         0, ""},
        {"atan2(0, -1)", Binary(qatn2, "0", "-1"), kPi, {}, 0, ""},
        {"atan2(0, 1)", Binary(qatn2, "0", "1"), nullptr, QValue{}, 0, ""},
        {"atan2(1, 0)", Binary(qatn2, "1", "0"),
         "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853399107404325664115332", {},
         0, ""},
        // |y / x| beyond the range: the angle, not an overflow
        {"atan2(1e4000, 1e-4000)", Binary(qatn2, "1e4000", "1e-4000"),
         "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853399107404325664115332", {},
         0, ""},
        {"atan2(1e4000, -1e-4000)", Binary(qatn2, "1e4000", "-1e-4000"),
         "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853399107404325664115332", {},
         0, ""},
        // powers
        {"2^10 is 1024 exactly", Binary(qpow, "2", "10"), nullptr, k1024, 0, ""},
        {"(-2)^3 is -8 exactly", Binary(qpow, "-2", "3"), nullptr, minus8, 0, ""},
        {"2^0.5", Binary(qpow, "2", "0.5"), kSqrt2, {}, 0, ""},
        {"3^-2", Binary(qpow, "3", "-2"), "0.111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111111", {}, 0, ""},
        {"2^16641 overflows", Binary(qpow, "2", "16641"), nullptr, Huge(false), 3, "\nqpowi overflow error\n"},
        {"10^-6000 underflows quietly", Binary(qpow, "10", "-6000"), nullptr, QValue{}, 0, ""},
        {"0.1^-6000 overflows", Binary(qpow, "0.1", "-6000"), nullptr, Huge(false), 3,
         "\nqpowi overflow error\n"},
        {"0^-1 is a pole", Binary(qpow, "0", "-1"), nullptr, Huge(false), 2, "\nqpowi singularity error\n"},
        {"0^0.5 is 0", Binary(qpow, "0", "0.5"), nullptr, QValue{}, 0, ""},
        {"0^-0.5 is a pole", Binary(qpow, "0", "-0.5"), nullptr, Huge(false), 2, "\nqpow singularity error\n"},
        {"0^0 is 1", Binary(qpow, "0", "0"), nullptr, one, 0, ""},
        {"(-2)^0.5 through ln", Binary(qpow, "-2", "0.5"), nullptr, one, 1, "\nqlog domain error\n"},
        // gamma and the factorial: poles, both ends of the range, exact products
        {"gamma 0 is a pole", Unary(qgamma, "0"), nullptr, Huge(false), 2, "\nqgamma singularity error\n"},
        {"gamma -3 is a pole", Unary(qgamma, "-3"), nullptr, Huge(false), 2, "\nqgamma singularity error\n"},
        {"gamma 1779.25 just inside the range", Unary(qgamma, "1779.25"),
         "1.0956497363393970472984328618698985940413322986937280436588378852959120795575175948274146783233730103e5009",
         {}, 0, ""},
        {"gamma 1779.4 overflows", Unary(qgamma, "1779.4"), nullptr, Huge(false), 3, "\nqgamma overflow error\n"},
        {"gamma 1e9 overflows", Unary(qgamma, "1e9"), nullptr, Huge(false), 3, "\nqgamma overflow error\n"},
        {"gamma -1900.5 underflows quietly", Unary(qgamma, "-1900.5"), nullptr, QValue{}, 0, ""},
        {"gamma 0.5 in place", [](unsigned short* y) { QValue x = Q("0.5"); qmov(x.data(), y); qgamma(y, y); },
         "1.7724538509055160272981674833411451827975494561223871282138077898529112845910321813749506567385446654162",
         {}, 0, ""},
        {"0! is 1 exactly", Unary(qfac, "0"), nullptr, one, 0, ""},
        {"20! exactly", Unary(qfac, "20"), nullptr, Q("2432902008176640000"), 0, ""},
        {"5! in place", [](unsigned short* y) { QValue x = Q("5"); qmov(x.data(), y); qfac(y, y); }, nullptr,
         Q("120"), 0, ""},
        {"(-1)! is a pole", Unary(qfac, "-1"), nullptr, Huge(false), 2, "\nqfac singularity error\n"},
        {"1779! overflows", Unary(qfac, "1779"), nullptr, Huge(false), 3, "\nqfac overflow error\n"},
        // reduction by pi
        {"redpi 10", Unary(qredpi, "10"),
         "0.575222039230620284612069850161491347408491801874682537075166223076550781141373004115895523973648796053555740460153080059", {},
         0, ""},
        {"redpi 1", Unary(qredpi, "1"), "1", {}, 0, ""},
    };
    for (const RealRow& r : rows) {
        QValue y{};
        Outcome o = Capture([&] { r.fnCall(y.data()); });
        EXPECT_EQ(o.nError, r.nError) << r.pWhat;
        EXPECT_EQ(o.strPrinted, r.pPrinted) << r.pWhat;
        if (r.pExpect)
            EXPECT_TRUE(Near(y.data(), r.pExpect, 4)) << r.pWhat;
        else
            EXPECT_TRUE(SameWords(y.data(), r.exact.data())) << r.pWhat << ": " << Ex(y.data());
    }
}

TEST(QFunc, SinOfPiIsBelow1e100)
{
    QValue y{}, limit = Q("1e-100");
    qsin(qpi, y.data());
    y[0] = 0;
    EXPECT_LT(qcmp(y.data(), limit.data()), 0) << Ex(y.data());
}

// ---- Complex functions ----

struct ComplexRow {
    const char* pWhat;
    std::function<void(qcmplx*)> fnCall;
    const char* pRe;  // expected parts as decimal text; "huge" / "-huge" for the largest magnitude
    const char* pIm;
    int nError;
    const char* pPrinted;
};

::testing::AssertionResult PartIs(const unsigned short* x, const char* pExpect)
{
    if (std::string(pExpect) == "huge" || std::string(pExpect) == "-huge") {
        QValue h = Huge(pExpect[0] == '-');
        if (SameWords(x, h.data()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Ex(x) << " is not " << pExpect;
    }
    if (std::string(pExpect) == "0") {
        // zero, or rounding noise of the other part (sin of the 336-bit pi)
        QValue a, limit = Q("1e-99");
        qmov(x, a.data());
        a[0] = 0;
        if (qcmp(a.data(), limit.data()) < 0)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Ex(x) << " is not 0";
    }
    return Near(x, pExpect, 64);
}

TEST(QFunc, ComplexValuesAndSubstitutes)
{
    auto Unary = [](QCUnary f, const char* pRe, const char* pIm) {
        return [f, pRe, pIm](qcmplx* w) { qcmplx z = C(pRe, pIm); f(&z, w); };
    };
    auto Pow = [](const char* zr, const char* zi, const char* wr, const char* wi) {
        return [=](qcmplx* r) { qcmplx z = C(zr, zi), w = C(wr, wi); qcpow(&z, &w, r); };
    };
    auto OneThird = [](const char* zr, int nNum) {
        return [=](qcmplx* r) {
            qcmplx z = C(zr, "0"), w = C("0", "0");
            long n = nNum, three = 3;
            qreal t;
            ltoq(&n, w.r);
            ltoq(&three, t);
            qdiv(t, w.r, w.r);  // nNum / 3 to full precision
            qcpow(&z, &w, r);
        };
    };
    const ComplexRow rows[] = {
        // powers of negative reals: odd roots stay real
        {"cbrt(-8)", OneThird("-8", 1), "-2", "0", 0, ""},
        {"(-8)^(2/3) is 4, the square of the real cube root", OneThird("-8", 2), "4", "0", 0, ""},
        {"(-8)^(1/4) has no real value: the principal one",
         Pow("-8", "0", "0.25", "0"), "1.18920711500272106671749997056047591529297209246381741301900222471946666822691715987078134453813767371603739477476921319",
         "1.18920711500272106671749997056047591529297209246381741301900222471946666822691715987078134453813767371603739477476921319", 0, ""},
        {"(-4)^0.5 is 2i", Pow("-4", "0", "0.5", "0"), "0", "2", 0, ""},
        {"0^0 is 1 without a report", Pow("0", "0", "0", "0"), "1", "0", 0, ""},
        {"0^i", Pow("0", "0", "0", "1"), "1", "0", 1, "\nqcpow domain error\n"},
        {"0^-1", Pow("0", "0", "-1", "0"), "huge", "0", 1, "\nqcpow domain error\n"},
        {"0^2", Pow("0", "0", "2", "0"), "0", "0", 0, ""},
        // square root and division
        {"sqrt(-4) is 2i", Unary(qcsqrt, "-4", "0"), "0", "2", 0, ""},
        {"sqrt(-4 - 0i) is -2i",
         [](qcmplx* w) { qcmplx z = C("-4", "0"); qneg(z.i); qcsqrt(&z, w); }, "0", "-2", 0, ""},
        {"sqrt(2i)", Unary(qcsqrt, "0", "2"), "1", "1", 0, ""},
        {"1 / 0", [](qcmplx* c) { qcdiv(&qczero, &qcone, c); }, "huge", "0", 3, "\nqcdiv overflow error\n"},
        {"(1+2i) / i", [](qcmplx* c) { qcmplx a = C("0", "1"), b = C("1", "2"); qcdiv(&a, &b, c); }, "2", "-1", 0,
         ""},
        // poles of atan
        {"atan(i)", Unary(qcatan, "0", "1"), "0", "-huge", 2, "\nqcatan singularity error\n"},
        {"atan(-i)", Unary(qcatan, "0", "-1"), "0", "huge", 2, "\nqcatan singularity error\n"},
        // principal values
        {"acosh 2 is positive", Unary(qcacosh, "2", "0"), kAcosh2, "0", 0, ""},
        {"acosh(2 - 0.1i) has a positive real part", Unary(qcacosh, "2", "-0.1"),
         "1.31887654721090050079086377850225188569444960178319431704488844931662391795265491457174127438827412324966898860784401641",
         "-0.0576392040514123590294763354551175861247474521017267257398415417310338939189444932494052610437464976312411586592916045511",
         0, ""},
        {"acosh(-2)", Unary(qcacosh, "-2", "0"), kAcosh2, kPi, 0, ""},
        {"asin 2", Unary(qcasin, "2", "0"),
         "1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853399107404325664115332",
         kMinusAcosh2, 0, ""},
        // large arguments: the inverse functions must not cancel to ln 0
        {"asinh 1e60", Unary(qcasinh, "1e60", "0"), kLn2e60, "0", 0, ""},
        {"asinh -1e60", Unary(qcasinh, "-1e60", "0"), kMinusLn2e60, "0", 0, ""},
        {"asin -1e60", Unary(qcasin, "-1e60", "0"),
         "-1.57079632679489661923132169163975144209858469968755291048747229615390820314310449931401741267105853399107404325664115332",
         kLn2e60, 0, ""},
        {"acosh 1e60", Unary(qcacosh, "1e60", "0"), kLn2e60, "0", 0, ""},
        // tiny arguments: the result is the argument, not 0
        {"atanh 1e-120", Unary(qcatanh, "1e-120", "0"), "1e-120", "0", 0, ""},
        {"asinh 1e-120", Unary(qcasinh, "1e-120", "0"), "1e-120", "0", 0, ""},
        {"asin(1e-120 i)", Unary(qcasin, "0", "1e-120"), "0", "1e-120", 0, ""},
        {"atan 1e-120", Unary(qcatan, "1e-120", "0"), "1e-120", "0", 0, ""},
        // tanh of a large real part is +-1, without an overflow of cosh 2x
        {"tanh 6000", Unary(qctanh, "6000", "0"), "1", "0", 0, ""},
        {"tanh(-6000 + i)", Unary(qctanh, "-6000", "1"), "-1", "0", 0, ""},
        {"tanh(i pi/4) is i",
         [](qcmplx* w) { qcmplx z = C("0", "0"); qmov(qpi, z.i); z.i[1] -= 2; qctanh(&z, w); }, "0", "1", 0, ""},
        // exp, log
        {"exp(i pi) is -1", [](qcmplx* w) { qcmplx z = C("0", "0"); qmov(qpi, z.i); qcexp(&z, w); }, "-1", "0", 0,
         ""},
        {"log(-1) is i pi", Unary(qclog, "-1", "0"), "0", kPi, 0, ""},
        {"log 0", Unary(qclog, "0", "0"), "-huge", "0", 2, "\nqlog singularity error\n"},
    };
    for (const ComplexRow& r : rows) {
        qcmplx w;
        qclear(w.r);
        qclear(w.i);
        Outcome o = Capture([&] { r.fnCall(&w); });
        EXPECT_EQ(o.nError, r.nError) << r.pWhat;
        EXPECT_EQ(o.strPrinted, r.pPrinted) << r.pWhat;
        EXPECT_TRUE(PartIs(w.r, r.pRe)) << r.pWhat << " (real part)";
        EXPECT_TRUE(PartIs(w.i, r.pIm)) << r.pWhat << " (imaginary part)";
    }
}

TEST(QFunc, ComplexDestinationMayAliasSource)
{
    // Every routine computes into temporaries first: z op= ... gives the
    // same as a fresh destination.
    const QCUnary fns[] = {qcexp, qclog, qcsin, qccos, qcsinh, qccosh, qctanh, qcsqrt,
                           qcatan, qcasin, qcacos, qcatanh, qcasinh, qcacosh};
    for (QCUnary f : fns) {
        qcmplx z = C("0.3", "-0.7"), fresh, same = z;
        f(&z, &fresh);
        f(&same, &same);
        EXPECT_TRUE(SameWords(fresh.r, same.r) && SameWords(fresh.i, same.i));
    }
    qcmplx a = C("1.5", "-2"), b = C("-0.25", "3"), c;
    qcmul(&a, &b, &c);
    qcmul(&a, &b, &a);
    EXPECT_TRUE(SameWords(a.r, c.r) && SameWords(a.i, c.i));
    a = C("1.5", "-2");
    qcdiv(&a, &b, &c);
    qcdiv(&a, &b, &b);
    EXPECT_TRUE(SameWords(b.r, c.r) && SameWords(b.i, c.i));
    b = C("-0.25", "3");
    qcpow(&a, &b, &c);
    qcpow(&a, &b, &a);
    EXPECT_TRUE(SameWords(a.r, c.r) && SameWords(a.i, c.i));
}

}  // namespace
