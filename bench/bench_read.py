"""Times reading the 100,000 x 10 "Big" sheet of book_20mb into Python lists, from the file on disk:

- quillmark: `Editor(path, "Big").read_rows()`;
- python-calamine: `CalamineWorkbook.from_path(path).get_sheet_by_name("Big").to_python()`;
- openpyxl: `load_workbook(path, read_only=True)["Big"].iter_rows(values_only=True)` into a list.

and single-cell reads after open: the first `get_value` (which builds the row index) and later ones.
All three readers run in this one process, interleaved run by run so that machine noise hits each
alike; every figure is the median of the runs and the ratios are taken between medians of this run.

Targets: read_rows at least 20x faster than openpyxl, and at least as fast as python-calamine;
get_value after the first costs a small fraction of one full read.

    python bench/bench_read.py [--runs 5] [--openpyxl-runs 3]
"""
import argparse
import gc
import os
import random
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402
from run import fmt_s, machine  # noqa: E402

SHEET = "Big"


def timed(task):
    gc.collect()
    start = time.perf_counter()
    result = task()
    return time.perf_counter() - start, result


def read_quillmark(path):
    import quillmark

    return quillmark.Editor(path, SHEET).read_rows()


def read_calamine(path):
    from python_calamine import CalamineWorkbook

    return CalamineWorkbook.from_path(path).get_sheet_by_name(SHEET).to_python()


def read_openpyxl(path):
    import openpyxl

    wb = openpyxl.load_workbook(path, read_only=True)
    try:
        return [list(row) for row in wb[SHEET].iter_rows(values_only=True)]
    finally:
        wb.close()


def single_cells(path, count):
    import quillmark

    editor = quillmark.Editor(path, SHEET)
    rng = random.Random(1)
    cells = [f"{'ABCDEFGHIJ'[rng.randrange(10)]}{rng.randrange(1, 100_001)}" for _ in range(count)]
    first, _ = timed(lambda: editor.get_value(cells[0]))
    rest, _ = timed(lambda: [editor.get_value(c) for c in cells[1:]])
    return first, rest / (count - 1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--openpyxl-runs", type=int, default=3)
    parser.add_argument("--cells", type=int, default=2000)
    args = parser.parse_args()
    path = make_workbooks.ensure(["book_20mb"])["book_20mb"]

    # The three readers agree on the shape and on a sample of values before anything is timed.
    ours, theirs = read_quillmark(path), read_calamine(path)
    assert len(ours) == len(theirs) == 100_000 and all(len(r) == 10 for r in ours)
    assert ours[::997] == [[c if c != "" else None for c in row] for row in theirs[::997]]

    times = {"quillmark": [], "calamine": [], "openpyxl": []}
    for run in range(args.runs):
        for name, task in (("quillmark", read_quillmark), ("calamine", read_calamine)):
            elapsed, rows = timed(lambda: task(path))
            del rows
            times[name].append(elapsed)
        if run < args.openpyxl_runs:
            elapsed, rows = timed(lambda: read_openpyxl(path))
            del rows
            times["openpyxl"].append(elapsed)
    single = [single_cells(path, args.cells) for _ in range(args.runs)]

    med = {name: statistics.median(v) for name, v in times.items()}
    first = statistics.median(s[0] for s in single)
    later = statistics.median(s[1] for s in single)
    print(machine())
    print(f"book_20mb sheet {SHEET!r}: 100,000 rows x 10 columns, medians of {args.runs} runs "
          f"(openpyxl {args.openpyxl_runs})")
    for name in times:
        print(f"  {name:<10} {fmt_s(med[name]):>10}")
    print(f"  openpyxl / quillmark: {med['openpyxl'] / med['quillmark']:.1f}x (target >= 20x)")
    print(f"  calamine / quillmark: {med['calamine'] / med['quillmark']:.2f}x (target >= 1x)")
    print(f"  get_value: first {fmt_s(first)} (row index), then {later * 1e6:.1f} us per cell "
          f"({later / med['quillmark'] * 100:.4f}% of one read_rows)")


if __name__ == "__main__":
    main()
