"""Adding, switching, renaming and deleting worksheets from Python, and what a save makes of it."""
import os
import re
import struct
import zipfile

import openpyxl
import pytest
from conftest import sheet_xml
from quillmark import Editor

EMPTY = "Sheet name cannot be empty"
LONG = "Sheet name cannot be longer than 31 characters"
FORBIDDEN = "Sheet name contains forbidden Excel characters (: \\ / ? * [ ])"


@pytest.fixture
def three(make_book):
    return make_book(sheets=[("Data", sheet_xml()), ("Summary", sheet_xml()), ("Notes", sheet_xml())])


def test_every_method_returns_the_editor_itself(three):
    editor = Editor(three)
    chained = (editor.add_worksheet("A").add_worksheet_at("B", 0).with_worksheet("Summary")
               .rename_worksheet("Summary", "Total").delete_worksheet("Notes"))
    assert chained is editor


@pytest.mark.parametrize("call", [
    lambda e, n: e.add_worksheet(n),
    lambda e, n: e.add_worksheet_at(n, 0),
    lambda e, n: e.with_worksheet(n),
    lambda e, n: e.delete_worksheet(n),
    lambda e, n: e.rename_worksheet(n, "Fine"),
    lambda e, n: e.rename_worksheet("Data", n),
], ids=["add", "add_at", "with", "delete", "rename_old", "rename_new"])
@pytest.mark.parametrize("name, message", [
    (" \u3000\t", EMPTY), ("\u00e9" * 32, LONG), ("Q1/Q2", FORBIDDEN), ("Data[1]", FORBIDDEN),
])
def test_names_are_checked_before_the_core_runs(three, call, name, message):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        call(editor, name)
    assert str(info.value) == message
    # Nothing was done: the catalogue is as it was.
    editor.add_worksheet("Data2").with_worksheet("Notes")


def test_names_are_trimmed(three):
    editor = Editor(three)
    editor.add_worksheet("  New\u00a0").with_worksheet("New").rename_worksheet(" New ", "\tOld ")
    editor.with_worksheet("Old").delete_worksheet("  Old")
    with pytest.raises(RuntimeError, match="^Sheet `Old` not found in workbook.xml$"):
        editor.with_worksheet("Old")
    editor.add_worksheet("x" * 31)  # the limit counts the trimmed name


def test_rename_checks_old_name_before_new_name(three):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        editor.rename_worksheet("  ", "a/b")
    assert str(info.value) == EMPTY


@pytest.mark.parametrize("args, exc, message", [
    ((5, 0), TypeError, "argument 'sheet_name': 'int' object is not an instance of 'str'"),
    (("  ", "1"), TypeError, "argument 'index': 'str' object cannot be interpreted as an integer"),
    (("  ", 1.0), TypeError, "argument 'index': 'float' object cannot be interpreted as an integer"),
    (("  ", None), TypeError, "argument 'index': 'NoneType' object cannot be interpreted as an integer"),
    (("  ", -1), OverflowError, "can't convert negative int to unsigned"),
    (("  ", 2**64), OverflowError, None),
])
def test_add_at_converts_the_index_before_checking_the_name(three, args, exc, message):
    with pytest.raises(exc) as info:
        Editor(three).add_worksheet_at(*args)
    if message is not None:
        assert str(info.value) == message
    if exc is OverflowError:
        assert not str(info.value).startswith("argument")


@pytest.mark.parametrize("call, message", [
    (lambda e: e.add_worksheet(), "Editor.add_worksheet() missing 1 required positional argument: 'sheet_name'"),
    (lambda e: e.add_worksheet_at("x"),
     "Editor.add_worksheet_at() missing 1 required positional argument: 'index'"),
    (lambda e: e.add_worksheet_at(),
     "Editor.add_worksheet_at() missing 2 required positional arguments: 'sheet_name' and 'index'"),
    (lambda e: e.with_worksheet("a", "b"),
     "Editor.with_worksheet() takes 1 positional arguments but 2 were given"),
    (lambda e: e.rename_worksheet("a", old_name="b"),
     "Editor.rename_worksheet() got multiple values for argument 'old_name'"),
    (lambda e: e.delete_worksheet(name="a"), "Editor.delete_worksheet() got an unexpected keyword argument 'name'"),
    (lambda e: e.rename_worksheet(old_name=1, new_name="x"),
     "argument 'old_name': 'int' object is not an instance of 'str'"),
    (lambda e: e.rename_worksheet("x", None), "argument 'new_name': 'None' is not an instance of 'str'"),
])
def test_binding_messages(three, call, message):
    with pytest.raises(TypeError) as info:
        call(Editor(three))
    assert str(info.value) == message


