"""Workbooks other producers wrote, through edit scripts: every result obeys the readers' rules,
LibreOffice converts it, and openpyxl reads what each script set and everything it left alone.

Every producer writes the same book: "Data" (a table with a formula column and a total, styled
cells, an unlocked input cell, grouped columns, a merge, a print area), a hidden sheet, a
"Scratch" sheet with a name of its own, and "Notes" with a workbook-wide and a local name. What a
script should change is stated against openpyxl's reading of the source, so the check holds for
whatever each producer chose to write.
"""
import copy
import datetime
import decimal
import random
import re
import subprocess
import zipfile

import openpyxl
import polars as pl
import pytest
import xlsxwriter
from openpyxl.styles import Border, Font, PatternFill, Protection, Side
from openpyxl.workbook.defined_name import DefinedName
from openpyxl.worksheet.table import Table

import quillmark
from conftest import DECL, NS, REL_NS, STYLES, workbook_parts, write_package
from integrity import assert_sound, violations
from quillmark import AlignSpec, HorizAlignment
from test_styles import soffice

ROWS = [("North", 120, 135), ("South", 98, 101), ("West", 143, 150)]


def by_xlsxwriter(path):
    wb = xlsxwriter.Workbook(str(path))
    data, hidden, scratch, notes = (wb.add_worksheet(n) for n in ("Data", "Hidden", "Scratch", "Notes"))
    data.add_table("A1:C4", {"name": "Sales", "columns": [{"header": h} for h in ("Region", "Q1", "Q2")]})
    formats = {"B2": {"bold": True, "font_color": "#FF0000"}, "C2": {"pattern": 1, "fg_color": "#FFFF00"},
               "A4": {"border": 1}, "C3": {"locked": False}}
    for r, row in enumerate(ROWS, 2):
        for c, value in zip("ABC", row):
            fmt = formats.get(f"{c}{r}")
            data.write(f"{c}{r}", value, wb.add_format(fmt) if fmt else None)
        data.write_formula(f"E{r}", f"=B{r}+C{r}")
    data.write("E1", "Total")
    data.write_formula("E5", "=SUM(E2:E4)")
    data.set_column("B:C", 12, None, {"level": 1})
    data.merge_range("G1:H1", "merged")
    data.print_area("A1:E5")
    hidden.hide()
    hidden.write("A1", "secret")
    scratch.write("A1", "temp")
    scratch.write_url("B1", "https://example.com/")  # gives the sheet relationships of its own
    notes.write_column("A1", [0.2, 0.3])
    wb.define_name("Scratch!Temp", "=Scratch!$A$1")
    wb.define_name("Rate", "=Notes!$A$1")
    wb.define_name("Notes!Local", "=Notes!$A$1:$A$2")
    data.activate()
    wb.close()


def by_openpyxl(path):
    wb = openpyxl.Workbook()
    data = wb.active
    data.title = "Data"
    hidden, scratch, notes = (wb.create_sheet(n) for n in ("Hidden", "Scratch", "Notes"))
    data.append(["Region", "Q1", "Q2", None, "Total"])
    for r, row in enumerate(ROWS, 2):
        data.append([*row, None, f"=B{r}+C{r}"])
    data["E5"] = "=SUM(E2:E4)"
    data["B2"].font = Font(bold=True, color="FFFF0000")
    data["C2"].fill = PatternFill("solid", fgColor="FFFFFF00")
    thin = Side(style="thin")
    data["A4"].border = Border(left=thin, right=thin, top=thin, bottom=thin)
    data["C3"].protection = Protection(locked=False)
    data.add_table(Table(displayName="Sales", ref="A1:C4"))
    data.column_dimensions.group("B", "C", outline_level=1)
    data.column_dimensions["B"].width = 12
    data["G1"] = "merged"
    data.merge_cells("G1:H1")
    data.print_area = "A1:E5"
    hidden.sheet_state = "hidden"
    hidden["A1"] = "secret"
    scratch["A1"] = "temp"
    scratch["B1"].hyperlink = "https://example.com/"
    notes["A1"], notes["A2"] = 0.2, 0.3
    scratch.defined_names["Temp"] = DefinedName("Temp", attr_text="Scratch!$A$1")
    wb.defined_names["Rate"] = DefinedName("Rate", attr_text="Notes!$A$1")
    notes.defined_names["Local"] = DefinedName("Local", attr_text="Notes!$A$1:$A$2")
    wb.save(path)


