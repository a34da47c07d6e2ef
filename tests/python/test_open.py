"""Opening workbooks: sheet choice, names, relationships, last row and every open failure."""
import os
import zipfile

import openpyxl
import pytest
import quillmark
from conftest import STYLES, run_python, sheet_xml, without_root_override, workbook_parts, write_package
from quillmark import Editor, Scanner


def test_first_sheet_by_default_and_trimmed_names(make_book):
    path = make_book(sheets=[("Data", sheet_xml()), ("Sheet1", sheet_xml())])
    for editor in (Editor(path), Editor.open(path), Editor(path, None), Scanner(path).open_editor()):
        assert type(editor) is Editor
    Editor(path, "  Sheet1  ")
    Editor.open(path, "\u3000Data\u00a0")
    with pytest.raises(RuntimeError, match="^Sheet `data` not found in workbook.xml$"):
        Editor(path, "data")


@pytest.mark.parametrize("name, message", [
    ("   ", "Sheet name cannot be empty"),
    ("x" * 32, "Sheet name cannot be longer than 31 characters"),
    ("Q1/Q2", "Sheet name contains forbidden Excel characters (: \\ / ? * [ ])"),
])
def test_bad_sheet_names(make_book, name, message):
    path = make_book()
    for call in (lambda: Editor(path, name), lambda: Editor.open(path, name),
                 lambda: Scanner(path).open_editor(name)):
        with pytest.raises(RuntimeError) as info:
            call()
        assert str(info.value) == message


def test_escaped_names_are_listed_and_found(make_book):
    path = make_book(sheets=[("R&amp;D", sheet_xml()), ("It&apos;s &#x41;", sheet_xml())])
    assert quillmark.scan_excel(path) == ["R&D", "It's A"]
    Editor(path, "R&D")
    Editor(path, "It's A")


@pytest.mark.parametrize("prefix", ["worksheets/", "/xl/worksheets/", "xl/worksheets/"])
def test_relationship_targets(make_book, prefix):
    rows = '<row r="2"><c r="A2"><v>1</v></c></row>'
    path = make_book(sheets=[("S", sheet_xml(rows))], target_prefix=prefix)
    Editor(path, "S")


def test_no_sheets(make_book):
    parts = workbook_parts()
    parts["xl/workbook.xml"] = '<workbook xmlns:r="r"><sheets></sheets></workbook>'
    path = make_book(parts=parts)
    with pytest.raises(RuntimeError, match="^Workbook contains no worksheets$"):
        Editor(path)
    assert quillmark.scan_excel(path) == []
    assert Scanner(path).get_sheets() == []
    parts["xl/workbook.xml"] = '<workbook><sheets/></workbook>'
    path = make_book(parts=parts)
    assert quillmark.scan_excel(path) == []
    with pytest.raises(RuntimeError, match="^Sheet `Sheet1` not found in workbook.xml$"):
        Editor(path, "Sheet1")


def missing(parts, *names):
    return {k: (None if k in names else v) for k, v in parts.items()}


@pytest.mark.parametrize("drop, message", [
    (["xl/workbook.xml"], "xl/workbook.xml not found"),
    (["xl/_rels/workbook.xml.rels"], "xl/_rels/workbook.xml.rels not found"),
    (["xl/worksheets/sheet1.xml"], "xl/worksheets/sheet1.xml not found"),
    (["xl/worksheets/sheet1.xml", "xl/styles.xml"], "xl/worksheets/sheet1.xml not found"),
])
def test_missing_parts(make_book, drop, message):
    path = make_book(parts=missing(workbook_parts(), *drop))
    with pytest.raises(RuntimeError) as info:
        Editor(path, "Sheet1")
    assert str(info.value) == message


def test_missing_relationship_and_workbook_for_listing(make_book):
    parts = workbook_parts()
    parts["xl/_rels/workbook.xml.rels"] = "<Relationships></Relationships>"
    path = make_book(parts=parts)
    with pytest.raises(RuntimeError, match="^Relationship `rId1` not found in workbook.xml.rels$"):
        Editor(path)
    path = make_book(parts=missing(workbook_parts(), "xl/workbook.xml"))
    with pytest.raises(RuntimeError, match="^workbook.xml not found$"):
        Editor(path)
    with pytest.raises(RuntimeError, match="^workbook.xml not found$"):
        quillmark.scan_excel(path)
    with pytest.raises(RuntimeError, match="^RuntimeError: workbook.xml not found$"):
        Scanner(path).get_sheets()


