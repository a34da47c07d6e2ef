"""Style sheets as other producers write them (or leave out), and style calls that fail changing nothing."""
import datetime
import re
import xml.etree.ElementTree as ET
import zipfile

import openpyxl
import polars as pl
import pytest

import quillmark
from conftest import DECL, NS, STYLES, sheet_xml, workbook_parts
from integrity import assert_sound
from quillmark import AlignSpec, HorizAlignment, VertAlignment

ROWS = '<row r="1"><c r="A1"><v>1.5</v></c><c r="B1" s="0"><v>2</v></c></row>'
FONT = '<font><sz val="11"/><name val="Calibri"/></font>'
FILLS = '<fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>'
BORDER = "<border><left/><right/><top/><bottom/><diagonal/></border>"
XF = '<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'


def root(body, attrs=""):
    return DECL + f'<styleSheet xmlns="{NS}"{attrs}>{body}</styleSheet>'


STYLE_SHEETS = {
    "absent": None,
    "self-closing root": DECL + f'<styleSheet xmlns="{NS}" xml:space="preserve"/>',
    "only cellXfs": root(f'<cellXfs count="1">{XF}</cellXfs>'),
    "no counts": root(f"<numFmts/><fonts>{FONT}</fonts><fills>{FILLS}</fills><borders>{BORDER}</borders>"
                      f"<cellXfs>{XF}</cellXfs>"),
    "empty numFmts": root(f'<numFmts count="0"/><fonts count="1">{FONT}</fonts><fills count="2">{FILLS}</fills>'
                          f'<borders count="1">{BORDER}</borders><cellXfs count="1">{XF}</cellXfs>'),
    "prefixed": DECL + f'<x:styleSheet xmlns:x="{NS}"><x:fonts count="1"><x:font><x:sz val="11"/>'
                       '<x:name val="Calibri"/></x:font></x:fonts><x:cellXfs count="1"><x:xf numFmtId="0" '
                       'fontId="0" fillId="0" borderId="0" xfId="0"/></x:cellXfs></x:styleSheet>',
    "office words": STYLES.replace(XF, XF[:-2] + '><alignment horizontal="general" wrapText="true"/></xf>'),
}


def book(make_book, styles):
    parts = workbook_parts(sheets=[("Data", sheet_xml(ROWS))], styles=styles)
    if styles is None:  # no part, no relationship, no override: a package that never had one
        parts["xl/_rels/workbook.xml.rels"] = re.sub(r'<Relationship [^>]*styles"[^>]*/>', "",
                                                     parts["xl/_rels/workbook.xml.rels"])
        parts["[Content_Types].xml"] = re.sub(r'<Override PartName="/xl/styles.xml"[^>]*/>', "",
                                              parts["[Content_Types].xml"])
    return make_book(parts=parts)


def operation_range(operation):
    return "A:" if "column" in operation or operation == "alignment" else "A1:B1"


OPERATIONS = {
    "number format": (lambda e: e.set_number_format("A1:B1", "0.000"),
                      lambda c: c.number_format == "0.000"),
    "text format column": (lambda e: e.set_number_format("A:", "@"), lambda c: c.number_format == "@"),
    "fill": (lambda e: e.set_fill("A1:B1", "#00b050"), lambda c: c.fill.fgColor.rgb == "FF00B050"),
    "font": (lambda e: e.set_font("A1:B1", "Arial", 14, bold=True),
             lambda c: c.font.name == "Arial" and c.font.b and c.font.sz == 14),
    "border": (lambda e: e.set_border("A1:B1", "Thin"), lambda c: c.border.left.style == "thin"),
    "alignment": (lambda e: e.set_alignment("A:", AlignSpec(horiz=HorizAlignment.Right, vert=VertAlignment.Top)),
                  lambda c: c.alignment.horizontal == "right" and c.alignment.vertical == "top"),
}


@pytest.mark.parametrize("operation", OPERATIONS)
@pytest.mark.parametrize("kind", STYLE_SHEETS)
def test_every_operation_on_every_style_sheet(make_book, tmp_path, kind, operation):
    call, looks_right = OPERATIONS[operation]
    editor = quillmark.Editor(book(make_book, STYLE_SHEETS[kind]))
    call(editor)
    call(editor)  # the second call finds what the first one wrote
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    assert_sound(out)
    ws = openpyxl.load_workbook(out).active
    assert looks_right(ws["A1"])
    assert looks_right(ws["B1"]) or operation_range(operation) == "A:"


