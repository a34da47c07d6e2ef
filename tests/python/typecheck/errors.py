"""Misuses mypy --strict must report: exactly the error codes named in each line's comment."""
import quillmark
from quillmark import AlignSpec, Editor, HorizAlignment, VertAlignment

ed = Editor("book.xlsx")
ed.set_cell("B3", 42)  # E: arg-type
ed.append_row([1, "2"])  # E: list-item
ed.append_table_at([["a"]], 1)  # E: arg-type
ed.set_font("A1", "Arial", "12")  # E: arg-type
ed.set_font("A1", "Arial", 12, bold=1)  # E: arg-type
ed.set_alignment("A1", HorizAlignment.Left)  # E: arg-type
AlignSpec(horiz=VertAlignment.Top)  # E: arg-type
AlignSpec(horiz="Left")  # E: arg-type
ed.set_column_widths({"A": "wide"})  # E: dict-item
ed.save(None)  # E: arg-type
ed.with_polars([[1, 2]])  # E: arg-type
ed.set_cell("B3", "1").set_fill("A1", "FF0000")  # E: func-returns-value attr-defined
row: str = ed.last_row_index("A")  # E: assignment
quillmark.scan_excel("a.xlsx", "Data")  # E: call-arg
quillmark.Editor.create("a.xlsx", None)  # E: arg-type
quillmark.load_workbook("a.xlsx")  # E: attr-defined
ed.sheet_xml  # E: attr-defined
