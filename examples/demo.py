"""End to end: take a workbook with a chart, add a report sheet built from a polars DataFrame,
style and lay it out, rework the sheet list, save, and check the result with an independent reader.
Then edit a workbook as the desktop application saves it (a hidden sheet, a table, a shared formula
and a calculation chain) and show that all of them survive.

Run with `make demo`; files go to examples/out/.
"""
import datetime as dt
import os
import re
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


# 4. A workbook as the desktop application saves it: a hidden sheet, a table "Sales" over A1:C4, one
#    shared formula for E2:E4 (written once in E2, borrowed by E3 and E4) and the calculation chain
#    that lists every formula cell by sheet.
def desktop_workbook(path):
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    r_ns = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    ct = "application/vnd.openxmlformats-officedocument.spreadsheetml."
    rows = '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c>' \
           '<c r="E1" t="s"><v>3</v></c></row>'
    for r, (region, q1, q2) in enumerate([(4, 120, 135), (5, 98, 101), (6, 143, 150)], 2):
        f = '<f t="shared" ref="E2:E4" si="0">B2+C2</f>' if r == 2 else '<f t="shared" si="0"/>'
        rows += (f'<row r="{r}"><c r="A{r}" t="s"><v>{region}</v></c><c r="B{r}"><v>{q1}</v></c>'
                 f'<c r="C{r}"><v>{q2}</v></c><c r="E{r}">{f}<v>{q1 + q2}</v></c></row>')
    strings = ["Region", "Q1", "Q2", "Total", "North", "South", "West", "internal rates"]
    parts = {
        "[Content_Types].xml": '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        f'<Override PartName="/xl/workbook.xml" ContentType="{ct}sheet.main+xml"/>'
        + "".join(f'<Override PartName="/xl/worksheets/sheet{i}.xml" ContentType="{ct}worksheet+xml"/>' for i in (1, 2))
        + f'<Override PartName="/xl/sharedStrings.xml" ContentType="{ct}sharedStrings+xml"/>'
        f'<Override PartName="/xl/tables/table1.xml" ContentType="{ct}table+xml"/>'
        f'<Override PartName="/xl/calcChain.xml" ContentType="{ct}calcChain+xml"/></Types>',
        "_rels/.rels": '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f'<Relationship Id="rId1" Type="{r_ns}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": f'<workbook {ns} xmlns:r="{r_ns}"><bookViews><workbookView activeTab="0"/></bookViews>'
        '<sheets><sheet name="Data" sheetId="1" r:id="rId1"/><sheet name="Rates" sheetId="2" state="hidden" '
        'r:id="rId2"/></sheets><calcPr calcId="191029"/></workbook>',
        "xl/_rels/workbook.xml.rels": '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        + "".join(f'<Relationship Id="rId{i}" Type="{r_ns}/worksheet" Target="worksheets/sheet{i}.xml"/>' for i in (1, 2))
        + f'<Relationship Id="rId3" Type="{r_ns}/sharedStrings" Target="sharedStrings.xml"/>'
        f'<Relationship Id="rId4" Type="{r_ns}/calcChain" Target="calcChain.xml"/></Relationships>',
        "xl/worksheets/sheet1.xml": f'<worksheet {ns} xmlns:r="{r_ns}"><dimension ref="A1:E4"/><sheetData>{rows}'
        '</sheetData><tableParts count="1"><tablePart r:id="rId1"/></tableParts></worksheet>',
        "xl/worksheets/_rels/sheet1.xml.rels": '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
        f'relationships"><Relationship Id="rId1" Type="{r_ns}/table" Target="../tables/table1.xml"/></Relationships>',
        "xl/worksheets/sheet2.xml": f'<worksheet {ns}><sheetData><row r="1"><c r="A1" t="s"><v>7</v></c></row>'
        "</sheetData></worksheet>",
        "xl/tables/table1.xml": f'<table {ns} id="1" name="Sales" displayName="Sales" ref="A1:C4"><autoFilter '
        'ref="A1:C4"/><tableColumns count="3"><tableColumn id="1" name="Region"/><tableColumn id="2" name="Q1"/>'
        '<tableColumn id="3" name="Q2"/></tableColumns><tableStyleInfo name="TableStyleMedium2" showRowStripes="1"/>'
        "</table>",
        "xl/sharedStrings.xml": f'<sst {ns} count="{len(strings)}" uniqueCount="{len(strings)}">'
        + "".join(f"<si><t>{t}</t></si>" for t in strings) + "</sst>",
        "xl/calcChain.xml": f'<calcChain {ns}><c r="E2" i="1"/><c r="E3"/><c r="E4"/></calcChain>',
    }
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text)


desktop = os.path.join("out", "desktop.xlsx")
desktop_result = os.path.join("out", "desktop_edited.xlsx")
desktop_workbook(desktop)
editor = quillmark.Editor(desktop, "Data")
editor.set_cell("E2", "0")  # the cell that holds the shared formula's text
editor.set_cell("B1", "Spring")  # a header cell of the table
editor.set_cell("B3", "100")  # an input of the totals below
editor.add_worksheet("Summary").set_cell("A1", "=SUM(Data!E2:E4)")
editor.save(desktop_result)

wb = openpyxl.load_workbook(desktop_result)
data = wb["Data"]
states = {ws.title: ws.sheet_state for ws in wb.worksheets}
columns = [c.name for c in data.tables["Sales"].tableColumns]
shared = {ref: data[ref].value for ref in ("E2", "E3", "E4")}
with zipfile.ZipFile(desktop_result) as z:
    names = z.namelist()
    workbook_xml = z.read("xl/workbook.xml").decode()
    group = re.search(r'<f t="shared" ref="[^"]*" si="0">[^<]*</f>', z.read("xl/worksheets/sheet1.xml").decode())[0]
print("\ndesktop workbook, sheet states:", states)
print("table columns:", columns, "| header cells:", [c.value for c in data[1][:3]])
print("formula cells:", shared, "| the group now starts at:", group)
print("calculation chain:", "kept" if "xl/calcChain.xml" in names else "removed with its relationship and type, "
      "so the application rebuilds it", "| full recalculation on open:", 'fullCalcOnLoad="1"' in workbook_xml)
assert states == {"Data": "visible", "Rates": "hidden", "Summary": "visible"}
assert columns == [c.value for c in data[1][:3]] == ["Region", "Spring", "Q2"]
assert shared == {"E2": 0, "E3": "=B3+C3", "E4": "=B4+C4"}
assert "xl/calcChain.xml" not in names and 'fullCalcOnLoad="1"' in workbook_xml
