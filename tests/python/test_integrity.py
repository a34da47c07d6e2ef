"""The integrity checker itself: a sound package passes, and each rule catches a package that breaks it."""
import pytest

from conftest import DECL, NS, REL_NS, STYLES, workbook_parts, write_package
from integrity import violations

DATA = (
    DECL + f'<worksheet xmlns="{NS}" xmlns:r="{REL_NS}"><dimension ref="A1:E4"/>'
    '<cols><col min="2" max="3" width="12" customWidth="1" outlineLevel="1"/></cols><sheetData>'
    '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><t>Q1</t></is></c></row>'
    '<row r="2"><c r="A2" t="str"><v>x</v></c><c r="B2" s="1"><v>1</v></c>'
    '<c r="C2"><f t="shared" ref="C2:C4" si="0">B2*2</f><v>2</v></c>'
    '<c r="E2"><f t="array" ref="E2:E3">B2:B3</f><v>1</v></c></row>'
    '<row r="3"><c r="B3"><v>2</v></c><c r="C3"><f t="shared" si="0"/><v>4</v></c><c r="E3"><v>2</v></c></row>'
    '<row r="4"><c r="B4" t="b"><v>1</v></c><c r="C4"><f t="shared" si="0"/><v>2</v></c>'
    '<c r="D4" t="e"><v>#N/A</v></c></row>'
    '</sheetData><mergeCells count="1"><mergeCell ref="D1:E1"/></mergeCells>'
    '<conditionalFormatting sqref="B2:B4"><cfRule type="cellIs" dxfId="0" priority="1" operator="greaterThan">'
    '<formula>1</formula></cfRule></conditionalFormatting>'
    '<tableParts count="1"><tablePart r:id="rId1"/></tableParts></worksheet>'
)
TABLE = (DECL + f'<table xmlns="{NS}" id="1" name="T" displayName="T" ref="A1:B3"><tableColumns count="2">'
         '<tableColumn id="1" name="Region"/><tableColumn id="2" name="Q1"/></tableColumns></table>')
BOOK_STYLES = STYLES.replace(
    '<fonts', '<numFmts count="1"><numFmt numFmtId="164" formatCode="0.000"/></numFmts><fonts').replace(
    '<cellXfs count="1">', '<cellXfs count="2"><xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0"/>'
).replace("</cellStyles>", '</cellStyles><dxfs count="1"><dxf><font><b/></font></dxf></dxfs>')
WORKBOOK = (
    DECL + f'<workbook xmlns="{NS}" xmlns:r="{REL_NS}"><bookViews><workbookView activeTab="0" firstSheet="0"/>'
    '</bookViews><sheets><sheet name="Data" sheetId="1" r:id="rId1"/>'
    '<sheet name="Hidden" sheetId="2" state="hidden" r:id="rId2"/></sheets><definedNames>'
    '<definedName name="_xlnm.Print_Area" localSheetId="0">Data!$A$1:$C$4</definedName>'
    '<definedName name="Local" localSheetId="1">Hidden!$A$1</definedName></definedNames>'
    '<calcPr calcId="191029"/></workbook>'
)
CT = "application/vnd.openxmlformats-officedocument.spreadsheetml."


def sound_parts():
    parts = workbook_parts(sheets=[("Data", DATA), ("Hidden", DECL + f'<worksheet xmlns="{NS}"><sheetData/></worksheet>')],
                           styles=BOOK_STYLES)
    parts["xl/workbook.xml"] = WORKBOOK
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>",
        f'<Relationship Id="rId8" Type="{REL_NS}/sharedStrings" Target="sharedStrings.xml"/>'
        f'<Relationship Id="rId9" Type="{REL_NS}/calcChain" Target="/xl/calcChain.xml"/></Relationships>')
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>", f'<Override PartName="/xl/sharedStrings.xml" ContentType="{CT}sharedStrings+xml"/>'
        f'<Override PartName="/xl/calcChain.xml" ContentType="{CT}calcChain+xml"/>'
        f'<Override PartName="/xl/tables/table1.xml" ContentType="{CT}table+xml"/></Types>')
    parts["xl/worksheets/_rels/sheet1.xml.rels"] = (
        f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f'<Relationship Id="rId1" Type="{REL_NS}/table" Target="../tables/table1.xml"/></Relationships>')
    parts["xl/tables/table1.xml"] = TABLE
    parts["xl/sharedStrings.xml"] = f'<sst xmlns="{NS}" count="1" uniqueCount="1"><si><t>Region</t></si></sst>'
    parts["xl/calcChain.xml"] = (f'<calcChain xmlns="{NS}"><c r="C2" i="1"/><c r="C3"/><c r="C4"/>'
                                 '<c r="E2" i="1" a="1"/></calcChain>')
    return parts


WB, SHEET, STY, RELS = "xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/styles.xml", "xl/_rels/workbook.xml.rels"

