"""Fills, fonts, borders and alignment set by quillmark, read back by openpyxl and LibreOffice."""
import csv
import os
import re
import shutil
import subprocess
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml
from quillmark import AlignSpec, HorizAlignment, VertAlignment


@pytest.fixture
def table(tmp_path):
    """A workbook made by openpyxl: a 4x3 table of values on sheet "Data"."""
    path = tmp_path / "table.xlsx"
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Data"
    ws.append(["Region", "Q1", "Q2"])
    ws.append(["North", 120, 135])
    ws.append(["South", 98, 101])
    ws.append(["East", 7, 8])
    wb.save(path)
    return str(path)


def saved(editor, tmp_path, name="out.xlsx"):
    out = tmp_path / name
    editor.save(str(out))
    return str(out)


def styles_text(path):
    with zipfile.ZipFile(path) as z:
        return z.read("xl/styles.xml").decode()


def entry_counts(styles):
    return {tag: len(re.findall(f"<{tag}[ />]", styles)) for tag in ("xf", "font", "fill", "border", "numFmt")}


def test_styles_read_back(table, tmp_path):
    editor = quillmark.Editor(table)
    spec = AlignSpec(horiz=HorizAlignment.Center, vert=VertAlignment.Top, wrap=True)
    assert editor.set_fill("A1:C1", "ffffc000") is editor
    assert editor.set_font("B2:C3", "Arial", 12, bold=True, italic=True, align=spec) is editor
    assert editor.set_border("A4:C4", "thin") is editor
    editor.set_fill("B2", "FF00B050")  # over the font: both stay
    editor.set_fill("E6", "FF0000FF")  # a cell and a row that do not exist yet
    ws = openpyxl.load_workbook(saved(editor, tmp_path))["Data"]

    for ref in ("A1", "B1", "C1"):
        assert ws[ref].fill.fill_type == "solid"
        assert ws[ref].fill.fgColor.rgb == "FFFFC000"
    assert ws["A2"].fill.fill_type is None
    for ref in ("B2", "C2", "B3", "C3"):
        font = ws[ref].font
        assert (font.name, font.sz, font.b, font.i) == ("Arial", 12, True, True)
        al = ws[ref].alignment
        assert (al.horizontal, al.vertical, al.wrap_text) == ("center", "top", True)
    assert ws["B2"].fill.fgColor.rgb == "FF00B050"
    assert ws["C2"].fill.fill_type is None
    for ref in ("A4", "B4", "C4"):
        b = ws[ref].border
        assert [b.left.style, b.right.style, b.top.style, b.bottom.style] == ["thin"] * 4
    assert ws["A3"].border.left.style is None
    assert ws["E6"].fill.fgColor.rgb == "FF0000FF"
    # Values are untouched.
    assert [[c.value for c in row] for row in ws.iter_rows(min_row=1, max_row=4, max_col=3)] == [
        ["Region", "Q1", "Q2"], ["North", 120, 135], ["South", 98, 101], ["East", 7, 8]]


@pytest.mark.parametrize(
    "range_, styled, plain",
    [
        ("B:", ["B1", "B2", "B3", "B4"], ["A1", "C2"]),
        ("3:", ["A3", "B3", "C3"], ["A2", "A4"]),
        ("C2", ["C2"], ["B2", "C3"]),
        ("C4:B3", ["B3", "C3", "B4", "C4"], ["A3", "C2"]),
    ],
)
def test_range_forms(table, tmp_path, range_, styled, plain):
    editor = quillmark.Editor(table).set_fill(range_, "FFFF0000")
    ws = openpyxl.load_workbook(saved(editor, tmp_path))["Data"]
    assert [ws[r].fill.fgColor.rgb for r in styled] == ["FFFF0000"] * len(styled)
    assert [ws[r].fill.fill_type for r in plain] == [None] * len(plain)


def test_font_align_replaces_alignment_and_keeps_other_parts(table, tmp_path):
    editor = quillmark.Editor(table)
    editor.set_font("A1", "Calibri", 11, align=AlignSpec(vert=VertAlignment.Bottom, wrap=True))
    editor.set_border("A1", "medium")
    editor.set_font("A1", "Verdana", 9.5, align=AlignSpec(horiz=HorizAlignment.Right))
    cell = openpyxl.load_workbook(saved(editor, tmp_path))["Data"]["A1"]
    assert (cell.font.name, cell.font.sz, cell.font.b) == ("Verdana", 9.5, False)
    assert (cell.alignment.horizontal, cell.alignment.vertical, cell.alignment.wrap_text) == ("right", None, None)
    assert cell.border.top.style == "medium"


