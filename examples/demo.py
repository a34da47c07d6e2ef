"""Creates a workbook, writes a few cells, lays it out, saves it, and reads the result back with openpyxl."""
import os

import openpyxl
import quillmark
from quillmark import AlignSpec, HorizAlignment

os.makedirs("out", exist_ok=True)
path = os.path.join("out", "demo.xlsx")

editor = quillmark.Editor.create(path, "Summary")
print("created", path, "with sheets", quillmark.scan_excel(path))

editor.set_cell("A1", "Sales by region")
editor.set_cell("A2", "Region")
editor.set_cell("B2", "Amount")
editor.set_cell("C2", "Booked")
# Dates go in as serial numbers; a date format makes them show as dates.
for row, (region, amount, booked) in enumerate([("North", "120", "45306"), ("South", "98.5", "45337")], start=3):
    editor.set_cell(f"A{row}", region)
    editor.set_cell(f"B{row}", amount)
    editor.set_cell(f"C{row}", booked)
editor.set_cell("B5", "=SUM(B3:B4)")

# A merged, centred title row, column widths and number formats; each call returns the editor.
(editor.merge_cells("A1:C1")
       .set_alignment("A1", AlignSpec(horiz=HorizAlignment.Center))
       .set_column_widths({"A": 18, "B:C": 12})
       .set_number_format("B3:B5", "#,##0.00")
       .set_number_format("C3:C4", "yyyy-mm-dd"))

copy = os.path.join("out", "demo_copy.xlsx")
editor.save(copy)        # a new file beside the source
editor.save(path)        # and onto the file the editor was opened from

scanner = quillmark.Scanner(copy)
print("the copy lists", scanner.get_sheets())
sheet = openpyxl.load_workbook(path)["Summary"]
for row in sheet.iter_rows(values_only=True):
    print("  ", row)
print("merged:", [str(r) for r in sheet.merged_cells.ranges],
      "widths:", {c: sheet.column_dimensions[c].width for c in "AB"},
      "B3 format:", sheet["B3"].number_format)