STRINGS = ["Region", "Q1", "Q2", "Total", "merged", "North", "South", "West", "secret", "temp"]
HAND_STYLES = STYLES.replace(
    '<fonts count="1">', '<fonts count="2">').replace(
    "</font></fonts>", '</font><font><b/><sz val="11"/><color rgb="FFFF0000"/><name val="Calibri"/></font></fonts>'
).replace('<fills count="2">', '<fills count="3">').replace(
    "</fills>", '<fill><patternFill patternType="solid"><fgColor rgb="FFFFFF00"/><bgColor indexed="64"/>'
                "</patternFill></fill></fills>").replace(
    '<borders count="1">', '<borders count="2">').replace(
    "</borders>", '<border><left style="thin"/><right style="thin"/><top style="thin"/><bottom style="thin"/>'
                  "<diagonal/></border></borders>").replace(
    '<cellXfs count="1">', '<cellXfs count="5">').replace(
    "</cellXfs>", '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>'
                  '<xf numFmtId="0" fontId="0" fillId="2" borderId="0" xfId="0" applyFill="1"/>'
                  '<xf numFmtId="0" fontId="0" fillId="0" borderId="1" xfId="0" applyBorder="1"/>'
                  '<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0" applyProtection="1">'
                  '<protection locked="0"/></xf></cellXfs>')


