"""Writes meet shared and array formulas: an overwritten shared master hands its formula on, and a
multi-cell array formula changes only through its first cell."""
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml, workbook_parts, write_package
from integrity import assert_sound
from test_sheet_references import recalculated


def shared_sheet(master="A{r}*2", area="B1:B4", cells=("B1", "B2", "B3", "B4"), quote='"'):
    rows = {}
    for r in range(1, 5):
        rows.setdefault(r, []).append(f'<c r="A{r}"><v>{r}</v></c>')
    for i, ref in enumerate(cells):
        r = int(ref[1:])
        if i == 0:
            f = f"<f t={quote}shared{quote} ref={quote}{area}{quote} si={quote}0{quote}>{master.format(r=r)}</f>"
        else:
            f = f"<f si={quote}0{quote} t={quote}shared{quote}/>"
        rows[r].append(f'<c r="{ref}">{f}<v>0</v></c>')
    body = "".join(f'<row r="{r}">{"".join(cells_)}</row>' for r, cells_ in sorted(rows.items()))
    return sheet_xml(body)


def formulas(path):
    ws = openpyxl.load_workbook(path)["Sheet1"]
    return {c.coordinate: c.value for row in ws.iter_rows() for c in row if isinstance(c.value, str)}


def sheet_text(path):
    with zipfile.ZipFile(path) as z:
        return z.read("xl/worksheets/sheet1.xml").decode()


@pytest.mark.parametrize("sheet, edit, master, want", [
    # Overwriting the master: the next cell of the group takes the formula, translated.
    (shared_sheet(), lambda e: e.set_cell("B1", "x"), '<f t="shared" ref="B2:B4" si="0">A2*2</f>',
     {"B1": "x", "B2": "=A2*2", "B3": "=A3*2", "B4": "=A4*2"}),
    (shared_sheet(), lambda e: (e.set_cell("B4", "q"), e.set_cell("B1", "x"), e.set_cell("A1", "3")),
     '<f t="shared" ref="B2:B3" si="0">A2*2</f>', {"B1": "x", "B2": "=A2*2", "B3": "=A3*2", "B4": "q"}),
    (shared_sheet("$A$1+A{r}"), lambda e: e.set_cell("B1", "7"), '<f t="shared" ref="B2:B4" si="0">$A$1+A2</f>',
     {"B2": "=$A$1+A2", "B3": "=$A$1+A3", "B4": "=$A$1+A4"}),
    (shared_sheet(quote="'"), lambda e: e.append_table_at([["x"], ["y"]], "B1"),
     '<f t="shared" ref="B3:B4" si="0">A3*2</f>', {"B1": "x", "B2": "y", "B3": "=A3*2", "B4": "=A4*2"}),
    # A two-column group: the heir is the next cell in row order, ref covers what is left.
    (shared_sheet("A{r}", "B1:C2", ("B1", "C1", "B2", "C2")), lambda e: e.set_cell("B1", "1"),
     '<f t="shared" ref="B1:C2" si="0">B1</f>', {"C1": "=B1", "B2": "=A2", "C2": "=B2"}),
    # Overwriting a follower, or the whole group, needs no move.
    (shared_sheet(), lambda e: e.set_cell("B3", "x"), '<f t="shared" ref="B1:B4" si="0">A1*2</f>',
     {"B1": "=A1*2", "B2": "=A2*2", "B3": "x", "B4": "=A4*2"}),
    (shared_sheet(), lambda e: e.append_table_at([["1"], ["2"], ["3"], ["4"]], "B1"), None, {}),
    # Styles do not touch the formula.
    (shared_sheet(), lambda e: e.set_fill("B1:B4", "FFFF0000"), "<f t=\"shared\" ref=\"B1:B4\" si=\"0\">A1*2</f>",
     {"B1": "=A1*2", "B2": "=A2*2", "B3": "=A3*2", "B4": "=A4*2"}),
])
def test_shared_formulas_survive_writes(make_book, tmp_path, sheet, edit, master, want):
    editor = quillmark.Editor(make_book(sheets=[("Sheet1", sheet)]))
    edit(editor)
    out = tmp_path / "out.xlsx"
    editor.save(out)
    assert_sound(out)
    text = sheet_text(out)
    if master:
        assert master in text
        assert text.count('si="0">') + text.count("si='0'>") == 1  # one master per group
    # openpyxl gives followers their translated formulas; numbers written are not text.
    assert {k: v for k, v in formulas(out).items() if k[0] in "BC"} == want


def test_moved_master_recalculates_in_libreoffice(make_book, tmp_path):
    editor = quillmark.Editor(make_book(sheets=[("Sheet1", shared_sheet())]))
    editor.set_cell("B1", "99")
    out = tmp_path / "moved.xlsx"
    editor.save(out)
    values = recalculated(out, tmp_path)[0]
    assert [row[1] for row in values[:4]] == [99, 4, 6, 8]


ARRAY = sheet_xml('<row r="1"><c r="A1"><v>1</v></c><c r="C1"><f t="array" ref="C1:C3">A1:A3*2</f><v>2</v></c>'
                  '<c r="D1"><f t="array" ref="D1">A1*3</f><v>3</v></c></row>'
                  '<row r="2"><c r="A2"><v>2</v></c><c r="C2"><v>4</v></c></row>'
                  '<row r="3"><c r="A3"><v>3</v></c><c r="C3"><v>6</v></c></row>')


@pytest.mark.parametrize("edit, refused", [
    (lambda e: e.set_cell("C2", "5"), "C2"),
    (lambda e: e.append_row(["", "", "x"]), None),  # row 4 is outside the array
    (lambda e: e.append_table_at([["x", "y"]], "B3"), "C3"),
    (lambda e: e.set_cell("C1", "5"), None),  # the first cell changes the whole array
    (lambda e: e.set_cell("D1", "5"), None),  # a one-cell array is an ordinary cell
    (lambda e: e.set_fill("C1:C3", "FF00FF00"), None),
])
def test_array_formulas_change_only_through_their_first_cell(make_book, tmp_path, edit, refused):
    src = make_book(sheets=[("Sheet1", ARRAY)])
    editor = quillmark.Editor(src)
    if refused:
        with pytest.raises(RuntimeError, match=rf"^Cannot change part of an array formula: {refused} is inside "
                                                r"C1:C3, which only its first cell C1 can change$"):
            edit(editor)
        out = tmp_path / "out.xlsx"
        editor.save(out)
        assert sheet_text(out) == ARRAY
        return
    edit(editor)
    out = tmp_path / "out.xlsx"
    editor.save(out)
    openpyxl.load_workbook(out)


def test_an_overwritten_array_frees_its_cells(make_book, tmp_path):
    editor = quillmark.Editor(make_book(sheets=[("Sheet1", ARRAY)]))
    editor.set_cell("C1", "5")
    editor.set_cell("C2", "6")  # the array is gone: its other cells hold plain values
    out = tmp_path / "out.xlsx"
    editor.save(out)
    ws = openpyxl.load_workbook(out)["Sheet1"]
    assert [ws[f"C{r}"].value for r in (1, 2, 3)] == [5, 6, 6]
