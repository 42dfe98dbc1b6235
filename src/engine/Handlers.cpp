#include "engine/Handlers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/BitHandlers.h"
#include "engine/BitOperations.h"
#include "engine/EngineState.h"
#include "engine/complex.h"

namespace {

constexpr double mg_dbPi = 3.141592653589793;

// Largest n whose factorial is a finite double.
constexpr double mg_dbMaxFactorial = 170.0;

bool HasOperands(long nCount, long nBase, long nNeeded)
{
    if (nCount - nBase < nNeeded) {
        SetErrorCode(ERR_SYNTAX);
        return false;
    }
    return true;
}

bool IsWhole(double x)
{
    return std::isfinite(x) && x == std::floor(x);
}

bool IsFinite(COMPLEX z)
{
    return std::isfinite(z.x) && std::isfinite(z.y);
}

bool IsNaN(COMPLEX z)
{
    return std::isnan(z.x) || std::isnan(z.y);
}

// Keeps 12 decimal places of a result, so that sin(30) in degrees is exactly
// 0.5 instead of 0.49999999999999994.
double CutTo12Places(double x)
{
    if (!std::isfinite(x))
        return x;
    char szText[512];
    std::snprintf(szText, sizeof(szText), "%.12f", x);
    return std::strtod(szText, nullptr);
}

void PushResult(COMPLEX* pStack, long& nCount, COMPLEX z)
{
    pStack[nCount] = z;
    ++nCount;
}

// Frame of the two-operand handlers: the operation gets the left and the
// right operand and returns false after setting an error code.
template <typename Operation>
void Binary(COMPLEX* pStack, long& nCount, long nBase, Operation operation)
{
    if (!HasOperands(nCount, nBase, 2))
        return;
    const COMPLEX a = pStack[nCount - 2];
    const COMPLEX b = pStack[nCount - 1];
    nCount -= 2;
    COMPLEX r{0.0, 0.0};
    if (!operation(a, b, r))
        return;
    PushResult(pStack, nCount, r);
}

// Frame of the one-operand handlers.
template <typename Operation>
void Unary(COMPLEX* pStack, long& nCount, long nBase, Operation operation)
{
    if (!HasOperands(nCount, nBase, 1))
        return;
    const COMPLEX z = pStack[nCount - 1];
    nCount -= 1;
    COMPLEX r{0.0, 0.0};
    if (!operation(z, r))
        return;
    PushResult(pStack, nCount, r);
}

// A plain function of one argument whose failure is a NaN part.
void Function(COMPLEX* pStack, long& nCount, long nBase, COMPLEX (*pfn)(COMPLEX), int nError)
{
    Unary(pStack, nCount, nBase, [=](COMPLEX z, COMPLEX& r) {
        r = pfn(z);
        if (IsNaN(r)) {
            SetErrorCode(nError);
            return false;
        }
        return true;
    });
}

double AngleToRadians(double x)
{
    if (g_Mode == MODE_DEGREES)
        return x * mg_dbPi / 180.0;
    if (g_Mode == MODE_GRADS)
        return x * mg_dbPi / 200.0;
    return x;
}

double RadiansToAngle(double x)
{
    if (g_Mode == MODE_DEGREES)
        return x * 180.0 / mg_dbPi;
    if (g_Mode == MODE_GRADS)
        return x * 200.0 / mg_dbPi;
    return x;
}

// Circular functions: a complex argument switches the engine to radians for
// good; a real one is taken in the current angle mode.
void Circular(COMPLEX* pStack, long& nCount, long nBase, COMPLEX (*pfn)(COMPLEX), int nError,
              bool bCut)
{
    Unary(pStack, nCount, nBase, [=](COMPLEX z, COMPLEX& r) {
        if (z.y != 0.0)
            g_Mode = MODE_RADIANS;
        else
            z.x = AngleToRadians(z.x);
        r = pfn(z);
        if (bCut)
            r.x = CutTo12Places(r.x);
        if (IsNaN(r)) {
            SetErrorCode(nError);
            return false;
        }
        return true;
    });
}

// Inverse circular functions: a complex result switches to radians, a real
// one is given in the current angle mode.
void InverseCircular(COMPLEX* pStack, long& nCount, long nBase, COMPLEX (*pfn)(COMPLEX), int nError)
{
    Unary(pStack, nCount, nBase, [=](COMPLEX z, COMPLEX& r) {
        r = pfn(z);
        if (IsNaN(r)) {
            SetErrorCode(nError);
            return false;
        }
        if (r.y != 0.0)
            g_Mode = MODE_RADIANS;
        else
            r.x = RadiansToAngle(r.x);
        return true;
    });
}

bool RequireReal(COMPLEX z)
{
    if (z.y != 0.0) {
        SetErrorCode(ERR_COMPLEX);
        return false;
    }
    return true;
}

// z^w with the overflow guard of "^": results beyond the double range are
// reported instead of travelling on as infinities.
bool Power(COMPLEX z, COMPLEX w, COMPLEX& r)
{
    r = complex_pow(z, w);
    // An imaginary part that is only rounding noise of a real power is dropped.
    if (std::fabs(r.y) < 1e-12)
        r.y = 0.0;
    if (!IsFinite(r)) {
        SetErrorCode(ERR_OUT_OF_RANGE);
        return false;
    }
    return true;
}

// The index-th root of a radicand.
bool RootOf(COMPLEX radicand, COMPLEX index, COMPLEX& r)
{
    if (index.x == 0.0 && index.y == 0.0) {
        SetErrorCode(ERR_DIVISION);
        return false;
    }
    return Power(radicand, complex_inverse(index), r);
}

// a * 10^b
bool TimesPowerOfTen(COMPLEX a, COMPLEX b, COMPLEX& r)
{
    COMPLEX t;
    if (!Power(COMPLEX{10.0, 0.0}, b, t))
        return false;
    r = complex_mul(a, t);
    if (!IsFinite(r)) {
        SetErrorCode(ERR_OUT_OF_RANGE);
        return false;
    }
    return true;
}

// How the bit operators read and make the numbers of this evaluator.
struct ComplexNumbers {
    using Number = COMPLEX;
    static bool IsReal(const COMPLEX& z) { return RequireReal(z); }
    static double RealPart(const COMPLEX& z) { return z.x; }
    static COMPLEX Make(double d) { return COMPLEX{d, 0.0}; }
};

// Remainder |a| mod |b| of two whole numbers that fit a 32-bit integer.
bool WholeRemainder(double a, double b, double& dbResult)
{
    int32_t na = 0;
    int32_t nb = 0;
    if (!ToInt32Exact(a, na) || !ToInt32Exact(b, nb)) {
        SetErrorCode(ERR_NOT_WHOLE);
        return false;
    }
    if (nb == 0) {
        SetErrorCode(ERR_DIVISION);
        return false;
    }
    const int64_t nA = na < 0 ? -static_cast<int64_t>(na) : na;
    const int64_t nB = nb < 0 ? -static_cast<int64_t>(nb) : nb;
    dbResult = static_cast<double>(nA % nB);
    return true;
}

}  // namespace

