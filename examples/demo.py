"""Makes a small workbook with openpyxl, edits it across several sheets with quillmark, saves it and
reads the result back."""
import os

import openpyxl
import quillmark

os.makedirs("out", exist_ok=True)
source = os.path.join("out", "demo_source.xlsx")
result = os.path.join("out", "demo_result.xlsx")

wb = openpyxl.Workbook()
wb.active.title = "Summary"
wb.active["A1"] = "Quarterly report"
data = wb.create_sheet("Data")
data.append(["Region", "Q1", "Q2"])
data.append(["North", 120, 135])
data.append(["South", 98, 101])
wb.create_sheet("Scratch")["A1"] = "to be removed"
wb.save(source)

print("sheets:", quillmark.scan_excel(source))
quillmark.Scanner(source).open_editor("Data")  # a named sheet

editor = quillmark.Editor(source)              # first sheet: Summary
# Renaming changes the name only; formulas are written against the new one.
editor.rename_worksheet("Data", "Regions").set_cell("A2", "=SUM(Regions!B2:C3)")
editor.with_worksheet("Regions").set_cell("D1", "Total")
for row in (2, 3):
    editor.set_cell(f"D{row}", f"=B{row}+C{row}")
editor.add_worksheet("Notes").set_cell("A1", "Figures are provisional")
editor.add_worksheet_at("Cover", 0).set_cell("A1", "Sales 2024")
editor.delete_worksheet("Scratch")

# A table of mixed values: every value is text; numbers, formulas and strings are told apart by
# their form. The block lands in one pass; append_row continues below it.
orders = [
    ["Order", "Customer", "Qty", "Unit price", "Amount", "Note"],
    ["1001", "Müller & Söhne", "12", "9.95", "=C2*D2", ""],
    ["1002", "O'Brien <Ltd>", "3", "120", "=C3*D3", "rush"],
    ["1003", "北京贸易", "-1", "45.5", "=C4*D4", "return"],
]
editor.add_worksheet("Orders").append_table_at(orders, "A1")
editor.append_row(["Total", "", "=SUM(C2:C4)", "", "=SUM(E2:E4)"])
print("last order row:", editor.last_row_index("A"), "per column:", editor.last_rows_index("A:F"))
editor.save(result)

print("saved:", quillmark.scan_excel(result))
back = openpyxl.load_workbook(result)
for ws in back.worksheets:
    cells = {c.coordinate: c.value for row in ws.iter_rows() for c in row if c.value is not None}
    print(f"  {ws.title}: {cells}")
