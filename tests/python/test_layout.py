"""Column widths, merged ranges, number formats and alignment."""
import collections
import datetime
import math
import re
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import sheet_xml, workbook_parts
from quillmark import AlignSpec, HorizAlignment, VertAlignment

WIDTH_RANGE = "Column width must be in range (0, 255]"


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


def test_existing_cols_are_split_keeping_their_attributes(make_book, tmp_path):
    cols = ('<cols><col min="2" max="4" width="12" customWidth="1" outlineLevel="1" collapsed="1"/>'
            '<col min="6" max="6" width="3" hidden="1" bestFit="1"/></cols>')
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(before='<dimension ref="A1"/>' + cols))]))
    ed.set_column_width("C", 20)
    out = saved(ed, tmp_path)
    assert cols_block(sheet_text(out)) == (
        '<cols><col min="2" max="2" width="12" customWidth="1" outlineLevel="1" collapsed="1"/>'
        '<col min="3" max="3" width="20" customWidth="1" outlineLevel="1" collapsed="1"/>'
        '<col min="4" max="4" width="12" customWidth="1" outlineLevel="1" collapsed="1"/>'
        '<col min="6" max="6" width="3" hidden="1" bestFit="1"/></cols>'
    )
    dims = openpyxl.load_workbook(out)["S"].column_dimensions
    assert dims["F"].hidden and dims["C"].width == 20
    assert dims["B"].outlineLevel == dims["C"].outlineLevel == dims["D"].outlineLevel == 1


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
    assert '<mergeCells count="6"><mergeCell ref="D1:E1"/><mergeCell ref="A1:B2"/></mergeCells>' in text

    fresh = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after='<sheetProtection sheet="1"/><autoFilter ref="A1:B3"/>'))]))
    fresh.merge_cells("A5:B5")
    out = saved(fresh, tmp_path, "fresh.xlsx")
    assert '<autoFilter ref="A1:B3"/><mergeCells count="1">' in sheet_text(out)
    assert [str(r) for r in openpyxl.load_workbook(out)["S"].merged_cells.ranges] == ["A5:B5"]


def test_merge_text_that_is_not_a_range_is_refused(editor, tmp_path):
    with pytest.raises(RuntimeError, match="^invalid merge range A1\"<&: expected two corners such as A1:C3$"):
        editor.merge_cells('A1"<&')
    assert "mergeCell" not in sheet_text(saved(editor, tmp_path))


def test_failed_merge_leaves_the_count(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after='<mergeCells count="3"/>'))]))
    with pytest.raises(RuntimeError, match="^</mergeCells> not found$"):
        ed.merge_cells("A1:B2")
    assert '<mergeCells count="3"/>' in sheet_text(saved(ed, tmp_path))


# ---- number formats ----

CELLS = (
    '<row r="1"><c r="A1"><v>1</v></c><c r="B1"><v>2</v></c><c r="C1"><v>3</v></c></row>'
    '<row r="2"><c r="A2"><v>4</v></c><c r="B2" s="0"><v>5</v></c><c r="C2"><v>6</v></c></row>'
    '<row r="3"><c r="A3"><v>7</v></c><c r="B3"><v>8</v></c><c r="C3"><v>9</v></c></row>'
)


def styles_text(path):
    with zipfile.ZipFile(path) as z:
        return z.read("xl/styles.xml").decode()


@pytest.fixture
def grid(make_book):
    return quillmark.Editor(make_book(sheets=[("S", sheet_xml(CELLS))]))


@pytest.mark.parametrize(
    "range_text, covered",
    [
        ("B2", {"B2"}),
        ("A1:B2", {"A1", "B1", "A2", "B2"}),
        ("C3:B2", {"B2", "C2", "B3", "C3"}),
        ("2:", {"A2", "B2", "C2"}),
        ("B:", {"B1", "B2", "B3"}),
    ],
)
@pytest.mark.parametrize("code, builtin_id", [("0.00", 2), ("0%", 9), ("#,##0.00", 4), ("0.000", None),
                                              ('#,##0 "kr"', None), ("yyyy-mm-dd", None)])
def test_number_format_on_every_range_form(grid, tmp_path, range_text, covered, code, builtin_id):
    assert grid.set_number_format(range_text, code) is grid
    out = saved(grid, tmp_path)
    styles = styles_text(out)
    if builtin_id is not None:
        assert "<numFmt " not in styles
        assert f'numFmtId="{builtin_id}"' in styles
    else:
        assert len(re.findall("<numFmt ", styles)) == 1 and 'numFmtId="164"' in styles
    ws = openpyxl.load_workbook(out)["S"]
    for row in ws.iter_rows():
        for cell in row:
            assert (cell.number_format == code) == (cell.coordinate in covered), cell.coordinate
    if range_text == "B:":
        assert ws.column_dimensions["B"].number_format == code
        assert re.search(r'<col min="2" max="2" style="\d+"/>', sheet_text(out))  # no invented width
    else:
        assert cols_block(sheet_text(out)) is None


