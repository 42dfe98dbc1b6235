#include "numerics/NumericalMethods.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/ErrorCodes.h"

// ---------------------------------------------------------------------------
// Root finding: Brent's method

double fnroot(double a, double b, LPFNROOTFUNCTION f, void* pContext)
{
    constexpr int nMaxIterations = 99;
    if (a > b)
        std::swap(a, b);
    double fa = f(a, pContext);
    double fb = f(b, pContext);
    // A bound where f has no value (NaN) brackets nothing; every comparison
    // below would be false and the bound would come back as the root.
    if (std::isnan(fa) || std::isnan(fb)) {
        SetErrorCode(ERR_ROOT_NOT_FOUND);
        return 0.0;
    }
    if (std::fabs(fa) < 1e-8)
        return a;
    if (std::fabs(fb) < 1e-8)
        return b;
    if ((fa > 0.0 && fb > 0.0) || (fa < 0.0 && fb < 0.0)) {
        SetErrorCode(ERR_ROOT_NOT_FOUND);
        return 0.0;
    }

    double c = b;
    double fc = fb;
    double d = 0.0;
    double e = 0.0;
    bool bFound = false;
    for (int nIteration = 0; nIteration < nMaxIterations; ++nIteration) {
        // Keep the root bracketed between b and c.
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
            c = a;
            fc = fa;
            d = b - a;
            e = d;
        }
        // b is the best estimate so far.
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        // The root counts as found once the bracket is as narrow as
        // 2e-6 |b| + 5e-13 (the absolute part settles roots at zero). The
        // remaining iterations then narrow it on to the last bits of b: a
        // relative 2e-6 would show a root to twelve digits of which only six
        // are right, and an absolute 5e-13 would show 0.1 as 0.09999999999992.
        // The bracket only ever shrinks, so this can only improve the answer;
        // a multiple root, where the bracket shrinks slowly, keeps what the
        // iterations reached.
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= 2.0e-6 * std::fabs(b) + 5.0e-13)
            bFound = true;
        const double tol1 = 4.0 * DBL_EPSILON * std::fabs(b) + (bFound ? DBL_MIN : 5.0e-13);
        if (std::fabs(xm) <= tol1 || fb == 0.0)
            return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p;
            double q;
            if (a == c) {
                p = 2.0 * xm * s;  // secant step
                q = 1.0 - s;
            } else {
                q = fa / fc;  // inverse quadratic interpolation
                const double r = fb / fc;
                p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
                q = (q - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0)
                q = -q;
            p = std::fabs(p);
            const double dbMin1 = 3.0 * xm * q - std::fabs(tol1 * q);
            const double dbMin2 = std::fabs(e * q);
            if (2.0 * p < std::fmin(dbMin1, dbMin2)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        fb = f(b, pContext);
        if (std::isnan(fb))
            break;
    }
    // A bracket narrowed that far still holds the root (unless the last
    // point had no value).
    if (bFound && !std::isnan(fb))
        return b;
    SetErrorCode(ERR_ROOT_NOT_FOUND);
    return 0.0;
}

// ---------------------------------------------------------------------------
// The root nearest a guess

namespace {

// 0 and +-10^(k/100) for 10^(k/100) from 1e-8 up to the bounds, and the
// bounds themselves, ascending: dense where rates usually are, and about
// 2.3 % apart relative to their size everywhere.
std::vector<double> SamplePoints(double dbLowest, double dbHighest)
{
    std::vector<double> vecPoints = {dbLowest, dbHighest};
    if (dbLowest < 0.0 && dbHighest > 0.0)
        vecPoints.push_back(0.0);
    for (int k = -800;; ++k) {
        const double x = std::pow(10.0, k / 100.0);
        const bool bBelow = -x > dbLowest;
        const bool bAbove = x < dbHighest;
        if (!bBelow && !bAbove)
            break;
        if (bBelow)
            vecPoints.push_back(-x);
        if (bAbove)
            vecPoints.push_back(x);
    }
    std::sort(vecPoints.begin(), vecPoints.end());
    return vecPoints;
}

}  // namespace

double fnrootnear(double dbLowest, double dbHighest, double dbGuess, LPFNROOTFUNCTION f, void* pContext)
{
    const std::vector<double> vecPoints = SamplePoints(dbLowest, dbHighest);
    std::vector<double> vecValues(vecPoints.size());
    for (size_t k = 0; k < vecPoints.size(); ++k)
        vecValues[k] = f(vecPoints[k], pContext);
    // The bracket [a, b] with a sign change (or a zero at a) nearest the guess.
    double dbBestDistance = INFINITY;
    size_t nBest = vecPoints.size();
    for (size_t k = 0; k + 1 < vecPoints.size(); ++k) {
        const double fa = vecValues[k];
        const double fb = vecValues[k + 1];
        if (std::isnan(fa) || std::isnan(fb) || !(fa == 0.0 || (fa < 0.0) != (fb < 0.0)))
            continue;
        const double dbDistance = std::fabs(0.5 * (vecPoints[k] + vecPoints[k + 1]) - dbGuess);
        if (dbDistance < dbBestDistance) {
            dbBestDistance = dbDistance;
            nBest = k;
        }
    }
    if (nBest == vecPoints.size()) {
        SetErrorCode(ERR_ROOT_NOT_FOUND);
        return 0.0;
    }
    if (vecValues[nBest] == 0.0)
        return vecPoints[nBest];
    return fnroot(vecPoints[nBest], vecPoints[nBest + 1], f, pContext);
}

// ---------------------------------------------------------------------------
// Polynomial extrapolation: Neville's algorithm

void polint(const double* xa, const double* ya, int n, double x, double& y, double& dy)
{
    y = 0.0;
    dy = 0.0;
    if (n <= 0)
        return;
    std::vector<double> c(ya, ya + n);
    std::vector<double> d(ya, ya + n);
    // Start from the tabulated point nearest x.
    int ns = 0;
    double dbNearest = std::fabs(x - xa[0]);
    for (int i = 1; i < n; ++i) {
        const double dbDistance = std::fabs(x - xa[i]);
        if (dbDistance < dbNearest) {
            ns = i;
            dbNearest = dbDistance;
        }
    }
    y = ya[ns];
    --ns;
    for (int m = 1; m < n; ++m) {
        for (int i = 0; i < n - m; ++i) {
            const double ho = xa[i] - x;
            const double hp = xa[i + m] - x;
            const double w = c[i + 1] - d[i];
            double den = ho - hp;
            if (den == 0.0)
                return;  // two equal abscissas: keep what has been accumulated
            den = w / den;
            d[i] = hp * den;
            c[i] = ho * den;
        }
        // Take the correction that keeps the path through the tableau
        // closest to the centre.
        dy = (2 * (ns + 1) < n - m) ? c[ns + 1] : d[ns--];
        y += dy;
    }
}