def test_remove_style(table, tmp_path):
    editor = quillmark.Editor(table).set_fill("A1:C4", "FFFFC000").set_border("A1:C4", "thin")
    assert editor.remove_style("A1:B2") is editor
    editor.remove_style("4:").remove_style("C:")
    ws = openpyxl.load_workbook(saved(editor, tmp_path))["Data"]
    assert ws["A3"].fill.fgColor.rgb == "FFFFC000" and ws["B3"].border.left.style == "thin"
    for ref in ("A1", "B2", "A4", "C1", "C3"):
        assert ws[ref].fill.fill_type is None and ws[ref].border.left.style is None, ref
    assert ws["B2"].value == 120


def test_many_operations_keep_the_style_sheet_valid_and_small(table, tmp_path):
    colours = [f"FF{i:02X}{255 - i:02X}00" for i in range(0, 250, 25)]
    borders = ["thin", "medium", "dashed", "dotted", "thick", "double", "hair"]
    names = ["Arial", "Calibri", 'R&D <Sans> "x"']
    ranges = ["A1:C4", "B:", "2:", "C3", "A1:A10", "D5:F7"]

    def run(repeat):
        editor = quillmark.Editor(table)
        for i in range(60):
            r = ranges[i % len(ranges)]
            for _ in range(repeat):
                editor.set_fill(r, colours[i % len(colours)])
            for _ in range(repeat):
                editor.set_font(r, names[i % 3], 8 + i % 5, bold=i % 2 == 0)
            for _ in range(repeat):
                editor.set_border(r, borders[i % len(borders)])
        return saved(editor, tmp_path, f"run{repeat}.xlsx")

    once, twice = run(1), run(2)
    # Repeating each call adds no xf, font, fill or border, and changes no cell.
    assert styles_text(twice) == styles_text(once)
    with zipfile.ZipFile(once) as a, zipfile.ZipFile(twice) as b:
        assert a.read("xl/worksheets/sheet1.xml") == b.read("xl/worksheets/sheet1.xml")
    counts = entry_counts(styles_text(once))
    assert counts["fill"] == 2 + len(colours) and counts["border"] == 1 + len(borders)
    ws = openpyxl.load_workbook(once)["Data"]
    # The last calls on A1 (A1:A10) and on D5..F7 (D5:F7) decide what they show.
    assert ws["A1"].fill.fgColor.rgb == colours[58 % len(colours)]
    assert ws["D5"].border.left.style == borders[59 % len(borders)]
    assert ws["F7"].font.name == names[59 % 3]
    assert ws["B2"].value == 120


def test_existing_number_format_with_quotes_is_kept(tmp_path):
    path = tmp_path / "fmt.xlsx"
    wb = openpyxl.Workbook()
    wb.active["A1"] = 1234.5
    wb.active["A1"].number_format = '"$"#,##0.00;[Red]"-$"#,##0.00'
    wb.save(path)
    editor = quillmark.Editor(str(path)).set_fill("A1", "FFDDEEFF")
    out = saved(editor, tmp_path)
    cell = openpyxl.load_workbook(out).active["A1"]
    assert cell.number_format == '"$"#,##0.00;[Red]"-$"#,##0.00'
    assert cell.fill.fgColor.rgb == "FFDDEEFF"
    assert entry_counts(styles_text(out))["numFmt"] == entry_counts(styles_text(str(path)))["numFmt"]


def test_dates_stay_dates_when_styled(tmp_path):
    import datetime

    path = tmp_path / "dates.xlsx"
    wb = openpyxl.Workbook()
    wb.active["A1"] = datetime.date(2024, 3, 1)  # built-in number format 14
    wb.active["A1"].number_format = "mm-dd-yy"
    wb.save(path)
    out = saved(quillmark.Editor(str(path)).set_fill("A1:A2", "FFDDEEFF").set_border("A1", "thin"), tmp_path)
    cell = openpyxl.load_workbook(out).active["A1"]
    assert cell.is_date and cell.value == datetime.datetime(2024, 3, 1)
    assert cell.number_format == "mm-dd-yy" and cell.fill.fgColor.rgb == "FFDDEEFF"


