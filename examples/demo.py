"""Creates a workbook, opens it again, saves it, and reads the result back with openpyxl."""
import os

import openpyxl
import quillmark

os.makedirs("out", exist_ok=True)
path = os.path.join("out", "demo.xlsx")

editor = quillmark.Editor.create(path, "Summary")
print("created", path, "with sheets", quillmark.scan_excel(path))

copy = os.path.join("out", "demo_copy.xlsx")
editor.save(copy)        # a new file beside the source
editor.save(path)        # and onto the file the editor was opened from

scanner = quillmark.Scanner(copy)
print("the copy lists", scanner.get_sheets())
print("openpyxl reads", openpyxl.load_workbook(path).sheetnames, "from", path)
