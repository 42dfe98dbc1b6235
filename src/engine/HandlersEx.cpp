#include "engine/HandlersEx.h"

#include <cstdint>

#include "engine/BitHandlers.h"
#include "engine/BitOperations.h"
#include "engine/EngineState.h"
#include "engine/IntegerFunctions.h"
#include "engine/qcomplex.h"

namespace {

struct AngleConstants {
    qreal epsilon;      // 1e-64: smaller imaginary parts count as zero
    qreal halfPi;
    qreal degToRad;     // pi / 180
    qreal gradToRad;    // pi / 200
    qreal radToDeg;     // 180 / pi
    qreal radToGrad;    // 200 / pi
    qreal hundred;
    qreal ten;
};

const AngleConstants& Constants()
{
    static const AngleConstants constants = [] {
        AngleConstants c{};
        const double dbEpsilon = 1e-64;
        etoq(&dbEpsilon, c.epsilon);
        qmul(qhalf, qpi, c.halfPi);
        qreal q180;
        qreal q200;
        const long n180 = 180;
        const long n200 = 200;
        const long n100 = 100;
        const long n10 = 10;
        ltoq(&n180, q180);
        ltoq(&n200, q200);
        ltoq(&n100, c.hundred);
        ltoq(&n10, c.ten);
        qdiv(q180, qpi, c.degToRad);
        qdiv(q200, qpi, c.gradToRad);
        qdiv(qpi, q180, c.radToDeg);
        qdiv(qpi, q200, c.radToGrad);
        return c;
    }();
    return constants;
}

bool HasOperands(long nCount, long nBase, long nNeeded)
{
    if (nCount - nBase < nNeeded) {
        SetErrorCode(ERR_SYNTAX);
        return false;
    }
    return true;
}

// |a| <= 1e-64
bool IsNegligible(const unsigned short* a)
{
    qreal magnitude;
    qmov(a, magnitude);
    qabs(magnitude);
    return qcmp(magnitude, Constants().epsilon) <= 0;
}

// A value counts as real when its imaginary part is negligible.
bool RequireReal(const qcmplx& z)
{
    if (!IsNegligible(z.i)) {
        SetErrorCode(ERR_COMPLEX);
        return false;
    }
    return true;
}

void PushResult(qcmplx* pStack, long& nCount, const qcmplx& z)
{
    pStack[nCount] = z;
    ++nCount;
}

// Frames of the two- and one-operand handlers; the operation returns false
// after setting an error code.
template <typename Operation>
void Binary(qcmplx* pStack, long& nCount, long nBase, Operation operation)
{
    if (!HasOperands(nCount, nBase, 2))
        return;
    const qcmplx a = pStack[nCount - 2];
    const qcmplx b = pStack[nCount - 1];
    nCount -= 2;
    qcmplx r = qczero;
    if (!operation(a, b, r))
        return;
    PushResult(pStack, nCount, r);
}

template <typename Operation>
void Unary(qcmplx* pStack, long& nCount, long nBase, Operation operation)
{
    if (!HasOperands(nCount, nBase, 1))
        return;
    const qcmplx z = pStack[nCount - 1];
    nCount -= 1;
    qcmplx r = qczero;
    if (!operation(z, r))
        return;
    PushResult(pStack, nCount, r);
}

// A function computed by a complex routine that reports its own errors.
void Function(qcmplx* pStack, long& nCount, long nBase, qcmplx (*pfn)(const qcmplx&))
{
    Unary(pStack, nCount, nBase, [=](const qcmplx& z, qcmplx& r) {
        r = pfn(z);
        return g_ErrCode == 0;
    });
}

// A sum or difference whose real part cancelled to below 1e-64 of its larger
// operand is rounding noise of the operands (0.1 + 0.2 - 0.3) and is cleared.
// The bound follows the operands, so a value that is merely small (1e-70 + 0)
// stays what it is.
void ClearCancelledRealPart(qcmplx& r, const qcmplx& a, const qcmplx& b)
{
    qreal magnitude, larger, other, bound;
    qmov(r.r, magnitude);
    qabs(magnitude);
    qmov(a.r, larger);
    qabs(larger);
    qmov(b.r, other);
    qabs(other);
    if (qcmp(other, larger) > 0)
        qmov(other, larger);
    qmul(larger, Constants().epsilon, bound);
    if (qcmp(magnitude, bound) < 0)
        qclear(r.r);
}

// The circular functions, computed from the sine and cosine of an angle in
// degrees or grads. Each reports its own error at its poles.
enum Circular { CIRCULAR_SIN, CIRCULAR_COS, CIRCULAR_TAN, CIRCULAR_COT, CIRCULAR_SEC, CIRCULAR_CSC };

int PoleError(Circular circular)
{
    switch (circular) {
    case CIRCULAR_TAN: return ERR_TAN;
    case CIRCULAR_COT: return ERR_COTAN;
    case CIRCULAR_SEC: return ERR_SEC;
    case CIRCULAR_CSC: return ERR_CSC;
    default: return ERR_LIBRARY;
    }
}

// numerator / denominator, a pole when the denominator is an exact zero.
bool Quotient(const unsigned short* numerator, const unsigned short* denominator, Circular circular,
              qcmplx& r)
{
    if (qiszero(denominator)) {
        SetErrorCode(PoleError(circular));
        return false;
    }
    r = qczero;
    qdiv(denominator, numerator, r.r);
    return true;
}

// A real angle in degrees or grads: reduced in its own unit, so that the
// exact angles give exact values and every pole is met exactly (tan 270,
// csc 540) instead of giving a huge number.
bool CircularOfTurn(const unsigned short* x, Circular circular, qcmplx& r)
{
    qreal s;
    qreal c;
    const long nTurn = g_Mode == MODE_DEGREES ? 360 : 400;
    qsincosturn(x, nTurn, circular == CIRCULAR_COS ? nullptr : s, circular == CIRCULAR_SIN ? nullptr : c);
    r = qczero;
    switch (circular) {
    case CIRCULAR_SIN: qmov(s, r.r); return true;
    case CIRCULAR_COS: qmov(c, r.r); return true;
    case CIRCULAR_TAN: return Quotient(s, c, circular, r);
    case CIRCULAR_COT: return Quotient(c, s, circular, r);
    case CIRCULAR_SEC: return Quotient(qone, c, circular, r);
    case CIRCULAR_CSC: return Quotient(qone, s, circular, r);
    }
    return true;
}

// An argument of a forward function: a negligible imaginary part is
// cleared, a real one switches the engine to radians for good.
void SettleAngleMode(qcmplx& z)
{
    if (IsNegligible(z.i))
        qclear(z.i);
    else
        g_Mode = MODE_RADIANS;
}

// Forward hyperbolic functions: a real argument is read in the angle mode.
void ForwardAngle(qcmplx* pStack, long& nCount, long nBase, qcmplx (*pfn)(const qcmplx&))
{
    Unary(pStack, nCount, nBase, [=](const qcmplx& arg, qcmplx& r) {
        qcmplx z = arg;
        SettleAngleMode(z);
        if (g_Mode == MODE_DEGREES)
            qmul(z.r, Constants().degToRad, z.r);
        else if (g_Mode == MODE_GRADS)
            qmul(z.r, Constants().gradToRad, z.r);
        r = pfn(z);
        return g_ErrCode == 0;
    });
}

// The circular functions: exact in degrees and grads, numerical in radians
// and for complex arguments.
void CircularAngle(qcmplx* pStack, long& nCount, long nBase, qcmplx (*pfn)(const qcmplx&),
                   Circular circular)
{
    Unary(pStack, nCount, nBase, [=](const qcmplx& arg, qcmplx& r) {
        qcmplx z = arg;
        SettleAngleMode(z);
        if (g_Mode != MODE_RADIANS)
            return CircularOfTurn(z.r, circular, r);
        if (circular == CIRCULAR_TAN && qiszero(z.i)) {
            // In radians only +-pi/2 itself is caught as a pole: other odd
            // multiples of pi/2 give large finite values.
            qreal distance;
            qmov(z.r, distance);
            qabs(distance);
            qsub(Constants().halfPi, distance, distance);
            if (IsNegligible(distance)) {
                SetErrorCode(ERR_TAN);
                return false;
            }
        }
        r = pfn(z);
        return g_ErrCode == 0;
    });
}

// A real inverse result within rounding of a whole number of degrees or
// grads is that number: asin(0.5) is 30, not 30 less a few units in the
// 101st digit. 2^-328 relative is some hundred units of the last place,
// far below anything a computed angle could mean.
void SnapToWhole(unsigned short* x)
{
    if (qiszero(x) || x[1] <= 328)
        return;
    qreal whole;
    qreal difference;
    qreal tolerance;
    qadd(qhalf, x, whole);
    qfloor(whole, whole);
    qsub(whole, x, difference);
    qabs(difference);
    qmov(x, tolerance);
    qabs(tolerance);
    tolerance[1] = static_cast<unsigned short>(tolerance[1] - 328);
    if (qcmp(difference, tolerance) <= 0)
        qmov(whole, x);
}

// Inverse functions: the result decides. A complex result switches to
// radians, a real one is given in the angle mode.
void InverseAngle(qcmplx* pStack, long& nCount, long nBase, qcmplx (*pfn)(const qcmplx&))
{
    Unary(pStack, nCount, nBase, [=](const qcmplx& z, qcmplx& r) {
        r = pfn(z);
        if (g_ErrCode != 0)
            return false;
        if (IsNegligible(r.i))
            qclear(r.i);
        else
            g_Mode = MODE_RADIANS;
        if (g_Mode == MODE_DEGREES)
            qmul(r.r, Constants().radToDeg, r.r);
        else if (g_Mode == MODE_GRADS)
            qmul(r.r, Constants().radToGrad, r.r);
        if (g_Mode != MODE_RADIANS)
            SnapToWhole(r.r);
        return true;
    });
}

// The index-th root of the radicand; a zero index has no root.
bool RootOf(const qcmplx& radicand, const qcmplx& index, qcmplx& r)
{
    if (qiszero(index.r) && qiszero(index.i)) {
        SetErrorCode(ERR_LIBRARY);
        return false;
    }
    r = qcmplx_pow(radicand, qcmplx_inverse(index));
    return g_ErrCode == 0;
}

// a * 10^b
bool TimesPowerOfTen(const qcmplx& a, const qcmplx& b, qcmplx& r)
{
    const qcmplx scale = qcmplx_pow(qcmplx_make(Constants().ten), b);
    if (g_ErrCode != 0)
        return false;
    r = qcmplx_mul(a, scale);
    return g_ErrCode == 0;
}

// How the bit operators read and make the numbers of this evaluator.
struct ExNumbers {
    using Number = qcmplx;
    static bool IsReal(const qcmplx& z) { return RequireReal(z); }
    static double RealPart(const qcmplx& z) { return qtodouble(z.r); }
    static qcmplx Make(double d) { return qcmplx_fromdouble(d); }
};

}  // namespace

void AddEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        r = qcmplx_add(a, b);
        ClearCancelledRealPart(r, a, b);
        return g_ErrCode == 0;
    });
}

void SubEx(qcmplx* pStack, long& nCount, long nBase)
{
    // A "-" with a single operand in its group is a sign.
    if (nCount - nBase == 1) {
        qcmplx& z = pStack[nCount - 1];
        // Negation is exact: nothing to clear.
        z = qcmplx_sub(qczero, z);
        return;
    }
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        r = qcmplx_sub(a, b);
        ClearCancelledRealPart(r, a, b);
        return g_ErrCode == 0;
    });
}

void MulEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        r = qcmplx_mul(a, b);
        return g_ErrCode == 0;
    });
}

void DivEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        if (qiszero(b.r) && qiszero(b.i)) {
            SetErrorCode(ERR_LIBRARY);
            return false;
        }
        r = qcmplx_div(a, b);
        return g_ErrCode == 0;
    });
}

void PowEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        r = qcmplx_pow(a, b);
        return g_ErrCode == 0;
    });
}

void rootEx(qcmplx* pStack, long& nCount, long nBase)
{
    // The index stands on the left: 3 root 8 = 2.
    Binary(pStack, nCount, nBase,
           [](const qcmplx& a, const qcmplx& b, qcmplx& r) { return RootOf(b, a, r); });
}