@pytest.mark.parametrize("kind", STYLE_SHEETS)
def test_dates_from_a_data_frame(make_book, tmp_path, kind):
    editor = quillmark.Editor(book(make_book, STYLE_SHEETS[kind]))
    editor.with_polars(pl.DataFrame({"day": [datetime.date(2024, 5, 1)],
                                     "at": [datetime.datetime(2024, 5, 1, 12, 30)]}), "D1")
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    assert_sound(out)
    ws = openpyxl.load_workbook(out).active
    assert ws["D2"].value == datetime.datetime(2024, 5, 1) and ws["D2"].number_format == "yyyy-mm-dd"
    assert ws["E2"].number_format == "yyyy-mm-dd hh:mm:ss"


def test_opening_and_saving_without_a_style_sheet_adds_none(make_book, tmp_path):
    editor = quillmark.Editor(book(make_book, None))
    editor.set_cell("C3", "x")
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    with zipfile.ZipFile(out) as z:
        assert "xl/styles.xml" not in z.namelist()
        assert "styles" not in z.read("xl/_rels/workbook.xml.rels").decode()
    assert openpyxl.load_workbook(out).active["C3"].value == "x"


# Style sheets that are well-formed but cannot take an entry: each call fails at another step.
BAD_COUNT = {block: STYLES.replace(f'<{block} count="{n}">', f'<{block} count="x">')
             for block, n in (("fonts", 1), ("fills", 2), ("borders", 1), ("cellXfs", 1))}
BAD_COUNT["numFmts"] = STYLES.replace("<fonts", '<numFmts count="x"></numFmts><fonts')
FAILING_CALLS = {
    "number format": lambda e: e.set_number_format("A1:C2", "0.0000"),
    "number format column": lambda e: e.set_number_format("B:", "0.0000"),
    "text format": lambda e: e.set_number_format("A1", "@"),
    "fill": lambda e: e.set_fill("A1:C2", "FF112233"),
    "font": lambda e: e.set_font("B:", "Arial", 9, align=AlignSpec(wrap=True)),
    "border": lambda e: e.set_border("1:", "thick"),
    "alignment column": lambda e: e.set_alignment("A:", AlignSpec(horiz=HorizAlignment.Fill)),
    "alignment cell": lambda e: e.set_alignment("A1", AlignSpec(horiz=HorizAlignment.Fill)),
}


# The calls that must write into each block, and so fail on its bad count; every call writes a cell format.
NEEDS = {"fonts": {"font"}, "fills": {"fill"}, "borders": {"border"},
         "numFmts": {"number format", "number format column"}, "cellXfs": set(FAILING_CALLS)}


@pytest.mark.parametrize("call", FAILING_CALLS)
@pytest.mark.parametrize("block", BAD_COUNT)
def test_a_failed_call_changes_nothing(make_book, tmp_path, block, call):
    path = book(make_book, BAD_COUNT[block])
    quillmark.Editor(path).save(str(tmp_path / "before.xlsx"))
    editor = quillmark.Editor(path)
    if call not in NEEDS[block]:
        FAILING_CALLS[call](editor)
        return
    with pytest.raises(RuntimeError, match="invalid digit found in string"):
        FAILING_CALLS[call](editor)
    editor.save(str(tmp_path / "after.xlsx"))
    with zipfile.ZipFile(tmp_path / "before.xlsx") as before, zipfile.ZipFile(tmp_path / "after.xlsx") as after:
        for name in ("xl/styles.xml", "xl/worksheets/sheet1.xml"):
            assert after.read(name) == before.read(name), name
            ET.fromstring(after.read(name))


@pytest.mark.parametrize("value, written", [
    ("ffc000", "FFFFC000"), ("#FFC000", "FFFFC000"), ("80ffc000", "80FFC000"), ("#00000000", "00000000"),
    ("red", None), ("#FFC00", None), ("FFC0000", None), ("", None), ("#", None), ("FF C000", None),
    ("0xFFC000", None), ("ＦＦＣ０００", None),
])
def test_colours(make_book, tmp_path, value, written):
    check_argument(make_book, tmp_path, lambda e: e.set_fill("A1", value),
                   written and f'<fgColor rgb="{written}"/>')


