#!/usr/bin/env python3
"""Prints the expected values of FinancialTest.SpreadsheetAnswers.

Computed apart from the program, with Python's decimal module at 60 digits:
powers as exp(n ln(1 + i)), rate and IRR by bisection of the balance
equation, db by its year-by-year schedule.

    tests/numerics/financial_reference.py
"""
from decimal import Decimal as D, getcontext

getcontext().prec = 60


def power(a, n):
    return (n * a.ln()).exp()


def balance(i, n, pmt, pv, fv, kind):
    """pv (1+i)^n + pmt (1 + i kind) ((1+i)^n - 1) / i + fv"""
    t = power(1 + i, n)
    return pv * t + pmt * (1 + i * kind) * (t - 1) / i + fv


def bisect(f, lo, hi, steps=400):
    flo = f(lo)
    for _ in range(steps):
        mid = (lo + hi) / 2
        fmid = f(mid)
        if (fmid < 0) == (flo < 0):
            lo, flo = mid, fmid
        else:
            hi = mid
    return (lo + hi) / 2


def rate(n, pmt, pv, fv, ppery, lo, hi, kind=0):
    f = lambda i: balance(i, D(n), D(pmt), D(pv), D(fv), kind)
    return bisect(f, D(lo), D(hi)) * 100 * D(ppery)


def npv(r, flows):
    return sum(D(c) / power(1 + r, D(k)) for k, c in enumerate(flows))


def irr(flows, lo, hi):
    return bisect(lambda r: npv(r, flows), D(lo), D(hi)) * 100


def db(cost, salvage, life, period, month=12):
    r = round((1 - (D(salvage) / D(cost)) ** (D(1) / D(life))) * 1000) / D(1000)
    dep = D(cost) * r * D(month) / 12
    total = dep
    for p in range(2, period + 1):
        dep = (D(cost) - total) * r
        if p > life:
            dep = dep * (12 - D(month)) / 12
        total += dep
    return dep


def pv(yearly, n, pmt, fv, ppery, kind=0):
    i = D(yearly) / 100 / D(ppery)
    t = power(1 + i, D(n))
    return (-D(fv) - D(pmt) * (1 + i * kind) * (t - 1) / i) / t


def fv(yearly, n, pmt, pv, ppery, kind=0):
    i = D(yearly) / 100 / D(ppery)
    t = power(1 + i, D(n))
    return -D(pv) * t - D(pmt) * (1 + i * kind) * (t - 1) / i


def pmt(yearly, n, pv, fv, ppery, kind=0):
    i = D(yearly) / 100 / D(ppery)
    t = power(1 + i, D(n))
    return (-D(pv) * t - D(fv)) / ((t - 1) / i * (1 + i * kind))


def nper(yearly, pmt, pv, fv, ppery, kind=0):
    i = D(yearly) / 100 / D(ppery)
    z = D(pmt) * (1 + i * kind)
    return ((z - D(fv) * i) / (D(pv) * i + z)).ln() / (1 + i).ln()


ROWS = [
    ("rate(4, -255, 1000, 0, 4)", lambda: rate(4, -255, 1000, 0, 4, "0.0001", "0.5")),
    ("rate(1, -1010, 1000, 0, 4)", lambda: rate(1, -1010, 1000, 0, 4, "0.0001", "0.5")),
    ("rate(365, -3, 1000, 0, 365)", lambda: rate(365, -3, 1000, 0, 365, "0.0001", "0.5")),
    ("rate(12, -80, 1000, 0, 12)", lambda: rate(12, -80, 1000, 0, 12, "-0.5", "-0.0001")),
    ("rate(1, -3000, 1000, 0, 1)", lambda: rate(1, -3000, 1000, 0, 1, "1", "3")),
    ("IRR(-70000, 12000, 15000, 18000, 21000)",
     lambda: irr([-70000, 12000, 15000, 18000, 21000], "-0.5", "0.5")),
    ("IRR(-1000, 3000)", lambda: irr([-1000, 3000], "1", "3")),
    ("IRR(-100, 230, -132) near 10 %", lambda: irr([-100, 230, -132], "0.05", "0.15")),
    ("IRR(-100, 250, -156) near 10 %", lambda: irr([-100, 250, -156], "0.15", "0.25")),
    ("db(1000000, 100000, 6, 6)", lambda: db(1000000, 100000, 6, 6)),
    ("db(10000, 500, 3, 3)", lambda: db(10000, 500, 3, 3)),
    ("pv(-5, 10, -100, 0, 1)", lambda: pv(-5, 10, -100, 0, 1)),
    ("pv(-1, 10, 100, 0, 12)", lambda: pv(-1, 10, 100, 0, 12)),
    ("nper(12, -100, 1000, 1000, 12)", lambda: nper(12, -100, 1000, 1000, 12)),
    ("fv(12/10^8, 1000000, -1, 0, 12)", lambda: fv(D(12) / D(10) ** 8, 1000000, -1, 0, 12)),
    ("fv(1e-11, 12, -100, 0, 12)", lambda: fv(D("1e-11"), 12, -100, 0, 12)),
    ("pmt(1e-11, 12, 1000, 0, 12)", lambda: pmt(D("1e-11"), 12, 1000, 0, 12)),
    ("nper(10^(-10), -1, 1000, 0, 1)", lambda: nper(D("1e-10"), -1, 1000, 0, 1)),
]

if __name__ == "__main__":
    for name, value in ROWS:
        print(f"{name:45} {value():.20g}")
