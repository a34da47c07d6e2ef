"""Times `Editor.with_polars` on a 100,000 x 10 polars DataFrame against polars' own `write_excel`
and openpyxl, each writing the same frame into a new workbook and saving it.

The frame holds two columns each of ints, floats, strings, dates and datetimes, one of every pair
with nulls. Every measurement runs in a fresh process that builds the frame with polars expressions
before the clock starts; the figure is the time from there to the saved file, and the memory is the
peak resident size it added above the process as it stood with the interpreter, polars, the writer's
module and the frame loaded (the peak, which ru_maxrss reports, is reset at that point). Each figure
is the median of several runs (the memory: the largest); the ratios are taken within one run.

- quillmark: `Editor.create`, `with_polars(frame)`, `save` (dates get their number formats);
- polars: `frame.write_excel(path)` with its defaults (XlsxWriter underneath);
- openpyxl: a write-only workbook, `append` of the header and of every `frame.iter_rows()` row, `save`
  (openpyxl gives date cells a date format by itself).

Targets: faster than polars' `write_excel`; at least 10x faster than openpyxl; peak memory below 4x
the worksheet text written (the uncompressed size of the saved sheet part).

    python bench/bench_dataframe.py [--runs 5] [--other-runs 3] [--rows 100000]
"""
import argparse
import datetime
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from run import fmt_s, machine, reset_peak, rss_kb  # noqa: E402

WORDS = ["north", "south", "east", "west", "order", "invoice", "pending", "shipped"]
SHEET = "Data"


def make_frame(rows):
    """The same frame in every process: built by polars from the row index, no Python loop."""
    import polars as pl

    i = pl.int_range(rows, dtype=pl.Int64)
    word = (i % len(WORDS)).replace_strict(dict(enumerate(WORDS)), return_dtype=pl.String)
    return pl.select(
        id=i,
        quantity=pl.when(i % 17 != 0).then(i * 7919 % 1000),
        price=(i * 2654435761 % 1000003) / 997.0,
        ratio=pl.when(i % 13 != 0).then((i * 40503 % 65536) / 65536.0),
        name=pl.concat_str([word, i.cast(pl.String)], separator=" "),
        region=pl.when(i % 11 != 0).then((i * 3 % len(WORDS)).replace_strict(dict(enumerate(WORDS)),
                                                                              return_dtype=pl.String)),
        day=pl.lit(datetime.date(2020, 1, 1)) + pl.duration(days=i % 3000),
        due=pl.when(i % 7 != 0).then(pl.lit(datetime.date(2021, 6, 1)) + pl.duration(days=i % 500)),
        stamp=pl.lit(datetime.datetime(2020, 1, 1)) + pl.duration(seconds=i * 37, microseconds=i % 1000),
        seen=pl.when(i % 5 != 0).then(pl.lit(datetime.datetime(2022, 3, 1, 8)) + pl.duration(minutes=i)),
    )


# ---- child side -------------------------------------------------------------------------------

class RowsOnly:
    """The frame through columns and iter_rows only, as objects without an Arrow stream are read."""

    def __init__(self, frame):
        self.columns = frame.columns
        self._frame = frame

    def iter_rows(self):
        return self._frame.iter_rows()


def sheet_bytes(path):
    with zipfile.ZipFile(path) as z:
        return z.read("xl/worksheets/sheet1.xml")


def child(task, rows, out):
    import polars  # noqa: F401  (part of the baseline)

    frame = make_frame(rows)
    if task in ("quillmark", "quillmark_rows"):
        import quillmark
    elif task == "polars":
        import xlsxwriter  # noqa: F401  (write_excel imports it on first use)
    elif task == "openpyxl":
        import openpyxl
    elif task != "iter_rows":
        raise SystemExit(f"unknown task {task}")

    phases = {}
    baseline = rss_kb("VmRSS")
    exact_peak = reset_peak()
    start = time.perf_counter()
    if task in ("quillmark", "quillmark_rows"):
        editor = quillmark.Editor.create(out, SHEET)
        t = time.perf_counter()
        editor.with_polars(frame if task == "quillmark" else RowsOnly(frame))
        phases["with_polars"] = time.perf_counter() - t
        t = time.perf_counter()
        editor.save(out)
        phases["save"] = time.perf_counter() - t
    elif task == "polars":
        frame.write_excel(out, worksheet=SHEET)
    elif task == "openpyxl":
        book = openpyxl.Workbook(write_only=True)
        sheet = book.create_sheet(SHEET)
        sheet.append(frame.columns)
        for row in frame.iter_rows():
            sheet.append(row)
        book.save(out)
    else:  # the floor every row-wise writer pays: polars handing out its rows as Python tuples
        for _ in frame.iter_rows():
            pass
    seconds = time.perf_counter() - start
    peak = rss_kb("VmHWM") if exact_peak else __import__("resource").getrusage(0).ru_maxrss
    print(json.dumps({"seconds": seconds, "peak_growth_mb": (peak - baseline) / 1024, "phases": phases}))


# ---- parent side ------------------------------------------------------------------------------

def run_child(task, rows, out):
    if os.path.exists(out):
        os.remove(out)
    result = subprocess.run([sys.executable, os.path.abspath(__file__), "--child", task, str(rows), out],
                            capture_output=True, text=True, env=dict(os.environ))
    if result.returncode != 0:
        raise SystemExit(f"{task} failed:\n{result.stderr}")
    return json.loads(result.stdout.strip().splitlines()[-1])


