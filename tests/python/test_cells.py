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