void Add(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        r = complex_add(a, b);
        return true;
    });
}

void Sub(COMPLEX* pStack, long& nCount, long nBase)
{
    // A "-" with a single operand in its group is a sign.
    if (nCount - nBase == 1) {
        COMPLEX& z = pStack[nCount - 1];
        z = complex_sub(COMPLEX{0.0, 0.0}, z);
        return;
    }
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        r = complex_sub(a, b);
        return true;
    });
}

void Mul(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        r = complex_mul(a, b);
        return true;
    });
}

void Div(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        if (b.x == 0.0 && b.y == 0.0) {
            SetErrorCode(ERR_DIVISION);
            return false;
        }
        r = complex_div(a, b);
        return true;
    });
}

void Pow(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        if (b.x == 0.0 && b.y == 0.0) {
            r = COMPLEX{1.0, 0.0};
            return true;
        }
        if (!(logabs(a) * complex_abs(b) < 288.0)) {
            SetErrorCode(ERR_OUT_OF_RANGE);
            return false;
        }
        return Power(a, b, r);
    });
}

void Root(COMPLEX* pStack, long& nCount, long nBase)
{
    // The index stands on the left: 3 root 8 = 2.
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) { return RootOf(b, a, r); });
}

void iroot(COMPLEX* pStack, long& nCount, long nBase)
{
    // The index stands on the right: 8 iroot 3 = 2.
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) { return RootOf(a, b, r); });
}

void Exp(COMPLEX* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        r = complex_exp(z);
        if (!IsFinite(r)) {
            SetErrorCode(ERR_OUT_OF_RANGE);
            return false;
        }
        return true;
    });
}

void iexp(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, TimesPowerOfTen);
}

void Percent(COMPLEX* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        if (!RequireReal(z))
            return false;
        r = COMPLEX{z.x / 100.0, 0.0};
        return true;
    });
}

void Factorial(COMPLEX* pStack, long& nCount, long nBase)
{
    // x! = Gamma(x + 1) as in the extended family: the product for whole x,
    // the gamma function between them; a negative whole number is a pole.
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        if (!RequireReal(z))
            return false;
        if (IsWhole(z.x) && z.x < 0.0) {
            SetErrorCode(ERR_LIBRARY);
            return false;
        }
        if (z.x > mg_dbMaxFactorial) {
            SetErrorCode(ERR_OUT_OF_RANGE);
            return false;
        }
        double dbProduct = 1.0;
        if (IsWhole(z.x)) {
            for (int k = 2; k <= static_cast<int>(z.x); ++k)
                dbProduct *= k;
        } else {
            dbProduct = std::tgamma(z.x + 1.0);
        }
        r = COMPLEX{dbProduct, 0.0};
        return true;
    });
}

