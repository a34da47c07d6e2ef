"""Times the cell writers and row queries, with openpyxl measured in the same run.

- append_table_at of 100,000 rows x 10 text/number cells into a new sheet, then save, against
  openpyxl's write-only workbook writing the same table (target: at least 10x faster);
- a 10-row block written into the 1,000,000-cell sheet "Big" of make_workbooks' book_20mb, against
  last_row_index over the same sheet (target: at most 3x);
- last_row_index and last_rows_index throughput over that sheet (target: at least 100 MB/s).

Each figure is the median of several runs; the worksheet is opened anew before each timed call and
the opening is not timed.

    python bench/bench_cells.py [--runs 5] [--openpyxl-runs 3] [--books book_20mb]
"""
import argparse
import os
import statistics
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402

import quillmark  # noqa: E402

ROWS, COLS = 100_000, 10
WORDS = ["north", "south", "east", "west", "order", "invoice", "pending", "shipped", "Q1", "Q2"]


def typed_table():
    """Rows alternating text and number columns: ints, decimals, and words."""
    table = []
    for r in range(ROWS):
        row = []
        for c in range(COLS):
            if c % 3 == 0:
                row.append(f"{WORDS[(r + c) % len(WORDS)]} {r}")
            elif c % 3 == 1:
                row.append(r * COLS + c)
            else:
                row.append((r * 7 + c) / 8)
        table.append(row)
    return table


def median_time(fn, runs, setup=None):
    samples = []
    for _ in range(runs):
        arg = setup() if setup else None
        start = time.perf_counter()
        fn(arg)
        samples.append(time.perf_counter() - start)
    return statistics.median(samples)


def fmt(seconds):
    return f"{seconds * 1000:8.1f} ms" if seconds < 1 else f"{seconds:8.2f} s "


def bench_append_table(runs, openpyxl_runs, tmp):
    typed = typed_table()
    texts = [[v if isinstance(v, str) else repr(v) for v in row] for row in typed]
    out = os.path.join(tmp, "qm_table.xlsx")
    phases = {"append_table_at": [], "save": []}

    def quillmark_write(_):
        editor = quillmark.Editor.create(out, "Data")
        t = time.perf_counter()
        editor.append_table_at(texts, "A1")
        phases["append_table_at"].append(time.perf_counter() - t)
        t = time.perf_counter()
        editor.save(out)
        phases["save"].append(time.perf_counter() - t)

    qm = median_time(quillmark_write, runs)

    import openpyxl

    op_out = os.path.join(tmp, "op_table.xlsx")

    def openpyxl_write(_):
        book = openpyxl.Workbook(write_only=True)
        sheet = book.create_sheet("Data")
        for row in typed:
            sheet.append(row)
        book.save(op_out)

    op = median_time(openpyxl_write, openpyxl_runs)
    # Both files hold the same values.
    check = openpyxl.load_workbook(out, read_only=True)["Data"]
    first = next(check.iter_rows(min_row=2, max_row=2, values_only=True))
    assert list(first) == typed[1], (first, typed[1])

    print(f"append_table_at {ROWS:,} x {COLS} + save (new sheet)")
    print(f"  quillmark                   {fmt(qm)}  (append_table_at {fmt(statistics.median(phases['append_table_at'])).strip()},"
          f" save {fmt(statistics.median(phases['save'])).strip()})")
    print(f"  openpyxl write-only         {fmt(op)}")
    print(f"  openpyxl / quillmark        {op / qm:8.1f}x    (target >= 10x)")


def big_sheet_size(path):
    with zipfile.ZipFile(path) as z:
        return max(i.file_size for i in z.infolist() if i.filename.startswith("xl/worksheets/"))


def bench_big_sheet(name, path, runs):
    size = big_sheet_size(path)
    open_big = lambda: quillmark.Editor(path, "Big")  # noqa: E731
    block = [[f"v{r}-{c}" if c % 2 else str(r * c) for c in range(10)] for r in range(10)]

    query = median_time(lambda ed: ed.last_row_index("A"), runs, open_big)
    query_span = median_time(lambda ed: ed.last_rows_index("A:J"), runs, open_big)
    middle = median_time(lambda ed: ed.append_table_at(block, "A50001"), runs, open_big)
    end = median_time(lambda ed: ed.append_table_at(block, "A200001"), runs, open_big)

    print(f"\n{name}, sheet Big: {size / 1e6:.1f} MB of worksheet text")
    print(f"  last_row_index(\"A\")          {fmt(query)}  {size / query / 1e6:6.0f} MB/s  (target >= 100 MB/s)")
    print(f"  last_rows_index(\"A:J\")       {fmt(query_span)}  {size / query_span / 1e6:6.0f} MB/s  (target >= 100 MB/s)")
    print(f"  10-row block into rows 50001+ {fmt(middle)}  {middle / query:6.2f}x last_row_index  (target <= 3x)")
    print(f"  10-row block after the end    {fmt(end)}  {end / query:6.2f}x last_row_index")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--openpyxl-runs", type=int, default=3)
    parser.add_argument("--books", default="book_20mb", help="make_workbooks books whose sheet Big is queried")
    args = parser.parse_args()
    paths = make_workbooks.ensure(args.books.split(","))
    with tempfile.TemporaryDirectory() as tmp:
        bench_append_table(args.runs, args.openpyxl_runs, tmp)
    for name, path in paths.items():
        bench_big_sheet(name, path, args.runs)


if __name__ == "__main__":
    main()
