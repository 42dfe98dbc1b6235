#!/usr/bin/env python3
"""Writes ExprResultsTable.inc, the rows of the engine's results test.

Every row pairs an expression in the engine's syntax with the same value
written for "bc -l" (scale=60), and bc computes it. The value is kept to 21
significant digits, so that a double read from it is correctly rounded.

    tests/engine/make_results_table.py            # prints the table
    tests/engine/make_results_table.py --write    # rewrites ExprResultsTable.inc
    tests/engine/make_results_table.py --check    # exit 1 when the file differs

Needs bc (Debian package "bc"); the test itself does not.
"""
import decimal
import pathlib
import subprocess
import sys

HEADER = """\
// Generated rows: expression, angle mode, value from bc -l (scale=60), relative tolerance.
// abs takes everything after it up to the end of its group: abs(-7.25)+abs(3-4*2)
// is |-7.25 + |3 - 8||. Integrals carry the 1e-6 accuracy of their method.
// Regenerate with tests/engine/make_results_table.py --write.
"""

# The functions bc -l lacks, in radians; deg() and grad() turn degrees and
# grads into radians.
BC_PRELUDE = r"""
scale = 60
pi = 4 * a(1)
define deg(x) { return (x * pi / 180); }
define grad(x) { return (x * pi / 200); }
define t(x) { return (s(x) / c(x)); }
define asin(x) { return (a(x / sqrt(1 - x^2))); }
define acos(x) { return (pi / 2 - asin(x)); }
define sinh(x) { return ((e(x) - e(-x)) / 2); }
define cosh(x) { return ((e(x) + e(-x)) / 2); }
define tanh(x) { return (sinh(x) / cosh(x)); }
define asinh(x) { return (l(x + sqrt(x^2 + 1))); }
define acosh(x) { return (l(x + sqrt(x^2 - 1))); }
define atanh(x) { return (l((1 + x) / (1 - x)) / 2); }
define pow(x, y) { return (e(y * l(x))); }
define log10(x) { return (l(x) / l(10)); }
define abs(x) { if (x < 0) return (-x); return (x); }
define fact(n) { auto r; r = 1; for (; n > 1; n--) r *= n; return (r); }
define fib(n) { auto a, b, t; a = 0; b = 1; for (; n > 0; n--) { t = a + b; a = b; b = t; }; return (a); }
/* whole-number operations at scale 0 */
define mod(a, b) { auto sc, r; sc = scale; scale = 0; r = a % b; scale = sc; return (r); }
define gcd(a, b) { auto t; while (b != 0) { t = mod(a, b); a = b; b = t; }; return (a); }
define lcm(a, b) { return (a * b / gcd(a, b)); }
define bit(a, k) { return (mod(a / 2^k - mod(a / 2^k, 1), 2)); }
define band(a, b) { auto r, k; for (k = 0; k < 8; k++) if (bit(a, k) && bit(b, k)) r += 2^k; return (r); }
define bxor(a, b) { auto r, k; for (k = 0; k < 8; k++) if (bit(a, k) != bit(b, k)) r += 2^k; return (r); }
/* time value of money at rate i per period: pv t + pmt (1 + i type) (t - 1) / i + fv = 0 */
define tvmfv(i, n, pmt, pv, type) { auto t; t = (1 + i)^n; return (-(pv * t + pmt * (1 + i * type) * (t - 1) / i)); }
define tvmpv(i, n, pmt, fv, type) { auto t; t = (1 + i)^n; return (-(fv + pmt * (1 + i * type) * (t - 1) / i) / t); }
define tvmpmt(i, n, pv, fv, type) { auto t; t = (1 + i)^n; return (-(pv * t + fv) * i / ((1 + i * type) * (t - 1))); }
/* cos(x) = x by Newton's method from 1 */
define dottie() {
  auto x, i;
  x = 1;
  for (i = 0; i < 12; i++) x = x - (c(x) - x) / (-s(x) - 1);
  return (x);
}
/* fixed-declining-balance, first period of m months: rate rounded to 3 decimals */
define db1(cost, salvage, life, m) {
  auto r, sc;
  r = 1 - pow(salvage / cost, 1 / life);
  sc = scale; scale = 3; r = (r * 1000 + 0.5) / 1000; scale = sc;
  return (cost * r * m / 12);
}
"""

