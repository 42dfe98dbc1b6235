// Decimal text to qreal and back.

#include <cstdio>
#include <cstring>

#include "numerics/DiagnosticLog.h"
#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

typedef unsigned __int128 u128;

namespace {

constexpr int kMaxDigits = 99;      // significant digits asctoq accumulates
constexpr int kMaxPrintDigits = 99; // digits after the point qtoascex writes
constexpr int kMaxTens = 5009;      // largest power of ten inside the range

// n = n * f + d on a 384-bit integer (least significant limb first).
inline void MulAdd(uint64_t* n, uint64_t f, uint64_t d)
{
    uint64_t c = d;
    for (int i = 0; i < kLimbs; ++i) {
        u128 t = u128(n[i]) * f + c;
        n[i] = uint64_t(t);
        c = uint64_t(t >> 64);
    }
}

// Decimal digits gathered 19 at a time (10^19 < 2^64) before they go into
// the wide integer.
struct DigitChunk {
    uint64_t nValue = 0;
    uint64_t nScale = 1;  // 10^(digits in the chunk)
    int nCount = 0;

    void Add(uint64_t* n, unsigned d)
    {
        nValue = nValue * 10 + d;
        nScale *= 10;
        if (++nCount == 19)
            Flush(n);
    }

    void Flush(uint64_t* n)
    {
        if (nCount == 0)
            return;
        MulAdd(n, nScale, nValue);
        nValue = 0;
        nScale = 1;
        nCount = 0;
    }
};

// x = x * 10^|s| (s > 0) or x / 10^|s| (s < 0), |s| < 8192, the power
// formed from the qtens entries picked by the binary digits of |s|.
void ScaleByTen(unsigned short* x, int s)
{
    int nAbs = s < 0 ? -s : s;
    if (s < 0 && nAbs > kMaxTens) {
        // 10^|s| itself would overflow although the quotient may not: take
        // 10^4096 out first.
        qdiv(qtens[0], x, x);
        nAbs -= 4096;
    }
    qreal p;
    qmov(qone, p);
    for (int k = 0; k < 13; ++k) {
        if (nAbs & (1 << (12 - k)))
            qmul(qtens[k], p, p);
    }
    if (s > 0)
        qmul(p, x, x);
    else
        qdiv(p, x, x);
}

void ConversionError(unsigned short* x)
{
    LogDiagnostic("calcudex.numerics", "asctoq conversion error");
    SetZero(x);
}

}  // namespace

int asctoq(const char* s, unsigned short* x)
{
    uint64_t n[kLimbs] = {0};
    DigitChunk chunk;
    int nDigits = 0;    // digits accumulated into n
    int nPlaces = 0;    // decimal places of n
    int nDropped = 0;   // integer digits read beyond the accumulated ones
    bool bNegative = false, bSign = false, bPoint = false, bExponent = false;
    const char* p = s;
    for (;; ++p) {
        char c = *p;
        if (c == '\0' || c == '\n' || c == '\r')
            break;
        if (c == ' ')
            continue;
        if (c == '+' || c == '-') {
            if (bSign) {
                ConversionError(x);
                return 0;
            }
            bSign = true;
            bNegative = c == '-';
            continue;
        }
        if (c == '.') {
            if (bPoint) {
                ConversionError(x);
                return 0;
            }
            bPoint = true;
            continue;
        }
        if (c == 'E' || c == 'e') {
            bExponent = true;
            ++p;
            break;
        }
        if (c < '0' || c > '9') {
            ConversionError(x);
            return 0;
        }
        unsigned d = unsigned(c - '0');
        if (nDigits == 0 && d == 0) {
            // Leading zeros carry no digit of their own; after the point
            // they still move it.
            if (bPoint)
                ++nPlaces;
            continue;
        }
        if (nDigits < kMaxDigits) {
            chunk.Add(n, d);
            ++nDigits;
            if (bPoint)
                ++nPlaces;
        } else if (!bPoint) {
            // Digits past the 99th are ignored, but an ignored digit before
            // the point still scales the number.
            ++nDropped;
        }
    }

    chunk.Flush(n);
    bool bZero = nDigits == 0;
    int nExponent = 0;
    if (bExponent) {
        if (bZero) {
            SetZero(x);
            return 0;
        }
        bool bExpNegative = false;
        if (*p == '-') {
            bExpNegative = true;
            ++p;
        }
        if (*p == '+')
            ++p;
        for (; *p >= '0' && *p <= '9'; ++p) {
            if (nExponent > 3275) {
                if (bExpNegative) {
                    SetZero(x);
                } else {
                    mtherr("asctoq", 3);
                    SetHuge(x, bNegative);
                }
                return 0;
            }
            nExponent = nExponent * 10 + (*p - '0');
        }
        if (bExpNegative)
            nExponent = -nExponent;
    }
    if (bZero) {
        SetZero(x);
        return 0;
    }

    QWORK w;
    std::memcpy(w.m, n, sizeof w.m);
    w.nSign = bNegative;
    w.nExp = QEXPBIAS + 383;
    Normalize(w);  // a 99-digit integer is below 2^329: exact, nothing to round
    Pack(w, x);

    int nScale = nExponent - nPlaces + nDropped;
    if (nScale > kMaxTens) {
        // At least 10^5010: beyond the range whatever the digits.
        mtherr("asctoq", 3);
        SetHuge(x, bNegative);
        return 0;
    }
    if (nScale < -8191) {
        SetZero(x);
        return 0;
    }
    if (nScale != 0)
        ScaleByTen(x, nScale);
    return 0;
}

