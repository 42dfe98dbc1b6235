// Accuracy of the complex routines against GNU MPC.
//
// Each part of a result must lie within 64 ulps (of a 336-bit number the
// size of that part of MPC's value) or within 2^-328 of the modulus of the
// value: a part that is tiny beside the other may carry the rounding noise
// of the larger one. The error printed is measured so that 64 is the bound
// in both senses: err / max(ulp(part), 2^-328 |w| / 64).

#include <gtest/gtest.h>
#include <mpc.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "QMpfr.h"
#include "QRandom.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

struct Mpc {
    mpc_t v;
    explicit Mpc(mpfr_prec_t nBits = kRefBits) { mpc_init2(v, nBits); }
    ~Mpc() { mpc_clear(v); }
    Mpc(const Mpc&) = delete;
    Mpc& operator=(const Mpc&) = delete;
    operator mpc_ptr() { return v; }
};

void ToMpc(const qcmplx& z, mpc_ptr m)
{
    QToMpfr(z.r, mpc_realref(m));
    QToMpfr(z.i, mpc_imagref(m));
}

std::string Text(const qcmplx& z)
{
    char szR[QASCLEN], szI[QASCLEN];
    qtoascex(z.r, szR, 25);
    qtoascex(z.i, szI, 25);
    return std::string("(") + szR + "," + szI + ")";
}

// Error of one part in the units described above.
double PartError(const unsigned short* q, mpfr_srcptr ref, mpfr_srcptr modulus)
{
    mpfr_t floor64, scale;
    mpfr_init2(floor64, 64);
    mpfr_init2(scale, 64);
    // 2^-328 |w| / 64 expressed as the size whose ulp it is: 2^-328 |w| / 64
    // = ulp of (|w| 2^-328 / 64 * 2^336) = |w| * 2^2.
    mpfr_mul_2si(floor64, modulus, 2, MPFR_RNDN);
    mpfr_abs(scale, ref, MPFR_RNDN);
    if (mpfr_cmp(scale, floor64) < 0)
        mpfr_set(scale, floor64, MPFR_RNDN);
    double d = ScaledError(q, ref, scale);
    mpfr_clear(floor64);
    mpfr_clear(scale);
    return d;
}

// Kinds of argument: both parts random, or only one part.
enum Shape { kBoth, kRealOnly, kImagOnly };

// A band of random complex arguments: each nonzero part with |part| in
// [2^nLo, 2^(nHi+1)) and a random sign.
struct Band {
    int nLo, nHi;
    Shape eShape;
    int nCount;
};

void RandomComplex(QRandom& rnd, const Band& b, qcmplx& z)
{
    qclear(z.r);
    qclear(z.i);
    if (b.eShape != kImagOnly)
        rnd.Real(z.r, b.nLo, b.nHi, 0);
    if (b.eShape != kRealOnly)
        rnd.Real(z.i, b.nLo, b.nHi, 0);
}

void CheckResult(const char* pName, const qcmplx& q, mpc_ptr ref, const std::string& strArg, Worst& worst)
{
    mpfr_t modulus;
    mpfr_init2(modulus, 64);
    mpc_abs(modulus, ref, MPFR_RNDN);
    double dRe = PartError(q.r, mpc_realref(ref), modulus);
    double dIm = PartError(q.i, mpc_imagref(ref), modulus);
    worst.Note(dRe > dIm ? dRe : dIm, strArg);
    mpfr_clear(modulus);
    EXPECT_EQ(merror, 0) << pName << " reported an error at " << strArg;
}

// ---- One-argument functions ----

using QCUnary = int (*)(const qcmplx*, qcmplx*);
using MCUnary = int (*)(mpc_ptr, mpc_srcptr, mpc_rnd_t);

struct UnaryRow {
    const char* pName;
    QCUnary pQ;
    MCUnary pM;
    std::vector<Band> vecBands;
};

