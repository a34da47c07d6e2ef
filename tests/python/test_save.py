"""Editor.save: what is rewritten, what is copied raw, and what a failed save leaves behind."""
import os
import random
import stat
import struct
import shutil
import subprocess
import zipfile
import zlib

import openpyxl
import pytest

import quillmark
from conftest import STYLES, run_python, sheet_xml, without_root_override, workbook_parts



def write_entries(path, entries):
    """entries: (name, data, compress_type[, date_time[, extra]]) in archive order."""
    with zipfile.ZipFile(path, "w") as z:
        for name, data, method, *rest in entries:
            info = zipfile.ZipInfo(name, rest[0] if rest else (2023, 5, 17, 14, 3, 22))
            info.compress_type = method
            info.external_attr = 0o100600 << 16
            if len(rest) > 1:
                info.extra = rest[1]
            z.writestr(info, data)
    return str(path)


def raw_entries(path):
    """name -> (ZipInfo, stored bytes, local-header DOS time bytes), read from the file itself."""
    with open(path, "rb") as f:
        blob = f.read()
    out = {}
    with zipfile.ZipFile(path) as z:
        assert z.testzip() is None
        for info in z.infolist():
            h = info.header_offset
            assert blob[h:h + 4] == b"PK\x03\x04"
            name_len, extra_len = struct.unpack("<HH", blob[h + 26:h + 30])
            start = h + 30 + name_len + extra_len
            out[info.filename] = (info, blob[start:start + info.compress_size], blob[h + 10:h + 14])
    return out


def loads(path):
    """openpyxl reads the file; returns its sheet names."""
    return openpyxl.load_workbook(path).sheetnames


def temp_files(directory):
    return [n for n in os.listdir(directory) if n.startswith(".quillmark-save-")]


def realistic_book(path, method=zipfile.ZIP_DEFLATED):
    parts = workbook_parts(
        sheets=[
            ("Data", sheet_xml('<row r="2"><c r="B2"><v>1</v></c></row><row r="7"><c r="D7"><v>2</v></c></row>')),
            ("Other", sheet_xml('<row r="1"><c r="A1" t="s"><v>0</v></c></row>')),
        ],
        extra={
            "xl/sharedStrings.xml": '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
            'count="1" uniqueCount="1"><si><t>hello</t></si></sst>',
        },
    )
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>",
        '<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'sharedStrings" Target="sharedStrings.xml"/></Relationships>',
    )
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>",
        '<Override PartName="/xl/sharedStrings.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>',
    )
    entries = [(n, d, method) for n, d in parts.items()]
    image = random.Random(7).randbytes(300_000)
    entries.append(("xl/media/image1.png", image, zipfile.ZIP_STORED, (2019, 2, 3, 4, 5, 6), b"UT\x05\x00\x01\x00\x00\x00\x00"))
    entries.append(("docProps/empty.txt", b"", zipfile.ZIP_STORED))
    entries.append(("customXml/item1.xml", "<a>" + "z" * 500 + "</a>", zipfile.ZIP_STORED))
    entries.append(("docProps/bz.bin", b"b" * 1000, zipfile.ZIP_BZIP2))
    return write_entries(path, entries)


def test_save_rewrites_only_the_parts_that_changed(tmp_path):
    source = realistic_book(tmp_path / "in.xlsx")
    target = tmp_path / "out.xlsx"
    editor = quillmark.Editor(source)
    editor.set_cell("B2", "5")
    assert editor.save(target) is None

    before, after = raw_entries(source), raw_entries(target)
    assert list(after) == list(before)
    # The cell edit changes the sheet, and the workbook part asks for a recalculation.
    rewritten = {"xl/worksheets/sheet1.xml", "xl/workbook.xml"}
    for name, (info, data, local_time) in after.items():
        old_info, old_data, old_local_time = before[name]
        if name in rewritten:
            assert info.date_time == (1980, 1, 1, 0, 0, 0), name
            assert info.external_attr >> 16 == 0o100644, name
            assert info.extra == b"", name
            assert info.compress_type == zipfile.ZIP_STORED, name
        else:
            assert data == old_data, name
            for field in ("compress_type", "CRC", "compress_size", "file_size", "date_time", "extra",
                          "external_attr"):
                assert getattr(info, field) == getattr(old_info, field), (name, field)
            assert local_time == old_local_time, name
    with zipfile.ZipFile(target) as t:
        sheet = t.read("xl/worksheets/sheet1.xml").decode()
    assert '<dimension ref="A1:D7"/>' in sheet and 'ref="A1"' not in sheet
    assert loads(target) == ["Data", "Other"]