# (expression, angle mode 0 degrees / 1 radians / 2 grads, bc expression, relative tolerance)
ROWS = [
    ("2+sin(30)*3", 0, "2+s(deg(30))*3", "1e-14"),
    ("3*4/(5+6)^2", 1, "3*4/(5+6)^2", "1e-14"),
    ("sqrt(3^2+4^2)", 1, "sqrt(3^2+4^2)", "1e-14"),
    ("2*pi*sqrt(2.5/9.81)", 1, "2*pi*sqrt(2.5/9.81)", "1e-14"),
    ("1/2*9.81*3.2^2", 1, "1/2*9.81*3.2^2", "1e-14"),
    ("6.674*10^(-11)*5.972*10^24/(6.371*10^6)^2", 1, "6.674*10^(-11)*5.972*10^24/(6.371*10^6)^2", "1e-14"),
    ("(1+sqrt(5))/2", 1, "(1+sqrt(5))/2", "1e-14"),
    ("2-3-4*5/8", 1, "2-3-4*5/8", "1e-14"),
    ("-2^2+10", 1, "-(2^2)+10", "1e-14"),
    ("2^3^2", 1, "2^3^2", "1e-14"),
    ("(2^3)^2", 1, "(2^3)^2", "1e-14"),
    ("1.5 exp 3", 1, "1.5*10^3", "1e-14"),
    ("2.5 exp (-2)", 1, "2.5*10^(-2)", "1e-14"),
    ("50%*80", 1, "50/100*80", "1e-14"),
    ("5!/3!", 1, "fact(5)/fact(3)", "1e-14"),
    ("10!", 1, "fact(10)", "1e-14"),
    ("25!", 1, "fact(25)", "1e-14"),
    ("abs(-7.25)+abs(3-4*2)", 1, "abs(-7.25+abs(3-4*2))", "1e-14"),
    ("7 mod 3+1", 1, "mod(7, 3)+1", "1e-14"),
    ("1 shl 4+1", 1, "1*2^4+1", "1e-14"),
    ("12 and 10", 1, "band(12, 10)", "1e-14"),
    ("12 xor 10", 1, "bxor(12, 10)", "1e-14"),
    ("0.1+0.2-0.3", 1, "0.1+0.2-0.3", "1e-14"),
    ("123456789*987654321", 1, "123456789*987654321", "1e-14"),
    ("1/7*7", 1, "1/7*7", "1e-14"),
    ("(3.5-1.25)*(4.75+0.5)/2.5", 1, "(3.5-1.25)*(4.75+0.5)/2.5", "1e-14"),
    ("2^0.5", 1, "pow(2, 0.5)", "1e-14"),
    ("3 root 27", 1, "pow(27, 1/3)", "1e-14"),
    ("RT(5, 100)", 1, "pow(100, 1/5)", "1e-14"),
    ("RT(3, 2)*RT(3, 4)", 1, "pow(2, 1/3)*pow(4, 1/3)", "1e-14"),
    ("1.05^30", 1, "1.05^30", "1e-14"),
    ("1000*(1+0.05/12)^(12*10)", 1, "1000*(1+0.05/12)^(12*10)", "1e-14"),
    ("e^pi", 1, "e(pi)", "1e-14"),
    ("pi^e", 1, "pow(pi, e(1))", "1e-14"),
    ("2^(-0.5)", 1, "pow(2, -0.5)", "1e-14"),
    ("10^(1/3)", 1, "pow(10, 1/3)", "1e-14"),
    ("(-8)^(1/3)", 1, "-pow(8, 1/3)", "1e-14"),
    ("ln(2)", 1, "l(2)", "1e-14"),
    ("ln(10)/ln(2)", 1, "l(10)/l(2)", "1e-14"),
    ("log(2)", 1, "log10(2)", "1e-14"),
    ("log(5000)", 1, "log10(5000)", "1e-14"),
    ("ln(e^3)", 1, "l(e(3))", "1e-14"),
    ("e^(-1.5)", 1, "e(-1.5)", "1e-14"),
    ("sqrt(2)*sqrt(8)", 1, "sqrt(2)*sqrt(8)", "1e-14"),
    ("sqrt(0.0001)", 1, "sqrt(0.0001)", "1e-14"),
    ("8.314*298.15*ln(10/2.5)", 1, "8.314*298.15*l(10/2.5)", "1e-14"),
    ("1/(1/4.7+1/2.2+1/10)", 1, "1/(1/4.7+1/2.2+1/10)", "1e-14"),
    ("sqrt(1.38*10^(-23)*300/(2*3.14159*9.11*10^(-31)))", 1,
     "sqrt(1.38*10^(-23)*300/(2*3.14159*9.11*10^(-31)))", "1e-14"),
    ("sin(1)", 1, "s(1)", "1e-14"),
    ("cos(1)", 1, "c(1)", "1e-14"),
    ("tan(1)", 1, "t(1)", "1e-14"),
    ("sin(2.5)^2+cos(2.5)^2", 1, "s(2.5)^2+c(2.5)^2", "1e-14"),
    ("sin(45)", 0, "s(deg(45))", "1e-14"),
    ("cos(120)", 0, "c(deg(120))", "1e-14"),
    ("tan(60)", 0, "t(deg(60))", "1e-14"),
    ("sin(50)", 2, "s(grad(50))", "1e-14"),
    ("sec(0.7)", 1, "1/c(0.7)", "1e-14"),
    ("csc(0.7)", 1, "1/s(0.7)", "1e-14"),
    ("ctan(0.7)", 1, "1/t(0.7)", "1e-14"),
    ("asin(0.5)", 0, "asin(0.5)*180/pi", "1e-14"),
    ("acos(0.3)", 1, "acos(0.3)", "1e-14"),
    ("atan(1)*4", 1, "a(1)*4", "1e-14"),
    ("atan(2.5)", 0, "a(2.5)*180/pi", "1e-14"),
    ("acos(-0.5)", 2, "acos(-0.5)*200/pi", "1e-14"),
    ("asec(3)", 1, "acos(1/3)", "1e-14"),
    ("acsc(3)", 1, "asin(1/3)", "1e-14"),
    ("acot(3)", 1, "a(1/3)", "1e-14"),
    ("9.81*sin(30)*2", 0, "9.81*s(deg(30))*2", "1e-14"),
    ("20*cos(35)", 0, "20*c(deg(35))", "1e-14"),
    ("sinh(0.5)", 1, "sinh(0.5)", "1e-14"),
    ("cosh(0.5)", 1, "cosh(0.5)", "1e-14"),
    ("tanh(0.5)", 1, "tanh(0.5)", "1e-14"),
    ("sech(2)", 1, "1/cosh(2)", "1e-14"),
    ("csch(2)", 1, "1/sinh(2)", "1e-14"),
    ("ctanh(2)", 1, "1/tanh(2)", "1e-14"),
    ("asinh(2)", 1, "asinh(2)", "1e-14"),
    ("acosh(3)", 1, "acosh(3)", "1e-14"),
    ("atanh(0.25)", 1, "atanh(0.25)", "1e-14"),
    ("acoth(3)", 1, "atanh(1/3)", "1e-14"),
    ("asech(0.5)", 1, "acosh(2)", "1e-14"),
    ("acsch(0.5)", 1, "asinh(2)", "1e-14"),
    ("cosh(1)^2-sinh(1)^2", 1, "cosh(1)^2-sinh(1)^2", "1e-14"),
    ("fib(20)", 1, "fib(20)", "1e-14"),
    ("fib(5)+1", 1, "fib(5)+1", "1e-14"),
    ("2^fib(10)", 1, "2^fib(10)", "1e-14"),
    ("100/fib(10)", 1, "100/fib(10)", "1e-14"),
    ("gcd(84, 36)", 1, "gcd(84, 36)", "1e-14"),
    ("lcm(4, 6, 10)", 1, "lcm(lcm(4, 6), 10)", "1e-14"),
    ("ncr(10, 3)+npr(10, 3)", 1, "fact(10)/(fact(7)*fact(3))+fact(10)/fact(7)", "1e-14"),
    ("ncr(60, 30)", 1, "fact(60)/fact(30)^2", "1e-14"),
    ("not(5)+cpl(5)", 1, "(2^8-1-5)+(2^8-5)", "1e-14"),
    ("fnSum(k^2, k, 1, 10)", 1, "x=0; for (k=1; k<=10; k++) x+=k^2; x", "1e-14"),
    ("fnSum(1/k^2, k, 1, 100)", 1, "x=0; for (k=1; k<=100; k++) x+=1/k^2; x", "1e-14"),
    ("fnSum(0.5^k, k, 0, 20)", 1, "x=0; for (k=0; k<=20; k++) x+=0.5^k; x", "1e-14"),
    ("fnProduct(1+1/k, k, 1, 9)", 1, "x=1; for (k=1; k<=9; k++) x*=1+1/k; x", "1e-14"),
    ("fnSum(k, k, 0, 1, 0.1)", 1, "x=0; for (k=0; k<=1; k+=0.1) x+=k; x", "1e-14"),
    ("fnEval(x^2+1, x, 3)", 1, "3^2+1", "1e-14"),
    ("fnDeriv(x^3, x, 2)", 1, "3*2^2", "1e-12"),
    ("fnDeriv(sin(x), x, 1)", 1, "c(1)", "1e-09"),
    ("fnDeriv(2^x, x, 3)", 1, "2^3*l(2)", "1e-12"),
    ("fnDeriv(x^x, x, 2)", 1, "2^2*(l(2)+1)", "1e-12"),
    ("fnInt(x^2, x, 0, 3)", 1, "3^3/3", "1e-06"),
    ("fnInt(1/x, x, 1, 2)", 1, "l(2)", "1e-06"),
    ("fnInt(sin(x), x, 0, pi)", 1, "c(0)-c(pi)", "1e-06"),
    ("fnRoot(x^2-2, x, 0, 2)", 1, "sqrt(2)", "1e-12"),
    ("fnRoot(cos(x)-x, x, 0, 1)", 1, "dottie()", "1e-11"),
    ("pmt(12, 12, 1000, 0, 12)", 1, "tvmpmt(0.12/12, 12, 1000, 0, 0)", "1e-13"),
    ("fv(6, 10, -100, 0, 1)", 1, "tvmfv(0.06, 10, -100, 0, 0)", "1e-13"),
    ("pv(6, 10, -100, 0, 1)", 1, "tvmpv(0.06, 10, -100, 0, 0)", "1e-13"),
    ("fv(6, 10, -100, 0, 1, 1)", 1, "tvmfv(0.06, 10, -100, 0, 1)", "1e-13"),
    ("sln(1000, 100, 9)+syd(1000, 100, 9, 1)", 1, "(1000-100)/9+(1000-100)*9/(9*10/2)", "1e-14"),
    ("db(1000000, 100000, 6, 1, 7)", 1, "db1(1000000, 100000, 6, 7)", "1e-13"),
]


