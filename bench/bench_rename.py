"""Times renaming a sheet that 100,000 formulas refer to, with openpyxl doing the same by hand in
the same run.

The workbook is make_workbooks' book_20mb plus a sheet "Report" whose 100,000 rows each hold
`Big!D{r}*2`. quillmark: open the sheet "Small", rename "Big" to "Big Data" (every formula then
needs the quoted prefix), save. openpyxl: load_workbook, retitle the sheet, rewrite every formula
text, save. Also timed: a rename that no part mentions ("Filler1"), against the small-sheet edit
(open, one set_cell, save) of the same book and against inflating every part a rename searches:
the search over unloaded parts costs their inflation.

Each figure is the median of several runs, each in a fresh editor / workbook.

    python bench/bench_rename.py [--runs 5] [--openpyxl-runs 3]
"""
import argparse
import gc
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

BASE = "book_20mb"
FORMULAS = 100_000
OLD, NEW = "Big", "Big Data"


def fmt(seconds):
    return f"{seconds * 1000:8.1f} ms" if seconds < 1 else f"{seconds:8.2f} s "


def with_report_sheet(base):
    """book_20mb with the formula sheet added (written once, kept beside the other books)."""
    target = os.path.join(make_workbooks.DATA, BASE + "_refs.xlsx")
    if os.path.exists(target):
        return target
    rows = "".join(f'<row r="{r}"><c r="A{r}"><f>{OLD}!D{r}*2</f><v>0</v></c></row>' for r in range(1, FORMULAS + 1))
    report = (make_workbooks.DECL + f'<worksheet xmlns="{make_workbooks.NS}"><dimension ref="A1:A{FORMULAS}"/>'
              f"<sheetData>{rows}</sheetData></worksheet>")
    with zipfile.ZipFile(base) as src, zipfile.ZipFile(target + ".part", "w", zipfile.ZIP_DEFLATED) as out:
        n = sum(1 for name in src.namelist() if name.startswith("xl/worksheets/sheet"))
        part = f"xl/worksheets/sheet{n + 1}.xml"
        for info in src.infolist():
            data = src.read(info.filename)
            if info.filename == "xl/workbook.xml":
                data = data.replace(b"</sheets>", f'<sheet name="Report" sheetId="{n + 1}" r:id="rIdReport"/></sheets>'.encode())
            elif info.filename == "xl/_rels/workbook.xml.rels":
                data = data.replace(b"</Relationships>", (
                    f'<Relationship Id="rIdReport" Type="{make_workbooks.REL}/worksheet" '
                    f'Target="worksheets/sheet{n + 1}.xml"/></Relationships>').encode())
            elif info.filename == "[Content_Types].xml":
                data = data.replace(b"</Types>", (
                    f'<Override PartName="/{part}" ContentType="{make_workbooks.CT}spreadsheetml.worksheet+xml"/>'
                    "</Types>").encode())
            out.writestr(info, data, info.compress_type)
        out.writestr(part, report)
    os.replace(target + ".part", target)
    return target


def median_phases(runs, task):
    phases, totals = {}, []
    for _ in range(runs):
        gc.collect()
        marks = task()
        for name, seconds in marks.items():
            phases.setdefault(name, []).append(seconds)
        totals.append(sum(marks.values()))
    return statistics.median(totals), {k: statistics.median(v) for k, v in phases.items()}


def quillmark_rename(path, out, old, new):
    def run():
        t0 = time.perf_counter()
        editor = quillmark.Editor(path, "Small")
        t1 = time.perf_counter()
        editor.rename_worksheet(old, new)
        t2 = time.perf_counter()
        editor.save(out)
        t3 = time.perf_counter()
        return {"open": t1 - t0, "rename": t2 - t1, "save": t3 - t2}
    return run