def test_large_parts_are_deflated_at_level_one(tmp_path):
    rows = "".join(f'<row r="{i}"><c r="C{i}"><v>{i * 7}</v></c></row>' for i in range(1, 12000))
    parts = workbook_parts(sheets=[("Big", sheet_xml(rows))])
    source = write_entries(tmp_path / "big.xlsx", [(n, d, zipfile.ZIP_DEFLATED) for n, d in parts.items()])
    editor = quillmark.Editor(source)
    editor.set_cell("C1", "8")
    editor.add_worksheet("New").with_worksheet("Big")
    editor.save(tmp_path / "out.xlsx")
    entries = raw_entries(tmp_path / "out.xlsx")
    for name in ("xl/worksheets/sheet1.xml", "xl/_rels/workbook.xml.rels"):
        info, data, _ = entries[name]
        assert info.compress_type == zipfile.ZIP_DEFLATED
        text = zipfile.ZipFile(tmp_path / "out.xlsx").read(name)  # CRC checked
        # Any valid raw Deflate stream, no larger than zlib's level 1 makes it.
        assert zlib.decompress(data, -15) == text
        c = zlib.compressobj(1, zlib.DEFLATED, -15)
        assert len(data) <= len(c.compress(text) + c.flush()), name
    assert loads(tmp_path / "out.xlsx") == ["Big", "New"]
    if shutil.which("unzip"):
        subprocess.run(["unzip", "-tq", str(tmp_path / "out.xlsx")], check=True, capture_output=True)


@pytest.mark.parametrize("method", [zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED])
@pytest.mark.parametrize("value, unchanged", [(None, True), ("7", True), ("8", False)])
def test_a_sheet_found_unchanged_is_copied_raw(tmp_path, method, value, unchanged):
    rows = "".join(f'<row r="{i}"><c r="C{i}"><v>{i * 7}</v></c></row>' for i in range(1, 12000))
    parts = workbook_parts(sheets=[("Big", sheet_xml(rows))])
    source = write_entries(tmp_path / "big.xlsx", [(n, d, method) for n, d in parts.items()])
    editor = quillmark.Editor(source)
    if value is not None:
        editor.set_cell("C1", value)
    editor.save(tmp_path / "out.xlsx")
    name = "xl/worksheets/sheet1.xml"
    before, after = raw_entries(source)[name], raw_entries(tmp_path / "out.xlsx")[name]
    assert (after[1] == before[1] and after[0].CRC == before[0].CRC) == unchanged
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        assert ('<c r="C1"><v>8</v></c>' in z.read(name).decode()) == (value == "8")


@pytest.mark.parametrize("size, method", [(131072, zipfile.ZIP_STORED), (131073, zipfile.ZIP_DEFLATED)])
@pytest.mark.parametrize("source_method", [zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED])
def test_compression_boundary(make_book, tmp_path, size, method, source_method):
    base = sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>', after="<!---->")
    padded = base.replace("<!---->", "<!--" + "x" * (size - len(base)) + "-->")
    assert len(padded) == size
    parts = workbook_parts(sheets=[("S", padded)])
    source = write_entries(tmp_path / "in.xlsx", [(n, d, source_method) for n, d in parts.items()])
    editor = quillmark.Editor(source)
    editor.set_cell("A1", "2")  # same length: the size stays on the boundary
    editor.save(tmp_path / "out.xlsx")
    info = zipfile.ZipFile(tmp_path / "out.xlsx").getinfo("xl/worksheets/sheet1.xml")
    assert (info.file_size, info.compress_type) == (size, method)
    assert loads(tmp_path / "out.xlsx") == ["S"]