def bc_values(expressions):
    """Each expression's value as bc -l prints it (continuation lines joined)."""
    program = BC_PRELUDE + "".join(f"{e}\nprint \"@\\n\"\n" for e in expressions)
    out = subprocess.run(["bc", "-l"], input=program, capture_output=True, text=True, check=True).stdout
    values = out.replace("\\\n", "").split("@\n")[:-1]
    return [v.strip().splitlines()[-1] for v in values]


def formatted(text):
    """bc's value to 21 significant digits; from 1e16 up in exponent form
    without padding zeros, so that C++ reads a double, not an integer that
    does not fit one."""
    value = decimal.Decimal(format(decimal.Decimal(text), ".21g"))
    if abs(value) >= 10**16:
        return format(value.normalize(), "e")
    return format(value, ".21g")


def table():
    values = bc_values([bc for _, _, bc, _ in ROWS])
    lines = [HEADER]
    for (expression, mode, _, tolerance), value in zip(ROWS, values):
        lines.append(f'        {{"{expression}", {mode}, {formatted(value)}, {tolerance}}},\n')
    return "".join(lines)


def main():
    target = pathlib.Path(__file__).with_name("ExprResultsTable.inc")
    text = table()
    if "--write" in sys.argv:
        target.write_text(text)
    elif "--check" in sys.argv:
        sys.exit(0 if target.read_text() == text else 1)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
