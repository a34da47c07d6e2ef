"""Every callable of the module, used as its documentation says; mypy --strict must accept it."""
import datetime as dt
import pathlib

import polars as pl

import quillmark
from quillmark import AlignSpec, Editor, HorizAlignment, Scanner, VertAlignment

quillmark.create_excel("book.xlsx")
quillmark.create_excel(pathlib.Path("book.xlsx"), sheet_name="Data")
names: list[str] = quillmark.scan_excel("book.xlsx")
names = Scanner(pathlib.Path("book.xlsx")).get_sheets()

ed: Editor = Editor("book.xlsx")
ed = Editor("book.xlsx", None)
ed = Editor.open("book.xlsx", "Data")
ed = Editor.create(pathlib.Path("new.xlsx"), "Report")
ed = Scanner("book.xlsx").open_editor()
ed = Scanner("book.xlsx").open_editor(sheet_name="Data")

ed.set_cell("B3", "42")
ed.append_row(["North", "120"])
ed.append_table_at([["Region", "Q1"], ("South", "98")], "E1")
last: int = ed.last_row_index("A,E")
lasts: list[int] = ed.last_rows_index("A:E")
ed.with_polars(pl.DataFrame({"day": [dt.date(2024, 1, 15)], "n": [3]}), "A10")
ed.with_polars(pl.DataFrame({"n": [1]}))

spec = AlignSpec(horiz=HorizAlignment.Center, vert=VertAlignment.Top, wrap=True)
same: bool = spec == AlignSpec()
chained: Editor = (
    ed.set_fill("A1:C1", "FFC000")
    .set_font("A1", "Arial", 12, bold=True, italic=False, align=spec)
    .set_font("A2", "Arial", 10.5, align=None)
    .set_border("A1:C5", "thin")
    .set_alignment("B:", AlignSpec(vert=VertAlignment.Justify))
    .set_number_format("B2:B20", "#,##0.00")
    .remove_style("E5")
    .merge_cells("A1:C1")
    .set_column_width("A", 18)
    .set_column_width_range("B:D", 12.5)
    .set_columns_width(["F", "H:J"], 9)
    .set_column_widths({"K": 30, "L:M": 15.5})
    .add_worksheet("Notes")
    .add_worksheet_at("Cover", 0)
    .with_worksheet("Data")
    .rename_worksheet("Notes", "Remarks")
    .delete_worksheet("Cover")
)
ed.save(pathlib.Path("out.xlsx"))
text: str = repr(ed) + repr(Scanner("book.xlsx")) + repr(spec)
