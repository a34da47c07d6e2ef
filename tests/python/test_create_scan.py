"""New workbooks from the templates, scan_excel and Scanner."""
import os
import zipfile
import zlib

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml, workbook_parts, write_package

DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
SML = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_RELS = "http://schemas.openxmlformats.org/package/2006/relationships"


def template(sheet_name_markup):
    lines = {
        "[Content_Types].xml": [
            DECL,
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">',
            '  <Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>',
            '  <Default Extension="xml" ContentType="application/xml"/>',
            '  <Override PartName="/xl/workbook.xml" '
            'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>',
            '  <Override PartName="/xl/worksheets/sheet1.xml" '
            'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>',
            '  <Override PartName="/xl/styles.xml" '
            'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>',
            "</Types>",
        ],
        "_rels/.rels": [
            DECL,
            f'<Relationships xmlns="{PKG_RELS}">',
            f'  <Relationship Id="rId1" Type="{RELS}/officeDocument" Target="xl/workbook.xml"/>',
            "</Relationships>",
        ],
        "xl/workbook.xml": [
            DECL + f'<workbook xmlns="{SML}" xmlns:r="{RELS}"><sheets><sheet name="'
            + sheet_name_markup + '" sheetId="1" r:id="rId1"/></sheets></workbook>'
        ],
        "xl/_rels/workbook.xml.rels": [
            DECL,
            f'<Relationships xmlns="{PKG_RELS}">',
            f'  <Relationship Id="rId1" Type="{RELS}/worksheet" Target="worksheets/sheet1.xml"/>',
            f'  <Relationship Id="rId2" Type="{RELS}/styles" Target="styles.xml"/>',
            "</Relationships>",
        ],
        "xl/worksheets/sheet1.xml": [
            DECL,
            f'<worksheet xmlns="{SML}">',
            '  <dimension ref="A1"/>',
            "  <sheetData></sheetData>",
            "</worksheet>",
        ],
        "xl/styles.xml": [
            DECL,
            f'<styleSheet xmlns="{SML}">',
            '  <fonts count="1">',
            "    <font>",
            '      <sz val="11"/>',
            '      <color theme="1"/>',
            '      <name val="Calibri"/>',
            '      <family val="2"/>',
            "    </font>",
            "  </fonts>",
            '  <fills count="2">',
            '    <fill><patternFill patternType="none"/></fill>',
            '    <fill><patternFill patternType="gray125"/></fill>',
            "  </fills>",
            '  <borders count="1">',
            "    <border>",
            "      <left/><right/><top/><bottom/><diagonal/>",
            "    </border>",
            "  </borders>",
            '  <cellStyleXfs count="1">',
            '    <xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>',
            "  </cellStyleXfs>",
            '  <cellXfs count="1">',
            '    <xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>',
            "  </cellXfs>",
            '  <cellStyles count="1">',
            '    <cellStyle name="Normal" xfId="0" builtinId="0"/>',
            "  </cellStyles>",
            "</styleSheet>",
        ],
    }
    return {name: "\n".join(text).encode() for name, text in lines.items()}


def test_six_template_entries_byte_for_byte(tmp_path):
    path = tmp_path / "new.xlsx"
    assert quillmark.create_excel(path) is None
    expected = template("Sheet1")
    with zipfile.ZipFile(path) as z:
        assert [i.filename for i in z.infolist()] == list(expected)
        blob = path.read_bytes()
        for info in z.infolist():
            text = z.read(info)
            assert text == expected[info.filename], info.filename
            assert info.compress_type == zipfile.ZIP_DEFLATED
            assert info.date_time == (1980, 1, 1, 0, 0, 0)
            assert info.external_attr >> 16 == 0o100644
            start = info.header_offset + 30 + int.from_bytes(blob[info.header_offset + 26:info.header_offset + 28], "little") \
                + int.from_bytes(blob[info.header_offset + 28:info.header_offset + 30], "little")
            stored = blob[start:start + info.compress_size]
            level_six = []
            for mem_level in (8, 9):
                c = zlib.compressobj(6, zlib.DEFLATED, -15, mem_level)
                level_six.append(c.compress(text) + c.flush())
            assert stored in level_six, info.filename
    book = openpyxl.load_workbook(path)
    assert book.sheetnames == ["Sheet1"]