# (part, text to replace, replacement, what the checker says, further (part, text, replacement) edits);
# with no text to replace the part is added.
BROKEN = {
    "override of a missing part": ("[Content_Types].xml", "</Types>",
                                   '<Override PartName="/xl/gone.xml" ContentType="x"/></Types>', "override for missing"),
    "sheet typed as plain XML": ("[Content_Types].xml", 'sheet1.xml" ContentType="application/vnd.openxmlformats-'
                                 'officedocument.spreadsheetml.worksheet+xml"', 'sheet1.xml" ContentType="application/xml"',
                                 "content type 'application/xml' for a worksheet part"),
    "part without a content type": ("xl/media/image1.png", None, "png", "no content type"),
    "relationship to a missing part": (RELS, "/xl/calcChain.xml", "calc.xml", "targets missing part"),
    "repeated relationship id": (RELS, 'Id="rId9"', 'Id="rId8"', "duplicate relationship id"),
    "r:id without a relationship": (SHEET, 'r:id="rId1"', 'r:id="rId4"', "names no relationship"),
    "forbidden character reference": ("xl/sharedStrings.xml", "Region", "Re&#x1;gion", "forbidden character"),
    "malformed part": (STY, "</styleSheet>", "", "not well-formed"),
    "element outside the namespace": (SHEET, '<mergeCell ref="D1:E1"/>', '<mergeCell xmlns="" ref="D1:E1"/>',
                                      "element mergeCell in no namespace"),
    "invalid sheet name": (WB, 'name="Hidden"', 'name="Hid:den"', "invalid sheet name"),
    "sheet names equal ignoring case": (WB, 'name="Hidden"', 'name="DATA"', "duplicate sheet name"),
    "sheet pointing at another kind of part": (WB, 'r:id="rId2"', 'r:id="rId8"', "points at a sharedStrings"),
    "repeated sheetId": (WB, 'sheetId="2"', 'sheetId="1"', "sheetId '1'"),
    "no visible sheet": (WB, 'sheetId="1"', 'sheetId="1" state="veryHidden"', "no visible sheet"),
    "active tab past the end": (WB, 'activeTab="0"', 'activeTab="2"', "activeTab=2"),
    "first sheet past the end": (WB, 'firstSheet="0"', 'firstSheet="5"', "firstSheet=5"),
    "active tab hidden": (WB, 'activeTab="0"', 'activeTab="1"', "is hidden"),
    "scope past the end": (WB, 'localSheetId="1"', 'localSheetId="2"', "localSheetId=2"),
    "built-in name on another sheet": (WB, 'localSheetId="0"', 'localSheetId="1"', "names sheet 'Data'"),
    "workbook children out of order": (WB, "</bookViews>", '</bookViews><fileVersion appName="x"/>',
                                       "fileVersion after bookViews"),
    "calculation chain entry without formula": ("xl/calcChain.xml", '<c r="C4"/>', '<c r="B4"/>', "not a formula cell"),
    "calculation chain entry of a missing sheet": ("xl/calcChain.xml", 'i="1"/><c r="C3"', 'i="7"/><c r="C3"',
                                                   "sheetId 7 that does not exist"),
    "calculation chain left without relationship": (RELS, f'<Relationship Id="rId9" Type="{REL_NS}/calcChain" '
                                                          'Target="/xl/calcChain.xml"/>', "", "without a relationship"),
    "shared formula without master": (SHEET, '<f t="shared" ref="C2:C4" si="0">B2*2</f>', '<f t="shared" si="0"/>',
                                      "has no master"),
    "shared formula follower outside its ref": (SHEET, 'ref="C2:C4"', 'ref="C2:C3"', "outside its ref"),
    "formula inside an array formula": (SHEET, '<c r="E3"><v>2</v></c>', '<c r="E3"><f>1</f><v>2</v></c>',
                                        "inside array formula"),
    "formula naming a missing sheet": (SHEET, ">B2*2<", ">'Gone sheet'!B2*2<", "refers to missing sheet 'Gone sheet'"),
    "name naming a missing sheet": (WB, "Hidden!$A$1", "Gone!$A$1", "refers to missing sheet 'Gone'"),
    "formula with its '='": (SHEET, ">B2*2<", ">=B2*2<", "starts with '='"),
    "rows out of order": (SHEET, '<row r="3"><c r="B3">', '<row r="5"><c r="B5">', "row 4 after row 5"),
    "cells out of order": (SHEET, '<c r="B2" s="1">', '<c r="F2" s="1">', "after column 6"),
    "cell on another row": (SHEET, '<c r="B3">', '<c r="B2">', "cell 'B2' in row 3"),
    "cell beyond the grid": (SHEET, 'r="D4"', 'r="XFE4"', "cell 'XFE4'"),
    "unknown cell type": (SHEET, 't="b"', 't="x"', "type 'x'"),
    "number that is not finite": (SHEET, "<v>4</v>", "<v>NaN</v>", "number 'NaN'"),
    "shared string index past the end": (SHEET, 't="s"><v>0<', 't="s"><v>1<', "shared string '1'"),
    "boolean that is not 0 or 1": (SHEET, 't="b"><v>1<', 't="b"><v>2<', "boolean '2'"),
    "dimension short of the cells": (SHEET, 'ref="A1:E4"', 'ref="A1:D4"', "does not cover"),
    "overlapping merges": (SHEET, '<mergeCell ref="D1:E1"/></mergeCells>',
                           '<mergeCell ref="D1:E1"/><mergeCell ref="E1:E2"/></mergeCells>', "overlap"),
    "merge count": (SHEET, '<mergeCells count="1">', '<mergeCells count="2">', "mergeCells count=2"),
    "merge of one cell": (SHEET, 'ref="D1:E1"', 'ref="D1"', "two or more cells"),
    "merge over a table": (SHEET, 'ref="D1:E1"', 'ref="B3:C3"', "overlaps merge B3:C3"),
    "header cell differs from its column": ("xl/tables/table1.xml", 'name="Q1"', 'name="Q2"', "differ from column"),
    "repeated table column": ("xl/tables/table1.xml", 'name="Q1"', 'name="region"', "repeated column names"),
    "tables with one name": ("xl/tables/table2.xml", None, TABLE.replace('ref="A1:B3"', 'ref="H1:I3"'), "used twice",
                             (SHEET, '<tablePart r:id="rId1"/>', '<tablePart r:id="rId1"/><tablePart r:id="rId2"/>'),
                             ("xl/worksheets/_rels/sheet1.xml.rels", "</Relationships>",
                              f'<Relationship Id="rId2" Type="{REL_NS}/table" Target="../tables/table2.xml"/>'
                              "</Relationships>")),
    "overlapping columns": (SHEET, "</cols>", '<col min="3" max="4" width="9"/></cols>', "overlaps or precedes"),
    "column width past 255": (SHEET, 'width="12"', 'width="300"', "width 300"),
    "worksheet children out of order": (SHEET, '<dimension ref="A1:E4"/>', '<dimension ref="A1:E4"/><sheetPr/>',
                                        "sheetPr after dimension"),
    "cell style past the end": (SHEET, 's="1"', 's="2"', "cell B2 style 2 with 2"),
    "font id past the end": (STY, 'numFmtId="164" fontId="0"', 'numFmtId="164" fontId="3"', "fontId=3"),
    "undefined number format": (STY, 'numFmtId="164" fontId', 'numFmtId="165" fontId', "numFmtId=165"),
    "count attribute": (STY, '<cellXfs count="2">', '<cellXfs count="3">', "cellXfs count=3"),
    "dxfId past the end": (SHEET, 'dxfId="0"', 'dxfId="1"', "dxfId=1"),
    "colour without alpha": (STY, "<b/>", '<b/><color rgb="FF0000"/>', "not ARGB"),
    "border style": (STY, "<left/>", '<left style="fat"/>', "border style 'fat'"),
    "font size": (STY, '<sz val="11"/>', '<sz val="500"/>', "font size '500'"),
    "alignment word": (STY, 'xfId="0"/></cellXfs>', 'xfId="0"><alignment horizontal="middle"/></xf></cellXfs>',
                       "horizontal alignment 'middle'"),
    "unique count of shared strings": ("xl/sharedStrings.xml", 'uniqueCount="1"', 'uniqueCount="2"', "uniqueCount=2"),
}


