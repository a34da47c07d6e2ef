"""Renaming or deleting a sheet rewrites every reference to it, wherever the package holds one."""
import csv
import re
import shutil
import subprocess
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml, workbook_parts, write_package

# Where references live: part, markup with {p} for the prefix naming the sheet "Data" ({s} for a bare
# name), and the markup's text after a delete when it is not the plain #REF! substitution.
PLACES = [
    ("xl/worksheets/sheet2.xml", '<c r="A1"><f>{p}A1*2</f></c>'),
    ("xl/worksheets/sheet2.xml", '<c r="A2"><f t="shared" ref="A2:A3" si="0">SUM({p}B1:B2)</f></c>'),
    ("xl/worksheets/sheet2.xml", '<c r="A4"><f t="array" ref="A4:A5">{p}A1:A2*2</f></c>'),
    ("xl/worksheets/sheet2.xml", "<conditionalFormatting sqref=\"A1\"><cfRule type=\"expression\" priority=\"1\">"
                                 "<formula>{p}$A$1&gt;0</formula></cfRule></conditionalFormatting>"),
    ("xl/worksheets/sheet2.xml", '<dataValidations count="1"><dataValidation type="list" sqref="B1">'
                                 "<formula1>{p}$A$1:$A$3</formula1></dataValidation></dataValidations>"),
    ("xl/worksheets/sheet2.xml", '<hyperlinks><hyperlink ref="B1" location="{p}A1" display="go"/></hyperlinks>'),
    ("xl/workbook.xml", '<definedName name="Total">{p}$A$1:$B$9</definedName>'),
    ("xl/charts/chart1.xml", "<c:val><c:numRef><c:f>{p}$A$1:$A$3</c:f></c:numRef></c:val>"),
    ("xl/tables/table1.xml", "<calculatedColumnFormula>{p}A1+1</calculatedColumnFormula>"),
    ("xl/pivotCache/pivotCacheDefinition1.xml", '<worksheetSource ref="A1:B3" sheet="{s}"/>'),
]
# Never rewritten: a string literal, a sheet whose name only contains the old one, another workbook,
# a function and a table column named like the sheet.
LEFT_ALONE = '<c r="A9"><f>"Data!A1"&amp;Data2!A1&amp;[1]Data!A1&amp;Data.x&amp;T[Data]</f></c>'