def by_hand(path, prefixed=False):
    """As the desktop application saves it: shared strings, a shared formula, a calculation chain,
    sheetIds out of order, single-quoted attributes here and there. `prefixed` binds the main
    namespace to "x:", as some libraries do."""
    s = {text: i for i, text in enumerate(STRINGS)}

    def text(ref, value, style=""):
        return f'<c r="{ref}"{style} t="s"><v>{s[value]}</v></c>'

    def sheet(rows, before="", after=""):
        return (DECL + f'<worksheet xmlns="{NS}" xmlns:r="{REL_NS}">{before}<sheetData>{rows}</sheetData>'
                f'{after}</worksheet>')

    formula = ['<f t="shared" ref="E2:E4" si="0">B2+C2</f>', "<f t='shared' si='0'/>", '<f t="shared" si="0"/>']
    styles = {"B2": ' s="1"', "C2": ' s="2"', "A4": ' s="3"', "C3": ' s="4"'}
    rows = f'<row r="1">{text("A1", "Region")}{text("B1", "Q1")}{text("C1", "Q2")}{text("E1", "Total")}' \
           f'{text("G1", "merged")}</row>'
    for r, (region, q1, q2) in enumerate(ROWS, 2):
        rows += (f'<row r="{r}">{text(f"A{r}", region, styles.get(f"A{r}", ""))}'
                 f'<c r="B{r}"{styles.get(f"B{r}", "")}><v>{q1}</v></c>'
                 f'<c r="C{r}"{styles.get(f"C{r}", "")}><v>{q2}</v></c>'
                 f'<c r="E{r}">{formula[r - 2]}<v>{q1 + q2}</v></c></row>')
    rows += '<row r="5"><c r="E5"><f>SUM(E2:E4)</f><v>747</v></c></row>'
    data = sheet(rows, '<dimension ref="A1:H5"/><sheetViews><sheetView tabSelected="1" workbookViewId="0"/>'
                       '</sheetViews><cols><col min="2" max="3" width="12" customWidth="1" outlineLevel="1"/></cols>',
                 '<mergeCells count="1"><mergeCell ref="G1:H1"/></mergeCells>'
                 '<tableParts count="1"><tablePart r:id="rId1"/></tableParts>')
    parts = workbook_parts(sheets=[
        ("Data", data),
        ("Hidden", sheet(f'<row r="1">{text("A1", "secret")}</row>')),
        ("Scratch", sheet(f'<row r="1">{text("A1", "temp")}</row>',
                          after='<hyperlinks><hyperlink ref="B1" r:id="rId1"/></hyperlinks>')),
        ("Notes", sheet('<row r="1"><c r="A1"><v>0.2</v></c></row><row r="2"><c r="A2"><v>0.3</v></c></row>')),
    ], styles=HAND_STYLES)
    parts["xl/workbook.xml"] = (
        DECL + f'<workbook xmlns="{NS}" xmlns:r="{REL_NS}"><bookViews><workbookView activeTab="0"/></bookViews>'
        '<sheets><sheet name="Data" sheetId="1" r:id="rId1"/><sheet name="Hidden" sheetId="4" state="hidden" '
        "r:id='rId2'/><sheet name=\"Scratch\" sheetId=\"2\" r:id=\"rId3\"/><sheet name=\"Notes\" sheetId=\"3\" "
        'r:id="rId4"/></sheets><definedNames>'
        '<definedName name="_xlnm.Print_Area" localSheetId="0">Data!$A$1:$E$5</definedName>'
        '<definedName name="Local" localSheetId="3">Notes!$A$1:$A$2</definedName>'
        '<definedName name="Rate">Notes!$A$1</definedName>'
        '<definedName name="Temp" localSheetId="2">Scratch!$A$1</definedName></definedNames>'
        '<calcPr calcId="191029"/></workbook>')
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>",
        f'<Relationship Id="rId8" Type="{REL_NS}/sharedStrings" Target="sharedStrings.xml"/>'
        f'<Relationship Id="rId9" Type="{REL_NS}/calcChain" Target="calcChain.xml"/></Relationships>')
    ct = "application/vnd.openxmlformats-officedocument.spreadsheetml."
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>", f'<Override PartName="/xl/sharedStrings.xml" ContentType="{ct}sharedStrings+xml"/>'
        f'<Override PartName="/xl/calcChain.xml" ContentType="{ct}calcChain+xml"/>'
        f'<Override PartName="/xl/tables/table1.xml" ContentType="{ct}table+xml"/></Types>')
    parts["xl/worksheets/_rels/sheet1.xml.rels"] = (
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f'<Relationship Id="rId1" Type="{REL_NS}/table" Target="../tables/table1.xml"/></Relationships>')
    parts["xl/worksheets/_rels/sheet3.xml.rels"] = (
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f'<Relationship Id="rId1" Type="{REL_NS}/hyperlink" Target="https://example.com/" TargetMode="External"/>'
        "</Relationships>")
    parts["xl/tables/table1.xml"] = (
        DECL + f'<table xmlns="{NS}" id="1" name="Sales" displayName="Sales" ref="A1:C4" totalsRowShown="0">'
        '<autoFilter ref="A1:C4"/><tableColumns count="3"><tableColumn id="1" name="Region"/>'
        '<tableColumn id="2" name="Q1"/><tableColumn id="3" name="Q2"/></tableColumns>'
        '<tableStyleInfo name="TableStyleMedium9" showRowStripes="1"/></table>')
    parts["xl/sharedStrings.xml"] = (f'<sst xmlns="{NS}" count="{len(STRINGS)}" uniqueCount="{len(STRINGS)}">'
                                     + "".join(f"<si><t>{t}</t></si>" for t in STRINGS) + "</sst>")
    parts["xl/calcChain.xml"] = f'<calcChain xmlns="{NS}"><c r="E2" i="1"/><c r="E3"/><c r="E4"/><c r="E5"/></calcChain>'
    if prefixed:
        for name, text in parts.items():
            if f'xmlns="{NS}"' in text:
                text = re.sub(r"<(/?)([A-Za-z]\w*)(?=[\s/>])", r"<\1x:\2", text)
                parts[name] = text.replace(f'xmlns="{NS}"', f'xmlns:x="{NS}"')
    write_package(path, parts)


