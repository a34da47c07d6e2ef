"""End to end: take a workbook with a chart, add a report sheet built from a polars DataFrame,
style and lay it out, rework the sheet list, save, and check the result with an independent reader.

Run with `make demo`; files go to examples/out/.
"""
import datetime as dt
import os
import zipfile

import openpyxl
import polars as pl
import xlsxwriter

import quillmark
from quillmark import AlignSpec, HorizAlignment, VertAlignment

os.makedirs("out", exist_ok=True)
source = os.path.join("out", "sales.xlsx")
result = os.path.join("out", "sales_report.xlsx")

# 1. A workbook as it might arrive from elsewhere: data, a chart, a scratch sheet.
book = xlsxwriter.Workbook(source)
data = book.add_worksheet("Data")
data.write_row(0, 0, ["Region", "Q1", "Q2"])
for i, (region, q1, q2) in enumerate([("North", 120, 135), ("South", 98, 101), ("West", 143, 150)], 1):
    data.write_row(i, 0, [region, q1, q2])
chart = book.add_chart({"type": "column"})
chart.add_series({"name": "Q1", "categories": "=Data!$A$2:$A$4", "values": "=Data!$B$2:$B$4"})
data.insert_chart("E2", chart)
book.add_worksheet("Scratch").write(0, 0, "to be removed")
book.close()
print("source sheets:", quillmark.scan_excel(source))

# 2. The report table: a real DataFrame with numbers, text, dates, datetimes and nulls.
orders = pl.DataFrame({
    "Order": [1001, 1002, 1003, 1004],
    "Customer": ["Müller & Söhne", "O'Brien <Ltd>", "北京贸易", None],
    "Qty": [12, 3, 7, 1],
    "Unit price": [9.95, 120.0, 45.5, 310.0],
    "Ordered": [dt.date(2024, 1, 15), dt.date(2024, 2, 29), dt.date(2024, 3, 1), None],
    "Shipped": [dt.datetime(2024, 1, 16, 9, 30), None, dt.datetime(2024, 3, 4, 17, 5), None],
})

editor = quillmark.Editor.open(source, "Data")
editor.set_cell("D1", "Total")
for row in (2, 3, 4):
    editor.set_cell(f"D{row}", f"=B{row}+C{row}")

editor.add_worksheet_at("Draft", 0)
editor.set_cell("A1", "Orders, first quarter")
editor.with_polars(orders, "A3")  # header on row 3, data from row 4; date columns get date formats
last = editor.last_row_index("A")
editor.append_row(["Total", "", f"=SUM(C4:C{last})", "", "", ""])
total_row = last + 1
for row in range(4, total_row):
    editor.set_cell(f"G{row}", f"=C{row}*D{row}")
editor.set_cell("G3", "Amount")
editor.set_cell(f"G{total_row}", f"=SUM(G4:G{last})")

(editor.merge_cells("A1:G1")
       .set_font("A1", "Calibri", 14, bold=True,
                 align=AlignSpec(horiz=HorizAlignment.Center, vert=VertAlignment.Center))
       .set_fill("A3:G3", "1F4E78")
       .set_font("A3:G3", "Calibri", 11, bold=True)
       .set_border(f"A3:G{total_row}", "thin")
       .set_number_format(f"D4:D{last}", "#,##0.00")
       .set_number_format(f"G4:G{total_row}", "#,##0.00")
       .set_fill(f"A{total_row}:G{total_row}", "DDEBF7")
       .set_column_widths({"A": 10, "B": 22, "C:D": 11, "E": 12, "F": 18, "G": 12}))
print("last rows per column:", editor.last_rows_index("A:G"))

editor.set_cell("I3", "All regions")
editor.set_cell("I4", "=SUM(Data!B2:C4)")

# Renaming a sheet rewrites what refers to it: the formula above and the chart's series.
editor.rename_worksheet("Draft", "Report").rename_worksheet("Data", "Sales 2024").delete_worksheet("Scratch")
editor.save(result)

# 3. Check the result with openpyxl, and that the chart came through untouched.
print("saved sheets:", quillmark.scan_excel(result))
wb = openpyxl.load_workbook(result)
report = wb["Report"]
for row in report.iter_rows(min_row=1, max_row=total_row, values_only=True):
    print("  ", row)
print("merged:", [str(r) for r in report.merged_cells.ranges],
      "| E4 format:", report["E4"].number_format, "| F4 format:", report["F4"].number_format,
      "| A3 fill:", report["A3"].fill.fgColor.rgb, "| B width:", report.column_dimensions["B"].width)

print("I4 after the rename:", report["I4"].value)

with zipfile.ZipFile(source) as before, zipfile.ZipFile(result) as after:
    kept = [i.filename for i in before.infolist() if i.filename.startswith("xl/drawings/")]
    same = all(before.getinfo(n).CRC == after.getinfo(n).CRC and
               before.getinfo(n).compress_size == after.getinfo(n).compress_size for n in kept)
    print(f"drawing parts carried over unchanged: {same} ({len(kept)} parts)")
    series = [f for f in after.read("xl/charts/chart1.xml").decode().split("<c:f>")[1:]]
    print("chart series now read:", [f.split("</c:f>")[0] for f in series])
assert same and wb.sheetnames == ["Report", "Sales 2024"]
assert report["I4"].value == "=SUM('Sales 2024'!B2:C4)"