def measure(task, rows, out, runs):
    samples = [run_child(task, rows, out) for _ in range(runs)]
    return {
        "seconds": statistics.median(s["seconds"] for s in samples),
        "peak_growth_mb": max(s["peak_growth_mb"] for s in samples),
        "phases": {k: statistics.median(s["phases"][k] for s in samples) for k in samples[0]["phases"]},
        "runs": runs,
    }


def sheet_part_size(path):
    with zipfile.ZipFile(path) as z:
        return max(i.file_size for i in z.infolist() if i.filename.startswith("xl/worksheets/"))


def check_same_values(rows, *paths):
    """The header and first data rows read back alike from every file, dates as dates."""
    import openpyxl

    def normal(v):
        if isinstance(v, datetime.datetime):
            return v
        if isinstance(v, datetime.date):
            return datetime.datetime.combine(v, datetime.time())
        return None if v == "" else v

    def same(a, b):
        if isinstance(a, float) and isinstance(b, float):
            return abs(a - b) <= 1e-9 * max(1.0, abs(b))
        if isinstance(a, datetime.datetime) and isinstance(b, datetime.datetime):
            return abs(a - b) <= datetime.timedelta(milliseconds=1)
        return a == b

    frame = make_frame(rows)
    expected = [list(frame.columns)] + [list(r) for r in frame.head(3).iter_rows()]
    for path in paths:
        sheet = openpyxl.load_workbook(path, read_only=True)[SHEET]
        # Readers drop the empty cells at the end of a row.
        got = [list(r) + [None] * (len(expected[0]) - len(r))
               for r in sheet.iter_rows(min_row=1, max_row=len(expected), values_only=True)]
        ok = len(got) == len(expected) and all(
            len(g) == len(e) and all(same(normal(a), normal(b)) for a, b in zip(g, e)) for g, e in zip(got, expected))
        assert ok, (os.path.basename(path), got, expected)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--other-runs", type=int, default=3, help="runs of polars write_excel and openpyxl")
    parser.add_argument("--rows", type=int, default=100_000)
    parser.add_argument("--json", help="also write the figures here")
    args = parser.parse_args()

    print(f"machine: {machine()}")
    print(f"DataFrame {args.rows:,} rows x 10 columns (2 each of int, float, str, date, datetime; nulls in 5)"
          " written into a new workbook and saved", flush=True)
    results = {}
    with tempfile.TemporaryDirectory() as tmp:
        tasks = (("iter_rows", args.runs), ("quillmark", args.runs), ("quillmark_rows", args.runs),
                 ("polars", args.other_runs), ("openpyxl", args.other_runs))
        outs = {task: os.path.join(tmp, f"{task}.xlsx") for task, _ in tasks}
        for task, runs in tasks:
            m = results[task] = measure(task, args.rows, outs[task], runs)
            phases = ", ".join(f"{k} {fmt_s(v)}" for k, v in m["phases"].items())
            label = {"iter_rows": "polars iter_rows alone", "polars": "polars write_excel",
                     "openpyxl": "openpyxl write-only", "quillmark": "quillmark (Arrow stream)",
                     "quillmark_rows": "quillmark (iter_rows)"}.get(task, task)
            print(f"  {label:<24} {fmt_s(m['seconds']):>10}  +{m['peak_growth_mb']:7.1f} MB peak"
                  f"{'  (' + phases + ')' if phases else ''}", flush=True)
        sheet = sheet_part_size(outs["quillmark"])
        sizes = {task: sheet_part_size(outs[task]) for task in ("polars", "openpyxl")}
        check_same_values(args.rows, outs["quillmark"], outs["polars"], outs["openpyxl"])
        same = sheet_bytes(outs["quillmark"]) == sheet_bytes(outs["quillmark_rows"])

    qm = results["quillmark"]
    print(f"  worksheet text written   {sheet / 1e6:7.1f} MB  (polars {sizes['polars'] / 1e6:.1f} MB, "
          f"openpyxl {sizes['openpyxl'] / 1e6:.1f} MB)")
    rows = results["quillmark_rows"]
    print(f"  Arrow and row paths wrote the same sheet bytes: {same}")
    print(f"  polars write_excel / quillmark  {results['polars']['seconds'] / qm['seconds']:6.1f}x  (target >= 25x)")
    print(f"  openpyxl / quillmark            {results['openpyxl']['seconds'] / qm['seconds']:6.1f}x  (target >= 40x)")
    print(f"  polars write_excel / quillmark (iter_rows)  {results['polars']['seconds'] / rows['seconds']:6.1f}x, "
          f"openpyxl / quillmark (iter_rows)  {results['openpyxl']['seconds'] / rows['seconds']:6.1f}x")
    print(f"  quillmark peak / sheet text     {qm['peak_growth_mb'] * 1024 * 1024 / sheet:6.2f}x  (target < 4x)")
    if args.json:
        with open(args.json, "w") as f:
            json.dump({"machine": machine(), "sheet_bytes": sheet, "results": results}, f, indent=1)


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "--child":
        child(sys.argv[2], int(sys.argv[3]), sys.argv[4])
    else:
        main()
