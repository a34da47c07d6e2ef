"""Tables: header cells name the table's columns; merges may not cover a table."""
import zipfile

import openpyxl
import pytest
import xlsxwriter

import quillmark
from integrity import assert_sound


@pytest.fixture
def table_book(tmp_path):
    path = tmp_path / "table.xlsx"
    with xlsxwriter.Workbook(str(path)) as wb:
        ws = wb.add_worksheet("Data")
        ws.add_table("B2:D4", {"name": "Sales", "columns": [{"header": "Region"}, {"header": "Q1"}, {"header": "Q2"}],
                               "data": [["North", 1, 2], ["South", 3, 4]]})
        ws.write("F1", "outside")
    return path


def columns(path):
    wb = openpyxl.load_workbook(path)
    table = wb["Data"].tables["Sales"]
    return [c.name for c in table.tableColumns], [c.value for c in wb["Data"][2][1:4]]


@pytest.mark.parametrize(
    "edit, names",
    [
        (lambda e: e.set_cell("C2", "Spring"), ["Region", "Spring", "Q2"]),
        (lambda e: e.set_cell("C2", "a&b <c>"), ["Region", "a&b <c>", "Q2"]),
        (lambda e: e.append_table_at([["Area", "Q2", "Q1"]], "B2"), ["Area", "Q2", "Q1"]),  # swapped names
        (lambda e: e.set_cell("C3", "9"), ["Region", "Q1", "Q2"]),  # a body cell
        (lambda e: e.set_cell("E2", "beside"), ["Region", "Q1", "Q2"]),
        (lambda e: e.set_fill("B2:D2", "FF0000"), ["Region", "Q1", "Q2"]),
        (lambda e: e.set_font("C2", "Arial", 12).set_border("B2", "thin").set_fill("D2", "FF0000"), ["Region", "Q1", "Q2"]),
    ],
)
def test_header_writes_rename_columns(table_book, tmp_path, edit, names):
    editor = quillmark.Editor(table_book)
    edit(editor)
    editor.save(tmp_path / "out.xlsx")
    assert_sound(tmp_path / "out.xlsx")
    assert columns(tmp_path / "out.xlsx") == (names, names)


@pytest.mark.parametrize(
    "edit, message",
    [
        (lambda e: e.set_cell("B2", ""), "Cannot empty header cell B2 of table 'Sales'"),
        (lambda e: e.set_cell("D2", "q1"), "Table 'Sales' already has a column named 'Q1'"),
        (lambda e: e.append_table_at([["A", "A"]], "B2"), "Table 'Sales' already has a column named 'A'"),
        (lambda e: e.set_cell("C2", "=1+1"), "Cannot write a formula into header cell C2 of table 'Sales'"),
        (lambda e: e.merge_cells("A1:B2"), "Cannot merge A1:B2: it overlaps table 'Sales' (B2:D4)"),
        (lambda e: e.merge_cells("D4:C3"), "Cannot merge D4:C3: it overlaps table 'Sales' (B2:D4)"),
    ],
)
def test_refused_edits_change_nothing(table_book, tmp_path, edit, message):
    editor = quillmark.Editor(table_book)
    with pytest.raises(RuntimeError, match=message.replace("(", r"\(").replace(")", r"\)")):
        edit(editor)
    editor.save(tmp_path / "out.xlsx")
    assert open(tmp_path / "out.xlsx", "rb").read() == open(table_book, "rb").read()


def test_merges_beside_a_table_and_tables_of_other_sheets(table_book, tmp_path):
    editor = quillmark.Editor(table_book)
    editor.merge_cells("F1:G4")
    editor.add_worksheet("Other").set_cell("B2", "")  # no table on this sheet
    editor.merge_cells("B2:D4")
    editor.save(tmp_path / "out.xlsx")
    wb = openpyxl.load_workbook(tmp_path / "out.xlsx")
    assert [str(r) for r in wb["Data"].merged_cells.ranges] == ["F1:G4"]
    assert [str(r) for r in wb["Other"].merged_cells.ranges] == ["B2:D4"]
    with zipfile.ZipFile(tmp_path / "out.xlsx") as out, zipfile.ZipFile(table_book) as src:
        assert out.read("xl/tables/table1.xml") == src.read("xl/tables/table1.xml")