const std::vector<UnaryRow>& UnaryRows()
{
    // Circular parts stay within |x| <= 8, where the reduction by the
    // 336-bit pi is good to a few ulps; branch cuts are avoided by the
    // one-part bands (real-only for functions cut on the imaginary axis and
    // the other way round).
    static const std::vector<UnaryRow> rows = {
        {"qcexp", qcexp, mpc_exp, {{-12, 2, kBoth, 1500}, {-12, 12, kRealOnly, 200}, {-12, 2, kImagOnly, 200}}},
        {"qclog", qclog, mpc_log, {{-3000, 3000, kBoth, 1000}, {-4, 4, kBoth, 1000}, {-100, 100, kImagOnly, 200}}},
        {"qcsin", qcsin, mpc_sin, {{-12, 2, kBoth, 1500}, {-12, 2, kRealOnly, 200}, {-12, 8, kImagOnly, 200}}},
        {"qccos", qccos, mpc_cos, {{-12, 2, kBoth, 1500}, {-12, 2, kRealOnly, 200}, {-12, 8, kImagOnly, 200}}},
        {"qcsinh", qcsinh, mpc_sinh, {{-12, 2, kBoth, 1500}, {-12, 8, kRealOnly, 200}, {-12, 2, kImagOnly, 200}}},
        {"qccosh", qccosh, mpc_cosh, {{-12, 2, kBoth, 1500}, {-12, 8, kRealOnly, 200}, {-12, 2, kImagOnly, 200}}},
        {"qctanh", qctanh, mpc_tanh, {{-12, 2, kBoth, 1500}, {-12, 12, kRealOnly, 200}, {-12, 0, kImagOnly, 200}}},
        {"qcsqrt", qcsqrt, mpc_sqrt, {{-3000, 3000, kBoth, 1500}, {-4, 4, kBoth, 500}, {-100, 100, kImagOnly, 200}}},
        {"qcatan", qcatan, mpc_atan, {{-12, 12, kBoth, 1500}, {-100, 100, kRealOnly, 200}, {-12, -1, kImagOnly, 200}}},
        {"qcasin", qcasin, mpc_asin, {{-12, 12, kBoth, 1500}, {-12, -1, kRealOnly, 200}, {-100, 100, kImagOnly, 200}}},
        {"qcacos", qcacos, mpc_acos, {{-12, 12, kBoth, 1500}, {-12, -1, kRealOnly, 200}, {-100, 100, kImagOnly, 200}}},
        {"qcatanh", qcatanh, mpc_atanh, {{-12, 12, kBoth, 1500}, {-12, -1, kRealOnly, 200}, {-100, 100, kImagOnly, 200}}},
        {"qcasinh", qcasinh, mpc_asinh, {{-12, 12, kBoth, 1500}, {-100, 100, kRealOnly, 200}, {-12, -1, kImagOnly, 200}}},
        {"qcacosh", qcacosh, mpc_acosh, {{-12, 12, kBoth, 1500}, {-100, 100, kImagOnly, 200}}},
    };
    return rows;
}

class ComplexUnaryAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(ComplexUnaryAccuracy, WithinBound)
{
    const UnaryRow& row = UnaryRows()[GetParam()];
    QRandom rnd;
    Worst worst;
    Mpc mz(kQBits), mref;
    qcmplx z, w;
    for (const Band& b : row.vecBands) {
        for (int i = 0; i < b.nCount; ++i) {
            RandomComplex(rnd, b, z);
            ToMpc(z, mz);
            row.pM(mref, mz, MPC_RNDNN);
            Clearmerror();
            row.pQ(&z, &w);
            CheckResult(row.pName, w, mref, Text(z), worst);
        }
    }
    Report(row.pName, worst, 64);
    EXPECT_LE(worst.dUlp, 64.0) << row.pName << " at " << worst.strArg;
}

