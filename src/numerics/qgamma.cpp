// The gamma function and the factorial.
//
// Gamma(y) for y >= 60 from Stirling's series
//
//   ln Gamma(y) = (y - 1/2) ln y - y + ln sqrt(2 pi) + sum_k c_k / y^(2k-1),
//   c_k = B_2k / (2k (2k - 1))       (B_2k the Bernoulli numbers),
//
// whose terms fall below 2^-352 before k = 55 there. Smaller arguments,
// negative ones included, are raised first: Gamma(x) = Gamma(x + m) /
// (x (x + 1) ... (x + m - 1)) with x + m >= 60.
//
// The result's relative error is the absolute error of the exponent
// (y - 1/2) ln y - y, which reaches 11500 near the top of the range: at 336
// bits that alone would cost thousands of units in the last place. So the
// argument, the shift product, the logarithm and the exponent are carried
// in the 384-bit working form, and the exponential is taken as
// e^th (1 + tl) with th the exponent rounded to 336 bits and tl the rest.
// The series itself is below 0.0014 and is summed at 336 bits.

#include <cmath>

#include "numerics/qlib.h"
#include "numerics/qwork.h"

using namespace qwork;

namespace {

// Stirling's series is used from this argument on.
constexpr long mg_nStirlingFrom = 60;

// Arguments below this give results under the smallest magnitude (and the
// shift up to 60 would take thousands of factors); above its opposite they
// are past the largest.
constexpr double mg_dbUnderflowBelow = -1800.0;

// c_k = B_2k / (2k (2k - 1)), k = 1 ... 56, from the exact Bernoulli numbers
// (99 significant digits, all that asctoq reads).
const char* const mg_arrStirling[] = {
    "8.33333333333333333333333333333333333333333333333333333333333333333333333333333333333333333333333333e-2",
    "-2.77777777777777777777777777777777777777777777777777777777777777777777777777777777777777777777777778e-3",
    "7.93650793650793650793650793650793650793650793650793650793650793650793650793650793650793650793650794e-4",
    "-5.95238095238095238095238095238095238095238095238095238095238095238095238095238095238095238095238095e-4",
    "8.41750841750841750841750841750841750841750841750841750841750841750841750841750841750841750841750842e-4",
    "-1.91752691752691752691752691752691752691752691752691752691752691752691752691752691752691752691752692e-3",
    "6.41025641025641025641025641025641025641025641025641025641025641025641025641025641025641025641025641e-3",
    "-2.95506535947712418300653594771241830065359477124183006535947712418300653594771241830065359477124183e-2",
    "1.79644372368830573164938490015889396694350254721771749635526725310007043753173784133536455517879666e-1",
    "-1.39243221690590111642743221690590111642743221690590111642743221690590111642743221690590111642743222e+0",
    "1.34028640441683919944789510006901311249137336093857832988267770876466528640441683919944789510006901e+1",
    "-1.56848284626002017306365132452088973828104262886871582523756436799915060784626002017306365132452089e+2",
    "2.19310333333333333333333333333333333333333333333333333333333333333333333333333333333333333333333333e+3",
    "-3.61087712537249893571732652192422307364836100468284376330353341847594721157939548744146445295870583e+4",
    "6.91472268851313067108395250775673467553334071687798050423189466571001609933756763567664568776915829e+5",
    "-1.52382215394074161922833649588867805186590765338393421884882985452245414294750158127767235926628716e+7",
    "3.82900751391414141414141414141414141414141414141414141414141414141414141414141414141414141414141414e+8",
    "-1.08822660357843910890151491655251053747294348798108196604437205940965339461580063083822482318722920e+10",
    "3.47320283765002252252252252252252252252252252252252252252252252252252252252252252252252252252252252e+11",
    "-1.23696021422692744542517103492713248810809786419542517103492713248810809786419542517103492713248811e+13",
    "4.88788064793079335075815162518022902108470538905673821807036295327357639974121620665660856893334002e+14",
    "-2.13203339609193738969750589821368385574654533198517020559487698011459386585776879002359285473542299e+16",
    "1.02177529652570007756528762805358550039401103230890464933018124507486209613869188337273443656422380e+18",
    "-5.35754721733002036108277091919692044848490405436588164998678140104923584272770755874635724447989780e+19",
    "3.06157826370488341504315105132962275819418676561533704390847247990105132962275819418676561533704391e+21",
    "-1.89999174263992040502937142930694290294734245899617708718707608829695400172647675422370205944012825e+23",
    "1.27633740338288341492349513776978259765416336088299014482397468163770712595605015333582033350321996e+25",
    "-9.25284717612041630723024234834762277951933124346917450365726227795193312434691745036572622779519331e+26",
    "7.21882259518561029783605018730163792248984042025968876994746753890375656655763703042918029537119635e+28",
    "-6.04518340599585696774314823875454728606614439596719620740630160809601335195362210034744520130245556e+30",
    "5.42067047157009454519347781482610001366120218579234972677595628415300546448087431693989071038251366e+32",
    "-5.19295781531408194670019476439185768469970627139744786803610333022097727980080921257391845627139745e+34",
    "5.30365885511970059665483924306975864369929263540554909795662553611937129133754701567809938997479556e+36",
    "-5.76332534816496401389443585078099255519073756218905472636815920398009950248756218905472636815920398e+38",
    "6.65115571484845393751652014581055595103973935945492895890936307347819901402265149968762951004224734e+40",
    "-8.13737835813668053871617263209357569184068916497387926236794500449973301502084872821186884369150279e+42",
    "1.05369669533571418037548049276418101896483733750114155251141552511415525114155251141552511415525114e+45",
    "-1.44181805999622062618053778015118128095703320636642111111111111111111111111111111111111111111111111e+47",
    "2.08173565220895654624248082412635623113173432641499791893358801134569669831875980158077807264064045e+49",
    "-3.16702266348866618274134955677425613429180698304207530303915446163870695770519608668637962356067072e+51",
    "5.07000646121113734317926481531748765676296280445556213073194010610342604987852645148495215429619713e+53",
    "-8.52997282030055188162084005221622788878070447003828241400895454463748834955738408707117083985768484e+55",
    "1.50641728093405985766951173603798790761019308402505456398084127450980392156862745098039215686274510e+58",
    "-2.78934947038316368712883816863127817123475688860546881031930385372100934551450866327136057439445071e+60",
    "5.40935043528604150057635618718841525823362902769152423782603718855536580622900990692524619767518606e+62",
    "-1.09753378215085198550167887261707951670999031194782603868968524499932758553503234354298184085418128e+65",
    "2.32748762026184791734786410320521849301934800427571231113439927035127249103942652329749103942652330e+67",
    "-5.15392916206532139019465521217171717703911593966656336788813196975005299937743929395568347405186319e+69",
    "1.19062102308902264576848161768713804627502271773098547424563365681311710250085910652920962199312715e+72",
    "-2.86689389602966736962264205419007724629138191192049314426550825398635001121922033751860034488297315e+74",
    "7.18930780233729864392844371393137101309257734304879699797283055219845979849748451770627825611964803e+76",
    "-1.87606934305046718478954627265826766120866979299224016284037809922716173459465738315022592660438420e+79",
    "5.09049146907510704813291518692896288961540595575116088242475871088521660934162424064691440439103991e+81",
    "-1.43514288284321710936515345918310075298502618680559577080325950290670458097201892896763061110647897e+84",
    "4.20090575066658694072472242828858672330628642743146072906802763323839124076255123669039648626545397e+86",
    "-1.27585812722475759084325945728494520453193198300989091702645306582185580478594353831338557361738698e+89",
};
constexpr int mg_nStirlingTerms = sizeof(mg_arrStirling) / sizeof(mg_arrStirling[0]);

struct GammaConstants {
    qreal arrStirling[mg_nStirlingTerms];
    qreal sqrtTwoPi;
};

const GammaConstants& Constants()
{
    static const GammaConstants constants = [] {
        GammaConstants c{};
        for (int k = 0; k < mg_nStirlingTerms; ++k)
            asctoq(mg_arrStirling[k], c.arrStirling[k]);
        qadd(qpi, qpi, c.sqrtTwoPi);
        qsqrt(c.sqrtTwoPi, c.sqrtTwoPi);
        return c;
    }();
    return constants;
}

void WorkFromLong(long n, QWORK& w)
{
    qreal q;
    ltoq(&n, q);
    Unpack(q, w);
}

double WorkToDouble(const QWORK& w)
{
    QWORK t = w;
    qreal q;
    RoundPack(t, q, "qgamma");
    double d = 0.0;
    qtoe(q, &d);
    return d;
}

bool IsWhole(const unsigned short* x)
{
    qreal f;
    qfloor(x, f);
    return qcmp(f, x) == 0;
}

// sum_k c_k / y^(2k-1) at 336 bits, y >= 60.
void StirlingSeries(const QWORK& y, unsigned short* s)
{
    QWORK wy = y;
    qreal yq, inverse, inverseSquare, term;
    RoundPack(wy, yq, "qgamma");
    qdiv(yq, qone, inverse);
    qmul(inverse, inverse, inverseSquare);
    qmul(Constants().arrStirling[0], inverse, s);
    for (int k = 1; k < mg_nStirlingTerms; ++k) {
        qmul(inverseSquare, inverse, inverse);
        qmul(Constants().arrStirling[k], inverse, term);
        qadd(term, s, s);
        if (term[1] + 352 < s[1])
            break;
    }
}

// e^t for a working number t: e^th (1 + tl), th = t rounded to 336 bits.
// Overflow is left to the caller, which checks the range first.
void WideExp(const QWORK& t, QWORK& r)
{
    QWORK wh = t;
    qreal th, e;
    RoundPack(wh, th, "qgamma");
    Unpack(th, wh);
    QWORK tl;
    WorkAdd(wh, t, tl, true, true);
    qexp(th, e);
    Unpack(e, r);
    if (!MantIsZero(tl.m)) {
        QWORK d;
        WorkMulWide(r, tl, d);
        WorkAdd(d, r, r, false, true);
    }
}

// Gamma(y) for y >= 60 (a working number): sqrt(2 pi) e^E, E = (y - 1/2)
// ln y - y + series. False when it lies beyond the range.
bool StirlingGamma(const QWORK& y, QWORK& r)
{
    QWORK half, shifted, logarithm, exponent, series;
    Unpack(qhalf, half);
    WorkAdd(half, y, shifted, true, true);
    WideLog(y, logarithm);
    WorkMulWide(shifted, logarithm, exponent);
    WorkAdd(y, exponent, exponent, true, true);
    qreal s;
    StirlingSeries(y, s);
    Unpack(s, series);
    WorkAdd(series, exponent, exponent, false, true);
    // log2 of the result; at or above 16641 it is past the largest magnitude.
    if (WorkToDouble(exponent) / 0.6931471805599453 + 1.33 > 16641.5)
        return false;
    WideExp(exponent, r);
    QWORK root;
    Unpack(Constants().sqrtTwoPi, root);
    WorkMulWide(root, r, r);
    return true;
}

// Gamma(x) for a working number x that is no pole, x >= -1800.
bool GammaWork(const QWORK& x, QWORK& r)
{
    const double dbX = WorkToDouble(x);
    if (dbX >= double(mg_nStirlingFrom))
        return StirlingGamma(x, r);
    // x (x + 1) ... (x + m - 1), each factor formed exactly.
    const long m = long(std::ceil(double(mg_nStirlingFrom) - dbX));
    QWORK product, factor, k, y;
    Unpack(qone, product);
    for (long i = 0; i < m; ++i) {
        WorkFromLong(i, k);
        WorkAdd(k, x, factor, false, true);
        WorkMulWide(factor, product, product);
    }
    WorkFromLong(m, k);
    WorkAdd(k, x, y, false, true);
    if (!StirlingGamma(y, r))
        return false;
    WorkDiv(product, r, r, true);
    return true;
}

// The result of a pole or of an overflow: the largest magnitude, reported.
void Huge(unsigned short* y, const char* pName, int nCode)
{
    mtherr(pName, nCode);
    SetHuge(y, 0);
}

// Gamma(x + nOffset) with the sum formed exactly.
int GammaOf(const unsigned short* x, long nOffset, unsigned short* y, const char* pName)
{
    qreal whole;
    const long nMinusOffset = -nOffset;
    ltoq(&nMinusOffset, whole);
    // Poles: x + nOffset a whole number <= 0.
    if (IsWhole(x) && qcmp(x, whole) <= 0) {
        Huge(y, pName, 2);
        return 0;
    }
    // Far outside [-1800, 1800] the result is beyond the range either way
    // (and x beyond what a double holds).
    double dbX = 0.0;
    if (x[1] < QEXPBIAS + 12)
        qtoe(x, &dbX);
    else
        dbX = x[0] != 0 ? -4096.0 : 4096.0;
    dbX += double(nOffset);
    if (dbX > -mg_dbUnderflowBelow) {
        Huge(y, pName, 3);
        return 0;
    }
    if (dbX < mg_dbUnderflowBelow) {
        SetZero(y);
        return 0;
    }
    QWORK wx, offset, wsum, r;
    Unpack(x, wx);
    WorkFromLong(nOffset, offset);
    WorkAdd(offset, wx, wsum, false, true);
    if (!GammaWork(wsum, r)) {
        Huge(y, pName, 3);
        return 0;
    }
    RoundPack(r, y, pName);
    return 0;
}

}  // namespace

int qgamma(const unsigned short* x, unsigned short* y)
{
    return GammaOf(x, 0, y, "qgamma");
}

int qfac(const unsigned short* x, unsigned short* y)
{
    if (!IsWhole(x) || x[0] != 0)
        return GammaOf(x, 1, y, "qfac");
    // A whole number: the product 2 3 ... n, carried at 384 bits and
    // rounded once (exact as long as n! has at most 336 bits, n <= 56).
    double dbN = 0.0;
    if (x[1] < QEXPBIAS + 12)
        qtoe(x, &dbN);
    if (x[1] >= QEXPBIAS + 12 || dbN > 1800.0) {
        Huge(y, "qfac", 3);
        return 0;
    }
    const long n = long(dbN);
    QWORK product, factor;
    Unpack(qone, product);
    for (long k = 2; k <= n; ++k) {
        WorkFromLong(k, factor);
        WorkMulWide(factor, product, product);
    }
    RoundPack(product, y, "qfac");
    return 0;
}