def libreoffice(paths, outdir, profile, target="xlsx:Calc MS Excel 2007 XML"):
    """Converts every file in one LibreOffice run (its start-up dominates the cost)."""
    subprocess.run([soffice(), f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to", target,
                    "--outdir", str(outdir), *map(str, paths)], capture_output=True, text=True, timeout=600)
    return [outdir / p.with_suffix("." + target.split(":")[0]).name for p in paths]


@pytest.fixture(scope="module")
def sources(tmp_path_factory):
    folder = tmp_path_factory.mktemp("sources")
    made = {}
    for name, build in (("xlsxwriter", by_xlsxwriter), ("openpyxl", by_openpyxl), ("by hand", by_hand),
                        ("by hand, prefixed", lambda path: by_hand(path, prefixed=True))):
        made[name] = folder / f"{re.sub('[ ,]+', '-', name)}.xlsx"
        build(made[name])
    # LibreOffice's own markup, from an .ods (its native format) and from another producer's .xlsx.
    (ods,) = libreoffice([made["openpyxl"]], folder / "ods", folder / "profile", "ods")
    lo_from_ods, lo_from_hand = libreoffice([ods, made["by hand"]], folder / "lo", folder / "profile")
    made["LibreOffice from ods"], made["LibreOffice from xlsx"] = lo_from_ods, lo_from_hand
    return made


def style(cell):
    def rgb(colour):
        return colour.rgb if colour is not None and colour.type == "rgb" else None

    return {"font": (cell.font.name, cell.font.sz, bool(cell.font.b), bool(cell.font.i), rgb(cell.font.color)),
            "fill": (cell.fill.fill_type, rgb(cell.fill.fgColor) if cell.fill.fill_type else None),
            "border": (cell.border.left.style, cell.border.bottom.style),
            "protection": (cell.protection.locked, cell.protection.hidden),
            "format": cell.number_format, "horizontal": cell.alignment.horizontal or "general"}


def snapshot(path):
    """What openpyxl reads: the sheet list, names and their scopes, and per sheet its state, values
    and formulas, cell styles, merges, tables and column outline levels and widths."""
    wb = openpyxl.load_workbook(path)
    plain = style(wb.worksheets[0].cell(row=1000, column=1))  # a cell with the default format
    names = {(n, None): d.attr_text for n, d in wb.defined_names.items()}
    sheets = {}
    for ws in wb.worksheets:
        names.update({(n, ws.title): d.attr_text for n, d in ws.defined_names.items()})
        if ws.print_area:
            names[("Print_Area", ws.title)] = ws.print_area
        cols = {}
        for dim in ws.column_dimensions.values():
            for i in range(dim.min or 0, (dim.max or -1) + 1):
                cols[i] = (dim.outline_level, dim.width if dim.customWidth else None)
        cells = [c for row in ws.iter_rows() for c in row if not isinstance(c, openpyxl.cell.cell.MergedCell)]
        sheets[ws.title] = {
            "state": ws.sheet_state,
            "values": {c.coordinate: c.value for c in cells if c.value is not None},
            "styles": {c.coordinate: style(c) for c in cells if c.has_style and style(c) != plain},
            "merges": sorted(str(r) for r in ws.merged_cells.ranges),
            "tables": {t.name: [c.name for c in t.tableColumns] for t in ws.tables.values()},
            "columns": {i: v for i, v in cols.items() if v != (0, None)},
        }
    return {"order": wb.sheetnames, "active": wb.active.title, "names": names, "sheets": sheets, "plain": plain}


def restyle(book, sheet, refs, **facts):
    styles = book["sheets"][sheet]["styles"]
    for ref in refs:
        styles[ref] = {**styles.get(ref, book["plain"]), **facts}