def test_fixups_reach_the_saved_file(make_book, tmp_path):
    num_fmts = '<numFmts count="1"><numFmt numFmtId="164" formatCode="0.000"/></numFmts>'
    sheet = sheet_xml('<row r="3"><c r="b3"><v>1</v></c></row>', before="<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>")
    source = make_book(sheets=[("S", sheet)], styles=STYLES + num_fmts)
    editor = quillmark.Editor(source)
    editor.set_cell("B3", "1")
    editor.save(tmp_path / "out.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        saved_sheet = z.read("xl/worksheets/sheet1.xml").decode()
        styles = z.read("xl/styles.xml").decode()
    assert '<dimension ref="A1:B3"/><sheetViews>' in saved_sheet
    assert styles.endswith("</styleSheet>")
    assert '<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">' + num_fmts in styles
    assert openpyxl.load_workbook(tmp_path / "out.xlsx")["S"]["B3"].value == 1
    # The fix-ups worked on copies: a second save from the same editor gives the same package.
    editor.save(tmp_path / "again.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as a, zipfile.ZipFile(tmp_path / "again.xlsx") as b:
        assert [(i.filename, a.read(i)) for i in a.infolist()] == [(i.filename, b.read(i)) for i in b.infolist()]


def test_content_types_that_cannot_be_opened_are_copied_raw(tmp_path):
    parts = workbook_parts()
    entries = [(n, d, zipfile.ZIP_LZMA if n == "[Content_Types].xml" else zipfile.ZIP_DEFLATED) for n, d in parts.items()]
    source = write_entries(tmp_path / "in.xlsx", entries)
    quillmark.Editor(source).save(tmp_path / "out.xlsx")
    before, after = raw_entries(source), raw_entries(tmp_path / "out.xlsx")
    assert after["[Content_Types].xml"][1] == before["[Content_Types].xml"][1]
    assert after["[Content_Types].xml"][0].compress_type == zipfile.ZIP_LZMA
    assert loads(tmp_path / "out.xlsx") == ["Sheet1"]


def test_damaged_content_types_fail_the_save(tmp_path):
    source = write_entries(tmp_path / "in.xlsx", [(n, d, zipfile.ZIP_STORED) for n, d in workbook_parts().items()])
    blob = bytearray(open(source, "rb").read())
    at = blob.index(b"application/vnd.openxmlformats-package")
    blob[at] ^= 0x20
    open(source, "wb").write(bytes(blob))
    editor = quillmark.Editor(source)  # opening does not read the content types
    target = tmp_path / "out.xlsx"
    target.write_bytes(b"old")
    with pytest.raises(RuntimeError, match="^CRC error$"):
        editor.save(target)
    assert target.read_bytes() == b"old" and temp_files(tmp_path) == []


def test_save_onto_the_source(make_book, tmp_path):
    source = realistic_book(tmp_path / "book.xlsx")
    editor = quillmark.Editor(source, "Other")
    inode = os.stat(source).st_ino
    editor.save(source)
    assert temp_files(tmp_path) == []
    assert os.stat(source).st_ino != inode  # a new file was renamed into place
    assert loads(source) == ["Data", "Other"]
    # The next save copies from the file the last one wrote.
    editor.save(source)
    with zipfile.ZipFile(source) as z:
        assert z.read("xl/media/image1.png") == random.Random(7).randbytes(300_000)
        assert '<dimension ref="A1"/>' in z.read("xl/worksheets/sheet2.xml").decode()
    assert temp_files(tmp_path) == []


def test_relative_target_in_the_current_directory(make_book, tmp_path, monkeypatch):
    source = make_book()
    monkeypatch.chdir(tmp_path)
    quillmark.Editor(source).save("plain.xlsx")
    assert loads(tmp_path / "plain.xlsx") == ["Sheet1"]
    assert temp_files(tmp_path) == []


@pytest.mark.parametrize("mode", [0o640, 0o604, 0o777])
def test_existing_target_keeps_its_permission_bits(make_book, tmp_path, mode):
    source = make_book()
    target = tmp_path / "out.xlsx"
    target.write_bytes(b"old")
    os.chmod(target, mode)
    quillmark.Editor(source).save(target)
    assert stat.S_IMODE(os.stat(target).st_mode) == mode
    assert loads(target) == ["Sheet1"]


def test_new_target_gets_the_umask_mode(make_book, tmp_path):
    source = make_book()
    old = os.umask(0o027)
    try:
        quillmark.Editor(source).save(tmp_path / "new.xlsx")
    finally:
        os.umask(old)
    assert stat.S_IMODE(os.stat(tmp_path / "new.xlsx").st_mode) == 0o640


def test_symlink_target_is_written_through(make_book, tmp_path):
    source = make_book()
    (tmp_path / "real").mkdir()
    real = tmp_path / "real" / "book.xlsx"
    real.write_bytes(b"old")
    os.chmod(real, 0o600)
    (tmp_path / "links").mkdir()
    link = tmp_path / "links" / "book.xlsx"
    os.symlink("../real/book.xlsx", link)  # relative to the link's folder
    chain = tmp_path / "chain.xlsx"
    os.symlink(link, chain)

    quillmark.Editor(source).save(chain)
    assert os.path.islink(chain) and os.path.islink(link)
    assert os.readlink(link) == "../real/book.xlsx"
    assert stat.S_IMODE(os.stat(real).st_mode) == 0o600
    assert loads(real) == ["Sheet1"]
    assert temp_files(tmp_path / "real") == temp_files(tmp_path / "links") == []

    dangling = tmp_path / "dangling.xlsx"
    os.symlink(tmp_path / "real" / "created.xlsx", dangling)
    quillmark.Editor(source).save(dangling)
    assert os.path.islink(dangling) and loads(tmp_path / "real" / "created.xlsx") == ["Sheet1"]


def test_link_loop_is_refused(make_book, tmp_path):
    source = make_book()
    os.symlink(tmp_path / "b", tmp_path / "a")
    os.symlink(tmp_path / "a", tmp_path / "b")
    with pytest.raises(RuntimeError) as raised:
        quillmark.Editor(source).save(tmp_path / "a")
    assert str(raised.value) == f"cannot write {str(tmp_path / 'a')!r}: Too many levels of symbolic links"


def assert_untouched(target, directory, old=b"old"):
    assert target.read_bytes() == old
    assert temp_files(directory) == []


@pytest.mark.parametrize("case", ["missing folder", "source deleted", "source not a zip", "source empty",
                                  "target is a folder"])
def test_failed_save_leaves_the_target_untouched(make_book, tmp_path, case):
    source = make_book("source.xlsx")
    editor = quillmark.Editor(source)
    target = tmp_path / "out.xlsx"
    target.write_bytes(b"old")
    expected = {
        "missing folder": "cannot write '{target}': Failure to create temporary file: No such file or directory",
        "source deleted": "cannot open '{source}': No such file or directory",
        "source not a zip": "cannot open '{source}': Not a zip archive",
        "source empty": "cannot open '{source}': Not a zip archive",
        "target is a folder": "cannot write '{target}': Is a directory",
    }[case]
    destination = target
    if case == "missing folder":
        destination = tmp_path / "missing" / "out.xlsx"
    elif case == "source deleted":
        os.remove(source)
    elif case == "source not a zip":
        open(source, "wb").write(b"not a zip" * 100)
    elif case == "source empty":
        open(source, "wb").close()
    else:
        destination = tmp_path / "folder"
        destination.mkdir()
    with pytest.raises(RuntimeError) as raised:
        editor.save(destination)
    assert str(raised.value) == expected.format(source=source, target=destination)
    assert raised.value.__cause__ is None
    assert_untouched(target, tmp_path)
    assert not (tmp_path / "missing").exists()


def test_read_only_folder(make_book, tmp_path):
    source = make_book()
    locked = tmp_path / "locked"
    locked.mkdir()
    target = locked / "out.xlsx"
    target.write_bytes(b"old")
    os.chmod(locked, 0o555)
    result = run_python(
        f"""
        import quillmark
        editor = quillmark.Editor({source!r})
        try:
            editor.save({str(target)!r})
        except RuntimeError as e:
            print(e)
        """,
        without_root_override(),
    )
    os.chmod(locked, 0o755)
    assert result.stdout.strip() == f"cannot write '{target}': Failure to create temporary file: Permission denied", \
        result.stderr
    assert_untouched(target, locked)


def test_write_error_midway_keeps_the_target(make_book, tmp_path):
    source = realistic_book(tmp_path / "in.xlsx")  # about 300 kB
    target = tmp_path / "out.xlsx"
    target.write_bytes(b"old")
    result = run_python(
        f"""
        import resource, signal, quillmark
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        editor = quillmark.Editor({source!r})
        resource.setrlimit(resource.RLIMIT_FSIZE, (100_000, 100_000))
        try:
            editor.save({str(target)!r})
        except RuntimeError as e:
            print(e)
        """
    )
    assert result.stdout.strip() == f"cannot write '{target}': Write error: File too large", result.stderr
    assert_untouched(target, tmp_path)


@pytest.mark.parametrize("tz", ["UTC", "America/New_York"])
def test_raw_copies_keep_unusual_dos_times(make_book, tmp_path, tz):
    parts = workbook_parts()
    entries = [(n, d, zipfile.ZIP_DEFLATED) for n, d in parts.items()]
    entries += [
        ("docProps/zero.xml", "<a/>", zipfile.ZIP_DEFLATED, (1980, 0, 0, 0, 0, 0)),
        ("docProps/gap.xml", "<b/>", zipfile.ZIP_STORED, (2021, 3, 14, 2, 30, 0)),  # New York DST gap
        ("docProps/late.xml", "<c/>", zipfile.ZIP_DEFLATED, (2107, 12, 31, 23, 59, 58)),
    ]
    source = write_entries(tmp_path / "in.xlsx", entries)
    target = tmp_path / "out.xlsx"
    script = f"import quillmark; e = quillmark.Editor({source!r}); e.set_cell('A1', '1'); e.save({str(target)!r})"
    result = run_python(script, env={"TZ": tz})
    assert result.returncode == 0, result.stderr
    before, after = raw_entries(source), raw_entries(target)
    for name in ("docProps/zero.xml", "docProps/gap.xml", "docProps/late.xml"):
        assert after[name][0].date_time == before[name][0].date_time, name
        assert after[name][2] == before[name][2], name
        assert after[name][1] == before[name][1], name
    assert after["xl/workbook.xml"][0].date_time == (1980, 1, 1, 0, 0, 0)
    assert loads(target) == ["Sheet1"]


def test_save_arguments(make_book, tmp_path):
    editor = quillmark.Editor(make_book())
    with pytest.raises(TypeError, match=r"^Editor.save\(\) missing 1 required positional argument: 'path'$"):
        editor.save()
    with pytest.raises(TypeError, match=r"^Editor.save\(\) takes 1 positional arguments but 2 were given$"):
        editor.save("a", "b")
    with pytest.raises(TypeError, match=r"^argument 'path': 'bytes' object is not an instance of 'str'$"):
        editor.save(b"out.xlsx")
    with pytest.raises(TypeError, match=r"^argument 'path': "):
        editor.save(5)
    assert temp_files(tmp_path) == []
    editor.save(path=tmp_path / "kw.xlsx")
    assert loads(tmp_path / "kw.xlsx") == ["Sheet1"]
    assert quillmark.Editor.save.__text_signature__ == "($self, path)"


def test_edits_survive_saves_onto_the_source(make_book, tmp_path):
    path = make_book("book.xlsx", sheets=[("Data", sheet_xml()), ("Other", sheet_xml())])
    editor = quillmark.Editor(path)
    editor.set_cell("B3", "42")
    editor.save(path)
    editor.set_cell("AA10", "=B3*2")
    editor.save(path)
    again = quillmark.Editor(path)
    again.set_cell("C1", "text")
    again.save(tmp_path / "out.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        assert '<dimension ref="A1:AA10"/>' in z.read("xl/worksheets/sheet1.xml").decode()
    sheet = openpyxl.load_workbook(tmp_path / "out.xlsx")["Data"]
    assert (sheet["B3"].value, sheet["AA10"].value, sheet["C1"].value) == (42, "=B3*2", "text")
    assert temp_files(tmp_path) == []
