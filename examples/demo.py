"""Creates a workbook, writes a few cells, saves it, and reads the result back with openpyxl."""
import os

import openpyxl
import quillmark

os.makedirs("out", exist_ok=True)
path = os.path.join("out", "demo.xlsx")

editor = quillmark.Editor.create(path, "Summary")
print("created", path, "with sheets", quillmark.scan_excel(path))

for row, (region, amount) in enumerate([("North", "120"), ("South", "98.5")], start=2):
    editor.set_cell(f"A{row}", region)
    editor.set_cell(f"B{row}", amount)
editor.set_cell("A1", "Region")
editor.set_cell("B1", "Amount")
editor.set_cell("B4", "=SUM(B2:B3)")

copy = os.path.join("out", "demo_copy.xlsx")
editor.save(copy)        # a new file beside the source
editor.save(path)        # and onto the file the editor was opened from

scanner = quillmark.Scanner(copy)
print("the copy lists", scanner.get_sheets())
sheet = openpyxl.load_workbook(path)["Summary"]
for row in sheet.iter_rows(values_only=True):
    print("  ", row)