def edit_cells(e):
    e.set_cell("E2", "7")  # the formula cell (a shared formula's first cell in the hand-made book)
    e.set_cell("B1", "Spring")  # a table header
    e.write_rows("A6", [["East", 5, 6.5]])
    e.append_row(["appended"])
    e.set_cell("F2", "=E3*2")
    e.with_worksheet("Notes").set_cell("A2", "0.25")


def expect_cells(book):
    data = book["sheets"]["Data"]
    data["values"].update({"E2": 7, "B1": "Spring", "A6": "East", "B6": 5, "C6": 6.5, "A7": "appended",
                           "F2": "=E3*2"})
    data["tables"]["Sales"][1] = "Spring"
    book["sheets"]["Notes"]["values"]["A2"] = 0.25


def edit_styles(e):
    e.set_fill("C2:C3", "00B050")
    e.set_font("A2", "Arial", 12, bold=True)
    e.set_border("A3:B3", "thin")
    e.set_border("B1", "thin")  # a table header: restyled, still the column's name
    e.set_number_format("B2:B4", "0.00")
    e.set_alignment("A4", AlignSpec(horiz=HorizAlignment.Right))
    e.set_column_width("B", 20)
    e.merge_cells("G3:H4")
    e.with_worksheet("Notes").set_fill("A1", "FFC000")


def expect_styles(book):
    restyle(book, "Data", ["C2", "C3"], fill=("solid", "FF00B050"))
    restyle(book, "Data", ["A2"], font=("Arial", 12, True, False, None))
    for ref in ("A3", "B3", "B1"):
        restyle(book, "Data", [ref], border=("thin", "thin"))
    restyle(book, "Data", ["B2", "B3", "B4"], format="0.00")
    restyle(book, "Data", ["A4"], horizontal="right")
    restyle(book, "Notes", ["A1"], fill=("solid", "FFFFC000"))
    data = book["sheets"]["Data"]
    data["columns"][2] = (data["columns"][2][0], 20)
    data["merges"] = sorted(data["merges"] + ["G3:H4"])


def edit_frames(e):
    e.with_polars(pl.DataFrame({"day": [datetime.date(2024, 5, 1)], "n": [1.5]}), "J1")
    e.write_rows("A8", [[datetime.date(2024, 1, 2), True, decimal.Decimal("2.25")]])
    e.set_number_format("C:", "0.0")  # a grouped column: its cells and default change, the group stays


def expect_frames(book):
    data = book["sheets"]["Data"]
    data["values"].update({"J1": "day", "K1": "n", "J2": datetime.datetime(2024, 5, 1), "K2": 1.5,
                           "A8": datetime.datetime(2024, 1, 2), "B8": True, "C8": 2.25})
    restyle(book, "Data", ["J2", "A8"], format="yyyy-mm-dd")
    column_c = {ref for ref in [*data["values"], *data["styles"]] if re.fullmatch(r"C\d+", ref)}
    restyle(book, "Data", sorted(column_c), format="0.0")


def edit_sheets(e):
    e.add_worksheet_at("Cover", 0).set_cell("A1", "cover")
    e.rename_worksheet("Notes", "Notes 2")
    e.delete_worksheet("Scratch")
    e.add_worksheet("Extra")
    e.with_worksheet("Data")


def expect_sheets(book):
    empty = {"state": "visible", "values": {}, "styles": {}, "merges": [], "tables": {}, "columns": {}}
    sheets = book["sheets"]
    sheets["Cover"] = {**copy.deepcopy(empty), "values": {"A1": "cover"}}
    sheets["Notes 2"] = sheets.pop("Notes")
    del sheets["Scratch"]
    sheets["Extra"] = copy.deepcopy(empty)
    book["order"] = ["Cover", "Data", "Hidden", "Notes 2", "Extra"]
    renamed = {}
    for (name, scope), text in book["names"].items():
        if scope == "Scratch":
            continue
        renamed[(name, "Notes 2" if scope == "Notes" else scope)] = re.sub(r"(?<![\w'])'?Notes'?!", "'Notes 2'!", text)
    book["names"] = renamed