def package(tmp_path, first="Data"):
    by_part = {}
    for part, markup in PLACES:
        by_part.setdefault(part, []).append(markup.format(p=f"{first}!", s=first))
    cells = "".join(m for m in by_part["xl/worksheets/sheet2.xml"] if m.startswith("<c "))
    tail = "".join(m for m in by_part["xl/worksheets/sheet2.xml"] if not m.startswith("<c "))
    other = sheet_xml(f'<row r="1">{cells}{LEFT_ALONE}</row>', after=tail)
    parts = workbook_parts([("Data", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>')), ("Other", other),
                            ("Data2", sheet_xml()), ("lower", sheet_xml())])
    parts["xl/workbook.xml"] = parts["xl/workbook.xml"].replace(
        "</sheets>", "</sheets><definedNames>" + by_part["xl/workbook.xml"][0] + "</definedNames>")
    chart_ns = 'xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart"'
    parts["xl/charts/chart1.xml"] = f"<c:chartSpace {chart_ns}>{by_part['xl/charts/chart1.xml'][0]}</c:chartSpace>"
    parts["xl/tables/table1.xml"] = f"<table>{by_part['xl/tables/table1.xml'][0]}</table>"
    parts["xl/pivotCache/pivotCacheDefinition1.xml"] = (
        f"<pivotCacheDefinition><cacheSource>{by_part['xl/pivotCache/pivotCacheDefinition1.xml'][0]}"
        "</cacheSource></pivotCacheDefinition>")
    return write_package(tmp_path / "refs.xlsx", parts)


def parts_of(path):
    with zipfile.ZipFile(path) as z:
        return {name: z.read(name).decode() for name in z.namelist()}


@pytest.mark.parametrize("new_name, prefix", [
    ("Q1 Sales", "'Q1 Sales'!"), ("It's", "'It''s'!"), ("2024", "'2024'!"), ("A1", "'A1'!"),
    ("R1C1", "'R1C1'!"), ("Données", "Données!"), ("Plain", "Plain!"), ("R&D", "'R&amp;D'!"),
    (None, "#REF!"),
])
def test_every_place_follows_the_sheet(tmp_path, new_name, prefix):
    src = package(tmp_path)
    editor = quillmark.Editor(src, "Other")
    if new_name is None:
        editor.delete_worksheet("Data")
    else:
        editor.rename_worksheet("Data", new_name)
    out = tmp_path / "out.xlsx"
    editor.save(out)
    saved = parts_of(out)
    bare = "Data" if new_name is None else new_name.replace("&", "&amp;")
    for part, markup in PLACES:
        want = markup.format(p=prefix, s=bare)
        assert want in saved[part], (part, want)
    assert LEFT_ALONE in saved["xl/worksheets/sheet2.xml"]
    openpyxl.load_workbook(out)


def test_parts_without_the_name_are_copied_raw(tmp_path, make_book):
    src = package(tmp_path)
    editor = quillmark.Editor(src, "Data")
    editor.rename_worksheet("Data", "Renamed")
    out = tmp_path / "out.xlsx"
    editor.save(out)
    with zipfile.ZipFile(src) as a, zipfile.ZipFile(out) as b:
        for name in ("xl/worksheets/sheet3.xml", "xl/worksheets/sheet4.xml"):
            x, y = a.getinfo(name), b.getinfo(name)
            assert (x.compress_type, x.compress_size, x.CRC) == (y.compress_type, y.compress_size, y.CRC)
        assert b.getinfo("xl/charts/chart1.xml").CRC != a.getinfo("xl/charts/chart1.xml").CRC


def test_held_and_current_sheets_are_rewritten_too(tmp_path):
    src = package(tmp_path)
    editor = quillmark.Editor(src, "Other")
    editor.set_cell("C1", "=Data!A1+1")
    editor.with_worksheet("Data2").set_cell("A1", "='Data'!B2")
    editor.rename_worksheet("Data", "New Name")
    editor.rename_worksheet("New Name", "Final")
    out = tmp_path / "out.xlsx"
    editor.save(out)
    wb = openpyxl.load_workbook(out)
    assert wb["Other"]["C1"].value == "=Final!A1+1"
    assert wb["Data2"]["A1"].value == "=Final!B2"
    assert wb["Other"]["A1"].value == "=Final!A1*2"


def test_case_twins_keep_their_own_references(make_book, tmp_path):
    other = sheet_xml('<row r="1"><c r="A1"><f>data!A1+Data!A1</f></c></row>')
    src = make_book(sheets=[("Data", sheet_xml()), ("data", sheet_xml()), ("Other", other)])
    editor = quillmark.Editor(src)
    editor.rename_worksheet("Data", "Upper")
    out = tmp_path / "out.xlsx"
    editor.save(out)
    assert openpyxl.load_workbook(out)["Other"]["A1"].value == "=data!A1+Upper!A1"


# ---- a workbook from another producer, recalculated by LibreOffice ----

LO_RECALC = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse">
<value>0</value></prop></item></oor:items>
"""


def recalculated(path, tmp_path):
    """Values of every sheet after LibreOffice loads the file recalculating all formulas."""
    exe = shutil.which("soffice") or shutil.which("libreoffice")
    if exe is None:
        pytest.fail("soffice not found: install Debian libreoffice-calc-nogui (make deps does)")
    profile = tmp_path / "lo-profile"
    (profile / "user").mkdir(parents=True, exist_ok=True)
    (profile / "user" / "registrymodifications.xcu").write_text(LO_RECALC)
    outdir = tmp_path / ("lo-" + path.stem)
    result = subprocess.run([exe, f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to",
                             "xlsx", "--outdir", str(outdir), str(path)], capture_output=True, text=True,
                            timeout=240)
    out = outdir / path.name
    assert out.exists(), f"no file written (exit {result.returncode}): {result.stdout} {result.stderr}"
    wb = openpyxl.load_workbook(out, data_only=True)
    return [[[c.value for c in row] for row in ws.iter_rows()] for ws in wb.worksheets]


def test_xlsxwriter_workbook_recalculates_the_same_after_rename(tmp_path):
    xlsxwriter = pytest.importorskip("xlsxwriter")
    src = tmp_path / "made.xlsx"
    book = xlsxwriter.Workbook(str(src))
    data = book.add_worksheet("Data")
    for i, v in enumerate([3, 5, 8]):
        data.write(i, 0, v)
    report = book.add_worksheet("Report")
    report.write_formula("A1", "=Data!A1*2")
    report.write_formula("A2", "=SUM(Data!A1:A3)")
    report.write_formula("A3", '=Data!A2&"Data!A1"')
    report.write_formula("A4", "=SUM(Total)")
    report.write_formula("A5", "=SUM(Data:Report!A1)")
    report.write_url("B1", "internal:Data!A2", string="to data")
    report.data_validation("C1", {"validate": "list", "source": "=Data!$A$1:$A$3"})
    book.define_name("Total", "=Data!$A$1:$A$3")
    chart = book.add_chart({"type": "column"})
    chart.add_series({"values": "=Data!$A$1:$A$3", "name": "=Data!$A$1"})
    report.insert_chart("E2", chart)
    book.close()

    editor = quillmark.Editor(str(src))
    editor.rename_worksheet("Data", "Q1 Sales")
    renamed = tmp_path / "renamed.xlsx"
    editor.save(renamed)

    wb = openpyxl.load_workbook(renamed)
    ws = wb["Report"]
    assert [ws[f"A{i}"].value for i in range(1, 6)] == [
        "='Q1 Sales'!A1*2", "=SUM('Q1 Sales'!A1:A3)", "='Q1 Sales'!A2&\"Data!A1\"", "=SUM(Total)",
        "=SUM('Q1 Sales:Report'!A1)"]
    assert ws["B1"].hyperlink.location == "'Q1 Sales'!A2"
    assert ws.data_validations.dataValidation[0].formula1 == "'Q1 Sales'!$A$1:$A$3"
    assert wb.defined_names["Total"].attr_text == "'Q1 Sales'!$A$1:$A$3"
    series = ws._charts[0].series[0]
    assert series.val.numRef.f == "'Q1 Sales'!$A$1:$A$3"
    assert series.tx.strRef.f == "'Q1 Sales'!$A$1"

    # LibreOffice reads no quoted 3-D reference from these files (not even one it could have left
    # unquoted), so A5 is compared as text above only.
    before, after = recalculated(src, tmp_path), recalculated(renamed, tmp_path)
    assert before[1][:4] == after[1][:4]
    assert [row[0] for row in after[1][:4]] == [6, 16, "5Data!A1", 16]


@pytest.mark.parametrize("old, written", [("Äpfel", "äpfel"), ("Kassel", "\u212Aa\u017F\u017Fel"), ("Data", "DATA")])
def test_references_match_the_name_as_the_sheet_list_does(tmp_path, old, written):
    # A reference spelling the name in another case (Unicode folding, as sheet names compare) names
    # the same sheet, also in a part that is not held when the rename starts.
    other = sheet_xml(f"<row r=\"1\"><c r=\"A1\"><f>'{written}'!A1*2</f></c></row>")
    parts = workbook_parts([(old, sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>')), ("Other", other)])
    parts["xl/workbook.xml"] = parts["xl/workbook.xml"].replace(
        "</sheets>", f"</sheets><definedNames><definedName name=\"T\">'{written}'!$A$1</definedName></definedNames>")
    src = write_package(tmp_path / "refs.xlsx", parts)
    out = tmp_path / "out.xlsx"
    quillmark.Editor(src, old).rename_worksheet(old, "Obst").save(out)
    saved = parts_of(out)
    assert "<f>Obst!A1*2</f>" in saved["xl/worksheets/sheet2.xml"]
    assert ">Obst!$A$1</definedName>" in saved["xl/workbook.xml"]
    openpyxl.load_workbook(out)
