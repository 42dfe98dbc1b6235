#ifndef CALCUDEX_NUMERICS_QLIB_H
#define CALCUDEX_NUMERICS_QLIB_H

/*
 * Qlib — extended-precision binary floating point.
 *
 * A qreal is 24 unsigned 16-bit words, most significant first:
 *
 *   word 0      sign: 0 positive, 0xFFFF negative (negation complements it;
 *               a zero may carry either sign)
 *   word 1      biased exponent E; E == 0 means the value is zero whatever the
 *               other words hold; bias 16640 (0x4100), largest E 33280 (0x8200)
 *   word 2      always 0 in a stored value (guard word used by the arithmetic)
 *   words 3-23  336-bit mantissa M with an explicit leading bit (top bit of
 *               word 3 set in every nonzero value)
 *
 *   value = (-1)^sign * (M / 2^335) * 2^(E - 16640)
 *
 * That is about 101 significant decimal digits over a range of 10^+-5009.
 * There is no infinity and no NaN: qinfin() writes the largest finite
 * magnitude, which the library treats as infinite.
 *
 * Conventions shared by every routine:
 *   - the destination is the last argument and may be the same array as any
 *     source;
 *   - the int result carries no meaning (always 0), except for qcmp and
 *     iserror;
 *   - nothing fails: a routine that meets a domain error, a pole or an
 *     overflow reports it through mtherr() (which sets merror and prints one
 *     line) and delivers a substitute value (zero or the largest magnitude);
 *     callers clear merror, call, and test iserror() afterwards;
 *   - two operand orders read backwards and every caller relies on them:
 *     qsub(a, b, c) sets c = b - a, qdiv(a, b, c) sets c = b / a, and
 *     likewise qcsub and qcdiv;
 *   - no heap use; working storage is static, so the library is not
 *     re-entrant (all calls come from the main thread).
 */

