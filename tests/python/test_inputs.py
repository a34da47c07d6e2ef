"""Inputs that could corrupt a workbook are either written so every reader gives them back, or
refused before anything changes."""
import random
import re
import zipfile

import openpyxl
import pytest
from python_calamine import CalamineWorkbook

import quillmark
from conftest import sheet_xml

GRID = " is outside the sheet (columns A to XFD, rows 1 to 1048576)"


def package_entries(path):
    with zipfile.ZipFile(path) as z:
        return {name: z.read(name) for name in z.namelist()}


def sheet_text(path, part="xl/worksheets/sheet1.xml"):
    return package_entries(path)[part].decode()


def saved(editor, path):
    editor.save(path)
    openpyxl.load_workbook(path)  # every file we write must load
    return path


def decode_escapes(text):
    """The format's `_xHHHH_` decoding, as readers apply it to cell text."""
    return re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text)


def assert_refused_changes_nothing(editor, tmp_path, call, message):
    before = package_entries(saved(editor, tmp_path / "before.xlsx"))
    with pytest.raises(RuntimeError) as info:
        call(editor)
    assert str(info.value) == message
    assert package_entries(saved(editor, tmp_path / "after.xlsx")) == before


# ---- text ----

@pytest.mark.parametrize(
    "value, content",
    [
        ("line1\x0bline2", "<t>line1_x000B_line2</t>"),
        ("\x00\x01\x08\x0c\x0e\x1f", "<t>_x0000__x0001__x0008__x000C__x000E__x001F_</t>"),
        ("\ufffe\uffff", "<t>_xFFFE__xFFFF_</t>"),
        ("a\r\nb", '<t xml:space="preserve">a&#13;\nb</t>'),
        ("_x0041_ and _x00e9_", "<t>_x005F_x0041_ and _x005F_x00e9_</t>"),
        ("_x004_ _xZZZZ_", "<t>_x004_ _xZZZZ_</t>"),
        # Not finite decimal literals: text, never <v>Nan</v>.
        ("Nan", "<t>Nan</t>"),
        ("-Infinity", "<t>-Infinity</t>"),
        ("1e999", "<t>1e999</t>"),
        # A formula cannot hold such a character, so the text is kept as text.
        ('="a\x0bb"', "<t>=&quot;a_x000B_b&quot;</t>"),
    ],
)
def test_cell_text_is_written_so_readers_give_it_back(make_book, tmp_path, value, content):
    editor = quillmark.Editor(make_book())
    editor.set_cell("A1", value)
    editor.append_row(["x", value])
    editor.append_table_at([[value]], "C5")
    out = saved(editor, tmp_path / "out.xlsx")
    text = sheet_text(out)
    for ref in ("A1", "B2", "C5"):
        assert f'<c r="{ref}" t="inlineStr"><is>{content}</is></c>' in text
    ws = openpyxl.load_workbook(out).active
    assert decode_escapes(ws["A1"].value) == value
    rows = CalamineWorkbook.from_path(out).get_sheet_by_index(0).to_python()
    if "\ufffe" not in value:  # the decoding reader leaves escapes above U+00FF undecoded
        assert rows[0][0] == rows[1][1] == rows[4][2] == value


@pytest.mark.parametrize(
    "value, number",
    [("3.14", True), ("-0", True), ("1E-2", True), (".5", True), ("1e-999", True),
     ("nan", False), ("inf", False), ("+INFINITY", False), ("-1e999", False), ("1,000", False)],
)
def test_only_finite_decimal_literals_are_numbers(editor, tmp_path, value, number):
    editor.set_cell("A1", value)
    text = sheet_text(saved(editor, tmp_path / "out.xlsx"))
    want = f'<c r="A1"><v>{value}</v></c>' if number else f'<c r="A1" t="inlineStr"><is><t>{value}</t></is></c>'
    assert want in text


