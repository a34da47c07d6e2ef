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

# Style the table: a filled bold header, borders around every cell, centred numbers.
styled = os.path.join("out", "demo_styled.xlsx")
editor = quillmark.Editor(source, "Data")
(editor.set_fill("A1:C1", "FFFFC000")
       .set_font("A1:C1", "Calibri", 11, bold=True)
       .set_border("A1:C3", "thin")
       .set_font("B2:C3", "Calibri", 11, align=quillmark.AlignSpec(horiz=quillmark.HorizAlignment.Center)))
editor.save(styled)
header = openpyxl.load_workbook(styled)["Data"]["A1"]
print(f"styled table saved to {styled}: header fill {header.fill.fgColor.rgb}, bold {header.font.b}")
