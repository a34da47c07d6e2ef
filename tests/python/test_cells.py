"""Writing cells, rows and blocks, and asking for the last used rows."""
import pytest

import quillmark
from conftest import sheet_xml

EN_DASH = "\u2013"


@pytest.fixture
def editor(make_book):
    return quillmark.Editor(make_book())


@pytest.mark.parametrize(
    "coords, message",
    [
        ("AB", f"invalid cell coordinate {EN_DASH} no digits found"),
        ("", f"invalid cell coordinate {EN_DASH} no digits found"),
        ("A1B2", "invalid row number in cell coordinate"),
        ("A99999999999", "invalid row number in cell coordinate"),
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