@pytest.mark.parametrize("value, written", [
    ("thin", "thin"), ("THIN", "thin"), ("mediumdashdotdot", "mediumDashDotDot"), ("none", "none"),
    ("slantDashDot", "slantDashDot"), ("superthick", None), ("", None), (" thin", None), ("thin\x00", None),
])
def test_border_styles(make_book, tmp_path, value, written):
    check_argument(make_book, tmp_path, lambda e: e.set_border("A1", value),
                   written and f'<left style="{written}"/>')


@pytest.mark.parametrize("size, written", [
    (1, "1"), (409, "409"), (10.999, "11"), (8.5, "8.5"), (0, None), (0.99, None), (-3, None), (409.5, None),
    (5000, None), (float("nan"), None), (float("inf"), None), (1e300, None),
])
def test_font_sizes(make_book, tmp_path, size, written):
    check_argument(make_book, tmp_path, lambda e: e.set_font("A1", "Arial", size),
                   written and f'<sz val="{written}"/><name val="Arial"/>')


@pytest.mark.parametrize("name, written", [
    ("R&D Sans", "R&amp;D Sans"), ("Tab\there", "Tab\there"), ("bell\x07", None), ("nul\x00", None),
    ("esc\x1b", None), ("non\ufffe", None), ("non\uffff", None),
])
def test_font_names(make_book, tmp_path, name, written):
    check_argument(make_book, tmp_path, lambda e: e.set_font("A1", name, 10),
                   written and f'<name val="{written}"/>')


@pytest.mark.parametrize("code, written", [
    ('0.0 "kg"', 'formatCode="0.0 &quot;kg&quot;"'), ("", None), ("0.0\x01", None), ("\x0b", None),
    ("0\ufffe", None),
])
def test_number_format_codes(make_book, tmp_path, code, written):
    check_argument(make_book, tmp_path, lambda e: e.set_number_format("A1", code), written)


def check_argument(make_book, tmp_path, call, written):
    """Accepted arguments are written in the given form; refused ones raise RuntimeError and change
    nothing."""
    path = book(make_book, STYLES)
    editor = quillmark.Editor(path)
    if written is None:
        with pytest.raises(RuntimeError):
            call(editor)
    else:
        call(editor)
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    with zipfile.ZipFile(out) as z:
        styles = z.read("xl/styles.xml").decode()
        sheet = z.read("xl/worksheets/sheet1.xml").decode()
    if written is None:
        assert styles == STYLES
        assert ROWS in sheet
    else:
        assert written in styles
        assert_sound(out)
        openpyxl.load_workbook(out)


def test_libreoffice_reads_the_styles_of_every_kind(make_book, tmp_path):
    from test_styles import soffice
    import subprocess

    sources = []
    for i, kind in enumerate(STYLE_SHEETS):
        editor = quillmark.Editor(book(make_book, STYLE_SHEETS[kind]))
        editor.set_fill("A1", "00B050").set_font("A1", "Arial", 12, bold=True).set_number_format("A1", "0.000")
        sources.append(str(tmp_path / f"kind{i}.xlsx"))
        editor.save(sources[-1])
    outdir = tmp_path / "lo"
    subprocess.run([soffice(), f"-env:UserInstallation=file://{tmp_path / 'profile'}", "--headless",
                    "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", str(outdir), *sources],
                   capture_output=True, text=True, timeout=400)
    for i, kind in enumerate(STYLE_SHEETS):
        cell = openpyxl.load_workbook(outdir / f"kind{i}.xlsx").active["A1"]
        assert cell.value == 1.5, kind
        assert cell.fill.fgColor.rgb == "FF00B050" and cell.font.b and cell.font.name == "Arial", kind
        assert cell.number_format == "0.000", kind


def test_column_defaults_derive_from_the_column_style(make_book, tmp_path):
    red = '<fill><patternFill patternType="solid"><fgColor rgb="FFFF0000"/></patternFill></fill>'
    styles = STYLES.replace('<fills count="2">' + FILLS, '<fills count="3">' + FILLS + red).replace(
        f'<cellXfs count="1">{XF}', f'<cellXfs count="2">{XF}<xf numFmtId="0" fontId="0" fillId="2" borderId="0" '
        'xfId="0" applyFill="1" applyProtection="1"><protection locked="0"/></xf>')
    cols = '<cols><col min="2" max="3" width="10" customWidth="1" style="1" outlineLevel="1"/></cols>'
    parts = workbook_parts(sheets=[("Data", sheet_xml(ROWS, before='<dimension ref="A1"/>' + cols))], styles=styles)
    editor = quillmark.Editor(make_book(parts=parts))
    editor.set_number_format("B:", "0.0").set_alignment("C:", AlignSpec(horiz=HorizAlignment.Right))
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    assert_sound(out)
    ws = openpyxl.load_workbook(out).active
    b, c = ws.column_dimensions["B"], ws.column_dimensions["C"]
    assert b.number_format == "0.0" and c.alignment.horizontal == "right"
    for dim in (b, c):
        assert dim.fill.fgColor.rgb == "FFFF0000" and dim.protection.locked is False
        assert dim.width == 10 and dim.outline_level == 1


