"""Column widths, merged ranges, number formats and alignment."""
import collections
import math
import re
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml

WIDTH_RANGE = "Column width must be in range (0, 255]"


@pytest.fixture
def editor(make_book):
    return quillmark.Editor(make_book())


# ---- width methods: messages ----


@pytest.mark.parametrize(
    "method, args, message",
    [
        ("set_column_width", ("A1", 10), "Invalid Excel column: A1"),
        ("set_column_width", ("", 10), "Invalid Excel column: "),
        ("set_column_width", (" ", 10), "Invalid Excel column:  "),
        ("set_column_width", ("A:B", 10), "Invalid Excel column: A:B"),
        ("set_column_width", ("\u00c4", 10), "Invalid Excel column: \u00c4"),
        ("set_column_width", ("A1", 0), "Invalid Excel column: A1"),  # letters are checked first
        ("set_column_width", ("B", 0), WIDTH_RANGE),
        ("set_column_width", ("B", 300), WIDTH_RANGE),
        ("set_column_width", ("B", -1), WIDTH_RANGE),
        ("set_column_width", ("B", 255.00001), WIDTH_RANGE),
        ("set_column_width", ("B", math.nan), WIDTH_RANGE),
        ("set_column_width", ("B", math.inf), WIDTH_RANGE),
        ("set_column_width", ("B", -math.inf), WIDTH_RANGE),
        ("set_column_width_range", ("D:A", 0), WIDTH_RANGE),  # the width is checked first
        ("set_column_width_range", ("D:A", 5), "Invalid column range: D:A"),
        ("set_column_width_range", (" D:A ", 5), "Invalid column range:  D:A "),
        ("set_column_width_range", ("A:1", 5), "Invalid Excel column: 1"),
        ("set_column_width_range", (" A1 ", 5), "Invalid Excel column: A1"),
        ("set_column_width_range", ("A:B:C", 5), "Invalid Excel column: B:C"),
        ("set_columns_width", (["A", "B2"], 5), "Invalid Excel column: B2"),
        ("set_columns_width", (["A", "C:B"], 5), "Invalid column range: C:B"),
        ("set_columns_width", (["A1"], 0), WIDTH_RANGE),
        ("set_column_widths", ({"A": 0},), WIDTH_RANGE),
        ("set_column_widths", ({"A1": 5},), "Invalid Excel column: A1"),
        ("set_column_widths", ({"B:A": 5},), "Invalid column range: B:A"),
    ],
)
def test_width_messages(editor, method, args, message):
    with pytest.raises(RuntimeError) as info:
        getattr(editor, method)(*args)
    assert str(info.value) == message
    assert info.value.__cause__ is None


@pytest.mark.parametrize(
    "method, args, exc, message",
    [
        ("set_column_width", (1, 5), TypeError, "argument 'col_letter': 'int' object is not an instance of 'str'"),
        ("set_column_width", ("A", "5"), TypeError, "argument 'width': must be real number, not str"),
        ("set_column_width", ("A", None), TypeError, "argument 'width': must be real number, not NoneType"),
        ("set_column_width", ("A", 10**400), OverflowError, "int too large to convert to float"),
        ("set_column_width_range", (None, 5), TypeError, "argument 'col_range': 'None' is not an instance of 'str'"),
        ("set_columns_width", ("AB", 5), TypeError, "argument 'col_letters': Can't extract `str` to `Vec`"),
        ("set_columns_width", ({"A"}, 5), TypeError, "argument 'col_letters': 'set' object is not an instance of 'Sequence'"),
        ("set_columns_width", (["A", 1], 5), TypeError, "argument 'col_letters': 'int' object is not an instance of 'str'"),
        # the sequence is converted before the width
        ("set_columns_width", ("AB", "x"), TypeError, "argument 'col_letters': Can't extract `str` to `Vec`"),
        ("set_column_widths", (["A"],), TypeError, "argument 'widths': 'list' object is not an instance of 'dict'"),
        ("set_column_widths", (None,), TypeError, "argument 'widths': 'None' is not an instance of 'dict'"),
        ("set_column_widths", ({1: 5},), TypeError, "'int' object is not an instance of 'str'"),
        ("set_column_widths", ({"A": "5"},), TypeError, "must be real number, not str"),
        ("set_column_widths", ({"A": 10**400},), OverflowError, "int too large to convert to float"),
        ("set_column_width", ("A",), TypeError, "Editor.set_column_width() missing 1 required positional argument: 'width'"),
        ("set_column_widths", ({}, 1), TypeError, "Editor.set_column_widths() takes 1 positional arguments but 2 were given"),
    ],
)
def test_width_argument_errors(editor, method, args, exc, message):
    with pytest.raises(exc) as info:
        getattr(editor, method)(*args)
    assert str(info.value) == message