SCRIPTS = {"cells": (edit_cells, expect_cells), "styles": (edit_styles, expect_styles),
           "frames": (edit_frames, expect_frames), "sheets": (edit_sheets, expect_sheets)}
PRODUCERS = ["xlsxwriter", "openpyxl", "by hand", "by hand, prefixed", "LibreOffice from ods", "LibreOffice from xlsx"]


@pytest.fixture(scope="module")
def results(sources, tmp_path_factory):
    """{(producer, script): saved path, or the exception the edit raised}."""
    folder = tmp_path_factory.mktemp("results")
    done = {}
    for producer in PRODUCERS:
        for script, (edit, _) in SCRIPTS.items():
            out = folder / f"{re.sub('[ ,]+', '-', producer)}-{script}.xlsx"
            try:
                editor = quillmark.Editor(sources[producer], "Data")
                edit(editor)
                editor.save(out)
                done[producer, script] = out
            except Exception as error:  # reported by the test of this pair
                done[producer, script] = error
    return done


@pytest.mark.parametrize("script", SCRIPTS)
@pytest.mark.parametrize("producer", PRODUCERS)
def test_edit_script_keeps_the_workbook_sound(sources, results, producer, script):
    out = results[producer, script]
    if isinstance(out, Exception):
        raise out
    assert_sound(out)
    with zipfile.ZipFile(out) as z:
        workbook = z.read("xl/workbook.xml").decode()
    assert re.search(r"<calcPr[^>]*fullCalcOnLoad=\"1\"", workbook)  # every script changes cells or sheets
    expected = snapshot(sources[producer])
    SCRIPTS[script][1](expected)
    got = snapshot(out)
    for key in ("order", "active", "names"):
        assert got[key] == expected[key], key
    for name, sheet in expected["sheets"].items():
        for key, value in sheet.items():
            assert got["sheets"][name][key] == value, (name, key)


def test_libreoffice_opens_every_result(results, tmp_path):
    saved = [out for out in results.values() if not isinstance(out, Exception)]
    converted = libreoffice(saved, tmp_path / "lo", tmp_path / "profile")
    for source, target in zip(saved, converted):
        assert target.exists(), source.name
        wb = openpyxl.load_workbook(target)
        assert wb.sheetnames == openpyxl.load_workbook(source).sheetnames, source.name
        assert wb["Data"]["A2"].value == "North", source.name


def cell(rng):
    return f"{rng.choice('ABCDEFGH')}{rng.randint(1, 8)}"


def area(rng):
    return f"{cell(rng)}:{cell(rng)}"


# Calls a random sequence picks from, over the books above: tables, formula groups, merges,
# grouped columns and hidden sheets all lie in A1:H8 of "Data".
RANDOM_CALLS = [
    lambda e, r: e.set_cell(cell(r), r.choice(["x", "1.5", "=A1+1", "", "Region", "=SUM(B2:B4)"])),
    lambda e, r: e.set_cell(r.choice(["A1", "B1", "C1", "E2", "E3"]), r.choice(["New", "7", "=B2*3", "Q2"])),
    lambda e, r: e.write_rows(cell(r), [[r.choice([1, "t", None, 2.5, True, datetime.date(2024, 1, 2)])
                                         for _ in range(r.randint(1, 3))] for _ in range(r.randint(1, 3))]),
    lambda e, r: e.append_row(["a", "1", "=A1"]),
    lambda e, r: e.append_table_at([["p", "q"], ["1", "2"]], cell(r)),
    lambda e, r: e.with_polars(pl.DataFrame({"k": [1, 2], "d": [datetime.date(2024, 1, 1), None]}), cell(r)),
    lambda e, r: e.set_fill(r.choice([cell(r), area(r), "B:", "3:"]), "00B050"),
    lambda e, r: e.set_font(r.choice([cell(r), area(r), "C:"]), "Arial", 12, bold=r.random() < 0.5),
    lambda e, r: e.set_border(r.choice([cell(r), area(r)]), "double"),
    lambda e, r: e.set_number_format(r.choice([cell(r), area(r), "B:", "2:"]), r.choice(["0.00", "@", "0%"])),
    lambda e, r: e.set_alignment(r.choice([area(r), "A:", "B2:"]), AlignSpec(horiz=HorizAlignment.Center, wrap=True)),
    lambda e, r: e.remove_style(area(r)),
    lambda e, r: e.set_column_widths({r.choice("ABCDEFG"): 5, r.choice(["A:C", "C:E", "F:H"]): 9}),
    lambda e, r: e.merge_cells(area(r)),
    lambda e, r: e.add_worksheet_at(f"N{r.randint(0, 99)}", r.randint(0, 5)),
    lambda e, r: e.rename_worksheet(r.choice(e.sheet_names()), r.choice(["it's", "a&b", f"R {r.randint(0, 99)}"])),
    lambda e, r: e.delete_worksheet(r.choice(e.sheet_names())),
    lambda e, r: e.with_worksheet(r.choice(e.sheet_names())),
]