void irootEx(qcmplx* pStack, long& nCount, long nBase)
{
    // The index stands on the right: 8 iroot 3 = 2.
    Binary(pStack, nCount, nBase,
           [](const qcmplx& a, const qcmplx& b, qcmplx& r) { return RootOf(a, b, r); });
}

void expEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, TimesPowerOfTen);
}

void iexpEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, TimesPowerOfTen);
}

void PercentEx(qcmplx* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](const qcmplx& z, qcmplx& r) {
        if (!RequireReal(z))
            return false;
        r = qczero;
        qdiv(Constants().hundred, z.r, r.r);
        return true;
    });
}

void FactorialEx(qcmplx* pStack, long& nCount, long nBase)
{
    // x! = Gamma(x + 1): the exact product for whole x, the gamma function
    // between them (5.5! is 287.88...). A negative whole number is a pole,
    // a result beyond the number range no value: both are errors.
    Unary(pStack, nCount, nBase, [](const qcmplx& z, qcmplx& r) {
        if (!RequireReal(z))
            return false;
        r = qczero;
        Clearmerror();
        qfac(z.r, r.r);
        if (iserror()) {
            SetErrorCode(ERR_LIBRARY);
            return false;
        }
        return true;
    });
}

void modEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, [](const qcmplx& a, const qcmplx& b, qcmplx& r) {
        if (!RequireReal(a) || !RequireReal(b))
            return false;
        r = MOD(a.r, b.r);
        return g_ErrCode == 0;
    });
}

void shlEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ExNumbers>(SHL));
}

void shrEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ExNumbers>(SHR));
}

void rtlEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ExNumbers>(RTL));
}

void rtrEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitShift<ExNumbers>(RTR));
}

void ANDFEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ExNumbers>(BitAnd));
}

void ORFEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ExNumbers>(BitOr));
}

void XORFEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ExNumbers>(BitXor));
}

void NANDFEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ExNumbers>(BitNand));
}

void NORFEx(qcmplx* pStack, long& nCount, long nBase)
{
    Binary(pStack, nCount, nBase, BitLogic<ExNumbers>(BitNor));
}

void notEx(qcmplx* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](const qcmplx& z, qcmplx& r) {
        if (!RequireReal(z))
            return false;
        r = qcmplx_fromdouble(static_cast<double>(WordNot(qtodouble(z.r))));
        return true;
    });
}

void cplEx(qcmplx* pStack, long& nCount, long nBase)
{
    Unary(pStack, nCount, nBase, [](const qcmplx& z, qcmplx& r) {
        if (!RequireReal(z))
            return false;
        r = qcmplx_fromdouble(static_cast<double>(WordComplement(qtodouble(z.r))));
        return true;
    });
}

void SqrtEx(qcmplx* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, qcmplx_sqrt);
}

void AbsEx(qcmplx* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, qcmplx_abs);
}

void LnEx(qcmplx* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, qcmplx_log);
}

void LogEx(qcmplx* pStack, long& nCount, long nBase)
{
    Function(pStack, nCount, nBase, qcmplx_log10);
}

void SinEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_sin, CIRCULAR_SIN);
}

void CosEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_cos, CIRCULAR_COS);
}

void TanEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_tan, CIRCULAR_TAN);
}

void CTanEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_cot, CIRCULAR_COT);
}

void SecEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_sec, CIRCULAR_SEC);
}

void CSecEx(qcmplx* pStack, long& nCount, long nBase)
{
    CircularAngle(pStack, nCount, nBase, qcmplx_csc, CIRCULAR_CSC);
}

void ASinEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arcsin);
}

void ACosEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccos);
}

void ATanEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arctan);
}

void ACotEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccot);
}

void ASecEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arcsec);
}

void ACscEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccsc);
}

// In this family the hyperbolic functions follow the angle mode like the
// circular ones.
void SinhEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_sinh);
}

void CoshEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_cosh);
}

void TanhEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_tanh);
}

void CtanhEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_coth);
}

void SechEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_sech);
}

void CSechEx(qcmplx* pStack, long& nCount, long nBase)
{
    ForwardAngle(pStack, nCount, nBase, qcmplx_csch);
}

void ASinhEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arcsinh);
}

void ACoshEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccosh);
}

void ATanhEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arctanh);
}

void ACothEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccoth);
}

void ASechEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arcsech);
}

void ACschEx(qcmplx* pStack, long& nCount, long nBase)
{
    InverseAngle(pStack, nCount, nBase, qcmplx_arccsch);
}