def quillmark_small_edit(path, out):
    def run():
        t0 = time.perf_counter()
        editor = quillmark.Editor(path, "Small")
        editor.set_cell("B2", "42")
        editor.save(out)
        return {"edit": time.perf_counter() - t0}
    return run


def inflate_floor(path):
    """Inflating every part a rename must search (worksheets, charts, tables, pivot caches)."""
    def run():
        t0 = time.perf_counter()
        with zipfile.ZipFile(path) as z:
            for name in z.namelist():
                if name.startswith(("xl/worksheets/sheet", "xl/charts/", "xl/tables/", "xl/pivotCache/")):
                    z.read(name)
        return {"inflate": time.perf_counter() - t0}
    return run


def openpyxl_rename(path, out):
    import openpyxl

    quoted = f"'{NEW}'!"

    def run():
        t0 = time.perf_counter()
        book = openpyxl.load_workbook(path)
        t1 = time.perf_counter()
        book[OLD].title = NEW
        for sheet in book.worksheets:
            for row in sheet.iter_rows():
                for cell in row:
                    if cell.data_type == "f" and f"{OLD}!" in cell.value:
                        cell.value = cell.value.replace(f"{OLD}!", quoted)
        t2 = time.perf_counter()
        book.save(out)
        t3 = time.perf_counter()
        return {"load": t1 - t0, "rename": t2 - t1, "save": t3 - t2}
    return run


def check(out):
    with zipfile.ZipFile(out) as z:
        names = [n for n in z.namelist() if n.startswith("xl/worksheets/sheet")]
        report = z.read(max(names, key=lambda n: int(n[len("xl/worksheets/sheet"):-4]))).decode()
    count = report.count(f"<f>'{NEW}'!D")
    if count != FORMULAS:
        raise SystemExit(f"expected {FORMULAS} rewritten formulas, found {count}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--openpyxl-runs", type=int, default=3)
    args = parser.parse_args()

    path = with_report_sheet(make_workbooks.ensure([BASE])[BASE])
    with open(path, "rb") as f:  # warm the page cache
        while f.read(1 << 22):
            pass
    print(f"{os.path.basename(path)}: {os.path.getsize(path) / 1e6:.1f} MB, {FORMULAS:,} formulas on {OLD}")
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "qm.xlsx")
        qm, qm_p = median_phases(args.runs, quillmark_rename(path, out, OLD, NEW))
        check(out)
        print(f"  quillmark open + rename + save       {fmt(qm)}  (open {fmt(qm_p['open']).strip()}, rename "
              f"{fmt(qm_p['rename']).strip()}, save {fmt(qm_p['save']).strip()}; median of {args.runs})", flush=True)
        quiet, quiet_p = median_phases(args.runs, quillmark_rename(path, out, "Filler1", "Filler One"))
        small, _ = median_phases(args.runs, quillmark_small_edit(path, out))
        print(f"  rename nothing mentions (Filler1)    {fmt(quiet)}  (rename {fmt(quiet_p['rename']).strip()})")
        floor, _ = median_phases(args.runs, inflate_floor(path))
        print(f"  small-sheet edit, same book          {fmt(small)}")
        print(f"  inflate floor (zipfile, every part)  {fmt(floor)}", flush=True)
        op_out = os.path.join(tmp, "op.xlsx")
        op, op_p = median_phases(args.openpyxl_runs, openpyxl_rename(path, op_out))
        check(op_out)
        print(f"  openpyxl load + rewrite + save       {fmt(op)}  (load {fmt(op_p['load']).strip()}, rewrite "
              f"{fmt(op_p['rename']).strip()}, save {fmt(op_p['save']).strip()}; median of {args.openpyxl_runs})")
    print(f"  openpyxl / quillmark                 {op / qm:6.1f}x")
    print(f"  quiet rename / small-sheet edit      {quiet / small:6.2f}x")
    print(f"  quiet rename / inflate floor         {quiet / floor:6.2f}x")


if __name__ == "__main__":
    main()
