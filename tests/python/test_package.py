"""Packages as producers write them: entry names, part names from relationships, strict and prefixed
documents, compound files, saves without edits, the source's identity and the calculation chain."""
import csv
import re
import subprocess
import shutil
import warnings
import zipfile

import openpyxl
import pytest
import xlsxwriter

import quillmark
from conftest import DECL, NS, sheet_xml, workbook_parts, write_package
from integrity import violations
from test_save import raw_entries, realistic_book, temp_files

STRICT_NS = "http://purl.oclc.org/ooxml/spreadsheetml/main"
STRICT_REL = "http://purl.oclc.org/ooxml/officeDocument/relationships"
TRANSITIONAL_REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
CALC_CT = "application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"


def prefixed(xml, prefix="x"):
    """The same document with the main namespace bound to a prefix on every element."""
    xml = re.sub(r"<(/?)([A-Za-z][\w.]*)(?=[\s/>])", rf"<\1{prefix}:\2", xml)
    return xml.replace(f'xmlns="{NS}"', f'xmlns:{prefix}="{NS}"')


def prefixed_parts():
    parts = workbook_parts(sheets=[("Data", sheet_xml('<row r="2"><c r="B2"><v>7</v></c></row>')),
                                   ("Two", sheet_xml())])
    for name in ("xl/workbook.xml", "xl/styles.xml", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml"):
        parts[name] = prefixed(parts[name])
    return parts


def strict_parts():
    parts = workbook_parts(sheets=[("Data", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>'))])
    return {name: text.replace(NS, STRICT_NS).replace(TRANSITIONAL_REL, STRICT_REL) for name, text in parts.items()}


def renamed_parts():
    """Workbook, style sheet and sheets under names only the relationships give."""
    parts = workbook_parts(sheets=[("Data", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>')),
                                   ("Two", sheet_xml())])
    moves = {"xl/workbook.xml": "wb/book.xml", "xl/_rels/workbook.xml.rels": "wb/_rels/book.xml.rels",
             "xl/styles.xml": "wb/look.xml", "xl/worksheets/sheet1.xml": "wb/s/one.xml",
             "xl/worksheets/sheet2.xml": "sheets/two.xml"}
    out = {moves.get(name, name): text for name, text in parts.items()}
    out["_rels/.rels"] = out["_rels/.rels"].replace('Target="xl/workbook.xml"', 'Target="/wb/book.xml"')
    rels = out["wb/_rels/book.xml.rels"]
    rels = rels.replace("worksheets/sheet1.xml", "s/one.xml").replace("worksheets/sheet2.xml", "../sheets/two.xml")
    out["wb/_rels/book.xml.rels"] = rels.replace('Target="styles.xml"', 'Target="look.xml"')
    types = out["[Content_Types].xml"]
    for old, new in moves.items():
        types = types.replace(f'"/{old}"', f'"/{new}"')
    out["[Content_Types].xml"] = types
    return out


def with_calc_chain(parts):
    parts = dict(parts)
    parts["xl/calcChain.xml"] = DECL + f'<calcChain xmlns="{NS}"><c r="B2" i="1"/></calcChain>'
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>", f'<Relationship Id="rId90" Type="{TRANSITIONAL_REL}/calcChain" Target="calcChain.xml"/>'
        "</Relationships>")
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>", f'<Override PartName="/xl/calcChain.xml" ContentType="{CALC_CT}"/></Types>')
    parts["xl/workbook.xml"] = re.sub("</(x:)?sheets>", r'</\1sheets><\1calcPr calcId="191029"/>',
                                      parts["xl/workbook.xml"])
    return parts


def by_openpyxl(path):
    wb = openpyxl.Workbook()
    wb.active.title = "Data"
    wb.active["B2"] = 7
    wb.create_sheet("Two")["A1"] = "=Data!B2*2"
    wb.save(path)


def by_xlsxwriter(path):
    with xlsxwriter.Workbook(str(path)) as wb:
        ws = wb.add_worksheet("Data")
        ws.write("B2", 7)
        wb.add_worksheet("Two").write_formula("A1", "=Data!B2*2")


BUILDERS = {
    "plain": lambda p: write_package(p, workbook_parts()),
    "realistic": lambda p: realistic_book(p),
    "prefixed": lambda p: write_package(p, prefixed_parts()),
    "strict": lambda p: write_package(p, strict_parts()),
    "renamed": lambda p: write_package(p, renamed_parts()),
    "calc chain": lambda p: write_package(p, with_calc_chain(prefixed_parts())),
    "openpyxl": by_openpyxl,
    "xlsxwriter": by_xlsxwriter,
}


@pytest.mark.parametrize("producer", list(BUILDERS))
def test_edits_keep_every_producers_package_sound(tmp_path, producer):
    # Sheets under other part names get the same dimension and content-type care as xl/worksheets/.
    source = tmp_path / "in.xlsx"
    BUILDERS[producer](source)
    names = quillmark.scan_excel(source)
    editor = quillmark.Editor(source)
    editor.set_cell("H20", "past the old dimension")
    editor.add_worksheet("Added").set_cell("B2", "1")
    if len(names) > 1:
        editor.delete_worksheet(names[-1])
    editor.save(tmp_path / "out.xlsx")
    # What the source already breaks (some builders leave parts untyped on purpose) may stay.
    assert set(violations(tmp_path / "out.xlsx")) <= set(violations(source))


def test_rename_reaches_sheets_kept_under_other_part_names(tmp_path):
    parts = renamed_parts()
    parts["sheets/two.xml"] = sheet_xml('<row r="1"><c r="A1"><f>Data!A1*2</f></c></row>')
    editor = quillmark.Editor(write_package(tmp_path / "in.xlsx", parts), "Data")
    editor.rename_worksheet("Data", "Facts").save(tmp_path / "out.xlsx")
    assert openpyxl.load_workbook(tmp_path / "out.xlsx")["Two"]["A1"].value == "=Facts!A1*2"


@pytest.mark.parametrize("producer", list(BUILDERS))
def test_saving_without_edits_keeps_every_entry_as_stored(tmp_path, producer):
    source = tmp_path / "in.xlsx"
    BUILDERS[producer](source)
    editor = quillmark.Editor(source)
    for name in quillmark.scan_excel(source):  # visits alone change nothing
        editor.with_worksheet(name)
    editor.save(tmp_path / "out.xlsx")
    before, after = raw_entries(source), raw_entries(tmp_path / "out.xlsx")
    assert list(after) == list(before)
    for name, (info, data, local_time) in after.items():
        old_info, old_data, old_local_time = before[name]
        assert (data, local_time) == (old_data, old_local_time), name
        for field in ("compress_type", "CRC", "compress_size", "file_size", "date_time", "extra", "external_attr"):
            assert getattr(info, field) == getattr(old_info, field), (name, field)


@pytest.mark.parametrize("producer", ["plain", "prefixed", "renamed", "openpyxl", "xlsxwriter"])
def test_edits_on_other_producers_read_back(tmp_path, producer):
    source = tmp_path / "in.xlsx"
    BUILDERS[producer](source)
    assert quillmark.scan_excel(source)[:1] == (["Sheet1"] if producer == "plain" else ["Data"])
    editor = quillmark.Editor(source)
    editor.set_cell("C3", "42")
    editor.add_worksheet("Added").set_cell("A1", "x")
    editor.save(tmp_path / "out.xlsx")
    wb = openpyxl.load_workbook(tmp_path / "out.xlsx")
    assert wb.sheetnames[-1] == "Added" and wb["Added"]["A1"].value == "x"
    assert wb.worksheets[0]["C3"].value == 42
    if producer != "plain":
        assert wb["Data"]["B2"].value == 7 if producer != "renamed" else wb["Data"]["A1"].value == 1
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        names = z.namelist()
        assert len({n.lower() for n in names}) == len(names)
        if producer == "renamed":
            assert "wb/worksheets/sheet1.xml" in names and "wb/s/one.xml" in names
            assert 'Target="look.xml"' in z.read("wb/_rels/book.xml.rels").decode()


def test_prefixed_parts_are_edited_as_one_document(tmp_path):
    source = write_package(tmp_path / "in.xlsx", prefixed_parts())
    assert quillmark.scan_excel(source) == ["Data", "Two"]
    assert quillmark.Scanner(source).get_sheets() == ["Data", "Two"]
    editor = quillmark.Editor(source, "Data")
    editor.set_cell("B2", "8")
    editor.set_fill("A1", "FF0000")
    editor.save(tmp_path / "out.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        sheet = z.read("xl/worksheets/sheet1.xml").decode()
        untouched = z.read("xl/worksheets/sheet2.xml").decode()
    # Tags lose the prefix; the declaration stays beside the new default one.
    assert f'<worksheet xmlns="{NS}" xmlns:x="{NS}">' in sheet and "<x:" not in sheet
    assert untouched == prefixed_parts()["xl/worksheets/sheet2.xml"]
    wb = openpyxl.load_workbook(tmp_path / "out.xlsx")
    assert wb["Data"]["B2"].value == 8 and wb["Data"]["A1"].fill.fgColor.rgb.endswith("FF0000")


def test_strict_packages_get_strict_markup(tmp_path):
    source = write_package(tmp_path / "in.xlsx", strict_parts())
    editor = quillmark.Editor(source)
    editor.add_worksheet("New").set_cell("A1", "1")
    editor.save(tmp_path / "out.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        added = z.read("xl/worksheets/sheet2.xml").decode()
        rels = z.read("xl/_rels/workbook.xml.rels").decode()
    assert f'xmlns="{STRICT_NS}"' in added and "openxmlformats" not in added
    assert f'Type="{STRICT_REL}/worksheet" Target="worksheets/sheet2.xml"' in rels
    assert "schemas.openxmlformats.org/officeDocument" not in rels
    assert quillmark.scan_excel(tmp_path / "out.xlsx") == ["Data", "New"]


def duplicate_package(path, second_name):
    parts = workbook_parts(sheets=[("S", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>'))])
    with warnings.catch_warnings(), zipfile.ZipFile(path, "w") as z:
        warnings.simplefilter("ignore")
        for name, text in parts.items():
            z.writestr(name, text)
        z.writestr(second_name, sheet_xml('<row r="1"><c r="A1"><v>2</v></c></row>'))
    return path


@pytest.mark.parametrize("second", ["xl/worksheets/sheet1.xml", "XL/Worksheets/Sheet1.XML"])
def test_repeated_entry_names_are_refused(tmp_path, second):
    path = duplicate_package(tmp_path / "dup.xlsx", second)
    message = "ambiguous package: more than one entry is named 'xl/worksheets/sheet1.xml'"
    for call in (quillmark.Editor, quillmark.scan_excel, lambda p: quillmark.Scanner(p).get_sheets()):
        with pytest.raises(RuntimeError, match=re.escape(message)):
            call(path)


def test_compound_files_are_named(tmp_path):
    path = tmp_path / "locked.xlsx"
    path.write_bytes(bytes.fromhex("D0CF11E0A1B11AE1") + bytes(4096))
    for call in (quillmark.Editor, quillmark.scan_excel):
        with pytest.raises(RuntimeError, match="encrypted or legacy binary workbook: not an .xlsx package"):
            call(path)


def test_save_refuses_a_source_changed_since_open(tmp_path):
    source = realistic_book(tmp_path / "book.xlsx")
    first, second = quillmark.Editor(source, "Data"), quillmark.Editor(source, "Data")
    first.set_cell("A1", "first")
    first.save(source)
    first.set_cell("A2", "again")
    first.save(source)  # the editor continues from the file it wrote
    saved = open(source, "rb").read()
    second.set_cell("A1", "second")
    for target in (source, tmp_path / "other.xlsx"):
        with pytest.raises(RuntimeError, match="was changed on disk since this editor opened it"):
            second.save(target)
    with pytest.raises(RuntimeError, match="was changed on disk"):
        second.with_worksheet("Other")
    assert open(source, "rb").read() == saved
    assert not (tmp_path / "other.xlsx").exists() and temp_files(tmp_path) == []
    assert openpyxl.load_workbook(source)["Data"]["A2"].value == "again"


@pytest.mark.parametrize(
    "edit, dropped",
    [
        (lambda e: None, False),
        (lambda e: e.with_worksheet("Two"), False),
        (lambda e: e.set_cell("A1", "1"), True),
        (lambda e: e.add_worksheet("New"), True),
        (lambda e: e.delete_worksheet("Two"), True),
    ],
    ids=["nothing", "visit", "cell", "add", "delete"],
)
def test_calc_chain_goes_when_cells_or_sheets_change(tmp_path, edit, dropped):
    source = write_package(tmp_path / "in.xlsx", with_calc_chain(prefixed_parts()))
    editor = quillmark.Editor(source)
    edit(editor)
    editor.save(tmp_path / "out.xlsx")
    with zipfile.ZipFile(tmp_path / "out.xlsx") as z:
        names = z.namelist()
        rels = z.read("xl/_rels/workbook.xml.rels").decode()
        types = z.read("[Content_Types].xml").decode()
        workbook = z.read("xl/workbook.xml").decode()
    assert ("xl/calcChain.xml" in names) is not dropped
    assert ("calcChain" in rels) is not dropped and ("calcChain" in types) is not dropped
    assert ('<calcPr calcId="191029" fullCalcOnLoad="1"/>' in workbook) is dropped
    openpyxl.load_workbook(tmp_path / "out.xlsx")


def test_saves_onto_the_source_keep_what_the_first_one_fixed(tmp_path):
    source = write_package(tmp_path / "in.xlsx", with_calc_chain(prefixed_parts()))
    editor = quillmark.Editor(source)
    editor.set_cell("A1", "1")
    editor.save(source)
    first = open(source, "rb").read()
    editor.save(source)
    assert open(source, "rb").read() == first
    with zipfile.ZipFile(source) as z:
        assert "calcChain" not in z.read("xl/_rels/workbook.xml.rels").decode()
        assert 'fullCalcOnLoad="1"' in z.read("xl/workbook.xml").decode()


def test_cell_edit_without_calc_pr_adds_one(tmp_path):
    parts = workbook_parts()
    parts["xl/workbook.xml"] = parts["xl/workbook.xml"].replace(
        "</sheets>", '</sheets><definedNames><definedName name="x">Sheet1!$A$1</definedName></definedNames>'
        "<extLst/>")
    editor = quillmark.Editor(write_package(tmp_path / "in.xlsx", parts))
    editor.set_cell("A1", "3")
    editor.save(tmp_path / "out.xlsx")
    workbook = zipfile.ZipFile(tmp_path / "out.xlsx").read("xl/workbook.xml").decode()
    assert '</definedNames><calcPr fullCalcOnLoad="1"/><extLst/>' in workbook
    assert openpyxl.load_workbook(tmp_path / "out.xlsx").calculation.fullCalcOnLoad is True


def test_save_onto_a_copy_of_the_source_is_not_a_change(tmp_path):
    source = realistic_book(tmp_path / "book.xlsx")
    editor = quillmark.Editor(source)
    shutil.copy2(source, tmp_path / "copy.xlsx")
    editor.set_cell("A1", "1")
    editor.save(tmp_path / "copy.xlsx")
    assert openpyxl.load_workbook(tmp_path / "copy.xlsx")["Data"]["A1"].value == 1


def test_libreoffice_reads_edited_packages_of_every_kind(tmp_path):
    from test_styles import soffice

    outputs = []
    for kind, parts in [("prefixed", with_calc_chain(prefixed_parts())), ("renamed", renamed_parts()),
                        ("strict", strict_parts())]:
        editor = quillmark.Editor(write_package(tmp_path / f"{kind}-in.xlsx", parts), "Data")
        editor.set_cell("C1", "42")
        editor.add_worksheet("Added")
        editor.save(tmp_path / f"{kind}.xlsx")
        outputs.append(str(tmp_path / f"{kind}.xlsx"))
    subprocess.run([soffice(), f"-env:UserInstallation=file://{tmp_path / 'lo'}", "--headless", "--convert-to",
                    "csv", "--outdir", str(tmp_path / "csv"), *outputs], capture_output=True, timeout=240)
    for kind, first_row in [("prefixed", ["", "", "42"]), ("renamed", ["1", "", "42"]), ("strict", ["1", "", "42"])]:
        with open(tmp_path / "csv" / f"{kind}.csv", newline="", encoding="utf-8") as f:
            assert list(csv.reader(f))[0] == first_row, kind
