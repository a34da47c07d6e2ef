"""Column widths, merged ranges, number formats and alignment."""
import collections
import math

import pytest

import quillmark

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
    from conftest import sheet_xml

    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(after=after))]))
    with pytest.raises(RuntimeError) as info:
        ed.merge_cells("A1:B2")
    assert str(info.value) == message


def test_merge_cells_argument_error(editor):
    with pytest.raises(TypeError) as info:
        editor.merge_cells(5)
    assert str(info.value) == "argument 'range': 'int' object is not an instance of 'str'"