def test_keywords_work(three):
    editor = Editor(three)
    editor.add_worksheet_at(index=0, sheet_name="K").rename_worksheet(new_name="L", old_name="K")
    editor.with_worksheet(sheet_name="L").delete_worksheet(sheet_name="L").add_worksheet(sheet_name="M")


@pytest.mark.parametrize("call, message", [
    (lambda e: e.add_worksheet("Summary"), "Sheet Summary already exists"),
    (lambda e: e.add_worksheet_at("Notes", 1), "Sheet Notes already exists"),
    (lambda e: e.with_worksheet("summary"), "Sheet `summary` not found in workbook.xml"),
    (lambda e: e.rename_worksheet("Data", "Notes"), "Sheet `Notes` already exists"),
    (lambda e: e.rename_worksheet("Gone", "Other"), "Sheet `Gone` not found"),
    (lambda e: e.delete_worksheet("Gone"), "Sheet `Gone` not found in workbook.xml"),
])
def test_core_failures_are_runtime_errors_and_the_editor_stays_usable(three, call, message):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        call(editor)
    assert str(info.value) == message
    assert info.value.__cause__ is None
    editor.with_worksheet("Summary").with_worksheet("Data")


def test_names_differing_only_in_case_are_one_name(three):
    editor = Editor(three)
    with pytest.raises(RuntimeError, match="^Sheet data already exists as Data"):
        editor.add_worksheet("data")
    with pytest.raises(RuntimeError, match="^Sheet `NOTES` already exists as `Notes`"):
        editor.rename_worksheet("Summary", "NOTES")
    editor.rename_worksheet("Data", "Data").rename_worksheet("Data", "DATA").with_worksheet("DATA")


def test_visited_sheets_stay_in_memory_when_the_source_is_gone(three, tmp_path):
    editor = Editor(three, "Data")
    editor.with_worksheet("Summary").add_worksheet("New").with_worksheet("Data")
    os.remove(three)
    editor.with_worksheet("Summary").with_worksheet("New").with_worksheet("Data")
    gone = f"^cannot open '{re.escape(str(three))}': No such file or directory$"
    with pytest.raises(RuntimeError, match=gone):
        editor.with_worksheet("Notes")  # never read
    with pytest.raises(RuntimeError, match=gone):
        editor.add_worksheet("Another")  # part numbers need the source's entry names
    with pytest.raises(RuntimeError, match=gone):
        editor.rename_worksheet("Data", "Renamed")  # unread sheets may refer to it
    assert editor.with_worksheet("Data") is editor


def test_deleting_every_sheet_leaves_sheet1(three):
    editor = Editor(three, "Summary")
    editor.delete_worksheet("Data").delete_worksheet("Summary").delete_worksheet("Notes")
    editor.with_worksheet("Sheet1").delete_worksheet("Sheet1").with_worksheet("Sheet1")
    with pytest.raises(RuntimeError, match="^Sheet Sheet1 already exists$"):
        editor.add_worksheet("Sheet1")


# ---- saved packages ----

WS_CT = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"


def raw_entry(path, name):
    """Everything a raw copy must keep: method, checksum, sizes, time and the compressed bytes."""
    with zipfile.ZipFile(path) as z:
        info = z.getinfo(name)
    with open(path, "rb") as f:
        f.seek(info.header_offset)
        header = f.read(30)
        name_len, extra_len = struct.unpack("<HH", header[26:30])
        f.seek(info.header_offset + 30 + name_len + extra_len)
        data = f.read(info.compress_size)
    return info.compress_type, info.CRC, info.compress_size, info.file_size, info.date_time, data