def random_text(rng):
    """Code points from every plane, every C0 control, the noncharacters, and `_x` sequences."""
    pieces = []
    for _ in range(rng.randrange(0, 12)):
        kind = rng.randrange(6)
        if kind == 0:
            pieces.append(chr(rng.randrange(0x20)))
        elif kind == 1:
            pieces.append("_x%04X_" % rng.choice([0x41, 0x5F, 0x0B, 0xE9, rng.randrange(0x10000)]))
        elif kind == 2:
            pieces.append(rng.choice(["\ufffe", "\uffff", "\x7f", "\x85", "\u2028", "_x", "_", "&", "<", "'", '"', " "]))
        elif kind == 3:
            pieces.append(chr(rng.randrange(0x20, 0x7F)))
        else:
            cp = rng.randrange(0x80, 0x110000)
            pieces.append(chr(cp) if not 0xD800 <= cp < 0xE000 else "\ud7ff")
    return "".join(pieces)


NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")


def as_text(value):
    """Values the editor would write as formulas or numbers get a prefix: this test is about text."""
    return "x" + value if value.startswith("=") or NUMBER.fullmatch(value) else value


def test_random_unicode_text_reads_back_unchanged(make_book, tmp_path):
    rng = random.Random(1912)
    values = [as_text(random_text(rng)) for _ in range(600)]
    table = [values[i:i + 6] for i in range(0, 300, 6)]
    editor = quillmark.Editor(make_book())
    for i, value in enumerate(values[300:]):
        editor.set_cell(f"H{i + 1}", value)
    editor.append_table_at(table, "A1")
    out = saved(editor, tmp_path / "random.xlsx")

    ws = openpyxl.load_workbook(out).active
    got = [[decode_escapes(ws.cell(r + 1, c + 1).value or "") for c in range(6)] for r in range(len(table))]
    assert got == table
    assert [decode_escapes(ws.cell(i + 1, 8).value or "") for i in range(300)] == values[300:]
    rows = CalamineWorkbook.from_path(out).get_sheet_by_index(0).to_python()
    for r, row in enumerate(table):
        for c, value in enumerate(row):
            if "\ufffe" not in value and "\uffff" not in value and not re.search(r"_x[0-9A-Fa-f]{4}_", value):
                assert rows[r][c] == value, (r, c)


# ---- references and ranges ----

@pytest.mark.parametrize("coords", ["B3", "b3", "$B$3", "B$3", "$b3", "B03", "$B$0003"])
def test_every_spelling_of_a_reference_names_one_cell(make_book, tmp_path, coords):
    editor = quillmark.Editor(make_book(sheets=[("S", sheet_xml('<row r="3"><c r="B3"><v>1</v></c></row>'))]))
    editor.set_cell(coords, "2")
    editor.set_fill(coords, "FFFFC000")
    editor.append_table_at([["3", "4"]], coords)
    text = sheet_text(saved(editor, tmp_path / "out.xlsx"))
    assert re.search(r'<row r="3"><c r="B3" s="\d+"><v>3</v></c><c r="C3"><v>4</v></c></row>', text)


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda e: e.set_cell("A0", "x"), "cell coordinate A0" + GRID),
        (lambda e: e.set_cell("A1048577", "x"), "cell coordinate A1048577" + GRID),
        (lambda e: e.set_cell("XFE1", "x"), "cell coordinate XFE1" + GRID),
        (lambda e: e.set_cell("1", "x"), "invalid column letters in cell coordinate 1"),
        (lambda e: e.set_cell("A$$1", "x"), "invalid column letters in cell coordinate A$$1"),
        (lambda e: e.set_cell("B 3", "x"), "invalid column letters in cell coordinate B 3"),
        (lambda e: e.append_table_at([["x"]], "XFE3"), "start coordinate XFE3" + GRID),
        (lambda e: e.append_table_at([["x"]], "$B$0"), "start coordinate $B$0" + GRID),
        (lambda e: e.append_table_at([["x", "y"]], "XFD1"),
         "a table of 1 rows and 2 columns at XFD1 does not fit in the sheet (columns A to XFD, rows 1 to 1048576)"),
        (lambda e: e.append_table_at([["x"], ["y"]], "A1048576"),
         "a table of 2 rows and 1 columns at A1048576 does not fit in the sheet (columns A to XFD, rows 1 to 1048576)"),
        (lambda e: e.set_fill("A1:AAAAA1", "FFFFC000"), "range A1:AAAAA1" + GRID),
        (lambda e: e.set_border("A1:B99999999999", "thin"), "range A1:B99999999999" + GRID),
        (lambda e: e.set_font("XFE:", "Arial", 11), "range XFE:" + GRID),
        (lambda e: e.remove_style("1048577:"), "range 1048577:" + GRID),
        (lambda e: e.set_number_format("A0", "0.00"), "range A0" + GRID),
    ],
)
def test_references_outside_the_grid_are_refused_and_change_nothing(make_book, tmp_path, call, message):
    editor = quillmark.Editor(make_book(sheets=[("S", sheet_xml('<row r="2"><c r="A2"><v>1</v></c></row>'))]))
    assert_refused_changes_nothing(editor, tmp_path, call, message)


