#include "QMpfr.h"

#include <gmp.h>

#include <cmath>
#include <cstdio>

namespace qtest {

void QToMpfr(const unsigned short* a, mpfr_t r)
{
    if (a[1] == 0) {
        mpfr_set_zero(r, a[0] ? -1 : 1);
        return;
    }
    mpz_t m;
    mpz_init(m);
    // Words 3..23, most significant first, 16 bits each.
    mpz_import(m, 21, 1, sizeof(unsigned short), 0, 0, a + 3);
    mpfr_set_z_2exp(r, m, long(a[1]) - QEXPBIAS - 335, MPFR_RNDN);  // exact: 336 bits
    if (a[0])
        mpfr_neg(r, r, MPFR_RNDN);
    mpz_clear(m);
}

bool MpfrToQ(const mpfr_t r, unsigned short* a)
{
    for (int i = 0; i < NQ; ++i)
        a[i] = 0;
    if (mpfr_zero_p(r)) {
        a[0] = mpfr_signbit(r) ? 0xFFFF : 0;
        return true;
    }
    if (!mpfr_number_p(r))
        return false;
    mpfr_t t;
    mpfr_init2(t, kQBits);
    mpfr_set(t, r, MPFR_RNDN);
    mpz_t m;
    mpz_init(m);
    mpfr_exp_t e = mpfr_get_z_2exp(m, t);  // t = m * 2^e, m has exactly 336 bits
    bool bNeg = mpz_sgn(m) < 0;
    mpz_abs(m, m);
    long nExp = long(e) + 335 + QEXPBIAS;
    bool bOk = nExp >= 1 && nExp <= QEXPMAX && mpz_sizeinbase(m, 2) == 336;
    if (bOk) {
        size_t nCount = 0;
        mpz_export(a + 3, &nCount, 1, sizeof(unsigned short), 0, 0, m);
        a[0] = bNeg ? 0xFFFF : 0;
        a[1] = (unsigned short)nExp;
    }
    mpz_clear(m);
    mpfr_clear(t);
    return bOk;
}

double UlpError(const unsigned short* q, const mpfr_t ref)
{
    if (mpfr_zero_p(ref))
        return q[1] == 0 ? 0.0 : HUGE_VAL;
    mpfr_t scale;
    mpfr_init2(scale, 64);
    mpfr_abs(scale, ref, MPFR_RNDN);
    double d = ScaledError(q, ref, scale);
    mpfr_clear(scale);
    return d;
}

double ScaledError(const unsigned short* q, const mpfr_t ref, const mpfr_t scale)
{
    mpfr_t v, d;
    mpfr_init2(v, kQBits);
    mpfr_init2(d, kRefBits + 64);
    QToMpfr(q, v);
    mpfr_sub(d, v, ref, MPFR_RNDN);
    mpfr_abs(d, d, MPFR_RNDN);
    double dErr = 0.0;
    if (!mpfr_zero_p(d)) {
        if (mpfr_zero_p(scale)) {
            dErr = HUGE_VAL;
        } else {
            // ulp of a 336-bit number in [2^(e-1), 2^e) is 2^(e-336).
            mpfr_exp_t e = mpfr_get_exp(scale);
            mpfr_mul_2si(d, d, 336 - long(e), MPFR_RNDN);
            dErr = mpfr_get_d(d, MPFR_RNDU);
        }
    }
    mpfr_clear(v);
    mpfr_clear(d);
    return dErr;
}

std::string QHex(const unsigned short* a)
{
    std::string s;
    char szWord[8];
    for (int i = 0; i < NQ; ++i) {
        std::snprintf(szWord, sizeof szWord, i ? " %04x" : "%04x", a[i]);
        s += szWord;
    }
    return s;
}

std::string Text(const unsigned short* x)
{
    char sz[QASCLEN];
    qtoascex(x, sz, 40);
    return sz;
}

void Worst::Note(double dErr, const std::string& strWhat)
{
    ++nCount;
    if (dErr > dUlp || std::isnan(dErr)) {
        dUlp = dErr;
        strArg = strWhat;
    }
}

void Report(const char* pName, const Worst& w, double dBound)
{
    std::printf("[ worst    ] %-8s %10.3f ulp  (bound %g, %ld arguments)%s%s\n", pName, w.dUlp, dBound,
                w.nCount, w.strArg.empty() ? "" : "  at ", w.strArg.c_str());
}

}  // namespace qtest
