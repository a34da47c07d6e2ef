"""Makes a small workbook with openpyxl, opens it with quillmark and reports what it found."""
import os

import openpyxl
import quillmark

os.makedirs("out", exist_ok=True)
source = os.path.join("out", "demo_source.xlsx")

wb = openpyxl.Workbook()
wb.active.title = "Summary"
wb.active["A1"] = "Quarterly report"
data = wb.create_sheet("Data")
data.append(["Region", "Q1", "Q2"])
data.append(["North", 120, 135])
data.append(["South", 98, 101])
wb.save(source)

print("sheets:", quillmark.scan_excel(source))
quillmark.Editor(source)                       # first sheet
quillmark.Scanner(source).open_editor("Data")  # a named sheet
print("opened both sheets of", source)