def test_append_row_stops_at_the_last_row(tmp_path):
    editor = quillmark.Editor.create(tmp_path / "full.xlsx", "S")
    editor.set_cell("A1048576", "last")
    assert_refused_changes_nothing(editor, tmp_path, lambda e: e.append_row(["x"]),
                                   "the sheet is full: row 1048576 is its last row")


# ---- merged ranges ----

MERGED = '<mergeCells count="2"><mergeCell ref="B2:C3"/><mergeCell ref="E5"/></mergeCells>'


@pytest.mark.parametrize(
    "range_text, message",
    [
        ("hello", "invalid merge range hello: expected two corners such as A1:C3"),
        ("A1", "a merged range needs at least two cells, not the single cell A1"),
        ("A1:a1", "a merged range needs at least two cells, not the single cell A1:a1"),
        ("A1:XFE2", "merge range A1:XFE2" + GRID),
        ("c3:$B$2", "B2:C3 is already merged"),
        ("A1:B2", "A1:B2 overlaps the merged range B2:C3"),
        ("E4:E6", "E4:E6 overlaps the merged range E5"),
    ],
)
def test_merges_that_readers_would_repair_are_refused(make_book, tmp_path, range_text, message):
    editor = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after=MERGED))]))
    assert_refused_changes_nothing(editor, tmp_path, lambda e: e.merge_cells(range_text), message)


def test_reversed_corners_are_written_top_left_first(make_book, tmp_path):
    editor = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after=MERGED))]))
    editor.merge_cells("d5:a4").merge_cells("$F$1:E1")
    out = saved(editor, tmp_path / "out.xlsx")
    assert '<mergeCell ref="A4:D5"/><mergeCell ref="E1:F1"/></mergeCells>' in sheet_text(out)
    ranges = sorted(str(r) for r in openpyxl.load_workbook(out).active.merged_cells.ranges)
    assert ranges == ["A4:D5", "B2:C3", "E1:F1", "E5"]


# ---- sheet names ----

def simple_folds():
    """(c, its simple case folding) for every character that has one, after Python's own tables:
    a single-character full folding is the simple one; where the full one is longer, the simple one
    is a single-character lower case that folds the same way."""
    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        c = chr(cp)
        full = c.casefold()
        if len(full) == 1 and full != c:
            yield c, full
        elif len(full) > 1 and len(c.lower()) == 1 and c.lower() != c and c.lower().casefold() == full:
            yield c, c.lower()


