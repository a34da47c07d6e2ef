"""Writing cells, rows and blocks, and asking for the last used rows."""
import zipfile

import pytest

import openpyxl
import quillmark
from quillmark import Editor
from conftest import column_letters, column_number, sheet_xml

EN_DASH = "\u2013"


@pytest.mark.parametrize(
    "coords, message",
    [
        ("AB", f"invalid cell coordinate {EN_DASH} no digits found"),
        ("", f"invalid cell coordinate {EN_DASH} no digits found"),
        ("A1B2", "invalid row number in cell coordinate"),
        ("A99999999999", "cell coordinate A99999999999 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ],
)
def test_set_cell_refuses_bad_coordinates(editor, coords, message):
    with pytest.raises(RuntimeError) as info:
        editor.set_cell(coords, "1")
    assert str(info.value) == message
    assert info.value.__cause__ is None
    # The editor stays usable.
    assert editor.set_cell("A1", "1") is None


@pytest.mark.parametrize(
    "args, kwargs, exc, message",
    [
        (("A1", 5), {}, TypeError, "argument 'cell': 'int' object is not an instance of 'str'"),
        (("A1", None), {}, TypeError, "argument 'cell': 'None' is not an instance of 'str'"),
        ((b"A1", "x"), {}, TypeError, "argument 'coords': 'bytes' object is not an instance of 'str'"),
        (("A1",), {}, TypeError, "Editor.set_cell() missing 1 required positional argument: 'cell'"),
        ((), {}, TypeError, "Editor.set_cell() missing 2 required positional arguments: 'coords' and 'cell'"),
        (("A1", "x", "y"), {}, TypeError, "Editor.set_cell() takes 2 positional arguments but 3 were given"),
        (("A1",), {"value": "x"}, TypeError, "Editor.set_cell() got an unexpected keyword argument 'value'"),
        (("A1", "\ud800"), {}, UnicodeEncodeError, None),
    ],
)
def test_set_cell_argument_errors(editor, args, kwargs, exc, message):
    with pytest.raises(exc) as info:
        editor.set_cell(*args, **kwargs)
    if message is not None:
        assert str(info.value) == message
    else:
        assert not str(info.value).startswith("argument")


def test_set_cell_keywords_and_result(editor):
    assert editor.set_cell(cell="x", coords="B2") is None


def test_set_cell_without_sheet_data_end(make_book):
    path = make_book(sheets=[("S", sheet_xml().replace("<sheetData></sheetData>", ""))])
    ed = quillmark.Editor(path)
    with pytest.raises(RuntimeError, match="^</sheetData> tag not found$"):
        ed.set_cell("A1", "1")


@pytest.mark.parametrize(
    "method, args, exc, message",
    [
        ("append_row", ("abc",), TypeError, "argument 'cells': Can't extract `str` to `Vec`"),
        ("append_row", ({"a"},), TypeError, "argument 'cells': 'set' object is not an instance of 'Sequence'"),
        ("append_row", ({"a": 1},), TypeError, "argument 'cells': 'dict' object is not an instance of 'Sequence'"),
        ("append_row", (iter(["a"]),), TypeError,
         "argument 'cells': 'list_iterator' object is not an instance of 'Sequence'"),
        ("append_row", (None,), TypeError, "argument 'cells': 'None' is not an instance of 'Sequence'"),
        ("append_row", (["a", 1.5],), TypeError, "argument 'cells': 'float' object is not an instance of 'str'"),
        ("append_row", (), TypeError, "Editor.append_row() missing 1 required positional argument: 'cells'"),
        ("append_table_at", (["ab"], "A1"), TypeError, "argument 'cells': Can't extract `str` to `Vec`"),
        ("append_table_at", ("ab", "A1"), TypeError, "argument 'cells': Can't extract `str` to `Vec`"),
        ("append_table_at", ([["a"], [None]], "A1"), TypeError,
         "argument 'cells': 'None' is not an instance of 'str'"),
        ("append_table_at", ([("a",), {1}], "A1"), TypeError,
         "argument 'cells': 'set' object is not an instance of 'Sequence'"),
        ("append_table_at", ([["a"]], 1), TypeError, "argument 'start_cell': 'int' object is not an instance of 'str'"),
        ("append_table_at", ([["a"]],), TypeError,
         "Editor.append_table_at() missing 1 required positional argument: 'start_cell'"),
        ("append_table_at", ([["a"]], "AB"), RuntimeError, f"invalid start coordinate {EN_DASH} no digits"),
        ("append_table_at", ([["a"]], "A1x"), RuntimeError, "invalid row in start coordinate"),
        ("append_row", (["\udc80"],), UnicodeEncodeError, None),
    ],
)
def test_row_and_block_argument_errors(editor, method, args, exc, message):
    with pytest.raises(exc) as info:
        getattr(editor, method)(*args)
    if message is not None:
        assert str(info.value) == message
    else:
        assert "argument" not in str(info.value)


def test_sequence_iteration_error_is_passed_on(editor):
    class Broken(list):
        def __iter__(self):
            raise ValueError("no iteration")

    with pytest.raises(ValueError, match="^no iteration$"):
        editor.append_row(Broken(["a"]))


def test_rows_and_blocks_accept_any_sequence(editor):
    assert editor.append_row(("a", "b")) is None
    assert editor.append_row([]) is None
    assert editor.append_table_at((["1"], ("2", "3"), []), "B2") is None
    assert editor.append_table_at([], "A1") is None
    assert editor.append_table_at(cells=[["x"]], start_cell="C3") is None


def rows_xml(cells_by_row):
    """Row markup from {row: [reference, ...]}, written in the order given."""
    return "".join(
        f'<row r="{n}">' + "".join(f'<c r="{r}"><v>1</v></c>' for r in refs) + "</row>"
        for n, refs in cells_by_row.items()
    )


@pytest.fixture
def queried(make_book):
    rows = rows_xml({1: ["A1"], 2: ["E2"], 3: ["A9"], 4: ["A4"], 9: ["F9"]})
    rows += '<row r="12"><c r="B12" s="1"/></row>'
    return quillmark.Editor(make_book(sheets=[("S", sheet_xml(rows))]))


@pytest.mark.parametrize(
    "columns, want", [("A", 9), ("a, e", 9), ("E", 2), ("B", 12), ("C", 0), ("F,B", 12), ("", 0)]
)
def test_last_row_index(queried, columns, want):
    assert queried.last_row_index(columns) == want


@pytest.mark.parametrize(
    "span, want", [("A:E", [9, 12, 0, 0, 2]), (" b : b ", [12]), ("E:F", [2, 9])]
)
def test_last_rows_index(queried, span, want):
    assert queried.last_rows_index(span) == want


@pytest.mark.parametrize(
    "method, arg, exc, message",
    [
        ("last_rows_index", "E:A", RuntimeError, "invalid range order"),
        ("last_rows_index", "A:B:E", RuntimeError, "range must be in the form A:E"),
        ("last_rows_index", "A", RuntimeError, "range must be in the form A:E"),
        ("last_rows_index", "B:", RuntimeError, "column span too wide: at most 16384 columns"),
        ("last_rows_index", "A:AAAAAAAAAAAAAAAAAAAAAA", RuntimeError, "column span too wide: at most 16384 columns"),
        ("last_rows_index", 1, TypeError, "argument 'col_name': 'int' object is not an instance of 'str'"),
        ("last_row_index", ["A"], TypeError, "argument 'col_name': 'list' object is not an instance of 'str'"),
        ("last_row_index", None, TypeError, "argument 'col_name': 'None' is not an instance of 'str'"),
    ],
)
def test_row_query_errors(queried, method, arg, exc, message):
    with pytest.raises(exc) as info:
        getattr(queried, method)(arg)
    assert str(info.value) == message


def test_queries_see_writes_not_the_counter(editor):
    editor.set_cell("C7", "x")
    editor.append_row(["a", "b"])  # numbered from the counter: row 8
    editor.append_table_at([["1"], ["2"]], "E20")
    assert editor.last_rows_index("A:E") == [8, 8, 7, 0, 21]
    assert editor.last_row_index("A,C") == 8
    editor.append_row(["z"])
    assert editor.last_row_index("A") == 22


# ---- end to end: saved files read back by openpyxl ----

openpyxl = pytest.importorskip("openpyxl")


def read_back(editor, tmp_path, name="out.xlsx"):
    out = tmp_path / name
    editor.save(out)
    wb = openpyxl.load_workbook(out)
    return wb.worksheets[0]


def values(ws):
    return {c.coordinate: c.value for row in ws.iter_rows() for c in row if c.value is not None}


@pytest.mark.parametrize(
    "text, want",
    [
        ("42", 42),
        ("-0.5", -0.5),
        ("1e3", 1000.0),
        ("+5", 5),
        (".5", 0.5),
        ("=SUM(A1:A3)", "=SUM(A1:A3)"),
        ('=IF(A1>0,"a<b","&")', '=IF(A1>0,"a<b","&")'),
        ("hello", "hello"),
        ("TRUE", "TRUE"),
        ("1,000", "1,000"),
        (" 5", " 5"),
        ("5 ", "5 "),
        ("a<b & 'c' \"d\"", "a<b & 'c' \"d\""),
        ("line\nbreak\ttab", "line\nbreak\ttab"),
        ("Grüße – 東京 🎉", "Grüße – 東京 🎉"),
    ],
)
def test_values_read_back_with_their_types(editor, tmp_path, text, want):
    editor.set_cell("B3", text)
    ws = read_back(editor, tmp_path)
    got = ws["B3"].value
    assert got == want and type(got) is type(want)


def test_empty_text_is_an_empty_inline_string(editor, tmp_path):
    editor.set_cell("A1", "")
    editor.set_cell("B1", "x")
    out = tmp_path / "out.xlsx"
    editor.save(out)
    sheet = zipfile.ZipFile(out).read("xl/worksheets/sheet1.xml").decode()
    assert '<c r="A1" t="inlineStr"><is><t></t></is></c>' in sheet
    assert openpyxl.load_workbook(out).active["B1"].value == "x"


def test_table_rows_and_cells_land_in_place(editor, tmp_path):
    editor.append_row(["Region", "Q1", "Q2"])
    editor.append_row(["North", "120", "=B2*2"])
    editor.append_table_at([["South", "98.5", "=SUM(B2:B3)"], ["East", "-7", "n/a"]], "A3")
    editor.set_cell("E1", "note")
    editor.set_cell("D2", "x")  # between C2 and nothing: cells stay in column order
    editor.append_table_at([["1", "2"]], "c10")
    ws = read_back(editor, tmp_path)
    assert values(ws) == {
        "A1": "Region", "B1": "Q1", "C1": "Q2", "E1": "note",
        "A2": "North", "B2": 120, "C2": "=B2*2", "D2": "x",
        "A3": "South", "B3": 98.5, "C3": "=SUM(B2:B3)",
        "A4": "East", "B4": -7, "C4": "n/a",
        "C10": 1, "D10": 2,
    }
    assert ws.max_row == 10


def styled_book(make_book):
    """Column A of rows 1..3 and B2 carry styles; rows are written out of order; row 5 is
    self-closed; the sheetData of the second sheet is self-closed."""
    styles = STYLED
    rows = (
        '<row r="2" spans="1:3" ht="30" customHeight="1"><c r="A2" s="1"><v>2</v></c>'
        '<c r="B2" s="2" t="inlineStr"><is><t>old</t></is></c><c r="D2"><v>4</v></c></row>'
        '<row r="1"><c r="A1" s="1"><v>1</v></c></row>'
        '<row r="5" ht="25" customHeight="1"/>'
        '<row r="6"><c r="A6"><v>6</v></c></row>'
    )
    return make_book(
        sheets=[("S", sheet_xml(rows)), ("T", sheet_xml().replace("<sheetData></sheetData>", "<sheetData/>"))],
        styles=styles,
    )


from conftest import STYLES  # noqa: E402

STYLED = STYLES.replace(
    '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>',
    '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
    '<xf numFmtId="10" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>',
)


def test_overwriting_styled_cells_keeps_style_in_out_of_order_rows(make_book, tmp_path):
    ed = quillmark.Editor(styled_book(make_book), "S")
    ed.set_cell("A2", "0.25")
    ed.set_cell("C2", "new")  # between B2 and D2
    ed.append_table_at([["0.5", "45306"]], "A1")  # row 1 comes after row 2 in the text
    ed.set_cell("B5", "five")  # into the self-closed row
    ed.append_table_at([["x", "y"], ["z"]], "A5")
    ws = read_back(ed, tmp_path)
    assert values(ws) == {
        "A1": 0.5, "B1": 45306, "A2": 0.25, "B2": "old", "C2": "new", "D2": 4,
        "A5": "x", "B5": "y", "A6": "z",
    }
    assert ws["A2"].number_format == "0.00%"
    assert ws["A1"].number_format == "0.00%"
    assert ws["B1"].number_format == "General"
    assert ws.row_dimensions[2].height == 30
    assert ws.row_dimensions[5].height == 25
    assert ed.last_rows_index("A:D") == [6, 5, 2, 2]


def test_writes_into_self_closed_sheet_data(make_book, tmp_path):
    path = styled_book(make_book)
    ed = quillmark.Editor(path, "T")
    ed.append_table_at([["1", "a"]], "B2")
    ed.append_row(["r3"])
    ed.set_cell("A1", "=B2+1")
    out = tmp_path / "out.xlsx"
    ed.save(out)
    ws = openpyxl.load_workbook(out)["T"]
    assert values(ws) == {"A1": "=B2+1", "B2": 1, "C2": "a", "A3": "r3"}


def test_append_row_on_self_closed_sheet_data(make_book):
    ed = quillmark.Editor(styled_book(make_book), "T")
    ed.append_row(["a"])
    ed.set_cell("C1", "1")
    ed.append_row(["b"])
    assert ed.last_rows_index("A:C") == [2, 0, 1]


def test_failed_block_leaves_sheet_text_and_editor_usable(make_book, tmp_path):
    rows = '<row r="1"><c r="A1"><v>1</v></row><row r="3"><c r="A3"><v>3</v></c></row>'
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(rows))]))
    with pytest.raises(RuntimeError, match="^</c> missing$"):
        ed.append_table_at([["9"]], "A1")
    with pytest.raises(RuntimeError, match="^</c> missing$"):
        ed.set_cell("A1", "9")
    ed.append_table_at([["4"]], "A4")
    out = tmp_path / "out.xlsx"
    ed.save(out)
    sheet = zipfile.ZipFile(out).read("xl/worksheets/sheet1.xml").decode()
    assert "<sheetData>" + rows + '<row r="4"><c r="A4"><v>4</v></c></row></sheetData>' in sheet


