"""A short edit with the installed wheel, checked with the standard library only (the fresh
environment has nothing else)."""
import pathlib
import sys
import tempfile
import zipfile

import quillmark
from quillmark import AlignSpec, HorizAlignment

assert "site-packages" in quillmark.__file__, quillmark.__file__
with tempfile.TemporaryDirectory() as folder:
    path = pathlib.Path(folder) / "book.xlsx"
    ed = quillmark.Editor.create(path, "Data")
    ed.append_table_at([["Region", "Q1"], ["North", "120"], ["South", "=B2*2"]], "A1")
    ed.set_font("A1:B1", "Arial", 12, bold=True, align=AlignSpec(horiz=HorizAlignment.Center))
    ed.add_worksheet("Notes").save(path)
    assert quillmark.scan_excel(path) == ["Data", "Notes"]
    with zipfile.ZipFile(path) as z:
        assert z.testzip() is None
        sheet = z.read("xl/worksheets/sheet1.xml").decode()
    assert "<v>120</v>" in sheet and "<f>B2*2</f>" in sheet, sheet
    try:
        quillmark.Editor(pathlib.Path(folder) / "missing.xlsx")
    except RuntimeError as error:
        assert "No such file or directory" in str(error)
    else:
        raise AssertionError("opening a missing file succeeded")
print(f"wheel works: quillmark on Python {sys.version.split()[0]} from {quillmark.__file__}")