@pytest.mark.parametrize("producer", PRODUCERS)
def test_random_edit_sequences_keep_the_workbook_sound(sources, tmp_path, producer):
    for seed in range(40):
        rng = random.Random(f"{producer}/{seed}")
        editor = quillmark.Editor(sources[producer])
        done = []
        for _ in range(rng.randint(1, 8)):
            call = rng.randrange(len(RANDOM_CALLS))
            try:
                RANDOM_CALLS[call](editor, rng)
                done.append(call)
            except RuntimeError as refused:  # a refusal changes nothing, so the sequence goes on
                done.append((call, str(refused)))
        out = tmp_path / f"{seed}.xlsx"
        editor.save(out)
        found = violations(out)
        assert not found, (seed, done, found)
        openpyxl.load_workbook(out)


# Calls that are often refused: overlaps, header names, formula groups, sheet names, arguments.
REFUSED_OFTEN = [
    lambda e, r: e.merge_cells(area(r)),
    lambda e, r: e.set_cell(r.choice(["A1", "B1", "C1"]), r.choice(["", "q1", "=1+1"])),
    lambda e, r: e.append_table_at([["Region", "region"]], r.choice(["A1", "B1"])),
    lambda e, r: e.rename_worksheet(r.choice(e.sheet_names()), r.choice(e.sheet_names()).upper()),
    lambda e, r: e.add_worksheet(r.choice(e.sheet_names()).lower()),
    lambda e, r: e.set_fill(area(r), r.choice(["nothex", "00B050"])),
    lambda e, r: e.set_border(area(r), r.choice(["fat", "thin"])),
    lambda e, r: e.set_number_format(area(r), r.choice(["", "0.0"])),
    lambda e, r: e.set_column_width(r.choice("ABC"), r.choice([300, 0, 5])),
    lambda e, r: e.with_polars(pl.DataFrame({"a": [1], "b": [2]}), r.choice(["XFD1", "A1048576", "B2"])),
    lambda e, r: e.write_rows(r.choice(["XFD1", "A1048576", "C3"]), [[1, 2], [3, 4]]),
]


def entries(path):
    with zipfile.ZipFile(path) as z:
        return {name: z.read(name) for name in z.namelist()}


@pytest.mark.parametrize("producer", PRODUCERS)
def test_refused_calls_change_nothing(sources, tmp_path, producer):
    refused = 0
    for seed in range(15):
        rng = random.Random(f"{producer}/refused/{seed}")
        editor = quillmark.Editor(sources[producer])
        for step in range(6):
            editor.save(tmp_path / "before.xlsx")
            current = editor.sheet_name
            call = rng.choice(REFUSED_OFTEN + RANDOM_CALLS)
            try:
                call(editor, rng)
            except RuntimeError:
                refused += 1
                editor.save(tmp_path / "after.xlsx")
                assert entries(tmp_path / "after.xlsx") == entries(tmp_path / "before.xlsx"), (seed, step)
                assert editor.sheet_name == current
    assert refused > 10, refused  # the calls above do get refused
