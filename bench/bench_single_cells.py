"""Loops of single-cell calls against the one call that writes the same cells, in one run.

On the 100,000-row sheet "Big" of make_workbooks' book_20mb (each run opens it anew; opening is
not timed, saving is):
- N set_cell calls overwriting column B, then save, against one append_table_at of the same
  column at B1, then save (target: at most 2x);
- N set_cell calls creating rows after the last one, then save, against N append_row calls of the
  same rows, then save (target: at most 2x);
- N/10 single-cell set_fill calls down column C, then save, against one rectangle set_fill over
  the same cells, then save (target: at most 3x);
- growth: the set_cell loops at N/2 and N (target: doubling costs at most 2.2x).

    python bench/bench_single_cells.py [--runs 5] [--calls 100000] [--book book_20mb]
"""
import argparse
import os
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402

import quillmark  # noqa: E402

BIG_ROWS = 100_000


def median_time(task, path, runs, out):
    samples = []
    for _ in range(runs):
        ed = quillmark.Editor(path, "Big")
        start = time.perf_counter()
        task(ed)
        ed.save(out)
        samples.append(time.perf_counter() - start)
        os.remove(out)
    return statistics.median(samples)


def fmt(seconds):
    return f"{seconds * 1000:8.1f} ms" if seconds < 1 else f"{seconds:8.2f} s "


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--calls", type=int, default=100_000)
    parser.add_argument("--book", default="book_20mb")
    args = parser.parse_args()
    path = make_workbooks.ensure([args.book])[args.book]
    n = args.calls
    fills = n // 10

    def fill_column(count):
        def task(ed):
            for i in range(1, count + 1):
                ed.set_cell(f"B{i}", str(i))
        return task

    def one_block(ed):
        ed.append_table_at([[str(i)] for i in range(1, n + 1)], "B1")

    def new_rows(count):
        def task(ed):
            for i in range(BIG_ROWS + 1, BIG_ROWS + count + 1):
                ed.set_cell(f"A{i}", str(i))
        return task

    def appended_rows(ed):
        for i in range(BIG_ROWS + 1, BIG_ROWS + n + 1):
            ed.append_row([str(i)])

    def single_fills(ed):
        for i in range(1, fills + 1):
            ed.set_fill(f"C{i}", "FFFF0000")

    def one_fill(ed):
        ed.set_fill(f"C1:C{fills}", "FFFF0000")

    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.xlsx")
        t = {name: median_time(task, path, args.runs, out) for name, task in [
            ("fill", fill_column(n)), ("fill_half", fill_column(n // 2)), ("block", one_block),
            ("new", new_rows(n)), ("new_half", new_rows(n // 2)), ("append", appended_rows),
            ("fills", single_fills), ("rect", one_fill),
        ]}

    print(f"{args.book}, sheet Big ({BIG_ROWS:,} rows), median of {args.runs} runs, each with save")
    rows = [
        (f"{n:,} set_cell over column B", t["fill"], f"one append_table_at: {fmt(t['block']).strip()}",
         t["fill"] / t["block"], 2.0),
        (f"{n:,} set_cell making new rows", t["new"], f"{n:,} append_row: {fmt(t['append']).strip()}",
         t["new"] / t["append"], 2.0),
        (f"{fills:,} single-cell set_fill", t["fills"], f"one rectangle set_fill: {fmt(t['rect']).strip()}",
         t["fills"] / t["rect"], 3.0),
        (f"growth, column B ({n // 2:,} -> {n:,})", t["fill"], f"{fmt(t['fill_half']).strip()} at {n // 2:,}",
         t["fill"] / t["fill_half"], 2.2),
        (f"growth, new rows ({n // 2:,} -> {n:,})", t["new"], f"{fmt(t['new_half']).strip()} at {n // 2:,}",
         t["new"] / t["new_half"], 2.2),
    ]
    for label, time_, against, ratio, target in rows:
        verdict = "met" if ratio <= target else "NOT met"
        print(f"{label:<40} {fmt(time_)}  vs {against:<34} {ratio:5.2f}x (target <= {target}x, {verdict})")


if __name__ == "__main__":
    main()