def test_custom_code_is_added_once_and_reused(grid, tmp_path):
    grid.set_number_format("A1", "0.0000").set_number_format("C3", "0.0000").set_number_format("B:", "0.0000")
    styles = styles_text(saved(grid, tmp_path))
    assert len(re.findall("<numFmt ", styles)) == 1


def test_dates_read_back_as_dates(editor, tmp_path):
    editor.set_cell("A1", "45306")
    editor.set_cell("A2", "45306.5")
    editor.set_number_format("A1", "yyyy-mm-dd").set_number_format("A2", "yyyy-mm-dd hh:mm")
    ws = openpyxl.load_workbook(saved(editor, tmp_path)).active
    assert ws["A1"].value == datetime.datetime(2024, 1, 15)
    assert ws["A2"].value == datetime.datetime(2024, 1, 15, 12, 0)
    assert ws["A1"].is_date


def test_number_format_keeps_other_style_parts(grid, tmp_path):
    grid.set_fill("A1:B1", "FFFFC000").set_number_format("A1:C1", "0.00")
    ws = openpyxl.load_workbook(saved(grid, tmp_path))["S"]
    assert ws["A1"].fill.fgColor.rgb == "FFFFC000" and ws["A1"].number_format == "0.00"
    assert ws["C1"].fill.fill_type is None and ws["C1"].number_format == "0.00"


def test_column_default_keeps_an_existing_width(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(CELLS, before='<dimension ref="A1"/><cols><col min="2" max="2" width="30"/></cols>'))]))
    ed.set_number_format("B:", "0%")
    out = saved(ed, tmp_path)
    dims = openpyxl.load_workbook(out)["S"].column_dimensions
    assert (dims["B"].width, dims["B"].number_format) == (30, "0%")


@pytest.mark.parametrize(
    "range_text, message",
    [
        ("B3:", "invalid range: B3:"),
        ("B", "invalid"),
        ("$B$3x", "invalid range syntax: $B$3x"),
        ("A1:B", "invalid range: A1:B"),
        ("99999999999:", "range 99999999999: is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ],
)
def test_number_format_range_errors(grid, range_text, message):
    with pytest.raises(RuntimeError) as info:
        grid.set_number_format(range_text, "0.00")
    assert str(info.value) == message


def test_number_format_argument_errors(grid):
    with pytest.raises(TypeError, match=r"^argument 'fmt': 'None' is not an instance of 'str'$"):
        grid.set_number_format("A1", None)
    with pytest.raises(TypeError, match=r"^argument 'range': 'int' object is not an instance of 'str'$"):
        grid.set_number_format(1, "0")


def test_row_that_does_not_exist_changes_nothing(grid, tmp_path):
    before = sheet_text(saved(grid, tmp_path, "before.xlsx"))
    grid.set_number_format("7:", "0.00")
    assert sheet_text(saved(grid, tmp_path)) == before


MIXED = (
    '<row r="1"><c r="A1"><v>1</v></c><c r="B1"><v>10</v></c></row>'
    '<row r="2"><c r="A2" t="n"><v>2.50</v></c><c r="B2"><v>20</v></c></row>'
    '<row r="3"><c r="A3"><v>1E-3</v></c><c r="B3"><v>30</v></c></row>'
    '<row r="4"><c r="A4"><f>A1+A2</f><v>3.5</v></c><c r="B4" t="s"><v>0</v></c></row>'
    '<row r="5"><c r="A5" t="b"><v>1</v></c><c r="B5" t="inlineStr"><is><t>x</t></is></c></row>'
)
SST = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<sst xmlns="http://schemas.openxmlformats.org/'
       'spreadsheetml/2006/main" count="1" uniqueCount="1"><si><t>shared</t></si></sst>')


@pytest.fixture
def mixed(make_book):
    parts = workbook_parts(sheets=[("S", sheet_xml(MIXED))], extra={"xl/sharedStrings.xml": SST})
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>",
        '<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'sharedStrings" Target="sharedStrings.xml"/></Relationships>')
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>",
        '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.'
        'spreadsheetml.sharedStrings+xml"/></Types>')
    return quillmark.Editor(make_book(parts=parts))