INSTANTIATE_TEST_SUITE_P(Routines, ComplexUnaryAccuracy, ::testing::Range(0, int(UnaryRows().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(UnaryRows()[info.param].pName);
                         });

// ---- Two-argument routines ----

using QCBinary = int (*)(const qcmplx*, const qcmplx*, qcmplx*);

// The MPC reference of each, with the library's operand order spelled out:
// qcsub(a, b) is b - a and qcdiv(a, b) is b / a.
struct BinaryRow {
    const char* pName;
    QCBinary pQ;
    void (*pM)(mpc_ptr r, mpc_srcptr a, mpc_srcptr b);
    Band aBand, bBand;
    int nCount;
};

const std::vector<BinaryRow>& BinaryRows()
{
    static const std::vector<BinaryRow> rows = {
        {"qcadd", qcadd, [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_add(r, a, b, MPC_RNDNN); },
         {-200, 200, kBoth, 0}, {-200, 200, kBoth, 0}, 3000},
        {"qcsub", qcsub, [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_sub(r, b, a, MPC_RNDNN); },
         {-200, 200, kBoth, 0}, {-200, 200, kBoth, 0}, 3000},
        {"qcmul", qcmul, [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_mul(r, a, b, MPC_RNDNN); },
         {-5000, 5000, kBoth, 0}, {-5000, 5000, kBoth, 0}, 3000},
        {"qcdiv", qcdiv, [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_div(r, b, a, MPC_RNDNN); },
         {-5000, 5000, kBoth, 0}, {-5000, 5000, kBoth, 0}, 3000},
        // z^w with |w ln z| kept moderate.
        {"qcpow", qcpow, [](mpc_ptr r, mpc_srcptr z, mpc_srcptr w) { mpc_pow(r, z, w, MPC_RNDNN); },
         {-6, 6, kBoth, 0}, {-6, 1, kBoth, 0}, 2000},
    };
    return rows;
}

class ComplexBinaryAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(ComplexBinaryAccuracy, WithinBound)
{
    const BinaryRow& row = BinaryRows()[GetParam()];
    QRandom rnd;
    Worst worst;
    Mpc ma(kQBits), mb(kQBits), mref;
    qcmplx a, b, c;
    for (int i = 0; i < row.nCount; ++i) {
        // Every fourth pair has a real or an imaginary operand, which takes
        // the routines' shortcuts.
        Band ba = row.aBand, bb = row.bBand;
        if (i % 4 == 1)
            ba.eShape = kRealOnly;
        else if (i % 4 == 2)
            bb.eShape = kImagOnly;
        RandomComplex(rnd, ba, a);
        RandomComplex(rnd, bb, b);
        ToMpc(a, ma);
        ToMpc(b, mb);
        row.pM(mref, ma, mb);
        Clearmerror();
        row.pQ(&a, &b, &c);
        CheckResult(row.pName, c, mref, Text(a) + " " + Text(b), worst);
    }
    Report(row.pName, worst, 64);
    EXPECT_LE(worst.dUlp, 64.0) << row.pName << " at " << worst.strArg;
}

INSTANTIATE_TEST_SUITE_P(Routines, ComplexBinaryAccuracy, ::testing::Range(0, int(BinaryRows().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(BinaryRows()[info.param].pName);
                         });

// ---- Modulus ----

TEST(ComplexAccuracy, Qcabs)
{
    QRandom rnd;
    Worst worst;
    Mpc mz(kQBits);
    mpfr_t ref;
    mpfr_init2(ref, kRefBits);
    qcmplx z, r;
    for (int i = 0; i < 3000; ++i) {
        Band b{-16000, 16000, i % 5 == 0 ? kRealOnly : kBoth, 0};
        if (i % 3 == 0)
            b = Band{-100, 100, kBoth, 0};
        RandomComplex(rnd, b, z);
        ToMpc(z, mz);
        mpc_abs(ref, mz, MPFR_RNDN);
        Clearmerror();
        qcabs(&z, &r);
        worst.Note(UlpError(r.r, ref), Text(z));
    }
    mpfr_clear(ref);
    Report("qcabs", worst, 64);
    EXPECT_LE(worst.dUlp, 64.0) << worst.strArg;
}

}  // namespace
