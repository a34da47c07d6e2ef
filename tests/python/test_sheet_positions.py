"""The sheet list keeps what it does not change: untouched sheet elements byte for byte, sheetIds,
and every position (scoped names, active and first tab) pointing at the same sheet."""
import re
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import NS, REL_NS, sheet_xml, workbook_parts, write_package
from integrity import assert_sound

# Written as other producers do: attributes in other orders, single quotes, hidden states.
SHEETS = [
    '<sheet name="A" sheetId="3" r:id="rId1"/>',
    "<sheet state='hidden' name='B' r:id='rId2' sheetId='7'/>",
    '<sheet name="C" sheetId="4" r:id="rId3"></sheet>',
    '<sheet name="D" sheetId="2" state="veryHidden" r:id="rId4"/>',
    '<sheet name="E" sheetId="5" r:id="rId5"/>',
]
NAMES = ('<definedNames><definedName name="Local" localSheetId="2">C!$A$1:$B$3'
         '</definedName><definedName name="_xlnm.Print_Area" localSheetId="4">E!$A$1:$C$9</definedName>'
         '<definedName name="Everywhere">A!$A$1</definedName></definedNames>')


def make(tmp_path, view='<workbookView activeTab="2" firstSheet="1"/>', sheets=SHEETS, names=NAMES):
    parts = workbook_parts([(s, sheet_xml()) for s in "ABCDE"[:len(sheets)]])
    parts["xl/workbook.xml"] = (f'<workbook xmlns="{NS}" xmlns:r="{REL_NS}"><bookViews>{view}</bookViews>'
                                f'<sheets>{"".join(sheets)}</sheets>{names}</workbook>')
    return write_package(tmp_path / "book.xlsx", parts)


def saved_workbook(editor, tmp_path):
    out = tmp_path / "out.xlsx"
    editor.save(out)
    with zipfile.ZipFile(out) as z:
        return out, z.read("xl/workbook.xml").decode()


def positions(workbook):
    """Scoped names by the sheet they belong to, and the active and first tab by sheet name."""
    order = re.findall(r"<sheet [^>]*?name=[\"']([^\"']*)", workbook)
    scoped = {m[0]: order[int(m[1])] for m in re.findall(r'<definedName name="([^"]*)" localSheetId="(\d+)"', workbook)}
    view = re.search(r"<workbookView[^>]*>", workbook)[0]
    tab = lambda attr: order[int(re.search(attr + r'="(\d+)"', view)[1]) if attr in view else 0]
    return scoped, tab("activeTab"), tab("firstSheet")


@pytest.mark.parametrize("edit, scoped, active, first", [
    (lambda e: e.add_worksheet_at("New", 0), {"Local": "C", "_xlnm.Print_Area": "E"}, "C", "B"),
    (lambda e: e.add_worksheet_at("New", 3), {"Local": "C", "_xlnm.Print_Area": "E"}, "C", "B"),
    (lambda e: e.add_worksheet("New"), {"Local": "C", "_xlnm.Print_Area": "E"}, "C", "B"),
    (lambda e: e.delete_worksheet("A"), {"Local": "C", "_xlnm.Print_Area": "E"}, "C", "B"),
    (lambda e: e.delete_worksheet("E"), {"Local": "C"}, "C", "B"),
    # The active sheet goes: the next visible one after it (D is very hidden) takes over.
    (lambda e: e.delete_worksheet("C"), {"_xlnm.Print_Area": "E"}, "E", "B"),
    (lambda e: e.rename_worksheet("C", "C2"), {"Local": "C2", "_xlnm.Print_Area": "E"}, "C2", "B"),
])
def test_positions_follow_their_sheets(tmp_path, edit, scoped, active, first):
    editor = quillmark.Editor(make(tmp_path), "A")
    edit(editor)
    out, workbook = saved_workbook(editor, tmp_path)
    assert_sound(out)
    assert positions(workbook) == (scoped, active, first)
    wb = openpyxl.load_workbook(out)
    assert wb.active.title == active and wb.active.sheet_state == "visible"
    assert {n: ws.title for ws in wb.worksheets for n in ws.defined_names} == {
        n: s for n, s in scoped.items() if n == "Local"}
    assert [ws.title for ws in wb.worksheets if ws.print_area] == [s for n, s in scoped.items() if n != "Local"]
    assert "Everywhere" in wb.defined_names


def test_active_tab_falls_back_to_a_visible_sheet_before_it(tmp_path):
    sheets = ['<sheet name="A" sheetId="1" r:id="rId1"/>', '<sheet name="B" sheetId="2" r:id="rId2"/>',
              '<sheet name="C" sheetId="3" r:id="rId3" state="hidden"/>']
    editor = quillmark.Editor(make(tmp_path, '<workbookView activeTab="1"/>', sheets, ""), "A")
    editor.delete_worksheet("B")
    _, workbook = saved_workbook(editor, tmp_path)
    assert '<workbookView activeTab="0"/>' in workbook


def test_untouched_sheet_elements_stay_as_written(tmp_path):
    editor = quillmark.Editor(make(tmp_path), "A")
    editor.add_worksheet_at("New", 1).rename_worksheet("E", "E & more").delete_worksheet("A")
    _, workbook = saved_workbook(editor, tmp_path)
    for kept in SHEETS[1:4]:
        assert kept in workbook
    assert re.search(r'<sheet name="New" sheetId="8" r:id="rId\d+"/>', workbook)  # above every id
    assert '<sheet name="E &amp; more" sheetId="5" r:id="rId5"/>' in workbook
    assert 'name="A"' not in workbook.split("<definedNames>")[0]


def test_the_last_visible_sheet_is_not_deleted(tmp_path):
    sheets = ['<sheet name="A" sheetId="1" r:id="rId1"/>', '<sheet name="B" sheetId="2" r:id="rId2" state="hidden"/>']
    src = make(tmp_path, "<workbookView/>", sheets, "")
    editor = quillmark.Editor(src, "A")
    with pytest.raises(RuntimeError, match="^Sheet `A` is the last visible sheet and cannot be deleted$"):
        editor.delete_worksheet("A")
    _, workbook = saved_workbook(editor, tmp_path)
    with zipfile.ZipFile(src) as z:
        assert workbook == z.read("xl/workbook.xml").decode()
    editor.delete_worksheet("B").delete_worksheet("A")  # nothing hidden left: a new Sheet1 follows


@pytest.mark.parametrize("view", ["<workbookView/>", '<workbookView activeTab="0" firstSheet="0"/>'])
def test_the_sheet_that_replaces_the_only_one_is_the_active_tab(tmp_path, view):
    editor = quillmark.Editor(make(tmp_path, view, ['<sheet name="A" sheetId="1" r:id="rId1"/>'], ""), "A")
    editor.delete_worksheet("A")
    out, workbook = saved_workbook(editor, tmp_path)
    assert_sound(out)
    assert openpyxl.load_workbook(out).active.title == "Sheet1"