@pytest.mark.parametrize(
    "range_text, texts",
    [
        ("A1:A5", {"A1": "1", "A2": "2.50", "A3": "1E-3"}),
        ("A:", {"A1": "1", "A2": "2.50", "A3": "1E-3"}),
        ("2:", {"A2": "2.50", "B2": "20"}),
        ("B3", {"B3": "30"}),
        ("A1:B5", {"A1": "1", "A2": "2.50", "A3": "1E-3", "B1": "10", "B2": "20", "B3": "30"}),
    ],
)
def test_text_format_turns_numbers_into_text(mixed, tmp_path, range_text, texts):
    mixed.set_number_format(range_text, "@")
    out = saved(mixed, tmp_path)
    ws = openpyxl.load_workbook(out)["S"]
    originals = {"A1": 1, "A2": 2.5, "A3": 0.001, "B1": 10, "B2": 20, "B3": 30}
    for ref, number in originals.items():
        if ref in texts:
            assert ws[ref].value == texts[ref] and ws[ref].data_type == "s", ref
        else:
            assert ws[ref].value == number, ref
    # Formulas, shared strings, booleans and inline strings stay as they are.
    assert ws["A4"].value == "=A1+A2"
    assert ws["B4"].value == "shared"
    assert ws["A5"].value is True
    assert ws["B5"].value == "x"
    text = sheet_text(out)
    assert '<c r="A4"' in text and "<f>A1+A2</f><v>3.5</v>" in text
    assert re.search(r'<c r="B4" t="s"[^>]*><v>0</v></c>', text)
    assert re.search(r'<c r="A5" t="b"[^>]*><v>1</v></c>', text)


def test_text_format_on_a_lower_case_single_cell(mixed, tmp_path):
    # "b3" names B3: the format and the conversion both land on the one existing cell.
    mixed.set_number_format("b3", "@")
    text = sheet_text(saved(mixed, tmp_path))
    assert re.search(r'<c r="B3" s="\d+" t="inlineStr"><is><t>30</t></is></c>', text)
    assert 'r="b3"' not in text


def test_text_conversion_failure_keeps_the_format(make_book):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml('<row r="1"><c r="A1"><v>1</v></row>'))]))
    with pytest.raises(RuntimeError, match="^</c> missing$"):
        ed.set_number_format("A1", "@")


# ---- alignment ----

COLUMN_D = "".join(f'<row r="{r}"><c r="C{r}"><v>{r}</v></c><c r="D{r}"><v>{r}</v></c></row>' for r in range(1, 5))


@pytest.fixture
def column_d(make_book):
    return quillmark.Editor(make_book(sheets=[("S", sheet_xml(COLUMN_D))]))


def test_alignment_on_a_column_from_row_1(column_d, tmp_path):
    spec = AlignSpec(horiz=HorizAlignment.Center, vert=VertAlignment.Bottom, wrap=True)
    assert column_d.set_alignment("D:", spec) is column_d
    out = saved(column_d, tmp_path)
    ws = openpyxl.load_workbook(out)["S"]
    for r in range(1, 5):
        a = ws[f"D{r}"].alignment
        assert (a.horizontal, a.vertical, a.wrap_text) == ("center", "bottom", True)
        assert ws[f"C{r}"].alignment.horizontal is None
    dim = ws.column_dimensions["D"]
    assert (dim.alignment.horizontal, dim.alignment.vertical) == ("center", "bottom")
    assert re.search(r'<col min="4" max="4" style="\d+"/>', sheet_text(out))


@pytest.mark.parametrize("range_text", ["D3:", "d3:"])
def test_alignment_on_a_column_from_a_later_row(column_d, tmp_path, range_text):
    column_d.set_alignment(range_text, AlignSpec(horiz=HorizAlignment.Right))
    out = saved(column_d, tmp_path)
    ws = openpyxl.load_workbook(out)["S"]
    assert [ws[f"D{r}"].alignment.horizontal for r in range(1, 5)] == [None, None, "right", "right"]
    assert cols_block(sheet_text(out)) is None


@pytest.mark.parametrize(
    "range_text, aligned",
    [("D2", {"D2"}), ("C1:D2", {"C1", "D1", "C2", "D2"}), ("3:", {"C3", "D3"})],
)
def test_alignment_on_other_forms(column_d, tmp_path, range_text, aligned):
    column_d.set_alignment(range_text, AlignSpec(vert=VertAlignment.Justify))
    ws = openpyxl.load_workbook(saved(column_d, tmp_path))["S"]
    for row in ws.iter_rows():
        for cell in row:
            assert (cell.alignment.vertical == "justify") == (cell.coordinate in aligned), cell.coordinate


def test_alignment_replaces_the_cells_alignment(column_d, tmp_path):
    column_d.set_alignment("D1", AlignSpec(horiz=HorizAlignment.Fill, wrap=True))
    column_d.set_alignment("D1", AlignSpec(vert=VertAlignment.Top))
    a = openpyxl.load_workbook(saved(column_d, tmp_path))["S"]["D1"].alignment
    assert (a.horizontal, a.vertical, a.wrap_text) == (None, "top", None)


@pytest.mark.parametrize(
    "args, exc, message",
    [
        (("D1", None), TypeError, "argument 'spec': 'None' is not an instance of 'AlignSpec'"),
        (("D1", HorizAlignment.Left), TypeError, "argument 'spec': 'HorizAlignment' object is not an instance of 'AlignSpec'"),
        (("D3x:", AlignSpec()), RuntimeError, "invalid range: D3x:"),
        (("XFE5:", AlignSpec()), RuntimeError, "range XFE5: is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ],
)
def test_alignment_errors(column_d, args, exc, message):
    with pytest.raises(exc) as info:
        column_d.set_alignment(*args)
    assert str(info.value) == message