void mod(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](COMPLEX a, COMPLEX b, COMPLEX& r) {
        if (!RequireReal(a) || !RequireReal(b))
            return false;
        double dbResult = 0.0;
        if (!WholeRemainder(a.x, b.x, dbResult))
            return false;
        r = COMPLEX{dbResult, 0.0};
        return true;
    });
}

void shl(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ComplexNumbers>(SHL));
}

void shr(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ComplexNumbers>(SHR));
}

void rtl(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ComplexNumbers>(RTL));
}

void rtr(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ComplexNumbers>(RTR));
}

void ANDF(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ComplexNumbers>(BitAnd));
}

void ORF(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ComplexNumbers>(BitOr));
}

void XORF(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ComplexNumbers>(BitXor));
}

void NANDF(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ComplexNumbers>(BitNand));
}

void NORF(COMPLEX* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ComplexNumbers>(BitNor));
}

void Not(COMPLEX* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        if (!RequireReal(z))
            return false;
        r = COMPLEX{static_cast<double>(WordNot(z.x)), 0.0};
        return true;
    });
}

void cpl(COMPLEX* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        if (!RequireReal(z))
            return false;
        r = COMPLEX{static_cast<double>(WordComplement(z.x)), 0.0};
        return true;
    });
}

void Sqrt(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_sqrt, ERR_SQRT);
}

void Abs(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, [](COMPLEX z) { return COMPLEX{complex_abs(z), 0.0}; },
             ERR_ABSOLUTE);
}

// Logarithms keep 12 decimal places like the circular functions; the
// logarithm of zero has no value and is reported.
static void Logarithm(COMPLEX* pStack, long& nCount, long nBase, COMPLEX (*pfn)(COMPLEX))
{
    Unary(pStack, nCount, nBase, [=](COMPLEX z, COMPLEX& r) {
        r = pfn(z);
        r.x = CutTo12Places(r.x);
        if (!IsFinite(r)) {
            SetErrorCode(ERR_LOGARITHM);
            return false;
        }
        return true;
    });
}

void Ln(COMPLEX* pStack, long& nCount, long nBase)
{
    Logarithm(pStack, nCount, nBase, complex_log);
}

void Log(COMPLEX* pStack, long& nCount, long nBase)
{
    Logarithm(pStack, nCount, nBase, complex_log10);
}

void Sin(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_sin, ERR_SIN, true);
}

void Cos(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_cos, ERR_COS, true);
}

void Tan(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_tan, ERR_TAN, true);
}

void CTan(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_cot, ERR_COTAN, false);
}

void Sec(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_sec, ERR_SEC, true);
}

void Csec(COMPLEX* pStack, long& nCount, long nBase)
{
    Circular(pStack, nCount, nBase, complex_csc, ERR_CSC, true);
}

void ASin(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arcsin, ERR_ARCSIN);
}

void ACos(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arccos, ERR_ARCCOS);
}

void ATan(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arctan, ERR_ARCTAN);
}

void ACot(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arccot, ERR_ARCCOT);
}

void ASec(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arcsec, ERR_ARCSEC);
}

void ACsec(COMPLEX* pStack, long& nCount, long nBase)
{
    InverseCircular(pStack, nCount, nBase, complex_arccsc, ERR_ARCCSC);
}

void Sinh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_sinh, ERR_SINH);
}

void Cosh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_cosh, ERR_COSH);
}

void Tanh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_tanh, ERR_TANH);
}

void Ctanh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_coth, ERR_COTANH);
}

void Sech(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_sech, ERR_SECH);
}

void Csech(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_csch, ERR_CSCH);
}

void ASinh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_arcsinh, ERR_ARCSINH);
}

void ACosh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_arccosh, ERR_ARCCOSH);
}

void ATanh(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_arctanh, ERR_ARCTANH);
}

void ACoth(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_arccoth, ERR_ARCCOTH);
}

void ASech(COMPLEX* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, complex_arcsech, ERR_ARCSECH);
}

void ACsech(COMPLEX* pStack, long& nCount, long nBase)
{
    // Alone among the hyperbolic functions of this family, a real inverse
    // cosecant is given in degrees in degree mode.
    Unary(pStack, nCount, nBase, [](COMPLEX z, COMPLEX& r) {
        r = complex_arccsch(z);
        if (IsNaN(r)) {
            SetErrorCode(ERR_ARCCSCH);
            return false;
        }
        if (r.y == 0.0 && g_Mode == MODE_DEGREES)
            r.x = r.x * 180.0 / mg_dbPi;
        return true;
    });
}