def test_width_methods_return_the_editor(editor):
    assert editor.set_column_width(" d ", 255) is editor
    assert editor.set_column_width("b", True) is editor  # bools and ints are real numbers
    assert editor.set_column_width_range("A:C", 12) is editor
    assert editor.set_columns_width(("A", "C:E"), 7.5) is editor
    assert editor.set_columns_width([], 7.5) is editor
    assert editor.set_column_widths({}) is editor
    assert editor.set_column_widths(collections.OrderedDict(A=3)) is editor
    assert editor.set_column_widths(widths={"A": 3}) is editor


def test_width_value_running_python_code_cannot_reenter(editor):
    class Sneaky:
        def __float__(self):
            editor.set_column_width("A", 5)
            return 5.0

    with pytest.raises(RuntimeError, match="^Already borrowed$"):
        editor.set_column_widths({"A": Sneaky()})
    assert editor.set_column_width("A", 5) is editor


# ---- merged ranges: messages ----


def test_merge_cells_returns_the_editor(editor):
    assert editor.merge_cells("A1:B2").merge_cells(range="C3:D4") is editor


@pytest.mark.parametrize(
    "after, message",
    [
        ('<mergeCells count="1"/>', "</mergeCells> not found"),
        ("<mergeCells></mergeCells>", "attribute count not found"),
        ('<mergeCells count="x"></mergeCells>', "invalid digit found in string"),
    ],
)
def test_merge_cells_messages(make_book, after, message):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after=after))]))
    with pytest.raises(RuntimeError) as info:
        ed.merge_cells("A1:B2")
    assert str(info.value) == message


def test_merge_cells_argument_error(editor):
    with pytest.raises(TypeError) as info:
        editor.merge_cells(5)
    assert str(info.value) == "argument 'range': 'int' object is not an instance of 'str'"


# ---- read back after a save ----


def saved(ed, tmp_path, name="out.xlsx"):
    out = tmp_path / name
    ed.save(out)
    return out


def sheet_text(path, part="xl/worksheets/sheet1.xml"):
    with zipfile.ZipFile(path) as z:
        return z.read(part).decode()


def cols_block(text):
    m = re.search(r"<cols>.*?</cols>", text)
    return m.group(0) if m else None


def test_widths_read_back(editor, tmp_path):
    editor.set_column_width("b", 20).set_column_width_range(" D:F ", 12.5)
    editor.set_columns_width(["H", "j:k"], 7).set_column_widths({"M": 30, " n ": 30.25})
    out = saved(editor, tmp_path)
    assert cols_block(sheet_text(out)) == (
        '<cols><col min="2" max="2" width="20" customWidth="1"/>'
        '<col min="4" max="6" width="12.5" customWidth="1"/>'
        '<col min="8" max="8" width="7" customWidth="1"/>'
        '<col min="10" max="11" width="7" customWidth="1"/>'
        '<col min="13" max="13" width="30" customWidth="1"/>'
        '<col min="14" max="14" width="30.25" customWidth="1"/></cols>'
    )
    ws = openpyxl.load_workbook(out).active
    dims = ws.column_dimensions
    assert (dims["B"].width, dims["B"].customWidth) == (20, True)
    assert (dims["D"].min, dims["D"].max, dims["D"].width) == (4, 6, 12.5)
    assert (dims["J"].min, dims["J"].max, dims["J"].width) == (10, 11, 7)
    assert dims["N"].width == 30.25


def test_span_sets_one_element(editor, tmp_path):
    editor.set_column_width_range("A:C", 9)
    assert cols_block(sheet_text(saved(editor, tmp_path))) == '<cols><col min="1" max="3" width="9" customWidth="1"/></cols>'


@pytest.mark.parametrize(
    "call, error",
    [
        (lambda ed: ed.set_column_widths({"A": 5, 1: 6}), TypeError),
        (lambda ed: ed.set_column_widths({"A": 5, "B": 0}), RuntimeError),
        (lambda ed: ed.set_column_widths({"A": 5, "B": "wide"}), TypeError),
        (lambda ed: ed.set_columns_width(["A", "C:B"], 5), RuntimeError),
    ],
)
def test_entries_before_a_failure_stay_applied(editor, tmp_path, call, error):
    with pytest.raises(error):
        call(editor)
    assert cols_block(sheet_text(saved(editor, tmp_path))) == '<cols><col min="1" max="1" width="5" customWidth="1"/></cols>'