namespace {

// Big unsigned integers of up to kBig limbs (least significant first) for
// the exact tie test below.
constexpr int kBig = 7;

// n = n * 5^a; false when the product no longer fits in kBig limbs.
bool MulPow5(uint64_t* n, int a)
{
    while (a > 0) {
        int k = a > 27 ? 27 : a;  // 5^27 < 2^63
        uint64_t f = 1;
        for (int i = 0; i < k; ++i)
            f *= 5;
        uint64_t c = 0;
        for (int i = 0; i < kBig; ++i) {
            u128 t = u128(n[i]) * f + c;
            n[i] = uint64_t(t);
            c = uint64_t(t >> 64);
        }
        if (c != 0)
            return false;
        a -= k;
    }
    return true;
}

// True when |x| lies exactly halfway between two numbers of nDigits + 1
// significant decimal digits: |x| = (D + 1/2) 10^s, D the digits written,
// s = nExp - nDigits. The scaled number the digits come from is rounded, so
// it cannot tell such a tie from a near miss; this test works on the exact
// binary value: 2|x| = (2D + 1) 10^s, with both odd parts compared.
bool ExactTie(const unsigned short* x, const char* pDigits, int nDigits, int nExp)
{
    if (x[1] == 0)
        return false;
    // |x| = Mo 2^e2 with Mo odd.
    QWORK w;
    Unpack(x, w);
    uint64_t mo[kBig] = {0};
    for (int i = 0; i < kLimbs; ++i)
        mo[i] = w.m[i];
    int t = 0;
    while (mo[t >> 6] == 0)
        t += 64;
    t += __builtin_ctzll(mo[t >> 6]);
    ShiftDown(mo, t);  // the top limb mo[6] is zero and stays so
    long e2 = long(w.nExp) - QEXPBIAS - 383 + t;
    // 2D + 1 (below 2 10^100 < 2^334).
    uint64_t d[kBig] = {0};
    for (int i = 0; i <= nDigits; ++i) {
        uint64_t c = unsigned(pDigits[i] - '0');
        for (int k = 0; k < kBig; ++k) {
            u128 v = u128(d[k]) * 10 + c;
            d[k] = uint64_t(v);
            c = uint64_t(v >> 64);
        }
    }
    uint64_t c = 1;
    for (int k = 0; k < kBig; ++k) {
        u128 v = (u128(d[k]) << 1) + c;
        d[k] = uint64_t(v);
        c = uint64_t(v >> 64);
    }
    long s = long(nExp) - nDigits;
    if (s >= 0) {
        // Mo 2^(e2+1) = (2D+1) 5^s 2^s
        if (e2 + 1 != s || s > 200 || !MulPow5(d, int(s)))
            return false;
    } else {
        // Mo 5^|s| 2^(e2+1+|s|) = 2D+1
        if (e2 + 1 - s != 0 || -s > 200 || !MulPow5(mo, int(-s)))
            return false;
    }
    for (int k = 0; k < kBig; ++k) {
        if (mo[k] != d[k])
            return false;
    }
    return true;
}

// The significant digits of |x| and its decimal exponent, rounded half to
// even to nDigits + 1 digits. Writes the digits (no NUL) and returns the
// exponent.
int DecimalDigits(const unsigned short* x, int nDigits, char* pDigits)
{
    if (x[1] == 0) {
        for (int i = 0; i <= nDigits; ++i)
            pDigits[i] = '0';
        return 0;
    }
    qreal y;
    qmov(x, y);
    y[0] = 0;
    int nExp = 0;
    if (qcmp(y, qtens[12]) >= 0) {
        // Divide by the powers 10^4096 ... 10^1 that still fit.
        for (int k = 0; k < 13; ++k) {
            if (qcmp(qtens[k], y) <= 0) {
                qdiv(qtens[k], y, y);
                nExp += 1 << (12 - k);
            }
        }
    } else if (qcmp(y, qone) < 0) {
        // Multiply up while below 0.1, then once more by 10.
        for (int k = 0; k < 13 && qcmp(y, qmtens[12]) < 0; ++k) {
            if (qcmp(qmtens[k], y) >= 0) {
                qmul(qtens[k], y, y);
                nExp -= 1 << (12 - k);
            }
        }
        qmul(qtens[12], y, y);
        nExp -= 1;
    }
    if (qcmp(y, qone) < 0) {
        // The rounded powers of ten can leave a hair below 1.
        qmul(qtens[12], y, y);
        nExp -= 1;
    }

    // y in [1, 10]: as a fixed-point number with 4 integer bits and 380
    // fraction bits the digits come out exactly.
    QWORK w;
    Unpack(y, w);
    ShiftDown(w.m, 3 - (w.nExp - QEXPBIAS));
    constexpr uint64_t kFracMask = (1ull << 60) - 1;  // below bit 380
    auto NextDigit = [&w]() {
        unsigned d = unsigned(w.m[kLimbs - 1] >> 60);
        w.m[kLimbs - 1] &= kFracMask;
        uint64_t c = 0;
        for (int i = 0; i < kLimbs; ++i) {
            u128 t = u128(w.m[i]) * 10 + c;
            w.m[i] = uint64_t(t);
            c = uint64_t(t >> 64);
        }
        return d;
    };
    unsigned nFirst = NextDigit();
    if (nFirst >= 10) {
        // y came out as 10: the digits are 1 followed by those of y / 10.
        qreal t;
        qdiv(qtens[12], y, t);
        Unpack(t, w);
        ShiftDown(w.m, 3 - (w.nExp - QEXPBIAS));
        nFirst = NextDigit();
        nExp += 1;
    }
    pDigits[0] = char('0' + nFirst);
    for (int i = 1; i <= nDigits; ++i)
        pDigits[i] = char('0' + NextDigit());
    // One more digit and the rest decide the rounding, half to even. Near
    // the halfway point the exact test settles whether it is a true tie.
    unsigned nNext = NextDigit();
    bool bRest = !MantIsZero(w.m);
    bool bOdd = ((pDigits[nDigits] - '0') & 1) != 0;
    bool bUp;
    if ((nNext == 4 || nNext == 5) && ExactTie(x, pDigits, nDigits, nExp))
        bUp = bOdd;
    else
        bUp = nNext > 5 || (nNext == 5 && (bRest || bOdd));
    if (bUp) {
        int i = nDigits;
        for (; i >= 0; --i) {
            if (pDigits[i] != '9') {
                ++pDigits[i];
                break;
            }
            pDigits[i] = '0';
        }
        if (i < 0) {
            pDigits[0] = '1';
            nExp += 1;
        }
    }
    return nExp;
}

inline int ClampDigits(int n)
{
    return n < 0 ? 0 : (n > kMaxPrintDigits ? kMaxPrintDigits : n);
}

void WriteExponentForm(char cSign, const char* pDigits, int nDigits, int nExp, char* s)
{
    // At most 1 + 1 + 1 + 99 + 6 characters and the NUL: within QASCLEN.
    std::snprintf(s, QASCLEN, "%c%c.%.*sE%d", cSign, pDigits[0], nDigits, pDigits + 1, nExp);
}

}  // namespace

