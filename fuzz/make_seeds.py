#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds come from the shipped books (books/*.txt), the engine's table of
expected results and the test data, cut small so that the corpora stay a few
hundred kilobytes. The book seeds are compiled by calcudex-cli:

    fuzz/make_seeds.py build/bin/calcudex-cli

The corpora are committed; run this again when the books or the formats
change, and commit what changes.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
BOOKS = ["Astrophysic", "Dynamics and Mechanics", "Electric Engineering", "Math", "Optics", "Thermodynamics"]


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def book_records(book):
    """The records of a book text: (kind, lines) with kind '*' or '***'."""
    records, current = [], None
    with open(os.path.join(ROOT, "books", book + ".txt"), encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if line in ("*", "***"):
                current = (line, [line])
                records.append(current)
            elif current and line and not line.startswith("#"):
                current[1].append(line)
    return records


def formula_fields(lines):
    fields = {"Para": []}
    for line in lines[1:]:
        key, _, value = line.partition("=")
        if key == "Para":
            fields["Para"].append(re.findall(r'"([^"]*)"', value))
        else:
            fields[key] = value.strip()
    return fields


def formulas(step):
    """Every step-th calculable formula of the shipped books, as fields."""
    chosen = []
    for book in BOOKS:
        found = [formula_fields(lines) for kind, lines in book_records(book) if kind == "***"]
        chosen += [f for f in found if f.get("ForType") == "1"][::step]
    return chosen


def expr_seeds():
    table = open(os.path.join(ROOT, "tests", "engine", "ExprResultsTable.inc"), encoding="utf-8").read()
    rows = re.findall(r'\{"((?:[^"\\]|\\.)*)", (\d),', table)
    for i, (text, mode) in enumerate(rows[::2]):
        write("expr", "table_%03d" % i, bytes([int(mode)]) + text.encode())
    for i, f in enumerate(formulas(12)):
        exprs = re.findall(r'"([^"]*)"', f.get("For", ""))
        aliases = [p[2] for p in f["Para"]]
        for k, expr in enumerate(exprs[:1]):
            for n, alias in enumerate(aliases):
                expr = re.sub(r"\b%s\b" % re.escape(alias), "(%d.5)" % (n + 2), expr) if alias else expr
            write("expr", "book_%03d_%d" % (i, k), bytes([1]) + expr.encode())


def number_seeds():
    texts = ["0", "1", "-1", "3.5", "0.1", "-0.00125", "1234.5", "1e15", "1E-300", "2.5E+4999", "9.9e5009",
             "1e-5010", "123456789012345678901234567890", ".5", "-.5e3", "  42  ", "1.5.5", "e", "--1", "1e",
             "101", "777", "FF", "7fffffff", "0.000000000001", "999999999999.5"]
    for i, text in enumerate(texts):
        write("number", "n_%02d" % i, bytes([(i * 37) % 256]) + text.encode())


def tex_seeds():
    for i, f in enumerate(formulas(6)):
        write("tex", "book_%03d" % i, bytes([i % 8]) + f.get("ForMime", "").encode())
    extra = [r"\frac{a}{b}", r"\sqrt[3]{x^2}", r"\left( \sum_{i=1}^n x_i \right)", r"\text{N/A}",
             r"\begin{matrix} a & b \end{matrix}", r"{{{{", r"\frac", r"x^{y^{z^{w}}}", r"\int_0^\infty e^{-x} dx"]
    for i, text in enumerate(extra):
        write("tex", "extra_%02d" % i, bytes([i % 8]) + text.encode())


def chunks():
    """Small book texts: a few records of each shipped book."""
    out = []
    for book in BOOKS:
        records = book_records(book)
        for start in range(0, min(len(records), 40), 8):
            out.append("\r\n".join("\r\n".join(lines) for _, lines in records[start:start + 4]) + "\r\n")
    return out


def compiler_seeds():
    for i, text in enumerate(chunks()):
        write("compiler", "chunk_%02d" % i, text)
    user = open(os.path.join(ROOT, "tests", "calc", "data", "cli_user_book.txt"), encoding="utf-8").read()
    write("compiler", "cli_user_book", user)
    write("compiler", "cut_record", chunks()[0][:200])
    write("compiler", "no_id", "***\nForType=1\nForName=x\nImage=\n*\nForName=folder\n")


def book_seeds(cli):
    for i, text in enumerate(chunks()[::3]):
        home = tempfile.mkdtemp()
        try:
            source = os.path.join(home, "source.txt")
            open(source, "w", encoding="utf-8").write(text)
            env = dict(os.environ, CALCUDEX_HOME=home)
            subprocess.run([cli, "compile", source, "Math"], check=True, env=env, stderr=subprocess.DEVNULL)
            files = [open(os.path.join(home, "Math_" + n), "rb").read()
                     for n in ("fortree.dat", "indexfor.dat", "fordes.dat", "fordetail.dat")]
        finally:
            shutil.rmtree(home)
        journal = b"calcudex book journal 1\nMath\n" if i % 2 else b""
        parts = files + [journal]
        write("book", "book_%02d" % i, struct.pack("<4H", *[len(p) for p in parts[:4]]) + b"".join(parts))


def node_info(book, node_id, name, kind=1):
    return (node_id.encode().ljust(32, b"\0") + name.encode().ljust(256, b"\0") + struct.pack("<I", kind)
            + book.encode().ljust(256, b"\0"))


def text_block(text):
    units = text.encode("utf-16-le")
    return struct.pack("<ii", len(text), len(text)) + units.ljust(1024, b"\0") + bytes([1] * len(text)).ljust(512, b"\0")


def typed_values(entries):
    out = b"CXTV" + struct.pack("<Ii", 1, len(entries))
    for info, ticked, rows in entries:
        out += info + struct.pack("<ii", ticked, len(rows))
        for alias, text in rows:
            out += struct.pack("<i", len(alias)) + alias.encode()
            out += struct.pack("<ii", len(text), len(text)) + text.encode("utf-16-le") + bytes([1] * len(text))
    return out


def lists_seeds():
    ohm = node_info("Electric Engineering", ".1.1", "Ohm's law")
    lens = node_info("Optics", ".4.2", "Thin lens")
    write("lists", "favorites", b"\0" + ohm + lens)
    write("lists", "favorites_cut", b"\5" + ohm + lens[:100])
    session = struct.pack("<i", 6) + b"Optics" + struct.pack("<i", 2) + struct.pack("<i", 1) + b"." + \
        struct.pack("<i", 3) + b".2."
    write("lists", "session", b"\1" + session)
    write("lists", "session_no_book", b"\1" + struct.pack("<ii", 0, 0))
    write("lists", "last_used", b"\2" + ohm)
    write("lists", "line_block", b"\3" + text_block("12.5"))
    write("lists", "line_block_empty", b"\3" + text_block(""))
    write("lists", "typed_values", b"\4" + typed_values([(ohm, 1, [("v", "12"), ("i", ""), ("r", "4")]),
                                                        (lens, -1, [])]))


def wizard_seeds():
    for i, f in enumerate(formulas(15)):
        params = f["Para"]
        exprs = re.findall(r'"([^"]*)"', f.get("For", ""))
        lines = ["Folder %d/%s" % (i % 3, f.get("ForName", "")), f.get("ForDes", "")[:80], "1",
                 f.get("ForMime", ""), "", str(len(params))]
        for k, p in enumerate(params):
            p = (p + [""] * 5)[:5]
            expr = exprs[k] if k < len(exprs) else ""
            lines += [p[0], p[1], p[2], p[3], "1" if expr else "0", expr]
        write("wizard", "book_%02d" % i, "\n".join(lines))
    write("wizard", "theory", "Kirchhoff\nCurrents meet\n0\nI_1 + I_2 = I_3\n\n0")


def calc_seeds():
    for i, f in enumerate(formulas(8)):
        params = f["Para"]
        exprs = re.findall(r'"([^"]*)"', f.get("For", ""))
        lines = [str(1 + i % max(1, len(params))), str(len(params))]
        lines += ["\t".join((p + [""] * 5)[:5]) for p in params]
        lines.append("\t".join(exprs))
        lines += [str(k + 2) if k != i % max(1, len(params)) else "" for k in range(len(params))]
        write("calc", "book_%02d" % i, "\n".join(lines))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    shutil.rmtree(CORPUS, ignore_errors=True)
    expr_seeds()
    number_seeds()
    tex_seeds()
    compiler_seeds()
    book_seeds(sys.argv[1])
    lists_seeds()
    wizard_seeds()
    calc_seeds()


if __name__ == "__main__":
    main()