def test_existing_cols_are_split_and_lose_other_attributes(make_book, tmp_path):
    cols = ('<cols><col min="2" max="4" width="12" customWidth="1" outlineLevel="1"/>'
            '<col min="6" max="6" width="3" hidden="1"/></cols>')
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(before='<dimension ref="A1"/>' + cols))]))
    ed.set_column_width("C", 20)
    out = saved(ed, tmp_path)
    assert cols_block(sheet_text(out)) == (
        '<cols><col min="2" max="2" width="12" customWidth="1"/>'
        '<col min="3" max="3" width="20" customWidth="1"/>'
        '<col min="4" max="4" width="12" customWidth="1"/>'
        '<col min="6" max="6" width="3" hidden="1"/></cols>'
    )
    dims = openpyxl.load_workbook(out)["S"].column_dimensions
    assert dims["F"].hidden and dims["C"].width == 20 and dims["B"].outlineLevel == 0


@pytest.mark.parametrize(
    "before, order",
    [
        ("", ["<dimension", "<cols>", "<sheetData"]),
        ('<dimension ref="A1"/>', ["<dimension", "<cols>", "<sheetData"]),
        ('<sheetPr/><sheetViews><sheetView workbookViewId="0"/></sheetViews><sheetFormatPr defaultRowHeight="15"/>',
         ["<sheetPr", "<dimension", "<sheetViews", "<sheetFormatPr", "<cols>", "<sheetData"]),
        ('<dimension ref="A1"/><sheetViews><sheetView workbookViewId="0"/></sheetViews>',
         ["<dimension", "<sheetViews", "<cols>", "<sheetData"]),
    ],
)
def test_new_cols_block_keeps_schema_order(make_book, tmp_path, before, order):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>', before=before))]))
    ed.set_column_width("A", 15)
    out = saved(ed, tmp_path)
    text = sheet_text(out)
    positions = [text.index(tag) for tag in order]
    assert positions == sorted(positions)
    assert text.count("<dimension") == 1
    assert openpyxl.load_workbook(out)["S"].column_dimensions["A"].width == 15


def test_cols_failure_keeps_the_sheet(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(before='<cols><col min="x"/></cols>'))]))
    with pytest.raises(RuntimeError, match="^invalid digit found in string$"):
        ed.set_column_width("A", 5)
    assert '<cols><col min="x"/></cols>' in sheet_text(saved(ed, tmp_path))


def test_merged_ranges_read_back(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after='<pageMargins left="0.7" right="0.7" top="0.75" '
                                                            'bottom="0.75" header="0.3" footer="0.3"/>'))]))
    ed.merge_cells("A1:C1").merge_cells("A3:B4")
    out = saved(ed, tmp_path)
    text = sheet_text(out)
    assert ('</sheetData><mergeCells count="2"><mergeCell ref="A1:C1"/><mergeCell ref="A3:B4"/></mergeCells>'
            "<pageMargins") in text
    ws = openpyxl.load_workbook(out)["S"]
    assert sorted(str(r) for r in ws.merged_cells.ranges) == ["A1:C1", "A3:B4"]


def test_merge_extends_an_existing_block_after_protection_and_filter(make_book, tmp_path):
    after = ('<sheetProtection sheet="1"/><autoFilter ref="A1:B3"/>'
             '<mergeCells count="5"><mergeCell ref="D1:E1"/></mergeCells>')
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after=after))]))
    ed.merge_cells("a1:b2")
    text = sheet_text(saved(ed, tmp_path))
    assert '<mergeCells count="6"><mergeCell ref="D1:E1"/><mergeCell ref="a1:b2"/></mergeCells>' in text

    fresh = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after='<sheetProtection sheet="1"/><autoFilter ref="A1:B3"/>'))]))
    fresh.merge_cells("A5:B5")
    out = saved(fresh, tmp_path, "fresh.xlsx")
    assert '<autoFilter ref="A1:B3"/><mergeCells count="1">' in sheet_text(out)
    assert [str(r) for r in openpyxl.load_workbook(out)["S"].merged_cells.ranges] == ["A5:B5"]


def test_merge_text_is_escaped(editor, tmp_path):
    editor.merge_cells('A1"<&')
    text = sheet_text(saved(editor, tmp_path))
    assert '<mergeCell ref="A1&quot;&lt;&amp;"/>' in text


def test_failed_merge_leaves_the_count(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after='<mergeCells count="3"/>'))]))
    with pytest.raises(RuntimeError, match="^</mergeCells> not found$"):
        ed.merge_cells("A1:B2")
    assert '<mergeCells count="3"/>' in sheet_text(saved(ed, tmp_path))