def read(path, name):
    with zipfile.ZipFile(path) as z:
        return z.read(name).decode()


def entry_names(path):
    with zipfile.ZipFile(path) as z:
        return z.namelist()


def values(ws):
    return {c.coordinate: c.value for row in ws.iter_rows() for c in row if c.value is not None}


@pytest.fixture
def report(tmp_path):
    """Data, Summary and Notes in sheet1..3.xml, written by openpyxl with its theme and doc props."""
    wb = openpyxl.Workbook()
    data = wb.active
    data.title = "Data"
    data.append(["Region", "Q1"])
    data.append(["North", 120])
    wb.create_sheet("Summary")["A1"] = "total"
    notes = wb.create_sheet("Notes")
    notes["B2"] = "keep me"
    path = tmp_path / "report.xlsx"
    wb.save(path)
    return str(path)


def test_three_sheets_edited_across_switches_adds_renames_and_deletes(report, tmp_path):
    editor = Editor(report, "Data")
    editor.set_cell("C1", "Q2")
    editor.with_worksheet("Summary").set_cell("B1", "=Data!B2")
    editor.add_worksheet("Extra").set_cell("A1", "3.5")
    editor.add_worksheet_at("Front", 0).set_cell("A1", "cover")
    editor.with_worksheet("Data").set_cell("C2", "135")
    editor.rename_worksheet("Data", "Main").delete_worksheet("Summary")
    editor.with_worksheet("Extra").set_cell("B1", "later")
    out = str(tmp_path / "out.xlsx")
    editor.save(out)

    wb = openpyxl.load_workbook(out)
    assert wb.sheetnames == ["Front", "Main", "Notes", "Extra"]
    assert values(wb["Front"]) == {"A1": "cover"}
    assert values(wb["Main"]) == {"A1": "Region", "B1": "Q1", "C1": "Q2", "A2": "North", "B2": 120, "C2": 135}
    assert values(wb["Notes"]) == {"B2": "keep me"}
    assert values(wb["Extra"]) == {"A1": 3.5, "B1": "later"}

    workbook = read(out, "xl/workbook.xml")
    assert re.findall(r'<sheet name="([^"]*)" sheetId="(\d+)"', workbook) == [
        ("Front", "5"), ("Main", "1"), ("Notes", "3"), ("Extra", "4")]
    names = entry_names(out)
    assert "xl/worksheets/sheet2.xml" not in names
    assert {"xl/worksheets/sheet4.xml", "xl/worksheets/sheet5.xml"} <= set(names)
    assert "sheet2.xml" not in read(out, "xl/_rels/workbook.xml.rels")
    types = read(out, "[Content_Types].xml")
    assert 'PartName="/xl/worksheets/sheet2.xml"' not in types
    assert 'PartName="/xl/worksheets/sheet1.xml"' in types and 'PartName="/xl/worksheets/sheet3.xml"' in types
    for n in (4, 5):
        assert f'<Override PartName="/xl/worksheets/sheet{n}.xml" ContentType="{WS_CT}"/>' in types

    rewritten = {"[Content_Types].xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/styles.xml",
                 "xl/worksheets/sheet1.xml"}
    untouched = [n for n in entry_names(report) if n not in rewritten and n != "xl/worksheets/sheet2.xml"]
    assert "xl/worksheets/sheet3.xml" in untouched and "xl/theme/theme1.xml" in untouched
    for name in untouched:
        assert raw_entry(out, name) == raw_entry(report, name), name
    # Source entries keep their order; added sheets follow them.
    assert names[:len(names) - 2] == [n for n in entry_names(report) if n != "xl/worksheets/sheet2.xml"]