def test_not_a_workbook(tmp_path):
    junk = tmp_path / "junk.xlsx"
    junk.write_bytes(b"this is not a zip archive at all" * 10)
    empty = tmp_path / "empty.xlsx"
    empty.write_bytes(b"")
    folder = tmp_path / "folder.xlsx"
    folder.mkdir()
    good = tmp_path / "good.xlsx"
    write_package(good, workbook_parts())
    truncated = tmp_path / "truncated.xlsx"
    truncated.write_bytes(good.read_bytes()[:-40])
    cases = [
        (junk, "Not a zip archive"),
        (empty, "Not a zip archive"),
        (truncated, "Not a zip archive"),
        (folder, "Is a directory"),
        (tmp_path / "absent.xlsx", "No such file or directory"),
    ]
    for path, reason in cases:
        message = f"cannot open {str(path)!r}: {reason}"
        for call in (lambda: Editor(path, "Sheet1"), lambda: Editor(path), lambda: quillmark.scan_excel(path)):
            with pytest.raises(RuntimeError) as info:
                call()
            assert str(info.value) == message, path
        with pytest.raises(RuntimeError) as info:
            Scanner(path).get_sheets()
        assert str(info.value) == "RuntimeError: " + message


def test_unreadable_file(make_book):
    path = make_book()
    os.chmod(path, 0)
    result = run_python(f"""
        import quillmark
        for call in (lambda: quillmark.Editor({path!r}), lambda: quillmark.scan_excel({path!r})):
            try:
                call()
            except RuntimeError as e:
                print(e)
        """, without_root_override())
    assert result.stdout.splitlines() == [f"cannot open {path!r}: Permission denied"] * 2, result.stderr


@pytest.mark.parametrize("where, message", [(0.5, "^(CRC error|Compressed data invalid)$"), (1.0, "^CRC error$")])
def test_damaged_deflated_sheet_is_refused(tmp_path, where, message):
    rows = "".join(f'<row r="{i}"><c r="A{i}"><v>{i * 31 % 977}</v></c></row>' for i in range(1, 20000))
    path = tmp_path / "damaged.xlsx"
    write_package(path, workbook_parts(sheets=[("Big", sheet_xml(rows))]))
    with zipfile.ZipFile(path) as z:
        info = z.getinfo("xl/worksheets/sheet1.xml")
    data = bytearray(path.read_bytes())
    start = info.header_offset + 30 + int.from_bytes(data[info.header_offset + 26:info.header_offset + 28], "little") \
        + int.from_bytes(data[info.header_offset + 28:info.header_offset + 30], "little")
    if where == 1.0:
        # The stream stays valid; only the directory's checksum disagrees.
        data[info.header_offset + 14] ^= 0x01
        record = data.index(b"PK\x01\x02")
        while int.from_bytes(data[record + 42:record + 46], "little") != info.header_offset:
            record = data.index(b"PK\x01\x02", record + 4)
        data[record + 16] ^= 0x01
    else:
        data[start + int(info.compress_size * where)] ^= 0x5A
    path.write_bytes(bytes(data))
    with pytest.raises(RuntimeError, match=message):
        Editor(path, "Big")


def test_corrupt_entry_reports_the_zip_error(tmp_path):
    path = tmp_path / "corrupt.xlsx"
    write_package(path, workbook_parts(), compression=zipfile.ZIP_STORED)
    data = bytearray(path.read_bytes())
    at = data.index(b"<styleSheet") + 20
    data[at] ^= 0x20
    path.write_bytes(bytes(data))
    with pytest.raises(RuntimeError, match="^CRC error$"):
        Editor(path)


@pytest.mark.parametrize("xml", ["<sheets><sheet name=", "<!DOCTYPE x [<!ENTITY e 'x'>]><w/>"])
def test_malformed_workbook_part(make_book, xml):
    parts = workbook_parts()
    parts["xl/workbook.xml"] = xml
    path = make_book(parts=parts)
    assert quillmark.scan_excel(path) == []
    with pytest.raises(RuntimeError):
        Editor(path)


def test_workbooks_written_by_openpyxl_open(tmp_path):
    wb = openpyxl.Workbook()
    wb.active.title = "First"
    wb.create_sheet("Second & Third")["B7"] = 3
    wb.create_sheet("Ünïcode")
    path = tmp_path / "op.xlsx"
    wb.save(path)
    assert quillmark.scan_excel(path) == ["First", "Second & Third", "Ünïcode"]
    for name in quillmark.scan_excel(path):
        Editor(path, name)


def test_scanner_rereads_and_open_editor_is_independent(make_book, tmp_path):
    path = tmp_path / "book.xlsx"
    write_package(path, workbook_parts(sheets=[("A", sheet_xml())]))
    scanner = Scanner(path)
    assert scanner.get_sheets() == ["A"]
    write_package(path, workbook_parts(sheets=[("B", sheet_xml()), ("C", sheet_xml())]))
    assert scanner.get_sheets() == ["B", "C"]
    editor = scanner.open_editor("C")
    del scanner
    assert type(editor) is Editor
    with pytest.raises(RuntimeError, match="^Sheet name cannot be empty$"):
        Scanner(path).open_editor("  ")
    with pytest.raises(TypeError, match="^argument 'sheet_name': 'int' object is not an instance of 'str'$"):
        Scanner(path).open_editor(1)
    Scanner(tmp_path / "does-not-exist.xlsx")  # the constructor never touches the file
