// Speed of the number library beside GNU MPFR (and MPC for the complex
// routines) at the same 336-bit precision. Each routine cycles through a
// fixed set of random arguments; the table at the end gives ns per call of
// both and their ratio.

#include <benchmark/benchmark.h>
#include <mpc.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "numerics/qlib.h"

namespace {

constexpr mpfr_prec_t kBits = 336;
constexpr int kArgs = 64;

// Arguments shared by both sides: the same numbers as decimal text, read by
// each library.
struct ArgSet {
    std::vector<std::string> vecText;
    qreal q[kArgs];
    mpfr_t m[kArgs];

    ArgSet(double dLo, double dHi, bool bLog, unsigned nSeed)
    {
        std::mt19937_64 rng(nSeed);
        std::uniform_real_distribution<double> u(0.0, 1.0);
        for (int i = 0; i < kArgs; ++i) {
            double d = bLog ? std::exp(std::log(dLo) + (std::log(dHi) - std::log(dLo)) * u(rng))
                            : dLo + (dHi - dLo) * u(rng);
            // 99 significant digits: a number with a full mantissa.
            char sz[160];
            std::snprintf(sz, sizeof sz, "%.17e", d);
            std::string s = sz;
            std::string strMant = s.substr(0, s.find('e'));
            std::string strExp = s.substr(s.find('e'));
            for (int k = 0; k < 80; ++k)
                strMant += char('0' + rng() % 10);
            vecText.push_back(strMant + strExp);
            asctoq(vecText.back().c_str(), q[i]);
            mpfr_init2(m[i], kBits);
            mpfr_set_str(m[i], vecText.back().c_str(), 10, MPFR_RNDN);
        }
    }
};

ArgSet& Moderate() { static ArgSet s(-1e3, 1e3, false, 1); return s; }
ArgSet& Moderate2() { static ArgSet s(-1e3, 1e3, false, 2); return s; }
ArgSet& Positive() { static ArgSet s(1e-30, 1e30, true, 3); return s; }
ArgSet& ExpArgs() { static ArgSet s(-200, 200, false, 4); return s; }
ArgSet& SinArgs() { static ArgSet s(-8, 8, false, 5); return s; }
ArgSet& PowBase() { static ArgSet s(0.01, 100, true, 6); return s; }
ArgSet& PowExp() { static ArgSet s(-3.7, 3.7, false, 7); return s; }

// ---- qlib side ----

template <int (*F)(const unsigned short*, unsigned short*)>
void QUnary(benchmark::State& state, ArgSet& a)
{
    qreal y;
    int i = 0;
    for (auto _ : state) {
        F(a.q[i], y);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
}

template <int (*F)(const unsigned short*, const unsigned short*, unsigned short*)>
void QBinary(benchmark::State& state, ArgSet& a, ArgSet& b)
{
    qreal y;
    int i = 0;
    for (auto _ : state) {
        F(a.q[i], b.q[i], y);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
}

// ---- MPFR side ----

template <int (*F)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)>
void MUnary(benchmark::State& state, ArgSet& a)
{
    mpfr_t y;
    mpfr_init2(y, kBits);
    int i = 0;
    for (auto _ : state) {
        F(y, a.m[i], MPFR_RNDN);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
    mpfr_clear(y);
}

template <int (*F)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t)>
void MBinary(benchmark::State& state, ArgSet& a, ArgSet& b)
{
    mpfr_t y;
    mpfr_init2(y, kBits);
    int i = 0;
    for (auto _ : state) {
        F(y, a.m[i], b.m[i], MPFR_RNDN);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
    mpfr_clear(y);
}

void BM_q_qadd(benchmark::State& s) { QBinary<qadd>(s, Moderate(), Moderate2()); }
void BM_m_qadd(benchmark::State& s) { MBinary<mpfr_add>(s, Moderate(), Moderate2()); }
void BM_q_qmul(benchmark::State& s) { QBinary<qmul>(s, Moderate(), Moderate2()); }
void BM_m_qmul(benchmark::State& s) { MBinary<mpfr_mul>(s, Moderate(), Moderate2()); }
void BM_q_qdiv(benchmark::State& s) { QBinary<qdiv>(s, Moderate(), Moderate2()); }
void BM_m_qdiv(benchmark::State& s) { MBinary<mpfr_div>(s, Moderate2(), Moderate()); }
void BM_q_qsqrt(benchmark::State& s) { QUnary<qsqrt>(s, Positive()); }
void BM_m_qsqrt(benchmark::State& s) { MUnary<mpfr_sqrt>(s, Positive()); }
void BM_q_qexp(benchmark::State& s) { QUnary<qexp>(s, ExpArgs()); }
void BM_m_qexp(benchmark::State& s) { MUnary<mpfr_exp>(s, ExpArgs()); }
void BM_q_qlog(benchmark::State& s) { QUnary<qlog>(s, Positive()); }
void BM_m_qlog(benchmark::State& s) { MUnary<mpfr_log>(s, Positive()); }
void BM_q_qsin(benchmark::State& s) { QUnary<qsin>(s, SinArgs()); }
void BM_m_qsin(benchmark::State& s) { MUnary<mpfr_sin>(s, SinArgs()); }
void BM_q_qatn(benchmark::State& s) { QUnary<qatn>(s, Moderate()); }
void BM_m_qatn(benchmark::State& s) { MUnary<mpfr_atan>(s, Moderate()); }
void BM_q_qpow(benchmark::State& s) { QBinary<qpow>(s, PowBase(), PowExp()); }
void BM_m_qpow(benchmark::State& s) { MBinary<mpfr_pow>(s, PowBase(), PowExp()); }

// ---- Complex ----

struct ComplexSet {
    qcmplx q[kArgs];
    mpc_t m[kArgs];
    explicit ComplexSet(ArgSet& re, ArgSet& im)
    {
        for (int i = 0; i < kArgs; ++i) {
            qmov(re.q[i], q[i].r);
            qmov(im.q[(i + 7) & (kArgs - 1)], q[i].i);
            mpc_init2(m[i], kBits);
            mpc_set_fr_fr(m[i], re.m[i], im.m[(i + 7) & (kArgs - 1)], MPC_RNDNN);
        }
    }
};

ComplexSet& ComplexA() { static ComplexSet s(Moderate(), Moderate2()); return s; }
ComplexSet& ComplexB() { static ComplexSet s(Moderate2(), Moderate()); return s; }

template <int (*F)(const qcmplx*, const qcmplx*, qcmplx*)>
void QComplex(benchmark::State& state)
{
    qcmplx c;
    int i = 0;
    for (auto _ : state) {
        F(&ComplexA().q[i], &ComplexB().q[i], &c);
        benchmark::DoNotOptimize(c);
        i = (i + 1) & (kArgs - 1);
    }
}

template <int (*F)(mpc_ptr, mpc_srcptr, mpc_srcptr, mpc_rnd_t)>
void MComplex(benchmark::State& state)
{
    mpc_t c;
    mpc_init2(c, kBits);
    int i = 0;
    for (auto _ : state) {
        F(c, ComplexA().m[i], ComplexB().m[i], MPC_RNDNN);
        benchmark::DoNotOptimize(c);
        i = (i + 1) & (kArgs - 1);
    }
    mpc_clear(c);
}

void BM_q_qcmul(benchmark::State& s) { QComplex<qcmul>(s); }
void BM_m_qcmul(benchmark::State& s) { MComplex<mpc_mul>(s); }
void BM_q_qcdiv(benchmark::State& s) { QComplex<qcdiv>(s); }
void BM_m_qcdiv(benchmark::State& s) { MComplex<mpc_div>(s); }

// ---- Decimal text ----

void BM_q_asctoq(benchmark::State& state)
{
    ArgSet& a = Moderate();
    qreal y;
    int i = 0;
    for (auto _ : state) {
        asctoq(a.vecText[i].c_str(), y);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
}

void BM_m_asctoq(benchmark::State& state)
{
    ArgSet& a = Moderate();
    mpfr_t y;
    mpfr_init2(y, kBits);
    int i = 0;
    for (auto _ : state) {
        mpfr_set_str(y, a.vecText[i].c_str(), 10, MPFR_RNDN);
        benchmark::DoNotOptimize(y);
        i = (i + 1) & (kArgs - 1);
    }
    mpfr_clear(y);
}

// 64 digits after the first, as the engine writes numbers into expressions.
constexpr int kDigits = 64;

void BM_q_qtoasc(benchmark::State& state)
{
    ArgSet& a = Moderate();
    char sz[QASCLEN];
    int i = 0;
    for (auto _ : state) {
        qtoasc(a.q[i], sz, kDigits);
        benchmark::DoNotOptimize(sz);
        i = (i + 1) & (kArgs - 1);
    }
}

void BM_m_qtoasc(benchmark::State& state)
{
    ArgSet& a = Moderate();
    char sz[QASCLEN + 16];
    mpfr_exp_t e;
    int i = 0;
    for (auto _ : state) {
        mpfr_get_str(sz, &e, 10, kDigits + 1, a.m[i], MPFR_RNDN);
        benchmark::DoNotOptimize(sz);
        i = (i + 1) & (kArgs - 1);
    }
}

#define PAIR(name)               \
    BENCHMARK(BM_q_##name);      \
    BENCHMARK(BM_m_##name);

PAIR(qadd)
PAIR(qmul)
PAIR(qdiv)
PAIR(qsqrt)
PAIR(qexp)
PAIR(qlog)
PAIR(qsin)
PAIR(qatn)
PAIR(qpow)
PAIR(qcmul)
PAIR(qcdiv)
PAIR(asctoq)
PAIR(qtoasc)

// Console output as usual, and the times kept for the table.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& vecRuns) override
    {
        ConsoleReporter::ReportRuns(vecRuns);
        for (const Run& r : vecRuns) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred)
                continue;
            m_mapTimes[r.benchmark_name()] = r.GetAdjustedCPUTime();
        }
    }

    void PrintTable() const
    {
        static const char* const kNames[] = {"qadd", "qmul", "qdiv", "qsqrt", "qexp", "qlog", "qsin",
                                             "qatn", "qpow", "qcmul", "qcdiv", "asctoq", "qtoasc"};
        std::printf("\n%-8s %12s %12s %8s\n", "routine", "qlib ns", "MPFR ns", "ratio");
        for (const char* pName : kNames) {
            auto q = m_mapTimes.find(std::string("BM_q_") + pName);
            auto m = m_mapTimes.find(std::string("BM_m_") + pName);
            if (q == m_mapTimes.end() || m == m_mapTimes.end())
                continue;
            std::printf("%-8s %12.1f %12.1f %8.2f\n", pName, q->second, m->second, q->second / m->second);
        }
    }

private:
    std::map<std::string, double> m_mapTimes;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
