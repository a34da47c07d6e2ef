"""Times range styling on the big sheet of make_workbooks' book_20mb, with openpyxl measured in the
same run.

quillmark: open the sheet "Big", set_fill + set_font + set_border over a 10,000-cell rectangle
(1,000 rows x 10 columns in the middle of its 100,000 rows), save. openpyxl: load_workbook, the
same fill, font and border on the same cells, save. Target: at least 20x faster. The run also
repeats the three calls on the styled sheet and checks that the style sheet gains no xf, font,
fill or border.

Each figure is the median of several runs, each run in a fresh editor / workbook.

    python bench/bench_styles.py [--runs 5] [--openpyxl-runs 3]
"""
import argparse
import gc
import os
import re
import statistics
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402

import quillmark  # noqa: E402

BOOK = "book_20mb"
SHEET = "Big"
FIRST_ROW, LAST_ROW = 45_001, 46_000
RANGE = f"A{FIRST_ROW}:J{LAST_ROW}"  # 10 columns x 1,000 rows
FILL, FONT, SIZE, BORDER = "FFFFC000", "Arial", 11, "thin"


def fmt(seconds):
    return f"{seconds * 1000:8.1f} ms" if seconds < 1 else f"{seconds:8.2f} s "


def style_counts(path):
    with zipfile.ZipFile(path) as z:
        styles = z.read("xl/styles.xml").decode()
    return {tag: len(re.findall(f"<{tag}[ />]", styles)) for tag in ("xf", "font", "fill", "border")}


def quillmark_style(editor):
    editor.set_fill(RANGE, FILL)
    editor.set_font(RANGE, FONT, SIZE, bold=True)
    editor.set_border(RANGE, BORDER)


def bench_quillmark(path, out, runs):
    phases = {"open": [], "style": [], "save": []}
    totals = []
    for _ in range(runs):
        gc.collect()
        t0 = time.perf_counter()
        editor = quillmark.Editor(path, SHEET)
        t1 = time.perf_counter()
        quillmark_style(editor)
        t2 = time.perf_counter()
        editor.save(out)
        t3 = time.perf_counter()
        phases["open"].append(t1 - t0)
        phases["style"].append(t2 - t1)
        phases["save"].append(t3 - t2)
        totals.append(t3 - t0)
    return statistics.median(totals), {k: statistics.median(v) for k, v in phases.items()}


def repeat_check(path, tmp):
    """The three calls twice on one editor: the second round adds nothing to the style sheet."""
    editor = quillmark.Editor(path, SHEET)
    once, twice = os.path.join(tmp, "once.xlsx"), os.path.join(tmp, "twice.xlsx")
    quillmark_style(editor)
    editor.save(once)
    quillmark_style(editor)
    editor.save(twice)
    return style_counts(path), style_counts(once), style_counts(twice)


def bench_openpyxl(path, out, runs):
    import openpyxl
    from openpyxl.styles import Border, Font, PatternFill, Side

    fill = PatternFill(fill_type="solid", fgColor=FILL)
    font = Font(name=FONT, size=SIZE, bold=True)
    side = Side(style=BORDER)
    border = Border(left=side, right=side, top=side, bottom=side)
    phases = {"load": [], "style": [], "save": []}
    totals = []
    for _ in range(runs):
        gc.collect()
        t0 = time.perf_counter()
        book = openpyxl.load_workbook(path)
        t1 = time.perf_counter()
        for row in book[SHEET][RANGE]:
            for cell in row:
                cell.fill = fill
                cell.font = font
                cell.border = border
        t2 = time.perf_counter()
        book.save(out)
        t3 = time.perf_counter()
        del book
        phases["load"].append(t1 - t0)
        phases["style"].append(t2 - t1)
        phases["save"].append(t3 - t2)
        totals.append(t3 - t0)
    return statistics.median(totals), {k: statistics.median(v) for k, v in phases.items()}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--openpyxl-runs", type=int, default=3)
    args = parser.parse_args()

    path = make_workbooks.ensure([BOOK])[BOOK]
    with open(path, "rb") as f:  # warm the page cache
        while f.read(1 << 22):
            pass
    print(f"{BOOK}: {os.path.getsize(path) / 1e6:.1f} MB, sheet {SHEET}, range {RANGE} (10,000 cells)")
    with tempfile.TemporaryDirectory() as tmp:
        qm, qm_phases = bench_quillmark(path, os.path.join(tmp, "qm.xlsx"), args.runs)
        print(f"  quillmark open + fill/font/border + save  {fmt(qm)}  "
              f"(open {fmt(qm_phases['open']).strip()}, style {fmt(qm_phases['style']).strip()}, "
              f"save {fmt(qm_phases['save']).strip()}; median of {args.runs})", flush=True)
        source, once, twice = repeat_check(path, tmp)
        print(f"  style sheet entries: source {source}, after one round {once}, after a second round {twice}")
        op, op_phases = bench_openpyxl(path, os.path.join(tmp, "op.xlsx"), args.openpyxl_runs)
        print(f"  openpyxl load + fill/font/border + save   {fmt(op)}  "
              f"(load {fmt(op_phases['load']).strip()}, style {fmt(op_phases['style']).strip()}, "
              f"save {fmt(op_phases['save']).strip()}; median of {args.openpyxl_runs})")
    print(f"  openpyxl / quillmark  {op / qm:6.1f}x  (target >= 20x)")
    print(f"  repeat adds nothing   {'yes' if once == twice else 'NO'}")
    if once != twice:
        raise SystemExit("repeating the style calls changed the style sheet")


if __name__ == "__main__":
    main()