def test_sheet_name_is_escaped_and_found_again(tmp_path):
    path = tmp_path / "amp.xlsx"
    quillmark.create_excel(path, "  R&D's \"<x>\"  ")
    with zipfile.ZipFile(path) as z:
        assert z.read("xl/workbook.xml") == template("R&amp;D&apos;s &quot;&lt;x&gt;&quot;")["xl/workbook.xml"]
    assert quillmark.scan_excel(path) == ["R&D's \"<x>\""]
    quillmark.Editor(path, "R&D's \"<x>\"").save(tmp_path / "saved.xlsx")
    assert openpyxl.load_workbook(tmp_path / "saved.xlsx").sheetnames == ["R&D's \"<x>\""]


def test_missing_folders_are_created(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    quillmark.create_excel(os.path.join("out", "new", "book.xlsx"))
    assert quillmark.scan_excel(tmp_path / "out" / "new" / "book.xlsx") == ["Sheet1"]
    quillmark.create_excel("here.xlsx", "Top")  # no folder part at all
    assert openpyxl.load_workbook(tmp_path / "here.xlsx").sheetnames == ["Top"]


@pytest.mark.parametrize("target, message", [
    ("file/book.xlsx", "cannot create folder 'file': Not a directory"),
    ("file/sub/book.xlsx", "cannot create folder 'file/sub': Not a directory"),
    ("folder", "cannot write 'folder': Is a directory"),
])
@pytest.mark.parametrize("create", [quillmark.create_excel, quillmark.Editor.create])
def test_file_system_failures_name_the_path(tmp_path, monkeypatch, target, message, create):
    monkeypatch.chdir(tmp_path)
    (tmp_path / "file").write_bytes(b"kept")
    (tmp_path / "folder").mkdir()
    with pytest.raises(RuntimeError) as raised:
        create(target)
    assert str(raised.value) == message
    assert sorted(os.listdir(tmp_path)) == ["file", "folder"] and os.listdir("folder") == []
    assert (tmp_path / "file").read_bytes() == b"kept"


@pytest.mark.parametrize(
    "name, message",
    [
        ("a:b", "Sheet name contains forbidden Excel characters (: \\ / ? * [ ])"),
        ("  ", "Sheet name cannot be empty"),
        ("x" * 32, "Sheet name cannot be longer than 31 characters"),
    ],
)
@pytest.mark.parametrize("create", [quillmark.create_excel, quillmark.Editor.create])
def test_bad_names_touch_nothing_on_disk(tmp_path, name, message, create):
    with pytest.raises(RuntimeError) as raised:
        create(tmp_path / "out" / "new" / "book.xlsx", name)
    assert str(raised.value) == message
    assert os.listdir(tmp_path) == []


@pytest.mark.parametrize("create", [quillmark.create_excel, quillmark.Editor.create])
def test_none_name_is_refused_before_writing(tmp_path, create):
    with pytest.raises(TypeError, match=r"^argument 'sheet_name': 'None' is not an instance of 'str'$"):
        create(tmp_path / "book.xlsx", None)
    assert os.listdir(tmp_path) == []


def test_create_arguments():
    with pytest.raises(TypeError, match=r"^create_excel\(\) takes from 1 to 2 positional arguments but 3 were given$"):
        quillmark.create_excel("a", "b", "c")
    with pytest.raises(TypeError, match=r"^Editor.create\(\) missing 1 required positional argument: 'path'$"):
        quillmark.Editor.create()


def test_editor_create_replaces_an_existing_file(make_book, tmp_path):
    path = make_book("book.xlsx", sheets=[("Old", sheet_xml('<row r="1"><c r="A1"><v>5</v></c></row>')), ("More", sheet_xml())])
    editor = quillmark.Editor.create(path, " Fresh ")
    assert isinstance(editor, quillmark.Editor)
    assert quillmark.scan_excel(path) == ["Fresh"]
    editor.save(path)
    book = openpyxl.load_workbook(path)
    assert book.sheetnames == ["Fresh"] and book["Fresh"]["A1"].value is None


@pytest.mark.parametrize("create", [quillmark.create_excel, quillmark.Editor.create])
def test_creating_over_a_link_writes_its_destination(make_book, tmp_path, create):
    destination = make_book("real.xlsx", sheets=[("Old", sheet_xml())])
    link = tmp_path / "link.xlsx"
    link.symlink_to(destination)
    create(str(link), "New")
    assert link.is_symlink()
    assert quillmark.scan_excel(destination) == ["New"]


def test_scanner_and_scan_excel_on_a_new_file(tmp_path):
    path = tmp_path / "new.xlsx"
    quillmark.create_excel(path)
    assert quillmark.scan_excel(path) == ["Sheet1"]
    scanner = quillmark.Scanner(path)
    assert scanner.get_sheets() == ["Sheet1"]
    editor = scanner.open_editor()
    del scanner  # the editor does not depend on it
    editor.save(tmp_path / "copy.xlsx")
    assert openpyxl.load_workbook(tmp_path / "copy.xlsx").sheetnames == ["Sheet1"]


@pytest.mark.parametrize("content, message", [(None, "No such file or directory"), (b"plain text", "Not a zip archive")])
def test_only_get_sheets_prefixes_its_message(tmp_path, content, message):
    path = tmp_path / "book.xlsx"
    if content is not None:
        path.write_bytes(content)
    scanner = quillmark.Scanner(path)  # the file is not touched here
    with pytest.raises(RuntimeError) as scanned:
        scanner.get_sheets()
    message = f"cannot open {str(path)!r}: {message}"
    assert str(scanned.value) == "RuntimeError: " + message
    with pytest.raises(RuntimeError) as bare:
        quillmark.scan_excel(path)
    assert str(bare.value) == message
    with pytest.raises(RuntimeError) as opened:
        scanner.open_editor()
    assert str(opened.value) == message


def test_get_sheets_rereads_the_file(make_book, tmp_path):
    path = tmp_path / "book.xlsx"
    quillmark.create_excel(path, "First")
    scanner = quillmark.Scanner(str(path))
    assert scanner.get_sheets() == ["First"]
    write_package(path, workbook_parts(sheets=[("North", sheet_xml()), ("South", sheet_xml())]))
    assert scanner.get_sheets() == ["North", "South"]
    assert scanner.open_editor("South") is not None
    write_package(path, workbook_parts(sheets=[]))
    assert scanner.get_sheets() == [] and quillmark.scan_excel(path) == []
    with pytest.raises(RuntimeError, match="^Workbook contains no worksheets$"):
        scanner.open_editor()


def test_scanner_arguments(make_book):
    scanner = quillmark.Scanner(make_book())
    with pytest.raises(TypeError):
        scanner.get_sheets(1)
    with pytest.raises(RuntimeError, match="^Sheet name cannot be empty$"):
        scanner.open_editor("   ")
    with pytest.raises(TypeError, match=r"^argument 'sheet_name': 'int' object is not an instance of 'str'$"):
        scanner.open_editor(sheet_name=5)
    with pytest.raises(TypeError, match=r"^Scanner.__new__\(\) missing 1 required positional argument: 'path'$"):
        quillmark.Scanner()
    with pytest.raises(RuntimeError, match="^Sheet `Nope` not found in workbook.xml$"):
        scanner.open_editor("Nope")