# Freedoms other producers use, which no rule forbids.
SOUND = {
    "as written": [],
    "rows and cells without r": [(SHEET, '<row r="3"><c r="B3">', "<row><c r=\"B3\">"),
                                 (SHEET, '<c r="C3">', "<c>")],
    "empty cached value": [(SHEET, "<v>4</v>", "<v></v>")],
    "names that differ under simple case folding": [(WB, 'name="Local"', 'name="\u0130"'),
                                                    (WB, "</definedNames>",
                                                     '<definedName name="i\u0307" localSheetId="1">1</definedName></definedNames>')],
}


@pytest.mark.parametrize("case", SOUND)
def test_a_sound_package_passes(tmp_path, case):
    parts = sound_parts()
    for part, old, new in SOUND[case]:
        assert old in parts[part]
        parts[part] = parts[part].replace(old, new, 1)
    assert violations(write_package(tmp_path / "ok.xlsx", parts)) == []


@pytest.mark.parametrize("case", BROKEN)
def test_each_rule_catches_a_broken_package(tmp_path, case):
    part, old, new, says, *more = BROKEN[case]
    parts = sound_parts()
    for part, old, new in [(part, old, new), *more]:
        if old is None:
            parts[part] = new
        else:
            assert old in parts[part], case
            parts[part] = parts[part].replace(old, new, 1)
    found = violations(write_package(tmp_path / "broken.xlsx", parts))
    assert any(says in v for v in found), found