def test_sheet_names_are_unique_under_simple_case_folding(tmp_path):
    editor = quillmark.Editor.create(tmp_path / "fold.xlsx", "x")
    editor.add_worksheet("T")
    pairs = list(simple_folds())
    assert len(pairs) > 1400
    name = "x"
    for c, folded in pairs:
        editor.rename_worksheet(name, "x" + c)
        name = "x" + c
        with pytest.raises(RuntimeError, match="already exists"):
            editor.rename_worksheet("T", "x" + folded)
    # Full folding is not simple folding: ß and "ss" stay two names, as do "İ" and "i̇".
    editor.rename_worksheet(name, "xß").rename_worksheet("T", "xss")
    editor.rename_worksheet("xss", "İ").add_worksheet("i\u0307")
    assert quillmark.scan_excel(saved(editor, tmp_path / "out.xlsx")) == ["xß", "İ", "i\u0307"]


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda e: e.add_worksheet("DATA"), "Sheet DATA already exists as Data (sheet names ignore case)"),
        (lambda e: e.add_worksheet_at("übersicht", 0), "Sheet übersicht already exists as Übersicht (sheet names ignore case)"),
        (lambda e: e.rename_worksheet("Data", "ÜBERSICHT"),
         "Sheet `ÜBERSICHT` already exists as `Übersicht` (sheet names ignore case)"),
        (lambda e: e.add_worksheet("'Q1"), "Sheet name cannot start or end with an apostrophe"),
        (lambda e: e.add_worksheet_at("Q1'", 0), "Sheet name cannot start or end with an apostrophe"),
        (lambda e: e.rename_worksheet("Data", "'Data'"), "Sheet name cannot start or end with an apostrophe"),
        (lambda e: e.add_worksheet("a\x0bb"),
         "Sheet name cannot contain control characters (U+0000 to U+001F, U+007F to U+009F, U+FFFE, U+FFFF)"),
        (lambda e: e.rename_worksheet("Data", "a\tb"),
         "Sheet name cannot contain control characters (U+0000 to U+001F, U+007F to U+009F, U+FFFE, U+FFFF)"),
        (lambda e: e.add_worksheet("a\x85b"),
         "Sheet name cannot contain control characters (U+0000 to U+001F, U+007F to U+009F, U+FFFE, U+FFFF)"),
    ],
)
def test_sheet_names_readers_would_repair_are_refused(tmp_path, call, message):
    editor = quillmark.Editor.create(tmp_path / "names.xlsx", "Data")
    editor.add_worksheet("Übersicht")
    assert_refused_changes_nothing(editor, tmp_path, call, message)


@pytest.mark.parametrize("name", ["'Q1", "a\x01b"])
def test_create_refuses_what_add_refuses(tmp_path, name):
    with pytest.raises(RuntimeError, match="^Sheet name cannot"):
        quillmark.create_excel(tmp_path / "new.xlsx", name)
    assert not (tmp_path / "new.xlsx").exists()


def test_case_only_rename_and_names_other_producers_wrote(make_book, tmp_path):
    # A name another producer wrote with edge apostrophes is still found: the stricter rule is for
    # names this editor gives.
    editor = quillmark.Editor(make_book(sheets=[("'Quoted'", sheet_xml()), ("Data", sheet_xml())]))
    editor.rename_worksheet("Data", "DATA").with_worksheet("'Quoted'").set_cell("A1", "x")
    out = saved(editor, tmp_path / "out.xlsx")
    assert quillmark.scan_excel(out) == ["'Quoted'", "DATA"]


def test_random_unicode_text_through_dataframes_reads_back_unchanged(make_book, tmp_path):
    """DataFrame strings are always text, on the Arrow path and the row path alike."""
    pl = pytest.importorskip("polars")
    rng = random.Random(2024)
    values = [random_text(rng) for _ in range(300)]
    frame = pl.DataFrame({"t": values})

    class Rows:  # no Arrow stream: the row path
        columns = ["t"]

        def iter_rows(self):
            return ([v] for v in values)

    editor = quillmark.Editor(make_book())
    editor.with_polars(frame, "A1")
    editor.with_polars(Rows(), "C1")
    out = saved(editor, tmp_path / "frames.xlsx")

    ws = openpyxl.load_workbook(out).active
    for column in (1, 3):
        got = [ws.cell(i + 2, column).value for i in range(len(values))]
        assert [decode_escapes(g) if g is not None else "" for g in got] == values