int qtoascex(const unsigned short* x, char* s, int n)
{
    n = ClampDigits(n);
    char szDigits[kMaxPrintDigits + 1];
    int nExp = DecimalDigits(x, n, szDigits);
    WriteExponentForm(x[0] ? '-' : ' ', szDigits, n, nExp, s);
    return 0;
}

int qtoasc(const unsigned short* x, char* s, int n)
{
    n = ClampDigits(n);
    char szDigits[kMaxPrintDigits + 1];
    int k = DecimalDigits(x, n, szDigits);
    char cSign = x[0] ? '-' : ' ';
    int nCount = n + 1;  // significant digits

    // Length of the positional text before trailing zeros are removed: the
    // sign, the digits (padded with zeros up to the point when k > n), the
    // point, and "0." plus |k| - 1 zeros in front when k < 0.
    int nLength;
    if (k >= 0)
        nLength = 1 + (k + 1 > nCount ? k + 1 : nCount) + 1;
    else
        nLength = 1 + 2 + (-k - 1) + nCount;
    if (nLength >= QASCLEN) {
        WriteExponentForm(cSign, szDigits, n, k, s);
        return 0;
    }

    int j = 0;
    s[j++] = cSign;
    if (k >= 0) {
        for (int i = 0; i <= k; ++i)
            s[j++] = i < nCount ? szDigits[i] : '0';
        s[j++] = '.';
        for (int i = k + 1; i < nCount; ++i)
            s[j++] = szDigits[i];
    } else {
        s[j++] = '0';
        s[j++] = '.';
        for (int i = 0; i < -k - 1; ++i)
            s[j++] = '0';
        for (int i = 0; i < nCount; ++i)
            s[j++] = szDigits[i];
    }
    // There is always a point here, so stripping zeros stops at it.
    while (s[j - 1] == '0')
        --j;
    if (s[j - 1] == '.')
        --j;
    s[j] = '\0';
    return 0;
}