@pytest.mark.parametrize("seed", range(4))
def test_random_writes_match_a_model_and_stay_ordered(make_book, tmp_path, seed):
    import random
    import re

    rng = random.Random(seed)
    # Start from a sheet with rows out of text order and a self-closed row.
    rows = '<row r="7"><c r="C7"><v>7</v></c></row><row r="2"><c r="B2"><v>2</v></c></row><row r="4"/>'
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(rows))]))
    model = {"C7": 7, "B2": 2}
    last_row = 7

    def value():
        return rng.choice([str(rng.randint(-99, 999)), f"t{rng.randint(0, 99)}", "a&b<c>"])

    def expect(text):
        return int(text) if text.lstrip("-").isdigit() else text

    for _ in range(60):
        op = rng.random()
        if op < 0.5:
            ref = column_letters(rng.randint(0, 29)) + str(rng.randint(1, 30))
            v = value()
            ed.set_cell(ref, v)
            model[ref] = expect(v)
            last_row = max(last_row, int(re.sub("[A-Z]", "", ref)))
        elif op < 0.85:
            c0, r0 = rng.randint(0, 29), rng.randint(1, 30)
            block = [[value() for _ in range(rng.randint(0, 4))] for _ in range(rng.randint(1, 4))]
            ed.append_table_at(block, column_letters(c0).lower() + str(r0))
            for i, row in enumerate(block):
                for j, v in enumerate(row):
                    model[column_letters(c0 + j) + str(r0 + i)] = expect(v)
            last_row = max(last_row, r0 + len(block) - 1)
        else:
            row = [value() for _ in range(rng.randint(0, 5))]
            ed.append_row(row)
            last_row += 1
            for j, v in enumerate(row):
                model[column_letters(j) + str(last_row)] = expect(v)

    out = tmp_path / "out.xlsx"
    ed.save(out)
    assert values(openpyxl.load_workbook(out).active) == model
    # Each row number appears once; cells ascend by column within their row.
    sheet = zipfile.ZipFile(out).read("xl/worksheets/sheet1.xml").decode()
    numbers = re.findall(r'<row r="(\d+)"', sheet)
    assert len(numbers) == len(set(numbers))
    for body in re.findall(r"<row [^>]*>(.*?)</row>", sheet):
        cols = [column_number(m) for m in re.findall(r'<c r="([A-Z]+)\d+"', body)]
        assert cols == sorted(cols) and len(cols) == len(set(cols))


@pytest.mark.parametrize("edit, expected_row", [
    (lambda e: None, 3),                                    # last row element, not the largest number
    (lambda e: e.set_cell("A5", "x"), 5),                   # a write raises the counter
    (lambda e: e.set_cell("A2", "x"), 3),
    (lambda e: e.append_table_at([["a"], ["b"]], "C9"), 10),
    (lambda e: e.set_fill("A10:B12", "FF0000"), 12),        # so do rows a style creates
    (lambda e: e.set_fill("A2", "FF0000"), 3),
    (lambda e: e.with_worksheet("Sheet1"), 3),              # switching back rereads the text
])
def test_append_row_numbers_from_the_counter(make_book, tmp_path, edit, expected_row):
    rows = '<row r="1"><c r="A1"><v>1</v></c></row><row r="7"><c r="A7"><v>7</v></c></row>' \
           '<row r="3"><c r="A3"><v>3</v></c></row>'
    editor = Editor(make_book(sheets=[("Sheet1", sheet_xml(rows))]))
    edit(editor)
    editor.append_row(["next"])
    out = tmp_path / "counter.xlsx"
    editor.save(out)
    ws = openpyxl.load_workbook(out)["Sheet1"]
    assert ws.cell(expected_row + 1, 1).value == "next"