@pytest.mark.parametrize(
    "call, exc, message",
    [
        (lambda e: e.set_fill("A1:", "FF000000"), RuntimeError, "invalid range: A1:"),
        (lambda e: e.set_border("$B$3x", "thin"), RuntimeError, "invalid range syntax: $B$3x"),
        (lambda e: e.remove_style("B"), RuntimeError, "invalid"),
        (lambda e: e.set_fill("B0", "FF000000"), RuntimeError, "range B0 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
        (lambda e: e.set_fill(5, "FF000000"), TypeError, "argument 'range': 'int' object is not an instance of 'str'"),
        (lambda e: e.set_font("A1", "Arial", 12, bold=1), TypeError,
         "argument 'bold': 'int' object is not an instance of 'bool'"),
        (lambda e: e.set_font("A1", "Arial", 12, align=5), TypeError,
         "argument 'align': 'int' object is not an instance of 'AlignSpec'"),
        (lambda e: e.set_font("A1", "Arial", "12"), TypeError, "argument 'size': "),
        (lambda e: e.set_font("A1", "Arial"), TypeError,
         "Editor.set_font() missing 1 required positional argument: 'size'"),
        (lambda e: e.set_border("A1"), TypeError, "Editor.set_border() missing 1 required positional argument: 'style'"),
    ],
)
def test_errors(table, tmp_path, call, exc, message):
    editor = quillmark.Editor(table)
    with pytest.raises(exc) as info:
        call(editor)
    assert str(info.value).startswith(message)
    # The editor stays usable and the sheet is intact.
    editor.set_fill("A1", "FF123456")
    ws = openpyxl.load_workbook(saved(editor, tmp_path))["Data"]
    assert ws["A1"].value == "Region" and ws["B3"].value == 98


def test_failed_call_leaves_the_sheet(make_book, tmp_path):
    rows = '<row r="1"><c r="A1"><v>1</v></c><c r="B1" s="7"><v>2</v></c></row>'
    editor = quillmark.Editor(make_book(sheets=[("Sheet1", sheet_xml(rows))]))
    with pytest.raises(RuntimeError, match="^style id 7 not found in style index$"):
        editor.set_fill("A1:C2", "FF000000")
    out = saved(editor, tmp_path)
    with zipfile.ZipFile(out) as z:
        text = z.read("xl/worksheets/sheet1.xml").decode()
    assert rows in text and "C2" not in text


def soffice():
    exe = shutil.which("soffice") or shutil.which("libreoffice")
    if exe is None:
        pytest.fail("soffice not found: install Debian libreoffice-calc-nogui (make deps does) to run this check")
    return exe


def test_libreoffice_converts_a_styled_file(table, tmp_path):
    exe = soffice()
    editor = quillmark.Editor(table)
    editor.set_fill("A1:C1", "FFFFC000").set_font("A1:C4", "Arial", 11, bold=True,
                                                  align=AlignSpec(horiz=HorizAlignment.Center))
    editor.set_border("A1:E6", "thin").set_fill("E6", "FF00FF00").set_cell("E6", "tail")
    editor.remove_style("B2")
    src = saved(editor, tmp_path, "styled.xlsx")
    outdir = tmp_path / "csv"
    profile = tmp_path / "lo-profile"
    result = subprocess.run(
        [exe, f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to", "csv",
         "--outdir", str(outdir), src],
        capture_output=True, text=True, timeout=240,
    )
    out = outdir / "styled.csv"
    # LibreOffice reports success even when it could not load the file: the CSV is the evidence.
    assert out.exists(), f"no CSV written (exit {result.returncode}): {result.stdout} {result.stderr}"
    with open(out, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    assert rows[:4] == [["Region", "Q1", "Q2", "", ""], ["North", "120", "135", "", ""],
                        ["South", "98", "101", "", ""], ["East", "7", "8", "", ""]]
    assert rows[5][4] == "tail"


@pytest.mark.parametrize(
    "call, text",
    [
        (lambda e: e.set_fill("A1:XFD1048576", "FF0000"), "A1:XFD1048576 covers 17179869184 cells"),
        (lambda e: e.set_font("J1000001:A1", "Arial", 10), "A1:J1000001 covers 10000010 cells"),
        (lambda e: e.set_border("B2:XFD1048576", "thin"), "B2:XFD1048576 covers"),
        (lambda e: e.set_number_format("A1:Z1048576", "0.00"), "A1:Z1048576 covers 27262976 cells"),
        (lambda e: e.set_alignment("A1:XFD1048576", AlignSpec(wrap=True)), "A1:XFD1048576 covers"),
    ],
)
def test_huge_rectangle_refused_before_anything_changes(table, tmp_path, call, text):
    editor = quillmark.Editor(table)
    with pytest.raises(RuntimeError, match="range " + re.escape(text)):
        call(editor)
    out = saved(editor, tmp_path)
    with zipfile.ZipFile(table) as before, zipfile.ZipFile(out) as after:
        for part in ("xl/styles.xml", "xl/worksheets/sheet1.xml"):
            assert after.read(part) == before.read(part)
    # Whole columns and rows stay the way to style everything.
    editor.set_fill("A:", "FF0000").set_fill("2:", "00FF00")
    assert openpyxl.load_workbook(saved(editor, tmp_path, "whole.xlsx"))["Data"]["C2"].fill.fgColor.rgb == "FF00FF00"