def test_visited_sheets_are_written_by_every_later_save(report, tmp_path):
    editor = Editor(report, "Data")
    editor.set_cell("D1", "data edit")
    editor.with_worksheet("Summary").set_cell("D1", "summary edit")
    first = str(tmp_path / "first.xlsx")
    editor.save(first)
    editor.with_worksheet("Data").set_cell("D2", "second data edit")
    editor.with_worksheet("Notes")
    second = str(tmp_path / "second.xlsx")
    editor.save(second)

    wb = openpyxl.load_workbook(first)
    assert wb["Data"]["D1"].value == "data edit" and wb["Summary"]["D1"].value == "summary edit"
    assert wb["Data"]["D2"].value is None
    wb = openpyxl.load_workbook(second)
    assert [wb["Data"]["D1"].value, wb["Data"]["D2"].value] == ["data edit", "second data edit"]
    assert wb["Summary"]["D1"].value == "summary edit"
    assert wb["Notes"]["B2"].value == "keep me"


def test_deleted_part_numbers_are_not_reused_in_the_saved_package(make_book, tmp_path):
    path = make_book(sheets=[("One", sheet_xml()), ("Two", sheet_xml())])
    editor = Editor(path)
    editor.delete_worksheet("Two").add_worksheet("Three").set_cell("A1", "three")
    # A part added and deleted in this editor is skipped by the save; its number must stay unused.
    editor.delete_worksheet("Three").add_worksheet("Four").set_cell("A1", "four")
    out = str(tmp_path / "out.xlsx")
    editor.save(out)

    wb = openpyxl.load_workbook(out)
    assert wb.sheetnames == ["One", "Four"]
    assert wb["Four"]["A1"].value == "four"
    names = entry_names(out)
    assert "xl/worksheets/sheet4.xml" in names
    assert not {"xl/worksheets/sheet2.xml", "xl/worksheets/sheet3.xml"} & set(names)
    assert 'Target="worksheets/sheet4.xml"' in read(out, "xl/_rels/workbook.xml.rels")
    types = read(out, "[Content_Types].xml")
    assert "/xl/worksheets/sheet4.xml" in types
    assert "/xl/worksheets/sheet2.xml" not in types and "/xl/worksheets/sheet3.xml" not in types


def test_deleting_the_only_sheet_saves_a_fresh_sheet1(make_book, tmp_path):
    path = make_book(sheets=[("Only", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>'))])
    editor = Editor(path)
    editor.delete_worksheet("Only").set_cell("B2", "new")
    out = str(tmp_path / "out.xlsx")
    editor.save(out)
    wb = openpyxl.load_workbook(out)
    assert wb.sheetnames == ["Sheet1"]
    assert values(wb["Sheet1"]) == {"B2": "new"}
    assert "xl/worksheets/sheet1.xml" not in entry_names(out)
    assert '<dimension ref="A1:B2"/>' in read(out, "xl/worksheets/sheet2.xml")


def test_a_failed_switch_loses_nothing_at_save(report, tmp_path):
    editor = Editor(report, "Data")
    editor.set_cell("A5", "kept")
    with pytest.raises(RuntimeError):
        editor.with_worksheet("Nope")
    out = str(tmp_path / "out.xlsx")
    editor.save(out)
    wb = openpyxl.load_workbook(out)
    assert wb["Data"]["A5"].value == "kept"
    assert wb.sheetnames == ["Data", "Summary", "Notes"]


def test_save_onto_the_source_then_keep_editing(report):
    editor = Editor(report, "Notes")
    editor.add_worksheet("New").set_cell("A1", "x")
    editor.save(report)
    editor.rename_worksheet("New", "Newer").with_worksheet("Notes").set_cell("A1", "y")
    editor.add_worksheet("Latest")
    editor.save(report)
    wb = openpyxl.load_workbook(report)
    assert wb.sheetnames == ["Data", "Summary", "Notes", "Newer", "Latest"]
    assert wb["Newer"]["A1"].value == "x" and wb["Notes"]["A1"].value == "y"
    assert [n for n in entry_names(report) if n.startswith("xl/worksheets/sheet")] == [
        f"xl/worksheets/sheet{i}.xml" for i in range(1, 6)]