def test_libreoffice_saved_workbook_keeps_what_a_change_does_not_touch(tmp_path):
    from test_styles import soffice
    import subprocess

    wb = openpyxl.Workbook()
    ws = wb.active
    ws["A1"], ws["B1"] = "locked input", 3
    ws["B1"].protection = openpyxl.styles.Protection(locked=False, hidden=True)
    ws["B1"].alignment = openpyxl.styles.Alignment(wrap_text=True, text_rotation=45, indent=2)
    ws["A1"].font = openpyxl.styles.Font(name="Arial", color="FF0000FF", underline="single")
    src = tmp_path / "src.xlsx"
    wb.save(src)
    subprocess.run([soffice(), f"-env:UserInstallation=file://{tmp_path / 'profile'}", "--headless",
                    "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", str(tmp_path / "lo"), str(src)],
                   capture_output=True, text=True, timeout=240)
    converted = tmp_path / "lo" / "src.xlsx"
    editor = quillmark.Editor(str(converted), openpyxl.load_workbook(converted).sheetnames[0])
    editor.set_fill("A1:B1", "FFC000").set_font("C1", "Arial", 10, bold=True)
    editor.set_alignment("B1", AlignSpec(vert=VertAlignment.Top, wrap=True))
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    ws = openpyxl.load_workbook(out).active
    b1, a1 = ws["B1"], ws["A1"]
    assert b1.fill.fgColor.rgb == a1.fill.fgColor.rgb == "FFFFC000"
    assert (b1.protection.locked, b1.protection.hidden) == (False, True)
    assert (b1.alignment.wrap_text, b1.alignment.text_rotation, b1.alignment.indent) == (True, 45, 2)
    assert b1.alignment.vertical == "top"
    assert a1.font.u == "single" and a1.font.color.rgb == "FF0000FF"  # the fill did not touch the font
    assert ws["C1"].font.b and not ws["C1"].font.u  # a new font is not an underlined one


def test_entries_another_producer_wrote_are_reused_only_when_equal(tmp_path):
    import xlsxwriter

    src = tmp_path / "xw.xlsx"
    wb = xlsxwriter.Workbook(str(src))
    ws = wb.add_worksheet("Data")
    fancy = wb.add_format({"bold": True, "font_color": "#FF0000", "underline": 1, "font_name": "Calibri",
                           "font_size": 11, "pattern": 6, "fg_color": "#00B050", "bottom": 1,
                           "bottom_color": "#FF0000", "locked": False, "rotation": 30})
    ws.write("A1", "styled", fancy)
    ws.write("A2", "plain")
    wb.close()
    editor = quillmark.Editor(str(src), "Data")
    editor.set_font("A2", "Calibri", 11, bold=True).set_fill("A2", "00B050").set_border("A2", "thin")
    editor.set_fill("A1", "FFC000")
    out = tmp_path / "out.xlsx"
    editor.save(str(out))
    ws = openpyxl.load_workbook(out)["Data"]
    a1, a2 = ws["A1"], ws["A2"]
    assert a2.font.b and a2.font.u is None and (a2.font.color is None or a2.font.color.rgb != "FFFF0000")
    assert a2.fill.fill_type == "solid" and a2.fill.fgColor.rgb == "FF00B050"
    assert a2.border.bottom.style == "thin" and a2.border.bottom.color is None
    # A1 keeps all but its fill.
    assert a1.font.b and a1.font.u == "single" and a1.font.color.rgb == "FFFF0000"
    assert a1.fill.fill_type == "solid" and a1.fill.fgColor.rgb == "FFFFC000"
    assert a1.border.bottom.style == "thin" and a1.border.bottom.color.rgb == "FFFF0000"
    assert a1.protection.locked is False and a1.alignment.text_rotation == 30