#ifdef __cplusplus
extern "C" {
#endif

enum {
    NQ = 24,            /* words in a qreal */
    QEXPBIAS = 16640,   /* exponent of 1.0 */
    QEXPMAX = 33280,    /* largest biased exponent */
    QASCLEN = 128       /* bytes qtoascex/qtoasc may write, NUL included */
};

typedef unsigned short qreal[NQ];

typedef struct qcmplx {
    qreal r; /* real part */
    qreal i; /* imaginary part */
} qcmplx;

/* ---- Constants (each correct to the full 336 bits, rounded to nearest) ---- */

extern const qreal qzero;   /* 0 */
extern const qreal qone;    /* 1 */
extern const qreal qtwo;    /* 2 */
extern const qreal qhalf;   /* 0.5 */
extern const qreal qpi;     /* pi */
extern const qreal qsqrt2;  /* sqrt(2) */
extern const qreal qlog2;   /* ln 2 */
extern const qreal qt3p8;   /* tan(3 pi / 8) = 1 + sqrt(2) */
extern const qreal qtp8;    /* tan(pi / 8) = sqrt(2) - 1 */
/* ln 2 = C1 + C2: C1 keeps the leading 32 mantissa bits (the rest zero), so
   n * C1 is exact for any 32-bit n; C2 is the remainder to full precision. */
extern const qreal C1;
extern const qreal C2;
extern const qcmplx qcone;  /* (1, 0) */
extern const qcmplx qczero; /* (0, 0) */
/* qtens[k] = 10^(2^(12-k)): 10^4096, 10^2048, ..., 10^2, 10^1;
   qmtens[k] = 10^-(2^(12-k)). */
extern const unsigned short qtens[13][NQ];
extern const unsigned short qmtens[13][NQ];
/* bmask[i] keeps the top 16 - i bits of a word: 0xFFFF, 0xFFFE, ..., 0x8000, 0. */
extern const unsigned short bmask[17];

/* ---- Error state ---- */

/* Code of the last reported error, 0 when none; sticky until Clearmerror().
   1 domain, 2 singularity, 3 overflow, 4 underflow,
   5 total loss of precision, 6 partial loss of precision. */
extern int merror;
/* Message of each code; entry 0 ("unknown") also stands for codes out of range. */
extern const char* const ermsg[7];

/* Prints "\n<name> <message> error\n" to standard output and sets merror to code. */
int mtherr(const char* name, int code);
/* 1 when merror is nonzero, else 0. */
int iserror(void);
/* Sets merror to 0. */
int Clearmerror(void);

/* ---- Moves, sign and comparison ---- */

int qmov(const unsigned short* a, unsigned short* b);  /* b = a */
int qclear(unsigned short* a);                         /* a = +0 */
int qneg(unsigned short* a);                           /* a = -a (sign word complemented) */
int qabs(unsigned short* a);                           /* a = |a| */
int qinfin(unsigned short* a);  /* largest magnitude; the sign word is kept */
/* 1 if a > b, 0 if equal (+0 == -0), -1 if a < b. */
int qcmp(const unsigned short* a, const unsigned short* b);

/* ---- Arithmetic ---- */

int qadd(const unsigned short* a, const unsigned short* b, unsigned short* c); /* c = b + a */
int qsub(const unsigned short* a, const unsigned short* b, unsigned short* c); /* c = b - a */
int qmul(const unsigned short* a, const unsigned short* b, unsigned short* c); /* c = a * b */
/* c = a * b where only the first mantissa word of a counts (a small integer
   such as 10); the other mantissa words of a are ignored. */
int qmuli(const unsigned short* a, const unsigned short* b, unsigned short* c);
/* c = b / a; b == 0 gives +0 (also 0/0, unreported); a == 0 gives the largest
   magnitude and a "qdiv" singularity report. */
int qdiv(const unsigned short* a, const unsigned short* b, unsigned short* c);

/* ---- Integer and fraction parts ---- */

int qfloor(const unsigned short* a, unsigned short* b);  /* b = floor(a) */
/* *n = integer part of x with the sign of x, saturated at +-2147483647;
   f = fractional part of |x| (non-negative), or x itself when |x| < 1. */
int qifrac(const unsigned short* x, long* n, unsigned short* f);

/* ---- Conversions ---- */

int ltoq(const long* n, unsigned short* x);     /* x = *n, exactly */
int etoq(const double* d, unsigned short* x);   /* x = *d, exactly */
int qtoe(const unsigned short* x, double* d);   /* *d = x rounded to nearest (ties to even) */
/* x = the decimal text s ([sign] digits [. digits] [E [sign] digits], blanks
   skipped). Bad text prints "asctoq conversion error" and gives +0. */
int asctoq(const char* s, unsigned short* x);
/* Exponent form: sign character ('-' or a blank), one digit, '.', n digits
   (n clamped to 0..99), then "E<exponent>". Rounds half to even.
   s must hold QASCLEN bytes. */
int qtoascex(const unsigned short* x, char* s, int n);
/* Positional form of the same n + 1 significant digits, trailing zeros and a
   trailing point removed (" 1234.5", "-0.00125", " 0"). A value whose
   positional text would not fit in QASCLEN bytes is written in exponent form.
   s must hold QASCLEN bytes. */
int qtoasc(const unsigned short* x, char* s, int n);

/* ---- Real functions (argument(s) first, destination last) ---- */

int qexp(const unsigned short* x, unsigned short* y);    /* e^x */
int qlog(const unsigned short* x, unsigned short* y);    /* ln x */
int qsin(const unsigned short* x, unsigned short* y);    /* sin x */
int qcos(const unsigned short* x, unsigned short* y);    /* cos x */
int qsinh(const unsigned short* x, unsigned short* y);   /* sinh x */
int qcosh(const unsigned short* x, unsigned short* y);   /* cosh x */
int qtanh(const unsigned short* x, unsigned short* y);   /* tanh x */
int qsqrt(const unsigned short* x, unsigned short* y);   /* sqrt x */
int qatn(const unsigned short* x, unsigned short* y);    /* arctan x in [-pi/2, pi/2] */
/* z = angle of the point (x, y) in (-pi, pi]; note y comes first. */
int qatn2(const unsigned short* y, const unsigned short* x, unsigned short* z);
int qpow(const unsigned short* x, const unsigned short* y, unsigned short* z);   /* z = x^y */
/* z = x^n with n the whole part of y. */
int qpowi(const unsigned short* x, const unsigned short* y, unsigned short* z);
/* y = x less the nearest multiple of pi. */
int qredpi(const unsigned short* x, unsigned short* y);
/* s = sin x and c = cos x for an angle x in units of which nTurn make a full
   turn (360 for degrees, 400 for grads; a multiple of 8). x is reduced modulo
   the turn exactly, in its own unit, before it is converted to radians: every
   multiple of a quarter turn gives exact zeros and ones, an eighth of a turn
   exactly equal s and c, and 30 degrees (nTurn divisible by 12) s = 1/2.
   A null s or c is not computed. */
int qsincosturn(const unsigned short* x, long nTurn, unsigned short* s, unsigned short* c);

/* y = Gamma(x). The poles 0, -1, -2, ... report "qgamma" singularity and give
   the largest magnitude; a result beyond the range reports "qgamma" overflow
   and gives the largest magnitude, one below it gives 0. */
int qgamma(const unsigned short* x, unsigned short* y);
/* y = x! = Gamma(x + 1): for a whole x >= 0 the product 2 3 ... x, rounded
   once; otherwise Gamma(x + 1) with x + 1 formed exactly. Reports as qgamma,
   under the name "qfac". */
int qfac(const unsigned short* x, unsigned short* y);

/* ---- Complex functions ---- */

int qcadd(const qcmplx* a, const qcmplx* b, qcmplx* c);  /* c = a + b */
int qcsub(const qcmplx* a, const qcmplx* b, qcmplx* c);  /* c = b - a */
int qcmul(const qcmplx* a, const qcmplx* b, qcmplx* c);  /* c = a * b */
/* c = b / a; a == 0 gives (largest magnitude, 0) and a "qcdiv" report. */
int qcdiv(const qcmplx* a, const qcmplx* b, qcmplx* c);
/* |z| in r->r; r->i is not written. */
int qcabs(const qcmplx* z, qcmplx* r);
int qcexp(const qcmplx* z, qcmplx* w);    /* e^z */
int qclog(const qcmplx* z, qcmplx* w);    /* ln|z| + i arg z */
int qcsin(const qcmplx* z, qcmplx* w);
int qccos(const qcmplx* z, qcmplx* w);
int qcsinh(const qcmplx* z, qcmplx* w);
int qccosh(const qcmplx* z, qcmplx* w);
int qctanh(const qcmplx* z, qcmplx* w);
int qcsqrt(const qcmplx* z, qcmplx* w);   /* principal square root */
int qcpow(const qcmplx* z, const qcmplx* w, qcmplx* r);  /* r = z^w */
int qcatan(const qcmplx* z, qcmplx* w);
int qcasin(const qcmplx* z, qcmplx* w);
int qcacos(const qcmplx* z, qcmplx* w);
int qcatanh(const qcmplx* z, qcmplx* w);
int qcasinh(const qcmplx* z, qcmplx* w);
int qcacosh(const qcmplx* z, qcmplx* w);

#ifdef __cplusplus
}
#endif

#endif /* CALCUDEX_NUMERICS_QLIB_H */
